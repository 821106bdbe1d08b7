// The report and chart commands of kelvane-tool.

#include "cli/report_commands.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <limits>
#include <ostream>

#include "cli/json_text.h"
#include "cli/png_picture.h"
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
// The reports by name, in the order of their numbers.
constexpr std::string_view report_names[] = {"economy", "repairs", "fees", "expenses", "trips"};

constexpr std::string_view chart_kind_names[] = {"columns", "pie", "line"};

std::string day_text(std::int64_t seconds) {
    const local_time t = from_local_seconds(seconds);
    return to_utf8(format("%04d-%02d-%02d", t.year, t.month, t.day));
}

// A day of a JSON answer: "YYYY-MM-DD", or null.
std::string json_day(std::optional<std::int64_t> seconds) {
    return seconds ? "\"" + day_text(*seconds) + "\"" : "null";
}

// The JSON name of what each legend column shows: the entry field of the
// same meaning.
std::string legend_words(std::u16string_view codes) {
    std::string out = "[";
    for (char16_t code : codes) {
        std::string_view word;
        switch (static_cast<legend_item>(code)) {
            case legend_item::name:
                word = "name";
                break;
            case legend_item::note:
                word = "note";
                break;
            case legend_item::value:
                word = "value";
                break;
            case legend_item::date:
                word = "date";
                break;
            case legend_item::share_of_total:
                word = "share_of_total";
                break;
            case legend_item::share_of_max:
                word = "share_of_max";
                break;
            default:
                continue;
        }
        out += (out.size() > 1 ? ",\"" : "\"") + std::string(word) + "\"";
    }
    return out + "]";
}

// The day of an entry made from one record, which the stores give as
// YYYYMMDD; none for a total.
std::string entry_day(const chart_engine::record_type& e) {
    if (e.day <= 0) return "null";
    return to_utf8(format("\"%04d-%02d-%02d\"", e.day / 10000, e.day / 100 % 100, e.day % 100));
}

}  // namespace

bool report_commands::report_kind_operand(int& kind) {
    if (args_.positionals().size() == 1) {
        const std::string& word = args_.positionals()[0];
        for (int k = 0; k < 5; ++k)
            if (word == report_names[k]) return kind = k, true;
        if (read_int(word, 0, 4, kind)) return true;
    }
    usage_error("give the report: economy, repairs, fees, expenses or trips (or 0 to 4)");
    return false;
}

bool report_commands::read_limits(selection_limits& limits) {
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

int report_commands::fill_chart(tool_session& s, int kind, chart_engine& chart, dc& surface,
                                std::u16string& title, std::vector<std::u16string>& vehicles,
                                report_figures& figures) {
    title = tr(report_titles[kind]);
    if (kind == 4) return fill_trip_chart(s, chart, surface, title, vehicles, figures);
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
    service_store service;
    fee_store fees;
    for (const auto& v : vehicles) {
        if (!s.config().account_exists(v)) {
            return fail("no vehicle account named '" + to_utf8(v) + "'");
        }
        // A report that silently left out an account's records would be wrong.
        const load_result results[] = {fuel.load(s.data_folder(), v, true),
                                       service.load(s.data_folder(), v, true),
                                       fees.load(s.data_folder(), v, true)};
        for (load_result r : results)
            if (r == load_result::damaged) return unreadable_account(v);
    }
    const report_stores stores{&fuel, &service, &fees};
    // Where a side of the span was not asked for, it is the first or last
    // day the report found: the same report without its days, over a span
    // that every record widens.
    chart_engine found;
    found.set_earliest(std::numeric_limits<std::int64_t>::max());
    found.set_latest(std::numeric_limits<std::int64_t>::min());
    selection_limits undated = limits;
    undated.from.reset();
    undated.to.reset();
    if (!fill_report(found, surface, static_cast<report_kind>(kind), stores, undated) ||
        !fill_report(chart, surface, static_cast<report_kind>(kind), stores, limits))
        return fail("the report could not be filled");
    figures = {};
    if (limits.from) figures.earliest = to_local_seconds(*limits.from);
    if (limits.to) figures.latest = to_local_seconds(*limits.to);
    if (!chart.entries().empty() && found.earliest() <= found.latest()) {
        if (!figures.earliest) figures.earliest = found.earliest();
        if (!figures.latest) figures.latest = found.latest();
    }
    if (kind == static_cast<int>(report_kind::fuel_economy) && !chart.entries().empty())
        figures.economy = fuel.overall_economy(limits);
    return 0;
}

int report_commands::fill_trip_chart(tool_session& s, chart_engine& chart, dc& surface,
                                     std::u16string& title, std::vector<std::u16string>& vehicles,
                                     report_figures& shown) {
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
    trip_figures figures(s.data_folder(), s.fuel(), s.service(), s.fees());
    chart_engine totals;
    title = figures.statistics(totals, s.trips(), description);
    if (!figures.files_ok())
        return fail("a vehicle's files could not be read; the report would leave them out");
    const auto& e = totals.entries();
    if (e.size() != 3) return fail("the trip's figures could not be computed");
    fill_expense_shares(chart, surface, e[0].value, e[1].value, e[2].value);
    // The trip's own days, where it keeps them.
    shown = {};
    if (trip.use_start_date)
        shown.earliest =
            to_local_seconds(trip.start_year, trip.start_month, trip.start_day, 0, 0, 0);
    if (trip.use_end_date)
        shown.latest = to_local_seconds(trip.end_year, trip.end_month, trip.end_day, 23, 59, 59);
    return 0;
}

int report_commands::report(tool_session& s) {
    int kind = 0;
    if (!report_kind_operand(kind)) return 2;
    // Colours are not needed for text, but preparing the entries reads them back.
    raster_dc surface(s.device_facts().screen_width(), s.device_facts().screen_height());
    chart_engine chart;
    std::u16string title;
    std::vector<std::u16string> vehicles;
    report_figures figures;
    if (int code = fill_chart(s, kind, chart, surface, title, vehicles, figures)) return code;
    const auto& entries = chart.entries();
    // What each vehicle costs over all its records, whatever the report's range.
    std::vector<account_figures> costs;
    for (const auto& v : vehicles)
        costs.push_back(read_account_figures(s.data_folder(), v, service_margins{}));
    // Economy figures do not add up: that report has an overall economy
    // instead of a total and shares.
    const bool economy = kind == static_cast<int>(report_kind::fuel_economy);

    if (args_.flag("--json")) {
        out_ << "{\"kind\":" << kind << ",\"name\":\"" << report_names[kind]
             << "\",\"title\":" << json_string(title) << ",\"chart\":\""
             << chart_kind_names[static_cast<int>(chart.chart_type())] << "\""
             << ",\"legend\":" << legend_words(chart.legend_format()) << ",\"vehicles\":[";
        for (std::size_t i = 0; i < vehicles.size(); ++i)
            out_ << (i ? "," : "") << json_string(vehicles[i]);
        out_ << "],\"entries\":[";
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const auto& e = entries[i];
            out_ << (i ? "," : "") << "{\"name\":" << json_string(std::u16string(e.name))
                 << ",\"value\":" << json_fixed(e.value, 2)
                 << ",\"share_of_total\":" << (economy ? "null" : json_number(e.share_of_total))
                 << ",\"share_of_max\":" << json_number(e.share_of_max)
                 << ",\"date\":" << entry_day(e)
                 << ",\"note\":" << json_string(std::u16string(e.note_text)) << "}";
        }
        out_ << "],\"total\":" << (economy ? "null" : json_fixed(chart.total_value(), 2))
             << ",\"economy\":" << (figures.economy ? json_fixed(*figures.economy, 2) : "null")
             << ",\"earliest\":" << json_day(figures.earliest)
             << ",\"latest\":" << json_day(figures.latest) << ",\"figures\":[";
        for (std::size_t i = 0; i < costs.size(); ++i)
            out_ << (i ? "," : "") << "{\"name\":" << json_string(vehicles[i]) << ","
                 << figures_json(costs[i]) << "}";
        out_ << "]}\n";
        return 0;
    }
    out_ << to_utf8(title) << '\n';
    std::u16string names;
    for (std::size_t i = 0; i < vehicles.size(); ++i) names += (i ? u"," : u"") + vehicles[i];
    out_ << to_utf8(names) << '\n';
    if (entries.empty()) {
        out_ << to_utf8(tr(u"No data")) << '\n';
        write_cost_lines(vehicles, costs);
        return 0;
    }
    if (economy) {
        text_table t({tr(u"Mileage"), u">" + tr(u"Fuel economy"), tr(u"Date")});
        for (const auto& e : entries)
            t.add_row({std::u16string(e.name), format("%.2f", e.value), e.shown_date()});
        t.write(out_);
        if (figures.economy)
            out_ << to_utf8(tr(u"Average fuel economy") + format(": %.2f", *figures.economy))
                 << '\n';
        write_cost_lines(vehicles, costs);
        return 0;
    }
    text_table t({tr(u"Name"), u">" + tr(u"Value"), u">%", tr(u"Date"), tr(u"Description")});
    for (const auto& e : entries)
        t.add_row({std::u16string(e.name), format("%.2f", e.value),
                   format("%.2f%%", e.share_of_total * 100), e.shown_date(),
                   std::u16string(e.note_text)});
    t.write(out_);
    out_ << to_utf8(tr(u"Total") + format(": %.2f", chart.total_value())) << '\n';
    write_cost_lines(vehicles, costs);
    return 0;
}

int report_commands::chart(tool_session& s) {
    int kind = 0;
    if (!report_kind_operand(kind)) return 2;
    const auto out = args_.option("--out");
    if (!out || out->empty()) return usage_error("--out FILE.png or FILE.bmp is needed");
    // The picture's format follows the file's ending, as a person reading the
    // name expects; a name promising another format is refused.
    std::string ending = std::filesystem::path(*out).extension().string();
    std::transform(ending.begin(), ending.end(), ending.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (ending != ".png" && ending != ".bmp")
        return usage_error("--out names a picture by its ending: .png or .bmp (not '" +
                           std::filesystem::path(*out).filename().string() + "')");
    if (!parent_folder_exists(*out)) return 1;
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
    report_figures figures;
    if (int code = fill_chart(s, kind, chart, surface, title, vehicles, figures)) return code;
    if (type) chart.set_chart_type(*type);
    draw_chart_page(chart, surface, {0, 0, width, height}, true, title,
                    scaled_font_size(chart_font_request(width), width, height));
    // The program's own message said why.
    const std::u16string path = tool_session::device_path_of(*out);
    if (ending == ".png" ? !save_picture_file(path, png_bytes(surface, width, height))
                         : !chart.save_bitmap(surface, 0, 0, width, height, path))
        return 1;
    out_ << "Saved " << *out << " (" << width << "x" << height << ")\n";
    return 0;
}

}  // namespace kelvane
