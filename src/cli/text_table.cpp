#include "cli/text_table.h"

#include <algorithm>

#include "platform/text_encoding.h"

namespace kelvane {

namespace {

// Characters on the terminal: surrogate pairs count once.
std::size_t width_of(const std::u16string& s) {
    return static_cast<std::size_t>(
        std::count_if(s.begin(), s.end(), [](char16_t c) { return c < 0xDC00 || c > 0xDFFF; }));
}

}  // namespace

text_table::text_table(std::vector<std::u16string> headings) {
    for (auto& h : headings) {
        const bool right = !h.empty() && h.front() == u'>';
        right_.push_back(right);
        headings_.push_back(right ? h.substr(1) : h);
    }
}

void text_table::add_row(std::vector<std::u16string> cells) {
    cells.resize(headings_.size());
    rows_.push_back(std::move(cells));
}

void text_table::write(std::ostream& out) const {
    std::vector<std::size_t> widths(headings_.size());
    for (std::size_t c = 0; c < headings_.size(); ++c) {
        widths[c] = width_of(headings_[c]);
        for (const auto& row : rows_) widths[c] = std::max(widths[c], width_of(row[c]));
    }
    auto line = [&](const std::vector<std::u16string>& cells) {
        std::u16string text;
        for (std::size_t c = 0; c < cells.size(); ++c) {
            const std::u16string pad(widths[c] - width_of(cells[c]), u' ');
            if (c) text += u"  ";
            if (right_[c])
                text += pad + cells[c];
            else if (c + 1 < cells.size())
                text += cells[c] + pad;
            else
                text += cells[c];
        }
        while (!text.empty() && text.back() == u' ') text.pop_back();
        out << to_utf8(text) << '\n';
    };
    line(headings_);
    for (const auto& row : rows_) line(row);
}

}  // namespace kelvane
