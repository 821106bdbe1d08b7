#pragma once
// The few pieces of JSON the tool writes: quoted texts and numbers that read
// back to the same double.

#include <string>
#include <string_view>

namespace kelvane {

// A JSON string literal (with the quotes) of a 16-bit text, as UTF-8.
std::string json_string(std::u16string_view text);
// The shortest decimal that reads back as the same double; null for values
// JSON cannot carry (infinities, NaN).
std::string json_number(double value);
// A figure rounded to a number of decimals, as the screens show it: amounts
// to the cent, prices to 3 decimals, without the tail of a binary fraction
// (1.759, not 1.7590000000000001; 18393.05, not 18393.049999999996); null as
// json_number.
std::string json_fixed(double value, int decimals);

}  // namespace kelvane
