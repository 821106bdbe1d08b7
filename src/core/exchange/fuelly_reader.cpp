// Fuelly's web export: one file of fuel-ups, one of services, one row per
// record and newest first. The fuel-ups' header names the owner's units
// (the distance column is "km" or "miles", the volume column "litres" or
// "gallons"); the price is per unit, and there is no total.
#include <algorithm>

#include "core/common/text.h"
#include "core/common/translate.h"
#include "core/exchange/peer_reading.h"

namespace kelvane {

namespace {

source_units header_units(const peer_table& t) {
    source_units u;
    if (t.column({u"km", u"kilometers", u"kilometres"}) >= 0)
        u.distance = distance_unit::kilometres;
    else if (t.column({u"miles", u"mi"}) >= 0)
        u.distance = distance_unit::miles;
    if (t.column({u"litres", u"liters", u"l"}) >= 0)
        u.volume = volume_unit::litres;
    else if (t.column({u"imperial gallons", u"imp gallons", u"imp_gallons", u"uk gallons"}) >= 0)
        u.volume = volume_unit::uk_gallons;
    else if (t.column({u"gallons", u"gal", u"us gallons"}) >= 0)
        u.volume = volume_unit::us_gallons;
    return u;
}

// "engine_oil,oil_filter" as the owner reads it: "engine oil, oil filter".
std::u16string readable_list(std::u16string_view text) {
    std::u16string out;
    for (char16_t ch : text) {
        if (ch == u'_')
            out += u' ';
        else if (ch == u',')
            out += u", ";
        else
            out += ch;
    }
    return trimmed(out);
}

void read_fuelups(peer_table& t, peer_reader& reader) {
    const int car = t.column({u"car_name"});
    const int odometer = t.column({u"odometer"});
    const int distance = t.column({u"km", u"kilometers", u"kilometres", u"miles", u"mi"});
    const int volume = t.column({u"litres", u"liters", u"l", u"imperial gallons", u"imp gallons",
                                 u"imp_gallons", u"uk gallons", u"gallons", u"gal", u"us gallons"});
    const int price = t.column({u"price"});
    const int date = t.column({u"fuelup_date"});
    const int tags = t.column({u"tags"}), notes = t.column({u"notes"});
    const int missed = t.column({u"missed_fuelup"}), partial = t.column({u"partial_fuelup"});
    const int latitude = t.column({u"latitude"}), brand = t.column({u"brand"});
    if (volume < 0)
        return void(reader.refuse(import_refusal::unknown_layout,
                                  tr(u"The file has no fuel quantity column.")));
    if (!reader.keep_one_vehicle({{&t, car}})) return;
    reader.settle_units(header_units(t));
    reader.note_numbers(t, {odometer, distance, volume, price});
    reader.settle_decimal_mark();
    for (const csv_record& r : t.rows) reader.note_date_text(peer_table::cell(r, date));
    if (!reader.settle_date_order()) return;

    // Owners who log trip distances alone leave the odometer empty: it is
    // then counted on from the fill-up before.
    struct row_values {
        peer_fill fill;
        double odometer, distance;
    };
    std::vector<row_values> rows;
    for (const csv_record& r : t.rows) {
        row_values v{};
        double quantity = 0, unit_price = 0;
        if (!reader.date(r, peer_table::cell(r, date), {}, v.fill.record) ||
            !reader.number(r, odometer, v.odometer) || !reader.number(r, distance, v.distance) ||
            !reader.number(r, volume, quantity) || !reader.number(r, price, unit_price))
            return;
        reader.price_fill(v.fill, quantity, 0, unit_price);
        v.fill.partial = peer_reader::flag(peer_table::cell(r, partial));
        v.fill.missed = peer_reader::flag(peer_table::cell(r, missed));
        reader.put_text(v.fill.record.note, peer_table::cell(r, notes));
        reader.not_carried_if(detail_kind::tag, r, tags);
        reader.not_carried_if(detail_kind::location, r, latitude);
        reader.not_carried_if(detail_kind::other, r, brand);
        rows.push_back(v);
    }
    std::stable_sort(rows.begin(), rows.end(), [](const row_values& a, const row_values& b) {
        const auto& x = a.fill.record;
        const auto& y = b.fill.record;
        return std::tie(x.year, x.month, x.day) < std::tie(y.year, y.month, y.day);
    });
    double last = 0;
    for (row_values& v : rows) {
        if (v.odometer <= 0 && v.distance > 0) v.odometer = last + v.distance;
        last = v.odometer;
        v.fill.record.mileage = reader.distance(v.odometer);
        reader.add_fill(v.fill);
    }
}

void read_services(peer_table& t, peer_reader& reader) {
    const int car = t.column({u"car_name"});
    const int odometer = t.column({u"odometer"}), price = t.column({u"price"});
    const int date = t.column({u"service_date"});
    const int tags = t.column({u"tags"}), notes = t.column({u"notes"});
    const int type = t.column({u"service_type"}), subtypes = t.column({u"sub_service_types"});
    const int latitude = t.column({u"latitude"});
    if (!reader.keep_one_vehicle({{&t, car}})) return;
    // The services file names no units: the owner says them, or the
    // account's are taken.
    reader.settle_units({});
    reader.note_numbers(t, {odometer, price});
    reader.settle_decimal_mark();
    for (const csv_record& r : t.rows) reader.note_date_text(peer_table::cell(r, date));
    if (!reader.settle_date_order()) return;
    for (const csv_record& r : t.rows) {
        dated_record_prefix when{};
        double mileage = 0, cost = 0;
        if (!reader.date(r, peer_table::cell(r, date), {}, when) ||
            !reader.number(r, odometer, mileage) || !reader.number(r, price, cost))
            return;
        when.mileage = reader.distance(mileage);
        reader.not_carried_if(detail_kind::tag, r, tags);
        reader.not_carried_if(detail_kind::location, r, latitude);
        const std::u16string kind = trimmed(peer_table::cell(r, type));
        const std::u16string what = readable_list(peer_table::cell(r, subtypes));
        if (same_word(kind, u"service") || kind.empty()) {
            service_record j{};
            static_cast<dated_record_prefix&>(j) = when;
            j.cost = cost;
            reader.put_text(j.description, joined({what, peer_table::cell(r, notes)}));
            reader.add_job(j);
        } else {
            // "expense" and "bought": costs of the vehicle that are no work on it.
            fee_record f{};
            static_cast<dated_record_prefix&>(f) = when;
            f.cost = cost;
            reader.put_text(f.category, what.empty() ? kind : what);
            reader.put_text(f.description, peer_table::cell(r, notes));
            reader.add_fee(f);
        }
    }
}

}  // namespace

void read_fuelly(const std::vector<csv_record>& records, peer_reader& reader) {
    peer_table t = whole_table(records);
    if (t.column({u"fuelup_date"}) >= 0)
        read_fuelups(t, reader);
    else
        read_services(t, reader);
}

}  // namespace kelvane
