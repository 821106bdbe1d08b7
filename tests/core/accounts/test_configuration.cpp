#include <gtest/gtest.h>

#include <functional>

#include "core/accounts/configuration.h"
#include "core/common/messages.h"
#include "core/stores/fee_store.h"
#include "core/stores/fuel_store.h"
#include "core/stores/service_store.h"
#include "core/test_services.h"
#include "platform/faulty_file_system.h"
#include "platform/memory_file_system.h"
#include "platform/services.h"
#include "platform/text_encoding.h"

using namespace kelvane;

namespace {

using bytes = std::vector<std::uint8_t>;

constexpr char16_t folder[] = u"\\Program Files\\Kelvane\\";
constexpr char16_t config_file[] = u"\\Program Files\\Kelvane\\Config.dat";
constexpr std::size_t config_size = 30028;

// "Config.dat" built by hand from the file's offsets.
struct config_image {
    bytes b = bytes(config_size, 0);
    config_image& i32(std::size_t at, std::int32_t v) {
        for (int i = 0; i < 4; ++i)
            b[at + i] = static_cast<std::uint8_t>(std::uint32_t(v) >> 8 * i);
        return *this;
    }
    config_image& text(std::size_t at, std::u16string_view t) {
        for (std::size_t i = 0; i < t.size(); ++i) {
            b[at + 2 * i] = static_cast<std::uint8_t>(t[i] & 0xff);
            b[at + 2 * i + 1] = static_cast<std::uint8_t>(t[i] >> 8);
        }
        return *this;
    }
    config_image& slot(int i, std::u16string_view name) { return text(4074 + 258 * i, name); }
};

config_image fresh_image(std::int32_t no_input_panel = 0) {
    config_image img;
    img.i32(0, 1)
        .text(468, folder)
        .text(1670, u"\\My Documents\\Kelvane_backup_auto\\")
        .i32(29920, no_input_panel);
    return img;
}

class Configuration : public ::testing::Test, protected kelvane::testing::test_services {
protected:
    void SetUp() override { configuration::make_folder_path(folder); }
    std::u16string data(std::u16string_view name) { return folder + std::u16string(name); }
    bytes saved() { return fs.bytes(config_file); }
};

// A store that records what the configuration asks of it.
class recording_store : public account_store {
public:
    recording_store(std::vector<std::u16string>& log, std::u16string tag)
        : log_(log), tag_(std::move(tag)) {}
    load_result load(std::u16string_view f, std::u16string_view name, bool keep) override {
        log_.push_back(tag_ + u" load " + std::u16string(f) + std::u16string(name) +
                       (keep ? u" keep" : u""));
        name_ = name;
        return load_result::loaded;
    }
    bool reset() override {
        log_.push_back(tag_ + u" reset");
        if (on_reset) on_reset();
        name_.clear();
        return true;
    }
    bool save_all() override { return true; }
    void clear_dirty() override {}
    std::u16string account_name() const override { return name_; }
    bool fresh() const override { return name_.empty(); }

    std::function<void()> on_reset;

private:
    std::vector<std::u16string>& log_;
    std::u16string tag_;
    std::u16string name_;
};

}  // namespace

TEST_F(Configuration, FreshDefaultsAtEveryOffset) {
    configuration c;
    EXPECT_EQ(c.current_account(), u"");
    EXPECT_EQ(c.last_page(), 0);
    EXPECT_FALSE(c.no_input_panel());
    ASSERT_TRUE(c.save_config());
    EXPECT_EQ(saved(), fresh_image().b);

    // Only a screen exactly 240 pixels high forbids the input panel.
    dev.set_screen_size(320, 240);
    configuration square;
    EXPECT_TRUE(square.no_input_panel());
    ASSERT_TRUE(square.save_config());
    EXPECT_EQ(saved(), fresh_image(1).b);
    dev.set_screen_size(240, 241);
    EXPECT_FALSE(configuration().no_input_panel());

    // A missing file keeps the defaults and says nothing.
    configuration loaded;
    fs.delete_file(config_file);
    loaded.load_config();
    EXPECT_EQ(loaded.auto_backup_folder(), u"\\My Documents\\Kelvane_backup_auto\\");
    EXPECT_TRUE(boxes.texts().empty());
}

TEST_F(Configuration, FileFromAnotherFolderLoadsWithOurOwnFolder) {
    config_image img;
    img.i32(0, 7).b[10] = 0xAB;  // reserved bytes travel unchanged
    img.text(204, u"Van")
        .i32(464, 4)
        .text(468, u"\\Storage Card\\Elsewhere\\")
        .text(1670, u"\\Backups\\")
        .text(2872, u"Deutsch")
        .slot(3, u"Van")
        .slot(99, u"Car")
        .i32(29908, 2026)
        .i32(29912, 11)
        .i32(29916, 30)
        .i32(29920, 1);
    img.b[29930] = 0xCD;
    fs.put(config_file, img.b);

    configuration c;
    c.load_config();
    EXPECT_EQ(c.data_folder(), folder);
    EXPECT_EQ(c.current_account(), u"Van");
    EXPECT_EQ(c.last_page(), 4);
    EXPECT_EQ(c.auto_backup_folder(), u"\\Backups\\");
    EXPECT_EQ(c.language_name(), u"Deutsch");
    EXPECT_EQ(c.account_slot(3), u"Van");
    EXPECT_EQ(c.account_slot(99), u"Car");
    EXPECT_EQ(c.account_slot(100), u"");
    EXPECT_EQ(c.last_auto_backup_year(), 2026);
    EXPECT_EQ(c.last_auto_backup_month(), 11);
    EXPECT_EQ(c.last_auto_backup_day(), 30);
    EXPECT_TRUE(c.no_input_panel());

    // Written back: our folder (zero-filled after it), marker 1, the rest as found.
    ASSERT_TRUE(c.save_config());
    config_image expected = img;
    expected.i32(0, 1);
    std::fill(expected.b.begin() + 468, expected.b.begin() + 1670, 0);
    expected.text(468, folder);
    EXPECT_EQ(saved(), expected.b);
}

TEST_F(Configuration, ShortFileKeepsTheTailAndLongFileIsCut) {
    configuration c;
    c.set_language_name(u"Français");
    ASSERT_EQ(c.add_account(u"Kept"), account_change::done);  // slot 0
    ASSERT_EQ(c.add_account(u"Tail"), account_change::done);  // slot 1

    // 4332 bytes reach just past slot 0.
    config_image img;
    img.text(204, u"Old").slot(0, u"Old");
    img.b.resize(4074 + 258);
    fs.put(config_file, img.b);
    c.load_config();
    EXPECT_EQ(c.current_account(), u"Old");
    EXPECT_EQ(c.account_slot(0), u"Old");
    EXPECT_EQ(c.account_slot(1), u"Tail");
    EXPECT_EQ(c.language_name(), u"");  // inside the short file: zero there
    EXPECT_EQ(c.auto_backup_folder(), u"");
    EXPECT_EQ(c.data_folder(), folder);

    // Bytes beyond the block are not read.
    config_image longer = fresh_image();
    longer.slot(0, u"First");
    longer.b.resize(config_size + 500, 0xEE);
    fs.put(config_file, longer.b);
    c.load_config();
    EXPECT_EQ(c.account_slot(0), u"First");
    ASSERT_TRUE(c.save_config());
    EXPECT_EQ(saved().size(), config_size);
}

TEST_F(Configuration, SlotsAreReusedAndListedInReverseSlotOrder) {
    configuration c;
    for (auto name : {u"Alpha", u"Bravo", u"Charlie"})
        EXPECT_EQ(c.add_account(name), account_change::done);
    EXPECT_EQ(c.delete_account(u"Bravo"), account_change::done);
    EXPECT_EQ(c.delete_account(u"Bravo"), account_change::refused);
    EXPECT_EQ(c.add_account(u"Delta"), account_change::done);
    EXPECT_EQ(c.account_slot(1), u"Delta");
    EXPECT_EQ(c.list_account_names(),
              (std::vector<std::u16string>{u"Charlie", u"Delta", u"Alpha"}));

    // Names are compared exactly.
    EXPECT_EQ(c.add_account(u"Alpha"), account_change::refused);
    EXPECT_EQ(c.add_account(u"alpha"), account_change::done);
    EXPECT_TRUE(c.account_exists(u"alpha"));
    EXPECT_FALSE(c.account_exists(u"ALPHA"));
    EXPECT_FALSE(c.account_exists(u""));

    // Each change is on disk at once.
    config_image expected = fresh_image();
    expected.slot(0, u"Alpha").slot(1, u"Delta").slot(2, u"Charlie").slot(3, u"alpha");
    EXPECT_EQ(saved(), expected.b);
}

TEST_F(Configuration, HundredAccountsAtMost) {
    configuration c;
    for (int i = 0; i < configuration::max_accounts; ++i)
        ASSERT_EQ(c.add_account(u"Car " + widen(std::to_string(i))), account_change::done);
    const auto before = saved();
    EXPECT_EQ(c.add_account(u"One too many"), account_change::refused);
    EXPECT_FALSE(c.account_exists(u"One too many"));
    EXPECT_EQ(saved(), before);
    EXPECT_EQ(c.list_account_names().size(), 100u);
    EXPECT_EQ(c.list_account_names().front(), u"Car 99");
}

TEST_F(Configuration, AccountNamesMustBePlainFileNames) {
    configuration c;
    for (std::u16string bad : std::vector<std::u16string>{
             u"", u".", u"..", u"a\\b", u"a/b", u"C:", u"a*", u"a?", u"\"q\"", u"<a", u"a>", u"a|b",
             u"tab\there", u"line\nbreak", std::u16string(u"nul\0x", 5), u"del\x7f"}) {
        EXPECT_EQ(c.add_account(bad), account_change::refused) << to_utf8(bad);
        EXPECT_FALSE(c.open_account(bad).opened) << to_utf8(bad);
    }
    EXPECT_FALSE(fs.file_exists(config_file));
    EXPECT_EQ(c.current_account(), u"");

    for (auto good : {u"...", u".Car", u"Mazda 3 (2006)", u"Jeep-Ö #2", u"车"})
        EXPECT_EQ(c.add_account(good), account_change::done) << to_utf8(good);

    // A longer name is cut to the 128 characters its slot holds.
    const std::u16string long_name(130, u'x');
    ASSERT_EQ(c.add_account(long_name), account_change::done);
    EXPECT_TRUE(c.account_exists(std::u16string(128, u'x')));
    EXPECT_EQ(c.add_account(long_name), account_change::refused);
    EXPECT_EQ(c.add_account(std::u16string(129, u'x')), account_change::refused);
}

TEST_F(Configuration, UnsafeNameFromAFileNeverReachesTheFileSystem) {
    // A damaged or hand-made file may hold any name; deleting it clears the
    // slot without touching files outside the data folder.
    config_image img = fresh_image();
    img.slot(0, u"..\\Windows").text(204, u"..\\Windows");
    fs.put(config_file, img.b);
    const auto outside = std::u16string(folder) + u"..\\Windows.ful";
    fs.put(outside, {1, 2, 3});

    std::vector<std::u16string> log;
    recording_store fuel(log, u"fuel");
    configuration c;
    c.attach_stores({&fuel, nullptr, nullptr});
    c.load_config();
    EXPECT_EQ(c.current_account(), u"");
    EXPECT_FALSE(c.open_account(u"..\\Windows").opened);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(c.delete_account(u"..\\Windows"), account_change::done);
    EXPECT_EQ(c.account_slot(0), u"");
    EXPECT_EQ(fs.bytes(outside), (bytes{1, 2, 3}));
    EXPECT_FALSE(fs.folder_exists(data(u"Deleted")));
}

TEST_F(Configuration, DeleteMovesTheFilesAside) {
    configuration c;
    c.add_account(u"Car");
    c.add_account(u"Van");
    c.open_account(u"Van");
    fs.put(data(u"Car.ful"), {1});
    fs.put(data(u"Car.mat"), {2});
    fs.put(data(u"Car.fee"), {3});

    ASSERT_EQ(c.delete_account(u"Car"), account_change::done);
    EXPECT_EQ(fs.bytes(data(u"Deleted\\Car.ful")), bytes{1});
    EXPECT_EQ(fs.bytes(data(u"Deleted\\Car.mat")), bytes{2});
    EXPECT_EQ(fs.bytes(data(u"Deleted\\Car.fee")), bytes{3});
    for (auto f : {u"Car.ful", u"Car.mat", u"Car.fee"}) EXPECT_FALSE(fs.file_exists(data(f)));
    // Whichever account was open, none is open now, and that is saved.
    EXPECT_EQ(c.current_account(), u"");
    config_image expected = fresh_image();
    expected.slot(1, u"Van");
    EXPECT_EQ(saved(), expected.b);

    // The same name again, this time with a fuel file only: "Deleted" then
    // holds that file alone, nothing of the first Car.
    c.add_account(u"Car");
    fs.put(data(u"Car.ful"), {9, 9});
    ASSERT_EQ(c.delete_account(u"Car"), account_change::done);
    EXPECT_EQ(fs.bytes(data(u"Deleted\\Car.ful")), (bytes{9, 9}));
    EXPECT_FALSE(fs.file_exists(data(u"Deleted\\Car.mat")));
    EXPECT_FALSE(fs.file_exists(data(u"Deleted\\Car.fee")));
    EXPECT_TRUE(boxes.texts().empty());
}

TEST_F(Configuration, DeleteKeepsFilesThatCouldNotBeMovedAside) {
    configuration c;
    c.add_account(u"Car");
    fs.put(data(u"Car.ful"), {1});
    fs.put(data(u"Deleted"), {0});  // a file where the folder should be
    ASSERT_EQ(c.delete_account(u"Car"), account_change::done);
    EXPECT_FALSE(c.account_exists(u"Car"));
    EXPECT_EQ(fs.bytes(data(u"Car.ful")), bytes{1});
}

TEST_F(Configuration, OpenAndDeleteDriveTheAttachedStores) {
    std::vector<std::u16string> log;
    recording_store fuel(log, u"fuel"), maint(log, u"maint"), fees(log, u"fees");
    configuration c;
    c.attach_stores({&fuel, &maint, &fees});
    c.add_account(u"Car");
    ASSERT_TRUE(c.open_account(u"Car").opened);
    const std::u16string f = folder;
    EXPECT_EQ(log,
              (std::vector<std::u16string>{u"fuel load " + f + u"Car", u"maint load " + f + u"Car",
                                           u"fees load " + f + u"Car"}));
    EXPECT_EQ(c.current_account(), u"Car");
    config_image expected = fresh_image();
    expected.slot(0, u"Car").text(204, u"Car");
    EXPECT_EQ(saved(), expected.b);

    // Pending changes are written before the files move, so they end up in
    // "Deleted" and do not bring the account's file back afterwards.
    log.clear();
    fuel.on_reset = [&] { fs.put(data(u"Car.ful"), {4, 2}); };
    ASSERT_EQ(c.delete_account(u"Car"), account_change::done);
    EXPECT_EQ(log, (std::vector<std::u16string>{u"fuel reset", u"maint reset", u"fees reset"}));
    EXPECT_EQ(fs.bytes(data(u"Deleted\\Car.ful")), (bytes{4, 2}));
    EXPECT_FALSE(fs.file_exists(data(u"Car.ful")));

    // Stores holding another account are left alone.
    c.add_account(u"Van");
    c.add_account(u"Bus");
    c.open_account(u"Van");
    log.clear();
    c.delete_account(u"Bus");
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(fuel.account_name(), u"Van");
}

TEST_F(Configuration, FolderHelpers) {
    configuration::make_folder_path(u"\\My Documents\\A\\B\\file.csv");
    EXPECT_TRUE(fs.folder_exists(u"\\My Documents\\A\\B"));
    EXPECT_FALSE(fs.file_exists(u"\\My Documents\\A\\B\\file.csv"));
    configuration::make_folder_path(u"no backslash");
    configuration::make_folder_path(u"\\");

    fs.put(u"\\Src\\a.txt", {5});
    fs.put(u"\\Dst\\a.txt", {6});
    EXPECT_TRUE(configuration::copy_into_folder(u"\\Src\\", u"\\Dst\\", u"a.txt"));
    EXPECT_EQ(fs.bytes(u"\\Dst\\a.txt"), bytes{5});
    EXPECT_TRUE(configuration::copy_into_folder(u"\\Src\\", u"\\New\\", u"a.txt"));
    EXPECT_EQ(fs.bytes(u"\\New\\a.txt"), bytes{5});
    EXPECT_FALSE(configuration::copy_into_folder(u"\\Src\\", u"\\New\\", u"missing.txt"));
}

TEST_F(Configuration, EveryFailedWriteKeepsThePreviousFile) {
    faulty_file_system faulty(fs);
    scoped_services with_faults{{&faulty}};
    configuration c;
    c.add_account(u"Car");
    const auto before = saved();
    ASSERT_EQ(before.size(), config_size);

    faulty.reset_counters();
    ASSERT_TRUE(c.save_config());
    const int opens = faulty.opens(), writes = faulty.writes(), replaces = faulty.replaces();
    ASSERT_GT(opens, 0);
    ASSERT_GT(writes, 0);
    ASSERT_GT(replaces, 0);

    auto check = [&](const char* what, int k) {
        boxes.clear();
        c.set_language_name(u"Changed");
        EXPECT_FALSE(c.save_config()) << what << " " << k;
        EXPECT_EQ(saved(), before) << what << " " << k;
        EXPECT_EQ(boxes.texts(), std::vector<std::u16string>{msg_write_failed}) << what << " " << k;
        EXPECT_EQ(fs.files().size(), 1u) << what << " " << k;  // no temporary file left
        EXPECT_EQ(c.language_name(), u"Changed");
        c.set_language_name(u"");
    };
    for (int k = 1; k <= opens; ++k) {
        faulty.fail_open(k);
        check("open", k);
    }
    faulty.fail_open(0);
    for (int k = 1; k <= writes; ++k) {
        faulty.fail_write(k);
        check("write", k);
    }
    faulty.fail_write(0);
    for (int k = 1; k <= replaces; ++k) {
        faulty.fail_replace(k);
        check("replace", k);
    }
    faulty.fail_replace(0);

    // The changes held in memory reach the file with the next good save.
    c.set_language_name(u"Later");
    boxes.clear();
    EXPECT_TRUE(c.save_config());
    EXPECT_TRUE(boxes.texts().empty());
    config_image expected = fresh_image();
    expected.slot(0, u"Car").text(2872, u"Later");
    EXPECT_EQ(saved(), expected.b);
}

// The callers of the account operations learn what the owner is shown: a
// Config.dat that did not take the change, and an account file that could
// not be read. The change is kept in memory and the account opened all the same.
TEST_F(Configuration, AccountOperationsReportFailedSavesAndDamagedFiles) {
    fuel_store fuel;
    service_store maintenance;
    fee_store fees;
    configuration c;
    c.attach_stores({&fuel, &maintenance, &fees});
    faulty_file_system faulty(fs);
    scoped_services with_faults{{&faulty}};

    faulty.fail_replace(1);
    EXPECT_EQ(c.add_account(u"Car"), account_change::not_saved);
    faulty.fail_replace(0);
    EXPECT_TRUE(c.account_exists(u"Car"));

    fs.put(data(u"Car.mat"), bytes(100, 7));
    boxes.clear();
    const account_opening damaged = c.open_account(u"Car");
    EXPECT_TRUE(damaged.opened);
    EXPECT_TRUE(damaged.damaged_file);
    EXPECT_FALSE(damaged.not_saved);
    EXPECT_EQ(c.current_account(), u"Car");
    EXPECT_EQ(boxes.texts(), std::vector<std::u16string>{msg_format_error});

    fs.delete_file(data(u"Car.mat"));
    faulty.fail_replace(1);
    const account_opening unsaved = c.open_account(u"Car");
    faulty.fail_replace(0);
    EXPECT_FALSE(unsaved.damaged_file);
    EXPECT_TRUE(unsaved.not_saved);

    faulty.fail_replace(1);
    EXPECT_EQ(c.delete_account(u"Car"), account_change::not_saved);
    faulty.fail_replace(0);
    EXPECT_FALSE(c.account_exists(u"Car"));
}

TEST_F(Configuration, MissingDataFolderIsReportedOnSave) {
    fs.delete_file(config_file);
    dev.set_program_path(u"\\Nowhere\\Kelvane.exe");
    configuration c;
    EXPECT_FALSE(c.save_config());
    EXPECT_EQ(boxes.texts(), std::vector<std::u16string>{msg_write_failed});
    EXPECT_EQ(boxes.boxes().front().caption, u"Kelvane");
}
