#pragma once
// Dates as text, ordered by the device's language identifier: day first for
// 9, 12 (with '/') and 1031 (with '.'), year first for 2052, month first else.

#include <cstdint>
#include <string>

namespace kelvane {

// Short style, two-digit year: 03/05/07 for 5 March 2007 with 1033.
std::u16string short_date_text(int year, int month, int day);
// Long style, four-digit year: 03/05/2007 for 5 March 2007 with 1033.
std::u16string long_date_text(int year, int month, int day);

// The same for an explicit language identifier.
std::u16string short_date_text(std::uint16_t language, int year, int month, int day);
std::u16string long_date_text(std::uint16_t language, int year, int month, int day);

enum class date_order { day_month_year, year_month_day, month_day_year };
date_order date_order_for(std::uint16_t language);

}  // namespace kelvane
