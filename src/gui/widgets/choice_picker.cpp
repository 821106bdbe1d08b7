#include "gui/widgets/choice_picker.h"

#include "gui/widgets/menu_items.h"
#include "gui/widgets/suggestion_dropdown.h"

namespace kelvane {

choice_picker::choice_picker(std::vector<std::u16string> texts, std::vector<std::u16string> notes,
                             int selected, QWidget* parent)
    : device_dialog(parent),
      texts_(std::move(texts)),
      notes_(std::move(notes)),
      selected_(selected) {
    list_ = new suggestion_dropdown(this);
    list_->set_always_visible(true);
    list_->set_header(true);
}

void choice_picker::init_dialog() {
    list_->set_columns(text_column, note_column);
    for (std::size_t i = 0; i < texts_.size(); ++i)
        list_->add_row(texts_[i], rgb(0, 0, 0), i < notes_.size() ? notes_[i] : std::u16string(),
                       rgb(100, 100, 100), 14, u"Arial", false, 0);
    list_->select_row(selected_);
    list_->show();
    connect(list_, &suggestion_dropdown::row_activated, this, [this](int) { take_selected(); });
    set_menu({menu_command(u"Ok", cmd_ok), menu_command(u"Cancel", cmd_cancel)});
    list_->setFocus();
}

void choice_picker::take_selected() {
    const int i = list_->selected();
    if (i < 0) return;  // nothing chosen yet: stay open
    picked_ = list_->row_at(i).text;
    end_dialog(confirmed);
}

void choice_picker::on_command(int command) {
    if (command == cmd_ok)
        take_selected();
    else if (command == cmd_cancel)
        end_dialog(dismissed);
}

void choice_picker::on_size(int width, int height) {
    list_->setGeometry(0, 0, width, height);
}

}  // namespace kelvane
