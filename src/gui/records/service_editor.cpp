#include "gui/records/service_editor.h"

#include <QCheckBox>

#include "gui/shell/program.h"
#include "gui/widgets/date_picker.h"
#include "gui/widgets/edit_box.h"
#include "gui/widgets/skin_button.h"
#include "gui/widgets/translated.h"
#include "platform/services.h"

namespace kelvane {

service_editor::service_editor(program& prog, QWidget* parent) : record_editor(prog, {}, parent) {
    red_delete_button = true;
    record_.repair_flag = 1;
}

service_editor::service_editor(program& prog, std::u16string key, const service_record& record,
                               QWidget* parent)
    : record_editor(prog, std::move(key), parent), record_(record) {
    red_delete_button = true;
}

void service_editor::build_rows() {
    const fuel_header& account = prog_.fuel.header();
    const std::u16string mileage_unit = kelvane::tr(fixed_text(account.mileage_unit));

    mileage_ = number_box(5);
    add_row(u"Mileage:", mileage_, unit_label(mileage_unit), calculator_button(mileage_));
    cost_ = number_box();
    add_row(u"Cost:", cost_, unit_label(fixed_text(account.currency)), calculator_button(cost_));
    description_ = text_box(service_description_length);
    add_row(u"Description:", description_);
    date_ = new date_picker(date_picker::shows::date_and_time, form_);
    add_row(u"Date:", date_);

    maintenance_box_ = new QCheckBox(translated(u"Maintenance"), form_);
    add_wide_row(maintenance_box_);
    next_ = number_box(5);
    QWidget* unit = unit_label(mileage_unit);
    QWidget* calc = calculator_button(next_);
    QLabel* label = add_row(u"Next Service:", next_, unit, calc);
    next_group_ = {label, next_, unit, calc};
    connect(maintenance_box_, &QCheckBox::toggled, this, [this](bool on) {
        if (!on) return;
        show_next_service(true);
        next_->setFocus();
        next_->select_initial();
    });

    const service_entry e =
        adding() ? service_entry::for_new(account.current_mileage) : service_entry::of(record_);
    mileage_->set_text(e.mileage);
    next_->set_text(e.next_service);
    if (!adding()) {
        cost_->set_text(e.cost);
        description_->set_text(e.description);
    }
    date_->set_value(adding() ? device_clock().now() : record_date(record_));
    show_next_service(e.maintenance);
}

void service_editor::show_next_service(bool shown) {
    // Once a job is maintenance it stays so: the check box goes away.
    maintenance_ = shown;
    for (QWidget* w : next_group_) w->setVisible(shown);
    maintenance_box_->setVisible(!shown);
}

service_entry service_editor::entry() const {
    service_entry e;
    e.mileage = mileage_->get_text();
    e.cost = cost_->get_text();
    e.next_service = next_->get_text();
    e.description = description_->get_text();
    e.maintenance = maintenance_;
    return e;
}

void service_editor::place_focus() {
    mileage_->setFocus();
    mileage_->select_initial();
}

bool service_editor::write_record() {
    entry().apply_to(record_, date_->value());
    return store_record(prog_.service, record_);
}

void service_editor::delete_from_store() {
    delete_record_by_key(prog_.service, key());
}

}  // namespace kelvane
