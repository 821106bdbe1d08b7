#include "widgets/ListEx.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "platform/qt/qpainter_dc.h"
#include "platform/services.h"
#include "widgets/dlg_textlist.h"

namespace kelvane {

ListEx::ListEx(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
}

void ListEx::add_choice(std::u16string_view text, std::u16string_view note) {
    texts_.emplace_back(text);
    notes_.emplace_back(note);
    if (current_ < 0) current_ = 0;
    update();
}

void ListEx::clear_choices() {
    texts_.clear();
    notes_.clear();
    current_ = -1;
    update();
}

bool ListEx::choose(std::u16string_view text) {
    auto it = std::find(texts_.begin(), texts_.end(), text);
    if (it == texts_.end()) return false;
    set_current(static_cast<int>(it - texts_.begin()));
    return true;
}

void ListEx::set_current(int index) {
    if (index < 0 || index >= count()) return;
    const bool moved = index != current_;
    current_ = index;
    update();
    if (moved) emit changed();
}

std::u16string ListEx::current_text() const {
    return current_ >= 0 ? texts_[static_cast<std::size_t>(current_)] : std::u16string();
}

void ListEx::next() {
    if (count()) set_current(current_ + 1 >= count() ? 0 : current_ + 1);
}

void ListEx::previous() {
    if (count()) set_current(current_ <= 0 ? count() - 1 : current_ - 1);
}

void ListEx::open_picker() {
    if (!count()) return;
    dlg_textlist picker(texts_, notes_, current_);
    picker.text_column = text_column;
    picker.note_column = note_column;
    if (picker.exec() == dlg_textlist::confirmed && picker.picked()) choose(*picker.picked());
}

void ListEx::draw(dc& d) {
    const int w = width(), h = height();
    d.fill_rect({0, 0, w, h}, rgb(255, 255, 255));
    if (hasFocus()) {
        d.select_pen({pen_style::solid, 1, rgb(0, 0, 0)});
        d.select_null_brush();
        d.rectangle({0, 0, w, h});
    }
    const int longer = std::max(device().screen_width(), device().screen_height());
    d.select_font({u"System", longer * 12 / 220});
    d.set_background_mode(background_mode::transparent);
    d.set_text_colour(rgb(0, 0, 0));
    d.draw_text(current_text(), {3, 0, w - 3, h}, dt_left | dt_vcenter | dt_singleline);
}

void ListEx::paintEvent(QPaintEvent*) {
    QImage back(size(), QImage::Format_RGB32);
    {
        image_dc d(back);
        draw(d);
    }
    QPainter(this).drawImage(0, 0, back);
}

void ListEx::keyPressEvent(QKeyEvent* e) {
    switch (e->key()) {
        case Qt::Key_Left:
            previous();
            return;
        case Qt::Key_Right:
            next();
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            open_picker();
            return;
    }
    QWidget::keyPressEvent(e);
}

void ListEx::mouseReleaseEvent(QMouseEvent* e) {
    if (rect().contains(e->position().toPoint())) open_picker();
}

}  // namespace kelvane
