#pragma once
// One data folder as a front end works on it: the configuration, the
// language table and the four stores, the order they are read in, the
// writing back at the end, and the folder's one-writer hold. The program
// and kelvane-tool both hold one, so they open, lock and save a data folder
// the same way.

#include <memory>
#include <string>
#include <string_view>

#include "core/accounts/configuration.h"
#include "core/common/load_result.h"
#include "core/stores/fee_store.h"
#include "core/stores/fuel_store.h"
#include "core/stores/service_store.h"
#include "core/stores/trip_store.h"
#include "core/tools/language_table.h"
#include "platform/file_system.h"

namespace kelvane {

// Told when a front end may not write a data folder because another program
// has it open (the folder follows).
inline constexpr char16_t msg_data_in_use[] = u"Kelvane is open on this data; close it first";

class data_set {
public:
    // The data folder is the program's folder of the device services in force.
    data_set();
    ~data_set();
    data_set(const data_set&) = delete;
    data_set& operator=(const data_set&) = delete;

    // The stores come before the configuration, which works on them.
    fuel_store fuel;
    service_store service;
    fee_store fees;
    trip_store trips;
    language_table language;
    configuration config;

    std::u16string data_folder() const { return config.data_folder(); }

    // Takes the data folder's one-writer hold, kept until this set goes (a
    // second call keeps the hold it has). held_elsewhere: another program
    // writes the folder and nothing here may; unavailable: the folder is
    // missing or its medium cannot lock, and nobody can hold it either.
    [[nodiscard]] lock_state take_hold();
    bool holds_folder() const { return hold_ != nullptr; }
    // What names the data folder to the system, whichever path reached it;
    // known after take_hold (empty when the folder is missing).
    const std::string& folder_id() const { return folder_id_; }

    // The loading steps, in the order a start takes them.
    // Reads Config.dat. A missing one is a first start; a damaged one has
    // been kept aside and the vehicles found again from their files, which
    // the owner is told at once.
    load_result load_configuration();
    // Reads the language table "Language" (whatever the options chose for
    // the next start) and makes it the texts' translator; a missing one
    // leaves every text English.
    load_result load_language();
    // Reads Trip.tri; a damaged one has been shown by its store.
    load_result load_trips();
    // Loads one account into the three stores: missing when no account has
    // the name, damaged when one of its files could not be read (its store
    // has told the owner and stays empty), else loaded.
    load_result load_account(std::u16string_view name);
    // The same for the name alone, registered or not (the open account of
    // a Config.dat, which the handheld opens as it finds it).
    load_result load_account_files(std::u16string_view name);

    // At the end: Config.dat, then what the fuel, service and fee stores
    // still hold. Every failed write has been shown by the configuration or
    // its store.
    void save_at_end();

private:
    std::unique_ptr<folder_lock> hold_;
    std::string folder_id_;
};

}  // namespace kelvane
