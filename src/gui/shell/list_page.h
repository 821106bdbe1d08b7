#pragma once
// A page built around a list of the entries one works on (fill-ups,
// repairs, fees, trips): New, Edit and Delete reach it from its button,
// its menus, a tap and hold, Enter and the Delete key. Edit and Delete need
// a chosen row ("Please select a record." otherwise), and Delete asks first.
//
// The page's commands are the page's alone. Their numbers also occur in the
// main menu, where they mean other things ("New" is the number of "Add
// Auto"), so the page carries them out itself and never passes them on.

#include "gui/shell/main_page.h"

namespace kelvane {

class list_page : public main_page {
    Q_OBJECT
public:
    static constexpr int cmd_new = 32776;
    static constexpr int cmd_delete = 32795;
    static constexpr int cmd_edit = 32797;

    void edit_selected() override;
    void delete_selected();
    // A command of the page's menus.
    virtual void run_command(int command);

protected:
    using main_page::main_page;

    // Whether a row of an entry is chosen.
    virtual bool entry_chosen() const = 0;
    // Opens the chosen entry's editor; the page shows the result.
    virtual void edit_chosen() = 0;
    // Removes the chosen entry from its store.
    virtual void delete_chosen() = 0;
};

}  // namespace kelvane
