#include <gtest/gtest.h>

#include <vector>

#include "core/charts/report_filling.h"
#include "core/common/date_text.h"
#include "core/common/text.h"
#include "core/common/translate.h"
#include "core/stores/fee_store.h"
#include "core/stores/fuel_store.h"
#include "core/stores/service_store.h"
#include "platform/memory_file_system.h"
#include "platform/recording_dc.h"
#include "platform/services.h"

using namespace kelvane;

namespace {

class report_filling_test : public ::testing::Test {
protected:
    report_filling_test() {
        fs.create_folder(u"\\Program Files");
        fs.create_folder(u"\\Program Files\\Kelvane");
        (void)fuel.load(program_folder(), u"Car1", false);
        (void)service.load(program_folder(), u"Car1", false);
        (void)fees.load(program_folder(), u"Car1", false);

        add_fuel(2024, 1, 10, 1000, 40, 60.0);
        add_fuel(2024, 2, 10, 1300, 30, 45.0);
        add_fuel(2024, 3, 10, 1650, 35, 52.5);
        add_repair(2024, 2, 1, 5000, 100, u"Brake pads, front axle, both sides, with new discs");
        add_repair(2024, 2, 20, 5000, 50, u"Wipers");
        add_repair(2024, 4, 5, 6000, 80, u"Oil");
        add_fee(2023, 12, 24, 7000, 3.5, u"Parking");
        add_fee(2024, 1, 2, 7000, 12, u"Toll");
    }

    void add_fuel(int y, int m, int d, double mileage, double litres, double cost) {
        fuel_record r{};
        r.year = y, r.month = m, r.day = d, r.hour = 9;
        r.mileage = mileage;
        r.fuel_purchased = litres;
        r.fuel_gauge = 40;
        r.fuel_cost = cost;
        ASSERT_FALSE(fuel.add_record(r).key.empty());
    }
    void add_repair(int y, int m, int d, double mileage, double cost, std::u16string_view text) {
        service_record r{};
        r.year = y, r.month = m, r.day = d, r.hour = 9;
        r.mileage = mileage;
        r.cost = cost;
        set_fixed(r.description, text);
        ASSERT_FALSE(service.add_record(r).key.empty());
    }
    void add_fee(int y, int m, int d, double mileage, double cost, std::u16string_view category) {
        fee_record r{};
        r.year = y, r.month = m, r.day = d, r.hour = 9;
        r.mileage = mileage;
        r.cost = cost;
        set_fixed(r.category, category);
        ASSERT_FALSE(fees.add_record(r).key.empty());
    }
    bool fill(report_kind kind, const selection_limits& limits = {}) {
        return fill_report(chart, surface, kind, {&fuel, &service, &fees}, limits);
    }
    std::vector<std::u16string> names() const {
        std::vector<std::u16string> out;
        for (const auto& e : chart.entries()) out.emplace_back(e.name);
        return out;
    }

    memory_file_system fs;
    fixed_clock clock{local_time{2024, 6, 1, 12, 0, 0}};  // before the engine is made
    host_device_info dev;
    scripted_message_box boxes;
    recording_shell shell;
    scoped_services s{{&fs, &clock, &dev, &boxes, &shell}};
    fuel_store fuel;
    service_store service;
    fee_store fees;
    recording_dc surface{240, 320};
    chart_engine chart;
};

TEST_F(report_filling_test, fuel_economy_leaves_out_the_last_fill_up) {
    chart.add_value(u"left over", 1, 0, u"", u"");
    ASSERT_TRUE(fill(report_kind::fuel_economy));
    EXPECT_EQ(names(), (std::vector<std::u16string>{u"1000", u"1300"}));
    const auto& e = chart.entries();
    EXPECT_DOUBLE_EQ(e[0].value, fuel.record_at(0).economy);
    EXPECT_DOUBLE_EQ(e[1].value, fuel.record_at(1).economy);
    EXPECT_NE(e[0].value, 0.0);
    EXPECT_EQ(e[1].shown_date(), short_date_text(2024, 2, 10));
    EXPECT_EQ(std::u16string(e[1].note_text), u"");
    EXPECT_EQ(chart.legend_format(), u"MVD");
    EXPECT_EQ(chart.chart_type(), chart_kind::line);
    EXPECT_DOUBLE_EQ(chart.max_value(), std::max(e[0].value, e[1].value));  // prepared
}

TEST_F(report_filling_test, repair_costs_merge_equal_mileages_and_cut_long_descriptions) {
    ASSERT_TRUE(fill(report_kind::repair_cost));
    EXPECT_EQ(names(), (std::vector<std::u16string>{u"5000", u"6000"}));
    const auto& e = chart.entries();
    EXPECT_DOUBLE_EQ(e[0].value, 150.0);
    EXPECT_EQ(std::u16string(e[0].note_text), u"Brake pads, front axle, both side");  // 33
    EXPECT_EQ(std::u16string(e[1].note_text), u"Oil");
    EXPECT_EQ(chart.legend_format(), u"MNVD");
    EXPECT_EQ(chart.chart_type(), chart_kind::line);

    // Mileage limits only filter.
    selection_limits from_5500;
    from_5500.lowest = 5500;
    ASSERT_TRUE(fill(report_kind::repair_cost, from_5500));
    EXPECT_EQ(names(), (std::vector<std::u16string>{u"6000"}));
}

TEST_F(report_filling_test, two_fees_at_one_mileage_are_one_entry) {
    ASSERT_TRUE(fill(report_kind::fees_cost));
    ASSERT_EQ(chart.entries().size(), 1u);
    const auto& e = chart.entries()[0];
    EXPECT_EQ(std::u16string(e.name), u"7000");
    EXPECT_DOUBLE_EQ(e.value, 15.5);
    EXPECT_EQ(std::u16string(e.note_text), u"Parking");  // the first record's texts stay
    EXPECT_EQ(e.shown_date(), short_date_text(2023, 12, 24));

    // A narrow screen has no room for the note column.
    dev.set_screen_size(180, 320);
    ASSERT_TRUE(fill(report_kind::fees_cost));
    EXPECT_EQ(chart.legend_format(), u"MVD");
    dev.set_screen_size(200, 320);
    ASSERT_TRUE(fill(report_kind::repair_cost));
    EXPECT_EQ(chart.legend_format(), u"MNVD");
}

class french_names : public text_translator {
public:
    std::u16string translate(std::u16string_view key) const override {
        if (key == u"Fuel") return u"Carburant";
        if (key == u"Repair") return u"Réparation";
        if (key == u"Fees") return u"Frais";
        return std::u16string(key);
    }
    std::u16string reverse_translate(std::u16string_view t) const override {
        return std::u16string(t);
    }
};

TEST_F(report_filling_test, all_expenses_is_a_pie_of_the_three_totals) {
    french_names french;
    scoped_translator use_french(&french);
    ASSERT_TRUE(fill(report_kind::all_expenses));
    EXPECT_EQ(names(), (std::vector<std::u16string>{u"Carburant", u"Réparation", u"Frais"}));
    EXPECT_DOUBLE_EQ(chart.entries()[0].value, 157.5);
    EXPECT_DOUBLE_EQ(chart.entries()[1].value, 230.0);
    EXPECT_DOUBLE_EQ(chart.entries()[2].value, 15.5);
    EXPECT_DOUBLE_EQ(chart.total_value(), 403.0);
    EXPECT_EQ(chart.legend_format(), u"MZV");
    EXPECT_EQ(chart.chart_type(), chart_kind::pie);
}

TEST_F(report_filling_test, only_a_report_without_date_limits_widens_the_date_span) {
    selection_limits spring;
    spring.from = local_time{2024, 3, 1, 0, 0, 0};
    spring.to = local_time{2024, 4, 30, 23, 59, 59};
    for (int kind = 0; kind < 4; ++kind) ASSERT_TRUE(fill(static_cast<report_kind>(kind), spring));
    EXPECT_EQ(chart.earliest(), to_local_seconds(2024, 6, 1, 0, 0, 0));
    EXPECT_EQ(chart.latest(), to_local_seconds(2024, 6, 1, 23, 59, 59));

    ASSERT_TRUE(fill(report_kind::fees_cost));
    EXPECT_EQ(chart.earliest(), to_local_seconds(2023, 12, 24, 1, 1, 1));
    EXPECT_EQ(chart.latest(), to_local_seconds(2024, 6, 1, 23, 59, 59));
}

TEST_F(report_filling_test, account_without_costs_shows_no_data_instead_of_an_empty_pie) {
    fuel_store no_fuel;
    service_store no_repairs;
    fee_store no_fees;
    (void)no_fuel.load(program_folder(), u"Car2", false);
    (void)no_repairs.load(program_folder(), u"Car2", false);
    (void)no_fees.load(program_folder(), u"Car2", false);
    ASSERT_TRUE(fill_report(chart, surface, report_kind::all_expenses,
                            {&no_fuel, &no_repairs, &no_fees}, {}));
    EXPECT_TRUE(chart.entries().empty());
    EXPECT_EQ(chart.chart_type(), chart_kind::pie);
    chart.draw(surface, {0, 13, 240, 320}, false);
    EXPECT_EQ(surface.texts(), std::vector<std::u16string>{u"No data"});
}

TEST_F(report_filling_test, trip_totals_and_kinds_filled_elsewhere) {
    fill_expense_shares(chart, surface, 10, 0, 30);
    EXPECT_EQ(names(), (std::vector<std::u16string>{u"Fuel", u"Repair", u"Fees"}));
    EXPECT_DOUBLE_EQ(chart.entries()[2].share_of_total, 0.75);
    EXPECT_EQ(chart.legend_format(), u"MZV");
    EXPECT_EQ(chart.chart_type(), chart_kind::pie);

    // The trip report is not filled from the account stores, nor a report
    // whose store is missing; the engine is left empty, not half filled.
    EXPECT_FALSE(fill(report_kind::trip_cost));
    EXPECT_TRUE(chart.entries().empty());
    EXPECT_FALSE(
        fill_report(chart, surface, report_kind::all_expenses, {&fuel, nullptr, &fees}, {}));
    EXPECT_TRUE(chart.entries().empty());
}

}  // namespace
