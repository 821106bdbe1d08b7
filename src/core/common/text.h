#pragma once
// Helpers for the device's 16-bit texts: fixed-size zero-terminated fields of
// the binary files, printf-style number formatting, comparisons.

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/text_encoding.h"

namespace kelvane {

// How many of the text's first n units (or all, when it is shorter) can be
// kept without splitting a character written as two units (a surrogate
// pair, as most emoji are): a half character kept alone would be stored and
// shown as garbage.
std::size_t whole_units(std::u16string_view text, std::size_t n);

// Copies text into a fixed field: cut to N-1 units (never inside a
// character), terminated, zero-filled.
template <std::size_t N>
void set_fixed(char16_t (&field)[N], std::u16string_view text) {
    const std::size_t n = whole_units(text, N - 1);
    for (std::size_t i = 0; i < n; ++i) field[i] = text[i];
    for (std::size_t i = n; i < N; ++i) field[i] = 0;
}

// The text of a fixed field up to its first zero unit (or the whole field).
template <std::size_t N>
std::u16string fixed_text(const char16_t (&field)[N]) {
    std::size_t n = 0;
    while (n < N && field[n] != 0) ++n;
    return std::u16string(field, n);
}

// The same without a copy: a view into the field.
template <std::size_t N>
std::u16string_view fixed_view(const char16_t (&field)[N]) {
    std::size_t n = 0;
    while (n < N && field[n] != 0) ++n;
    return std::u16string_view(field, n);
}

// printf-style formatting of numbers into a 16-bit text; the format is ASCII
// and must not contain %s (concatenate texts instead).
std::u16string format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

// Cuts a text to at most n units, never inside a character.
inline std::u16string cut(std::u16string_view text, std::size_t n) {
    return std::u16string(text.substr(0, whole_units(text, n)));
}

// The lower-case form of a letter, for the letters whose cases the file
// systems that hold the data (the handheld's, Windows', macOS') treat as one:
// ASCII, Latin-1, Latin Extended-A, Greek and Cyrillic. Other units stay.
char16_t fold_case(char16_t c);
// True when two names are the same file name on such a file system.
bool same_name_ignoring_case(std::u16string_view a, std::u16string_view b);
// The same comparison for the start or the end of a name (an extension).
bool starts_with_ignoring_case(std::u16string_view text, std::u16string_view start);
bool ends_with_ignoring_case(std::u16string_view text, std::u16string_view end);

// True for a number, a mileage, a date or a time as the program writes them:
// digits with separators (". , - / : %" and blanks) and nothing else. Such a
// text is read whole or not at all, never cut to "...".
bool reads_as_figure(std::u16string_view text);

// Joins texts with a separator.
std::u16string join(const std::u16string* first, const std::u16string* last,
                    std::u16string_view separator);

}  // namespace kelvane
