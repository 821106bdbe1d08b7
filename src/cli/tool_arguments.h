#pragma once
// The command line of kelvane-tool: global options, the command, its
// positional arguments and its options, plus the strict readers of numbers,
// dates and sizes. Every reader returns false with a message for the owner
// instead of guessing, so bad input never reaches a store.

#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/local_time.h"

namespace kelvane {

// One long option: its name with the dashes ("--cost") and, for an option
// that takes a value, the value's name as help and completion show it ("N",
// "DATE", "FILE", "ACCOUNT", or choices "on|off"). A flag has no value name.
struct option_rule {
    std::string_view name;
    std::string_view value = {};
    bool takes_value() const { return !value.empty(); }
};

// Reads the command line the way GNU programs do (getopt_long): "--opt value"
// and "--opt=value", an unambiguous abbreviation of a long option, "-h" for
// "--help", and "--" ending the options. Options and operands may come in
// any order after the command; before it, only the global options.
class tool_arguments {
public:
    // Reads the global options up to the command's name; false (with
    // error()) on a malformed or unknown option.
    bool parse_global(int argc, const char* const* argv, std::span<const option_rule> global);
    // Reads what follows the command with the command's own options (the
    // global ones count here too); false (with error()).
    bool parse_command(std::span<const option_rule> options);

    const std::string& command() const { return command_; }
    const std::vector<std::string>& positionals() const { return positionals_; }
    bool flag(std::string_view name) const { return has(name); }
    std::optional<std::string> option(std::string_view name) const;
    bool has(std::string_view name) const { return options_.count(std::string(name)) != 0; }
    const std::string& error() const { return error_; }
    // The words after the command, as given (for completion, which reads a
    // line still being typed).
    std::vector<std::string> rest() const {
        return {args_.begin() + static_cast<std::ptrdiff_t>(rest_), args_.end()};
    }

private:
    // Scans args_ from `first` with the options; `stop_at_operand` ends the
    // scan at the first operand (the command's name).
    bool scan(std::size_t first, std::span<const option_rule> options, bool stop_at_operand);

    std::vector<std::string> args_;  // argv without the program's name
    std::size_t rest_ = 0;           // where the command's own arguments begin
    bool options_ended_ = false;     // "--" came before the command
    std::string command_;
    std::vector<std::string> positionals_;
    std::map<std::string, std::string> options_;  // flags map to ""
    std::string error_;
};

// A non-negative amount or mileage: digits with at most one '.', read with
// the shared number parser so that values match the handheld's. A leading
// '-' is accepted only with allow_negative.
bool read_amount(std::string_view text, double& out, bool allow_negative = false);
// "YYYY-MM-DD", optionally followed by " HH:MM[:SS]" or "THH:MM[:SS]";
// has_time tells whether a time was given.
bool read_date(std::string_view text, local_time& out, bool& has_time);
// A whole number within [low, high].
bool read_int(std::string_view text, int low, int high, int& out);
// "WIDTHxHEIGHT" with both sides within [low, high].
bool read_size(std::string_view text, int low, int high, int& width, int& height);
// Splits "A,B,C" at commas (or another separator); empty parts are dropped.
std::vector<std::string> split_list(std::string_view text, char separator = ',');

}  // namespace kelvane
