#pragma once
// The trips page (page 3 of the main screen): every trip with what it cost
// and how far it went, rebuilt from the vehicles' records whenever a store
// has changed. New, edit and delete work from the button, the menus, a tap
// and hold, a double tap and Enter.

#include "gui/shell/list_page.h"

class QComboBox;
class QLabel;

namespace kelvane {

class skin_button;
class text_label;
class trip_list;

class trips_page : public list_page {
    Q_OBJECT
public:
    trips_page(program& prog, QWidget* parent);

    void set_screen_size(int width, int height) override;
    void refresh() override;
    void start_new() override;

    trip_list& list() { return *list_; }
    QComboBox& vehicle_chooser() { return *chooser_; }

protected:
    bool entry_chosen() const override;
    void edit_chosen() override;
    void delete_chosen() override;

private:
    void rebuild();
    void fit_columns();
    void context_menu(QPoint at);
    void vehicle_chosen(int index);

    trip_list* list_;
    text_label* progress_;
    skin_button* add_;
    QLabel* chooser_label_;
    QComboBox* chooser_;
    int width_ = 240;
    int height_ = 320;
};

}  // namespace kelvane
