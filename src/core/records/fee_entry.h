#pragma once
// What the fees editor holds while the owner types. The category is free
// text; the editor offers the presets below (shown in the active language,
// and stored as shown).

#include <array>
#include <string>
#include <string_view>

#include "core/records/record_fields.h"
#include "core/stores/fee_store.h"

namespace kelvane {

inline constexpr int fee_category_length = 30;
inline constexpr int fee_description_length = 50;

// The category choices, in the order the editor lists them (English keys).
inline constexpr std::array<std::u16string_view, 10> fee_category_presets = {
    u"Parking",   u"Bridge Toll",          u"Highway Toll",       u"Road Tax",   u"Congestion Fee",
    u"Insurance", u"Vehicle Registration", u"Vehicle Inspection", u"Smog Check", u"Other"};

struct fee_entry {
    std::u16string mileage, cost, category, description;

    // A new fee at the mileage the vehicle has reached (the editor offers
    // the first preset as its category).
    static fee_entry for_new(double current_mileage);
    static fee_entry of(const fee_record& r);

    void apply_to(fee_record& r, const local_time& when) const;
};

}  // namespace kelvane
