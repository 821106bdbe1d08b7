#include "core/common/number_text.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "core/common/date_text.h"

namespace kelvane {

namespace {

// Room for the longest fixed-point text of a double with a few decimals
// (309 integer digits, sign, point).
constexpr std::size_t number_room = 360;

// v rounded to `decimals` places and scaled to a whole number, when v is
// small enough for that to be exact in 64 bits (the figures of every record
// are): the same digits printf writes, ties to even on the exact binary value.
bool scaled_digits(double v, int decimals, std::uint64_t& digits) {
    static constexpr std::uint64_t powers[] = {1, 10, 100, 1000};
    if (decimals < 0 || decimals > 3) return false;
    // |v| = mantissa * 2^-shift exactly.
    const auto bits = std::bit_cast<std::uint64_t>(v);
    const auto biased = static_cast<int>((bits >> 52) & 0x7FF);
    std::uint64_t mantissa = bits & ((std::uint64_t{1} << 52) - 1);
    int shift = 1074;  // zero and the smallest numbers
    if (biased != 0) {
        mantissa |= std::uint64_t{1} << 52;
        shift = 1075 - biased;
    }
    if (shift < 0) return false;  // 2^53 and above, infinite or not a number
    const std::uint64_t scaled = mantissa * powers[decimals];  // below 2^63
    if (shift == 0) {
        digits = scaled;
        return true;
    }
    if (shift >= 64) {  // below half a unit of the last place
        digits = 0;
        return true;
    }
    const std::uint64_t whole = scaled >> shift;
    const std::uint64_t rest = scaled & ((std::uint64_t{1} << shift) - 1);
    const std::uint64_t half = std::uint64_t{1} << (shift - 1);
    digits = whole + ((rest > half || (rest == half && (whole & 1) != 0)) ? 1 : 0);
    return true;
}

// Writes "%.<decimals>f" into buf; the number of characters.
std::size_t write_decimal(char (&buf)[number_room], double v, int decimals) {
    std::uint64_t scaled = 0;
    if (scaled_digits(v, decimals, scaled)) {
        char digits[24];
        const auto n =
            static_cast<int>(std::to_chars(digits, digits + sizeof digits, scaled).ptr - digits);
        char* out = buf;
        if (std::signbit(v)) *out++ = '-';
        // At least one digit before the point.
        const int whole = n > decimals ? n - decimals : 0;
        if (whole > 0)
            out = std::copy(digits, digits + whole, out);
        else
            *out++ = '0';
        if (decimals > 0) {
            *out++ = '.';
            for (int i = n; i < decimals; ++i) *out++ = '0';
            out = std::copy(digits + whole, digits + n, out);
        }
        return static_cast<std::size_t>(out - buf);
    }
    const auto done = std::to_chars(buf, buf + number_room, v, std::chars_format::fixed, decimals);
    if (done.ec == std::errc()) return static_cast<std::size_t>(done.ptr - buf);
    // Only a number of decimals beyond anything the program writes gets here.
    const int n = std::snprintf(buf, number_room, "%.*f", decimals, v);
    return n < 0 ? 0 : std::min<std::size_t>(static_cast<std::size_t>(n), number_room - 1);
}

// Writes v as "%.<digits>d" does: at least `digits` digits, zero-padded,
// after the sign.
char* write_padded(char* out, int v, int digits) {
    const long long wide = v;
    const unsigned long long magnitude = wide < 0 ? 0ull - static_cast<unsigned long long>(wide)
                                                  : static_cast<unsigned long long>(wide);
    char text[24];
    const auto n = static_cast<int>(std::to_chars(text, text + sizeof text, magnitude).ptr - text);
    if (wide < 0) *out++ = '-';
    for (int i = n; i < digits; ++i) *out++ = '0';
    return std::copy(text, text + n, out);
}

std::size_t write_date(char* buf, std::uint16_t language, int year, int month, int day,
                       bool four_digit_year) {
    const int y = four_digit_year ? year : year % 100;
    const int y_digits = four_digit_year ? 4 : 2;
    const char separator = language == 1031 ? '.' : '/';
    int first = month, second = day, third = y;
    int third_digits = y_digits, first_digits = 2;
    switch (date_order_for(language)) {
        case date_order::day_month_year:
            first = day, second = month;
            break;
        case date_order::year_month_day:
            first = y, first_digits = y_digits, second = month, third = day, third_digits = 2;
            break;
        case date_order::month_day_year:
            break;
    }
    char* p = write_padded(buf, first, first_digits);
    *p++ = separator;
    p = write_padded(p, second, 2);
    *p++ = separator;
    p = write_padded(p, third, third_digits);
    return static_cast<std::size_t>(p - buf);
}

void append_ascii(std::u16string& out, const char* text, std::size_t n) {
    const std::size_t at = out.size();
    out.resize(at + n);
    for (std::size_t i = 0; i < n; ++i) out[at + i] = static_cast<char16_t>(text[i]);
}

}  // namespace

void append_decimal(std::string& out, double v, int decimals) {
    char buf[number_room];
    out.append(buf, write_decimal(buf, v, decimals));
}

void append_decimal(std::u16string& out, double v, int decimals) {
    char buf[number_room];
    append_ascii(out, buf, write_decimal(buf, v, decimals));
}

std::u16string decimal_text(double v, int decimals) {
    std::u16string out;
    append_decimal(out, v, decimals);
    return out;
}

void append_date(std::string& out, std::uint16_t language, int year, int month, int day,
                 bool four_digit_year) {
    char buf[80];
    out.append(buf, write_date(buf, language, year, month, day, four_digit_year));
}

void append_date(std::u16string& out, std::uint16_t language, int year, int month, int day,
                 bool four_digit_year) {
    char buf[80];
    append_ascii(out, buf, write_date(buf, language, year, month, day, four_digit_year));
}

}  // namespace kelvane
