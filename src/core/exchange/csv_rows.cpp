#include "core/exchange/csv_rows.h"

#include <utility>

#include "core/common/date_text.h"
#include "core/common/number_text.h"
#include "core/common/text.h"
#include "core/common/translate.h"
#include "platform/services.h"

namespace kelvane {

namespace {

// Appends one quoted cell of UTF-8 text, its quotes doubled. Runs of ASCII
// (most of what owners type) go in whole, other characters one by one.
void add_text_cell(std::string& out, std::u16string_view text) {
    char run[64];
    std::size_t n = 0;
    run[n++] = '"';
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c < 0x80) {
            if (n + 2 > sizeof run) out.append(run, std::exchange(n, 0));
            run[n++] = static_cast<char>(c);
            if (c == u'"') run[n++] = '"';
            continue;
        }
        out.append(run, std::exchange(n, 0));
        // A surrogate pair is one character.
        std::size_t end = i + 1;
        if (c >= 0xD800 && c <= 0xDBFF && end < text.size() && text[end] >= 0xDC00 &&
            text[end] <= 0xDFFF)
            ++end;
        append_utf8(out, text.substr(i, end - i));
        i = end - 1;
    }
    if (n == sizeof run) out.append(run, std::exchange(n, 0));
    run[n++] = '"';
    out.append(run, n);
}

// True when a spreadsheet would read the text, after any apostrophes in
// front, as a formula.
bool formula_after_apostrophes(std::u16string_view text) {
    const std::size_t first = text.find_first_not_of(u'\'');
    return first != std::u16string_view::npos &&
           std::u16string_view(u"=+-@").find(text[first]) != std::u16string_view::npos;
}

// Appends the cell of a text the owner typed. A text a spreadsheet would run
// as a formula (one starting with =, +, - or @) gets an apostrophe in front,
// which makes a spreadsheet show it as text; so that every text reads back
// as it was, one that already starts with apostrophes before such a
// character gets one more (imported_text takes one away).
void add_owner_text_cell(std::string& out, std::u16string_view text) {
    if (formula_after_apostrophes(text))
        add_text_cell(out, u"'" + std::u16string(text));
    else
        add_text_cell(out, text);
}

// Appends one quoted cell holding a number with `decimals` decimals.
void add_number_cell(std::string& out, double v, int decimals) {
    out += '"';
    append_decimal(out, v, decimals);
    out += '"';
}

// The cells every record kind starts with: the date with a four-digit year,
// the mileage, the translated item, the description and the amount.
void add_first_cells(std::string& out, const dated_record_prefix& r, int mileage_decimals,
                     const std::string& item, std::u16string_view description, double amount,
                     std::uint16_t language) {
    out += '"';
    append_date(out, language, r.year, r.month, r.day, true);
    out += "\",";
    add_number_cell(out, r.mileage, mileage_decimals);
    out += ',';
    out += item;
    out += ',';
    add_owner_text_cell(out, description);
    out += ',';
    add_number_cell(out, amount, 2);
}

template <class Record>
std::u16string line_of(const Record& r) {
    std::string out;
    append_export_line(out, r, csv_item_cells::translated(), device().language_id());
    return from_utf8(out);
}

}  // namespace

csv_item_cells csv_item_cells::translated() {
    const auto cell = [](std::u16string_view key) {
        std::string out;
        add_text_cell(out, tr(key));
        return out;
    };
    return {cell(csv_item_fuel), cell(csv_item_repair), cell(csv_item_maintenance),
            cell(csv_item_fees)};
}

std::u16string csv_cell_text(std::u16string_view text) {
    std::u16string cell;
    cell.reserve(text.size());
    for (char16_t c : text) {
        cell += c;
        if (c == u'"') cell += u'"';
    }
    return cell;
}

std::u16string imported_text(std::u16string_view cell) {
    if (cell.starts_with(u'\'') && formula_after_apostrophes(cell)) cell.remove_prefix(1);
    return std::u16string(cell);
}

void append_export_line(std::string& out, const fuel_record& r, const csv_item_cells& items,
                        std::uint16_t language) {
    add_first_cells(out, r, 1, items.fuel, fixed_view(r.note), r.fuel_cost, language);
    out += ',';
    add_number_cell(out, r.unit_price, 3);
    out += ',';
    add_number_cell(out, r.fuel_purchased, 2);
    out += ',';
    add_number_cell(out, r.fuel_gauge, 2);
    out += ',';
    add_owner_text_cell(out, fixed_view(r.fuel_type));
    out += ",\"\",\"\"\r\n";
}

void append_export_line(std::string& out, const service_record& r, const csv_item_cells& items,
                        std::uint16_t language) {
    // A job's mileage is written without decimals, the others' with one.
    add_first_cells(out, r, 0, r.repair_flag != 0 ? items.repair : items.maintenance,
                    fixed_view(r.description), r.cost, language);
    out += ",\"\",\"\",\"\",\"\",\"\",";
    add_number_cell(out, r.next_service_mileage, 1);
    out += "\r\n";
}

void append_export_line(std::string& out, const fee_record& r, const csv_item_cells& items,
                        std::uint16_t language) {
    add_first_cells(out, r, 1, items.fees, fixed_view(r.description), r.cost, language);
    out += ",\"\",\"\",\"\",\"\",";
    add_owner_text_cell(out, fixed_view(r.category));
    out += ",\"\"\r\n";
}

std::u16string export_line(const fuel_record& r) {
    return line_of(r);
}

std::u16string export_line(const service_record& r) {
    return line_of(r);
}

std::u16string export_line(const fee_record& r) {
    return line_of(r);
}

}  // namespace kelvane
