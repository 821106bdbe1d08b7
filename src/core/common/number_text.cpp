#include "core/common/number_text.h"

#include <algorithm>
#include <array>
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

// The number of decimal digits of v (1 for 0), without dividing.
int digit_count(std::uint64_t v) {
    static constexpr std::uint64_t powers[] = {1,
                                               10,
                                               100,
                                               1000,
                                               10000,
                                               100000,
                                               1000000,
                                               10000000,
                                               100000000,
                                               1000000000,
                                               10000000000,
                                               100000000000,
                                               1000000000000,
                                               10000000000000,
                                               100000000000000,
                                               1000000000000000,
                                               10000000000000000,
                                               100000000000000000,
                                               1000000000000000000,
                                               10000000000000000000u};
    // log10(2) is about 1233 / 4096: the guess is the count or one below it.
    const int guess = (std::bit_width(v) * 1233) >> 12;
    return std::max(guess + (v >= powers[guess] ? 1 : 0), 1);
}

// "00" to "99", two digits at a time.
constexpr auto digit_pairs = [] {
    std::array<char, 200> pairs{};
    for (int i = 0; i < 100; ++i) {
        pairs[static_cast<std::size_t>(2 * i)] = static_cast<char>('0' + i / 10);
        pairs[static_cast<std::size_t>(2 * i + 1)] = static_cast<char>('0' + i % 10);
    }
    return pairs;
}();

// Writes the last `count` decimal digits of v, the last one at end - 1; the
// rest of v. Digits go straight into place: a copy of a few characters
// through the library costs more than writing them.
template <class C>
[[gnu::always_inline]] inline std::uint64_t write_digits_before(C* end, std::uint64_t v,
                                                                int count) {
    for (; count >= 2; count -= 2) {
        const auto pair = static_cast<std::size_t>(v % 100) * 2;
        v /= 100;
        *--end = static_cast<C>(digit_pairs[pair + 1]);
        *--end = static_cast<C>(digit_pairs[pair]);
    }
    if (count > 0) {
        *--end = static_cast<C>('0' + v % 10);
        v /= 10;
    }
    return v;
}

// The longest text write_scaled_decimal writes: a sign, 20 digits, a point
// and a zero before it.
constexpr std::size_t scaled_room = 24;

// Writes "%.<decimals>f" when v's digits fit in 64 bits (the figures of every
// record do); the number of characters, or 0 when they do not.
template <class C>
std::size_t write_scaled_decimal(C* buf, double v, int decimals) {
    std::uint64_t scaled = 0;
    if (!scaled_digits(v, decimals, scaled)) return 0;
    C* out = buf;
    if (std::signbit(v)) *out++ = C('-');
    // At least one digit before the point.
    const int whole = std::max(digit_count(scaled) - decimals, 1);
    C* const end = out + whole + (decimals > 0 ? decimals + 1 : 0);
    const std::uint64_t rest = write_digits_before(end, scaled, decimals);
    if (decimals > 0) end[-decimals - 1] = C('.');
    (void)write_digits_before(out + whole, rest, whole);
    return static_cast<std::size_t>(end - buf);
}

// Writes "%.<decimals>f" into buf; the number of characters.
std::size_t write_decimal(char (&buf)[number_room], double v, int decimals) {
    if (const std::size_t n = write_scaled_decimal(buf, v, decimals)) return n;
    const auto done = std::to_chars(buf, buf + number_room, v, std::chars_format::fixed, decimals);
    if (done.ec == std::errc()) return static_cast<std::size_t>(done.ptr - buf);
    // Only a number of decimals beyond anything the program writes gets here.
    const int n = std::snprintf(buf, number_room, "%.*f", decimals, v);
    return n < 0 ? 0 : std::min<std::size_t>(static_cast<std::size_t>(n), number_room - 1);
}

// Writes v as "%.<digits>d" does: at least `digits` digits, zero-padded,
// after the sign.
template <class C>
C* write_padded(C* out, int v, int digits) {
    const long long wide = v;
    const unsigned long long magnitude = wide < 0 ? 0ull - static_cast<unsigned long long>(wide)
                                                  : static_cast<unsigned long long>(wide);
    if (wide < 0) *out++ = C('-');
    if (magnitude < 100 && digits == 2) {  // the parts of a date
        out[0] = static_cast<C>(digit_pairs[2 * magnitude]);
        out[1] = static_cast<C>(digit_pairs[2 * magnitude + 1]);
        return out + 2;
    }
    const int n = std::max(digit_count(magnitude), digits);
    (void)write_digits_before(out + n, magnitude, n);
    return out + n;
}

// The longest date write_date writes: three numbers of an int with their
// signs, and two separators.
constexpr std::size_t date_room = 40;

template <class C>
std::size_t write_date(C* buf, std::uint16_t language, int year, int month, int day,
                       bool four_digit_year) {
    const int y = four_digit_year ? year : year % 100;
    const int y_digits = four_digit_year ? 4 : 2;
    const C separator = language == 1031 ? C('.') : C('/');
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
    C* p = write_padded(buf, first, first_digits);
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
    // Written straight into the text, as the figures of a long chart are.
    const std::size_t at = out.size();
    out.resize(at + scaled_room);
    if (const std::size_t n = write_scaled_decimal(out.data() + at, v, decimals)) {
        out.resize(at + n);
        return;
    }
    out.resize(at);
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
    char buf[date_room];
    out.append(buf, write_date(buf, language, year, month, day, four_digit_year));
}

void append_date(std::u16string& out, std::uint16_t language, int year, int month, int day,
                 bool four_digit_year) {
    const std::size_t at = out.size();
    out.resize(at + date_room);
    out.resize(at + write_date(out.data() + at, language, year, month, day, four_digit_year));
}

}  // namespace kelvane
