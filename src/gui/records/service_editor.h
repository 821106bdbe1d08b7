#pragma once
// The editor of one repair or maintenance job. A job starts as a repair;
// ticking "Maintenance" brings in the next service mileage for good.

#include "core/records/service_entry.h"
#include "core/stores/service_store.h"
#include "gui/records/record_editor.h"

class QCheckBox;

namespace kelvane {

class service_editor : public store_record_editor<service_store> {
    Q_OBJECT
public:
    explicit service_editor(program& prog, QWidget* parent = nullptr);
    service_editor(program& prog, std::u16string key, const service_record& record,
                   QWidget* parent = nullptr);

    edit_box& description_box() { return *description_; }
    edit_box& next_service_box() { return *next_; }
    QCheckBox& maintenance_box() { return *maintenance_box_; }
    // True while the next service group is shown (a maintenance job).
    bool maintenance() const { return maintenance_; }

    service_entry entry() const;

protected:
    void build_rows() override;
    bool write_record() override;

private:
    void show_next_service(bool shown);

    bool maintenance_ = false;
    edit_box* description_ = nullptr;
    edit_box* next_ = nullptr;
    QCheckBox* maintenance_box_ = nullptr;
    std::vector<QWidget*> next_group_;
};

}  // namespace kelvane
