#include "core/stores/service_store.h"

#include "core/common/date_text.h"
#include "core/common/translate.h"
#include "core/common/unit_factors.h"

namespace kelvane {

std::array<std::u16string, 4> service_store::service_row_texts(int index) const {
    const service_record& r = record_at(index);
    return {format(" %.f", r.mileage), fixed_text(r.description), format("%.2f", r.cost),
            short_date_text(r.year, r.month, r.day)};
}

void service_store::convert_mileage(int direction) {
    if (direction != 0 && direction != 1) return;
    const double factor = direction == 0 ? km_to_miles : miles_to_km;
    for (service_record& r : records_) {
        r.mileage *= factor;
        r.next_service_mileage *= factor;
    }
}

std::u16string service_store::export_line(const service_record& r) const {
    std::u16string line = u"\"" + long_date_text(r.year, r.month, r.day);
    line += u"\",\"" + format("%1.f", r.mileage);
    line += u"\",\"" + csv_cell_text(tr(r.repair_flag != 0 ? u"Repair" : u"Maintenance"));
    line += u"\",\"" + csv_cell_text(fixed_text(r.description));
    line += u"\",\"" + format("%.2f", r.cost);
    line += u"\",\"\",\"\",\"\",\"\",\"\",\"" + format("%.1f", r.next_service_mileage);
    line += u"\"\r\n";
    return line;
}

}  // namespace kelvane
