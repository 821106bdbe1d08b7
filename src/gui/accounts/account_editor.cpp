#include "gui/accounts/account_editor.h"

#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QScrollArea>
#include <QScrollBar>

#include "core/accounts/account_entry.h"
#include "core/common/scaled_font.h"
#include "gui/shell/program.h"
#include "gui/tools/calculator_dialog.h"
#include "gui/widgets/date_picker.h"
#include "gui/widgets/edit_box.h"
#include "gui/widgets/menu_items.h"
#include "gui/widgets/owner_messages.h"
#include "gui/widgets/skin.h"
#include "gui/widgets/skin_button.h"
#include "gui/widgets/suggestion_dropdown.h"
#include "gui/widgets/translated.h"
#include "platform/qt/qpainter_dc.h"
#include "platform/screen_scale.h"
#include "platform/services.h"

namespace kelvane {

namespace {

// On a 240 x 320 screen; larger screens grow them with the text.
constexpr int base_row_height = 22;
constexpr int row_gap = 3;
constexpr int margin = 3;
constexpr int base_button_height = 24;

QLabel* make_label(QWidget* parent, const QString& text) {
    auto* l = new QLabel(text, parent);
    l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return l;
}

skin_button* make_icon_button(const skin& pieces, QWidget* parent, int x, int y, int w, int h) {
    auto* b = new skin_button(pieces, parent);
    b->set_style(skin_button::icon_centred, x, y, w, h);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

}  // namespace

account_editor::account_editor(program& prog, mode m, account_settings working)
    : prog_(prog), mode_(m), working_(std::move(working)) {
    set_caption(u"Kelvane");
    set_cancel_command(cmd_cancel);
    if (mode_ == mode::edit) opening_ = working_.name;
    resulting_ = opening_;

    scroll_ = new QScrollArea(this);
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    form_ = new QWidget;
    form_->setAutoFillBackground(true);
    scroll_->setWidget(form_);

    for (const QString& text :
         {translated(u"Auto Name:"), translated(u"Currency:"), translated(u"Note:"),
          translated(u"Mileage Unit:"), translated(u"Fuel Unit:"), translated(u"Fuel Economy:"),
          translated(u"Initial Mileage:"), translated(u"Initial Fuel:"),
          translated(u"Fuel Tank Capacity:"), translated(u"Date:")})
        labels_.push_back(make_label(form_, text));

    const skin& pieces = prog_.skin;
    name_ = new edit_box(form_);
    name_->text_box = true;
    currency_ = new edit_box(form_);
    currency_->text_box = true;
    note_ = new edit_box(form_);
    note_->text_box = true;
    note_->set_max_length(static_cast<int>(account_note_length));
    mileage_ = new edit_box(form_);
    mileage_->decimals = 1;
    fuel_ = new edit_box(form_);
    tank_ = new edit_box(form_);
    mileage_unit_ = new QComboBox(form_);
    fuel_unit_ = new QComboBox(form_);
    economy_ = new QComboBox(form_);
    date_ = new date_picker(date_picker::shows::date, form_);
    mileage_label_ = make_label(form_, {});
    fuel_label_ = make_label(form_, {});
    tank_label_ = make_label(form_, {});
    mileage_calc_ =
        make_icon_button(pieces, form_, skin_piece::calculator_x, skin_piece::calculator_y,
                         skin_piece::calculator_width, skin_piece::calculator_height);
    fuel_calc_ = make_icon_button(pieces, form_, skin_piece::calculator_x, skin_piece::calculator_y,
                                  skin_piece::calculator_width, skin_piece::calculator_height);
    tank_calc_ = make_icon_button(pieces, form_, skin_piece::calculator_x, skin_piece::calculator_y,
                                  skin_piece::calculator_width, skin_piece::calculator_height);
    currency_button_ =
        make_icon_button(pieces, form_, skin_piece::picklist_x, skin_piece::picklist_y,
                         skin_piece::picklist_width, skin_piece::picklist_height);
    ok_button_ = new skin_button(pieces, form_);
    delete_button_ = new skin_button(pieces, form_);
    cancel_button_ = new skin_button(pieces, form_);
    currencies_ = new suggestion_dropdown(form_);
    currency_->set_suggestion_list(currencies_);
    // A hint for keypad phones, kept on a hidden label as the handheld does.
    hint_ = make_label(form_, translated(u"Press joystick in number edit box to use calculator"));
    hint_->hide();

    connect(mileage_calc_, &QAbstractButton::clicked, this, [this] { open_calculator(*mileage_); });
    connect(fuel_calc_, &QAbstractButton::clicked, this, [this] { open_calculator(*fuel_); });
    connect(tank_calc_, &QAbstractButton::clicked, this, [this] { open_calculator(*tank_); });
    // The button beside the currency box takes the owner there, where the
    // currencies drop down.
    connect(currency_button_, &QAbstractButton::clicked, this, [this] { currency_->setFocus(); });
    connect(ok_button_, &QAbstractButton::clicked, this, [this] { on_command(cmd_save); });
    connect(delete_button_, &QAbstractButton::clicked, this, [this] { on_command(cmd_delete); });
    connect(cancel_button_, &QAbstractButton::clicked, this, [this] { on_command(cmd_cancel); });
    // On a short screen the form scrolls to the box the owner moves to.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now && form_->isAncestorOf(now)) scroll_->ensureWidgetVisible(now);
    });
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

    // In the order of mileage_unit_names, fuel_unit_names and economy_unit_names.
    static_assert(mileage_unit_names.size() == 2 && fuel_unit_names.size() == 3 &&
                  economy_unit_names.size() == 4);
    mileage_unit_->addItems({translated(u"Kilometer"), translated(u"Mile")});
    fuel_unit_->addItems(
        {translated(u"Liter"), translated(u"US Gallon"), translated(u"UK Gallon")});
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
    scroll_->setGeometry(0, 0, width, height);
    const int screen_w = device().screen_width(), screen_h = device().screen_height();
    const int row_height = scaled_length(base_row_height, screen_w, screen_h);
    const int button_height = scaled_length(base_button_height, screen_w, screen_h);
    const QFont font = device_font({u"Arial", scaled_font_size(12)});
    const QFont small = device_font({u"Arial", scaled_font_size(11)});

    // Rows first, to know whether the form needs a scroll bar.
    const int rows = static_cast<int>(labels_.size());
    const int content = margin + rows * (row_height + row_gap) + button_height + 2 * margin;
    const int w =
        content > height ? width - scroll_->verticalScrollBar()->sizeHint().width() : width;
    form_->resize(w, std::max(content, height));

    // The labels take what their longest needs, up to nearly half the width;
    // a narrow screen gets a smaller font rather than cut labels.
    QFont label_font = font;
    int label_width = 0;
    for (int size = scaled_font_size(12);; --size) {
        label_font = device_font({u"Arial", size});
        const QFontMetrics metrics(label_font);
        label_width = 0;
        for (QLabel* l : labels_)
            label_width = std::max(label_width, metrics.horizontalAdvance(l->text()) + 4);
        if (label_width <= w * 45 / 100 || size <= 9) break;
    }
    label_width = std::min(label_width, w * 45 / 100);
    const int left = margin + label_width + 2;
    const int right = w - margin;
    const int unit_width = std::max(40, w * 48 / 240);
    const int calc_width = skin_piece::calculator_width + 2;
    int y = margin;
    auto row = [&](int i) {
        labels_[static_cast<std::size_t>(i)]->setFont(label_font);
        labels_[static_cast<std::size_t>(i)]->setGeometry(margin, y, label_width, row_height);
    };
    auto plain = [&](int i, QWidget* control) {
        row(i);
        control->setFont(font);
        control->setGeometry(left, y, right - left, row_height);
        y += row_height + row_gap;
    };
    auto number = [&](int i, edit_box* box, QLabel* unit, skin_button* calc) {
        row(i);
        const int box_right = right - calc_width - unit_width;
        box->setGeometry(left, y, std::max(10, box_right - left - 2), row_height);
        unit->setFont(small);
        unit->setGeometry(box_right, y, unit_width, row_height);
        calc->setGeometry(right - skin_piece::calculator_width, y, skin_piece::calculator_width,
                          skin_piece::calculator_height);
        y += row_height + row_gap;
    };

    plain(0, name_);
    row(1);
    currency_->setGeometry(left, y, right - left - skin_piece::picklist_width - 2, row_height);
    currency_button_->setGeometry(right - skin_piece::picklist_width, y, skin_piece::picklist_width,
                                  skin_piece::picklist_height);
    y += row_height + row_gap;
    plain(2, note_);
    plain(3, mileage_unit_);
    plain(4, fuel_unit_);
    plain(5, economy_);
    number(6, mileage_, mileage_label_, mileage_calc_);
    number(7, fuel_, fuel_label_, fuel_calc_);
    number(8, tank_, tank_label_, tank_calc_);
    plain(9, date_);

    const int bw = (right - margin - 8) / 3;
    const int font_size = scaled_font_size(12);
    for (skin_button* b : {ok_button_, delete_button_, cancel_button_}) b->font_size = font_size;
    ok_button_->setGeometry(margin, y + margin, bw, button_height);
    delete_button_->setGeometry(margin + bw + 4, y + margin, bw, button_height);
    cancel_button_->setGeometry(margin + 2 * (bw + 4), y + margin, bw, button_height);
    hint_->setGeometry(margin, y, right - margin, row_height);
    if (currencies_->isVisible()) currencies_->place_under(*currency_);
}

}  // namespace kelvane
