#include "core/trips/trip_figures.h"

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
        for (int i = 0; i < store.record_count(); ++i) {
            const auto& r = store.record_at(i);
            points_.push_back({to_local_seconds(r.year, r.month, r.day, r.hour, r.minute, r.second),
                               r.mileage, cost(r)});
        }
    }
    // The sum over the records that the store's selection with these limits
    // would select (dates inclusive, a negative mileage bound is none).
    double sum(const selection_limits& limits) const {
        const bool has_from = limits.from.has_value(), has_to = limits.to.has_value();
        const std::int64_t from = has_from ? to_local_seconds(*limits.from) : 0;
        const std::int64_t to = has_to ? to_local_seconds(*limits.to) : 0;
        double total = 0;
        for (const point& p : points_) {
            if (has_from && p.seconds < from) continue;
            if (has_to && p.seconds > to) continue;
            if (limits.lowest >= 0 && p.mileage < limits.lowest) continue;
            if (limits.highest >= 0 && p.mileage > limits.highest) continue;
            total += p.cost;
        }
        return total;
    }

private:
    struct point {
        std::int64_t seconds;
        double mileage;
        double cost;
    };
    std::vector<point> points_;
};

}  // namespace

struct trip_figures::vehicle_files {
    fuel_store fuel;  // kept whole for the trip mileage
    cost_points fuel_costs, repair_costs, fees_costs;
};

int trip_vehicle_count(const trip_store::record_type& trip) {
    return static_cast<int>(vehicle_names(trip).size());
}

double trip_mileage(fuel_store& fuel, const trip_store::record_type& trip) {
    return fuel.distance_in_range(trip_limits(trip));
}

trip_figures::trip_figures(std::u16string_view data_folder, fuel_store& fuel,
                           service_store& maintenance, fee_store& fees)
    : data_folder_(data_folder), fuel_(fuel), maintenance_(maintenance), fees_(fees) {}

trip_figures::~trip_figures() = default;

bool trip_figures::save_open_account() {
    // A clean store's file already matches memory; only owed changes are written.
    bool ok = true;
    if (fuel_.dirty()) ok = fuel_.save_all() && ok;
    if (maintenance_.dirty()) ok = maintenance_.save_all() && ok;
    if (fees_.dirty()) ok = fees_.save_all() && ok;
    return ok;
}

trip_figures::vehicle_files& trip_figures::vehicle(const std::u16string& name) {
    auto& slot = cache_[name];
    if (!slot) {
        slot = std::make_unique<vehicle_files>();
        // A name that is no plain file name (a damaged trip file) reads nothing.
        // A missing file is a vehicle without such records.
        if (configuration::is_valid_account_name(name)) {
            const auto read = [this](load_result result) {
                if (result == load_result::damaged) files_ok_ = false;
            };
            read(slot->fuel.load(data_folder_, name, false));
            slot->fuel_costs.take(slot->fuel, [](const fuel_record& r) { return r.fuel_cost; });
            service_store maintenance;
            read(maintenance.load(data_folder_, name, false));
            slot->repair_costs.take(maintenance, [](const service_record& r) { return r.cost; });
            fee_store fees;
            read(fees.load(data_folder_, name, false));
            slot->fees_costs.take(fees, [](const fee_record& r) { return r.cost; });
        }
    }
    return *slot;
}

trip_totals trip_figures::totals_from_cache(const trip_store::record_type& trip) {
    const selection_limits limits = trip_limits(trip);
    const std::vector<std::u16string> names = vehicle_names(trip);
    trip_totals t;
    t.vehicle_count = static_cast<int>(names.size());
    for (const std::u16string& name : names) {
        vehicle_files& v = vehicle(name);
        t.fuel += v.fuel_costs.sum(limits);
        t.repair += v.repair_costs.sum(limits);
        t.fees += v.fees_costs.sum(limits);
    }
    // The mileage of a one-vehicle trip comes from that vehicle's fill-ups,
    // whichever account is open.
    if (names.size() == 1) {
        t.mileage = trip_mileage(vehicle(names.front()).fuel, trip);
    } else if (names.empty()) {
        fuel_store none;
        t.mileage = trip_mileage(none, trip);
    }
    return t;
}

trip_totals trip_figures::totals(const trip_store::record_type& trip) {
    files_ok_ = save_open_account();
    const trip_totals t = totals_from_cache(trip);
    cache_.clear();
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
    cache_.clear();
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
    chart.add_value(tr(u"Fuel"), t.fuel, 0, 0, u"", u"");
    chart.add_value(tr(u"Repair"), t.repair, 0, 0, u"", u"");
    chart.add_value(tr(u"Fees"), t.fees, 0, 0, u"", u"");
    if (t.vehicle_count > 1)
        return tr(u"Number of vehicles in trip") + u" : " + format("%d", t.vehicle_count);
    return tr(u"Total trip mileage") + u" : " + format("%.f", t.mileage);
}

}  // namespace kelvane
