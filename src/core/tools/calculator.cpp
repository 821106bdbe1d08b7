#include "core/tools/calculator.h"

#include <algorithm>

#include "core/common/parse_number.h"
#include "core/common/text.h"
#include "core/common/translate.h"

namespace kelvane {

namespace {

// The number box is read up to this many characters, as the dialog's buffer holds.
constexpr std::size_t target_text_limit = 100;
// More decimals than a double carries would only show noise.
constexpr int max_decimals = 6;

struct button_key {
    int id;
    char16_t key;
};

constexpr button_key buttons[] = {
    {1001, u'1'}, {1011, u'2'}, {1012, u'3'}, {1013, u'+'}, {1014, u'4'}, {1015, u'5'},
    {1016, u'6'}, {1017, u'-'}, {1018, u'7'}, {1019, u'8'}, {1020, u'9'}, {1021, u'*'},
    {1022, u'c'}, {1023, u'0'}, {1024, u'.'}, {1025, u'/'}, {1026, u'<'}, {1027, u'='},
};

}  // namespace

calculator::calculator(std::u16string_view target_text, int decimals)
    : decimals_(std::clamp(decimals, 0, max_decimals)) {
    const double start = parse_number(target_text.substr(0, target_text_limit));
    entry_ = start == 0.0 ? std::u16string() : number_text(start);
    show();
    // The display shows the start value while the entry is empty: an operator
    // reads it back as the first operand, a digit starts a new number.
    entry_.clear();
}

std::u16string calculator::number_text(double value) const {
    return format("%.*f", decimals_, value);
}

char16_t calculator::key_of_button(int id) {
    for (const auto& b : buttons)
        if (b.id == id) return b.key;
    return 0;
}

void calculator::press(char16_t key) {
    if (finished_) return;
    if ((key >= u'0' && key <= u'9') || key == u'.') {
        // A second point would make the whole number unreadable (0); it is
        // not taken, as a desktop calculator does not take it.
        if (key == u'.' && entry_.find(u'.') != std::u16string::npos) return;
        entry_ += key;
        show();
        return;
    }
    switch (key) {
        case u'c':
            entry_.clear();
            pending_operand_.clear();
            pending_ = none;
            show();
            break;
        case u'<':
            read();
            if (!entry_.empty()) entry_.pop_back();
            show();
            break;
        case u'+':
            press_operator(add);
            break;
        case u'-':
            press_operator(subtract);
            break;
        case u'*':
            press_operator(multiply);
            break;
        case u'/':
            press_operator(divide);
            break;
        case u'=':
            press_equals();
            break;
        default:
            break;
    }
}

void calculator::press_operator(operation op) {
    read();
    evaluate();
    read();
    pending_ = op;
    pending_operand_ = entry_;
    entry_.clear();
    // The display keeps the first operand until the next digit.
}

void calculator::press_equals() {
    evaluate();
    // The message of a division by zero stays in the calculator, where the
    // owner reads it; the box keeps its number.
    if (failed_) return;
    read();
    result_ = entry_;
    finished_ = true;
}

void calculator::evaluate() {
    if (pending_ == none) return;
    if (entry_.empty()) {
        // No second operand yet: show the first again and keep the operation.
        entry_ = pending_operand_;
        show();
        return;
    }
    const double x = parse_number(pending_operand_);
    const double y = parse_number(entry_);
    switch (pending_) {
        case add:
            entry_ = number_text(x + y);
            break;
        case subtract:
            entry_ = number_text(x - y);
            break;
        case multiply:
            entry_ = number_text(x * y);
            break;
        case divide:
            entry_ = y == 0.0 ? tr(u"Can not be divided by zero") : number_text(x / y);
            break;
        case none:
            break;
    }
    show();
    failed_ = pending_ == divide && y == 0.0;
    pending_operand_.clear();
    entry_.clear();
    pending_ = none;
}

}  // namespace kelvane
