#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "setup/ini_text.h"
#include "setup/key_store.h"

using namespace kelvane;
namespace fs = std::filesystem;

namespace {

struct key_store_test : ::testing::Test {
    const fs::path dir =
        fs::temp_directory_path() / ("kelvane-key-store-" + std::to_string(::getpid()));
    key_store_test() { fs::remove_all(dir); }
    ~key_store_test() override { fs::remove_all(dir); }
};

}  // namespace

TEST_F(key_store_test, manager_path_is_found_as_the_desktop_finds_it) {
    const key_store store(dir / "config" / "registry.ini");
    EXPECT_EQ(store.read(application_manager_key, default_value_name), std::nullopt);

    ASSERT_TRUE(store.write(application_manager_key, default_value_name, "/opt/appmgr"));
    ASSERT_TRUE(store.write("HKEY_CURRENT_USER\\Software\\Other", "Path", "/x"));
    // Registry keys and value names ignore case.
    EXPECT_EQ(store.read("hkey_local_machine\\SOFTWARE\\microsoft\\Windows\\CurrentVersion\\"
                         "App Paths\\ceappmgr.exe",
                         "@"),
              "/opt/appmgr");
    // Writing again replaces the value and keeps the other key.
    ASSERT_TRUE(store.write(application_manager_key, default_value_name, "/usr/bin/appmgr"));
    EXPECT_EQ(store.read(application_manager_key, default_value_name), "/usr/bin/appmgr");
    EXPECT_EQ(store.read("HKEY_CURRENT_USER\\Software\\Other", "path"), "/x");

    // A value that would break the file is refused and changes nothing.
    EXPECT_FALSE(store.write(application_manager_key, default_value_name, "/a\n[x]\n@=/b"));
    EXPECT_EQ(store.read(application_manager_key, default_value_name), "/usr/bin/appmgr");

    ASSERT_TRUE(store.remove(application_manager_key, default_value_name));
    EXPECT_EQ(store.read(application_manager_key, default_value_name), std::nullopt);
    EXPECT_EQ(store.read("HKEY_CURRENT_USER\\Software\\Other", "Path"), "/x");
    EXPECT_FALSE(fs::exists(dir / "config" / "registry.ini.new"));
}

TEST_F(key_store_test, unwritable_store_reports_failure) {
    fs::create_directories(dir);
    std::ofstream(dir / "file") << "not a folder";
    const key_store store(dir / "file" / "registry.ini");
    EXPECT_FALSE(store.write(application_manager_key, default_value_name, "/opt/appmgr"));
}

TEST(ini_text, reads_the_description_as_the_manager_does) {
    const ini_text ini = ini_text::parse(
        "[CEAppManager]\r\nVersion      = 1.0\r\nComponent    = App\r\n[App]\r\n"
        "Description  = Kelvane.\r\nCabFiles     = KelvaneSetup.CAB\r\n; a comment\r\n"
        "cabfiles = second.cab\r\nno equals sign\r\n");
    EXPECT_EQ(ini.value("ceappmanager", "COMPONENT"), "App");
    EXPECT_EQ(ini.value("App", "Description"), "Kelvane.");
    // The first of two equal names counts.
    EXPECT_EQ(ini.value("App", "CabFiles"), "KelvaneSetup.CAB");
    EXPECT_EQ(ini.value("App", "Version"), std::nullopt);
    EXPECT_EQ(ini.value("Other", "CabFiles"), std::nullopt);
}
