// Moving whole data sets with kelvane-tool: export and import, backup and
// restore, and the trips over them.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tool_run_support.h"

namespace kelvane::test {
namespace {

using ::testing::HasSubstr;

std::string read_all(const std::filesystem::path& p) {
    const auto bytes = file_bytes(p);
    return std::string(bytes.begin(), bytes.end());
}

class tool_data_sets : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(0, root.run({"add-account", "Car", "--tank", "50"}).code);
        ASSERT_EQ(0, root.run({"add-fuel", "--date", "2024-01-10", "--mileage", "1000", "--price",
                               "1.25", "--quantity", "32", "--type", "93", "--note", "a, b"})
                         .code);
        ASSERT_EQ(0, root.run({"add-repair", "--date", "2024-02-01", "--mileage", "1234.6",
                               "--cost", "99", "--description", "Tyres"})
                         .code);
        ASSERT_EQ(0, root.run({"add-fee", "--date", "2024-03-01", "--mileage", "1300", "--cost",
                               "15", "--category", "Toll"})
                         .code);
    }
    tool_root root;
};

TEST_F(tool_data_sets, exported_file_imports_into_another_account_unchanged) {
    std::filesystem::create_directory(root.path() / "out dir");
    const auto csv = root.path() / "out dir" / "car.csv";
    auto exported = root.run({"export", "Car", csv.string()});
    ASSERT_EQ(0, exported.code) << exported.err;
    const std::string text = read_all(csv);
    EXPECT_THAT(text, HasSubstr("\"01/10/2024\",\"1000.0\",\"Fuel\",\"a, b\",\"40.00\",\"1.250\","
                                "\"32.00\",\"50.00\",\"93\",\"\",\"\"\r\n"));
    EXPECT_THAT(text, HasSubstr("\"02/01/2024\",\"1235\",\"Repair\",\"Tyres\",\"99.00\""));

    ASSERT_EQ(0, root.run({"add-account", "Copy"}).code);
    auto imported = root.run({"import", "Copy", csv.string()});
    ASSERT_EQ(0, imported.code) << imported.err;
    EXPECT_THAT(imported.out, HasSubstr("Imported 1 fuel, 1 repair and maintenance and 1 fees"));
    const auto original = root.run({"records", "Car", "--json"});
    const auto copy = root.run({"records", "Copy", "--json"});
    // Same records apart from the keys and the name.
    EXPECT_THAT(copy.out, HasSubstr("\"note\":\"a, b\""));
    EXPECT_THAT(copy.out, HasSubstr("\"category\":\"Toll\""));
    EXPECT_THAT(original.out, HasSubstr("\"mileage\":1234.6,"));
    EXPECT_THAT(copy.out, HasSubstr("\"mileage\":1235,"));  // the export rounds repairs

    auto missing = root.run({"import", "Copy", (root.path() / "none.csv").string()});
    EXPECT_EQ(1, missing.code);
    EXPECT_THAT(missing.err, HasSubstr("no file"));
    auto no_account = root.run({"export", "Truck", csv.string()});
    EXPECT_EQ(1, no_account.code);
}

TEST_F(tool_data_sets, import_leaves_out_lines_with_impossible_dates) {
    const auto csv = root.path() / "odd.csv";
    write_bytes(csv, [] {
        const std::string s =
            "\"02/30/2024\",\"5\",\"Fees\",\"\",\"1.00\",\"\",\"\",\"\",\"\",\"X\",\"\"\r\n"
            "\"03/02/2024\",\"6\",\"Fees\",\"\",\"2.00\",\"\",\"\",\"\",\"\",\"Y\",\"\"\r\n";
        return std::vector<std::uint8_t>(s.begin(), s.end());
    }());
    auto r = root.run({"import", "Car", csv.string()});
    ASSERT_EQ(0, r.code) << r.err;
    EXPECT_THAT(r.out, HasSubstr("and 1 fees records"));
    EXPECT_THAT(r.err, HasSubstr("1 lines were left out"));
}

// Another tracker's file: the tool names the layout, takes the units and
// the date order given, and refuses what it cannot read whole.
TEST_F(tool_data_sets, import_reads_another_trackers_file_with_its_options) {
    const auto csv = root.path() / "fuelup.csv";
    write_bytes(csv, [] {
        const std::string s =
            "Date,Odometer,FuelConsumed,Cost,FuelEconomy,IsFillToFull,MissedFuelUp,Notes,Tags\n"
            "3/5/2024,2000,10,30.00,0,True,False,,\n";
        return std::vector<std::uint8_t>(s.begin(), s.end());
    }());
    auto r = root.run({"import", "Car", csv.string()});
    EXPECT_EQ(1, r.code);
    EXPECT_THAT(r.err, HasSubstr("--dates day-first or --dates month-first"));
    r = root.run({"import", "Car", csv.string(), "--format", "fuelly"});
    EXPECT_EQ(1, r.code);
    EXPECT_THAT(r.err, HasSubstr("Nothing was imported"));
    EXPECT_EQ(2, root.run({"import", "Car", csv.string(), "--from-units", "mi,gallons"}).code);
    EXPECT_EQ(2, root.run({"import", "Car", csv.string(), "--format", "excel"}).code);

    r = root.run({"import", "Car", csv.string(), "--dates", "day-first", "--from-units", "mi,usgal",
                  "--format", "auto"});
    ASSERT_EQ(0, r.code) << r.err;
    EXPECT_THAT(r.out, HasSubstr("Format: LubeLogger\nImported 1 fuel, 0 repair and "
                                 "maintenance and 0 fees records\n"));
    EXPECT_THAT(r.out, HasSubstr("Units of the file: Mile, US Gallon (as given)"));
    const auto records = root.run({"records", "Car", "--json"});
    EXPECT_THAT(records.out, HasSubstr("\"date\":\"2024-05-03 00:00:00\",\"mileage\":3218.6"));
    EXPECT_THAT(records.out, HasSubstr("\"quantity\":37.85"));
}

TEST_F(tool_data_sets, backup_restores_into_a_fresh_root_and_keeps_the_records) {
    const auto folder = root.path() / "backup";
    auto saved = root.run({"backup", folder.string()});
    ASSERT_EQ(0, saved.code) << saved.err;
    for (const char* name : {"Config.dat", "Car.ful", "Car.mat", "Car.fee"})
        EXPECT_TRUE(std::filesystem::exists(folder / name)) << name;

    tool_root other;
    auto restored = other.run({"restore", folder.string()});
    ASSERT_EQ(0, restored.code) << restored.err;
    EXPECT_EQ(file_bytes(root.data_folder() / "Car.ful"),
              file_bytes(other.data_folder() / "Car.ful"));
    auto listed = other.run({"accounts"});
    EXPECT_THAT(listed.out, HasSubstr("Total Cost: 154.00"));

    // A backup folder can also be read in place.
    auto in_place = root.run_bare({"--data", folder.string(), "records", "Car", "--json"});
    ASSERT_EQ(0, in_place.code) << in_place.err;
    EXPECT_THAT(in_place.out, HasSubstr("\"description\":\"Tyres\""));

    auto empty = other.run({"restore", (root.path() / "nothing").string()});
    EXPECT_EQ(1, empty.code);
    EXPECT_THAT(empty.err, HasSubstr("holds no backup"));
}

// Where a target cannot be made, the command says so and fails, instead of
// reporting a backup, an export or a picture that does not exist.
TEST_F(tool_data_sets, targets_that_cannot_be_written_fail_loudly) {
    const auto blocker = root.path() / "a file";
    write_bytes(blocker, {1, 2, 3});
    const auto under_file = (blocker / "inside").string();

    auto backup = root.run({"backup", under_file});
    EXPECT_EQ(1, backup.code);
    EXPECT_THAT(backup.err, HasSubstr("no folder '" + blocker.string() + "'"));

    auto exported = root.run({"export", "Car", under_file + "/car.csv"});
    EXPECT_EQ(1, exported.code);
    EXPECT_FALSE(exported.err.empty());

    auto picture = root.run({"chart", "3", "--out", under_file + "/pie.bmp"});
    EXPECT_EQ(1, picture.code);
    EXPECT_FALSE(picture.err.empty());
    EXPECT_EQ((std::vector<std::uint8_t>{1, 2, 3}), file_bytes(blocker));
}

// A Config.dat cut short must not make the vehicles vanish (and let sample
// data in among the real records): it is kept aside, the person is told, and
// the accounts are found again from their files.
TEST_F(tool_data_sets, damaged_config_is_kept_and_the_accounts_are_found_again) {
    ASSERT_EQ(0, root.run({"add-account", "Van"}).code);
    const auto config = root.data_folder() / "Config.dat";
    auto cut = file_bytes(config);
    cut.resize(5000);
    write_bytes(config, cut);

    auto listed = root.run({"accounts", "--json"});
    ASSERT_EQ(0, listed.code) << listed.err;
    EXPECT_THAT(listed.out, HasSubstr("\"name\":\"Car\""));
    EXPECT_THAT(listed.out, HasSubstr("\"name\":\"Van\""));
    EXPECT_THAT(listed.err, HasSubstr("Config.dat.unreadable"));
    EXPECT_EQ(cut, file_bytes(root.data_folder() / "Config.dat.unreadable"));
    EXPECT_EQ(30028u, file_bytes(config).size());

    const auto records = file_bytes(root.data_folder() / "Car.ful");
    auto sample = root.run({"sample"});
    EXPECT_EQ(1, sample.code);
    // Record files with no Config.dat to name them are still someone's records.
    std::filesystem::remove(config);
    sample = root.run({"sample"});
    EXPECT_EQ(1, sample.code);
    EXPECT_THAT(sample.err, HasSubstr("already holds record files"));
    EXPECT_EQ(records, file_bytes(root.data_folder() / "Car.ful"));
}

// An export or a picture is never written over the program's own files,
// and a path refused on the way leaves no folder behind.
TEST_F(tool_data_sets, export_and_picture_never_replace_the_programs_files) {
    const auto data = root.data_folder();
    const auto before_ful = file_bytes(data / "Car.ful");
    const auto before_config = file_bytes(data / "Config.dat");
    for (const auto& target :
         {data / "Car.ful", data / "Config.dat", root.path() / "CAR.FEE", data / "Language.lng"}) {
        SCOPED_TRACE(target.string());
        auto exported = root.run({"export", "Car", target.string()});
        EXPECT_EQ(1, exported.code);
        EXPECT_THAT(exported.err, HasSubstr("is not written over"));
        // No file of the program has a picture's name.
        auto picture = root.run({"chart", "0", "--out", target.string()});
        EXPECT_EQ(2, picture.code);
        EXPECT_THAT(picture.out, ::testing::Not(HasSubstr("Saved")));
    }
    EXPECT_EQ(before_ful, file_bytes(data / "Car.ful"));
    EXPECT_EQ(before_config, file_bytes(data / "Config.dat"));
    EXPECT_FALSE(std::filesystem::exists(root.path() / "CAR.FEE"));

    // A file name longer than the host takes: the folders made for it go again.
    const auto too_long = root.path() / "new folder" / "inner" / (std::string(300, 'x') + ".csv");
    auto exported = root.run({"export", "Car", too_long.string()});
    EXPECT_EQ(1, exported.code);
    EXPECT_FALSE(std::filesystem::exists(root.path() / "new folder"));
}

TEST(tool_trips, sample_trips_list_with_their_figures_and_chart) {
    tool_root root;
    ASSERT_EQ(0, root.run({"sample", "--vehicles", "2", "--years", "3"}).code);
    auto listed = root.run({"trips", "--json"});
    ASSERT_EQ(0, listed.code) << listed.err;
    EXPECT_THAT(listed.out, HasSubstr("\"vehicles\":[\"Corolla\",\"Pickup\"]"));
    EXPECT_THAT(listed.out, HasSubstr("\"mileage\":5000}"));  // the mileage range itself
    auto text = root.run({"trips"});
    EXPECT_THAT(text.out, HasSubstr("(Corolla,Pickup)"));

    const auto trips = root.run({"trips", "--json"}).out;
    const auto start = trips.find("\"description\":\"") + 15;
    const std::string name = trips.substr(start, trips.find('"', start) - start);
    auto pie = root.run({"report", "4", "--trip", name, "--json"});
    ASSERT_EQ(0, pie.code) << pie.err;
    EXPECT_THAT(pie.out, HasSubstr("\"title\":\"Total trip mileage : "));
    EXPECT_THAT(pie.out, HasSubstr("\"chart\":\"pie\""));

    EXPECT_EQ(1, root.run({"report", "4", "--trip", "No such trip"}).code);
    EXPECT_EQ(2, root.run({"report", "4"}).code);
    EXPECT_EQ(2, root.run({"report", "4", "--trip", name, "--vehicles", "Pickup"}).code);
    EXPECT_EQ(2, root.run({"report", "3", "--trip", name}).code);
}

}  // namespace
}  // namespace kelvane::test
