#include "gui/accounts/accounts_page.h"

#include <QKeyEvent>

#include "core/accounts/account_editing.h"
#include "core/accounts/account_figures.h"
#include "core/accounts/account_summary_row.h"
#include "core/common/scaled_font.h"
#include "core/common/text.h"
#include "gui/accounts/account_editor.h"
#include "gui/accounts/account_list.h"
#include "gui/shell/program.h"
#include "gui/widgets/menu_items.h"
#include "gui/widgets/owner_messages.h"
#include "gui/widgets/skin_button.h"
#include "gui/widgets/tap_and_hold.h"
#include "gui/widgets/text_label.h"
#include "platform/qt/modal_service.h"
#include "platform/screen_scale.h"

namespace kelvane {

namespace {

constexpr int bottom_strip = 28;

}  // namespace

accounts_page::accounts_page(program& prog, QWidget* parent)
    : main_page(prog, page_id::accounts, parent) {
    list_ = new account_list(this);
    add_button_ = new skin_button(prog.skin, this);
    add_button_->set_text(kelvane::tr(u"Add Auto"));
    add_button_->setFocusPolicy(Qt::NoFocus);
    total_ = new text_label(prog.skin, this);
    total_->icon = false;
    total_->font_face = u"Arial";
    total_->align = text_label::left_single;
    total_->background = rgb(255, 255, 255);
    connect(add_button_, &QAbstractButton::clicked, this, [this] { run_command(cmd_add_button); });
    connect(list_, &account_list::tapped, this, [this](int row) { tap(row); });
    connect(list_, &account_list::edit_requested, this, [this] { edit_account_dialog(); });
    on_tap_and_hold(list_, [this](QPoint at) { hold(at); });
    setFocusProxy(list_);
    set_screen_size(240, 320);
}

void accounts_page::set_screen_size(int width, int height) {
    // The page lies below the tab band and above the menu bar; it reaches
    // past the screen's edges, so it is laid out for the part that shows.
    // The strip below the list grows with the screen as its text does.
    const int strip = scaled_length(bottom_strip, width, height);
    const int w = std::max(1, width);
    const int h = std::max(strip + 1, shown_height(width, height));
    list_->setGeometry(0, 0, w, h - strip);
    const int font = scaled_font_size(13);
    add_button_->font_size = font;
    // The button keeps its caption whole (a translation may be longer); the
    // total beside it gives up the room, up to half the width.
    const int button_w =
        std::min(std::max(scaled_length(82, width, height), add_button_->caption_width()), w / 2);
    total_->font_height = font;
    total_->setGeometry(2, h - strip + 2, std::max(0, w - button_w - 6), strip - 4);
    add_button_->setGeometry(w - button_w - 2, h - strip + 2, button_w, strip - 4);
}

void accounts_page::refresh_selecting(std::u16string_view name) {
    const std::u16string kept = name.empty() ? list_->selected_name() : std::u16string(name);
    std::vector<account_summary_row> rows;
    const double total = prog_.config.fill_account_summary(rows);
    const std::u16string open = prog_.fuel.account_name();
    // The open account's jobs as held, with changes not yet written; the
    // others' from their files, read again only when those change.
    for (auto& row : rows)
        row.service_due =
            row.name == open
                ? !figures_of(prog_.fuel, prog_.service, prog_.fees, prog_.margins).due.empty()
                : !prog_.account_cache.of(prog_.config.data_folder(), row.name, prog_.margins)
                       .due.empty();
    list_->set_rows(std::move(rows));
    list_->set_open_account(open);
    // The selection survives the refresh where it can, so that "Edit" and
    // "Delete" work right after an account was added or changed.
    int select = -1;
    for (int i = 0; i < list_->row_count(); ++i) {
        const auto& name = list_->rows()[static_cast<std::size_t>(i)].name;
        if (name == kept) select = i;
        if (select < 0 && name == open) select = i;
    }
    if (select < 0 && list_->row_count() > 0) select = 0;
    list_->select_row(select);
    total_->set_text(kelvane::tr(u"Total Cost") + u": " + format("%.2f", total));
}

void accounts_page::tap(int row) {
    if (row < 0) {
        show_message(u"Please choose a vehicle.");
        return;
    }
    // A damaged file or a failed save has been shown by its store.
    (void)prog_.config.open_account(list_->selected_name());
    list_->set_open_account(prog_.fuel.account_name());
}

void accounts_page::hold(QPoint at) {
    const int row = list_->row_at(at);
    if (row >= 0) list_->select_row(row);
    const bool selected = list_->selected() >= 0;
    std::vector<soft_menu_item> items;
    if (selected) items.push_back(menu_command(u"Open", cmd_open));
    items.push_back(menu_command(u"Add Auto", cmd_add));
    if (selected) {
        items.push_back(menu_command(u"Edit", cmd_edit));
        items.push_back(menu_command(u"Delete", cmd_delete));
    }
    if (const int chosen = popup_menu(list_, at, items)) run_command(chosen);
}

void accounts_page::run_command(int command) {
    switch (command) {
        case cmd_add:
        case cmd_add_button:
            add_account_dialog();
            return;
        case cmd_edit:
            edit_account_dialog();
            return;
        case cmd_delete:
            delete_selected_account();
            return;
        case cmd_open:
            open_selected_and_show_fuel();
            return;
    }
}

void accounts_page::add_account_dialog() {
    account_editor editor(prog_, account_editor::mode::add, {});
    editor.exec();
    // A new account is the selected one afterwards.
    refresh_selecting(editor.resulting_name());
}

void accounts_page::edit_account_dialog() {
    const std::u16string name = list_->selected_name();
    if (name.empty()) {
        show_message(u"Please choose an account.");
        return;
    }
    account_editor editor(prog_, account_editor::mode::edit,
                          read_account_settings(prog_.config, name));
    editor.exec();
    refresh();
    // The edited account is the open one afterwards, whether saved or not.
    if (!editor.resulting_name().empty()) {
        // A damaged file or a failed save has been shown by its store.
        (void)prog_.config.open_account(editor.resulting_name());
        list_->set_open_account(prog_.fuel.account_name());
    }
}

void accounts_page::delete_selected_account() {
    const std::u16string name = list_->selected_name();
    if (name.empty()) {
        show_message(u"Please choose an account.");
        return;
    }
    if (show_message(msg_confirm_delete, message_buttons::yes_no) == message_answer::no) return;
    // A file that could not be written has been shown by its store; a
    // vehicle whose files could not move into "Deleted" stays, as the
    // owner was told.
    (void)delete_account_and_trips(prog_.config,
                                   {prog_.fuel, prog_.service, prog_.fees, prog_.trips}, name);
    refresh();
}

void accounts_page::open_selected_and_show_fuel() {
    const std::u16string name = list_->selected_name();
    if (name.empty()) {
        show_message(u"Please choose a vehicle.");
        return;
    }
    // A damaged file or a failed save has been shown by its store.
    (void)prog_.config.open_account(name);
    emit page_wanted(page_id::fuel);
}

void accounts_page::keyPressEvent(QKeyEvent* e) {
    const int key = e->key();
    if (key != Qt::Key_Left && key != Qt::Key_Right) {
        main_page::keyPressEvent(e);
        return;
    }
    // The page keys step through the pages without touching the page the
    // back button returns to.
    emit turn_wanted(key == Qt::Key_Left ? -1 : 1);
}

}  // namespace kelvane
