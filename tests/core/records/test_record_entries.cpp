// The editors' rules for numbers and texts, away from any screen.

#include <gtest/gtest.h>

#include "core/records/fee_entry.h"
#include "core/records/fuel_entry.h"
#include "core/records/service_entry.h"

namespace kelvane {
namespace {

using box = fuel_entry::box;

TEST(fuel_entry_test, price_cost_and_quantity_follow_each_other) {
    // (The order of typing is followed through the editor in the GUI tests.)
    fuel_entry e;
    e.unit_price = u"1.500";
    EXPECT_FALSE(e.recalculate(box::unit_price)) << "no cost yet";
    e.cost = u"30";
    e.quantity = u"99";
    e.unit_price = u"2";
    EXPECT_EQ(box::quantity, e.recalculate(box::unit_price)) << "a new price keeps the cost";
    EXPECT_EQ(u"15.00", e.quantity);
    e.unit_price = u"0";
    EXPECT_EQ(box::quantity, e.recalculate(box::cost));
    EXPECT_EQ(u"0.00", e.quantity) << "no division by a price of 0";

    fuel_entry no_price;
    no_price.cost = u"40";
    no_price.quantity = u"25";
    EXPECT_FALSE(no_price.recalculate(box::quantity));
    EXPECT_FALSE(no_price.recalculate(box::cost));
    EXPECT_EQ(u"25", no_price.quantity) << "what the owner typed stays";
}

TEST(fuel_entry_test, a_new_fill_up_carries_the_last_price_and_fuel_type) {
    fuel_header h{};
    h.current_mileage = 4321.5;
    h.last_unit_price = 1.6789;
    set_fixed(h.last_fuel_type, u"95");
    fuel_entry e = fuel_entry::for_new(h);
    EXPECT_EQ(u"4321.5", e.mileage);
    EXPECT_EQ(u"1.679", e.unit_price);
    EXPECT_EQ(u"95", e.fuel_type);
    EXPECT_EQ(u"", e.cost);
    h.last_unit_price = 0;
    EXPECT_EQ(u"", fuel_entry::for_new(h).unit_price) << "no price saved yet";
}

TEST(fuel_entry_test, saving_reads_numbers_strictly_and_cuts_texts_to_whole_characters) {
    fuel_header h{};
    fuel_record r{};
    fuel_entry e;
    e.unit_price = u"1.25";
    e.cost = u"12,50";  // not a number: stored as 0
    e.quantity = u"";
    e.mileage = u"-3";
    e.fuel_type = std::u16string(40, u'T');
    // 49 letters, then a character of two units across the 50th and 51st.
    e.note = std::u16string(49, u'n') + u"\U0001F697" + u"xyz";
    e.apply_to(r, h, {2026, 5, 17, 8, 15, 42});
    EXPECT_EQ(1.25, r.unit_price);
    EXPECT_EQ(0.0, r.fuel_cost);
    EXPECT_EQ(0.0, r.fuel_purchased);
    EXPECT_EQ(-3.0, r.mileage);
    EXPECT_EQ(std::u16string(30, u'T'), fixed_text(r.fuel_type));
    EXPECT_EQ(std::u16string(49, u'n'), fixed_text(r.note)) << "no half character kept";
    EXPECT_EQ(1.25, h.last_unit_price);
    EXPECT_EQ(std::u16string(30, u'T'), fixed_text(h.last_fuel_type));
    EXPECT_EQ(42, r.second);
    EXPECT_EQ(17, r.day);
}

TEST(service_entry_test, only_maintenance_takes_the_next_service_mileage) {
    service_entry e = service_entry::for_new(250);
    EXPECT_EQ(u"250.0", e.next_service);
    e.cost = u"99";
    service_record repair{};
    e.apply_to(repair, {});
    EXPECT_EQ(1, repair.repair_flag);
    EXPECT_EQ(0.0, repair.next_service_mileage);

    e.maintenance = true;
    e.next_service = u"15250";
    service_record job{};
    e.apply_to(job, {});
    EXPECT_EQ(0, job.repair_flag);
    EXPECT_EQ(15250.0, job.next_service_mileage);
    EXPECT_TRUE(service_entry::of(job).maintenance);
}

TEST(fee_entry_test, category_and_description_are_cut_to_what_the_record_keeps) {
    fee_entry e = fee_entry::of(fee_record{});
    e.category = std::u16string(31, u'c');
    e.description = std::u16string(51, u'd');
    fee_record r{};
    e.apply_to(r, {});
    EXPECT_EQ(std::u16string(30, u'c'), fixed_text(r.category));
    EXPECT_EQ(std::u16string(50, u'd'), fixed_text(r.description));
}

}  // namespace
}  // namespace kelvane
