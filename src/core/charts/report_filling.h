#pragma once
// Filling the chart engine for one report: the same steps for the report
// screen, the chart screen's period commands and the custom range dialog.
// Clear, fill from the stores within the limits, prepare shares and colours,
// then set the legend columns and the chart kind that belong to the report.

#include "core/charts/chart_engine.h"
#include "core/stores/selection_limits.h"
#include "platform/dc.h"

namespace kelvane {

class fuel_store;
class service_store;
class fee_store;

enum class report_kind : int {
    fuel_economy = 0,
    repair_cost = 1,
    fees_cost = 2,
    all_expenses = 3,
    trip_cost = 4,
};

// The store objects a report reads; the report screen owns them.
struct report_stores {
    fuel_store* fuel = nullptr;
    service_store* service = nullptr;
    fee_store* fees = nullptr;
};

// The legend columns of a report on a screen of this width: the repair and
// fees notes only fit from 200 pixels on.
std::u16string report_legend(report_kind kind, int screen_width);
chart_kind report_chart_kind(report_kind kind);

// Fills the fuel economy, repair, fees or all-expenses report (kinds 0 to 3)
// within the limits; without date limits every record used widens the
// engine's date span. False, with the engine cleared, for the trip report
// (see fill_expense_shares) or when a store the report needs is missing.
bool fill_report(chart_engine& chart, dc& surface, report_kind kind, const report_stores& stores,
                 const selection_limits& limits);

// The three-slice pie of already computed totals: "Fuel", "Repair", "Fees";
// no entries at all (the chart shows "No data") when all three are 0.
// The trip report computes its totals over the trip's vehicles and hands
// them in here.
void fill_expense_shares(chart_engine& chart, dc& surface, double fuel_cost, double repair_cost,
                         double fees_cost);

}  // namespace kelvane
