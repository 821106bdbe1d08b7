#include "core/common/date_text.h"

#include "core/common/text.h"
#include "platform/services.h"

namespace kelvane {

date_order date_order_for(std::uint16_t language) {
    if (language == 9 || language == 12 || language == 1031) return date_order::day_month_year;
    if (language == 2052) return date_order::year_month_day;
    return date_order::month_day_year;
}

std::u16string short_date_text(std::uint16_t language, int year, int month, int day) {
    const int yy = year % 100;
    if (language == 1031) return format("%.2d.%.2d.%.2d", day, month, yy);
    switch (date_order_for(language)) {
        case date_order::day_month_year:
            return format("%.2d/%.2d/%.2d", day, month, yy);
        case date_order::year_month_day:
            return format("%.2d/%.2d/%.2d", yy, month, day);
        default:
            return format("%.2d/%.2d/%.2d", month, day, yy);
    }
}

std::u16string long_date_text(std::uint16_t language, int year, int month, int day) {
    if (language == 1031) return format("%.2d.%.2d.%.4d", day, month, year);
    switch (date_order_for(language)) {
        case date_order::day_month_year:
            return format("%.2d/%.2d/%.4d", day, month, year);
        case date_order::year_month_day:
            return format("%.4d/%.2d/%.2d", year, month, day);
        default:
            return format("%.2d/%.2d/%.4d", month, day, year);
    }
}

std::u16string short_date_text(int year, int month, int day) {
    return short_date_text(device().language_id(), year, month, day);
}

std::u16string long_date_text(int year, int month, int day) {
    return long_date_text(device().language_id(), year, month, day);
}

}  // namespace kelvane
