#include "core/records/fee_entry.h"

#include "core/common/parse_number.h"
#include "core/common/text.h"

namespace kelvane {

fee_entry fee_entry::for_new(double current_mileage) {
    fee_entry e;
    e.mileage = format("%.1f", current_mileage);
    return e;
}

fee_entry fee_entry::of(const fee_record& r) {
    fee_entry e;
    e.mileage = format("%.1f", r.mileage);
    e.cost = format("%.2f", r.cost);
    e.category = fixed_text(r.category);
    e.description = fixed_text(r.description);
    return e;
}

void fee_entry::apply_to(fee_record& r, const local_time& when) const {
    r.mileage = parse_number(mileage);
    r.cost = parse_number(cost);
    set_fixed(r.category, cut_text(category, fee_category_length));
    set_fixed(r.description, cut_text(description, fee_description_length));
    set_record_date(r, when);
}

}  // namespace kelvane
