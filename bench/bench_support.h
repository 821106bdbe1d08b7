#pragma once
// What every benchmark needs: a device carried in a fresh temporary folder
// on the host, record files of a given size made from the sample data, a
// drawing surface that only keeps pixels, and timing of the plain baseline
// work beside the measured operation.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "core/stores/fuel_store.h"
#include "platform/host_file_system.h"
#include "platform/pixel_surface.h"
#include "platform/services.h"

namespace kelvane::bench {

class bench_device {
public:
    bench_device();
    ~bench_device();
    bench_device(const bench_device&) = delete;
    bench_device& operator=(const bench_device&) = delete;

    std::u16string folder() const { return program_folder(); }
    // The host folder that holds the device.
    const std::filesystem::path& root() const { return root_; }
    // Host path of a file in the data folder.
    std::filesystem::path host_file(std::u16string_view name) const;

    // Writes "<name>.ful" with `count` sample fill-ups, one every `step` seconds.
    void write_fuel_file(std::u16string_view name, std::size_t count,
                         std::int64_t step_seconds = 3 * 3600, unsigned seed = 1);

    // Writes "<name>.mat" and "<name>.fee" with `count` records each, spread
    // over the same years as write_fuel_file's fill-ups.
    void write_cost_files(std::u16string_view name, std::size_t count, std::int64_t span_seconds);

private:
    std::filesystem::path root_;
    host_file_system files_;
    fixed_clock clock_;
    host_device_info device_;
    scripted_message_box boxes_;
    recording_shell shell_;
    scoped_services services_;
};

// A surface that keeps pixels and ignores all drawing, whose text has a
// size as on a screen: what the report filling needs without the cost of a
// recorder.
class pixel_dc : public pixel_surface {
public:
    using pixel_surface::pixel_surface;
    size text_extent(std::u16string_view text) override {
        return {static_cast<int>(text.size()) * 6, 12};
    }
};

// Stops the program when setting up a benchmark went wrong: its figures
// would measure something other than what they name.
void require(bool ok, const char* what);

// Seconds of one call of f.
template <class F>
double seconds_of(F&& f) {
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The mean of a baseline over a few runs (at least 3, about 50 ms in all),
// after one unmeasured run that warms the caches and the buffers.
template <class F>
double baseline_seconds(F&& f) {
    f();
    double total = 0;
    int runs = 0;
    while (runs < 3 || (total < 0.05 && runs < 1000)) {
        total += seconds_of(f);
        ++runs;
    }
    return total / runs;
}

// Puts the operation's mean time and the baseline's beside the benchmark.
void report_ratio(benchmark::State& state, double operation_seconds_total, double baseline);

// The resident memory now, after starting a new peak from here (bytes; 0
// where the host cannot say), and the peak since then.
std::int64_t reset_peak_memory();
std::int64_t peak_memory();

// Plain file work on the host, below the device layer's formats.
std::vector<char> plain_read(const std::filesystem::path& p);
// The same into a buffer that is reused from call to call.
void plain_read_into(const std::filesystem::path& p, std::vector<char>& buffer);
void plain_write(const std::filesystem::path& p, const std::vector<char>& bytes);
// The same, kept on the medium before it is closed (fsync), as every file
// the program writes whole is: the plain work a save or an export must do.
void durable_write(const std::filesystem::path& p, const std::vector<char>& bytes);

}  // namespace kelvane::bench
