// Export of the open account to a comma-separated file and import back:
// the file bytes, the cell rules of the import, dates in every date style,
// character sets, failures, and bulk adding.

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <string>

#include "core/common/parse_number.h"
#include "core/common/translate.h"
#include "core/exchange/export_import.h"
#include "core/test_store_support.h"
#include "platform/faulty_file_system.h"

namespace kelvane {
namespace {

using testing::data_folder;

std::string as_text(const std::vector<std::uint8_t>& b) {
    return {b.begin(), b.end()};
}
std::vector<std::uint8_t> as_bytes(std::string_view s) {
    return {s.begin(), s.end()};
}

const std::string english_header =
    "\"Date\",\"Mileage\",\"Item\",\"Description\",\"Amount\",\"Fuel Unit Price\","
    "\"Fuel Purchased\",\"Fuel Gauge\",\"Fuel Type\",\"Category\",\"NextServier\"\r\n";

// The open account's three stores in deferred mode, as the program runs them.
struct account_fixture : testing::device_fixture {
    fuel_store fuel;
    service_store service;
    fee_store fees;
    export_import exchange{fuel, service, fees};

    account_fixture() {
        dev.set_language_id(1033);
        fuel.set_deferred_save(true);
        service.set_deferred_save(true);
        fees.set_deferred_save(true);
    }
    // Opens an account whose files exist (empty ones when it has none yet).
    void open(std::u16string_view name) {
        (void)fuel.load(data_folder, name, false);
        (void)service.load(data_folder, name, false);
        (void)fees.load(data_folder, name, false);
        if (fuel.fresh()) {
            EXPECT_TRUE(fuel.save_all());
            EXPECT_TRUE(service.save_all());
            EXPECT_TRUE(fees.save_all());
            open(name);
        }
    }
    void close_stores() {
        EXPECT_TRUE(fuel.reset());
        EXPECT_TRUE(service.reset());
        EXPECT_TRUE(fees.reset());
    }
    std::string file(std::u16string_view path) const { return as_text(fs.bytes(path)); }
};

fuel_record fill_up(int y, int m, int d, double mileage, double cost, double price, double bought,
                    double gauge, std::u16string_view type, std::u16string_view note) {
    fuel_record r{};
    r.year = y, r.month = m, r.day = d, r.hour = 10;
    r.mileage = mileage;
    r.fuel_cost = cost;
    r.unit_price = price;
    r.fuel_purchased = bought;
    r.fuel_gauge = gauge;
    set_fixed(r.fuel_type, type);
    set_fixed(r.note, note);
    return r;
}

service_record job(int y, int m, int d, double mileage, double cost, double next, bool repair,
                   std::u16string_view text) {
    service_record r{};
    r.year = y, r.month = m, r.day = d;
    r.mileage = mileage;
    r.cost = cost;
    r.next_service_mileage = next;
    r.repair_flag = repair ? 1 : 0;
    set_fixed(r.description, text);
    return r;
}

fee_record fee(int y, int m, int d, double mileage, double cost, std::u16string_view category,
               std::u16string_view text) {
    fee_record r{};
    r.year = y, r.month = m, r.day = d;
    r.mileage = mileage;
    r.cost = cost;
    set_fixed(r.category, category);
    set_fixed(r.description, text);
    return r;
}

// A language table that knows a few texts, including the header keys and
// the comma between header cells.
class small_table : public text_translator {
public:
    std::u16string translate(std::u16string_view key) const override {
        auto it = words.find(std::u16string(key));
        return it == words.end() ? std::u16string(key) : it->second;
    }
    std::u16string reverse_translate(std::u16string_view text) const override {
        return std::u16string(text);
    }
    std::map<std::u16string, std::u16string> words;
};

// --- export -----------------------------------------------------------------

TEST(export_account, writes_header_and_the_three_kinds_byte_for_byte) {
    account_fixture f;
    f.open(u"Car");
    EXPECT_TRUE(
        f.fuel.add_record(fill_up(2007, 3, 5, 1234.5, 40, 1.25, 32, 0.5, u"93", u"Full tank"))
            .added());
    EXPECT_TRUE(
        f.service.add_record(job(2007, 4, 1, 1234.6, 80, 6234.56, true, u"Brakes")).added());
    EXPECT_TRUE(f.service.add_record(job(2007, 5, 1, 2000, 50.5, 7000, false, u"Oil")).added());
    EXPECT_TRUE(f.fees.add_record(fee(2007, 6, 30, 2100.26, 3, u"Parking", u"Airport")).added());
    const std::u16string path = export_import::default_path(data_folder, u"Car");
    EXPECT_EQ(path, u"\\Program Files\\Kelvane\\Output\\Car.csv");

    ASSERT_TRUE(f.exchange.export_account(path));
    EXPECT_EQ(
        f.file(path),
        english_header +
            "\"03/05/2007\",\"1234.5\",\"Fuel\",\"Full tank\",\"40.00\",\"1.250\",\"32.00\","
            "\"0.50\",\"93\",\"\",\"\"\r\n"
            "\"04/01/2007\",\"1235\",\"Repair\",\"Brakes\",\"80.00\",\"\",\"\",\"\",\"\",\"\","
            "\"6234.6\"\r\n"
            "\"05/01/2007\",\"2000\",\"Maintenance\",\"Oil\",\"50.50\",\"\",\"\",\"\",\"\","
            "\"\",\"7000.0\"\r\n"
            "\"06/30/2007\",\"2100.3\",\"Fees\",\"Airport\",\"3.00\",\"\",\"\",\"\",\"\","
            "\"Parking\",\"\"\r\n");
    EXPECT_TRUE(f.messages().empty());
}

TEST(export_account, empty_account_gives_the_header_alone_and_replaces_an_older_file) {
    account_fixture f;
    f.open(u"Car");
    const std::u16string path = u"\\Storage Card\\Exports\\Car.csv";
    f.fs.put(path, as_bytes("an older, longer export file\r\n\r\n\r\n"));
    ASSERT_TRUE(f.exchange.export_account(path));
    EXPECT_EQ(f.file(path), english_header);
}

TEST(export_account, needs_an_open_account) {
    account_fixture f;
    EXPECT_FALSE(f.exchange.export_account(u"\\My Documents\\x.csv"));
    EXPECT_EQ(f.messages(), std::vector<std::u16string>{u"Please open an account."});
    EXPECT_FALSE(f.fs.file_exists(u"\\My Documents\\x.csv"));
}

TEST(export_account, a_failed_write_leaves_the_old_file_and_says_so) {
    account_fixture f;
    f.open(u"Car");
    EXPECT_TRUE(
        f.fuel.add_record(fill_up(2007, 3, 5, 1000, 40, 1.25, 32, 0.5, u"93", u"x")).added());
    const std::u16string path = data_folder + u"Output\\Car.csv";
    f.fs.put(path, as_bytes("old"));
    faulty_file_system faulty(f.fs);
    scoped_services use{{&faulty}};

    for (int k = 1; k <= 2; ++k) {
        faulty.fail_write(k == 1 ? 1 : 0);
        faulty.fail_replace(k == 2 ? 1 : 0);
        f.boxes.clear();
        EXPECT_FALSE(f.exchange.export_account(path)) << k;
        EXPECT_EQ(f.file(path), "old") << k;
        EXPECT_EQ(f.messages(),
                  std::vector<std::u16string>{u"Failed! An error occurs when writing data file."});
    }
    // A path whose folder cannot be made (a file stands in its way).
    f.boxes.clear();
    faulty.fail_write(0), faulty.fail_replace(0);
    EXPECT_FALSE(f.exchange.export_account(data_folder + u"Car.ful\\Car.csv"));
    EXPECT_EQ(f.messages().size(), 1u);
}

// An export never replaces one of the program's own files, whatever the
// letter case or folder, and a path refused on the way leaves no folder.
TEST(export_account, never_replaces_the_programs_own_files) {
    account_fixture f;
    f.open(u"Car");
    EXPECT_TRUE(
        f.fuel.add_record(fill_up(2007, 3, 5, 1000, 40, 1.25, 32, 0.5, u"93", u"x")).added());
    f.close_stores();
    f.open(u"Car");
    const auto before = f.fs.files();
    for (const std::u16string& path : std::vector<std::u16string>{
             data_folder + u"Car.ful", data_folder + u"CAR.MAT", data_folder + u"Config.dat",
             data_folder + u"Trip.tri", data_folder + u"Config_key.dat",
             data_folder + u"Kelvane.htm", data_folder + u"Car.ful.unreadable",
             std::u16string(u"\\My Documents\\Backup\\Car.fee"),
             std::u16string(u"\\My Documents\\Backup\\config.dat"),
             data_folder + u"Language.bng"}) {
        const auto bytes = f.fs.bytes(path);
        f.boxes.clear();
        EXPECT_FALSE(f.exchange.export_account(path)) << to_utf8(path);
        EXPECT_EQ(f.fs.bytes(path), bytes);
        EXPECT_EQ(f.messages(),
                  std::vector<std::u16string>{std::u16string(msg_program_file) + u"\n" + path});
    }
    EXPECT_EQ(f.fs.files(), before);
    EXPECT_FALSE(f.fs.folder_exists(u"\\My Documents\\Backup"));
    // Where the program keeps nothing, the same names are free.
    EXPECT_TRUE(f.exchange.export_account(u"\\My Documents\\Kelvane.htm"));

    // A path that turns back on itself is refused before any folder is made.
    EXPECT_FALSE(f.exchange.export_account(u"\\My Documents\\New\\..\\..\\x.csv"));
    EXPECT_FALSE(f.fs.folder_exists(u"\\My Documents\\New"));
}

TEST(export_account, header_and_items_follow_the_language_table) {
    account_fixture f;
    small_table table;
    table.words = {{u"\"Date\"", u"\"Datum\""}, {u",", u";"}, {u"Fuel", u"Kraftstoff"}};
    scoped_translator use(&table);
    f.open(u"Car");
    EXPECT_TRUE(
        f.fuel.add_record(fill_up(2007, 3, 5, 1000, 40, 1.25, 32, 0.5, u"93", u"x")).added());
    ASSERT_TRUE(f.exchange.export_account(u"\\a.csv"));
    const std::string text = f.file(u"\\a.csv");
    EXPECT_EQ(text.substr(0, 21), "\"Datum\";\"Mileage\";\"It");
    EXPECT_NE(text.find("\"Kraftstoff\""), std::string::npos);

    // The translated item reads back as fuel.
    f.open(u"Van");
    EXPECT_EQ(f.exchange.import_file(u"\\a.csv").fuel, 1);
}

TEST(export_trip, writes_the_open_accounts_records_within_the_trip) {
    account_fixture f;
    f.open(u"Car");
    EXPECT_TRUE(
        f.fuel.add_record(fill_up(2007, 3, 4, 900, 1, 1, 1, 1, u"", u"day before")).added());
    auto first = fill_up(2007, 3, 5, 1000, 2, 1, 1, 1, u"", u"first day");
    first.hour = 0;
    EXPECT_TRUE(f.fuel.add_record(first).added());
    auto last = fill_up(2007, 3, 9, 1100, 3, 1, 1, 1, u"", u"last day");
    last.hour = 23, last.minute = 59, last.second = 59;
    EXPECT_TRUE(f.fuel.add_record(last).added());
    EXPECT_TRUE(
        f.fuel.add_record(fill_up(2007, 3, 10, 1200, 4, 1, 1, 1, u"", u"day after")).added());
    EXPECT_TRUE(f.fees.add_record(fee(2007, 3, 6, 5000, 5, u"", u"beyond the mileage")).added());
    EXPECT_TRUE(f.service.add_record(job(2007, 3, 6, 1050, 6, 0, true, u"inside")).added());

    trip_record trip{};
    trip.use_start_date = trip.use_end_date = trip.use_end_mileage = 1;
    trip.start_year = trip.end_year = 2007;
    trip.start_month = trip.end_month = 3;
    trip.start_day = 5, trip.end_day = 9;
    trip.end_mileage = 4000;
    ASSERT_TRUE(f.exchange.export_trip(trip, u"\\trip.csv"));
    const std::string text = f.file(u"\\trip.csv");
    EXPECT_EQ(text.find("day before"), std::string::npos);
    EXPECT_EQ(text.find("day after"), std::string::npos);
    EXPECT_EQ(text.find("beyond"), std::string::npos);
    EXPECT_NE(text.find("first day"), std::string::npos);
    EXPECT_NE(text.find("last day"), std::string::npos);
    EXPECT_NE(text.find("inside"), std::string::npos);

    // Without limits the trip covers every record of the open account.
    ASSERT_TRUE(f.exchange.export_trip(trip_record{}, u"\\all.csv"));
    ASSERT_TRUE(f.exchange.export_account(u"\\account.csv"));
    EXPECT_EQ(f.file(u"\\all.csv"), f.file(u"\\account.csv"));
}

// --- import -----------------------------------------------------------------

TEST(import_file, reads_every_line_end_and_a_last_line_without_one) {
    account_fixture f;
    f.open(u"Car");
    const std::string long_note(3000, 'n');
    f.fs.put(u"\\in.csv", as_bytes(english_header +
                                   "\"03/01/2007\",\"100\",\"Fuel\",\"crlf\"\r\n"
                                   "\"03/02/2007\",\"200\",\"Fuel\",\"lf\"\n"
                                   "\"03/03/2007\",\"300\",\"Fuel\",\"cr\"\r"
                                   "\r\n\n"
                                   "\"03/04/2007\",\"400\",\"Fuel\",\"" +
                                   long_note + "\",\"1\",\"2\",\"3\",\"4\",\"long\"\r\n" +
                                   "\"03/05/2007\",\"500\",\"Fees\",\"no end\",\"7\""));
    const import_summary s = f.exchange.import_file(u"\\in.csv");
    EXPECT_TRUE(s.read);
    EXPECT_EQ(s.fuel, 4);
    EXPECT_EQ(s.fees, 1);
    ASSERT_EQ(f.fuel.record_count(), 4);
    EXPECT_EQ(fixed_text(f.fuel.record_at(0).note), u"crlf");
    EXPECT_EQ(fixed_text(f.fuel.record_at(1).note), u"lf");
    EXPECT_EQ(fixed_text(f.fuel.record_at(2).note), u"cr");
    // The cells after a long one still land in their columns.
    EXPECT_EQ(fixed_text(f.fuel.record_at(3).fuel_type), u"long");
    EXPECT_EQ(f.fuel.record_at(3).fuel_gauge, 4);
    ASSERT_EQ(f.fees.record_count(), 1);
    EXPECT_EQ(f.fees.record_at(0).cost, 7);
}

TEST(import_file, quoted_cells_keep_commas_and_doubled_quotes) {
    account_fixture f;
    f.open(u"Car");
    f.fs.put(
        u"\\in.csv",
        as_bytes("\"03/05/2007\",\"1000\",\"Fuel\",\"Oil, filter \"\"OEM\"\"\",\"40\",\"1.25\","
                 "\"32\",\"0.5\",\"93\",\"\",\"\"\r\n"
                 // Written by a spreadsheet: quotes only where needed.
                 "03/06/2007,1100,Repair,\"a, b\",5,,,,,,9000\r\n"
                 // An older file wrote a quote inside a cell as it stands.
                 "\"03/07/2007\",\"1200\",\"Fees\",\"12\" rims\",\"6\",\"\",\"\",\"\",\"\","
                 "\"Tyres\",\"\"\r\n"));
    (void)f.exchange.import_file(u"\\in.csv");
    ASSERT_EQ(f.fuel.record_count(), 1);
    const fuel_record& r = f.fuel.record_at(0);
    EXPECT_EQ(fixed_text(r.note), u"Oil, filter \"OEM\"");
    EXPECT_EQ(r.fuel_cost, 40);
    EXPECT_EQ(r.unit_price, 1.25);
    EXPECT_EQ(fixed_text(r.fuel_type), u"93");
    ASSERT_EQ(f.service.record_count(), 1);
    EXPECT_EQ(fixed_text(f.service.record_at(0).description), u"a, b");
    EXPECT_EQ(f.service.record_at(0).next_service_mileage, 9000);
    EXPECT_EQ(f.service.record_at(0).repair_flag, 1);
    ASSERT_EQ(f.fees.record_count(), 1);
    EXPECT_EQ(fixed_text(f.fees.record_at(0).description), u"12\" rims");
    EXPECT_EQ(fixed_text(f.fees.record_at(0).category), u"Tyres");

    // And what the export writes with quotes and commas reads back whole.
    ASSERT_TRUE(f.exchange.export_account(u"\\out.csv"));
    f.open(u"Van");
    (void)f.exchange.import_file(u"\\out.csv");
    EXPECT_EQ(fixed_text(f.fuel.record_at(0).note), u"Oil, filter \"OEM\"");
    EXPECT_EQ(fixed_text(f.fees.record_at(0).description), u"12\" rims");
}

TEST(import_file, a_long_file_gives_the_files_of_its_records_added_one_by_one) {
    // More lines than the import reads at once, every kind, out of date
    // order in places, with lines left out among them.
    std::string csv = english_header;
    int left_out = 0;
    for (int i = 0; i < 10000; ++i) {
        const int day = 1 + (i * 7919) % 28;
        const int month = 1 + (i / 28) % 12;
        const std::string date = "\"" + std::to_string(month) + "/" + std::to_string(day) + "/" +
                                 std::to_string(2000 + i / 400) + "\"";
        const std::string n = std::to_string(i);
        const std::string head = date + ",\"" + n;
        if (i % 10 == 3) {
            csv += head + "\",\"Repair\",\"job " + n + "\",\"5\",,,,,,\"900\"\r\n";
        } else if (i % 10 == 7) {
            csv += head + "\",\"Fees\",\"fee " + n + "\",\"2\",,,,,\"Toll\",\r\n";
        } else if (i % 97 == 0) {
            csv += head + "\",\"Something\"\r\n";
            ++left_out;
        } else {
            csv += head + ".5\",\"Fuel\",\"\",\"40\",\"1.25\",\"32\",\"0.5\",\"95\",,\r\n";
        }
    }
    const auto files = [](account_fixture& f) {
        f.close_stores();
        return std::vector<std::string>{f.file(testing::file_of<fuel_store>(u"Car")),
                                        f.file(testing::file_of<service_store>(u"Car")),
                                        f.file(testing::file_of<fee_store>(u"Car"))};
    };
    std::vector<std::string> imported;
    {
        account_fixture f;
        f.open(u"Car");
        f.fs.put(u"\\in.csv", as_bytes(csv));
        const import_summary s = f.exchange.import_file(u"\\in.csv");
        EXPECT_EQ(s.skipped, left_out);
        EXPECT_EQ(s.fuel + s.service + s.fees + s.skipped, 10000);
        imported = files(f);
    }
    account_fixture f;
    f.open(u"Car");
    int skipped = 0;
    const std::u16string text = decode_import_text(csv);
    for (const std::u16string_view line : split_lines(text)) {
        imported_records one;
        f.exchange.read_line(line, one, skipped);
        for (const auto& r : one.fuel) ASSERT_TRUE(f.fuel.add_record(r).added());
        for (const auto& r : one.service) ASSERT_TRUE(f.service.add_record(r).added());
        for (const auto& r : one.fees) ASSERT_TRUE(f.fees.add_record(r).added());
    }
    EXPECT_EQ(imported, files(f));
}

TEST(split_csv_line, cells_and_their_cleaning) {
    using cells = std::vector<std::u16string>;
    EXPECT_EQ(split_csv_line(u""), cells{u""});
    EXPECT_EQ(split_csv_line(u"\"\",a,"), (cells{u"", u"a", u""}));
    EXPECT_EQ(split_csv_line(u"\"\"\"\""), cells{u"\""});
    // An opening quote that never closes: the rest splits at every comma.
    EXPECT_EQ(split_csv_line(u"\"open,b"), (cells{u"open", u"b"}));
    EXPECT_EQ(split_csv_line(u"\"one,cell\""), cells{u"one,cell"});
    EXPECT_EQ(split_csv_line(u"x\",\"y"), (cells{u"x", u"y"}));
}

TEST(read_import_date, parts_by_length_and_language_and_real_dates_only) {
    int y = 0, m = 0, d = 0;
    ASSERT_TRUE(read_import_date(u"05/03/2007", 9, y, m, d));
    EXPECT_EQ((std::array{y, m, d}), (std::array{2007, 3, 5}));
    ASSERT_TRUE(read_import_date(u"05.03.2007", 1031, y, m, d));
    EXPECT_EQ((std::array{y, m, d}), (std::array{2007, 3, 5}));
    ASSERT_TRUE(read_import_date(u"03/05/2007", 1033, y, m, d));
    EXPECT_EQ((std::array{y, m, d}), (std::array{2007, 3, 5}));
    // A long first part is the year whatever the language.
    ASSERT_TRUE(read_import_date(u"2007-03-05", 12, y, m, d));
    EXPECT_EQ((std::array{y, m, d}), (std::array{2007, 3, 5}));
    ASSERT_TRUE(read_import_date(u"2008/02/29", 1033, y, m, d));

    for (std::u16string_view bad :
         {u"2007/02/29", u"13/13/2007", u"02/30/2007", u"20070305", u"03/05", u"03/05/2007/1",
          u"x/05/2007", u"00/05/2007", u"99999999999/1/1", u""})
        EXPECT_FALSE(read_import_date(bad, 1033, y, m, d)) << std::string(bad.begin(), bad.end());
}

TEST(import_file, skips_lines_whose_date_is_not_a_calendar_date) {
    account_fixture f;
    f.open(u"Car");
    f.fs.put(u"\\in.csv", as_bytes(english_header + "\"02/30/2007\",\"1\",\"Fuel\"\r\n"
                                                    "\"2007\",\"2\",\"Fees\"\r\n"
                                                    "\"02/28/2007\",\"3\",\"Fuel\"\r\n"
                                                    "\"02/28/2007\",\"4\",\"Something\"\r\n"
                                                    "\r\n\"\",\"\"\r\n"));
    const import_summary s = f.exchange.import_file(u"\\in.csv");
    EXPECT_EQ(s.fuel, 1);
    EXPECT_EQ(s.fees, 0);
    // The two dates and the item no record kind has; not the header line
    // nor the empty ones.
    EXPECT_EQ(s.skipped, 3);
    ASSERT_EQ(f.fuel.record_count(), 1);
    EXPECT_EQ(f.fuel.record_at(0).mileage, 3);
    EXPECT_EQ(f.fuel.record_at(0).hour, 0);
    EXPECT_TRUE(f.messages().empty());
}

// Text a spreadsheet would run as a formula is written so that it shows as
// text, and reads back exactly as it was typed.
TEST(import_file, texts_a_spreadsheet_would_run_are_written_as_text_and_read_back) {
    account_fixture f;
    f.open(u"Car");
    const std::u16string texts[] = {u"=HYPERLINK(\"http://x\",\"y\")",
                                    u"+95",
                                    u"-5 km",
                                    u"@SUM(A1)",
                                    u"'=kept",
                                    u"''-two",
                                    u"'plain",
                                    u"plain"};
    for (const auto& text : texts) {
        ASSERT_TRUE(f.fuel.add_record(fill_up(2007, 3, 5, 100, 1, 1, 1, 1, text, text)).added());
        ASSERT_TRUE(f.service.add_record(job(2007, 3, 5, 100, 1, 0, true, text)).added());
        ASSERT_TRUE(f.fees.add_record(fee(2007, 3, 5, 100, 1, text, text)).added());
    }
    ASSERT_TRUE(f.exchange.export_account(u"\\out.csv"));
    const std::string csv = f.file(u"\\out.csv");
    EXPECT_NE(csv.find("\"Fuel\",\"'=HYPERLINK("), std::string::npos);
    EXPECT_NE(csv.find(",\"'+95\",\"\",\"\"\r\n"), std::string::npos) << "the fuel type";
    EXPECT_NE(csv.find("\"'@SUM(A1)\",\"\"\r\n"), std::string::npos) << "the category";
    EXPECT_NE(csv.find("\"Repair\",\"'-5 km\""), std::string::npos);
    EXPECT_NE(csv.find("\"''=kept\""), std::string::npos);
    EXPECT_EQ(csv.find("\"''plain\""), std::string::npos) << "no formula, no apostrophe";

    f.close_stores();
    f.open(u"Van");
    const import_summary s = f.exchange.import_file(u"\\out.csv");
    ASSERT_EQ(s.fuel, 8);
    ASSERT_EQ(s.service, 8);
    ASSERT_EQ(s.fees, 8);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(texts[i], fixed_text(f.fuel.record_at(i).note));
        EXPECT_EQ(texts[i], fixed_text(f.fuel.record_at(i).fuel_type));
        EXPECT_EQ(texts[i], fixed_text(f.service.record_at(i).description));
        EXPECT_EQ(texts[i], fixed_text(f.fees.record_at(i).category));
        EXPECT_EQ(texts[i], fixed_text(f.fees.record_at(i).description));
    }
}

// An import adds to three files: failing at any of its writes or moves it
// adds nothing to any of them, so running it again adds every record once.
TEST(import_file, all_three_files_or_none) {
    account_fixture f;
    f.open(u"Car");
    ASSERT_TRUE(f.fuel.add_record(fill_up(2007, 1, 1, 100, 10, 1, 10, 1, u"95", u"")).added());
    ASSERT_TRUE(f.service.add_record(job(2007, 1, 2, 110, 20, 0, true, u"old")).added());
    ASSERT_TRUE(f.fees.add_record(fee(2007, 1, 3, 120, 3, u"Parking", u"")).added());
    f.close_stores();
    f.open(u"Car");
    f.fs.put(
        u"\\in.csv",
        as_bytes(english_header +
                 "\"02/01/2007\",\"200.0\",\"Fuel\",\"\",\"30.00\",\"1.000\",\"30.00\",\"1.00\","
                 "\"95\",\"\",\"\"\r\n"
                 "\"02/02/2007\",\"210\",\"Repair\",\"new\",\"50.00\",\"\",\"\",\"\",\"\",\"\","
                 "\"0.0\"\r\n"
                 "\"02/03/2007\",\"220.0\",\"Fees\",\"\",\"4.00\",\"\",\"\",\"\",\"\",\"Toll\","
                 "\"\"\r\n"
                 "\"01/01/2006\",\"50.0\",\"Fees\",\"\",\"1.00\",\"\",\"\",\"\",\"\",\"Toll\","
                 "\"\"\r\n"));
    const auto files = [&] {
        return std::vector<std::string>{f.file(testing::file_of<fuel_store>(u"Car")),
                                        f.file(testing::file_of<service_store>(u"Car")),
                                        f.file(testing::file_of<fee_store>(u"Car"))};
    };
    const auto before = files();
    faulty_file_system faulty(f.fs);
    scoped_services failing{{&faulty}};
    int failures = 0;
    for (const bool on_write : {true, false}) {
        for (int k = 1;; ++k) {
            on_write ? faulty.fail_write(k) : faulty.fail_replace(k);
            const import_summary s = f.exchange.import_file(u"\\in.csv");
            faulty.fail_write(0), faulty.fail_replace(0);
            if (!s.write_failed) {
                EXPECT_EQ(s.fuel + s.service + s.fees, 4);
                break;
            }
            ++failures;
            ASSERT_EQ(before, files()) << (on_write ? "write " : "move ") << k;
            EXPECT_EQ(s.fuel + s.service + s.fees, 0);
            EXPECT_EQ(f.fuel.record_count(), 1);
            EXPECT_EQ(f.fees.record_count(), 1);
        }
        if (on_write) {
            // Back to the files before the import for the round of failing moves.
            f.close_stores();
            f.fs.put(testing::file_of<fuel_store>(u"Car"), as_bytes(before[0]));
            f.fs.put(testing::file_of<service_store>(u"Car"), as_bytes(before[1]));
            f.fs.put(testing::file_of<fee_store>(u"Car"), as_bytes(before[2]));
            f.open(u"Car");
        }
    }
    EXPECT_GT(failures, 6);
    f.close_stores();
    f.open(u"Car");
    EXPECT_EQ(f.fuel.record_count(), 2);
    EXPECT_EQ(f.service.record_count(), 2);
    EXPECT_EQ(f.fees.record_count(), 3);
    EXPECT_EQ(f.fees.header().total_cost, 8);
}

// Export, import into another account and export again gives the same text
// in every date style: day and month never change places.
TEST(import_file, round_trip_in_every_date_style) {
    for (std::uint16_t language : {9, 12, 1031, 2052, 1033}) {
        account_fixture f;
        f.dev.set_language_id(language);
        f.open(u"Car");
        EXPECT_TRUE(
            f.fuel.add_record(fill_up(2007, 3, 5, 1234.5, 40, 1.25, 32, 0.5, u"93", u"Zoë's car"))
                .added());
        EXPECT_TRUE(
            f.fuel.add_record(fill_up(2007, 12, 11, 1500.25, 41.5, 1.333, 31.2, 10, u"95", u""))
                .added());
        EXPECT_TRUE(
            f.service.add_record(job(2007, 7, 4, 1300, 80, 6000.5, false, u"Service")).added());
        EXPECT_TRUE(f.service.add_record(job(2008, 1, 2, 1600, 20, 0, true, u"Wiper")).added());
        EXPECT_TRUE(f.fees.add_record(fee(2007, 8, 1, 1400.5, 3.5, u"Parking", u"City")).added());
        ASSERT_TRUE(f.exchange.export_account(u"\\car.csv"));

        f.open(u"Van");
        const import_summary s = f.exchange.import_file(u"\\car.csv");
        EXPECT_EQ(s.fuel + s.service + s.fees, 5) << language;
        ASSERT_TRUE(f.exchange.export_account(u"\\van.csv"));
        EXPECT_EQ(f.file(u"\\van.csv"), f.file(u"\\car.csv")) << language;
        EXPECT_EQ(f.fuel.record_at(0).month, 3) << language;
        EXPECT_EQ(f.fuel.record_at(0).day, 5) << language;
    }
}

TEST(import_file, reads_utf8_with_or_without_mark_and_falls_back_to_windows_1252) {
    account_fixture f;
    f.open(u"Car");
    f.fs.put(u"\\bom.csv",
             as_bytes("\xEF\xBB\xBF\"03/05/2007\",\"1\",\"Fuel\",\"Caf\xC3\xA9\"\r\n"));
    f.fs.put(u"\\plain.csv", as_bytes("\"03/06/2007\",\"2\",\"Fuel\",\"\xE2\x82\xAC 5\"\r\n"));
    f.fs.put(u"\\cp1252.csv", as_bytes("\"03/07/2007\",\"3\",\"Fuel\",\"Caf\xE9 \x80\"\r\n"));
    (void)f.exchange.import_file(u"\\bom.csv");
    (void)f.exchange.import_file(u"\\plain.csv");
    (void)f.exchange.import_file(u"\\cp1252.csv");
    ASSERT_EQ(f.fuel.record_count(), 3);
    EXPECT_EQ(fixed_text(f.fuel.record_at(0).note), u"Café");
    EXPECT_EQ(fixed_text(f.fuel.record_at(1).note), u"€ 5");
    EXPECT_EQ(fixed_text(f.fuel.record_at(2).note), u"Café €");

    // The export writes UTF-8.
    ASSERT_TRUE(f.exchange.export_account(u"\\out.csv"));
    EXPECT_NE(f.file(u"\\out.csv").find("\"Caf\xC3\xA9\""), std::string::npos);
}

TEST(import_file, tells_the_owner_when_it_cannot_start) {
    account_fixture f;
    small_table table;
    table.words = {{u"Can't find file!", u"translated"}};
    scoped_translator use(&table);
    f.fs.put(u"\\in.csv", as_bytes("\"03/05/2007\",\"1\",\"Fuel\"\r\n"));
    EXPECT_FALSE(f.exchange.import_file(u"\\in.csv").read);
    EXPECT_EQ(f.messages(), std::vector<std::u16string>{u"Please open an account."});

    f.open(u"Car");
    f.boxes.clear();
    EXPECT_FALSE(f.exchange.import_file(u"\\missing.csv").read);
    EXPECT_EQ(f.messages(), std::vector<std::u16string>{u"Can't find file!"});
    EXPECT_EQ(f.fuel.record_count(), 0);
}

// An import in deferred mode leaves the same files as adding the lines one
// by one, in date order or shuffled, appended after older records or mixed
// among them.
TEST(import_file, bulk_import_leaves_the_files_of_one_by_one_adding) {
    std::string lines;
    const int order[] = {3, 9, 1, 14, 6, 0, 11, 2, 13, 7, 5, 12, 8, 4, 10};
    for (int i : order) {
        const std::string date = "\"03/" + std::to_string(10 + i) + "/2007\"";
        const std::string mileage = "\"" + std::to_string(1000 + 37 * i) + "\"";
        lines += date + "," + mileage + ",\"Fuel\",\"n\",\"" + std::to_string(i) +
                 "\",\"1\",\"20\",\"40\",\"\",\"\",\"\"\r\n";
        lines += date + "," + mileage + ",\"" + (i % 2 ? "Repair" : "Maintenance") +
                 "\",\"d\",\"2\",\"\",\"\",\"\",\"\",\"\",\"5\"\r\n";
        lines += date + "," + mileage + ",\"Fees\",\"d\",\"3\",\"\",\"\",\"\",\"\",\"c\",\"\"\r\n";
    }
    const auto files_after = [&](bool bulk) {
        account_fixture f;
        f.open(u"Car");
        EXPECT_TRUE(
            f.fuel.add_record(fill_up(2007, 3, 18, 1300, 9, 1, 20, 40, u"", u"older")).added());
        EXPECT_TRUE(f.service.add_record(job(2007, 3, 1, 900, 9, 0, true, u"older")).added());
        f.fs.put(u"\\in.csv", as_bytes(lines));
        if (bulk) {
            (void)f.exchange.import_file(u"\\in.csv");
        } else {
            const std::u16string text = from_utf8(lines);
            import_summary s;
            for (auto line : split_lines(text)) f.exchange.import_line(line, s);
        }
        f.close_stores();
        return std::array{f.fs.bytes(testing::file_of<fuel_store>(u"Car")),
                          f.fs.bytes(testing::file_of<service_store>(u"Car")),
                          f.fs.bytes(testing::file_of<fee_store>(u"Car"))};
    };
    const auto bulk = files_after(true);
    const auto single = files_after(false);
    for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(bulk[i], single[i]) << i;
    EXPECT_EQ(bulk[0].size(), 1920u + 16 * 480u);
}

}  // namespace
}  // namespace kelvane
