#include "core/exchange/peer_import.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "core/common/text.h"
#include "core/common/translate.h"
#include "core/common/unit_factors.h"
#include "core/exchange/csv_rows.h"
#include "core/exchange/export_import.h"
#include "core/exchange/peer_reading.h"
#include "platform/local_time.h"

namespace kelvane {

namespace {

struct format_names {
    import_format format;
    std::u16string_view shown;
    std::string_view option;
};
constexpr format_names names[] = {
    {import_format::kelvane, u"Kelvane", "kelvane"},
    {import_format::lubelogger, u"LubeLogger", "lubelogger"},
    {import_format::fuelly, u"Fuelly", "fuelly"},
    {import_format::fuelio, u"Fuelio", "fuelio"},
    {import_format::acar, u"aCar", "acar"},
    {import_format::drivvo, u"Drivvo", "drivvo"},
    {import_format::simplyauto, u"Simply Auto", "simplyauto"},
};

bool is_space(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\u00A0' || c == u'\u202F';
}

bool is_digit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

char16_t lower(char16_t c) {
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

bool starts_with_word(std::u16string_view text, std::u16string_view start) {
    if (text.size() < start.size()) return false;
    for (std::size_t i = 0; i < start.size(); ++i)
        if (lower(text[i]) != lower(start[i])) return false;
    return true;
}

// The runs of digits of a date text, with the character after each run.
struct digit_run {
    std::u16string_view digits;
    char16_t after = 0;
};
std::vector<digit_run> digit_runs(std::u16string_view text) {
    std::vector<digit_run> runs;
    std::size_t i = 0;
    while (i < text.size() && runs.size() < 8) {
        if (!is_digit(text[i])) {
            ++i;
            continue;
        }
        const std::size_t start = i;
        while (i < text.size() && is_digit(text[i])) ++i;
        runs.push_back({text.substr(start, i - start), i < text.size() ? text[i] : char16_t(0)});
    }
    return runs;
}

int run_value(std::u16string_view digits) {
    int v = 0;
    for (char16_t c : digits.substr(0, 6)) v = v * 10 + (c - u'0');
    return v;
}

// The cells of a line that is cleaned the way every reader cleans a cell.
std::vector<std::u16string> line_cells(std::u16string_view line) {
    std::vector<std::u16string> cells = split_csv_line(line);
    for (auto& c : cells) c = trimmed(c);
    return cells;
}

bool only_first_cell(const std::vector<std::u16string>& cells) {
    for (std::size_t i = 1; i < cells.size(); ++i)
        if (!cells[i].empty()) return false;
    return !cells.empty() && !cells[0].empty();
}

bool has_name(const std::vector<std::u16string>& cells, std::u16string_view name) {
    return std::any_of(cells.begin(), cells.end(),
                       [&](const std::u16string& c) { return same_word(c, name); });
}

bool is_own_header(const std::vector<std::u16string>& cells) {
    if (cells.size() < csv_column_count) return false;
    for (std::size_t i = 0; i < csv_column_count; ++i) {
        std::u16string_view key = csv_header_keys[i];
        key = key.substr(1, key.size() - 2);  // the key carries its quotes
        std::u16string shown = tr(csv_header_keys[i]);
        if (shown.size() >= 2 && shown.front() == u'"' && shown.back() == u'"')
            shown = shown.substr(1, shown.size() - 2);
        if (cells[i] != key && cells[i] != shown) return false;
    }
    return true;
}

}  // namespace

std::u16string_view format_display_name(import_format f) {
    for (const auto& n : names)
        if (n.format == f) return n.shown;
    return u"";
}

std::string_view format_option_name(import_format f) {
    for (const auto& n : names)
        if (n.format == f) return n.option;
    return "";
}

std::optional<import_format> format_from_option(std::string_view name) {
    for (const auto& n : names)
        if (n.option == name) return n.format;
    return std::nullopt;
}

std::u16string known_format_names() {
    std::u16string text;
    for (const auto& n : names) text += (text.empty() ? u"" : u", ") + std::u16string(n.shown);
    return text;
}

bool read_units_option(std::string_view text, source_units& out) {
    source_units u;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        const std::string_view part = text.substr(start, comma - start);
        if (part == "km" && u.distance == distance_unit::unknown)
            u.distance = distance_unit::kilometres;
        else if (part == "mi" && u.distance == distance_unit::unknown)
            u.distance = distance_unit::miles;
        else if (part == "l" && u.volume == volume_unit::unknown)
            u.volume = volume_unit::litres;
        else if (part == "usgal" && u.volume == volume_unit::unknown)
            u.volume = volume_unit::us_gallons;
        else if (part == "ukgal" && u.volume == volume_unit::unknown)
            u.volume = volume_unit::uk_gallons;
        else
            return false;
        start = comma + 1;
    }
    out = u;
    return true;
}

bool read_dates_option(std::string_view text, date_choice& out) {
    if (text == "day-first")
        out = date_choice::day_first;
    else if (text == "month-first")
        out = date_choice::month_first;
    else if (text == "auto")
        out = date_choice::automatic;
    else
        return false;
    return true;
}

account_units units_of(const fuel_header& header) {
    account_units a;
    a.distance = fixed_text(header.mileage_unit) == u"Mile" ? distance_unit::miles
                                                            : distance_unit::kilometres;
    const std::u16string fuel = fixed_text(header.fuel_unit);
    a.volume = fuel == u"US Gallon" || fuel == u"Gallon" ? volume_unit::us_gallons
               : fuel == u"UK Gallon"                    ? volume_unit::uk_gallons
                                                         : volume_unit::litres;
    a.tank_capacity =
        std::isfinite(header.tank_capacity) && header.tank_capacity > 0 ? header.tank_capacity : 0;
    return a;
}

std::u16string_view unit_name(distance_unit u) {
    return u == distance_unit::miles ? u"Mile" : u"Kilometer";
}

std::u16string_view unit_name(volume_unit u) {
    return u == volume_unit::us_gallons   ? u"US Gallon"
           : u == volume_unit::uk_gallons ? u"UK Gallon"
                                          : u"Liter";
}

// --- cells and tables --------------------------------------------------------

std::u16string trimmed(std::u16string_view text) {
    while (!text.empty() && is_space(text.front())) text.remove_prefix(1);
    while (!text.empty() && is_space(text.back())) text.remove_suffix(1);
    return std::u16string(text);
}

bool same_word(std::u16string_view a, std::u16string_view b) {
    const std::u16string x = trimmed(a), y = trimmed(b);
    return x.size() == y.size() && starts_with_word(x, y);
}

std::vector<csv_record> read_csv_records(std::u16string_view text, bool quoting) {
    std::vector<csv_record> records;
    csv_record row;
    std::u16string cell;
    int line = 1;
    row.line = line;
    std::size_t i = 0;
    const std::size_t n = text.size();
    const auto end_row = [&] {
        row.cells.push_back(std::move(cell));
        cell.clear();
        const bool blank = std::all_of(row.cells.begin(), row.cells.end(),
                                       [](const std::u16string& c) { return trimmed(c).empty(); });
        if (!blank) records.push_back(std::move(row));
        row = csv_record{};
    };
    while (i < n) {
        // The start of a cell: a quote after spaces opens a quoted cell.
        std::size_t j = i;
        while (quoting && j < n && (text[j] == u' ' || text[j] == u'\t')) ++j;
        if (quoting && j < n && text[j] == u'"') {
            i = j + 1;
            while (i < n) {
                if (text[i] == u'"') {
                    if (i + 1 < n && text[i + 1] == u'"') {
                        cell += u'"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                if (text[i] == u'\n') ++line;
                if (text[i] != u'\r') cell += text[i];
                ++i;
            }
        }
        // The rest of the cell up to a comma or the line end.
        while (i < n && text[i] != u',' && text[i] != u'\r' && text[i] != u'\n') cell += text[i++];
        if (i >= n) break;
        if (text[i] == u',') {
            row.cells.push_back(std::move(cell));
            cell.clear();
            ++i;
            continue;
        }
        // A line end: CR LF, LF or CR.
        if (text[i] == u'\r' && i + 1 < n && text[i + 1] == u'\n') ++i;
        ++i;
        end_row();
        row.line = ++line;
    }
    if (!cell.empty() || !row.cells.empty()) end_row();
    return records;
}

int peer_table::column(std::initializer_list<std::u16string_view> wanted) const {
    for (std::u16string_view w : wanted)
        for (std::size_t i = 0; i < names.size(); ++i)
            if (same_word(names[i], w)) return static_cast<int>(i);
    return -1;
}

int peer_table::column_starting(std::u16string_view start) const {
    for (std::size_t i = 0; i < names.size(); ++i)
        if (starts_with_word(trimmed(names[i]), start)) return static_cast<int>(i);
    return -1;
}

std::u16string_view peer_table::cell(const csv_record& row, int column) {
    if (column < 0 || static_cast<std::size_t>(column) >= row.cells.size()) return {};
    return row.cells[static_cast<std::size_t>(column)];
}

std::vector<peer_section> split_sections(const std::vector<csv_record>& records,
                                         std::initializer_list<std::u16string_view> markers) {
    std::vector<peer_section> sections;
    bool want_header = false;
    for (const csv_record& r : records) {
        if (only_first_cell(r.cells)) {
            const std::u16string first = trimmed(r.cells[0]);
            bool marker = false;
            for (std::u16string_view m : markers) marker = marker || same_word(first, m);
            if (marker) {
                sections.push_back({first, {}});
                want_header = true;
                continue;
            }
        }
        if (sections.empty()) continue;
        peer_table& t = sections.back().table;
        if (want_header) {
            t.line = r.line;
            for (const auto& c : r.cells) t.names.push_back(trimmed(c));
            want_header = false;
        } else {
            t.rows.push_back(r);
        }
    }
    return sections;
}

peer_table* find_section(std::vector<peer_section>& sections, std::u16string_view marker) {
    for (auto& s : sections)
        if (same_word(s.marker, marker)) return &s.table;
    return nullptr;
}

std::optional<date_parts> date_pattern_order(std::u16string_view pattern) {
    const std::size_t y = pattern.find(u'y'), m = pattern.find(u'M'), d = pattern.find(u'd');
    if (y == std::u16string_view::npos || m == std::u16string_view::npos ||
        d == std::u16string_view::npos)
        return std::nullopt;
    if (y < m && m < d) return date_parts::year_month_day;
    if (d < m && m < y) return date_parts::day_month_year;
    if (m < d && d < y) return date_parts::month_day_year;
    return std::nullopt;
}

peer_table whole_table(std::vector<csv_record> records) {
    peer_table t;
    if (records.empty()) return t;
    t.line = records.front().line;
    for (const auto& c : records.front().cells) t.names.push_back(trimmed(c));
    t.rows.assign(std::make_move_iterator(records.begin() + 1),
                  std::make_move_iterator(records.end()));
    return t;
}

std::u16string joined(std::initializer_list<std::u16string_view> texts) {
    std::u16string out;
    for (std::u16string_view t : texts) {
        const std::u16string piece = trimmed(t);
        if (piece.empty()) continue;
        if (!out.empty()) out += u" - ";
        out += piece;
    }
    return out;
}

// --- the reader's common steps -------------------------------------------------

bool peer_reader::refuse(import_refusal why, std::u16string text) {
    if (!failed()) {
        out_.refusal = why;
        out_.why = std::move(text);
    }
    return false;
}

bool peer_reader::refuse_at(const csv_record& row, std::u16string_view reason_key,
                            std::u16string_view subject) {
    return refuse(import_refusal::unreadable, tr(u"Line") + format(" %d: ", row.line) +
                                                  tr(reason_key) + u" \"" + cut(subject, 40) +
                                                  u"\"");
}

void peer_reader::settle_units(source_units from_file) {
    source_units u = from_file;
    bool from_option = false, from_account = false;
    if (u.distance == distance_unit::unknown) {
        from_option = options_.from_units.distance != distance_unit::unknown;
        u.distance = from_option ? options_.from_units.distance : account_.distance;
        from_account = !from_option;
    }
    if (u.volume == volume_unit::unknown) {
        const bool given = options_.from_units.volume != volume_unit::unknown;
        u.volume = given ? options_.from_units.volume : account_.volume;
        from_option = from_option || given;
        from_account = from_account || !given;
    }
    out_.units = u;
    out_.units_from = from_account  ? units_source::account
                      : from_option ? units_source::option
                                    : units_source::file;
}

void peer_reader::note_numbers(const peer_table& table, std::initializer_list<int> columns) {
    for (const csv_record& r : table.rows)
        for (int c : columns) note_number_text(peer_table::cell(r, c));
}

void peer_reader::note_number_text(std::u16string_view text) {
    const std::size_t comma = text.rfind(u','), point = text.rfind(u'.');
    const bool has_comma = comma != std::u16string_view::npos;
    const bool has_point = point != std::u16string_view::npos;
    if (has_comma && has_point) {
        (comma > point ? comma_votes_ : point_votes_) += 1;
        return;
    }
    if (!has_comma && !has_point) return;
    const std::size_t at = has_comma ? comma : point;
    const bool several = text.find(has_comma ? u',' : u'.') != at;
    std::size_t digits = 0;
    while (at + 1 + digits < text.size() && is_digit(text[at + 1 + digits])) ++digits;
    // Two marks of one kind group thousands; so does a mark with exactly three
    // digits after it, or it is a decimal one: that says nothing.
    if (several)
        (has_comma ? point_votes_ : comma_votes_) += 1;
    else if (digits != 3)
        (has_comma ? comma_votes_ : point_votes_) += 1;
}

bool peer_reader::number(const csv_record& row, int column, double& out) {
    return number_text(row, peer_table::cell(row, column), out);
}

bool peer_reader::number_text(const csv_record& row, std::u16string_view text, double& out) {
    out = 0;
    // Currency signs and units around the number are dropped; spaces and
    // apostrophes inside it group thousands.
    std::string ascii;
    bool negative = false, digit_seen = false;
    for (std::size_t k = 0; k < text.size(); ++k) {
        const char16_t c = text[k];
        if (is_digit(c)) {
            ascii += static_cast<char>(c);
            digit_seen = true;
        } else if (c == u'.' || c == u',') {
            if (digit_seen || ascii.empty()) ascii += static_cast<char>(c);
        } else if ((c == u'-' || c == u'(') && !digit_seen) {
            negative = true;
        } else if (is_space(c) || c == u'\'' || c == u')') {
        } else if (digit_seen) {
            // Letters after the digits end the number ("45.2 L"), unless
            // more digits follow.
            if (std::any_of(text.begin() + k, text.end(), is_digit))
                return refuse_at(row, u"This is not a number:", text);
            break;
        }
    }
    if (!digit_seen) {
        if (trimmed(text).empty() || trimmed(text) == u"-") return true;
        return refuse_at(row, u"This is not a number:", text);
    }
    const std::size_t comma = ascii.rfind(','), point = ascii.rfind('.');
    char decimal = decimal_comma_ ? ',' : '.';
    if (comma != std::string::npos && point != std::string::npos)
        decimal = comma > point ? ',' : '.';
    else if (std::count(ascii.begin(), ascii.end(), decimal) > 1)
        decimal = decimal == ',' ? '.' : ',';  // "1.234.567" in a decimal-point file groups
    std::string plain;
    for (char c : ascii) {
        if (c == decimal)
            plain += '.';
        else if (c != ',' && c != '.')
            plain += c;
    }
    if (std::count(plain.begin(), plain.end(), '.') > 1)
        return refuse_at(row, u"This is not a number:", text);
    double v = 0;
    const auto [end, ec] = std::from_chars(plain.data(), plain.data() + plain.size(), v);
    if (ec != std::errc() || end != plain.data() + plain.size() || !std::isfinite(v))
        return refuse_at(row, u"This is not a number:", text);
    out = negative ? -v : v;
    return true;
}

void peer_reader::note_date_text(std::u16string_view text) {
    const auto runs = digit_runs(text);
    if (runs.size() < 3 || runs[0].digits.size() >= 3) return;
    short_first_seen_ = true;
    if (runs[0].after == u'.') dotted_ = true;
    if (run_value(runs[0].digits) > 12) day_over_12_first_ = true;
    if (run_value(runs[1].digits) > 12) day_over_12_second_ = true;
}

bool peer_reader::settle_date_order(std::optional<date_parts> declared) {
    if (declared) {
        order_ = *declared;
        return true;
    }
    if (!short_first_seen_) {
        order_ = date_parts::year_month_day;
        return true;
    }
    if (options_.dates == date_choice::day_first) {
        order_ = date_parts::day_month_year;
        return true;
    }
    if (options_.dates == date_choice::month_first) {
        order_ = date_parts::month_day_year;
        return true;
    }
    if (day_over_12_first_ && day_over_12_second_)
        return refuse(import_refusal::unreadable,
                      tr(u"The dates of this file are written both day first and month first."));
    if (day_over_12_first_ || (dotted_ && !day_over_12_second_)) {
        // Dates written with dots are day first wherever they are written so.
        order_ = date_parts::day_month_year;
        return true;
    }
    if (day_over_12_second_) {
        order_ = date_parts::month_day_year;
        return true;
    }
    return refuse(import_refusal::ambiguous_dates,
                  tr(u"The dates of this file can be read day first or month first (03/05 is "
                     u"3 May or March 5). Choose how to read them: day first or month first."));
}

bool peer_reader::date(const csv_record& row, std::u16string_view text, std::u16string_view time,
                       dated_record_prefix& r) {
    const std::u16string all =
        time.empty() ? std::u16string(text) : std::u16string(text) + u" " + std::u16string(time);
    const auto runs = digit_runs(all);
    if (runs.size() < 3) return refuse_at(row, u"This is not a date:", text);
    int v[6] = {};
    for (std::size_t k = 0; k < 6 && k < runs.size(); ++k) v[k] = run_value(runs[k].digits);
    int year = 0, month = 0, day = 0;
    const date_parts order = runs[0].digits.size() >= 3 ? date_parts::year_month_day : order_;
    switch (order) {
        case date_parts::year_month_day:
            year = v[0], month = v[1], day = v[2];
            break;
        case date_parts::day_month_year:
            day = v[0], month = v[1], year = v[2];
            break;
        case date_parts::month_day_year:
            month = v[0], day = v[1], year = v[2];
            break;
    }
    const std::u16string_view year_digits =
        runs[order == date_parts::year_month_day ? 0 : 2].digits;
    if (year_digits.size() <= 2) year += year < 70 ? 2000 : 1900;
    int hour = v[3], minute = v[4], second = v[5];
    bool pm = false, am = false;
    for (std::size_t k = 0; k + 1 < all.size(); ++k) {
        if (lower(all[k + 1]) != u'm') continue;
        pm = pm || lower(all[k]) == u'p';
        am = am || lower(all[k]) == u'a';
    }
    if (pm && hour < 12) hour += 12;
    if (am && hour == 12) hour = 0;
    if (!is_valid_date(year, month, day) || year < 1900 || year > 2999 || hour > 23 ||
        minute > 59 || second > 59)
        return refuse_at(row, u"This is not a date:", text);
    r.year = year, r.month = month, r.day = day;
    r.hour = hour, r.minute = minute, r.second = second;
    return true;
}

bool peer_reader::flag(std::u16string_view text) {
    const std::u16string t = trimmed(text);
    for (std::u16string_view yes :
         {u"1", u"true", u"yes", u"y", u"oui", u"ja", u"sim", u"s\u00ED", u"si", u"x"})
        if (same_word(t, yes)) return true;
    return false;
}

double peer_reader::distance(double value) const {
    return distance(value, out_.units.distance);
}

double peer_reader::volume(double value) const {
    return volume(value, out_.units.volume);
}

double peer_reader::distance(double value, distance_unit from) const {
    if (from == distance_unit::unknown || from == account_.distance) return value;
    return value * (from == distance_unit::miles ? miles_to_km : km_to_miles);
}

double peer_reader::volume(double value, volume_unit from) const {
    if (from == volume_unit::unknown || from == account_.volume) return value;
    const double litres = from == volume_unit::us_gallons   ? value * us_gallons_to_litres
                          : from == volume_unit::uk_gallons ? value * uk_gallons_to_litres
                                                            : value;
    return account_.volume == volume_unit::us_gallons   ? litres * litres_to_us_gallons
           : account_.volume == volume_unit::uk_gallons ? litres * litres_to_uk_gallons
                                                        : litres;
}

void peer_reader::price_fill(peer_fill& fill, double quantity, double cost, double unit_price,
                             volume_unit from) const {
    if (cost == 0 && unit_price != 0) cost = unit_price * quantity;
    fill.record.fuel_purchased = volume(quantity, from);
    fill.record.fuel_cost = cost;
    // The price per unit of the account: the cost over the quantity where
    // there is one, else the file's price per its own unit, converted.
    if (fill.record.fuel_purchased > 0)
        fill.record.unit_price = cost / fill.record.fuel_purchased;
    else if (unit_price != 0)
        fill.record.unit_price = unit_price / volume(1.0, from);
}

bool peer_reader::keep_one_vehicle(std::initializer_list<std::pair<peer_table*, int>> tables) {
    std::vector<std::u16string> found;
    for (const auto& [table, column] : tables) {
        if (column < 0) continue;
        for (const csv_record& r : table->rows) {
            const std::u16string name = trimmed(peer_table::cell(r, column));
            if (name.empty()) continue;
            if (std::none_of(found.begin(), found.end(),
                             [&](const std::u16string& f) { return f == name; }))
                found.push_back(name);
        }
    }
    if (options_.vehicle.empty()) {
        if (found.size() <= 1) return true;
        out_.choices = found;
        std::u16string list;
        for (const auto& f : found) list += (list.empty() ? u"" : u", ") + f;
        return refuse(import_refusal::several_vehicles,
                      tr(u"This file holds the records of several vehicles:") + u" " + list +
                          u". " + tr(u"Choose the vehicle to import."));
    }
    if (std::none_of(found.begin(), found.end(),
                     [&](const std::u16string& f) { return f == options_.vehicle; })) {
        out_.choices = found;
        return refuse(import_refusal::several_vehicles,
                      tr(u"This file holds no vehicle of that name:") + u" " + options_.vehicle);
    }
    for (const auto& [table, column] : tables) {
        if (column < 0) continue;
        std::erase_if(table->rows, [&, column = column](const csv_record& r) {
            return trimmed(peer_table::cell(r, column)) != options_.vehicle;
        });
    }
    return true;
}

void peer_reader::not_carried_if(detail_kind kind, const csv_record& row, int column) {
    const std::u16string t = trimmed(peer_table::cell(row, column));
    if (!t.empty() && t != u"0" && t != u"0.0") not_carried(kind);
}

// Fills become fuel records with gauge readings. A full fill leaves the tank
// at its capacity. Between two full fills, the fuel bought in the partial
// fills and the closing full fill is what was burnt over that stretch; it is
// shared among the legs in proportion to their distance, and each partial
// fill's gauge is what that leaves in the tank. The fuel of every leg then
// adds up exactly to the fuel bought. A partial fill outside such a stretch
// (before the first full fill, after the last, or where a fill-up was missed)
// is taken to have burnt what it bought since the fill before.
void peer_reader::finish_fills() {
    std::stable_sort(fills_.begin(), fills_.end(), [](const peer_fill& a, const peer_fill& b) {
        const auto key = [](const fuel_record& r) {
            return std::tuple(r.year, r.month, r.day, r.hour, r.minute, r.second);
        };
        if (key(a.record) != key(b.record)) return key(a.record) < key(b.record);
        return a.record.mileage < b.record.mileage;
    });
    double tank = account_.tank_capacity > 0 ? account_.tank_capacity : file_tank_;
    if (!(tank > 0)) tank = 0;
    if (tank <= 0)
        for (const peer_fill& f : fills_) tank = std::max(tank, f.record.fuel_purchased);
    const std::size_t n = fills_.size();
    std::vector<double> gauge(n, tank);
    for (std::size_t i = 0; i < n; ++i) {
        if (fills_[i].partial) ++out_.partial_fills;
        if (fills_[i].missed) ++out_.missed_fills;
        if (fills_[i].partial && i > 0) gauge[i] = gauge[i - 1];
    }
    for (std::size_t start = 0; start < n; ++start) {
        if (fills_[start].partial) continue;
        std::size_t end = start + 1;
        bool broken = false;
        while (end < n && fills_[end].partial) broken = broken || fills_[end++].missed;
        if (end >= n || end == start + 1) continue;
        broken = broken || fills_[end].missed;
        const double stretch = fills_[end].record.mileage - fills_[start].record.mileage;
        if (broken || !(stretch > 0)) continue;
        double burnt = 0;
        for (std::size_t k = start + 1; k <= end; ++k) burnt += fills_[k].record.fuel_purchased;
        double level = tank;
        for (std::size_t k = start + 1; k < end; ++k) {
            const double leg = fills_[k].record.mileage - fills_[k - 1].record.mileage;
            level += fills_[k].record.fuel_purchased - burnt * leg / stretch;
            gauge[k] = level;
        }
        // The legs after the last partial fill take what is left, so the
        // full fill's gauge stays exactly the tank.
    }
    for (std::size_t i = 0; i < n; ++i) {
        fuel_record r = fills_[i].record;
        r.fuel_gauge = gauge[i];
        out_.fuel.push_back(r);
    }
    fills_.clear();
}

// --- recognising and reading a file ----------------------------------------------

std::optional<import_format> detect_format(std::u16string_view text) {
    // The first lines with something in them say which layout this is.
    const std::vector<std::u16string_view> lines = split_lines(text.substr(0, detected_units));
    std::vector<std::vector<std::u16string>> first;
    for (std::u16string_view line : lines) {
        std::vector<std::u16string> cells = line_cells(line);
        if (std::all_of(cells.begin(), cells.end(), [](const auto& c) { return c.empty(); }))
            continue;
        first.push_back(std::move(cells));
        if (first.size() == 12) break;
    }
    if (first.empty()) return import_format::kelvane;  // nothing to read is our own empty file
    const auto& head = first.front();
    const auto marker_line = [&](std::initializer_list<std::u16string_view> markers) {
        for (const auto& cells : first)
            if (only_first_cell(cells))
                for (std::u16string_view m : markers)
                    if (same_word(cells[0], m)) return true;
        return false;
    };
    if (marker_line({u"## Vehicle", u"## Log", u"## Costs"})) return import_format::fuelio;
    if (marker_line({u"#Vehicle", u"#Refueling", u"#Expense", u"#Service", u"#Income"}))
        return import_format::drivvo;
    if (only_first_cell(head) &&
        (same_word(head[0], u"Metadata") || same_word(head[0], u"Vehicles") ||
         same_word(head[0], u"Fill-Up Records") || same_word(head[0], u"Event Records")))
        return import_format::acar;
    if (same_word(head[0], u"Row ID (For System Use)") && has_name(head, u"Record Type"))
        return import_format::simplyauto;
    if (has_name(head, u"car_name") &&
        (has_name(head, u"fuelup_date") || has_name(head, u"service_date")))
        return import_format::fuelly;
    if (has_name(head, u"Date") && has_name(head, u"Cost") &&
        (has_name(head, u"FuelConsumed") || has_name(head, u"IsFillToFull") ||
         (has_name(head, u"Description") && has_name(head, u"Notes"))))
        return import_format::lubelogger;
    if (is_own_header(head)) return import_format::kelvane;
    // Our own files may come without their header: a line naming a record
    // kind in its Item cell is enough.
    const std::u16string kinds[] = {tr(csv_item_fuel), tr(csv_item_repair),
                                    tr(csv_item_maintenance), tr(csv_item_fees)};
    for (std::u16string_view line : lines) {
        const std::vector<std::u16string> cells = split_csv_line(line);
        if (cells.size() > 2 &&
            std::find(std::begin(kinds), std::end(kinds), cells[2]) != std::end(kinds))
            return import_format::kelvane;
    }
    return std::nullopt;
}

peer_records read_peer_file(std::u16string_view text, import_format format,
                            const import_options& options, const account_units& account) {
    peer_records out;
    out.format = format;
    peer_reader reader(out, options, account);
    // One tracker writes no quotes at all, so a quote in its text is text.
    const std::vector<csv_record> records =
        read_csv_records(text, format != import_format::simplyauto);
    switch (format) {
        case import_format::lubelogger:
            read_lubelogger(records, reader);
            break;
        case import_format::fuelly:
            read_fuelly(records, reader);
            break;
        case import_format::fuelio:
            read_fuelio(records, reader);
            break;
        case import_format::acar:
            read_acar(records, reader);
            break;
        case import_format::drivvo:
            read_drivvo(records, reader);
            break;
        case import_format::simplyauto:
            read_simplyauto(records, reader);
            break;
        case import_format::kelvane:
            break;
    }
    if (!reader.failed()) reader.finish_fills();
    if (out.refusal != import_refusal::none) {
        out.fuel.clear(), out.jobs.clear(), out.fees.clear();
    }
    return out;
}

}  // namespace kelvane
