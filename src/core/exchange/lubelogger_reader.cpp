// LubeLogger exports one kind of record per file: fuel, service (the same
// layout serves its repairs and upgrades) or tax. Its files name no units
// and write dates in the server's own short form; the importer of that
// program takes a few other names for the same columns, and so do we.
#include "core/common/text.h"
#include "core/common/translate.h"
#include "core/exchange/peer_reading.h"

namespace kelvane {

namespace {

struct columns {
    int date, day, month, year, odometer, fuel, cost, price, full, partial, missed, description,
        notes, tags;
};

columns find_columns(const peer_table& t) {
    columns c{};
    c.date = t.column({u"Date", u"fuelup_date"});
    c.day = t.column({u"day"});
    c.month = t.column({u"month"});
    c.year = t.column({u"year"});
    c.odometer = t.column({u"Odometer", u"odo"});
    c.fuel = t.column(
        {u"FuelConsumed", u"gallons", u"liters", u"litres", u"consumption", u"quantity", u"qty"});
    c.cost = t.column({u"Cost", u"total cost", u"totalcost", u"total price"});
    c.price = t.column({u"price"});
    c.full = t.column({u"IsFillToFull"});
    c.partial = t.column({u"partial_fuelup", u"partial tank", u"partial_fill"});
    c.missed = t.column({u"MissedFuelUp", u"missed_fuelup", u"missed fill up"});
    c.description = t.column({u"Description"});
    c.notes = t.column({u"Notes"});
    c.tags = t.column({u"Tags"});
    return c;
}

}  // namespace

void read_lubelogger(const std::vector<csv_record>& records, peer_reader& reader) {
    const peer_table t = whole_table(records);
    const columns c = find_columns(t);
    const bool fuel = c.fuel >= 0;
    const bool service = !fuel && c.odometer >= 0;
    if (c.date < 0 && (c.day < 0 || c.month < 0 || c.year < 0))
        return void(
            reader.refuse(import_refusal::unknown_layout, tr(u"The file has no date column.")));
    reader.settle_units({});
    reader.note_numbers(t, {c.odometer, c.fuel, c.cost, c.price});
    reader.settle_decimal_mark();
    for (const csv_record& r : t.rows) reader.note_date_text(peer_table::cell(r, c.date));
    if (!reader.settle_date_order()) return;

    // Extra fields the owner defined follow as extrafield_<name> columns.
    std::vector<int> extra;
    for (std::size_t i = 0; i < t.names.size(); ++i)
        if (t.names[i].starts_with(u"extrafield_")) extra.push_back(static_cast<int>(i));

    for (const csv_record& r : t.rows) {
        dated_record_prefix when{};
        const std::u16string date_text =
            c.date >= 0 ? std::u16string(peer_table::cell(r, c.date))
                        : std::u16string(peer_table::cell(r, c.year)) + u"-" +
                              std::u16string(peer_table::cell(r, c.month)) + u"-" +
                              std::u16string(peer_table::cell(r, c.day));
        double odometer = 0, cost = 0;
        if (!reader.date(r, date_text, {}, when) || !reader.number(r, c.odometer, odometer) ||
            !reader.number(r, c.cost, cost))
            return;
        when.mileage = reader.distance(odometer);
        reader.not_carried_if(detail_kind::tag, r, c.tags);
        for (int e : extra) reader.not_carried_if(detail_kind::other, r, e);

        if (fuel) {
            double quantity = 0, price = 0;
            if (!reader.number(r, c.fuel, quantity) || !reader.number(r, c.price, price)) return;
            peer_fill f;
            static_cast<dated_record_prefix&>(f.record) = when;
            reader.price_fill(f, quantity, cost, price);
            f.partial = c.full >= 0 ? !peer_reader::flag(peer_table::cell(r, c.full))
                                    : peer_reader::flag(peer_table::cell(r, c.partial));
            f.missed = peer_reader::flag(peer_table::cell(r, c.missed));
            reader.put_text(f.record.note, peer_table::cell(r, c.notes));
            reader.add_fill(f);
        } else if (service) {
            service_record j{};
            static_cast<dated_record_prefix&>(j) = when;
            j.cost = cost;
            reader.put_text(j.description, joined({peer_table::cell(r, c.description),
                                                   peer_table::cell(r, c.notes)}));
            reader.add_job(j);
        } else {
            fee_record f{};
            static_cast<dated_record_prefix&>(f) = when;
            f.cost = cost;
            set_fixed(f.category, u"Road Tax");
            reader.put_text(f.description, joined({peer_table::cell(r, c.description),
                                                   peer_table::cell(r, c.notes)}));
            reader.add_fee(f);
        }
    }
}

}  // namespace kelvane
