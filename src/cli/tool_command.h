#pragma once
// What every command of kelvane-tool works with: the command line as read,
// the two output streams, and the readers of the options and operands that
// the command families share (accounts, records, reports, trips, data).

#include <cstddef>
#include <initializer_list>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "cli/tool_arguments.h"
#include "platform/local_time.h"

namespace kelvane {

class tool_session;
struct account_figures;
struct trip_record;

class tool_command {
public:
    // The command line of one run: its arguments and the name of the
    // command being run (for the hint after a usage error).
    struct context {
        std::ostream& out;
        std::ostream& err;
        const tool_arguments& args;
        std::string_view command;
    };

    explicit tool_command(const context& c)
        : out_(c.out), err_(c.err), args_(c.args), command_(c.command) {}

    int fail(const std::string& message);         // exit code 1
    int usage_error(const std::string& message);  // exit code 2

protected:
    // The account named on the command line (first positional) or, without
    // one, the open account; loaded into the stores. False after a message.
    bool take_account(tool_session& s, std::size_t position, std::u16string& name);
    // Files and folders the tool writes (exports, pictures, backups) go into
    // a folder that is there already: a mistyped path must not make folders
    // nobody asked for. False after a message naming the missing folder.
    bool parent_folder_exists(const std::string& target);
    // The failure of an account whose files could not be read (exit code 1).
    int unreadable_account(const std::u16string& name);
    // Reads an optional option value with a reader; false after a message.
    bool amount_option(std::string_view name, double& out, bool& given);
    bool date_option(std::string_view name, local_time& out, bool& given);
    bool text_option(std::string_view name, std::size_t max_length, std::u16string& out);
    // A number as the owner would type it into an editor's box: checked like
    // amount_option, kept as text. Untouched when the option is not given.
    bool number_text_option(std::string_view name, std::u16string& out);
    // --date of an edited record: the day given replaces the record's, and
    // its time of day stays unless one is given. False after a message.
    bool record_date_option(local_time& when);
    // A day (YYYY-MM-DD, no time).
    bool day_option(std::string_view name, local_time& out, bool& given);
    // True when any of the options was given.
    bool any_option(std::initializer_list<std::string_view> names) const;
    // The trip file, loaded; false after a message.
    bool take_trips(tool_session& s);
    // The trip named on the command line (first positional); false after a message.
    bool take_trip(tool_session& s, trip_record& trip);
    // The vehicles of --vehicles: registered accounts, each once. 0 to go on,
    // else the exit code after a message (1 for an account that does not exist).
    int vehicles_option(tool_session& s, std::vector<std::u16string>& out);
    // Loads the open account (if any) for the trip figures; false after a message.
    bool load_open_account(tool_session& s);
    // The cost figures and the number of services due, as JSON members.
    static std::string figures_json(const account_figures& figures);

    std::ostream& out_;
    std::ostream& err_;
    const tool_arguments& args_;
    std::string_view command_;
};

// Runs one command of a family: the family is made for the run.
template <class Family, int (Family::*command)(tool_session&)>
int run_command_of(const tool_command::context& c, tool_session& s) {
    Family family(c);
    return (family.*command)(s);
}

}  // namespace kelvane
