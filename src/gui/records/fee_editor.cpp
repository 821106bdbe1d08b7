#include "gui/records/fee_editor.h"

#include <QComboBox>
#include <QLineEdit>

#include "gui/shell/program.h"
#include "gui/widgets/date_picker.h"
#include "gui/widgets/edit_box.h"
#include "gui/widgets/skin_button.h"
#include "gui/widgets/translated.h"
#include "platform/services.h"

namespace kelvane {

fee_editor::fee_editor(program& prog, QWidget* parent) : record_editor(prog, {}, parent) {
    red_delete_button = true;
}

fee_editor::fee_editor(program& prog, std::u16string key, const fee_record& record, QWidget* parent)
    : record_editor(prog, std::move(key), parent), record_(record) {
    red_delete_button = true;
}

void fee_editor::build_rows() {
    const fuel_header& account = prog_.fuel.header();

    mileage_ = number_box(5);
    add_row(u"Mileage:", mileage_, unit_label(kelvane::tr(fixed_text(account.mileage_unit))),
            calculator_button(mileage_));
    cost_ = number_box();
    add_row(u"Cost:", cost_, unit_label(fixed_text(account.currency)), calculator_button(cost_));
    category_ = new QComboBox(form_);
    category_->setEditable(true);
    category_->setInsertPolicy(QComboBox::NoInsert);
    category_->lineEdit()->setMaxLength(fee_category_length);
    // Stored as shown: a preset in the language active when the fee is saved.
    for (std::u16string_view preset : fee_category_presets) category_->addItem(translated(preset));
    add_row(u"Category:", category_);
    description_ = text_box(fee_description_length);
    add_row(u"Description:", description_);
    date_ = new date_picker(date_picker::shows::date_and_time, form_);
    add_row(u"Date:", date_);

    const fee_entry e =
        adding() ? fee_entry::for_new(account.current_mileage) : fee_entry::of(record_);
    mileage_->set_text(e.mileage);
    if (adding()) {
        category_->setCurrentIndex(0);
    } else {
        cost_->set_text(e.cost);
        category_->setEditText(to_qstring(e.category));
        description_->set_text(e.description);
    }
    date_->set_value(adding() ? device_clock().now() : record_date(record_));
}

fee_entry fee_editor::entry() const {
    fee_entry e;
    e.mileage = mileage_->get_text();
    e.cost = cost_->get_text();
    e.category = category_->currentText().toStdU16String();
    e.description = description_->get_text();
    return e;
}

void fee_editor::place_focus() {
    mileage_->setFocus();
    mileage_->select_initial();
}

bool fee_editor::write_record() {
    entry().apply_to(record_, date_->value());
    return store_record(prog_.fees, record_);
}

void fee_editor::delete_from_store() {
    delete_record_by_key(prog_.fees, key());
}

}  // namespace kelvane
