// Simply Auto's backup file Fuel_Log.csv: fill-ups, services and expenses in
// one table told apart by "Record Type" (0, 1, 2). Nothing is quoted, so a
// comma in the last column, the record's description, spills into extra
// cells that belong back together. Dates come as day, month and year cells.
#include "core/common/text.h"
#include "core/common/translate.h"
#include "core/exchange/peer_reading.h"

namespace kelvane {

void read_simplyauto(const std::vector<csv_record>& records, peer_reader& reader) {
    peer_table t = whole_table(records);
    const int last = static_cast<int>(t.names.size()) - 1;
    const int desc = t.column({u"Record Desc"});
    if (desc == last && last >= 0) {
        for (csv_record& r : t.rows) {
            auto& cells = r.cells;
            if (cells.size() <= t.names.size()) continue;
            std::u16string whole;
            for (std::size_t i = static_cast<std::size_t>(last); i < cells.size(); ++i)
                whole += (i > static_cast<std::size_t>(last) ? u"," : u"") + cells[i];
            cells.resize(static_cast<std::size_t>(last));
            cells.push_back(std::move(whole));
        }
    }
    const int vehicle = t.column({u"Vehicle ID"}), odometer = t.column({u"Odometer"});
    const int quantity = t.column({u"Qty"}), partial = t.column({u"Partial Tank"});
    const int missed = t.column({u"Missed Previous Fill up"}), total = t.column({u"Total Cost"});
    const int notes = t.column({u"Notes"}), day = t.column({u"Day"}), month = t.column({u"Month"});
    const int year = t.column({u"Year"}), receipt = t.column({u"Receipt Path"});
    const int latitude = t.column({u"Latitude"}), station = t.column({u"Filling Station"});
    const int octane = t.column({u"Octane"}), brand = t.column({u"Fuel Brand"});
    const int type = t.column({u"Record Type"});
    if (day < 0 || month < 0 || year < 0)
        return void(
            reader.refuse(import_refusal::unknown_layout, tr(u"The file has no date column.")));
    if (!reader.keep_one_vehicle({{&t, vehicle}})) return;
    // The file names no units: they are the app's settings.
    reader.settle_units({});
    reader.note_numbers(t, {odometer, quantity, total});
    reader.settle_decimal_mark();
    if (!reader.settle_date_order()) return;

    for (const csv_record& r : t.rows) {
        dated_record_prefix when{};
        const std::u16string date = std::u16string(peer_table::cell(r, year)) + u"-" +
                                    std::u16string(peer_table::cell(r, month)) + u"-" +
                                    std::u16string(peer_table::cell(r, day));
        double mileage = 0, cost = 0;
        if (!reader.date(r, date, {}, when) || !reader.number(r, odometer, mileage) ||
            !reader.number(r, total, cost))
            return;
        when.mileage = reader.distance(mileage);
        reader.not_carried_if(detail_kind::photo, r, receipt);
        reader.not_carried_if(detail_kind::location, r, latitude);
        const std::u16string kind = trimmed(peer_table::cell(r, type));
        const std::u16string_view what = peer_table::cell(r, desc);
        if (kind == u"0" || kind.empty()) {
            peer_fill f;
            static_cast<dated_record_prefix&>(f.record) = when;
            double bought = 0;
            if (!reader.number(r, quantity, bought)) return;
            reader.price_fill(f, bought, cost, 0);
            f.partial = peer_reader::flag(peer_table::cell(r, partial));
            f.missed = peer_reader::flag(peer_table::cell(r, missed));
            reader.put_text(f.record.fuel_type, peer_table::cell(r, octane));
            reader.put_text(f.record.note, peer_table::cell(r, notes));
            reader.not_carried_if(detail_kind::location, r, station);
            reader.not_carried_if(detail_kind::other, r, brand);
            reader.add_fill(f);
        } else if (kind == u"1") {
            service_record j{};
            static_cast<dated_record_prefix&>(j) = when;
            j.cost = cost;
            reader.put_text(j.description, joined({what, peer_table::cell(r, notes)}));
            reader.add_job(j);
        } else if (kind == u"2") {
            fee_record f{};
            static_cast<dated_record_prefix&>(f) = when;
            f.cost = cost;
            reader.put_text(f.category, what);
            reader.put_text(f.description, peer_table::cell(r, notes));
            reader.add_fee(f);
        } else {
            reader.not_carried(detail_kind::other);  // a kind of record this file gained later
        }
    }
}

}  // namespace kelvane
