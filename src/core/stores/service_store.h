#pragma once
// The repair and maintenance jobs of the open vehicle account, file
// "<account>.mat". A maintenance job also carries the mileage of the next
// service; a plain repair does not.

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/stores/cost_record_store.h"
#include "core/stores/record_layout.h"

namespace kelvane {

using service_header = cost_file_header;  // total_cost: the sum of all repair costs

struct service_record : dated_record_prefix {
    double cost;
    double next_service_mileage;
    char16_t description[51];
    std::uint8_t repair_flag;  // 0 = maintenance with next service, else a repair
    std::uint8_t reserved2[105];
};
static_assert(sizeof(service_record) == 400);
KELVANE_FILE_LAYOUT_CHECKS_BEGIN
static_assert(offsetof(service_record, cost) == 176);
static_assert(offsetof(service_record, next_service_mileage) == 184);
static_assert(offsetof(service_record, description) == 192);
static_assert(offsetof(service_record, repair_flag) == 294);
static_assert(offsetof(service_record, reserved2) == 295);
KELVANE_FILE_LAYOUT_CHECKS_END

class service_store : public cost_record_store<service_store, service_record> {
public:
    static constexpr std::u16string_view extension = u".mat";
    static constexpr bool rewrites_previous = false;
    static std::u16string_view record_label(const service_record& r) {
        return fixed_view(r.description);
    }

    // 0 = kilometres to miles, 1 = miles to kilometres; mileage and next
    // service mileage of every record, memory only.
    void convert_mileage(int direction);
};

}  // namespace kelvane
