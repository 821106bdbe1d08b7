#include "stores/changed_flags.h"

namespace kelvane {

bool fuel_changed = false;
bool maintenance_changed = false;
bool fees_changed = false;
bool trips_changed = false;

}  // namespace kelvane
