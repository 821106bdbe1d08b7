#include "core/common/text.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace kelvane {

// Out of line: inlined into set_fixed with a short literal, GCC's bounds
// check at -O2 reads past the text on the path the size test has ruled out.
std::size_t whole_units(std::u16string_view text, std::size_t n) {
    if (n >= text.size()) return text.size();
    const auto high = [](char16_t c) { return c >= 0xD800 && c <= 0xDBFF; };
    const auto low = [](char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; };
    return n > 0 && high(text[n - 1]) && low(text[n]) ? n - 1 : n;
}

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

char16_t fold_case(char16_t c) {
    const auto lower = [](int v) { return static_cast<char16_t>(v); };
    if (c >= u'A' && c <= u'Z') return lower(c + 32);
    if (c < 0xC0) return c;
    // Latin-1: À-Þ except the multiplication sign.
    if (c <= 0xDE) return c == 0xD7 ? c : lower(c + 32);
    // Latin Extended-A: upper and lower case alternate in pairs, with a few
    // odd stretches (İ and ı fold to themselves, as on those file systems).
    if (c == 0x130 || c == 0x131) return c;
    if (c >= 0x100 && c <= 0x137) return c & 1 ? c : lower(c + 1);
    if (c >= 0x139 && c <= 0x148) return c & 1 ? lower(c + 1) : c;
    if (c >= 0x14A && c <= 0x177) return c & 1 ? c : lower(c + 1);
    if (c == 0x178) return 0xFF;
    if (c >= 0x179 && c <= 0x17E) return c & 1 ? lower(c + 1) : c;
    // Greek capitals (no capital at 0x3A2) and Cyrillic.
    if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return lower(c + 32);
    if (c >= 0x400 && c <= 0x40F) return lower(c + 80);
    if (c >= 0x410 && c <= 0x42F) return lower(c + 32);
    return c;
}

bool same_name_ignoring_case(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (fold_case(a[i]) != fold_case(b[i])) return false;
    return true;
}

bool starts_with_ignoring_case(std::u16string_view text, std::u16string_view start) {
    return text.size() >= start.size() &&
           same_name_ignoring_case(text.substr(0, start.size()), start);
}

bool ends_with_ignoring_case(std::u16string_view text, std::u16string_view end) {
    return text.size() >= end.size() &&
           same_name_ignoring_case(text.substr(text.size() - end.size()), end);
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

bool reads_as_figure(std::u16string_view text) {
    bool digit = false;
    for (char16_t c : text) {
        if (c >= u'0' && c <= u'9')
            digit = true;
        else if (std::u16string_view(u".,-/:% ").find(c) == std::u16string_view::npos)
            return false;
    }
    return digit;
}

}  // namespace kelvane
