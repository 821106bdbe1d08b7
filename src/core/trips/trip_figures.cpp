#include "core/trips/trip_figures.h"

#include <algorithm>
#include <array>

#include "core/accounts/account_figures.h"
#include "core/accounts/configuration.h"
#include "core/common/text.h"
#include "core/common/translate.h"

namespace kelvane {

namespace {

constexpr colour first_row_background = rgb(200, 200, 100);
constexpr colour detail_row_background = rgb(200, 200, 200);
constexpr int detail_indent = 10;

std::vector<std::u16string> vehicle_names(const trip_store::record_type& trip) {
    std::vector<std::u16string> names;
    for (const auto& slot : trip.trip_vehicles) {
        std::u16string name = fixed_text(slot);
        if (!name.empty()) names.push_back(std::move(name));
    }
    return names;
}

// The dates, mileages and costs of one store's records, in store order, packed
// so that the many trips of a rebuild can sum them without walking whole records.
class cost_points {
public:
    template <class Store, class Cost>
    void take(const Store& store, Cost cost) {
        points_.clear();
        points_.reserve(static_cast<std::size_t>(store.record_count()));
        month_by_month_seconds seconds_of;
        in_date_order_ = true;
        for (int i = 0; i < store.record_count(); ++i) {
            const auto& r = store.record_at(i);
            const std::int64_t seconds =
                seconds_of.of(r.year, r.month, r.day, r.hour, r.minute, r.second);
            if (!points_.empty() && seconds < points_.back().seconds) in_date_order_ = false;
            points_.push_back({seconds, r.mileage, cost(r)});
        }
    }
    // The sum over the records that the store's selection with these limits
    // would select (dates inclusive, a negative mileage bound is none).
    double sum(const selection_limits& limits) const {
        // The total is the walk's own, so it stays in a register: a total
        // outside it could be any of the points' costs, and each addition
        // would wait for the last one to be stored.
        struct adding {
            double total = 0;
            void operator()(const point& p) { total += p.cost; }
        };
        return for_selected(limits, adding{}).total;
    }
    // The distance the selected records cover, as the fuel store's
    // distance_in_range gives it.
    double distance(const selection_limits& limits) const {
        const bool has_lowest = limits.lowest >= 0;
        const bool has_highest = limits.highest >= 0;
        struct spanning {
            bool any = false;
            double largest = 0, smallest = 0;
            void operator()(const point& p) {
                if (!any) {
                    any = true;
                    largest = smallest = p.mileage;
                }
                largest = std::max(largest, p.mileage);
                smallest = std::min(smallest, p.mileage);
            }
        };
        const auto [any, largest, smallest] = for_selected(limits, spanning{});
        if (!any) {
            if (!has_lowest && has_highest) return limits.highest;
            if (has_lowest && !has_highest) return 0;
            return limits.highest - limits.lowest;
        }
        if (limits.highest > 0) return has_lowest ? limits.highest - limits.lowest : limits.highest;
        return largest - smallest;
    }

private:
    struct point {
        std::int64_t seconds;
        double mileage;
        double cost;
    };
    // Hands each selected point to f, in store order, and returns f.
    template <class F>
    F for_selected(const selection_limits& limits, F f) const {
        const bool has_from = limits.from.has_value(), has_to = limits.to.has_value();
        const std::int64_t from = has_from ? to_local_seconds(*limits.from) : 0;
        const std::int64_t to = has_to ? to_local_seconds(*limits.to) : 0;
        auto first = points_.begin(), last = points_.end();
        // Records in date order: the dates in range lie side by side, and
        // only they are looked at, in the same order as the whole walk.
        if (in_date_order_) {
            const auto earlier = [](const point& p, std::int64_t s) { return p.seconds < s; };
            const auto later = [](std::int64_t s, const point& p) { return s < p.seconds; };
            if (has_from) first = std::lower_bound(first, last, from, earlier);
            if (has_to) last = std::upper_bound(first, last, to, later);
        }
        for (auto p = first; p < last; ++p) {
            if (has_from && p->seconds < from) continue;
            if (has_to && p->seconds > to) continue;
            if (limits.lowest >= 0 && p->mileage < limits.lowest) continue;
            if (limits.highest >= 0 && p->mileage > limits.highest) continue;
            f(*p);
        }
        return f;
    }

    std::vector<point> points_;
    bool in_date_order_ = true;
};

}  // namespace

struct vehicle_summary {
    cost_points fuel, repair, fees;  // the fill-ups' points also give the trip mileage
    account_stamps stamps;
};

trip_summaries::trip_summaries() = default;
trip_summaries::~trip_summaries() = default;

void trip_summaries::clear() {
    kept_.clear();
}

bool trip_summaries::unchanged(std::u16string_view data_folder, const trip_store& trips) {
    std::vector<std::u16string> looked;
    for (int i = 0; i < trips.record_count(); ++i) {
        for (const std::u16string& name : vehicle_names(trips.record_at(i))) {
            if (std::find(looked.begin(), looked.end(), name) != looked.end()) continue;
            looked.push_back(name);
            const auto found = kept_.find(name);
            if (found == kept_.end()) return false;
            if (!found->second->stamps.same_as(account_stamps::of(data_folder, name))) return false;
        }
    }
    return true;
}

int trip_vehicle_count(const trip_store::record_type& trip) {
    return static_cast<int>(vehicle_names(trip).size());
}

double trip_mileage(fuel_store& fuel, const trip_store::record_type& trip) {
    return fuel.distance_in_range(trip_limits(trip));
}

trip_figures::trip_figures(std::u16string_view data_folder, fuel_store& fuel,
                           service_store& service, fee_store& fees, trip_summaries* kept)
    : data_folder_(data_folder),
      fuel_(fuel),
      service_(service),
      fees_(fees),
      kept_(kept ? *kept : own_) {}

trip_figures::~trip_figures() = default;

bool trip_figures::save_open_account() {
    // A clean store's file already matches memory; only owed changes are written.
    bool ok = true;
    if (fuel_.dirty()) ok = fuel_.save_all() && ok;
    if (service_.dirty()) ok = service_.save_all() && ok;
    if (fees_.dirty()) ok = fees_.save_all() && ok;
    return ok;
}

const vehicle_summary& trip_figures::vehicle(const std::u16string& name) {
    auto& slot = kept_.kept_[name];
    if (slot && checked_.count(name)) return *slot;
    checked_[name] = true;
    // A name that is no plain file name (a damaged trip file) reads nothing.
    if (!configuration::is_valid_account_name(name)) {
        slot = std::make_unique<vehicle_summary>();
        return *slot;
    }
    // The files are looked at before they are read: a change made while
    // they are read shows at the next look.
    const account_stamps stamps = account_stamps::of(data_folder_, name);
    if (slot && slot->stamps.same_as(stamps)) return *slot;
    slot = std::make_unique<vehicle_summary>();
    slot->stamps = stamps;
    const auto fuel_cost = [](const fuel_record& r) { return r.fuel_cost; };
    const auto cost = [](const auto& r) { return r.cost; };
    if (!fuel_.fresh() && fuel_.account_name() == name && service_.account_name() == name &&
        fees_.account_name() == name) {
        // The open account's stores hold what its files hold (their owed
        // changes were written first): nothing needs reading.
        slot->fuel.take(fuel_, fuel_cost);
        slot->repair.take(service_, cost);
        slot->fees.take(fees_, cost);
        return *slot;
    }
    // A missing file is a vehicle without such records. Only the records
    // are wanted: each store is emptied and the file's records join none,
    // which leaves out the totals and economies an open account works out.
    bool damaged = false;
    const auto read = [&](auto& store) -> const auto& {
        (void)store.reset();
        if (store.load(data_folder_, name, true) == load_result::damaged)
            damaged = true, files_ok_ = false;
        return store;
    };
    slot->fuel.take(read(reading_.fuel), fuel_cost);
    slot->repair.take(read(reading_.service), cost);
    slot->fees.take(read(reading_.fees), cost);
    // A damaged file is read again next time, so that the owner hears of it again.
    if (damaged) slot->stamps = {};
    return *slot;
}

trip_totals trip_figures::totals_from_cache(const trip_store::record_type& trip) {
    const selection_limits limits = trip_limits(trip);
    const std::vector<std::u16string> names = vehicle_names(trip);
    trip_totals t;
    t.vehicle_count = static_cast<int>(names.size());
    for (const std::u16string& name : names) {
        const vehicle_summary& v = vehicle(name);
        t.fuel += v.fuel.sum(limits);
        t.repair += v.repair.sum(limits);
        t.fees += v.fees.sum(limits);
    }
    // The mileage of a one-vehicle trip comes from that vehicle's fill-ups,
    // whichever account is open.
    if (names.size() == 1) {
        t.mileage = vehicle(names.front()).fuel.distance(limits);
    } else if (names.empty()) {
        t.mileage = cost_points().distance(limits);
    }
    return t;
}

void trip_figures::done() {
    checked_.clear();
    if (&kept_ == &own_) own_.clear();
}

trip_totals trip_figures::totals(const trip_store::record_type& trip) {
    files_ok_ = save_open_account();
    const trip_totals t = totals_from_cache(trip);
    done();
    return t;
}

std::vector<trip_row> trip_figures::build_rows(const trip_store& trips) {
    files_ok_ = save_open_account();
    std::vector<trip_row> rows;
    for (int index = 0; index < trips.record_count(); ++index) {
        const trip_store::record_type& trip = trips.record_at(index);
        const trip_totals t = totals_from_cache(trip);

        trip_row first;
        first.text = fixed_text(trip.trip_description);
        first.cost_text = format("%.2f", t.fuel + t.repair + t.fees);
        first.background = first_row_background;
        first.trip_index = index;
        rows.push_back(std::move(first));

        const auto detail = [&](std::u16string text, std::u16string cost) {
            trip_row row;
            row.text = std::move(text);
            row.cost_text = std::move(cost);
            row.background = detail_row_background;
            row.indent = detail_indent;
            row.trip_index = index;
            rows.push_back(std::move(row));
        };
        detail(tr(u"Fuel"), format("%.2f", t.fuel));
        detail(tr(u"Repair"), format("%.2f", t.repair));
        detail(tr(u"Fees"), format("%.2f", t.fees));
        if (t.vehicle_count < 2) {
            detail(tr(u"Total Mileage"), format("%.2f", t.mileage));
        } else {
            const std::vector<std::u16string> names = vehicle_names(trip);
            detail(u"(" + join(names.data(), names.data() + names.size(), u",") + u")", u"");
        }
    }
    done();
    return rows;
}

std::u16string trip_figures::statistics(chart_sink& chart, const trip_store& trips,
                                        std::u16string_view description) {
    trip_store::record_type trip{};
    if (!trips.find_trip(description, trip)) {
        files_ok_ = true;  // nothing was read
        return {};
    }
    const trip_totals t = totals(trip);
    chart.add_value(tr(u"Fuel"), t.fuel, 0, u"", u"");
    chart.add_value(tr(u"Repair"), t.repair, 0, u"", u"");
    chart.add_value(tr(u"Fees"), t.fees, 0, u"", u"");
    if (t.vehicle_count > 1)
        return tr(u"Number of vehicles in trip") + u" : " + format("%d", t.vehicle_count);
    return tr(u"Total trip mileage") + u" : " + format("%.f", t.mileage);
}

}  // namespace kelvane
