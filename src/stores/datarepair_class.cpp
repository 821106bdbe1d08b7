#include "stores/datarepair_class.h"

#include "accounts/date_text.h"
#include "accounts/unit_factors.h"
#include "common/translate.h"
#include "stores/changed_flags.h"

namespace kelvane {

bool& datarepair_class::changed_flag() {
    return fees_changed;
}

std::array<std::u16string, 4> datarepair_class::fees_row_texts(int index) const {
    const fees_record& r = record_at(index);
    return {format(" %.f", r.mileage), fixed_text(r.category), format("%.2f", r.cost),
            short_date_text(r.year, r.month, r.day)};
}

void datarepair_class::convert_mileage(int direction) {
    if (direction != 0 && direction != 1) return;
    const double factor = direction == 0 ? km_to_miles : miles_to_km;
    for (fees_record& r : records_) r.mileage *= factor;
}

std::u16string datarepair_class::export_line(const fees_record& r) const {
    std::u16string line = u"\"" + long_date_text(r.year, r.month, r.day);
    line += u"\",\"" + format("%.1f", r.mileage);
    line += u"\",\"" + csv_cell_text(tr(u"Fees"));
    line += u"\",\"" + csv_cell_text(fixed_text(r.description));
    line += u"\",\"" + format("%.2f", r.cost);
    line += u"\",\"\",\"\",\"\",\"\",\"" + csv_cell_text(fixed_text(r.category));
    line += u"\",\"\"\r\n";
    return line;
}

}  // namespace kelvane
