// The French language file against the texts the program shows. The program
// passes every English text through the language table at the moment it
// shows it; a text without a French line stays English in the middle of a
// French screen. These tests read the program's sources the way a translator
// would, collect every English key, and name the ones French.lng lacks.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/accounts/units.h"
#include "core/common/messages.h"
#include "core/exchange/csv_rows.h"
#include "core/records/fee_entry.h"
#include "core/test_services.h"
#include "core/tools/language_table.h"
#include "platform/text_encoding.h"

using namespace kelvane;

namespace {

namespace fs = std::filesystem;

// ---------------------------------------------------------------------------
// Reading C++ sources: enough of the language to find string literals where
// they stand, whatever clang-format did to them.

struct token {
    enum class kind { identifier, text, punctuation, other };
    kind k = kind::other;
    std::string spelling;  // identifiers and punctuation
    std::u16string text;   // string literals, escapes resolved, adjacent ones joined
    int line = 0;
};

void append_code_point(std::u16string& out, char32_t c) {
    if (c < 0x10000) {
        out += static_cast<char16_t>(c);
    } else {
        c -= 0x10000;
        out += static_cast<char16_t>(0xD800 + (c >> 10));
        out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    }
}

bool is_identifier_char(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

bool is_hex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

class tokenizer {
public:
    explicit tokenizer(std::string_view src) : s_(src) {}

    std::vector<token> run() {
        bool line_start = true;
        while (i_ < s_.size()) {
            const char c = s_[i_];
            if (c == '\n') {
                ++line_;
                ++i_;
                line_start = true;
            } else if (c == ' ' || c == '\t' || c == '\r') {
                ++i_;
            } else if (c == '#' && line_start) {
                skip_directive();
            } else if (s_.compare(i_, 2, "//") == 0) {
                while (i_ < s_.size() && s_[i_] != '\n') ++i_;
            } else if (s_.compare(i_, 2, "/*") == 0) {
                const std::size_t end = s_.find("*/", i_ + 2);
                const std::size_t stop = end == std::string_view::npos ? s_.size() : end + 2;
                line_ += static_cast<int>(std::count(s_.begin() + i_, s_.begin() + stop, '\n'));
                i_ = stop;
            } else {
                line_start = false;
                if (c == '"') {
                    string_literal(false);
                } else if (c == '\'') {
                    char_literal();
                } else if (c >= '0' && c <= '9') {
                    number();
                } else if (is_identifier_char(c)) {
                    identifier_or_prefix();
                } else if (s_.compare(i_, 2, "::") == 0 || s_.compare(i_, 2, "->") == 0) {
                    push(token::kind::punctuation, std::string(s_.substr(i_, 2)));
                    i_ += 2;
                } else {
                    push(token::kind::punctuation, std::string(1, c));
                    ++i_;
                }
            }
        }
        return std::move(out_);
    }

private:
    void push(token::kind k, std::string spelling) {
        token t;
        t.k = k;
        t.spelling = std::move(spelling);
        t.line = line_;
        out_.push_back(std::move(t));
    }

    void skip_directive() {
        while (i_ < s_.size() && s_[i_] != '\n') {
            if (s_[i_] == '\\' && i_ + 1 < s_.size() && s_[i_ + 1] == '\n') {
                ++line_;
                ++i_;
            }
            ++i_;
        }
    }

    void number() {
        while (i_ < s_.size() &&
               (is_identifier_char(s_[i_]) || s_[i_] == '.' ||
                (s_[i_] == '\'' && i_ + 1 < s_.size() && is_identifier_char(s_[i_ + 1]))))
            ++i_;
        push(token::kind::other, {});
    }

    void identifier_or_prefix() {
        std::size_t end = i_;
        while (end < s_.size() && is_identifier_char(s_[end])) ++end;
        const std::string_view word = s_.substr(i_, end - i_);
        const bool quote_follows = end < s_.size() && (s_[end] == '"' || s_[end] == '\'');
        if (quote_follows && (word == "u" || word == "U" || word == "L" || word == "u8")) {
            i_ = end;
            if (s_[i_] == '"')
                string_literal(false);
            else
                char_literal();
            return;
        }
        if (quote_follows && s_[end] == '"' &&
            (word == "R" || word == "uR" || word == "UR" || word == "LR" || word == "u8R")) {
            i_ = end;
            string_literal(true);
            return;
        }
        push(token::kind::identifier, std::string(word));
        i_ = end;
    }

    // One escape sequence at s_[i_] == '\\'; appends what it stands for.
    void escape(std::u16string& out) {
        ++i_;
        if (i_ >= s_.size()) return;
        const char c = s_[i_++];
        auto hex_digits = [&](std::size_t max) {
            char32_t v = 0;
            for (std::size_t n = 0; n < max && i_ < s_.size() && is_hex(s_[i_]); ++n, ++i_)
                v = v * 16 + static_cast<char32_t>(std::stoi(std::string(1, s_[i_]), nullptr, 16));
            return v;
        };
        switch (c) {
            case 'n':
                out += u'\n';
                break;
            case 'r':
                out += u'\r';
                break;
            case 't':
                out += u'\t';
                break;
            case 'a':
                out += u'\a';
                break;
            case 'b':
                out += u'\b';
                break;
            case 'f':
                out += u'\f';
                break;
            case 'v':
                out += u'\v';
                break;
            case 'x':
                append_code_point(out, hex_digits(8));
                break;
            case 'u':
                append_code_point(out, hex_digits(4));
                break;
            case 'U':
                append_code_point(out, hex_digits(8));
                break;
            default:
                if (c >= '0' && c <= '7') {
                    char32_t v = static_cast<char32_t>(c - '0');
                    for (int n = 1; n < 3 && i_ < s_.size() && s_[i_] >= '0' && s_[i_] <= '7';
                         ++n, ++i_)
                        v = v * 8 + static_cast<char32_t>(s_[i_] - '0');
                    append_code_point(out, v);
                } else {
                    out += static_cast<char16_t>(c);  // \\ \" \' \?
                }
        }
    }

    // One source character (UTF-8) at i_.
    void plain(std::u16string& out) {
        const auto b = static_cast<unsigned char>(s_[i_]);
        const int extra = b < 0x80 ? 0 : b < 0xE0 ? 1 : b < 0xF0 ? 2 : 3;
        char32_t c = extra == 0 ? b : b & (0x3F >> extra);
        ++i_;
        for (int n = 0; n < extra && i_ < s_.size(); ++n, ++i_)
            c = (c << 6) | (static_cast<unsigned char>(s_[i_]) & 0x3F);
        append_code_point(out, c);
    }

    void string_literal(bool raw) {
        std::u16string text;
        ++i_;  // the opening quote
        if (raw) {
            const std::size_t open = s_.find('(', i_);
            const std::string close = ")" + std::string(s_.substr(i_, open - i_)) + "\"";
            const std::size_t end = s_.find(close, open);
            i_ = open + 1;
            while (i_ < end) {
                if (s_[i_] == '\n') ++line_;
                plain(text);
            }
            i_ = end + close.size();
        } else {
            while (i_ < s_.size() && s_[i_] != '"') {
                if (s_[i_] == '\\')
                    escape(text);
                else
                    plain(text);
            }
            ++i_;
        }
        // Literals side by side are one literal.
        if (!out_.empty() && out_.back().k == token::kind::text) {
            out_.back().text += text;
            return;
        }
        push(token::kind::text, {});
        out_.back().text = std::move(text);
    }

    void char_literal() {
        ++i_;
        while (i_ < s_.size() && s_[i_] != '\'') i_ += s_[i_] == '\\' ? 2 : 1;
        ++i_;
        push(token::kind::other, {});
    }

    std::string_view s_;
    std::size_t i_ = 0;
    int line_ = 1;
    std::vector<token> out_;
};

// ---------------------------------------------------------------------------
// Where the keys stand.

// Calls that show their argument through the language table, and which
// argument holds the key. The screens' own helpers that take a key and
// translate it inside (the editors' rows, the lists' column titles, the
// record pages' buttons) count as such calls.
struct key_call {
    std::string_view name;
    std::size_t argument;
    bool nested = false;       // keys anywhere inside the argument (a table of columns)
    std::string_view where{};  // only in the files under this path (a helper's own name)
};
constexpr key_call key_calls[] = {
    {"tr", 0},
    {"translated", 0},
    {"show_message", 0},
    {"menu_command", 0},
    {"menu_popup", 0},
    // The record screens' helpers (other lists have an add_row of their own,
    // which takes texts already shown).
    {"add_row", 0, false, "src/gui/records/"},                  // an editor's row: its label
    {"make", 0, false, "src/gui/records/"},                     // an editor's button
    {"set_column", 1, false, "src/gui/records/"},               // a record list's column title
    {"set_column_title", 1, false, "src/gui/records/"},         //
    {"record_list", 1, false, "src/gui/records/"},              // a record list's first menu entry
    {"build", 1, false, "src/gui/records/"},                    // a record page's button ...
    {"build", 2, true, "src/gui/records/"},                     // ... and its column titles
    {"line", 0, false, "src/cli/account_commands.cpp"},         // the tool's option lines
    {"set_empty_hint", 0, false, "src/gui/"},                   // what an empty list says
    {"line", 0, false, "src/core/exchange/export_import.cpp"},  // the import's report lines
    {"refuse_at", 1, false, "src/core/exchange/"},              // why a line cannot be read
};

// Functions that return a key for the caller to show; every text they
// return is a key.
constexpr std::string_view key_functions[] = {
    "page_name", "trip_check_message", "account_save_message", "options_message",
    "unit_name", "backup_message",     "restore_message"};

// A call whose key is not written at the call itself (nor is a named text,
// nor what a function of key_functions returns), and where the keys come
// from: the callers of a helper (collected above) or a table of core that
// the test reads itself.
struct known_argument {
    std::string_view file;
    std::string_view argument;
};
constexpr known_argument known_arguments[] = {
    // The helpers themselves: their callers are collected.
    {"src/core/common/messages.cpp", "key"},
    {"src/core/common/messages.cpp", "label_key"},
    {"src/gui/widgets/menu_items.cpp", "key"},
    {"src/gui/widgets/translated.h", "key"},
    {"src/gui/records/record_page.cpp", "button_key"},
    {"src/gui/records/record_page.cpp", "columns[static_cast<std::size_t>(c)].title_key"},
    {"src/gui/records/record_list.cpp", "title_key"},
    {"src/gui/records/record_list.cpp", "first_entry_key_"},
    {"src/gui/records/record_list.cpp", "empty_hint_"},
    {"src/gui/widgets/drawn_list.cpp", "empty_hint_"},
    {"src/gui/records/record_editor.cpp", "label_key"},
    // The editor's add_row hands its translated label on to the form's.
    {"src/gui/records/record_editor.cpp", "translated(label_key)"},
    {"src/gui/records/record_editor.cpp", "text"},
    {"src/cli/account_commands.cpp", "label"},
    {"src/core/exchange/export_import.cpp", "key"},
    {"src/core/exchange/csv_rows.cpp", "key"},  // the item cells, made once per export
    {"src/core/exchange/peer_import.cpp", "reason_key"},
    // Tables of core, read below.
    {"src/core/exchange/csv_rows.cpp", "item"},                            // the csv_item_ texts
    {"src/gui/records/fuel_editor.cpp", "name"},                           // fuel_type_names
    {"src/gui/records/fee_editor.cpp", "preset"},                          // fee_category_presets
    {"src/gui/accounts/account_editor.cpp", "c.name"},                     // currency_table()
    {"src/gui/records/fuel_editor.cpp", "fixed_text(account.fuel_unit)"},  // units
    {"src/gui/records/fuel_editor.cpp", "fixed_text(account.mileage_unit)"},
    {"src/gui/records/fee_editor.cpp", "fixed_text(account.mileage_unit)"},
    {"src/gui/records/service_editor.cpp", "fixed_text(account.mileage_unit)"},
    {"src/gui/trips/trip_editor.cpp", "fixed_text(prog_.fuel.header().mileage_unit)"},
    {"src/gui/charts/chart_range_dialog.cpp", "fixed_text(prog_.fuel.header().mileage_unit)"},
};

// Keys the program passes through the table but that must stay English.
struct kept_english {
    std::u16string_view key;
    std::string_view why;
};
const kept_english never_translated[] = {
    {u",", "separates the export file's header cells; its rows use a plain comma"},
    {u"Kelvane_backup_manual", "a folder: a backup must be found again in any language"},
    {u"Kelvane_backup_auto", "a folder: the automatic backup writes to it under this name"},
    // Not passed through the table at all, so never collected: the about
    // text, the Setup wizard's two text sets (kept by Setup itself).
};

// Where a key was first seen, for the failure message.
using key_places = std::map<std::u16string, std::string>;

struct scan_result {
    key_places keys;
    std::vector<std::string> unknown_arguments;  // "file:line: call(argument)"
};

class source_scan {
public:
    // First pass: named texts and tables of texts, so that a call such as
    // show_message(msg_write_failed) or tr(csv_header_keys[i]) finds its keys.
    void collect_constants(const std::vector<token>& t) {
        for (std::size_t i = 0; i + 2 < t.size(); ++i) {
            if (t[i].k != token::kind::identifier || !declared_constant(t, i)) continue;
            std::size_t j = i + 1;
            if (is(t, j, "[") && is(t, j + 1, "]")) j += 2;
            if (!is(t, j, "=")) continue;
            ++j;
            if (j < t.size() && t[j].k == token::kind::text) {
                constants_[t[i].spelling].push_back(t[j].text);
            } else if (is(t, j, "{")) {
                std::vector<std::u16string> texts;
                for (++j; j < t.size() && !is(t, j, "}"); ++j) {
                    if (t[j].k == token::kind::text)
                        texts.push_back(t[j].text);
                    else if (!is(t, j, ","))
                        break;
                }
                if (is(t, j, "}") && !texts.empty()) {
                    auto& c = constants_[t[i].spelling];
                    c.insert(c.end(), texts.begin(), texts.end());
                }
            }
        }
    }

    void collect_keys(const std::string& file, const std::vector<token>& t, scan_result& out) {
        for (std::size_t i = 0; i < t.size(); ++i) {
            if (t[i].k != token::kind::identifier) continue;
            for (std::string_view f : key_functions)
                if (t[i].spelling == f) returned_keys(file, t, i, out);
            for (const key_call& call : key_calls)
                if (t[i].spelling == call.name && file.starts_with(call.where))
                    call_keys(file, t, i, call, out);
        }
    }

private:
    static bool is(const std::vector<token>& t, std::size_t i, std::string_view p) {
        return i < t.size() && t[i].k != token::kind::text && t[i].spelling == p;
    }

    // True when the name at `i` is declared constant (not a variable that
    // merely starts with a text).
    static bool declared_constant(const std::vector<token>& t, std::size_t i) {
        while (i > 0 && !is(t, i - 1, ";") && !is(t, i - 1, "{") && !is(t, i - 1, "}")) {
            --i;
            if (is(t, i, "constexpr") || is(t, i, "const")) return true;
        }
        return false;
    }

    static void add(scan_result& out, const std::u16string& key, const std::string& file,
                    int line) {
        out.keys.emplace(key, file + ":" + std::to_string(line));
    }

    // The index of the bracket closing the one at `open`.
    static std::size_t closing(const std::vector<token>& t, std::size_t open) {
        int depth = 0;
        for (std::size_t i = open; i < t.size(); ++i) {
            if (is(t, i, "(") || is(t, i, "[") || is(t, i, "{")) ++depth;
            if (is(t, i, ")") || is(t, i, "]") || is(t, i, "}"))
                if (--depth == 0) return i;
        }
        return t.size();
    }

    // The arguments of the call whose "(" is at `open`, as token ranges.
    static std::vector<std::pair<std::size_t, std::size_t>> arguments(const std::vector<token>& t,
                                                                      std::size_t open) {
        std::vector<std::pair<std::size_t, std::size_t>> args;
        const std::size_t close = closing(t, open);
        std::size_t start = open + 1;
        for (std::size_t i = open + 1; i < close; ++i) {
            if (is(t, i, "(") || is(t, i, "[") || is(t, i, "{")) {
                i = closing(t, i);
            } else if (is(t, i, ",")) {
                args.emplace_back(start, i);
                start = i + 1;
            }
        }
        if (close > start) args.emplace_back(start, close);
        return args;
    }

    // True when the name at `i` is declared or defined there, not called:
    // a type stands before it, or its parameters are declarations.
    static bool declared_here(const std::vector<token>& t, std::size_t i,
                              std::pair<std::size_t, std::size_t> arg) {
        std::size_t b = i;
        while (b >= 2 && is(t, b - 1, "::") && t[b - 2].k == token::kind::identifier) b -= 2;
        if (b > 0 && t[b - 1].k == token::kind::identifier) {
            const std::string& before = t[b - 1].spelling;
            if (before != "return" && before != "case" && before != "else" && before != "new")
                return true;
        }
        for (std::size_t j = arg.first; j + 1 < arg.second; ++j)
            if (t[j].k == token::kind::identifier && t[j + 1].k == token::kind::identifier &&
                t[j].spelling != "new")
                return true;
        return false;
    }

    static std::string spelled(const std::vector<token>& t, std::size_t b, std::size_t e) {
        std::string s;
        for (std::size_t i = b; i < e; ++i)
            s += t[i].k == token::kind::text ? "\"" + to_utf8(t[i].text) + "\"" : t[i].spelling;
        return s;
    }

    void call_keys(const std::string& file, const std::vector<token>& t, std::size_t i,
                   const key_call& call, scan_result& out) const {
        std::size_t open = i + 1;
        if (is(t, open, "<")) {  // a template's arguments: record_list<fuel_store>(...)
            while (open < t.size() && !is(t, open, ">")) ++open;
            ++open;
        }
        if (!is(t, open, "(")) return;
        const auto args = arguments(t, open);
        if (args.size() <= call.argument) return;
        const auto arg = args[call.argument];
        if (declared_here(t, i, arg)) return;

        bool found = false;
        for (std::size_t j = arg.first; j < arg.second; ++j) {
            if (!call.nested && (is(t, j, "(") || is(t, j, "[") || is(t, j, "{"))) {
                j = closing(t, j);
                continue;
            }
            if (t[j].k == token::kind::text) {
                add(out, t[j].text, file, t[j].line);
                found = true;
            }
        }
        if (found || call.nested) return;

        // A named text or table: msg_write_failed, kelvane::x, csv_header_keys[i].
        std::size_t e = arg.second;
        if (e > arg.first && is(t, e - 1, "]")) {
            std::size_t open_index = arg.first;
            while (open_index < e && !is(t, open_index, "[")) ++open_index;
            if (closing(t, open_index) == e - 1) e = open_index;
        }
        if (e > arg.first && t[e - 1].k == token::kind::identifier) {
            bool qualified_name = true;
            for (std::size_t j = arg.first; j + 1 < e; j += 2)
                qualified_name =
                    qualified_name && t[j].k == token::kind::identifier && is(t, j + 1, "::");
            if (qualified_name && (e - arg.first) % 2 == 1) {
                if (auto c = constants_.find(t[e - 1].spelling); c != constants_.end()) {
                    for (const auto& key : c->second) add(out, key, file, t[i].line);
                    return;
                }
            }
        }
        // What a function of key_functions returns: those keys are collected.
        if (t[arg.first].k == token::kind::identifier && is(t, arg.first + 1, "(") &&
            closing(t, arg.first + 1) + 1 == arg.second)
            for (std::string_view f : key_functions)
                if (t[arg.first].spelling == f) return;
        const std::string argument = spelled(t, arg.first, arg.second);
        for (const known_argument& k : known_arguments)
            if (k.file == file && k.argument == argument) return;
        out.unknown_arguments.push_back(file + ":" + std::to_string(t[i].line) + ": " +
                                        std::string(call.name) + "(" + argument + ")");
    }

    void returned_keys(const std::string& file, const std::vector<token>& t, std::size_t i,
                       scan_result& out) const {
        if (!is(t, i + 1, "(")) return;
        std::size_t body = closing(t, i + 1) + 1;
        if (is(t, body, "const")) ++body;
        if (!is(t, body, "{")) return;  // a call or a declaration
        const std::size_t end = closing(t, body);
        for (std::size_t j = body; j < end; ++j) {
            if (!is(t, j, "return")) continue;
            for (++j; j < end && !is(t, j, ";"); ++j) {
                if (t[j].k == token::kind::text) add(out, t[j].text, file, t[j].line);
                if (t[j].k == token::kind::identifier && is(t, j + 1, ";"))
                    if (auto c = constants_.find(t[j].spelling); c != constants_.end())
                        for (const auto& key : c->second) add(out, key, file, t[j].line);
            }
        }
    }

    std::map<std::string, std::vector<std::u16string>> constants_;
};

// Every key written in the given sources (path relative to the tree, text).
scan_result scan_sources(const std::vector<std::pair<std::string, std::string>>& sources) {
    std::vector<std::vector<token>> tokens;
    source_scan scan;
    for (const auto& [file, text] : sources) {
        tokens.push_back(tokenizer(text).run());
        scan.collect_constants(tokens.back());
    }
    scan_result result;
    for (std::size_t i = 0; i < sources.size(); ++i)
        scan.collect_keys(sources[i].first, tokens[i], result);
    return result;
}

// The program's own sources: core, the screens and the command-line tool,
// which reads the same language file.
std::vector<std::pair<std::string, std::string>> program_sources() {
    const fs::path root = KELVANE_SOURCE_DIR;
    std::vector<std::pair<std::string, std::string>> sources;
    for (const char* folder : {"src/core", "src/gui", "src/cli"}) {
        for (const auto& entry : fs::recursive_directory_iterator(root / folder)) {
            const auto ext = entry.path().extension();
            if (!entry.is_regular_file() || (ext != ".cpp" && ext != ".h")) continue;
            std::ifstream in(entry.path(), std::ios::binary);
            sources.emplace_back(fs::relative(entry.path(), root).generic_string(),
                                 std::string(std::istreambuf_iterator<char>(in), {}));
        }
    }
    std::sort(sources.begin(), sources.end());
    return sources;
}

// The keys that live in core's tables rather than at a call.
void add_core_tables(key_places& keys) {
    auto add = [&](std::u16string_view key, const char* table) {
        keys.emplace(std::u16string(key), table);
    };
    for (auto k : mileage_unit_names) add(k, "mileage_unit_names");
    for (auto k : fuel_unit_names) add(k, "fuel_unit_names");
    add(unit_old_gallon, "unit_old_gallon");  // still shown for older accounts
    for (auto k : economy_unit_names) add(k, "economy_unit_names");
    for (auto k : fuel_type_names) add(k, "fuel_type_names");
    for (auto k : fee_category_presets) add(k, "fee_category_presets");
    for (const auto& c : currency_table()) add(c.name, "currency_table()");
    for (auto k : csv_header_keys) add(k, "csv_header_keys");
    for (auto k : {csv_item_fuel, csv_item_repair, csv_item_maintenance, csv_item_fees})
        add(k, "csv items");
}

// The keys of a loaded language table, in its order.
std::vector<std::u16string> table_keys(std::u16string_view units) {
    std::vector<std::u16string> keys;
    std::size_t i = 0;
    while (i < units.size()) {
        const std::size_t a = units[i];
        keys.emplace_back(units.substr(i + 1, a - 2));
        i += a + units[i + a];
    }
    return keys;
}

// The keys of `wanted` that `table` lacks, each with where it was seen.
std::vector<std::string> missing_keys(const key_places& wanted,
                                      const std::vector<std::u16string>& table) {
    const std::set<std::u16string> have(table.begin(), table.end());
    std::vector<std::string> missing;
    for (const auto& [key, place] : wanted) {
        bool kept = false;
        for (const auto& k : never_translated) kept = kept || k.key == key;
        if (!kept && !have.contains(key)) missing.push_back(to_utf8(key) + "  (" + place + ")");
    }
    return missing;
}

std::string lines(const std::vector<std::string>& list) {
    std::string s;
    for (const auto& l : list) s += "\n  " + l;
    return s;
}

std::vector<std::uint8_t> file_bytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

}  // namespace

TEST(french_texts, every_text_the_program_shows_has_a_french_line) {
    kelvane::testing::test_services device;
    device.fs.put(u"\\Program Files\\Kelvane\\Language.lng",
                  file_bytes(fs::path(KELVANE_SOURCE_DIR) / "resources" / "French.lng"));
    language_table french;
    // The file loads whole, as the program reads it.
    ASSERT_EQ(french.load(u"Language"), load_result::loaded);
    const std::vector<std::u16string> french_keys = table_keys(french.units());

    scan_result scan = scan_sources(program_sources());
    EXPECT_TRUE(scan.unknown_arguments.empty())
        << "these calls translate a text written elsewhere; add where it comes from to "
           "known_arguments (and its keys to the scan)"
        << lines(scan.unknown_arguments);
    // A scan that finds next to nothing has lost its way, not proved the file.
    ASSERT_GT(scan.keys.size(), 150u);
    add_core_tables(scan.keys);

    const auto missing = missing_keys(scan.keys, french_keys);
    EXPECT_TRUE(missing.empty()) << missing.size() << " texts have no line in French.lng"
                                 << lines(missing);

    // A folder name translated would move the owner's backups.
    for (const auto& k : never_translated) {
        EXPECT_EQ(to_utf8(french.translate(k.key)), to_utf8(k.key)) << k.why;
        EXPECT_TRUE(scan.keys.contains(std::u16string(k.key)))
            << to_utf8(k.key) << " is no longer translated by the program; drop it from the list";
    }
}

TEST(french_texts, keys_are_found_however_they_are_written) {
    // One small source with every way the program's code writes a key, and
    // the ways that are no key at all.
    // clang-format off
    const std::string code = R"cpp(
#include "not/a/key.h"
#define SHOWN(x) tr(u"macro body")
inline constexpr char16_t msg_named[] = u"Named message.";
constexpr std::array<std::u16string_view, 2> table_of_keys = {u"First", u"Second"};
std::u16string tr(std::u16string_view key);
void f(bool adding) {
    // tr(u"in a comment")
    /* show_message(u"in a block comment") */
    show_message(u"Split over "
                 u"two lines.", message_buttons::yes_no);
    menu_popup(
        u"Popup", {menu_command(u"Inside", 1)});
    kelvane::tr(u"Say \"quoted\" and \\ back") + u": ";
    tr(uR"x(Raw "text")x");
    const char16_t quote = u'"';
    translated(u"After a quote");
    make(adding ? u"Add" : u"Save", 2);
    show_message(msg_named);
    tr(table_of_keys[i]);
    set_column_title(2, u"Column");
    build(new record_list<store>(s, u"First entry"), u"Button", {{{u"Title", 60}}}, 1);
    tr(u"Caf\u00E9 ");
    tr(some_variable);
    add_row(std::u16string(u"not the key") + x, field);
    show_message(page_name(2));
}
std::u16string_view page_name(int i) {
    if (i) return u"Returned";
    return msg_named;
}
)cpp";
    // clang-format on
    const scan_result scan = scan_sources({{"src/gui/records/example.cpp", code}});
    std::set<std::u16string> keys;
    for (const auto& [key, place] : scan.keys) keys.insert(key);
    const std::set<std::u16string> expected = {u"Split over two lines.",
                                               u"Popup",
                                               u"Inside",
                                               u"Say \"quoted\" and \\ back",
                                               u"Raw \"text\"",
                                               u"After a quote",
                                               u"Add",
                                               u"Save",
                                               u"Named message.",
                                               u"First",
                                               u"Second",
                                               u"Column",
                                               u"First entry",
                                               u"Button",
                                               u"Title",
                                               u"Caf\u00E9 ",
                                               u"Returned"};
    EXPECT_EQ(keys, expected);
    // A key the scan cannot read is named, not skipped.
    EXPECT_EQ(
        scan.unknown_arguments,
        (std::vector<std::string>{"src/gui/records/example.cpp:24: tr(some_variable)",
                                  "src/gui/records/example.cpp:25: add_row(std::u16string(\"not "
                                  "the key\")+x)"}));
    EXPECT_EQ(scan.keys.at(u"Inside"), "src/gui/records/example.cpp:13");

    // A key without a line is reported with where it is used; a kept-English
    // folder name is not.
    key_places wanted = scan.keys;
    wanted.emplace(u"Kelvane_backup_manual", "elsewhere");
    std::vector<std::u16string> table(keys.begin(), keys.end());
    table.erase(std::find(table.begin(), table.end(), u"Inside"));
    EXPECT_EQ(missing_keys(wanted, table),
              std::vector<std::string>{"Inside  (src/gui/records/example.cpp:13)"});
}
