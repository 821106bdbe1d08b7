#pragma once
// What the fuel, repair and fees pages share: the record list over the
// page's store, the "Auto:" vehicle chooser, the button that starts a new
// record and the page's own menu with New, Edit, Delete and Back ("Back" has
// the number of the main menu's "Options"; the page keeps it to itself).

#include <QComboBox>
#include <QLabel>
#include <array>
#include <string>

#include "core/records/record_writes.h"
#include "gui/records/record_list.h"
#include "gui/shell/list_page.h"

namespace kelvane {

class skin_button;

class record_page : public list_page {
    Q_OBJECT
public:
    static constexpr int cmd_back = 32778;
    // The height of the controls below the list on a 240 x 320 screen.
    static constexpr int row_height = 22;
    // Every record list shows the record's date in its last column.
    static constexpr int date_column = 3;

    void set_screen_size(int width, int height) override;
    void refresh() override;
    void start_new() override;
    // A command of the page's menu or of its list's pop-up menu.
    void run_command(int command) override;
    // The page's menu, as its Menu button opens it.
    void open_page_menu();

    record_list_base& list() { return *list_; }
    QComboBox& vehicle_chooser() { return *vehicles_; }
    skin_button& new_button() { return *new_button_; }
    skin_button& menu_button() { return *menu_button_; }

protected:
    struct column {
        std::u16string_view title_key;
        int width;  // on a 240-pixel-wide screen
    };

    record_page(program& prog, page_id id, QWidget* parent);
    // Sets the page up around its list; the stretch column takes up the
    // width a wider screen adds.
    void build(record_list_base* list, std::u16string_view button_key,
               const std::array<column, 4>& columns, int stretch_column);

    // The number of records in the page's store.
    virtual int record_count() const = 0;
    // True when the store holds an account's records (an account is open).
    virtual bool account_open() const = 0;
    // Runs the editor on a new record (position -1) or on the record at a
    // position; the key of the record it left behind, empty when none.
    virtual std::u16string run_editor(int position) = 0;
    // True when the store's file took the deletion.
    virtual bool delete_position(int position) = 0;
    virtual int position_of(std::u16string_view key) const = 0;
    // Column titles that follow the account (the fuel economy figure).
    virtual void refresh_titles() {}

    bool entry_chosen() const override;
    void edit_chosen() override;
    void delete_chosen() override;

private:
    void change_vehicle(int index);
    void show_row_of(const std::u16string& key);
    // The store position of the chosen row.
    int chosen_position() const;

    record_list_base* list_ = nullptr;
    std::array<int, 4> column_widths_{};  // on a 240-pixel-wide screen
    int stretch_column_ = -1;
    QLabel* auto_label_;
    QComboBox* vehicles_;
    skin_button* new_button_;
    skin_button* menu_button_;
};

// A record page over one store and its editor.
template <class Store, class Editor>
class store_page : public record_page {
protected:
    store_page(program& prog, page_id id, Store& store, QWidget* parent)
        : record_page(prog, id, parent), store_(store) {}

    int record_count() const override { return store_.record_count(); }
    bool account_open() const override { return !store_.account_name().empty(); }
    std::u16string run_editor(int position) override {
        if (position < 0) {
            Editor editor(prog_);
            editor.exec();
            return editor.key();
        }
        Editor editor(prog_, fixed_text(store_.record_at(position).key),
                      store_.copy_record(position));
        editor.exec();
        return editor.key();
    }
    bool delete_position(int position) override {
        return delete_record_at_position(store_, position);
    }
    int position_of(std::u16string_view key) const override { return position_of_key(store_, key); }

    Store& store_;
};

}  // namespace kelvane
