#include <gtest/gtest.h>

#include <functional>

#include "core/accounts/configuration.h"
#include "core/common/folders.h"
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

class configuration_test : public ::testing::Test, protected kelvane::testing::test_services {
protected:
    void SetUp() override { make_folder_path(folder); }
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

TEST_F(configuration_test, fresh_defaults_at_every_offset) {
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
    (void)loaded.load_config();
    EXPECT_EQ(loaded.auto_backup_folder(), u"\\My Documents\\Kelvane_backup_auto\\");
    EXPECT_TRUE(boxes.texts().empty());
}

TEST_F(configuration_test, file_from_another_folder_loads_with_our_own_folder) {
    config_image img;
    img.i32(0, 1).b[10] = 0xAB;  // reserved bytes travel unchanged
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
    (void)c.load_config();
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

    // Written back: our folder (zero-filled after it), the rest as found.
    ASSERT_TRUE(c.save_config());
    config_image expected = img;
    std::fill(expected.b.begin() + 468, expected.b.begin() + 1670, 0);
    expected.text(468, folder);
    EXPECT_EQ(saved(), expected.b);
}

TEST_F(configuration_test, bytes_beyond_the_block_are_not_read) {
    config_image longer = fresh_image();
    longer.slot(0, u"First");
    longer.b.resize(config_size + 500, 0xEE);
    fs.put(config_file, longer.b);
    configuration c;
    EXPECT_EQ(c.load_config(), load_result::loaded);
    EXPECT_EQ(c.account_slot(0), u"First");
    ASSERT_TRUE(c.save_config());
    EXPECT_EQ(saved().size(), config_size);
}

// A Config.dat that is not a whole configuration (cut short, another kind of
// file, broken texts) must not empty the list of vehicles: it is kept as it
// was, the owner is told, and the list is found again from the record files.
TEST_F(configuration_test, damaged_file_is_kept_and_the_vehicles_are_found_again) {
    config_image whole = fresh_image();
    whole.slot(0, u"Van").slot(1, u"Car").text(204, u"Car").text(2872, u"Deutsch");
    config_image wrong_marker = whole;
    wrong_marker.i32(0, 0x464C457F);  // some other file's first bytes
    config_image broken_text = whole;
    for (std::size_t at = 4074; at < 4074 + 258; ++at) broken_text.b[at] = 'x';
    bytes cut = whole.b;
    cut.resize(4074 + 258);  // the first slot and nothing after it

    for (const bytes& damaged : {cut, wrong_marker.b, broken_text.b, bytes{}}) {
        fs.put(config_file, damaged);
        fs.put(data(u"Van.ful"), {1});
        fs.put(data(u"Car.mat"), {2});  // an account with no fuel file yet
        fs.put(data(u"Car.fee"), {3});
        fs.put(data(u"Notes.txt"), {4});
        fs.delete_file(data(u"Config.dat.unreadable"));
        boxes.clear();

        configuration c;
        ASSERT_EQ(c.load_config(), load_result::damaged) << damaged.size();
        EXPECT_EQ(fs.bytes(data(u"Config.dat.unreadable")), damaged);
        ASSERT_TRUE(c.rescue().has_value());
        EXPECT_EQ(c.rescue()->kept_copy, data(u"Config.dat.unreadable"));
        EXPECT_EQ(c.rescue()->accounts_found, 2);
        EXPECT_EQ(c.list_account_names(), (std::vector<std::u16string>{u"Van", u"Car"}));
        // The other settings start from their defaults.
        EXPECT_EQ(c.language_name(), u"");
        // The open account survives where that part of the file is readable.
        const bool open_readable = damaged.size() > 462;
        EXPECT_EQ(c.current_account(), open_readable ? u"Car" : u"") << damaged.size();

        // The list found is written at once, as a whole configuration.
        config_image rebuilt = fresh_image();
        rebuilt.slot(0, u"Car").slot(1, u"Van");
        if (open_readable) rebuilt.text(204, u"Car");
        EXPECT_EQ(saved(), rebuilt.b);

        configuration::report_config_rescue(*c.rescue());
        ASSERT_EQ(boxes.texts().size(), 1u);
        EXPECT_NE(boxes.texts()[0].find(data(u"Config.dat.unreadable")), std::u16string::npos);

        // The next start finds a whole file and keeps no further copy.
        configuration again;
        EXPECT_EQ(again.load_config(), load_result::loaded);
        EXPECT_FALSE(fs.file_exists(data(u"Config.dat.unreadable2")));
    }
}

// While no copy of a damaged Config.dat can be made, it is never written over.
TEST_F(configuration_test, damaged_file_is_not_written_over_before_it_is_kept) {
    faulty_file_system faulty(fs);
    scoped_services with_faults{{&faulty}};
    const bytes damaged(100, 0x42);
    fs.put(config_file, damaged);
    fs.put(data(u"Van.ful"), {1});

    configuration c;
    faulty.fail_replace(1);  // the copy's last step
    ASSERT_EQ(c.load_config(), load_result::damaged);
    faulty.fail_replace(0);
    EXPECT_EQ(c.rescue()->kept_copy, u"");
    EXPECT_EQ(c.list_account_names(), std::vector<std::u16string>{u"Van"});
    EXPECT_EQ(saved(), damaged);

    faulty.fail_replace(1);
    boxes.clear();
    EXPECT_FALSE(c.save_config());
    faulty.fail_replace(0);
    EXPECT_EQ(boxes.texts(), std::vector<std::u16string>{msg_write_failed});
    EXPECT_EQ(saved(), damaged);

    // Once the copy is made the configuration is written.
    EXPECT_TRUE(c.save_config());
    EXPECT_EQ(fs.bytes(data(u"Config.dat.unreadable")), damaged);
    EXPECT_EQ(saved().size(), config_size);
}

TEST_F(configuration_test, slots_are_reused_and_listed_in_reverse_slot_order) {
    configuration c;
    for (auto name : {u"Alpha", u"Bravo", u"Charlie"})
        EXPECT_EQ(c.add_account(name), account_change::done);
    EXPECT_EQ(c.delete_account(u"Bravo"), account_change::done);
    EXPECT_EQ(c.delete_account(u"Bravo"), account_change::refused);
    EXPECT_EQ(c.add_account(u"Delta"), account_change::done);
    EXPECT_EQ(c.account_slot(1), u"Delta");
    EXPECT_EQ(c.list_account_names(),
              (std::vector<std::u16string>{u"Charlie", u"Delta", u"Alpha"}));

    EXPECT_EQ(c.add_account(u"Alpha"), account_change::refused);
    EXPECT_FALSE(c.account_exists(u""));

    // Each change is on disk at once.
    config_image expected = fresh_image();
    expected.slot(0, u"Alpha").slot(1, u"Delta").slot(2, u"Charlie");
    EXPECT_EQ(saved(), expected.b);
}

// Names that differ only in letter case are one set of files on the
// handheld, Windows and macOS: a new one is refused. Two such accounts made
// before both still load.
TEST_F(configuration_test, names_that_differ_only_in_case_share_files_and_are_refused) {
    configuration c;
    ASSERT_EQ(c.add_account(u"Car"), account_change::done);
    ASSERT_EQ(c.add_account(u"\u00C9t\u00E9"), account_change::done);  // "Été"
    const auto before = saved();
    for (auto alike : {u"car", u"CAR", u"\u00E9T\u00C9", u"\u00E9t\u00E9"}) {
        EXPECT_EQ(c.add_account(alike), account_change::refused) << to_utf8(alike);
        EXPECT_FALSE(c.account_named_alike(alike).empty()) << to_utf8(alike);
    }
    EXPECT_EQ(c.account_named_alike(u"cAr"), u"Car");
    EXPECT_EQ(c.account_named_alike(u"Cars"), u"");
    EXPECT_EQ(saved(), before);
    EXPECT_EQ(c.add_account(u"Car 2"), account_change::done);

    config_image both = fresh_image();
    both.slot(0, u"Car").slot(1, u"car").text(204, u"car");
    fs.put(config_file, both.b);
    configuration old;
    EXPECT_EQ(old.load_config(), load_result::loaded);
    EXPECT_EQ(old.list_account_names(), (std::vector<std::u16string>{u"car", u"Car"}));
    EXPECT_EQ(old.current_account(), u"car");
    EXPECT_TRUE(old.open_account(u"Car").opened);
}

TEST_F(configuration_test, hundred_accounts_at_most) {
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

TEST_F(configuration_test, account_names_must_be_plain_file_names) {
    configuration c;
    for (std::u16string bad : std::vector<std::u16string>{
             u"", u".", u"..", u"a\\b", u"a/b", u"C:", u"a*", u"a?", u"\"q\"", u"<a", u"a>", u"a|b",
             u"tab\there", u"line\nbreak", std::u16string(u"nul\0x", 5), u"del\x7f"}) {
        EXPECT_EQ(c.add_account(bad), account_change::refused) << to_utf8(bad);
        EXPECT_FALSE(c.open_account(bad).opened) << to_utf8(bad);
    }
    EXPECT_FALSE(fs.file_exists(config_file));
    EXPECT_EQ(c.current_account(), u"");

    for (auto good : {u"...Car", u".Car", u"Mazda 3 (2006)", u"Jeep-Ö #2", u"车"})
        EXPECT_EQ(c.add_account(good), account_change::done) << to_utf8(good);

    // A longer name is cut to the 128 characters its slot holds.
    const std::u16string long_name(130, u'x');
    ASSERT_EQ(c.add_account(long_name), account_change::done);
    EXPECT_TRUE(c.account_exists(std::u16string(128, u'x')));
    EXPECT_EQ(c.add_account(long_name), account_change::refused);
    EXPECT_EQ(c.add_account(std::u16string(129, u'x')), account_change::refused);

    // The host stores a file name as UTF-8 in at most 255 bytes: 128 wide
    // characters fit a slot but not a file name, and an account made of them
    // could never be written. A broken surrogate pair has no UTF-8 form.
    const std::u16string wide(128, u'\u8F66');
    EXPECT_FALSE(configuration::is_valid_account_name(wide));
    EXPECT_EQ(c.add_account(wide), account_change::refused);
    EXPECT_TRUE(configuration::is_valid_account_name(std::u16string(74, u'\u8F66')));
    EXPECT_FALSE(configuration::is_valid_account_name(std::u16string{u'a', 0xD800, u'b'}));
    EXPECT_FALSE(configuration::is_valid_account_name(u"a\xDC00"));
    EXPECT_TRUE(configuration::is_valid_account_name(u"car \U0001F697"));
}

TEST_F(configuration_test, unsafe_name_from_a_file_never_reaches_the_file_system) {
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
    (void)c.load_config();
    EXPECT_EQ(c.current_account(), u"");
    EXPECT_FALSE(c.open_account(u"..\\Windows").opened);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(c.delete_account(u"..\\Windows"), account_change::done);
    EXPECT_EQ(c.account_slot(0), u"");
    EXPECT_EQ(fs.bytes(outside), (bytes{1, 2, 3}));
    EXPECT_FALSE(fs.folder_exists(data(u"Deleted")));

    // Nor does an open account that no slot registers: its files would be
    // read and written for a vehicle the lists do not show.
    config_image unregistered = fresh_image();
    unregistered.slot(0, u"Car").text(204, u"Bus");
    fs.put(config_file, unregistered.b);
    configuration other;
    EXPECT_EQ(other.load_config(), load_result::loaded);
    EXPECT_EQ(other.current_account(), u"");
}

TEST_F(configuration_test, delete_moves_the_files_aside) {
    configuration c;
    EXPECT_EQ(account_change::done, c.add_account(u"Car"));
    EXPECT_EQ(account_change::done, c.add_account(u"Van"));
    EXPECT_TRUE(c.open_account(u"Van").opened);
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
    EXPECT_EQ(account_change::done, c.add_account(u"Car"));
    fs.put(data(u"Car.ful"), {9, 9});
    ASSERT_EQ(c.delete_account(u"Car"), account_change::done);
    EXPECT_EQ(fs.bytes(data(u"Deleted\\Car.ful")), (bytes{9, 9}));
    EXPECT_FALSE(fs.file_exists(data(u"Deleted\\Car.mat")));
    EXPECT_FALSE(fs.file_exists(data(u"Deleted\\Car.fee")));
    EXPECT_TRUE(boxes.texts().empty());

    // A deletion cut off by an older version left the vehicle listed with
    // its files only in "Deleted": deleting it again keeps those copies.
    EXPECT_EQ(account_change::done, c.add_account(u"Pickup"));
    fs.put(data(u"Deleted\\Pickup.ful"), {7});
    fs.put(data(u"Deleted\\Pickup.mat"), {8});
    ASSERT_EQ(c.delete_account(u"Pickup"), account_change::done);
    EXPECT_EQ(fs.bytes(data(u"Deleted\\Pickup.ful")), bytes{7});
    EXPECT_EQ(fs.bytes(data(u"Deleted\\Pickup.mat")), bytes{8});
}

TEST_F(configuration_test, names_the_handhelds_file_system_cannot_hold_are_refused) {
    for (std::u16string_view name :
         {u"CON", u"nul", u"Aux", u"PRN", u"COM1", u"lpt9", u"con.car", u"NUL .x", u" ", u"Car.",
          u"Car ", u"Car\u202Elif.exe", u"a\u200Fb", u"\u2066x"}) {
        EXPECT_FALSE(configuration::is_valid_account_name(name)) << to_utf8(name);
        configuration c;
        EXPECT_EQ(c.add_account(name), account_change::refused) << to_utf8(name);
    }
    for (std::u16string_view name : {u"Console", u"COM", u"COM10", u"LPT", u"Car.1", u" Car"})
        EXPECT_TRUE(configuration::is_valid_account_name(name)) << to_utf8(name);
}

// A vehicle whose files cannot be moved into "Deleted" is not deleted: it
// stays in the list with its files, and the owner learns which file it was.
TEST_F(configuration_test, delete_keeps_the_account_when_its_files_cannot_be_moved) {
    configuration c;
    EXPECT_EQ(account_change::done, c.add_account(u"Car"));
    EXPECT_TRUE(c.open_account(u"Car").opened);
    fs.put(data(u"Car.ful"), {1});
    fs.put(data(u"Car.mat"), {2});
    fs.put(data(u"Deleted"), {0});  // a file where the folder should be
    const auto before = saved();
    ASSERT_EQ(c.delete_account(u"Car"), account_change::files_kept);
    EXPECT_TRUE(c.account_exists(u"Car"));
    EXPECT_EQ(c.current_account(), u"Car");
    EXPECT_EQ(saved(), before);
    EXPECT_EQ(fs.bytes(data(u"Car.ful")), bytes{1});
    EXPECT_EQ(fs.bytes(data(u"Car.mat")), bytes{2});
    ASSERT_EQ(boxes.texts().size(), 1u);
    EXPECT_NE(boxes.texts()[0].find(data(u"Car.")), std::u16string::npos);

    // A move that fails after the copies were made: the vehicle stays whole.
    fs.delete_file(data(u"Deleted"));
    faulty_file_system faulty(fs);
    scoped_services with_faults{{&faulty}};
    int kept = 0;
    for (int k = 1;; ++k) {
        faulty.fail_replace(k);
        const account_change result = c.delete_account(u"Car");
        faulty.fail_replace(0);
        if (result == account_change::done) break;
        ++kept;
        EXPECT_EQ(result, account_change::files_kept);
        EXPECT_EQ(fs.bytes(data(u"Car.ful")), bytes{1}) << k;
        EXPECT_EQ(fs.bytes(data(u"Car.mat")), bytes{2}) << k;
        EXPECT_TRUE(c.account_exists(u"Car"));
    }
    EXPECT_GT(kept, 3);
    EXPECT_EQ(account_change::done, c.add_account(u"Car"));
    fs.put(data(u"Car.ful"), {1});
    fs.put(data(u"Car.mat"), {2});

    // Stopped at any point, the deletion leaves the vehicle's files whole in
    // one place or the other.
    faulty.reset_counters();
    ASSERT_EQ(c.delete_account(u"Car"), account_change::done);
    const int changes = faulty.changes();
    for (int k = 1; k <= changes; ++k) {
        configuration again;
        EXPECT_EQ(account_change::done, again.add_account(u"Car"));
        fs.put(data(u"Car.ful"), {1});
        fs.put(data(u"Car.mat"), {2});
        faulty.stop_after_change(k);
        (void)again.delete_account(u"Car");
        faulty.stop_after_change(0);
        const bool in_data =
            fs.bytes(data(u"Car.ful")) == bytes{1} && fs.bytes(data(u"Car.mat")) == bytes{2};
        const bool in_deleted = fs.bytes(data(u"Deleted\\Car.ful")) == bytes{1} &&
                                fs.bytes(data(u"Deleted\\Car.mat")) == bytes{2};
        EXPECT_TRUE(in_data || in_deleted) << "stopped after change " << k;
    }
}

TEST_F(configuration_test, open_and_delete_drive_the_attached_stores) {
    std::vector<std::u16string> log;
    recording_store fuel(log, u"fuel"), maint(log, u"maint"), fees(log, u"fees");
    configuration c;
    c.attach_stores({&fuel, &maint, &fees});
    EXPECT_EQ(account_change::done, c.add_account(u"Car"));
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
    EXPECT_EQ(account_change::done, c.add_account(u"Van"));
    EXPECT_EQ(account_change::done, c.add_account(u"Bus"));
    EXPECT_TRUE(c.open_account(u"Van").opened);
    log.clear();
    EXPECT_EQ(account_change::done, c.delete_account(u"Bus"));
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(fuel.account_name(), u"Van");
}

TEST_F(configuration_test, folder_helpers) {
    make_folder_path(u"\\My Documents\\A\\B\\file.csv");
    EXPECT_TRUE(fs.folder_exists(u"\\My Documents\\A\\B"));
    EXPECT_FALSE(fs.file_exists(u"\\My Documents\\A\\B\\file.csv"));
    make_folder_path(u"no backslash");
    make_folder_path(u"\\");

    fs.put(u"\\Src\\a.txt", {5});
    fs.put(u"\\Dst\\a.txt", {6});
    EXPECT_TRUE(copy_into_folder(u"\\Src\\", u"\\Dst\\", u"a.txt"));
    EXPECT_EQ(fs.bytes(u"\\Dst\\a.txt"), bytes{5});
    EXPECT_TRUE(copy_into_folder(u"\\Src\\", u"\\New\\", u"a.txt"));
    EXPECT_EQ(fs.bytes(u"\\New\\a.txt"), bytes{5});
    EXPECT_FALSE(copy_into_folder(u"\\Src\\", u"\\New\\", u"missing.txt"));
}

TEST_F(configuration_test, every_failed_write_keeps_the_previous_file) {
    faulty_file_system faulty(fs);
    scoped_services with_faults{{&faulty}};
    configuration c;
    EXPECT_EQ(account_change::done, c.add_account(u"Car"));
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
TEST_F(configuration_test, account_operations_report_failed_saves_and_damaged_files) {
    fuel_store fuel;
    service_store service;
    fee_store fees;
    configuration c;
    c.attach_stores({&fuel, &service, &fees});
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

    // A deletion whose files cannot go keeps the vehicle listed.
    faulty.fail_replace(1);
    EXPECT_EQ(c.delete_account(u"Car"), account_change::files_kept);
    faulty.fail_replace(0);
    EXPECT_TRUE(c.account_exists(u"Car"));
}

TEST_F(configuration_test, missing_data_folder_is_reported_on_save) {
    fs.delete_file(config_file);
    dev.set_program_path(u"\\Nowhere\\Kelvane.exe");
    configuration c;
    EXPECT_FALSE(c.save_config());
    EXPECT_EQ(boxes.texts(), std::vector<std::u16string>{msg_write_failed});
    EXPECT_EQ(boxes.boxes().front().caption, u"Kelvane");
}
