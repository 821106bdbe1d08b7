#pragma once
// One run of kelvane-tool over a data folder: the device services carried on
// the host (files, clock, device facts, a message box that writes to
// standard error) and the data set over its data folder, set up the way the
// program sets it up at start.

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "cli/tool_file_system.h"
#include "core/accounts/account_editing.h"
#include "core/accounts/data_set.h"
#include "core/common/messages.h"
#include "core/common/problems.h"
#include "platform/services.h"

namespace kelvane {

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
    // Reads the language table alone (for a command that may not go on).
    load_result load_language() { return data_.load_language(); }
    // Loads the trip file (only the commands that need it do, so that merely
    // listing never writes one).
    load_result load_trips() { return data_.load_trips(); }
    // Creates the data folder when it is missing (a fresh device root).
    void ensure_data_folder();
    // Loads one account into the three stores: missing when no account has
    // the name, damaged when one of its files could not be read, else loaded
    // (an account without files yet is loaded, and empty).
    load_result load_account(std::u16string_view name) { return data_.load_account(name); }
    // Takes the data folder's one-writer hold for a command that writes;
    // held_elsewhere while the program has the folder open.
    [[nodiscard]] lock_state take_hold() { return data_.take_hold(); }
    // The data folder as a host path, to name it to the person.
    std::filesystem::path host_data_folder() const;

    std::u16string data_folder() const { return data_.data_folder(); }
    // The device path of a host file or folder given on the command line.
    static std::u16string device_path_of(const std::filesystem::path& host) {
        return tool_file_system::host_device_path(host);
    }

    configuration& config() { return data_.config; }
    fuel_store& fuel() { return data_.fuel; }
    service_store& service() { return data_.service; }
    fee_store& fees() { return data_.fees; }
    trip_store& trips() { return data_.trips; }
    // The stores the account editor's save and delete work on.
    account_edit_stores edit_stores() {
        return {data_.fuel, data_.service, data_.fees, data_.trips};
    }
    host_device_info& device_facts() { return device_; }

private:
    tool_file_system files_;
    host_clock clock_;
    host_device_info device_;
    // Every message box goes to standard error and answers OK or Yes. The
    // messages tell the person what went wrong; the tool learns of failures
    // from what each operation returns.
    console_message_box box_{"kelvane-tool"};
    recording_shell shell_;
    scoped_services services_;
    // The problems core reports go the same way, one line each.
    struct console_problems : problem_listener {
        explicit console_problems(message_box_service& box) : box(box) {}
        void told(const problem& p) override {
            (void)box.show(problem_text(p), program_caption, message_buttons::ok);
        }
        message_box_service& box;
    } problems_{box_};
    scoped_problem_listener listening_{problems_};
    data_set data_;
};

}  // namespace kelvane
