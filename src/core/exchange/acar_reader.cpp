// aCar's full export: bare title lines ("Fill-Up Records") each followed by
// a quoted header and rows. The metadata section declares the date form;
// every fill-up and event row names its own distance and volume units, and
// numbers carry the phone's formatting ("106,421", "$79.78").
#include "core/common/text.h"
#include "core/common/translate.h"
#include "core/exchange/peer_reading.h"

namespace kelvane {

namespace {

distance_unit distance_of(std::u16string_view text) {
    const std::u16string t = trimmed(text);
    if (same_word(t, u"mi") || same_word(t, u"MILE") || same_word(t, u"miles"))
        return distance_unit::miles;
    if (same_word(t, u"km") || same_word(t, u"KILOMETER") || same_word(t, u"kilometers"))
        return distance_unit::kilometres;
    return distance_unit::unknown;
}

volume_unit volume_of(std::u16string_view text) {
    std::u16string t;
    for (char16_t c : trimmed(text)) t += fold_case(c);
    if (t == u"l" || t == u"liter" || t == u"litre" || t == u"liters") return volume_unit::litres;
    if (t.find(u"uk") != std::u16string::npos || t.find(u"imp") != std::u16string::npos)
        return volume_unit::uk_gallons;
    if (t.find(u"gal") != std::u16string::npos) return volume_unit::us_gallons;
    return volume_unit::unknown;
}

// One published header names a column twice for rows one value short: the
// second name is dropped so the columns after it line up.
void drop_doubled_name(peer_table& t) {
    if (t.rows.empty() || t.rows.front().cells.size() + 1 != t.names.size()) return;
    for (std::size_t i = 0; i < t.names.size(); ++i)
        for (std::size_t j = i + 1; j < t.names.size(); ++j)
            if (same_word(t.names[i], t.names[j])) {
                t.names.erase(t.names.begin() + static_cast<std::ptrdiff_t>(j));
                return;
            }
}

// Location columns: any one filled counts the row once.
void count_location(peer_reader& reader, const peer_table& t, const csv_record& r) {
    for (std::size_t i = 0; i < t.names.size(); ++i) {
        const std::u16string& n = t.names[i];
        if (!n.starts_with(u"Place") && !n.starts_with(u"Device") &&
            n != u"Fueling Station Address")
            continue;
        if (!trimmed(peer_table::cell(r, static_cast<int>(i))).empty()) {
            reader.not_carried(detail_kind::location);
            return;
        }
    }
}

}  // namespace

void read_acar(const std::vector<csv_record>& records, peer_reader& reader) {
    std::vector<peer_section> sections = split_sections(
        records, {u"Metadata", u"Vehicles", u"Fill-Up Records", u"Event Records", u"Trip Records"});
    peer_table* meta = find_section(sections, u"Metadata");
    peer_table* vehicles = find_section(sections, u"Vehicles");
    peer_table* fills = find_section(sections, u"Fill-Up Records");
    peer_table* events = find_section(sections, u"Event Records");
    peer_table* trips = find_section(sections, u"Trip Records");
    if (events) drop_doubled_name(*events);

    const int f_vehicle = fills ? fills->column({u"Vehicle"}) : -1;
    const int e_vehicle = events ? events->column({u"Vehicle"}) : -1;
    if (!reader.keep_one_vehicle({{fills, f_vehicle}, {events, e_vehicle}})) return;

    // The vehicle's own units stand for rows that name none.
    source_units units;
    double tank = 0;
    const csv_record* vehicle_row = nullptr;
    if (vehicles) {
        const int name = vehicles->column({u"Name"});
        for (const csv_record& r : vehicles->rows) {
            std::u16string wanted;
            if (fills && !fills->rows.empty())
                wanted = trimmed(peer_table::cell(fills->rows.front(), f_vehicle));
            else if (events && !events->rows.empty())
                wanted = trimmed(peer_table::cell(events->rows.front(), e_vehicle));
            if (vehicle_row == nullptr || trimmed(peer_table::cell(r, name)) == wanted)
                vehicle_row = &r;
        }
        if (vehicle_row) {
            units.distance =
                distance_of(peer_table::cell(*vehicle_row, vehicles->column({u"Distance Unit"})));
            units.volume =
                volume_of(peer_table::cell(*vehicle_row, vehicles->column({u"Volume Unit"})));
        }
    }
    reader.settle_units(units);

    std::optional<date_parts> declared;
    if (meta && !meta->rows.empty())
        declared = date_pattern_order(
            peer_table::cell(meta->rows.front(), meta->column({u"Date Format"})));

    const auto col = [](const peer_table* t, std::initializer_list<std::u16string_view> n) {
        return t ? t->column(n) : -1;
    };
    const int f_date = col(fills, {u"Date"}), f_time = col(fills, {u"Time"});
    const int f_odo = col(fills, {u"Odometer Reading"}), f_dist = col(fills, {u"Distance Unit"});
    const int f_volume = col(fills, {u"Volume"}), f_vunit = col(fills, {u"Volume Unit"});
    const int f_price = col(fills, {u"Price per Unit"}), f_total = col(fills, {u"Total Cost"});
    const int f_partial = col(fills, {u"Partial Fill-Up?"});
    const int f_missed = col(fills, {u"Previously Missed Fill-Ups?"});
    const int f_type = col(fills, {u"Fuel Type"}), f_tags = col(fills, {u"Tags"});
    const int f_notes = col(fills, {u"Notes"}), f_payment = col(fills, {u"Payment"});
    const int e_date = col(events, {u"Date"}), e_time = col(events, {u"Time"});
    const int e_odo = col(events, {u"Odometer Reading"}), e_dist = col(events, {u"Distance Unit"});
    const int e_type = col(events, {u"Type"}), e_subtypes = col(events, {u"Sub Types"});
    const int e_total = col(events, {u"Total Cost"}), e_tags = col(events, {u"Tags"});
    const int e_notes = col(events, {u"Notes"}), e_payment = col(events, {u"Payment"});

    if (fills) reader.note_numbers(*fills, {f_odo, f_volume, f_price, f_total});
    if (events) reader.note_numbers(*events, {e_odo, e_total});
    reader.settle_decimal_mark();
    if (fills)
        for (const csv_record& r : fills->rows) reader.note_date_text(peer_table::cell(r, f_date));
    if (events)
        for (const csv_record& r : events->rows) reader.note_date_text(peer_table::cell(r, e_date));
    if (!reader.settle_date_order(declared)) return;
    if (vehicle_row && vehicles) {
        if (!reader.number(*vehicle_row, vehicles->column({u"Fuel Tank Capacity"}), tank)) return;
        reader.file_tank(tank);
    }

    const auto row_distance = [&](const csv_record& r, int unit_column, double value) {
        const distance_unit u = distance_of(peer_table::cell(r, unit_column));
        return u == distance_unit::unknown ? reader.distance(value) : reader.distance(value, u);
    };

    if (fills) {
        for (const csv_record& r : fills->rows) {
            peer_fill f;
            double odometer = 0, quantity = 0, price = 0, total = 0;
            if (!reader.date(r, peer_table::cell(r, f_date), peer_table::cell(r, f_time),
                             f.record) ||
                !reader.number(r, f_odo, odometer) || !reader.number(r, f_volume, quantity) ||
                !reader.number(r, f_price, price) || !reader.number(r, f_total, total))
                return;
            f.record.mileage = row_distance(r, f_dist, odometer);
            // A row may name its own volume unit.
            volume_unit vu = volume_of(peer_table::cell(r, f_vunit));
            if (vu == volume_unit::unknown) vu = reader.units().volume;
            reader.price_fill(f, quantity, total, price, vu);
            f.partial = peer_reader::flag(peer_table::cell(r, f_partial));
            f.missed = peer_reader::flag(peer_table::cell(r, f_missed));
            reader.put_text(f.record.fuel_type, peer_table::cell(r, f_type));
            reader.put_text(f.record.note, peer_table::cell(r, f_notes));
            reader.not_carried_if(detail_kind::tag, r, f_tags);
            reader.not_carried_if(detail_kind::other, r, f_payment);
            count_location(reader, *fills, r);
            reader.add_fill(f);
        }
    }
    if (events) {
        for (const csv_record& r : events->rows) {
            dated_record_prefix when{};
            double odometer = 0, total = 0;
            if (!reader.date(r, peer_table::cell(r, e_date), peer_table::cell(r, e_time), when) ||
                !reader.number(r, e_odo, odometer) || !reader.number(r, e_total, total))
                return;
            when.mileage = row_distance(r, e_dist, odometer);
            reader.not_carried_if(detail_kind::tag, r, e_tags);
            reader.not_carried_if(detail_kind::other, r, e_payment);
            count_location(reader, *events, r);
            const std::u16string type = trimmed(peer_table::cell(r, e_type));
            const std::u16string subtypes = trimmed(peer_table::cell(r, e_subtypes));
            if (same_word(type, u"Income")) {
                reader.count_income();
            } else if (same_word(type, u"Service") || same_word(type, u"Repair")) {
                service_record j{};
                static_cast<dated_record_prefix&>(j) = when;
                j.cost = total;
                j.repair_flag = same_word(type, u"Repair") ? 1 : 0;
                reader.put_text(j.description, joined({subtypes, peer_table::cell(r, e_notes)}));
                reader.add_job(j);
            } else {
                fee_record f{};
                static_cast<dated_record_prefix&>(f) = when;
                f.cost = total;
                reader.put_text(f.category, subtypes.empty() ? type : subtypes);
                reader.put_text(f.description, peer_table::cell(r, e_notes));
                reader.add_fee(f);
            }
        }
    }
    // Trips have a store of their own here, built from dates and mileages of
    // the fill-ups; the file's trip log has no place in it.
    if (trips) reader.not_carried(detail_kind::other, static_cast<int>(trips->rows.size()));
}

}  // namespace kelvane
