#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/faulty_file_system.h"
#include "platform/host_file_system.h"
#include "platform/memory_file_system.h"
#include "setup/appmgr/app_manager.h"
#include "setup/cabinet/cabinet.h"

using namespace kelvane;
namespace fs = std::filesystem;

namespace {

using bytes = std::vector<std::uint8_t>;

bytes text_bytes(const std::string& s) {
    return bytes(s.begin(), s.end());
}

// Different enough from one byte to the next that the cabinet compresses it
// into several blocks, each with its checksum.
bytes program_bytes(std::size_t n) {
    bytes b(n);
    std::uint32_t x = 12345;
    for (auto& c : b) x = x * 1103515245 + 12345, c = static_cast<std::uint8_t>(x >> 16);
    return b;
}

bytes make_cabinet(const std::vector<cabinet_file>& files) {
    bytes out;
    std::string error;
    EXPECT_TRUE(write_cabinet(files, out, error)) << error;
    return out;
}

constexpr char16_t program_folder[] = u"\\Program Files\\Kelvane\\";

struct app_manager_test : ::testing::Test {
    memory_file_system device;
    std::vector<std::u16string> marked;
    const bytes old_program = text_bytes("old program");
    const bytes account = text_bytes("the owner's records");

    app_manager_test() {
        device.put(u"\\Program Files\\Kelvane\\Kelvane.exe", old_program);
        device.put(u"\\Program Files\\Kelvane\\Config.dat", account);
        device.put(u"\\Program Files\\Kelvane\\Language.bng", text_bytes("old cache"));
    }
    install_result install(const bytes& cab, file_system* fs = nullptr) {
        return install_cabinet(fs ? *fs : device, cab, program_folder,
                               [this](std::u16string_view p) {
                                   marked.emplace_back(p);
                                   return true;
                               });
    }
    // Only what was there before: nothing of a refused cabinet was written.
    void expect_untouched() {
        EXPECT_EQ(device.bytes(u"\\Program Files\\Kelvane\\Kelvane.exe"), old_program);
        EXPECT_EQ(device.bytes(u"\\Program Files\\Kelvane\\Config.dat"), account);
        EXPECT_EQ(device.files(),
                  (std::vector<std::u16string>{u"\\Program Files\\Kelvane\\Config.dat",
                                               u"\\Program Files\\Kelvane\\Kelvane.exe",
                                               u"\\Program Files\\Kelvane\\Language.bng"}));
    }
    const std::vector<cabinet_file> package = {
        {"Kelvane.exe", program_bytes(200000), true},
        {"Kelvane.htm", text_bytes("<html>help</html>"), false},
        {"Language.lng", bytes{0xFF, 0xFE, 'F', 0, 'u', 0, 'e', 0, 'l', 0}, false},
        {"Help\\Images\\tab.png", text_bytes("picture"), false},
    };
};

}  // namespace

TEST_F(app_manager_test, installs_into_the_program_folder_and_keeps_the_owners_data) {
    const auto result = install(make_cabinet(package));
    ASSERT_TRUE(result.ok) << result.message;
    for (const auto& file : package) {
        std::u16string path = program_folder;
        for (char c : file.name) path += static_cast<char16_t>(c);
        EXPECT_EQ(device.bytes(path), file.data) << file.name;
    }
    EXPECT_EQ(device.bytes(u"\\Program Files\\Kelvane\\Config.dat"), account);
    // The old cache would be loaded instead of the new language file.
    EXPECT_FALSE(device.file_exists(u"\\Program Files\\Kelvane\\Language.bng"));
    EXPECT_EQ(result.program, u"\\Program Files\\Kelvane\\Kelvane.exe");
    EXPECT_EQ(marked,
              std::vector<std::u16string>{u"\\Program Files\\Kelvane\\Kelvane.exe.install"});
    // The four installed and the records; nothing staged is left behind.
    EXPECT_EQ(device.files().size(), 5u);
}

TEST_F(app_manager_test, entry_leaving_the_program_folder_is_refused) {
    for (const char* name : {"..\\x", "../x", "Help\\..\\..\\x", "\\Windows\\x.exe", "/etc/x",
                             "C:\\x", "a\\\\b", "", ".\\x", "x\\"}) {
        auto files = package;
        files.push_back({name, text_bytes("bad"), false});
        const auto result = install(make_cabinet(files));
        EXPECT_FALSE(result.ok) << name;
        EXPECT_NE(result.message.find("nothing was installed"), std::string::npos) << name;
        expect_untouched();
    }
    // One file twice, in another case: which one would win is left to chance.
    auto twice = package;
    twice.push_back({"help/images/TAB.png", text_bytes("other picture"), false});
    EXPECT_FALSE(install(make_cabinet(twice)).ok);
    expect_untouched();
    EXPECT_TRUE(entry_stays_inside("Help\\Images\\tab.png"));
    EXPECT_TRUE(entry_stays_inside("..x"));
}

TEST_F(app_manager_test, damaged_cabinet_installs_nothing) {
    const bytes good = make_cabinet(package);
    bytes damaged = good;
    damaged[damaged.size() / 2] ^= 0x55;  // inside the compressed data
    bytes cut(good.begin(), good.begin() + static_cast<long>(good.size() * 3 / 4));
    for (const bytes& cab : {damaged, cut, bytes{'M', 'S', 'C', 'F'}, text_bytes("not a cab")}) {
        const auto result = install(cab);
        EXPECT_FALSE(result.ok);
        EXPECT_NE(result.message.find("nothing was installed"), std::string::npos)
            << result.message;
        expect_untouched();
    }
}

TEST_F(app_manager_test, failed_write_leaves_the_installed_program) {
    const bytes cab = make_cabinet(package);
    faulty_file_system faulty(device);
    for (int k = 1; k <= 4; ++k) {
        faulty.fail_write(k);
        const auto result = install(cab, &faulty);
        EXPECT_FALSE(result.ok) << k;
        EXPECT_EQ(device.bytes(u"\\Program Files\\Kelvane\\Kelvane.exe"), old_program) << k;
        for (const auto& f : device.files()) EXPECT_FALSE(f.ends_with(u".install")) << k;
    }
}

TEST(app_manager_description, finds_the_cabinet_it_names_ignoring_case) {
    const fs::path dir =
        fs::temp_directory_path() / ("kelvane-appmgr-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    std::ofstream(dir / "KelvaneSetup.ini", std::ios::binary)
        << "[CEAppManager]\r\nVersion      = 1.0\r\nComponent    = App\r\n[App]\r\n"
           "Description  = Kelvane.\r\nCabFiles     = KelvaneSetup.CAB\r\n";
    std::ofstream(dir / "KelvaneSetup.cab") << "cab";

    package_description d;
    std::string error;
    ASSERT_TRUE(read_package_description(dir / "KelvaneSetup.ini", d, error)) << error;
    EXPECT_EQ(d.description, "Kelvane.");
    ASSERT_EQ(d.cabinets, std::vector<std::string>{"KelvaneSetup.CAB"});
    EXPECT_EQ(find_ignoring_case(dir, d.cabinets[0]), dir / "KelvaneSetup.cab");
    EXPECT_EQ(find_ignoring_case(dir, "Other.cab"), std::nullopt);

    std::ofstream(dir / "empty.ini") << "[CEAppManager]\r\nComponent = App\r\n";
    EXPECT_FALSE(read_package_description(dir / "empty.ini", d, error));
    EXPECT_NE(error.find("names no cabinet"), std::string::npos);
    EXPECT_FALSE(read_package_description(dir / "missing.ini", d, error));
    fs::remove_all(dir);
}

// A package never replaces the owner's data, in whatever letter case it
// names it; such a package is refused before anything is written.
TEST_F(app_manager_test, entries_naming_the_owners_data_are_refused) {
    for (const char* name :
         {"Config.dat", "config.DAT", "Van.ful", "van.MAT", "Trip.tri", "Config_key.dat",
          "Deleted\\Pickup.ful", "deleted/x.txt", "Kelvane.new\\Config.dat", "Car.ful.unreadable",
          "Kelvane.exe.install"}) {
        auto files = package;
        files.push_back({name, text_bytes("over the owner's data"), false});
        const auto result = install(make_cabinet(files));
        EXPECT_FALSE(result.ok) << name;
        EXPECT_NE(result.message.find("owner's data"), std::string::npos) << result.message;
        expect_untouched();
    }
}

// When a file cannot be put in place, those already moved go back: the
// installed program stays whole, the old one, and no new file stays.
TEST_F(app_manager_test, a_failed_move_takes_back_what_was_moved) {
    const bytes cab = make_cabinet(package);
    faulty_file_system faulty(device);
    for (int k = 1;; ++k) {
        ASSERT_LT(k, 40);
        faulty.fail_replace(k);
        const auto result = install(cab, &faulty);
        faulty.fail_replace(0);
        if (result.ok) break;
        expect_untouched();
    }
    EXPECT_EQ(device.bytes(u"\\Program Files\\Kelvane\\Kelvane.htm"),
              text_bytes("<html>help</html>"));
}

// On the host: a link planted at a staged file's name is never written
// through, and an empty file installs as an empty file.
TEST(app_manager_on_the_host, staged_files_are_made_new_and_empty_entries_install) {
    const fs::path root =
        fs::temp_directory_path() / ("kelvane-appmgr-" + std::to_string(::getpid()));
    fs::remove_all(root);
    const fs::path folder = root / "Program Files" / "Kelvane";
    fs::create_directories(folder);
    const fs::path victim = root / "victim.txt";
    std::ofstream(victim) << "not the installer's";
    fs::create_symlink(victim, folder / "Kelvane.htm.install");
    host_file_system device(root);
    const std::vector<cabinet_file> files = {{"Kelvane.htm", text_bytes("<html/>"), false},
                                             {"Empty.txt", {}, false}};
    const auto result = install_cabinet(device, make_cabinet(files), program_folder, nullptr);
    EXPECT_TRUE(result.ok) << result.message;
    std::ifstream in(victim);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "not the installer's");
    EXPECT_EQ(fs::file_size(folder / "Kelvane.htm"), 7u);
    EXPECT_FALSE(fs::is_symlink(folder / "Kelvane.htm"));
    EXPECT_TRUE(fs::is_regular_file(folder / "Empty.txt"));
    EXPECT_EQ(fs::file_size(folder / "Empty.txt"), 0u);
    fs::remove_all(root);
}
