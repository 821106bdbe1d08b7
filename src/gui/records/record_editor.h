#pragma once
// What the fuel, repair and fees editors share: a full-screen form of
// labelled boxes (scrolling when the screen is short), the Add or Save,
// Cancel and Delete buttons and menu, the calculator buttons beside number
// boxes, and the save that keeps the editor open when the store's file did
// not take the record, so that nothing typed is lost.

#include <QLabel>
#include <string>

#include "core/records/record_writes.h"
#include "platform/qt/device_dialog.h"

class QGridLayout;
class QScrollArea;

namespace kelvane {

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

protected:
    // An empty key opens the editor for a new record.
    record_editor(program& prog, std::u16string key, QWidget* parent);

    // Adds the editor's rows to the form (once, when the editor opens).
    virtual void build_rows() = 0;
    // Puts the typed values into the record and hands it to the store; true
    // when the record reached the store's file.
    virtual bool write_record() = 0;
    // Removes the record with key() from the store.
    virtual void delete_from_store() = 0;
    // Where the owner starts typing, once the editor is on screen.
    virtual void place_focus() = 0;

    // Form rows: the label, the field beside it and, for number boxes, the
    // unit text and a calculator button after the field. Returns the label.
    QLabel* add_row(std::u16string_view label_key, QWidget* field, QWidget* unit = nullptr,
                    QWidget* tool = nullptr);
    // A row holding one widget across the whole width.
    void add_wide_row(QWidget* field);
    // A number box with the editors' look; kept_tail leaves a mileage's last
    // digits out of the first selection.
    edit_box* number_box(int kept_tail = 0);
    edit_box* text_box(int max_length);
    QLabel* unit_label(std::u16string_view text);
    // The small button that opens the calculator on the box.
    skin_button* calculator_button(edit_box* box);
    // The repair and fees editors show their Delete button in red.
    bool red_delete_button = false;

    // Stores the record through the store's one write path.
    template <class Store>
    bool store_record(Store& store, const typename Store::record_type& record) {
        return save_record(store, key_, record);
    }

    program& prog_;
    QWidget* form_;

    void init_dialog() override;
    void on_command(int command) override;
    void on_timer(int id) override;
    void on_size(int width, int height) override;

private:
    static constexpr int focus_timer = 1;

    void paint_delete_red();

    bool adding_;
    std::u16string key_;
    QScrollArea* scroll_;
    QGridLayout* grid_;
    int rows_ = 0;
    skin_button* save_ = nullptr;
    skin_button* cancel_ = nullptr;
    skin_button* delete_ = nullptr;
};

}  // namespace kelvane
