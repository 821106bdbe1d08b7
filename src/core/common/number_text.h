#pragma once
// Numbers and dates written as the device writes them in its lists, charts
// and export files ("%.2f", "%.2d/%.2d/%.2d" and the like), without going
// through printf: a report or an export of a long account writes several of
// them per record, and each printf call costs more than the rest of the
// record's work. The texts are the same character for character, rounding
// included (ties to even, as printf rounds the exact binary value).

#include <cstdint>
#include <string>

namespace kelvane {

// Appends v with `decimals` digits after the point, as "%.<decimals>f" writes it.
void append_decimal(std::string& out, double v, int decimals);
void append_decimal(std::u16string& out, double v, int decimals);
std::u16string decimal_text(double v, int decimals);

// Appends a date in the order and with the separator of the language: the
// short style with a two-digit year, the long style with a four-digit year.
void append_date(std::string& out, std::uint16_t language, int year, int month, int day,
                 bool four_digit_year);
void append_date(std::u16string& out, std::uint16_t language, int year, int month, int day,
                 bool four_digit_year);

}  // namespace kelvane
