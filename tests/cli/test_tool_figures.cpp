// kelvane-tool's services due and cost figures, on accounts whose figures
// were worked out by hand.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tool_run_support.h"

namespace kelvane::test {
namespace {

using ::testing::ContainsRegex;
using ::testing::HasSubstr;

class tool_figures : public ::testing::Test {
protected:
    tool_result run_ok(const std::vector<std::string>& args) {
        tool_result r = root.run(args);
        EXPECT_EQ(0, r.code) << args.front() << ": " << r.err;
        return r;
    }
    tool_root root;
};

TEST_F(tool_figures, due_lists_the_services_within_the_margin_of_each_account) {
    run_ok({"add-account", "Van", "--initial-mileage", "14600", "--tank", "60"});
    run_ok({"add-repair", "Van", "--mileage", "10000", "--cost", "50", "--next-service", "15000",
            "--description", "Oil change"});
    run_ok({"add-repair", "Van", "--mileage", "11000", "--cost", "90", "--next-service", "40000",
            "--description", "Timing belt"});
    run_ok({"add-account", "Car", "--initial-mileage", "14000"});
    run_ok({"add-repair", "Car", "--mileage", "10000", "--cost", "50", "--next-service", "15000",
            "--description", "Oil change"});

    const tool_result json = run_ok({"due", "--json"});
    EXPECT_EQ(
        json.out,
        "{\"due\":[{\"account\":\"Van\",\"description\":\"Oil change\",\"next_service\":15000,"
        "\"odometer\":14600,\"remaining\":400,\"overdue\":false,\"mileage_unit\":"
        "\"Kilometer\"}]}\n");
    EXPECT_THAT(run_ok({"due", "Van"}).out, HasSubstr("Oil change"));
    EXPECT_THAT(run_ok({"due", "--margin", "300"}).out, HasSubstr("No service is due."));
    EXPECT_EQ(root.run({"due", "--margin", "-5"}).code, 2);
}

TEST_F(tool_figures, accounts_and_reports_give_the_costs_of_a_hand_computed_account) {
    run_ok({"add-account", "Car", "--initial-mileage", "10000", "--tank", "50"});
    run_ok({"add-fuel", "Car", "--date", "2026-01-05", "--mileage", "10000", "--quantity", "40",
            "--cost", "60"});
    run_ok({"add-fuel", "Car", "--date", "2026-01-20", "--mileage", "10500", "--quantity", "35",
            "--cost", "52.5"});
    run_ok({"add-fuel", "Car", "--date", "2026-02-10", "--mileage", "11000", "--quantity", "30",
            "--cost", "45", "--gauge", "45"});
    run_ok({"add-repair", "Car", "--date", "2026-02-01", "--mileage", "10800", "--cost", "200"});
    run_ok({"add-fee", "Car", "--date", "2026-03-06", "--mileage", "11000", "--cost", "30"});

    // 1000 km on 50 - 45 + 35 + 30 = 70 l; 157.50 of fuel, 387.50 in all.
    const std::string accounts = run_ok({"accounts", "--json"}).out;
    EXPECT_THAT(accounts, ContainsRegex("\"average_economy\":7(\\.0000000000000[0-9]*)?,"));
    EXPECT_THAT(accounts, HasSubstr("\"distance\":1000,\"distance_unit\":\"100 km\""));
    EXPECT_THAT(accounts, HasSubstr("\"fuel_cost_per_distance\":15.75,"));
    EXPECT_THAT(accounts, HasSubstr("\"cost_per_distance\":38.75,"));
    EXPECT_THAT(accounts, HasSubstr("\"services_due\":0"));

    EXPECT_THAT(run_ok({"report", "3", "--json"}).out,
                HasSubstr("\"figures\":[{\"name\":\"Car\",\"odometer\":11000,"));
    const std::string text = run_ok({"report", "3"}).out;
    EXPECT_THAT(text, HasSubstr("Car: Average economy: 7.00 Liter/100Km;"));
    EXPECT_THAT(text, HasSubstr("Cost per 100 km: 38.75 (Fuel: 15.75);"));
}

}  // namespace
}  // namespace kelvane::test
