#pragma once
// The one column layout of the export file. All three record kinds share it:
// every line has the eleven cells, the "Item" cell tells the kinds apart and
// a kind leaves the cells it has nothing for empty. The row writers below
// and the import read the cells through the same table, so a column can only
// move for all of them at once.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "core/stores/fee_store.h"
#include "core/stores/fuel_store.h"
#include "core/stores/service_store.h"
#include "platform/file_system.h"
#include "platform/services.h"
#include "platform/text_encoding.h"

namespace kelvane {

enum class csv_column : std::size_t {
    date,
    mileage,
    item,
    description,
    amount,
    unit_price,      // fuel
    fuel_purchased,  // fuel
    fuel_gauge,      // fuel
    fuel_type,       // fuel
    category,        // fees
    next_service,    // repair and maintenance
};
inline constexpr std::size_t csv_column_count = 11;

// The header cell of each column as the language table knows it: each key
// carries its own quotes ("NextServier" is the handheld's own spelling).
inline constexpr std::array<std::u16string_view, csv_column_count> csv_header_keys = {
    u"\"Date\"",      u"\"Mileage\"",         u"\"Item\"",           u"\"Description\"",
    u"\"Amount\"",    u"\"Fuel Unit Price\"", u"\"Fuel Purchased\"", u"\"Fuel Gauge\"",
    u"\"Fuel Type\"", u"\"Category\"",        u"\"NextServier\"",
};

// The "Item" texts of the record kinds (keys of the language table).
inline constexpr char16_t csv_item_fuel[] = u"Fuel";
inline constexpr char16_t csv_item_repair[] = u"Repair";
inline constexpr char16_t csv_item_maintenance[] = u"Maintenance";
inline constexpr char16_t csv_item_fees[] = u"Fees";

// The text of one cell of the export file: a double quote inside is
// doubled, so that the cell reads back whole even with quotes and commas.
std::u16string csv_cell_text(std::u16string_view text);

// The "Item" cells of the four record kinds as the export writes them:
// translated, quoted, in UTF-8. Made once per file.
struct csv_item_cells {
    std::string fuel, repair, maintenance, fees;
    static csv_item_cells translated();
};

// Appends one line of the export file, with its line end, in UTF-8, with
// the dates in the order of the language.
void append_export_line(std::string& out, const fuel_record& r, const csv_item_cells& items,
                        std::uint16_t language);
void append_export_line(std::string& out, const service_record& r, const csv_item_cells& items,
                        std::uint16_t language);
void append_export_line(std::string& out, const fee_record& r, const csv_item_cells& items,
                        std::uint16_t language);

// The text of an owner's cell as typed: the apostrophe the export puts in
// front of a text a spreadsheet would run as a formula is taken away again.
std::u16string imported_text(std::u16string_view cell);

// One line of the export file, with its line end, for each record kind.
std::u16string export_line(const fuel_record& r);
std::u16string export_line(const service_record& r);
std::u16string export_line(const fee_record& r);

// Writes the lines of the store's current selection as UTF-8; false on a
// short write.
template <class Store>
[[nodiscard]] bool export_rows(Store& store, device_file& out) {
    const csv_item_cells items = csv_item_cells::translated();
    const std::uint16_t language = device().language_id();
    typename Store::record_type record;
    std::string bytes;
    while (store.next_selected(record)) {
        bytes.clear();
        append_export_line(bytes, record, items, language);
        if (out.write(bytes.data(), bytes.size()) != bytes.size()) return false;
    }
    return true;
}

}  // namespace kelvane
