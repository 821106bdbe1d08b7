// A backup on the host's own disk: the system copies the bytes from file to
// file, and the set's files reach the medium together before the set is
// marked whole. The copy must hold exactly what the data folder held, and a
// medium that fills up half way must leave the backup folder as it was.

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
    explicit file_size_limit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &before_);
        signal_before_ = std::signal(SIGXFSZ, SIG_IGN);
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
    void (*signal_before_)(int) = nullptr;
};

class backup_on_host : public ::testing::Test, protected kelvane::testing::test_services {
protected:
    fs::path base =
        fs::temp_directory_path() / ("kelvane-host-backup-" + std::to_string(::getpid()));
    fs::path data = base / "Program Files" / "Kelvane";
    fs::path backup = base / "Backup";
    host_file_system host{base};
    scoped_services on_host{{&host}};

    void SetUp() override {
        fs::remove_all(base);
        fs::create_directories(data);
        fs::create_directories(backup);
    }
    void TearDown() override { fs::remove_all(base); }

    static void add_fill_ups(fuel_store& fuel, int from, int count) {
        for (int i = from; i < from + count; ++i) {
            fuel_record r{};
            r.year = 2010 + i / 300, r.month = 1 + i / 25 % 12, r.day = 1 + i % 25, r.hour = 9;
            r.mileage = 1000.0 + 400 * i;
            r.fuel_purchased = 30 + i % 9;
            r.fuel_gauge = 45;
            r.fuel_cost = 50 + i % 13;
            ASSERT_TRUE(fuel.add_record(r).added());
        }
    }
};

TEST_F(backup_on_host, copies_every_byte_and_a_full_medium_leaves_the_older_backup_whole) {
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
        SCOPED_TRACE(name);
        ASSERT_TRUE(in_data.count(name));
        EXPECT_EQ(bytes, in_data.at(name));
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
