#pragma once
// The texts of a chart's entries, kept side by side in large blocks rather
// than in fields of their longest size in every entry: a chart of many
// thousand entries holds a few short texts each. A kept text stays where it
// is until the texts are cleared, so views of it stay valid.

#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

namespace kelvane {

class chart_texts {
public:
    chart_texts() = default;
    chart_texts(chart_texts&&) noexcept = default;
    chart_texts& operator=(chart_texts&&) noexcept = default;
    // Views into the blocks cannot follow a copy.
    chart_texts(const chart_texts&) = delete;
    chart_texts& operator=(const chart_texts&) = delete;

    // A lasting copy of the text; an empty text takes no room.
    std::u16string_view keep(std::u16string_view text);
    // Forgets every text kept, keeping the blocks for the next chart.
    void clear();

private:
    std::vector<std::unique_ptr<char16_t[]>> blocks_;
    std::size_t current_ = 0;  // the block texts are kept in now
    std::size_t used_ = 0;     // units used in it
    std::vector<std::unique_ptr<char16_t[]>> long_texts_;
};

}  // namespace kelvane
