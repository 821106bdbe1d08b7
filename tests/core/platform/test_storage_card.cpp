// The storage card of the device carried on the host: "\Storage Card" is a
// host folder of its own (the user's home), the data stays below the root.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/host_file_system.h"

using namespace kelvane;
namespace fs = std::filesystem;

namespace {

class storage_card : public ::testing::Test {
protected:
    fs::path base = fs::temp_directory_path() / ("kelvane-card-" + std::to_string(::getpid()));
    fs::path root = base / "device";
    fs::path home = base / "home";

    void SetUp() override {
        fs::remove_all(base);
        fs::create_directories(root / "My Documents");
        fs::create_directories(home / "Documents");
        fs::create_directories(home / ".cache");
    }
    void TearDown() override { fs::remove_all(base); }
};

TEST_F(storage_card, its_paths_reach_the_home_folder_and_no_further) {
    host_file_system files(root, home);
    EXPECT_EQ(home / "Documents" / "van.csv",
              files.host_path(u"\\Storage Card\\Documents\\van.csv"));
    EXPECT_EQ(home / "x.csv", files.host_path(u"\\storage card\\x.csv")) << "names fold case";
    EXPECT_EQ(root / "My Documents" / "Storage Card",
              files.host_path(u"\\My Documents\\Storage Card"))
        << "only the root's card is the card";
    EXPECT_TRUE(files.host_path(u"\\Storage Card\\..\\device\\x").empty());

    auto out = files.create(u"\\Storage Card\\Documents\\van.csv");
    ASSERT_TRUE(out);
    ASSERT_EQ(3u, out->write("a,b", 3));
    ASSERT_TRUE(out->close());
    EXPECT_TRUE(fs::exists(home / "Documents" / "van.csv"));
    EXPECT_FALSE(fs::exists(root / "Storage Card"));

    EXPECT_TRUE(files.folder_exists(u"\\Storage Card"));
    EXPECT_FALSE(files.create_folder(u"\\Storage Card"));
    EXPECT_TRUE(files.create_folder(u"\\Storage Card\\Backups"));
    EXPECT_TRUE(fs::is_directory(home / "Backups"));
}

TEST_F(storage_card, the_root_lists_it_as_a_card_and_hides_dot_folders) {
    host_file_system files(root, home);
    const auto top = files.find(u"\\*.*");
    ASSERT_EQ(2u, top.size());
    EXPECT_EQ(u"My Documents", top[0].name);
    EXPECT_EQ(u"Storage Card", top[1].name);
    EXPECT_EQ(attribute_directory | attribute_temporary, top[1].attributes);

    for (const auto& entry : files.find(u"\\Storage Card\\*.*")) {
        if (entry.name == u".cache")
            EXPECT_EQ(attribute_directory | attribute_hidden, entry.attributes);
        else
            EXPECT_EQ(attribute_directory, entry.attributes);
    }

    // Without a card the root shows only what lies below it.
    host_file_system no_card(root);
    ASSERT_EQ(1u, no_card.find(u"\\*.*").size());
}

}  // namespace
