#include "gui/records/fuel_editor.h"

#include <QComboBox>
#include <QLineEdit>

#include "core/accounts/units.h"
#include "gui/shell/program.h"
#include "gui/widgets/date_picker.h"
#include "gui/widgets/edit_box.h"
#include "gui/widgets/skin_button.h"
#include "gui/widgets/translated.h"
#include "platform/services.h"

namespace kelvane {

fuel_editor::fuel_editor(program& prog, QWidget* parent)
    : store_record_editor(prog, prog.fuel, {}, {}, false, parent) {}

fuel_editor::fuel_editor(program& prog, std::u16string key, const fuel_record& record,
                         QWidget* parent)
    : store_record_editor(prog, prog.fuel, std::move(key), record, false, parent) {}

void fuel_editor::build_rows() {
    const fuel_header& account = prog_.fuel.header();

    price_ = add_number_row(u"Fuel Unit Price:", fixed_text(account.currency));
    price_->decimals = 3;
    add_cost_row(u"Fuel Cost:");
    quantity_ = add_number_row(u"Fuel Purchased:", kelvane::tr(fixed_text(account.fuel_unit)));
    add_mileage_row(kelvane::tr(fixed_text(account.mileage_unit)));
    gauge_ = number_box();
    full_tank_ = new skin_button(prog_.skin, form_);
    full_tank_->setText(translated(u"Full Tank"));
    // The button shares the unit names' column: the column widens to the
    // caption where the screen allows, and never below the caption written
    // at its smallest, so the button is always there to tap.
    full_tank_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    connect(full_tank_, &QAbstractButton::clicked, this,
            [this] { gauge_->set_text(fuel_entry::full_tank(prog_.fuel.header())); });
    add_row(u"Fuel Gauge:", gauge_, full_tank_, calculator_button(gauge_));

    type_ = new QComboBox(form_);
    type_->setEditable(true);
    type_->lineEdit()->setMaxLength(fuel_type_length);
    for (std::u16string_view name : fuel_type_names) type_->addItem(translated(name));
    add_row(u"Fuel Type:", type_);
    add_date_row(shown_date());
    note_ = text_box(fuel_note_length);
    add_row(u"Note:", note_);

    // The boxes are filled before they are watched: a stored fill-up shows
    // its own quantity, not one worked out again from its price.
    const fuel_entry e = adding() ? fuel_entry::for_new(account) : fuel_entry::of(record_);
    gauge_->set_text(e.gauge);
    quantity_->set_text(e.quantity);
    mileage_->set_text(e.mileage);
    cost_->set_text(e.cost);
    price_->set_text(e.unit_price);
    type_->setEditText(to_qstring(e.fuel_type));
    note_->set_text(e.note);

    for (auto b : {fuel_entry::box::unit_price, fuel_entry::box::cost, fuel_entry::box::quantity})
        connect(box_of(b), &edit_box::changed, this, [this, b] { recalculate(b); });
    cost_->setFocus();
}

edit_box* fuel_editor::box_of(fuel_entry::box b) const {
    switch (b) {
        case fuel_entry::box::unit_price:
            return price_;
        case fuel_entry::box::cost:
            return cost_;
        case fuel_entry::box::quantity:
            return quantity_;
    }
    return nullptr;
}

fuel_entry fuel_editor::entry() const {
    fuel_entry e;
    e.unit_price = price_->get_text();
    e.cost = cost_->get_text();
    e.quantity = quantity_->get_text();
    e.mileage = mileage_->get_text();
    e.gauge = gauge_->get_text();
    e.fuel_type = type_->currentText().toStdU16String();
    e.note = note_->get_text();
    return e;
}

void fuel_editor::recalculate(fuel_entry::box changed) {
    fuel_entry e = entry();
    const auto target = e.recalculate(changed);
    if (!target) return;
    // Setting a box's text is not the owner typing: it recalculates nothing further.
    box_of(*target)->set_text(*target == fuel_entry::box::cost ? e.cost : e.quantity);
}

void fuel_editor::place_focus() {
    cost_->setFocus();
    // With the price carried over, the owner types the amount paid.
    if (!price_->get_text().empty()) cost_->select_initial();
}

bool fuel_editor::write_record() {
    entry().apply_to(record_, store_.header(), date_->value());
    return keep_record();
}

}  // namespace kelvane
