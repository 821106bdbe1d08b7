#pragma once
// kelvane-tool: the command-line companion over the program's core. It works
// on a device root or on a bare data folder and lists, adds, reports, charts,
// exports, imports, backs up and restores without the screen.

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <iosfwd>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/tool_arguments.h"
#include "core/common/load_result.h"
#include "core/stores/record_layout.h"
#include "core/stores/selection_limits.h"

namespace kelvane {

class tool_session;
class chart_engine;
struct account_figures;
struct service_margins;
struct account_entry;
struct account_save_result;
struct trip_record;
struct trip_form;
struct trip_save_outcome;

class kelvane_tool {
public:
    kelvane_tool(std::ostream& out, std::ostream& err) : out_(out), err_(err) {}
    // Runs one command line; 0 on success, 1 on a failure the tool or the
    // program reported, 2 on a command line it could not understand.
    int run(int argc, const char* const* argv);

private:
    using command_fn = int (kelvane_tool::*)(tool_session&);
    struct command_info {
        std::string_view name;
        command_fn run;  // nullptr for help
        std::vector<option_rule> options;
        std::vector<std::string_view> operands;
        std::string_view usage;
        std::string_view help;
    };
    static const std::vector<command_info>& commands();
    static const command_info* find_command(std::string_view name);
    // The options every command takes as well.
    static std::span<const option_rule> global_options();

    // `help [COMMAND]`, which needs no data folder.
    int help_command();
    // The completion script's question: the words typed so far (the last
    // one being typed) after the program's name. Prints what fits, one a
    // line; "@FILE" or "@DIR" leaves paths to the shell.
    int complete(const std::vector<std::string>& words);
    // What fits `typed` of a kind of value or operand (see the command table).
    static std::vector<std::string> completions(std::string_view kind, const std::string& typed,
                                                const std::filesystem::path& folder,
                                                bool bare_data_folder);

    int accounts(tool_session& s);
    int add_account(tool_session& s);
    int edit_account(tool_session& s);
    int delete_account(tool_session& s);
    int open_account(tool_session& s);
    int options(tool_session& s);
    int records(tool_session& s);
    int add_fuel(tool_session& s);
    int add_repair(tool_session& s);
    int add_fee(tool_session& s);
    int edit_fuel(tool_session& s);
    int edit_repair(tool_session& s);
    int edit_fee(tool_session& s);
    int delete_record(tool_session& s);
    int report(tool_session& s);
    int due(tool_session& s);
    int chart(tool_session& s);
    int sample(tool_session& s);
    int trips(tool_session& s);
    int add_trip(tool_session& s);
    int edit_trip(tool_session& s);
    int delete_trip(tool_session& s);
    int export_trip(tool_session& s);
    int export_csv(tool_session& s);
    int import_csv(tool_session& s);
    int backup(tool_session& s);
    int restore(tool_session& s);

    // True when the command on the command line changes the data folder
    // (or copies it whole); the one place that decides it.
    bool writes_data() const;
    // Takes the data folder's one-writer hold; false, after the message,
    // while the program has the folder open.
    bool hold_data_folder(tool_session& s);

    void print_usage(std::ostream& out) const;
    void print_command_help(const command_info& c) const;
    void print_version() const;
    int fail(const std::string& message);         // exit code 1
    int usage_error(const std::string& message);  // exit code 2

    // The account named on the command line (first positional) or, without
    // one, the open account; loaded into the stores. False after a message.
    bool take_account(tool_session& s, std::size_t position, std::u16string& name);
    // Files and folders the tool writes (exports, pictures, backups) go into
    // a folder that is there already: a mistyped path must not make folders
    // nobody asked for. False after a message naming the missing folder.
    bool parent_folder_exists(const std::string& target);
    // The failure of an account whose files could not be read (exit code 1).
    int unreadable_account(const std::u16string& name);
    // What every add command starts with: at most one account, loaded, and
    // the record's date (--date, default now) and mileage (--mileage, default
    // the account's current mileage). 0 to go on, else the exit code.
    int read_new_record(tool_session& s, dated_record_prefix& record);
    // Adds the record and prints its key; the exit code.
    template <class Store>
    int add_to_store(Store& store, const typename Store::record_type& record);
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

    // The account editor's settings given as options, into the editor's
    // boxes: a new unit first converts the numbers the boxes hold, then the
    // numbers given replace theirs. False after a message.
    bool account_options(account_entry& e);
    // Tells why an account editor save went wrong (the editor's own refusal
    // message, or files that could not be written); the exit code.
    int account_save_failed(const account_save_result& result);
    // The trip file, loaded; false after a message.
    bool take_trips(tool_session& s);
    // The vehicles of --vehicles: registered accounts, each once. 0 to go on,
    // else the exit code after a message (1 for an account that does not exist).
    int vehicles_option(tool_session& s, std::vector<std::u16string>& out);
    // --from/--to/--min/--max into the trip editor's boxes; with allow_none,
    // "none" stops a limit from counting. False after a message.
    bool trip_limit_options(trip_form& form, bool allow_none);
    // Reports a trip editor save; `done` begins the line printed on success.
    int trip_saved(const trip_save_outcome& kept, std::string_view done);
    // The trip named on the command line (first positional); false after a message.
    bool take_trip(tool_session& s, trip_record& trip);

    // Which store a record key is looked for in.
    enum class record_kind { fuel, repair, fee };
    // Finds the one record with the key (first positional) among the
    // accounts (--account, else every one) and the kinds allowed (`only`,
    // else --kind, else all three), and loads its account. 0 to go on, else
    // the exit code after a message; nothing is changed either way.
    int find_record(tool_session& s, std::optional<record_kind> only, record_kind& kind,
                    std::u16string& key);
    // The report of the command line (its one operand): a number from 0 to
    // 4 or its name; false after a message.
    bool report_kind_operand(int& kind);
    // What a report shows beside its entries: the span of days it covers
    // (asked for, or found; none when neither) and, for the fuel economy
    // report, the economy over the whole distance.
    struct report_figures {
        std::optional<std::int64_t> earliest, latest;
        std::optional<double> economy;
    };
    // --from/--to/--min/--max into selection limits.
    bool read_limits(selection_limits& limits);
    // Fills the chart engine for a report kind over the vehicles of the
    // command line; the title is the report's. 0, or the exit code after a
    // message.
    int fill_chart(tool_session& s, int kind, chart_engine& chart, class dc& surface,
                   std::u16string& title, std::vector<std::u16string>& vehicles,
                   report_figures& figures);
    // The trip report: the trip of --trip over its own vehicles and limits.
    int fill_trip_chart(tool_session& s, chart_engine& chart, class dc& surface,
                        std::u16string& title, std::vector<std::u16string>& vehicles,
                        report_figures& shown);
    // --margin into the margins of both mileage units; false after a message.
    bool margin_option(service_margins& margins);
    // The cost figures and the number of services due, as JSON members.
    static std::string figures_json(const account_figures& figures);
    // One line of cost figures per vehicle, after a report.
    void write_cost_lines(const std::vector<std::u16string>& vehicles,
                          const std::vector<account_figures>& figures);
    // Loads the open account (if any) for the trip figures; false after a message.
    bool load_open_account(tool_session& s);

    std::ostream& out_;
    std::ostream& err_;
    tool_arguments args_;
    const command_info* command_ = nullptr;
};

}  // namespace kelvane
