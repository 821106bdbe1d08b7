#pragma once
// The editor of one repair or maintenance job. A job starts as a repair;
// ticking "Maintenance" brings in the next service mileage for good.

#include "core/records/service_entry.h"
#include "gui/records/record_editor.h"

class QCheckBox;

namespace kelvane {

class date_picker;

class service_editor : public record_editor {
    Q_OBJECT
public:
    explicit service_editor(program& prog, QWidget* parent = nullptr);
    service_editor(program& prog, std::u16string key, const service_record& record,
                   QWidget* parent = nullptr);

    edit_box& mileage_box() { return *mileage_; }
    edit_box& cost_box() { return *cost_; }
    edit_box& description_box() { return *description_; }
    edit_box& next_service_box() { return *next_; }
    QCheckBox& maintenance_box() { return *maintenance_box_; }
    date_picker& date_box() { return *date_; }
    // True while the next service group is shown (a maintenance job).
    bool maintenance() const { return maintenance_; }

    service_entry entry() const;

protected:
    void build_rows() override;
    bool write_record() override;
    void delete_from_store() override;
    void place_focus() override;

private:
    void show_next_service(bool shown);

    service_record record_{};
    bool maintenance_ = false;
    edit_box* mileage_ = nullptr;
    edit_box* cost_ = nullptr;
    edit_box* description_ = nullptr;
    edit_box* next_ = nullptr;
    date_picker* date_ = nullptr;
    QCheckBox* maintenance_box_ = nullptr;
    std::vector<QWidget*> next_group_;
};

}  // namespace kelvane
