#include "gui/widgets/suggestion_dropdown.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include "core/common/translate.h"
#include "gui/widgets/edit_box.h"
#include "gui/widgets/skin.h"
#include "platform/qt/qpainter_dc.h"
#include "platform/services.h"

namespace kelvane {

suggestion_dropdown::suggestion_dropdown(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    scroll_ = new QScrollBar(Qt::Vertical, this);
    scroll_->hide();
    connect(scroll_, &QScrollBar::valueChanged, this, [this](int v) {
        top_row_ = v;
        update();
    });
}

void suggestion_dropdown::add_row(row r) {
    rows_.push_back(std::move(r));
    update_scroll();
    update();
}

void suggestion_dropdown::add_row(std::u16string_view text, colour text_colour,
                                  std::u16string_view note, colour note_colour, int font_height,
                                  std::u16string_view font_face, bool indent, int icon) {
    add_row(row{std::u16string(text), text_colour, std::u16string(note), note_colour, font_height,
                std::u16string(font_face), indent, icon});
}

void suggestion_dropdown::clear_rows() {
    rows_.clear();
    selected_ = -1;
    top_row_ = 0;
    update_scroll();
    update();
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

void suggestion_dropdown::select_row(int i) {
    selected_ = (i >= 0 && i < row_count()) ? i : -1;
    if (selected_ >= 0) ensure_visible(selected_);
    update();
}

void suggestion_dropdown::set_row_height(int h) {
    row_height_ = std::max(1, h);
    update_scroll();
    update();
}

void suggestion_dropdown::place_under(const QWidget& box) {
    const QRect g = box.geometry();
    setGeometry(g.left(), g.top() + 19 + margin_, g.width(), 100 + margin_);
    raise();
    show();
}

int suggestion_dropdown::visible_rows() const {
    return std::max(1, (height() - header_height()) / row_height_);
}

int suggestion_dropdown::row_at_y(int y) const {
    if (y < header_height()) return -1;
    const int i = top_row_ + (y - header_height()) / row_height_;
    return i < row_count() ? i : -1;
}

void suggestion_dropdown::update_scroll() {
    const int hidden = row_count() - visible_rows();
    scroll_->setRange(0, std::max(0, hidden));
    scroll_->setPageStep(visible_rows());
    scroll_->setVisible(hidden > 0);
    if (top_row_ > std::max(0, hidden)) top_row_ = std::max(0, hidden);
}

void suggestion_dropdown::ensure_visible(int i) {
    if (i < top_row_)
        top_row_ = i;
    else if (i >= top_row_ + visible_rows())
        top_row_ = i - visible_rows() + 1;
    scroll_->setValue(top_row_);
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
    const int w = width() - (scroll_->isVisible() ? scroll_->width() : 0);
    d.fill_rect({0, 0, w, height()}, rgb(255, 255, 255));
    d.set_background_mode(background_mode::transparent);
    if (header_) {
        d.fill_rect({0, 0, w, row_height_ + 1}, rgb(236, 240, 248));
        d.fill_rect({0, row_height_ + 1, w, row_height_ + 2}, rgb(170, 180, 200));
        d.select_font({u"Arial", 12, 700});
        d.set_text_colour(rgb(30, 60, 150));
        const int text_right = columns_ ? text_width_ : w;
        d.draw_text(kelvane::tr(u"Text"), {4, 0, text_right - 2, row_height_ + 1},
                    dt_left | dt_vcenter | dt_singleline);
        if (columns_) {
            d.fill_rect({text_width_, 2, text_width_ + 1, row_height_ - 1}, rgb(170, 180, 200));
            d.draw_text(kelvane::tr(u"Note"),
                        {text_width_ + 3, 0, text_width_ + note_width_, row_height_ + 1},
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
void suggestion_dropdown::for_each_shown_row(Draw draw) const {
    for (int i = top_row_, y = header_height(); i < row_count() && y < height();
         ++i, y += row_height_)
        draw(rows_[static_cast<std::size_t>(i)], i == selected_, y, y + row_height_);
}

void suggestion_dropdown::draw_columns(dc& d, int w) {
    // A plain report list: full-row selection, the text and the note each in
    // its own column, cut at the column's edge.
    const auto sys = device().system_colours();
    for_each_shown_row([&](const row& r, bool sel, int y, int bottom) {
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
    for_each_shown_row([&](const row& r, bool sel, int y, int bottom) {
        colour fg = r.text_colour;
        if (sel) {
            d.fill_rect({0, y, std::max(0, w - note_width), bottom}, sys.highlight);
            fg = sys.highlight_text;
        }
        int x = 2 + (r.indent ? 10 : 0);
        if (check_mode_ && marks_) {
            marks_->draw_piece(d, x, y + (row_height_ - skin_piece::check_size) / 2,
                               skin_piece::check_x + skin_piece::check_size * (r.icon ? 1 : 0),
                               skin_piece::check_y, skin_piece::check_size, skin_piece::check_size);
            x += 13;
        }
        d.select_font({r.font_face, r.font_height});
        d.set_text_colour(fg);
        const int text_right = columns_ ? text_width_ : w - (r.note.empty() ? 0 : note_width);
        d.draw_text(r.text, {x, y, text_right, bottom}, dt_left | dt_vcenter | dt_singleline);
        if (!r.note.empty()) {
            d.fill_rect({w - note_width, y, w, bottom}, rgb(255, 255, 255));
            d.set_text_colour(r.note_colour);
            d.draw_text(r.note, {w - note_width, y, w, bottom},
                        dt_left | dt_vcenter | dt_singleline);
        }
    });
}

void suggestion_dropdown::paintEvent(QPaintEvent*) {
    QImage back(size(), QImage::Format_RGB32);
    {
        image_dc d(back);
        draw(d);
    }
    QPainter(this).drawImage(0, 0, back);
}

void suggestion_dropdown::mousePressEvent(QMouseEvent* e) {
    const int i = row_at_y(static_cast<int>(e->position().y()));
    if (i >= 0) tap_row(i);
}

void suggestion_dropdown::keyPressEvent(QKeyEvent* e) {
    switch (e->key()) {
        case Qt::Key_Up:
            if (row_count()) select_row(std::max(0, selected_ - 1));
            return;
        case Qt::Key_Down:
            if (row_count()) select_row(std::min(row_count() - 1, selected_ + 1));
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            emit row_activated(selected_);
            return;
    }
    QWidget::keyPressEvent(e);
}

void suggestion_dropdown::wheelEvent(QWheelEvent* e) {
    const int steps = e->angleDelta().y() / 120;
    scroll_->setValue(scroll_->value() - steps);
}

void suggestion_dropdown::resizeEvent(QResizeEvent*) {
    scroll_->setGeometry(width() - 12, 1, 11, height() - 2);
    update_scroll();
}

}  // namespace kelvane
