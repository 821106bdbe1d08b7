#include "core/common/number_text.h"

#include <algorithm>
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
    const double magnitude = std::fabs(v);
    if (!(magnitude < 0x1p53)) return false;  // too large, infinite or not a number
    // magnitude = mantissa * 2^-shift exactly, mantissa below 2^53.
    int exponent = 0;
    const double fraction = std::frexp(magnitude, &exponent);
    const auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
    const int shift = 53 - exponent;
    const std::uint64_t scaled = mantissa * powers[decimals];  // below 2^63
    if (shift <= 0) {
        digits = scaled << -shift;
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
    std::uint64_t digits = 0;
    if (scaled_digits(v, decimals, digits)) {
        char reversed[24];
        int n = 0;
        do {
            reversed[n++] = static_cast<char>('0' + digits % 10);
            digits /= 10;
        } while (digits != 0);
        while (n <= decimals) reversed[n++] = '0';
        char* out = buf;
        if (std::signbit(v)) *out++ = '-';
        while (n > decimals) *out++ = reversed[--n];
        if (decimals > 0) *out++ = '.';
        while (n > 0) *out++ = reversed[--n];
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
    unsigned long long magnitude = wide < 0 ? 0ull - static_cast<unsigned long long>(wide)
                                            : static_cast<unsigned long long>(wide);
    char reversed[24];
    int n = 0;
    do {
        reversed[n++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude);
    while (n < digits) reversed[n++] = '0';
    if (wide < 0) *out++ = '-';
    while (n) *out++ = reversed[--n];
    return out;
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
