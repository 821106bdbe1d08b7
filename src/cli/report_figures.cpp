// The figures of kelvane-tool that the records give beyond their totals:
// the services due and what each vehicle costs.

#include <ostream>

#include "cli/json_text.h"
#include "cli/report_commands.h"
#include "cli/text_table.h"
#include "cli/tool_session.h"
#include "core/accounts/account_figures.h"
#include "core/common/text.h"
#include "core/common/translate.h"
#include "platform/text_encoding.h"

namespace kelvane {

namespace {

// Amounts and economies to the cent, as every report gives them.
std::string json_optional(const std::optional<double>& v) {
    return v ? json_fixed(*v, 2) : "null";
}

}  // namespace

std::string tool_command::figures_json(const account_figures& f) {
    const account_costs& c = f.costs;
    return "\"odometer\":" + json_number(f.odometer) +
           ",\"mileage_unit\":" + json_string(f.mileage_unit) +
           ",\"economy_mode\":" + std::to_string(f.economy_mode) +
           ",\"average_economy\":" + json_optional(c.average_economy) +
           ",\"distance\":" + json_number(c.distance) + ",\"distance_unit\":\"" +
           (c.per_mile ? "mile" : "100 km") + "\"" +
           ",\"fuel_cost_per_distance\":" + json_optional(c.fuel_cost_per_distance) +
           ",\"cost_per_distance\":" + json_optional(c.cost_per_distance) +
           ",\"cost_per_month\":" + json_optional(c.cost_per_month) +
           ",\"services_due\":" + std::to_string(f.due.size());
}

bool report_commands::margin_option(service_margins& margins) {
    double margin = 0;
    bool given = false;
    if (!amount_option("--margin", margin, given)) return false;
    if (given && margin < 0) {
        usage_error("--margin is a mileage of 0 or more");
        return false;
    }
    if (given) margins.kilometres = margins.miles = margin;
    return true;
}

int report_commands::due(tool_session& s) {
    if (args_.positionals().size() > 1) return usage_error("give at most one account");
    service_margins margins;
    if (!margin_option(margins)) return 2;
    std::vector<std::u16string> names;
    if (args_.positionals().empty()) {
        names = s.config().list_account_names();
    } else {
        names.push_back(from_utf8(args_.positionals()[0]));
        if (!s.config().account_exists(names[0]))
            return fail("no vehicle account named '" + args_.positionals()[0] + "'");
    }

    struct found {
        std::u16string account;
        account_figures figures;
    };
    std::vector<found> accounts;
    std::u16string unreadable;
    for (const auto& name : names) {
        account_figures f = read_account_figures(s.data_folder(), name, margins);
        if (f.result == load_result::damaged && unreadable.empty()) unreadable = name;
        accounts.push_back({name, std::move(f)});
    }
    const auto outcome = [&] { return unreadable.empty() ? 0 : unreadable_account(unreadable); };

    if (args_.flag("--json")) {
        out_ << "{\"due\":[";
        bool first = true;
        for (const auto& a : accounts)
            for (const auto& d : a.figures.due) {
                out_ << (first ? "" : ",") << "{\"account\":" << json_string(a.account)
                     << ",\"description\":" << json_string(d.description)
                     << ",\"next_service\":" << json_number(d.next_service)
                     << ",\"odometer\":" << json_number(a.figures.odometer)
                     << ",\"remaining\":" << json_number(d.remaining)
                     << ",\"overdue\":" << (d.remaining <= 0 ? "true" : "false")
                     << ",\"mileage_unit\":" << json_string(a.figures.mileage_unit) << "}";
                first = false;
            }
        out_ << "]}\n";
        return outcome();
    }
    text_table t({tr(u"Auto"), tr(u"Description"), u">" + tr(u"Next service"),
                  u">" + tr(u"Total Mileage"), u">" + tr(u"Remaining")});
    for (const auto& a : accounts)
        for (const auto& d : a.figures.due)
            t.add_row({a.account, d.description, format("%.f", d.next_service),
                       format("%.f", a.figures.odometer),
                       d.remaining <= 0 ? tr(u"Overdue") : format("%.f", d.remaining)});
    if (t.empty())
        out_ << to_utf8(tr(u"No service is due.")) << '\n';
    else
        t.write(out_);
    return outcome();
}

void report_commands::write_cost_lines(const std::vector<std::u16string>& vehicles,
                                       const std::vector<account_figures>& figures) {
    for (std::size_t i = 0; i < vehicles.size() && i < figures.size(); ++i) {
        const auto lines = cost_summary_lines(figures[i]);
        out_ << to_utf8(vehicles[i]) << ": " << to_utf8(lines[0]) << "; " << to_utf8(lines[1])
             << "; " << to_utf8(lines[2]) << '\n';
    }
}

}  // namespace kelvane
