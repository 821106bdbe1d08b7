#include "cli/sample_data.h"

#include <algorithm>
#include <cmath>
#include <random>

#include "core/accounts/configuration.h"
#include "core/accounts/units.h"
#include "core/common/text.h"

namespace kelvane {

namespace {

struct vehicle_kind {
    const char16_t* name;
    const char16_t* mileage_unit;
    const char16_t* fuel_unit;
    int economy_mode;
    const char16_t* currency;
    const char16_t* fuel_type;
    double tank;              // in the fuel unit
    double use_per_distance;  // fuel unit per mileage unit
    double daily_distance;
    double price;             // per fuel unit
    double service_interval;  // mileage between services
    double initial_mileage;
};

constexpr vehicle_kind kinds[] = {
    {u"Corolla", unit_kilometer, unit_liter, 2, u"EUR", u"93", 50, 0.065, 45, 1.55, 15000, 12000},
    {u"Pickup", unit_mile, unit_us_gallon, 0, u"USD", u"87", 24, 1.0 / 19, 38, 3.30, 7500, 30500},
    {u"Van", unit_kilometer, unit_liter, 3, u"EUR", u"Diesel", 70, 0.092, 80, 1.45, 20000, 54000},
    {u"Scooter", unit_kilometer, unit_liter, 2, u"EUR", u"97", 12, 0.031, 18, 1.65, 6000, 800},
    {u"Roadster", unit_mile, unit_uk_gallon, 1, u"GBP", u"97", 11, 1.0 / 32, 20, 6.60, 9000, 41000},
};

constexpr const char16_t* repair_jobs[] = {
    u"Brake pads",     u"Tyre puncture",  u"Battery replacement", u"Wiper blades",
    u"Headlight bulb", u"Exhaust repair", u"Windscreen chip",     u"Clutch cable"};

double round_to(double v, double unit) {
    return std::round(v / unit) * unit;
}

template <class R>
void set_date(R& r, std::int64_t seconds) {
    const local_time t = from_local_seconds(seconds);
    r.year = t.year, r.month = t.month, r.day = t.day;
    r.hour = t.hour, r.minute = t.minute, r.second = t.second;
}

template <class R>
std::int64_t date_of(const R& r) {
    return to_local_seconds(r.year, r.month, r.day, r.hour, r.minute, r.second);
}

// Mileage on the odometer at a moment: that of the last fill-up before it.
double mileage_at(const std::vector<fuel_store::record_type>& fuel, double initial,
                  std::int64_t when) {
    double m = initial;
    for (const auto& f : fuel) {
        if (date_of(f) > when) break;
        m = f.mileage;
    }
    return m;
}

class generator {
public:
    explicit generator(unsigned seed) : rng_(seed) {}
    double uniform(double lo, double hi) { return std::uniform_real_distribution<>(lo, hi)(rng_); }
    bool chance(double p) { return uniform(0, 1) < p; }
    int pick(int n) { return std::uniform_int_distribution<>(0, n - 1)(rng_); }

    // Fill-ups from `start` to `end`: drive until the tank is low, then fill
    // (mostly to full, sometimes part of the way), at a slowly moving price.
    std::vector<fuel_store::record_type> fill_ups(const vehicle_kind& k, std::int64_t start,
                                                  std::int64_t end, std::size_t at_most) {
        std::vector<fuel_store::record_type> out;
        double gauge = k.tank * 0.9, mileage = k.initial_mileage, price = k.price;
        std::int64_t t = start;
        while (out.size() < at_most) {
            const double low = k.tank * uniform(0.12, 0.35);
            const double distance = std::max(1.0, std::round((gauge - low) / k.use_per_distance));
            const double days = std::max(1.0, distance / (k.daily_distance * uniform(0.6, 1.4)));
            t += static_cast<std::int64_t>(days * 86400) + pick(10 * 3600);
            if (t > end) break;
            mileage += distance;
            const double used = distance * k.use_per_distance * uniform(0.9, 1.12);
            const double before = std::max(k.tank * 0.02, gauge - used);
            double bought = k.tank - before;
            if (chance(0.2)) bought *= uniform(0.4, 0.8);
            bought = round_to(bought, 0.01);
            price = std::clamp(price * uniform(0.97, 1.03), k.price * 0.75, k.price * 1.3);
            price = round_to(price, 0.001);
            gauge = round_to(std::min(k.tank, before + bought), 0.01);

            fuel_store::record_type r{};
            set_date(r, t);
            r.mileage = mileage;
            r.fuel_purchased = bought;
            r.fuel_gauge = gauge;
            r.unit_price = price;
            r.fuel_cost = round_to(bought * price, 0.01);
            set_fixed(r.fuel_type, k.fuel_type);
            if (chance(0.05)) set_fixed(r.note, u"Motorway station");
            out.push_back(r);
        }
        return out;
    }

private:
    std::mt19937 rng_;
};

}  // namespace

sample_data::sample_data(const options& o) {
    generator g(o.seed);
    const std::int64_t end = to_local_seconds(o.end);
    const std::int64_t start = end - static_cast<std::int64_t>(o.years) * 365 * 86400;
    const int count = std::clamp(o.vehicles, 1, static_cast<int>(std::size(kinds)));

    for (int v = 0; v < count; ++v) {
        const vehicle_kind& k = kinds[v];
        vehicle car;
        car.name = k.name;
        fuel_header& h = car.settings;
        h.tank_capacity = k.tank;
        h.initial_mileage = k.initial_mileage;
        h.current_mileage = k.initial_mileage;
        h.economy_mode = k.economy_mode;
        set_fixed(h.mileage_unit, k.mileage_unit);
        set_fixed(h.fuel_unit, k.fuel_unit);
        set_fixed(h.currency, k.currency);
        set_fixed(h.last_fuel_type, k.fuel_type);
        const local_time bought = from_local_seconds(start);
        h.account_year = bought.year, h.account_month = bought.month, h.account_day = bought.day;
        car.fuel = g.fill_ups(k, start, end, SIZE_MAX);
        if (!car.fuel.empty()) h.last_unit_price = car.fuel.back().unit_price;

        // Services every interval, each naming the next one; repairs now and then.
        double next_service = k.initial_mileage + k.service_interval;
        for (const auto& f : car.fuel) {
            if (f.mileage < next_service) continue;
            service_store::record_type m{};
            set_date(m, date_of(f) + 86400 + g.pick(5) * 86400);
            m.mileage = f.mileage + std::round(g.uniform(5, 80));
            m.cost = round_to(g.uniform(140, 320), 0.01);
            next_service = m.mileage + k.service_interval;
            m.next_service_mileage = next_service;
            m.repair_flag = 0;
            set_fixed(m.description, g.chance(0.5) ? u"Oil and filter change" : u"Annual service");
            car.services.push_back(m);
        }
        for (std::int64_t t = start + 20 * 86400; t < end; t += 30 * 86400) {
            if (!g.chance(0.07)) continue;
            service_store::record_type m{};
            set_date(m, t + g.pick(20) * 86400);
            m.mileage = mileage_at(car.fuel, k.initial_mileage, date_of(m));
            m.cost = round_to(g.uniform(20, 600), 0.01);
            m.repair_flag = 1;
            set_fixed(m.description, repair_jobs[g.pick(static_cast<int>(std::size(repair_jobs)))]);
            car.services.push_back(m);
        }
        std::stable_sort(car.services.begin(), car.services.end(),
                         [](const auto& a, const auto& b) { return date_of(a) < date_of(b); });

        // Yearly insurance and road tax, an inspection every other year,
        // parking and tolls through the months.
        auto add_fee = [&](std::int64_t t, const char16_t* category, const char16_t* description,
                           double cost) {
            if (t > end) return;
            fee_store::record_type f{};
            set_date(f, t);
            f.mileage = mileage_at(car.fuel, k.initial_mileage, t);
            f.cost = round_to(cost, 0.01);
            set_fixed(f.category, category);
            set_fixed(f.description, description);
            car.fees.push_back(f);
        };
        for (int year = 0; year < o.years; ++year) {
            const std::int64_t y = start + static_cast<std::int64_t>(year) * 365 * 86400;
            add_fee(y + 5 * 86400, u"Insurance", u"Yearly premium", g.uniform(380, 900));
            add_fee(y + 40 * 86400, u"Road tax", u"Vehicle excise", g.uniform(120, 260));
            if (year % 2 == 1) add_fee(y + 100 * 86400, u"Inspection", u"Roadworthiness test", 55);
        }
        for (std::int64_t t = start + 3 * 86400; t < end; t += 9 * 86400 + g.pick(12) * 86400) {
            if (g.chance(0.7))
                add_fee(t + g.pick(8) * 3600, u"Parking", u"City centre", g.uniform(1.5, 18));
            else
                add_fee(t + g.pick(8) * 3600, u"Toll", u"Motorway", g.uniform(3, 25));
        }
        std::stable_sort(car.fees.begin(), car.fees.end(),
                         [](const auto& a, const auto& b) { return date_of(a) < date_of(b); });
        vehicles_.push_back(std::move(car));
    }

    // A holiday of the first vehicle, a year of the first two, a mileage stretch.
    auto trip = [&](std::u16string_view description) -> trip_store::record_type& {
        trips_.emplace_back();
        set_fixed(trips_.back().trip_description, description);
        return trips_.back();
    };
    const local_time last = from_local_seconds(end - 365 * 86400);
    {
        auto& t = trip(u"Summer holiday " + format("%d", last.year));
        t.use_start_date = t.use_end_date = 1;
        t.start_year = t.end_year = last.year;
        t.start_month = 7, t.start_day = 1, t.end_month = 8, t.end_day = 15;
        set_fixed(t.trip_vehicles[0], vehicles_[0].name);
    }
    {
        auto& t = trip(format("%d", last.year) + u" all year");
        t.use_start_date = t.use_end_date = 1;
        t.start_year = t.end_year = last.year;
        t.start_month = 1, t.start_day = 1, t.end_month = 12, t.end_day = 31;
        for (std::size_t v = 0; v < vehicles_.size() && v < 2; ++v)
            set_fixed(t.trip_vehicles[v], vehicles_[v].name);
    }
    {
        const double from = kinds[0].initial_mileage + 10000;
        auto& t = trip(vehicles_[0].name + u" " + format("%.f-%.f", from, from + 5000));
        t.use_start_mileage = t.use_end_mileage = 1;
        t.start_mileage = from;
        t.end_mileage = from + 5000;
        set_fixed(t.trip_vehicles[0], vehicles_[0].name);
    }
}

bool sample_data::install(configuration& config, const stores& to, trip_store& trip_store) const {
    const std::u16string folder = config.data_folder();
    for (const auto& car : vehicles_) {
        if (config.add_account(car.name) != account_change::done) return false;
        // A new account has no files yet; one that cannot be read is never written over.
        if (to.fuel->load(folder, car.name, false) == load_result::damaged) return false;
        fuel_header& h = to.fuel->header();
        h.tank_capacity = car.settings.tank_capacity;
        h.initial_mileage = car.settings.initial_mileage;
        h.current_mileage = car.settings.current_mileage;
        h.economy_mode = car.settings.economy_mode;
        h.last_unit_price = car.settings.last_unit_price;
        std::copy(std::begin(car.settings.mileage_unit), std::end(car.settings.mileage_unit),
                  h.mileage_unit);
        std::copy(std::begin(car.settings.fuel_unit), std::end(car.settings.fuel_unit),
                  h.fuel_unit);
        std::copy(std::begin(car.settings.currency), std::end(car.settings.currency), h.currency);
        std::copy(std::begin(car.settings.last_fuel_type), std::end(car.settings.last_fuel_type),
                  h.last_fuel_type);
        h.account_year = car.settings.account_year;
        h.account_month = car.settings.account_month;
        h.account_day = car.settings.account_day;
        if (!to.fuel->add_all(car.fuel)) return false;
        if (to.service->load(folder, car.name, false) == load_result::damaged ||
            !to.service->add_all(car.services))
            return false;
        if (to.fees->load(folder, car.name, false) == load_result::damaged ||
            !to.fees->add_all(car.fees))
            return false;
    }
    // Everything is written already: the stores owe nothing.
    if (!to.fuel->reset() || !to.service->reset() || !to.fees->reset()) return false;
    for (const auto& t : trips_) {
        const add_result added = trip_store.add_record(t);
        if (!added.added() || added.write_failed) return false;
    }
    if (vehicles_.empty()) return true;
    const account_opening opening = config.open_account(vehicles_.front().name);
    return !opening.damaged_file && !opening.not_saved;
}

std::vector<fuel_store::record_type> sample_data::fuel_series(std::size_t count, unsigned seed,
                                                              const local_time& start,
                                                              std::int64_t step_seconds) {
    generator g(seed);
    vehicle_kind k = kinds[0];
    // Fill-ups at a fixed pace: the drive between them is what the tank allows.
    k.daily_distance = 1e9;
    const std::int64_t from = to_local_seconds(start);
    auto out = g.fill_ups(k, from, INT64_MAX / 2, count);
    for (std::size_t i = 0; i < out.size(); ++i)
        set_date(out[i], from + static_cast<std::int64_t>(i + 1) * step_seconds);
    return out;
}

}  // namespace kelvane
