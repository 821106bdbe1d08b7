#pragma once
// Program-wide marks that a store kind was loaded, reset or written since the
// program started. The trips page rebuilds its list when any of them is set;
// they are never lowered.

namespace kelvane {

extern bool fuel_changed;
extern bool service_changed;
extern bool fee_changed;
extern bool trips_changed;

}  // namespace kelvane
