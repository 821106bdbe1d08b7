#include "gui/shell/list_page.h"

#include "gui/widgets/owner_messages.h"

namespace kelvane {

void list_page::edit_selected() {
    if (!entry_chosen()) {
        show_message(msg_select_record);
        return;
    }
    edit_chosen();
}

void list_page::delete_selected() {
    if (!entry_chosen()) {
        show_message(msg_select_record);
        return;
    }
    if (show_message(msg_confirm_delete, message_buttons::yes_no) == message_answer::no) return;
    delete_chosen();
    refresh();
}

void list_page::run_command(int command) {
    switch (command) {
        case cmd_new:
            start_new();
            return;
        case cmd_edit:
            edit_selected();
            return;
        case cmd_delete:
            delete_selected();
            return;
    }
}

}  // namespace kelvane
