#include "core/charts/chart_texts.h"

#include <algorithm>

namespace kelvane {

namespace {

constexpr std::size_t block_units = 32768;

}  // namespace

std::u16string_view chart_texts::keep(std::u16string_view text) {
    if (text.empty()) return {};
    char16_t* at;
    if (text.size() > block_units) {
        // A text longer than a block (no entry field holds one) gets a block of its own.
        long_texts_.push_back(std::make_unique_for_overwrite<char16_t[]>(text.size()));
        at = long_texts_.back().get();
    } else {
        if (blocks_.empty()) {
            blocks_.push_back(std::make_unique_for_overwrite<char16_t[]>(block_units));
        } else if (used_ + text.size() > block_units) {
            // The next block: one an earlier chart filled, or a new one.
            if (++current_ == blocks_.size())
                blocks_.push_back(std::make_unique_for_overwrite<char16_t[]>(block_units));
            used_ = 0;
        }
        at = blocks_[current_].get() + used_;
        used_ += text.size();
    }
    std::copy(text.begin(), text.end(), at);
    return {at, text.size()};
}

void chart_texts::clear() {
    // The blocks stay for the next chart, which is most often as long: a
    // long chart refilled then takes no new memory from the system.
    long_texts_.clear();
    current_ = 0;
    used_ = 0;
}

}  // namespace kelvane
