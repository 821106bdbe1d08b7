#include "gui/accounts/account_list.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include "core/common/translate.h"
#include "platform/qt/qpainter_dc.h"

namespace kelvane {

namespace {

constexpr int icon_size = 32;
constexpr int text_left = 38;
constexpr colour row_line = rgb(100, 100, 255);
constexpr colour selected_background = rgb(200, 200, 0);
constexpr colour open_background = rgb(200, 200, 200);

}  // namespace

account_list::account_list(QWidget* parent)
    : QWidget(parent), icon_(QStringLiteral(":/kelvane/kelvane32.png")) {
    setFocusPolicy(Qt::StrongFocus);
    scroll_ = new QScrollBar(Qt::Vertical, this);
    scroll_->hide();
    connect(scroll_, &QScrollBar::valueChanged, this, [this](int v) {
        top_row_ = v;
        update();
    });
}

void account_list::set_rows(std::vector<account_summary_row> rows) {
    rows_ = std::move(rows);
    selected_ = -1;
    top_row_ = 0;
    update_scroll();
    update();
}

void account_list::set_open_account(std::u16string name) {
    open_account_ = std::move(name);
    update();
}

void account_list::select_row(int row) {
    selected_ = row >= 0 && row < row_count() ? row : -1;
    if (selected_ >= 0) ensure_visible(selected_);
    update();
}

std::u16string account_list::selected_name() const {
    return selected_ >= 0 ? rows_[static_cast<std::size_t>(selected_)].name : std::u16string();
}

int account_list::row_at(QPoint p) const {
    if (p.y() < header_height) return -1;
    const int row = top_row_ + (p.y() - header_height) / row_height;
    return row < row_count() ? row : -1;
}

QPoint account_list::row_centre(int row) const {
    return {width() / 2, header_height + (row - top_row_) * row_height + row_height / 2};
}

int account_list::visible_rows() const {
    return std::max(1, (height() - header_height) / row_height);
}

void account_list::update_scroll() {
    const int hidden = row_count() - visible_rows();
    scroll_->setVisible(hidden > 0);
    scroll_->setRange(0, std::max(0, hidden));
    scroll_->setPageStep(visible_rows());
    scroll_->setGeometry(width() - 14, header_height, 14, std::max(0, height() - header_height));
    if (top_row_ > std::max(0, hidden)) top_row_ = std::max(0, hidden);
    scroll_->setValue(top_row_);
}

void account_list::ensure_visible(int row) {
    if (row < top_row_)
        top_row_ = row;
    else if (row >= top_row_ + visible_rows())
        top_row_ = row - visible_rows() + 1;
    update_scroll();
}

void account_list::draw_row(dc& d, int row, const kelvane::rect& r) {
    const auto& entry = rows_[static_cast<std::size_t>(row)];
    const bool selected = row == selected_;
    const bool open = !open_account_.empty() && entry.name == open_account_;
    d.fill_rect(r, selected ? selected_background : open ? open_background : rgb(255, 255, 255));
    for (int i = 0; i < band_height; ++i) {
        const colour c = open ? rgb(200 - i, 200 - i, 230) : rgb(255 - i, 255 - i, 255);
        d.fill_rect({r.left, r.top + i, r.right, r.top + i + 1}, c);
    }
    d.fill_rect({r.left, r.bottom - 1, r.right, r.bottom}, row_line);

    if (auto* q = dynamic_cast<image_dc*>(&d); q && !icon_.isNull())
        q->painter().drawImage(QRect(r.left + 2, r.top + 2, icon_size, icon_size), icon_);

    d.set_background_mode(background_mode::transparent);
    d.set_text_colour(rgb(0, 0, 0));
    d.select_font({u"Arial", 22});
    d.draw_text(entry.name, {r.left + text_left, r.top, r.right - 2, r.top + 26},
                dt_left | dt_vcenter | dt_singleline);
    d.select_font({u"Arial", 13});
    d.draw_text(kelvane::tr(u"Total Mileage") + u": " + entry.mileage_text,
                {r.left + text_left, r.top + 26, r.right - 2, r.top + 40},
                dt_left | dt_vcenter | dt_singleline);
    d.draw_text(kelvane::tr(u"Total Cost") + u": " + entry.cost_text,
                {r.left + text_left, r.top + 40, r.right - 2, r.top + 54},
                dt_left | dt_vcenter | dt_singleline);
}

void account_list::draw(dc& d) {
    const int w = width() - (scroll_->isVisible() ? scroll_->width() : 0);
    d.fill_rect({0, 0, width(), height()}, rgb(255, 255, 255));
    d.fill_rect({0, 0, w, header_height}, rgb(230, 230, 230));
    d.fill_rect({0, header_height - 1, w, header_height}, rgb(160, 160, 160));
    d.set_background_mode(background_mode::transparent);
    d.set_text_colour(rgb(0, 0, 0));
    d.select_font({u"Arial", 12});
    d.draw_text(kelvane::tr(u"Account name/Account information"), {4, 0, w, header_height},
                dt_left | dt_vcenter | dt_singleline);
    for (int row = top_row_, y = header_height; row < row_count() && y < height();
         ++row, y += row_height)
        draw_row(d, row, {0, y, w, y + row_height});
}

void account_list::paintEvent(QPaintEvent*) {
    QImage back(size(), QImage::Format_RGB32);
    {
        image_dc d(back);
        draw(d);
    }
    QPainter(this).drawImage(0, 0, back);
}

void account_list::resizeEvent(QResizeEvent*) {
    update_scroll();
}

void account_list::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    setFocus();
    select_row(row_at(e->position().toPoint()));
    pressed_ = true;
}

void account_list::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton || !pressed_) return;
    pressed_ = false;
    emit tapped(selected_);
}

void account_list::mouseDoubleClickEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    // The second press of a double tap; its release is no tap of its own.
    pressed_ = false;
    if (row_at(e->position().toPoint()) >= 0) emit edit_requested();
}

void account_list::keyPressEvent(QKeyEvent* e) {
    switch (e->key()) {
        case Qt::Key_Up:
            if (row_count()) select_row(selected_ <= 0 ? 0 : selected_ - 1);
            return;
        case Qt::Key_Down:
            if (row_count()) select_row(std::min(row_count() - 1, selected_ + 1));
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            emit edit_requested();
            return;
    }
    // Left and Right belong to the page.
    QWidget::keyPressEvent(e);
}

void account_list::wheelEvent(QWheelEvent* e) {
    if (scroll_->isVisible()) scroll_->setValue(scroll_->value() - e->angleDelta().y() / 120);
}

}  // namespace kelvane
