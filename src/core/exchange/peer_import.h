#pragma once
// Reading other trackers' CSV exports into the open account. Each tracker's
// file is recognised from its header or section lines; its rows become
// fill-ups, repair and maintenance jobs and fees in the account's own units,
// and whatever cannot be carried is counted so the owner is told about it.
// Nothing is added here: a file read whole is handed back as records, and
// export_import adds them through the same path as its own layout.

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/stores/fee_store.h"
#include "core/stores/fuel_store.h"
#include "core/stores/service_store.h"

namespace kelvane {

enum class import_format { kelvane, lubelogger, fuelly, fuelio, acar, drivvo, simplyauto };
inline constexpr import_format known_import_formats[] = {
    import_format::kelvane,   import_format::lubelogger, import_format::fuelly,
    import_format::fuelio,    import_format::acar,       import_format::drivvo,
    import_format::simplyauto};

// The name the owner knows the layout by ("Simply Auto"), and the one the
// command line takes ("simplyauto").
std::u16string_view format_display_name(import_format f);
std::string_view format_option_name(import_format f);
std::optional<import_format> format_from_option(std::string_view name);
// "Kelvane, LubeLogger, ...": every layout the import knows.
std::u16string known_format_names();

enum class distance_unit { unknown, kilometres, miles };
enum class volume_unit { unknown, litres, us_gallons, uk_gallons };

struct source_units {
    distance_unit distance = distance_unit::unknown;
    volume_unit volume = volume_unit::unknown;
};
// "km,l", "mi,usgal", "mi,ukgal" (either part may be given alone: "mi").
bool read_units_option(std::string_view text, source_units& out);

// How the day and the month of a date such as 03/05/2024 are read.
enum class date_choice { automatic, day_first, month_first };
bool read_dates_option(std::string_view text, date_choice& out);

struct import_options {
    std::optional<import_format> format;  // none: recognised from the file
    source_units from_units;              // for files that do not say theirs
    date_choice dates = date_choice::automatic;
    std::u16string vehicle;  // the vehicle to take from a file that holds several
};

// The account the records go into.
struct account_units {
    distance_unit distance = distance_unit::kilometres;
    volume_unit volume = volume_unit::litres;
    double tank_capacity = 0;
};
account_units units_of(const fuel_header& header);
// The account's unit names as the stores keep them ("Mile", "US Gallon").
std::u16string_view unit_name(distance_unit u);
std::u16string_view unit_name(volume_unit u);

// Why a file was not read; the front ends offer a choice for the two that
// the owner can settle.
enum class import_refusal { none, unknown_layout, ambiguous_dates, several_vehicles, unreadable };

// Where the units of the file were taken from.
enum class units_source { file, option, account };

// The kinds of detail a record of ours has no place for.
enum class detail_kind { photo, location, tag, text_cut, other };
inline constexpr int detail_kind_count = 5;

struct peer_records {
    import_format format = import_format::kelvane;
    std::vector<fuel_record> fuel;
    std::vector<service_record> jobs;
    std::vector<fee_record> fees;
    int partial_fills = 0;  // turned into gauge readings
    int missed_fills = 0;   // the stretch before each has no known economy
    int income_rows = 0;    // counted, never imported: they are not costs
    int not_carried[detail_kind_count] = {};
    source_units units;  // the file's units as read
    units_source units_from = units_source::file;

    import_refusal refusal = import_refusal::none;
    std::u16string why;                   // the translated reason of a refusal
    std::vector<std::u16string> choices;  // the vehicles of a file that holds several
};

// How far into a file's text detect_format reads, in units.
inline constexpr std::size_t detected_units = std::size_t{1} << 16;

// The layout of a file's text, from its first lines (within detected_units);
// none when no known layout fits. A file with nothing in it counts as our own.
std::optional<import_format> detect_format(std::u16string_view text);

// Reads a whole file of another tracker's layout (never kelvane's).
peer_records read_peer_file(std::u16string_view text, import_format format,
                            const import_options& options, const account_units& account);

}  // namespace kelvane
