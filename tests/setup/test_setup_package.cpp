#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/faulty_file_system.h"
#include "platform/memory_file_system.h"
#include "platform/text_encoding.h"
#include "setup/setup_installer.h"
#include "setup/setup_package.h"
#include "setup/setup_texts.h"

using namespace kelvane;

namespace {

using bytes = std::vector<std::uint8_t>;

constexpr char16_t setup_path[] = u"\\Desktop\\Setup.exe";
constexpr char16_t temp_folder[] = u"\\Temp\\";
constexpr char16_t cab_path[] = u"\\Temp\\KelvaneSetup.cab";
constexpr char16_t ini_path[] = u"\\Temp\\KelvaneSetup.ini";
constexpr char16_t manager[] = u"C:\\Program Files\\Microsoft ActiveSync\\CEAppMgr.exe";

bytes pattern(std::size_t n, std::uint8_t seed) {
    bytes b(n);
    for (std::size_t i = 0; i < n; ++i) b[i] = static_cast<std::uint8_t>(seed + i * 7);
    return b;
}

void put_u32(bytes& file, std::size_t at, std::uint32_t v) {
    file[at] = v & 0xFF;
    file[at + 1] = (v >> 8) & 0xFF;
    file[at + 2] = (v >> 16) & 0xFF;
    file[at + 3] = v >> 24;
}

// A Setup file built by hand: image, filler, both packages at their offsets.
bytes setup_file(const bytes& english, const bytes& french) {
    bytes file(3200008, 0);
    for (std::size_t i = 0; i < 1000; ++i) file[i] = 0x4D;
    for (std::size_t i = 1000; i < 500000; i += 4) put_u32(file, i, 0xBAADF00D);
    put_u32(file, 500000, static_cast<std::uint32_t>(english.size()));
    std::copy(english.begin(), english.end(), file.begin() + 500004);
    put_u32(file, 1850004, static_cast<std::uint32_t>(french.size()));
    std::copy(french.begin(), french.end(), file.begin() + 1850008);
    return file;
}

const bytes english_cab = [] {
    bytes b = pattern(5000, 1);
    std::memcpy(b.data(), "MSCF", 4);
    return b;
}();
const bytes french_cab = [] {
    bytes b = pattern(4000, 2);
    std::memcpy(b.data(), "MSCF", 4);
    return b;
}();

struct setup_test : ::testing::Test {
    memory_file_system fs;
    setup_test() {
        fs.create_folder(u"\\Desktop");
        fs.create_folder(u"\\Temp");
    }
    install_step install(setup_language language,
                         std::optional<std::u16string> found = std::u16string(manager)) {
        return install_package(fs, {setup_path, temp_folder, language, std::move(found)});
    }
    // Only the Setup file: nothing was written to the temporary folder.
    void expect_nothing_written() {
        EXPECT_EQ(fs.files(), std::vector<std::u16string>{setup_path});
    }
};

}  // namespace

TEST_F(setup_test, each_language_installs_its_own_package) {
    fs.put(setup_path, setup_file(english_cab, french_cab));

    auto step = install(setup_language::english);
    EXPECT_EQ(step.outcome, install_outcome::start_manager);
    EXPECT_EQ(step.message, u"");
    EXPECT_EQ(step.manager, manager);
    EXPECT_EQ(step.parameters, u"\\Temp\\KelvaneSetup.ini");
    EXPECT_EQ(fs.bytes(cab_path), english_cab);

    step = install(setup_language::french);
    EXPECT_EQ(step.outcome, install_outcome::start_manager);
    EXPECT_EQ(fs.bytes(cab_path), french_cab);
    EXPECT_EQ(fs.files().size(), 3u);  // overwritten in place, no leftovers
}

TEST_F(setup_test, description_file_bytes) {
    fs.put(setup_path, setup_file(english_cab, french_cab));
    install(setup_language::french);
    const char expected[] =
        "[CEAppManager]\r\nVersion      = 1.0\r\nComponent    = App\r\n[App]\r\n"
        "Description  = Kelvane.\r\nCabFiles     = KelvaneSetup.CAB\r\n";
    EXPECT_EQ(fs.bytes(ini_path), bytes(expected, expected + sizeof expected - 1));
}

TEST_F(setup_test, temporary_folder_without_backslash) {
    fs.put(setup_path, setup_file(english_cab, french_cab));
    auto step = install_package(fs, {setup_path, u"\\Temp", setup_language::english, manager});
    EXPECT_EQ(step.parameters, u"\\Temp\\KelvaneSetup.ini");
    EXPECT_EQ(fs.bytes(cab_path), english_cab);
}

TEST_F(setup_test, short_setup_file_writes_nothing) {
    // 499999 bytes: cut before the first length field.
    bytes file = setup_file(english_cab, french_cab);
    file.resize(499999);
    fs.put(setup_path, file);
    for (auto language : {setup_language::english, setup_language::french}) {
        auto step = install(language);
        EXPECT_EQ(step.outcome, install_outcome::package_missing);
        EXPECT_EQ(step.message, setup_texts_for(language).package_missing);
    }
    EXPECT_EQ(install(setup_language::french).message,
              u"Le fichier est corrompu, veuillez le re-télécharger.");
    expect_nothing_written();

    fs.delete_file(setup_path);
    EXPECT_EQ(install(setup_language::english).outcome, install_outcome::package_missing);
    EXPECT_TRUE(fs.files().empty());
}

TEST_F(setup_test, cut_file_refuses_only_the_package_past_its_end) {
    bytes file = setup_file(english_cab, french_cab);
    // The French length field is past the end.
    file.resize(1850006);
    fs.put(setup_path, file);
    EXPECT_EQ(install(setup_language::french).outcome, install_outcome::package_missing);
    expect_nothing_written();
    EXPECT_EQ(install(setup_language::english).outcome, install_outcome::start_manager);

    // The French package is one byte short.
    fs = memory_file_system();
    fs.create_folder(u"\\Desktop");
    fs.create_folder(u"\\Temp");
    file = setup_file(english_cab, french_cab);
    file.resize(1850008 + french_cab.size() - 1);
    fs.put(setup_path, file);
    EXPECT_EQ(install(setup_language::french).outcome, install_outcome::package_missing);
    expect_nothing_written();
    // ... and exactly long enough.
    file = setup_file(english_cab, french_cab);
    file.resize(1850008 + french_cab.size());
    fs.put(setup_path, file);
    EXPECT_EQ(install(setup_language::french).outcome, install_outcome::start_manager);
    EXPECT_EQ(fs.bytes(cab_path), french_cab);
}

TEST_F(setup_test, stored_lengths_outside_the_layout_are_refused) {
    for (std::uint32_t stored : {1350001u, 0xFFFFFFFFu, 0u}) {
        bytes file = setup_file(english_cab, french_cab);
        put_u32(file, 500000, stored);
        fs.put(setup_path, file);
        auto step = install(setup_language::english);
        EXPECT_EQ(step.outcome, install_outcome::package_missing) << stored;
        EXPECT_EQ(step.message, u"File is corrupted, please download the program again.");
        expect_nothing_written();
    }
    // The largest package fills its space to the French length field.
    const bytes largest = pattern(1350000, 3);
    fs.put(setup_path, setup_file(largest, french_cab));
    EXPECT_EQ(install(setup_language::english).outcome, install_outcome::start_manager);
    EXPECT_EQ(fs.bytes(cab_path), largest);
}

TEST_F(setup_test, manager_not_found_leaves_the_files) {
    fs.put(setup_path, setup_file(english_cab, french_cab));
    for (auto found : {std::optional<std::u16string>{}, std::optional<std::u16string>{u""}}) {
        auto step = install(setup_language::french, found);
        EXPECT_EQ(step.outcome, install_outcome::manager_not_found);
        // The message says what to run, in the chosen language, and names no
        // other program than ours.
        EXPECT_NE(step.message.find(u"«\u00A0appmgr --register\u00A0»"), std::u16string::npos)
            << to_utf8(step.message);
        EXPECT_EQ(step.message.find(u"ActiveSync"), std::u16string::npos);
        EXPECT_EQ(step.manager, u"");
    }
    EXPECT_EQ(fs.bytes(cab_path), french_cab);
    EXPECT_EQ(fs.bytes(ini_path).size(), 121u);
}

TEST_F(setup_test, write_failures_stop_before_the_manager) {
    fs.put(setup_path, setup_file(english_cab, french_cab));
    faulty_file_system faulty(fs);
    // Opens: 1 the Setup file, 2 the package, 3 the description. Writes: 1 the
    // package, 2 the description.
    // The person learns which file could not be written, in the wizard's language.
    const std::u16string said[] = {
        u"Can't create the cabinet \"\\Temp\\KelvaneSetup.cab\".",
        u"Impossible de créer le fichier «\u00A0\\Temp\\KelvaneSetup.ini\u00A0».",
    };
    for (int k = 2; k <= 3; ++k) {
        faulty.fail_open(k);
        const auto language = k == 2 ? setup_language::english : setup_language::french;
        auto step = install_package(faulty, {setup_path, temp_folder, language, manager});
        EXPECT_EQ(step.outcome, install_outcome::write_failed) << k;
        EXPECT_EQ(step.message, said[k - 2]) << k;
    }
    faulty.fail_open(0);
    fs.delete_file(cab_path);
    fs.delete_file(ini_path);
    faulty.fail_write(1);
    auto step =
        install_package(faulty, {setup_path, temp_folder, setup_language::english, manager});
    EXPECT_EQ(step.outcome, install_outcome::write_failed);
    // No cut package is left for the manager.
    expect_nothing_written();
}
