#include "cli/tool_arguments.h"

#include <algorithm>
#include <charconv>

#include "core/common/parse_number.h"
#include "platform/text_encoding.h"

namespace kelvane {

namespace {

// Options that stand alone; every other "--name" takes a value.
constexpr std::string_view flags[] = {"--help", "--json"};

bool is_flag(std::string_view name) {
    return std::find(std::begin(flags), std::end(flags), name) != std::end(flags);
}

bool all_digits(std::string_view s) {
    return !s.empty() &&
           std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool to_int(std::string_view s, int& out) {
    if (!all_digits(s) || s.size() > 9) return false;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
    return ec == std::errc() && end == s.data() + s.size();
}

}  // namespace

bool tool_arguments::parse(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        // Names and paths become the device's 16-bit texts: bytes that are
        // no UTF-8 would turn into other characters and name another
        // account or another file.
        if (!is_valid_utf8(arg)) {
            error_ = "argument " + std::to_string(i) + " is not valid UTF-8 text";
            return false;
        }
        if (arg == "-h") arg = "--help";
        if (arg.size() > 2 && arg.starts_with("--")) {
            std::string name = arg, value;
            const auto eq = arg.find('=');
            if (eq != std::string::npos) {
                name = arg.substr(0, eq);
                value = arg.substr(eq + 1);
                if (is_flag(name)) {
                    error_ = name + " takes no value";
                    return false;
                }
            } else if (!is_flag(name)) {
                if (i + 1 >= argc) {
                    error_ = name + " needs a value";
                    return false;
                }
                value = argv[++i];
            }
            if (options_.count(name)) {
                error_ = name + " is given twice";
                return false;
            }
            options_[name] = value;
        } else if (command_.empty()) {
            command_ = arg;
        } else {
            positionals_.push_back(arg);
        }
    }
    return true;
}

bool tool_arguments::flag(std::string_view name) const {
    return options_.count(std::string(name)) != 0;
}

std::optional<std::string> tool_arguments::option(std::string_view name) const {
    const auto found = options_.find(std::string(name));
    if (found == options_.end()) return std::nullopt;
    return found->second;
}

std::vector<std::string> tool_arguments::unknown(
    const std::vector<std::string_view>& allowed) const {
    std::vector<std::string> out;
    for (const auto& [name, value] : options_)
        if (std::find(allowed.begin(), allowed.end(), name) == allowed.end()) out.push_back(name);
    return out;
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

std::vector<std::string> split_list(std::string_view text) {
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start <= text.size()) {
        auto end = text.find(',', start);
        if (end == std::string_view::npos) end = text.size();
        if (end > start) out.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    return out;
}

}  // namespace kelvane
