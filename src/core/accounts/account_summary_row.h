#pragma once
// One row of the accounts page: an account with its mileage and total cost,
// as the page shows them.

#include <string>

namespace kelvane {

struct account_summary_row {
    std::u16string name;
    std::u16string mileage_text;  // the odometer reading, no decimals
    std::u16string cost_text;     // fuel, repair and fees costs together, no decimals
    bool service_due = false;     // a maintenance job's next service is reached or near
};

}  // namespace kelvane
