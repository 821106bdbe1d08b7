#include <gtest/gtest.h>

#include "core/accounts/units.h"
#include "core/common/translate.h"
#include "platform/text_encoding.h"

using namespace kelvane;

TEST(units, currency_table) {
    const auto& table = currency_table();
    ASSERT_EQ(table.size(), 56u);
    EXPECT_EQ(table.front().code, u"AED");
    EXPECT_EQ(table.front().name, u"United Arab Emirates, Dirhams");
    EXPECT_EQ(table[5].name, u"Bosnia and Herzegovina");
    EXPECT_EQ(table[31].name, u"Korea (South), Won");
    EXPECT_EQ(table[54].code, u"USD");
    EXPECT_EQ(table.back().code, u"ZAR");
    EXPECT_EQ(table.back().name, u"South Africa, Rand");
    // Alphabetical by code: a row out of place or typed twice shows here.
    for (std::size_t i = 0; i < table.size(); ++i) {
        EXPECT_EQ(table[i].code.size(), 3u) << i;
        for (char16_t c : table[i].code) EXPECT_TRUE(c >= u'A' && c <= u'Z') << i;
        if (i > 0) {
            EXPECT_LT(table[i - 1].code, table[i].code) << i;
        }
    }
}

TEST(units, old_gallon_is_the_us_gallon) {
    EXPECT_EQ(effective_fuel_unit(u"Gallon"), u"US Gallon");
    EXPECT_EQ(effective_fuel_unit(u"UK Gallon"), u"UK Gallon");
    EXPECT_EQ(effective_fuel_unit(u"gallon"), u"gallon");
    EXPECT_EQ(fuel_unit_index(u"Gallon"), 1);
    EXPECT_EQ(fuel_unit_index(u"Liter"), 0);
    EXPECT_EQ(fuel_unit_index(u"UK Gallon"), 2);
    EXPECT_EQ(fuel_unit_index(u"Litre"), -1);
    EXPECT_EQ(mileage_unit_index(u"Mile"), 1);
    EXPECT_EQ(mileage_unit_index(u"Kilometer"), 0);
    EXPECT_EQ(mileage_unit_index(u"km"), -1);
    EXPECT_EQ(volume_to_litres_mode(u"Gallon"), 0);
    EXPECT_EQ(convert_volume(10.0, u"Gallon", u"Liter"), 10.0 * 3.785);
}

TEST(units, conversions_match_the_stored_figures) {
    EXPECT_EQ(convert_mileage(1000.0, u"Kilometer", u"Mile"), 621.3881744949012);
    // Not exactly 1000 again: the two factors are not reciprocal.
    const double back = convert_mileage(621.3881744949012, u"Mile", u"Kilometer");
    EXPECT_EQ(back, 1000.0 * 0.6213881744949012 * 1.6093000173568726);
    EXPECT_NE(back, 1000.0);
    EXPECT_EQ(convert_mileage(5.0, u"Mile", u"Mile"), 5.0);
    EXPECT_EQ(mileage_conversion_direction(u"Kilometer", u"Kilometer"), -1);
    EXPECT_EQ(mileage_conversion_direction(u"Kilometer", u"Mile"), 0);
    EXPECT_EQ(mileage_conversion_direction(u"Mile", u"Kilometer"), 1);

    // The same gallon unit on both sides still goes through litres.
    EXPECT_EQ(convert_volume(13.7, u"US Gallon", u"US Gallon"), 13.7 * 3.785 * 0.2642007926023778);
    EXPECT_EQ(convert_volume(40.0, u"Liter", u"UK Gallon"), 40.0 * 0.21997360316761988);
    EXPECT_EQ(convert_volume(8.0, u"UK Gallon", u"US Gallon"), 8.0 * 4.546 * 0.2642007926023778);
    EXPECT_EQ(convert_volume(8.0, u"Liter", u"Liter"), 8.0);
    EXPECT_EQ(volume_from_litres_mode(u"US Gallon"), 2);
    EXPECT_EQ(volume_from_litres_mode(u"UK Gallon"), 3);
    EXPECT_EQ(volume_from_litres_mode(u"Liter"), -1);
}

namespace {
class german_units : public text_translator {
public:
    std::u16string translate(std::u16string_view key) const override {
        return key == u"Mile" ? u"Meile" : std::u16string(key);
    }
    std::u16string reverse_translate(std::u16string_view text) const override {
        return text == u"Meile" ? u"Mile" : std::u16string(text);
    }
};
}  // namespace

TEST(units, shown_names_go_back_to_their_keys) {
    german_units german;
    scoped_translator installed(&german);
    EXPECT_EQ(unit_key_of_shown(u"Meile"), u"Mile");
    EXPECT_EQ(unit_key_of_shown(u"Kilometer"), u"Kilometer");
    EXPECT_EQ(mileage_unit_index(unit_key_of_shown(tr(mileage_unit_names[1]))), 1);
}
