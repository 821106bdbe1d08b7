#include "core/charts/report_filling.h"

#include "core/common/translate.h"
#include "core/stores/fee_store.h"
#include "core/stores/fuel_store.h"
#include "core/stores/service_store.h"
#include "platform/services.h"

namespace kelvane {

namespace {

void add_expense_entries(chart_engine& chart, double fuel_cost, double repair_cost,
                         double fees_cost) {
    // Nothing spent at all shows "No data" rather than an empty pie.
    if (fuel_cost == 0 && repair_cost == 0 && fees_cost == 0) return;
    chart.add_value(tr(u"Fuel"), fuel_cost, 0, u"", u"");
    chart.add_value(tr(u"Repair"), repair_cost, 0, u"", u"");
    chart.add_value(tr(u"Fees"), fees_cost, 0, u"", u"");
}

void finish(chart_engine& chart, dc& surface, report_kind kind) {
    chart.prepare_entries(surface);
    chart.set_legend_format(report_legend(kind, device().screen_width()));
    chart.set_chart_type(report_chart_kind(kind));
}

}  // namespace

std::u16string report_legend(report_kind kind, int screen_width) {
    switch (kind) {
        case report_kind::fuel_economy:
            return legend_format_of({legend_item::name, legend_item::value, legend_item::date});
        case report_kind::repair_cost:
        case report_kind::fees_cost:
            // A narrow screen has no room for the description.
            if (screen_width < 200)
                return legend_format_of({legend_item::name, legend_item::value, legend_item::date});
            return legend_format_of(
                {legend_item::name, legend_item::note, legend_item::value, legend_item::date});
        case report_kind::all_expenses:
        case report_kind::trip_cost:
            break;
    }
    return legend_format_of({legend_item::name, legend_item::share_of_total, legend_item::value});
}

chart_kind report_chart_kind(report_kind kind) {
    return kind == report_kind::all_expenses || kind == report_kind::trip_cost ? chart_kind::pie
                                                                               : chart_kind::line;
}

bool fill_report(chart_engine& chart, dc& surface, report_kind kind, const report_stores& stores,
                 const selection_limits& limits) {
    chart.clear_entries();
    switch (kind) {
        case report_kind::fuel_economy:
            if (!stores.fuel) return false;
            stores.fuel->economy_series(chart, limits);
            break;
        case report_kind::repair_cost:
            if (!stores.service) return false;
            stores.service->cost_series(chart, limits);
            break;
        case report_kind::fees_cost:
            if (!stores.fees) return false;
            stores.fees->cost_series(chart, limits);
            break;
        case report_kind::all_expenses: {
            if (!stores.fuel || !stores.service || !stores.fees) return false;
            const double fuel = stores.fuel->selection_cost(limits, &chart);
            const double repair = stores.service->selection_cost(limits, &chart);
            const double fees = stores.fees->selection_cost(limits, &chart);
            add_expense_entries(chart, fuel, repair, fees);
            break;
        }
        default:
            return false;
    }
    finish(chart, surface, kind);
    return true;
}

void fill_expense_shares(chart_engine& chart, dc& surface, double fuel_cost, double repair_cost,
                         double fees_cost) {
    chart.clear_entries();
    add_expense_entries(chart, fuel_cost, repair_cost, fees_cost);
    finish(chart, surface, report_kind::trip_cost);
}

}  // namespace kelvane
