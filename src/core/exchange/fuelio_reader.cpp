// Fuelio's backup file: one vehicle, in sections that each start with a
// marker line ("## Log") and a header. The vehicle section gives the units
// as codes and the date form the owner chose; the log's header names carry
// the units too, for files that lack the vehicle section.
#include <map>

#include "core/common/text.h"
#include "core/common/translate.h"
#include "core/exchange/peer_reading.h"

namespace kelvane {

namespace {

source_units vehicle_units(const peer_table* vehicle, const peer_table* log) {
    source_units u;
    if (vehicle && !vehicle->rows.empty()) {
        const csv_record& v = vehicle->rows.front();
        const std::u16string dist = trimmed(peer_table::cell(v, vehicle->column({u"DistUnit"})));
        const std::u16string fuel = trimmed(peer_table::cell(v, vehicle->column({u"FuelUnit"})));
        if (dist == u"0") u.distance = distance_unit::kilometres;
        if (dist == u"1") u.distance = distance_unit::miles;
        if (fuel == u"0") u.volume = volume_unit::litres;
        if (fuel == u"1") u.volume = volume_unit::us_gallons;
        if (fuel == u"2") u.volume = volume_unit::uk_gallons;
    }
    if (log) {
        if (u.distance == distance_unit::unknown) {
            if (log->column_starting(u"Odo (km") >= 0) u.distance = distance_unit::kilometres;
            if (log->column_starting(u"Odo (mi") >= 0) u.distance = distance_unit::miles;
        }
        if (u.volume == volume_unit::unknown) {
            if (log->column_starting(u"Fuel (lit") >= 0) u.volume = volume_unit::litres;
            if (log->column_starting(u"Fuel (us") >= 0) u.volume = volume_unit::us_gallons;
            if (log->column_starting(u"Fuel (imp") >= 0 || log->column_starting(u"Fuel (uk") >= 0)
                u.volume = volume_unit::uk_gallons;
        }
    }
    return u;
}

enum class cost_kind { maintenance, repair, fee };

// Which record a cost category becomes: work on the vehicle by its name,
// everything else a fee of that category.
cost_kind kind_of(std::u16string_view category) {
    std::u16string lower;
    for (char16_t c : category) lower += fold_case(c);
    if (lower.find(u"repair") != std::u16string::npos) return cost_kind::repair;
    for (std::u16string_view work : {u"service", u"maint", u"oil", u"tire", u"tyre", u"tuning"})
        if (lower.find(work) != std::u16string::npos) return cost_kind::maintenance;
    return cost_kind::fee;
}

}  // namespace

void read_fuelio(const std::vector<csv_record>& records, peer_reader& reader) {
    std::vector<peer_section> sections =
        split_sections(records, {u"## Vehicle", u"## Log", u"## CostCategories", u"## Costs",
                                 u"## FavStations", u"## Category", u"## TripLog", u"## Trips"});
    const peer_table* vehicle = find_section(sections, u"## Vehicle");
    const peer_table* log = find_section(sections, u"## Log");
    const peer_table* categories = find_section(sections, u"## CostCategories");
    const peer_table* costs = find_section(sections, u"## Costs");
    reader.settle_units(vehicle_units(vehicle, log));

    std::optional<date_parts> declared;
    if (vehicle && !vehicle->rows.empty()) {
        const csv_record& v = vehicle->rows.front();
        declared =
            date_pattern_order(peer_table::cell(v, vehicle->column({u"ImportCSVDateFormat"})));
    }

    // Columns of the log and the costs.
    const auto col = [](const peer_table* t, std::initializer_list<std::u16string_view> n) {
        return t ? t->column(n) : -1;
    };
    const auto starting = [](const peer_table* t, std::u16string_view s) {
        return t ? t->column_starting(s) : -1;
    };
    const int l_date = col(log, {u"Data", u"Date"}), l_odo = starting(log, u"Odo");
    const int l_fuel = starting(log, u"Fuel ("), l_full = col(log, {u"Full"});
    const int l_price = starting(log, u"Price"), l_unit = col(log, {u"VolumePrice"});
    const int l_lat = starting(log, u"latitude"), l_city = starting(log, u"City");
    const int l_notes = starting(log, u"Notes"), l_missed = col(log, {u"Missed"});
    const int c_title = col(costs, {u"CostTitle"}), c_date = col(costs, {u"Date"});
    const int c_odo = col(costs, {u"Odo"}), c_type = col(costs, {u"CostTypeID"});
    const int c_notes = col(costs, {u"Notes"}), c_cost = col(costs, {u"Cost"});
    const int c_remind = col(costs, {u"RemindOdo"}), c_income = col(costs, {u"isIncome"});

    if (log) reader.note_numbers(*log, {l_odo, l_fuel, l_price, l_unit});
    if (costs) reader.note_numbers(*costs, {c_odo, c_cost, c_remind});
    reader.settle_decimal_mark();
    if (log)
        for (const csv_record& r : log->rows) reader.note_date_text(peer_table::cell(r, l_date));
    if (costs)
        for (const csv_record& r : costs->rows) reader.note_date_text(peer_table::cell(r, c_date));
    if (!reader.settle_date_order(declared)) return;
    if (vehicle && !vehicle->rows.empty()) {
        double tank = 0;
        if (!reader.number(vehicle->rows.front(), vehicle->column({u"Tank1Capacity"}), tank))
            return;
        reader.file_tank(tank);
    }

    if (log) {
        for (const csv_record& r : log->rows) {
            peer_fill f;
            double odometer = 0, quantity = 0, cost = 0, unit_price = 0;
            if (!reader.date(r, peer_table::cell(r, l_date), {}, f.record) ||
                !reader.number(r, l_odo, odometer) || !reader.number(r, l_fuel, quantity) ||
                !reader.number(r, l_price, cost) || !reader.number(r, l_unit, unit_price))
                return;
            f.record.mileage = reader.distance(odometer);
            reader.price_fill(f, quantity, cost, unit_price);
            f.partial = l_full >= 0 && !peer_reader::flag(peer_table::cell(r, l_full));
            f.missed = peer_reader::flag(peer_table::cell(r, l_missed));
            reader.put_text(f.record.note, peer_table::cell(r, l_notes));
            const std::u16string lat = trimmed(peer_table::cell(r, l_lat));
            if ((!lat.empty() && lat != u"0" && lat != u"0.0") ||
                !trimmed(peer_table::cell(r, l_city)).empty())
                reader.not_carried(detail_kind::location);
            reader.add_fill(f);
        }
    }

    std::map<std::u16string, std::u16string> category_names;
    if (categories)
        for (const csv_record& r : categories->rows)
            category_names[trimmed(peer_table::cell(r, categories->column({u"CostTypeID"})))] =
                trimmed(peer_table::cell(r, categories->column({u"Name"})));
    if (!costs) return;
    for (const csv_record& r : costs->rows) {
        if (peer_reader::flag(peer_table::cell(r, c_income))) {
            reader.count_income();
            continue;
        }
        dated_record_prefix when{};
        double odometer = 0, cost = 0, remind = 0;
        if (!reader.date(r, peer_table::cell(r, c_date), {}, when) ||
            !reader.number(r, c_odo, odometer) || !reader.number(r, c_cost, cost) ||
            !reader.number(r, c_remind, remind))
            return;
        when.mileage = reader.distance(odometer);
        const std::u16string type = trimmed(peer_table::cell(r, c_type));
        const auto named = category_names.find(type);
        const std::u16string category = named != category_names.end() ? named->second : type;
        const std::u16string text =
            joined({peer_table::cell(r, c_title), peer_table::cell(r, c_notes)});
        const cost_kind kind = kind_of(category);
        if (kind == cost_kind::fee) {
            fee_record f{};
            static_cast<dated_record_prefix&>(f) = when;
            f.cost = cost;
            reader.put_text(f.category, category);
            reader.put_text(f.description, text);
            reader.add_fee(f);
        } else {
            service_record j{};
            static_cast<dated_record_prefix&>(j) = when;
            j.cost = cost;
            j.repair_flag = kind == cost_kind::repair ? 1 : 0;
            if (kind == cost_kind::maintenance && remind > 0)
                j.next_service_mileage = reader.distance(remind);
            reader.put_text(j.description, text.empty() ? category : text);
            reader.add_job(j);
        }
    }
}

}  // namespace kelvane
