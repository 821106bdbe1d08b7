#include "gui/accounts/account_editor.h"

#include <QComboBox>

#include "core/accounts/account_entry.h"
#include "core/common/messages.h"
#include "gui/shell/program.h"
#include "gui/tools/calculator_dialog.h"
#include "gui/widgets/date_picker.h"
#include "gui/widgets/edit_box.h"
#include "gui/widgets/menu_items.h"
#include "gui/widgets/skin.h"
#include "gui/widgets/skin_button.h"
#include "gui/widgets/suggestion_dropdown.h"
#include "gui/widgets/translated.h"
#include "platform/services.h"

namespace kelvane {

namespace {

// In the order of mileage_unit_names, fuel_unit_names and economy_unit_names.
static_assert(mileage_unit_names.size() == 2 && fuel_unit_names.size() == 3 &&
              economy_unit_names.size() == 4);

QStringList mileage_unit_texts() {
    return {translated(u"Kilometer"), translated(u"Mile")};
}

QStringList fuel_unit_texts() {
    return {translated(u"Liter"), translated(u"US Gallon"), translated(u"UK Gallon")};
}

}  // namespace

account_editor::account_editor(program& prog, mode m, account_settings working)
    : prog_(prog), mode_(m), working_(std::move(working)), grid_(this) {
    set_caption(u"Kelvane");
    set_cancel_command(cmd_cancel);
    if (mode_ == mode::edit) opening_ = working_.name;
    resulting_ = opening_;

    // Made in the order Tab moves through them: the texts, the starting
    // numbers, then the units and the date.
    QWidget* form = grid_.form();
    const skin& pieces = prog_.skin;
    name_ = new edit_box(form);
    name_->text_box = true;
    currency_ = new edit_box(form);
    currency_->text_box = true;
    note_ = new edit_box(form);
    note_->text_box = true;
    note_->set_max_length(static_cast<int>(account_note_length));
    mileage_ = new edit_box(form);
    mileage_->decimals = 1;
    fuel_ = new edit_box(form);
    tank_ = new edit_box(form);
    mileage_unit_ = new QComboBox(form);
    fuel_unit_ = new QComboBox(form);
    economy_ = new QComboBox(form);
    date_ = new date_picker(date_picker::shows::date, form);
    mileage_label_ = grid_.unit_label({}, mileage_unit_texts());
    fuel_label_ = grid_.unit_label({}, fuel_unit_texts());
    tank_label_ = grid_.unit_label({}, fuel_unit_texts());
    mileage_calc_ = kelvane::calculator_button(grid_, pieces, *mileage_);
    fuel_calc_ = kelvane::calculator_button(grid_, pieces, *fuel_);
    tank_calc_ = kelvane::calculator_button(grid_, pieces, *tank_);
    currency_button_ = grid_.tool_button(pieces, skin_piece::picklist_x, skin_piece::picklist_y,
                                         skin_piece::picklist_width, skin_piece::picklist_height);
    ok_button_ = new skin_button(pieces, form);
    delete_button_ = new skin_button(pieces, form);
    cancel_button_ = new skin_button(pieces, form);
    currencies_ = new suggestion_dropdown(form);
    currency_->set_suggestion_list(currencies_);
    // A hint for keypad phones, kept on a hidden label as the handheld does.
    hint_ = new QLabel(translated(u"Press joystick in number edit box to use calculator"), form);
    hint_->hide();

    grid_.add_row(translated(u"Auto Name:"), name_);
    grid_.add_row(translated(u"Currency:"), currency_, nullptr, currency_button_);
    grid_.add_row(translated(u"Note:"), note_);
    grid_.add_row(translated(u"Mileage Unit:"), mileage_unit_);
    grid_.add_row(translated(u"Fuel Unit:"), fuel_unit_);
    grid_.add_row(translated(u"Fuel Economy:"), economy_);
    grid_.add_row(translated(u"Initial Mileage:"), mileage_, mileage_label_, mileage_calc_);
    grid_.add_row(translated(u"Initial Fuel:"), fuel_, fuel_label_, fuel_calc_);
    grid_.add_row(translated(u"Fuel Tank Capacity:"), tank_, tank_label_, tank_calc_);
    grid_.add_row(translated(u"Date:"), date_);
    grid_.add_wide_row(hint_);
    // A new account has nothing to delete: Cancel stays where it always is.
    QSizePolicy keep_place = delete_button_->sizePolicy();
    keep_place.setRetainSizeWhenHidden(true);
    delete_button_->setSizePolicy(keep_place);
    grid_.add_button_row({ok_button_, delete_button_, cancel_button_});
    grid_.finish();

    // The button beside the currency box takes the owner there, where the
    // currencies drop down.
    connect(currency_button_, &QAbstractButton::clicked, this, [this] { currency_->setFocus(); });
    connect(ok_button_, &QAbstractButton::clicked, this, [this] { on_command(cmd_save); });
    connect(delete_button_, &QAbstractButton::clicked, this, [this] { on_command(cmd_delete); });
    connect(cancel_button_, &QAbstractButton::clicked, this, [this] { on_command(cmd_cancel); });
}

skin_button& account_editor::calculator_button(edit_box& box) {
    if (&box == fuel_) return *fuel_calc_;
    if (&box == tank_) return *tank_calc_;
    return *mileage_calc_;
}

void account_editor::init_dialog() {
    if (mode_ == mode::add)
        set_menu({menu_command(u"Add", cmd_save), menu_command(u"Cancel", cmd_cancel)});
    else
        set_menu({menu_command(u"Save", cmd_save),
                  menu_popup(u"Tools", {menu_command(u"Cancel", cmd_cancel),
                                        menu_command(u"Delete", cmd_delete)})});

    mileage_unit_->addItems(mileage_unit_texts());
    fuel_unit_->addItems(fuel_unit_texts());
    economy_->addItems({translated(u"Mile/US Gallon"), translated(u"Mile/UK Gallon"),
                        translated(u"Liter/100Km"), translated(u"Km/Liter")});
    for (const auto& c : currency_table()) currency_->add_suggestion(c.code, kelvane::tr(c.name));
    ok_button_->set_text(kelvane::tr(u"OK"));
    delete_button_->set_text(kelvane::tr(u"Delete"));
    cancel_button_->set_text(kelvane::tr(u"Cancel"));

    if (mode_ == mode::edit) {
        const account_entry e = account_entry::of(working_);
        tank_->set_text(e.tank_capacity);
        mileage_->set_text(e.initial_mileage);
        fuel_->set_text(e.initial_fuel);
        name_->set_text(e.name);
        note_->set_text(e.note);
        currency_->set_text(e.currency);
        mileage_unit_->setCurrentIndex(mileage_unit_index(e.mileage_unit));
        fuel_unit_->setCurrentIndex(fuel_unit_index(e.fuel_unit));
        economy_->setCurrentIndex(e.economy_mode);
        date_->set_date(e.year, e.month, e.day);
    } else {
        const local_time today = device_clock().now();
        date_->set_date(today.year, today.month, today.day);
        delete_button_->hide();
        mileage_unit_->setCurrentIndex(0);
        fuel_unit_->setCurrentIndex(0);
        economy_follows_units_ = true;
        follow_units_with_economy();
        connect(economy_, &QComboBox::activated, this, [this] { economy_follows_units_ = false; });
    }
    mileage_in_force_ = mileage_unit_names[static_cast<std::size_t>(mileage_unit_->currentIndex())];
    fuel_in_force_ = fuel_unit_names[static_cast<std::size_t>(fuel_unit_->currentIndex())];
    mileage_label_->setText(mileage_unit_->currentText());
    fuel_label_->setText(fuel_unit_->currentText());
    tank_label_->setText(fuel_unit_->currentText());

    connect(mileage_unit_, &QComboBox::currentIndexChanged, this,
            [this](int i) { mileage_unit_changed(i); });
    connect(fuel_unit_, &QComboBox::currentIndexChanged, this,
            [this](int i) { fuel_unit_changed(i); });
    on_size(client_rect().width(), client_rect().height());
    start_timer(focus_timer, 100);
}

void account_editor::on_timer(int id) {
    if (id != focus_timer) return;
    stop_timer(focus_timer);
    name_->setFocus();
    name_->select_initial();
}

void account_editor::follow_units_with_economy() {
    if (!economy_follows_units_) return;
    economy_->setCurrentIndex(economy_mode_for_units(
        mileage_unit_names[static_cast<std::size_t>(std::max(0, mileage_unit_->currentIndex()))],
        fuel_unit_names[static_cast<std::size_t>(std::max(0, fuel_unit_->currentIndex()))]));
}

void account_editor::mileage_unit_changed(int index) {
    if (index < 0) return;
    follow_units_with_economy();
    const std::u16string unit(mileage_unit_names[static_cast<std::size_t>(index)]);
    mileage_label_->setText(mileage_unit_->currentText());
    account_entry e;
    e.initial_mileage = mileage_->get_text();
    e.mileage_unit = mileage_in_force_;
    e.change_mileage_unit(unit);
    if (e.initial_mileage != mileage_->get_text()) mileage_->set_text(e.initial_mileage);
    mileage_in_force_ = unit;
}

void account_editor::fuel_unit_changed(int index) {
    if (index < 0) return;
    follow_units_with_economy();
    const std::u16string unit(fuel_unit_names[static_cast<std::size_t>(index)]);
    fuel_label_->setText(fuel_unit_->currentText());
    tank_label_->setText(fuel_unit_->currentText());
    account_entry e;
    e.initial_fuel = fuel_->get_text();
    e.tank_capacity = tank_->get_text();
    e.fuel_unit = fuel_in_force_;
    e.change_fuel_unit(unit);
    if (e.initial_fuel != fuel_->get_text()) fuel_->set_text(e.initial_fuel);
    if (e.tank_capacity != tank_->get_text()) tank_->set_text(e.tank_capacity);
    fuel_in_force_ = unit;
}

account_settings account_editor::settings_from_boxes() const {
    account_entry e;
    e.name = name_->get_text();
    e.tank_capacity = tank_->get_text();
    e.initial_mileage = mileage_->get_text();
    e.initial_fuel = fuel_->get_text();
    e.mileage_unit = mileage_unit_names[static_cast<std::size_t>(mileage_unit_->currentIndex())];
    e.fuel_unit = fuel_unit_names[static_cast<std::size_t>(fuel_unit_->currentIndex())];
    e.economy_mode = economy_->currentIndex();
    e.currency = currency_->get_text();
    const local_time d = date_->value();
    e.year = d.year, e.month = d.month, e.day = d.day;
    e.note = note_->get_text();
    return e.settings();
}

void account_editor::save() {
    const labelled_number_box numbers[] = {{u"Initial Mileage:", mileage_},
                                           {u"Initial Fuel:", fuel_},
                                           {u"Fuel Tank Capacity:", tank_}};
    if (!numbers_readable(numbers)) return;
    const auto result =
        save_account_edit(prog_.config, {prog_.fuel, prog_.service, prog_.fees, prog_.trips},
                          mode_ == mode::add ? std::u16string() : opening_, settings_from_boxes());
    if (result.outcome == account_save_outcome::saved) {
        resulting_ = result.name;
        end_dialog(confirmed);
        return;
    }
    show_message(account_save_message(result.outcome));
    // The owner can correct the name or cancel.
    name_->setFocus();
}

void account_editor::remove() {
    if (mode_ != mode::edit) return;
    if (show_message(msg_confirm_delete, message_buttons::yes_no) == message_answer::no) return;
    // A file that could not be written has been shown by its store; a
    // vehicle whose files could not move into "Deleted" stays, as the
    // owner was told.
    (void)delete_account_and_trips(prog_.config,
                                   {prog_.fuel, prog_.service, prog_.fees, prog_.trips}, opening_);
    resulting_.clear();
    end_dialog(dismissed);
}

void account_editor::on_command(int command) {
    switch (command) {
        case cmd_save:
            save();
            return;
        case cmd_delete:
            remove();
            return;
        case cmd_cancel:
            resulting_ = opening_;
            end_dialog(dismissed);
            return;
    }
}

void account_editor::on_size(int width, int height) {
    grid_.fit(width, height);
    if (currencies_->isVisible()) currencies_->place_under(*currency_);
}

}  // namespace kelvane
