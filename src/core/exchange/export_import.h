#pragma once
// Export of the open account's records to a comma-separated file for a
// desktop spreadsheet, and import of such a file back into the open account.
// One file holds all three record kinds in one column layout; the "Item"
// column tells them apart. The screens ask for the path; these operations do
// the file work and report the problems that belong to it.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "core/exchange/peer_import.h"
#include "core/stores/fee_store.h"
#include "core/stores/fuel_store.h"
#include "core/stores/service_store.h"
#include "core/stores/trip_store.h"

namespace kelvane {

// What an import did.
struct [[nodiscard]] import_summary {
    bool read = false;  // the file was opened and read
    int fuel = 0;       // records added to each store
    int service = 0;
    int fees = 0;
    // Lines left out: those whose item names no record kind (other than the
    // header line and empty lines) and those of a known kind whose date is
    // not a real calendar date.
    int skipped = 0;
    // Nothing was added: the files could not take the records (the owner
    // was told).
    bool write_failed = false;
    bool too_many = false;  // refused: a file would pass the most records it may hold

    import_format format = import_format::kelvane;  // the layout found
    // Not read, and why (nothing was added); the front end tells the owner
    // and, for dates and vehicles, offers the choice.
    import_refusal refusal = import_refusal::none;
    std::u16string why;
    std::vector<std::u16string> choices;
    // What another tracker's file held besides the records added.
    int partial_fills = 0;
    int missed_fills = 0;
    int income_rows = 0;
    int not_carried[detail_kind_count] = {};
    source_units units;
    units_source units_from = units_source::file;
};

// The lines that tell the owner what an import found and did, translated:
// the layout, the records added, and what the file held that was not.
std::u16string import_report(const import_summary& summary);
// The part of it beyond the layout and the counts: what another tracker's
// file held that was not added as it stood, and the units it was read in.
std::u16string import_details(const import_summary& summary);

// Told after an import that left lines out; "%d" stands for their number.
inline constexpr char16_t msg_import_lines_left_out[] =
    u"%d lines of the file were left out: they name no kind of record, or their date is no "
    u"real day.";
// The message above for a number of lines, translated.
std::u16string lines_left_out_text(int lines);

// The records an import adds, each kind in the order read.
struct imported_records {
    std::vector<fuel_record> fuel;
    std::vector<service_record> service;
    std::vector<fee_record> fees;
};

// Adds the records to the open account's three stores, all of them or none:
// the three files are written whole beside the data folder's and replace
// them in one step, so that an import failing or cut off at any point adds
// nothing (and the same import can be run again). Refused before anything
// is written when a file would pass the most records it may hold. The
// stores' pending changes go into the files with the records. Every
// importer (this program's own layout and those of other programs) ends
// here.
import_summary add_imported_records(fuel_store& fuel, service_store& service, fee_store& fees,
                                    const imported_records& records);

class export_import {
public:
    export_import(fuel_store& fuel, service_store& service, fee_store& fees)
        : fuel_(fuel), service_(service), fees_(fees) {}

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

    // Adds the records of a file: our own layout adds a record for every
    // line whose item names a record kind; another tracker's export is read
    // whole first, and nothing is added when any of it cannot be read.
    // Lines may end in CR LF, LF or CR; the file may be UTF-8 (with or without
    // a byte-order mark) or, failing that, Windows-1252.
    import_summary import_file(std::u16string_view path, const import_options& options = {});
    // Processes one line of an import file (no line end) into the stores.
    void import_line(std::u16string_view line, import_summary& summary);
    // Reads one line into the records it adds; skipped counts a line left out.
    void read_line(std::u16string_view line, imported_records& out, int& skipped);

private:
    // Adds another tracker's records, all or none, with what else its file held.
    // The records move into the stores' copies instead of being copied.
    import_summary add_peer_records(peer_records&& records);
    [[nodiscard]] bool write_export(std::u16string_view path, const selection_limits& limits);
    // The item texts of the four record kinds in the language in force.
    void translate_items();

    std::array<std::u16string, 4> items_;
    std::u16string header_item_;
    bool items_translated_ = false;

    fuel_store& fuel_;
    service_store& service_;
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
