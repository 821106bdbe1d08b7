// The folders a backup, a restore or a change of the data folder works in
// ("Kelvane.new", "Kelvane.old") may be found holding what the program never
// put there: a link to another folder, say, in a backup folder received from
// someone else. Nothing is ever deleted or moved through it; the work stops
// with a message, and the other folder keeps its files.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "core/accounts/configuration.h"
#include "core/accounts/data_set_copier.h"
#include "core/test_services.h"
#include "platform/host_file_system.h"
#include "platform/text_encoding.h"

using namespace kelvane;
namespace fs = std::filesystem;

namespace {

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

}  // namespace
