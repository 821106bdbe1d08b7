#include "core/stores/fee_store.h"

#include "core/common/unit_factors.h"

namespace kelvane {

void fee_store::convert_mileage(int direction) {
    const double factor = mileage_factor(direction);
    if (factor == 0) return;
    for (fee_record& r : records_) r.mileage *= factor;
}

}  // namespace kelvane
