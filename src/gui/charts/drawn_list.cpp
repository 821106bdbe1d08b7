#include "gui/charts/drawn_list.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include "platform/qt/qpainter_dc.h"

namespace kelvane {

namespace {

constexpr colour heading_background = rgb(236, 240, 248);
constexpr colour heading_line = rgb(170, 180, 200);
constexpr colour heading_text = rgb(30, 60, 150);

}  // namespace

drawn_list::drawn_list(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    scroll_ = new QScrollBar(Qt::Vertical, this);
    scroll_->hide();
    connect(scroll_, &QScrollBar::valueChanged, this, [this](int v) {
        top_row_ = v;
        update();
    });
}

void drawn_list::set_columns(std::vector<column> columns) {
    columns_ = std::move(columns);
    update();
}

void drawn_list::set_column_width(int index, int width) {
    if (index < 0 || index >= static_cast<int>(columns_.size())) return;
    columns_[static_cast<std::size_t>(index)].width = width;
    update();
}

void drawn_list::set_row_height(int h) {
    row_height_ = std::max(1, h);
    update_scroll();
    update();
}

void drawn_list::select_row(int row) {
    selected_ = (row >= 0 && row < row_count()) ? row : -1;
    if (selected_ >= 0) ensure_visible(selected_);
    update();
}

int drawn_list::row_at(QPoint p) const {
    if (p.y() < header_height()) return -1;
    const int row = top_row_ + (p.y() - header_height()) / row_height_;
    return row < row_count() ? row : -1;
}

int drawn_list::visible_rows() const {
    return std::max(1, (height() - header_height()) / row_height_);
}

void drawn_list::rows_changed() {
    if (selected_ >= row_count()) selected_ = row_count() - 1;
    update_scroll();
    update();
}

void drawn_list::update_scroll() {
    const int hidden = std::max(0, row_count() - visible_rows());
    scroll_->setRange(0, hidden);
    scroll_->setPageStep(visible_rows());
    scroll_->setVisible(hidden > 0);
    if (top_row_ > hidden) top_row_ = hidden;
    scroll_->setValue(top_row_);
}

void drawn_list::ensure_visible(int row) {
    if (row < top_row_)
        top_row_ = row;
    else if (row >= top_row_ + visible_rows())
        top_row_ = row - visible_rows() + 1;
    scroll_->setValue(top_row_);
}

void drawn_list::draw(dc& d) {
    const int w = width(), h = height();
    d.fill_rect({0, 0, w, h}, rgb(255, 255, 255));
    d.set_background_mode(background_mode::transparent);

    d.fill_rect({0, 0, w, header_height() - 1}, heading_background);
    d.fill_rect({0, header_height() - 1, w, header_height()}, heading_line);
    d.select_font(header_font_);
    d.set_text_colour(heading_text);
    int x = 0;
    for (const column& c : columns_) {
        d.draw_text(c.heading, {x + 3, 0, x + c.width - 3, header_height() - 1},
                    (c.right_aligned ? dt_right : dt_left) | dt_vcenter | dt_singleline);
        x += c.width;
        d.fill_rect({x - 1, 2, x, header_height() - 3}, heading_line);
    }

    int row_width = 0;
    for (const column& c : columns_) row_width += c.width;
    for (int row = top_row_, y = header_height(); row < row_count() && y < h;
         ++row, y += row_height_)
        draw_row(d, row, {0, y, row_width, y + row_height_}, row == selected_);
}

void drawn_list::paintEvent(QPaintEvent*) {
    QImage back(size(), QImage::Format_RGB32);
    {
        image_dc d(back);
        draw(d);
    }
    QPainter(this).drawImage(0, 0, back);
}

void drawn_list::mousePressEvent(QMouseEvent* e) {
    setFocus();
    if (e->button() != Qt::LeftButton) return;
    const int row = row_at(e->position().toPoint());
    if (row < 0) return;
    select_row(row);
    emit row_tapped(row);
}

void drawn_list::mouseDoubleClickEvent(QMouseEvent* e) {
    const int row = row_at(e->position().toPoint());
    if (row >= 0 && row == selected_) emit row_activated(row);
}

void drawn_list::keyPressEvent(QKeyEvent* e) {
    switch (e->key()) {
        case Qt::Key_Up:
            if (row_count()) select_row(std::max(0, selected_ - 1));
            return;
        case Qt::Key_Down:
            if (row_count()) select_row(std::min(row_count() - 1, selected_ + 1));
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (selected_ >= 0) emit row_activated(selected_);
            return;
    }
    // Left and Right (and the rest) belong to the page.
    e->ignore();
}

void drawn_list::wheelEvent(QWheelEvent* e) {
    scroll_->setValue(scroll_->value() - e->angleDelta().y() / 120);
}

void drawn_list::resizeEvent(QResizeEvent*) {
    scroll_->setGeometry(width() - 12, header_height(), 11,
                         std::max(0, height() - header_height()));
    update_scroll();
}

}  // namespace kelvane
