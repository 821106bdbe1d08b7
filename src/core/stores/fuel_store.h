#pragma once
// The fuel purchases (fill-ups) of the open vehicle account, file "<account>.ful".
// Its header also holds the account's vehicle settings (units, currency,
// starting mileage, tank capacity, economy figure). Besides the records it
// keeps the total cost, the current mileage and, for every fill-up, the fuel
// economy of the stretch driven until the next fill-up.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/stores/account_store.h"
#include "core/stores/chart_sink.h"
#include "core/stores/record_store.h"
#include "platform/file_system.h"

namespace kelvane {

struct fuel_header {
    char16_t magic[5];
    std::uint8_t reserved1[12];
    std::uint16_t format_version;
    char16_t account_name[129];
    char16_t save_folder[603];
    std::int32_t next_record_number;
    std::int32_t reserved2;
    double total_fuel_cost;
    double tank_capacity;
    double initial_mileage;
    double initial_fuel;
    double current_mileage;
    double last_unit_price;
    char16_t last_fuel_type[31];
    char16_t mileage_unit[31];
    char16_t fuel_unit[32];
    std::int32_t economy_mode;  // 0 mile/US gal, 1 mile/UK gal, 2 l/100 km, 3 km/l
    char16_t currency[34];
    std::int32_t account_year, account_month, account_day;
    char16_t account_note[52];
};
static_assert(sizeof(fuel_header) == 1920);
static_assert(offsetof(fuel_header, magic) == 0);
static_assert(offsetof(fuel_header, reserved1) == 10);
static_assert(offsetof(fuel_header, format_version) == 22);
static_assert(offsetof(fuel_header, account_name) == 24);
static_assert(offsetof(fuel_header, save_folder) == 282);
static_assert(offsetof(fuel_header, next_record_number) == 1488);
static_assert(offsetof(fuel_header, reserved2) == 1492);
static_assert(offsetof(fuel_header, total_fuel_cost) == 1496);
static_assert(offsetof(fuel_header, tank_capacity) == 1504);
static_assert(offsetof(fuel_header, initial_mileage) == 1512);
static_assert(offsetof(fuel_header, initial_fuel) == 1520);
static_assert(offsetof(fuel_header, current_mileage) == 1528);
static_assert(offsetof(fuel_header, last_unit_price) == 1536);
static_assert(offsetof(fuel_header, last_fuel_type) == 1544);
static_assert(offsetof(fuel_header, mileage_unit) == 1606);
static_assert(offsetof(fuel_header, fuel_unit) == 1668);
static_assert(offsetof(fuel_header, economy_mode) == 1732);
static_assert(offsetof(fuel_header, currency) == 1736);
static_assert(offsetof(fuel_header, account_year) == 1804);
static_assert(offsetof(fuel_header, account_month) == 1808);
static_assert(offsetof(fuel_header, account_day) == 1812);
static_assert(offsetof(fuel_header, account_note) == 1816);

struct fuel_record {
    char16_t tag[6];
    std::int32_t record_number;
    char16_t key[62];
    std::int32_t year, month, day, hour, minute, second;
    std::int32_t reserved1;
    double mileage;
    double fuel_purchased;
    double fuel_gauge;  // fuel in the tank right after this fill-up
    double economy;     // of the stretch to the next fill-up
    double fuel_cost;
    double unit_price;
    char16_t fuel_type[31];
    char16_t note[101];
};
static_assert(sizeof(fuel_record) == 480);
static_assert(offsetof(fuel_record, tag) == 0);
static_assert(offsetof(fuel_record, record_number) == 12);
static_assert(offsetof(fuel_record, key) == 16);
static_assert(offsetof(fuel_record, year) == 140);
static_assert(offsetof(fuel_record, month) == 144);
static_assert(offsetof(fuel_record, day) == 148);
static_assert(offsetof(fuel_record, hour) == 152);
static_assert(offsetof(fuel_record, minute) == 156);
static_assert(offsetof(fuel_record, second) == 160);
static_assert(offsetof(fuel_record, reserved1) == 164);
static_assert(offsetof(fuel_record, mileage) == 168);
static_assert(offsetof(fuel_record, fuel_purchased) == 176);
static_assert(offsetof(fuel_record, fuel_gauge) == 184);
static_assert(offsetof(fuel_record, economy) == 192);
static_assert(offsetof(fuel_record, fuel_cost) == 200);
static_assert(offsetof(fuel_record, unit_price) == 208);
static_assert(offsetof(fuel_record, fuel_type) == 216);
static_assert(offsetof(fuel_record, note) == 278);

// Fuel economy of a stretch of `distance` (in the account's mileage unit)
// driven on `fuel` (in its fuel unit), in the figure the header chooses.
// A zero distance (l/100 km) or zero fuel (the others) gives 0.
double stretch_economy(const fuel_header& header, double distance, double fuel);

class fuel_store : public record_store<fuel_store, fuel_header, fuel_record, account_store> {
public:
    static constexpr std::u16string_view extension = u".ful";
    static constexpr bool rewrites_previous = true;

    fuel_store() = default;

    // Recomputes the total cost, the current mileage and every economy; with
    // write_header set also writes the header into the file.
    bool recompute_economy(bool write_header);
    // Mileage, purchased, economy ("-" for the newest) and short date of the
    // record at a position (0 = oldest).
    std::array<std::u16string, 4> fuel_row_texts(int index) const;
    // Selects and sums the cost; a chart without date bounds is widened by
    // every selected record's date.
    double selection_cost(const selection_limits& limits, chart_sink* chart = nullptr);
    // The distance covered within the limits.
    double distance_in_range(const selection_limits& limits);
    // One chart entry per selected fill-up except the last: its economy.
    void economy_series(chart_sink& chart, const selection_limits& limits);
    // 0 = kilometres to miles, 1 = miles to kilometres; memory only.
    void convert_mileage(int direction);
    // 0 US gal -> l, 1 UK gal -> l, 2 l -> US gal, 3 l -> UK gal; volumes and
    // unit prices of every record, memory only.
    void convert_fuel(int mode);

    std::u16string export_line(const record_type& r) const;
    // Writes the lines of the current selection as UTF-8; false on a short write.
    bool export_rows(device_file& out);

    // Engine hooks.
    void recompute_derived();
    void before_full_save() { recompute_derived(); }
    void on_newest_appended();
};

}  // namespace kelvane
