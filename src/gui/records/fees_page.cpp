#include "gui/records/fees_page.h"

#include "gui/shell/program.h"

namespace kelvane {

fees_page::fees_page(program& prog, QWidget* parent)
    : store_page(prog, page_id::fees, prog.fees, parent) {
    build(new record_list<fee_store>(prog.fees, u"New Fees"), u"Fees",
          {{{u"Mileage", 60}, {u"Category", 60}, {u"Cost", 53}, {u"Date", 55}}}, 1);
}

}  // namespace kelvane
