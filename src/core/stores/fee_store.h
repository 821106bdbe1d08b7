#pragma once
// The fees of the open vehicle account (parking, tolls, insurance and the
// like, each with a free-text category), file "<account>.fee".

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/stores/cost_record_store.h"

namespace kelvane {

struct fee_header {
    char16_t magic[5];
    std::uint8_t reserved1[12];
    std::uint16_t format_version;
    char16_t account_name[129];
    char16_t save_folder[603];
    std::int32_t next_record_number;
    std::int32_t reserved2;
    double total_fees_cost;
    std::uint8_t reserved3[104];
};
static_assert(sizeof(fee_header) == 1608);
static_assert(offsetof(fee_header, magic) == 0);
static_assert(offsetof(fee_header, format_version) == 22);
static_assert(offsetof(fee_header, account_name) == 24);
static_assert(offsetof(fee_header, save_folder) == 282);
static_assert(offsetof(fee_header, next_record_number) == 1488);
static_assert(offsetof(fee_header, reserved2) == 1492);
static_assert(offsetof(fee_header, total_fees_cost) == 1496);
static_assert(offsetof(fee_header, reserved3) == 1504);

struct fee_record {
    char16_t tag[6];
    std::int32_t record_number;
    char16_t key[62];
    std::int32_t year, month, day, hour, minute, second;
    std::int32_t reserved1;
    double mileage;
    double cost;
    char16_t category[31];
    char16_t description[101];
};
static_assert(sizeof(fee_record) == 448);
static_assert(offsetof(fee_record, tag) == 0);
static_assert(offsetof(fee_record, record_number) == 12);
static_assert(offsetof(fee_record, key) == 16);
static_assert(offsetof(fee_record, year) == 140);
static_assert(offsetof(fee_record, month) == 144);
static_assert(offsetof(fee_record, day) == 148);
static_assert(offsetof(fee_record, hour) == 152);
static_assert(offsetof(fee_record, minute) == 156);
static_assert(offsetof(fee_record, second) == 160);
static_assert(offsetof(fee_record, mileage) == 168);
static_assert(offsetof(fee_record, cost) == 176);
static_assert(offsetof(fee_record, category) == 184);
static_assert(offsetof(fee_record, description) == 246);

class fee_store : public cost_record_store<fee_store, fee_header, fee_record> {
public:
    static constexpr std::u16string_view extension = u".fee";
    static constexpr bool rewrites_previous = false;
    static double& total(fee_header& h) { return h.total_fees_cost; }
    static std::u16string chart_note(const fee_record& r) { return fixed_text(r.category); }

    // Mileage, category, cost and short date of the record at a position (0 = oldest).
    std::array<std::u16string, 4> fee_row_texts(int index) const;
    // 0 = kilometres to miles, 1 = miles to kilometres; mileage of every
    // record, memory only.
    void convert_mileage(int direction);
    std::u16string export_line(const record_type& r) const;
};

}  // namespace kelvane
