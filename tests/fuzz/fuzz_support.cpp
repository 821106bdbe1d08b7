#include "fuzz_support.h"

#include <cstdio>
#include <cstdlib>

#include "fuzz_target.h"

namespace kelvane::fuzz {

std::map<std::string, target_fn>& targets() {
    static std::map<std::string, target_fn> all;
    return all;
}

bool register_target(const char* name, target_fn fn) {
    targets()[name] = fn;
    return true;
}

void broken(const char* what) {
    std::fprintf(stderr, "fuzz target: %s\n", what);
    std::abort();
}

fuzz_device::fuzz_device() {
    fs.create_folder(u"\\Program Files");
    fs.create_folder(u"\\Program Files\\Kelvane");
    fs.create_folder(u"\\My Documents");
    clock.set(2007, 10, 4, 2, 25, 33);
}

void fuzz_device::put(std::u16string_view name, const std::uint8_t* data, std::size_t size) {
    fs.put(data_folder + std::u16string(name), std::vector<std::uint8_t>(data, data + size));
}

}  // namespace kelvane::fuzz
