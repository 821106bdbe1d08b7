#include <gtest/gtest.h>

#include "core/common/parse_number.h"

using kelvane::parse_number;

TEST(parse_number, accepts_digits_sign_and_one_point) {
    EXPECT_EQ(parse_number(u""), 0.0);
    EXPECT_EQ(parse_number(u"12."), 12.0);
    EXPECT_EQ(parse_number(u".5"), 0.5);
    EXPECT_EQ(parse_number(u"-3"), -3.0);
    EXPECT_EQ(parse_number(u"1234"), 1234.0);
    EXPECT_DOUBLE_EQ(parse_number(u"-12.25"), -12.25);
}

TEST(parse_number, any_other_character_makes_zero) {
    for (auto text : {u"1,5", u"+1", u" 1", u"1e3", u"1.2.3", u"--1", u"1-", u"abc", u"1 "})
        EXPECT_EQ(parse_number(text), 0.0) << std::u16string(text).size();
}

TEST(parse_number, fraction_is_built_by_repeated_tenths) {
    // 0.1 * 3 accumulated as the device does, not the nearest double to 0.3.
    EXPECT_EQ(parse_number(u"0.3"), 3 * 0.1);
    EXPECT_EQ(parse_number(u"1.25"), 1.0 + (2 * 0.1 + 5 * (0.1 * 0.1)));
}
