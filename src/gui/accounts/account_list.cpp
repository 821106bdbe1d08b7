#include "gui/accounts/account_list.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include "core/common/translate.h"
#include "platform/qt/qpainter_dc.h"
#include "platform/screen_scale.h"
#include "platform/services.h"

namespace kelvane {

namespace {

constexpr int icon_size = 32;
constexpr int text_left = 38;
constexpr colour row_line = rgb(100, 100, 255);
constexpr colour selected_background = rgb(200, 200, 0);
constexpr colour open_background = rgb(200, 200, 200);
constexpr colour service_due_text = rgb(200, 60, 0);
constexpr int row_height_240 = 56;

}  // namespace

account_list::account_list(QWidget* parent)
    : scrolling_rows(parent), icon_(QStringLiteral(":/kelvane/kelvane32.png")) {
    set_row_height(grown(row_height_240));
}

int account_list::grown(int length) {
    return scaled_length(length, device().screen_width(), device().screen_height());
}

void account_list::resizeEvent(QResizeEvent* e) {
    // The rows grow with the screen as their text does.
    set_row_height(grown(row_height_240));
    scrolling_rows::resizeEvent(e);
}

void account_list::set_rows(std::vector<account_summary_row> rows) {
    rows_ = std::move(rows);
    rows_replaced();
}

void account_list::set_open_account(std::u16string name) {
    open_account_ = std::move(name);
    update();
}

std::u16string account_list::selected_name() const {
    return selected() >= 0 ? rows_[static_cast<std::size_t>(selected())].name : std::u16string();
}

QPoint account_list::row_centre(int row) const {
    return {width() / 2, rows_top() + (row - top_row()) * row_height() + row_height() / 2};
}

QRect account_list::scroll_bar_place() const {
    return {width() - 14, rows_top(), 14, std::max(0, height() - rows_top())};
}

void account_list::draw_row(dc& d, int row, const kelvane::rect& r) {
    const auto& entry = rows_[static_cast<std::size_t>(row)];
    const bool selected = row == this->selected();
    const bool open = !open_account_.empty() && entry.name == open_account_;
    d.fill_rect(r, selected ? selected_background : open ? open_background : rgb(255, 255, 255));
    const int band = grown(band_height);
    for (int i = 0; i < band; ++i) {
        // The band's shading keeps its steps whatever its height.
        const int step = i * band_height / band;
        const colour c = open ? rgb(200 - step, 200 - step, 230) : rgb(255 - step, 255 - step, 255);
        d.fill_rect({r.left, r.top + i, r.right, r.top + i + 1}, c);
    }
    d.fill_rect({r.left, r.bottom - 1, r.right, r.bottom}, row_line);

    if (auto* q = dynamic_cast<image_dc*>(&d); q && !icon_.isNull())
        q->painter().drawImage(QRect(r.left + 2, r.top + 2, grown(icon_size), grown(icon_size)),
                               icon_);

    d.set_background_mode(background_mode::transparent);
    d.set_text_colour(rgb(0, 0, 0));
    const int left = r.left + grown(text_left);
    d.select_font({u"Arial", grown(22)});
    d.draw_text(entry.name, {left, r.top, r.right - 2, r.top + grown(26)},
                dt_left | dt_vcenter | dt_singleline | dt_end_ellipsis);
    d.select_font({u"Arial", grown(13)});
    d.draw_text(kelvane::tr(u"Total Mileage") + u": " + entry.mileage_text,
                {left, r.top + grown(26), r.right - 2, r.top + grown(40)},
                dt_left | dt_vcenter | dt_singleline);
    const std::u16string cost = kelvane::tr(u"Total Cost") + u": " + entry.cost_text;
    const kelvane::rect cost_line{left, r.top + grown(40), r.right - 2, r.top + grown(54)};
    d.draw_text(cost, cost_line, dt_left | dt_vcenter | dt_singleline);
    if (entry.service_due) {
        // After the cost (the shorter line), in the colour of a warning.
        const int after = cost_line.left + d.text_extent(cost + u"  ").width;
        d.set_text_colour(service_due_text);
        d.draw_text(kelvane::tr(u"Service due"),
                    {after, cost_line.top, cost_line.right, cost_line.bottom},
                    dt_left | dt_vcenter | dt_singleline | dt_end_ellipsis);
        d.set_text_colour(rgb(0, 0, 0));
    }
}

void account_list::draw(dc& d) {
    const int w = width() - (scroll_bar().isVisible() ? scroll_bar().width() : 0);
    d.fill_rect({0, 0, width(), height()}, rgb(255, 255, 255));
    const int header = rows_top();
    d.fill_rect({0, 0, w, header}, rgb(230, 230, 230));
    d.fill_rect({0, header - 1, w, header}, rgb(160, 160, 160));
    d.set_background_mode(background_mode::transparent);
    d.set_text_colour(rgb(0, 0, 0));
    d.select_font({u"Arial", grown(12)});
    d.draw_text(kelvane::tr(u"Account name/Account information"), {4, 0, w, header},
                dt_left | dt_vcenter | dt_singleline);
    for_each_shown_row([&](int row, int y) { draw_row(d, row, {0, y, w, y + row_height()}); });
    if (row_count() == 0) {
        // The first thing a new owner does is here: say how.
        d.set_text_colour(rgb(100, 100, 100));
        d.draw_text(kelvane::tr(u"No vehicle yet: tap the button below to add your first one."),
                    {8, header_height + 8, w - 8, height() - 8}, dt_center | dt_wordbreak);
    }
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
    emit tapped(selected());
}

void account_list::mouseDoubleClickEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    // The second press of a double tap; its release is no tap of its own.
    pressed_ = false;
    if (row_at(e->position().toPoint()) >= 0) emit edit_requested();
}

void account_list::keyPressEvent(QKeyEvent* e) {
    if (move_selection(*e)) return;
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        emit edit_requested();
        return;
    }
    // Left and Right belong to the page.
    QWidget::keyPressEvent(e);
}

}  // namespace kelvane
