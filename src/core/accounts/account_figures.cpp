#include "core/accounts/account_figures.h"

#include <algorithm>
#include <cstdint>
#include <set>
#include <type_traits>

#include "core/accounts/units.h"
#include "core/common/text.h"
#include "core/common/translate.h"
#include "platform/local_time.h"
#include "platform/services.h"

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

// What one walk over a store's records gives the figures. A long account
// is walked once per store, with each figure taken from the record while it
// is at hand: the costs added in store order, the lowest mileage above 0 (0
// or below was never entered), the highest mileage and the first and last
// record day (records whose editor gave no date, year 0, are left out).
struct record_walk {
    double cost = 0;
    // Fuel only: what the tank held after the first fill-up, plus everything
    // bought since, minus what it holds after the last.
    double fuel_used = 0;
    std::optional<double> lowest;
    double highest = 0;
    std::optional<std::int64_t> first_day, last_day;
};

template <class Store, class Cost>
void walk_records(const Store& store, Cost cost, record_walk& w) {
    month_by_month_seconds seconds_of;
    for (int i = 0; i < store.record_count(); ++i) {
        const auto& r = store.record_at(i);
        w.cost += cost(r);
        if constexpr (std::is_same_v<Store, fuel_store>) {
            if (i > 0) w.fuel_used += r.fuel_purchased;
        }
        const double m = r.mileage;
        if (m > 0 && (!w.lowest || m < *w.lowest)) w.lowest = m;
        w.highest = std::max(w.highest, m);
        if (r.year <= 0) continue;
        const std::int64_t s = seconds_of.of(r.year, r.month, r.day, 0, 0, 0);
        if (!w.first_day || s < *w.first_day) w.first_day = s;
        if (!w.last_day || s > *w.last_day) w.last_day = s;
    }
}

// The three stores walked: fuel, then maintenance, then fees. The highest
// mileage starts from the fuel header's current mileage, so that the last
// walk's highest is the odometer.
std::array<record_walk, 3> walk_account(const fuel_store& fuel, const service_store& jobs,
                                        const fee_store& fees) {
    std::array<record_walk, 3> w;
    w[0].highest = fuel.header().current_mileage;
    if (const int n = fuel.record_count(); n >= 2)
        w[0].fuel_used = fuel.record_at(0).fuel_gauge - fuel.record_at(n - 1).fuel_gauge;
    walk_records(
        fuel, [](const fuel_record& r) { return r.fuel_cost; }, w[0]);
    w[1].highest = w[0].highest;
    walk_records(
        jobs, [](const service_record& r) { return r.cost; }, w[1]);
    w[2].highest = w[1].highest;
    walk_records(
        fees, [](const fee_record& r) { return r.cost; }, w[2]);
    return w;
}

account_costs costs_of(const fuel_store& fuel, const std::array<record_walk, 3>& w) {
    account_costs c;
    c.fuel_cost = w[0].cost;
    c.service_cost = w[1].cost;
    c.fee_cost = w[2].cost;
    c.total_cost = c.fuel_cost + c.service_cost + c.fee_cost;

    // The stretches between fill-ups together.
    const int n = fuel.record_count();
    if (n >= 2) {
        const double driven = fuel.record_at(n - 1).mileage - fuel.record_at(0).mileage;
        const double used = w[0].fuel_used;
        if (driven > 0 && used > 0)
            c.average_economy = stretch_economy(fuel.header(), driven, used);
    }

    std::optional<double> start;
    if (fuel.header().initial_mileage > 0) start = fuel.header().initial_mileage;
    std::optional<std::int64_t> from, to;
    for (const record_walk& store : w) {
        if (store.lowest && (!start || *store.lowest < *start)) start = store.lowest;
        if (store.first_day && (!from || *store.first_day < *from)) from = store.first_day;
        if (store.last_day && (!to || *store.last_day > *to)) to = store.last_day;
    }
    const double odometer = w[2].highest;
    c.distance = start ? std::max(0.0, odometer - *start) : 0;
    c.per_mile = kept_in_miles(fuel);
    if (c.distance > 0) {
        const double per = c.per_mile ? 1 : 100;
        c.fuel_cost_per_distance = c.fuel_cost / c.distance * per;
        c.cost_per_distance = c.total_cost / c.distance * per;
    }
    if (from) {
        const double months = std::max(1.0, static_cast<double>(*to - *from) / month_seconds);
        c.cost_per_month = c.total_cost / months;
    }
    return c;
}

}  // namespace

double service_margins::for_unit(std::u16string_view mileage_unit) const {
    return mileage_unit == mile_unit ? miles : kilometres;
}

double account_odometer(const fuel_store& fuel, const service_store& jobs, const fee_store& fees) {
    return walk_account(fuel, jobs, fees)[2].highest;
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
    return costs_of(fuel, walk_account(fuel, jobs, fees));
}

account_figures figures_of(const fuel_store& fuel, const service_store& jobs, const fee_store& fees,
                           const service_margins& margins) {
    account_figures f;
    f.result = load_result::loaded;
    const std::array<record_walk, 3> walked = walk_account(fuel, jobs, fees);
    f.odometer = walked[2].highest;
    f.mileage_unit = fixed_text(fuel.header().mileage_unit);
    f.economy_mode = fuel.header().economy_mode;
    f.costs = costs_of(fuel, walked);
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

account_stamps account_stamps::of(std::u16string_view folder, std::u16string_view name) {
    const std::u16string base = std::u16string(folder) + std::u16string(name);
    file_system& fs = device_files();
    return {{fs.stamp(base + std::u16string(fuel_store::extension)),
             fs.stamp(base + std::u16string(service_store::extension)),
             fs.stamp(base + std::u16string(fee_store::extension))}};
}

bool account_stamps::same_as(const account_stamps& other) const {
    return std::equal(files.begin(), files.end(), other.files.begin(),
                      [](const file_stamp& a, const file_stamp& b) { return a.same_as(b); });
}

const account_figures& kept_account_figures::of(std::u16string_view folder,
                                                std::u16string_view name,
                                                const service_margins& margins) {
    // The files are looked at before they are read: a change made while
    // they are read shows at the next look.
    const account_stamps stamps = account_stamps::of(folder, name);
    const auto found = kept_.find(name);
    if (found != kept_.end()) {
        const entry& e = found->second;
        if (e.margins.kilometres == margins.kilometres && e.margins.miles == margins.miles &&
            e.stamps.same_as(stamps))
            return e.figures;
    }
    account_figures figures = read_account_figures(folder, name, margins);
    if (figures.result == load_result::damaged) {
        if (found != kept_.end()) kept_.erase(found);
        damaged_ = std::move(figures);
        return damaged_;
    }
    entry& e = found != kept_.end() ? found->second : kept_[std::u16string(name)];
    e = {stamps, margins, std::move(figures)};
    return e.figures;
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
