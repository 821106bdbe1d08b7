#include "core/accounts/account_figures.h"

#include <algorithm>
#include <cstdint>
#include <set>

#include "core/accounts/units.h"
#include "core/common/text.h"
#include "core/common/translate.h"
#include "platform/local_time.h"

namespace kelvane {

namespace {

constexpr std::u16string_view mile_unit = u"Mile";
// The average month of the calendar, in seconds.
constexpr double month_seconds = 365.2425 / 12 * 86400;

bool kept_in_miles(const fuel_store& fuel) {
    return fixed_text(fuel.header().mileage_unit) == mile_unit;
}

// The description a later job must carry to follow an earlier one.
std::u16string job_name(const service_record& r) {
    std::u16string name = fixed_text(r.description);
    const auto first = name.find_first_not_of(u" \t");
    if (first == std::u16string::npos) return {};
    name = name.substr(first, name.find_last_not_of(u" \t") - first + 1);
    for (char16_t& c : name) c = fold_case(c);
    return name;
}

// The lowest mileage of a store's records, for the start of the distance;
// a mileage of 0 or below is one that was never entered.
template <class Store>
void lowest_mileage(const Store& store, std::optional<double>& lowest) {
    for (int i = 0; i < store.record_count(); ++i) {
        const double m = store.record_at(i).mileage;
        if (m > 0 && (!lowest || m < *lowest)) lowest = m;
    }
}

template <class Store>
void highest_mileage(const Store& store, double& highest) {
    for (int i = 0; i < store.record_count(); ++i)
        highest = std::max(highest, store.record_at(i).mileage);
}

// The first and the last record day of a store, as seconds; records whose
// editor gave no date (year 0) are left out.
template <class Store>
void date_span(const Store& store, std::optional<std::int64_t>& first,
               std::optional<std::int64_t>& last) {
    for (int i = 0; i < store.record_count(); ++i) {
        const auto& r = store.record_at(i);
        if (r.year <= 0) continue;
        const std::int64_t s = to_local_seconds(r.year, r.month, r.day, 0, 0, 0);
        if (!first || s < *first) first = s;
        if (!last || s > *last) last = s;
    }
}

}  // namespace

double service_margins::for_unit(std::u16string_view mileage_unit) const {
    return mileage_unit == mile_unit ? miles : kilometres;
}

double account_odometer(const fuel_store& fuel, const service_store& jobs, const fee_store& fees) {
    double odometer = fuel.header().current_mileage;
    highest_mileage(fuel, odometer);
    highest_mileage(jobs, odometer);
    highest_mileage(fees, odometer);
    return odometer;
}

std::vector<due_service> services_due(const service_store& jobs, double odometer, double margin) {
    std::vector<due_service> due;
    std::set<std::u16string> later_names;  // of the maintenance jobs after the one at hand
    std::optional<double> later_mileage;   // the highest mileage of those jobs
    // From the newest job back, so that what came later is known.
    for (int i = jobs.record_count() - 1; i >= 0; --i) {
        const service_record& r = jobs.record_at(i);
        if (r.repair_flag != 0) continue;
        std::u16string name = job_name(r);
        const double next = r.next_service_mileage;
        const bool followed =
            later_names.count(name) != 0 || (later_mileage && *later_mileage >= next - margin);
        if (next > 0 && !followed && next - odometer <= margin)
            due.push_back({i, fixed_text(r.description), next, next - odometer});
        later_names.insert(std::move(name));
        later_mileage = std::max(later_mileage.value_or(r.mileage), r.mileage);
    }
    std::reverse(due.begin(), due.end());
    return due;
}

account_costs account_cost_figures(const fuel_store& fuel, const service_store& jobs,
                                   const fee_store& fees) {
    account_costs c;
    for (int i = 0; i < fuel.record_count(); ++i) c.fuel_cost += fuel.record_at(i).fuel_cost;
    for (int i = 0; i < jobs.record_count(); ++i) c.service_cost += jobs.record_at(i).cost;
    for (int i = 0; i < fees.record_count(); ++i) c.fee_cost += fees.record_at(i).cost;
    c.total_cost = c.fuel_cost + c.service_cost + c.fee_cost;

    // The stretches between fill-ups together: what the tank held after the
    // first, plus everything bought since, minus what it holds after the last.
    const int n = fuel.record_count();
    if (n >= 2) {
        const fuel_record& first = fuel.record_at(0);
        const fuel_record& last = fuel.record_at(n - 1);
        const double driven = last.mileage - first.mileage;
        double used = first.fuel_gauge - last.fuel_gauge;
        for (int i = 1; i < n; ++i) used += fuel.record_at(i).fuel_purchased;
        if (driven > 0 && used > 0)
            c.average_economy = stretch_economy(fuel.header(), driven, used);
    }

    std::optional<double> start;
    if (fuel.header().initial_mileage > 0) start = fuel.header().initial_mileage;
    lowest_mileage(fuel, start);
    lowest_mileage(jobs, start);
    lowest_mileage(fees, start);
    const double odometer = account_odometer(fuel, jobs, fees);
    c.distance = start ? std::max(0.0, odometer - *start) : 0;
    c.per_mile = kept_in_miles(fuel);
    if (c.distance > 0) {
        const double per = c.per_mile ? 1 : 100;
        c.fuel_cost_per_distance = c.fuel_cost / c.distance * per;
        c.cost_per_distance = c.total_cost / c.distance * per;
    }

    std::optional<std::int64_t> from, to;
    date_span(fuel, from, to);
    date_span(jobs, from, to);
    date_span(fees, from, to);
    if (from) {
        const double months = std::max(1.0, static_cast<double>(*to - *from) / month_seconds);
        c.cost_per_month = c.total_cost / months;
    }
    return c;
}

account_figures figures_of(const fuel_store& fuel, const service_store& jobs, const fee_store& fees,
                           const service_margins& margins) {
    account_figures f;
    f.result = load_result::loaded;
    f.odometer = account_odometer(fuel, jobs, fees);
    f.mileage_unit = fixed_text(fuel.header().mileage_unit);
    f.economy_mode = fuel.header().economy_mode;
    f.costs = account_cost_figures(fuel, jobs, fees);
    f.due = services_due(jobs, f.odometer, margins.for_unit(f.mileage_unit));
    return f;
}

account_figures read_account_figures(std::u16string_view folder, std::u16string_view name,
                                     const service_margins& margins) {
    const std::u16string base = std::u16string(folder) + std::u16string(name);
    // check_file shows nothing; the header read has reported it.
    if (fuel_store::check_file(base + std::u16string(fuel_store::extension)) ==
            load_result::damaged ||
        service_store::check_file(base + std::u16string(service_store::extension)) ==
            load_result::damaged ||
        fee_store::check_file(base + std::u16string(fee_store::extension)) ==
            load_result::damaged) {
        account_figures f;
        f.result = load_result::damaged;
        return f;
    }
    fuel_store fuel;
    service_store jobs;
    fee_store fees;
    const load_result results[] = {fuel.load(folder, name, false), jobs.load(folder, name, false),
                                   fees.load(folder, name, false)};
    if (std::all_of(std::begin(results), std::end(results),
                    [](load_result r) { return r == load_result::missing; })) {
        account_figures f;
        f.mileage_unit = fixed_text(fuel.header().mileage_unit);
        return f;
    }
    for (load_result r : results)
        if (r == load_result::damaged) {
            account_figures f;
            f.result = load_result::damaged;
            return f;
        }
    return figures_of(fuel, jobs, fees, margins);
}

std::array<std::u16string, 3> cost_summary_lines(const account_figures& figures) {
    const account_costs& c = figures.costs;
    const auto amount = [](const std::optional<double>& v) {
        return v ? format("%.2f", *v) : std::u16string(u"-");
    };
    std::u16string economy = amount(c.average_economy);
    if (c.average_economy && figures.economy_mode >= 0 && figures.economy_mode < 4)
        economy += u" " + tr(economy_unit_names[static_cast<std::size_t>(figures.economy_mode)]);
    return {tr(u"Average economy") + u": " + economy,
            tr(c.per_mile ? u"Cost per mile" : u"Cost per 100 km") + u": " +
                amount(c.cost_per_distance) + u" (" + tr(u"Fuel") + u": " +
                amount(c.fuel_cost_per_distance) + u")",
            tr(u"Cost per month") + u": " + amount(c.cost_per_month)};
}

}  // namespace kelvane
