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
#include "cli/tool_command.h"

namespace kelvane {

class tool_session;

class kelvane_tool {
public:
    kelvane_tool(std::ostream& out, std::ostream& err) : out_(out), err_(err) {}
    // Runs one command line; 0 on success, 1 on a failure the tool or the
    // program reported, 2 on a command line it could not understand.
    int run(int argc, const char* const* argv);

private:
    // A command of a family (run_command_of), run over the session.
    using command_fn = int (*)(const tool_command::context&, tool_session&);
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

    // True when the command on the command line changes the data folder
    // (or copies it whole); the one place that decides it.
    bool writes_data() const;
    // Takes the data folder's one-writer hold; false, after the message,
    // while the program has the folder open.
    bool hold_data_folder(tool_session& s);

    void print_usage(std::ostream& out) const;
    void print_command_help(const command_info& c) const;
    void print_version() const;
    // The messages of the command line itself, as the commands give theirs.
    tool_command reporter() const {
        return tool_command({out_, err_, args_, command_ && command_->run ? command_->name : ""});
    }
    int fail(const std::string& message) { return reporter().fail(message); }
    int usage_error(const std::string& message) { return reporter().usage_error(message); }

    std::ostream& out_;
    std::ostream& err_;
    tool_arguments args_;
    const command_info* command_ = nullptr;
};

}  // namespace kelvane
