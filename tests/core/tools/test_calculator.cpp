#include <gtest/gtest.h>

#include <string>

#include "core/common/translate.h"
#include "core/tools/calculator.h"

using namespace kelvane;

namespace {

// Presses each character of keys in turn.
calculator& press_all(calculator& calc, std::u16string_view keys) {
    for (char16_t k : keys) calc.press(k);
    return calc;
}

std::u16string result_of(std::u16string_view start, std::u16string_view keys) {
    calculator calc(start);
    press_all(calc, keys);
    EXPECT_TRUE(calc.finished());
    return calc.result();
}

class german_table : public text_translator {
public:
    std::u16string translate(std::u16string_view key) const override {
        if (key == u"Can not be divided by zero") return u"Division durch Null";
        return std::u16string(key);
    }
    std::u16string reverse_translate(std::u16string_view text) const override {
        return std::u16string(text);
    }
};

}  // namespace

TEST(calculator, starts_from_the_number_box_with_two_decimals) {
    EXPECT_EQ(calculator(u"12.5").display(), u"12.50");
    EXPECT_EQ(calculator(u"-3").display(), u"-3.00");
    // Zero, empty and text that is no number all open on an empty display.
    EXPECT_EQ(calculator(u"0").display(), u"");
    EXPECT_EQ(calculator(u"").display(), u"");
    EXPECT_EQ(calculator(u"1,5").display(), u"");
    // Only the first 100 characters of the box count.
    EXPECT_EQ(calculator(std::u16string(99, u'0') + u"7x").display(), u"7.00");
}

TEST(calculator, start_value_is_the_first_operand_but_a_digit_starts_a_new_number) {
    EXPECT_EQ(result_of(u"12.5", u"+3="), u"15.50");
    EXPECT_EQ(result_of(u"12.5", u"4="), u"4");
    calculator calc(u"12.5");
    calc.press(u'4');
    EXPECT_EQ(calc.display(), u"4");
}

TEST(calculator, equals_without_operation_writes_the_entry_unchanged) {
    EXPECT_EQ(result_of(u"0", u"7="), u"7");
    // A second point is not taken: the box never gets "1.2.3", which reads as 0.
    EXPECT_EQ(result_of(u"", u"1.2.3="), u"1.23");
    // Closing at once on the start value hands it back in its two-decimal form.
    EXPECT_EQ(result_of(u"12.5", u"="), u"12.50");
}

TEST(calculator, four_operations) {
    EXPECT_EQ(result_of(u"", u"9-4="), u"5.00");
    EXPECT_EQ(result_of(u"", u"4-9="), u"-5.00");
    EXPECT_EQ(result_of(u"", u"2.5*4="), u"10.00");
    EXPECT_EQ(result_of(u"", u"1/3="), u"0.33");
    EXPECT_EQ(result_of(u"", u"2/3="), u"0.67");
    EXPECT_EQ(result_of(u"", u"2+3+4="), u"9.00");
    EXPECT_EQ(result_of(u"", u"1.2.3+1="), u"2.23");
}

TEST(calculator, numbers_keep_the_boxs_own_decimals) {
    // "=" on a price of three decimals hands the same price back, not a rounded one.
    calculator price(u"1.759", 3);
    EXPECT_EQ(price.display(), u"1.759");
    price.press(u'=');
    EXPECT_EQ(price.result(), u"1.759");
    calculator doubled(u"1.759", 3);
    press_all(doubled, u"*2=");
    EXPECT_EQ(doubled.result(), u"3.518");
}

TEST(calculator, intermediate_result_is_shown_and_read_back) {
    calculator calc(u"");
    press_all(calc, u"2+3+");
    EXPECT_EQ(calc.display(), u"5.00");
    press_all(calc, u"4");
    EXPECT_EQ(calc.display(), u"4");
    press_all(calc, u"=");
    EXPECT_EQ(calc.result(), u"9.00");
}

TEST(calculator, second_operator_reads_the_shown_operand_back) {
    calculator calc(u"");
    press_all(calc, u"2+");
    EXPECT_EQ(calc.display(), u"2");
    // "*" takes the 2 still shown as second operand: 2 + 2, then "*" pending on 4.00.
    press_all(calc, u"*");
    EXPECT_EQ(calc.display(), u"4.00");
    press_all(calc, u"3=");
    EXPECT_EQ(calc.result(), u"12.00");
}

TEST(calculator, empty_operands_count_as_zero) {
    EXPECT_EQ(result_of(u"", u"+5="), u"5.00");
    // "=" straight after an operator shows the first operand again.
    EXPECT_EQ(result_of(u"", u"6*="), u"6");
}

TEST(calculator, division_by_zero_is_shown_but_never_the_result) {
    for (std::u16string_view keys : {u"8/0=", u"8/0.0="}) {
        calculator calc(u"5");
        press_all(calc, keys);
        EXPECT_EQ(calc.display(), u"Can not be divided by zero");
        EXPECT_TRUE(calc.failed());
        EXPECT_FALSE(calc.finished()) << "the message is not written into the box";
        // The next number starts afresh and can be handed over.
        press_all(calc, u"4=");
        EXPECT_EQ(calc.result(), u"4");
    }
    german_table german;
    scoped_translator s(&german);
    calculator calc(u"");
    press_all(calc, u"8/0+");
    EXPECT_EQ(calc.display(), u"Division durch Null");
    // The message read back as an operand counts as 0.
    press_all(calc, u"2=");
    EXPECT_EQ(calc.result(), u"2.00");
}

TEST(calculator, clear_and_back) {
    calculator calc(u"");
    press_all(calc, u"<");
    EXPECT_EQ(calc.display(), u"");
    press_all(calc, u"123<");
    EXPECT_EQ(calc.display(), u"12");
    // Clear forgets the pending operation as well.
    press_all(calc, u"+5c7=");
    EXPECT_EQ(calc.result(), u"7");

    // Back works on the shown start value and on a shown result.
    calculator start(u"12.5");
    start.press(u'<');
    EXPECT_EQ(start.display(), u"12.5");
    calculator shown(u"");
    press_all(shown, u"1+1+<");
    EXPECT_EQ(shown.display(), u"2.0");
}

TEST(calculator, keys_after_equals_are_ignored) {
    calculator calc(u"");
    press_all(calc, u"1+1=5");
    EXPECT_EQ(calc.result(), u"2.00");
    EXPECT_EQ(calc.display(), u"2.00");
}
