#pragma once
// The accounts screens' tests share a running main screen with the
// program's screens plugged in, and the owner's input into an editor.

#include <QComboBox>
#include <functional>

#include "gui/accounts/account_editor.h"
#include "gui/accounts/account_list.h"
#include "gui/accounts/accounts_page.h"
#include "gui/gui_test_support.h"
#include "gui/shell/first_start.h"
#include "gui/shell/main_commands.h"
#include "gui/shell/main_screen.h"
#include "gui/shell/screens.h"
#include "gui/widgets/edit_box.h"

namespace kelvane {

class accounts_test : public gui_test {
protected:
    // The first start makes the program's folder, where the data lives.
    accounts_test() { install_bundled_files(); }
    ~accounts_test() override { close(); }

    // Starts the main screen as the program does and leaves it running.
    main_screen& open() {
        close();
        install_screens(*prog);
        dlg = std::make_unique<main_screen>(*prog);
        dlg->begin_modal();
        return *dlg;
    }
    void close() {
        if (dlg && dlg->running()) {
            dlg->end_dialog(device_dialog::dismissed);
            dlg->end_modal();
        }
        dlg.reset();
    }
    accounts_page& page() { return *static_cast<accounts_page*>(dlg->page(page_id::accounts)); }

    // The owner's work in the next account editor that opens.
    void in_editor(std::function<void(account_editor&)> work) {
        modal.then([work](device_dialog& d) { work(dynamic_cast<account_editor&>(d)); });
    }

    // The names of the page's rows, top first.
    std::vector<std::u16string> row_names() {
        std::vector<std::u16string> names;
        for (const auto& r : page().list().rows()) names.push_back(r.name);
        return names;
    }

    std::unique_ptr<main_screen> dlg;
};

// Replaces what a box holds by typing, as the owner does.
inline void enter(edit_box& box, const QString& text) {
    focus_in(box);
    box.selectAll();
    type(box, text);
    focus_out(box);
}

inline const std::u16string data_folder = u"\\Program Files\\Kelvane\\";

}  // namespace kelvane
