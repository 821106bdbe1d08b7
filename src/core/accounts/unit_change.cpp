#include "core/accounts/unit_change.h"

#include "core/stores/fee_store.h"
#include "core/stores/fuel_store.h"
#include "core/stores/service_store.h"
#include "core/stores/trip_store.h"

namespace kelvane {

std::u16string normalise_fuel_unit(std::u16string_view unit) {
    if (unit == u"Gallon") return u"US Gallon";
    return std::u16string(unit);
}

bool change_account_units(fuel_store& fuel, service_store& service, fee_store& fees,
                          trip_store& trips, std::u16string_view old_distance,
                          std::u16string_view new_distance, std::u16string_view old_volume,
                          std::u16string_view new_volume) {
    int direction = -1;
    if (old_distance == u"Kilometer" && new_distance == u"Mile") direction = 0;
    if (old_distance == u"Mile" && new_distance == u"Kilometer") direction = 1;
    bool trips_written = true;
    if (direction >= 0) {
        fuel.convert_mileage(direction);
        service.convert_mileage(direction);
        fees.convert_mileage(direction);
        trips_written = trips.convert_mileage(direction);
    }

    const std::u16string from = normalise_fuel_unit(old_volume);
    const std::u16string to = normalise_fuel_unit(new_volume);
    if (from == u"US Gallon") fuel.convert_fuel(0);
    if (from == u"UK Gallon") fuel.convert_fuel(1);
    if (to == u"US Gallon") fuel.convert_fuel(2);
    if (to == u"UK Gallon") fuel.convert_fuel(3);
    return trips_written;
}

}  // namespace kelvane
