#include "gui/trips/trip_picker.h"

#include <QKeyEvent>
#include <QListWidget>

#include "core/charts/cell_layout.h"
#include "core/common/scaled_font.h"
#include "core/stores/trip_store.h"
#include "gui/widgets/menu_items.h"
#include "gui/widgets/skin_button.h"
#include "gui/widgets/text_label.h"
#include "gui/widgets/translated.h"
#include "platform/qt/qpainter_dc.h"

namespace kelvane {

namespace {

constexpr int row_font_size = 18;
constexpr int button_height = 22;

}  // namespace

trip_picker::trip_picker(const skin& pieces, const trip_store& trips, std::u16string_view prompt,
                         QWidget* parent)
    : device_dialog(parent), descriptions_(trips.list_descriptions()), prompt_text_(prompt) {
    set_caption(u"Kelvane");
    prompt_ = new text_label(pieces, this);
    list_ = new QListWidget(this);
    ok_ = new skin_button(pieces, this);
    cancel_ = new skin_button(pieces, this);
    connect(ok_, &QAbstractButton::clicked, this, [this] { on_command(cmd_ok); });
    connect(cancel_, &QAbstractButton::clicked, this, [this] { on_command(cmd_cancel); });
    connect(list_, &QListWidget::itemDoubleClicked, this, [this] { on_command(cmd_ok); });
    set_cancel_command(cmd_cancel);
}

void trip_picker::init_dialog() {
    prompt_->set_text(prompt_text_);
    prompt_->font_face = u"Arial";
    prompt_->font_height = scaled_font_size(13);
    prompt_->align = text_label::left_single;
    list_->setFont(device_font({u"Arial", scaled_font_size(14)}));
    // Descriptions are the owner's own texts: shown as they stand.
    for (const auto& d : descriptions_) list_->addItem(to_qstring(d));
    if (list_->count()) list_->setCurrentRow(0);
    ok_->set_text(kelvane::tr(u"Ok"));
    cancel_->set_text(kelvane::tr(u"Cancel"));
    set_menu({menu_command(u"Ok", cmd_ok), menu_command(u"Cancel", cmd_cancel)});
    list_->setFocus();
}

void trip_picker::on_command(int command) {
    switch (command) {
        case cmd_ok: {
            const int row = list_->currentRow();
            if (row < 0 || row >= static_cast<int>(descriptions_.size())) return;
            chosen_ = descriptions_[static_cast<std::size_t>(row)];
            end_dialog(confirmed);
            return;
        }
        case cmd_cancel:
            end_dialog(dismissed);
            return;
    }
}

void trip_picker::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        on_command(cmd_ok);
        return;
    }
    device_dialog::keyPressEvent(e);
}

void trip_picker::on_size(int width, int height) {
    const int line = scaled_font_size(row_font_size);
    cell_layout cells;
    cells.set_margins(10, 10);
    cells.set_gap(1);
    cells.set_max_width(320);
    cells.set_area({0, 0, width, height});
    const kelvane::rect prompt = cells.cut_top(-1, line, cell_layout::align_left, true);
    const kelvane::rect cancel =
        cells.cut_bottom(70, button_height, cell_layout::align_right, false);
    const kelvane::rect ok = cells.cut_bottom(70, button_height, cell_layout::align_right, true);
    const kelvane::rect list = cells.cut_top(-1, -1, cell_layout::align_left, true);
    prompt_->setGeometry(prompt.left, prompt.top, prompt.width(), prompt.height());
    ok_->setGeometry(ok.left, ok.top, ok.width(), ok.height());
    cancel_->setGeometry(cancel.left, cancel.top, cancel.width(), cancel.height());
    list_->setGeometry(list.left, list.top, list.width(), std::max(0, list.height() - 4));
}

std::u16string pick_trip(const skin& pieces, const trip_store& trips, std::u16string_view prompt) {
    trip_picker picker(pieces, trips, prompt);
    if (picker.exec() != device_dialog::confirmed) return {};
    return picker.chosen();
}

}  // namespace kelvane
