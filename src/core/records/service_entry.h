#pragma once
// What the repair and maintenance editor holds while the owner types. A job
// starts as a plain repair; marking it as maintenance adds the mileage of
// the next service, and a maintenance job stays one.

#include <string>

#include "core/records/record_fields.h"
#include "core/stores/service_store.h"

namespace kelvane {

inline constexpr int service_description_length = 50;

struct service_entry {
    std::u16string mileage, cost, next_service, description;
    bool maintenance = false;

    // A new job: a repair at the mileage the vehicle has reached, which is
    // also where the next service box starts.
    static service_entry for_new(double current_mileage);
    static service_entry of(const service_record& r);

    // Writes the typed values and the date into the record. Only a
    // maintenance job takes the next service mileage; a repair keeps what
    // the record held (nothing, for a new one), since it has no next service.
    void apply_to(service_record& r, const local_time& when) const;
};

}  // namespace kelvane
