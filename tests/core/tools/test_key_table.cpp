#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/common/messages.h"
#include "core/test_services.h"
#include "core/tools/key_capture.h"
#include "core/tools/key_table.h"
#include "platform/faulty_file_system.h"
#include "platform/memory_file_system.h"
#include "platform/services.h"

using namespace kelvane;

namespace {

constexpr char16_t table_path[] = u"\\Program Files\\Kelvane\\Config_key.dat";
constexpr char16_t log_path[] = u"\\Program Files\\Kelvane\\Debug.txt";

struct key_table_test : ::testing::Test, kelvane::testing::test_services {
    key_table_test() {
        fs.create_folder(u"\\Program Files");
        fs.create_folder(u"\\Program Files\\Kelvane");
    }
};

// The 180 bytes of a table file, built by hand: 12 slots of (code, character, 0).
std::vector<std::uint8_t> file_bytes(const std::vector<std::uint16_t>& codes) {
    const char16_t chars[] = u"1234567890.c";
    std::vector<std::uint8_t> out(180, 0);
    for (std::size_t i = 0; i < codes.size(); ++i) {
        out[i * 6] = codes[i] & 0xFF;
        out[i * 6 + 1] = codes[i] >> 8;
        out[i * 6 + 2] = static_cast<std::uint8_t>(chars[i]);
    }
    return out;
}

const std::vector<std::uint16_t> motorola_codes = {87, 69, 82, 83, 68, 70, 90, 88, 67, 63, 190, 81};
const std::vector<std::uint16_t> samsung_codes = {69, 84, 85, 68, 71, 74, 88, 86, 78, 32, 190, 81};

// UTF-16LE bytes of an ASCII-and-Latin-1 text.
std::vector<std::uint8_t> utf16le(std::u16string_view text) {
    std::vector<std::uint8_t> out;
    for (char16_t c : text) {
        out.push_back(c & 0xFF);
        out.push_back(c >> 8);
    }
    return out;
}

}  // namespace

TEST_F(key_table_test, built_in_table_and_presets_in_file_layout) {
    key_table table;
    EXPECT_EQ(table.to_bytes(), file_bytes(motorola_codes));
    table.apply_preset(key_preset::samsung);
    EXPECT_EQ(table.to_bytes(), file_bytes(samsung_codes));
    EXPECT_EQ(table.character_of_key(32), u'0');
    EXPECT_EQ(table.character_of_key(87), 0);
    table.apply_preset(key_preset::motorola_q);
    EXPECT_EQ(table.character_of_key(87), u'1');
    EXPECT_EQ(table.character_of_key(0), 0);
}

TEST_F(key_table_test, load_reads_the_file_over_the_built_in_table) {
    key_table table;
    EXPECT_EQ(table.load(), load_result::missing);
    EXPECT_EQ(table.to_bytes(), file_bytes(motorola_codes));

    fs.put(table_path, file_bytes(samsung_codes));
    EXPECT_EQ(table.load(), load_result::loaded);
    EXPECT_EQ(table.to_bytes(), file_bytes(samsung_codes));
    EXPECT_TRUE(boxes.texts().empty());
}

TEST_F(key_table_test, short_file_replaces_only_what_it_holds) {
    // Two whole slots and the low byte of the third slot's key code.
    auto samsung = file_bytes(samsung_codes);
    fs.put(table_path, {samsung.begin(), samsung.begin() + 13});
    key_table table;
    EXPECT_EQ(table.load(), load_result::loaded);
    EXPECT_EQ(table.slot(0).key_code, 69);
    EXPECT_EQ(table.slot(1).key_code, 84);
    EXPECT_EQ(table.slot(2).key_code, 85);  // 82 (0x52) with its low byte replaced by 0x55
    auto expected = file_bytes(motorola_codes);
    std::copy(samsung.begin(), samsung.begin() + 13, expected.begin());
    EXPECT_EQ(table.to_bytes(), expected);

    // A longer file gives only its first 180 bytes.
    auto longer = file_bytes(samsung_codes);
    longer.resize(200, 0x77);
    fs.put(table_path, longer);
    EXPECT_EQ(table.load(), load_result::loaded);
    EXPECT_EQ(table.to_bytes(), file_bytes(samsung_codes));
}

TEST_F(key_table_test, save_writes_the_whole_table) {
    key_table table;
    table.apply_preset(key_preset::samsung);
    table.slot(29).reserved = 0x1234;
    ASSERT_TRUE(table.save());
    auto expected = file_bytes(samsung_codes);
    expected[178] = 0x34;
    expected[179] = 0x12;
    EXPECT_EQ(fs.bytes(table_path), expected);
    EXPECT_EQ(fs.files().size(), 1u);
}

TEST_F(key_table_test, save_failure_is_reported_and_keeps_the_old_file) {
    faulty_file_system faulty(fs);
    scoped_services f{{&faulty}};
    fs.put(table_path, file_bytes(motorola_codes));
    key_table table;
    table.apply_preset(key_preset::samsung);
    for (int k = 1; k <= 2; ++k) {
        boxes.clear();
        if (k == 1)
            faulty.fail_open(1), faulty.fail_write(0);
        else
            faulty.fail_open(0), faulty.fail_write(1);
        EXPECT_FALSE(table.save()) << k;
        EXPECT_EQ(boxes.texts(), std::vector<std::u16string>{msg_write_failed}) << k;
        EXPECT_EQ(fs.bytes(table_path), file_bytes(motorola_codes)) << k;
        EXPECT_EQ(fs.files().size(), 1u) << k;
    }
    faulty.fail_write(0);
    faulty.fail_replace(1);
    EXPECT_FALSE(table.save());
    EXPECT_EQ(fs.bytes(table_path), file_bytes(motorola_codes));
}

TEST_F(key_table_test, capture_fills_the_twelve_slots_in_order) {
    key_table table;
    key_capture screen(table);
    EXPECT_FALSE(screen.capturing());
    EXPECT_FALSE(screen.capture(65));  // not capturing: nothing happens
    EXPECT_EQ(screen.working(), table);

    screen.start();
    EXPECT_EQ(screen.position(), 0);
    for (int i = 0; i < key_table::slot_count; ++i) EXPECT_EQ(screen.working().slot(i).key_code, 0);

    for (int i = 0; i < 12; ++i) EXPECT_TRUE(screen.capture(samsung_codes[i]));
    EXPECT_EQ(screen.position(), -1);
    EXPECT_EQ(screen.working().to_bytes(), file_bytes(samsung_codes));
    // A thirteenth key changes nothing.
    EXPECT_FALSE(screen.capture(70));
    EXPECT_EQ(screen.working().to_bytes(), file_bytes(samsung_codes));

    // Leaving without saving keeps the former table; saving replaces and writes it.
    EXPECT_EQ(table.to_bytes(), file_bytes(motorola_codes));
    EXPECT_TRUE(screen.save_to(table));
    EXPECT_EQ(table.to_bytes(), file_bytes(samsung_codes));
    EXPECT_EQ(fs.bytes(table_path), file_bytes(samsung_codes));
}

TEST_F(key_table_test, preset_during_capture_keeps_capturing) {
    key_capture screen(key_table{});
    screen.start();
    screen.capture(49);
    screen.capture(50);
    screen.apply_preset(key_preset::samsung);
    EXPECT_EQ(screen.position(), 2);
    EXPECT_TRUE(screen.capture(51));
    auto expected = samsung_codes;
    expected[2] = 51;
    EXPECT_EQ(screen.working().to_bytes(), file_bytes(expected));
    EXPECT_EQ(screen.position(), 3);

    // The restart button goes back to the first slot keeping the codes.
    screen.restart();
    EXPECT_EQ(screen.position(), 0);
    EXPECT_EQ(screen.working().to_bytes(), file_bytes(expected));
}

TEST_F(key_table_test, trace_grows_across_uses) {
    {
        key_capture screen(key_table{});
        screen.start();
        screen.capture(87);
        screen.capture(190);
    }
    {
        key_capture screen(key_table{});
        screen.start();
        screen.restart();  // the restart button traces nothing
        screen.capture(32);
    }
    const std::u16string dashes(37, u'-');
    std::vector<std::uint8_t> expected = {0xFF, 0xFE, '\r', 0, '\n', 0};
    for (auto part :
         {dashes + u"\r\n", std::u16string(u"W[87]->1\r\n"), std::u16string(u"\u00BE[190]->2\r\n"),
          dashes + u"\r\n", std::u16string(u" [32]->1\r\n")}) {
        auto b = utf16le(part);
        expected.insert(expected.end(), b.begin(), b.end());
    }
    EXPECT_EQ(fs.bytes(log_path), expected);
}

TEST_F(key_table_test, trace_that_cannot_be_written_is_skipped) {
    faulty_file_system faulty(fs);
    scoped_services f{{&faulty}};
    faulty.fail_open(1);
    key_capture screen(key_table{});
    screen.start();
    EXPECT_TRUE(screen.capture(87));
    EXPECT_EQ(screen.working().slot(0).key_code, 87);
    EXPECT_TRUE(boxes.texts().empty());
}

TEST_F(key_table_test, texts_of_the_screen) {
    key_capture screen(key_table{});
    EXPECT_EQ(screen.heading(), u"Key mapping table:");
    EXPECT_EQ(screen.slot_text(0).line(), u"W[87]>1");
    EXPECT_EQ(screen.slot_text(9).line(), u"?[63]>0");
    EXPECT_EQ(screen.slot_text(10).line(), u".[190]>.");
    EXPECT_EQ(screen.slot_text(11).line(), u"Q[81]>Clear");
    EXPECT_EQ(screen.slot_text(11).column, 1);
    EXPECT_EQ(screen.slot_text(11).row, 5);
    EXPECT_EQ(screen.slot_text(5).column, 0);
    EXPECT_EQ(screen.slot_text(5).shown, key_slot_text::look::mapped);

    screen.apply_preset(key_preset::samsung);
    EXPECT_EQ(screen.slot_text(9).line(), u"Space[32]>0");

    screen.start();
    EXPECT_EQ(screen.heading(), u"Please follow instruction to enter:");
    EXPECT_EQ(screen.slot_text(0).shown, key_slot_text::look::awaiting);
    EXPECT_EQ(screen.slot_text(0).line(), u"[?]>1");
    EXPECT_EQ(screen.slot_text(1).shown, key_slot_text::look::hidden);
    EXPECT_EQ(screen.slot_text(1).line(), u"");
    screen.capture(69);
    EXPECT_EQ(screen.slot_text(0).line(), u"E[69]>1");
    EXPECT_EQ(screen.slot_text(1).line(), u"[?]>2");
}
