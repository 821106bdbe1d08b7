#include "core/charts/chart_palette.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>
#include <vector>

namespace kelvane {

namespace {

double linear(double channel) {
    const double c = channel / 255.0;
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double luminance(double r, double g, double b) {
    return 0.2126 * linear(r) + 0.7152 * linear(g) + 0.0722 * linear(b);
}

// A luminance up to this keeps a contrast of 3 : 1 against white
// ((1 + 0.05) / (L + 0.05) >= 3), with room for rounding to whole bytes.
constexpr double brightest = 0.29;

// linear() of every whole channel value. Between two whole values a
// channel's linear() lies between theirs (the two pieces of the curve meet
// within a millionth), so most darkening steps are decided from the table
// without the three powers of an exact luminance.
const std::array<double, 256>& whole_channels() {
    static const std::array<double, 256> table = [] {
        std::array<double, 256> t{};
        for (std::size_t i = 0; i < t.size(); ++i) t[i] = linear(static_cast<double>(i));
        return t;
    }();
    return table;
}

// luminance(r, g, b) > brightest, decided exactly as luminance() decides it.
bool too_bright(double r, double g, double b) {
    // Far wider than the gap between the pieces and any rounding.
    constexpr double slack = 1e-5;
    const std::array<double, 256>& t = whole_channels();
    const auto below = [&](double channel) {
        return t[static_cast<std::size_t>(std::clamp(std::floor(channel), 0.0, 255.0))];
    };
    const auto above = [&](double channel) {
        return t[static_cast<std::size_t>(std::clamp(std::ceil(channel), 0.0, 255.0))];
    };
    const double low = 0.2126 * below(r) + 0.7152 * below(g) + 0.0722 * below(b);
    if (low - slack > brightest) return true;
    const double high = 0.2126 * above(r) + 0.7152 * above(g) + 0.0722 * above(b);
    if (high + slack <= brightest) return false;
    return luminance(r, g, b) > brightest;
}

// x modulo m for x >= 0, exactly as std::fmod gives it: the remainder is a
// whole multiple of x's last place and below m, so the subtraction is
// exact; a quotient rounded up to the next whole number is put right.
double remainder_of(double x, double m) {
    if (!(x < 0x1p52)) return std::fmod(x, m);
    const double r = x - std::floor(x / m) * m;
    return r < 0 ? r + m : r;
}

// Colours and what goes with each, in one array addressed by the colour's
// bits: a chart of many thousand entries looks its colours up without a
// node made for each.
template <class Value>
class colour_table {
public:
    explicit colour_table(std::size_t expected) { grow(expected); }

    // The value kept for c, made from `fresh` when c had none; and whether
    // it was made.
    std::pair<Value*, bool> try_emplace(colour c, const Value& fresh) {
        if (2 * (count_ + 1) > slots_.size()) grow(slots_.size());
        slot* s = find(c);
        if (s->key == c) return {&s->value, false};
        *s = {c, fresh};
        ++count_;
        return {&s->value, true};
    }

private:
    // No colour has bits above its 24, so this key marks an empty slot.
    static constexpr colour empty = 0xFF000000u;
    struct slot {
        colour key = empty;
        [[no_unique_address]] Value value{};
    };

    slot* find(colour c) {
        const std::size_t mask = slots_.size() - 1;
        // The high bits of a multiplicative hash: colours near each other spread.
        const auto hash =
            static_cast<std::size_t>((std::uint64_t{c} * 0x9E3779B97F4A7C15ull) >> 32);
        for (std::size_t i = hash & mask;; i = (i + 1) & mask)
            if (slots_[i].key == c || slots_[i].key == empty) return &slots_[i];
    }
    void grow(std::size_t at_least) {
        std::size_t size = 16;
        while (size < 2 * at_least + 2) size *= 2;
        std::vector<slot> old(size);
        old.swap(slots_);
        for (const slot& s : old)
            if (s.key != empty) *find(s.key) = s;
    }

    std::vector<slot> slots_;
    std::size_t count_ = 0;
};

// The colours handed out so far, the colours taken and where each search
// for a free one stopped, kept so that a longer chart goes on from there.
class colour_sequence {
public:
    std::span<const colour> first(std::size_t count) {
        while (colours_.size() < count) colours_.push_back(next(colours_.size()));
        return {colours_.data(), count};
    }

private:
    colour next(std::size_t index) {
        const colour first = chart_entry_colour(index);
        if (take(first)) return first;
        // Each starting colour's search goes on where it last stopped: the
        // colours before that point are all taken already, and a chart of
        // many thousand entries would otherwise walk them again for every
        // entry. Only a colour taken already has a search to go on with.
        search& from = *searches_.try_emplace(first, search{0, first}).first;
        for (; from.tries < 254 && !take(from.at); ++from.tries)
            from.at = rgb(red_of(from.at), green_of(from.at), blue_of(from.at) % 254 + 1);
        return from.at;
    }
    bool take(colour c) { return used_.try_emplace(c, {}).second; }

    struct nothing {};
    struct search {
        int tries = 0;
        colour at = 0;
    };
    colour_table<nothing> used_{0};
    colour_table<search> searches_{0};
    std::vector<colour> colours_;
};

}  // namespace

colour chart_entry_colour(std::size_t index) {
    constexpr double golden_angle = 137.50776405;
    const double hue = remainder_of(static_cast<double>(index) * golden_angle, 360.0);
    // Three shades in turn, so that hues which come round close together
    // later in a long chart still differ in depth.
    static constexpr double saturations[] = {0.80, 0.60, 0.95};
    static constexpr double values[] = {0.85, 0.70, 0.55};
    const double s = saturations[index % 3];
    const double v = values[(index / 3) % 3];

    const double c = v * s;
    const double x = c * (1 - std::fabs(remainder_of(hue / 60.0, 2.0) - 1));
    const double m = v - c;
    double r = 0, g = 0, b = 0;
    switch (static_cast<int>(hue / 60.0) % 6) {
        case 0:
            r = c, g = x;
            break;
        case 1:
            r = x, g = c;
            break;
        case 2:
            g = c, b = x;
            break;
        case 3:
            g = x, b = c;
            break;
        case 4:
            r = x, b = c;
            break;
        default:
            r = c, b = x;
            break;
    }
    r = (r + m) * 255, g = (g + m) * 255, b = (b + m) * 255;
    // Light hues (yellow, cyan, green) are darkened until they stand out on white.
    for (int step = 0; step < 64 && too_bright(r, g, b); ++step) r *= 0.95, g *= 0.95, b *= 0.95;
    auto byte = [](double channel) {
        return std::clamp(static_cast<int>(std::lround(channel)), 1, 254);
    };
    return rgb(byte(r), byte(g), byte(b));
}

std::span<const colour> distinct_entry_colours(std::size_t count) {
    thread_local colour_sequence sequence;
    return sequence.first(count);
}

}  // namespace kelvane
