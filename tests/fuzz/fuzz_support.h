#pragma once
// What every fuzz input runs on: the device services of a fresh device held
// in memory (files, a fixed clock, a message box that answers every box), so
// that nothing of one input reaches the next.

#include <cstdint>
#include <string>
#include <vector>

#include "core/test_services.h"

namespace kelvane::fuzz {

// The data folder of the fuzzed device.
inline const std::u16string data_folder = u"\\Program Files\\Kelvane\\";

struct fuzz_device : testing::test_services {
    fuzz_device();
    // Puts the input into a file of the data folder.
    void put(std::u16string_view name, const std::uint8_t* data, std::size_t size);
};

}  // namespace kelvane::fuzz
