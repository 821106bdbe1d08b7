// The fuel store: its file layout, fuel economy, distances, conversions and
// export lines.

#include <cmath>

#include "core/common/unit_factors.h"
#include "core/exchange/csv_rows.h"
#include "core/test_store_support.h"
#include "core/test_store_support_chart.h"
#include "platform/memory_file_system.h"

using namespace kelvane;
using namespace kelvane::testing;

namespace {

class fuel_store_test : public ::testing::Test {
protected:
    device_fixture device;
    fuel_store store;

    void SetUp() override {
        (void)store.load(data_folder, u"Car", false);
        set_units(u"Kilometer", u"Liter", 2);
    }
    void set_units(std::u16string_view distance, std::u16string_view volume, int mode) {
        set_fixed(store.header().mileage_unit, distance);
        set_fixed(store.header().fuel_unit, volume);
        store.header().economy_mode = mode;
    }
    static fuel_record fill(int day, double mileage, double purchased, double gauge,
                            double cost = 0) {
        fuel_record r{};
        r.year = 2007, r.month = 3, r.day = day, r.hour = 12;
        r.mileage = mileage;
        r.fuel_purchased = purchased;
        r.fuel_gauge = gauge;
        r.fuel_cost = cost;
        return r;
    }
    // The worked example: 1000 km with the tank at 50, then 1500 km after
    // buying 40 with the tank back at 50: 500 km on 40 of fuel.
    void add_example() {
        EXPECT_TRUE(store.add_record(fill(1, 1000, 50, 50, 60)).added());
        EXPECT_TRUE(store.add_record(fill(2, 1500, 40, 50, 48)).added());
    }
};

TEST_F(fuel_store_test, file_layout) {
    fuel_header& h = store.header();
    h.tank_capacity = 55.5;
    h.initial_mileage = 900;
    h.initial_fuel = 12.25;
    h.last_unit_price = 1.379;
    set_fixed(h.last_fuel_type, u"95");
    set_fixed(h.currency, u"EUR");
    h.account_year = 2006, h.account_month = 11, h.account_day = 30;
    set_fixed(h.account_note, u"blue");
    fuel_record r = fill(5, 1234.5, 32, 45.5, 40);
    r.minute = 7, r.second = 9;
    r.economy = 3.25;
    r.unit_price = 1.25;
    set_fixed(r.fuel_type, u"93");
    set_fixed(r.note, u"motorway");
    EXPECT_TRUE(store.add_record(r).added());

    byte_image header = common_header(1920, u"Car", data_folder, 1);
    header.f64(1496, 40).f64(1504, 55.5).f64(1512, 900).f64(1520, 12.25).f64(1528, 1234.5);
    header.f64(1536, 1.379).text(1544, u"95").text(1606, u"Kilometer").text(1668, u"Liter");
    header.i32(1732, 2).text(1736, u"EUR").i32(1804, 2006).i32(1808, 11).i32(1812, 30);
    header.text(1816, u"blue");
    byte_image record(480);
    record.text(0, u"DATA").i32(12, 0).text(16, u"Car0000000000071004022533");
    record.i32(140, 2007).i32(144, 3).i32(148, 5).i32(152, 12).i32(156, 7).i32(160, 9);
    record.f64(168, 1234.5).f64(176, 32).f64(184, 45.5).f64(192, 3.25).f64(200, 40);
    record.f64(208, 1.25).text(216, u"93").text(278, u"motorway");
    EXPECT_EQ(device.fs.bytes(file_of<fuel_store>(u"Car")), header.append(record.bytes()).bytes());
}

TEST_F(fuel_store_test, worked_example_in_every_economy_figure) {
    const double miles = 500 * km_to_miles;
    const struct {
        int mode;
        double expected;
    } figures[] = {
        {0, miles / (40 * litres_to_us_gallons)},
        {1, miles / (40 * litres_to_uk_gallons)},
        {2, 8},
        {3, 12.5},
    };
    add_example();
    for (const auto& f : figures) {
        store.header().economy_mode = f.mode;
        EXPECT_TRUE(store.recompute_economy(false));
        EXPECT_EQ(store.record_at(0).economy, f.expected) << "mode " << f.mode;
    }
    store.header().economy_mode = 2;
    EXPECT_TRUE(store.recompute_economy(true));
    EXPECT_EQ(store.row_texts(0)[2], u"8.00");
    EXPECT_EQ(store.row_texts(1)[2], u"-");  // the newest has no following fill-up
    EXPECT_EQ(store.row_texts(0)[0], u" 1000");
    EXPECT_EQ(store.row_texts(0)[1], u"50.00");
    EXPECT_EQ(store.row_texts(0)[3], u"03/01/07");
    EXPECT_EQ(store.header().total_fuel_cost, 108.0);
    EXPECT_EQ(store.header().current_mileage, 1500.0);
}

TEST_F(fuel_store_test, appending_sets_the_economy_of_the_previous_fill_up_on_disk) {
    store.set_deferred_save(true);
    add_example();
    fuel_store reread;
    (void)reread.load(data_folder, u"Car", false);
    EXPECT_EQ(reread.record_at(0).economy, 8.0);
    EXPECT_EQ(reread.header().total_fuel_cost, 108.0);

    // A fill-up between them splits the stretch; both halves are recomputed.
    EXPECT_TRUE(store.add_record(fill(1, 1250, 20, 40))
                    .added());  // same moment as the first: goes after it
    EXPECT_EQ(store.record_count(), 3);
    EXPECT_EQ(store.record_at(1).mileage, 1250.0);
    EXPECT_EQ(store.record_at(0).economy, (50 - (40 - 20)) / 250.0 * 100);
    EXPECT_EQ(store.record_at(1).economy, (40 - (50 - 40)) / 250.0 * 100);
}

// A long file is read in pieces, and its totals, economies and record
// counter are worked out as they arrive: they must come out as a walk over
// the whole list gives them, with damaged records left out on either side of
// a piece's edge and the file's own figures not trusted.
TEST_F(fuel_store_test, a_long_file_loads_with_the_figures_a_full_recompute_gives) {
    constexpr std::size_t piece = fuel_store::load_piece_bytes / sizeof(fuel_record);
    std::vector<fuel_record> records;
    for (int i = 0; i < static_cast<int>(2 * piece + 500); ++i) {
        fuel_record r = fill(1 + i % 28, 1000.0 + 37.5 * i + i % 7, 20 + i % 13, 45 + i % 5,
                             30 + i % 11 + 0.01 * i);
        r.year = 2000 + i / 336;
        r.month = 1 + (i / 28) % 12;
        set_fixed(r.tag, record_tag);
        r.record_number = (i * 7919) % 9000;  // numbers in no order
        r.economy = -1;
        records.push_back(r);
    }
    for (const std::size_t at : {piece - 1, piece, 2 * piece + 3}) records[at].tag[0] = u'X';
    records[piece].record_number = 100000;  // a damaged record's number counts for nothing
    std::int32_t kept_highest = 0;
    for (const fuel_record& r : records)
        if (r.tag[0] == u'D') kept_highest = std::max(kept_highest, r.record_number);
    fuel_header header = store.header();
    header.total_fuel_cost = 0;
    header.current_mileage = 0;
    header.next_record_number = 0;
    std::vector<std::uint8_t> bytes = bytes_of(header);
    for (const fuel_record& r : records) {
        const auto b = bytes_of(r);
        bytes.insert(bytes.end(), b.begin(), b.end());
    }
    device.fs.put(file_of<fuel_store>(u"Car"), bytes);

    fuel_store loaded;
    ASSERT_EQ(loaded.load(data_folder, u"Car", false), load_result::loaded);
    ASSERT_EQ(loaded.record_count(), static_cast<int>(records.size() - 3));
    EXPECT_EQ(loaded.leftovers().damaged_records, 3);
    EXPECT_EQ(loaded.header().next_record_number, kept_highest + 1);
    const fuel_header as_loaded = loaded.header();
    std::vector<double> economies;
    for (int i = 0; i < loaded.record_count(); ++i)
        economies.push_back(loaded.record_at(i).economy);

    ASSERT_TRUE(loaded.recompute_economy(false));
    EXPECT_EQ(bytes_of(loaded.header()), bytes_of(as_loaded));
    for (int i = 0; i < loaded.record_count(); ++i)
        ASSERT_EQ(loaded.record_at(i).economy, economies[static_cast<std::size_t>(i)]) << i;
    EXPECT_GT(as_loaded.total_fuel_cost, 0);
    EXPECT_EQ(as_loaded.current_mileage, records.back().mileage);
}

TEST_F(fuel_store_test, no_division_by_zero_distance_or_fuel) {
    for (int mode = 0; mode < 4; ++mode) {
        store.header().economy_mode = mode;
        EXPECT_EQ(stretch_economy(store.header(), 0, 0), 0.0) << mode;
        EXPECT_EQ(stretch_economy(store.header(), 0, 40), 0.0) << mode;
        EXPECT_EQ(stretch_economy(store.header(), 500, 0), 0.0) << mode;
    }
    // Same mileage twice, through the store.
    EXPECT_TRUE(store.add_record(fill(1, 1000, 50, 50)).added());
    EXPECT_TRUE(store.add_record(fill(2, 1000, 40, 50)).added());
    EXPECT_EQ(store.record_at(0).economy, 0.0);
}

TEST_F(fuel_store_test, old_gallon_unit_counts_as_us_gallon) {
    for (int mode = 0; mode < 4; ++mode) {
        set_units(u"Mile", u"Gallon", mode);
        const double old_unit = stretch_economy(store.header(), 300, 10);
        set_units(u"Mile", u"US Gallon", mode);
        EXPECT_EQ(old_unit, stretch_economy(store.header(), 300, 10)) << mode;
    }
    set_units(u"Mile", u"US Gallon", 0);
    EXPECT_EQ(stretch_economy(store.header(), 300, 10), 30.0);  // already miles per US gallon
    set_units(u"Mile", u"UK Gallon", 1);
    EXPECT_EQ(stretch_economy(store.header(), 300, 10), 30.0);
    set_units(u"Mile", u"UK Gallon", 0);
    EXPECT_EQ(stretch_economy(store.header(), 300, 10),
              300 / (10 * uk_gallons_to_litres * litres_to_us_gallons));
    set_units(u"Mile", u"US Gallon", 2);
    EXPECT_EQ(stretch_economy(store.header(), 300, 10),
              10 * us_gallons_to_litres / (300 * miles_to_km) * 100);
}

TEST_F(fuel_store_test, single_record_sets_current_mileage_only) {
    store.header().initial_mileage = 5000;
    EXPECT_TRUE(store.add_record(fill(1, 4000, 30, 30, 50)).added());
    EXPECT_EQ(store.header().current_mileage, 5000.0);
    EXPECT_EQ(store.record_at(0).economy, 0.0);
    store.header().initial_mileage = 3000;
    EXPECT_TRUE(store.recompute_economy(false));
    EXPECT_EQ(store.header().current_mileage, 4000.0);
}

TEST_F(fuel_store_test, distance_in_range) {
    const auto distance = [&](double lowest, double highest) {
        return store.distance_in_range({std::nullopt, std::nullopt, lowest, highest});
    };
    // Nothing selected: the bounds alone.
    EXPECT_EQ(distance(-1, 800), 800.0);
    EXPECT_EQ(distance(300, -1), 0.0);
    EXPECT_EQ(distance(300, 800), 500.0);
    EXPECT_EQ(distance(-1, -1), 0.0);

    EXPECT_TRUE(store.add_record(fill(1, 1200, 30, 30)).added());
    EXPECT_TRUE(
        store.add_record(fill(2, 1000, 30, 30)).added());  // a smaller mileage on a later day
    EXPECT_TRUE(store.add_record(fill(3, 1700, 30, 30)).added());
    EXPECT_EQ(distance(-1, -1), 700.0);      // largest minus smallest selected
    EXPECT_EQ(distance(1100, -1), 500.0);    // 1700 - 1200
    EXPECT_EQ(distance(1000, 1500), 500.0);  // an upper bound gives the bounds
    EXPECT_EQ(distance(-1, 1500), 1500.0);
    EXPECT_EQ(distance(-1, 0), 0.0);  // nothing at or below 0: the upper bound
    selection_limits day3{local_time{2007, 3, 3, 0, 0, 0}, std::nullopt};
    EXPECT_EQ(store.distance_in_range(day3), 0.0);
}

TEST_F(fuel_store_test, convert_fuel_keeps_prices_finite) {
    fuel_record free_fill = fill(1, 1000, 0, 30, 0);
    free_fill.unit_price = 1.5;
    EXPECT_TRUE(store.add_record(free_fill).added());
    EXPECT_TRUE(store.add_record(fill(2, 1100, 10, 30, 20)).added());
    store.convert_fuel(0);  // US gallons to litres
    EXPECT_EQ(store.record_at(1).fuel_purchased, 10 * us_gallons_to_litres);
    EXPECT_EQ(store.record_at(1).fuel_gauge, 30 * us_gallons_to_litres);
    EXPECT_EQ(store.record_at(1).unit_price, 20 / (10 * us_gallons_to_litres));
    EXPECT_TRUE(std::isfinite(store.record_at(0).unit_price));
    EXPECT_EQ(store.record_at(0).unit_price, 1.5 / us_gallons_to_litres);
    store.convert_fuel(7);  // no such conversion: nothing changes
    EXPECT_EQ(store.record_at(1).fuel_purchased, 10 * us_gallons_to_litres);
}

TEST_F(fuel_store_test, export_line_and_rows) {
    fuel_record r = fill(5, 1234.5, 32, 0.5, 40);
    r.unit_price = 1.25;
    set_fixed(r.fuel_type, u"93");
    set_fixed(r.note, u"a, \"b\"");
    EXPECT_EQ(export_line(r),
              u"\"03/05/2007\",\"1234.5\",\"Fuel\",\"a, \"\"b\"\"\",\"40.00\",\"1.250\",\"32.00\","
              u"\"0.50\",\"93\",\"\",\"\"\r\n");

    set_fixed(r.note, u"caf\u00e9");
    EXPECT_TRUE(store.add_record(r).added());
    EXPECT_TRUE(store.add_record(fill(6, 1300, 1, 1, 2)).added());
    store.select_records({local_time{2007, 3, 5}, local_time{2007, 3, 5, 23, 59, 59}});
    memory_file_system out_fs;
    auto out = out_fs.create(u"\\out.csv");
    ASSERT_TRUE(out);
    ASSERT_TRUE(export_rows(store, *out));
    out->close();
    const std::string expected =
        "\"03/05/2007\",\"1234.5\",\"Fuel\",\"caf\xC3\xA9\",\"40.00\",\"1.250\",\"32.00\","
        "\"0.50\",\"93\",\"\",\"\"\r\n";
    EXPECT_EQ(out_fs.bytes(u"\\out.csv"),
              std::vector<std::uint8_t>(expected.begin(), expected.end()));
}

TEST_F(fuel_store_test, economy_series_and_cost_fill_the_chart) {
    EXPECT_TRUE(store.add_record(fill(1, 1000, 50, 50, 10)).added());
    EXPECT_TRUE(store.add_record(fill(2, 1500, 40, 50, 20)).added());
    EXPECT_TRUE(store.add_record(fill(3, 1900, 30, 50, 30)).added());
    recorded_chart chart;
    store.economy_series(chart, {});
    ASSERT_EQ(chart.entries.size(), 2u);  // the last selected fill-up has no economy
    EXPECT_EQ(chart.entries[0].name, u"1000");
    EXPECT_EQ(chart.entries[0].value, 8.0);
    EXPECT_EQ(chart.entries[0].date_text, u"03/01/07");
    EXPECT_EQ(chart.dates, (std::vector<int>{20070301, 20070302}));

    recorded_chart bounded;
    store.economy_series(bounded, {local_time{2007, 3, 2}, std::nullopt});
    EXPECT_EQ(bounded.entries.size(), 1u);
    EXPECT_TRUE(bounded.dates.empty());

    recorded_chart costs;
    EXPECT_EQ(store.selection_cost({std::nullopt, std::nullopt, 1500, -1}, &costs), 50.0);
    EXPECT_EQ(costs.dates, (std::vector<int>{20070302, 20070303}));
    EXPECT_EQ(store.selection_cost({}), 60.0);
}

}  // namespace
