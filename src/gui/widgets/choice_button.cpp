#include "gui/widgets/choice_button.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "gui/widgets/choice_picker.h"
#include "platform/qt/qpainter_dc.h"
#include "platform/services.h"

namespace kelvane {

choice_button::choice_button(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
}

void choice_button::add_choice(std::u16string_view text, std::u16string_view note) {
    texts_.emplace_back(text);
    notes_.emplace_back(note);
    if (current_ < 0) current_ = 0;
    update();
}

void choice_button::clear_choices() {
    texts_.clear();
    notes_.clear();
    current_ = -1;
    update();
}

bool choice_button::choose(std::u16string_view text) {
    auto it = std::find(texts_.begin(), texts_.end(), text);
    if (it == texts_.end()) return false;
    set_current(static_cast<int>(it - texts_.begin()));
    return true;
}

void choice_button::set_current(int index) {
    if (index < 0 || index >= count()) return;
    const bool moved = index != current_;
    current_ = index;
    update();
    if (moved) emit changed();
}

std::u16string choice_button::current_text() const {
    return current_ >= 0 ? texts_[static_cast<std::size_t>(current_)] : std::u16string();
}

void choice_button::next() {
    if (count()) set_current(current_ + 1 >= count() ? 0 : current_ + 1);
}

void choice_button::previous() {
    if (count()) set_current(current_ <= 0 ? count() - 1 : current_ - 1);
}

void choice_button::open_picker() {
    if (!count()) return;
    choice_picker picker(texts_, notes_, current_);
    picker.text_column = text_column;
    picker.note_column = note_column;
    if (picker.exec() == choice_picker::confirmed && picker.picked()) choose(*picker.picked());
}

void choice_button::draw(dc& d) {
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

void choice_button::paintEvent(QPaintEvent*) {
    QImage back(size(), QImage::Format_RGB32);
    {
        image_dc d(back);
        draw(d);
    }
    QPainter(this).drawImage(0, 0, back);
}

void choice_button::keyPressEvent(QKeyEvent* e) {
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

void choice_button::mouseReleaseEvent(QMouseEvent* e) {
    if (rect().contains(e->position().toPoint())) open_picker();
}

}  // namespace kelvane
