#include "gui/widgets/scrolling_rows.h"

#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>

#include "platform/qt/qpainter_dc.h"

namespace kelvane {

scrolling_rows::scrolling_rows(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    scroll_ = new QScrollBar(Qt::Vertical, this);
    scroll_->hide();
    // The toolkit's own scrolling menu would speak English on any device.
    scroll_->setContextMenuPolicy(Qt::NoContextMenu);
    connect(scroll_, &QScrollBar::valueChanged, this, [this](int v) {
        top_row_ = v;
        update();
    });
}

void scrolling_rows::set_row_height(int h) {
    row_height_ = std::max(1, h);
    update_scroll();
    update();
}

void scrolling_rows::select_row(int row) {
    selected_ = row >= 0 && row < row_count() ? row : -1;
    if (selected_ >= 0) ensure_visible(selected_);
    update();
}

int scrolling_rows::row_at(QPoint p) const {
    if (p.y() < rows_top()) return -1;
    const int row = top_row_ + (p.y() - rows_top()) / row_height_;
    return row < row_count() ? row : -1;
}

QRect scrolling_rows::scroll_bar_place() const {
    return {width() - 12, rows_top(), 11, std::max(0, height() - rows_top())};
}

int scrolling_rows::visible_rows() const {
    return std::max(1, (height() - rows_top()) / row_height_);
}

void scrolling_rows::rows_changed() {
    if (selected_ >= row_count()) selected_ = row_count() - 1;
    update_scroll();
    update();
}

void scrolling_rows::rows_replaced() {
    selected_ = -1;
    top_row_ = 0;
    update_scroll();
    update();
}

bool scrolling_rows::move_selection(const QKeyEvent& e) {
    switch (e.key()) {
        case Qt::Key_Up:
            if (row_count()) select_row(std::max(0, selected_ - 1));
            return true;
        case Qt::Key_Down:
            if (row_count()) select_row(std::min(row_count() - 1, selected_ + 1));
            return true;
    }
    return false;
}

void scrolling_rows::update_scroll() {
    const int hidden = std::max(0, row_count() - visible_rows());
    scroll_->setGeometry(scroll_bar_place());
    scroll_->setRange(0, hidden);
    scroll_->setPageStep(visible_rows());
    scroll_->setVisible(hidden > 0);
    if (top_row_ > hidden) top_row_ = hidden;
    scroll_->setValue(top_row_);
}

void scrolling_rows::ensure_visible(int row) {
    if (row < top_row_)
        top_row_ = row;
    else if (row >= top_row_ + visible_rows())
        top_row_ = row - visible_rows() + 1;
    scroll_->setValue(top_row_);
}

void scrolling_rows::paintEvent(QPaintEvent*) {
    QImage back(size(), QImage::Format_RGB32);
    {
        image_dc d(back);
        draw(d);
    }
    QPainter(this).drawImage(0, 0, back);
}

void scrolling_rows::wheelEvent(QWheelEvent* e) {
    scroll_->setValue(scroll_->value() - e->angleDelta().y() / 120);
}

void scrolling_rows::resizeEvent(QResizeEvent*) {
    update_scroll();
}

}  // namespace kelvane
