#pragma once
// The program-wide objects, each existing once for the whole run: the
// configuration, the language table, the trip store and the three stores of
// the open account (which the configuration loads when an account is opened).

namespace kelvane {

class configuration;
class language_table;
class trip_store;
class fuel_store;
class service_store;
class fee_store;

configuration& program_config();
language_table& program_language();
trip_store& program_trips();
fuel_store& program_fuel();
service_store& program_services();
fee_store& program_fees();

// Replaces every object by a fresh one (tests start from a clean program).
void reset_program_objects();

}  // namespace kelvane
