// The report and chart commands of kelvane-tool.
#include <algorithm>
#include <ostream>

#include "cli/json_text.h"
#include "cli/kelvane_tool.h"
#include "cli/raster_dc.h"
#include "cli/text_table.h"
#include "cli/tool_session.h"
#include "core/accounts/account_figures.h"
#include "core/charts/chart_engine.h"
#include "core/charts/chart_page.h"
#include "core/charts/report_filling.h"
#include "core/common/messages.h"
#include "core/common/scaled_font.h"
#include "core/common/text.h"
#include "core/common/translate.h"
#include "core/trips/trip_figures.h"
#include "platform/text_encoding.h"

namespace kelvane {

namespace {

// The report list's row texts, which title the charts.
constexpr std::u16string_view report_titles[] = {u"Fuel economy analysis", u"Repair cost analysis",
                                                 u"Fees cost analysis", u"All expenses analysis",
                                                 u"Trip cost analysis"};

constexpr std::string_view chart_kind_names[] = {"columns", "pie", "line"};

std::string day_text(std::int64_t seconds) {
    const local_time t = from_local_seconds(seconds);
    return to_utf8(format("%04d-%02d-%02d", t.year, t.month, t.day));
}

}  // namespace

bool kelvane_tool::read_limits(selection_limits& limits) {
    local_time from, to;
    bool has_from = false, has_to = false;
    if (auto text = args_.option("--from")) {
        bool has_time = false;
        if (!read_date(*text, from, has_time)) {
            usage_error("bad date for --from: '" + *text + "' (use YYYY-MM-DD)");
            return false;
        }
        if (!has_time) from.hour = from.minute = from.second = 0;
        has_from = true;
        limits.from = from;
    }
    if (auto text = args_.option("--to")) {
        bool has_time = false;
        if (!read_date(*text, to, has_time)) {
            usage_error("bad date for --to: '" + *text + "' (use YYYY-MM-DD)");
            return false;
        }
        // A day given alone counts up to its last second.
        if (!has_time) to.hour = 23, to.minute = 59, to.second = 59;
        has_to = true;
        limits.to = to;
    }
    if (has_from && has_to && to_local_seconds(from) > to_local_seconds(to)) {
        usage_error("--from is after --to");
        return false;
    }
    bool given = false;
    if (!amount_option("--min", limits.lowest, given)) return false;
    if (!amount_option("--max", limits.highest, given)) return false;
    if (limits.lowest >= 0 && limits.highest >= 0 && limits.lowest > limits.highest) {
        usage_error("--min is above --max");
        return false;
    }
    return true;
}

int kelvane_tool::fill_chart(tool_session& s, int kind, chart_engine& chart, dc& surface,
                             std::u16string& title, std::vector<std::u16string>& vehicles) {
    title = tr(report_titles[kind]);
    if (kind == 4) return fill_trip_chart(s, chart, surface, title, vehicles);
    if (args_.has("--trip")) {
        return usage_error("--trip belongs to report 4");
    }
    selection_limits limits;
    if (!read_limits(limits)) return 2;

    if (auto list = args_.option("--vehicles")) {
        for (const auto& v : split_list(*list)) vehicles.push_back(from_utf8(v));
        if (vehicles.empty()) return usage_error("--vehicles names no account");
        // An account read twice would count its records twice.
        for (auto v = vehicles.begin(); v != vehicles.end(); ++v)
            if (std::find(vehicles.begin(), v, *v) != v)
                return usage_error("--vehicles names '" + to_utf8(*v) + "' twice");
    } else if (!s.config().current_account().empty()) {
        vehicles.push_back(s.config().current_account());
    } else {
        return fail(to_utf8(tr(msg_open_account)));
    }
    // The records of every chosen account, account after account.
    fuel_store fuel;
    service_store maintenance;
    fee_store fees;
    for (const auto& v : vehicles) {
        if (!s.config().account_exists(v)) {
            return fail("no vehicle account named '" + to_utf8(v) + "'");
        }
        // A report that silently left out an account's records would be wrong.
        const load_result results[] = {fuel.load(s.data_folder(), v, true),
                                       maintenance.load(s.data_folder(), v, true),
                                       fees.load(s.data_folder(), v, true)};
        for (load_result r : results)
            if (r == load_result::damaged) return unreadable_account(v);
    }
    if (!fill_report(chart, surface, static_cast<report_kind>(kind), {&fuel, &maintenance, &fees},
                     limits))
        return fail("the report could not be filled");
    return 0;
}

int kelvane_tool::fill_trip_chart(tool_session& s, chart_engine& chart, dc& surface,
                                  std::u16string& title, std::vector<std::u16string>& vehicles) {
    const auto name = args_.option("--trip");
    if (!name) return usage_error("report 4 needs --trip NAME");
    for (const char* other : {"--from", "--to", "--min", "--max", "--vehicles"})
        if (args_.has(other))
            return usage_error(std::string(other) + " does not go with --trip: the trip sets it");
    if (s.load_trips() == load_result::damaged)
        return fail("the trip file could not be read; nothing was changed");
    trip_store::record_type trip{};
    const std::u16string description = from_utf8(*name);
    if (!s.trips().find_trip(description, trip)) return fail("no trip named '" + *name + "'");
    for (const auto& slot : trip.trip_vehicles)
        if (slot[0]) vehicles.push_back(fixed_text(slot));
    // The trip mileage is measured on the open account's fill-ups.
    if (!load_open_account(s)) return 1;
    trip_figures figures(s.data_folder(), s.fuel(), s.maintenance(), s.fees());
    chart_engine totals;
    title = figures.statistics(totals, s.trips(), description);
    if (!figures.files_ok())
        return fail("a vehicle's files could not be read; the report would leave them out");
    const auto& e = totals.entries();
    if (e.size() != 3) return fail("the trip's figures could not be computed");
    fill_expense_shares(chart, surface, e[0].value, e[1].value, e[2].value);
    return 0;
}

int kelvane_tool::report(tool_session& s) {
    int kind = 0;
    if (args_.positionals().size() != 1 || !read_int(args_.positionals()[0], 0, 4, kind))
        return usage_error("give the report kind, a number from 0 to 4");
    // Colours are not needed for text, but preparing the entries reads them back.
    raster_dc surface(s.device_facts().screen_width(), s.device_facts().screen_height());
    chart_engine chart;
    std::u16string title;
    std::vector<std::u16string> vehicles;
    if (int code = fill_chart(s, kind, chart, surface, title, vehicles)) return code;
    const auto& entries = chart.entries();
    // What each vehicle costs over all its records, whatever the report's range.
    std::vector<account_figures> figures;
    for (const auto& v : vehicles)
        figures.push_back(read_account_figures(s.data_folder(), v, service_margins{}));

    if (args_.flag("--json")) {
        out_ << "{\"kind\":" << kind << ",\"title\":" << json_string(title) << ",\"chart\":\""
             << chart_kind_names[static_cast<int>(chart.chart_type())] << "\""
             << ",\"legend\":" << json_string(chart.legend_format()) << ",\"vehicles\":[";
        for (std::size_t i = 0; i < vehicles.size(); ++i)
            out_ << (i ? "," : "") << json_string(vehicles[i]);
        out_ << "],\"entries\":[";
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const auto& e = entries[i];
            out_ << (i ? "," : "") << "{\"name\":" << json_string(fixed_text(e.name))
                 << ",\"value\":" << json_number(e.value)
                 << ",\"share_of_total\":" << json_number(e.share_of_total)
                 << ",\"share_of_max\":" << json_number(e.share_of_max)
                 << ",\"date\":" << json_string(fixed_text(e.date_text))
                 << ",\"note\":" << json_string(fixed_text(e.note_text)) << "}";
        }
        out_ << "],\"total\":" << json_number(chart.total_value()) << ",\"earliest\":\""
             << day_text(chart.earliest()) << "\",\"latest\":\"" << day_text(chart.latest())
             << "\",\"figures\":[";
        for (std::size_t i = 0; i < figures.size(); ++i)
            out_ << (i ? "," : "") << "{\"name\":" << json_string(vehicles[i]) << ","
                 << figures_json(figures[i]) << "}";
        out_ << "]}\n";
        return 0;
    }
    out_ << to_utf8(title) << '\n';
    std::u16string names;
    for (std::size_t i = 0; i < vehicles.size(); ++i) names += (i ? u"," : u"") + vehicles[i];
    out_ << to_utf8(names) << '\n';
    if (entries.empty()) {
        out_ << to_utf8(tr(u"No data")) << '\n';
        write_cost_lines(vehicles, figures);
        return 0;
    }
    text_table t({tr(u"Name"), u">" + tr(u"Value"), u">%", tr(u"Date"), tr(u"Description")});
    for (const auto& e : entries)
        t.add_row({fixed_text(e.name), format("%.2f", e.value),
                   format("%.2f%%", e.share_of_total * 100), fixed_text(e.date_text),
                   fixed_text(e.note_text)});
    t.write(out_);
    out_ << to_utf8(tr(u"Total") + format(": %.2f", chart.total_value())) << '\n';
    write_cost_lines(vehicles, figures);
    return 0;
}

int kelvane_tool::chart(tool_session& s) {
    int kind = 0;
    if (args_.positionals().size() != 1 || !read_int(args_.positionals()[0], 0, 4, kind))
        return usage_error("give the report kind, a number from 0 to 4");
    const auto out = args_.option("--out");
    if (!out || out->empty()) return usage_error("--out FILE.bmp is needed");
    int width = 240, height = 320;
    if (auto size = args_.option("--size"); size && !read_size(*size, 16, 4096, width, height))
        return usage_error("bad --size '" + *size + "' (use WIDTHxHEIGHT, 16 to 4096 each)");
    std::optional<chart_kind> type;
    if (auto t = args_.option("--type")) {
        for (int k = 0; k < 3; ++k)
            if (*t == chart_kind_names[k]) type = static_cast<chart_kind>(k);
        if (!type) return usage_error("--type is columns, line or pie");
    }

    // The legend and the fonts follow the screen the chart is drawn for.
    s.device_facts().set_screen_size(width, height);
    raster_dc surface(width, height);
    chart_engine chart;
    std::u16string title;
    std::vector<std::u16string> vehicles;
    if (int code = fill_chart(s, kind, chart, surface, title, vehicles)) return code;
    if (type) chart.set_chart_type(*type);
    draw_chart_page(chart, surface, {0, 0, width, height}, true, title,
                    scaled_font_size(chart_font_request(width), width, height));
    // The program's own message said why.
    if (!chart.save_bitmap(surface, 0, 0, width, height, tool_session::device_path_of(*out)))
        return 1;
    out_ << "Saved " << *out << " (" << width << "x" << height << ")\n";
    return 0;
}

}  // namespace kelvane
