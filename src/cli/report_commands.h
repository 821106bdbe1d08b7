#pragma once
// kelvane-tool's figures: a report as text or JSON, a chart as a picture,
// and the services due.

#include <cstdint>
#include <optional>

#include "cli/tool_command.h"
#include "core/stores/selection_limits.h"

namespace kelvane {

class chart_engine;
class dc;
struct account_figures;
struct service_margins;

class report_commands : public tool_command {
public:
    using tool_command::tool_command;

    int report(tool_session& s);
    int due(tool_session& s);
    int chart(tool_session& s);

private:
    // The report of the command line (its one operand): a number from 0 to
    // 4 or its name; false after a message.
    bool report_kind_operand(int& kind);
    // What a report shows beside its entries: the span of days it covers
    // (asked for, or found; none when neither) and, for the fuel economy
    // report, the economy over the whole distance.
    struct report_figures {
        std::optional<std::int64_t> earliest, latest;
        std::optional<double> economy;
    };
    // --from/--to/--min/--max into selection limits.
    bool read_limits(selection_limits& limits);
    // Fills the chart engine for a report kind over the vehicles of the
    // command line; the title is the report's. 0, or the exit code after a
    // message.
    int fill_chart(tool_session& s, int kind, chart_engine& chart, dc& surface,
                   std::u16string& title, std::vector<std::u16string>& vehicles,
                   report_figures& figures);
    // The trip report: the trip of --trip over its own vehicles and limits.
    int fill_trip_chart(tool_session& s, chart_engine& chart, dc& surface, std::u16string& title,
                        std::vector<std::u16string>& vehicles, report_figures& shown);
    // --margin into the margins of both mileage units; false after a message.
    bool margin_option(service_margins& margins);
    // One line of cost figures per vehicle, after a report.
    void write_cost_lines(const std::vector<std::u16string>& vehicles,
                          const std::vector<account_figures>& figures);
};

}  // namespace kelvane
