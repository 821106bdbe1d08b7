#include "gui/records/fuel_page.h"

#include "core/accounts/units.h"
#include "gui/shell/program.h"

namespace kelvane {

fuel_page::fuel_page(program& prog, QWidget* parent)
    : store_page(prog, page_id::fuel, prog.fuel, parent) {
    build(new record_list<fuel_store>(prog.fuel, u"Add Fuel Purchase"), u"Fuel",
          {{{u"Mileage", 60}, {u"Fuel", 50}, {u"MPG/LPK", 63}, {u"Date", 55}}}, 2);
}

void fuel_page::refresh_titles() {
    // The economy column is headed by the figure the account computes.
    const int mode = store_.header().economy_mode;
    if (mode >= 0 && mode < static_cast<int>(economy_unit_names.size()))
        list().set_column_title(2, economy_unit_names[static_cast<std::size_t>(mode)]);
    else
        list().set_column_title(2, u"MPG/LPK");
}

}  // namespace kelvane
