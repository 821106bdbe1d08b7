#pragma once
// The trips: named selections over up to ten vehicle accounts, bounded by
// optional dates and mileages. One file for the whole data folder,
// "Trip.tri"; trips keep the order of adding and every change rewrites the
// file at once.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/stores/record_layout.h"
#include "core/stores/record_store.h"

namespace kelvane {

struct trip_header : record_file_header {
    std::uint8_t reserved3[96];
};
static_assert(sizeof(trip_header) == 1592);
KELVANE_FILE_LAYOUT_CHECKS_BEGIN
static_assert(offsetof(trip_header, reserved3) == 1496);
KELVANE_FILE_LAYOUT_CHECKS_END

inline constexpr int trip_vehicle_slots = 10;

// A trip shares only the stamp with the other records: from byte 140 on
// it holds its own bounds instead of a record date and a mileage.
struct trip_record : record_stamp {
    std::int32_t start_year, start_month, start_day;
    std::int32_t end_year, end_month, end_day;
    std::int32_t reserved1;
    double start_mileage;
    double end_mileage;
    std::int32_t use_start_date;  // 1 = the bound applies
    std::int32_t use_end_date;
    std::int32_t use_start_mileage;
    std::int32_t use_end_mileage;
    std::uint8_t reserved2[62];
    char16_t trip_description[51];
    char16_t trip_vehicles[trip_vehicle_slots][129];
    std::uint8_t reserved3[104];
};
static_assert(sizeof(trip_record) == 3048);
KELVANE_FILE_LAYOUT_CHECKS_BEGIN
static_assert(offsetof(trip_record, start_year) == 140);
static_assert(offsetof(trip_record, start_month) == 144);
static_assert(offsetof(trip_record, start_day) == 148);
static_assert(offsetof(trip_record, end_year) == 152);
static_assert(offsetof(trip_record, end_month) == 156);
static_assert(offsetof(trip_record, end_day) == 160);
static_assert(offsetof(trip_record, reserved1) == 164);
static_assert(offsetof(trip_record, start_mileage) == 168);
static_assert(offsetof(trip_record, end_mileage) == 176);
static_assert(offsetof(trip_record, use_start_date) == 184);
static_assert(offsetof(trip_record, use_end_date) == 188);
static_assert(offsetof(trip_record, use_start_mileage) == 192);
static_assert(offsetof(trip_record, use_end_mileage) == 196);
static_assert(offsetof(trip_record, reserved2) == 200);
static_assert(offsetof(trip_record, trip_description) == 262);
static_assert(offsetof(trip_record, trip_vehicles) == 364);
static_assert(offsetof(trip_record, reserved3) == 2944);
KELVANE_FILE_LAYOUT_CHECKS_END

class trip_store : public record_store<trip_store, trip_header, trip_record, record_store_no_base> {
    using engine = record_store<trip_store, trip_header, trip_record, record_store_no_base>;

public:
    static constexpr std::u16string_view extension = u".tri";
    static constexpr bool rewrites_previous = false;

    trip_store() = default;
    ~trip_store() = default;

    // Writes the file (when the store is named), then empties the store;
    // false when that write failed.
    [[nodiscard]] bool reset();
    // Appends the trip and writes the file.
    add_result add_record(const record_type& trip);
    // Overwrites every trip with the key and writes the file.
    change_result update_record(std::u16string_view key, const record_type& trip);
    change_result delete_record(std::u16string_view key);
    change_result delete_record_at(int position);

    // Every description, in store order.
    std::vector<std::u16string> list_descriptions() const;
    // Copies the first trip with exactly this description; false when none.
    bool find_trip(std::u16string_view description, record_type& out) const;
    bool trip_exists(std::u16string_view description) const;
    // The three below change the trips and write the file at once; false
    // when that write failed (the change stays in memory and goes with the
    // next write of the file).
    // Renames a vehicle in every slot of every trip.
    [[nodiscard]] bool rename_vehicle(std::u16string_view old_name, std::u16string_view new_name);
    // Deletes every trip whose first vehicle is the account.
    [[nodiscard]] bool delete_trips_of_vehicle(std::u16string_view name);
    // 0 = kilometres to miles, 1 = miles to kilometres; start and end mileage
    // of every trip.
    [[nodiscard]] bool convert_mileage(int direction);

    // While held, changes stay in memory and write nothing: for a change
    // whose Trip.tri goes in together with other files (write_whole_file_to).
    void hold_writes(bool on) { held_ = on; }

    // Engine hooks: trips have no derived values.
    void recompute_derived() {}
    void start_derived(std::size_t) {}
    void derive_loaded(trip_record*, std::size_t, std::size_t) {}
    void finish_derived() {}
    void before_full_save() {}
    void on_newest_appended() {}

private:
    // Writes the file after a change, unless writes are held.
    [[nodiscard]] bool write_file() { return held_ || save_all(); }
    bool held_ = false;
};

// The selection bounds of a trip: the start date from 00:00:00, the end date
// up to 23:59:59, and the mileages, each only where its flag is 1.
selection_limits trip_limits(const trip_store::record_type& trip);

}  // namespace kelvane
