// The commands of kelvane-tool that change accounts and the program's
// options, through what the account editor and the options screen call.

#include "cli/account_commands.h"

#include <algorithm>
#include <ostream>

#include "cli/json_text.h"
#include "cli/text_table.h"
#include "cli/tool_session.h"
#include "core/accounts/account_entry.h"
#include "core/accounts/account_figures.h"
#include "core/accounts/program_options.h"
#include "core/accounts/units.h"
#include "core/common/date_text.h"
#include "core/common/messages.h"
#include "core/common/parse_number.h"
#include "core/common/text.h"
#include "core/common/translate.h"
#include "platform/text_encoding.h"

namespace kelvane {

namespace {

std::u16string u16(const std::string& utf8) {
    return from_utf8(utf8);
}

// The currency field keeps this many characters.
constexpr std::size_t currency_length = 33;

int trips_starting_with(const trip_store& trips, std::u16string_view name) {
    int count = 0;
    for (int i = 0; i < trips.record_count(); ++i)
        if (fixed_text(trips.record_at(i).trip_vehicles[0]) == name) ++count;
    return count;
}

}  // namespace

bool account_commands::account_options(account_entry& e) {
    if (auto u = args_.option("--mileage-unit")) {
        const std::u16string unit = from_utf8(*u);
        if (mileage_unit_index(unit) < 0) {
            usage_error("--mileage-unit is Kilometer or Mile");
            return false;
        }
        e.change_mileage_unit(unit);
    }
    if (auto u = args_.option("--fuel-unit")) {
        const std::u16string unit = from_utf8(*u);
        if (std::find(fuel_unit_names.begin(), fuel_unit_names.end(), unit) ==
            fuel_unit_names.end()) {
            usage_error("--fuel-unit is Liter, US Gallon or UK Gallon");
            return false;
        }
        e.change_fuel_unit(unit);
    }
    if (auto v = args_.option("--economy"); v && !read_int(*v, 0, 3, e.economy_mode)) {
        usage_error("--economy is a number from 0 to 3");
        return false;
    }
    return number_text_option("--initial-mileage", e.initial_mileage) &&
           number_text_option("--initial-fuel", e.initial_fuel) &&
           number_text_option("--tank", e.tank_capacity) &&
           text_option("--currency", currency_length, e.currency) &&
           text_option("--note", account_note_length, e.note);
}

int account_commands::account_save_failed(const account_save_result& result) {
    if (result.outcome != account_save_outcome::saved)
        return fail(to_utf8(tr(account_save_message(result.outcome))));
    return fail("the account's files could not all be written; the edit is incomplete");
}

int account_commands::edit_account(tool_session& s) {
    if (args_.positionals().size() != 1) return usage_error("give the account's name");
    const std::u16string name = from_utf8(args_.positionals()[0]);
    if (!any_option({"--rename", "--mileage-unit", "--fuel-unit", "--economy", "--currency",
                     "--initial-mileage", "--initial-fuel", "--tank", "--date", "--note"}))
        return usage_error("give at least one setting to change");
    if (!s.config().account_exists(name))
        return fail("no vehicle account named '" + args_.positionals()[0] + "'");

    account_entry e = account_entry::of(read_account_settings(s.config(), name));
    if (!account_options(e)) return 2;
    local_time day{e.year, e.month, e.day, 0, 0, 0};
    bool given = false;
    if (!day_option("--date", day, given)) return 2;
    e.year = day.year, e.month = day.month, e.day = day.day;
    if (auto renamed = args_.option("--rename")) {
        if (!is_valid_utf8(*renamed)) return usage_error("--rename is not valid UTF-8 text");
        e.name = from_utf8(*renamed);
        // The editor's box holds no more; cutting a longer name would give
        // the account a name that was never asked for.
        if (e.name.size() > configuration::max_name_length)
            return fail("'" + *renamed +
                        "' cannot be an account name (1 to 128 characters, usable as a file name)");
    }

    // The edit writes the records converted and renamed; it must not start
    // from files it could not read.
    if (!take_trips(s)) return 1;
    if (s.load_account(name) == load_result::damaged) return unreadable_account(name);
    const account_save_result saved =
        save_account_edit(s.config(), s.edit_stores(), name, e.settings());
    if (saved.outcome != account_save_outcome::saved || !saved.files_written)
        return account_save_failed(saved);
    if (saved.name != name)
        out_ << "Renamed account " << to_utf8(name) << " to " << to_utf8(saved.name) << '\n';
    else
        out_ << "Saved account " << to_utf8(name) << '\n';
    return 0;
}

int account_commands::delete_account(tool_session& s) {
    if (args_.positionals().size() != 1) return usage_error("give the account's name");
    const std::u16string name = from_utf8(args_.positionals()[0]);
    if (!s.config().account_exists(name))
        return fail("no vehicle account named '" + args_.positionals()[0] + "'");
    if (!take_trips(s)) return 1;
    const int trips = trips_starting_with(s.trips(), name);
    if (!delete_account_and_trips(s.config(), s.edit_stores(), name))
        return fail("the deletion of '" + args_.positionals()[0] +
                    "' could not be written completely");
    out_ << "Deleted account " << args_.positionals()[0]
         << " (its files are kept in the Deleted folder) and " << trips
         << (trips == 1 ? " trip" : " trips") << '\n';
    return 0;
}

int account_commands::open_account(tool_session& s) {
    if (args_.positionals().size() != 1) return usage_error("give the account's name");
    const std::u16string name = from_utf8(args_.positionals()[0]);
    switch (s.load_account(name)) {
        case load_result::loaded:
            break;
        case load_result::missing:
            return fail("no vehicle account named '" + args_.positionals()[0] + "'");
        case load_result::damaged:
            return unreadable_account(name);
    }
    if (s.config().open_account(name).not_saved) return fail("Config.dat could not be written");
    out_ << "Opened account " << args_.positionals()[0] << '\n';
    return 0;
}

int account_commands::options(tool_session& s) {
    if (!args_.positionals().empty()) return usage_error("'options' takes no arguments");
    configuration& config = s.config();
    if (any_option({"--language", "--backup-folder", "--input-panel"})) {
        const std::u16string opening = language_in_force(config);
        program_options chosen{opening, config.auto_backup_folder(), config.no_input_panel()};
        if (auto l = args_.option("--language")) {
            if (!is_valid_utf8(*l)) return usage_error("--language is not valid UTF-8 text");
            chosen.language = *l == "English" ? std::u16string(english_language) : from_utf8(*l);
        }
        if (auto b = args_.option("--backup-folder")) {
            if (!is_valid_utf8(*b)) return usage_error("--backup-folder is not valid UTF-8 text");
            chosen.backup_folder = from_utf8(*b);
            // The stored path holds 600 characters with both backslashes.
            if (normalise_backup_path(chosen.backup_folder).size() > 600)
                return usage_error("--backup-folder is longer than 598 characters");
        }
        if (auto p = args_.option("--input-panel")) {
            if (*p != "on" && *p != "off") return usage_error("--input-panel is on or off");
            chosen.no_input_panel = *p == "off";
        }
        s.ensure_data_folder();
        const options_result result = apply_options(config, chosen, opening);
        if (result.outcome != options_outcome::applied)
            return fail(to_utf8(tr(options_message(result.outcome))));
        if (!result.saved) return fail("Config.dat could not be written; nothing was kept");
        if (result.language_changed)
            err_ << "kelvane-tool: the program shows the new language from its next start\n";
    }

    const std::u16string language = language_in_force(config);
    const std::vector<std::u16string> files = list_language_files(config);
    const bool backed_up = config.last_auto_backup_year() || config.last_auto_backup_month() ||
                           config.last_auto_backup_day();
    if (args_.flag("--json")) {
        out_ << "{\"language\":" << json_string(language) << ",\"language_files\":[";
        for (std::size_t i = 0; i < files.size(); ++i)
            out_ << (i ? "," : "") << json_string(files[i]);
        out_ << "],\"backup_folder\":" << json_string(config.auto_backup_folder())
             << ",\"input_panel\":" << (config.no_input_panel() ? "false" : "true")
             << ",\"last_auto_backup\":";
        if (backed_up)
            out_ << json_string(format("%04d-%02d-%02d", config.last_auto_backup_year(),
                                       config.last_auto_backup_month(),
                                       config.last_auto_backup_day()));
        else
            out_ << "null";
        out_ << "}\n";
        return 0;
    }
    std::u16string names = tr(english_language);
    for (const auto& f : files) names += u", " + f;
    const auto line = [&](std::u16string_view label, const std::u16string& value) {
        out_ << to_utf8(tr(label)) << ": " << to_utf8(value) << '\n';
    };
    line(u"Language file", language.empty() ? tr(english_language) : language);
    line(u"Language files", names);
    line(u"Backup path", config.auto_backup_folder());
    line(u"Last time of auto backup",
         backed_up ? long_date_text(config.last_auto_backup_year(), config.last_auto_backup_month(),
                                    config.last_auto_backup_day())
                   : tr(u"None"));
    line(u"It is not allowed to use Input Panel", config.no_input_panel() ? u"yes" : u"no");
    return 0;
}

int account_commands::accounts(tool_session& s) {
    if (!args_.positionals().empty()) return usage_error("'accounts' takes no arguments");
    const std::u16string folder = s.data_folder();
    struct row {
        std::u16string name;
        double mileage, cost;
        account_figures figures;
    };
    std::vector<row> rows;
    double total = 0;
    std::u16string unreadable;  // the first account with a damaged file
    // Highest slot first, as every account list of the program shows them.
    for (const auto& name : s.config().list_account_names()) {
        const auto fuel = fuel_store::read_account_header(folder, name);
        const auto service = service_store::read_account_header(folder, name);
        const auto fees = fee_store::read_account_header(folder, name);
        // A damaged file counts as zero in the list, and the listing fails.
        const bool damaged = fuel.result == load_result::damaged ||
                             service.result == load_result::damaged ||
                             fees.result == load_result::damaged;
        if (damaged && unreadable.empty()) unreadable = name;
        const double cost =
            fuel.header.total_fuel_cost + service.header.total_cost + fees.header.total_cost;
        rows.push_back(
            {name, fuel.header.current_mileage, cost,
             damaged ? account_figures{} : read_account_figures(folder, name, service_margins{})});
        total += cost;
    }
    const auto outcome = [&] { return unreadable.empty() ? 0 : unreadable_account(unreadable); };
    if (args_.flag("--json")) {
        out_ << "{\"current\":" << json_string(s.config().current_account()) << ",\"accounts\":[";
        for (std::size_t i = 0; i < rows.size(); ++i)
            out_ << (i ? "," : "") << "{\"name\":" << json_string(rows[i].name)
                 << ",\"mileage\":" << json_number(rows[i].mileage)
                 << ",\"total_cost\":" << json_fixed(rows[i].cost, 2) << ","
                 << figures_json(rows[i].figures) << "}";
        out_ << "],\"total_cost\":" << json_fixed(total, 2) << "}\n";
        return outcome();
    }
    text_table table({tr(u"Auto"), u">" + tr(u"Total Mileage"), u">" + tr(u"Total Cost")});
    const std::u16string current = s.config().current_account();
    for (const auto& r : rows)
        table.add_row({r.name == current ? r.name + u" *" : r.name, format("%.f", r.mileage),
                       format("%.f", r.cost)});
    table.write(out_);
    out_ << to_utf8(tr(u"Total Cost") + format(": %.2f", total)) << '\n';
    return outcome();
}

int account_commands::add_account(tool_session& s) {
    if (args_.positionals().size() != 1) return usage_error("give the account's name");
    const std::u16string name = u16(args_.positionals()[0]);
    if (!configuration::is_valid_account_name(name))
        return fail("'" + args_.positionals()[0] +
                    "' cannot be an account name (1 to 128 characters, usable as a file "
                    "name and, in UTF-8, at most 223 bytes long)");
    if (const std::u16string alike = s.config().account_named_alike(name); !alike.empty()) {
        if (alike == name)
            return fail("there is already an account named '" + args_.positionals()[0] + "'");
        // On the handheld (and on Windows or macOS disks) both would share one set of files.
        return fail("the account '" + to_utf8(alike) + "' differs from '" + args_.positionals()[0] +
                    "' only in letter case; they would share its files");
    }

    account_entry e;
    e.name = name;
    const local_time today = device_clock().now();
    local_time day = today;
    bool given = false;
    if (!account_options(e) || !day_option("--date", day, given)) return 2;
    // As in the account editor, the economy unit follows the units unless chosen.
    if (!args_.option("--economy"))
        e.economy_mode = economy_mode_for_units(e.mileage_unit, e.fuel_unit);
    e.year = day.year, e.month = day.month, e.day = day.day;

    // Files left behind under the same name that cannot be read are kept as
    // they are; the new account is not set up over them.
    const std::u16string folder = s.data_folder();
    if (fuel_store::read_account_header(folder, name).result == load_result::damaged ||
        service_store::read_account_header(folder, name).result == load_result::damaged ||
        fee_store::read_account_header(folder, name).result == load_result::damaged)
        return unreadable_account(name);

    s.ensure_data_folder();
    const account_save_result saved =
        save_account_edit(s.config(), s.edit_stores(), u"", e.settings());
    if (saved.outcome != account_save_outcome::saved || !saved.files_written)
        return account_save_failed(saved);
    out_ << "Added account " << args_.positionals()[0] << '\n';
    return 0;
}

}  // namespace kelvane
