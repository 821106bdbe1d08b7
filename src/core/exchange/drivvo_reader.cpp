// Drivvo's export: sections "#Vehicle", "#Refueling", "#Expense",
// "#Service" (and "#Income"), every physical line padded with commas to the
// same width, even the lines inside a quoted note. The odometer's unit is
// named by the vehicle and the headers; the volume unit in the headers does
// not follow the owner's setting, so the volume unit comes from the owner.
#include "core/common/text.h"
#include "core/common/translate.h"
#include "core/exchange/peer_reading.h"

namespace kelvane {

namespace {

distance_unit distance_in(std::u16string_view text) {
    if (text.find(u"(km)") != std::u16string_view::npos) return distance_unit::kilometres;
    if (text.find(u"(mi)") != std::u16string_view::npos) return distance_unit::miles;
    return distance_unit::unknown;
}

// A note's lines without the padding commas each line was given.
std::u16string unpadded(std::u16string_view text) {
    std::u16string out;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find(u'\n', start), text.size());
        std::u16string_view line = text.substr(start, end - start);
        while (!line.empty() && line.back() == u',') line.remove_suffix(1);
        if (!out.empty()) out += u' ';
        out += line;
        start = end + 1;
    }
    return trimmed(out);
}

int odometer_column(const peer_table* t) {
    return t ? t->column_starting(u"Odometer") : -1;
}

}  // namespace

void read_drivvo(const std::vector<csv_record>& records, peer_reader& reader) {
    std::vector<peer_section> sections =
        split_sections(records, {u"#Vehicle", u"#Refueling", u"#Expense", u"#Service", u"#Income",
                                 u"#Route", u"#Checklist", u"#Reminder"});
    peer_table* vehicle = find_section(sections, u"#Vehicle");
    peer_table* fuel = find_section(sections, u"#Refueling");
    peer_table* expenses = find_section(sections, u"#Expense");
    peer_table* services = find_section(sections, u"#Service");
    peer_table* income = find_section(sections, u"#Income");

    const auto col = [](const peer_table* t, std::initializer_list<std::u16string_view> n) {
        return t ? t->column(n) : -1;
    };
    if (!reader.keep_one_vehicle({{fuel, col(fuel, {u"Vehicle Name"})},
                                  {expenses, col(expenses, {u"Vehicle Name"})},
                                  {services, col(services, {u"Vehicle Name"})},
                                  {income, col(income, {u"Vehicle Name"})}}))
        return;

    source_units units;
    if (vehicle && !vehicle->rows.empty())
        units.distance =
            distance_in(peer_table::cell(vehicle->rows.front(), odometer_column(vehicle)));
    for (const peer_table* t : {fuel, expenses, services})
        if (units.distance == distance_unit::unknown && t && odometer_column(t) >= 0)
            units.distance = distance_in(t->names[static_cast<std::size_t>(odometer_column(t))]);
    reader.settle_units(units);

    const int f_odo = odometer_column(fuel), f_date = col(fuel, {u"Date"});
    const int f_type = col(fuel, {u"Fuel"}), f_price = col(fuel, {u"Price / gal", u"Price / L"});
    const int f_total = col(fuel, {u"Total cost"}), f_volume = col(fuel, {u"Volume"});
    const int f_full = col(fuel, {u"Filled tank completely"});
    const int f_volume2 = col(fuel, {u"Second fuel"}) >= 0 ? col(fuel, {u"Second fuel"}) + 3 : -1;
    const int f_station = col(fuel, {u"Gas station"}), f_notes = col(fuel, {u"Notes"});
    const int e_odo = odometer_column(expenses), e_date = col(expenses, {u"Date"});
    const int e_total = col(expenses, {u"Total cost"}),
              e_type = col(expenses, {u"Type of expense"});
    const int e_place = col(expenses, {u"Expense location"}), e_notes = col(expenses, {u"Notes"});
    const int s_odo = odometer_column(services), s_date = col(services, {u"Date"});
    const int s_total = col(services, {u"Total cost"}),
              s_type = col(services, {u"Type of service"});
    const int s_place = col(services, {u"Service location"}), s_notes = col(services, {u"Notes"});

    if (fuel) reader.note_numbers(*fuel, {f_odo, f_price, f_total, f_volume});
    if (expenses) reader.note_numbers(*expenses, {e_odo, e_total});
    if (services) reader.note_numbers(*services, {s_odo, s_total});
    reader.settle_decimal_mark();
    for (const auto& [t, c] : {std::pair{fuel, f_date}, {expenses, e_date}, {services, s_date}})
        if (t)
            for (const csv_record& r : t->rows) reader.note_date_text(peer_table::cell(r, c));
    if (!reader.settle_date_order()) return;

    // The details every section has and no record of ours keeps.
    const auto others = [&](const peer_table& t, const csv_record& r) {
        for (std::u16string_view name : {u"Driver", u"Payment method", u"Reason"})
            reader.not_carried_if(detail_kind::other, r, t.column({name}));
    };

    if (fuel) {
        for (const csv_record& r : fuel->rows) {
            peer_fill f;
            double odometer = 0, price = 0, total = 0, quantity = 0, second = 0;
            if (!reader.date(r, peer_table::cell(r, f_date), {}, f.record) ||
                !reader.number(r, f_odo, odometer) || !reader.number(r, f_price, price) ||
                !reader.number(r, f_total, total) || !reader.number(r, f_volume, quantity) ||
                !reader.number(r, f_volume2, second))
                return;
            f.record.mileage = reader.distance(odometer);
            reader.price_fill(f, quantity, total, price);
            f.partial = f_full >= 0 && !peer_reader::flag(peer_table::cell(r, f_full));
            reader.put_text(f.record.fuel_type, peer_table::cell(r, f_type));
            reader.put_text(f.record.note, unpadded(peer_table::cell(r, f_notes)));
            // A second or third fuel bought at the same stop (a bi-fuel
            // vehicle) has no place beside the first.
            if (second > 0) reader.not_carried(detail_kind::other);
            reader.not_carried_if(detail_kind::location, r, f_station);
            others(*fuel, r);
            reader.add_fill(f);
        }
    }
    if (expenses) {
        for (const csv_record& r : expenses->rows) {
            fee_record e{};
            double odometer = 0;
            if (!reader.date(r, peer_table::cell(r, e_date), {}, e) ||
                !reader.number(r, e_odo, odometer) || !reader.number(r, e_total, e.cost))
                return;
            e.mileage = reader.distance(odometer);
            reader.put_text(e.category, peer_table::cell(r, e_type));
            reader.put_text(e.description, unpadded(peer_table::cell(r, e_notes)));
            reader.not_carried_if(detail_kind::location, r, e_place);
            others(*expenses, r);
            reader.add_fee(e);
        }
    }
    if (services) {
        for (const csv_record& r : services->rows) {
            service_record j{};
            double odometer = 0;
            if (!reader.date(r, peer_table::cell(r, s_date), {}, j) ||
                !reader.number(r, s_odo, odometer) || !reader.number(r, s_total, j.cost))
                return;
            j.mileage = reader.distance(odometer);
            reader.put_text(j.description, joined({peer_table::cell(r, s_type),
                                                   unpadded(peer_table::cell(r, s_notes))}));
            reader.not_carried_if(detail_kind::location, r, s_place);
            others(*services, r);
            reader.add_job(j);
        }
    }
    if (income)
        for (std::size_t i = 0; i < income->rows.size(); ++i) reader.count_income();
}

}  // namespace kelvane
