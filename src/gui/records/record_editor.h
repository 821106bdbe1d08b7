#pragma once
// What the fuel, repair and fees editors share: a full-screen form of
// labelled boxes (scrolling when the screen is short), the Add or Save,
// Cancel and Delete buttons and menu, the calculator buttons beside number
// boxes, and the save that keeps the editor open when the store's file did
// not take the record, so that nothing typed is lost.

#include <QLabel>
#include <string>
#include <vector>

#include "core/records/record_fields.h"
#include "core/records/record_writes.h"
#include "gui/widgets/edit_box.h"
#include "gui/widgets/form_grid.h"
#include "platform/qt/device_dialog.h"
#include "platform/services.h"

namespace kelvane {

class date_picker;
class edit_box;
class skin_button;
struct program;

class record_editor : public device_dialog {
    Q_OBJECT
public:
    static constexpr int cmd_save = 32788;
    static constexpr int cmd_cancel = 32789;
    static constexpr int cmd_delete = 32793;

    // True for a new record, false when editing a stored one.
    bool adding() const { return adding_; }
    // The key of the record edited, or of the record this editor added;
    // empty while nothing was added.
    const std::u16string& key() const { return key_; }

    skin_button& save_button() { return *save_; }
    skin_button& cancel_button() { return *cancel_; }
    skin_button& delete_button() { return *delete_; }
    // The boxes every kind of record has.
    edit_box& mileage_box() { return *mileage_; }
    edit_box& cost_box() { return *cost_; }
    date_picker& date_box() { return *date_; }

protected:
    // An empty key opens the editor for a new record. The repair and fees
    // editors show their Delete button in red.
    record_editor(program& prog, std::u16string key, bool red_delete, QWidget* parent);

    // Adds the editor's rows to the form (once, when the editor opens).
    virtual void build_rows() = 0;
    // Puts the typed values into the record and hands it to the store; true
    // when the record reached the store's file.
    virtual bool write_record() = 0;
    // Removes the record with key() from the store; true when its file took
    // the change.
    virtual bool delete_from_store() = 0;
    // Where the owner starts typing, once the editor is on screen: the
    // mileage, its last digits kept out of the selection.
    virtual void place_focus();

    // Form rows: the label, the field beside it and, for number boxes, the
    // unit text and a calculator button after the field. Returns the label.
    QLabel* add_row(std::u16string_view label_key, QWidget* field, QWidget* unit = nullptr,
                    QWidget* tool = nullptr);
    // A row holding one widget across the whole width.
    void add_wide_row(QWidget* field);
    // A number box with its unit and calculator button; kept_tail leaves a
    // mileage's last digits out of the first selection. Returns the box,
    // and the row's label, unit and button in `row` when asked.
    edit_box* add_number_row(std::u16string_view label_key, std::u16string_view unit,
                             int kept_tail = 0, std::vector<QWidget*>* row = nullptr);
    // The mileage (in the account's unit, translated by the editor) and the
    // amount paid (in the account's currency).
    void add_mileage_row(std::u16string_view unit);
    void add_cost_row(std::u16string_view label_key);
    // The date and time of the record.
    void add_date_row(const local_time& shown);
    // A number box with the editors' look.
    edit_box* number_box(int kept_tail = 0);
    edit_box* text_box(int max_length);
    QLabel* unit_label(std::u16string_view text);
    // The small button that opens the calculator on the box.
    skin_button* calculator_button(edit_box* box);

    // Stores the record through the store's one write path.
    template <class Store>
    bool store_record(Store& store, const typename Store::record_type& record) {
        return save_record(store, key_, record);
    }

    program& prog_;
    form_grid grid_;
    // The parent of the rows' widgets.
    QWidget* form_;
    edit_box* mileage_ = nullptr;
    edit_box* cost_ = nullptr;
    date_picker* date_ = nullptr;

    void init_dialog() override;
    void on_command(int command) override;
    void on_timer(int id) override;
    void on_size(int width, int height) override;

private:
    static constexpr int focus_timer = 1;

    void paint_delete_red();

    bool adding_;
    bool red_delete_;
    // The number boxes of the form with their labels, checked before a save.
    std::vector<labelled_number_box> number_rows_;
    std::u16string key_;
    skin_button* save_ = nullptr;
    skin_button* cancel_ = nullptr;
    skin_button* delete_ = nullptr;
};

// The editor of one record of a store: a copy of the stored record, or a
// new one, handed to the store by key.
template <class Store>
class store_record_editor : public record_editor {
public:
    using record_type = typename Store::record_type;

protected:
    store_record_editor(program& prog, Store& store, std::u16string key, const record_type& record,
                        bool red_delete, QWidget* parent)
        : record_editor(prog, std::move(key), red_delete, parent), store_(store), record_(record) {}

    // Where the date picker starts: now for a new record, else the record's date.
    local_time shown_date() const { return adding() ? device_clock().now() : record_date(record_); }
    bool keep_record() { return store_record(store_, record_); }
    bool delete_from_store() override { return delete_record_by_key(store_, key()); }

    Store& store_;
    record_type record_;
};

}  // namespace kelvane
