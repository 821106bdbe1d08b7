#include "gui/widgets/vehicle_picker.h"

#include <algorithm>

#include "core/charts/cell_layout.h"
#include "core/common/scaled_font.h"
#include "gui/widgets/menu_items.h"
#include "gui/widgets/suggestion_dropdown.h"
#include "gui/widgets/text_label.h"

namespace kelvane {

vehicle_picker::vehicle_picker(const skin& pieces, std::vector<std::u16string>& items,
                               std::vector<std::u16string> checked, int mode,
                               std::u16string_view prompt, QWidget* parent)
    : device_dialog(parent),
      items_(items),
      checked_(std::move(checked)),
      mode_(mode),
      prompt_text_(prompt) {
    set_caption(u"Kelvane");
    prompt_ = new text_label(pieces, this);
    list_ = new suggestion_dropdown(this);
    list_->set_always_visible(true);
    list_->set_check_mode(mode_ == multiple_choice ? &pieces : nullptr);
}

void vehicle_picker::init_dialog() {
    prompt_->set_text(prompt_text_);
    prompt_->font_face = u"Arial";
    prompt_->font_height = scaled_font_size(13);
    prompt_->icon = true;
    for (const auto& name : items_) {
        const bool on = std::find(checked_.begin(), checked_.end(), name) != checked_.end();
        list_->add_row(name, rgb(0, 0, 0), {}, rgb(100, 100, 100), scaled_font_size(row_font_size),
                       u"Arial", false, on ? 1 : 0);
    }
    if (list_->row_count()) list_->select_row(0);
    connect(list_, &suggestion_dropdown::row_activated, this, [this](int i) {
        if (mode_ == multiple_choice) list_->toggle_check(i);
    });
    set_menu({menu_command(u"Ok", cmd_ok),
              menu_popup(u"Menu", {menu_command(u"Select All", cmd_select_all),
                                   menu_command(u"Clear All", cmd_clear_all)})});
    if (mode_ != multiple_choice) {
        menu_bar()->set_enabled(cmd_select_all, false);
        menu_bar()->set_enabled(cmd_clear_all, false);
    }
    list_->setFocus();
}

void vehicle_picker::set_all(int icon) {
    for (int i = 0; i < list_->row_count(); ++i) list_->set_icon(i, icon);
}

void vehicle_picker::on_command(int command) {
    switch (command) {
        case cmd_select_all:
            set_all(1);
            return;
        case cmd_clear_all:
            set_all(0);
            return;
        case cmd_ok: {
            std::vector<std::u16string> chosen;
            for (int i = 0; i < list_->row_count(); ++i) {
                const bool take =
                    mode_ == multiple_choice ? list_->row_at(i).icon != 0 : i == list_->selected();
                if (take) chosen.push_back(list_->row_at(i).text);
            }
            items_ = std::move(chosen);
            end_dialog(confirmed);
            return;
        }
    }
}

void vehicle_picker::on_size(int width, int height) {
    // The names are written large enough to be tapped; on a wide screen the
    // list keeps a readable width and stands centred.
    const int text_height = scaled_font_size(row_font_size);
    cell_layout cells;
    cells.set_max_width(1000);
    cells.set_area({0, 0, width, height});
    const kelvane::rect prompt =
        cells.cut_top(-1, 2 * text_height, cell_layout::align_centre, true);
    const kelvane::rect list = cells.cut_top(-1, -1, cell_layout::align_left, true);
    prompt_->setGeometry(prompt.left, prompt.top, prompt.width(), prompt.height());
    list_->setGeometry(list.left, list.top, list.width(), std::max(0, list.height()));
    // The note column takes a tenth; a little is kept free for the scroll bar.
    const int note_width = list.width() / 10;
    const int text_width = list.width() - note_width - static_cast<int>(list.width() * 0.035);
    list_->set_columns(text_width, note_width);
    list_->set_row_height(text_height + 4);
}

}  // namespace kelvane
