// The trip editor's rules: the checks and their order, the mileage range of
// a trip over several vehicles, and keeping the trip in the trip store.

#include <gtest/gtest.h>

#include "core/test_store_support.h"
#include "core/trips/trip_editing.h"

namespace kelvane {
namespace {

using testing::data_folder;

struct trip_editing_test : ::testing::Test, testing::device_fixture {
    trip_store trips;
    trip_editing_test() { (void)trips.load(data_folder, u"Trip", false); }

    trip_form form(std::u16string description, std::vector<std::u16string> vehicles = {u"Van"}) {
        trip_form f;
        f.description = std::move(description);
        f.vehicles = std::move(vehicles);
        f.start_date = {2026, 3, 1, 14, 30, 0};
        f.end_date = {2026, 3, 9, 8, 0, 0};
        return f;
    }
    std::u16string add(std::u16string description) {
        const trip_save_outcome o = save_trip(trips, form(std::move(description)));
        EXPECT_EQ(trip_check::ok, o.check);
        return o.key;
    }
    trip_store reread() {
        trip_store t;
        (void)t.load(data_folder, u"Trip", false);
        return t;
    }
};

TEST_F(trip_editing_test, checks_come_in_the_order_of_their_messages) {
    add(u"Holiday");
    std::vector<std::u16string> eleven;
    for (int i = 0; i < 11; ++i) eleven.push_back(format("Car%d", i));
    EXPECT_EQ(trip_check::no_description, check_trip(trips, form(u"", {}), u""));
    EXPECT_EQ(trip_check::name_exists, check_trip(trips, form(u"Holiday", {}), u""));
    EXPECT_EQ(trip_check::no_vehicle, check_trip(trips, form(u"Work", {}), u""));
    EXPECT_EQ(trip_check::too_many_vehicles, check_trip(trips, form(u"Work", eleven), u""));
    eleven.pop_back();
    EXPECT_EQ(trip_check::ok, check_trip(trips, form(u"Work", eleven), u""));
    EXPECT_EQ(trip_check::ok, check_trip(trips, form(u"holiday"), u"")) << "names are exact";
    trip_form backwards = form(u"Work");
    backwards.use_start_date = backwards.use_end_date = true;
    backwards.end_date = {2026, 2, 28, 23, 0, 0};
    EXPECT_EQ(trip_check::end_before_start, check_trip(trips, backwards, u""));
    backwards.end_date = {2026, 3, 1, 0, 0, 0};
    EXPECT_EQ(trip_check::ok, check_trip(trips, backwards, u"")) << "one day is a trip";
    backwards.end_date = {2026, 2, 28, 23, 0, 0};
    backwards.use_end_date = false;
    EXPECT_EQ(trip_check::ok, check_trip(trips, backwards, u"")) << "an unused date does not count";
    EXPECT_EQ(u"Choose at most ten vehicle accounts",
              trip_check_message(trip_check::too_many_vehicles));
}

TEST_F(trip_editing_test, a_name_is_taken_by_what_is_kept_of_it) {
    const std::u16string fifty(50, u'x');
    add(fifty);
    EXPECT_EQ(trip_check::name_exists, check_trip(trips, form(fifty + u"yz"), u""))
        << "cut to fifty characters it would be the same trip";
    ASSERT_EQ(1, reread().record_count());
    EXPECT_EQ(fifty, fixed_text(reread().record_at(0).trip_description));
}

TEST_F(trip_editing_test, an_edited_trip_keeps_its_key_and_may_keep_its_name) {
    add(u"Holiday");
    const std::u16string key = add(u"Work");
    const trip_record before = trips.record_at(1);
    trip_form f = form_of(before);
    EXPECT_EQ(trip_check::ok, check_trip(trips, f, key)) << "its own name is no conflict";
    f.description = u"Holiday";
    EXPECT_EQ(trip_check::name_exists, save_trip(trips, f, &before).check);

    f.description = u"Commute";
    f.use_end_mileage = true;
    f.end_mileage = u"1234.5";
    const trip_save_outcome kept = save_trip(trips, f, &before);
    EXPECT_EQ(key, kept.key);
    const trip_store file = reread();
    ASSERT_EQ(2, file.record_count());
    EXPECT_EQ(u"Commute", fixed_text(file.record_at(1).trip_description));
    EXPECT_EQ(key, fixed_text(file.record_at(1).key));
    EXPECT_EQ(before.record_number, file.record_at(1).record_number);
    EXPECT_EQ(1, file.record_at(1).use_end_mileage);
    EXPECT_EQ(1234.5, file.record_at(1).end_mileage);
}

TEST_F(trip_editing_test, a_trip_deleted_while_it_was_edited_is_kept_again) {
    add(u"Holiday");
    const trip_record edited = trips.record_at(0);
    ASSERT_EQ(change_result::done, delete_trip(trips, fixed_text(edited.key)));
    EXPECT_EQ(change_result::not_found, delete_trip(trips, fixed_text(edited.key)));
    trip_form f = form_of(edited);
    f.description = u"Holiday 2";
    EXPECT_FALSE(save_trip(trips, f, &edited).key.empty());
    EXPECT_EQ(std::vector<std::u16string>{u"Holiday 2"}, reread().list_descriptions());
}

TEST_F(trip_editing_test, several_vehicles_keep_their_dates_but_lose_the_mileage_range) {
    trip_form f = form(u"Coast", {u"Van", u"Golf"});
    f.use_start_date = true;
    f.use_end_mileage = true;
    f.end_mileage = u"900";
    EXPECT_TRUE(mileage_range_dropped(f));
    const trip_save_outcome o = save_trip(trips, f);
    EXPECT_TRUE(o.mileage_dropped);
    const trip_store file = reread();
    const trip_record& t = file.record_at(0);
    EXPECT_EQ(0, t.use_end_mileage);
    EXPECT_EQ(0.0, t.end_mileage);
    EXPECT_EQ(1, t.use_start_date);
    EXPECT_EQ(0, t.use_end_date);
    EXPECT_EQ(2026, t.start_year);
    EXPECT_EQ(3, t.start_month);
    EXPECT_EQ(1, t.start_day);
    EXPECT_EQ(9, t.end_day);
    EXPECT_EQ(u"Golf", fixed_text(t.trip_vehicles[1]));
    EXPECT_EQ(u"", fixed_text(t.trip_vehicles[2]));

    // One vehicle keeps its range; an unreadable mileage counts as 0.
    trip_form one = form(u"Solo");
    one.use_start_mileage = one.use_end_mileage = true;
    one.start_mileage = u"1,5";
    one.end_mileage = u"1500";
    EXPECT_FALSE(mileage_range_dropped(one));
    const trip_record built = build_trip(one);
    EXPECT_EQ(0.0, built.start_mileage);
    EXPECT_EQ(1500.0, built.end_mileage);
    EXPECT_EQ(1, built.use_start_mileage);
}

}  // namespace
}  // namespace kelvane
