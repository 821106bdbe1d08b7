#pragma once
// One fuzz target per loader. Built as a libFuzzer harness (with clang and
// KELVANE_LIBFUZZER defined) a target is the program's LLVMFuzzerTestOneInput;
// built into the replay tests it registers itself by name, so that every
// input kept under corpus/<name> and crashes/<name> runs as an ordinary test.
//
//   KELVANE_FUZZ_TARGET(fuel_store)(const std::uint8_t* data, std::size_t size) { ... }

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

namespace kelvane::fuzz {

using target_fn = int (*)(const std::uint8_t*, std::size_t);

// Every registered target by name.
std::map<std::string, target_fn>& targets();
bool register_target(const char* name, target_fn fn);

// Stops the run when something the loaders promise does not hold; a fuzzer
// records the input as a crash.
[[noreturn]] void broken(const char* what);
inline void expect(bool holds, const char* what) {
    if (!holds) broken(what);
}

}  // namespace kelvane::fuzz

#ifdef KELVANE_LIBFUZZER
#define KELVANE_FUZZ_TARGET(name)                                                       \
    static int fuzz_##name(const std::uint8_t*, std::size_t);                           \
    extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) { \
        return fuzz_##name(data, size);                                                 \
    }                                                                                   \
    static int fuzz_##name
#else
#define KELVANE_FUZZ_TARGET(name)                             \
    static int fuzz_##name(const std::uint8_t*, std::size_t); \
    [[maybe_unused]] static const bool registered_##name =    \
        ::kelvane::fuzz::register_target(#name, fuzz_##name); \
    static int fuzz_##name
#endif
