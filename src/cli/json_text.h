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

}  // namespace kelvane
