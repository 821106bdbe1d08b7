#pragma once
#include <string_view>

namespace kelvane {

// The shared number parser of every editor, the calculator and the import:
// an optional leading '-', then only digits and at most one '.'; anything
// else makes the whole value 0. "12." is 12, ".5" is 0.5, "1,5", "+1", " 1"
// and "1e3" are 0. The integer part is built by repeated multiplication by
// 10.0 and the fraction by repeated multiplication by 0.1, so results match
// the device to the last bit.
double parse_number(std::u16string_view text);

// True when a box's text reads as a number: empty (which reads as 0), or an
// optional leading '-' and at least one digit with at most one '.'. Any
// other text would read as 0 as well, but it is what the owner typed wrong,
// not a 0 he meant, so editors refuse it instead of storing 0.
bool is_number_text(std::u16string_view text);

}  // namespace kelvane
