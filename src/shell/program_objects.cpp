#include "shell/program_objects.h"

#include <memory>

#include "accounts/config_class.h"
#include "common/translate.h"
#include "stores/data_class.h"
#include "stores/datamaint_class.h"
#include "stores/datarepair_class.h"
#include "stores/tripdata_class.h"
#include "tools/textlist_class.h"

namespace kelvane {

namespace {

struct program_objects {
    // The stores come first: the configuration holds pointers to them.
    data_class fuel;
    datamaint_class maintenance;
    datarepair_class fees;
    tripdata_class trips;
    textlist_class language;
    config_class config;

    program_objects() { config.attach_stores({&fuel, &maintenance, &fees}); }
};

std::unique_ptr<program_objects>& objects() {
    static std::unique_ptr<program_objects> o = std::make_unique<program_objects>();
    return o;
}

}  // namespace

config_class& program_config() {
    return objects()->config;
}
textlist_class& program_language() {
    return objects()->language;
}
tripdata_class& trip_store() {
    return objects()->trips;
}
data_class& fuel_store() {
    return objects()->fuel;
}
datamaint_class& maintenance_store() {
    return objects()->maintenance;
}
datarepair_class& fees_store() {
    return objects()->fees;
}

void reset_program_objects() {
    if (current_translator() == &objects()->language) set_translator(nullptr);
    objects() = std::make_unique<program_objects>();
}

}  // namespace kelvane
