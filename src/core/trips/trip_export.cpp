#include "core/trips/trip_export.h"

#include <algorithm>
#include <vector>

#include "core/accounts/configuration.h"
#include "core/common/text.h"
#include "core/exchange/export_import.h"

namespace kelvane {

trip_export_result export_trip_records(std::u16string_view data_folder, trip_export_stores open,
                                       const trip_record& trip, std::u16string_view path) {
    bool readable = true;
    if (open.fuel.dirty()) readable = open.fuel.save_all() && readable;
    if (open.service.dirty()) readable = open.service.save_all() && readable;
    if (open.fees.dirty()) readable = open.fees.save_all() && readable;

    // Records of the trip's vehicles, one vehicle's file after the other. A
    // vehicle named twice is read once, so that no record is written twice.
    fuel_store fuel;
    service_store service;
    fee_store fees;
    std::vector<std::u16string> read;
    for (const auto& slot : trip.trip_vehicles) {
        const std::u16string name = fixed_text(slot);
        // A name that is no plain file name (a damaged trip file) has no files.
        if (name.empty() || !configuration::is_valid_account_name(name)) continue;
        if (std::find(read.begin(), read.end(), name) != read.end()) continue;
        read.push_back(name);
        // A missing file is a vehicle without such records.
        for (account_store* store : std::initializer_list<account_store*>{&fuel, &service, &fees})
            if (store->load(data_folder, name, true) == load_result::damaged) readable = false;
    }
    if (!readable) return trip_export_result::files_unreadable;
    export_import exchange(fuel, service, fees);
    return exchange.export_trip(trip, path) ? trip_export_result::written
                                            : trip_export_result::not_written;
}

}  // namespace kelvane
