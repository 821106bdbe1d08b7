#pragma once
// The editor of one fill-up. Unit price, cost and quantity follow each other
// as the owner types, "Full Tank" fills the gauge with the tank's capacity,
// and a new fill-up starts from the last price and fuel type.

#include "core/records/fuel_entry.h"
#include "core/stores/fuel_store.h"
#include "gui/records/record_editor.h"

class QComboBox;

namespace kelvane {

class fuel_editor : public store_record_editor<fuel_store> {
    Q_OBJECT
public:
    // A new fill-up.
    explicit fuel_editor(program& prog, QWidget* parent = nullptr);
    // The stored fill-up with this key.
    fuel_editor(program& prog, std::u16string key, const fuel_record& record,
                QWidget* parent = nullptr);

    edit_box& unit_price_box() { return *price_; }
    edit_box& quantity_box() { return *quantity_; }
    edit_box& gauge_box() { return *gauge_; }
    edit_box& note_box() { return *note_; }
    QComboBox& fuel_type_box() { return *type_; }
    skin_button& full_tank_button() { return *full_tank_; }

    // What the boxes hold now.
    fuel_entry entry() const;

protected:
    void build_rows() override;
    bool write_record() override;
    void place_focus() override;

private:
    void recalculate(fuel_entry::box changed);
    edit_box* box_of(fuel_entry::box b) const;

    edit_box* price_ = nullptr;
    edit_box* quantity_ = nullptr;
    edit_box* gauge_ = nullptr;
    edit_box* note_ = nullptr;
    QComboBox* type_ = nullptr;
    skin_button* full_tank_ = nullptr;
};

}  // namespace kelvane
