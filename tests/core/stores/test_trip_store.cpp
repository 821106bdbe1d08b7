// The trip store: one file for all trips, kept in the order of adding and
// written on every change.

#include "core/common/unit_factors.h"
#include "core/test_store_support.h"

using namespace kelvane;
using namespace kelvane::testing;

namespace {

class trip_store_test : public ::testing::Test {
protected:
    device_fixture device;
    trip_store trips;
    const std::u16string path = data_folder + u"Trip.tri";

    void SetUp() override {
        EXPECT_EQ(trips.load(data_folder, u"Trip", false), load_result::missing);
    }

    static trip_record trip(std::u16string_view description,
                            std::initializer_list<std::u16string_view> vehicles) {
        trip_record r{};
        set_fixed(r.trip_description, description);
        int slot = 0;
        for (auto v : vehicles) set_fixed(r.trip_vehicles[slot++], v);
        return r;
    }
    std::vector<std::u16string> on_disk() {
        trip_store reread;
        (void)reread.load(data_folder, u"Trip", false);
        return reread.list_descriptions();
    }
    trip_store::record_type first_on_disk() {
        trip_store reread;
        (void)reread.load(data_folder, u"Trip", false);
        return reread.copy_record(0);
    }
};

TEST_F(trip_store_test, file_layout) {
    trip_record r = trip(std::u16string(50, u'd'), {u"Car", u"Van"});
    r.start_year = 2007, r.start_month = 3, r.start_day = 5;
    r.end_year = 2007, r.end_month = 4, r.end_day = 6;
    r.start_mileage = 1000.5, r.end_mileage = 2000.25;
    r.use_start_date = 1, r.use_end_date = 0, r.use_start_mileage = 1, r.use_end_mileage = 1;
    set_fixed(r.trip_vehicles[9], u"Last");
    EXPECT_TRUE(trips.add_record(r).added());

    byte_image expected = common_header(1592, u"Trip", data_folder, 1);
    byte_image record(3048);
    record.text(0, u"DATA").text(16, u"Trip0000000000071004022533");
    record.i32(140, 2007).i32(144, 3).i32(148, 5).i32(152, 2007).i32(156, 4).i32(160, 6);
    record.f64(168, 1000.5).f64(176, 2000.25);
    record.i32(184, 1).i32(188, 0).i32(192, 1).i32(196, 1);
    record.text(262, std::u16string(50, u'd'));
    record.text(364, u"Car").text(364 + 258, u"Van").text(364 + 9 * 258, u"Last");
    EXPECT_EQ(device.fs.bytes(path), expected.append(record.bytes()).bytes());
}

TEST_F(trip_store_test, trips_keep_the_order_of_adding_and_every_change_is_written) {
    trip_record late = trip(u"late", {u"Car"});
    late.start_year = 2009;
    trip_record early = trip(u"early", {u"Car"});
    early.start_year = 2001;
    const auto late_key = trips.add_record(late).key;
    EXPECT_TRUE(trips.add_record(early).added());
    EXPECT_EQ(on_disk(), (std::vector<std::u16string>{u"late", u"early"}));

    trip_record renamed = trips.copy_record(0);
    set_fixed(renamed.trip_description, u"later");
    EXPECT_EQ(trips.update_record(late_key, renamed), change_result::done);
    EXPECT_EQ(on_disk(), (std::vector<std::u16string>{u"later", u"early"}));

    const auto before = device.fs.bytes(path);
    EXPECT_EQ(trips.update_record(u"nokey", renamed), change_result::not_found);
    EXPECT_EQ(device.fs.bytes(path), before);

    // A trip replaced by one built afresh keeps its key and number.
    trip_record afresh = trip(u"latest", {u"Car"});
    EXPECT_EQ(trips.update_record(late_key, afresh), change_result::done);
    EXPECT_EQ(fixed_text(first_on_disk().key), late_key);
    EXPECT_EQ(first_on_disk().record_number, 0);
    EXPECT_EQ(on_disk(), (std::vector<std::u16string>{u"latest", u"early"}));

    trip_record found{};
    EXPECT_TRUE(trips.find_trip(u"early", found));
    EXPECT_EQ(found.start_year, 2001);
    EXPECT_FALSE(trips.trip_exists(u"Early"));  // exact, case-sensitive

    EXPECT_EQ(trips.delete_record(late_key), change_result::done);
    EXPECT_EQ(on_disk(), (std::vector<std::u16string>{u"early"}));
    EXPECT_EQ(trips.delete_record_at(0), change_result::done);
    EXPECT_EQ(on_disk(), std::vector<std::u16string>{});
    EXPECT_TRUE(device.messages().empty());
}

TEST_F(trip_store_test, renaming_a_vehicle_reaches_every_slot_and_the_file) {
    EXPECT_TRUE(trips.add_record(trip(u"one", {u"Car", u"Van"})).added());
    EXPECT_TRUE(trips.add_record(trip(u"two", {u"Van", u"Bike", u"Car"})).added());
    EXPECT_TRUE(trips.rename_vehicle(u"Car", u"Auto"));

    trip_store reread;
    (void)reread.load(data_folder, u"Trip", false);
    EXPECT_EQ(fixed_text(reread.record_at(0).trip_vehicles[0]), u"Auto");
    EXPECT_EQ(fixed_text(reread.record_at(0).trip_vehicles[1]), u"Van");
    EXPECT_EQ(fixed_text(reread.record_at(1).trip_vehicles[2]), u"Auto");
    EXPECT_EQ(fixed_text(reread.record_at(1).trip_vehicles[0]), u"Van");
}

TEST_F(trip_store_test, deleting_an_account_deletes_trips_led_by_it) {
    EXPECT_TRUE(trips.add_record(trip(u"one", {u"Car"})).added());
    EXPECT_TRUE(trips.add_record(trip(u"two", {u"Van", u"Car"})).added());
    EXPECT_TRUE(trips.add_record(trip(u"three", {u"Car", u"Van"})).added());
    EXPECT_TRUE(trips.delete_trips_of_vehicle(u"Car"));
    EXPECT_EQ(on_disk(), (std::vector<std::u16string>{u"two"}));
}

TEST_F(trip_store_test, mileage_conversion_is_written_at_once) {
    trip_record r = trip(u"one", {u"Car"});
    r.start_mileage = 1000, r.end_mileage = 1500;
    EXPECT_TRUE(trips.add_record(r).added());
    EXPECT_TRUE(trips.convert_mileage(0));
    EXPECT_EQ(first_on_disk().start_mileage, 1000 * km_to_miles);
    EXPECT_EQ(first_on_disk().end_mileage, 1500 * km_to_miles);
}

TEST_F(trip_store_test, reset_writes_the_file_first) {
    EXPECT_TRUE(trips.add_record(trip(u"one", {u"Car"})).added());
    device.fs.delete_file(path);
    EXPECT_TRUE(trips.reset());
    EXPECT_EQ(trips.record_count(), 0);
    EXPECT_EQ(on_disk(), (std::vector<std::u16string>{u"one"}));
}

TEST(trip_limits, bounds_follow_the_flags) {
    trip_record r{};
    r.start_year = 2007, r.start_month = 3, r.start_day = 5;
    r.end_year = 2007, r.end_month = 3, r.end_day = 9;
    r.start_mileage = 0, r.end_mileage = 1500;
    selection_limits none = trip_limits(r);
    EXPECT_FALSE(none.from.has_value());
    EXPECT_FALSE(none.to.has_value());
    EXPECT_EQ(none.lowest, -1.0);
    EXPECT_EQ(none.highest, -1.0);

    r.use_start_date = r.use_end_date = r.use_start_mileage = r.use_end_mileage = 1;
    selection_limits all = trip_limits(r);
    ASSERT_TRUE(all.from && all.to);
    EXPECT_EQ(to_local_seconds(*all.from), to_local_seconds(2007, 3, 5, 0, 0, 0));
    EXPECT_EQ(to_local_seconds(*all.to), to_local_seconds(2007, 3, 9, 23, 59, 59));
    EXPECT_EQ(all.lowest, 0.0);  // a start mileage of 0 is a real bound
    EXPECT_EQ(all.highest, 1500.0);
}

}  // namespace
