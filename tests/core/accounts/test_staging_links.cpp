// Backups and restores on the host's own disk. The folders they work in
// ("Kelvane.new", "Kelvane.old") may be found holding what the program never
// put there: a link to another folder, say, in a backup folder received from
// someone else. Nothing is ever deleted or moved through it; the work stops
// with a message, and the other folder keeps its files. And the system copies
// the bytes from file to file: a backup holds exactly what the data folder
// held, and a medium that fills up half way leaves the older backup as it was.

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include "core/accounts/configuration.h"
#include "core/accounts/data_set_copier.h"
#include "core/stores/fuel_store.h"
#include "core/test_services.h"
#include "platform/host_file_system.h"
#include "platform/text_encoding.h"

using namespace kelvane;
namespace fs = std::filesystem;

namespace {

std::string bytes_of_file(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Every file of a folder with its bytes, by name.
std::map<std::string, std::string> folder_bytes(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.is_regular_file())
            files[entry.path().filename().string()] = bytes_of_file(entry.path());
    return files;
}

// Files grow no larger than `bytes` while it lives; a write beyond fails
// as on a full medium instead of ending the process.
class file_size_limit {
public:
    explicit file_size_limit(rlim_t bytes) : signal_before_(std::signal(SIGXFSZ, SIG_IGN)) {
        getrlimit(RLIMIT_FSIZE, &before_);
        rlimit limited = before_;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~file_size_limit() {
        setrlimit(RLIMIT_FSIZE, &before_);
        std::signal(SIGXFSZ, signal_before_);
    }

private:
    rlimit before_{};
    void (*signal_before_)(int);
};

class staging_folders : public ::testing::Test, protected kelvane::testing::test_services {
protected:
    fs::path base = fs::temp_directory_path() / ("kelvane-staging-" + std::to_string(::getpid()));
    fs::path root = base / "device";
    fs::path victim = base / "elsewhere";
    fs::path data = root / "Program Files" / "Kelvane";
    fs::path backup = root / "Backup";
    host_file_system host{root};
    scoped_services on_host{{&host}};

    void SetUp() override {
        fs::remove_all(base);
        fs::create_directories(victim);
        fs::create_directories(data);
        fs::create_directories(backup);
        std::ofstream(victim / "Config.dat") << "someone else's file";
        std::ofstream(victim / "notes.txt") << "someone else's notes";
    }
    void TearDown() override { fs::remove_all(base); }

    bool victim_whole() const {
        return fs::exists(victim / "Config.dat") && fs::exists(victim / "notes.txt");
    }
    // The last message names the place that was left alone.
    bool told_about(const std::string& place) const {
        const auto texts = boxes.texts();
        return !texts.empty() && to_utf8(texts.back()).find(place) != std::string::npos;
    }
    static void add_fill_ups(fuel_store& fuel, int from, int count) {
        for (int i = from; i < from + count; ++i) {
            fuel_record r{};
            r.year = 2010 + i / 300, r.month = 1 + i / 25 % 12, r.day = 1 + i % 25, r.hour = 9;
            r.mileage = 1000.0 + 400 * i;
            r.fuel_purchased = 30 + i % 9, r.fuel_gauge = 45, r.fuel_cost = 50 + i % 13;
            ASSERT_TRUE(fuel.add_record(r).added());
        }
    }
};

TEST_F(staging_folders, a_planted_link_or_strange_file_stops_the_work_and_is_left_alone) {
    configuration config;
    ASSERT_EQ(config.add_account(u"Car"), account_change::done);
    ASSERT_EQ(data_set_copier(config).backup_to_folder(u"\\Backup\\"), data_set_copy::done);

    for (const char* name : {"Kelvane.new", "Kelvane.old"}) {
        SCOPED_TRACE(name);
        // In the backup folder, at backup and at restore.
        fs::create_directory_symlink(victim, backup / name);
        EXPECT_NE(data_set_copier(config).backup_to_folder(u"\\Backup\\"), data_set_copy::done);
        EXPECT_TRUE(victim_whole());
        EXPECT_TRUE(told_about(name));
        EXPECT_NE(data_set_copier(config).restore_from_folder(u"\\Backup\\"), data_set_copy::done);
        EXPECT_TRUE(victim_whole());
        EXPECT_TRUE(fs::is_symlink(backup / name));
        fs::remove(backup / name);

        // In the data folder, at start and at restore.
        fs::create_directory_symlink(victim, data / name);
        configuration started;
        EXPECT_EQ(started.load_config(), load_result::loaded);
        EXPECT_TRUE(started.account_exists(u"Car"));
        EXPECT_TRUE(told_about(name));
        EXPECT_NE(data_set_copier(config).restore_from_folder(u"\\Backup\\"), data_set_copy::done);
        EXPECT_TRUE(victim_whole());
        fs::remove(data / name);
    }

    // A real staging folder holding a file no data set has: not deleted.
    fs::create_directory(backup / "Kelvane.new");
    std::ofstream(backup / "Kelvane.new" / "notes.txt") << "mine";
    EXPECT_NE(data_set_copier(config).backup_to_folder(u"\\Backup\\"), data_set_copy::done);
    EXPECT_TRUE(fs::exists(backup / "Kelvane.new" / "notes.txt"));
    EXPECT_TRUE(told_about("notes.txt"));
    // Nor a link inside it named like a data file.
    fs::remove(backup / "Kelvane.new" / "notes.txt");
    fs::create_symlink(victim / "Config.dat", backup / "Kelvane.new" / "Config.dat");
    std::ofstream(backup / "Kelvane.new" / "complete") << "a mark";
    EXPECT_NE(data_set_copier(config).restore_from_folder(u"\\Backup\\"), data_set_copy::done);
    EXPECT_TRUE(victim_whole());
    EXPECT_FALSE(fs::is_symlink(data / "Config.dat")) << "a link was moved into the data folder";

    // Once the strangers are gone the backup goes through.
    fs::remove_all(backup / "Kelvane.new");
    EXPECT_EQ(data_set_copier(config).backup_to_folder(u"\\Backup\\"), data_set_copy::done);
}

TEST_F(staging_folders, a_backup_copies_every_byte_and_a_full_medium_leaves_the_older_one_whole) {
    configuration config;
    ASSERT_EQ(config.add_account(u"Car"), account_change::done);
    fuel_store fuel;
    (void)fuel.load(u"\\Program Files\\Kelvane\\", u"Car", false);
    add_fill_ups(fuel, 0, 3000);  // about 1.4 MB, copied by the system in one call

    ASSERT_EQ(data_set_copier(config).backup_to_folder(u"\\Backup\\"), data_set_copy::done);
    const auto first = folder_bytes(backup);
    ASSERT_TRUE(first.count("Car.ful"));
    const auto in_data = folder_bytes(data);
    for (const auto& [name, bytes] : first) {
        ASSERT_TRUE(in_data.count(name)) << name;
        EXPECT_EQ(bytes, in_data.at(name)) << name;
    }

    // More fill-ups, then a medium with no room for the grown file.
    add_fill_ups(fuel, 3000, 100);
    {
        const file_size_limit full(first.at("Car.ful").size());
        EXPECT_NE(data_set_copier(config).backup_to_folder(u"\\Backup\\"), data_set_copy::done);
    }
    EXPECT_EQ(folder_bytes(backup), first);
    EXPECT_FALSE(fs::exists(backup / "Kelvane.new"));
    EXPECT_FALSE(fs::exists(backup / "Kelvane.old"));

    // With room again, the backup holds the grown file.
    ASSERT_EQ(data_set_copier(config).backup_to_folder(u"\\Backup\\"), data_set_copy::done);
    EXPECT_EQ(bytes_of_file(backup / "Car.ful"), bytes_of_file(data / "Car.ful"));
    EXPECT_GT(bytes_of_file(backup / "Car.ful").size(), first.at("Car.ful").size());
}

}  // namespace
