#include "cli/tool_arguments.h"

#include <getopt.h>

#include <algorithm>
#include <charconv>

#include "core/common/parse_number.h"
#include "platform/text_encoding.h"

namespace kelvane {

namespace {

bool all_digits(std::string_view s) {
    return !s.empty() &&
           std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool to_int(std::string_view s, int& out) {
    if (!all_digits(s) || s.size() > 9) return false;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
    return ec == std::errc() && end == s.data() + s.size();
}

// getopt_long reports an option by this number plus its place in the list.
constexpr int first_option_code = 256;

// The long options that begin with what was typed, for a message about an
// abbreviation that fits several.
std::vector<std::string_view> options_beginning(std::span<const option_rule> options,
                                                std::string_view typed) {
    std::vector<std::string_view> found;
    for (const auto& o : options)
        if (o.name.starts_with(typed)) found.push_back(o.name);
    return found;
}

}  // namespace

bool tool_arguments::parse_global(int argc, const char* const* argv,
                                  std::span<const option_rule> global) {
    args_.clear();
    for (int i = 1; i < argc; ++i) {
        // Names and paths become the device's 16-bit texts: bytes that are
        // no UTF-8 would turn into other characters and name another
        // account or another file.
        if (!is_valid_utf8(argv[i])) {
            error_ = "argument " + std::to_string(i) + " is not valid UTF-8 text";
            return false;
        }
        args_.emplace_back(argv[i]);
    }
    if (!scan(0, global, true)) return false;
    if (rest_ < args_.size()) command_ = args_[rest_++];
    return true;
}

bool tool_arguments::parse_command(std::span<const option_rule> options) {
    if (options_ended_) {
        positionals_.assign(args_.begin() + static_cast<std::ptrdiff_t>(rest_), args_.end());
        return true;
    }
    return scan(rest_, options, false);
}

bool tool_arguments::scan(std::size_t first, std::span<const option_rule> options,
                          bool stop_at_operand) {
    // getopt_long wants the C arrays: the words with a program name in front
    // and the options without their dashes.
    std::vector<std::string> names;
    names.reserve(options.size());
    for (const auto& o : options) names.emplace_back(o.name.substr(2));
    std::vector<::option> table;
    for (std::size_t i = 0; i < options.size(); ++i)
        table.push_back({names[i].c_str(),
                         options[i].takes_value() ? required_argument : no_argument, nullptr,
                         first_option_code + static_cast<int>(i)});
    table.push_back({nullptr, 0, nullptr, 0});
    std::string program = "kelvane-tool";
    std::vector<char*> words{program.data()};
    for (std::size_t i = first; i < args_.size(); ++i) words.push_back(args_[i].data());
    words.push_back(nullptr);
    const int count = static_cast<int>(words.size()) - 1;

    // "+": stop at the command's name; "-": hand over operands in their
    // place, whatever POSIXLY_CORRECT says; ":": report a missing value
    // apart from an unknown option; the messages are the tool's own.
    const char* const short_options = stop_at_operand ? "+:h" : "-:h";
    opterr = 0;
    optind = 0;               // starts getopt over, as for a new command line
    int separate_value = -1;  // where the last value given as its own word was
    for (;;) {
        const int code = getopt_long(count, words.data(), short_options, table.data(), nullptr);
        if (code == -1) break;
        const std::string word = words[static_cast<std::size_t>(optind) - 1]
                                     ? words[static_cast<std::size_t>(optind) - 1]
                                     : "";
        if (code == 1) {
            positionals_.emplace_back(optarg);
            continue;
        }
        if (code == 'h') {
            options_["--help"];
            continue;
        }
        if (code == ':' || code == '?') {
            const bool known = optopt >= first_option_code &&
                               optopt < first_option_code + static_cast<int>(options.size());
            if (code == ':' && known) {
                error_ = std::string(options[optopt - first_option_code].name) + " needs a value";
            } else if (known) {
                error_ = std::string(options[optopt - first_option_code].name) + " takes no value";
            } else if (optopt != 0) {
                error_ = std::string("unknown option -") + static_cast<char>(optopt);
            } else {
                const std::string typed = word.substr(0, word.find('='));
                const auto fits = options_beginning(options, typed);
                if (fits.size() > 1) {
                    error_ = "option " + typed + " is ambiguous; it could be";
                    for (std::size_t i = 0; i < fits.size(); ++i)
                        error_ += (i ? ", " : " ") + std::string(fits[i]);
                } else {
                    error_ = "unknown option " + typed;
                }
            }
            return false;
        }
        const option_rule& rule = options[static_cast<std::size_t>(code - first_option_code)];
        const std::string name(rule.name);
        if (options_.count(name)) {
            error_ = name + " is given twice";
            return false;
        }
        options_[name] = rule.takes_value() ? optarg : "";
        if (rule.takes_value() && optarg == words[static_cast<std::size_t>(optind) - 1])
            separate_value = optind - 1;
    }
    const std::size_t next = first + static_cast<std::size_t>(optind > 0 ? optind - 1 : 0);
    if (stop_at_operand) {
        // "--" ends the options for the whole line, the command's included.
        options_ended_ = optind >= 2 && optind - 1 != separate_value &&
                         std::string_view(words[static_cast<std::size_t>(optind) - 1]) == "--";
        rest_ = next;
    } else {
        for (std::size_t i = next; i < args_.size(); ++i) positionals_.push_back(args_[i]);
    }
    return true;
}

std::optional<std::string> tool_arguments::option(std::string_view name) const {
    const auto found = options_.find(std::string(name));
    if (found == options_.end()) return std::nullopt;
    return found->second;
}

bool read_amount(std::string_view text, double& out, bool allow_negative) {
    std::string_view body = text;
    if (!body.empty() && body.front() == '-') {
        if (!allow_negative) return false;
        body.remove_prefix(1);
    }
    // The shared parser reads anything else as 0; here, as in the editors,
    // it is an error (and so is nothing at all).
    if (body.empty() || !is_number_text(widen(body))) return false;
    if (std::count_if(body.begin(), body.end(), [](char c) { return c != '.'; }) > 15) return false;
    out = parse_number(widen(text));
    return true;
}

bool read_date(std::string_view text, local_time& out, bool& has_time) {
    has_time = false;
    if (text.size() < 10 || text[4] != '-' || text[7] != '-') return false;
    local_time t;
    if (!to_int(text.substr(0, 4), t.year) || !to_int(text.substr(5, 2), t.month) ||
        !to_int(text.substr(8, 2), t.day))
        return false;
    if (!is_valid_date(t.year, t.month, t.day)) return false;
    std::string_view rest = text.substr(10);
    if (!rest.empty()) {
        if (rest.front() != ' ' && rest.front() != 'T') return false;
        rest.remove_prefix(1);
        if (rest.size() != 5 && rest.size() != 8) return false;
        if (rest[2] != ':' || !to_int(rest.substr(0, 2), t.hour) ||
            !to_int(rest.substr(3, 2), t.minute))
            return false;
        if (rest.size() == 8 && (rest[5] != ':' || !to_int(rest.substr(6, 2), t.second)))
            return false;
        if (t.hour > 23 || t.minute > 59 || t.second > 59) return false;
        has_time = true;
    }
    out = from_local_seconds(to_local_seconds(t));
    return true;
}

bool read_int(std::string_view text, int low, int high, int& out) {
    int value = 0;
    if (!to_int(text, value) || value < low || value > high) return false;
    out = value;
    return true;
}

bool read_size(std::string_view text, int low, int high, int& width, int& height) {
    const auto x = text.find('x');
    if (x == std::string_view::npos) return false;
    return read_int(text.substr(0, x), low, high, width) &&
           read_int(text.substr(x + 1), low, high, height);
}

std::vector<std::string> split_list(std::string_view text, char separator) {
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start <= text.size()) {
        auto end = text.find(separator, start);
        if (end == std::string_view::npos) end = text.size();
        if (end > start) out.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    return out;
}

}  // namespace kelvane
