#pragma once
// Plain-text tables for the terminal: columns padded to their widest cell,
// numbers right-aligned, written as UTF-8.

#include <ostream>
#include <string>
#include <vector>

namespace kelvane {

class text_table {
public:
    // Column headings; a heading starting with '>' marks a right-aligned column.
    explicit text_table(std::vector<std::u16string> headings);
    void add_row(std::vector<std::u16string> cells);
    bool empty() const { return rows_.empty(); }
    void write(std::ostream& out) const;

private:
    std::vector<std::u16string> headings_;
    std::vector<bool> right_;
    std::vector<std::vector<std::u16string>> rows_;
};

}  // namespace kelvane
