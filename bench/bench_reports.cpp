// The trips list and the report filling.
#include <chrono>
#include <thread>

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

constexpr int vehicle_count = 20;
constexpr int trip_count = 100;

std::u16string vehicle_name(int v) {
    return u"Car" + format("%d", v + 1);
}

// 100 trips over 20 vehicles whose fill-ups together number n, with a tenth
// as many repairs and as many fees: trips of one to five vehicles, each over
// a stretch of dates, some by mileage.
struct trips_setting {
    explicit trips_setting(std::size_t n) {
        const std::size_t per_vehicle = n / vehicle_count;
        for (int v = 0; v < vehicle_count; ++v) {
            device.write_fuel_file(vehicle_name(v), per_vehicle, 3 * 3600,
                                   static_cast<unsigned>(v + 1));
            device.write_cost_files(vehicle_name(v), per_vehicle / 10,
                                    static_cast<std::int64_t>(per_vehicle) * 3 * 3600);
        }
        require(trips.load(device.folder(), u"Trip", false) == load_result::missing,
                "a fresh Trip.tri");
        const int span_days = static_cast<int>(per_vehicle * 3 / 24);
        for (int i = 0; i < trip_count; ++i) {
            trip_store::record_type t{};
            set_fixed(t.trip_description, u"Trip " + format("%d", i));
            const int vehicles = i % 5 + 1;
            for (int k = 0; k < vehicles; ++k)
                set_fixed(t.trip_vehicles[k], vehicle_name((i + k) % vehicle_count));
            if (i % 4 == 3 && vehicles == 1) {
                t.use_start_mileage = t.use_end_mileage = 1;
                t.start_mileage = 20000;
                t.end_mileage = 60000;
            } else {
                const local_time from =
                    from_local_seconds(to_local_seconds(2000, 1, 1, 0, 0, 0) +
                                       std::int64_t(span_days) * 86400 * (i % 40) / 40);
                const local_time to = from_local_seconds(to_local_seconds(from) +
                                                         std::int64_t(span_days) * 86400 / 2);
                t.use_start_date = t.use_end_date = 1;
                t.start_year = from.year, t.start_month = from.month, t.start_day = from.day;
                t.end_year = to.year, t.end_month = to.month, t.end_day = to.day;
            }
            const add_result added = trips.add_record(t);
            require(added.added() && !added.write_failed, "adding a trip");
        }
        // The first vehicle is the open account, as on the trips page.
        require(fuel.load(device.folder(), vehicle_name(0), false) == load_result::loaded,
                "reading the first vehicle's fuel file");
        require(service.load(device.folder(), vehicle_name(0), false) == load_result::loaded,
                "reading the first vehicle's repair file");
        require(fees.load(device.folder(), vehicle_name(0), false) == load_result::loaded,
                "reading the first vehicle's fees file");
        fuel.set_deferred_save(true);
        service.set_deferred_save(true);
        fees.set_deferred_save(true);
    }
    // Reading every vehicle's three files plainly.
    double plain_read_seconds() {
        std::vector<char> buffer;
        return baseline_seconds([&] {
            for (int v = 0; v < vehicle_count; ++v)
                for (const char16_t* extension : {u".ful", u".mat", u".fee"}) {
                    plain_read_into(device.host_file(vehicle_name(v) + extension), buffer);
                    benchmark::DoNotOptimize(buffer.data());
                }
        });
    }
    std::size_t build(trip_summaries* kept, bool& read) {
        trip_figures figures(device.folder(), fuel, service, fees, kept);
        const std::size_t rows = figures.build_rows(trips).size();
        read = figures.files_ok() && read;
        return rows;
    }

    bench_device device;
    trip_store trips;
    fuel_store fuel;
    service_store service;
    fee_store fees;
};

// Building the trips list from the vehicles' files, none of them read
// before; the baseline reads the 60 files plainly.
void BM_trips_rebuild(benchmark::State& state) {
    trips_setting setting(static_cast<std::size_t>(state.range(0)));
    const double baseline = setting.plain_read_seconds();
    double total = 0;
    std::size_t rows = 0;
    bool read = true;
    for (auto _ : state) total += seconds_of([&] { rows = setting.build(nullptr, read); });
    if (rows < trip_count * 5u || !read) state.SkipWithError("too few rows or unread files");
    report_ratio(state, total, baseline);
}

// The trips page shown again: nothing changed since it built its list, so
// it only looks whether a vehicle's files changed. Goal: below 10 ms; the
// baseline is the plain read of the files a rebuild would need.
void BM_trips_revisit(benchmark::State& state) {
    trips_setting setting(static_cast<std::size_t>(state.range(0)));
    const double baseline = setting.plain_read_seconds();
    trip_summaries kept;
    bool read = true;
    setting.build(&kept, read);
    // The files' change times must lie behind the medium's clock tick.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    setting.build(&kept, read);
    double total = 0;
    int rebuilt = 0;
    for (auto _ : state)
        total += seconds_of([&] {
            if (!kept.unchanged(setting.device.folder(), setting.trips)) {
                setting.build(&kept, read);
                ++rebuilt;
            }
        });
    if (rebuilt || !read) state.SkipWithError("the list was built again with nothing changed");
    state.counters["visit_ms"] = total / static_cast<double>(state.iterations()) * 1e3;
    report_ratio(state, total, baseline);
}

// The trips page after a fill-up was added in the middle of the open
// account: its owed changes are written, its summary taken from memory, the
// other vehicles' kept. The baseline is the plain read of all files.
void BM_trips_after_open_account_change(benchmark::State& state) {
    trips_setting setting(static_cast<std::size_t>(state.range(0)));
    const double baseline = setting.plain_read_seconds();
    trip_summaries kept;
    bool read = true;
    setting.build(&kept, read);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    setting.build(&kept, read);
    const auto middle = setting.fuel.record_at(setting.fuel.record_count() / 2);
    double total = 0;
    for (auto _ : state) {
        state.PauseTiming();
        require(!setting.fuel.add_record(middle).write_failed, "an insert in the middle");
        state.ResumeTiming();
        total += seconds_of([&] { setting.build(&kept, read); });
    }
    if (!read) state.SkipWithError("unread files");
    report_ratio(state, total, baseline);
}

// Filling a report over n records; the baseline is one plain pass over them.
void report_filling(benchmark::State& state, report_kind kind) {
    bench_device device;
    device.write_fuel_file(u"Car", static_cast<std::size_t>(state.range(0)));
    fuel_store fuel;
    service_store service;
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
            fill_report(chart, surface, kind, {&fuel, &service, &fees}, selection_limits{});
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

BENCHMARK(BM_trips_rebuild)->Arg(20000)->Arg(200000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_trips_revisit)->Arg(200000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_trips_after_open_account_change)->Arg(200000)->Unit(benchmark::kMillisecond);
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
