#pragma once
// The editor of one fee. The category is free text, with the usual kinds of
// fee offered in the list.

#include "core/records/fee_entry.h"
#include "core/stores/fee_store.h"
#include "gui/records/record_editor.h"

class QComboBox;

namespace kelvane {

class fee_editor : public store_record_editor<fee_store> {
    Q_OBJECT
public:
    explicit fee_editor(program& prog, QWidget* parent = nullptr);
    fee_editor(program& prog, std::u16string key, const fee_record& record,
               QWidget* parent = nullptr);

    edit_box& description_box() { return *description_; }
    QComboBox& category_box() { return *category_; }

    fee_entry entry() const;

protected:
    void build_rows() override;
    bool write_record() override;

private:
    edit_box* description_ = nullptr;
    QComboBox* category_ = nullptr;
};

}  // namespace kelvane
