#pragma once
// The command line of kelvane-tool: global options, the command, its
// positional arguments and its options, plus the strict readers of numbers,
// dates and sizes. Every reader returns false with a message for the owner
// instead of guessing, so bad input never reaches a store.

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/local_time.h"

namespace kelvane {

class tool_arguments {
public:
    // Reads argv; false (with error()) on a malformed option.
    bool parse(int argc, const char* const* argv);

    const std::string& command() const { return command_; }
    const std::vector<std::string>& positionals() const { return positionals_; }
    bool flag(std::string_view name) const;
    std::optional<std::string> option(std::string_view name) const;
    bool has(std::string_view name) const { return options_.count(std::string(name)) != 0; }
    // The options given that are not in the allowed list (flags included).
    std::vector<std::string> unknown(const std::vector<std::string_view>& allowed) const;
    const std::string& error() const { return error_; }

private:
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
// Splits "A,B,C" at commas; empty parts are dropped.
std::vector<std::string> split_list(std::string_view text);

}  // namespace kelvane
