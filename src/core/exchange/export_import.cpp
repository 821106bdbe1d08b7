#include "core/exchange/export_import.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <utility>

#include "core/accounts/configuration.h"
#include "core/accounts/staged_file_set.h"
#include "core/common/date_text.h"
#include "core/common/folders.h"
#include "core/common/messages.h"
#include "core/common/parse_number.h"
#include "core/common/problems.h"
#include "core/common/program_files.h"
#include "core/common/text.h"
#include "core/common/translate.h"
#include "core/exchange/csv_rows.h"
#include "platform/services.h"
#include "platform/text_encoding.h"

namespace kelvane {

namespace {

constexpr char16_t cant_find_file[] = u"Can't find file!";
constexpr char16_t msg_import_too_many[] =
    u"The import was refused: the vehicle would hold more records of one kind than a file can "
    u"take (1,000,000). Nothing was added.";

// Collects UTF-8 output and hands it to the writer in large pieces.
class chunked_output {
public:
    explicit chunked_output(atomic_file_writer& writer) : writer_(writer) {
        buffer_.reserve(piece_size + 4096);
    }
    void add(std::u16string_view text) {
        append_utf8(buffer_, text);
        if (buffer_.size() >= piece_size) flush();
    }
    // Appends the lines of the store's selection in the file's layout.
    template <class Store>
    void add_selected_lines(Store& store, const selection_limits& limits,
                            const csv_item_cells& items, std::uint16_t language) {
        store.select_records(limits);
        while (const auto* record = store.next_selected()) {
            append_export_line(buffer_, *record, items, language);
            if (buffer_.size() >= piece_size) flush();
        }
    }
    bool flush() {
        if (!buffer_.empty()) ok_ = writer_.write(buffer_.data(), buffer_.size()) && ok_;
        buffer_.clear();
        return ok_;
    }

private:
    // Large enough that the writes of a long export are a few dozen, small
    // enough to be no burden beside the stores.
    static constexpr std::size_t piece_size = std::size_t{1} << 20;

    atomic_file_writer& writer_;
    std::string buffer_;
    bool ok_ = true;
};

// One cell of a line, cleaned the way the handheld's import cleans a cell
// that is not properly quoted: a lone pair of quotes is empty, and a quote
// at either end is dropped.
std::u16string cleaned(std::u16string_view cell) {
    if (cell == u"\"\"") return {};
    if (cell.size() > 1 && cell.front() == u'"') cell.remove_prefix(1);
    if (cell.size() > 1 && cell.back() == u'"') cell.remove_suffix(1);
    return std::u16string(cell);
}

// Integer value of one date part, or -1 when it cannot be one.
int date_part(std::u16string_view text) {
    const double v = parse_number(text);
    if (!(v >= 0 && v < 100000)) return -1;
    return static_cast<int>(v);
}

}  // namespace

std::vector<std::u16string> split_csv_line(std::u16string_view line) {
    std::vector<std::u16string> cells;
    std::size_t i = 0;
    const std::size_t n = line.size();
    while (true) {
        if (i < n && line[i] == u'"') {
            // A quoted cell ends at a quote followed by a comma or the line
            // end; a doubled quote is one quote. Any other quote inside is
            // kept as it stands (older files wrote quotes unescaped).
            std::u16string cell;
            std::size_t j = i + 1;
            bool closed = false;
            while (j < n) {
                if (line[j] == u'"') {
                    if (j + 1 == n || line[j + 1] == u',') {
                        closed = true;
                        ++j;
                        break;
                    }
                    if (line[j + 1] == u'"') ++j;
                }
                cell += line[j++];
            }
            if (closed) {
                cells.push_back(std::move(cell));
                if (j == n) break;
                i = j + 1;  // past the comma
                continue;
            }
            // No closing quote: the rest of the line splits at every comma.
        }
        const std::size_t comma = line.find(u',', i);
        const std::size_t end = comma == std::u16string_view::npos ? n : comma;
        cells.push_back(cleaned(line.substr(i, end - i)));
        if (comma == std::u16string_view::npos) break;
        i = comma + 1;
    }
    return cells;
}

bool read_import_date(std::u16string_view cell, std::uint16_t language, int& year, int& month,
                      int& day) {
    char16_t separator = 0;
    for (char16_t candidate : {u'/', u'-', u'.'}) {
        if (cell.find(candidate) != std::u16string_view::npos) {
            separator = candidate;
            break;
        }
    }
    if (separator == 0) return false;
    std::u16string_view parts[3];
    std::size_t start = 0;
    for (int k = 0; k < 3; ++k) {
        const std::size_t at = cell.find(separator, start);
        if (k < 2 && at == std::u16string_view::npos) return false;
        if (k == 2 && at != std::u16string_view::npos) return false;  // a fourth part
        const std::size_t end = at == std::u16string_view::npos ? cell.size() : at;
        parts[k] = cell.substr(start, end - start);
        start = end + 1;
    }
    const int a = date_part(parts[0]), b = date_part(parts[1]), c = date_part(parts[2]);
    if (a < 0 || b < 0 || c < 0) return false;

    if (parts[0].size() >= 3) {
        year = a, month = b, day = c;
    } else {
        switch (date_order_for(language)) {
            case date_order::day_month_year:
                day = a, month = b, year = c;
                break;
            case date_order::year_month_day:
                year = a, month = b, day = c;
                break;
            case date_order::month_day_year:
                month = a, day = b, year = c;
                break;
        }
    }
    return is_valid_date(year, month, day);
}

namespace {

template <class View>
std::vector<View> lines_of(View text) {
    std::vector<View> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != u'\r' && text[i] != u'\n') continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

}  // namespace

std::vector<std::u16string_view> split_lines(std::u16string_view text) {
    return lines_of(text);
}

std::vector<std::string_view> split_lines(std::string_view text) {
    return lines_of(text);
}

namespace {

// An import file's bytes without a byte-order mark, and the one encoding the
// whole file is read in. Its line ends are single bytes in either encoding
// and no other character's bytes hold them, so its lines can be found in
// the bytes and decoded one at a time.
struct import_bytes {
    explicit import_bytes(std::string_view file) : bytes(file) {
        if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
        utf8 = is_valid_utf8(bytes);
    }
    std::u16string decode(std::string_view part) const {
        return utf8 ? from_utf8(part) : from_windows1252(part);
    }
    // The first `units` units of the whole text (all of it when shorter),
    // or a little more, decoded from as few bytes as that takes.
    std::u16string head(std::size_t units) const {
        // No character takes more than three bytes per unit.
        std::size_t end = std::min(bytes.size(), 3 * units + 4);
        // Not inside a character.
        while (utf8 && end < bytes.size() &&
               (static_cast<unsigned char>(bytes[end]) & 0xC0) == 0x80)
            --end;
        return decode(bytes.substr(0, end));
    }

    std::string_view bytes;
    bool utf8 = true;
};

}  // namespace

std::u16string decode_import_text(std::string_view bytes) {
    const import_bytes file(bytes);
    return file.decode(file.bytes);
}

std::u16string export_import::default_path(std::u16string_view data_folder,
                                           std::u16string_view name) {
    return std::u16string(data_folder) + u"Output\\" + std::u16string(name) + u".csv";
}

std::u16string export_import::header_line() {
    // The comma between the header cells is a key of its own.
    std::u16string line;
    for (std::size_t i = 0; i < csv_header_keys.size(); ++i) {
        if (i > 0) line += tr(u",");
        line += tr(csv_header_keys[i]);
    }
    return line + u"\r\n";
}

bool export_import::write_export(std::u16string_view path, const selection_limits& limits) {
    if (is_program_file(path)) {
        report_problem(msg_program_file, path);
        return false;
    }
    // Folders made for a file that then cannot be written are taken away again.
    std::vector<std::u16string> made;
    make_folder_path(path, &made);
    atomic_file_writer writer(device_files(), path);
    bool ok = writer.open();
    if (ok) {
        chunked_output out(writer);
        out.add(header_line());
        // The item texts are translated once for the whole file.
        const csv_item_cells items = csv_item_cells::translated();
        const std::uint16_t language = device().language_id();
        out.add_selected_lines(fuel_, limits, items, language);
        out.add_selected_lines(service_, limits, items, language);
        out.add_selected_lines(fees_, limits, items, language);
        ok = out.flush();
    }
    ok = ok && writer.commit();
    if (!ok) {
        report_problem(msg_write_failed);
        remove_made_folders(made);
    }
    return ok;
}

bool export_import::export_account(std::u16string_view path) {
    if (fuel_.fresh()) {
        report_problem(msg_open_account);
        return false;
    }
    return write_export(path, selection_limits{});
}

bool export_import::export_trip(const trip_store::record_type& trip, std::u16string_view path) {
    return write_export(path, trip_limits(trip));
}

std::u16string lines_left_out_text(int lines) {
    std::u16string text = tr(msg_import_lines_left_out);
    const std::size_t at = text.find(u"%d");
    if (at != std::u16string::npos) text.replace(at, 2, from_utf8(std::to_string(lines)));
    return text;
}

namespace {

// The records of an import, handed over a piece at a time (nullptr after the
// last): an import of a long file never holds every record it read beside
// the stores' copies they go into.
using next_piece = std::function<const imported_records*()>;

// Adds the pieces' records to copies of the stores; the stores take them only
// once the three files hold them, so that a failure at any point adds
// nothing. `expected` is how many records may come, at most.
import_summary add_imported_pieces(fuel_store& fuel, service_store& service, fee_store& fees,
                                   std::size_t expected, const next_piece& next) {
    import_summary summary;
    summary.read = true;
    const auto passes = [](int held, std::size_t added) {
        return static_cast<std::int64_t>(held) + static_cast<std::int64_t>(added) >
               max_records_per_file;
    };
    fuel_store new_fuel = fuel;
    service_store new_service = service;
    fee_store new_fees = fees;
    new_fuel.begin_bulk_in_memory(expected);
    new_service.begin_bulk_in_memory(expected);
    new_fees.begin_bulk_in_memory(expected);
    const auto add = [](auto& store, const auto& list, int& counter) {
        for (const auto& r : list)
            if (store.add_record(r).added()) ++counter;
    };
    bool any = false;
    while (const imported_records* piece = next()) {
        // A file the next load would refuse would lock the account: refused
        // before anything is written.
        if (passes(new_fuel.record_count(), piece->fuel.size()) ||
            passes(new_service.record_count(), piece->service.size()) ||
            passes(new_fees.record_count(), piece->fees.size())) {
            report_problem(msg_import_too_many);
            summary = {};
            summary.read = true;
            summary.too_many = true;
            return summary;
        }
        any = any || !piece->fuel.empty() || !piece->service.empty() || !piece->fees.empty();
        add(new_fuel, piece->fuel, summary.fuel);
        add(new_service, piece->service, summary.service);
        add(new_fees, piece->fees, summary.fees);
    }
    if (!any) return summary;
    new_fuel.end_bulk_in_memory();
    new_service.end_bulk_in_memory();
    new_fees.end_bulk_in_memory();

    const std::u16string folder = fixed_text(fuel.header().save_folder);
    const std::u16string name = fuel.account_name();
    staged_file_set set(folder);
    const auto stage = [&](auto& store, std::u16string_view extension) {
        return set.add_written(name + std::u16string(extension), [&](std::u16string_view path) {
            return store.write_whole_file_to(path);
        });
    };
    const bool staged = set.begin() && stage(new_fuel, fuel_store::extension) &&
                        stage(new_service, service_store::extension) &&
                        stage(new_fees, fee_store::extension);
    const staged_file_set::outcome outcome =
        staged ? set.commit() : staged_file_set::outcome::rolled_back;
    if (outcome == staged_file_set::outcome::rolled_back) {
        report_problem(msg_write_failed);
        summary.fuel = summary.service = summary.fees = 0;
        summary.write_failed = true;
        return summary;
    }
    // Written whole (or, when the last moves failed, waiting whole for the
    // next start to put in place): nothing is owed to the files any more.
    for (account_store* s :
         std::initializer_list<account_store*>{&new_fuel, &new_service, &new_fees})
        s->clear_dirty();
    fuel = std::move(new_fuel);
    service = std::move(new_service);
    fees = std::move(new_fees);
    if (outcome == staged_file_set::outcome::pending) {
        report_problem(msg_write_failed);
        summary.write_failed = true;
    }
    return summary;
}

}  // namespace

import_summary add_imported_records(fuel_store& fuel, service_store& service, fee_store& fees,
                                    const imported_records& records) {
    if (records.fuel.empty() && records.service.empty() && records.fees.empty()) {
        import_summary nothing;
        nothing.read = true;
        return nothing;
    }
    bool given = false;
    return add_imported_pieces(
        fuel, service, fees,
        std::max({records.fuel.size(), records.service.size(), records.fees.size()}),
        [&]() { return std::exchange(given, true) ? nullptr : &records; });
}

import_summary export_import::import_file(std::u16string_view path, const import_options& options) {
    import_summary summary;
    if (fuel_.fresh()) {
        report_problem(msg_open_account);
        return summary;
    }
    std::vector<std::uint8_t> bytes;
    if (!read_whole_file(device_files(), path, bytes)) {
        report_untranslated(cant_find_file);
        return summary;
    }
    const import_bytes file(
        std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    // Read; a refusal below adds nothing but is no unread file.
    summary.read = true;

    // The layout is told by the first lines.
    const std::optional<import_format> format =
        options.format ? options.format : detect_format(file.head(detected_units));
    if (!format) {
        summary.refusal = import_refusal::unknown_layout;
        summary.why = tr(u"This file is in no layout the import knows. It knows:") + u" " +
                      known_format_names() + u".";
        return summary;
    }
    summary.format = *format;
    if (*format != import_format::kelvane) {
        std::u16string text = file.decode(file.bytes);
        bytes = {};
        peer_records records = read_peer_file(text, *format, options, units_of(fuel_.header()));
        if (records.refusal != import_refusal::none) {
            summary.refusal = records.refusal;
            summary.why = records.why;
            summary.choices = records.choices;
            return summary;
        }
        import_summary added = add_peer_records(std::move(records));
        added.format = *format;
        return added;
    }

    translate_items();
    // The lines are decoded and read a piece at a time, each piece's records
    // added before the next is read: the file's whole text is never held.
    const std::vector<std::string_view> lines = split_lines(file.bytes);
    constexpr std::size_t lines_per_piece = 4096;
    imported_records piece;
    std::size_t next_line = 0;
    int skipped = 0;
    summary =
        add_imported_pieces(fuel_, service_, fees_, lines.size(), [&]() -> const imported_records* {
            if (next_line >= lines.size()) return nullptr;
            piece.fuel.clear();
            piece.service.clear();
            piece.fees.clear();
            const std::size_t end = std::min(lines.size(), next_line + lines_per_piece);
            for (; next_line < end; ++next_line)
                read_line(file.decode(lines[next_line]), piece, skipped);
            return &piece;
        });
    summary.skipped = skipped;
    return summary;
}

import_summary export_import::add_peer_records(peer_records&& records) {
    import_summary summary = add_imported_records(
        fuel_, service_, fees_,
        {std::move(records.fuel), std::move(records.jobs), std::move(records.fees)});
    summary.partial_fills = records.partial_fills;
    summary.missed_fills = records.missed_fills;
    summary.income_rows = records.income_rows;
    std::copy(std::begin(records.not_carried), std::end(records.not_carried),
              std::begin(summary.not_carried));
    summary.units = records.units;
    summary.units_from = records.units_from;
    return summary;
}

std::u16string import_details(const import_summary& s) {
    std::u16string text;
    if (s.format == import_format::kelvane) return text;
    const auto line = [&](std::u16string_view key, int n) {
        if (n > 0) text += tr(key) + format(" %d\n", n);
    };
    line(u"Partial fills, turned into gauge readings:", s.partial_fills);
    line(u"Missed fill-ups (the economy before each is not known):", s.missed_fills);
    line(u"Income rows, not imported:", s.income_rows);
    constexpr std::u16string_view kinds[] = {u"Photos not carried:", u"Locations not carried:",
                                             u"Tags not carried:", u"Texts cut to fit:",
                                             u"Other details not carried:"};
    static_assert(std::size(kinds) == detail_kind_count);
    for (int k = 0; k < detail_kind_count; ++k) line(kinds[k], s.not_carried[k]);
    text += tr(u"Units of the file:") + u" " + tr(unit_name(s.units.distance)) + u", " +
            tr(unit_name(s.units.volume));
    if (s.units_from == units_source::account)
        text += u" " + tr(u"(the account's units where the file does not say them)");
    else if (s.units_from == units_source::option)
        text += u" " + tr(u"(as given)");
    return text;
}

std::u16string import_report(const import_summary& s) {
    std::u16string text =
        tr(u"Format found:") + u" " + std::u16string(format_display_name(s.format));
    const auto line = [&](std::u16string_view key, int n) {
        if (n > 0) text += u"\n" + tr(key) + format(" %d", n);
    };
    line(u"Fuel purchases imported:", s.fuel);
    line(u"Repair and maintenance jobs imported:", s.service);
    line(u"Fees imported:", s.fees);
    if (s.fuel + s.service + s.fees == 0) text += u"\n" + tr(u"No records were imported.");
    if (s.skipped > 0) text += u"\n" + lines_left_out_text(s.skipped);
    const std::u16string details = import_details(s);
    if (!details.empty()) text += u"\n" + details;
    return text;
}

void export_import::translate_items() {
    // Looked up once per file: a language table is searched from its start.
    items_ = {tr(csv_item_fuel), tr(csv_item_repair), tr(csv_item_maintenance), tr(csv_item_fees)};
    // The header line's item cell, as split_csv_line gives it back.
    header_item_ = tr(csv_header_keys[static_cast<std::size_t>(csv_column::item)]);
    if (header_item_.size() > 1 && header_item_.front() == u'"') header_item_.erase(0, 1);
    if (header_item_.size() > 1 && header_item_.back() == u'"') header_item_.pop_back();
    items_translated_ = true;
}

void export_import::import_line(std::u16string_view line, import_summary& summary) {
    imported_records records;
    int skipped = 0;
    read_line(line, records, skipped);
    const import_summary added = add_imported_records(fuel_, service_, fees_, records);
    summary.fuel += added.fuel;
    summary.service += added.service;
    summary.fees += added.fees;
    summary.skipped += skipped;
    summary.write_failed = summary.write_failed || added.write_failed;
    summary.too_many = summary.too_many || added.too_many;
}

void export_import::read_line(std::u16string_view line, imported_records& out, int& skipped) {
    const std::vector<std::u16string> cells = split_csv_line(line);
    // A line may have fewer cells than the layout; the missing ones are empty.
    const auto cell = [&](csv_column column) -> std::u16string_view {
        const auto at = static_cast<std::size_t>(column);
        return at < cells.size() ? std::u16string_view(cells[at]) : std::u16string_view();
    };

    const std::u16string_view item = cell(csv_column::item);
    if (!items_translated_) translate_items();
    enum class kind { none, fuel, repair, maintenance, fees } k = kind::none;
    if (item == items_[0])
        k = kind::fuel;
    else if (item == items_[1])
        k = kind::repair;
    else if (item == items_[2])
        k = kind::maintenance;
    else if (item == items_[3])
        k = kind::fees;
    if (k == kind::none) {
        // The header line and empty lines are no records; any other line
        // left out is counted, so that the owner learns of it.
        const bool blank = line.find_first_not_of(u" \t,\"") == std::u16string_view::npos;
        if (!blank && item != header_item_) ++skipped;
        return;
    }

    int year = 0, month = 0, day = 0;
    if (!read_import_date(cell(csv_column::date), device().language_id(), year, month, day)) {
        // A record with an impossible date would sort and show wrongly
        // everywhere; the line is left out like any other unreadable line.
        ++skipped;
        return;
    }
    const double mileage = parse_number(cell(csv_column::mileage));
    const double amount = parse_number(cell(csv_column::amount));
    const std::u16string description = imported_text(cell(csv_column::description));
    // The date and mileage every kind has; the time of day stays 00:00:00.
    const auto dated = [&](auto& r) {
        r.year = year, r.month = month, r.day = day;
        r.mileage = mileage;
    };

    if (k == kind::fuel) {
        fuel_record r{};
        dated(r);
        r.fuel_cost = amount;
        r.unit_price = parse_number(cell(csv_column::unit_price));
        r.fuel_purchased = parse_number(cell(csv_column::fuel_purchased));
        r.fuel_gauge = parse_number(cell(csv_column::fuel_gauge));
        set_fixed(r.note, description);
        set_fixed(r.fuel_type, imported_text(cell(csv_column::fuel_type)));
        out.fuel.push_back(r);
    } else if (k == kind::fees) {
        fee_record r{};
        dated(r);
        r.cost = amount;
        set_fixed(r.description, description);
        set_fixed(r.category, imported_text(cell(csv_column::category)));
        out.fees.push_back(r);
    } else {
        service_record r{};
        dated(r);
        r.cost = amount;
        r.next_service_mileage = parse_number(cell(csv_column::next_service));
        set_fixed(r.description, description);
        r.repair_flag = k == kind::repair ? 1 : 0;
        out.service.push_back(r);
    }
}

}  // namespace kelvane
