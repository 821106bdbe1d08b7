#pragma once
// The logic of the small four-function calculator that opens
// beside a number box. Operands stay text and are parsed only when an
// operation is carried out, so whatever the owner sees is what gets computed;
// every result is written with two decimals. The dialog forwards its keys and
// shows display(); after "=" it writes result() into the number box.

#include <string>
#include <string_view>

namespace kelvane {

class calculator {
public:
    // The display box of the calculator's dialog.
    static constexpr int display_id = 1002;

    // Starts from the text of the number box that opened the calculator.
    explicit calculator(std::u16string_view target_text);

    // One key: '0'-'9', '.', 'c' (clear), '<' (back), '+', '-', '*', '/', '='.
    // Other characters are ignored. "=" finishes the calculator.
    void press(char16_t key);

    // The key of a button of the dialog, or 0 for an id that is no key.
    static char16_t key_of_button(int id);

    const std::u16string& display() const { return display_; }
    // The owner typed into the display: the typed text is the number being
    // entered, so "=" right after typing computes with it rather than with a
    // number the owner no longer sees.
    void set_display(std::u16string_view text);

    // True once "=" was pressed; result() is then the number box's new text.
    bool finished() const { return finished_; }
    const std::u16string& result() const { return result_; }

private:
    enum operation { none = -1, add = 0, subtract = 1, multiply = 2, divide = 3 };

    void show() { display_ = entry_; }
    void read() { entry_ = display_; }
    void evaluate();
    void press_operator(operation op);
    void press_equals();

    std::u16string entry_;
    std::u16string pending_operand_;
    operation pending_ = none;
    std::u16string display_;
    bool finished_ = false;
    std::u16string result_;
};

}  // namespace kelvane
