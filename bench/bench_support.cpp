#include "bench/bench_support.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "cli/sample_data.h"
#include "core/stores/fee_store.h"
#include "core/stores/service_store.h"

namespace kelvane::bench {

namespace {

std::filesystem::path make_temporary_root() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "kelvane-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    return pattern;
}

}  // namespace

bench_device::bench_device()
    : root_(make_temporary_root()),
      files_(root_),
      clock_(local_time{2026, 12, 7, 9, 0, 0}),
      services_({&files_, &clock_, &device_, &boxes_, &shell_}) {
    std::filesystem::create_directories(root_ / "Program Files" / "Kelvane");
}

bench_device::~bench_device() {
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
}

std::filesystem::path bench_device::host_file(std::u16string_view name) const {
    return files_.host_path(folder() + std::u16string(name));
}

void require(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "benchmark set-up failed: %s\n", what);
    std::exit(1);
}

void bench_device::write_fuel_file(std::u16string_view name, std::size_t count,
                                   std::int64_t step_seconds, unsigned seed) {
    const auto records = sample_data::fuel_series(count, seed, {2000, 1, 1}, step_seconds);
    fuel_store store;
    require(store.load(folder(), name, false) != load_result::damaged, "reading a fuel file");
    store.header().tank_capacity = 50;
    set_fixed(store.header().mileage_unit, u"Kilometer");
    set_fixed(store.header().fuel_unit, u"Liter");
    store.header().economy_mode = 2;
    require(store.add_all(records), "writing a fuel file");
}

void bench_device::write_cost_files(std::u16string_view name, std::size_t count,
                                    std::int64_t span_seconds) {
    const std::int64_t start = to_local_seconds(2000, 1, 1, 0, 0, 0);
    const std::int64_t step = count ? std::max<std::int64_t>(1, span_seconds / count) : 1;
    auto stamp = [&](auto& r, std::size_t i) {
        const local_time t = from_local_seconds(start + static_cast<std::int64_t>(i) * step);
        r.year = t.year, r.month = t.month, r.day = t.day;
        r.hour = t.hour, r.minute = t.minute, r.second = t.second;
        r.mileage = 1000.0 + static_cast<double>(i) * 300;
        r.cost = 20.0 + static_cast<double>(i % 17) * 11;
    };
    std::vector<service_store::record_type> jobs(count);
    std::vector<fee_store::record_type> charges(count);
    for (std::size_t i = 0; i < count; ++i) {
        stamp(jobs[i], i);
        jobs[i].repair_flag = i % 3 ? 1 : 0;
        set_fixed(jobs[i].description, u"Service");
        stamp(charges[i], i);
        set_fixed(charges[i].category, i % 2 ? u"Parking" : u"Toll");
    }
    service_store maintenance;
    require(maintenance.load(folder(), name, false) != load_result::damaged &&
                maintenance.add_all(jobs),
            "writing a repair file");
    fee_store fees;
    require(fees.load(folder(), name, false) != load_result::damaged && fees.add_all(charges),
            "writing a fees file");
}

void report_ratio(benchmark::State& state, double operation_seconds_total, double baseline) {
    const double mean = state.iterations() ? operation_seconds_total / state.iterations() : 0;
    state.counters["baseline_us"] = baseline * 1e6;
    state.counters["ratio_to_baseline"] = baseline > 0 ? mean / baseline : 0;
}

namespace {

// A field of /proc/self/status in bytes ("VmRSS", "VmHWM"); 0 when missing.
std::int64_t status_bytes(const char* field) {
    std::FILE* f = std::fopen("/proc/self/status", "r");
    if (!f) return 0;
    char line[256];
    std::int64_t kib = 0;
    const std::size_t n = std::strlen(field);
    while (std::fgets(line, sizeof line, f))
        if (std::strncmp(line, field, n) == 0 && line[n] == ':') kib = std::atoll(line + n + 1);
    std::fclose(f);
    return kib * 1024;
}

}  // namespace

std::int64_t reset_peak_memory() {
    // Writing 5 to clear_refs starts the peak anew from what is resident now.
    if (std::FILE* f = std::fopen("/proc/self/clear_refs", "w")) {
        std::fputs("5", f);
        std::fclose(f);
    }
    return status_bytes("VmRSS");
}

std::int64_t peak_memory() {
    return status_bytes("VmHWM");
}

std::vector<char> plain_read(const std::filesystem::path& p) {
    std::vector<char> bytes;
    plain_read_into(p, bytes);
    return bytes;
}

void plain_read_into(const std::filesystem::path& p, std::vector<char>& bytes) {
    std::FILE* f = std::fopen(p.c_str(), "rb");
    if (!f) {
        bytes.clear();
        return;
    }
    std::fseek(f, 0, SEEK_END);
    bytes.resize(static_cast<std::size_t>(std::ftell(f)));
    std::fseek(f, 0, SEEK_SET);
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), f));
    std::fclose(f);
}

void plain_write(const std::filesystem::path& p, const std::vector<char>& bytes) {
    std::FILE* f = std::fopen(p.c_str(), "wb");
    if (!f) return;
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

void durable_write(const std::filesystem::path& p, const std::vector<char>& bytes) {
    std::FILE* f = std::fopen(p.c_str(), "wb");
    if (!f) return;
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fflush(f);
    ::fsync(::fileno(f));
    std::fclose(f);
}

}  // namespace kelvane::bench
