#include "core/charts/chart_texts.h"

#include <algorithm>

namespace kelvane {

namespace {

constexpr std::size_t block_units = 32768;

}  // namespace

std::u16string_view chart_texts::keep(std::u16string_view text) {
    if (text.empty()) return {};
    // A text longer than a block (no entry field holds one) gets a block of its own.
    const std::size_t room = std::max(block_units, text.size());
    if (blocks_.empty() || used_ + text.size() > block_units) {
        blocks_.push_back(std::make_unique_for_overwrite<char16_t[]>(room));
        used_ = 0;
    }
    char16_t* at = blocks_.back().get() + used_;
    std::copy(text.begin(), text.end(), at);
    used_ += text.size();
    return {at, text.size()};
}

void chart_texts::clear() {
    if (blocks_.size() > 1) blocks_.erase(blocks_.begin() + 1, blocks_.end());
    used_ = 0;
}

}  // namespace kelvane
