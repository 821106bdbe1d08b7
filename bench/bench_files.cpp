// Whole data sets copied: a backup into a folder and a restore from it, of
// 20 vehicles with their fill-ups, repairs and fees. The baseline is `cp -r`
// of the same data folder, run in the same way.
#include <cstdlib>

#include "bench/bench_support.h"
#include "core/accounts/configuration.h"
#include "core/accounts/data_set_copier.h"
#include "core/stores/fee_store.h"
#include "core/stores/service_store.h"

namespace kelvane::bench {
namespace {

constexpr int vehicle_count = 20;

std::u16string vehicle_name(int v) {
    return u"Car" + format("%d", v + 1);
}

struct data_set {
    explicit data_set(std::size_t per_vehicle) {
        fuel.set_deferred_save(true);
        service.set_deferred_save(true);
        fees.set_deferred_save(true);
        config.attach_stores({&fuel, &service, &fees});
        (void)config.load_config();
        for (int v = 0; v < vehicle_count; ++v) {
            device.write_fuel_file(vehicle_name(v), per_vehicle, 3 * 3600,
                                   static_cast<unsigned>(v + 1));
            device.write_cost_files(vehicle_name(v), per_vehicle / 10,
                                    static_cast<std::int64_t>(per_vehicle) * 3 * 3600);
            (void)config.add_account(vehicle_name(v));
        }
    }
    // `cp -r` of the data folder to a host folder beside it; with `kept`,
    // followed by `sync -f`, which waits until the copy is on the medium, as
    // a backup or a restore must before it reports success.
    double cp_seconds(bool kept = false) {
        const auto from = device.host_file(u"");
        const auto to = from.parent_path().parent_path() / "cp-copy";
        const std::string command = "rm -rf '" + to.string() + "' && cp -r '" + from.string() +
                                    "' '" + to.string() + "'" +
                                    (kept ? " && sync -f '" + to.string() + "'" : "");
        return baseline_seconds([&] { require(std::system(command.c_str()) == 0, "cp -r"); });
    }
    // Beside the ratio to `cp -r`, the ratio to the same copy kept on the medium.
    void report(benchmark::State& state, double total) {
        report_ratio(state, total, cp_seconds());
        const double kept = cp_seconds(true);
        state.counters["kept_copy_us"] = kept * 1e6;
        state.counters["ratio_to_kept_copy"] =
            state.iterations() ? total / static_cast<double>(state.iterations()) / kept : 0;
    }

    bench_device device;
    fuel_store fuel;
    service_store service;
    fee_store fees;
    configuration config;
};

void BM_backup(benchmark::State& state) {
    data_set set(static_cast<std::size_t>(state.range(0)) / vehicle_count);
    double total = 0;
    bool done = true;
    for (auto _ : state)
        total += seconds_of([&] {
            done = data_set_copier(set.config).backup_to_folder(u"\\Backup\\") ==
                       data_set_copy::done &&
                   done;
        });
    if (!done) state.SkipWithError("the backup did not complete");
    set.report(state, total);
}

void BM_restore(benchmark::State& state) {
    data_set set(static_cast<std::size_t>(state.range(0)) / vehicle_count);
    require(data_set_copier(set.config).backup_to_folder(u"\\Backup\\") == data_set_copy::done,
            "a backup");
    double total = 0;
    bool done = true;
    for (auto _ : state)
        total += seconds_of([&] {
            done = data_set_copier(set.config).restore_from_folder(u"\\Backup\\") ==
                       data_set_copy::done &&
                   done;
        });
    if (!done) state.SkipWithError("the restore did not complete");
    set.report(state, total);
}

BENCHMARK(BM_backup)->Arg(200000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_restore)->Arg(200000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kelvane::bench
