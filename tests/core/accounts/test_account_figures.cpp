// Services due and what an account costs, from records whose figures were
// worked out by hand.

#include <gtest/gtest.h>

#include "core/accounts/account_figures.h"
#include "core/test_store_support.h"
#include "platform/faulty_file_system.h"

namespace kelvane {
namespace {

using testing::data_folder;

class account_figures_test : public ::testing::Test {
protected:
    testing::device_fixture device;
    fuel_store fuel;
    service_store jobs;
    fee_store fees;

    void SetUp() override {
        (void)fuel.load(data_folder, u"Car", false);
        (void)jobs.load(data_folder, u"Car", false);
        (void)fees.load(data_folder, u"Car", false);
        set_fixed(fuel.header().mileage_unit, u"Kilometer");
        set_fixed(fuel.header().fuel_unit, u"Liter");
        fuel.header().economy_mode = 2;
    }
    template <class R>
    static R dated(int month, int day, double mileage) {
        R r{};
        r.year = 2007, r.month = month, r.day = day, r.hour = 12;
        r.mileage = mileage;
        return r;
    }
    void fill(int month, int day, double mileage, double bought, double gauge, double cost) {
        auto r = dated<fuel_record>(month, day, mileage);
        r.fuel_purchased = bought, r.fuel_gauge = gauge, r.fuel_cost = cost;
        (void)fuel.add_record(r);
    }
    // next_service 0: a plain repair.
    void job(int month, int day, double mileage, std::u16string_view what, double next,
             double cost = 0) {
        auto r = dated<service_record>(month, day, mileage);
        r.cost = cost;
        r.next_service_mileage = next;
        r.repair_flag = next > 0 ? 0 : 1;
        set_fixed(r.description, what);
        (void)jobs.add_record(r);
    }
};

TEST_F(account_figures_test, a_service_is_due_within_the_margin_and_when_passed) {
    job(1, 10, 10000, u"Oil change", 15000);
    ASSERT_EQ(services_due(jobs, 14600, 500).size(), 1u);
    EXPECT_DOUBLE_EQ(services_due(jobs, 14600, 500)[0].remaining, 400);
    EXPECT_TRUE(services_due(jobs, 14000, 500).empty());
    // Passed: still due, with what is left below zero.
    ASSERT_EQ(services_due(jobs, 15200, 500).size(), 1u);
    EXPECT_DOUBLE_EQ(services_due(jobs, 15200, 500)[0].remaining, -200);

    // The margin follows the account's unit: 350 ahead is near in
    // kilometres (500) and not yet in miles (300).
    fill(1, 12, 14650, 40, 50, 60);
    EXPECT_EQ(figures_of(fuel, jobs, fees, {}).due.size(), 1u);
    set_fixed(fuel.header().mileage_unit, u"Mile");
    EXPECT_TRUE(figures_of(fuel, jobs, fees, {}).due.empty());
}

TEST_F(account_figures_test,
       a_later_job_closes_an_earlier_one_of_its_name_or_done_when_it_was_due) {
    job(1, 10, 10000, u"Oil change", 15000);      // the yearly service was done when it was due
    job(1, 15, 10500, u"Tyre rotation", 14000);   // followed by one of the same name
    job(2, 1, 11000, u" tyre ROTATION ", 30000);  // far ahead
    job(2, 5, 11000, u"Timing belt", 16000);      // nothing done near its 16000: due
    job(2, 20, 12000, u"Brakes", 0);              // a repair: never due
    job(3, 10, 14700, u"Yearly service", 29700);
    const auto due = services_due(jobs, 15600, 500);
    ASSERT_EQ(due.size(), 1u);
    EXPECT_EQ(due[0].description, u"Timing belt");
    EXPECT_EQ(due[0].position, 3);
}

TEST_F(account_figures_test, the_odometer_follows_services_recorded_after_the_last_fill_up) {
    fill(1, 5, 14000, 40, 50, 60);
    job(1, 20, 14600, u"Tyres", 0);
    EXPECT_DOUBLE_EQ(account_odometer(fuel, jobs, fees), 14600);
}

TEST_F(account_figures_test, costs_per_distance_and_month_of_a_hand_computed_account) {
    const account_costs none = account_cost_figures(fuel, jobs, fees);
    EXPECT_FALSE(none.average_economy || none.cost_per_distance || none.cost_per_month);

    fuel.header().initial_mileage = 10000;
    fill(1, 5, 10000, 40, 50, 60);
    fill(1, 20, 10500, 35, 50, 52.5);
    fill(2, 10, 11000, 30, 45, 45);  // a partial fill: 5 l less in the tank
    job(2, 1, 10800, u"Service", 11800, 200);
    auto fee = dated<fee_record>(3, 6, 11000);
    fee.cost = 30;
    (void)fees.add_record(fee);

    // 1000 km; fuel used 50 - 45 + 35 + 30 = 70 l; costs 157.50 + 200 + 30.
    const account_costs c = account_cost_figures(fuel, jobs, fees);
    EXPECT_DOUBLE_EQ(c.distance, 1000);
    ASSERT_TRUE(c.average_economy && c.fuel_cost_per_distance && c.cost_per_distance);
    EXPECT_DOUBLE_EQ(*c.average_economy, 7.0);
    EXPECT_DOUBLE_EQ(*c.fuel_cost_per_distance, 15.75);
    EXPECT_DOUBLE_EQ(*c.cost_per_distance, 38.75);
    // 5 January to 6 March: 60 days of an average month of 30.436875 days.
    ASSERT_TRUE(c.cost_per_month);
    EXPECT_NEAR(*c.cost_per_month, 387.5 * 30.436875 / 60, 0.01);

    // The same figures from the files, as the accounts page and the tool read them.
    const account_figures read = read_account_figures(data_folder, u"Car", {});
    EXPECT_EQ(read.result, load_result::loaded);
    ASSERT_TRUE(read.costs.cost_per_distance);
    EXPECT_DOUBLE_EQ(*read.costs.cost_per_distance, 38.75);
}

// A record whose editor gave no date (year 0) still costs and still moves
// the odometer; only the months leave it out.
TEST_F(account_figures_test, an_undated_record_counts_in_costs_and_odometer_but_not_in_months) {
    fill(1, 5, 10000, 40, 50, 60);
    fill(2, 5, 10500, 35, 50, 52.5);
    auto undated = dated<fee_record>(1, 1, 12000);
    undated.year = 0;
    undated.cost = 100;
    (void)fees.add_record(undated);
    ASSERT_EQ(fees.record_count(), 1);

    const account_figures f = figures_of(fuel, jobs, fees, {});
    EXPECT_DOUBLE_EQ(f.odometer, 12000);
    EXPECT_DOUBLE_EQ(f.costs.total_cost, 212.5);
    EXPECT_DOUBLE_EQ(f.costs.distance, 2000);
    // 5 January to 5 February: 31 days of an average month of 30.436875 days.
    ASSERT_TRUE(f.costs.cost_per_month);
    EXPECT_NEAR(*f.costs.cost_per_month, 212.5 * 30.436875 / 31, 1e-9);
}

// Another account's figures, as the accounts and reports pages show them,
// are read from its files once and again only when a file or the margins
// change; a damaged account is read each time.
TEST_F(account_figures_test, kept_figures_are_read_again_only_when_files_or_margins_change) {
    fill(1, 5, 14000, 40, 50, 60);
    job(1, 4, 13990, u"Oil", 14400);  // 400 km ahead: due within 500
    faulty_file_system counting(device.fs);
    scoped_services use{{&counting}};
    kept_account_figures kept;
    EXPECT_EQ(kept.of(data_folder, u"Car", {}).due.size(), 1u);

    counting.reset_counters();
    EXPECT_EQ(kept.of(data_folder, u"Car", {}).due.size(), 1u);
    EXPECT_EQ(counting.opens(), 0) << "nothing changed, nothing read";
    EXPECT_TRUE(kept.of(data_folder, u"Car", {300, 200}).due.empty()) << "a narrower margin";

    // The next oil change, written by the open account's store.
    job(1, 10, 14100, u"Oil", 19100);
    counting.reset_counters();
    EXPECT_TRUE(kept.of(data_folder, u"Car", {}).due.empty());
    EXPECT_GT(counting.opens(), 0);

    device.fs.put(data_folder + u"Car.fee", std::vector<std::uint8_t>(100, 1));
    EXPECT_EQ(kept.of(data_folder, u"Car", {}).result, load_result::damaged);
    counting.reset_counters();
    EXPECT_EQ(kept.of(data_folder, u"Car", {}).result, load_result::damaged);
    EXPECT_GT(counting.opens(), 0) << "a damaged account is read again";
}

TEST_F(account_figures_test, a_damaged_file_gives_no_figures_and_no_second_message) {
    device.fs.put(data_folder + u"Van.mat", std::vector<std::uint8_t>(100, 1));
    const account_figures f = read_account_figures(data_folder, u"Van", {});
    EXPECT_EQ(f.result, load_result::damaged);
    EXPECT_TRUE(f.due.empty());
    EXPECT_TRUE(device.messages().empty());
}

}  // namespace
}  // namespace kelvane
