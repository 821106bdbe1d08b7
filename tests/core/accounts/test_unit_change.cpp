// Changing an account's units converts its records and the trips.

#include "core/accounts/unit_change.h"
#include "core/common/unit_factors.h"
#include "core/test_store_support.h"

using namespace kelvane;
using namespace kelvane::testing;

namespace {

class unit_change : public ::testing::Test {
protected:
    device_fixture device;
    fuel_store fuel;
    service_store service;
    fee_store fees;
    trip_store trips;

    void SetUp() override {
        (void)fuel.load(data_folder, u"Car", false);
        (void)service.load(data_folder, u"Car", false);
        (void)fees.load(data_folder, u"Car", false);
        (void)trips.load(data_folder, u"Trip", false);

        fuel_record f{};
        f.year = 2007, f.month = 3, f.day = 5;
        f.mileage = 1000;
        f.fuel_purchased = 40;
        f.fuel_gauge = 50;
        f.fuel_cost = 60;
        f.unit_price = 1.5;
        EXPECT_TRUE(fuel.add_record(f).added());
        service_record m{};
        m.year = 2007, m.month = 3, m.day = 5;
        m.mileage = 1000;
        m.next_service_mileage = 16000;
        EXPECT_TRUE(service.add_record(m).added());
        fee_record e{};
        e.year = 2007, e.month = 3, e.day = 5;
        e.mileage = 1000;
        EXPECT_TRUE(fees.add_record(e).added());
        trip_record t{};
        set_fixed(t.trip_description, u"holiday");
        t.start_mileage = 1000, t.end_mileage = 2000;
        EXPECT_TRUE(trips.add_record(t).added());
    }
    void change(std::u16string_view d0, std::u16string_view d1, std::u16string_view v0,
                std::u16string_view v1) {
        EXPECT_TRUE(change_account_units(fuel, service, fees, trips, d0, d1, v0, v1));
    }
};

TEST_F(unit_change, kilometres_to_miles_and_back) {
    change(u"Kilometer", u"Mile", u"Liter", u"Liter");
    EXPECT_EQ(fuel.record_at(0).mileage, 621.3881744949012);
    EXPECT_EQ(service.record_at(0).mileage, 1000 * km_to_miles);
    EXPECT_EQ(service.record_at(0).next_service_mileage, 16000 * km_to_miles);
    EXPECT_EQ(fees.record_at(0).mileage, 1000 * km_to_miles);
    EXPECT_EQ(fuel.record_at(0).fuel_purchased, 40.0);  // litres stay litres

    // The trips are written at once.
    trip_store reread;
    (void)reread.load(data_folder, u"Trip", false);
    EXPECT_EQ(reread.record_at(0).start_mileage, 1000 * km_to_miles);
    EXPECT_EQ(reread.record_at(0).end_mileage, 2000 * km_to_miles);

    change(u"Mile", u"Kilometer", u"Liter", u"Liter");
    EXPECT_EQ(fuel.record_at(0).mileage, 1000 * km_to_miles * miles_to_km);
    EXPECT_NE(fuel.record_at(0).mileage, 1000.0);  // the factors are not reciprocal
    EXPECT_NEAR(fuel.record_at(0).mileage, 1000.0, 1e-4);

    // The same unit on both sides converts nothing.
    change(u"Kilometer", u"Kilometer", u"Liter", u"Liter");
    EXPECT_EQ(fuel.record_at(0).mileage, 1000 * km_to_miles * miles_to_km);
}

TEST_F(unit_change, keeping_a_gallon_unit_converts_there_and_back) {
    change(u"Kilometer", u"Kilometer", u"Gallon", u"US Gallon");
    EXPECT_EQ(fuel.record_at(0).fuel_purchased, 40 * us_gallons_to_litres * litres_to_us_gallons);
    EXPECT_EQ(fuel.record_at(0).fuel_gauge, 50 * us_gallons_to_litres * litres_to_us_gallons);
    EXPECT_EQ(fuel.record_at(0).unit_price, 60 / fuel.record_at(0).fuel_purchased);
    EXPECT_EQ(fuel.record_at(0).mileage, 1000.0);
}

TEST_F(unit_change, gallons_of_one_kind_to_the_other) {
    change(u"Mile", u"Mile", u"UK Gallon", u"US Gallon");
    EXPECT_EQ(fuel.record_at(0).fuel_purchased, 40 * uk_gallons_to_litres * litres_to_us_gallons);
    change(u"Mile", u"Mile", u"US Gallon", u"Liter");
    EXPECT_EQ(fuel.record_at(0).fuel_purchased,
              40 * uk_gallons_to_litres * litres_to_us_gallons * us_gallons_to_litres);
    EXPECT_EQ(normalise_fuel_unit(u"Gallon"), u"US Gallon");
    EXPECT_EQ(normalise_fuel_unit(u"UK Gallon"), u"UK Gallon");
}

}  // namespace
