// Opening a report from the reports page: the chosen accounts' files read
// one after another, then the chart filled from all of their records.
#include <malloc.h>

#include "bench/bench_support.h"
#include "core/charts/chart_engine.h"
#include "core/charts/report_filling.h"
#include "core/charts/report_records.h"

namespace kelvane::bench {
namespace {

constexpr int account_count = 3;
const std::u16string account_names[account_count] = {u"Car1", u"Car2", u"Car3"};

// n fill-ups spread over three accounts (with a tenth as many repairs and
// fees); the baseline is reading the nine files plainly.
void open_report(benchmark::State& state, report_kind kind) {
    const auto per_account = static_cast<std::size_t>(state.range(0)) / account_count;
    bench_device device;
    for (int a = 0; a < account_count; ++a) {
        device.write_fuel_file(account_names[a], per_account, 3 * 3600,
                               static_cast<unsigned>(a + 1));
        device.write_cost_files(account_names[a], per_account / 10,
                                static_cast<std::int64_t>(per_account) * 3 * 3600);
    }
    const std::vector<std::u16string> chosen(account_names, account_names + account_count);
    const double baseline = baseline_seconds([&] {
        for (const auto& name : account_names)
            for (const char16_t* extension : {u".ful", u".mat", u".fee"})
                benchmark::DoNotOptimize(plain_read(device.host_file(name + extension)));
    });
    pixel_dc surface(240, 320);
    chart_engine chart;
    double total = 0;
    bool files_ok = true;
    for (auto _ : state)
        total += seconds_of([&] {
            report_records records;
            files_ok = records.load(device.folder(), chosen) && files_ok;
            fill_report(chart, surface, kind, records.stores(), selection_limits{});
        });
    if (!files_ok) state.SkipWithError("a record file could not be read");
    state.counters["entries"] = static_cast<double>(chart.entries().size());
    report_ratio(state, total, baseline);
}

void BM_open_report_fuel_economy(benchmark::State& state) {
    open_report(state, report_kind::fuel_economy);
}
void BM_open_report_all_expenses(benchmark::State& state) {
    open_report(state, report_kind::all_expenses);
}

// The fuel-economy chart of the open account alone: the account's own
// stores are read, nothing from disk. Goal: below 50 ms at 100k; the
// baseline is one plain read of its fuel file. Beside it, the most memory
// the program held with the account open and its chart shown, above what it
// held before the account was read, to the account's record bytes.
void BM_open_report_of_open_account(benchmark::State& state) {
    bench_device device;
    device.write_fuel_file(u"Car", static_cast<std::size_t>(state.range(0)));
    double baseline = 0;
    {
        std::vector<char> buffer;
        baseline = baseline_seconds([&] { plain_read_into(device.host_file(u"Car.ful"), buffer); });
    }
    // What the writing of the file left free goes back to the system first,
    // so that the chart cannot pass for free by reusing it.
    ::malloc_trim(0);
    const std::int64_t before = reset_peak_memory();
    fuel_store fuel;
    service_store service;
    fee_store fees;
    fuel.set_deferred_save(true);
    require(fuel.load(device.folder(), u"Car", false) == load_result::loaded, "reading Car.ful");
    (void)service.load(device.folder(), u"Car", false);
    (void)fees.load(device.folder(), u"Car", false);
    const std::vector<std::u16string> chosen{u"Car"};
    pixel_dc surface(240, 320);
    chart_engine chart;
    double total = 0;
    bool files_ok = true;
    for (auto _ : state)
        total += seconds_of([&] {
            report_records records;
            files_ok = write_owed_changes(fuel, service, fees) &&
                       records.load(device.folder(), chosen, {}, {&fuel, &service, &fees}) &&
                       files_ok;
            fill_report(chart, surface, report_kind::fuel_economy, records.stores(),
                        selection_limits{});
        });
    if (!files_ok) state.SkipWithError("a record file could not be read");
    state.counters["open_ms"] = total / static_cast<double>(state.iterations()) * 1e3;
    state.counters["memory_over_record_bytes"] =
        static_cast<double>(peak_memory() - before) /
        static_cast<double>(static_cast<std::size_t>(state.range(0)) * sizeof(fuel_record));
    report_ratio(state, total, baseline);
}

BENCHMARK(BM_open_report_of_open_account)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_open_report_fuel_economy)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_open_report_all_expenses)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kelvane::bench
