// The tool's strict readers of numbers, dates and sizes, and the sample data.
#include <gtest/gtest.h>

#include <cmath>

#include "cli/sample_data.h"
#include "cli/tool_arguments.h"
#include "core/accounts/configuration.h"
#include "core/common/text.h"
#include "platform/memory_file_system.h"
#include "platform/services.h"

namespace kelvane {
namespace {

TEST(tool_readers, amounts_are_what_the_shared_parser_reads_and_nothing_else) {
    double v = -1;
    EXPECT_TRUE(read_amount("12.", v));
    EXPECT_EQ(12.0, v);
    EXPECT_TRUE(read_amount(".5", v));
    EXPECT_EQ(0.5, v);
    // The handheld's parser builds fractions by repeated multiplication by 0.1.
    EXPECT_TRUE(read_amount("0.3", v));
    EXPECT_EQ(3 * 0.1, v);
    EXPECT_TRUE(read_amount("-2.5", v, true));
    EXPECT_EQ(-2.5, v);
    for (const char* bad :
         {"", ".", "-", "1,5", "+1", " 1", "1e3", "1.2.3", "-2", "12a", "1234567890123456"}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(read_amount(bad, v));
    }
}

TEST(tool_readers, dates_must_be_real_days_and_times) {
    local_time t;
    bool has_time = true;
    ASSERT_TRUE(read_date("2024-02-29", t, has_time));
    EXPECT_FALSE(has_time);
    EXPECT_EQ(2024, t.year);
    EXPECT_EQ(29, t.day);
    ASSERT_TRUE(read_date("2024-03-01T07:05:09", t, has_time));
    EXPECT_TRUE(has_time);
    EXPECT_EQ(7, t.hour);
    EXPECT_EQ(9, t.second);
    EXPECT_EQ(5, t.weekday);  // a Friday
    ASSERT_TRUE(read_date("2024-03-01 23:59", t, has_time));
    EXPECT_EQ(0, t.second);
    for (const char* bad : {"2023-02-29", "2024-13-01", "2024-00-10", "2024-1-5", "24-01-05",
                            "2024/01/05", "2024-01-05 24:00", "2024-01-05 10:60", "2024-01-05 10",
                            "2024-01-05x10:00", "0000-01-01"}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(read_date(bad, t, has_time));
    }
}

TEST(tool_readers, sizes_and_counts_stay_in_their_range) {
    int w = 0, h = 0, n = 0;
    EXPECT_TRUE(read_size("240x320", 16, 4096, w, h));
    EXPECT_EQ(240, w);
    EXPECT_EQ(320, h);
    EXPECT_FALSE(read_size("240X320", 16, 4096, w, h));
    EXPECT_FALSE(read_size("8x320", 16, 4096, w, h));
    EXPECT_FALSE(read_size("240x99999", 16, 4096, w, h));
    EXPECT_FALSE(read_size("x320", 16, 4096, w, h));
    EXPECT_FALSE(read_int("-1", 0, 4, n));
    EXPECT_FALSE(read_int("99999999999", 0, 1 << 30, n));
    EXPECT_EQ((std::vector<std::string>{"Car", "Van"}), split_list(",Car,,Van,"));
}

// The command line as getopt_long reads it, for a command taking --json,
// --min N and --to DATE after the global --root DIR.
TEST(tool_arguments, reads_options_the_way_gnu_programs_do) {
    const option_rule global[] = {{"--root", "DIR"}, {"--help"}};
    const option_rule command[] = {
        {"--json"}, {"--min", "N"}, {"--to", "DATE"}, {"--root", "DIR"}, {"--help"}};
    struct row {
        std::vector<const char*> words;  // after "kelvane-tool"
        std::string error;               // empty: read
        std::vector<std::string> operands = {};
        std::string min = {};
    };
    const row rows[] = {
        {{"report", "--json", "3", "--min=-1", "--to", "2024-01-01"}, "", {"3"}, "-1"},
        {{"--root", "/r", "report", "--min", "-5", "3"}, "", {"3"}, "-5"},
        {{"report", "--mi", "7"}, "", {}, "7"},  // an unambiguous abbreviation
        {{"report", "--", "--min", "-h"}, "", {"--min", "-h"}},
        {{"--", "report", "--json"}, "", {"--json"}},
        {{"report", "--min="}, "", {}, ""},
        {{"report", "--bogus", "3"}, "unknown option --bogus"},
        {{"report", "--bogus=3"}, "unknown option --bogus"},
        {{"report", "-x"}, "unknown option -x"},
        {{"--json", "report"}, "unknown option --json"},
        {{"report", "--json=yes"}, "--json takes no value"},
        {{"report", "--min"}, "--min needs a value"},
        {{"report", "--json", "--json"}, "--json is given twice"},
        {{"--root", "/a", "report", "--root", "/b"}, "--root is given twice"},
    };
    for (const auto& r : rows) {
        std::vector<const char*> argv{"kelvane-tool"};
        argv.insert(argv.end(), r.words.begin(), r.words.end());
        SCOPED_TRACE(r.words.back());
        tool_arguments a;
        const bool read = a.parse_global(static_cast<int>(argv.size()), argv.data(), global) &&
                          a.parse_command(command);
        EXPECT_EQ(r.error, a.error());
        if (!r.error.empty()) {
            EXPECT_FALSE(read);
            continue;
        }
        ASSERT_TRUE(read);
        EXPECT_EQ("report", a.command());
        EXPECT_EQ(r.operands, a.positionals());
        EXPECT_EQ(r.min, a.option("--min").value_or(""));
    }
}

// Sample fill-ups must make sense as a tank: the economy figures they give
// are those of real cars, and nothing goes backwards.
TEST(sample_data, fill_ups_are_consistent_tanks_and_give_realistic_economy) {
    sample_data::options o;
    o.vehicles = 5;
    o.years = 3;
    const sample_data data(o);
    ASSERT_EQ(5u, data.vehicles().size());
    for (const auto& car : data.vehicles()) {
        SCOPED_TRACE(std::string(car.name.begin(), car.name.end()));
        ASSERT_GT(car.fuel.size(), 30u);
        EXPECT_FALSE(car.services.empty());
        EXPECT_FALSE(car.fees.empty());
        double used = 0, distance = 0;
        for (std::size_t i = 0; i < car.fuel.size(); ++i) {
            const auto& f = car.fuel[i];
            EXPECT_LE(f.fuel_gauge, car.settings.tank_capacity + 1e-9);
            EXPECT_GE(f.fuel_gauge + 1e-9, f.fuel_purchased);
            EXPECT_NEAR(f.fuel_cost, f.fuel_purchased * f.unit_price, 0.006);
            if (i == 0) continue;
            const auto& p = car.fuel[i - 1];
            EXPECT_GT(f.mileage, p.mileage);
            EXPECT_GT(to_local_seconds(f.year, f.month, f.day, f.hour, f.minute, f.second),
                      to_local_seconds(p.year, p.month, p.day, p.hour, p.minute, p.second));
            used += p.fuel_gauge - (f.fuel_gauge - f.fuel_purchased);
            distance += f.mileage - p.mileage;
        }
        const double per_100 = used / distance * 100;  // in the account's own units
        EXPECT_GT(per_100, 2.0);
        EXPECT_LT(per_100, 10.0);
        for (const auto& m : car.services)
            if (m.repair_flag == 0) {
                EXPECT_GT(m.next_service_mileage, m.mileage);
            }
        for (const auto& f : car.fees) EXPECT_NE(u"", fixed_text(f.category));
    }
    EXPECT_EQ(3u, data.trips().size());
}

TEST(sample_data, same_seed_same_data) {
    sample_data::options o;
    const sample_data a(o), b(o);
    ASSERT_EQ(a.vehicles()[1].fuel.size(), b.vehicles()[1].fuel.size());
    EXPECT_EQ(a.vehicles()[1].fuel.back().fuel_cost, b.vehicles()[1].fuel.back().fuel_cost);
    const auto series = sample_data::fuel_series(1000, 7, {2000, 1, 1}, 3600);
    ASSERT_EQ(1000u, series.size());
    EXPECT_EQ(2000, series.front().year);
    EXPECT_EQ(1, series.front().hour);
}

}  // namespace
}  // namespace kelvane
