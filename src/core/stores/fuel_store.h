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
#include "core/stores/record_layout.h"
#include "core/stores/record_store.h"
#include "core/stores/running_totals.h"

namespace kelvane {

struct fuel_header : record_file_header {
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
KELVANE_FILE_LAYOUT_CHECKS_BEGIN
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
KELVANE_FILE_LAYOUT_CHECKS_END

struct fuel_record : dated_record_prefix {
    double fuel_purchased;
    double fuel_gauge;  // fuel in the tank right after this fill-up
    double economy;     // of the stretch to the next fill-up
    double fuel_cost;
    double unit_price;
    char16_t fuel_type[31];
    char16_t note[101];
};
static_assert(sizeof(fuel_record) == 480);
KELVANE_FILE_LAYOUT_CHECKS_BEGIN
static_assert(offsetof(fuel_record, fuel_purchased) == 176);
static_assert(offsetof(fuel_record, fuel_gauge) == 184);
static_assert(offsetof(fuel_record, economy) == 192);
static_assert(offsetof(fuel_record, fuel_cost) == 200);
static_assert(offsetof(fuel_record, unit_price) == 208);
static_assert(offsetof(fuel_record, fuel_type) == 216);
static_assert(offsetof(fuel_record, note) == 278);
KELVANE_FILE_LAYOUT_CHECKS_END

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
    [[nodiscard]] bool recompute_economy(bool write_header);
    // Mileage, purchased, economy ("-" for the newest) and short date of the
    // record at a position (0 = oldest).
    std::array<std::u16string, 4> row_texts(int index) const;
    // Selects and sums the cost; a chart without date bounds is widened by
    // every selected record's date.
    double selection_cost(const selection_limits& limits, chart_sink* chart = nullptr);
    // The distance covered within the limits.
    double distance_in_range(const selection_limits& limits);
    // One chart entry per selected fill-up except the last: its economy.
    void economy_series(chart_sink& chart, const selection_limits& limits);
    // The economy over all the stretches economy_series shows: their whole
    // distance on their whole fuel, in the account's economy unit. In litres
    // per 100 km it is the average of the stretches' figures weighted by
    // their distances; a plain sum or mean of the figures would let a short
    // stretch count as much as a long one. 0 without a stretch.
    double overall_economy(const selection_limits& limits);
    // 0 = kilometres to miles, 1 = miles to kilometres; memory only.
    void convert_mileage(int direction);
    // 0 US gal -> l, 1 UK gal -> l, 2 l -> US gal, 3 l -> UK gal; volumes and
    // unit prices of every record, memory only.
    void convert_fuel(int mode);

    // Engine hooks.
    void recompute_derived();
    void start_derived(std::size_t count);
    void derive_loaded(fuel_record* list, std::size_t from, std::size_t to);
    void finish_derived();
    void before_full_save() { recompute_derived(); }
    void on_newest_appended();
    void after_insert(std::size_t position);
    void after_erase(std::size_t position, const fuel_record& removed);
    void after_replace(std::size_t position, const fuel_record& old);
    bool derived_current() const;

private:
    // What the derived values were computed with, from the header: a change
    // of units, economy figure or starting mileage owes a full recompute.
    struct derived_basis {
        double initial_mileage;
        std::int32_t economy_mode;
        char16_t mileage_unit[31];
        char16_t fuel_unit[32];
    };
    static derived_basis basis_of(const fuel_header& h);
    // The economy of the stretch from the record at `position` to the next
    // one, when there is a next one.
    void economy_from(std::size_t position);
    // The current mileage after `removed` left and `added` came (either may be absent).
    void mileage_changed(const double* removed, const double* added);

    running_totals costs_;  // of the records in list order
    derived_basis basis_{};
};

}  // namespace kelvane
