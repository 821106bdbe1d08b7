#pragma once
// The editor of one fee. The category is free text, with the usual kinds of
// fee offered in the list.

#include "core/records/fee_entry.h"
#include "gui/records/record_editor.h"

class QComboBox;

namespace kelvane {

class date_picker;

class fee_editor : public record_editor {
    Q_OBJECT
public:
    explicit fee_editor(program& prog, QWidget* parent = nullptr);
    fee_editor(program& prog, std::u16string key, const fee_record& record,
               QWidget* parent = nullptr);

    edit_box& mileage_box() { return *mileage_; }
    edit_box& cost_box() { return *cost_; }
    edit_box& description_box() { return *description_; }
    QComboBox& category_box() { return *category_; }
    date_picker& date_box() { return *date_; }

    fee_entry entry() const;

protected:
    void build_rows() override;
    bool write_record() override;
    void delete_from_store() override;
    void place_focus() override;

private:
    fee_record record_{};
    edit_box* mileage_ = nullptr;
    edit_box* cost_ = nullptr;
    edit_box* description_ = nullptr;
    QComboBox* category_ = nullptr;
    date_picker* date_ = nullptr;
};

}  // namespace kelvane
