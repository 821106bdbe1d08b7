#pragma once
// One run of kelvane-tool over a data folder: the device services carried on
// the host (files, clock, device facts, a message box that writes to
// standard error), the configuration, the language table and the stores,
// set up the way the handheld sets them up at start.

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "cli/tool_file_system.h"
#include "core/accounts/account_editing.h"
#include "core/accounts/configuration.h"
#include "core/stores/fee_store.h"
#include "core/stores/fuel_store.h"
#include "core/stores/service_store.h"
#include "core/stores/trip_store.h"
#include "core/tools/language_table.h"
#include "platform/services.h"

namespace kelvane {

// Writes every message box to standard error and answers OK or Yes. The
// messages tell the person what went wrong; the tool learns of failures
// from what each operation returns.
class stderr_message_box : public message_box_service {
public:
    message_answer show(std::u16string_view text, std::u16string_view caption,
                        message_buttons buttons) override;
};

class tool_session {
public:
    enum class layout {
        device_root,  // the folder holds the whole device; data in "Program Files/Kelvane"
        data_folder,  // the folder is the data folder itself (a backup, a copied folder)
    };

    tool_session(const std::filesystem::path& folder, layout where);
    tool_session(const tool_session&) = delete;
    tool_session& operator=(const tool_session&) = delete;

    // Reads "Config.dat" and the language table "Language"; the result is
    // the language table's (a missing one leaves every text English).
    load_result start();
    // Loads the trip file (only the commands that need it do, so that merely
    // listing never writes one).
    load_result load_trips();
    // Creates the data folder when it is missing (a fresh device root).
    void ensure_data_folder();
    // Loads one account into the three stores: missing when no account has
    // the name, damaged when one of its files could not be read, else loaded
    // (an account without files yet is loaded, and empty).
    load_result load_account(std::u16string_view name);

    std::u16string data_folder() const { return config_.data_folder(); }
    // The device path of a host file or folder given on the command line.
    static std::u16string device_path_of(const std::filesystem::path& host) {
        return tool_file_system::host_device_path(host);
    }

    configuration& config() { return config_; }
    fuel_store& fuel() { return fuel_; }
    service_store& maintenance() { return maintenance_; }
    fee_store& fees() { return fees_; }
    trip_store& trips() { return trips_; }
    // The stores the account editor's save and delete work on.
    account_edit_stores edit_stores() { return {fuel_, maintenance_, fees_, trips_}; }
    host_device_info& device_facts() { return device_; }

private:
    tool_file_system files_;
    host_clock clock_;
    host_device_info device_;
    stderr_message_box box_;
    recording_shell shell_;
    scoped_services services_;
    configuration config_;
    language_table language_;
    std::unique_ptr<scoped_translator> translator_;
    fuel_store fuel_;
    service_store maintenance_;
    fee_store fees_;
    trip_store trips_;
};

}  // namespace kelvane
