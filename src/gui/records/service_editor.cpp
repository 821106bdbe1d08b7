#include "gui/records/service_editor.h"

#include <QCheckBox>

#include "gui/shell/program.h"
#include "gui/widgets/date_picker.h"
#include "gui/widgets/edit_box.h"
#include "gui/widgets/skin_button.h"
#include "gui/widgets/translated.h"
#include "platform/services.h"

namespace kelvane {

namespace {

// A new job is a repair until it is ticked as maintenance.
service_record new_job() {
    service_record job{};
    job.repair_flag = 1;
    return job;
}

}  // namespace

service_editor::service_editor(program& prog, QWidget* parent)
    : store_record_editor(prog, prog.service, {}, new_job(), true, parent) {}

service_editor::service_editor(program& prog, std::u16string key, const service_record& record,
                               QWidget* parent)
    : store_record_editor(prog, prog.service, std::move(key), record, true, parent) {}

void service_editor::build_rows() {
    const fuel_header& account = prog_.fuel.header();
    const std::u16string mileage_unit = kelvane::tr(fixed_text(account.mileage_unit));

    add_mileage_row(mileage_unit);
    add_cost_row(u"Cost:");
    description_ = text_box(service_description_length);
    add_row(u"Description:", description_);
    add_date_row(shown_date());

    maintenance_box_ = new QCheckBox(translated(u"Maintenance"), form_);
    add_wide_row(maintenance_box_);
    next_ = add_number_row(u"Next Service:", mileage_unit, 5, &next_group_);
    next_->decimals = 1;
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

bool service_editor::write_record() {
    entry().apply_to(record_, date_->value());
    return keep_record();
}

}  // namespace kelvane
