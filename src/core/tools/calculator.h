#pragma once
// The logic of the small four-function calculator that opens
// beside a number box. Operands stay text and are parsed only when an
// operation is carried out, so whatever the owner sees is what gets computed;
// every number is written with the box's own number of decimals, so that "="
// on a price of three decimals does not round it. The dialog forwards its keys
// (taps and typed ones alike) and shows display(); after "=" it writes
// result() into the number box. A result that is no number (a division by
// zero) stays in the display and never reaches the box.

#include <string>
#include <string_view>

namespace kelvane {

class calculator {
public:
    // The display box of the calculator's dialog.
    static constexpr int display_id = 1002;

    // Starts from the text of the number box that opened the calculator,
    // which shows its numbers with this many decimals.
    explicit calculator(std::u16string_view target_text, int decimals = 2);

    // One key: '0'-'9', '.', 'c' (clear), '<' (back), '+', '-', '*', '/', '='.
    // Other characters are ignored. "=" finishes the calculator.
    void press(char16_t key);

    // The key of a button of the dialog, or 0 for an id that is no key.
    static char16_t key_of_button(int id);

    const std::u16string& display() const { return display_; }
    // True while the display shows the division-by-zero message.
    bool failed() const { return failed_; }

    // True once "=" was pressed; result() is then the number box's new text.
    bool finished() const { return finished_; }
    const std::u16string& result() const { return result_; }

private:
    enum operation { none = -1, add = 0, subtract = 1, multiply = 2, divide = 3 };

    void show() {
        display_ = entry_;
        failed_ = false;
    }
    // A message in the display is no operand: it reads as nothing typed.
    void read() { entry_ = failed_ ? std::u16string() : display_; }
    std::u16string number_text(double value) const;
    void evaluate();
    void press_operator(operation op);
    void press_equals();

    std::u16string entry_;
    std::u16string pending_operand_;
    operation pending_ = none;
    std::u16string display_;
    int decimals_;
    bool failed_ = false;
    bool finished_ = false;
    std::u16string result_;
};

}  // namespace kelvane
