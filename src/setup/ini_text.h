#pragma once
// A small reader and writer of "[section]" and "name = value" text, the form
// of the application manager's description file and of the desktop key store.
// Section and value names compare ignoring ASCII case, as the desktop does;
// blanks around names and values are dropped; lines end in CR LF or LF; lines
// starting with ';' are comments. Text outside a section is ignored.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvane {

bool equal_ignoring_case(std::string_view a, std::string_view b);

class ini_text {
public:
    static ini_text parse(std::string_view text);

    std::optional<std::string> value(std::string_view section, std::string_view name) const;
    void set(std::string_view section, std::string_view name, std::string_view value);
    // False when there was no such value.
    bool erase(std::string_view section, std::string_view name);
    // The text with LF line ends; sections and values in the order they came.
    std::string text() const;

private:
    struct entry {
        std::string name, value;
    };
    struct section {
        std::string name;
        std::vector<entry> entries;
    };
    const section* find(std::string_view name) const;
    section* find(std::string_view name);

    std::vector<section> sections_;
};

}  // namespace kelvane
