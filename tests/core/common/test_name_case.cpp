#include <gtest/gtest.h>

#include "core/common/text.h"

namespace kelvane {
namespace {

// Account names, language files and chosen paths are compared as the file
// systems that hold the data compare them: one letter in either case is one
// name, whatever the script.
TEST(name_case, names_that_differ_only_in_letter_case_are_one_name) {
    EXPECT_TRUE(same_name_ignoring_case(u"Car1", u"CAR1"));
    EXPECT_TRUE(same_name_ignoring_case(u"Škoda Öl", u"škoda öl"));
    EXPECT_TRUE(same_name_ignoring_case(u"ΑΥΤΟ Лада", u"αυτο лада"));
    EXPECT_TRUE(same_name_ignoring_case(u"Ÿ", u"ÿ"));
    EXPECT_FALSE(same_name_ignoring_case(u"Car1", u"Car2"));
    EXPECT_FALSE(same_name_ignoring_case(u"Car", u"Car "));
    EXPECT_FALSE(same_name_ignoring_case(u"×", u"÷")) << "signs are not letters";
    EXPECT_FALSE(same_name_ignoring_case(u"İ", u"i"));
}

TEST(name_case, starts_and_ends_compare_the_same_way) {
    EXPECT_TRUE(ends_with_ignoring_case(u"FRENCH.LNG", u".lng"));
    EXPECT_TRUE(ends_with_ignoring_case(u".lng", u".lng"));
    EXPECT_FALSE(ends_with_ignoring_case(u"lng", u".lng"));
    EXPECT_FALSE(ends_with_ignoring_case(u"French.lngx", u".lng"));
    EXPECT_TRUE(starts_with_ignoring_case(u"Euro", u"EU"));
    EXPECT_TRUE(starts_with_ignoring_case(u"Ärger", u"ä"));
    EXPECT_FALSE(starts_with_ignoring_case(u"E", u"Eu"));
    EXPECT_TRUE(starts_with_ignoring_case(u"anything", u""));
}

// A name, note or description cut to its field keeps whole characters: an
// emoji (two units) at the limit goes entirely, never half of it.
TEST(fixed_fields, cuts_keep_whole_characters) {
    const std::u16string emoji = u"\U0001F697";  // a car, two units
    char16_t field[5];
    set_fixed(field, u"abc" + emoji);
    EXPECT_EQ(u"abc", fixed_text(field)) << "the pair would end at the fifth unit";
    set_fixed(field, u"ab" + emoji + u"c");
    EXPECT_EQ(u"ab" + emoji, fixed_text(field));
    EXPECT_EQ(u"abc", cut(u"abc" + emoji, 4));
    EXPECT_EQ(u"abc" + emoji, cut(u"abc" + emoji, 5));
    EXPECT_EQ(u"", cut(emoji, 1));
}

}  // namespace
}  // namespace kelvane
