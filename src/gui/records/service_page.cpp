#include "gui/records/service_page.h"

#include "core/accounts/account_figures.h"
#include "core/common/text.h"
#include "gui/shell/program.h"

namespace kelvane {

service_page::service_page(program& prog, QWidget* parent)
    : store_page(prog, page_id::service, prog.service, parent) {
    build(new record_list<service_store>(prog.service, u"New Repair"), u"Repair",
          {{{u"Mileage", 60}, {u"Description", 60}, {u"Cost", 53}, {u"Date", 55}}}, 1);
}

void service_page::refresh() {
    record_page::refresh();
    const int count = record_count();
    std::vector<std::optional<row_style>> styles(static_cast<std::size_t>(count));
    if (account_open()) {
        const double odometer = account_odometer(prog_.fuel, prog_.service, prog_.fees);
        const double margin = prog_.margins.for_unit(fixed_text(prog_.fuel.header().mileage_unit));
        for (const due_service& d : services_due(prog_.service, odometer, margin)) {
            row_style s;
            s.background = d.remaining <= 0 ? overdue_background : due_background;
            styles[static_cast<std::size_t>(count - 1 - d.position)] = s;
        }
    }
    list().set_row_styles(std::move(styles));
}

}  // namespace kelvane
