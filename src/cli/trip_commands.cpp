// The commands of kelvane-tool that keep trips, through what the trip
// editor calls, the trips list with its figures, and the trip export.

#include "cli/trip_commands.h"

#include <algorithm>
#include <ostream>

#include "cli/json_text.h"
#include "cli/text_table.h"
#include "cli/tool_session.h"
#include "core/common/text.h"
#include "core/common/translate.h"
#include "core/trips/trip_editing.h"
#include "core/trips/trip_export.h"
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

bool trip_commands::trip_limit_options(trip_form& form, bool allow_none) {
    const auto none = [&](std::string_view name) {
        return allow_none && args_.option(name) == std::optional<std::string>("none");
    };
    const auto day = [&](std::string_view name, bool& use, local_time& date) {
        if (!args_.has(name)) return true;
        if (none(name)) {
            use = false;
            return true;
        }
        bool given = false;
        if (!day_option(name, date, given)) return false;
        use = true;
        return true;
    };
    const auto mileage = [&](std::string_view name, bool& use, std::u16string& text) {
        if (!args_.has(name)) return true;
        if (none(name)) {
            use = false;
            return true;
        }
        if (!number_text_option(name, text)) return false;
        use = true;
        return true;
    };
    return day("--from", form.use_start_date, form.start_date) &&
           day("--to", form.use_end_date, form.end_date) &&
           mileage("--min", form.use_start_mileage, form.start_mileage) &&
           mileage("--max", form.use_end_mileage, form.end_mileage);
}

int trip_commands::trip_saved(const trip_save_outcome& kept, std::string_view done) {
    if (kept.check != trip_check::ok) return fail(to_utf8(tr(trip_check_message(kept.check))));
    // A full trip store has told the owner.
    if (kept.key.empty()) return 1;
    if (!kept.written) return fail("the trip could not be written to Trip.tri");
    if (kept.mileage_dropped)
        err_ << "kelvane-tool: " << to_utf8(tr(msg_mileage_range_dropped)) << '\n';
    out_ << done << ' ' << args_.positionals()[0] << '\n';
    return 0;
}

int trip_commands::add_trip(tool_session& s) {
    if (args_.positionals().size() != 1) return usage_error("give the trip's name");
    trip_form form;
    if (!is_valid_utf8(args_.positionals()[0])) return usage_error("the name is not valid UTF-8");
    form.description = from_utf8(args_.positionals()[0]);
    if (form.description.size() > trip_description_length)
        return usage_error("the trip's name has more than 50 characters");
    // As in the editor: the open account, and today in both date boxes.
    if (const std::u16string open = s.config().current_account(); !open.empty())
        form.vehicles.push_back(open);
    form.start_date = form.end_date = device_clock().now();
    if (int code = vehicles_option(s, form.vehicles)) return code;
    if (!trip_limit_options(form, false)) return 2;
    if (!take_trips(s)) return 1;
    return trip_saved(save_trip(s.trips(), form), "Added trip");
}

int trip_commands::edit_trip(tool_session& s) {
    if (args_.positionals().size() != 1) return usage_error("give the trip's name");
    if (!any_option({"--rename", "--vehicles", "--from", "--to", "--min", "--max"}))
        return usage_error("give at least one change");
    if (!take_trips(s)) return 1;
    trip_record trip{};
    if (!take_trip(s, trip)) return 1;
    trip_form form = form_of(trip);
    if (auto renamed = args_.option("--rename")) {
        if (!is_valid_utf8(*renamed)) return usage_error("--rename is not valid UTF-8 text");
        form.description = from_utf8(*renamed);
        if (form.description.size() > trip_description_length)
            return usage_error("the trip's name has more than 50 characters");
    }
    if (int code = vehicles_option(s, form.vehicles)) return code;
    if (!trip_limit_options(form, true)) return 2;
    return trip_saved(save_trip(s.trips(), form, &trip), "Saved trip");
}

int trip_commands::delete_trip(tool_session& s) {
    if (args_.positionals().size() != 1) return usage_error("give the trip's name");
    if (!take_trips(s)) return 1;
    trip_record trip{};
    if (!take_trip(s, trip)) return 1;
    switch (kelvane::delete_trip(s.trips(), fixed_text(trip.key))) {
        case change_result::done:
            out_ << "Deleted trip " << args_.positionals()[0] << '\n';
            return 0;
        case change_result::not_found:
            return fail("no trip named '" + args_.positionals()[0] + "'");
        case change_result::write_failed:
            return fail("the deletion could not be written to Trip.tri");
    }
    return 1;
}

int trip_commands::export_trip(tool_session& s) {
    if (args_.positionals().size() != 2) return usage_error("give the trip and the file");
    if (!take_trips(s)) return 1;
    trip_record trip{};
    if (!take_trip(s, trip)) return 1;
    const std::string& file = args_.positionals()[1];
    if (!parent_folder_exists(file)) return 1;
    switch (export_trip_records(s.data_folder(), {s.fuel(), s.service(), s.fees()}, trip,
                                tool_session::device_path_of(file))) {
        case trip_export_result::written:
            out_ << "Exported trip " << args_.positionals()[0] << " to " << file << '\n';
            return 0;
        case trip_export_result::files_unreadable:
            return fail("a vehicle's files could not be read; nothing was exported");
        case trip_export_result::not_written:
            // The program's own message said why.
            return 1;
    }
    return 1;
}

int trip_commands::trips(tool_session& s) {
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

}  // namespace kelvane
