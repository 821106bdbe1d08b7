#include "gui/widgets/form_grid.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <algorithm>

#include "core/common/scaled_font.h"
#include "gui/widgets/skin_button.h"
#include "platform/qt/qpainter_dc.h"
#include "platform/screen_scale.h"
#include "platform/services.h"

namespace kelvane {

namespace {

// A field's height on a 240 x 320 screen; larger screens grow it with the text.
int field_height() {
    return scaled_length(22, device().screen_width(), device().screen_height());
}

QFont unit_font() {
    return device_font({u"Arial", scaled_font_size(10)});
}

// What a text broken between words needs at the least.
int widest_word(const QFontMetrics& metrics, const QString& text) {
    int widest = 0;
    for (const QString& word : text.split(u' ', Qt::SkipEmptyParts))
        widest = std::max(widest, metrics.horizontalAdvance(word));
    return widest;
}

}  // namespace

form_grid::form_grid(QWidget* owner) {
    scroll_ = new QScrollArea(owner);
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setWidgetResizable(true);
    scroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    form_ = new QWidget;
    form_->setAutoFillBackground(true);
    QPalette white = form_->palette();
    white.setColor(QPalette::Window, Qt::white);
    form_->setPalette(white);
    grid_ = new QGridLayout(form_);
    grid_->setContentsMargins(4, 4, 4, 4);
    grid_->setHorizontalSpacing(3);
    grid_->setVerticalSpacing(3);
    grid_->setColumnStretch(1, 1);
    scroll_->setWidget(form_);
    follow_screen_size();
    // The form follows the focus when the screen is too short for all of it.
    QObject::connect(qApp, &QApplication::focusChanged, scroll_, [this](QWidget*, QWidget* now) {
        if (now && form_->isAncestorOf(now)) scroll_->ensureWidgetVisible(now);
    });
}

QLabel* form_grid::add_row(const QString& label, QWidget* field, QWidget* unit, QWidget* tool) {
    auto* text = new QLabel(label, form_);
    labels_.push_back(text);
    grid_->addWidget(text, rows_, 0);
    const int span = unit ? 1 : tool ? 2 : 3;
    grid_->addWidget(field, rows_, 1, 1, span);
    if (unit) grid_->addWidget(unit, rows_, 2);
    if (tool) grid_->addWidget(tool, rows_, 3);
    field->setFixedHeight(field_height());
    fields_.push_back(field);
    ++rows_;
    return text;
}

void form_grid::add_wide_row(QWidget* widget) {
    grid_->addWidget(widget, rows_++, 0, 1, 4);
}

void form_grid::add_button_row(std::initializer_list<QWidget*> buttons) {
    // A layout rather than a widget of its own, so that the buttons keep
    // their place in the tab order.
    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, 4, 0, 0);
    row->setSpacing(4);
    for (QWidget* b : buttons) {
        b->setFixedHeight(field_height() + 2);
        row->addWidget(b, 1);
        buttons_.push_back(b);
    }
    grid_->addLayout(row, rows_++, 0, 1, 4);
}

void form_grid::finish() {
    grid_->setRowStretch(rows_, 1);
    // Sized now, so that a short screen scrolls the form from the start.
    grid_->activate();
}

QLabel* form_grid::unit_label(const QString& text, const QStringList& may_become) {
    auto* label = new QLabel(text, form_);
    units_.push_back({label, may_become});
    style_unit(units_.back());
    return label;
}

void form_grid::style_unit(const unit& u) {
    const QFont font = unit_font();
    u.label->setFont(font);
    const QFontMetrics metrics(font);
    int widest = 0;
    for (const QString& text : u.may_become)
        widest = std::max(widest, u.label->wordWrap() ? widest_word(metrics, text)
                                                      : metrics.horizontalAdvance(text));
    u.label->setMinimumWidth(widest);
}

skin_button* form_grid::tool_button(const skin& pieces, int piece_x, int piece_y, int piece_width,
                                    int piece_height) {
    auto* b = new skin_button(pieces, form_);
    b->set_style(skin_button::icon_centred, piece_x, piece_y, piece_width, piece_height);
    b->setFixedSize(piece_width + 2, piece_height + 1);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

void form_grid::fit(int width, int height) {
    follow_screen_size();
    scroll_->setGeometry(0, 0, width, height);
    fit_labels(width, height);
}

void form_grid::follow_screen_size() {
    // Text and rows grow with the screen, also when the screen changes size
    // while the form is open.
    form_->setFont(device_font({u"Arial", scaled_font_size(12)}));
    for (QWidget* field : fields_) field->setFixedHeight(field_height());
    for (QWidget* button : buttons_) button->setFixedHeight(field_height() + 2);
    for (const unit& u : units_) style_unit(u);
}

void form_grid::fit_labels(int width, int height) {
    // The labels give up room before the number boxes do: a narrow screen
    // writes them smaller so that a box still shows a whole mileage of seven
    // digits. Where even the smallest text leaves a box less than six digits
    // (longer translations), labels and units break between words rather
    // than anything being cut.
    wrap(false);
    int room = width - beside_labels(height, QStringLiteral("0000000.0"));
    // From the screen's own size down: the form may have been built for
    // another screen size than the one it is shown on now.
    const int smallest = scaled_font_size(9);
    QFont f = form_->font();
    int widest = 0;
    for (int size = scaled_font_size(12);; --size) {
        f.setPixelSize(size);
        const QFontMetrics metrics(f);
        widest = 0;
        for (QLabel* l : labels_) widest = std::max(widest, metrics.horizontalAdvance(l->text()));
        if (widest <= room || size <= smallest) break;
    }
    for (QLabel* l : labels_) l->setFont(f);
    if (widest <= width - beside_labels(height, QStringLiteral("000000.0"))) return;

    wrap(true);
    room = width - beside_labels(height, QStringLiteral("000000.0"));
    const QFontMetrics metrics(f);
    for (QLabel* l : labels_) room = std::max(room, widest_word(metrics, l->text()));
    for (QLabel* l : labels_) l->setMaximumWidth(room);
}

void form_grid::wrap(bool on) {
    for (QLabel* l : labels_) {
        l->setWordWrap(on);
        l->setMaximumWidth(QWIDGETSIZE_MAX);
    }
    for (const unit& u : units_) {
        u.label->setWordWrap(on);
        style_unit(u);
    }
}

int form_grid::beside_labels(int height, const QString& mileage) const {
    // Units and tool buttons count where they stand in their own columns; a
    // field or a row of buttons spanning those columns is no unit, and
    // counting it left the labels no room at all on a large screen.
    std::vector<int> row_need(static_cast<std::size_t>(grid_->rowCount()), 0);
    for (int i = 0; i < grid_->count(); ++i) {
        int row = 0, column = 0, row_span = 0, column_span = 0;
        grid_->getItemPosition(i, &row, &column, &row_span, &column_span);
        QLayoutItem* item = grid_->itemAt(i);
        if (column >= 2 && item->widget() && row >= 0 && row < grid_->rowCount())
            row_need[static_cast<std::size_t>(row)] += item->minimumSize().width();
    }
    int need = row_need.empty() ? 0 : *std::max_element(row_need.begin(), row_need.end());
    const QFont box_font = device_font({u"System", scaled_font_size(13)});
    need += QFontMetrics(box_font).horizontalAdvance(mileage) + 8;
    const QMargins m = grid_->contentsMargins();
    need += m.left() + m.right() + 3 * grid_->horizontalSpacing();
    if (form_->sizeHint().height() > height)
        need += scroll_->verticalScrollBar()->sizeHint().width();
    return need;
}

}  // namespace kelvane
