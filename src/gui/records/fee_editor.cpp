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

fee_editor::fee_editor(program& prog, QWidget* parent)
    : store_record_editor(prog, prog.fees, {}, {}, true, parent) {}

fee_editor::fee_editor(program& prog, std::u16string key, const fee_record& record, QWidget* parent)
    : store_record_editor(prog, prog.fees, std::move(key), record, true, parent) {}

void fee_editor::build_rows() {
    const fuel_header& account = prog_.fuel.header();

    add_mileage_row(kelvane::tr(fixed_text(account.mileage_unit)));
    add_cost_row(u"Cost:");
    category_ = new QComboBox(form_);
    category_->setEditable(true);
    category_->setInsertPolicy(QComboBox::NoInsert);
    category_->lineEdit()->setMaxLength(fee_category_length);
    // Stored as shown: a preset in the language active when the fee is saved.
    for (std::u16string_view preset : fee_category_presets) category_->addItem(translated(preset));
    add_row(u"Category:", category_);
    description_ = text_box(fee_description_length);
    add_row(u"Description:", description_);
    add_date_row(shown_date());

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
}

fee_entry fee_editor::entry() const {
    fee_entry e;
    e.mileage = mileage_->get_text();
    e.cost = cost_->get_text();
    e.category = category_->currentText().toStdU16String();
    e.description = description_->get_text();
    return e;
}

bool fee_editor::write_record() {
    entry().apply_to(record_, date_->value());
    return keep_record();
}

}  // namespace kelvane
