// The commands of kelvane-tool that change accounts and the program's
// options, through what the account editor and the options screen call.
#include <algorithm>
#include <ostream>

#include "cli/json_text.h"
#include "cli/kelvane_tool.h"
#include "cli/tool_session.h"
#include "core/accounts/account_entry.h"
#include "core/accounts/program_options.h"
#include "core/common/date_text.h"
#include "core/common/text.h"
#include "core/common/translate.h"
#include "platform/text_encoding.h"

namespace kelvane {

namespace {

// The currency field keeps this many characters.
constexpr std::size_t currency_length = 33;

int trips_starting_with(const trip_store& trips, std::u16string_view name) {
    int count = 0;
    for (int i = 0; i < trips.record_count(); ++i)
        if (fixed_text(trips.record_at(i).trip_vehicles[0]) == name) ++count;
    return count;
}

}  // namespace

bool kelvane_tool::account_options(account_entry& e) {
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

int kelvane_tool::account_save_failed(const account_save_result& result) {
    if (result.outcome != account_save_outcome::saved)
        return fail(to_utf8(tr(account_save_message(result.outcome))));
    return fail("the account's files could not all be written; the edit is incomplete");
}

bool kelvane_tool::take_trips(tool_session& s) {
    if (s.load_trips() != load_result::damaged) return true;
    fail("the trip file could not be read; nothing was changed");
    return false;
}

int kelvane_tool::edit_account(tool_session& s) {
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

int kelvane_tool::delete_account(tool_session& s) {
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

int kelvane_tool::open_account(tool_session& s) {
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

int kelvane_tool::options(tool_session& s) {
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

}  // namespace kelvane
