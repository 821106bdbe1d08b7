#include "core/charts/report_records.h"

#include "core/accounts/configuration.h"

namespace kelvane {

void report_records::load(std::u16string_view data_folder,
                          const std::vector<std::u16string>& accounts, const progress& tell) {
    fuel.reset();
    maintenance.reset();
    fees.reset();
    const int total = static_cast<int>(accounts.size());
    for (int i = 0; i < total; ++i) {
        const std::u16string& name = accounts[static_cast<std::size_t>(i)];
        if (tell) tell(i, total, name);
        if (!configuration::is_valid_account_name(name)) continue;
        fuel.load(data_folder, name, true);
        maintenance.load(data_folder, name, true);
        fees.load(data_folder, name, true);
    }
    if (tell) tell(total, total, {});
}

void write_owed_changes(fuel_store& fuel, service_store& maintenance, fee_store& fees) {
    if (fuel.dirty()) fuel.save_all();
    if (maintenance.dirty()) maintenance.save_all();
    if (fees.dirty()) fees.save_all();
}

}  // namespace kelvane
