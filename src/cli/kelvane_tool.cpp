#include "cli/kelvane_tool.h"

#include <algorithm>
#include <filesystem>
#include <ostream>

#include "cli/json_text.h"
#include "cli/text_table.h"
#include "cli/tool_session.h"
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

std::u16string u16(const std::string& utf8) {
    return from_utf8(utf8);
}

std::string date_iso(int year, int month, int day, int hour, int minute, int second) {
    return to_utf8(format("%04d-%02d-%02d %02d:%02d:%02d", year, month, day, hour, minute, second));
}

template <class R>
std::string record_date_iso(const R& r) {
    return date_iso(r.year, r.month, r.day, r.hour, r.minute, r.second);
}

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
         &kelvane_tool::accounts,
         with({json}),
         {},
         "accounts [--json]",
         "Lists the vehicle accounts with their mileage and total cost; --json adds\n"
         "their average economy, costs per distance and per month and services due.\n"},
        {"add-account",
         &kelvane_tool::add_account,
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
         &kelvane_tool::edit_account,
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
         &kelvane_tool::delete_account,
         {},
         {"ACCOUNT"},
         "delete-account NAME",
         "Deletes an account: its files move to the Deleted folder, the trips that start\n"
         "with it are deleted, and no account is open afterwards.\n"},
        {"open",
         &kelvane_tool::open_account,
         {},
         {"ACCOUNT"},
         "open NAME",
         "Makes an account the open one, as a tap on the accounts page does; commands\n"
         "without an account work on it.\n"},
        {"options",
         &kelvane_tool::options,
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
         &kelvane_tool::records,
         with({json}),
         {"[ACCOUNT]"},
         "records [ACCOUNT] [--json]",
         "Lists an account's fuel purchases (with fuel economy), repair and maintenance\n"
         "jobs and fees, oldest first. Without ACCOUNT: the open account.\n"},
        {"add-fuel",
         &kelvane_tool::add_fuel,
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
         &kelvane_tool::add_repair,
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
         &kelvane_tool::add_fee,
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
         &kelvane_tool::edit_fuel,
         with({account, fuel_options}),
         {"KEY"},
         "edit-fuel KEY [options]",
         "Changes the fuel purchase with this key (see 'records --json'), as the fuel\n"
         "editor's Save does. Options as for add-fuel; what is not given stays. A new\n"
         "price or cost works out the quantity, a new quantity the cost, as the editor\n"
         "does while the owner types; a date without a time keeps the record's time.\n"
         "  --account NAME   look for the key in this account only\n"},
        {"edit-repair",
         &kelvane_tool::edit_repair,
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
         &kelvane_tool::edit_fee,
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
         &kelvane_tool::delete_record,
         {{"--account", "ACCOUNT"}, {"--kind", "fuel|repair|fee"}},
         {"KEY"},
         "delete-record KEY [--account NAME] [--kind fuel|repair|fee]",
         "Deletes the record with this key. A key that names no record, or several\n"
         "(narrow it with --account or --kind), changes nothing.\n"},
        {"report",
         &kelvane_tool::report,
         with({filter_options, json}),
         {report_kinds},
         "report KIND [options] [--json]",
         "Prints a report. KIND is its name or number: economy (0, the fuel economy of\n"
         "each fill-up and the economy over the whole distance), repairs (1), fees (2),\n"
         "expenses (3, all of them by kind), trips (4, with --trip NAME; the trip sets\n"
         "vehicles and limits).\n"},
        {"due",
         &kelvane_tool::due,
         {{"--margin", "N"}, {"--json"}},
         {"[ACCOUNT]"},
         "due [ACCOUNT] [--margin N] [--json]",
         "Lists the maintenance jobs whose next service is reached or lies within the\n"
         "margin ahead of the vehicle's mileage, for every account or for one. A job is\n"
         "done with once a later maintenance job has its description, or was done when\n"
         "it was due (at or past its next service, less the margin).\n"
         "  --margin N       in each account's mileage unit (default 500 km, 300 miles)\n"},
        {"chart",
         &kelvane_tool::chart,
         with({filter_options, picture_options}),
         {report_kinds},
         "chart KIND --out FILE [--size WxH] [--type columns|line|pie] [options]",
         "Draws a report's chart as the chart screen shows it and saves it as a picture:\n"
         "PNG for a FILE ending in .png, a 24-bit bitmap for .bmp. --size defaults to\n"
         "240x320; --type to the report's own chart.\n"},
        {"trips",
         &kelvane_tool::trips,
         with({json}),
         {},
         "trips [--json]",
         "Lists the trips with their fuel, repair and fees costs and their mileage.\n"},
        {"add-trip",
         &kelvane_tool::add_trip,
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
         &kelvane_tool::edit_trip,
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
         &kelvane_tool::delete_trip,
         {},
         {"TRIP"},
         "delete-trip NAME",
         "Deletes a trip.\n"},
        {"export-trip",
         &kelvane_tool::export_trip,
         {},
         {"TRIP", "FILE"},
         "export-trip NAME FILE.csv",
         "Writes the records of the trip's vehicles within its dates and mileages to a\n"
         "comma-separated file, in the layout of 'export'.\n"},
        {"export",
         &kelvane_tool::export_csv,
         {},
         {"ACCOUNT", "FILE"},
         "export ACCOUNT FILE.csv",
         "Writes the account's records to a comma-separated file.\n"},
        {"import",
         &kelvane_tool::import_csv,
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
         &kelvane_tool::backup,
         {},
         {"DIR"},
         "backup FOLDER",
         "Copies the whole data set into a folder.\n"},
        {"restore",
         &kelvane_tool::restore,
         {},
         {"DIR"},
         "restore FOLDER",
         "Copies a data set from a backup folder back into the data folder.\n"},
        {"sample",
         &kelvane_tool::sample,
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
    if (c.run == &kelvane_tool::report || c.run == &kelvane_tool::chart)
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

int kelvane_tool::fail(const std::string& message) {
    err_ << "kelvane-tool: " << message << '\n';
    return 1;
}

int kelvane_tool::usage_error(const std::string& message) {
    err_ << "kelvane-tool: " << message << '\n';
    if (command_ && command_->run)
        err_ << "kelvane-tool: see 'kelvane-tool help " << command_->name << "'\n";
    else
        err_ << "kelvane-tool: see 'kelvane-tool --help'\n";
    return 2;
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
    const int code = (this->*command_->run)(session);
    // The command ran with the texts that could be read; the person must
    // still learn that the language file is damaged.
    if (code == 0 && language == load_result::damaged)
        return fail("the language file 'Language' could not be read whole");
    return code;
}

bool kelvane_tool::take_account(tool_session& s, std::size_t position, std::u16string& name) {
    if (args_.positionals().size() > position) {
        name = u16(args_.positionals()[position]);
    } else {
        name = s.config().current_account();
        if (name.empty()) {
            fail(to_utf8(tr(msg_open_account)));
            return false;
        }
    }
    switch (s.load_account(name)) {
        case load_result::loaded:
            return true;
        case load_result::missing:
            fail("no vehicle account named '" + to_utf8(name) + "'");
            return false;
        case load_result::damaged:
            // A command must not go on as if the account were empty and then
            // write over the file it could not read.
            unreadable_account(name);
            return false;
    }
    return false;
}

bool kelvane_tool::parent_folder_exists(const std::string& target) {
    std::filesystem::path parent = std::filesystem::path(target).parent_path();
    if (parent.empty()) return true;  // the working folder
    std::error_code ec;
    if (std::filesystem::is_directory(parent, ec)) return true;
    fail("there is no folder '" + parent.string() + "' to write '" +
         std::filesystem::path(target).filename().string() + "' into");
    return false;
}

int kelvane_tool::unreadable_account(const std::u16string& name) {
    return fail("the files of '" + to_utf8(name) + "' could not be read; nothing was changed");
}

bool kelvane_tool::amount_option(std::string_view name, double& out, bool& given) {
    given = false;
    const auto text = args_.option(name);
    if (!text) return true;
    if (!read_amount(*text, out)) {
        usage_error("bad number for " + std::string(name) + ": '" + *text + "'");
        return false;
    }
    given = true;
    return true;
}

bool kelvane_tool::date_option(std::string_view name, local_time& out, bool& given) {
    given = false;
    const auto text = args_.option(name);
    if (!text) return true;
    bool has_time = false;
    if (!read_date(*text, out, has_time)) {
        usage_error("bad date for " + std::string(name) + ": '" + *text +
                    "' (use YYYY-MM-DD or YYYY-MM-DD HH:MM[:SS])");
        return false;
    }
    given = true;
    return true;
}

bool kelvane_tool::text_option(std::string_view name, std::size_t max_length, std::u16string& out) {
    const auto text = args_.option(name);
    if (!text) return true;
    if (!is_valid_utf8(*text)) {
        usage_error(std::string(name) + " is not valid UTF-8 text");
        return false;
    }
    out = u16(*text);
    if (out.size() > max_length) {
        usage_error(std::string(name) + " has more than " + std::to_string(max_length) +
                    " characters");
        return false;
    }
    return true;
}

bool kelvane_tool::number_text_option(std::string_view name, std::u16string& out) {
    double value = 0;
    bool given = false;
    if (!amount_option(name, value, given)) return false;
    if (given) out = u16(*args_.option(name));
    return true;
}

bool kelvane_tool::record_date_option(local_time& when) {
    local_time given_date;
    bool given = false;
    if (!date_option("--date", given_date, given)) return false;
    if (!given) return true;
    bool has_time = false;
    (void)read_date(*args_.option("--date"), given_date, has_time);
    if (!has_time) {
        given_date.hour = when.hour;
        given_date.minute = when.minute;
        given_date.second = when.second;
    }
    when = given_date;
    return true;
}

bool kelvane_tool::day_option(std::string_view name, local_time& out, bool& given) {
    given = false;
    const auto text = args_.option(name);
    if (!text) return true;
    bool has_time = false;
    local_time day;
    if (!read_date(*text, day, has_time) || has_time) {
        usage_error("bad day for " + std::string(name) + ": '" + *text + "' (use YYYY-MM-DD)");
        return false;
    }
    out = day;
    given = true;
    return true;
}

bool kelvane_tool::any_option(std::initializer_list<std::string_view> names) const {
    for (auto name : names)
        if (args_.has(name)) return true;
    return false;
}

// ---------------------------------------------------------------------------

int kelvane_tool::accounts(tool_session& s) {
    if (!args_.positionals().empty()) return usage_error("'accounts' takes no arguments");
    const std::u16string folder = s.data_folder();
    struct row {
        std::u16string name;
        double mileage, cost;
        account_figures figures;
    };
    std::vector<row> rows;
    double total = 0;
    std::u16string unreadable;  // the first account with a damaged file
    // Highest slot first, as every account list of the program shows them.
    for (const auto& name : s.config().list_account_names()) {
        const auto fuel = fuel_store::read_account_header(folder, name);
        const auto service = service_store::read_account_header(folder, name);
        const auto fees = fee_store::read_account_header(folder, name);
        // A damaged file counts as zero in the list, and the listing fails.
        const bool damaged = fuel.result == load_result::damaged ||
                             service.result == load_result::damaged ||
                             fees.result == load_result::damaged;
        if (damaged && unreadable.empty()) unreadable = name;
        const double cost =
            fuel.header.total_fuel_cost + service.header.total_cost + fees.header.total_cost;
        rows.push_back(
            {name, fuel.header.current_mileage, cost,
             damaged ? account_figures{} : read_account_figures(folder, name, service_margins{})});
        total += cost;
    }
    const auto outcome = [&] { return unreadable.empty() ? 0 : unreadable_account(unreadable); };
    if (args_.flag("--json")) {
        out_ << "{\"current\":" << json_string(s.config().current_account()) << ",\"accounts\":[";
        for (std::size_t i = 0; i < rows.size(); ++i)
            out_ << (i ? "," : "") << "{\"name\":" << json_string(rows[i].name)
                 << ",\"mileage\":" << json_number(rows[i].mileage)
                 << ",\"total_cost\":" << json_fixed(rows[i].cost, 2) << ","
                 << figures_json(rows[i].figures) << "}";
        out_ << "],\"total_cost\":" << json_fixed(total, 2) << "}\n";
        return outcome();
    }
    text_table table({tr(u"Auto"), u">" + tr(u"Total Mileage"), u">" + tr(u"Total Cost")});
    const std::u16string current = s.config().current_account();
    for (const auto& r : rows)
        table.add_row({r.name == current ? r.name + u" *" : r.name, format("%.f", r.mileage),
                       format("%.f", r.cost)});
    table.write(out_);
    out_ << to_utf8(tr(u"Total Cost") + format(": %.2f", total)) << '\n';
    return outcome();
}

int kelvane_tool::add_account(tool_session& s) {
    if (args_.positionals().size() != 1) return usage_error("give the account's name");
    const std::u16string name = u16(args_.positionals()[0]);
    if (!configuration::is_valid_account_name(name))
        return fail("'" + args_.positionals()[0] +
                    "' cannot be an account name (1 to 128 characters, usable as a file "
                    "name and, in UTF-8, at most 223 bytes long)");
    if (const std::u16string alike = s.config().account_named_alike(name); !alike.empty()) {
        if (alike == name)
            return fail("there is already an account named '" + args_.positionals()[0] + "'");
        // On the handheld (and on Windows or macOS disks) both would share one set of files.
        return fail("the account '" + to_utf8(alike) + "' differs from '" + args_.positionals()[0] +
                    "' only in letter case; they would share its files");
    }

    account_entry e;
    e.name = name;
    const local_time today = device_clock().now();
    local_time day = today;
    bool given = false;
    if (!account_options(e) || !day_option("--date", day, given)) return 2;
    // As in the account editor, the economy unit follows the units unless chosen.
    if (!args_.option("--economy"))
        e.economy_mode = economy_mode_for_units(e.mileage_unit, e.fuel_unit);
    e.year = day.year, e.month = day.month, e.day = day.day;

    // Files left behind under the same name that cannot be read are kept as
    // they are; the new account is not set up over them.
    const std::u16string folder = s.data_folder();
    if (fuel_store::read_account_header(folder, name).result == load_result::damaged ||
        service_store::read_account_header(folder, name).result == load_result::damaged ||
        fee_store::read_account_header(folder, name).result == load_result::damaged)
        return unreadable_account(name);

    s.ensure_data_folder();
    const account_save_result saved =
        save_account_edit(s.config(), s.edit_stores(), u"", e.settings());
    if (saved.outcome != account_save_outcome::saved || !saved.files_written)
        return account_save_failed(saved);
    out_ << "Added account " << args_.positionals()[0] << '\n';
    return 0;
}

int kelvane_tool::records(tool_session& s) {
    if (args_.positionals().size() > 1) return usage_error("give at most one account");
    std::u16string name;
    if (!take_account(s, 0, name)) return 1;
    fuel_store& fuel = s.fuel();
    service_store& service = s.service();
    fee_store& fees = s.fees();
    const fuel_header& h = fuel.header();

    if (args_.flag("--json")) {
        out_ << "{\"account\":" << json_string(name)
             << ",\"mileage_unit\":" << json_string(fixed_text(h.mileage_unit))
             << ",\"fuel_unit\":" << json_string(fixed_text(h.fuel_unit))
             << ",\"currency\":" << json_string(fixed_text(h.currency))
             << ",\"economy_mode\":" << h.economy_mode << ",\"fuel\":[";
        for (int i = 0; i < fuel.record_count(); ++i) {
            const auto& r = fuel.record_at(i);
            out_ << (i ? "," : "") << "{\"key\":" << json_string(fixed_text(r.key))
                 << ",\"date\":\"" << record_date_iso(r) << "\""
                 << ",\"mileage\":" << json_number(r.mileage)
                 << ",\"quantity\":" << json_number(r.fuel_purchased)
                 << ",\"gauge\":" << json_number(r.fuel_gauge)
                 << ",\"cost\":" << json_fixed(r.fuel_cost, 2)
                 << ",\"price\":" << json_fixed(r.unit_price, 3)
                 << ",\"type\":" << json_string(fixed_text(r.fuel_type))
                 << ",\"note\":" << json_string(fixed_text(r.note)) << ",\"economy\":"
                 << (i + 1 < fuel.record_count() ? json_fixed(r.economy, 2) : "null") << "}";
        }
        out_ << "],\"repairs\":[";
        for (int i = 0; i < service.record_count(); ++i) {
            const auto& r = service.record_at(i);
            out_ << (i ? "," : "") << "{\"key\":" << json_string(fixed_text(r.key))
                 << ",\"date\":\"" << record_date_iso(r) << "\""
                 << ",\"mileage\":" << json_number(r.mileage)
                 << ",\"cost\":" << json_fixed(r.cost, 2)
                 << ",\"maintenance\":" << (r.repair_flag == 0 ? "true" : "false")
                 << ",\"next_service\":" << json_number(r.next_service_mileage)
                 << ",\"description\":" << json_string(fixed_text(r.description)) << "}";
        }
        out_ << "],\"fees\":[";
        for (int i = 0; i < fees.record_count(); ++i) {
            const auto& r = fees.record_at(i);
            out_ << (i ? "," : "") << "{\"key\":" << json_string(fixed_text(r.key))
                 << ",\"date\":\"" << record_date_iso(r) << "\""
                 << ",\"mileage\":" << json_number(r.mileage)
                 << ",\"cost\":" << json_fixed(r.cost, 2)
                 << ",\"category\":" << json_string(fixed_text(r.category))
                 << ",\"description\":" << json_string(fixed_text(r.description)) << "}";
        }
        out_ << "]}\n";
        return 0;
    }

    const std::u16string economy_unit =
        h.economy_mode >= 0 && h.economy_mode < 4
            ? tr(economy_unit_names[static_cast<std::size_t>(h.economy_mode)])
            : std::u16string();
    out_ << to_utf8(tr(u"Fuel")) << " (" << fuel.record_count() << ")\n";
    if (fuel.record_count()) {
        text_table t({tr(u"Date"), u">" + tr(u"Mileage"), u">" + tr(u"Fuel Purchased"),
                      u">" + tr(u"Fuel Gauge"), u">" + tr(u"Amount"), u">" + tr(u"Fuel Unit Price"),
                      u">" + economy_unit, tr(u"Fuel Type"), tr(u"Description")});
        for (int i = 0; i < fuel.record_count(); ++i) {
            const auto& r = fuel.record_at(i);
            const auto texts = fuel.row_texts(i);
            t.add_row({texts[3], format("%.1f", r.mileage), texts[1], format("%.2f", r.fuel_gauge),
                       format("%.2f", r.fuel_cost), format("%.3f", r.unit_price), texts[2],
                       fixed_text(r.fuel_type), fixed_text(r.note)});
        }
        t.write(out_);
    }
    out_ << '\n' << to_utf8(tr(u"Repair")) << " (" << service.record_count() << ")\n";
    if (service.record_count()) {
        text_table t({tr(u"Date"), u">" + tr(u"Mileage"), tr(u"Item"), u">" + tr(u"Amount"),
                      u">" + tr(u"NextServier"), tr(u"Description")});
        for (int i = 0; i < service.record_count(); ++i) {
            const auto& r = service.record_at(i);
            const auto texts = service.row_texts(i);
            const bool service = r.repair_flag == 0;
            t.add_row({texts[3], format("%.f", r.mileage), tr(service ? u"Maintenance" : u"Repair"),
                       texts[2], service ? format("%.1f", r.next_service_mileage) : u"",
                       fixed_text(r.description)});
        }
        t.write(out_);
    }
    out_ << '\n' << to_utf8(tr(u"Fees")) << " (" << fees.record_count() << ")\n";
    if (fees.record_count()) {
        text_table t({tr(u"Date"), u">" + tr(u"Mileage"), tr(u"Category"), u">" + tr(u"Amount"),
                      tr(u"Description")});
        for (int i = 0; i < fees.record_count(); ++i) {
            const auto& r = fees.record_at(i);
            const auto texts = fees.row_texts(i);
            t.add_row({texts[3], format("%.f", r.mileage), fixed_text(r.category), texts[2],
                       fixed_text(r.description)});
        }
        t.write(out_);
    }
    return 0;
}

int kelvane_tool::read_new_record(tool_session& s, dated_record_prefix& record) {
    if (args_.positionals().size() > 1) return usage_error("give at most one account");
    std::u16string name;
    if (!take_account(s, 0, name)) return 1;
    local_time when = device_clock().now();
    double mileage = s.fuel().header().current_mileage;
    bool given = false;
    if (!date_option("--date", when, given) || !amount_option("--mileage", mileage, given))
        return 2;
    record.year = when.year, record.month = when.month, record.day = when.day;
    record.hour = when.hour, record.minute = when.minute, record.second = when.second;
    record.mileage = mileage;
    return 0;
}

template <class Store>
int kelvane_tool::add_to_store(Store& store, const typename Store::record_type& record) {
    const add_result added = store.add_record(record);
    // A full store was shown to the person by the program's own message.
    if (!added.added()) return 1;
    if (added.write_failed) return fail("the record could not be written to the account's file");
    out_ << to_utf8(added.key) << '\n';
    return 0;
}

int kelvane_tool::add_fuel(tool_session& s) {
    fuel_store::record_type r{};
    if (int code = read_new_record(s, r)) return code;
    fuel_header& h = s.fuel().header();

    double cost = 0, price = 0, quantity = 0, gauge = h.tank_capacity;
    bool has_cost, has_price, has_quantity, has_gauge = false;
    if (!amount_option("--cost", cost, has_cost) || !amount_option("--price", price, has_price) ||
        !amount_option("--quantity", quantity, has_quantity))
        return 2;
    if (auto g = args_.option("--gauge"); g && *g != "full") {
        if (!amount_option("--gauge", gauge, has_gauge)) return 2;
    }
    std::u16string type = fixed_text(h.last_fuel_type), note;
    if (!text_option("--type", 30, type) || !text_option("--note", 50, note)) return 2;

    // Two of price, cost and quantity give the third, as in the fuel editor.
    if (has_price + has_cost + has_quantity < 2)
        return usage_error("give two of --price, --cost and --quantity");
    if (!has_quantity) {
        if (price == 0) return usage_error("--price must be above 0 to work out the quantity");
        quantity = parse_number(format("%.2f", cost / price));
    } else if (!has_cost) {
        cost = parse_number(format("%.2f", price * quantity));
    } else if (!has_price) {
        if (quantity == 0) return usage_error("--quantity must be above 0 to work out the price");
        price = parse_number(format("%.3f", cost / quantity));
    }
    if (!has_gauge) {
        if (h.tank_capacity <= 0)
            return usage_error("the account has no tank capacity; give --gauge as a number");
        gauge = h.tank_capacity;
    }
    if (gauge < quantity)
        return usage_error(
            "--gauge is below --quantity: the tank cannot hold less than was bought");
    if (h.tank_capacity > 0 && gauge > h.tank_capacity)
        return usage_error("--gauge is above the tank capacity of " +
                           to_utf8(format("%.2f", h.tank_capacity)));

    r.fuel_purchased = quantity;
    r.fuel_gauge = gauge;
    r.fuel_cost = cost;
    r.unit_price = price;
    set_fixed(r.fuel_type, type);
    set_fixed(r.note, note);
    // The editor remembers the last price and fuel type in the header.
    h.last_unit_price = price;
    set_fixed(h.last_fuel_type, type);
    return add_to_store(s.fuel(), r);
}

int kelvane_tool::add_repair(tool_session& s) {
    service_store::record_type r{};
    if (int code = read_new_record(s, r)) return code;
    double next = 0;
    bool has_cost, has_next;
    std::u16string description;
    if (!amount_option("--cost", r.cost, has_cost) ||
        !amount_option("--next-service", next, has_next) ||
        !text_option("--description", 50, description))
        return 2;
    if (!has_cost) return usage_error("--cost is needed");
    r.next_service_mileage = has_next ? next : 0;
    r.repair_flag = has_next ? 0 : 1;
    set_fixed(r.description, description);
    return add_to_store(s.service(), r);
}

int kelvane_tool::add_fee(tool_session& s) {
    fee_store::record_type r{};
    if (int code = read_new_record(s, r)) return code;
    bool has_cost;
    std::u16string category, description;
    if (!amount_option("--cost", r.cost, has_cost) || !text_option("--category", 30, category) ||
        !text_option("--description", 50, description))
        return 2;
    if (!has_cost) return usage_error("--cost is needed");
    set_fixed(r.category, category);
    set_fixed(r.description, description);
    return add_to_store(s.fees(), r);
}

}  // namespace kelvane
