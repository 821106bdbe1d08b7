#pragma once
// The repair and maintenance jobs of the open vehicle account, file
// "<account>.mat". A maintenance job also carries the mileage of the next
// service; a plain repair does not.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/stores/cost_record_store.h"

namespace kelvane {

struct service_header {
    char16_t magic[5];
    std::uint8_t reserved1[12];
    std::uint16_t format_version;
    char16_t account_name[129];
    char16_t save_folder[603];
    std::int32_t next_record_number;
    std::int32_t reserved2;
    double total_repair_cost;
    std::uint8_t reserved3[104];
};
static_assert(sizeof(service_header) == 1608);
static_assert(offsetof(service_header, magic) == 0);
static_assert(offsetof(service_header, format_version) == 22);
static_assert(offsetof(service_header, account_name) == 24);
static_assert(offsetof(service_header, save_folder) == 282);
static_assert(offsetof(service_header, next_record_number) == 1488);
static_assert(offsetof(service_header, reserved2) == 1492);
static_assert(offsetof(service_header, total_repair_cost) == 1496);
static_assert(offsetof(service_header, reserved3) == 1504);

struct service_record {
    char16_t tag[6];
    std::int32_t record_number;
    char16_t key[62];
    std::int32_t year, month, day, hour, minute, second;
    std::int32_t reserved1;
    double mileage;
    double cost;
    double next_service_mileage;
    char16_t description[51];
    std::uint8_t repair_flag;  // 0 = maintenance with next service, else a repair
    std::uint8_t reserved2[105];
};
static_assert(sizeof(service_record) == 400);
static_assert(offsetof(service_record, tag) == 0);
static_assert(offsetof(service_record, record_number) == 12);
static_assert(offsetof(service_record, key) == 16);
static_assert(offsetof(service_record, year) == 140);
static_assert(offsetof(service_record, month) == 144);
static_assert(offsetof(service_record, day) == 148);
static_assert(offsetof(service_record, hour) == 152);
static_assert(offsetof(service_record, minute) == 156);
static_assert(offsetof(service_record, second) == 160);
static_assert(offsetof(service_record, mileage) == 168);
static_assert(offsetof(service_record, cost) == 176);
static_assert(offsetof(service_record, next_service_mileage) == 184);
static_assert(offsetof(service_record, description) == 192);
static_assert(offsetof(service_record, repair_flag) == 294);
static_assert(offsetof(service_record, reserved2) == 295);

class service_store : public cost_record_store<service_store, service_header, service_record> {
public:
    static constexpr std::u16string_view extension = u".mat";
    static constexpr bool rewrites_previous = false;
    static double& total(service_header& h) { return h.total_repair_cost; }
    static std::u16string chart_note(const service_record& r) { return fixed_text(r.description); }

    // Mileage, description, cost and short date of the record at a position (0 = oldest).
    std::array<std::u16string, 4> service_row_texts(int index) const;
    // 0 = kilometres to miles, 1 = miles to kilometres; mileage and next
    // service mileage of every record, memory only.
    void convert_mileage(int direction);
    std::u16string export_line(const record_type& r) const;
};

}  // namespace kelvane
