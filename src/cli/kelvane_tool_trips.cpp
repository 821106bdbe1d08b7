// The commands of kelvane-tool that keep trips, through what the trip
// editor calls, and the trip export.
#include <algorithm>
#include <ostream>

#include "cli/kelvane_tool.h"
#include "cli/tool_session.h"
#include "core/common/text.h"
#include "core/common/translate.h"
#include "core/trips/trip_editing.h"
#include "core/trips/trip_export.h"
#include "platform/text_encoding.h"

namespace kelvane {

bool kelvane_tool::take_trip(tool_session& s, trip_record& trip) {
    const std::string& name = args_.positionals()[0];
    if (s.trips().find_trip(from_utf8(name), trip)) return true;
    fail("no trip named '" + name + "'");
    return false;
}

int kelvane_tool::vehicles_option(tool_session& s, std::vector<std::u16string>& out) {
    const auto list = args_.option("--vehicles");
    if (!list) return 0;
    out.clear();
    for (const auto& v : split_list(*list)) {
        const std::u16string name = from_utf8(v);
        if (std::find(out.begin(), out.end(), name) != out.end())
            return usage_error("--vehicles names '" + v + "' twice");
        if (!s.config().account_exists(name)) return fail("no vehicle account named '" + v + "'");
        out.push_back(name);
    }
    if (out.empty()) return usage_error("--vehicles names no account");
    return 0;
}

bool kelvane_tool::trip_limit_options(trip_form& form, bool allow_none) {
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

int kelvane_tool::trip_saved(const trip_save_outcome& kept, std::string_view done) {
    if (kept.check != trip_check::ok) return fail(to_utf8(tr(trip_check_message(kept.check))));
    // A full trip store has told the owner.
    if (kept.key.empty()) return 1;
    if (!kept.written) return fail("the trip could not be written to Trip.tri");
    if (kept.mileage_dropped)
        err_ << "kelvane-tool: " << to_utf8(tr(msg_mileage_range_dropped)) << '\n';
    out_ << done << ' ' << args_.positionals()[0] << '\n';
    return 0;
}

int kelvane_tool::add_trip(tool_session& s) {
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

int kelvane_tool::edit_trip(tool_session& s) {
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

int kelvane_tool::delete_trip(tool_session& s) {
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

int kelvane_tool::export_trip(tool_session& s) {
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

}  // namespace kelvane
