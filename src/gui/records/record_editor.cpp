#include "gui/records/record_editor.h"

#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QScrollArea>
#include <QScrollBar>
#include <algorithm>

#include "core/common/scaled_font.h"
#include "gui/shell/program.h"
#include "gui/tools/calculator_dialog.h"
#include "gui/widgets/date_picker.h"
#include "gui/widgets/edit_box.h"
#include "gui/widgets/menu_items.h"
#include "gui/widgets/owner_messages.h"
#include "gui/widgets/skin.h"
#include "gui/widgets/skin_button.h"
#include "gui/widgets/translated.h"
#include "platform/qt/qpainter_dc.h"
#include "platform/screen_scale.h"

namespace kelvane {

namespace {

// A row's height on a 240 x 320 screen; larger screens grow it with the text.
int field_height() {
    return scaled_length(22, device().screen_width(), device().screen_height());
}

}  // namespace

record_editor::record_editor(program& prog, std::u16string key, bool red_delete, QWidget* parent)
    : device_dialog(parent),
      prog_(prog),
      adding_(key.empty()),
      red_delete_(red_delete),
      key_(std::move(key)) {
    set_caption(u"Kelvane");
    scroll_ = new QScrollArea(this);
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setWidgetResizable(true);
    scroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    form_ = new QWidget;
    form_->setAutoFillBackground(true);
    QPalette white = form_->palette();
    white.setColor(QPalette::Window, Qt::white);
    form_->setPalette(white);
    form_->setFont(device_font({u"Arial", scaled_font_size(12)}));
    grid_ = new QGridLayout(form_);
    grid_->setContentsMargins(4, 4, 4, 4);
    grid_->setHorizontalSpacing(3);
    grid_->setVerticalSpacing(3);
    grid_->setColumnStretch(1, 1);
    scroll_->setWidget(form_);
    // The form follows the focus when the screen is too short for all of it.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now && form_->isAncestorOf(now)) scroll_->ensureWidgetVisible(now);
    });
}

void record_editor::init_dialog() {
    if (adding_)
        set_menu({menu_command(u"Add", cmd_save), menu_command(u"Cancel", cmd_cancel)});
    else
        set_menu({menu_command(u"Save", cmd_save),
                  menu_popup(u"Tools", {menu_command(u"Cancel", cmd_cancel),
                                        menu_command(u"Delete", cmd_delete)})});
    set_cancel_command(cmd_cancel);

    build_rows();

    auto* buttons = new QWidget(form_);
    auto* row = new QHBoxLayout(buttons);
    row->setContentsMargins(0, 4, 0, 0);
    row->setSpacing(4);
    auto make = [&](std::u16string_view text, int command) {
        auto* b = new skin_button(prog_.skin, buttons);
        b->setText(translated(text));
        b->setFixedHeight(field_height() + 2);
        connect(b, &QAbstractButton::clicked, this, [this, command] { on_command(command); });
        row->addWidget(b);
        return b;
    };
    save_ = make(adding_ ? u"Add" : u"Save", cmd_save);
    cancel_ = make(u"Cancel", cmd_cancel);
    delete_ = make(u"Delete", cmd_delete);
    delete_->setVisible(!adding_);
    if (red_delete_) paint_delete_red();
    add_wide_row(buttons);
    grid_->setRowStretch(rows_, 1);
    // Sized now, so that a short screen scrolls the form from the start.
    grid_->activate();

    on_size(client_rect().width(), client_rect().height());
    start_timer(focus_timer, 100);
}

void record_editor::on_timer(int id) {
    if (id != focus_timer) return;
    stop_timer(focus_timer);
    place_focus();
    set_caption(u"Kelvane");
}

void record_editor::place_focus() {
    mileage_->setFocus();
    mileage_->select_initial();
}

void record_editor::on_size(int width, int height) {
    scroll_->setGeometry(0, 0, width, height);
    fit_labels(width, height);
}

void record_editor::fit_labels(int width, int height) {
    // The labels give up room before the number boxes do: a narrow screen
    // writes them smaller so that a box still shows a whole mileage.
    const QFont form_font = form_->font();
    // Units and tool buttons count where they stand in their own columns; a
    // field or a row of buttons spanning those columns is no unit, and
    // counting it left the labels no room at all on a large screen.
    std::vector<int> row_need(static_cast<std::size_t>(grid_->rowCount()), 0);
    for (int i = 0; i < grid_->count(); ++i) {
        int row = 0, column = 0, row_span = 0, column_span = 0;
        grid_->getItemPosition(i, &row, &column, &row_span, &column_span);
        QWidget* w = grid_->itemAt(i)->widget();
        if (column >= 2 && w && row >= 0 && row < grid_->rowCount())
            row_need[static_cast<std::size_t>(row)] += w->minimumSizeHint().width();
    }
    int others = row_need.empty() ? 0 : *std::max_element(row_need.begin(), row_need.end());
    const QFont box_font = device_font({u"System", scaled_font_size(13)});
    others += QFontMetrics(box_font).horizontalAdvance(QStringLiteral("0000000.0")) + 8;
    const QMargins m = grid_->contentsMargins();
    others += m.left() + m.right() + 3 * grid_->horizontalSpacing();
    if (form_->sizeHint().height() > height)
        others += scroll_->verticalScrollBar()->sizeHint().width();
    const int room = width - others;
    // From the screen's own size down: the form may have been built for
    // another screen size than the one it is shown on now.
    int size = scaled_font_size(12);
    const int smallest = scaled_font_size(9);
    QFont f = form_font;
    for (;; --size) {
        f.setPixelSize(size);
        const QFontMetrics metrics(f);
        int widest = 0;
        for (QLabel* l : labels_) widest = std::max(widest, metrics.horizontalAdvance(l->text()));
        if (widest <= room || size <= smallest) break;
    }
    for (QLabel* l : labels_) l->setFont(f);
}

void record_editor::on_command(int command) {
    switch (command) {
        case cmd_save:
            // A box whose text is no number, or a file that did not take the
            // record (the store has said so), keeps the editor open with
            // everything the owner typed.
            if (!numbers_readable(number_rows_)) return;
            if (write_record()) end_dialog(confirmed);
            return;
        case cmd_cancel:
            end_dialog(dismissed);
            return;
        case cmd_delete:
            if (adding_) return;
            if (show_message(msg_confirm_delete, message_buttons::yes_no) == message_answer::no)
                return;
            // A deletion the file did not take is made in the list all the
            // same (the store has told the owner and owes its file a full
            // save), so the editor closes either way.
            (void)delete_from_store();
            end_dialog(confirmed);
            return;
    }
}

QLabel* record_editor::add_row(std::u16string_view label_key, QWidget* field, QWidget* unit,
                               QWidget* tool) {
    auto* label = new QLabel(translated(label_key), form_);
    labels_.push_back(label);
    grid_->addWidget(label, rows_, 0);
    const int span = unit || tool ? 1 : 3;
    grid_->addWidget(field, rows_, 1, 1, span);
    if (unit) grid_->addWidget(unit, rows_, 2);
    if (tool) grid_->addWidget(tool, rows_, 3);
    field->setFixedHeight(field_height());
    if (auto* box = qobject_cast<edit_box*>(field); box && !box->text_box)
        number_rows_.push_back({std::u16string(label_key), box});
    ++rows_;
    return label;
}

void record_editor::add_wide_row(QWidget* field) {
    grid_->addWidget(field, rows_++, 0, 1, 4);
}

edit_box* record_editor::add_number_row(std::u16string_view label_key, std::u16string_view unit,
                                        int kept_tail, std::vector<QWidget*>* row) {
    edit_box* box = number_box(kept_tail);
    QLabel* unit_text = unit_label(unit);
    skin_button* calculator = calculator_button(box);
    QLabel* label = add_row(label_key, box, unit_text, calculator);
    if (row) *row = {label, box, unit_text, calculator};
    return box;
}

void record_editor::add_mileage_row(std::u16string_view unit) {
    mileage_ = add_number_row(u"Mileage:", unit, 5);
    mileage_->decimals = 1;
}

void record_editor::add_cost_row(std::u16string_view label_key) {
    cost_ = add_number_row(label_key, fixed_text(prog_.fuel.header().currency));
}

void record_editor::add_date_row(const local_time& shown) {
    date_ = new date_picker(date_picker::shows::date_and_time, form_);
    add_row(u"Date:", date_);
    date_->set_value(shown);
}

edit_box* record_editor::number_box(int kept_tail) {
    auto* box = new edit_box(form_);
    box->text_box = false;
    box->kept_tail = kept_tail;
    box->hint_background = rgb(255, 255, 255);
    box->entry_background = rgb(255, 255, 255);
    box->hint_colour = rgb(150, 150, 150);
    box->hint_font = false;
    box->set_text(u"");
    return box;
}

edit_box* record_editor::text_box(int max_length) {
    edit_box* box = number_box();
    box->text_box = true;
    // The box keeps no more than the record does, so what is seen is what is saved.
    box->set_max_length(max_length);
    return box;
}

QLabel* record_editor::unit_label(std::u16string_view text) {
    auto* label = new QLabel(to_qstring(text), form_);
    // Units such as "US Gallon" would otherwise squeeze the number box.
    label->setFont(device_font({u"Arial", scaled_font_size(10)}));
    return label;
}

skin_button* record_editor::calculator_button(edit_box* box) {
    auto* b = new skin_button(prog_.skin, form_);
    b->set_style(skin_button::icon_centred, skin_piece::calculator_x, skin_piece::calculator_y,
                 skin_piece::calculator_width, skin_piece::calculator_height);
    b->setFixedSize(skin_piece::calculator_width + 2, skin_piece::calculator_height + 1);
    b->setFocusPolicy(Qt::NoFocus);
    connect(b, &QAbstractButton::clicked, box, [box] { open_calculator(*box); });
    return b;
}

void record_editor::paint_delete_red() {
    skin_button& b = *delete_;
    b.band_light = rgb(250, 230, 230);
    b.band_middle = rgb(250, 210, 210);
    b.band_dark = rgb(250, 200, 200);
    b.line_upper = rgb(250, 110, 110);
    b.line_middle = rgb(250, 80, 80);
    b.line_lower = rgb(250, 169, 169);
    b.inner_line = rgb(250, 230, 230);
    b.border = rgb(240, 18, 18);
    b.update();
}

}  // namespace kelvane
