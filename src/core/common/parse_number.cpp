#include "core/common/parse_number.h"

namespace kelvane {

double parse_number(std::u16string_view text) {
    double sign = 1.0;
    if (!text.empty() && text.front() == u'-') {
        sign = -1.0;
        text.remove_prefix(1);
    }
    std::size_t point = std::u16string_view::npos;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c == u'.') {
            if (point != std::u16string_view::npos) return 0.0;
            point = i;
        } else if (c < u'0' || c > u'9') {
            return 0.0;
        }
    }
    const std::size_t int_end = point == std::u16string_view::npos ? text.size() : point;
    double integer = 0.0;
    for (std::size_t i = 0; i < int_end; ++i) {
        // Each digit weighted by its power of ten, the power built by repeated multiplication.
        double weight = 1.0;
        for (std::size_t k = i + 1; k < int_end; ++k) weight *= 10.0;
        integer += (text[i] - u'0') * weight;
    }
    double fraction = 0.0;
    if (point != std::u16string_view::npos) {
        double weight = 1.0;
        for (std::size_t i = point + 1; i < text.size(); ++i) {
            weight *= 0.1;
            fraction += (text[i] - u'0') * weight;
        }
    }
    return (integer + fraction) * sign;
}

bool is_number_text(std::u16string_view text) {
    if (text.empty()) return true;
    if (text.front() == u'-') text.remove_prefix(1);
    int digits = 0, points = 0;
    for (const char16_t c : text) {
        if (c >= u'0' && c <= u'9')
            ++digits;
        else if (c == u'.')
            ++points;
        else
            return false;
    }
    return digits > 0 && points <= 1;
}

}  // namespace kelvane
