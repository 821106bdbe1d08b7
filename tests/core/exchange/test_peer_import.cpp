// Other trackers' exports read into the open account: one small file per
// tracker and section, written from what each tracker is known to write,
// with the records, dates, units, partial fills and totals worked out by
// hand; and the files the import must refuse whole.

#include <gtest/gtest.h>

#include <string>

#include "core/common/text.h"
#include "core/common/unit_factors.h"
#include "core/exchange/export_import.h"
#include "core/test_store_support.h"

namespace kelvane {
namespace {

using testing::data_folder;

// An open account in kilometres and litres with a 50-litre tank.
struct peer_fixture : testing::device_fixture {
    fuel_store fuel;
    service_store jobs;
    fee_store fees;
    export_import exchange{fuel, jobs, fees};

    peer_fixture() {
        dev.set_language_id(1033);
        fuel.set_deferred_save(true);
        jobs.set_deferred_save(true);
        fees.set_deferred_save(true);
        set_fixed(fuel.header().mileage_unit, u"Kilometer");
        set_fixed(fuel.header().fuel_unit, u"Liter");
        fuel.header().tank_capacity = 50;
        for (int pass = 0; pass < 2; ++pass) {
            (void)fuel.load(data_folder, u"Car", false);
            (void)jobs.load(data_folder, u"Car", false);
            (void)fees.load(data_folder, u"Car", false);
            if (!fuel.fresh()) break;
            set_fixed(fuel.header().mileage_unit, u"Kilometer");
            set_fixed(fuel.header().fuel_unit, u"Liter");
            fuel.header().tank_capacity = 50;
            (void)fuel.save_all();
            (void)jobs.save_all();
            (void)fees.save_all();
        }
    }
    import_summary import(std::string_view text, const import_options& o = {}) {
        fs.put(u"\\My Documents\\in.csv", std::vector<std::uint8_t>(text.begin(), text.end()));
        return exchange.import_file(u"\\My Documents\\in.csv", o);
    }
    int records() const { return fuel.record_count() + jobs.record_count() + fees.record_count(); }
};

template <class R>
std::string day_of(const R& r) {
    return std::to_string(r.year) + "-" + std::to_string(r.month) + "-" + std::to_string(r.day);
}

// Fuel burnt from fill-up i to fill-up i+1, as the fuel store reckons it.
double burnt(const fuel_store& s, int i) {
    const auto& a = s.record_at(i);
    const auto& b = s.record_at(i + 1);
    return a.fuel_gauge - (b.fuel_gauge - b.fuel_purchased);
}

TEST(peer_import, lubelogger_fuel_in_miles_and_gallons_with_a_partial_and_a_missed_fill) {
    peer_fixture f;
    import_options o;
    o.from_units = {distance_unit::miles, volume_unit::us_gallons};
    // US dates (month first: 1/15 cannot be day first), rows newest first.
    const import_summary s = f.import(
        "Date,Odometer,FuelConsumed,Cost,FuelEconomy,IsFillToFull,MissedFuelUp,Notes,Tags\n"
        "2/13/2024,10800,8,28.00,0,True,True,after the trip,\n"
        "1/28/2024,10400,6,21.00,25,True,False,,\n"
        "1/20/2024,10300,4,14.00,0,False,False,,work\n"
        "1/15/2024,10000,10,35.00,0,True,False,first,\n",
        o);
    EXPECT_EQ(s.refusal, import_refusal::none) << to_utf8(s.why);
    EXPECT_EQ(s.format, import_format::lubelogger);
    EXPECT_EQ(s.fuel, 4);
    EXPECT_EQ(s.partial_fills, 1);
    EXPECT_EQ(s.missed_fills, 1);
    EXPECT_EQ(s.not_carried[static_cast<int>(detail_kind::tag)], 1);
    EXPECT_EQ(s.units_from, units_source::option);
    ASSERT_EQ(f.fuel.record_count(), 4);

    const auto& first = f.fuel.record_at(0);
    EXPECT_EQ(day_of(first), "2024-1-15");
    EXPECT_DOUBLE_EQ(first.mileage, 10000 * miles_to_km);
    EXPECT_DOUBLE_EQ(first.fuel_purchased, 10 * us_gallons_to_litres);
    EXPECT_DOUBLE_EQ(first.fuel_cost, 35);
    EXPECT_DOUBLE_EQ(first.unit_price, 35 / (10 * us_gallons_to_litres));
    EXPECT_EQ(fixed_text(first.note), u"first");
    EXPECT_DOUBLE_EQ(first.fuel_gauge, 50);
    // The partial fill: the stretch from 10000 to 10400 miles burnt the 4 + 6
    // gallons bought after it; 300 of its 400 miles come before the partial
    // fill, so 7.5 gallons are gone and 4 came in: 50 L - 3.5 gal.
    EXPECT_DOUBLE_EQ(f.fuel.record_at(1).fuel_gauge, 50 - 3.5 * us_gallons_to_litres);
    EXPECT_DOUBLE_EQ(burnt(f.fuel, 0), 7.5 * us_gallons_to_litres);
    EXPECT_DOUBLE_EQ(burnt(f.fuel, 1), 2.5 * us_gallons_to_litres);
    EXPECT_DOUBLE_EQ(burnt(f.fuel, 0) + burnt(f.fuel, 1), 10 * us_gallons_to_litres);
    EXPECT_DOUBLE_EQ(f.fuel.record_at(2).fuel_gauge, 50);
    EXPECT_DOUBLE_EQ(f.fuel.record_at(3).fuel_gauge, 50);
    EXPECT_EQ(fixed_text(f.fuel.record_at(3).note), u"after the trip");
}

TEST(peer_import, lubelogger_services_and_a_day_first_tax_file_with_decimal_commas) {
    peer_fixture f;
    // 3/5 and 4/6 read either way: the import asks instead of guessing.
    const std::string services =
        "Date,Description,Cost,Notes,Odometer,Tags\n"
        "3/5/2024,Oil change,$64.99,synthetic,\"12,345\",\n"
        "4/6/2024,Brakes,\"$1,204.50\",,\"13,000\",\n";
    import_summary s = f.import(services);
    EXPECT_EQ(s.refusal, import_refusal::ambiguous_dates);
    EXPECT_NE(s.why.find(u"day first or month first"), std::u16string::npos);
    EXPECT_EQ(f.records(), 0);
    EXPECT_TRUE(f.messages().empty());

    import_options o;
    o.dates = date_choice::month_first;
    s = f.import(services, o);
    ASSERT_EQ(s.service, 2) << to_utf8(s.why);
    // No units in the file and none given: the account's are taken, and said.
    EXPECT_EQ(s.units_from, units_source::account);
    EXPECT_EQ(day_of(f.jobs.record_at(0)), "2024-3-5");
    EXPECT_EQ(f.jobs.record_at(0).mileage, 12345);
    EXPECT_EQ(f.jobs.record_at(0).cost, 64.99);
    EXPECT_EQ(fixed_text(f.jobs.record_at(0).description), u"Oil change - synthetic");
    EXPECT_EQ(f.jobs.record_at(1).cost, 1204.5);

    // A French server: day-first dates, decimal commas and a space grouping.
    s = f.import(
        "Date,Description,Cost,Notes,Tags\n"
        "25/03/2024,Carte grise,\"1 204,50 \xE2\x82\xAC\",,\n"
        "02/04/2024,Vignette,\"45,00 \xE2\x82\xAC\",au guichet,annuel\n");
    ASSERT_EQ(s.fees, 2) << to_utf8(s.why);
    EXPECT_EQ(day_of(f.fees.record_at(0)), "2024-3-25");
    EXPECT_EQ(f.fees.record_at(0).cost, 1204.5);
    EXPECT_EQ(fixed_text(f.fees.record_at(0).category), u"Road Tax");
    EXPECT_EQ(day_of(f.fees.record_at(1)), "2024-4-2");
    EXPECT_EQ(f.fees.record_at(1).cost, 45);
    EXPECT_EQ(fixed_text(f.fees.record_at(1).description), u"Vignette - au guichet");
}

TEST(peer_import, fuelly_fuelups_newest_first_and_its_services) {
    peer_fixture f;
    const import_summary s = f.import(
        "car_name, model, l/100km,  odometer, km, litres, price, city_percentage, fuelup_date, "
        "date_added, tags, notes, missed_fuelup, partial_fuelup, latitude, longitude, brand\n"
        "\"Golf\",\"Golf\",6.2,85010.0,400,20,1.8,50,2024-03-20,2024-03-20 10:00:00,\"\",\"\",0,0,"
        "52.1,4.3,\"Shell\"\n"
        "\"Golf\",\"Golf\",0,84610.0,400,10,1.75,50,2024-03-10,2024-03-10 10:00:00,\"\","
        "\"half\",0,1,,,\"\"\n"
        "\"Golf\",\"Golf\",0,84210.0,0,45.5,1.7,50,2024-03-01,2024-03-01 10:00:00,\"\",\"\",0,0,"
        ",,\"\"\n");
    ASSERT_EQ(s.fuel, 3) << to_utf8(s.why);
    EXPECT_EQ(s.format, import_format::fuelly);
    EXPECT_EQ(s.units_from, units_source::file);
    EXPECT_EQ(day_of(f.fuel.record_at(0)), "2024-3-1");
    EXPECT_EQ(f.fuel.record_at(0).mileage, 84210);
    // No total in the file: the cost is quantity times unit price.
    EXPECT_DOUBLE_EQ(f.fuel.record_at(2).fuel_cost, 20 * 1.8);
    // 30 litres over 800 km, half of it before the partial fill.
    EXPECT_DOUBLE_EQ(f.fuel.record_at(1).fuel_gauge, 50 - 15 + 10);
    EXPECT_EQ(s.not_carried[static_cast<int>(detail_kind::location)], 1);

    const import_summary services = f.import(
        "car_name, model, odometer, price, service_date, date_added, tags, service_type, "
        "sub_service_types, notes, latitude, longitude\n"
        "\"Golf\",\"\",85100.0,78.00,2024-03-22,2024-03-22 12:00:00,\"\",\"expense\",\"mot\","
        "\"yearly\",,\n"
        "\"Golf\",\"\",85000.0,,2024-03-19,2024-03-19 12:00:00,\"\",\"service\","
        "\"engine_oil,oil_filter\",\"\",,\n");
    EXPECT_EQ(services.service, 1);
    EXPECT_EQ(services.fees, 1);
    EXPECT_EQ(fixed_text(f.jobs.record_at(0).description), u"engine oil, oil filter");
    EXPECT_EQ(f.jobs.record_at(0).cost, 0);
    EXPECT_EQ(fixed_text(f.fees.record_at(0).category), u"mot");
    EXPECT_EQ(f.fees.record_at(0).cost, 78);
}

TEST(peer_import, fuelio_backup_in_miles_and_us_gallons_with_costs_and_income) {
    peer_fixture f;
    const import_summary s = f.import(
        "\"## Vehicle\"\n"
        "\"Name\",\"Description\",\"DistUnit\",\"FuelUnit\",\"ConsumptionUnit\","
        "\"ImportCSVDateFormat\",\"VIN\",\"Tank1Capacity\"\n"
        "\"Civic\",\"\",\"1\",\"1\",\"1\",\"yyyy-MM-dd\",\"\",\"13.2\"\n"
        "\"## Log\"\n"
        "\"Data\",\"Odo (mi)\",\"Fuel (us gallons)\",\"Full\",\"Price (optional)\","
        "\"mpg (optional)\",\"latitude (optional)\",\"longitude (optional)\",\"City (optional)\","
        "\"Notes (optional)\",\"Missed\",\"TankNumber\",\"FuelType\",\"VolumePrice\"\n"
        "\"2024-05-02 18:40\",\"20300\",\"10\",\"1\",\"35.00\",\"30\",\"0\",\"0\",\"\",\"\",\"0\","
        "\"1\",\"1\",\"3.5\"\n"
        "\"2024-05-01 08:15\",\"20000\",\"11\",\"1\",\"38.50\",\"0\",\"40.7\",\"-74.0\","
        "\"New York\",\"\",\"0\",\"1\",\"1\",\"3.5\"\n"
        "\"## CostCategories\"\n"
        "\"CostTypeID\",\"Name\",\"priority\",\"color\"\n"
        "\"1\",\"Service\",\"0\",\"#000\"\n"
        "\"3\",\"Parking\",\"0\",\"#000\"\n"
        "\"## Costs\"\n"
        "\"CostTitle\",\"Date\",\"Odo\",\"CostTypeID\",\"Notes\",\"Cost\",\"flag\",\"idR\","
        "\"read\",\"RemindOdo\",\"RemindDate\",\"isTemplate\",\"RepeatOdo\",\"RepeatMonths\","
        "\"isIncome\",\"UniqueId\"\n"
        "\"Oil\",\"2024-05-03\",\"20350\",\"1\",\"\",\"49.90\",\"0\",\"0\",\"0\",\"25350\",\"\","
        "\"0\",\"5000\",\"0\",\"0\",\"7\"\n"
        "\"Garage\",\"2024-05-04\",\"20400\",\"3\",\"downtown\",\"12\",\"0\",\"0\",\"0\",\"0\","
        "\"\",\"0\",\"0\",\"0\",\"0\",\"8\"\n"
        "\"Sold a roof box\",\"2024-05-05\",\"20450\",\"3\",\"\",\"80\",\"0\",\"0\",\"0\",\"0\","
        "\"\",\"0\",\"0\",\"0\",\"1\",\"9\"\n");
    EXPECT_EQ(s.format, import_format::fuelio);
    ASSERT_EQ(s.fuel, 2) << to_utf8(s.why);
    EXPECT_EQ(s.service, 1);
    EXPECT_EQ(s.fees, 1);
    EXPECT_EQ(s.income_rows, 1);
    EXPECT_EQ(s.units_from, units_source::file);
    const auto& first = f.fuel.record_at(0);
    EXPECT_EQ(day_of(first), "2024-5-1");
    EXPECT_EQ(first.hour, 8);
    EXPECT_EQ(first.minute, 15);
    EXPECT_DOUBLE_EQ(first.mileage, 20000 * miles_to_km);
    EXPECT_DOUBLE_EQ(first.fuel_purchased, 11 * us_gallons_to_litres);
    EXPECT_DOUBLE_EQ(first.fuel_cost, 38.5);
    EXPECT_EQ(s.not_carried[static_cast<int>(detail_kind::location)], 1);
    const auto& oil = f.jobs.record_at(0);
    EXPECT_EQ(oil.repair_flag, 0);
    EXPECT_DOUBLE_EQ(oil.next_service_mileage, 25350 * miles_to_km);
    EXPECT_EQ(fixed_text(f.fees.record_at(0).category), u"Parking");
    EXPECT_EQ(fixed_text(f.fees.record_at(0).description), u"Garage - downtown");
}

const std::string acar_file =
    "Metadata\n"
    "\"Export Date/Time\",\"Date Format\",\"Time Format\"\n"
    "\"2024-06-01 - 10:00\",\"d/M/yyyy\",\"HH:mm\"\n"
    "\n"
    "Vehicles\n"
    "\"Name\",\"Fuel Tank Capacity\",\"Volume Unit\",\"Distance Unit\"\n"
    "\"Altima\",\"20.0\",\"US_GALLON\",\"MILE\"\n"
    "\"Vespa\",\"8.0\",\"LITER\",\"KILOMETER\"\n"
    "\n"
    "Fill-Up Records\n"
    "\"Vehicle\",\"Date\",\"Time\",\"Odometer Reading\",\"Distance Unit\",\"Volume\","
    "\"Volume Unit\",\"Price per Unit\",\"Total Cost\",\"Payment\",\"Partial Fill-Up?\","
    "\"Previously Missed Fill-Ups?\",\"Fuel Type\",\"Place City\",\"Tags\",\"Notes\"\n"
    "\"Altima\",\"3/6/2024\",\"08:11\",\"106,421\",\"mi\",\"20.101\",\"gal\",\"$3.969\","
    "\"$79.78\",\"Card\",\"No\",\"No\",\"Regular (87)\",\"Orem\",\"\",\"\"\n"
    "\"Vespa\",\"4/6/2024\",\"09:00\",\"2,000\",\"km\",\"6.5\",\"L\",\"$1.900\",\"$12.35\","
    "\"\",\"No\",\"No\",\"\",\"\",\"\",\"\"\n"
    "\n"
    "Event Records\n"
    "\"Vehicle\",\"Date\",\"Time\",\"Odometer Reading\",\"Distance Unit\",\"Type\","
    "\"Sub Types\",\"Total Cost\",\"Place City\",\"Place City\",\"Notes\"\n"
    "\"Altima\",\"14/5/2024\",\"10:43\",\"105,600\",\"mi\",\"Service\","
    "\"Engine Oil, Oil Filter\",\"$22.00\",\"Orem\",\"\"\n";

TEST(peer_import, acar_export_with_two_vehicles_takes_the_one_chosen) {
    peer_fixture f;
    import_summary s = f.import(acar_file);
    EXPECT_EQ(s.format, import_format::acar);
    ASSERT_EQ(s.refusal, import_refusal::several_vehicles);
    EXPECT_EQ(s.choices, (std::vector<std::u16string>{u"Altima", u"Vespa"}));
    EXPECT_EQ(f.records(), 0);

    import_options o;
    o.vehicle = u"Altima";
    s = f.import(acar_file, o);
    ASSERT_EQ(s.fuel, 1) << to_utf8(s.why);
    ASSERT_EQ(s.service, 1);
    // The file's own date form, day first, and its grouped numbers.
    const auto& fill = f.fuel.record_at(0);
    EXPECT_EQ(day_of(fill), "2024-6-3");
    EXPECT_EQ(fill.hour, 8);
    EXPECT_DOUBLE_EQ(fill.mileage, 106421 * miles_to_km);
    EXPECT_DOUBLE_EQ(fill.fuel_purchased, 20.101 * us_gallons_to_litres);
    EXPECT_DOUBLE_EQ(fill.fuel_cost, 79.78);
    EXPECT_EQ(fixed_text(fill.fuel_type), u"Regular (87)");
    // The doubled "Place City" of the events' header does not shift Notes.
    const auto& job = f.jobs.record_at(0);
    EXPECT_EQ(day_of(job), "2024-5-14");
    EXPECT_DOUBLE_EQ(job.mileage, 105600 * miles_to_km);
    EXPECT_EQ(job.cost, 22);
    EXPECT_EQ(fixed_text(job.description), u"Engine Oil, Oil Filter");
    EXPECT_EQ(s.not_carried[static_cast<int>(detail_kind::location)], 2);
    EXPECT_EQ(s.not_carried[static_cast<int>(detail_kind::other)], 1);  // the payment
}

TEST(peer_import, drivvo_sections_with_padded_lines_and_a_note_over_two_lines) {
    peer_fixture f;
    const std::string pad(20, ',');
    const import_summary s = f.import(
        ",,,,,,,,,,,,,,,,,,,,,,,,,,,,,,\n"
        "#Vehicle" +
        pad +
        "\n"
        "\"Vehicle Name\",\"Active\",\"Fuel capacity(gal)\",\"Odometer (km)\"" +
        pad +
        "\n"
        "\"Africa\",\"Yes\",\"19.000\",\"Kilometers (km)\"" +
        pad +
        "\n"
        "#Refueling" +
        pad +
        "\n"
        "\"Vehicle Name\",\"Odometer (km)\",\"Date\",\"Fuel\",  \"Price / gal\",  \"Total cost\","
        "  \"Volume\",\"Filled tank completely\",\"Second fuel\",\"Price / gal\",\"Total cost\","
        "\"Volume\",\"Gas station\",\"Driver\",\"Notes\"" +
        pad +
        "\n"
        "\"Africa\",\"40457\",\"2026-09-01 23:58\",\"Gasoline\",\"1.43\",\"22.96\",\"16.056\","
        "\"Yes\",\"\",\"0\",\"0\",\"0\",\"Total\",\"\",\"windy" +
        pad + "\nroad\"" + pad +
        "\n"
        "\"Africa\",\"40279\",\"2026-08-31 02:52\",\"Gasoline\",\"1.39\",\"10.00\",\"7.194\","
        "\"No\",\"\",\"0\",\"0\",\"0\",\"\",\"Sam\",\"\"" +
        pad +
        "\n"
        "#Expense" +
        pad +
        "\n"
        "\"Vehicle Name\",\"Odometer (km)\",\"Date\",\"Total cost\",\"Type of expense\","
        "\"Expense location\",\"Driver\",\"Payment method\",\"Reason\",\"Notes\"" +
        pad +
        "\n"
        "\"Africa\",\"40300\",\"2026-08-31 12:00\",\"3.5\",\"Parking\",\"\",\"\",\"\",\"\","
        "\"\"" +
        pad +
        "\n"
        "#Service" +
        pad +
        "\n"
        "\"Vehicle Name\",\"Odometer (km)\",\"Date\",\"Total cost\",\"Type of service\","
        "\"Service location\",\"Driver\",\"Payment method\",\"Notes\"" +
        pad +
        "\n"
        "\"Africa\",\"40400\",\"2026-09-01 09:00\",\"60\",\"Oil change\",\"Garage\",\"\",\"\","
        "\"\"" +
        pad + "\n");
    EXPECT_EQ(s.format, import_format::drivvo);
    ASSERT_EQ(s.fuel, 2) << to_utf8(s.why);
    EXPECT_EQ(s.fees, 1);
    EXPECT_EQ(s.service, 1);
    EXPECT_EQ(s.partial_fills, 1);
    EXPECT_EQ(f.fuel.record_at(0).mileage, 40279);
    EXPECT_EQ(f.fuel.record_at(0).hour, 2);
    EXPECT_EQ(fixed_text(f.fuel.record_at(1).note), u"windy road");
    EXPECT_EQ(fixed_text(f.fuel.record_at(1).fuel_type), u"Gasoline");
    EXPECT_EQ(fixed_text(f.fees.record_at(0).category), u"Parking");
    EXPECT_EQ(fixed_text(f.jobs.record_at(0).description), u"Oil change");
    EXPECT_EQ(s.not_carried[static_cast<int>(detail_kind::location)], 2);
    EXPECT_EQ(s.not_carried[static_cast<int>(detail_kind::other)], 1);  // the driver
}

TEST(peer_import, simply_auto_log_without_quotes_and_in_the_units_given) {
    peer_fixture f;
    import_options o;
    o.from_units = {distance_unit::miles, volume_unit::uk_gallons};
    const import_summary s = f.import(
        "Row ID (For System Use),Vehicle ID,Odometer,Qty,Partial Tank,Missed Previous Fill up,"
        "Total Cost,Distance Travelled,Eff,Octane,Fuel Brand,Filling Station,Notes,Day,Month,"
        "Year,Receipt Path,Latitude,Longitude,Record Type,Record Desc\n"
        "3,Mini,30500,0,0,0,95.5,0,0,,,,,9,2,2024,/receipts/3.jpg,,,1,Oil, filter, wipers\n"
        "2,Mini,30400,0,0,0,20,0,0,,,,,8,2,2024,,,,2,Parking\n"
        "1,Mini,30000,8,0,0,52.3,0,0,95,,,,1,2,2024,,51.5,-0.1,0,\n",
        o);
    EXPECT_EQ(s.format, import_format::simplyauto);
    ASSERT_EQ(s.fuel, 1) << to_utf8(s.why);
    EXPECT_EQ(s.units_from, units_source::option);
    EXPECT_EQ(day_of(f.fuel.record_at(0)), "2024-2-1");
    EXPECT_DOUBLE_EQ(f.fuel.record_at(0).fuel_purchased, 8 * uk_gallons_to_litres);
    EXPECT_DOUBLE_EQ(f.fuel.record_at(0).mileage, 30000 * miles_to_km);
    // The description's commas spilled into three cells; they are one text.
    ASSERT_EQ(s.service, 1);
    EXPECT_EQ(fixed_text(f.jobs.record_at(0).description), u"Oil, filter, wipers");
    EXPECT_EQ(f.jobs.record_at(0).cost, 95.5);
    EXPECT_EQ(fixed_text(f.fees.record_at(0).category), u"Parking");
    EXPECT_EQ(s.not_carried[static_cast<int>(detail_kind::photo)], 1);
    EXPECT_EQ(s.not_carried[static_cast<int>(detail_kind::location)], 1);
}

TEST(peer_import, refuses_whole_files_it_cannot_read) {
    peer_fixture f;
    // An unknown header names the layouts the import knows.
    import_summary s = f.import("When,Where,How much\n2024-01-01,Home,3\n");
    EXPECT_EQ(s.refusal, import_refusal::unknown_layout);
    for (std::u16string_view name :
         {u"Kelvane", u"LubeLogger", u"Fuelly", u"Fuelio", u"aCar", u"Drivvo", u"Simply Auto"})
        EXPECT_NE(s.why.find(name), std::u16string::npos) << to_utf8(name);

    // One bad date late in the file: nothing of it is added, and the owner
    // learns which line.
    s = f.import(
        "Date,Odometer,FuelConsumed,Cost,FuelEconomy,IsFillToFull,MissedFuelUp,Notes,Tags\n"
        "2024-01-15,10000,10,35.00,0,True,False,,\n"
        "2024-02-30,10400,6,21.00,0,True,False,,\n");
    EXPECT_EQ(s.refusal, import_refusal::unreadable);
    EXPECT_NE(s.why.find(u"Line 3"), std::u16string::npos) << to_utf8(s.why);
    EXPECT_EQ(f.records(), 0);
    EXPECT_EQ(f.fuel.record_count(), 0);

    // Dates written both ways in one column cannot all be right.
    s = f.import(
        "Date,Description,Cost,Notes,Tags\n"
        "25/03/2024,a,1,,\n"
        "03/25/2024,b,1,,\n");
    EXPECT_EQ(s.refusal, import_refusal::unreadable);
    EXPECT_EQ(f.records(), 0);
}

}  // namespace
}  // namespace kelvane
