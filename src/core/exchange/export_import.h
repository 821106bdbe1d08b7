#pragma once
// Export of the open account's records to a comma-separated file for a
// desktop spreadsheet, and import of such a file back into the open account.
// One file holds all three record kinds in one column layout; the "Item"
// column tells them apart. The screens ask for the path; these operations do
// the file work and show the owner the messages that belong to it.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "core/stores/fee_store.h"
#include "core/stores/fuel_store.h"
#include "core/stores/service_store.h"
#include "core/stores/trip_store.h"

namespace kelvane {

// What an import did.
struct [[nodiscard]] import_summary {
    bool read = false;  // the file was opened and read
    int fuel = 0;       // records added to each store
    int maintenance = 0;
    int fees = 0;
    int skipped = 0;  // lines of a known kind whose date is not a real calendar date
    // The records were added, but a store's file could not take them (the
    // owner was told); the store owes a full save, which writes them.
    bool write_failed = false;
};

class export_import {
public:
    export_import(fuel_store& fuel, service_store& maintenance, fee_store& fees)
        : fuel_(fuel), maintenance_(maintenance), fees_(fees) {}

    // "<data folder>Output\<name>.csv": the path offered for an export of an
    // account or a trip, and for an import.
    static std::u16string default_path(std::u16string_view data_folder, std::u16string_view name);
    // The first line of every export file, translated, with its line end.
    static std::u16string header_line();

    // Writes every record of the open account to the path (folders are made
    // first). Nothing is written when no account is open or the file cannot
    // be written; the owner is told why. True when the file was written.
    [[nodiscard]] bool export_account(std::u16string_view path);
    // Writes the open account's records that fall within the trip's limits,
    // in the same layout. True when the file was written.
    [[nodiscard]] bool export_trip(const trip_store::record_type& trip, std::u16string_view path);

    // Adds a record for every line of the file whose item names a record kind.
    // Lines may end in CR LF, LF or CR; the file may be UTF-8 (with or without
    // a byte-order mark) or, failing that, Windows-1252.
    import_summary import_file(std::u16string_view path);
    // Processes one line of an import file (no line end) into the stores.
    void import_line(std::u16string_view line, import_summary& summary);

private:
    [[nodiscard]] bool write_export(std::u16string_view path, const selection_limits& limits);
    // The item texts of the four record kinds in the language in force.
    void translate_items();

    std::array<std::u16string, 4> items_;
    bool items_translated_ = false;

    fuel_store& fuel_;
    service_store& maintenance_;
    fee_store& fees_;
};

// The cells of one line: split at commas; a cell in double quotes may hold
// commas, and a doubled double quote inside it stands for one quote.
std::vector<std::u16string> split_csv_line(std::u16string_view line);

// Reads a date cell as this device writes it: "/", "-" or "." between three
// numbers; a first part of three or more characters is the year (year, month,
// day), otherwise the parts follow the long date style of the language. False
// when the cell is not a real calendar date.
bool read_import_date(std::u16string_view cell, std::uint16_t language, int& year, int& month,
                      int& day);

// The lines of a whole file's text; CR LF, LF and CR all end a line, and a
// last line without a line end is kept.
std::vector<std::u16string_view> split_lines(std::u16string_view text);
// The same over a file's bytes, UTF-8 or Windows-1252, whose line ends are
// single bytes.
std::vector<std::string_view> split_lines(std::string_view text);

// The text of an import file's bytes: UTF-8 (a byte-order mark is dropped)
// when the bytes are valid UTF-8, else Windows-1252.
std::u16string decode_import_text(std::string_view bytes);

}  // namespace kelvane
