#include "cli/kelvane_tool.h"

#include <algorithm>
#include <filesystem>
#include <ostream>

#include "cli/account_commands.h"
#include "cli/data_commands.h"
#include "cli/json_text.h"
#include "cli/record_commands.h"
#include "cli/report_commands.h"
#include "cli/text_table.h"
#include "cli/tool_session.h"
#include "cli/trip_commands.h"
#include "core/accounts/account_entry.h"
#include "core/accounts/account_figures.h"
#include "core/accounts/units.h"
#include "core/common/date_text.h"
#include "core/common/messages.h"
#include "core/common/parse_number.h"
#include "core/common/text.h"
#include "core/common/translate.h"
#include "platform/text_encoding.h"

namespace kelvane {

namespace {

constexpr std::string_view filter_options_help =
    "  --from DATE, --to DATE   first and last day (YYYY-MM-DD), both included\n"
    "  --min N, --max N         lowest and highest mileage\n"
    "  --vehicles A,B           accounts to cover (default: the open account)\n";

}  // namespace

// The command table: every command of kelvane-tool, in the order help lists
// them. To add a command, add a row here and a member function of that
// signature in kelvane_tool.h; to add an option, add it to the row's options.
// The parser, `help`, the exit codes, the manual page (from --help) and the
// shell completion all come from this table, so nothing else needs changing.
//   options:  {"--name"} is a flag; {"--name", "VALUE"} takes a value, where
//             VALUE tells completion what to offer: ACCOUNT, ACCOUNTS (a
//             comma-separated list), TRIP, FILE, DIR, or choices "a|b|c";
//             any other word (N, DATE, TEXT) is free text.
//   operands: what the positional arguments are, in the same words; "[X]"
//             is optional and "X..." repeats.
//   usage:    the line help prints; help: what follows it.
const std::vector<kelvane_tool::command_info>& kelvane_tool::commands() {
    static const option_rule fuel_options[] = {
        {"--date", "DATE"},  {"--mileage", "N"}, {"--cost", "N"},    {"--price", "N"},
        {"--quantity", "N"}, {"--gauge", "N"},   {"--type", "TEXT"}, {"--note", "TEXT"}};
    static const option_rule account_options[] = {{"--mileage-unit", "Kilometer|Mile"},
                                                  {"--fuel-unit", "Liter|US Gallon|UK Gallon"},
                                                  {"--economy", "0|1|2|3"},
                                                  {"--currency", "TEXT"},
                                                  {"--initial-mileage", "N"},
                                                  {"--initial-fuel", "N"},
                                                  {"--tank", "N"},
                                                  {"--date", "DATE"},
                                                  {"--note", "TEXT"}};
    static const option_rule filter_options[] = {
        {"--from", "DATE"}, {"--to", "DATE"},           {"--min", "N"},
        {"--max", "N"},     {"--vehicles", "ACCOUNTS"}, {"--trip", "TRIP"}};
    const auto with = [](std::initializer_list<std::span<const option_rule>> parts) {
        std::vector<option_rule> all;
        for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
        return all;
    };
    static const option_rule json[] = {{"--json"}};
    constexpr std::string_view report_kinds = "economy|repairs|fees|expenses|trips";
    static const option_rule account[] = {{"--account", "ACCOUNT"}};
    static const option_rule rename[] = {{"--rename", "TEXT"}};
    static const option_rule picture_options[] = {
        {"--out", "FILE"}, {"--size", "WxH"}, {"--type", "columns|line|pie"}};

    static const std::vector<command_info> list = {
        {"help",
         nullptr,  // needs no data folder; run() answers it
         {},
         {"[COMMAND]"},
         "help [COMMAND]",
         "Describes the commands, or one command.\n"},
        {"accounts",
         &run_command_of<account_commands, &account_commands::accounts>,
         with({json}),
         {},
         "accounts [--json]",
         "Lists the vehicle accounts with their mileage and total cost; --json adds\n"
         "their average economy, costs per distance and per month and services due.\n"},
        {"add-account",
         &run_command_of<account_commands, &account_commands::add_account>,
         with({account_options}),
         {"TEXT"},
         "add-account NAME [options]",
         "Creates a vehicle account and opens it, as the account editor's Add does.\n"
         "  --mileage-unit Kilometer|Mile       (default Kilometer)\n"
         "  --fuel-unit Liter|US Gallon|UK Gallon (default Liter)\n"
         "  --economy 0-3    0 Mile/US Gallon, 1 Mile/UK Gallon, 2 Liter/100Km, 3 Km/Liter\n"
         "                   (default: what the units call for, as in the account editor)\n"
         "  --currency TEXT, --initial-mileage N, --initial-fuel N, --tank N (tank capacity)\n"
         "  --date DATE      the account's date (YYYY-MM-DD, default today)\n"
         "  --note TEXT      at most 30 characters\n"},
        {"edit-account",
         &run_command_of<account_commands, &account_commands::edit_account>,
         with({rename, account_options}),
         {"ACCOUNT"},
         "edit-account NAME [options]",
         "Changes an account as the account editor's Save does; the account is open\n"
         "afterwards. Options as for add-account, and:\n"
         "  --rename NEW     gives the account a new name: its files take the name, copies\n"
         "                   of the old ones go to the Deleted folder, trips follow it\n"
         "A new unit converts the account's records and trips, and its initial mileage,\n"
         "initial fuel and tank capacity where those are not given; numbers given are in\n"
         "the account's units after the edit. Refused, with nothing changed: a name that\n"
         "another account has, a name that cannot be a file name.\n"},
        {"delete-account",
         &run_command_of<account_commands, &account_commands::delete_account>,
         {},
         {"ACCOUNT"},
         "delete-account NAME",
         "Deletes an account: its files move to the Deleted folder, the trips that start\n"
         "with it are deleted, and no account is open afterwards.\n"},
        {"open",
         &run_command_of<account_commands, &account_commands::open_account>,
         {},
         {"ACCOUNT"},
         "open NAME",
         "Makes an account the open one, as a tap on the accounts page does; commands\n"
         "without an account work on it.\n"},
        {"options",
         &run_command_of<account_commands, &account_commands::options>,
         {{"--language", "TEXT"},
          {"--backup-folder", "TEXT"},
          {"--input-panel", "on|off"},
          {"--json"}},
         {},
         "options [--language NAME] [--backup-folder PATH] [--input-panel on|off] [--json]",
         "Shows the program's options, or sets them as the options screen's Ok does.\n"
         "  --language NAME        a .lng file of the data folder, or English; it takes\n"
         "                         effect at the program's next start\n"
         "  --backup-folder PATH   device folder of the automatic backups (stored with a\n"
         "                         leading and a trailing \\); \"\" for none\n"
         "  --input-panel on|off   off: edit boxes never raise the input panel\n"},
        {"records",
         &run_command_of<record_commands, &record_commands::records>,
         with({json}),
         {"[ACCOUNT]"},
         "records [ACCOUNT] [--json]",
         "Lists an account's fuel purchases (with fuel economy), repair and maintenance\n"
         "jobs and fees, oldest first. Without ACCOUNT: the open account.\n"},
        {"add-fuel",
         &run_command_of<record_commands, &record_commands::add_fuel>,
         with({fuel_options}),
         {"[ACCOUNT]"},
         "add-fuel [ACCOUNT] [options]",
         "Records a fuel purchase. Give two of --price, --cost and --quantity; the\n"
         "third is worked out as the fuel editor does.\n"
         "  --date DATE      YYYY-MM-DD [HH:MM[:SS]] (default: now)\n"
         "  --mileage N      odometer reading (default: the account's current mileage)\n"
         "  --gauge N|full   fuel in the tank after filling (default: full)\n"
         "  --type TEXT      fuel type (default: the last one used)\n"
         "  --note TEXT      at most 50 characters\n"},
        {"add-repair",
         &run_command_of<record_commands, &record_commands::add_repair>,
         {{"--date", "DATE"},
          {"--mileage", "N"},
          {"--cost", "N"},
          {"--description", "TEXT"},
          {"--next-service", "N"}},
         {"[ACCOUNT]"},
         "add-repair [ACCOUNT] --cost N [options]",
         "Records a repair, or a maintenance job when --next-service is given.\n"
         "  --date DATE, --mileage N, --description TEXT (at most 50 characters)\n"
         "  --next-service N  mileage at which the next service is due\n"},
        {"add-fee",
         &run_command_of<record_commands, &record_commands::add_fee>,
         {{"--date", "DATE"},
          {"--mileage", "N"},
          {"--cost", "N"},
          {"--category", "TEXT"},
          {"--description", "TEXT"}},
         {"[ACCOUNT]"},
         "add-fee [ACCOUNT] --cost N [options]",
         "Records a fee (parking, toll, insurance, ...).\n"
         "  --date DATE, --mileage N, --category TEXT (at most 30 characters),\n"
         "  --description TEXT (at most 50 characters)\n"},
        {"edit-fuel",
         &run_command_of<record_commands, &record_commands::edit_fuel>,
         with({account, fuel_options}),
         {"KEY"},
         "edit-fuel KEY [options]",
         "Changes the fuel purchase with this key (see 'records --json'), as the fuel\n"
         "editor's Save does. Options as for add-fuel; what is not given stays. A new\n"
         "price or cost works out the quantity, a new quantity the cost, as the editor\n"
         "does while the owner types; a date without a time keeps the record's time.\n"
         "  --account NAME   look for the key in this account only\n"},
        {"edit-repair",
         &run_command_of<record_commands, &record_commands::edit_repair>,
         {{"--account", "ACCOUNT"},
          {"--date", "DATE"},
          {"--mileage", "N"},
          {"--cost", "N"},
          {"--description", "TEXT"},
          {"--next-service", "N"}},
         {"KEY"},
         "edit-repair KEY [options]",
         "Changes the repair or maintenance job with this key, as its editor does.\n"
         "--next-service N makes a repair a maintenance job; a maintenance job stays one.\n"
         "Options as for add-repair, and --account NAME.\n"},
        {"edit-fee",
         &run_command_of<record_commands, &record_commands::edit_fee>,
         {{"--account", "ACCOUNT"},
          {"--date", "DATE"},
          {"--mileage", "N"},
          {"--cost", "N"},
          {"--category", "TEXT"},
          {"--description", "TEXT"}},
         {"KEY"},
         "edit-fee KEY [options]",
         "Changes the fee with this key, as the fees editor does. Options as for\n"
         "add-fee, and --account NAME.\n"},
        {"delete-record",
         &run_command_of<record_commands, &record_commands::delete_record>,
         {{"--account", "ACCOUNT"}, {"--kind", "fuel|repair|fee"}},
         {"KEY"},
         "delete-record KEY [--account NAME] [--kind fuel|repair|fee]",
         "Deletes the record with this key. A key that names no record, or several\n"
         "(narrow it with --account or --kind), changes nothing.\n"},
        {"report",
         &run_command_of<report_commands, &report_commands::report>,
         with({filter_options, json}),
         {report_kinds},
         "report KIND [options] [--json]",
         "Prints a report. KIND is its name or number: economy (0, the fuel economy of\n"
         "each fill-up and the economy over the whole distance), repairs (1), fees (2),\n"
         "expenses (3, all of them by kind), trips (4, with --trip NAME; the trip sets\n"
         "vehicles and limits).\n"},
        {"due",
         &run_command_of<report_commands, &report_commands::due>,
         {{"--margin", "N"}, {"--json"}},
         {"[ACCOUNT]"},
         "due [ACCOUNT] [--margin N] [--json]",
         "Lists the maintenance jobs whose next service is reached or lies within the\n"
         "margin ahead of the vehicle's mileage, for every account or for one. A job is\n"
         "done with once a later maintenance job has its description, or was done when\n"
         "it was due (at or past its next service, less the margin).\n"
         "  --margin N       in each account's mileage unit (default 500 km, 300 miles)\n"},
        {"chart",
         &run_command_of<report_commands, &report_commands::chart>,
         with({filter_options, picture_options}),
         {report_kinds},
         "chart KIND --out FILE [--size WxH] [--type columns|line|pie] [options]",
         "Draws a report's chart as the chart screen shows it and saves it as a picture:\n"
         "PNG for a FILE ending in .png, a 24-bit bitmap for .bmp. --size defaults to\n"
         "240x320; --type to the report's own chart.\n"},
        {"trips",
         &run_command_of<trip_commands, &trip_commands::trips>,
         with({json}),
         {},
         "trips [--json]",
         "Lists the trips with their fuel, repair and fees costs and their mileage.\n"},
        {"add-trip",
         &run_command_of<trip_commands, &trip_commands::add_trip>,
         {{"--vehicles", "ACCOUNTS"},
          {"--from", "DATE"},
          {"--to", "DATE"},
          {"--min", "N"},
          {"--max", "N"}},
         {"TEXT"},
         "add-trip NAME [--vehicles A,B] [--from DATE] [--to DATE] [--min N] [--max N]",
         "Adds a trip, checked as the trip editor checks it.\n"
         "  --vehicles A,B   one to ten accounts (default: the open account)\n"
         "  --from, --to     first and last day (YYYY-MM-DD)\n"
         "  --min, --max     start and end mileage; a trip over several vehicles keeps\n"
         "                   its dates only\n"},
        {"edit-trip",
         &run_command_of<trip_commands, &trip_commands::edit_trip>,
         {{"--rename", "TEXT"},
          {"--vehicles", "ACCOUNTS"},
          {"--from", "DATE"},
          {"--to", "DATE"},
          {"--min", "N"},
          {"--max", "N"}},
         {"TRIP"},
         "edit-trip NAME [--rename NEW] [--vehicles A,B] [--from DATE|none] [--to DATE|none]\n"
         "                 [--min N|none] [--max N|none]",
         "Changes a trip, as the trip editor's Save does; what is not given stays, and\n"
         "'none' stops a limit from counting.\n"},
        {"delete-trip",
         &run_command_of<trip_commands, &trip_commands::delete_trip>,
         {},
         {"TRIP"},
         "delete-trip NAME",
         "Deletes a trip.\n"},
        {"export-trip",
         &run_command_of<trip_commands, &trip_commands::export_trip>,
         {},
         {"TRIP", "FILE"},
         "export-trip NAME FILE.csv",
         "Writes the records of the trip's vehicles within its dates and mileages to a\n"
         "comma-separated file, in the layout of 'export'.\n"},
        {"export",
         &run_command_of<data_commands, &data_commands::export_csv>,
         {},
         {"ACCOUNT", "FILE"},
         "export ACCOUNT FILE.csv",
         "Writes the account's records to a comma-separated file.\n"},
        {"import",
         &run_command_of<data_commands, &data_commands::import_csv>,
         {{"--format", "F"}, {"--from-units", "U"}, {"--dates", "D"}, {"--vehicle", "NAME"}},
         {"ACCOUNT", "FILE"},
         "import ACCOUNT FILE.csv [--format F] [--from-units U] [--dates D] [--vehicle NAME]",
         "Adds the records of a comma-separated file to the account: Kelvane's own export\n"
         "or another tracker's (LubeLogger, Fuelly, Fuelio, aCar, Drivvo, Simply Auto),\n"
         "recognised from its header. Another tracker's file is read whole before anything\n"
         "is added; a file that cannot be read whole adds nothing.\n"
         "  --format auto|kelvane|lubelogger|fuelly|fuelio|acar|drivvo|simplyauto\n"
         "                   the file's layout (default: auto, recognised from the file)\n"
         "  --from-units DIST,VOL  the file's units where it does not say them:\n"
         "                   DIST km|mi, VOL l|usgal|ukgal (default: the account's)\n"
         "  --dates day-first|month-first  how to read dates such as 03/05/2024 when\n"
         "                   the file does not settle it\n"
         "  --vehicle NAME   the vehicle to take from a file that holds several\n"},
        {"backup",
         &run_command_of<data_commands, &data_commands::backup>,
         {},
         {"DIR"},
         "backup FOLDER",
         "Copies the whole data set into a folder.\n"},
        {"restore",
         &run_command_of<data_commands, &data_commands::restore>,
         {},
         {"DIR"},
         "restore FOLDER",
         "Copies a data set from a backup folder back into the data folder.\n"},
        {"sample",
         &run_command_of<data_commands, &data_commands::sample>,
         {{"--vehicles", "N"}, {"--years", "N"}, {"--seed", "N"}},
         {},
         "sample [--vehicles N] [--years N] [--seed N]",
         "Fills an empty data folder with realistic sample vehicles, fill-ups, repairs,\n"
         "maintenance, fees and trips (default 3 vehicles over 4 years).\n"},
    };
    return list;
}

std::span<const option_rule> kelvane_tool::global_options() {
    static const option_rule global[] = {
        {"--root", "DIR"}, {"--data", "DIR"}, {"--help"}, {"--version"}};
    return global;
}

const kelvane_tool::command_info* kelvane_tool::find_command(std::string_view name) {
    for (const auto& c : commands())
        if (c.name == name) return &c;
    return nullptr;
}

void kelvane_tool::print_usage(std::ostream& out) const {
    out << "Usage: kelvane-tool [--root DIR | --data DIR] COMMAND [ARGS] [OPTIONS]\n"
           "Keeps Kelvane's vehicle accounts, records and trips, and prints its reports and\n"
           "charts, without the screen.\n"
           "\n"
           "Options:\n"
           "  --root DIR     a device root; the data folder is DIR/Program Files/Kelvane\n"
           "                 (default: $KELVANE_DEVICE_ROOT or ~/.local/share/kelvane/device)\n"
           "  --data DIR     a data folder itself (a backup, or a folder copied from a handheld)\n"
           "  -h, --help     show this help, or with a command the command's, and end\n"
           "  --version      show the version and end\n"
           "\nCommands:\n";
    // Each command with the first sentence of its help, folded under itself.
    constexpr std::size_t name_width = 18, line_width = 79;
    for (const auto& c : commands()) {
        // npos, the largest size, loses to any sentence's end.
        std::string summary(c.help.substr(0, std::min(c.help.find(". "), c.help.find(".\n"))));
        std::replace(summary.begin(), summary.end(), '\n', ' ');
        std::string line = "  " + std::string(c.name);
        line.resize(std::max(line.size() + 2, name_width), ' ');
        std::size_t start = 0;
        while (start < summary.size()) {
            std::size_t take = summary.size() - start;
            if (line.size() + take > line_width) {
                take = summary.rfind(' ', start + line_width - line.size()) - start;
            }
            out << line << summary.substr(start, take) << '\n';
            start += take + 1;
            line.assign(name_width, ' ');
        }
    }
    out << "\n'kelvane-tool help COMMAND' (or 'kelvane-tool COMMAND --help') describes one\n"
           "command. Options take their value as '--name VALUE' or '--name=VALUE'; '--'\n"
           "ends the options, so that a name beginning with '-' can follow.\n"
           "\nExit status:\n"
           "  0  the command did its work\n"
           "  1  the work failed: a missing account, record or trip, a damaged or unwritable\n"
           "     file, a change the program refuses; nothing was changed unless the message\n"
           "     says otherwise\n"
           "  2  the command line is wrong: an unknown command or option, a missing or bad\n"
           "     value\n";
}

void kelvane_tool::print_command_help(const command_info& c) const {
    out_ << "Usage: kelvane-tool " << c.usage << "\n\n" << c.help;
    if (c.run == &run_command_of<report_commands, &report_commands::report> ||
        c.run == &run_command_of<report_commands, &report_commands::chart>)
        out_ << filter_options_help;
    out_ << "\nWith --root DIR or --data DIR, the command works on that data folder.\n";
}

void kelvane_tool::print_version() const {
    out_ << "kelvane-tool (Kelvane) " << KELVANE_VERSION << '\n';
}

int kelvane_tool::help_command() {
    const auto& operands = args_.positionals();
    if (operands.size() > 1) return usage_error("give at most one command");
    if (operands.empty()) {
        print_usage(out_);
        return 0;
    }
    const command_info* c = find_command(operands[0]);
    if (!c) return usage_error("unknown command '" + operands[0] + "'");
    print_command_help(*c);
    return 0;
}

int kelvane_tool::run(int argc, const char* const* argv) {
    if (!args_.parse_global(argc, argv, global_options())) return usage_error(args_.error());
    if (args_.command().empty()) {
        if (args_.has("--version")) {
            print_version();
            return 0;
        }
        if (args_.has("--help")) {
            print_usage(out_);
            return 0;
        }
        return usage_error("no command given");
    }
    // The completion script's question; not a command a person types.
    if (args_.command() == "__complete") {
        std::vector<std::string> words = args_.rest();
        if (!words.empty() && words.front() == "--") words.erase(words.begin());
        return complete(words);
    }
    command_ = find_command(args_.command());
    if (!command_) return usage_error("unknown command '" + args_.command() + "'");
    std::vector<option_rule> allowed = command_->options;
    const auto global = global_options();
    allowed.insert(allowed.end(), global.begin(), global.end());
    if (!args_.parse_command(allowed)) return usage_error(args_.error());
    if (args_.has("--version")) {
        print_version();
        return 0;
    }
    if (args_.has("--help")) {
        print_command_help(*command_);
        return 0;
    }
    // help reads nothing of the data folder: it works where the folder is
    // missing or damaged.
    if (!command_->run) return help_command();
    if (args_.has("--root") && args_.has("--data"))
        return usage_error("give either --root or --data, not both");

    std::filesystem::path folder = default_device_root();
    auto where = tool_session::layout::device_root;
    if (auto root = args_.option("--root")) {
        folder = *root;
    } else if (auto data = args_.option("--data")) {
        folder = *data;
        where = tool_session::layout::data_folder;
        std::error_code ec;
        if (!std::filesystem::is_directory(folder, ec))
            return fail("no data folder at '" + folder.string() + "'");
    }
    tool_session session(folder, where);
    if (writes_data() && !hold_data_folder(session)) return 1;
    const load_result language = session.start();
    const int code = command_->run({out_, err_, args_, command_->name}, session);
    // The command ran with the texts that could be read; the person must
    // still learn that the language file is damaged.
    if (code == 0 && language == load_result::damaged)
        return fail("the language file 'Language' could not be read whole");
    return code;
}

}  // namespace kelvane
