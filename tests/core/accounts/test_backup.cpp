// Backup and restore of the data set, and the automatic backup on every
// third day of the month.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "core/accounts/configuration.h"
#include "core/accounts/data_set_copier.h"
#include "core/accounts/staged_file_set.h"
#include "core/test_store_support.h"
#include "platform/faulty_file_system.h"

namespace kelvane {
namespace {

using testing::data_folder;

std::vector<std::uint8_t> bytes_of_text(std::string_view s) {
    return {s.begin(), s.end()};
}

struct backup_fixture : testing::device_fixture {
    fuel_store fuel;
    service_store service;
    fee_store fees;
    configuration config;

    backup_fixture() {
        fuel.set_deferred_save(true);
        service.set_deferred_save(true);
        fees.set_deferred_save(true);
        config.attach_stores({&fuel, &service, &fees});
    }
    // Writes an account's three files, each with one record of the cost.
    void write_account(std::u16string_view name, double cost,
                       std::u16string_view folder = data_folder) {
        fuel_store fu;
        service_store m;
        fee_store fe;
        (void)fu.load(folder, name, false);
        (void)m.load(folder, name, false);
        (void)fe.load(folder, name, false);
        EXPECT_TRUE(
            fu.add_record(testing::store_kind<fuel_store>::make(2007, 5, 1, 0, 0, 0, 100, cost))
                .added());
        EXPECT_TRUE(
            m.add_record(testing::store_kind<service_store>::make(2007, 5, 1, 0, 0, 0, 100, cost))
                .added());
        EXPECT_TRUE(
            fe.add_record(testing::store_kind<fee_store>::make(2007, 5, 1, 0, 0, 0, 100, cost))
                .added());
    }
    void write_trips(int count, std::u16string_view folder = data_folder) {
        trip_store t;
        (void)t.load(folder, u"Trip", false);
        for (int i = 0; i < count; ++i)
            EXPECT_TRUE(
                t.add_record(testing::store_kind<trip_store>::make(2007, 5, 1, 0, 0, 0, 100.0 * i))
                    .added());
    }
    // Every file below a folder, by name relative to it, sorted.
    std::vector<std::u16string> files_in(std::u16string_view folder) const {
        std::vector<std::u16string> names;
        for (const auto& path : fs.files()) {
            if (path.size() > folder.size() &&
                std::equal(folder.begin(), folder.end(), path.begin(), [](char16_t a, char16_t b) {
                    return std::tolower(a) == std::tolower(b);
                }))
                names.push_back(path.substr(folder.size()));
        }
        std::sort(names.begin(), names.end());
        return names;
    }
};

service_record job(int day, double mileage, std::u16string_view text) {
    auto r = testing::store_kind<service_store>::make(2007, 5, day, 0, 0, 0, mileage);
    set_fixed(r.description, text);
    return r;
}

TEST(backup_to_folder, copies_exactly_the_backup_set) {
    backup_fixture f;
    EXPECT_EQ(account_change::done, f.config.add_account(u"Car"));
    EXPECT_EQ(account_change::done, f.config.add_account(u"Van"));
    f.write_account(u"Car", 10);
    {
        fuel_store van;
        (void)van.load(data_folder, u"Van", false);
        EXPECT_TRUE(van.add_record(testing::store_kind<fuel_store>::make(2007, 5, 1, 0, 0, 0, 100))
                        .added());
    }
    f.write_trips(2);
    f.fs.put(data_folder + u"Old.ful", bytes_of_text("not registered"));
    f.fs.put(data_folder + u"Deutsch.lng", bytes_of_text("language"));
    f.fs.put(data_folder + u"Config_key.dat", bytes_of_text("keys"));
    f.fs.put(data_folder + u"Output\\Car.csv", bytes_of_text("export"));
    f.fs.put(data_folder + u"Deleted\\Bus.ful", bytes_of_text("deleted"));

    // A folder given without its trailing backslash is the same folder.
    const std::u16string folder = u"\\Storage Card\\Backups\\Monday\\";
    ASSERT_EQ(data_set_copier(f.config).backup_to_folder(u"\\Storage Card\\Backups\\Monday"),
              data_set_copy::done);
    EXPECT_EQ(f.files_in(folder),
              (std::vector<std::u16string>{u"Car.fee", u"Car.ful", u"Car.mat", u"Config.dat",
                                           u"Trip.tri", u"Van.ful"}));
    for (auto name : {u"Car.fee", u"Car.ful", u"Car.mat", u"Config.dat", u"Trip.tri", u"Van.ful"})
        EXPECT_EQ(f.fs.bytes(folder + name), f.fs.bytes(data_folder + name));

    // A second backup overwrites the first; files of the folder that are not
    // part of the set stay.
    f.write_trips(1);
    f.fs.put(folder + u"Notes.txt", bytes_of_text("mine"));
    ASSERT_EQ(data_set_copier(f.config).backup_to_folder(folder), data_set_copy::done);
    EXPECT_EQ(f.fs.bytes(folder + u"Trip.tri"), f.fs.bytes(data_folder + u"Trip.tri"));
    EXPECT_EQ(f.fs.bytes(folder + u"Notes.txt"), bytes_of_text("mine"));
    EXPECT_EQ(data_set_copier(f.config).backup_to_folder(u""), data_set_copy::no_folder);
    EXPECT_TRUE(f.messages().empty());
}

// A file the program could not load is never copied over the copy in the
// backup: the backup keeps its older, good copy and the owner is told which
// file it was. The other files are brought up to date.
TEST(backup_to_folder, never_copies_a_damaged_file_over_a_good_copy) {
    backup_fixture f;
    EXPECT_EQ(account_change::done, f.config.add_account(u"Car"));
    EXPECT_EQ(account_change::done, f.config.add_account(u"Van"));
    f.write_account(u"Car", 10);
    f.write_account(u"Van", 20);
    f.write_trips(1);
    const std::u16string folder = u"\\My Documents\\Kelvane_backup_auto\\";
    ASSERT_EQ(data_set_copier(f.config).backup_to_folder(folder), data_set_copy::done);
    const auto good_car = f.fs.bytes(folder + u"Car.ful");

    f.write_account(u"Van", 30);  // newer Van records
    int day = 3;
    for (const auto& damaged : {std::vector<std::uint8_t>(100, 0),  // shorter than a header
                                bytes_of_text(std::string(5000, 'x'))}) {
        f.fs.put(data_folder + u"Car.ful", damaged);
        f.fs.put(data_folder + u"Trip.tri", damaged);
        f.boxes.clear();
        f.clock.set(2007, 5, day);
        day += 3;
        EXPECT_EQ(data_set_copier(f.config).auto_backup_if_due(), auto_backup_result::failed);
        EXPECT_EQ(data_set_copier(f.config).backup_to_folder(folder), data_set_copy::incomplete);
        EXPECT_EQ(f.fs.bytes(folder + u"Car.ful"), good_car);
        EXPECT_NE(f.fs.bytes(folder + u"Trip.tri"), damaged);
        EXPECT_EQ(f.fs.bytes(folder + u"Van.ful"), f.fs.bytes(data_folder + u"Van.ful"));
        ASSERT_FALSE(f.messages().empty());
        EXPECT_NE(f.messages()[0].find(data_folder + u"Car.ful"), std::u16string::npos);
    }
}

TEST(backup_to_folder, holds_a_deferred_middle_edit_and_keeps_the_account_open) {
    backup_fixture f;
    EXPECT_EQ(account_change::done, f.config.add_account(u"Car"));
    EXPECT_TRUE(f.config.open_account(u"Car").opened);
    EXPECT_TRUE(f.service.add_record(job(1, 100, u"first")).added());
    EXPECT_TRUE(f.service.add_record(job(20, 300, u"last")).added());
    EXPECT_TRUE(f.service.add_record(job(10, 200, u"middle")).added());
    ASSERT_TRUE(f.service.dirty());

    const std::u16string folder = u"\\My Documents\\Kelvane_backup_manual\\";
    ASSERT_EQ(data_set_copier(f.config).backup_to_folder(folder), data_set_copy::done);
    service_store copy;
    ASSERT_EQ(copy.load(u"\\My Documents\\Kelvane_backup_manual\\", u"Car", false),
              load_result::loaded);
    ASSERT_EQ(copy.record_count(), 3);
    EXPECT_EQ(fixed_text(copy.record_at(1).description), u"middle");
    EXPECT_EQ(copy.header().total_cost, 30);

    EXPECT_EQ(f.service.account_name(), u"Car");
    EXPECT_EQ(f.fuel.account_name(), u"Car");
    EXPECT_EQ(f.service.record_count(), 3);
    EXPECT_FALSE(f.service.dirty());
}

TEST(backup_to_folder, reports_what_went_wrong) {
    backup_fixture f;
    EXPECT_EQ(account_change::done, f.config.add_account(u"Car"));
    EXPECT_TRUE(f.config.open_account(u"Car").opened);  // no files yet
    EXPECT_TRUE(f.service.add_record(job(1, 100, u"first")).added());
    EXPECT_TRUE(f.service.add_record(job(20, 300, u"last")).added());
    EXPECT_TRUE(f.service.add_record(job(10, 200, u"middle")).added());  // owed to the file

    faulty_file_system faulty(f.fs);
    scoped_services use{{&faulty}};
    // A store that cannot write its pending change: the backup stops and
    // the change stays in memory, still owed to the file.
    faulty.fail_open(1);
    EXPECT_EQ(data_set_copier(f.config).backup_to_folder(u"\\First\\"), data_set_copy::not_saved);
    faulty.fail_open(0);
    EXPECT_EQ(f.service.record_count(), 3);
    EXPECT_TRUE(f.service.dirty());
    EXPECT_FALSE(f.fs.file_exists(u"\\First\\Car.mat"));

    // A copy that fails: the folder holds nothing of a set that is not whole.
    faulty.fail_replace(5);
    EXPECT_EQ(data_set_copier(f.config).backup_to_folder(u"\\Second\\"),
              data_set_copy::rolled_back);
    faulty.fail_replace(0);
    EXPECT_TRUE(f.files_in(u"\\Second\\").empty());
    service_store copy;
    ASSERT_EQ(copy.load(data_folder, u"Car", false), load_result::loaded);
    EXPECT_EQ(copy.record_count(), 3);

    // A folder that cannot be made: a file stands where it should be.
    f.fs.put(u"\\Backup", bytes_of_text("a file"));
    EXPECT_EQ(data_set_copier(f.config).backup_to_folder(u"\\Backup\\Today\\"),
              data_set_copy::no_folder);
    EXPECT_TRUE(f.files_in(u"\\Backup\\").empty());

    EXPECT_EQ(data_set_copier(f.config).backup_to_folder(u"\\First\\"), data_set_copy::done);
}

// A move that fails while a new backup takes the place of the old one (not
// a stop: the program goes on) puts the old files back; the folder never
// stays a mix of the two.
TEST(backup_to_folder, a_failed_move_puts_the_old_backup_back) {
    backup_fixture f;
    EXPECT_EQ(account_change::done, f.config.add_account(u"Car"));
    EXPECT_EQ(account_change::done, f.config.add_account(u"Van"));
    f.write_account(u"Car", 10);
    f.write_account(u"Van", 20);
    const std::u16string folder = u"\\Backup\\";
    ASSERT_EQ(data_set_copier(f.config).backup_to_folder(folder), data_set_copy::done);
    const auto image = [&] {
        std::map<std::u16string, std::vector<std::uint8_t>> out;
        for (const auto& name : f.files_in(folder)) out[name] = f.fs.bytes(folder + name);
        return out;
    };
    const auto old_set = image();
    f.write_account(u"Car", 30);
    f.write_account(u"Van", 40);

    faulty_file_system faulty(f.fs);
    scoped_services use{{&faulty}};
    faulty.reset_counters();
    ASSERT_EQ(data_set_copier(f.config).backup_to_folder(folder), data_set_copy::done);
    const auto new_set = image();
    ASSERT_NE(new_set, old_set);
    const int replaces = faulty.replaces();
    for (int k = 1; k <= replaces; ++k) {
        for (const auto& [name, bytes] : old_set) f.fs.put(folder + name, bytes);
        faulty.fail_replace(k);
        const data_set_copy result = data_set_copier(f.config).backup_to_folder(folder);
        faulty.fail_replace(0);
        if (result == data_set_copy::done) {
            EXPECT_EQ(image(), new_set) << k;
        } else if (result == data_set_copy::rolled_back) {
            EXPECT_EQ(image(), old_set) << k << ": nothing changed";
        } else {
            EXPECT_EQ(result, data_set_copy::incomplete);
            // What the next backup or restore finds: the old set, or the new
            // one finished from where it waited.
            ASSERT_TRUE(staged_file_set::finish_interrupted(folder));
            const auto now = image();
            EXPECT_TRUE(now == old_set || now == new_set) << k;
        }
    }
}

TEST(auto_backup_if_due, every_third_day_once) {
    backup_fixture f;
    EXPECT_EQ(account_change::done, f.config.add_account(u"Car"));
    f.write_account(u"Car", 10);
    const std::u16string folder = u"\\My Documents\\Kelvane_backup_auto\\";
    const auto made_on = [&](int month, int day) {
        f.fs.delete_file(folder + u"Car.ful");
        f.fs.delete_file(folder + u"Config.dat");
        f.clock.set(2007, month, day, 8, 30, 0);
        const bool made =
            data_set_copier(f.config).auto_backup_if_due() == auto_backup_result::done;
        EXPECT_EQ(made, f.fs.file_exists(folder + u"Car.ful")) << day;
        return made;
    };
    EXPECT_TRUE(made_on(1, 3));
    // The date was stored before the copy, so the backup holds it as well.
    const auto saved = f.fs.bytes(folder + u"Config.dat");
    ASSERT_EQ(saved.size(), 30028u);
    const auto stored = testing::byte_image().i32(29908, 2007).i32(29912, 1).i32(29916, 3).bytes();
    EXPECT_EQ(testing::slice(saved, 29908, 12), testing::slice(stored, 29908, 12));
    EXPECT_EQ(f.fs.bytes(data_folder + u"Config.dat"), saved);

    EXPECT_FALSE(made_on(1, 3));
    EXPECT_FALSE(made_on(1, 4));
    EXPECT_TRUE(made_on(1, 6));
    EXPECT_TRUE(made_on(1, 30));
    EXPECT_FALSE(made_on(1, 31));
    EXPECT_FALSE(made_on(2, 1));
    // The same day of another month is another day.
    EXPECT_TRUE(made_on(2, 3));
    EXPECT_TRUE(f.messages().empty());
}

TEST(restore_from_folder, a_folder_with_only_config_restores_the_account_list) {
    backup_fixture f;
    EXPECT_EQ(account_change::done, f.config.add_account(u"Car"));
    EXPECT_TRUE(f.config.open_account(u"Car").opened);
    EXPECT_TRUE(f.service.add_record(job(1, 100, u"first")).added());
    EXPECT_TRUE(f.service.add_record(job(20, 300, u"last")).added());
    EXPECT_TRUE(f.service.add_record(job(10, 200, u"middle")).added());  // owed to the file
    const auto car_file = f.fs.bytes(data_folder + u"Car.mat");

    {
        configuration other;
        other.set_data_folder(u"\\Backup\\");
        f.fs.create_folder(u"\\Backup");
        EXPECT_EQ(account_change::done, other.add_account(u"Bus"));
        EXPECT_EQ(account_change::done, other.add_account(u"Van"));
    }
    {
        // A Config.dat that cannot be copied changes nothing; the change owed
        // to the open account's file is still owed.
        faulty_file_system faulty(f.fs);
        scoped_services use{{&faulty}};
        faulty.fail_replace(1);
        EXPECT_EQ(data_set_copier(f.config).restore_from_folder(u"\\Backup\\"),
                  data_set_copy::rolled_back);
        EXPECT_EQ(f.config.list_account_names(), std::vector<std::u16string>{u"Car"});
        EXPECT_TRUE(f.service.dirty());
    }
    ASSERT_EQ(data_set_copier(f.config).restore_from_folder(u"\\Backup\\"), data_set_copy::done);
    EXPECT_EQ(f.config.list_account_names(), (std::vector<std::u16string>{u"Van", u"Bus"}));
    EXPECT_EQ(f.config.data_folder(), data_folder);
    // The old account's files stay; what the stores held is never written over them.
    EXPECT_TRUE(f.service.reset());
    EXPECT_EQ(f.fs.bytes(data_folder + u"Car.mat"), car_file);
    EXPECT_FALSE(f.fs.file_exists(data_folder + u"Bus.ful"));
}

TEST(restore_from_folder, copies_the_named_accounts_and_refuses_a_folder_that_is_no_backup) {
    backup_fixture f;
    EXPECT_EQ(account_change::done, f.config.add_account(u"Car"));
    f.write_account(u"Car", 10);
    f.write_trips(1);
    ASSERT_EQ(data_set_copier(f.config).backup_to_folder(u"\\Backup\\"), data_set_copy::done);
    const auto trips_before = f.fs.bytes(data_folder + u"Trip.tri");
    f.write_account(u"Car", 20, u"\\Backup\\");
    const auto car_in_backup = f.fs.bytes(u"\\Backup\\Car.ful");
    f.write_account(u"Stray", 1, u"\\Backup\\");  // not named by the backup
    f.write_trips(3);
    EXPECT_EQ(account_change::done, f.config.add_account(u"Van"));
    f.write_account(u"Van", 5);
    const auto van = f.fs.bytes(data_folder + u"Van.ful");

    ASSERT_EQ(data_set_copier(f.config).restore_from_folder(u"\\Backup\\"), data_set_copy::done);
    EXPECT_EQ(f.fs.bytes(data_folder + u"Car.ful"), car_in_backup);
    EXPECT_EQ(f.fs.bytes(data_folder + u"Trip.tri"), trips_before);
    EXPECT_FALSE(f.fs.file_exists(data_folder + u"Stray.ful"));
    EXPECT_EQ(f.fs.bytes(data_folder + u"Van.ful"), van);
    EXPECT_FALSE(f.config.account_exists(u"Van"));

    // A folder without Config.dat changes nothing at all.
    f.write_trips(1, u"\\Loose\\");
    f.write_account(u"Car", 99, u"\\Loose\\");
    EXPECT_EQ(data_set_copier(f.config).restore_from_folder(u"\\Loose\\"),
              data_set_copy::no_folder);
    EXPECT_EQ(f.fs.bytes(data_folder + u"Trip.tri"), trips_before);
    EXPECT_EQ(f.fs.bytes(data_folder + u"Car.ful"), car_in_backup);
    EXPECT_EQ(data_set_copier(f.config).restore_from_folder(u""), data_set_copy::no_folder);

    // Nor does one whose Config.dat is damaged.
    f.fs.put(u"\\Loose\\Config.dat", bytes_of_text("not a configuration"));
    EXPECT_EQ(data_set_copier(f.config).restore_from_folder(u"\\Loose\\"),
              data_set_copy::unreadable);
    EXPECT_EQ(f.fs.bytes(data_folder + u"Car.ful"), car_in_backup);
    EXPECT_EQ(f.config.list_account_names(), std::vector<std::u16string>{u"Car"});
}

// A damaged file of the backup is left out: the data folder keeps its own
// copy, and the owner is told which file it was.
TEST(restore_from_folder, leaves_out_a_damaged_file_of_the_backup) {
    backup_fixture f;
    EXPECT_EQ(account_change::done, f.config.add_account(u"Car"));
    EXPECT_EQ(account_change::done, f.config.add_account(u"Van"));
    f.write_account(u"Car", 10);
    f.write_account(u"Van", 20);
    ASSERT_EQ(data_set_copier(f.config).backup_to_folder(u"\\Backup\\"), data_set_copy::done);
    f.fs.put(u"\\Backup\\Car.mat", bytes_of_text("damaged"));
    f.write_account(u"Van", 5, u"\\Backup\\");
    const auto car_here = f.fs.bytes(data_folder + u"Car.mat");

    EXPECT_EQ(data_set_copier(f.config).restore_from_folder(u"\\Backup\\"),
              data_set_copy::incomplete);
    EXPECT_EQ(f.fs.bytes(data_folder + u"Car.mat"), car_here);
    EXPECT_EQ(f.fs.bytes(data_folder + u"Van.mat"), f.fs.bytes(u"\\Backup\\Van.mat"));
    ASSERT_EQ(f.messages().size(), 1u);
    EXPECT_NE(f.messages()[0].find(u"\\Backup\\Car.mat"), std::u16string::npos);
}

}  // namespace
}  // namespace kelvane
