#include "gui/widgets/vehicle_picker.h"

#include <algorithm>

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
        list_->add_row(name, rgb(0, 0, 0), {}, rgb(100, 100, 100), scaled_font_size(14), u"Arial",
                       false, on ? 1 : 0);
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
    const int prompt_height = 36;
    prompt_->setGeometry(0, 0, width, prompt_height);
    list_->setGeometry(0, prompt_height, width, std::max(0, height - prompt_height));
}

}  // namespace kelvane
