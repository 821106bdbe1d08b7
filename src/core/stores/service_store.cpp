#include "core/stores/service_store.h"

#include "core/common/unit_factors.h"

namespace kelvane {

void service_store::convert_mileage(int direction) {
    const double factor = mileage_factor(direction);
    if (factor == 0) return;
    for (service_record& r : records_) {
        r.mileage *= factor;
        r.next_service_mileage *= factor;
    }
}

}  // namespace kelvane
