#pragma once
// Page 1: the repair and maintenance jobs of the open vehicle, newest first.
// A job whose next service is due (reached, or within the margin ahead of
// the vehicle's mileage) is drawn in a warning colour, an overdue one in a
// stronger one.

#include "gui/records/record_page.h"
#include "gui/records/service_editor.h"

namespace kelvane {

class service_page : public store_page<service_store, service_editor> {
    Q_OBJECT
public:
    static constexpr colour due_background = rgb(255, 220, 150);
    static constexpr colour overdue_background = rgb(255, 180, 180);

    service_page(program& prog, QWidget* parent);

    void refresh() override;
};

}  // namespace kelvane
