// kelvane-tool driven through the built executable on a temporary device root.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tool_run_support.h"

namespace kelvane::test {
namespace {

using ::testing::HasSubstr;

class tool_round_trip : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(0, root.run({"add-account", "Car", "--tank", "50", "--currency", "EUR"}).code);
    }
    std::filesystem::path file(const char* name) const { return root.data_folder() / name; }

    tool_root root;
};

TEST_F(tool_round_trip, added_fill_ups_reach_the_file_and_give_their_economy) {
    auto first = root.run({"add-fuel", "Car", "--date", "2024-01-10", "--mileage", "1000",
                           "--price", "1.5", "--cost", "60", "--type", "Diesel"});
    ASSERT_EQ(0, first.code) << first.err;
    EXPECT_THAT(first.out, HasSubstr("Car0000000000"));
    // No account named: the open one (add-account opened Car).
    auto second = root.run({"add-fuel", "--date", "2024-01-20 08:30", "--mileage", "1500",
                            "--quantity", "40", "--price", "1.5", "--gauge", "full"});
    ASSERT_EQ(0, second.code) << second.err;

    const auto bytes = file_bytes(file("Car.ful"));
    ASSERT_EQ(1920u + 2 * 480u, bytes.size());
    EXPECT_EQ(u"Car", text_at(bytes, 24, 129));
    EXPECT_EQ(2u, u32_at(bytes, 1488));              // next record number
    EXPECT_EQ(120.0, f64_at(bytes, 1496));           // total cost
    EXPECT_EQ(1500.0, f64_at(bytes, 1528));          // current mileage
    EXPECT_EQ(u"Diesel", text_at(bytes, 1544, 31));  // last fuel type stays for the next fill-up
    const std::size_t r0 = 1920, r1 = 1920 + 480;
    EXPECT_EQ(1000.0, f64_at(bytes, r0 + 168));
    EXPECT_EQ(40.0, f64_at(bytes, r0 + 176));  // quantity worked out from price and cost
    EXPECT_EQ(50.0, f64_at(bytes, r0 + 184));  // gauge: full tank by default
    EXPECT_EQ(8.0, f64_at(bytes, r0 + 192));   // 40 l over 500 km
    EXPECT_EQ(2024u, u32_at(bytes, r1 + 140));
    EXPECT_EQ(20u, u32_at(bytes, r1 + 148));
    EXPECT_EQ(8u, u32_at(bytes, r1 + 152));
    EXPECT_EQ(30u, u32_at(bytes, r1 + 156));
    EXPECT_EQ(60.0, f64_at(bytes, r1 + 200));  // cost worked out from price and quantity
    EXPECT_EQ(u"Diesel", text_at(bytes, r1 + 216, 31));

    auto listed = root.run({"records", "Car"});
    ASSERT_EQ(0, listed.code) << listed.err;
    EXPECT_THAT(listed.out, HasSubstr("01/10/24"));
    EXPECT_THAT(listed.out, HasSubstr("8.00"));
    EXPECT_THAT(listed.out, HasSubstr("Liter/100Km"));

    auto json = root.run({"records", "--json"});
    ASSERT_EQ(0, json.code);
    EXPECT_THAT(json.out, HasSubstr("\"date\":\"2024-01-20 08:30:00\""));
    EXPECT_THAT(json.out, HasSubstr("\"economy\":8}"));
    EXPECT_THAT(json.out, HasSubstr("\"economy\":null"));  // the newest has none yet
}

TEST_F(tool_round_trip, repairs_fees_and_totals_show_in_lists_and_reports) {
    ASSERT_EQ(0, root.run({"add-fuel", "--date", "2024-03-01", "--mileage", "2000", "--cost", "70",
                           "--quantity", "50"})
                     .code);
    ASSERT_EQ(0, root.run({"add-repair", "--date", "2024-03-05", "--mileage", "2100", "--cost",
                           "250", "--next-service", "17100", "--description", "Oil change"})
                     .code);
    ASSERT_EQ(0, root.run({"add-repair", "--date", "2024-04-05", "--cost", "80.5"}).code);
    ASSERT_EQ(0, root.run({"add-fee", "--date", "2024-02-01", "--mileage", "1900", "--cost", "12",
                           "--category", "Parking", "--description", "Airport"})
                     .code);

    const auto mat = file_bytes(file("Car.mat"));
    ASSERT_EQ(1608u + 2 * 400u, mat.size());
    EXPECT_EQ(0, mat[1608 + 294]);  // a service carries its next mileage
    EXPECT_EQ(17100.0, f64_at(mat, 1608 + 184));
    EXPECT_EQ(1, mat[1608 + 400 + 294]);
    EXPECT_EQ(2000.0, f64_at(mat, 1608 + 400 + 168));  // mileage defaults to the odometer
    const auto fee = file_bytes(file("Car.fee"));
    ASSERT_EQ(1608u + 448u, fee.size());
    EXPECT_EQ(u"Parking", text_at(fee, 1608 + 184, 31));

    auto accounts = root.run({"accounts"});
    ASSERT_EQ(0, accounts.code);
    EXPECT_THAT(accounts.out, HasSubstr("Total Cost: 412.50"));

    auto pie = root.run({"report", "3", "--json"});
    ASSERT_EQ(0, pie.code) << pie.err;
    EXPECT_THAT(pie.out, HasSubstr("\"chart\":\"pie\""));
    EXPECT_THAT(pie.out, HasSubstr("{\"name\":\"Fuel\",\"value\":70,"));
    EXPECT_THAT(pie.out, HasSubstr("{\"name\":\"Repair\",\"value\":330.5,"));
    EXPECT_THAT(pie.out, HasSubstr("\"total\":412.5,"));

    // Limits: the April repair only.
    auto repairs = root.run({"report", "1", "--from", "2024-04-01", "--to", "2024-04-30"});
    ASSERT_EQ(0, repairs.code) << repairs.err;
    EXPECT_THAT(repairs.out, HasSubstr("Repair cost analysis"));
    EXPECT_THAT(repairs.out, HasSubstr("80.50"));
    EXPECT_EQ(std::string::npos, repairs.out.find("250.00"));
    // The last day given counts whole.
    auto last_day = root.run({"report", "1", "--json", "--to", "2024-03-05"});
    EXPECT_THAT(last_day.out, HasSubstr("\"value\":250,"));

    auto by_mileage = root.run({"report", "1", "--json", "--min", "2050", "--max", "2150"});
    EXPECT_THAT(by_mileage.out, HasSubstr("\"entries\":[{\"name\":\"2100\""));
}

TEST_F(tool_round_trip, reports_cover_several_vehicles_in_the_order_given) {
    ASSERT_EQ(0, root.run({"add-account", "Van", "--tank", "70"}).code);
    ASSERT_EQ(0,
              root.run({"add-fee", "Car", "--date", "2024-01-01", "--mileage", "10", "--cost", "5"})
                  .code);
    ASSERT_EQ(0,
              root.run({"add-fee", "Van", "--date", "2023-01-01", "--mileage", "20", "--cost", "7"})
                  .code);
    auto both = root.run({"report", "2", "--json", "--vehicles", "Car,Van"});
    ASSERT_EQ(0, both.code) << both.err;
    EXPECT_THAT(both.out, HasSubstr("\"vehicles\":[\"Car\",\"Van\"]"));
    EXPECT_THAT(both.out, HasSubstr("\"entries\":[{\"name\":\"10\""));
    EXPECT_THAT(both.out, HasSubstr("{\"name\":\"20\",\"value\":7,"));
    auto twice = root.run({"report", "2", "--vehicles", "Car,Van,Car"});
    EXPECT_EQ(2, twice.code);
    EXPECT_THAT(twice.err, HasSubstr("names 'Car' twice"));
    // The open account is Van now, so without --vehicles only Van counts.
    auto open_only = root.run({"report", "2", "--json"});
    EXPECT_THAT(open_only.out, HasSubstr("\"vehicles\":[\"Van\"]"));
}

TEST_F(tool_round_trip, chart_is_a24_bit_bitmap_of_the_asked_size) {
    ASSERT_EQ(0,
              root.run({"add-fee", "--date", "2024-01-01", "--mileage", "10", "--cost", "5"}).code);
    const auto bmp = root.path() / "pie chart.bmp";
    auto drawn = root.run({"chart", "3", "--out", bmp.string(), "--size", "322x200"});
    ASSERT_EQ(0, drawn.code) << drawn.err;
    const auto bytes = file_bytes(bmp);
    const std::size_t row = (322 * 3 + 3) / 4 * 4;  // rows padded to four bytes
    ASSERT_EQ(54 + row * 200, bytes.size());
    EXPECT_EQ('B', bytes[0]);
    EXPECT_EQ('M', bytes[1]);
    EXPECT_EQ(bytes.size(), u32_at(bytes, 2));
    EXPECT_EQ(54u, u32_at(bytes, 10));
    EXPECT_EQ(40u, u32_at(bytes, 14));
    EXPECT_EQ(322u, u32_at(bytes, 18));
    EXPECT_EQ(200u, u32_at(bytes, 22));
    EXPECT_EQ(24, u16_at(bytes, 28));
    // Top-left pixel (stored in the last row) is the page's white.
    const std::size_t top = 54 + row * 199;
    EXPECT_EQ(0xFF, bytes[top]);
    EXPECT_EQ(0xFF, bytes[top + 2]);

    // The pie itself is painted: one fee makes a whole disc in its colour
    // (never pure white) around the middle of the chart area.
    const auto tall = root.path() / "tall.bmp";
    ASSERT_EQ(0, root.run({"chart", "3", "--out", tall.string()}).code);
    const auto pie = file_bytes(tall);
    ASSERT_EQ(54u + 240 * 320 * 3, pie.size());
    const std::size_t inside = 54 + (320 - 1 - 134) * 240 * 3 + 165 * 3;
    EXPECT_NE(0xFFFFFFu, u32_at(pie, inside) & 0xFFFFFF);

    const auto line = root.path() / "line.bmp";
    ASSERT_EQ(0, root.run({"chart", "2", "--out", line.string(), "--type", "columns"}).code);
    EXPECT_EQ(54u + 240 * 320 * 3, file_bytes(line).size());
}

TEST_F(tool_round_trip, bad_input_fails_with_a_message_and_changes_nothing) {
    const auto before = file_bytes(file("Car.ful"));
    struct bad {
        std::vector<std::string> args;
        int code;
        const char* says;
    };
    const bad cases[] = {
        {{"frobnicate"}, 2, "unknown command 'frobnicate'"},
        {{}, 2, "no command given"},
        {{"records", "Truck"}, 1, "no vehicle account named 'Truck'"},
        {{"add-fuel", "--cost", "12,5", "--price", "1"}, 2, "bad number for --cost"},
        {{"add-fuel", "--cost", "-3", "--price", "1"}, 2, "bad number for --cost"},
        {{"add-fuel", "--cost", "1e3", "--price", "1"}, 2, "bad number for --cost"},
        {{"add-fuel", "--cost", "10", "--price", "1", "--date", "2024-02-30"}, 2, "bad date"},
        {{"add-fuel", "--cost", "10", "--price", "1", "--date", "2024-01-01 25:00"}, 2, "bad date"},
        {{"add-fuel", "--cost", "10"}, 2, "give two of"},
        {{"add-fuel", "--cost", "10", "--price", "0"}, 2, "--price must be above 0"},
        {{"add-fuel", "--quantity", "10", "--price", "1", "--gauge", "60"},
         2,
         "above the tank capacity"},
        {{"add-fuel", "--quantity", "30", "--price", "1", "--gauge", "20"}, 2, "below --quantity"},
        {{"add-fuel", "--quantity", "3", "--price", "1", "--colour", "red"},
         2,
         "unknown option --colour"},
        {{"add-fee", "--category", std::string(31, 'x'), "--cost", "1"}, 2, "more than 30"},
        {{"add-repair"}, 2, "--cost is needed"},
        {{"add-repair", "--cost"}, 2, "--cost needs a value"},
        {{"report", "5"}, 2, "give the report: economy, repairs"},
        {{"report", "0", "--from", "2024-05-01", "--to", "2024-04-01"}, 2, "--from is after --to"},
        {{"chart", "0"}, 2, "--out FILE.png or FILE.bmp is needed"},
        {{"chart", "0", "--out", "x.bmp", "--size", "240*320"}, 2, "bad --size"},
        {{"chart", "0", "--out", "x.bmp", "--type", "radar"}, 2, "--type is columns"},
        {{"add-account", "Car"}, 1, "already an account named 'Car'"},
        {{"add-account", "a\\b"}, 1, "cannot be an account name"},
        // On the handheld, Windows and macOS both names are one set of files.
        {{"add-account", "CAR"}, 1, "only in letter case"},
        // 128 wide characters fit the account list but not a host file name.
        {{"add-account",
          [] {
              std::string name;
              for (int i = 0; i < 128; ++i) name += "\xE8\xBD\xA6";
              return name;
          }()},
         1,
         "cannot be an account name"},
        // Bytes that are no UTF-8 would name another account or file.
        {{"add-account", "Car\xFF"}, 2, "not valid UTF-8"},
        {{"export", "Car", "out\xC3.csv"}, 2, "not valid UTF-8"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.says);
        const auto r = root.run(c.args);
        EXPECT_EQ(c.code, r.code);
        EXPECT_THAT(r.err, HasSubstr(c.says));
    }
    EXPECT_EQ(before, file_bytes(file("Car.ful")));
    EXPECT_FALSE(std::filesystem::exists(root.path() / "x.bmp"));
}

TEST_F(tool_round_trip, damaged_file_is_reported_and_never_written_over) {
    const std::vector<std::uint8_t> damaged(100, 7);
    write_bytes(file("Car.ful"), damaged);
    const auto listed = root.run({"records"});
    EXPECT_EQ(1, listed.code);
    EXPECT_THAT(listed.err, HasSubstr("Database file format error."));
    const std::vector<std::vector<std::string>> adds = {
        {"add-fuel", "--cost", "5", "--price", "1", "--gauge", "5"},
        {"add-fee", "--cost", "5"},
        {"add-repair", "--cost", "5"}};
    for (const auto& add : adds) {
        SCOPED_TRACE(add.front());
        const auto added = root.run(add);
        EXPECT_EQ(1, added.code);
        EXPECT_THAT(added.err, HasSubstr("could not be read; nothing was changed"));
    }
    EXPECT_EQ(damaged, file_bytes(file("Car.ful")));
    EXPECT_EQ(1608u, file_bytes(file("Car.fee")).size());
}

// A record its file does not take fails the command on the store's own
// report, named as such, and the file stays as it was.
TEST_F(tool_round_trip, record_the_file_cannot_take_fails_the_command) {
    const auto before = file_bytes(file("Car.fee"));
    // A folder where the rewritten file would be made first.
    std::filesystem::create_directory(file("Car.fee.new"));
    const auto added = root.run({"add-fee", "--cost", "5"});
    EXPECT_EQ(1, added.code);
    EXPECT_THAT(added.err, HasSubstr("could not be written to the account's file"));
    EXPECT_TRUE(added.out.empty());
    EXPECT_EQ(before, file_bytes(file("Car.fee")));

    // An import whose records cannot be written says no success either: its
    // files are made in a working folder, and a file stands in its place.
    write_bytes(file("Kelvane.new"), {'x'});
    const auto csv = root.path() / "fees.csv";
    const std::string line =
        "\"03/01/2024\",\"5\",\"Fees\",\"\",\"2.00\",\"\",\"\",\"\",\"\",\"X\",\"\"\r\n";
    write_bytes(csv, {line.begin(), line.end()});
    const auto imported = root.run({"import", "Car", csv.string()});
    EXPECT_EQ(1, imported.code);
    EXPECT_THAT(imported.err, HasSubstr("could not be written"));
    EXPECT_TRUE(imported.out.empty());
    EXPECT_EQ(before, file_bytes(file("Car.fee")));
}

TEST_F(tool_round_trip, data_folder_works_without_the_device_around_it) {
    ASSERT_EQ(0, root.run({"add-fee", "--cost", "9", "--mileage", "1"}).code);
    const std::string data = root.data_folder().string();
    auto listed = root.run_bare({"--data", data, "accounts", "--json"});
    ASSERT_EQ(0, listed.code) << listed.err;
    EXPECT_THAT(listed.out, HasSubstr("{\"name\":\"Car\",\"mileage\":0,\"total_cost\":9,"));
    ASSERT_EQ(0, root.run_bare({"--data", data, "add-fee", "--cost", "1", "--mileage", "2"}).code);
    // The file was written in place, still naming the handheld's data folder.
    const auto fee = file_bytes(file("Car.fee"));
    EXPECT_EQ(1608u + 2 * 448u, fee.size());

    auto missing = root.run_bare({"--data", (root.path() / "nowhere").string(), "accounts"});
    EXPECT_EQ(1, missing.code);
    EXPECT_THAT(missing.err, HasSubstr("no data folder"));
}

TEST_F(tool_round_trip, texts_come_from_the_language_file) {
    // "Language.lng": UTF-16LE with a byte-order mark, one "key@text" per line.
    std::u16string source =
        u"\xFEFF"
        u"Fuel@Kraftstoff\r\nTotal Cost@Gesamtkosten\r\n";
    std::vector<std::uint8_t> bytes;
    for (char16_t c : source) {
        bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    write_bytes(file("Language.lng"), bytes);
    ASSERT_EQ(0, root.run({"add-fuel", "--quantity", "10", "--price", "1", "--mileage", "5"}).code);
    auto pie = root.run({"report", "3"});
    EXPECT_THAT(pie.out, HasSubstr("Kraftstoff"));
    auto accounts = root.run({"accounts"});
    EXPECT_THAT(accounts.out, HasSubstr("Gesamtkosten: 10.00"));
}

TEST_F(tool_round_trip, help_for_every_command) {
    for (const char* command :
         {"accounts",    "add-account", "edit-account", "delete-account", "open",
          "options",     "records",     "add-fuel",     "add-repair",     "add-fee",
          "edit-fuel",   "edit-repair", "edit-fee",     "delete-record",  "report",
          "chart",       "trips",       "add-trip",     "edit-trip",      "delete-trip",
          "export-trip", "export",      "import",       "backup",         "restore",
          "sample"}) {
        SCOPED_TRACE(command);
        const auto r = root.run({command, "--help"});
        EXPECT_EQ(0, r.code);
        EXPECT_THAT(r.out, HasSubstr(std::string("Usage: kelvane-tool ") + command));
    }
    EXPECT_EQ(0, root.run_bare({"--help"}).code);
}

TEST(tool_sample, fills_an_empty_root_once_and_is_readable) {
    tool_root root;
    auto made = root.run({"sample", "--vehicles", "2", "--years", "2"});
    ASSERT_EQ(0, made.code) << made.err;
    auto accounts = root.run({"accounts", "--json"});
    EXPECT_THAT(accounts.out, HasSubstr("\"current\":\"Corolla\""));
    EXPECT_THAT(accounts.out, HasSubstr("\"name\":\"Pickup\""));
    auto again = root.run({"sample"});
    EXPECT_EQ(1, again.code);
    EXPECT_THAT(again.err, HasSubstr("already holds accounts"));
    auto economy = root.run({"report", "0"});
    EXPECT_EQ(0, economy.code) << economy.err;
}

}  // namespace
}  // namespace kelvane::test
