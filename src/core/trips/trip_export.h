#pragma once
// Export of a trip: the records of the trip's vehicles that fall within its
// dates and mileages, in the layout of the account export, so that the file
// holds what the trips list adds up for the trip.

#include <string>
#include <string_view>

#include "core/stores/fee_store.h"
#include "core/stores/fuel_store.h"
#include "core/stores/service_store.h"
#include "core/stores/trip_store.h"

namespace kelvane {

// clang-format off
enum class [[nodiscard]] trip_export_result {
    written,
    // The open account's pending changes could not be written first, or a
    // vehicle's file could not be read (the owner was told); nothing was
    // written, since the export would leave out records of the trip.
    files_unreadable,
    // The export file could not be written (the owner was told).
    not_written,
};
// clang-format on

struct trip_export_stores {
    fuel_store& fuel;
    service_store& service;
    fee_store& fees;
};

// Writes the trip's records to the path (its folders are made first): every
// fill-up, then every repair and maintenance job, then every fee, vehicle
// after vehicle in the order of the trip's slots. The stores are those of
// the open account; their pending changes are written first, since the
// vehicles' records are read from their files.
trip_export_result export_trip_records(std::u16string_view data_folder, trip_export_stores open,
                                       const trip_record& trip, std::u16string_view path);

}  // namespace kelvane
