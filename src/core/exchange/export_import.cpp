#include "core/exchange/export_import.h"

#include <cmath>

#include "core/accounts/configuration.h"
#include "core/common/date_text.h"
#include "core/common/messages.h"
#include "core/common/parse_number.h"
#include "core/common/program_files.h"
#include "core/common/text.h"
#include "core/common/translate.h"
#include "core/exchange/csv_rows.h"
#include "platform/services.h"
#include "platform/text_encoding.h"

namespace kelvane {

namespace {

constexpr char16_t cant_find_file[] = u"Can't find file!";

// Collects UTF-8 output and hands it to the writer in large pieces.
class chunked_output {
public:
    explicit chunked_output(atomic_file_writer& writer) : writer_(writer) {}
    void add(std::u16string_view text) {
        append_utf8(buffer_, text);
        if (buffer_.size() >= 1 << 16) flush();
    }
    // Appends the lines of the store's selection in the file's layout.
    template <class Store>
    void add_selected_lines(Store& store, const selection_limits& limits,
                            const csv_item_cells& items, std::uint16_t language) {
        store.select_records(limits);
        typename Store::record_type record;
        while (store.next_selected(record)) {
            append_export_line(buffer_, record, items, language);
            if (buffer_.size() >= 1 << 16) flush();
        }
    }
    bool flush() {
        if (!buffer_.empty()) ok_ = writer_.write(buffer_.data(), buffer_.size()) && ok_;
        buffer_.clear();
        return ok_;
    }

private:
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

std::u16string decode_import_text(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
    if (is_valid_utf8(bytes)) return from_utf8(bytes);
    return from_windows1252(bytes);
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
        show_message_about(msg_program_file, path);
        return false;
    }
    // Folders made for a file that then cannot be written are taken away again.
    std::vector<std::u16string> made;
    configuration::make_folder_path(path, &made);
    atomic_file_writer writer(device_files(), path);
    bool ok = writer.open();
    if (ok) {
        chunked_output out(writer);
        out.add(header_line());
        // The item texts are translated once for the whole file.
        const csv_item_cells items = csv_item_cells::translated();
        const std::uint16_t language = device().language_id();
        out.add_selected_lines(fuel_, limits, items, language);
        out.add_selected_lines(maintenance_, limits, items, language);
        out.add_selected_lines(fees_, limits, items, language);
        ok = out.flush();
    }
    ok = ok && writer.commit();
    if (!ok) {
        show_message(msg_write_failed);
        configuration::remove_made_folders(made);
    }
    return ok;
}

bool export_import::export_account(std::u16string_view path) {
    if (fuel_.fresh()) {
        show_message(msg_open_account);
        return false;
    }
    return write_export(path, selection_limits{});
}

bool export_import::export_trip(const trip_store::record_type& trip, std::u16string_view path) {
    return write_export(path, trip_limits(trip));
}

import_summary export_import::import_file(std::u16string_view path) {
    import_summary summary;
    if (fuel_.fresh()) {
        show_message(msg_open_account);
        return summary;
    }
    std::vector<std::uint8_t> bytes;
    if (!read_whole_file(device_files(), path, bytes)) {
        show_untranslated(cant_find_file);
        return summary;
    }
    summary.read = true;
    // The lines are taken from the file's bytes one at a time, each decoded
    // on its own: line ends are single bytes in both encodings, so this
    // reads what decoding the whole text first would, without holding the
    // whole text twice.
    std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    const bool utf8 = is_valid_utf8(text);
    std::u16string line;
    const auto each_line = [&](auto&& take) {
        for (std::string_view piece : split_lines(text)) {
            line = utf8 ? from_utf8(piece) : from_windows1252(piece);
            take(std::u16string_view(line));
        }
    };

    // Adding in bulk lets a store merge the new records and write its file
    // once, instead of recomputing its totals and header for every line.
    // Counting the lines of each kind first lets each store make room for
    // its new records once.
    translate_items();
    std::array<std::size_t, 3> counts{};
    each_line([&](std::u16string_view l) {
        const std::vector<std::u16string> cells = split_csv_line(l);
        const auto at = static_cast<std::size_t>(csv_column::item);
        if (at >= cells.size()) return;
        const std::u16string& item = cells[at];
        if (item == items_[0])
            ++counts[0];
        else if (item == items_[1] || item == items_[2])
            ++counts[1];
        else if (item == items_[3])
            ++counts[2];
    });
    fuel_.begin_bulk(counts[0]);
    maintenance_.begin_bulk(counts[1]);
    fees_.begin_bulk(counts[2]);
    each_line([&](std::u16string_view l) { import_line(l, summary); });
    bytes = {};
    const bool fuel_written = fuel_.end_bulk();
    const bool maintenance_written = maintenance_.end_bulk();
    const bool fees_written = fees_.end_bulk();
    if (!fuel_written || !maintenance_written || !fees_written) summary.write_failed = true;
    return summary;
}

void export_import::translate_items() {
    // Looked up once per file: a language table is searched from its start.
    items_ = {tr(csv_item_fuel), tr(csv_item_repair), tr(csv_item_maintenance), tr(csv_item_fees)};
    items_translated_ = true;
}

void export_import::import_line(std::u16string_view line, import_summary& summary) {
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
    if (k == kind::none) return;

    int year = 0, month = 0, day = 0;
    if (!read_import_date(cell(csv_column::date), device().language_id(), year, month, day)) {
        // A record with an impossible date would sort and show wrongly
        // everywhere; the line is left out like any other unreadable line.
        ++summary.skipped;
        return;
    }
    const double mileage = parse_number(cell(csv_column::mileage));
    const double amount = parse_number(cell(csv_column::amount));
    const std::u16string_view description = cell(csv_column::description);
    // The date and mileage every kind has; the time of day stays 00:00:00.
    const auto dated = [&](auto& r) {
        r.year = year, r.month = month, r.day = day;
        r.mileage = mileage;
    };
    // Counts an added record and notes a file write that failed (in bulk
    // the file work waits for end_bulk).
    const auto count = [&](const add_result& added, int& counter) {
        if (added.added()) ++counter;
        if (added.write_failed) summary.write_failed = true;
    };

    if (k == kind::fuel) {
        fuel_record r{};
        dated(r);
        r.fuel_cost = amount;
        r.unit_price = parse_number(cell(csv_column::unit_price));
        r.fuel_purchased = parse_number(cell(csv_column::fuel_purchased));
        r.fuel_gauge = parse_number(cell(csv_column::fuel_gauge));
        set_fixed(r.note, description);
        set_fixed(r.fuel_type, cell(csv_column::fuel_type));
        count(fuel_.add_record(r), summary.fuel);
    } else if (k == kind::fees) {
        fee_record r{};
        dated(r);
        r.cost = amount;
        set_fixed(r.description, description);
        set_fixed(r.category, cell(csv_column::category));
        count(fees_.add_record(r), summary.fees);
    } else {
        service_record r{};
        dated(r);
        r.cost = amount;
        r.next_service_mileage = parse_number(cell(csv_column::next_service));
        set_fixed(r.description, description);
        r.repair_flag = k == kind::repair ? 1 : 0;
        count(maintenance_.add_record(r), summary.maintenance);
    }
}

}  // namespace kelvane
