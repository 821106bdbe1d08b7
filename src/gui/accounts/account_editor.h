#pragma once
// The account editor: adds a vehicle account, or changes one's name, units,
// starting values, currency, date and note, or deletes it. Numbers follow
// a change of unit at once, so what is shown is always in the units chosen.
// What a save or a delete does to the files is core's (account_editing.h).

#include <QLabel>
#include <string>

#include "core/accounts/account_editing.h"
#include "gui/widgets/form_grid.h"
#include "platform/qt/device_dialog.h"

class QComboBox;

namespace kelvane {

class date_picker;
class edit_box;
class skin_button;
class suggestion_dropdown;
struct program;

class account_editor : public device_dialog {
    Q_OBJECT
public:
    enum class mode { add, edit };

    static constexpr int cmd_save = 32788;
    static constexpr int cmd_cancel = 32789;
    static constexpr int cmd_delete = 32793;
    static constexpr int focus_timer = 1;

    // In edit mode `working` holds the account's settings and its name is the
    // opening name; in add mode it is ignored.
    account_editor(program& prog, mode m, account_settings working);

    // The account after the editor closed: the saved name, the opening name
    // after a cancel (or a refused save), empty after a delete.
    const std::u16string& resulting_name() const { return resulting_; }

    // The controls, for the owner's input in tests.
    edit_box& name_box() { return *name_; }
    edit_box& mileage_box() { return *mileage_; }
    edit_box& fuel_box() { return *fuel_; }
    edit_box& tank_box() { return *tank_; }
    edit_box& currency_box() { return *currency_; }
    edit_box& note_box() { return *note_; }
    QComboBox& mileage_units() { return *mileage_unit_; }
    QComboBox& fuel_units() { return *fuel_unit_; }
    QComboBox& economy_units() { return *economy_; }
    date_picker& date() { return *date_; }
    QString mileage_unit_label() const { return mileage_label_->text(); }
    QString fuel_unit_label() const { return fuel_label_->text(); }
    // The calculator buttons of the three number boxes, and the button that
    // takes the owner to the currency box.
    skin_button& calculator_button(edit_box& box);
    skin_button& currency_button() { return *currency_button_; }
    skin_button& delete_button() { return *delete_button_; }

protected:
    void init_dialog() override;
    void on_command(int command) override;
    void on_timer(int id) override;
    void on_size(int width, int height) override;

private:
    void mileage_unit_changed(int index);
    void fuel_unit_changed(int index);
    account_settings settings_from_boxes() const;
    void save();
    void remove();

    program& prog_;
    mode mode_;
    account_settings working_;
    std::u16string opening_;
    std::u16string resulting_;
    // The units the numbers in the boxes are written in right now.
    std::u16string mileage_in_force_, fuel_in_force_;
    // A new account's economy unit follows its units until the owner picks one.
    bool economy_follows_units_ = false;
    void follow_units_with_economy();

    form_grid grid_;
    edit_box *name_, *mileage_, *fuel_, *tank_, *currency_, *note_;
    QComboBox *mileage_unit_, *fuel_unit_, *economy_;
    date_picker* date_;
    QLabel *mileage_label_, *fuel_label_, *tank_label_, *hint_;
    skin_button *mileage_calc_, *fuel_calc_, *tank_calc_, *currency_button_;
    skin_button *ok_button_, *delete_button_, *cancel_button_;
    suggestion_dropdown* currencies_;
};

}  // namespace kelvane
