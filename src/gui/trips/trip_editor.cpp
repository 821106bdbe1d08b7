#include "gui/trips/trip_editor.h"

#include <QCheckBox>
#include <QLabel>

#include "core/common/scaled_font.h"
#include "core/common/text.h"
#include "core/records/record_writes.h"
#include "gui/shell/program.h"
#include "gui/widgets/date_picker.h"
#include "gui/widgets/edit_box.h"
#include "gui/widgets/menu_items.h"
#include "gui/widgets/owner_messages.h"
#include "gui/widgets/skin_button.h"
#include "gui/widgets/translated.h"
#include "gui/widgets/vehicle_picker.h"
#include "platform/qt/qpainter_dc.h"
#include "platform/services.h"

namespace kelvane {

namespace {

constexpr int focus_timer = 1;
constexpr std::size_t button_text_length = 30;

}  // namespace

std::u16string vehicle_button_text(const std::vector<std::u16string>& names) {
    if (names.empty()) return kelvane::tr(u"Tap to choose vehicle");
    std::u16string text = join(names.data(), names.data() + names.size(), u",");
    if (text.size() > button_text_length) text = cut(text, button_text_length) + u"...";
    return text;
}

trip_editor::trip_editor(program& prog, QWidget* parent)
    : trip_editor(prog, false, trip_record{}, parent) {
    const std::u16string current = prog_.config.current_account();
    if (!current.empty()) vehicles_.push_back(current);
}

trip_editor::trip_editor(program& prog, const trip_record& trip, QWidget* parent)
    : trip_editor(prog, true, trip, parent) {
    vehicles_ = form_of(trip).vehicles;
}

trip_editor::trip_editor(program& prog, bool editing, const trip_record& trip, QWidget* parent)
    : device_dialog(parent),
      prog_(prog),
      editing_(editing),
      trip_(trip),
      description_label_(new QLabel(this)),
      description_(new edit_box(this)),
      vehicles_label_(new QLabel(this)),
      vehicle_button_(new skin_button(prog.skin, this)),
      range_(this),
      save_button_(new skin_button(prog.skin, this)),
      cancel_button_(new skin_button(prog.skin, this)),
      delete_button_(new skin_button(prog.skin, this)) {
    set_caption(u"Kelvane");
    connect(vehicle_button_, &QAbstractButton::clicked, this,
            [this] { on_command(cmd_choose_vehicles); });
    connect(save_button_, &QAbstractButton::clicked, this, [this] { on_command(cmd_save); });
    connect(cancel_button_, &QAbstractButton::clicked, this, [this] { on_command(cmd_cancel); });
    connect(delete_button_, &QAbstractButton::clicked, this, [this] { on_command(cmd_delete); });
    set_cancel_command(cmd_cancel);
}

void trip_editor::init_dialog() {
    if (editing_)
        set_menu({menu_command(u"Save", cmd_save),
                  menu_popup(u"Menu", {menu_command(u"Delete", cmd_delete), menu_separator(),
                                       menu_command(u"Cancel", cmd_cancel)})});
    else
        set_menu({menu_command(u"Add", cmd_save),
                  menu_popup(u"Menu", {menu_command(u"Cancel", cmd_cancel)})});

    const QFont font = device_font({u"Arial", scaled_font_size(13)});
    for (QWidget* w :
         std::initializer_list<QWidget*>{description_label_, description_, vehicles_label_})
        w->setFont(font);
    description_label_->setText(translated(u"Description:"));
    vehicles_label_->setText(translated(u"Auto:"));
    range_.set_up(to_qstring(kelvane::tr(fixed_text(prog_.fuel.header().mileage_unit))), font);
    description_->text_box = true;
    description_->entry_background = rgb(255, 255, 255);
    description_->hint_background = rgb(255, 255, 255);
    description_->hint_colour = rgb(150, 150, 150);
    description_->autocomplete = false;
    description_->set_max_length(static_cast<int>(trip_description_length));
    cancel_button_->set_text(kelvane::tr(u"Cancel"));
    delete_button_->set_text(kelvane::tr(u"Delete"));

    if (editing_) {
        const trip_form form = form_of(trip_);
        save_button_->set_text(kelvane::tr(u"Save"));
        delete_button_->show();
        range_.start_date->set_value(form.start_date);
        range_.end_date->set_value(form.end_date);
        range_.start_mileage->set_text(form.start_mileage);
        range_.end_mileage->set_text(form.end_mileage);
        description_->set_text(form.description);
        description_->setCursorPosition(0);
        range_.use_start_date->setChecked(form.use_start_date);
        range_.use_end_date->setChecked(form.use_end_date);
        range_.use_start_mileage->setChecked(form.use_start_mileage);
        range_.use_end_mileage->setChecked(form.use_end_mileage);
    } else {
        save_button_->set_text(kelvane::tr(u"Add"));
        delete_button_->hide();
        const local_time now = device_clock().now();
        range_.start_date->set_value(now);
        range_.end_date->set_value(now);
        description_->set_text(u"");
    }
    vehicle_button_->set_text(kelvane::vehicle_button_text(vehicles_));
    start_timer(focus_timer, 100);
}

std::u16string trip_editor::vehicle_button_text() const {
    return vehicle_button_->text().toStdU16String();
}

void trip_editor::on_timer(int id) {
    if (id != focus_timer) return;
    stop_timer(focus_timer);
    description_->setFocus();
}

void trip_editor::on_command(int command) {
    switch (command) {
        case cmd_save:
            save();
            return;
        case cmd_cancel:
            end_dialog(dismissed);
            return;
        case cmd_delete:
            if (editing_) remove();
            return;
        case cmd_choose_vehicles:
            choose_vehicles();
            return;
    }
}

void trip_editor::choose_vehicles() {
    std::vector<std::u16string> items = prog_.config.list_account_names();
    vehicle_picker picker(prog_.skin, items, vehicles_, vehicle_picker::multiple_choice,
                          kelvane::tr(u"Please choose vehicle account"));
    if (picker.exec() != device_dialog::confirmed) return;
    vehicles_ = items;
    vehicle_button_->set_text(kelvane::vehicle_button_text(vehicles_));
}

trip_form trip_editor::read_form() const {
    trip_form form;
    form.description = description_->get_text();
    form.vehicles = vehicles_;
    form.use_start_date = range_.use_start_date->isChecked();
    form.use_end_date = range_.use_end_date->isChecked();
    form.use_start_mileage = range_.use_start_mileage->isChecked();
    form.use_end_mileage = range_.use_end_mileage->isChecked();
    form.start_date = range_.start_date->value();
    form.end_date = range_.end_date->value();
    form.start_mileage = range_.start_mileage->get_text();
    form.end_mileage = range_.end_mileage->get_text();
    return form;
}

void trip_editor::save() {
    if (!range_.mileages_readable()) return;
    const trip_form form = read_form();
    const trip_record* edited = editing_ ? &trip_ : nullptr;
    const trip_check check =
        check_trip(prog_.trips, form, edited ? fixed_text(trip_.key) : std::u16string());
    if (check != trip_check::ok) {
        show_message(trip_check_message(check));
        return;
    }
    if (mileage_range_dropped(form)) show_message(msg_mileage_range_dropped);
    const trip_save_outcome kept = save_trip(prog_.trips, form, edited);
    // A trip the store refused (it has told the owner) leaves the editor open.
    if (kept.key.empty()) return;
    if (!kept.written) {
        // The trip is held in memory but not in Trip.tri: the editor stays
        // open with what was typed, and a second Save writes the same trip
        // again instead of adding another.
        if (const int position = position_of_key(prog_.trips, kept.key); position >= 0) {
            trip_ = prog_.trips.record_at(position);
            editing_ = true;
        }
        return;
    }
    end_dialog(confirmed);
}

void trip_editor::remove() {
    if (show_message(msg_confirm_delete, message_buttons::yes_no) == message_answer::no) return;
    // A failed write has been shown by the store; the trip is gone from the
    // list either way, so the editor has nothing left to keep.
    (void)delete_trip(prog_.trips, fixed_text(trip_.key));
    end_dialog(confirmed);
}

void trip_editor::on_size(int width, int) {
    const int line = scaled_font_size(13) + 9;
    const int gap = 5;
    const int left = 6, right = width - 6;
    const int label_w = std::min(110, (right - left) * 11 / 24);
    const int control_left = left + label_w + 2;
    int y = 8;
    description_label_->setGeometry(left, y, label_w, line);
    description_->setGeometry(control_left, y, right - control_left, line);
    y += line + gap;
    vehicles_label_->setGeometry(left, y, label_w, line + 2);
    vehicle_button_->setGeometry(control_left, y, right - control_left, line + 2);
    y += line + 2 + gap + 4;
    y = range_.lay_out(left, right, y, line, label_w, gap) + 4;
    const int button_w = std::min(70, (right - left - 2 * gap) / 3);
    save_button_->setGeometry(left, y, button_w, 24);
    cancel_button_->setGeometry(left + button_w + gap, y, button_w, 24);
    delete_button_->setGeometry(right - button_w, y, button_w, 24);
}

}  // namespace kelvane
