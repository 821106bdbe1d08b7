// Trip figures: the rows of the trips list, the trip mileage and the trip
// chart's totals and title, computed from the vehicles' files.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstring>
#include <random>
#include <tuple>

#include "core/test_store_support.h"
#include "core/trips/trip_figures.h"
#include "platform/faulty_file_system.h"

namespace kelvane {
namespace {

using testing::data_folder;

struct recorded_value {
    std::u16string name;
    double value;
    bool operator==(const recorded_value&) const = default;
};
std::ostream& operator<<(std::ostream& os, const recorded_value& v) {
    return os << std::string(v.name.begin(), v.name.end()) << "=" << v.value;
}

class recording_chart : public chart_sink {
public:
    void clear_entries() override { values.clear(); }
    void add_value(std::u16string_view name, double value, int, std::u16string_view date,
                   std::u16string_view note) override {
        values.push_back({std::u16string(name), value});
        EXPECT_TRUE(date.empty() && note.empty());
    }
    void note_date(int, int, int) override { ++dates_noted; }
    std::vector<recorded_value> values;
    int dates_noted = 0;
};

// One row as plain values, for comparing whole rows.
using row_values = std::tuple<std::u16string, std::u16string, colour, int, int>;
row_values values_of(const trip_row& r) {
    return {r.text, r.cost_text, r.background, r.indent, r.trip_index};
}
constexpr colour first_row = rgb(200, 200, 100);
constexpr colour detail_row = rgb(200, 200, 200);

struct trips_fixture : testing::device_fixture {
    fuel_store fuel;
    service_store service;
    fee_store fees;
    trip_store trips;
    trip_figures figures{data_folder, fuel, service, fees};

    trips_fixture() {
        fuel.set_deferred_save(true);
        service.set_deferred_save(true);
        fees.set_deferred_save(true);
        (void)trips.load(data_folder, u"Trip", false);
    }
    // Writes an account's files: fill-ups at the mileages (cost 10 each, in
    // date order), one repair and one fee.
    void write_account(std::u16string_view name, std::vector<double> mileages, double repair,
                       double fee) {
        fuel_store f;
        service_store m;
        fee_store r;
        (void)f.load(data_folder, name, false);
        (void)m.load(data_folder, name, false);
        (void)r.load(data_folder, name, false);
        int day = 1;
        for (double mileage : mileages)
            EXPECT_TRUE(f.add_record(testing::store_kind<fuel_store>::make(2007, 3, day++, 0, 0, 0,
                                                                           mileage))
                            .added());
        EXPECT_TRUE(m.add_record(testing::store_kind<service_store>::make(2007, 3, 2, 0, 0, 0, 1100,
                                                                          repair))
                        .added());
        EXPECT_TRUE(
            r.add_record(testing::store_kind<fee_store>::make(2007, 3, 3, 0, 0, 0, 1200, fee))
                .added());
    }
    void open(std::u16string_view name) {
        (void)fuel.load(data_folder, name, false);
        (void)service.load(data_folder, name, false);
        (void)fees.load(data_folder, name, false);
    }
    trip_record& add_trip(std::u16string_view description,
                          std::initializer_list<std::u16string_view> vehicles) {
        trip_record t{};
        set_fixed(t.trip_description, description);
        int slot = 0;
        for (auto v : vehicles) set_fixed(t.trip_vehicles[slot++], v);
        pending = t;
        return pending;
    }
    void store_trip() { EXPECT_TRUE(trips.add_record(pending).added()); }
    trip_record pending{};
};

TEST(trip_figures, rows_of_a_one_vehicle_trip_and_of_a_mileage_range) {
    trips_fixture f;
    f.write_account(u"Car", {1000, 1250}, 5, 2.5);
    f.open(u"Car");
    // A fill-up added in the middle waits in memory; the figures must see it.
    EXPECT_TRUE(
        f.fuel.add_record(testing::store_kind<fuel_store>::make(2007, 2, 1, 0, 0, 0, 1600, 40))
            .added());
    ASSERT_TRUE(f.fuel.dirty());

    f.add_trip(u"Everything", {u"Car"});
    f.store_trip();
    trip_record& range = f.add_trip(u"Range", {u"Car"});
    range.use_start_mileage = range.use_end_mileage = 1;
    range.start_mileage = 1000, range.end_mileage = 1500;
    f.store_trip();

    const std::vector<trip_row> rows = f.figures.build_rows(f.trips);
    std::vector<row_values> got;
    for (const trip_row& r : rows) got.push_back(values_of(r));
    const std::vector<row_values> expected = {
        {u"Everything", u"67.50", first_row, 0, 0},
        {u"Fuel", u"60.00", detail_row, 10, 0},
        {u"Repair", u"5.00", detail_row, 10, 0},
        {u"Fees", u"2.50", detail_row, 10, 0},
        {u"Total Mileage", u"600.00", detail_row, 10, 0},
        {u"Range", u"27.50", first_row, 0, 1},
        {u"Fuel", u"20.00", detail_row, 10, 1},
        {u"Repair", u"5.00", detail_row, 10, 1},
        {u"Fees", u"2.50", detail_row, 10, 1},
        {u"Total Mileage", u"500.00", detail_row, 10, 1},
    };
    EXPECT_EQ(got, expected);

    // A mileage range is the trip mileage whatever the records are.
    fuel_store empty;
    EXPECT_EQ(trip_mileage(empty, range), 500);
    EXPECT_EQ(f.figures.totals(range).mileage, 500);
}

TEST(trip_figures, several_vehicles_list_their_names_and_add_up) {
    trips_fixture f;
    f.write_account(u"Car", {1000, 1100}, 5, 1);
    f.write_account(u"Van", {500}, 7, 2);
    f.write_account(u"Bus", {}, 11, 4);
    f.open(u"Car");
    f.add_trip(u"Tour", {u"Car", u"Van", u"Bus"});
    f.store_trip();

    const std::vector<trip_row> rows = f.figures.build_rows(f.trips);
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(values_of(rows[0]), (row_values{u"Tour", u"60.00", first_row, 0, 0}));
    EXPECT_EQ(values_of(rows[1]), (row_values{u"Fuel", u"30.00", detail_row, 10, 0}));
    EXPECT_EQ(values_of(rows[2]), (row_values{u"Repair", u"23.00", detail_row, 10, 0}));
    EXPECT_EQ(values_of(rows[3]), (row_values{u"Fees", u"7.00", detail_row, 10, 0}));
    EXPECT_EQ(values_of(rows[4]), (row_values{u"(Car,Van,Bus)", u"", detail_row, 10, 0}));

    recording_chart chart;
    EXPECT_EQ(f.figures.statistics(chart, f.trips, u"Tour"), u"Number of vehicles in trip : 3");
    EXPECT_EQ(chart.values,
              (std::vector<recorded_value>{{u"Fuel", 30}, {u"Repair", 23}, {u"Fees", 7}}));
    EXPECT_EQ(chart.dates_noted, 0);
}

TEST(trip_figures, a_damaged_vehicle_read_between_two_others_adds_none_of_their_records) {
    trips_fixture f;
    f.write_account(u"Car", {1000, 1100}, 5, 1);
    f.write_account(u"Van", {500, 600, 700}, 7, 2);
    f.write_account(u"Bus", {}, 11, 4);
    f.fs.put(data_folder + u"Bus.ful", std::vector<std::uint8_t>(30, 0x55));
    f.write_account(u"Cab", {100}, 13, 8);
    f.open(u"Car");
    f.add_trip(u"Tour", {u"Van", u"Bus", u"Cab"});
    f.store_trip();

    const std::vector<trip_row> rows = f.figures.build_rows(f.trips);
    EXPECT_FALSE(f.figures.files_ok());
    ASSERT_EQ(rows.size(), 5u);
    // Van's three fill-ups and Cab's one; Bus's damaged fuel file adds none
    // of the vehicle read before it.
    EXPECT_EQ(rows[1].cost_text, u"40.00");
    EXPECT_EQ(rows[2].cost_text, u"31.00");
    EXPECT_EQ(rows[3].cost_text, u"14.00");
}

TEST(trip_figures, statistics_of_one_vehicle_and_of_an_unknown_trip) {
    trips_fixture f;
    f.write_account(u"Car", {1000, 1100}, 5, 1);
    f.write_account(u"Van", {300, 800}, 7, 2);
    f.open(u"Car");
    f.add_trip(u"Van only", {u"Van"});
    f.store_trip();

    recording_chart chart;
    // The mileage of a one-vehicle trip is that vehicle's, not the open account's.
    EXPECT_EQ(f.figures.statistics(chart, f.trips, u"Van only"), u"Total trip mileage : 500");
    EXPECT_EQ(chart.values,
              (std::vector<recorded_value>{{u"Fuel", 20}, {u"Repair", 7}, {u"Fees", 2}}));
    EXPECT_EQ(f.figures.build_rows(f.trips)[4].cost_text, u"500.00");

    chart.values.clear();
    EXPECT_EQ(f.figures.statistics(chart, f.trips, u"van only"), u"");
    EXPECT_TRUE(chart.values.empty());
}

TEST(trip_figures, a_rebuild_reads_each_vehicle_once) {
    trips_fixture f;
    f.write_account(u"Car", {1000}, 1, 1);
    f.write_account(u"Van", {1000}, 1, 1);
    f.open(u"Car");
    for (int i = 0; i < 20; ++i) {
        f.add_trip(format("Trip %d", i), {u"Car", u"Van", u"Nobody"});
        f.store_trip();
    }
    faulty_file_system counting(f.fs);
    scoped_services use{{&counting}};
    counting.reset_counters();
    const std::vector<trip_row> rows = f.figures.build_rows(f.trips);
    EXPECT_EQ(rows.size(), 100u);
    // The open account is read from its stores.
    EXPECT_EQ(counting.opens(), 6);
    // Without kept summaries the next rebuild reads the files again.
    counting.reset_counters();
    f.figures.build_rows(f.trips);
    EXPECT_EQ(counting.opens(), 6);
}

TEST(trip_figures, kept_summaries_are_read_again_only_when_a_vehicles_files_change) {
    trips_fixture f;
    f.write_account(u"Car", {1000, 1100}, 1, 1);
    f.write_account(u"Van", {2000, 2300}, 2, 2);
    f.write_account(u"Bus", {3000}, 3, 3);
    f.open(u"Car");
    f.add_trip(u"Car and Van", {u"Car", u"Van"});
    f.store_trip();
    f.add_trip(u"Bus", {u"Bus"});
    f.store_trip();
    trip_summaries kept;
    const auto build = [&] {
        return trip_figures(data_folder, f.fuel, f.service, f.fees, &kept).build_rows(f.trips);
    };
    const auto costs = [](const std::vector<trip_row>& rows) {
        std::vector<std::u16string> out;
        for (const trip_row& r : rows) out.push_back(r.cost_text);
        return out;
    };
    faulty_file_system counting(f.fs);
    scoped_services use{{&counting}};
    const auto first = build();
    EXPECT_TRUE(kept.unchanged(data_folder, f.trips));

    // Nothing changed: nothing is read, and the figures stay.
    counting.reset_counters();
    EXPECT_EQ(costs(build()), costs(first));
    EXPECT_EQ(counting.opens(), 0);

    // Another vehicle's files change (a restore, another program): only
    // that vehicle is read again.
    {
        fee_store van;
        (void)van.load(data_folder, u"Van", false);
        EXPECT_TRUE(
            van.add_record(testing::store_kind<fee_store>::make(2007, 3, 9, 0, 0, 0, 2400, 100))
                .added());
    }
    EXPECT_FALSE(kept.unchanged(data_folder, f.trips));
    counting.reset_counters();
    const auto van_changed = build();
    EXPECT_EQ(counting.opens(), 3);
    EXPECT_EQ(van_changed[0].cost_text, u"146.00");
    EXPECT_EQ(van_changed[5].cost_text, first[5].cost_text);

    // The open account changes in memory, in the middle of its fill-ups:
    // its figures follow without a read.
    EXPECT_TRUE(
        f.fuel.add_record(testing::store_kind<fuel_store>::make(2007, 3, 1, 12, 0, 0, 1050, 30))
            .added());
    ASSERT_TRUE(f.fuel.save_all());  // what the rebuild writes first
    f.fuel.clear_dirty();
    counting.reset_counters();
    const auto car_changed = build();
    EXPECT_EQ(car_changed[0].cost_text, u"176.00");
    EXPECT_EQ(car_changed[1].cost_text, u"70.00");  // fuel of Car (40) and Van (30)
    EXPECT_EQ(counting.opens(), 0);
}

// A trip whose date bounds hold any 32-bit values (a damaged trip file)
// selects by what they stand for, without overflowing on the way.
TEST(trip_figures, damaged_trip_dates_bound_what_they_say) {
    trips_fixture f;
    f.write_account(u"Car", {1000, 1250}, 5, 2.5);
    f.open(u"Car");
    trip_record& wide = f.add_trip(u"Wide", {u"Car"});
    wide.use_start_date = wide.use_end_date = 1;
    wide.start_year = wide.start_month = wide.start_day = INT32_MIN;
    wide.end_year = wide.end_month = wide.end_day = INT32_MAX;
    EXPECT_EQ(f.figures.totals(wide).fuel, 20);
    EXPECT_EQ(trip_mileage(f.fuel, wide), 250);
    trip_record& none = f.add_trip(u"None", {u"Car"});
    none.use_start_date = 1;
    none.start_year = 2007, none.start_month = INT32_MAX, none.start_day = 1;
    EXPECT_EQ(f.figures.totals(none).fuel, 0);
}

// A trip adds up the records that its vehicle's own store selects with the
// trip's limits, in the store's order: whether the file holds its records in
// date order or not, with records on the first and the last second of a
// range, and whether the vehicle's files are read or its account is open.
// The costs are of such different sizes that their sum shows the order
// they were added in.
TEST(trip_figures, totals_are_those_of_the_vehicles_own_selection_in_any_record_order) {
    trips_fixture f;
    f.write_account(u"Car", {}, 0, 0);
    {
        fuel_store sorted;
        (void)sorted.load(data_folder, u"Sorted", false);
        for (int k = 0; k < 48; ++k) {
            const int hour = std::array{0, 12, 12, 23}[k % 4], at = hour == 23 ? 59 : 0;
            EXPECT_TRUE(sorted
                            .add_record(testing::store_kind<fuel_store>::make(
                                2007, 3, 1 + k / 4, hour, at, at, 1000 + 10 * k,
                                k % 3 == 0 ? 1e8 + k : 0.1 * (k + 1)))
                            .added());
        }
    }
    // The same records, in the file in another order.
    std::vector<std::uint8_t> mixed = f.fs.bytes(testing::file_of<fuel_store>(u"Sorted"));
    const std::size_t header = testing::store_kind<fuel_store>::header_size;
    const std::size_t record = testing::store_kind<fuel_store>::record_size;
    std::vector<std::array<std::uint8_t, record>> records((mixed.size() - header) / record);
    std::memcpy(records.data(), mixed.data() + header, mixed.size() - header);
    std::mt19937 random(7);
    std::shuffle(records.begin(), records.end(), random);
    std::memcpy(mixed.data() + header, records.data(), mixed.size() - header);
    f.fs.put(testing::file_of<fuel_store>(u"Mixed"), mixed);

    const auto check = [&](std::u16string_view name) {
        fuel_store own;
        ASSERT_EQ(own.load(data_folder, name, false), load_result::loaded);
        std::uniform_int_distribution<int> day(1, 12), flag(0, 1), mileage(990, 1480);
        for (int n = 0; n < 60; ++n) {
            trip_record trip{};
            set_fixed(trip.trip_vehicles[0], name);
            trip.use_start_date = flag(random), trip.use_end_date = flag(random);
            trip.start_year = trip.end_year = 2007;
            trip.start_month = trip.end_month = 3;
            trip.start_day = day(random), trip.end_day = day(random);
            trip.use_start_mileage = n % 3 == 0, trip.use_end_mileage = n % 4 == 0;
            trip.start_mileage = mileage(random), trip.end_mileage = mileage(random);

            own.select_records(trip_limits(trip));
            double fuel = 0;
            while (const fuel_record* r = own.next_selected()) fuel += r->fuel_cost;
            const trip_totals got = f.figures.totals(trip);
            EXPECT_EQ(got.fuel, fuel) << "trip " << n;
            EXPECT_EQ(got.mileage, trip_mileage(own, trip)) << "trip " << n;
        }
    };
    f.open(u"Car");
    check(u"Sorted");
    check(u"Mixed");
    f.open(u"Mixed");  // from the stores of the open account
    check(u"Mixed");
}

}  // namespace
}  // namespace kelvane
