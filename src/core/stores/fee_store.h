#pragma once
// The fees of the open vehicle account (parking, tolls, insurance and the
// like, each with a free-text category), file "<account>.fee".

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/stores/cost_record_store.h"
#include "core/stores/record_layout.h"

namespace kelvane {

using fee_header = cost_file_header;  // total_cost: the sum of all fees

struct fee_record : dated_record_prefix {
    double cost;
    char16_t category[31];
    char16_t description[101];
};
static_assert(sizeof(fee_record) == 448);
KELVANE_FILE_LAYOUT_CHECKS_BEGIN
static_assert(offsetof(fee_record, cost) == 176);
static_assert(offsetof(fee_record, category) == 184);
static_assert(offsetof(fee_record, description) == 246);
KELVANE_FILE_LAYOUT_CHECKS_END

class fee_store : public cost_record_store<fee_store, fee_record> {
public:
    static constexpr std::u16string_view extension = u".fee";
    static constexpr bool rewrites_previous = false;
    static std::u16string_view record_label(const fee_record& r) { return fixed_view(r.category); }

    // 0 = kilometres to miles, 1 = miles to kilometres; mileage of every
    // record, memory only.
    void convert_mileage(int direction);
};

}  // namespace kelvane
