#include "gui/shell/program_objects.h"

#include <memory>

#include "core/accounts/configuration.h"
#include "core/common/translate.h"
#include "core/stores/fee_store.h"
#include "core/stores/fuel_store.h"
#include "core/stores/service_store.h"
#include "core/stores/trip_store.h"
#include "core/tools/language_table.h"

namespace kelvane {

namespace {

struct program_objects {
    // The stores come first: the configuration holds pointers to them.
    fuel_store fuel;
    service_store maintenance;
    fee_store fees;
    trip_store trips;
    language_table language;
    configuration config;

    program_objects() { config.attach_stores({&fuel, &maintenance, &fees}); }
};

std::unique_ptr<program_objects>& objects() {
    static std::unique_ptr<program_objects> o = std::make_unique<program_objects>();
    return o;
}

}  // namespace

configuration& program_config() {
    return objects()->config;
}
language_table& program_language() {
    return objects()->language;
}
trip_store& program_trips() {
    return objects()->trips;
}
fuel_store& program_fuel() {
    return objects()->fuel;
}
service_store& program_services() {
    return objects()->maintenance;
}
fee_store& program_fees() {
    return objects()->fees;
}

void reset_program_objects() {
    if (current_translator() == &objects()->language) set_translator(nullptr);
    objects() = std::make_unique<program_objects>();
}

}  // namespace kelvane
