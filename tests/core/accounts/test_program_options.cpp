// The options: the backup folder, the input panel and the language of the
// next start, as they reach "Config.dat" and the program's folder.

#include "core/accounts/configuration.h"
#include "core/accounts/program_options.h"
#include "core/test_store_support.h"
#include "core/tools/language_table.h"

using namespace kelvane;
using namespace kelvane::testing;

namespace {

using bytes = std::vector<std::uint8_t>;

const std::u16string installed = data_folder + u"Language.lng";
const std::u16string cache = data_folder + u"Language.bng";

// A translator's file: UTF-16LE with its byte-order mark, one "key@text" line.
bytes lng(std::u16string_view line) {
    bytes out = {0xFF, 0xFE};
    for (char16_t c : line) {
        out.push_back(static_cast<std::uint8_t>(c & 0xff));
        out.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    return out;
}

class program_options_test : public ::testing::Test {
protected:
    device_fixture device;
    configuration config;

    bytes file(std::u16string_view path) { return device.fs.bytes(path); }
    bool exists(std::u16string_view path) { return device.fs.file_exists(path); }

    options_result apply(std::u16string_view language, std::u16string_view backup = u"\\Backup\\",
                         bool no_panel = false) {
        const std::u16string opening = language_in_force(config);
        return apply_options(config, {std::u16string(language), std::u16string(backup), no_panel},
                             opening);
    }

    // What the next start shows for the key "Cost".
    std::u16string next_start_shows() {
        language_table table;
        (void)table.load(u"Language");
        return table.translate(u"Cost");
    }
};

TEST(backup_path, gains_its_backslashes_only_where_missing) {
    EXPECT_EQ(u"\\Backups\\", normalise_backup_path(u"Backups"));
    EXPECT_EQ(u"\\My Documents\\Car\\", normalise_backup_path(u"\\My Documents\\Car"));
    EXPECT_EQ(u"\\Cards\\", normalise_backup_path(u"Cards\\"));
    EXPECT_EQ(u"\\", normalise_backup_path(u"\\"));
    EXPECT_EQ(u"", normalise_backup_path(u"")) << "an empty path stays empty";
}

TEST_F(program_options_test, backup_folder_and_input_panel_reach_the_file) {
    const auto result = apply({}, u"Backups", true);
    EXPECT_EQ(options_outcome::applied, result.outcome);
    EXPECT_FALSE(result.language_changed);
    EXPECT_EQ(u"\\Backups\\", result.backup_folder);

    const bytes saved = file(config.config_path());
    ASSERT_EQ(30028u, saved.size());
    EXPECT_EQ(byte_image().text(0, u"\\Backups\\").u16(20, 0).bytes(), slice(saved, 1670, 22));
    EXPECT_EQ(byte_image().i32(0, 1).bytes(), slice(saved, 29920, 4));
    EXPECT_EQ(bytes(1202, 0), slice(saved, 2872, 1202)) << "English: no language name";
}

TEST_F(program_options_test, a_chosen_language_is_the_one_of_the_next_start_and_english_too) {
    device.fs.put(data_folder + u"French.lng", lng(u"Cost@Coût"));
    device.fs.put(data_folder + u"German.lng", lng(u"Cost@Kosten"));
    EXPECT_EQ((std::vector<std::u16string>{u"French.lng", u"German.lng"}),
              list_language_files(config));

    auto result = apply(u"French.lng");
    EXPECT_TRUE(result.language_changed);
    EXPECT_EQ(u"French.lng", config.language_name());
    EXPECT_EQ(file(data_folder + u"French.lng"), file(installed));
    EXPECT_EQ(u"Coût", next_start_shows());
    ASSERT_TRUE(exists(cache)) << "the start builds its cache";

    // The cache of the former language must not win over the new file.
    result = apply(u"German");
    EXPECT_TRUE(result.language_changed);
    EXPECT_EQ(u"German.lng", config.language_name());
    EXPECT_EQ(u"Kosten", next_start_shows());

    result = apply(english_language);
    EXPECT_TRUE(result.language_changed);
    EXPECT_EQ(u"", config.language_name());
    EXPECT_FALSE(exists(installed));
    EXPECT_FALSE(exists(cache));
    EXPECT_EQ(u"Cost", next_start_shows());
    EXPECT_EQ(u"", language_in_force(config)) << "the screen shows its <English> hint";
    EXPECT_TRUE(exists(data_folder + u"French.lng")) << "the translations stay to be chosen";

    // The same language again changes nothing.
    EXPECT_FALSE(apply(english_language).language_changed);
    EXPECT_FALSE(apply({}).language_changed);
}

TEST_F(program_options_test,
       a_translation_installed_only_as_language_lng_is_kept_when_english_is_chosen) {
    // A package put its translation straight into "Language.lng".
    const bytes packaged = lng(u"Cost@Coût");
    device.fs.put(installed, packaged);
    EXPECT_EQ(u"Language.lng", language_in_force(config));
    EXPECT_EQ(u"Coût", next_start_shows());

    EXPECT_TRUE(apply(english_language).language_changed);
    EXPECT_EQ(u"Cost", next_start_shows());
    EXPECT_EQ(packaged, file(data_folder + u"Language_saved.lng"));

    // Chosen again under its kept name, it is the next start's language.
    EXPECT_TRUE(apply(u"Language_saved.lng").language_changed);
    EXPECT_EQ(u"Coût", next_start_shows());
}

TEST_F(program_options_test, refused_language_names_change_nothing) {
    device.fs.put(data_folder + u"French.lng", lng(u"Cost@Coût"));
    ASSERT_EQ(options_outcome::applied, apply(u"French.lng").outcome);
    const bytes config_before = file(config.config_path());
    const bytes installed_before = file(installed);

    for (std::u16string bad : {u"..\\French.lng", u"\\Program Files\\French.lng", u"a/b.lng",
                               u"x..lng", u"..", u".lng"}) {
        const auto result = apply(bad, u"Elsewhere", true);
        EXPECT_EQ(options_outcome::language_name_invalid, result.outcome);
    }
    EXPECT_EQ(options_outcome::language_file_missing,
              apply(u"Klingon.lng", u"Elsewhere", true).outcome);

    EXPECT_EQ(config_before, file(config.config_path()));
    EXPECT_EQ(u"French.lng", config.language_name());
    EXPECT_EQ(u"\\Backup\\", config.auto_backup_folder()) << "nothing of the refused apply";
    EXPECT_EQ(installed_before, file(installed));
}

}  // namespace
