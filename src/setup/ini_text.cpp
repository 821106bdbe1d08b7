#include "setup/ini_text.h"

#include <algorithm>

namespace kelvane {

namespace {

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string_view trimmed(std::string_view s) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!s.empty() && blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && blank(s.back())) s.remove_suffix(1);
    return s;
}

}  // namespace

bool equal_ignoring_case(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return lower(x) == lower(y); });
}

ini_text ini_text::parse(std::string_view text) {
    ini_text ini;
    section* current = nullptr;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = trimmed(text.substr(start, end - start));
        start = end + 1;
        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[') {
            const std::size_t close = line.find(']');
            if (close == std::string_view::npos) {
                current = nullptr;
                continue;
            }
            const std::string_view name = trimmed(line.substr(1, close - 1));
            current = ini.find(name);
            if (!current) {
                ini.sections_.push_back({std::string(name), {}});
                current = &ini.sections_.back();
            }
            continue;
        }
        const std::size_t eq = line.find('=');
        if (!current || eq == std::string_view::npos) continue;
        const std::string_view name = trimmed(line.substr(0, eq));
        const std::string_view value = trimmed(line.substr(eq + 1));
        // The first of two equal names counts, as the desktop reads them.
        const auto& entries = current->entries;
        if (std::none_of(entries.begin(), entries.end(),
                         [&](const entry& e) { return equal_ignoring_case(e.name, name); }))
            current->entries.push_back({std::string(name), std::string(value)});
    }
    return ini;
}

const ini_text::section* ini_text::find(std::string_view name) const {
    for (const auto& s : sections_)
        if (equal_ignoring_case(s.name, name)) return &s;
    return nullptr;
}

ini_text::section* ini_text::find(std::string_view name) {
    for (auto& s : sections_)
        if (equal_ignoring_case(s.name, name)) return &s;
    return nullptr;
}

std::optional<std::string> ini_text::value(std::string_view section_name,
                                           std::string_view name) const {
    const section* s = find(section_name);
    if (!s) return std::nullopt;
    for (const auto& e : s->entries)
        if (equal_ignoring_case(e.name, name)) return e.value;
    return std::nullopt;
}

void ini_text::set(std::string_view section_name, std::string_view name, std::string_view value) {
    section* s = find(section_name);
    if (!s) {
        sections_.push_back({std::string(section_name), {}});
        s = &sections_.back();
    }
    for (auto& e : s->entries) {
        if (equal_ignoring_case(e.name, name)) {
            e.value = value;
            return;
        }
    }
    s->entries.push_back({std::string(name), std::string(value)});
}

bool ini_text::erase(std::string_view section_name, std::string_view name) {
    section* s = find(section_name);
    if (!s) return false;
    const auto it = std::find_if(s->entries.begin(), s->entries.end(),
                                 [&](const entry& e) { return equal_ignoring_case(e.name, name); });
    if (it == s->entries.end()) return false;
    s->entries.erase(it);
    return true;
}

std::string ini_text::text() const {
    std::string out;
    for (const auto& s : sections_) {
        if (s.entries.empty()) continue;
        out += '[' + s.name + "]\n";
        for (const auto& e : s.entries) out += e.name + '=' + e.value + '\n';
    }
    return out;
}

}  // namespace kelvane
