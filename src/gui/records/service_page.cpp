#include "gui/records/service_page.h"

#include "gui/shell/program.h"

namespace kelvane {

service_page::service_page(program& prog, QWidget* parent)
    : store_page(prog, 1, prog.service, parent) {
    build(new record_list<service_store>(prog.service, u"New Repair"), u"Repair",
          {{{u"Mileage", 60}, {u"Description", 60}, {u"Cost", 53}, {u"Date", 55}}}, 1);
}

}  // namespace kelvane
