#pragma once
// The pieces every reader of another tracker's file shares: its rows as
// cells, its sections as named tables, the file-wide choice of decimal mark
// and date order, unit conversion into the account's units, and the turning
// of full and partial fills into gauge readings.

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/text.h"
#include "core/exchange/peer_import.h"

namespace kelvane {

// One row of a file with the number of the line it starts on.
struct csv_record {
    int line = 0;
    std::vector<std::u16string> cells;
};

// The rows of a whole text. With quoting, a cell that starts with a double
// quote (after spaces) runs to its closing quote, across commas and line
// ends, and a doubled quote inside stands for one; without it every comma
// and line end splits. Rows whose cells are all empty are left out.
std::vector<csv_record> read_csv_records(std::u16string_view text, bool quoting = true);

std::u16string trimmed(std::u16string_view text);
// True when the texts are equal ignoring letter case and surrounding spaces.
bool same_word(std::u16string_view a, std::u16string_view b);

// A header row and the rows under it.
struct peer_table {
    int line = 0;  // of the header
    std::vector<std::u16string> names;
    std::vector<csv_record> rows;

    // The first column with one of the names (letter case and spaces
    // ignored); -1 when there is none.
    int column(std::initializer_list<std::u16string_view> names) const;
    // The first column whose name starts with the text, letter case ignored.
    int column_starting(std::u16string_view start) const;
    static std::u16string_view cell(const csv_record& row, int column);
};

// A whole file cut into sections: a section starts at a line whose first
// cell is one of the markers (the other cells empty) and holds the header
// on its next row and the rows up to the next marker.
struct peer_section {
    std::u16string marker;
    peer_table table;
};
std::vector<peer_section> split_sections(const std::vector<csv_record>& records,
                                         std::initializer_list<std::u16string_view> markers);
// The table of the first section with the marker; null when there is none.
peer_table* find_section(std::vector<peer_section>& sections, std::u16string_view marker);
// A table of the whole file: its first row is the header.
peer_table whole_table(std::vector<csv_record> records);

// A fill-up as the other tracker keeps it, already in the account's units.
struct peer_fill {
    fuel_record record{};  // date, mileage, cost, unit price, quantity, type, note
    bool partial = false;
    bool missed = false;  // a fill-up before this one was not recorded
};

// How the parts of a date are ordered.
enum class date_parts { year_month_day, day_month_year, month_day_year };

// The order of the date parts in a pattern such as "dd.MM.yyyy" that a file
// declares; none when the pattern does not say.
std::optional<date_parts> date_pattern_order(std::u16string_view pattern);

// Reads one file into peer_records. Each step that fails records the refusal
// and returns false, so a reader stops at the first one.
class peer_reader {
public:
    peer_reader(peer_records& out, const import_options& options, const account_units& account)
        : out_(out), options_(options), account_(account) {}

    bool failed() const { return out_.refusal != import_refusal::none; }
    bool refuse(import_refusal why, std::u16string text);
    // "Line 12: " and the translated reason.
    bool refuse_at(const csv_record& row, std::u16string_view reason_key,
                   std::u16string_view subject);

    // Units: what the file says, else the option, else the account's.
    void settle_units(source_units from_file);
    const source_units& units() const { return out_.units; }

    // The decimal mark of the file, from the texts of its number columns:
    // note them all, then settle.
    void note_numbers(const peer_table& table, std::initializer_list<int> columns);
    void note_number_text(std::u16string_view text);
    void settle_decimal_mark() { decimal_comma_ = comma_votes_ > point_votes_; }
    // The date order of the file from the date columns seen so far, or the
    // order the file declares. False (refused) when the owner must choose.
    void note_date_text(std::u16string_view text);
    bool settle_date_order(std::optional<date_parts> declared = std::nullopt);

    // An amount, mileage or quantity ("$1,204.50", "45,5", ""); an empty
    // cell is 0. False (refused) when the text is no number.
    bool number(const csv_record& row, int column, double& out);
    bool number_text(const csv_record& row, std::u16string_view text, double& out);
    // A date with an optional time ("2024-03-05 14:30", "3/5/2024 2:30 PM");
    // a separate time cell may be given. False (refused) when it is no date.
    bool date(const csv_record& row, std::u16string_view text, std::u16string_view time,
              dated_record_prefix& r);
    // A flag cell: "1", "True", "Yes" (in English, French, German,
    // Portuguese, Spanish).
    static bool flag(std::u16string_view text);

    double distance(double value) const;  // in the file's distance unit
    double volume(double value) const;    // in the file's volume unit
    double distance(double value, distance_unit from) const;
    double volume(double value, volume_unit from) const;

    // Keeps only the rows of one vehicle when a file holds several: the one
    // the options name, else refuses with the list. The column may be -1.
    bool keep_one_vehicle(std::initializer_list<std::pair<peer_table*, int>> tables);

    // Sets a fill's quantity, cost and unit price in the account's units from
    // the file's: a missing cost is quantity times unit price.
    void price_fill(peer_fill& fill, double quantity, double cost, double unit_price) const {
        price_fill(fill, quantity, cost, unit_price, units().volume);
    }
    void price_fill(peer_fill& fill, double quantity, double cost, double unit_price,
                    volume_unit from) const;
    void add_fill(const peer_fill& fill) { fills_.push_back(fill); }
    void add_job(const service_record& r) { out_.jobs.push_back(r); }
    void add_fee(const fee_record& r) { out_.fees.push_back(r); }
    void not_carried(detail_kind kind, int count = 1) {
        out_.not_carried[static_cast<int>(kind)] += count;
    }
    // Counts a detail when its cell holds something.
    void not_carried_if(detail_kind kind, const csv_record& row, int column);
    void count_income() { ++out_.income_rows; }
    // Puts a text into a fixed field, counting it when it had to be cut.
    template <std::size_t N>
    void put_text(char16_t (&field)[N], std::u16string_view text);

    // The tank capacity the file gives (in its own unit), used when the
    // account has none.
    void file_tank(double capacity) { file_tank_ = volume(capacity); }
    // Turns the fills into fuel records with gauge readings (below).
    void finish_fills();

private:
    peer_records& out_;
    const import_options& options_;
    const account_units& account_;
    std::vector<peer_fill> fills_;
    double file_tank_ = 0;
    int comma_votes_ = 0, point_votes_ = 0;
    bool decimal_comma_ = false;
    bool day_over_12_first_ = false, day_over_12_second_ = false, short_first_seen_ = false;
    bool dotted_ = false;
    date_parts order_ = date_parts::year_month_day;
};

template <std::size_t N>
void peer_reader::put_text(char16_t (&field)[N], std::u16string_view text) {
    const std::u16string t = trimmed(text);
    if (t.size() > N - 1) not_carried(detail_kind::text_cut);
    set_fixed(field, t);
}

// Joins the non-empty texts with " - ".
std::u16string joined(std::initializer_list<std::u16string_view> texts);

// The readers, one per tracker.
void read_lubelogger(const std::vector<csv_record>& records, peer_reader& reader);
void read_fuelly(const std::vector<csv_record>& records, peer_reader& reader);
void read_fuelio(const std::vector<csv_record>& records, peer_reader& reader);
void read_acar(const std::vector<csv_record>& records, peer_reader& reader);
void read_drivvo(const std::vector<csv_record>& records, peer_reader& reader);
void read_simplyauto(const std::vector<csv_record>& records, peer_reader& reader);

}  // namespace kelvane
