#pragma once
// Page 5 of the main screen: every vehicle account with its total mileage
// and total cost, the sum of all costs, and the commands to open, add, edit
// and delete an account.

#include "gui/shell/main_page.h"

namespace kelvane {

class account_list;
class skin_button;
class text_label;

class accounts_page : public main_page {
    Q_OBJECT
public:
    // The commands of the page's pop-up menu and its button.
    static constexpr int cmd_add = 2024;
    static constexpr int cmd_edit = 2025;
    static constexpr int cmd_delete = 2026;
    static constexpr int cmd_open = 2030;
    static constexpr int cmd_add_button = 1001;

    accounts_page(program& prog, QWidget* parent);

    void set_screen_size(int width, int height) override;
    // Fills the list from the accounts' files and shows the total cost; the
    // selected row stays selected.
    void refresh() override { refresh_selecting({}); }
    void start_new() override { add_account_dialog(); }
    void edit_selected() override { edit_account_dialog(); }

    void add_account_dialog();
    void edit_account_dialog();
    void delete_selected_account();
    // The selected account becomes the open one and the fuel page is shown.
    void open_selected_and_show_fuel();
    void run_command(int command);
    skin_button& add_button() { return *add_button_; }

    account_list& list() { return *list_; }
    const text_label& total_label() const { return *total_; }

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    // The same, selecting the named account's row (the selected one when empty).
    void refresh_selecting(std::u16string_view name);
    void tap(int row);
    void hold(QPoint at);

    account_list* list_;
    skin_button* add_button_;
    text_label* total_;
};

}  // namespace kelvane
