// Start-up: the program started with an account of n fill-ups open, until
// its first frame is drawn (it saves that frame as a picture and ends), on
// the offscreen platform. The baseline is the same start with no data at all,
// run alternately with it.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include "bench/bench_support.h"
#include "core/accounts/configuration.h"
#include "core/stores/fee_store.h"
#include "core/stores/service_store.h"

namespace kelvane::bench {
namespace {

// Runs the program on the device root until it has saved its first frame;
// false when it failed.
bool start_program(const std::filesystem::path& root) {
    const std::string picture = (root / "first-frame.png").string();
    const pid_t child = ::fork();
    if (child == 0) {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        ::setenv("KELVANE_DEVICE_ROOT", root.c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", root.c_str(), 1);
        ::execl(KELVANE_PROGRAM, KELVANE_PROGRAM, "--screenshot", picture.c_str(),
                static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

void BM_startup(benchmark::State& state) {
    bench_device empty;
    bench_device full;
    {
        // The account is the current one, so that its files load at start.
        fuel_store fuel;
        service_store service;
        fee_store fees;
        configuration config;
        config.attach_stores({&fuel, &service, &fees});
        (void)config.load_config();
        full.write_fuel_file(u"Car", static_cast<std::size_t>(state.range(0)));
        require(config.add_account(u"Car") == account_change::done, "adding the account");
        config.set_current_account(u"Car");
        require(config.save_config(), "writing Config.dat");
    }
    const auto root_of = [](const bench_device& d) { return d.root(); };
    require(start_program(root_of(empty)) && start_program(root_of(full)), "a first start");
    double total = 0, plain = 0;
    bool started = true;
    for (auto _ : state) {
        total += seconds_of([&] { started = start_program(root_of(full)) && started; });
        state.PauseTiming();
        plain += seconds_of([&] { started = start_program(root_of(empty)) && started; });
        state.ResumeTiming();
    }
    if (!started) state.SkipWithError("the program did not start");
    report_ratio(state, total, plain / static_cast<double>(state.iterations()));
}

BENCHMARK(BM_startup)->Arg(100000)->Iterations(5)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kelvane::bench
