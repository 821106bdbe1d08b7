#include "core/stores/changed_flags.h"

namespace kelvane {

bool fuel_changed = false;
bool service_changed = false;
bool fee_changed = false;
bool trips_changed = false;

}  // namespace kelvane
