#include "stores/datamaint_class.h"

#include "accounts/date_text.h"
#include "accounts/unit_factors.h"
#include "common/translate.h"
#include "stores/changed_flags.h"

namespace kelvane {

bool& datamaint_class::changed_flag() {
    return maintenance_changed;
}

std::array<std::u16string, 4> datamaint_class::maintenance_row_texts(int index) const {
    const maintenance_record& r = record_at(index);
    return {format(" %.f", r.mileage), fixed_text(r.description), format("%.2f", r.cost),
            short_date_text(r.year, r.month, r.day)};
}

void datamaint_class::convert_mileage(int direction) {
    if (direction != 0 && direction != 1) return;
    const double factor = direction == 0 ? km_to_miles : miles_to_km;
    for (maintenance_record& r : records_) {
        r.mileage *= factor;
        r.next_service_mileage *= factor;
    }
}

std::u16string datamaint_class::export_line(const maintenance_record& r) const {
    std::u16string line = u"\"" + long_date_text(r.year, r.month, r.day);
    line += u"\",\"" + format("%1.f", r.mileage);
    line += u"\",\"" + csv_cell_text(tr(r.maintenance_flag != 0 ? u"Repair" : u"Maintenance"));
    line += u"\",\"" + csv_cell_text(fixed_text(r.description));
    line += u"\",\"" + format("%.2f", r.cost);
    line += u"\",\"\",\"\",\"\",\"\",\"\",\"" + format("%.1f", r.next_service_mileage);
    line += u"\"\r\n";
    return line;
}

}  // namespace kelvane
