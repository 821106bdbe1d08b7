#include "core/stores/fuel_store.h"

#include <cmath>
#include <cstring>

#include "core/common/date_text.h"
#include "core/common/number_text.h"
#include "core/common/unit_factors.h"
#include "platform/services.h"

namespace kelvane {

namespace {

// An older file may say "Gallon"; it means the US gallon.
bool is_us_gallon(std::u16string_view unit) {
    return unit == u"US Gallon" || unit == u"Gallon";
}

}  // namespace

namespace {

// The account's units, read once from the header's texts rather than for
// every stretch of a long file.
struct economy_units {
    explicit economy_units(const fuel_header& header) : mode(header.economy_mode) {
        const std::u16string fuel_unit = fixed_text(header.fuel_unit);
        const std::u16string mileage_unit = fixed_text(header.mileage_unit);
        us = is_us_gallon(fuel_unit);
        uk = fuel_unit == u"UK Gallon";
        in_km = mileage_unit == u"Kilometer";
        in_miles = mileage_unit == u"Mile";
    }
    double litres(double v) const {
        return us ? v * us_gallons_to_litres : uk ? v * uk_gallons_to_litres : v;
    }
    double kilometres(double v) const { return in_km ? v : v * miles_to_km; }
    double miles(double v) const { return in_miles ? v : v * km_to_miles; }

    double economy(double distance, double fuel) const {
        switch (mode) {
            case 0: {  // miles per US gallon
                if (fuel == 0) return 0;
                double gallons = fuel;
                if (!us) {
                    if (uk) gallons *= uk_gallons_to_litres;
                    gallons *= litres_to_us_gallons;
                }
                return miles(distance) / gallons;
            }
            case 1: {  // miles per UK gallon
                if (fuel == 0) return 0;
                double gallons = fuel;
                if (!uk) {
                    if (us) gallons *= us_gallons_to_litres;
                    gallons *= litres_to_uk_gallons;
                }
                return miles(distance) / gallons;
            }
            case 2:  // litres per 100 km
                if (distance == 0) return 0;
                return litres(fuel) / kilometres(distance) * 100;
            case 3:  // km per litre
                if (fuel == 0) return 0;
                return kilometres(distance) / litres(fuel);
            default:
                return 0;
        }
    }

    std::int32_t mode;
    bool us, uk, in_km, in_miles;
};

}  // namespace

double stretch_economy(const fuel_header& header, double distance, double fuel) {
    return economy_units(header).economy(distance, fuel);
}

namespace {

// Distance and fuel used from fill-up a to the next fill-up b: what the tank
// held after a minus what it held just before b was filled.
double stretch_distance(const fuel_record& a, const fuel_record& b) {
    return b.mileage - a.mileage;
}
double stretch_fuel(const fuel_record& a, const fuel_record& b) {
    return a.fuel_gauge - (b.fuel_gauge - b.fuel_purchased);
}

double economy_between(const economy_units& units, const fuel_record& a, const fuel_record& b) {
    return units.economy(stretch_distance(a, b), stretch_fuel(a, b));
}

// One record's share of the derived values, taken in list order after
// `previous` (null for the first record): its cost, the mileage reached and
// the economy of the stretch that ends with it.
void take_derived(fuel_header& header, running_totals& costs, const economy_units& units,
                  fuel_record* previous, const fuel_record& r) {
    costs.push_back(r.fuel_cost, r.mileage);
    if (r.mileage > header.current_mileage) header.current_mileage = r.mileage;
    if (previous) previous->economy = economy_between(units, *previous, r);
}

}  // namespace

void fuel_store::start_derived(std::size_t count) {
    header_.current_mileage = header_.initial_mileage;
    costs_.clear();
    costs_.reserve(count);
}

void fuel_store::derive_loaded(fuel_record* list, std::size_t from, std::size_t to) {
    const economy_units units(header_);
    for (std::size_t i = from; i < to; ++i)
        take_derived(header_, costs_, units, i > 0 ? &list[i - 1] : nullptr, list[i]);
}

void fuel_store::finish_derived() {
    header_.total_fuel_cost = costs_.total();
    basis_ = basis_of(header_);
}

void fuel_store::recompute_derived() {
    start_derived(records_.size());
    const economy_units units(header_);
    for (std::size_t i = 0; i < records_.size(); ++i)
        take_derived(header_, costs_, units, i > 0 ? &records_[i - 1] : nullptr, records_[i]);
    finish_derived();
}

fuel_store::derived_basis fuel_store::basis_of(const fuel_header& h) {
    derived_basis b{};
    b.initial_mileage = h.initial_mileage;
    b.economy_mode = h.economy_mode;
    std::memcpy(b.mileage_unit, h.mileage_unit, sizeof b.mileage_unit);
    std::memcpy(b.fuel_unit, h.fuel_unit, sizeof b.fuel_unit);
    return b;
}

bool fuel_store::derived_current() const {
    const derived_basis now = basis_of(header_);
    return std::memcmp(&now, &basis_, sizeof now) == 0;
}

void fuel_store::economy_from(std::size_t position) {
    if (position + 1 >= records_.size()) return;
    records_[position].economy =
        economy_between(economy_units(header_), records_[position], records_[position + 1]);
}

void fuel_store::mileage_changed(const double* removed, const double* added) {
    double& current = header_.current_mileage;
    // The walk keeps the first of equal largest mileages; only a zero of the
    // other sign can tell them apart, and then the walk is made again.
    if ((removed && *removed == current) || (added && *added == current && *added == 0)) {
        current = costs_.largest_mileage(header_.initial_mileage);
        return;
    }
    if (added && *added > current) current = *added;
}

void fuel_store::on_newest_appended() {
    fuel_record& last = records_.back();
    costs_.push_back(last.fuel_cost, last.mileage);
    header_.total_fuel_cost = costs_.total();
    if (last.mileage > header_.current_mileage) header_.current_mileage = last.mileage;
    if (records_.size() > 1) economy_from(records_.size() - 2);
}

void fuel_store::after_insert(std::size_t position) {
    const fuel_record& r = records_[position];
    costs_.insert(position, r.fuel_cost, r.mileage);
    header_.total_fuel_cost = costs_.total();
    mileage_changed(nullptr, &r.mileage);
    if (position > 0) economy_from(position - 1);
    economy_from(position);
}

void fuel_store::after_erase(std::size_t position, const fuel_record& removed) {
    costs_.erase(position);
    header_.total_fuel_cost = costs_.total();
    mileage_changed(&removed.mileage, nullptr);
    if (position > 0) economy_from(position - 1);
}

void fuel_store::after_replace(std::size_t position, const fuel_record& old) {
    const fuel_record& r = records_[position];
    costs_.set(position, r.fuel_cost, r.mileage);
    header_.total_fuel_cost = costs_.total();
    mileage_changed(&old.mileage, &r.mileage);
    if (position > 0) economy_from(position - 1);
    economy_from(position);
}

bool fuel_store::recompute_economy(bool write_header) {
    recompute_derived();
    return write_header ? write_header_in_place() : true;
}

std::array<std::u16string, 4> fuel_store::row_texts(int index) const {
    const fuel_record& r = record_at(index);
    return {format(" %.f", r.mileage), format("%.2f", r.fuel_purchased),
            index == record_count() - 1 ? std::u16string(u"-") : format("%.2f", r.economy),
            short_date_text(r.year, r.month, r.day)};
}

double fuel_store::selection_cost(const selection_limits& limits, chart_sink* chart) {
    select_records(limits);
    double sum = 0;
    for (int i : selection_) {
        const fuel_record& r = records_[static_cast<std::size_t>(i)];
        sum += r.fuel_cost;
        if (chart && !limits.has_dates()) chart->note_date(r.year, r.month, r.day);
    }
    return sum;
}

double fuel_store::distance_in_range(const selection_limits& limits) {
    select_records(limits);
    const bool has_lowest = limits.lowest >= 0;
    const bool has_highest = limits.highest >= 0;
    if (selection_.empty()) {
        if (!has_lowest && has_highest) return limits.highest;
        if (has_lowest && !has_highest) return 0;
        return limits.highest - limits.lowest;
    }
    if (limits.highest > 0) return has_lowest ? limits.highest - limits.lowest : limits.highest;
    double largest = records_[static_cast<std::size_t>(selection_.front())].mileage;
    double smallest = largest;
    for (int i : selection_) {
        const double m = records_[static_cast<std::size_t>(i)].mileage;
        largest = std::max(largest, m);
        smallest = std::min(smallest, m);
    }
    return largest - smallest;
}

void fuel_store::economy_series(chart_sink& chart, const selection_limits& limits) {
    chart.clear_entries();
    select_records(limits);
    if (!selection_.empty()) chart.expect_entries(selection_.size() - 1);
    const std::uint16_t language = device().language_id();
    chart_value_batch batch(chart);
    for (std::size_t n = 0; n + 1 < selection_.size(); ++n) {
        const fuel_record& r = records_[static_cast<std::size_t>(selection_[n])];
        append_decimal(batch.next_name(), r.mileage, 0);
        batch.add_dated(r.economy, language, r.year, r.month, r.day, u"");
        if (!limits.has_dates()) chart.note_date(r.year, r.month, r.day);
    }
}

double fuel_store::overall_economy(const selection_limits& limits) {
    select_records(limits);
    double distance = 0, fuel = 0;
    for (std::size_t n = 0; n + 1 < selection_.size(); ++n) {
        // The stretch of a fill-up's economy ends at the next record stored.
        const auto i = static_cast<std::size_t>(selection_[n]);
        if (i + 1 >= records_.size()) continue;
        distance += stretch_distance(records_[i], records_[i + 1]);
        fuel += stretch_fuel(records_[i], records_[i + 1]);
    }
    return economy_units(header_).economy(distance, fuel);
}

void fuel_store::convert_mileage(int direction) {
    const double factor = mileage_factor(direction);
    if (factor == 0) return;
    for (fuel_record& r : records_) r.mileage *= factor;
    derived_current_ = false;
}

void fuel_store::convert_fuel(int mode) {
    double factor;
    switch (mode) {
        case 0:
            factor = us_gallons_to_litres;
            break;
        case 1:
            factor = uk_gallons_to_litres;
            break;
        case 2:
            factor = litres_to_us_gallons;
            break;
        case 3:
            factor = litres_to_uk_gallons;
            break;
        default:
            return;
    }
    derived_current_ = false;
    for (fuel_record& r : records_) {
        r.fuel_purchased *= factor;
        r.fuel_gauge *= factor;
        // A record without a quantity has no price to derive; its old price,
        // expressed per new unit, keeps it finite.
        const double price = r.fuel_purchased != 0 ? r.fuel_cost / r.fuel_purchased : 0.0;
        if (r.fuel_purchased != 0 && std::isfinite(price)) {
            r.unit_price = price;
        } else {
            const double kept = r.unit_price / factor;
            r.unit_price = std::isfinite(kept) ? kept : 0.0;
        }
    }
}

}  // namespace kelvane
