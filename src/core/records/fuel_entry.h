#pragma once
// What the fuel purchase editor holds while the owner types: its boxes as
// text, and the rules that tie them together. Unit price, cost and quantity
// stay consistent as the owner types (price x quantity = cost), "Full Tank"
// fills the gauge with the tank's capacity, and a new fill-up starts from
// the price and fuel type of the one saved last. The editor's screen only
// moves texts between its boxes and this.

#include <optional>
#include <string>

#include "core/records/record_fields.h"
#include "core/stores/fuel_store.h"

namespace kelvane {

struct fuel_entry {
    // The three boxes that keep each other consistent.
    enum class box { unit_price, cost, quantity };

    std::u16string unit_price, cost, quantity, mileage, gauge, fuel_type, note;

    // A new fill-up: the mileage the vehicle has reached, and the price and
    // fuel type of the fill-up saved last (no price when there was none).
    static fuel_entry for_new(const fuel_header& account);
    // An existing fill-up, each number as the editor shows it.
    static fuel_entry of(const fuel_record& r);

    // After the owner changed `changed`: works out the box that follows from
    // the other two, stores its new text here and names it; nothing when a
    // box it needs is empty. Price or cost changed gives the quantity
    // (cost / price, "0.00" for a price of 0); quantity changed gives the cost.
    std::optional<box> recalculate(box changed);

    // The gauge text of a full tank.
    static std::u16string full_tank(const fuel_header& account);

    // Writes the typed values into the record (numbers as the shared parser
    // reads them, texts cut to what the record keeps) and the date; the
    // price and fuel type also become the account's last ones.
    void apply_to(fuel_record& r, fuel_header& account, const local_time& when) const;
};

// The note and fuel type lengths the fuel record keeps.
inline constexpr int fuel_note_length = 50;
inline constexpr int fuel_type_length = 30;

}  // namespace kelvane
