#pragma once
// The trips page (page 3 of the main screen): every trip with what it cost
// and how far it went, rebuilt from the vehicles' records whenever a store
// has changed. New, edit and delete work from the button, the menus, a tap
// and hold, a double tap and Enter.

#include "gui/shell/main_page.h"

class QComboBox;
class QLabel;

namespace kelvane {

class skin_button;
class text_label;
class trip_list;

class trips_page : public main_page {
    Q_OBJECT
public:
    static constexpr int page_index = 3;
    // The page's own commands (button, context menu).
    static constexpr int cmd_new = 32776;
    static constexpr int cmd_delete = 32795;
    static constexpr int cmd_edit = 32797;

    trips_page(program& prog, QWidget* parent);

    void set_screen_size(int width, int height) override;
    void refresh() override;
    void start_new() override;
    void edit_selected() override;
    void delete_selected();
    void run_command(int command);

    trip_list& list() { return *list_; }
    QComboBox& vehicle_chooser() { return *chooser_; }

private:
    void rebuild();
    void context_menu(QPoint at);
    void vehicle_chosen(int index);
    // The trip of the chosen row, copied; false (with the message) when no
    // row is chosen.
    bool selected_trip(int& index);

    trip_list* list_;
    text_label* progress_;
    skin_button* add_;
    QLabel* chooser_label_;
    QComboBox* chooser_;
};

}  // namespace kelvane
