#include "core/exchange/csv_rows.h"

#include "core/common/date_text.h"
#include "core/common/text.h"
#include "core/common/translate.h"

namespace kelvane {

namespace {

// The cells of one line, empty until a record kind fills its own.
class csv_row {
public:
    csv_row& set(csv_column column, std::u16string text) {
        cells_[static_cast<std::size_t>(column)] = std::move(text);
        return *this;
    }
    std::u16string line() const {
        std::u16string out;
        for (std::size_t i = 0; i < cells_.size(); ++i) {
            out += i ? u",\"" : u"\"";
            out += csv_cell_text(cells_[i]);
            out += u'"';
        }
        return out + u"\r\n";
    }

private:
    std::array<std::u16string, csv_column_count> cells_;
};

// The cells every record kind fills: the date with a four-digit year, the
// translated item, the description and the amount.
csv_row common_cells(const dated_record_prefix& r, std::u16string_view item,
                     std::u16string description, double amount) {
    csv_row row;
    row.set(csv_column::date, long_date_text(r.year, r.month, r.day))
        .set(csv_column::item, tr(item))
        .set(csv_column::description, std::move(description))
        .set(csv_column::amount, format("%.2f", amount));
    return row;
}

}  // namespace

std::u16string csv_cell_text(std::u16string_view text) {
    std::u16string cell;
    cell.reserve(text.size());
    for (char16_t c : text) {
        cell += c;
        if (c == u'"') cell += u'"';
    }
    return cell;
}

namespace {

// True when a spreadsheet would read the text, after any apostrophes in
// front, as a formula.
bool formula_after_apostrophes(std::u16string_view text) {
    const std::size_t first = text.find_first_not_of(u'\'');
    return first != std::u16string_view::npos &&
           std::u16string_view(u"=+-@").find(text[first]) != std::u16string_view::npos;
}

}  // namespace

std::u16string exported_text(std::u16string_view text) {
    if (!formula_after_apostrophes(text)) return std::u16string(text);
    return u"'" + std::u16string(text);
}

std::u16string imported_text(std::u16string_view cell) {
    if (cell.starts_with(u'\'') && formula_after_apostrophes(cell)) cell.remove_prefix(1);
    return std::u16string(cell);
}

std::u16string export_line(const fuel_record& r) {
    return common_cells(r, csv_item_fuel, exported_text(fixed_text(r.note)), r.fuel_cost)
        .set(csv_column::mileage, format("%.1f", r.mileage))
        .set(csv_column::unit_price, format("%.3f", r.unit_price))
        .set(csv_column::fuel_purchased, format("%.2f", r.fuel_purchased))
        .set(csv_column::fuel_gauge, format("%.2f", r.fuel_gauge))
        .set(csv_column::fuel_type, exported_text(fixed_text(r.fuel_type)))
        .line();
}

std::u16string export_line(const service_record& r) {
    // A job's mileage is written without decimals, the others' with one.
    return common_cells(r, r.repair_flag != 0 ? csv_item_repair : csv_item_maintenance,
                        exported_text(fixed_text(r.description)), r.cost)
        .set(csv_column::mileage, format("%1.f", r.mileage))
        .set(csv_column::next_service, format("%.1f", r.next_service_mileage))
        .line();
}

std::u16string export_line(const fee_record& r) {
    return common_cells(r, csv_item_fees, exported_text(fixed_text(r.description)), r.cost)
        .set(csv_column::mileage, format("%.1f", r.mileage))
        .set(csv_column::category, exported_text(fixed_text(r.category)))
        .line();
}

}  // namespace kelvane
