// kelvane-tool's account commands and options, driven through the built
// executable: what the account editor, the accounts page and the options
// screen do to the files.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/common/parse_number.h"
#include "tool_run_support.h"

namespace kelvane::test {
namespace {

using ::testing::HasSubstr;

constexpr double km_to_miles = 0.6213881744949012;
constexpr double miles_to_km = 1.6093000173568726;

// Config.dat: the open account and the name slots.
constexpr std::size_t current_account_at = 204, slots_at = 4074, slot_size = 258;

class tool_accounts : public ::testing::Test {
protected:
    void run_ok(const std::vector<std::string>& args) {
        const tool_result r = root.run(args);
        ASSERT_EQ(0, r.code) << args.front() << ": " << r.err;
    }
    std::vector<std::uint8_t> file(const char* name) const {
        return file_bytes(root.data_folder() / name);
    }
    std::u16string slot(int i) const {
        return text_at(file("Config.dat"), slots_at + static_cast<std::size_t>(i) * slot_size, 129);
    }

    tool_root root;
};

TEST_F(tool_accounts, a_new_accounts_economy_follows_its_units_unless_chosen) {
    // The same rule as the account editor's, so both make the same account.
    constexpr std::size_t economy_at = 1732;
    run_ok({"add-account", "Golf"});
    EXPECT_EQ(2u, u32_at(file("Golf.ful"), economy_at)) << "Liter/100Km";
    run_ok({"add-account", "Mini", "--mileage-unit", "Mile", "--fuel-unit", "UK Gallon"});
    EXPECT_EQ(1u, u32_at(file("Mini.ful"), economy_at)) << "Mile/UK Gallon";
    run_ok({"add-account", "Van", "--mileage-unit", "Mile", "--fuel-unit", "US Gallon", "--economy",
            "3"});
    EXPECT_EQ(3u, u32_at(file("Van.ful"), economy_at)) << "the owner's choice";
}

TEST_F(tool_accounts,
       kilometres_to_miles_and_back_convert_records_trips_and_the_shown_starting_values) {
    run_ok({"add-account", "Car", "--initial-mileage", "1000", "--tank", "50", "--date",
            "2026-03-01"});
    run_ok({"add-fuel", "--date", "2026-03-01", "--mileage", "1000", "--price", "1.5", "--cost",
            "60"});
    run_ok({"add-repair", "--date", "2026-03-02", "--mileage", "1000", "--cost", "10",
            "--next-service", "2000"});
    run_ok({"add-fee", "--date", "2026-03-03", "--mileage", "1000", "--cost", "1"});
    run_ok({"add-trip", "Commute", "--min", "1000", "--max", "1500"});

    run_ok({"edit-account", "Car", "--mileage-unit", "Mile"});
    auto ful = file("Car.ful");
    EXPECT_EQ(u"Mile", text_at(ful, 1606, 31));
    EXPECT_EQ(parse_number(u"621.4"), f64_at(ful, 1512))
        << "the initial mileage as the editor shows it converted";
    EXPECT_EQ(1000 * km_to_miles, f64_at(ful, 1920 + 168));
    const auto mat = file("Car.mat");
    EXPECT_EQ(1000 * km_to_miles, f64_at(mat, 1608 + 168));
    EXPECT_EQ(2000 * km_to_miles, f64_at(mat, 1608 + 184)) << "the next service too";
    EXPECT_EQ(1000 * km_to_miles, f64_at(file("Car.fee"), 1608 + 168));
    auto trip = file("Trip.tri");
    EXPECT_EQ(1000 * km_to_miles, f64_at(trip, 1592 + 168));
    EXPECT_EQ(1500 * km_to_miles, f64_at(trip, 1592 + 176));
    EXPECT_EQ(50.0, f64_at(ful, 1504)) << "the volume unit did not change";

    run_ok({"edit-account", "Car", "--mileage-unit", "Kilometer", "--fuel-unit", "US Gallon"});
    ful = file("Car.ful");
    EXPECT_EQ(u"Kilometer", text_at(ful, 1606, 31));
    EXPECT_EQ(1000.0, f64_at(ful, 1512)) << "621.4 miles are shown as 1000.0 km";
    EXPECT_EQ(1000 * km_to_miles * miles_to_km, f64_at(ful, 1920 + 168));
    EXPECT_NE(1000.0, f64_at(ful, 1920 + 168)) << "the factors are not each other's inverse";
    trip = file("Trip.tri");
    EXPECT_EQ(1500 * km_to_miles * miles_to_km, f64_at(trip, 1592 + 176));
    EXPECT_EQ(parse_number(u"13.210"), f64_at(ful, 1504)) << "50 litres shown as 13.210 US gallons";
    EXPECT_EQ(40 * 0.2642007926023778, f64_at(ful, 1920 + 176));
    EXPECT_EQ(60 / (40 * 0.2642007926023778), f64_at(ful, 1920 + 208)) << "price per gallon";
}

TEST_F(tool_accounts, refused_names_and_a_full_table_change_no_byte) {
    run_ok({"add-account", "Car"});
    run_ok({"add-account", "Van"});
    run_ok(
        {"add-fuel", "Car", "--mileage", "10", "--cost", "5", "--quantity", "2", "--gauge", "2"});
    run_ok({"add-trip", "Work", "--vehicles", "Car"});
    const auto before = folder_bytes(root.data_folder());

    const struct {
        std::string name;
        const char* message;
    } refused[] = {
        {"Van", "Another vehicle has this name already. Please choose another name."},
        {"van", "Another vehicle has this name already."},  // the same files on the device
        {"a/b", "A vehicle name can not be \".\" or \"..\""},
        {"..", "A vehicle name can not be"},
    };
    for (const auto& r : refused) {
        const tool_result result = root.run({"edit-account", "Car", "--rename", r.name});
        EXPECT_EQ(1, result.code) << r.name;
        EXPECT_THAT(result.err, HasSubstr(r.message)) << r.name;
        EXPECT_EQ(before, folder_bytes(root.data_folder())) << r.name;
    }

    // All hundred slots in use: a new account is refused, an edit goes on.
    auto config = file("Config.dat");
    for (int i = 2; i < 100; ++i) {
        const std::string name = "V" + std::to_string(i);
        for (std::size_t k = 0; k < name.size(); ++k)
            config[slots_at + static_cast<std::size_t>(i) * slot_size + 2 * k] =
                static_cast<std::uint8_t>(name[k]);
    }
    write_bytes(root.data_folder() / "Config.dat", config);
    const auto full = folder_bytes(root.data_folder());
    const tool_result extra = root.run({"add-account", "Extra"});
    EXPECT_EQ(1, extra.code);
    EXPECT_THAT(extra.err, HasSubstr("No more vehicles can be added: there are 100 already."));
    EXPECT_EQ(full, folder_bytes(root.data_folder()));
    run_ok({"edit-account", "Car", "--rename", "Auto"});
    EXPECT_EQ(u"Auto", slot(0)) << "a rename frees its own slot first";
}

TEST_F(tool_accounts,
       deleting_moves_the_files_away_drops_its_trips_and_frees_the_slot_for_the_next) {
    run_ok({"add-account", "Car"});
    run_ok({"add-account", "Van"});
    run_ok({"add-trip", "Car first", "--vehicles", "Car,Van"});
    run_ok({"add-trip", "Van first", "--vehicles", "Van,Car"});
    const auto car = file("Car.ful");

    const tool_result deleted = root.run({"delete-account", "Car"});
    ASSERT_EQ(0, deleted.code) << deleted.err;
    EXPECT_THAT(deleted.out, HasSubstr("1 trip"));
    EXPECT_FALSE(std::filesystem::exists(root.data_folder() / "Car.ful"));
    EXPECT_EQ(car, file("Deleted/Car.ful"));
    EXPECT_EQ(u"", slot(0));
    EXPECT_EQ(u"", text_at(file("Config.dat"), current_account_at, 129)) << "nothing is open";
    const tool_result trips = root.run({"trips", "--json"});
    EXPECT_THAT(trips.out, HasSubstr("\"Van first\""));
    EXPECT_EQ(std::string::npos, trips.out.find("Car first"));

    run_ok({"add-account", "Bus"});
    EXPECT_EQ(u"Bus", slot(0));
    EXPECT_EQ(u"Van", slot(1));
    EXPECT_EQ(1, root.run({"delete-account", "Car"}).code) << "it is gone";
}

TEST_F(tool_accounts, open_chooses_the_account_that_commands_work_on) {
    run_ok({"add-account", "Car"});
    run_ok({"add-account", "Van"});
    run_ok({"open", "Car"});
    EXPECT_THAT(root.run({"accounts", "--json"}).out, HasSubstr("{\"current\":\"Car\""));
    run_ok({"add-fee", "--cost", "3"});
    EXPECT_EQ(1608u + 448u, file("Car.fee").size());
    const auto before = folder_bytes(root.data_folder());
    const tool_result missing = root.run({"open", "Bus"});
    EXPECT_EQ(1, missing.code);
    EXPECT_THAT(missing.err, HasSubstr("no vehicle account named 'Bus'"));
    EXPECT_EQ(before, folder_bytes(root.data_folder()));
}

// A language file: byte-order mark, then "key@text" lines in UTF-16LE.
void write_language(const std::filesystem::path& path, const std::string& lines) {
    std::vector<std::uint8_t> bytes = {0xFF, 0xFE};
    for (char c : lines) bytes.insert(bytes.end(), {static_cast<std::uint8_t>(c), 0});
    write_bytes(path, bytes);
}

TEST_F(tool_accounts,
       options_choose_the_next_starts_language_the_backup_folder_and_the_input_panel) {
    run_ok({"add-account", "Car"});
    write_language(root.data_folder() / "French.lng", "Fuel@Carburant\r\n");

    const tool_result shown = root.run({"options", "--json"});
    ASSERT_EQ(0, shown.code) << shown.err;
    EXPECT_THAT(shown.out, HasSubstr("\"language\":\"\",\"language_files\":[\"French.lng\"]"));
    EXPECT_THAT(shown.out, HasSubstr("\"input_panel\":true,\"last_auto_backup\":null"));

    const tool_result set = root.run({"options", "--language", "French", "--backup-folder",
                                      "Backups", "--input-panel", "off", "--json"});
    ASSERT_EQ(0, set.code) << set.err;
    EXPECT_THAT(set.out, HasSubstr("\"language\":\"French.lng\""));
    EXPECT_THAT(set.out, HasSubstr("\"backup_folder\":\"\\\\Backups\\\\\""));
    EXPECT_THAT(set.out, HasSubstr("\"input_panel\":false"));
    const auto config = file("Config.dat");
    EXPECT_EQ(u"French.lng", text_at(config, 2872, 601));
    EXPECT_EQ(u"\\Backups\\", text_at(config, 1670, 601));
    EXPECT_EQ(1u, u32_at(config, 29920));
    // The next start (the next command) speaks the language chosen.
    EXPECT_THAT(root.run({"records"}).out, HasSubstr("Carburant (0)"));

    const auto before = folder_bytes(root.data_folder());
    const tool_result missing = root.run({"options", "--language", "Klingon"});
    EXPECT_EQ(1, missing.code);
    EXPECT_THAT(missing.err, HasSubstr("The language file can not be found."));
    EXPECT_EQ(before, folder_bytes(root.data_folder()));
    const tool_result outside = root.run({"options", "--language", "..\\Other"});
    EXPECT_EQ(1, outside.code);
    EXPECT_THAT(outside.err, HasSubstr("The language name is not valid"));

    run_ok({"options", "--language", "English"});
    EXPECT_FALSE(std::filesystem::exists(root.data_folder() / "Language.lng"));
    EXPECT_EQ(u"", text_at(file("Config.dat"), 2872, 601));
    EXPECT_THAT(root.run({"records"}).out, HasSubstr("Fuel (0)"));
    EXPECT_TRUE(std::filesystem::exists(root.data_folder() / "French.lng")) << "kept for later";
}

}  // namespace
}  // namespace kelvane::test
