#include "gui/shell/program.h"

#include "core/accounts/data_set_copier.h"
#include "core/accounts/program_options.h"
#include "platform/services.h"

namespace kelvane {

program::program() {
    fuel.set_change_mark(&changes.fuel);
    service.set_change_mark(&changes.service);
    fees.set_change_mark(&changes.fees);
    trips.set_change_mark(&changes.trips);
}

program::~program() = default;

std::vector<std::function<void()>> program::loading_steps() {
    return {
        [this] { skin.load_skin(); },
        [this] {
            // The owner learns of a damaged Config.dat here, before anything
            // else is shown. A missing one is a first start, which takes the
            // desktop's language before the language table is loaded, so this
            // very start speaks it.
            if (data.load_configuration() == load_result::missing)
                (void)follow_desktop_language(config, device().language_id());
            device_shell().set_input_panel_allowed(!config.no_input_panel());
        },
        [this] { (void)data.load_language(); },
        [this] {
            // Every third day of the month; whatever happens, nothing is shown.
            (void)data_set_copier(config).auto_backup_if_due();
            changes.fuel = true;
        },
        [this] {
            // A damaged file is shown by its store, which then starts empty.
            (void)data.load_trips();
            fuel.set_deferred_save(true);
            service.set_deferred_save(true);
            fees.set_deferred_save(true);
            const std::u16string account = config.current_account();
            if (!account.empty()) (void)data.load_account_files(account);
        },
    };
}

}  // namespace kelvane
