#include "gui/records/record_editor.h"

#include "core/common/messages.h"
#include "gui/shell/program.h"
#include "gui/tools/calculator_dialog.h"
#include "gui/widgets/date_picker.h"
#include "gui/widgets/edit_box.h"
#include "gui/widgets/menu_items.h"
#include "gui/widgets/skin.h"
#include "gui/widgets/skin_button.h"
#include "gui/widgets/translated.h"

namespace kelvane {

record_editor::record_editor(program& prog, std::u16string key, bool red_delete, QWidget* parent)
    : device_dialog(parent),
      prog_(prog),
      grid_(this),
      form_(grid_.form()),
      adding_(key.empty()),
      red_delete_(red_delete),
      key_(std::move(key)) {
    set_caption(u"Kelvane");
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

    auto make = [&](std::u16string_view text, int command) {
        auto* b = new skin_button(prog_.skin, form_);
        b->setText(translated(text));
        connect(b, &QAbstractButton::clicked, this, [this, command] { on_command(command); });
        return b;
    };
    save_ = make(adding_ ? u"Add" : u"Save", cmd_save);
    cancel_ = make(u"Cancel", cmd_cancel);
    delete_ = make(u"Delete", cmd_delete);
    delete_->setVisible(!adding_);
    if (red_delete_) paint_delete_red();
    grid_.add_button_row({save_, cancel_, delete_});
    grid_.finish();

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
    grid_.fit(width, height);
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
    QLabel* label = grid_.add_row(translated(label_key), field, unit, tool);
    if (auto* box = qobject_cast<edit_box*>(field); box && !box->text_box)
        number_rows_.push_back({std::u16string(label_key), box});
    return label;
}

void record_editor::add_wide_row(QWidget* field) {
    grid_.add_wide_row(field);
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
    return grid_.unit_label(to_qstring(text));
}

skin_button* record_editor::calculator_button(edit_box* box) {
    return kelvane::calculator_button(grid_, prog_.skin, *box);
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
