#pragma once
// Changing the distance or volume unit of an account converts what its
// records hold: mileages of the fuel, maintenance and fees records and of
// every trip, and the volumes and unit prices of the fill-ups.

#include <string>
#include <string_view>

namespace kelvane {

class fuel_store;
class service_store;
class fee_store;
class trip_store;

// "Gallon", written by older versions, is the US gallon.
std::u16string normalise_fuel_unit(std::u16string_view unit);

// Runs the conversions for a change from the old to the new units. The three
// account stores change in memory only (the caller saves them); the trip
// store writes its file at once, and false says that write failed. Volumes
// go through litres in two steps that both run whenever a side is a gallon,
// so keeping a gallon unit converts there and back.
[[nodiscard]] bool change_account_units(fuel_store& fuel, service_store& service, fee_store& fees,
                                        trip_store& trips, std::u16string_view old_distance,
                                        std::u16string_view new_distance,
                                        std::u16string_view old_volume,
                                        std::u16string_view new_volume);

}  // namespace kelvane
