#include "core/records/fuel_entry.h"

#include "core/common/parse_number.h"
#include "core/common/text.h"

namespace kelvane {

fuel_entry fuel_entry::for_new(const fuel_header& account) {
    fuel_entry e;
    e.mileage = format("%.1f", account.current_mileage);
    e.fuel_type = fixed_text(account.last_fuel_type);
    if (account.last_unit_price != 0) e.unit_price = format("%.3f", account.last_unit_price);
    return e;
}

fuel_entry fuel_entry::of(const fuel_record& r) {
    fuel_entry e;
    e.gauge = format("%.2f", r.fuel_gauge);
    e.quantity = format("%.2f", r.fuel_purchased);
    e.mileage = format("%.1f", r.mileage);
    e.cost = format("%.2f", r.fuel_cost);
    e.unit_price = format("%.3f", r.unit_price);
    e.fuel_type = fixed_text(r.fuel_type);
    e.note = fixed_text(r.note);
    return e;
}

std::optional<fuel_entry::box> fuel_entry::recalculate(box changed) {
    if (unit_price.empty()) return std::nullopt;
    const double price = parse_number(unit_price);
    if (changed == box::quantity) {
        if (quantity.empty()) return std::nullopt;
        cost = format("%.2f", price * parse_number(quantity));
        return box::cost;
    }
    if (cost.empty()) return std::nullopt;
    quantity = price == 0 ? std::u16string(u"0.00") : format("%.2f", parse_number(cost) / price);
    return box::quantity;
}

std::u16string fuel_entry::full_tank(const fuel_header& account) {
    return format("%.2f", account.tank_capacity);
}

void fuel_entry::apply_to(fuel_record& r, fuel_header& account, const local_time& when) const {
    r.mileage = parse_number(mileage);
    r.fuel_gauge = parse_number(gauge);
    r.fuel_cost = parse_number(cost);
    r.fuel_purchased = parse_number(quantity);
    r.unit_price = parse_number(unit_price);
    account.last_unit_price = r.unit_price;
    const std::u16string type = cut_text(fuel_type, fuel_type_length);
    set_fixed(r.fuel_type, type);
    set_fixed(account.last_fuel_type, type);
    set_fixed(r.note, cut_text(note, fuel_note_length));
    set_record_date(r, when);
}

}  // namespace kelvane
