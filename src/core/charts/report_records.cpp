#include "core/charts/report_records.h"

#include "core/accounts/configuration.h"

namespace kelvane {

bool report_records::load(std::u16string_view data_folder,
                          const std::vector<std::u16string>& accounts, const progress& tell,
                          const report_stores& open) {
    // The report's own stores are never deferred: a reset has nothing to write.
    (void)fuel.reset();
    (void)service.reset();
    (void)fees.reset();
    shared_ = {};
    if (open.fuel && open.service && open.fees && accounts.size() == 1 && !open.fuel->fresh() &&
        open.fuel->account_name() == accounts.front() &&
        open.service->account_name() == accounts.front() &&
        open.fees->account_name() == accounts.front() && !open.fuel->dirty() &&
        !open.service->dirty() && !open.fees->dirty()) {
        shared_ = open;
        if (tell) tell(1, 1, {});
        return true;
    }
    std::vector<std::u16string> readable;
    for (const std::u16string& name : accounts)
        if (configuration::is_valid_account_name(name)) readable.push_back(name);
    fuel.make_room_for(data_folder, readable);
    service.make_room_for(data_folder, readable);
    fees.make_room_for(data_folder, readable);
    bool files_ok = true;
    const int total = static_cast<int>(accounts.size());
    for (int i = 0; i < total; ++i) {
        const std::u16string& name = accounts[static_cast<std::size_t>(i)];
        if (tell) tell(i, total, name);
        if (!configuration::is_valid_account_name(name)) continue;
        for (const load_result read :
             {fuel.load(data_folder, name, true), service.load(data_folder, name, true),
              fees.load(data_folder, name, true)})
            if (read == load_result::damaged) files_ok = false;
    }
    if (tell) tell(total, total, {});
    return files_ok;
}

bool write_owed_changes(fuel_store& fuel, service_store& service, fee_store& fees) {
    bool ok = true;
    if (fuel.dirty()) ok = fuel.save_all() && ok;
    if (service.dirty()) ok = service.save_all() && ok;
    if (fees.dirty()) ok = fees.save_all() && ok;
    return ok;
}

}  // namespace kelvane
