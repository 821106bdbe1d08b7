#include "gui/widgets/suggestion_dropdown.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>

#include "core/common/translate.h"
#include "gui/widgets/edit_box.h"
#include "gui/widgets/skin.h"
#include "platform/services.h"

namespace kelvane {

suggestion_dropdown::suggestion_dropdown(QWidget* parent) : scrolling_rows(parent) {
    set_row_height(default_row_height);
}

void suggestion_dropdown::add_row(row r) {
    rows_.push_back(std::move(r));
    rows_changed();
}

void suggestion_dropdown::add_row(std::u16string_view text, colour text_colour,
                                  std::u16string_view note, colour note_colour, int font_height,
                                  std::u16string_view font_face, bool indent, int icon) {
    add_row(row{std::u16string(text), text_colour, std::u16string(note), note_colour, font_height,
                std::u16string(font_face), indent, icon});
}

void suggestion_dropdown::clear_rows() {
    rows_.clear();
    rows_replaced();
}

void suggestion_dropdown::set_owner(edit_box* box) {
    owner_ = box;
    setFocusPolicy(box ? Qt::NoFocus : Qt::StrongFocus);
}

void suggestion_dropdown::set_icon(int i, int icon) {
    if (i < 0 || i >= row_count()) return;
    rows_[static_cast<std::size_t>(i)].icon = icon;
    update();
}

void suggestion_dropdown::place_under(const QWidget& box) {
    const QRect g = box.geometry();
    setGeometry(g.left(), g.top() + 19 + margin_, g.width(), 100 + margin_);
    raise();
    show();
}

QRect suggestion_dropdown::scroll_bar_place() const {
    // Inside the list's frame.
    return {width() - 12, 1, 11, height() - 2};
}

void suggestion_dropdown::toggle_check(int i) {
    if (i < 0 || i >= row_count()) return;
    auto& r = rows_[static_cast<std::size_t>(i)];
    r.icon = r.icon ? 0 : 1;
    // A group's leading row carries its members with it.
    if (!r.indent)
        for (std::size_t j = static_cast<std::size_t>(i) + 1; j < rows_.size() && rows_[j].indent;
             ++j)
            rows_[j].icon = r.icon;
    update();
}

void suggestion_dropdown::tap_row(int i) {
    if (i < 0 || i >= row_count()) return;
    select_row(i);
    if (check_mode_) toggle_check(i);
    if (owner_) {
        const auto& text = rows_[static_cast<std::size_t>(i)].text;
        if (!text.empty()) owner_->take_suggestion(text, i);
        if (!always_visible_) {
            hide();
            owner_->suggestions_hidden();
        }
    }
    emit row_tapped(i);
}

void suggestion_dropdown::draw(dc& d) {
    const int w = width() - (scroll_bar().isVisible() ? scroll_bar().width() : 0);
    d.fill_rect({0, 0, w, height()}, rgb(255, 255, 255));
    d.set_background_mode(background_mode::transparent);
    if (header_) {
        const int h = row_height();
        d.fill_rect({0, 0, w, h + 1}, rgb(236, 240, 248));
        d.fill_rect({0, h + 1, w, h + 2}, rgb(170, 180, 200));
        d.select_font({u"Arial", 12, 700});
        d.set_text_colour(rgb(30, 60, 150));
        const int text_right = columns_ ? text_width_ : w;
        d.draw_text(kelvane::tr(u"Text"), {4, 0, text_right - 2, h + 1},
                    dt_left | dt_vcenter | dt_singleline);
        if (columns_) {
            d.fill_rect({text_width_, 2, text_width_ + 1, h - 1}, rgb(170, 180, 200));
            d.draw_text(kelvane::tr(u"Note"),
                        {text_width_ + 3, 0, text_width_ + note_width_, h + 1},
                        dt_left | dt_vcenter | dt_singleline);
        }
    }
    if (columns_ && !check_mode_) {
        draw_columns(d, w);
    } else {
        draw_rows(d, w);
    }
    d.select_pen({pen_style::solid, 1, rgb(120, 130, 150)});
    d.select_null_brush();
    d.rectangle({0, 0, width(), height()});
}

template <class Draw>
void suggestion_dropdown::for_each_row_drawn(Draw draw) const {
    for_each_shown_row([&](int i, int y) {
        draw(rows_[static_cast<std::size_t>(i)], i == selected(), y, y + row_height());
    });
}

void suggestion_dropdown::draw_columns(dc& d, int w) {
    // A plain report list: full-row selection, the text and the note each in
    // its own column, cut at the column's edge.
    const auto sys = device().system_colours();
    for_each_row_drawn([&](const row& r, bool sel, int y, int bottom) {
        if (sel) d.fill_rect({0, y, w, bottom}, sys.highlight);
        d.select_font({r.font_face, r.font_height});
        d.set_text_colour(sel ? sys.highlight_text : r.text_colour);
        d.draw_text(r.text, {2, y, text_width_ - 2, bottom}, dt_left | dt_vcenter | dt_singleline);
        d.set_text_colour(sel ? sys.highlight_text : r.note_colour);
        d.draw_text(r.note, {text_width_ + 2, y, text_width_ + note_width_, bottom},
                    dt_left | dt_vcenter | dt_singleline);
    });
}

void suggestion_dropdown::draw_rows(dc& d, int w) {
    const auto sys = device().system_colours();
    for_each_row_drawn([&](const row& r, bool sel, int y, int bottom) {
        colour fg = r.text_colour;
        int x = 2 + (r.indent ? 10 : 0);
        if (check_mode_ && marks_) x += 13;
        d.select_font({r.font_face, r.font_height});
        // The note takes the last 50 pixels, and whatever a short text (a
        // currency's code) leaves before them, so a currency's name reads whole.
        const int note_left =
            std::max(0, std::min(w - note_width, x + d.text_extent(r.text).width + 6));
        if (sel) {
            d.fill_rect({0, y, note_left, bottom}, sys.highlight);
            fg = sys.highlight_text;
        }
        if (check_mode_ && marks_) x -= 13;
        if (check_mode_ && marks_) {
            marks_->draw_piece(d, x, y + (row_height() - skin_piece::check_size) / 2,
                               skin_piece::check_x + skin_piece::check_size * (r.icon ? 1 : 0),
                               skin_piece::check_y, skin_piece::check_size, skin_piece::check_size);
            x += 13;
        }
        d.set_text_colour(fg);
        const int text_right = columns_ ? text_width_ : r.note.empty() ? w : note_left;
        d.draw_text(r.text, {x, y, text_right, bottom}, dt_left | dt_vcenter | dt_singleline);
        if (!r.note.empty()) {
            d.fill_rect({note_left, y, w, bottom}, rgb(255, 255, 255));
            d.set_text_colour(r.note_colour);
            d.draw_text(r.note, {note_left, y, w, bottom},
                        dt_left | dt_vcenter | dt_singleline | dt_end_ellipsis);
        }
    });
}

void suggestion_dropdown::mousePressEvent(QMouseEvent* e) {
    const int i = row_at(e->position().toPoint());
    if (i >= 0) tap_row(i);
}

void suggestion_dropdown::keyPressEvent(QKeyEvent* e) {
    if (move_selection(*e)) return;
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        emit row_activated(selected());
        return;
    }
    QWidget::keyPressEvent(e);
}

}  // namespace kelvane
