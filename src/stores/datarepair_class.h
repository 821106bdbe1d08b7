#pragma once
// The fees of the open vehicle account (parking, tolls, insurance and the
// like, each with a free-text category), file "<account>.fee".

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "stores/cost_record_store.h"

namespace kelvane {

struct fees_header {
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
static_assert(sizeof(fees_header) == 1608);
static_assert(offsetof(fees_header, magic) == 0);
static_assert(offsetof(fees_header, format_version) == 22);
static_assert(offsetof(fees_header, account_name) == 24);
static_assert(offsetof(fees_header, save_folder) == 282);
static_assert(offsetof(fees_header, next_record_number) == 1488);
static_assert(offsetof(fees_header, reserved2) == 1492);
static_assert(offsetof(fees_header, total_fees_cost) == 1496);
static_assert(offsetof(fees_header, reserved3) == 1504);

struct fees_record {
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
static_assert(sizeof(fees_record) == 448);
static_assert(offsetof(fees_record, tag) == 0);
static_assert(offsetof(fees_record, record_number) == 12);
static_assert(offsetof(fees_record, key) == 16);
static_assert(offsetof(fees_record, year) == 140);
static_assert(offsetof(fees_record, month) == 144);
static_assert(offsetof(fees_record, day) == 148);
static_assert(offsetof(fees_record, hour) == 152);
static_assert(offsetof(fees_record, minute) == 156);
static_assert(offsetof(fees_record, second) == 160);
static_assert(offsetof(fees_record, mileage) == 168);
static_assert(offsetof(fees_record, cost) == 176);
static_assert(offsetof(fees_record, category) == 184);
static_assert(offsetof(fees_record, description) == 246);

class datarepair_class : public cost_record_store<datarepair_class, fees_header, fees_record> {
public:
    static constexpr std::u16string_view extension = u".fee";
    static constexpr bool rewrites_previous = false;
    static bool& changed_flag();
    static double& total(fees_header& h) { return h.total_fees_cost; }
    static std::u16string chart_note(const fees_record& r) { return fixed_text(r.category); }

    // Mileage, category, cost and short date of the record at a position (0 = oldest).
    std::array<std::u16string, 4> fees_row_texts(int index) const;
    // 0 = kilometres to miles, 1 = miles to kilometres; mileage of every
    // record, memory only.
    void convert_mileage(int direction);
    std::u16string export_line(const dw_struct& r) const;
};

}  // namespace kelvane
