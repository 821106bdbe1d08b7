// Adding, renaming, changing and deleting accounts: the files they leave.

#include <map>

#include "core/accounts/account_editing.h"
#include "core/accounts/configuration.h"
#include "core/common/unit_factors.h"
#include "core/test_store_support.h"
#include "platform/faulty_file_system.h"

using namespace kelvane;
using namespace kelvane::testing;

namespace {

using bytes = std::vector<std::uint8_t>;

const std::u16string deleted = data_folder + u"Deleted\\";

class account_editing : public ::testing::Test {
protected:
    device_fixture device;
    fuel_store fuel;
    service_store service;
    fee_store fees;
    trip_store trips;
    configuration config;

    void SetUp() override {
        config.attach_stores({&fuel, &service, &fees});
        fuel.set_deferred_save(true);
        service.set_deferred_save(true);
        fees.set_deferred_save(true);
        (void)trips.load(data_folder, u"Trip", false);
    }

    account_edit_stores stores() { return {fuel, service, fees, trips}; }
    bytes file(std::u16string_view path) { return device.fs.bytes(path); }
    bool exists(std::u16string_view path) { return device.fs.file_exists(path); }

    account_settings settings(std::u16string_view name) {
        account_settings s;
        s.name = name;
        s.initial_mileage = 1234.5;
        s.initial_fuel = 10.25;
        s.tank_capacity = 45.5;
        s.currency = u"EUR";
        s.year = 2007, s.month = 3, s.day = 5;
        s.note = u"blue";
        return s;
    }

    // An account with one record in each store, saved, and a trip over it.
    void make_account(std::u16string_view name) {
        ASSERT_EQ(account_save_outcome::saved,
                  save_account_edit(config, stores(), {}, settings(name)).outcome);
        EXPECT_TRUE(
            fuel.add_record(store_kind<fuel_store>::make(2007, 3, 6, 8, 0, 0, 1500, 60)).added());
        EXPECT_TRUE(
            service.add_record(store_kind<service_store>::make(2007, 3, 7, 8, 0, 0, 1600, 90))
                .added());
        EXPECT_TRUE(
            fees.add_record(store_kind<fee_store>::make(2007, 3, 8, 8, 0, 0, 1700, 5)).added());
        trip_record t = store_kind<trip_store>::make(2007, 3, 1, 0, 0, 0, 1000);
        set_fixed(t.trip_vehicles[0], name);
        set_fixed(t.trip_vehicles[1], u"Other");
        EXPECT_TRUE(trips.add_record(t).added());
        EXPECT_TRUE(fuel.reset());
        EXPECT_TRUE(service.reset());
        EXPECT_TRUE(fees.reset());
    }
};

TEST_F(account_editing, a_new_account_gets_a_slot_its_three_files_and_is_opened) {
    account_settings s = settings(u"Car");
    s.mileage_unit = u"Mile";
    s.fuel_unit = u"UK Gallon";
    s.economy_mode = 2;
    s.note = u"a note that is much longer than thirty characters";
    const auto result = save_account_edit(config, stores(), {}, s);
    EXPECT_EQ(account_save_outcome::saved, result.outcome);
    EXPECT_EQ(u"Car", result.name);
    EXPECT_TRUE(result.files_written);

    EXPECT_EQ(u"Car", config.account_slot(0));
    EXPECT_EQ(u"Car", config.current_account());
    EXPECT_EQ(u"Car", fuel.account_name());
    EXPECT_EQ(u"Car", fees.account_name());

    const bytes header = common_header(1920, u"Car", data_folder, 0)
                             .f64(1504, 45.5)
                             .f64(1512, 1234.5)
                             .f64(1520, 10.25)
                             .f64(1528, 1234.5)  // the odometer starts at the initial mileage
                             .text(1606, u"Mile")
                             .text(1668, u"UK Gallon")
                             .i32(1732, 2)
                             .text(1736, u"EUR")
                             .i32(1804, 2007)
                             .i32(1808, 3)
                             .i32(1812, 5)
                             .text(1816, u"a note that is much longer tha")
                             .bytes();
    EXPECT_EQ(header, file(file_of<fuel_store>(u"Car")));
    EXPECT_EQ(common_header(1608, u"Car", data_folder, 0).bytes(),
              file(file_of<service_store>(u"Car")));
    EXPECT_EQ(common_header(1608, u"Car", data_folder, 0).bytes(),
              file(file_of<fee_store>(u"Car")));

    // A name of 130 characters is kept with its first 128.
    const std::u16string long_name(130, u'x');
    EXPECT_EQ(std::u16string(128, u'x'),
              save_account_edit(config, stores(), {}, settings(long_name)).name);
    EXPECT_EQ(std::u16string(128, u'x'), config.account_slot(1));
}

TEST_F(account_editing, adding_a_name_that_exists_is_refused_and_that_vehicle_keeps_everything) {
    make_account(u"Car");
    const bytes config_before = file(config.config_path());
    const bytes fuel_before = file(file_of<fuel_store>(u"Car"));
    account_settings s = settings(u"Car");
    s.currency = u"USD";
    s.mileage_unit = u"Mile";  // would have converted every record
    EXPECT_EQ(account_save_outcome::name_taken, save_account_edit(config, stores(), {}, s).outcome);
    EXPECT_EQ(u"", config.account_slot(1)) << "no second slot";
    EXPECT_EQ(config_before, file(config.config_path()));
    EXPECT_EQ(fuel_before, file(file_of<fuel_store>(u"Car")));
}

TEST_F(account_editing, renaming_moves_the_files_keeps_copies_in_deleted_and_renames_trips) {
    make_account(u"Car");
    const bytes car_fuel = file(file_of<fuel_store>(u"Car"));
    const bytes car_service = file(file_of<service_store>(u"Car"));
    const bytes car_fees = file(file_of<fee_store>(u"Car"));

    const auto result = save_account_edit(config, stores(), u"Car", settings(u"Van"));
    EXPECT_EQ(account_save_outcome::saved, result.outcome);
    EXPECT_EQ(u"Van", result.name);

    for (auto ext : {u".ful", u".mat", u".fee"}) {
        EXPECT_FALSE(exists(data_folder + u"Car" + ext)) << "the old name has no files";
        EXPECT_TRUE(exists(data_folder + u"Van" + ext));
    }
    EXPECT_EQ(car_fuel, file(deleted + u"Car.ful"));
    EXPECT_EQ(car_service, file(deleted + u"Car.mat"));
    EXPECT_EQ(car_fees, file(deleted + u"Car.fee"));

    // The records came along, now under the new name.
    EXPECT_EQ(u"Van", config.current_account());
    EXPECT_EQ(u"Van", config.account_slot(0));
    EXPECT_FALSE(config.account_exists(u"Car"));
    ASSERT_EQ(1, fuel.record_count());
    EXPECT_EQ(1500.0, fuel.record_at(0).mileage);
    EXPECT_EQ(1, service.record_count());
    EXPECT_EQ(1, fees.record_count());
    EXPECT_EQ(60.0, fuel_store::read_account_header(data_folder, u"Van").header.total_fuel_cost);

    trip_store reread;
    (void)reread.load(data_folder, u"Trip", false);
    ASSERT_EQ(1, reread.record_count());
    EXPECT_EQ(u"Van", fixed_text(reread.record_at(0).trip_vehicles[0]));
    EXPECT_EQ(u"Other", fixed_text(reread.record_at(0).trip_vehicles[1]));
}

TEST_F(account_editing, a_rename_that_differs_only_in_letter_case_keeps_the_records) {
    // The device's file system sees "car.ful" and "Car.ful" as one file.
    make_account(u"car");
    EXPECT_EQ(account_save_outcome::saved,
              save_account_edit(config, stores(), u"car", settings(u"Car")).outcome);
    EXPECT_EQ(u"Car", config.account_slot(0));
    EXPECT_EQ(1, fuel.record_count());
    EXPECT_EQ(1, fuel_store::read_account_header(data_folder, u"Car").header.next_record_number);
}

TEST_F(account_editing, renaming_onto_another_account_is_refused_and_nothing_changes) {
    make_account(u"Car");
    make_account(u"Van");
    const bytes config_before = file(config.config_path());
    const auto files_before = device.fs.files();
    std::vector<bytes> contents;
    for (const auto& f : files_before) contents.push_back(file(f));

    for (std::u16string target : {u"Van", u"VAN", u"van"}) {
        const auto result = save_account_edit(config, stores(), u"Car", settings(target));
        EXPECT_EQ(account_save_outcome::name_taken, result.outcome);
    }
    // Adding a second account whose files would be the other one's on the device.
    EXPECT_EQ(account_save_outcome::name_taken,
              save_account_edit(config, stores(), {}, settings(u"CAR")).outcome);

    EXPECT_EQ(config_before, file(config.config_path()));
    ASSERT_EQ(files_before, device.fs.files());
    for (std::size_t i = 0; i < files_before.size(); ++i)
        EXPECT_EQ(contents[i], file(files_before[i]));
}

TEST_F(account_editing, names_that_cannot_be_file_names_are_refused_before_anything_is_written) {
    const bytes config_before = file(config.config_path());
    EXPECT_EQ(account_save_outcome::empty_name,
              save_account_edit(config, stores(), {}, settings(u"")).outcome);
    for (std::u16string bad : {u"a\\b", u"a/b", u"..", u".", u"tab\there", u"x:y"})
        EXPECT_EQ(account_save_outcome::invalid_name,
                  save_account_edit(config, stores(), {}, settings(bad)).outcome);
    EXPECT_EQ(config_before, file(config.config_path()));
    EXPECT_TRUE(config.list_account_names().empty());
    EXPECT_FALSE(exists(data_folder + u"..ful"));
}

TEST_F(account_editing, when_every_slot_is_taken_a_new_account_is_refused_but_edits_go_on) {
    for (int i = 0; i < configuration::max_accounts; ++i)
        ASSERT_EQ(account_change::done, config.add_account(format("Car %d", i)));
    const auto result = save_account_edit(config, stores(), {}, settings(u"One more"));
    EXPECT_EQ(account_save_outcome::no_free_slot, result.outcome);
    for (auto ext : {u".ful", u".mat", u".fee"})
        EXPECT_FALSE(exists(data_folder + u"One more" + ext));

    // Renaming frees the old slot, so it needs none.
    EXPECT_EQ(account_save_outcome::saved,
              save_account_edit(config, stores(), u"Car 7", settings(u"Car 7 renamed")).outcome);
    EXPECT_EQ(u"Car 7 renamed", config.account_slot(7));
}

TEST_F(account_editing, a_rename_whose_files_cannot_move_leaves_the_old_account_whole_and_open) {
    make_account(u"Car");
    const bytes car_fuel = file(file_of<fuel_store>(u"Car"));
    const bytes car_fees = file(file_of<fee_store>(u"Car"));
    const bytes trips_before = file(data_folder + u"Trip.tri");
    faulty_file_system faulty(device.fs);
    scoped_services failing({&faulty});
    // Each of the three moves fails in turn.
    for (int k = 1; k <= 3; ++k) {
        faulty.fail_replace(k);
        const auto result = save_account_edit(config, stores(), u"Car", settings(u"Van"));
        EXPECT_EQ(account_save_outcome::rename_failed, result.outcome) << k;
        EXPECT_EQ(u"Car", result.name);
        EXPECT_EQ(car_fuel, file(file_of<fuel_store>(u"Car"))) << k;
        EXPECT_EQ(car_fees, file(file_of<fee_store>(u"Car"))) << k;
        EXPECT_FALSE(exists(file_of<fuel_store>(u"Van"))) << k;
        EXPECT_FALSE(exists(file_of<fee_store>(u"Van"))) << k;
        EXPECT_EQ(trips_before, file(data_folder + u"Trip.tri"));
        EXPECT_TRUE(config.account_exists(u"Car"));
        EXPECT_FALSE(config.account_exists(u"Van"));
        EXPECT_EQ(u"Car", config.current_account());
        EXPECT_EQ(1, fuel.record_count()) << "the old account is open again";
    }
}

// Every file below the data folder, with its bytes.
std::map<std::u16string, bytes> folder_image(const memory_file_system& fs) {
    std::map<std::u16string, bytes> image;
    for (const auto& path : fs.files()) image[path] = fs.bytes(path);
    return image;
}

// The paths whose bytes differ between two images (or that only one has).
std::vector<std::u16string> differences(const std::map<std::u16string, bytes>& a,
                                        const std::map<std::u16string, bytes>& b) {
    std::vector<std::u16string> out;
    for (const auto& [path, content] : a)
        if (!b.count(path) || b.at(path) != content) out.push_back(path);
    for (const auto& [path, content] : b)
        if (!a.count(path)) out.push_back(path);
    return out;
}

// A unit change touches the account's three files and Trip.tri: failing at
// any one of its writes or moves leaves every byte as it was, and the save
// done again converts once, not twice.
TEST_F(account_editing, a_unit_change_that_fails_anywhere_changes_nothing) {
    make_account(u"Car");
    EXPECT_TRUE(config.open_account(u"Car").opened);
    EXPECT_TRUE(
        fuel.add_record(store_kind<fuel_store>::make(2007, 4, 1, 8, 0, 0, 74166, 60)).added());
    EXPECT_TRUE(fuel.reset());
    EXPECT_TRUE(config.open_account(u"Car").opened);
    const auto before = folder_image(device.fs);
    account_settings s = read_account_settings(config, u"Car");
    s.mileage_unit = u"Mile";
    s.currency = u"USD";
    faulty_file_system faulty(device.fs);
    scoped_services failing({&faulty});
    int failures = 0;
    for (const bool on_write : {true, false}) {
        for (int k = 1;; ++k) {
            on_write ? faulty.fail_write(k) : faulty.fail_replace(k);
            const auto result = save_account_edit(config, stores(), u"Car", s);
            faulty.fail_write(0), faulty.fail_replace(0);
            if (result.outcome == account_save_outcome::saved) break;
            ++failures;
            ASSERT_EQ(account_save_outcome::not_written, result.outcome) << k;
            ASSERT_EQ(differences(before, folder_image(device.fs)), std::vector<std::u16string>{})
                << (on_write ? "write " : "move ") << k;
            EXPECT_EQ(u"EUR", fixed_text(fuel.header().currency)) << "the stores hold the files";
            EXPECT_EQ(2, fuel.record_count());
        }
        if (on_write) {
            // Put the old files back for the round of failing moves (the
            // trips in memory are dropped first: a reset would write them).
            trips = trip_store();
            for (const auto& [path, content] : before) device.fs.put(path, content);
            for (const auto& path : device.fs.files())
                if (!before.count(path)) device.fs.delete_file(path);
            (void)config.load_config();
            (void)trips.load(data_folder, u"Trip", false);
            EXPECT_TRUE(config.open_account(u"Car").opened);
        }
    }
    EXPECT_GT(failures, 8);
    fuel_store fuel_file;
    (void)fuel_file.load(data_folder, u"Car", false);
    EXPECT_DOUBLE_EQ(74166 * km_to_miles, fuel_file.record_at(1).mileage) << "converted once";
    EXPECT_EQ(u"Mile", fixed_text(fuel_file.header().mileage_unit));
    trip_store trip_file;
    (void)trip_file.load(data_folder, u"Trip", false);
    EXPECT_DOUBLE_EQ(1000 * km_to_miles, trip_file.record_at(0).start_mileage);
}

TEST_F(account_editing, changing_units_on_save_converts_the_records_and_trips) {
    make_account(u"Car");
    account_settings s = read_account_settings(config, u"Car");
    EXPECT_EQ(u"Kilometer", s.mileage_unit);
    s.mileage_unit = u"Mile";
    s.fuel_unit = u"US Gallon";
    ASSERT_EQ(account_save_outcome::saved, save_account_edit(config, stores(), u"Car", s).outcome);

    fuel_store fuel_file;
    (void)fuel_file.load(data_folder, u"Car", false);
    EXPECT_EQ(1500 * km_to_miles, fuel_file.record_at(0).mileage);
    EXPECT_EQ(20 * litres_to_us_gallons, fuel_file.record_at(0).fuel_purchased);
    service_store service_file;
    (void)service_file.load(data_folder, u"Car", false);
    EXPECT_EQ(1600 * km_to_miles, service_file.record_at(0).mileage);
    trip_store trip_file;
    (void)trip_file.load(data_folder, u"Trip", false);
    EXPECT_EQ(1000 * km_to_miles, trip_file.record_at(0).start_mileage);

    // Keeping the US gallon goes to litres and back.
    s = read_account_settings(config, u"Car");
    ASSERT_EQ(account_save_outcome::saved, save_account_edit(config, stores(), u"Car", s).outcome);
    EXPECT_EQ(20 * litres_to_us_gallons * us_gallons_to_litres * litres_to_us_gallons,
              fuel.record_at(0).fuel_purchased);
    EXPECT_EQ(1500 * km_to_miles, fuel.record_at(0).mileage) << "the distance unit did not change";
}

TEST_F(account_editing, deleting_moves_the_files_away_removes_its_trips_and_closes_every_account) {
    make_account(u"Car");
    make_account(u"Van");
    const bytes car_fuel = file(file_of<fuel_store>(u"Car"));
    EXPECT_TRUE(config.open_account(u"Van").opened);

    EXPECT_TRUE(delete_account_and_trips(config, stores(), u"Car"));
    EXPECT_FALSE(config.account_exists(u"Car"));
    EXPECT_FALSE(exists(file_of<fuel_store>(u"Car")));
    EXPECT_EQ(car_fuel, file(deleted + u"Car.ful"));
    EXPECT_EQ(u"", config.current_account());
    EXPECT_TRUE(fuel.fresh()) << "no account open means no records loaded";
    EXPECT_TRUE(service.fresh());
    EXPECT_TRUE(fees.fresh());

    trip_store reread;
    (void)reread.load(data_folder, u"Trip", false);
    ASSERT_EQ(1, reread.record_count()) << "only the trip that starts with Car went";
    EXPECT_EQ(u"Van", fixed_text(reread.record_at(0).trip_vehicles[0]));

    EXPECT_FALSE(delete_account_and_trips(config, stores(), u"Car")) << "gone already";
}

// A deletion that fails at any write or move keeps the vehicle, its files
// and its trips; one that goes through leaves its copies in "Deleted".
TEST_F(account_editing, a_deletion_is_whole_or_nothing) {
    make_account(u"Car");
    const auto before = folder_image(device.fs);
    faulty_file_system faulty(device.fs);
    scoped_services failing({&faulty});
    for (int k = 1;; ++k) {
        faulty.fail_replace(k);
        const bool gone = delete_account_and_trips(config, stores(), u"Car");
        faulty.fail_replace(0);
        if (gone) break;
        ASSERT_TRUE(config.account_exists(u"Car")) << k;
        // Copies made in "Deleted" before the failure may stay; nothing else changes.
        auto now = folder_image(device.fs);
        std::erase_if(now, [&](const auto& f) { return f.first.starts_with(deleted); });
        auto then = before;
        std::erase_if(then, [&](const auto& f) { return f.first.starts_with(deleted); });
        ASSERT_EQ(then, now) << k;
    }
    EXPECT_FALSE(config.account_exists(u"Car"));
    EXPECT_EQ(before.at(file_of<fuel_store>(u"Car")), file(deleted + u"Car.ful"));
    EXPECT_EQ(0, trips.record_count());
}

}  // namespace
