#pragma once
// The trip editor: a trip's description, its vehicles (chosen with the
// vehicle picker) and, each used only when its box is checked, a start and
// end mileage and a start and end date. "Add" or "Save" keeps the trip once
// it passes the checks; "Delete" removes an edited trip after asking.

#include <string>
#include <vector>

#include "core/stores/trip_store.h"
#include "core/trips/trip_editing.h"
#include "gui/widgets/range_fields.h"
#include "platform/qt/device_dialog.h"

class QLabel;

namespace kelvane {

class skin_button;
struct program;

class trip_editor : public device_dialog {
    Q_OBJECT
public:
    static constexpr int cmd_save = 32788;
    static constexpr int cmd_cancel = 32789;
    static constexpr int cmd_delete = 32793;
    static constexpr int cmd_choose_vehicles = 1015;

    // A new trip.
    explicit trip_editor(program& prog, QWidget* parent = nullptr);
    // An existing trip, copied.
    trip_editor(program& prog, const trip_record& trip, QWidget* parent = nullptr);

    bool editing() const { return editing_; }

    const std::vector<std::u16string>& vehicles() const { return vehicles_; }
    std::u16string vehicle_button_text() const;

    edit_box& description() { return *description_; }
    skin_button& vehicle_button() { return *vehicle_button_; }
    const range_fields& range() const { return range_; }

protected:
    void init_dialog() override;
    void on_command(int command) override;
    void on_timer(int id) override;
    void on_size(int width, int height) override;

private:
    trip_editor(program& prog, bool editing, const trip_record& trip, QWidget* parent);
    void save();
    void remove();
    void choose_vehicles();
    trip_form read_form() const;

    program& prog_;
    bool editing_;
    trip_record trip_{};
    std::vector<std::u16string> vehicles_;

    // Made in this order, which is the order of the Tab key.
    QLabel* description_label_;
    edit_box* description_;
    QLabel* vehicles_label_;
    skin_button* vehicle_button_;
    range_fields range_;
    skin_button* save_button_;
    skin_button* cancel_button_;
    skin_button* delete_button_;
};

// The vehicle button's text: the names joined by ",", cut after 30
// characters with "...", or the invitation to choose when there are none.
std::u16string vehicle_button_text(const std::vector<std::u16string>& names);

}  // namespace kelvane
