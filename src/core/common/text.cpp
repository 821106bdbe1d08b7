#include "core/common/text.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace kelvane {

std::u16string format(const char* fmt, ...) {
    char small[256];
    va_list args;
    va_start(args, fmt);
    va_list copy;
    va_copy(copy, args);
    const int n = std::vsnprintf(small, sizeof small, fmt, args);
    va_end(args);
    std::u16string out;
    if (n < 0) {
        va_end(copy);
        return out;
    }
    if (static_cast<std::size_t>(n) < sizeof small) {
        out = widen(std::string_view(small, n));
    } else {
        std::vector<char> big(static_cast<std::size_t>(n) + 1);
        std::vsnprintf(big.data(), big.size(), fmt, copy);
        out = widen(std::string_view(big.data(), n));
    }
    va_end(copy);
    return out;
}

std::u16string join(const std::u16string* first, const std::u16string* last,
                    std::u16string_view separator) {
    std::u16string out;
    for (auto it = first; it != last; ++it) {
        if (it != first) out += separator;
        out += *it;
    }
    return out;
}

}  // namespace kelvane
