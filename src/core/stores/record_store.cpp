#include "core/stores/record_store.h"

namespace kelvane {

std::u16string make_record_key(std::u16string_view account, std::int32_t number,
                               const local_time& added) {
    std::u16string key(account);
    key += format("%.10ld%.2d%.2d%.2d%.2d%.2d%.2d", static_cast<long>(number), added.year % 100,
                  added.month, added.day, added.hour, added.minute, added.second);
    return cut(key, 60);
}

std::u16string csv_cell_text(std::u16string_view text) {
    std::u16string cell;
    cell.reserve(text.size());
    for (char16_t c : text) {
        cell += c;
        if (c == u'"') cell += u'"';
    }
    return cell;
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
