#include "cli/json_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "platform/text_encoding.h"

namespace kelvane {

std::string json_string(std::u16string_view text) {
    const std::string utf8 = to_utf8(text);
    std::string out = "\"";
    for (unsigned char c : utf8) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", c);
            out += buf;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

std::string json_number(double value) {
    if (!std::isfinite(value)) return "null";
    char buf[32];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
    if (ec != std::errc()) return "null";
    return std::string(buf, end);
}

std::string json_fixed(double value, int decimals) {
    if (!std::isfinite(value)) return "null";
    char buf[400];
    auto [end, ec] =
        std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    if (ec != std::errc()) return "null";
    // Read back, the rounded text is the double nearest to it, which
    // json_number writes in its shortest form (40, not 40.00).
    double rounded = 0;
    std::from_chars(buf, end, rounded);
    return json_number(rounded == 0 ? 0.0 : rounded);  // never "-0"
}

}  // namespace kelvane
