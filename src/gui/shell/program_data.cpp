#include "gui/shell/program_data.h"

#include "core/accounts/configuration.h"
#include "core/common/translate.h"
#include "core/stores/changed_flags.h"
#include "core/stores/fee_store.h"
#include "core/stores/fuel_store.h"
#include "core/stores/service_store.h"
#include "core/stores/trip_store.h"
#include "core/tools/language_table.h"
#include "gui/shell/program_objects.h"
#include "gui/shell/shell_state.h"
#include "gui/widgets/edit_box.h"
#include "gui/widgets/skin.h"
#include "platform/services.h"

namespace kelvane {

std::vector<std::function<void()>> loading_steps() {
    return {
        [] { skin_bitmap().load_skin(); },
        [] {
            program_config().load_config();
            edit_box::set_no_input_panel(program_config().no_input_panel());
        },
        [] {
            program_language().load(u"Language");
            set_translator(&program_language());
        },
        [] {
            // Every third day of the month; whatever happens, nothing is shown.
            program_config().auto_backup_if_due();
            fuel_changed = true;
            shell().current_page = -1;
            shell().previous_page = -1;
        },
        [] {
            const std::u16string folder = program_config().data_folder();
            program_trips().load(folder, u"Trip", false);
            program_fuel().set_deferred_save(true);
            program_services().set_deferred_save(true);
            program_fees().set_deferred_save(true);
            const std::u16string account = program_config().current_account();
            if (!account.empty()) {
                program_fuel().load(folder, account, false);
                program_services().load(folder, account, false);
                program_fees().load(folder, account, false);
            }
        },
    };
}

int configured_last_page() {
    return program_config().last_page();
}

void remember_last_page(int page) {
    program_config().set_last_page(page);
}

void save_at_end() {
    // A failed configuration write is reported by save_config; the records
    // are written all the same.
    program_config().save_config();
    program_fuel().reset();
    program_services().reset();
    program_fees().reset();
}

}  // namespace kelvane
