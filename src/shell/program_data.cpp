#include "shell/program_data.h"

#include "accounts/config_class.h"
#include "common/translate.h"
#include "platform/services.h"
#include "shell/program_objects.h"
#include "shell/shell_state.h"
#include "stores/changed_flags.h"
#include "stores/data_class.h"
#include "stores/datamaint_class.h"
#include "stores/datarepair_class.h"
#include "stores/tripdata_class.h"
#include "tools/textlist_class.h"
#include "widgets/EditEx.h"
#include "widgets/bitbmplist_class.h"

namespace kelvane {

std::vector<std::function<void()>> loading_steps() {
    return {
        [] { skin_bitmap().load_skin(); },
        [] {
            program_config().load_config();
            EditEx::set_no_input_panel(program_config().no_input_panel());
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
            trip_store().load(folder, u"Trip", false);
            fuel_store().set_deferred_save(true);
            maintenance_store().set_deferred_save(true);
            fees_store().set_deferred_save(true);
            const std::u16string account = program_config().current_account();
            if (!account.empty()) {
                fuel_store().load(folder, account, false);
                maintenance_store().load(folder, account, false);
                fees_store().load(folder, account, false);
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
    fuel_store().reset();
    maintenance_store().reset();
    fees_store().reset();
}

}  // namespace kelvane
