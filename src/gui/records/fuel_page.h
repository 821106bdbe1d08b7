#pragma once
// Page 0: the fill-ups of the open vehicle, newest first, with the fuel
// economy of each stretch driven until the next fill-up.

#include "gui/records/fuel_editor.h"
#include "gui/records/record_page.h"

namespace kelvane {

class fuel_page : public store_page<fuel_store, fuel_editor> {
    Q_OBJECT
public:
    fuel_page(program& prog, QWidget* parent);

protected:
    void refresh_titles() override;
};

}  // namespace kelvane
