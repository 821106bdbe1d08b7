#include "platform/recording_dc.h"

#include <algorithm>
#include <utility>

namespace kelvane {

recording_dc::recording_dc(int width, int height, pixel_depth depth)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      depth_(depth),
      pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_),
              rgb(255, 255, 255)) {}

std::vector<dc_call> recording_dc::calls_of(dc_op op) const {
    std::vector<dc_call> out;
    for (const auto& c : calls_)
        if (c.op == op) out.push_back(c);
    return out;
}

std::vector<std::u16string> recording_dc::texts() const {
    std::vector<std::u16string> out;
    for (const auto& c : calls_)
        if (c.op == dc_op::draw_text) out.push_back(c.text);
    return out;
}

colour recording_dc::shown(colour c) const {
    if (depth_ == pixel_depth::true_colour) return c & 0xFFFFFFu;
    // Keep the top bits of each channel and repeat them in the low bits, the
    // way a 16-bit display widens its colours when they are read back.
    const int r5 = red_of(c) >> 3, g6 = green_of(c) >> 2, b5 = blue_of(c) >> 3;
    return rgb((r5 << 3) | (r5 >> 2), (g6 << 2) | (g6 >> 4), (b5 << 3) | (b5 >> 2));
}

dc_call& recording_dc::record(dc_op op) {
    calls_.push_back({});
    calls_.back().op = op;
    calls_.back().state = state_;
    return calls_.back();
}

void recording_dc::put(int x, int y, colour c) {
    if (inside(x, y)) pixels_[static_cast<std::size_t>(y) * width_ + x] = shown(c);
}

colour recording_dc::at(int x, int y) const {
    return inside(x, y) ? pixels_[static_cast<std::size_t>(y) * width_ + x] : invalid_colour;
}

void recording_dc::fill_rect(const rect& r, colour c) {
    auto& call = record(dc_op::fill_rect);
    call.r = r;
    call.c = c;
    const int left = std::max(r.left, 0), right = std::min(r.right, width_);
    const int top = std::max(r.top, 0), bottom = std::min(r.bottom, height_);
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x) put(x, y, c);
}

pen_request recording_dc::select_pen(const pen_request& p) {
    const pen_request old = std::exchange(state_.pen, p);
    record(dc_op::select_pen).pen = p;
    return old;
}

colour recording_dc::select_brush(colour c) {
    const colour old = state_.brush;
    state_.brush = c;
    state_.null_brush = false;
    auto& call = record(dc_op::select_brush);
    call.c = c;
    return old;
}

void recording_dc::select_null_brush() {
    state_.null_brush = true;
    record(dc_op::select_null_brush);
}

void recording_dc::move_to(int x, int y) {
    state_.position = {x, y};
    auto& call = record(dc_op::move_to);
    call.points = {{x, y}};
}

void recording_dc::line_to(int x, int y) {
    // The recorded state keeps the starting point of the line.
    auto& call = record(dc_op::line_to);
    call.points = {{x, y}};
    state_.position = {x, y};
}

void recording_dc::polygon(const point* points, int count) {
    auto& call = record(dc_op::polygon);
    if (points && count > 0) call.points.assign(points, points + count);
}

void recording_dc::rectangle(const rect& r) {
    auto& call = record(dc_op::rectangle);
    call.r = r;
}

void recording_dc::round_rect(const rect& r, int, int) {
    auto& call = record(dc_op::round_rect);
    call.r = r;
}

void recording_dc::draw_text(std::u16string_view text, const rect& r, unsigned flags) {
    auto& call = record(dc_op::draw_text);
    call.text = std::u16string(text);
    call.r = r;
    call.flags = flags;
}

size recording_dc::text_extent(std::u16string_view text) {
    auto& call = record(dc_op::text_extent);
    call.text = std::u16string(text);
    return {static_cast<int>(text.size()) * 6, 12};
}

colour recording_dc::set_text_colour(colour c) {
    const colour old = std::exchange(state_.text, c);
    record(dc_op::set_text_colour).c = c;
    return old;
}

colour recording_dc::set_background_colour(colour c) {
    const colour old = std::exchange(state_.background, c);
    record(dc_op::set_background_colour).c = c;
    return old;
}

background_mode recording_dc::set_background_mode(background_mode m) {
    const background_mode old = std::exchange(state_.mode, m);
    record(dc_op::set_background_mode).mode = m;
    return old;
}

font_request recording_dc::select_font(const font_request& f) {
    const font_request old = std::exchange(state_.font, f);
    record(dc_op::select_font).font = f;
    return old;
}

colour recording_dc::get_pixel(int x, int y) {
    auto& call = record(dc_op::get_pixel);
    call.points = {{x, y}};
    return at(x, y);
}

void recording_dc::set_pixel(int x, int y, colour c) {
    auto& call = record(dc_op::set_pixel);
    call.points = {{x, y}};
    call.c = c;
    put(x, y, c);
}

void recording_dc::copy_block(int x, int y, int width, int height, dc& source, int source_x,
                              int source_y) {
    auto& call = record(dc_op::copy_block);
    call.r = {x, y, x + width, y + height};
    call.points = {{source_x, source_y}};
    if (width <= 0 || height <= 0) return;
    // Read the whole block first: the source may be this surface and overlap the target.
    std::vector<colour> block(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int j = 0; j < height; ++j)
        for (int i = 0; i < width; ++i)
            block[static_cast<std::size_t>(j) * width + i] =
                &source == this ? at(source_x + i, source_y + j)
                                : source.get_pixel(source_x + i, source_y + j);
    for (int j = 0; j < height; ++j)
        for (int i = 0; i < width; ++i) {
            const colour c = block[static_cast<std::size_t>(j) * width + i];
            if (c != invalid_colour) put(x + i, y + j, c);
        }
}

}  // namespace kelvane
