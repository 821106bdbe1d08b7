#include "core/common/date_text.h"

#include "core/common/number_text.h"
#include "platform/services.h"

namespace kelvane {

date_order date_order_for(std::uint16_t language) {
    if (language == 9 || language == 12 || language == 1031) return date_order::day_month_year;
    if (language == 2052) return date_order::year_month_day;
    return date_order::month_day_year;
}

std::u16string short_date_text(std::uint16_t language, int year, int month, int day) {
    std::u16string out;
    append_date(out, language, year, month, day, false);
    return out;
}

std::u16string long_date_text(std::uint16_t language, int year, int month, int day) {
    std::u16string out;
    append_date(out, language, year, month, day, true);
    return out;
}

std::u16string short_date_text(int year, int month, int day) {
    return short_date_text(device().language_id(), year, month, day);
}

std::u16string long_date_text(int year, int month, int day) {
    return long_date_text(device().language_id(), year, month, day);
}

}  // namespace kelvane
