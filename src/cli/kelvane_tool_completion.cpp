// Shell completion: the bash script installed with the tool hands over the
// words typed so far, and the tool answers what fits the last one, from its
// command table and the data folder the line names. A new command or option
// so completes without a change to the script.
#include <algorithm>
#include <ostream>

#include "cli/kelvane_tool.h"
#include "cli/tool_session.h"
#include "core/common/text.h"
#include "platform/text_encoding.h"

namespace kelvane {

namespace {

// "[ACCOUNT]" and "FILE..." complete as ACCOUNT and FILE.
std::string_view operand_word(std::string_view word) {
    if (word.starts_with('[') && word.ends_with(']')) word = word.substr(1, word.size() - 2);
    if (word.ends_with("...")) word.remove_suffix(3);
    return word;
}

}  // namespace

std::vector<std::string> kelvane_tool::completions(std::string_view kind, const std::string& typed,
                                                   const std::filesystem::path& folder,
                                                   bool bare_data_folder) {
    std::vector<std::string> found;
    if (kind == "COMMAND") {
        for (const auto& c : commands()) found.emplace_back(c.name);
    } else if (kind.find('|') != std::string_view::npos) {
        for (const auto& choice : split_list(kind, '|')) found.push_back(choice);
    } else if (kind == "ACCOUNT" || kind == "ACCOUNTS" || kind == "TRIP") {
        tool_session session(folder, bare_data_folder ? tool_session::layout::data_folder
                                                      : tool_session::layout::device_root);
        (void)session.start();
        if (kind == "TRIP") {
            if (session.load_trips() == load_result::loaded)
                for (int i = 0; i < session.trips().record_count(); ++i)
                    found.push_back(
                        to_utf8(fixed_text(session.trips().record_at(i).trip_description)));
        } else {
            // A list of accounts completes its last name.
            std::string before;
            if (const auto comma = typed.rfind(',');
                kind == "ACCOUNTS" && comma != std::string::npos)
                before = typed.substr(0, comma + 1);
            for (const auto& name : session.config().list_account_names())
                found.push_back(before + to_utf8(name));
        }
    } else if (kind == "FILE" || kind == "DIR") {
        // The shell completes host paths itself.
        found.push_back("@" + std::string(kind));
        return found;
    }
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());
    std::erase_if(found, [&](const std::string& c) { return !c.starts_with(typed); });
    return found;
}

int kelvane_tool::complete(const std::vector<std::string>& words) {
    if (words.empty()) return 0;
    const std::string& typed = words.back();
    const auto global = global_options();
    const command_info* command = nullptr;
    const option_rule* wants_value = nullptr;
    bool options_ended = false, bare_data_folder = false;
    std::size_t operand = 0;
    std::filesystem::path folder = default_device_root();

    const auto find_option = [&](std::string_view name) -> const option_rule* {
        for (const auto& o : global)
            if (o.name == name) return &o;
        if (command)
            for (const auto& o : command->options)
                if (o.name == name) return &o;
        return nullptr;
    };
    // The words before the one being typed: the command, its operands so
    // far, and the data folder the line names.
    for (std::size_t i = 0; i + 1 < words.size(); ++i) {
        const std::string& w = words[i];
        // bash hands "--type=pie" over as "--type", "=", "pie".
        if (w == "=") continue;
        if (wants_value) {
            if (wants_value->name == "--root" || wants_value->name == "--data") {
                folder = w;
                bare_data_folder = wants_value->name == "--data";
            }
            wants_value = nullptr;
        } else if (!options_ended && w == "--") {
            options_ended = true;
        } else if (!options_ended && w.size() > 1 && w.starts_with('-')) {
            const option_rule* o = find_option(w);
            if (o && o->takes_value()) wants_value = o;
        } else if (!command) {
            command = find_command(w);
            if (!command) return 0;
        } else {
            ++operand;
        }
    }

    std::string_view kind;
    std::vector<std::string> options;
    if (wants_value) {
        kind = wants_value->value;
    } else if (!options_ended && typed.starts_with('-')) {
        for (const auto& o : global) options.emplace_back(o.name);
        if (command)
            for (const auto& o : command->options) options.emplace_back(o.name);
    } else if (!command) {
        kind = "COMMAND";
    } else if (operand < command->operands.size()) {
        kind = operand_word(command->operands[operand]);
    } else if (!command->operands.empty() && command->operands.back().ends_with("...")) {
        kind = operand_word(command->operands.back());
    }
    std::vector<std::string> found = completions(kind, typed, folder, bare_data_folder);
    for (const auto& o : options)
        if (o.starts_with(typed)) found.push_back(o);
    for (const auto& c : found) out_ << c << '\n';
    return 0;
}

}  // namespace kelvane
