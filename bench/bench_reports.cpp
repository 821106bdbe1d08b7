// The trips list and the report filling.
#include "bench/bench_support.h"
#include "core/charts/chart_engine.h"
#include "core/charts/report_filling.h"
#include "core/common/text.h"
#include "core/stores/fee_store.h"
#include "core/stores/service_store.h"
#include "core/stores/trip_store.h"
#include "core/trips/trip_figures.h"

namespace kelvane::bench {
namespace {

constexpr int vehicle_count = 5;
constexpr int trip_count = 20;
const std::u16string vehicle_names[vehicle_count] = {u"Car1", u"Car2", u"Car3", u"Car4", u"Car5"};

// 20 trips over 5 vehicles whose records together number n (a tenth of
// them repairs and fees): trips of one to five vehicles, each over a
// stretch of dates, some by mileage.
void BM_trips_rebuild(benchmark::State& state) {
    const auto per_vehicle = static_cast<std::size_t>(state.range(0)) / vehicle_count;
    bench_device device;
    for (int v = 0; v < vehicle_count; ++v)
        device.write_fuel_file(vehicle_names[v], per_vehicle, 3 * 3600,
                               static_cast<unsigned>(v + 1));
    trip_store trips;
    require(trips.load(device.folder(), u"Trip", false) == load_result::missing,
            "a fresh Trip.tri");
    const int span_days = static_cast<int>(per_vehicle * 3 / 24);
    for (int i = 0; i < trip_count; ++i) {
        trip_store::record_type t{};
        set_fixed(t.trip_description, u"Trip " + format("%d", i));
        const int vehicles = i % vehicle_count + 1;
        for (int k = 0; k < vehicles; ++k)
            set_fixed(t.trip_vehicles[k], vehicle_names[(i + k) % vehicle_count]);
        if (i % 4 == 3 && vehicles == 1) {
            t.use_start_mileage = t.use_end_mileage = 1;
            t.start_mileage = 20000;
            t.end_mileage = 60000;
        } else {
            const local_time from = from_local_seconds(to_local_seconds(2000, 1, 1, 0, 0, 0) +
                                                       std::int64_t(span_days) * 86400 * i / 40);
            const local_time to =
                from_local_seconds(to_local_seconds(from) + std::int64_t(span_days) * 86400 / 2);
            t.use_start_date = t.use_end_date = 1;
            t.start_year = from.year, t.start_month = from.month, t.start_day = from.day;
            t.end_year = to.year, t.end_month = to.month, t.end_day = to.day;
        }
        const add_result added = trips.add_record(t);
        require(added.added() && !added.write_failed, "adding a trip");
    }
    const double baseline = baseline_seconds([&] {
        for (const auto& name : vehicle_names)
            for (const char16_t* extension : {u".ful", u".mat", u".fee"})
                benchmark::DoNotOptimize(plain_read(device.host_file(name + extension)));
    });
    fuel_store fuel;
    service_store maintenance;
    fee_store fees;
    require(fuel.load(device.folder(), vehicle_names[0], false) == load_result::loaded,
            "reading the first vehicle's fuel file");
    (void)maintenance.load(device.folder(), vehicle_names[0], false);  // none: empty stores
    (void)fees.load(device.folder(), vehicle_names[0], false);
    double total = 0;
    std::size_t rows = 0;
    bool read = true;
    for (auto _ : state) {
        total += seconds_of([&] {
            trip_figures figures(device.folder(), fuel, maintenance, fees);
            rows = figures.build_rows(trips).size();
            read = figures.files_ok() && read;
        });
    }
    if (rows < trip_count * 5u || !read) state.SkipWithError("too few rows or unread files");
    report_ratio(state, total, baseline);
}

// Filling a report over n records; the baseline is one plain pass over them.
void report_filling(benchmark::State& state, report_kind kind) {
    bench_device device;
    device.write_fuel_file(u"Car", static_cast<std::size_t>(state.range(0)));
    fuel_store fuel;
    service_store maintenance;
    fee_store fees;
    require(fuel.load(device.folder(), u"Car", false) == load_result::loaded, "reading Car.ful");
    const int n = fuel.record_count();
    const double baseline = baseline_seconds([&] {
        double sum = 0;
        for (int i = 0; i < n; ++i) sum += fuel.record_at(i).economy;
        benchmark::DoNotOptimize(sum);
    });
    pixel_dc surface(240, 320);
    chart_engine chart;
    double total = 0;
    for (auto _ : state)
        total += seconds_of([&] {
            fill_report(chart, surface, kind, {&fuel, &maintenance, &fees}, selection_limits{});
        });
    state.counters["entries"] = static_cast<double>(chart.entries().size());
    report_ratio(state, total, baseline);
}

void BM_report_fuel_economy(benchmark::State& state) {
    report_filling(state, report_kind::fuel_economy);
}
void BM_report_all_expenses(benchmark::State& state) {
    report_filling(state, report_kind::all_expenses);
}

BENCHMARK(BM_trips_rebuild)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(50000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_report_fuel_economy)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_report_all_expenses)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kelvane::bench
