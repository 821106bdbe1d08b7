#include "core/stores/record_store.h"

#include <atomic>
#include <cstdio>

namespace kelvane {

std::u16string make_record_key(std::u16string_view account, std::int32_t number,
                               const local_time& added) {
    std::u16string key(account);
    key += format("%.10ld%.2d%.2d%.2d%.2d%.2d%.2d", static_cast<long>(number), added.year % 100,
                  added.month, added.day, added.hour, added.minute, added.second);
    return cut(key, 60);
}

void report_position_outside(int position, int count) {
    static std::atomic<bool> reported{false};
    if (reported.exchange(true)) return;
    std::fprintf(stderr,
                 "kelvane: a record was asked for at position %d of a store of %d records; "
                 "an empty record was given instead\n",
                 position, count);
}

std::u16string unreadable_copy_path(file_system& fs, std::u16string_view path) {
    std::u16string base = std::u16string(path) + u".unreadable";
    if (!fs.file_exists(base)) return base;
    for (int n = 2;; ++n) {
        std::u16string candidate = base + format("%d", n);
        if (!fs.file_exists(candidate)) return candidate;
    }
}

}  // namespace kelvane
