#pragma once
// Page 1: the repair and maintenance jobs of the open vehicle, newest first.

#include "gui/records/record_page.h"
#include "gui/records/service_editor.h"

namespace kelvane {

class service_page : public store_page<service_store, service_editor> {
    Q_OBJECT
public:
    service_page(program& prog, QWidget* parent);
};

}  // namespace kelvane
