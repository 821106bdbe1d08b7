// The commands of kelvane-tool that move whole data sets: trips, export,
// import, backup, restore and the sample data.
#include <filesystem>
#include <ostream>

#include "cli/json_text.h"
#include "cli/kelvane_tool.h"
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

namespace {

std::string day_iso(int year, int month, int day) {
    return to_utf8(format("%04d-%02d-%02d", year, month, day));
}

std::string limits_text(const trip_store::record_type& t) {
    std::u16string text;
    if (t.use_start_date)
        text += format("from %04d-%02d-%02d ", t.start_year, t.start_month, t.start_day);
    if (t.use_end_date) text += format("to %04d-%02d-%02d ", t.end_year, t.end_month, t.end_day);
    if (t.use_start_mileage) text += format("from mileage %.1f ", t.start_mileage);
    if (t.use_end_mileage) text += format("to mileage %.1f ", t.end_mileage);
    if (!text.empty()) text.pop_back();
    return to_utf8(text);
}

}  // namespace

bool kelvane_tool::load_open_account(tool_session& s) {
    const std::u16string open = s.config().current_account();
    if (open.empty() || s.load_account(open) != load_result::damaged) return true;
    unreadable_account(open);
    return false;
}

int kelvane_tool::trips(tool_session& s) {
    if (!args_.positionals().empty()) return usage_error("'trips' takes no arguments");
    if (s.load_trips() == load_result::damaged)
        return fail("the trip file could not be read; nothing was changed");
    // The trip mileage is measured on the open account's fill-ups.
    if (!load_open_account(s)) return 1;
    trip_figures figures(s.data_folder(), s.fuel(), s.service(), s.fees());
    trip_store& store = s.trips();
    // Figures that miss a damaged vehicle file are shown, but the listing fails.
    const auto outcome = [&](bool all_read) {
        return all_read ? 0
                        : fail("a vehicle's files could not be read; the figures leave them out");
    };

    if (args_.flag("--json")) {
        bool all_read = true;  // every trip's totals read every file
        out_ << "{\"trips\":[";
        for (int i = 0; i < store.record_count(); ++i) {
            const auto& trip = store.record_at(i);
            const trip_totals t = figures.totals(trip);
            out_ << (i ? "," : "")
                 << "{\"description\":" << json_string(fixed_text(trip.trip_description))
                 << ",\"vehicles\":[";
            bool first = true;
            for (const auto& slot : trip.trip_vehicles) {
                if (!slot[0]) continue;
                out_ << (first ? "" : ",") << json_string(fixed_text(slot));
                first = false;
            }
            out_ << "],\"limits\":\"" << limits_text(trip) << "\",\"from\":"
                 << (trip.use_start_date
                         ? "\"" + day_iso(trip.start_year, trip.start_month, trip.start_day) + "\""
                         : "null")
                 << ",\"to\":"
                 << (trip.use_end_date
                         ? "\"" + day_iso(trip.end_year, trip.end_month, trip.end_day) + "\""
                         : "null")
                 << ",\"min\":"
                 << (trip.use_start_mileage ? json_number(trip.start_mileage) : "null")
                 << ",\"max\":" << (trip.use_end_mileage ? json_number(trip.end_mileage) : "null")
                 << ",\"fuel\":" << json_fixed(t.fuel, 2)
                 << ",\"repair\":" << json_fixed(t.repair, 2)
                 << ",\"fees\":" << json_fixed(t.fees, 2)
                 << ",\"total\":" << json_fixed(t.fuel + t.repair + t.fees, 2)
                 << ",\"mileage\":" << (t.vehicle_count < 2 ? json_number(t.mileage) : "null")
                 << "}";
            if (!figures.files_ok()) all_read = false;
        }
        out_ << "]}\n";
        return outcome(all_read);
    }
    text_table table({tr(u"Description"), u">" + tr(u"Cost")});
    for (const trip_row& row : figures.build_rows(store))
        table.add_row({std::u16string(static_cast<std::size_t>(row.indent / 5), u' ') + row.text,
                       row.cost_text});
    if (table.empty()) {
        out_ << "No trips\n";
        return 0;
    }
    table.write(out_);
    return outcome(figures.files_ok());
}

int kelvane_tool::export_csv(tool_session& s) {
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

int kelvane_tool::import_csv(tool_session& s) {
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
    out_ << "Imported " << done.fuel << " fuel, " << done.maintenance
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

int kelvane_tool::backup(tool_session& s) {
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

int kelvane_tool::restore(tool_session& s) {
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

int kelvane_tool::sample(tool_session& s) {
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
