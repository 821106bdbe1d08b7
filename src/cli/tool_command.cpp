#include "cli/tool_command.h"

#include <filesystem>
#include <ostream>

#include "cli/tool_session.h"
#include "core/common/messages.h"
#include "core/common/parse_number.h"
#include "core/common/text.h"
#include "core/common/translate.h"
#include "platform/text_encoding.h"

namespace kelvane {

namespace {

std::u16string u16(const std::string& utf8) {
    return from_utf8(utf8);
}

}  // namespace

int tool_command::fail(const std::string& message) {
    err_ << "kelvane-tool: " << message << '\n';
    return 1;
}

int tool_command::usage_error(const std::string& message) {
    err_ << "kelvane-tool: " << message << '\n';
    if (!command_.empty())
        err_ << "kelvane-tool: see 'kelvane-tool help " << command_ << "'\n";
    else
        err_ << "kelvane-tool: see 'kelvane-tool --help'\n";
    return 2;
}

bool tool_command::take_account(tool_session& s, std::size_t position, std::u16string& name) {
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

bool tool_command::parent_folder_exists(const std::string& target) {
    std::filesystem::path parent = std::filesystem::path(target).parent_path();
    if (parent.empty()) return true;  // the working folder
    std::error_code ec;
    if (std::filesystem::is_directory(parent, ec)) return true;
    fail("there is no folder '" + parent.string() + "' to write '" +
         std::filesystem::path(target).filename().string() + "' into");
    return false;
}

int tool_command::unreadable_account(const std::u16string& name) {
    return fail("the files of '" + to_utf8(name) + "' could not be read; nothing was changed");
}

bool tool_command::amount_option(std::string_view name, double& out, bool& given) {
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

bool tool_command::date_option(std::string_view name, local_time& out, bool& given) {
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

bool tool_command::text_option(std::string_view name, std::size_t max_length, std::u16string& out) {
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

bool tool_command::number_text_option(std::string_view name, std::u16string& out) {
    double value = 0;
    bool given = false;
    if (!amount_option(name, value, given)) return false;
    if (given) out = u16(*args_.option(name));
    return true;
}

bool tool_command::record_date_option(local_time& when) {
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

bool tool_command::day_option(std::string_view name, local_time& out, bool& given) {
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

bool tool_command::any_option(std::initializer_list<std::string_view> names) const {
    for (auto name : names)
        if (args_.has(name)) return true;
    return false;
}

bool tool_command::load_open_account(tool_session& s) {
    const std::u16string open = s.config().current_account();
    if (open.empty() || s.load_account(open) != load_result::damaged) return true;
    unreadable_account(open);
    return false;
}

bool tool_command::take_trip(tool_session& s, trip_record& trip) {
    const std::string& name = args_.positionals()[0];
    if (s.trips().find_trip(from_utf8(name), trip)) return true;
    fail("no trip named '" + name + "'");
    return false;
}

int tool_command::vehicles_option(tool_session& s, std::vector<std::u16string>& out) {
    const auto list = args_.option("--vehicles");
    if (!list) return 0;
    out.clear();
    for (const auto& v : split_list(*list)) {
        const std::u16string name = from_utf8(v);
        if (std::find(out.begin(), out.end(), name) != out.end())
            return usage_error("--vehicles names '" + v + "' twice");
        if (!s.config().account_exists(name)) return fail("no vehicle account named '" + v + "'");
        out.push_back(name);
    }
    if (out.empty()) return usage_error("--vehicles names no account");
    return 0;
}

bool tool_command::take_trips(tool_session& s) {
    if (s.load_trips() != load_result::damaged) return true;
    fail("the trip file could not be read; nothing was changed");
    return false;
}

}  // namespace kelvane
