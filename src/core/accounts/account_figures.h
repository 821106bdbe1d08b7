#pragma once
// What an account's records tell beyond their totals: which services are due
// and what the vehicle costs per distance and per month. Worked out from the
// account's three stores as they are loaded (the open account's, with the
// changes not yet written), or from its files for any other account. Nothing
// of it is stored: the handheld's files stay as they are.

#include <array>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/load_result.h"
#include "core/stores/fee_store.h"
#include "core/stores/fuel_store.h"
#include "core/stores/service_store.h"
#include "platform/file_system.h"

namespace kelvane {

// How near the odometer may come to a job's next service before the job
// counts as due, in the account's own mileage unit.
struct service_margins {
    double kilometres = 500;
    double miles = 300;

    double for_unit(std::u16string_view mileage_unit) const;
};

// A maintenance job whose next service is reached or near.
struct due_service {
    int position = 0;  // in the maintenance store, 0 = oldest
    std::u16string description;
    double next_service = 0;
    double remaining = 0;  // next service - odometer; 0 or below: overdue
};

// The account's odometer: the highest mileage the account knows, from the
// fuel header's current mileage and every repair, maintenance and fee
// record (a service recorded after the last fill-up moves it on too).
double account_odometer(const fuel_store& fuel, const service_store& jobs, const fee_store& fees);

// The maintenance jobs whose next service lies at most `margin` ahead of the
// odometer (or behind it), oldest first. A job is done with once a later
// maintenance job followed it: one of the same description (letter case and
// surrounding blanks aside), or any one done when this one was due (at or
// past its next service, less the margin), which was that service under
// another name. So a newer oil change closes the older one, and a yearly
// service done at the oil change's mileage closes it too, while a timing
// belt due far later stays due after any number of oil changes. Repairs and
// jobs without a next-service mileage are never due.
std::vector<due_service> services_due(const service_store& jobs, double odometer, double margin);

// The cost figures of one account, in its own units and currency.
struct account_costs {
    double fuel_cost = 0;
    double service_cost = 0;
    double fee_cost = 0;
    double total_cost = 0;
    // From the lowest mileage known (the initial mileage, or the first
    // record's when none was entered) to the odometer.
    double distance = 0;
    // The fuel economy of every stretch between fill-ups taken together, in
    // the account's economy figure: the whole distance over the whole fuel
    // used. For litres per 100 km this is the stretches' figures averaged
    // by their distance. None with fewer than two fill-ups.
    std::optional<double> average_economy;
    // Costs per 100 km for an account kept in kilometres, per mile for one
    // kept in miles. None when no distance was driven.
    bool per_mile = false;
    std::optional<double> fuel_cost_per_distance;
    std::optional<double> cost_per_distance;
    // All costs over the months from the first record's day to the last
    // one's (one month at least). None without records.
    std::optional<double> cost_per_month;
};

account_costs account_cost_figures(const fuel_store& fuel, const service_store& jobs,
                                   const fee_store& fees);

// Everything above for an account read from its files.
struct account_figures {
    // damaged: a file could not be read; the figures are then left empty.
    load_result result = load_result::missing;
    double odometer = 0;
    std::u16string mileage_unit;
    int economy_mode = 2;  // the account's economy figure (0-3)
    account_costs costs;
    std::vector<due_service> due;
};

// Reads an account's three files into stores of its own. A damaged file is
// not shown again (whoever read the account's headers has shown it).
account_figures read_account_figures(std::u16string_view folder, std::u16string_view name,
                                     const service_margins& margins);
// The stamps of an account's three record files (fuel, maintenance, fees):
// what is kept from them stands while the stamps stay the same. Stamps the
// medium cannot give are never the same as any.
struct account_stamps {
    std::array<file_stamp, 3> files;

    static account_stamps of(std::u16string_view folder, std::u16string_view name);
    bool same_as(const account_stamps& other) const;
};

// The figures of accounts read from their files, kept while the three files
// stay as they were, so that a page shown again over many long accounts
// reads none of them. A damaged account is read again each time.
class kept_account_figures {
public:
    const account_figures& of(std::u16string_view folder, std::u16string_view name,
                              const service_margins& margins);

private:
    struct entry {
        account_stamps stamps;
        service_margins margins;
        account_figures figures;
    };
    std::map<std::u16string, entry, std::less<>> kept_;
    account_figures damaged_;
};

// The same from stores already loaded (the open account).
account_figures figures_of(const fuel_store& fuel, const service_store& jobs, const fee_store& fees,
                           const service_margins& margins);

// The cost figures as the reports page's summary shows them, in the
// language table's words, one short line each: the average economy, the
// cost per distance of everything and of fuel, the cost per month. A figure
// that does not exist shows "-".
std::array<std::u16string, 3> cost_summary_lines(const account_figures& figures);

}  // namespace kelvane
