// The CSV files: export of an account, import in date order and shuffled.
#include <algorithm>
#include <cmath>
#include <random>

#include "bench/bench_support.h"
#include "core/exchange/export_import.h"
#include "core/stores/fee_store.h"
#include "core/stores/service_store.h"

namespace kelvane::bench {
namespace {

// The export writes one line per record, through a temporary file kept on
// the medium before it replaces the old one; the baseline writes the same
// bytes and keeps them on the medium.
void BM_csv_export(benchmark::State& state) {
    bench_device device;
    device.write_fuel_file(u"Car", static_cast<std::size_t>(state.range(0)));
    fuel_store fuel;
    service_store maintenance;
    fee_store fees;
    require(fuel.load(device.folder(), u"Car", false) == load_result::loaded, "reading Car.ful");
    (void)maintenance.load(device.folder(), u"Car", false);  // no such file: an empty store
    (void)fees.load(device.folder(), u"Car", false);
    export_import csv(fuel, maintenance, fees);
    const std::u16string path = device.folder() + u"Output\\Car.csv";
    require(csv.export_account(path), "the first export");
    const auto host = device.host_file(u"Output\\Car.csv");
    const auto bytes = plain_read(host);
    const auto copy = host.parent_path() / "plain.csv";
    const double baseline = baseline_seconds([&] { durable_write(copy, bytes); });
    double total = 0;
    bool written = true;
    for (auto _ : state)
        total += seconds_of([&] { written = csv.export_account(path) && written; });
    if (!written) state.SkipWithError("the export reported a failure");
    state.counters["bytes"] = static_cast<double>(bytes.size());
    report_ratio(state, total, baseline);
}

// Imports n fuel lines into an empty account. Shuffled lines arrive out of
// date order, so nearly every one is an insert in the middle. The baseline
// reads the file's bytes; "ns_per_n_log_n" shows how the time grows.
void csv_import(benchmark::State& state, bool shuffled) {
    const auto n = static_cast<std::size_t>(state.range(0));
    bench_device device;
    // The file: an export of n fill-ups, one a day so the dates stay apart
    // after the import drops the time of day.
    device.write_fuel_file(u"Source", n, 86400);
    {
        fuel_store fuel;
        service_store maintenance;
        fee_store fees;
        require(fuel.load(device.folder(), u"Source", false) == load_result::loaded,
                "reading Source.ful");
        require(export_import(fuel, maintenance, fees).export_account(device.folder() + u"in.csv"),
                "exporting the file to import");
    }
    const auto host = device.host_file(u"in.csv");
    if (shuffled) {
        auto text = plain_read(host);
        std::vector<std::string> lines;
        std::string line;
        for (char c : text) {
            line += c;
            if (c == '\n') lines.push_back(std::move(line)), line.clear();
        }
        std::mt19937 rng(5);
        std::shuffle(lines.begin() + 1, lines.end(), rng);
        text.clear();
        for (const auto& l : lines) text.insert(text.end(), l.begin(), l.end());
        plain_write(host, text);
    }
    const double baseline = baseline_seconds([&] { benchmark::DoNotOptimize(plain_read(host)); });

    double total = 0;
    int added = 0;
    bool written = true;
    std::int64_t peak_above = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::remove(device.host_file(u"Car.ful"));
        fuel_store fuel;
        service_store maintenance;
        fee_store fees;
        (void)fuel.load(device.folder(), u"Car", false);  // removed above: an empty store
        // An empty account file, so the account counts as open.
        require(fuel.save_all(), "writing an empty Car.ful");
        require(fuel.load(device.folder(), u"Car", false) == load_result::loaded,
                "reading Car.ful");
        (void)maintenance.load(device.folder(), u"Car", false);
        (void)fees.load(device.folder(), u"Car", false);
        export_import csv(fuel, maintenance, fees);
        const std::int64_t before = reset_peak_memory();
        state.ResumeTiming();
        total += seconds_of([&] {
            const import_summary done = csv.import_file(device.folder() + u"in.csv");
            added = done.fuel;
            written = done.read && !done.write_failed && written;
        });
        state.PauseTiming();
        peak_above = std::max(peak_above, peak_memory() - before);
        state.ResumeTiming();
    }
    // The memory the import took at its peak, beside the bytes of the
    // records it added.
    if (peak_above > 0)
        state.counters["peak_over_record_bytes"] =
            static_cast<double>(peak_above) / static_cast<double>(n * sizeof(fuel_record));
    if (static_cast<std::size_t>(added) != n || !written)
        state.SkipWithError("the import did not add every line");
    report_ratio(state, total, baseline);
    const double mean = total / static_cast<double>(state.iterations());
    state.counters["ns_per_n_log_n"] = mean * 1e9 / (static_cast<double>(n) * std::log2(n));
}

void BM_csv_import_in_order(benchmark::State& state) {
    csv_import(state, false);
}
void BM_csv_import_shuffled(benchmark::State& state) {
    csv_import(state, true);
}

#define SIZES ->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)
BENCHMARK(BM_csv_export) SIZES;
BENCHMARK(BM_csv_import_in_order) SIZES;
BENCHMARK(BM_csv_import_shuffled) SIZES;

}  // namespace
}  // namespace kelvane::bench
