// The record stores: load, add the newest record, insert in the middle with
// deferred saving, reset with its full save, select, recompute the economy.
#include <cstring>

#include "bench/bench_support.h"
#include "core/stores/fuel_store.h"

namespace kelvane::bench {
namespace {

constexpr std::int64_t step = 3 * 3600;

fuel_store::record_type record_at_seconds(const fuel_store& store, std::int64_t seconds,
                                          double mileage) {
    fuel_store::record_type r = store.record_at(store.record_count() - 1);
    const local_time t = from_local_seconds(seconds);
    r.year = t.year, r.month = t.month, r.day = t.day;
    r.hour = t.hour, r.minute = t.minute, r.second = t.second;
    r.mileage = mileage;
    return r;
}

std::int64_t seconds_of_record(const fuel_store::record_type& r) {
    return to_local_seconds(r.year, r.month, r.day, r.hour, r.minute, r.second);
}

// Loading is one read of the whole file; the baseline reads the same bytes.
// The two alternate, so that a busy machine weighs on both alike.
void BM_load(benchmark::State& state) {
    bench_device device;
    device.write_fuel_file(u"Car", static_cast<std::size_t>(state.range(0)));
    const auto host = device.host_file(u"Car.ful");
    // Both read into memory they already hold: the store keeps its record
    // buffer across loads, so the baseline keeps its buffer too.
    std::vector<char> buffer;
    plain_read_into(host, buffer);
    fuel_store store;
    require(store.load(device.folder(), u"Car", false) == load_result::loaded, "reading Car.ful");
    double total = 0, plain = 0;
    bool read = true;
    for (auto _ : state) {
        total += seconds_of([&] {
            read = store.load(device.folder(), u"Car", false) == load_result::loaded && read;
        });
        benchmark::DoNotOptimize(store.record_count());
        state.PauseTiming();
        plain += seconds_of([&] { plain_read_into(host, buffer); });
        state.ResumeTiming();
    }
    if (store.record_count() != state.range(0) || !read) state.SkipWithError("wrong record count");
    report_ratio(state, total, plain / static_cast<double>(state.iterations()));
}

// The first load of a program start: the store has no memory for records
// yet, as a plain read into a fresh buffer has none. The two alternate.
void BM_first_load(benchmark::State& state) {
    bench_device device;
    device.write_fuel_file(u"Car", static_cast<std::size_t>(state.range(0)));
    const auto host = device.host_file(u"Car.ful");
    double total = 0, plain = 0;
    bool read = true;
    int count = 0;
    for (auto _ : state) {
        total += seconds_of([&] {
            fuel_store store;
            read = store.load(device.folder(), u"Car", false) == load_result::loaded && read;
            count = store.record_count();
        });
        state.PauseTiming();
        plain += seconds_of([&] {
            std::vector<char> buffer;
            plain_read_into(host, buffer);
            benchmark::DoNotOptimize(buffer.data());
        });
        state.ResumeTiming();
    }
    if (count != state.range(0) || !read) state.SkipWithError("wrong record count");
    report_ratio(state, total, plain / static_cast<double>(state.iterations()));
}

// The newest record is appended: the header and the last two records are
// written in place. The baseline writes those bytes into the file by hand.
void BM_add_newest(benchmark::State& state) {
    bench_device device;
    device.write_fuel_file(u"Car", static_cast<std::size_t>(state.range(0)));
    fuel_store store;
    store.set_deferred_save(true);
    require(store.load(device.folder(), u"Car", false) == load_result::loaded, "reading Car.ful");
    const auto host = device.host_file(u"Car.ful");
    const double baseline = baseline_seconds([&] {
        std::FILE* f = std::fopen(host.c_str(), "r+b");
        std::fwrite(&store.header(), sizeof(fuel_header), 1, f);
        std::fseek(f, -2 * static_cast<long>(sizeof(fuel_record)), SEEK_END);
        std::fwrite(&store.record_at(store.record_count() - 2), sizeof(fuel_record), 2, f);
        std::fclose(f);
    });
    std::int64_t when = seconds_of_record(store.record_at(store.record_count() - 1));
    double mileage = store.record_at(store.record_count() - 1).mileage;
    double total = 0;
    bool written = true;
    for (auto _ : state) {
        when += step;
        mileage += 500;
        const auto r = record_at_seconds(store, when, mileage);
        total += seconds_of([&] { written = !store.add_record(r).write_failed && written; });
    }
    if (store.dirty() || !written) state.SkipWithError("the append did not stay clean");
    report_ratio(state, total, baseline);
}

// An older record goes into the middle; with deferred saving only the
// header is rewritten, after the totals and economies are recomputed.
void BM_insert_middle_deferred(benchmark::State& state) {
    bench_device device;
    device.write_fuel_file(u"Car", static_cast<std::size_t>(state.range(0)));
    fuel_store store;
    store.set_deferred_save(true);
    require(store.load(device.folder(), u"Car", false) == load_result::loaded, "reading Car.ful");
    const auto host = device.host_file(u"Car.ful");
    const double baseline = baseline_seconds([&] {
        std::FILE* f = std::fopen(host.c_str(), "r+b");
        std::fwrite(&store.header(), sizeof(fuel_header), 1, f);
        std::fclose(f);
    });
    const auto middle = store.record_at(store.record_count() / 2);
    double total = 0;
    bool written = true;
    for (auto _ : state) {
        auto r = middle;
        r.second = (r.second + 1) % 60;
        total += seconds_of([&] { written = !store.add_record(r).write_failed && written; });
    }
    if (!store.dirty() || !written) state.SkipWithError("the insert did not defer");
    store.clear_dirty();
    // Goal: 10,000 such inserts into 100k records in under a second.
    state.counters["s_per_10k"] = total / static_cast<double>(state.iterations()) * 1e4;
    report_ratio(state, total, baseline);
}

// A dirty store writes the whole file at reset, through a temporary file.
// The baseline writes the same bytes and keeps them on the medium.
void BM_reset_full_save(benchmark::State& state) {
    bench_device device;
    device.write_fuel_file(u"Car", static_cast<std::size_t>(state.range(0)));
    const auto host = device.host_file(u"Car.ful");
    const auto bytes = plain_read(host);
    const auto copy = host.parent_path() / "plain.bin";
    const double baseline = baseline_seconds([&] { durable_write(copy, bytes); });
    fuel_store store;
    store.set_deferred_save(true);
    double total = 0;
    bool saved = true;
    for (auto _ : state) {
        state.PauseTiming();
        require(store.load(device.folder(), u"Car", false) == load_result::loaded,
                "reading Car.ful");
        auto r = store.record_at(store.record_count() / 2);
        require(!store.add_record(r).write_failed, "an insert in the middle");  // dirty now
        state.ResumeTiming();
        total += seconds_of([&] { saved = store.reset() && saved; });
    }
    if (!saved) state.SkipWithError("the full save failed");
    report_ratio(state, total, baseline);
}

// A selection by dates and mileage over the records; the baseline is one
// plain pass over the same records.
void BM_select(benchmark::State& state) {
    bench_device device;
    device.write_fuel_file(u"Car", static_cast<std::size_t>(state.range(0)));
    fuel_store store;
    require(store.load(device.folder(), u"Car", false) == load_result::loaded, "reading Car.ful");
    const int n = store.record_count();
    selection_limits limits;
    const auto& a = store.record_at(n / 4);
    const auto& b = store.record_at(3 * n / 4);
    limits.from = local_time{a.year, a.month, a.day, a.hour, a.minute, a.second};
    limits.to = local_time{b.year, b.month, b.day, b.hour, b.minute, b.second};
    limits.lowest = store.record_at(n / 3).mileage;
    const double baseline = baseline_seconds([&] {
        double sum = 0;
        for (int i = 0; i < n; ++i) sum += store.record_at(i).mileage;
        benchmark::DoNotOptimize(sum);
    });
    double total = 0;
    for (auto _ : state) {
        total += seconds_of([&] { store.select_records(limits); });
        benchmark::DoNotOptimize(store.selected_count());
    }
    report_ratio(state, total, baseline);
}

// Totals and every economy from scratch; the baseline sums the costs.
void BM_recompute_economy(benchmark::State& state) {
    bench_device device;
    device.write_fuel_file(u"Car", static_cast<std::size_t>(state.range(0)));
    fuel_store store;
    require(store.load(device.folder(), u"Car", false) == load_result::loaded, "reading Car.ful");
    const int n = store.record_count();
    const double baseline = baseline_seconds([&] {
        double sum = 0;
        for (int i = 0; i < n; ++i) sum += store.record_at(i).fuel_cost;
        benchmark::DoNotOptimize(sum);
    });
    double total = 0;
    // Without the header write there is nothing that could fail.
    for (auto _ : state) total += seconds_of([&] { (void)store.recompute_economy(false); });
    report_ratio(state, total, baseline);
}

#define SIZES ->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond)
BENCHMARK(BM_load) SIZES;
BENCHMARK(BM_first_load) SIZES;
BENCHMARK(BM_add_newest) SIZES;
BENCHMARK(BM_insert_middle_deferred) SIZES;
BENCHMARK(BM_reset_full_save) SIZES;
BENCHMARK(BM_select) SIZES;
BENCHMARK(BM_recompute_economy) SIZES;

}  // namespace
}  // namespace kelvane::bench
