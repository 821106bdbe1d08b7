// The language files shipped with the program, read as the program reads a
// ".lng" file: a translator's slip here shows up on every screen.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "setup/setup_texts.h"

using namespace kelvane;

namespace {

struct language_file {
    std::vector<std::uint8_t> bytes;
    std::vector<std::u16string> lines;
    std::vector<std::pair<std::u16string, std::u16string>> entries;  // in file order
};

language_file read_language_file(const char* name) {
    language_file f;
    std::ifstream in(std::string(KELVANE_RESOURCES) + "/" + name, std::ios::binary);
    f.bytes.assign(std::istreambuf_iterator<char>(in), {});
    std::u16string text;
    for (std::size_t i = 2; i + 1 < f.bytes.size(); i += 2)
        text += static_cast<char16_t>(f.bytes[i] | (f.bytes[i + 1] << 8));
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(u"\r\n", start);
        if (end == std::u16string::npos) end = text.size();
        f.lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    for (const auto& line : f.lines) {
        if (line.starts_with(u"//") || line.starts_with(u"##")) continue;
        const auto at = line.find(u'@');
        if (at == std::u16string::npos)
            f.entries.push_back({u"", line.empty() ? line : line.substr(1)});
        else
            f.entries.push_back({line.substr(0, at), line.substr(at + 1)});
    }
    return f;
}

std::string narrow(const std::u16string& s) {
    std::string out;
    for (char16_t c : s) out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

}  // namespace

TEST(language_files, french_file_is_what_the_program_reads) {
    const auto f = read_language_file("French.lng");
    // UTF-16 little-endian with its byte-order mark, CR LF line ends: a
    // checkout that turned it into UTF-8 would give the program garbage.
    ASSERT_GE(f.bytes.size(), 4u);
    EXPECT_EQ(f.bytes[0], 0xFF);
    EXPECT_EQ(f.bytes[1], 0xFE);
    for (const auto& line : f.lines) EXPECT_EQ(line.find(u'\n'), std::u16string::npos);
    ASSERT_GT(f.entries.size(), 200u);

    std::map<std::u16string, std::u16string> by_key;
    for (const auto& [key, text] : f.entries) {
        // An empty line or a line without "@" would be an entry with an empty key.
        EXPECT_FALSE(key.empty()) << narrow(text);
        EXPECT_FALSE(text.empty()) << narrow(key);
        // A second line with the same key would silently never count.
        EXPECT_TRUE(by_key.emplace(key, text).second) << "twice: " << narrow(key);
    }
    EXPECT_EQ(by_key[u"Fuel"], u"Carburant");
    EXPECT_EQ(by_key[u"Cost:"], u"Coût\u00A0:");
}

TEST(language_files, french_buttons_match_the_installer) {
    const auto f = read_language_file("French.lng");
    std::map<std::u16string, std::u16string> by_key(f.entries.begin(), f.entries.end());
    const auto& english = setup_texts_for(setup_language::english);
    const auto& french = setup_texts_for(setup_language::french);
    for (const auto& [en, fr] :
         {std::pair{english.next, french.next}, std::pair{english.back, french.back},
          std::pair{english.cancel, french.cancel}, std::pair{english.finish, french.finish}})
        EXPECT_EQ(by_key[std::u16string(en)], fr) << narrow(std::u16string(en));
}

TEST(language_files, chosen_texts_turn_back_into_their_keys) {
    // Units, fuel types and fee categories are shown translated and stored as
    // their English key, found by the translation: a translation shared with
    // another key would store the wrong unit.
    const auto f = read_language_file("French.lng");
    const std::u16string chosen[] = {u"Kilometer",
                                     u"Mile",
                                     u"Liter",
                                     u"US Gallon",
                                     u"UK Gallon",
                                     u"Mile/US Gallon",
                                     u"Mile/UK Gallon",
                                     u"Liter/100Km",
                                     u"Km/Liter",
                                     u"97",
                                     u"93",
                                     u"90",
                                     u"89",
                                     u"87",
                                     u"Diesel",
                                     u"Parking",
                                     u"Bridge Toll",
                                     u"Highway Toll",
                                     u"Road Tax",
                                     u"Congestion Fee",
                                     u"Insurance",
                                     u"Vehicle Registration",
                                     u"Vehicle Inspection",
                                     u"Smog Check",
                                     u"Other"};
    for (const auto& key : chosen) {
        std::u16string text;
        for (const auto& e : f.entries)
            if (e.first == key) text = e.second;
        ASSERT_FALSE(text.empty()) << narrow(key);
        // What reverse translation does: the first entry whose translation matches.
        std::u16string back = text;
        for (const auto& e : f.entries) {
            if (e.second == text) {
                back = e.first;
                break;
            }
        }
        EXPECT_EQ(back, key) << narrow(key);
    }
}

TEST(language_files, english_table_has_no_entries) {
    const auto f = read_language_file("English.lng");
    ASSERT_GE(f.bytes.size(), 2u);
    EXPECT_EQ(f.bytes[0], 0xFF);
    EXPECT_EQ(f.bytes[1], 0xFE);
    EXPECT_TRUE(f.entries.empty());
}
