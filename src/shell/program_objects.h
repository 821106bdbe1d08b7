#pragma once
// The program-wide objects, each existing once for the whole run: the
// configuration, the language table, the trip store and the three stores of
// the open account (which the configuration loads when an account is opened).

namespace kelvane {

class config_class;
class textlist_class;
class tripdata_class;
class data_class;
class datamaint_class;
class datarepair_class;

config_class& program_config();
textlist_class& program_language();
tripdata_class& trip_store();
data_class& fuel_store();
datamaint_class& maintenance_store();
datarepair_class& fees_store();

// Replaces every object by a fresh one (tests start from a clean program).
void reset_program_objects();

}  // namespace kelvane
