// The commands of kelvane-tool that move whole data sets: export, import,
// backup, restore and the sample data.

#include "cli/data_commands.h"

#include <filesystem>
#include <ostream>

#include "cli/json_text.h"
#include "cli/sample_data.h"
#include "cli/text_table.h"
#include "cli/tool_session.h"
#include "core/accounts/data_set_copier.h"
#include "core/common/text.h"
#include "core/common/translate.h"
#include "core/exchange/export_import.h"
#include "core/trips/trip_figures.h"
#include "platform/text_encoding.h"

namespace kelvane {

int data_commands::export_csv(tool_session& s) {
    if (args_.positionals().size() != 2) return usage_error("give the account and the file");
    std::u16string name;
    if (!take_account(s, 0, name)) return 1;
    export_import csv(s.fuel(), s.service(), s.fees());
    const std::string& file = args_.positionals()[1];
    if (!parent_folder_exists(file)) return 1;
    // The program's own message said why.
    if (!csv.export_account(tool_session::device_path_of(file))) return 1;
    out_ << "Exported " << s.fuel().record_count() << " fuel, " << s.service().record_count()
         << " repair and maintenance and " << s.fees().record_count() << " fees records to " << file
         << '\n';
    return 0;
}

int data_commands::import_csv(tool_session& s) {
    if (args_.positionals().size() != 2) return usage_error("give the account and the file");
    import_options options;
    if (auto f = args_.option("--format"); f && *f != "auto") {
        options.format = format_from_option(*f);
        if (!options.format)
            return usage_error(
                "--format is one of auto, kelvane, lubelogger, fuelly, fuelio, acar, drivvo, "
                "simplyauto");
    }
    if (auto u = args_.option("--from-units"); u && !read_units_option(*u, options.from_units))
        return usage_error("--from-units is DISTANCE,VOLUME: km or mi, and l, usgal or ukgal");
    if (auto d = args_.option("--dates"); d && !read_dates_option(*d, options.dates))
        return usage_error("--dates is day-first or month-first");
    if (auto v = args_.option("--vehicle")) options.vehicle = from_utf8(*v);
    std::u16string name;
    if (!take_account(s, 0, name)) return 1;
    const std::string& file = args_.positionals()[1];
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec))
        return fail("no file '" + file + "' to import");
    export_import csv(s.fuel(), s.service(), s.fees());
    const import_summary done = csv.import_file(tool_session::device_path_of(file), options);
    // A refusal (too many records) was told by the program's own message.
    if (!done.read || done.too_many) return 1;
    switch (done.refusal) {
        case import_refusal::none:
            break;
        case import_refusal::ambiguous_dates:
            return fail(to_utf8(done.why) + " (--dates day-first or --dates month-first)");
        case import_refusal::several_vehicles:
            return fail(to_utf8(done.why) + " (--vehicle NAME)");
        case import_refusal::unknown_layout:
        case import_refusal::unreadable:
            return fail(to_utf8(done.why) + " Nothing was imported.");
    }
    if (done.write_failed)
        return fail("the imported records could not be written to the account's files");
    out_ << "Format: " << to_utf8(format_display_name(done.format)) << '\n';
    out_ << "Imported " << done.fuel << " fuel, " << done.service
         << " repair and maintenance and " << done.fees << " fees records\n";
    // What else the file held, as the program reports it.
    if (const std::u16string details = import_details(done); !details.empty())
        out_ << to_utf8(details) << '\n';
    if (done.skipped)
        err_ << "kelvane-tool: " << done.skipped
             << " lines were left out: they name no kind of record, or their dates are not "
                "real calendar days\n";
    return 0;
}

int data_commands::backup(tool_session& s) {
    if (args_.positionals().size() != 1) return usage_error("give the backup folder");
    const std::string& folder = args_.positionals()[0];
    // The backup folder itself is made when missing, but not the folders above it.
    std::filesystem::path target(folder);
    if (!target.has_filename()) target = target.parent_path();  // "backup/"
    if (!parent_folder_exists(target.string())) return 1;
    const data_set_copy copied =
        data_set_copier(s.config()).backup_to_folder(tool_session::device_path_of(folder) + u"\\");
    if (copied != data_set_copy::done)
        return fail(folder + ": " + to_utf8(tr(backup_message(copied))));
    out_ << "Backed up " << s.config().list_account_names().size() << " accounts to " << folder
         << '\n';
    return 0;
}

int data_commands::restore(tool_session& s) {
    if (args_.positionals().size() != 1) return usage_error("give the backup folder");
    const std::string& folder = args_.positionals()[0];
    const data_set_copy copied =
        data_set_copier(s.config())
            .restore_from_folder(tool_session::device_path_of(folder) + u"\\");
    // A damaged Config.dat of the backup has been named on standard error.
    if (copied == data_set_copy::unreadable) return 1;
    if (copied != data_set_copy::done)
        return fail(folder + ": " + to_utf8(tr(restore_message(copied))));
    out_ << "Restored " << s.config().list_account_names().size() << " accounts from " << folder
         << '\n';
    return 0;
}

int data_commands::sample(tool_session& s) {
    if (!args_.positionals().empty()) return usage_error("'sample' takes no arguments");
    sample_data::options o;
    if (auto v = args_.option("--vehicles"); v && !read_int(*v, 1, 5, o.vehicles))
        return usage_error("--vehicles is a number from 1 to 5");
    if (auto y = args_.option("--years"); y && !read_int(*y, 1, 30, o.years))
        return usage_error("--years is a number from 1 to 30");
    int seed = 1;
    if (auto v = args_.option("--seed"); v && !read_int(*v, 0, 1000000000, seed))
        return usage_error("--seed is a whole number");
    o.seed = static_cast<unsigned>(seed);
    o.end = device_clock().now();
    if (!s.config().list_account_names().empty())
        return fail("the data folder already holds accounts; sample data goes into an empty one");
    // Record files without a Config.dat that names them are still someone's
    // records: sample data must never be mixed into them.
    for (auto pattern : {u"*.ful", u"*.mat", u"*.fee"}) {
        const auto found = device_files().find(s.data_folder() + pattern);
        if (!found.empty())
            return fail("the data folder already holds record files ('" +
                        to_utf8(found.front().name) + "'); sample data goes into an empty one");
    }
    const sample_data data(o);
    s.ensure_data_folder();
    if (s.load_trips() == load_result::damaged)
        return fail("the trip file could not be read; nothing was changed");
    if (s.trips().record_count() > 0)
        return fail("the data folder already holds trips; sample data goes into an empty one");
    if (!data.install(s.config(), {&s.fuel(), &s.service(), &s.fees()}, s.trips()))
        return fail("the sample data could not be written completely");
    for (const auto& v : data.vehicles())
        out_ << to_utf8(v.name) << ": " << v.fuel.size() << " fill-ups, " << v.services.size()
             << " repairs and services, " << v.fees.size() << " fees\n";
    out_ << data.trips().size() << " trips\n";
    return 0;
}

}  // namespace kelvane
