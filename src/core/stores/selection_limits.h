#pragma once
// Bounds of a record selection: optional first and last moment (both
// inclusive) and a mileage range where a negative bound means "no bound".

#include <optional>

#include "platform/local_time.h"

namespace kelvane {

struct selection_limits {
    std::optional<local_time> from, to;
    double lowest = -1.0, highest = -1.0;

    bool has_dates() const { return from.has_value() || to.has_value(); }
};

}  // namespace kelvane
