#pragma once
// The parts every record file shares, byte for byte. A store's header and
// record extend these by inheritance, so that the engine and every screen
// reach the shared fields by the same names in all four stores.
//
// A struct that adds fields to a base with fields is not "standard layout"
// to the compiler, and offsetof on it is only conditionally supported. GCC
// and Clang lay such a struct out exactly like the flat one (base first,
// then the new fields), and the static_asserts of each store pin every
// offset, so the stores silence that warning around their asserts with
// KELVANE_FILE_LAYOUT_CHECKS_BEGIN / _END.

#include <cstddef>
#include <cstdint>

#define KELVANE_FILE_LAYOUT_CHECKS_BEGIN \
    _Pragma("GCC diagnostic push") _Pragma("GCC diagnostic ignored \"-Winvalid-offsetof\"")
#define KELVANE_FILE_LAYOUT_CHECKS_END _Pragma("GCC diagnostic pop")

namespace kelvane {

// The first 1,496 bytes of every store's file header.
struct record_file_header {
    char16_t magic[5];  // "DCKJ"
    std::uint8_t reserved1[12];
    std::uint16_t format_version;  // written as 1, ignored on load
    char16_t account_name[129];    // "Trip" in the trip file
    char16_t save_folder[603];     // with trailing backslash
    std::int32_t next_record_number;
    std::int32_t reserved2;
};
static_assert(sizeof(record_file_header) == 1496);
static_assert(offsetof(record_file_header, magic) == 0);
static_assert(offsetof(record_file_header, reserved1) == 10);
static_assert(offsetof(record_file_header, format_version) == 22);
static_assert(offsetof(record_file_header, account_name) == 24);
static_assert(offsetof(record_file_header, save_folder) == 282);
static_assert(offsetof(record_file_header, next_record_number) == 1488);
static_assert(offsetof(record_file_header, reserved2) == 1492);

// The first 140 bytes of every record: what adding it stamps on it.
struct record_stamp {
    char16_t tag[6];  // "DATA"
    std::int32_t record_number;
    char16_t key[62];  // at most 60 characters
};
static_assert(sizeof(record_stamp) == 140);
static_assert(offsetof(record_stamp, tag) == 0);
static_assert(offsetof(record_stamp, record_number) == 12);
static_assert(offsetof(record_stamp, key) == 16);

// The first 176 bytes of a record of the three account stores: the stamp,
// the record's own date (local time) and the odometer reading.
struct dated_record_prefix : record_stamp {
    std::int32_t year, month, day, hour, minute, second;
    std::int32_t reserved1;
    double mileage;
};
static_assert(sizeof(dated_record_prefix) == 176);
KELVANE_FILE_LAYOUT_CHECKS_BEGIN
static_assert(offsetof(dated_record_prefix, year) == 140);
static_assert(offsetof(dated_record_prefix, month) == 144);
static_assert(offsetof(dated_record_prefix, day) == 148);
static_assert(offsetof(dated_record_prefix, hour) == 152);
static_assert(offsetof(dated_record_prefix, minute) == 156);
static_assert(offsetof(dated_record_prefix, second) == 160);
static_assert(offsetof(dated_record_prefix, reserved1) == 164);
static_assert(offsetof(dated_record_prefix, mileage) == 168);
KELVANE_FILE_LAYOUT_CHECKS_END

}  // namespace kelvane
