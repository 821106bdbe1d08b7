#include "gui/records/record_list.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <optional>

#include "core/common/date_text.h"
#include "core/common/scaled_font.h"
#include "core/common/text.h"
#include "core/common/translate.h"
#include "gui/records/list_header.h"
#include "gui/widgets/menu_items.h"
#include "gui/widgets/tap_and_hold.h"
#include "platform/qt/modal_service.h"
#include "platform/qt/qpainter_dc.h"
#include "platform/services.h"

namespace kelvane {

namespace {

font_request list_font() {
    return {u"System", scaled_font_size(12)};
}

// The size below which a figure is not shrunk any further to fit its column.
constexpr int smallest_figure_font = 6;

}  // namespace

record_list_base::record_list_base(std::u16string_view first_entry_key, QWidget* parent)
    : QAbstractScrollArea(parent), first_entry_key_(first_entry_key) {
    setFocusPolicy(Qt::StrongFocus);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    header_ = new list_header(this);
    header_->set_items(std::vector<list_header::item>(column_count));
    setViewportMargins(0, header_height(), 0, 0);
    // The stylus held on a row (or the right button) selects it and opens
    // the menu there; the menu key opens it at the selected row.
    on_tap_and_hold(viewport(), [this](QPoint p) { hold_at(p); });
    on_tap_and_hold(this, [this](QPoint) {
        const int shown = selected_ - top_row();
        open_menu(selected_ >= 0 && shown >= 0 && shown < rows_per_page()
                      ? QPoint(10, shown * row_height() + row_height() / 2)
                      : QPoint(10, 10));
    });
}

record_list_base::~record_list_base() = default;

int record_list_base::row_height() const {
    return std::max(16, scaled_font_size(12) + 6);
}

int record_list_base::widest_date() const {
    // Any date, its digits all made the font's widest one.
    const QFontMetrics metrics(device_font(list_font()));
    QString sample =
        QString::fromStdU16String(short_date_text(device().language_id(), 2000, 10, 28));
    QChar widest = u'0';
    for (QChar digit : QStringLiteral("0123456789"))
        if (metrics.horizontalAdvance(digit) > metrics.horizontalAdvance(widest)) widest = digit;
    for (QChar& c : sample)
        if (c.isDigit()) c = widest;
    return metrics.horizontalAdvance(sample);
}

int record_list_base::header_height() const {
    return std::max(18, scaled_font_size(12) + 8);
}

int record_list_base::total_width() const {
    int w = 0;
    for (int c : widths_) w += c;
    return w;
}

void record_list_base::set_column(int column, std::u16string_view title_key, int width) {
    if (column < 0 || column >= column_count) return;
    widths_[static_cast<std::size_t>(column)] = width;
    header_->set_width(column, width);
    set_column_title(column, title_key);
    update_scroll_ranges();
}

void record_list_base::set_column_title(int column, std::u16string_view title_key) {
    if (column < 0 || column >= column_count) return;
    title_keys_[static_cast<std::size_t>(column)] = title_key;
    header_->set_title(column, kelvane::tr(title_key));
}

void record_list_base::set_column_width(int column, int width) {
    if (column < 0 || column >= column_count) return;
    widths_[static_cast<std::size_t>(column)] = width;
    header_->set_width(column, width);
    update_scroll_ranges();
    viewport()->update();
}

void record_list_base::set_stretch_column(int column, int minimum) {
    stretch_column_ = column >= 0 && column < column_count ? column : -1;
    stretch_minimum_ = minimum;
    fit_stretch_column();
}

void record_list_base::fit_stretch_column() {
    if (stretch_column_ < 0) return;
    int others = 0;
    for (int c = 0; c < column_count; ++c)
        if (c != stretch_column_) others += widths_[static_cast<std::size_t>(c)];
    const int width = std::max(stretch_minimum_, viewport()->width() - others);
    if (width == widths_[static_cast<std::size_t>(stretch_column_)]) return;
    widths_[static_cast<std::size_t>(stretch_column_)] = width;
    header_->set_width(stretch_column_, width);
    update_scroll_ranges();
    viewport()->update();
}

bool record_list_base::viewportEvent(QEvent* e) {
    // The scroll bar coming or going changes the width the columns share.
    if (e->type() == QEvent::Resize) fit_stretch_column();
    return QAbstractScrollArea::viewportEvent(e);
}

int record_list_base::column_width(int column) const {
    return column >= 0 && column < column_count ? widths_[static_cast<std::size_t>(column)] : 0;
}

void record_list_base::set_row_count(int rows) {
    rows_ = std::max(0, rows);
    // The store changed under the rows: texts are fetched afresh.
    cached_row_ = -1;
    if (selected_ >= rows_) selected_ = rows_ - 1;
    update_scroll_ranges();
    viewport()->update();
}

void record_list_base::select_row(int row) {
    selected_ = row >= 0 && row < rows_ ? row : -1;
    if (selected_ >= 0) {
        const int top = top_row();
        if (selected_ < top)
            verticalScrollBar()->setValue(selected_);
        else if (selected_ >= top + rows_per_page())
            verticalScrollBar()->setValue(selected_ - rows_per_page() + 1);
    }
    viewport()->update();
}

void record_list_base::reset() {
    cached_row_ = -1;
    rows_ = 0;
    styles_.clear();
    selected_ = -1;
    update_scroll_ranges();
    viewport()->update();
}

int record_list_base::top_row() const {
    return verticalScrollBar()->value();
}

int record_list_base::rows_per_page() const {
    return std::max(1, viewport()->height() / row_height());
}

int record_list_base::row_at(QPoint p) const {
    if (p.y() < 0) return -1;
    const int row = top_row() + p.y() / row_height();
    return row < rows_ ? row : -1;
}

void record_list_base::update_scroll_ranges() {
    QScrollBar* v = verticalScrollBar();
    v->setRange(0, std::max(0, rows_ - rows_per_page()));
    v->setPageStep(rows_per_page());
    v->setSingleStep(1);
    QScrollBar* h = horizontalScrollBar();
    h->setRange(0, std::max(0, total_width() - viewport()->width()));
    h->setPageStep(viewport()->width());
    h->setSingleStep(10);
}

const std::u16string& record_list_base::cell_text(int row, int column) {
    static const std::u16string none;
    if (row < 0 || row >= rows_ || column < 0 || column >= column_count) return none;
    if (column == 0 || row != cached_row_) {
        cached_ = fetch_row(rows_ - 1 - row);
        cached_row_ = row;
    }
    return cached_[static_cast<std::size_t>(column)];
}

void record_list_base::draw_rows(dc& d) {
    d.fill_rect({0, 0, d.width(), d.height()}, rgb(255, 255, 255));
    d.set_background_mode(background_mode::transparent);
    d.select_font(list_font());
    const int h = row_height();
    for (int row = top_row(), y = 0; row < rows_ && y < d.height(); ++row, y += h)
        draw_row(d, row, y);
    if (rows_ == 0 && !empty_hint_.empty()) {
        d.set_text_colour(rgb(100, 100, 100));
        const int margin = h / 2;
        d.draw_text(kelvane::tr(empty_hint_), {margin, h, d.width() - margin, d.height() - h},
                    dt_center | dt_wordbreak);
    }
}

void record_list_base::set_empty_hint(std::u16string_view key) {
    if (empty_hint_ == key) return;
    empty_hint_ = key;
    viewport()->update();
}

void record_list_base::set_row_styles(std::vector<std::optional<row_style>> styles) {
    styles_ = std::move(styles);
    viewport()->update();
}

const row_style* record_list_base::style_of(int row) const {
    if (row < 0 || row >= static_cast<int>(styles_.size())) return nullptr;
    const auto& s = styles_[static_cast<std::size_t>(row)];
    return s ? &*s : nullptr;
}

void record_list_base::draw_row(dc& d, int row, int y) {
    static const row_style plain;
    const row_style* found = style_of(row);
    const row_style& style = found ? *found : plain;
    colour text = style.text, background = style.background;
    if (row == selected_) {
        const auto sys = device().system_colours();
        text = sys.highlight_text;
        background = sys.highlight;
    }
    d.set_text_colour(text);
    std::optional<font_request> former;
    font_request font = list_font();
    if (style.font_height >= 1) {
        font = {style.font_face, style.font_height};
        former = d.select_font(font);
    }
    int left = -horizontalScrollBar()->value();
    for (int c = 0; c < column_count; ++c) {
        const std::u16string& cell = cell_text(row, c);
        kelvane::rect r{left, y, left + widths_[static_cast<std::size_t>(c)], y + row_height()};
        left = r.right;
        d.fill_rect(r, background);
        if (c == 0 && style.indent != 0) {
            // Tree lines: down the cell (to its middle on the last row), then
            // across to the text.
            const int x = r.left + 5, middle = (r.top + r.bottom) / 2;
            d.move_to(x, r.top);
            d.line_to(x, row == rows_ - 1 ? middle : r.bottom);
            d.move_to(x, middle);
            d.line_to(r.left + 9, middle);
            r.left += style.indent;
        }
        // The mileage reads from the left (its text starts with a blank); the
        // other columns are centred. A description or category too long for
        // its column ends in "..." rather than losing both its ends; a figure
        // too wide (an eight-digit mileage, a large cost) is written smaller,
        // never with a digit missing.
        const unsigned align = c == 0 ? dt_left : dt_center;
        if (!reads_as_figure(cell)) {
            d.draw_text(cell, r, align | dt_end_ellipsis | dt_vcenter | dt_singleline);
            continue;
        }
        std::u16string_view figure = cell;
        if (d.text_extent(figure).width > r.width() && figure.starts_with(u' '))
            figure.remove_prefix(1);  // the leading blank goes first
        font_request fitted = font;
        while (fitted.pixel_height > smallest_figure_font &&
               d.text_extent(figure).width > r.width()) {
            --fitted.pixel_height;
            d.select_font(fitted);
        }
        d.draw_text(figure, r, align | dt_vcenter | dt_singleline);
        if (fitted.pixel_height != font.pixel_height) d.select_font(font);
    }
    if (former) d.select_font(*former);
}

void record_list_base::paintEvent(QPaintEvent*) {
    QImage back(viewport()->size(), QImage::Format_RGB32);
    {
        image_dc d(back);
        draw_rows(d);
    }
    QPainter(viewport()).drawImage(0, 0, back);
}

void record_list_base::hold_at(QPoint p) {
    // The press that starts a hold is a tap as well: it selects what it is on.
    select_row(row_at(p));
    open_menu(p);
}

void record_list_base::open_menu(QPoint p) {
    std::vector<soft_menu_item> items{menu_command(first_entry_key_, cmd_first)};
    if (selected_ >= 0) {
        items.push_back(menu_command(u"Edit", cmd_edit));
        items.push_back(menu_command(u"Delete", cmd_delete));
    }
    const int chosen = popup_menu(viewport(), p, items);
    if (chosen != 0) emit command(chosen);
}

void record_list_base::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    select_row(row_at(e->position().toPoint()));
    setFocus();
}

void record_list_base::mouseDoubleClickEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    const int row = row_at(e->position().toPoint());
    if (row < 0) return;
    select_row(row);
    emit edit_requested();
}

void record_list_base::keyPressEvent(QKeyEvent* e) {
    const int last = rows_ - 1;
    switch (e->key()) {
        case Qt::Key_Up:
            if (rows_) select_row(selected_ < 0 ? 0 : std::max(0, selected_ - 1));
            return;
        case Qt::Key_Down:
            if (rows_) select_row(std::min(last, selected_ + 1));
            return;
        case Qt::Key_PageUp:
            if (rows_) select_row(std::max(0, selected_ - rows_per_page()));
            return;
        case Qt::Key_PageDown:
            if (rows_) select_row(std::min(last, std::max(0, selected_) + rows_per_page()));
            return;
        case Qt::Key_Home:
            if (rows_) select_row(0);
            return;
        case Qt::Key_End:
            if (rows_) select_row(last);
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            emit edit_requested();
            return;
        case Qt::Key_Delete:
            emit delete_requested();
            return;
    }
    // Left and Right move between the main screen's pages; the main screen
    // (and the page) have the other keys.
    e->ignore();
}

void record_list_base::resizeEvent(QResizeEvent* e) {
    QAbstractScrollArea::resizeEvent(e);
    // The header's text grows with the screen; the rows start below all of it.
    if (viewportMargins().top() != header_height()) setViewportMargins(0, header_height(), 0, 0);
    const QRect vp = viewport()->geometry();
    header_->setGeometry(vp.left(), vp.top() - header_height(), vp.width(), header_height());
    update_scroll_ranges();
}

void record_list_base::scrollContentsBy(int, int) {
    // Owner-drawn cells follow a sideways scroll only when drawn again.
    header_->set_offset(horizontalScrollBar()->value());
    viewport()->update();
}

}  // namespace kelvane
