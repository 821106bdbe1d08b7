// kelvane-tool's record edits by key and its trip commands, driven through
// the built executable.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <tuple>

#include "tool_run_support.h"

namespace kelvane::test {
namespace {

using ::testing::HasSubstr;

class tool_edits : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(0, root.run({"add-account", "Car", "--tank", "50"}).code); }
    // Runs a command that must succeed; its output.
    std::string run_ok(const std::vector<std::string>& args) {
        const tool_result r = root.run(args);
        EXPECT_EQ(0, r.code) << args.front() << ": " << r.err;
        return r.out;
    }
    // An add command's key.
    std::string added(const std::vector<std::string>& args) {
        const std::string out = run_ok(args);
        return out.substr(0, out.find('\n'));
    }
    std::map<std::string, std::vector<std::uint8_t>> files() const {
        return folder_bytes(root.data_folder());
    }

    tool_root root;
};

TEST_F(tool_edits, a_fill_up_moved_to_another_day_takes_its_place_and_its_neighbours_recompute) {
    // As in the fuel screens' own test: the 2000 fill-up was dated the 10th.
    std::string wrong;
    for (const auto& [mileage, bought, day] :
         {std::tuple{"1000", "40", "01"}, std::tuple{"1500", "40", "02"},
          std::tuple{"2000", "50", "10"}, std::tuple{"2500", "30", "04"}}) {
        const std::string key =
            added({"add-fuel", "--date", std::string("2026-03-") + day + " 12:00", "--mileage",
                   mileage, "--quantity", bought, "--price", "1", "--gauge", "50"});
        if (std::string(day) == "10") wrong = key;
    }
    run_ok({"edit-fuel", wrong, "--date", "2026-03-03"});
    const std::string json = run_ok({"records", "--json"});
    const std::size_t moved =
        json.find("\"key\":\"" + wrong + "\",\"date\":\"2026-03-03 12:00:00\"");
    ASSERT_NE(std::string::npos, moved) << "the time of day stays: " << json;
    EXPECT_LT(json.find("\"mileage\":1500"), moved);
    EXPECT_LT(moved, json.find("\"mileage\":2500"));
    EXPECT_THAT(json, HasSubstr("\"economy\":8},"));
    EXPECT_THAT(json, HasSubstr("\"mileage\":1500,\"quantity\":40,\"gauge\":50,\"cost\":40,"
                                "\"price\":1,\"type\":\"\",\"note\":\"\",\"economy\":10}"));
    EXPECT_THAT(json, HasSubstr("\"mileage\":2000,\"quantity\":50,\"gauge\":50,\"cost\":50,"
                                "\"price\":1,\"type\":\"\",\"note\":\"\",\"economy\":6}"));

    // A new price works out the quantity, a new quantity the cost, as in the editor.
    run_ok({"edit-fuel", wrong, "--price", "2"});
    EXPECT_THAT(run_ok({"records", "--json"}),
                HasSubstr("\"mileage\":2000,\"quantity\":25,\"gauge\":50,\"cost\":50,\"price\":2"));
    run_ok({"edit-fuel", wrong, "--quantity", "20", "--note", "Motorway"});
    EXPECT_THAT(run_ok({"records", "--json"}),
                HasSubstr("\"quantity\":20,\"gauge\":50,\"cost\":40,\"price\":2,\"type\":\"\","
                          "\"note\":\"Motorway\""));

    // What cannot be changes nothing.
    const auto before = files();
    EXPECT_EQ(2, root.run({"edit-fuel", wrong, "--gauge", "10"}).code) << "below what was bought";
    EXPECT_EQ(2, root.run({"edit-fuel", wrong, "--gauge", "51"}).code) << "above the tank";
    EXPECT_EQ(2, root.run({"edit-fuel", wrong, "--note", std::string(51, 'n')}).code);
    EXPECT_EQ(2, root.run({"edit-fuel", wrong}).code) << "nothing to change";
    EXPECT_EQ(before, files());
}

TEST_F(tool_edits, repairs_become_maintenance_and_fees_take_their_own_category) {
    const std::string repair =
        added({"add-repair", "--date", "2026-03-05 10:00", "--mileage", "345.6", "--cost", "80"});
    const std::string fee =
        added({"add-fee", "--date", "2026-03-06", "--cost", "4", "--category", "Parking"});
    run_ok({"edit-repair", repair, "--next-service", "15345.6", "--description",
            std::string(50, 'd')});
    run_ok({"edit-repair", repair, "--cost", "95"});
    const auto mat = file_bytes(root.data_folder() / "Car.mat");
    EXPECT_EQ(0, mat.at(1608 + 294)) << "maintenance, and it stays so";
    EXPECT_DOUBLE_EQ(15345.6, f64_at(mat, 1608 + 184));
    EXPECT_DOUBLE_EQ(345.6, f64_at(mat, 1608 + 168));
    EXPECT_EQ(95.0, f64_at(mat, 1608 + 176));
    EXPECT_EQ(95.0, f64_at(mat, 1496)) << "the total follows";
    EXPECT_EQ(std::u16string(50, u'd'), text_at(mat, 1608 + 192, 51));

    run_ok({"edit-fee", fee, "--category", "Ferry to the island"});
    const auto fees = file_bytes(root.data_folder() / "Car.fee");
    EXPECT_EQ(u"Ferry to the island", text_at(fees, 1608 + 184, 31));
    EXPECT_EQ(4.0, f64_at(fees, 1608 + 176));
    EXPECT_EQ(1, root.run({"edit-fuel", repair, "--cost", "1"}).code)
        << "a repair's key names no fill-up";
}

TEST_F(tool_edits, delete_record_takes_exactly_one_record_or_none) {
    const std::string key = added({"add-fuel", "--date", "2026-03-01", "--mileage", "100", "--cost",
                                   "30", "--quantity", "20"});
    // A repair job with the very same key, as records added in the same
    // second by the stores' separate counters get.
    std::vector<std::uint8_t> mat(1608 + 400, 0);
    const auto put_text = [&](std::size_t at, const std::string& t) {
        for (std::size_t i = 0; i < t.size(); ++i)
            mat[at + 2 * i] = static_cast<std::uint8_t>(t[i]);
    };
    put_text(0, "DCKJ");
    mat[22] = 1;
    put_text(24, "Car");
    mat[1488] = 1;
    put_text(1608, "DATA");
    put_text(1608 + 16, key);
    mat[1608 + 140] = 0xEA, mat[1608 + 141] = 0x07;  // 2026
    mat[1608 + 144] = 3, mat[1608 + 148] = 2;
    mat[1608 + 294] = 1;
    write_bytes(root.data_folder() / "Car.mat", mat);
    const auto before = files();

    const tool_result unknown = root.run({"delete-record", "Car0000000099260101000000"});
    EXPECT_EQ(1, unknown.code);
    EXPECT_THAT(unknown.err, HasSubstr("no record has the key"));
    EXPECT_EQ(before, files());
    const tool_result both = root.run({"delete-record", key});
    EXPECT_EQ(1, both.code);
    EXPECT_THAT(both.err, HasSubstr("names 2 records (fuel of 'Car', repair of 'Car')"));
    EXPECT_EQ(before, files());
    EXPECT_EQ(1, root.run({"delete-record", key, "--account", "Van"}).code);
    EXPECT_EQ(before, files());

    run_ok({"delete-record", key, "--kind", "repair"});
    EXPECT_EQ(1608u, file_bytes(root.data_folder() / "Car.mat").size());
    EXPECT_EQ(before.at("Car.ful"), files().at("Car.ful"));
    run_ok({"delete-record", key});
    EXPECT_EQ(1920u, file_bytes(root.data_folder() / "Car.ful").size());
}

TEST_F(tool_edits, trips_are_checked_as_the_editor_checks_them) {
    ASSERT_EQ(0, root.run({"add-account", "Van"}).code);
    run_ok(
        {"add-trip", "Holiday", "--vehicles", "Car", "--from", "2026-03-01", "--to", "2026-03-09"});
    const auto before = files();
    const struct {
        std::vector<std::string> args;
        const char* message;
    } refused[] = {
        {{"add-trip", "Back", "--from", "2026-03-10", "--to", "2026-03-01"},
         "The end date is before the start date."},
        {{"add-trip", "Holiday"}, "Trip name exists, please enter another name."},
        {{"edit-trip", "Holiday", "--from", "2026-03-10"},
         "The end date is before the start date."},
    };
    for (const auto& r : refused) {
        const tool_result result = root.run(r.args);
        EXPECT_EQ(1, result.code) << r.args[1];
        EXPECT_THAT(result.err, HasSubstr(r.message)) << r.args[1];
        EXPECT_EQ(before, files()) << r.args[1];
    }

    // Over two vehicles a mileage range is dropped, with the editor's warning.
    const tool_result both =
        root.run({"add-trip", "Both", "--vehicles", "Van,Car", "--min", "100", "--max", "900"});
    ASSERT_EQ(0, both.code) << both.err;
    EXPECT_THAT(both.err, HasSubstr("trip will be based on time range"));
    EXPECT_THAT(
        run_ok({"trips", "--json"}),
        HasSubstr("{\"description\":\"Both\",\"vehicles\":[\"Van\",\"Car\"],\"limits\":\"\","
                  "\"from\":null,\"to\":null,\"min\":null,\"max\":null,"));

    run_ok({"edit-trip", "Holiday", "--rename", "Spring", "--to", "none", "--max", "1500"});
    EXPECT_THAT(run_ok({"trips", "--json"}),
                HasSubstr("{\"description\":\"Spring\",\"vehicles\":[\"Car\"],\"limits\":"
                          "\"from 2026-03-01 to mileage 1500.0\",\"from\":\"2026-03-01\","
                          "\"to\":null,\"min\":null,\"max\":1500,"));
    EXPECT_EQ(1, root.run({"edit-trip", "Spring", "--rename", "Both"}).code);
    run_ok({"delete-trip", "Both"});
    EXPECT_EQ(1, root.run({"delete-trip", "Both"}).code);
    EXPECT_THAT(run_ok({"trips"}), HasSubstr("Spring"));
}

TEST_F(tool_edits, a_trip_export_holds_its_own_vehicles_records_whichever_account_is_open) {
    ASSERT_EQ(0, root.run({"add-account", "Van"}).code);
    run_ok(
        {"add-fee", "Van", "--date", "2026-03-02", "--cost", "7", "--description", "Van inside"});
    run_ok({"add-fee", "Van", "--date", "2026-04-02", "--cost", "8", "--description", "Van after"});
    run_ok({"add-fee", "Car", "--date", "2026-03-02", "--cost", "9", "--description", "Car"});
    run_ok(
        {"add-trip", "March", "--vehicles", "Van", "--from", "2026-03-01", "--to", "2026-03-31"});
    run_ok({"open", "Car"});
    const auto out = root.path() / "march.csv";
    run_ok({"export-trip", "March", out.string()});
    const auto bytes = file_bytes(out);
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_THAT(text, HasSubstr("\"Fees\",\"Van inside\",\"7.00\""));
    EXPECT_EQ(std::string::npos, text.find("Van after"));
    EXPECT_EQ(std::string::npos, text.find("\"Car\""));
    EXPECT_EQ(1, root.run({"export-trip", "April", out.string()}).code);
}

}  // namespace
}  // namespace kelvane::test
