#pragma once
// Page 2: the fees of the open vehicle, newest first.

#include "gui/records/fee_editor.h"
#include "gui/records/record_page.h"

namespace kelvane {

class fees_page : public store_page<fee_store, fee_editor> {
    Q_OBJECT
public:
    fees_page(program& prog, QWidget* parent);
};

}  // namespace kelvane
