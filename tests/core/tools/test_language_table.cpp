#include <gtest/gtest.h>

#include <cstdio>

#include "core/common/translate.h"
#include "core/test_services.h"
#include "core/tools/language_table.h"
#include "platform/faulty_file_system.h"
#include "platform/memory_file_system.h"
#include "platform/services.h"
#include "platform/text_encoding.h"

using namespace kelvane;

namespace {

using bytes = std::vector<std::uint8_t>;

constexpr char16_t lng_file[] = u"\\Program Files\\Kelvane\\Language.lng";
constexpr char16_t bng_file[] = u"\\Program Files\\Kelvane\\Language.bng";

void put_units(bytes& out, std::u16string_view units) {
    for (char16_t c : units) {
        out.push_back(static_cast<std::uint8_t>(c & 0xff));
        out.push_back(static_cast<std::uint8_t>(c >> 8));
    }
}

// A translator's file: UTF-16LE with its byte-order mark.
bytes lng(std::u16string_view text, bool bom = true) {
    bytes out;
    if (bom) out = {0xFF, 0xFE};
    put_units(out, text);
    return out;
}

// One table entry, laid out by hand.
std::u16string entry(std::u16string_view key, std::u16string_view text) {
    std::u16string e;
    e += static_cast<char16_t>(key.size() + 2);
    e += key;
    e += char16_t(0);
    e += static_cast<char16_t>(text.size() + 2);
    e += text;
    e += char16_t(0);
    return e;
}

// A cache file: 112-byte header with the table size at offset 8, then the table.
bytes bng(std::u16string_view units, std::int32_t size_field) {
    bytes out(112, 0);
    out[4] = 1;
    for (int i = 0; i < 4; ++i)
        out[8 + i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(size_field) >> 8 * i);
    put_units(out, units);
    return out;
}
bytes bng(std::u16string_view units) {
    return bng(units, static_cast<std::int32_t>(2 * units.size()));
}

class language_table_test : public ::testing::Test, protected kelvane::testing::test_services {
protected:
    language_table table;
};

}  // namespace

TEST_F(language_table_test, parses_the_translators_file) {
    fs.put(lng_file, lng(u"// comment@Kommentar\r\n"
                         u"## other@x\r\n"
                         u"#Hash@Raute\r\n"
                         u"NoSeparator\r\n"
                         u"Blank@\r\n"
                         u"\r\n"
                         u"Cost@Kosten\r\n"
                         u"Cost@Preis\r\n"
                         u"Total@Summe@gesamt\r\n"
                         u"Mail@@home\r\n"
                         u" Spaced @ kept \r\n"
                         u"Last@Letzte"));
    (void)table.load(u"Language");

    const std::u16string units = entry(u"#Hash", u"Raute") + entry(u"", u"oSeparator") +
                                 entry(u"Blank", u"") + entry(u"", u"") +
                                 entry(u"Cost", u"Kosten") + entry(u"Cost", u"Preis") +
                                 entry(u"Total", u"Summe@gesamt") + entry(u"Mail", u"@home") +
                                 entry(u" Spaced ", u" kept ") + entry(u"Last", u"Letzte");
    EXPECT_EQ(table.units(), units);
    EXPECT_EQ(table.length(), static_cast<std::int32_t>(units.size()));
    EXPECT_EQ(fs.bytes(bng_file), bng(units));

    EXPECT_EQ(table.translate(u"Cost"), u"Kosten");  // the first line counts
    EXPECT_EQ(table.translate(u"Cost:"), u"Cost:");
    EXPECT_EQ(table.translate(u"cost"), u"cost");
    EXPECT_EQ(table.translate(u"Total"), u"Summe@gesamt");
    EXPECT_EQ(table.translate(u"Mail"), u"@home");
    EXPECT_EQ(table.translate(u" Spaced "), u" kept ");
    EXPECT_EQ(table.translate(u"Last"), u"Letzte");
    EXPECT_EQ(table.translate(u"// comment"), u"// comment");
    // Empty texts stay empty, whatever empty-key entries the file made.
    EXPECT_EQ(table.translate(u""), u"");
    EXPECT_EQ(table.reverse_translate(u""), u"");

    EXPECT_EQ(table.reverse_translate(u"Preis"), u"Cost");
    EXPECT_EQ(table.reverse_translate(u"Summe@gesamt"), u"Total");
    EXPECT_EQ(table.reverse_translate(u"Cost"), u"Cost");  // not a translation: unchanged
    EXPECT_EQ(table.reverse_translate(u"oSeparator"), u"");
    EXPECT_EQ(table.translate(u"Blank"), u"");
    EXPECT_EQ(language_table::pass_through(u"EUR"), u"EUR");

    scoped_translator installed(&table);
    EXPECT_EQ(tr(u"Cost"), u"Kosten");
    EXPECT_EQ(reverse_tr(u"Letzte"), u"Last");
    EXPECT_TRUE(boxes.texts().empty());
}

TEST_F(language_table_test, line_ends_and_byte_order_mark) {
    // The first unit is skipped whatever it is, and so is the unit after each
    // carriage return; a bare line feed belongs to the text.
    fs.put(lng_file, lng(u"XA@1\rYB@2\r\nC@line\nnext\r\n\r", false));
    (void)table.load(u"Language");
    EXPECT_EQ(table.units(),
              entry(u"A", u"1") + entry(u"B", u"2") + entry(u"C", u"line\nnext") + entry(u"", u""));

    // An odd trailing byte and a file holding only its mark.
    bytes odd = lng(u"K@V");
    odd.push_back(0x41);
    fs.put(lng_file, odd);
    fs.delete_file(bng_file);
    (void)table.load(u"Language");
    EXPECT_EQ(table.units(), entry(u"K", u"V"));

    fs.put(lng_file, lng(u""));
    fs.delete_file(bng_file);
    (void)table.load(u"Language");
    EXPECT_EQ(table.length(), 0);
    EXPECT_EQ(fs.bytes(bng_file), bng(u""));
}

TEST_F(language_table_test, missing_files_leave_english) {
    fs.put(lng_file, lng(u"Cost@Kosten"));
    (void)table.load(u"Language");
    ASSERT_EQ(table.translate(u"Cost"), u"Kosten");
    (void)table.load(u"Français");
    EXPECT_EQ(table.length(), 0);
    EXPECT_EQ(table.translate(u"Cost"), u"Cost");
    EXPECT_EQ(table.reverse_translate(u"Kosten"), u"Kosten");
    EXPECT_FALSE(fs.file_exists(u"\\Program Files\\Kelvane\\Français.bng"));
    fs.put(u"\\Program Files\\Kelvane\\.lng", lng(u"Cost@Kosten"));
    (void)table.load(u"");
    EXPECT_EQ(table.length(), 0);
    EXPECT_TRUE(boxes.texts().empty());
}

TEST_F(language_table_test, cache_is_preferred_over_a_changed_source) {
    fs.put(lng_file, lng(u"Cost@Kosten"));
    (void)table.load(u"Language");
    fs.put(lng_file, lng(u"Cost@Preis"));
    (void)table.load(u"Language");
    EXPECT_EQ(table.translate(u"Cost"), u"Kosten");

    // A cache is read as it stands, with whatever the header's other bytes say.
    bytes cache = bng(entry(u"Fee", u"Gebühr"));
    cache[0] = 0x55;
    cache[4] = 0;
    fs.put(bng_file, cache);
    (void)table.load(u"Language");
    EXPECT_EQ(table.translate(u"Fee"), u"Gebühr");
    EXPECT_EQ(table.translate(u"Cost"), u"Cost");

    fs.delete_file(bng_file);
    (void)table.load(u"Language");
    EXPECT_EQ(table.translate(u"Cost"), u"Preis");
}

TEST_F(language_table_test, damaged_cache_is_replaced_from_the_source) {
    const std::u16string good = entry(u"Cost", u"Kosten");
    const std::u16string other = entry(u"Cost", u"Alt");
    bytes short_header(50, 0);
    // Whole entries in all but its last, odd byte.
    bytes odd = bng(other, 2 * static_cast<std::int32_t>(other.size()) + 1);
    odd.push_back(0);
    // Whole entries, one unit more than the table may hold.
    std::u16string oversized;
    while (oversized.size() + 50002 <= 1000001)
        oversized += entry(u"", std::u16string(49998, u'x'));
    oversized += entry(u"", std::u16string(1000001 - oversized.size() - 4, u'x'));
    const bytes too_big = bng(oversized);
    struct damaged {
        const char* what;
        bytes file;
    };
    for (const damaged& d : {
             damaged{"negative size", bng(other, -2)},
             damaged{"odd size", odd},
             damaged{"size past the end",
                     bng(other, 2 * static_cast<std::int32_t>(other.size()) + 2)},
             damaged{"size over the cap", too_big},
             damaged{"short header", short_header},
             damaged{"broken entry", bng(std::u16string{0, 0, 0, 0})},
             damaged{"entry past the end", bng(std::u16string{2, 0, 9, 0})},
         }) {
        fs.put(lng_file, lng(u"Cost@Kosten"));
        fs.put(bng_file, d.file);
        (void)table.load(u"Language");
        EXPECT_EQ(table.units(), good) << d.what;
        EXPECT_EQ(fs.bytes(bng_file), bng(good)) << d.what;
    }

    // Without a source to fall back on the table stays empty.
    fs.delete_file(lng_file);
    fs.put(bng_file, bng(other, -2));
    (void)table.load(u"Language");
    EXPECT_EQ(table.length(), 0);
    EXPECT_TRUE(boxes.texts().empty());
}

TEST_F(language_table_test, table_is_capped_at_one_million_units) {
    // 998 entries of 1002 units fill 999,996 units.
    const std::u16string filler(993, u'x');
    std::u16string body;
    for (int i = 0; i < 998; ++i) {
        char key[8];
        std::snprintf(key, sizeof key, "k%04d", i);
        body += widen(key) + u"@" + filler + u"\r\n";
    }

    // An entry of four units fills the table exactly: allowed.
    fs.put(lng_file, lng(body + u"@"));
    (void)table.load(u"Language");
    EXPECT_EQ(table.length(), language_table::max_units);
    EXPECT_TRUE(boxes.texts().empty());
    EXPECT_TRUE(fs.file_exists(bng_file));

    // One more: its key fits but its text does not. Loading stops with the
    // whole entries read so far, says so untranslated, and writes no cache.
    fs.delete_file(bng_file);
    fs.put(lng_file, lng(body + u"@y\r\nafter@z"));
    (void)table.load(u"Language");
    EXPECT_EQ(table.length(), 999996);
    EXPECT_TRUE(language_table::is_well_formed(table.units()));
    EXPECT_EQ(table.translate(u"k0997"), filler);
    EXPECT_EQ(table.translate(u"after"), u"after");
    ASSERT_EQ(boxes.boxes().size(), 1u);
    EXPECT_EQ(boxes.boxes()[0].text, u"文本超长");
    EXPECT_EQ(boxes.boxes()[0].caption, u"Kelvane");
    EXPECT_FALSE(fs.file_exists(bng_file));
}

TEST_F(language_table_test, line_too_long_for_its_length_unit_is_left_out) {
    fs.put(lng_file, lng(u"A@1\r\nB@" + std::u16string(70000, u'x') + u"\r\nC@3"));
    (void)table.load(u"Language");
    EXPECT_EQ(table.units(), entry(u"A", u"1") + entry(u"C", u"3"));
}

TEST_F(language_table_test, cache_that_cannot_be_written_costs_nothing) {
    faulty_file_system faulty(fs);
    scoped_services with_faults{{&faulty}};
    fs.put(lng_file, lng(u"Cost@Kosten"));
    const bytes stale = bng(entry(u"Cost", u"Alt"), -2);
    for (int k = 1; k <= 2; ++k) {
        fs.put(bng_file, stale);
        faulty.fail_write(k);
        (void)table.load(u"Language");
        EXPECT_EQ(table.translate(u"Cost"), u"Kosten") << k;
        EXPECT_EQ(fs.bytes(bng_file), stale) << k;
        EXPECT_EQ(fs.files().size(), 2u) << k;  // no temporary file left
    }
    faulty.fail_write(0);
    faulty.fail_replace(1);
    (void)table.load(u"Language");
    EXPECT_EQ(fs.bytes(bng_file), stale);
    EXPECT_TRUE(boxes.texts().empty());
}
