#include "gui/records/record_page.h"

#include <QKeyEvent>

#include "core/common/scaled_font.h"
#include "gui/shell/program.h"
#include "gui/widgets/account_combo.h"
#include "gui/widgets/menu_items.h"
#include "gui/widgets/owner_messages.h"
#include "gui/widgets/skin_button.h"
#include "gui/widgets/translated.h"
#include "platform/qt/modal_service.h"
#include "platform/qt/qpainter_dc.h"
#include "platform/screen_scale.h"

namespace kelvane {

namespace {

constexpr int base_width = 240;

}  // namespace

record_page::record_page(program& prog, page_id id, QWidget* parent) : list_page(prog, id, parent) {
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setFont(device_font({u"Arial", scaled_font_size(12)}));

    auto_label_ = new QLabel(translated(u"Auto:"), this);
    vehicles_ = new QComboBox(this);
    connect(vehicles_, &QComboBox::currentIndexChanged, this, &record_page::change_vehicle);
    new_button_ = new skin_button(prog.skin, this);
    connect(new_button_, &QAbstractButton::clicked, this, &record_page::start_new);
    menu_button_ = new skin_button(prog.skin, this);
    menu_button_->setText(translated(u"Menu"));
    connect(menu_button_, &QAbstractButton::clicked, this, &record_page::open_page_menu);
}

void record_page::build(record_list_base* list, std::u16string_view button_key,
                        const std::array<column, 4>& columns, int stretch_column) {
    list_ = list;
    list_->setParent(this);
    new_button_->setText(translated(button_key));
    for (int c = 0; c < 4; ++c) {
        list_->set_column(c, columns[static_cast<std::size_t>(c)].title_key,
                          columns[static_cast<std::size_t>(c)].width);
        column_widths_[static_cast<std::size_t>(c)] = columns[static_cast<std::size_t>(c)].width;
    }
    stretch_column_ = stretch_column;
    list_->set_stretch_column(stretch_column, 10);
    connect(list_, &record_list_base::command, this, &record_page::run_command);
    connect(list_, &record_list_base::edit_requested, this, &record_page::edit_selected);
    connect(list_, &record_list_base::delete_requested, this, &record_page::delete_selected);
    setFocusProxy(list_);

    refresh();
    if (list_->row_count() > 0) list_->select_row(0);
    set_screen_size(base_width, 320);
}

void record_page::set_screen_size(int width, int height) {
    if (!list_) return;
    // The controls and the columns grow with the screen as the text does.
    auto grown = [&](int length) { return scaled_length(length, width, height); };
    setFont(device_font({u"Arial", scaled_font_size(12, width, height)}));
    const int row_height = grown(record_page::row_height);
    const int bottom = shown_height(width, height) - row_height - 3;
    list_->setGeometry(0, 0, width, std::max(row_height, bottom - 2));
    for (int c = 0; c < 4; ++c)
        if (c != stretch_column_)
            list_->set_column_width(c, grown(column_widths_[static_cast<std::size_t>(c)]));
    // A date is read whole: its column is never narrower than the widest date.
    list_->set_column_width(date_column,
                            std::max(list_->column_width(date_column), list_->widest_date() + 6));
    list_->set_stretch_column(stretch_column_, 10);

    // The label keeps its text whole (a translation may be longer); the
    // vehicle list gives up the room.
    const int label_width = std::max(grown(34), auto_label_->sizeHint().width());
    // The buttons keep their captions whole too; the vehicle list gives up the room.
    const int button_width = std::max(grown(46), new_button_->caption_width());
    const int menu_width = std::max(grown(44), menu_button_->caption_width());
    auto_label_->setGeometry(2, bottom, label_width, row_height);
    const int chooser_width = std::max(40, width - label_width - button_width - menu_width - 10);
    vehicles_->setGeometry(label_width + 4, bottom, chooser_width, row_height);
    fit_account_combo(*vehicles_, scaled_font_size(12, width, height));
    new_button_->setGeometry(width - button_width - menu_width - 4, bottom, button_width,
                             row_height);
    menu_button_->setGeometry(width - menu_width - 2, bottom, menu_width, row_height);
}

void record_page::refresh() {
    refresh_titles();
    fill_account_combo(*vehicles_, prog_.config);
    fit_account_combo(*vehicles_, scaled_font_size(12));
    // Always the store's own count: a list that kept rows of the account
    // shown before would draw records that are not there.
    list_->set_row_count(record_count());
    // An empty page tells a new owner where to begin.
    if (account_open())
        list_->set_empty_hint(u"Nothing here yet: tap the button below to add the first entry.");
    else
        list_->set_empty_hint(
            u"No vehicle is open yet: add or open one on the accounts page (the car tab).");
}

void record_page::change_vehicle(int index) {
    if (index < 0) return;
    const std::u16string name = vehicles_->itemText(index).toStdU16String();
    if (name == prog_.config.current_account()) return;
    // A damaged file or a failed save has been shown by its store.
    (void)prog_.config.open_account(name);
    refresh();
    list_->select_row(list_->row_count() > 0 ? 0 : -1);
}

void record_page::show_row_of(const std::u16string& key) {
    if (key.empty()) return;
    const int position = position_of(key);
    if (position >= 0) list_->select_row(record_count() - 1 - position);
}

int record_page::chosen_position() const {
    return record_count() - 1 - list_->selected_row();
}

bool record_page::entry_chosen() const {
    return list_->row_count() > 0 && list_->selected_row() >= 0;
}

void record_page::start_new() {
    if (!account_open()) {
        show_message(msg_open_account_first);
        return;
    }
    const std::u16string key = run_editor(-1);
    refresh();
    show_row_of(key);
}

void record_page::edit_chosen() {
    const std::u16string key = run_editor(chosen_position());
    refresh();
    // An edit may move the record to another place in date order.
    show_row_of(key);
}

void record_page::delete_chosen() {
    // A deletion the file did not take is made in the list all the same: the
    // store has told the owner and owes its file a full save.
    (void)delete_position(chosen_position());
}

void record_page::run_command(int command) {
    switch (command) {
        case record_list_base::cmd_first:
            start_new();
            return;
        case record_list_base::cmd_edit:
            edit_selected();
            return;
        case record_list_base::cmd_delete:
            delete_selected();
            return;
        case cmd_back:
            // Back to the page shown before, as the back button of the tab band.
            emit back_wanted();
            return;
    }
    list_page::run_command(command);
}

void record_page::open_page_menu() {
    const int chosen = popup_menu_above(
        menu_button_,
        {menu_command(u"New", cmd_new), menu_command(u"Edit", cmd_edit),
         menu_command(u"Delete", cmd_delete), menu_separator(), menu_command(u"Back", cmd_back)});
    if (chosen != 0) run_command(chosen);
}

}  // namespace kelvane
