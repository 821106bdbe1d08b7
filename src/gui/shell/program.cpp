#include "gui/shell/program.h"

#include "platform/services.h"

namespace kelvane {

program::program() {
    config.attach_stores({&fuel, &service, &fees});
    fuel.set_change_mark(&changes.fuel);
    service.set_change_mark(&changes.service);
    fees.set_change_mark(&changes.fees);
    trips.set_change_mark(&changes.trips);
}

program::~program() {
    // The language table goes with the program; texts are English again.
    if (services().translator == &language) install_translator(nullptr);
}

std::vector<std::function<void()>> program::loading_steps() {
    return {
        [this] {
            shell.screen_height = device().screen_height();
            skin.load_skin();
        },
        [this] {
            config.load_config();
            device_shell().set_input_panel_allowed(!config.no_input_panel());
        },
        [this] {
            language.load(u"Language");
            install_translator(&language);
        },
        [this] {
            // Every third day of the month; whatever happens, nothing is shown.
            config.auto_backup_if_due();
            changes.fuel = true;
            shell.current_page = -1;
            shell.previous_page = -1;
        },
        [this] {
            const std::u16string folder = config.data_folder();
            trips.load(folder, u"Trip", false);
            fuel.set_deferred_save(true);
            service.set_deferred_save(true);
            fees.set_deferred_save(true);
            const std::u16string account = config.current_account();
            if (!account.empty()) {
                fuel.load(folder, account, false);
                service.load(folder, account, false);
                fees.load(folder, account, false);
            }
        },
    };
}

void program::save_at_end() {
    // A failed configuration write is reported by save_config; the records
    // are written all the same.
    config.save_config();
    fuel.reset();
    service.reset();
    fees.reset();
}

}  // namespace kelvane
