#include "core/records/service_entry.h"

#include "core/common/parse_number.h"
#include "core/common/text.h"

namespace kelvane {

service_entry service_entry::for_new(double current_mileage) {
    service_entry e;
    e.mileage = e.next_service = format("%.1f", current_mileage);
    return e;
}

service_entry service_entry::of(const service_record& r) {
    service_entry e;
    e.mileage = format("%.1f", r.mileage);
    e.cost = format("%.2f", r.cost);
    e.next_service = format("%.1f", r.next_service_mileage);
    e.description = fixed_text(r.description);
    e.maintenance = r.repair_flag == 0;
    return e;
}

void service_entry::apply_to(service_record& r, const local_time& when) const {
    r.mileage = parse_number(mileage);
    r.cost = parse_number(cost);
    if (maintenance) r.next_service_mileage = parse_number(next_service);
    r.repair_flag = maintenance ? 0 : 1;
    set_fixed(r.description, cut_text(description, service_description_length));
    set_record_date(r, when);
}

}  // namespace kelvane
