#include "gui/shell/program.h"

#include "core/accounts/program_options.h"
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
            // A missing Config.dat is a first start. A damaged one has been
            // kept aside and the vehicles found again from their files; the
            // owner learns of it here, before anything else is shown.
            const load_result read = config.load_config();
            if (read == load_result::damaged && config.rescue())
                configuration::show_config_rescue(*config.rescue());
            // Before the language table is loaded, so this very start speaks it.
            if (read == load_result::missing)
                (void)follow_desktop_language(config, device().language_id());
            device_shell().set_input_panel_allowed(!config.no_input_panel());
        },
        [this] {
            // Without a language file the texts are the built-in English ones.
            (void)language.load(u"Language");
            install_translator(&language);
        },
        [this] {
            // Every third day of the month; whatever happens, nothing is shown.
            (void)config.auto_backup_if_due();
            changes.fuel = true;
            shell.current_page = -1;
            shell.previous_page = -1;
        },
        [this] {
            // A damaged file is shown by its store, which then starts empty.
            const std::u16string folder = config.data_folder();
            (void)trips.load(folder, u"Trip", false);
            fuel.set_deferred_save(true);
            service.set_deferred_save(true);
            fees.set_deferred_save(true);
            const std::u16string account = config.current_account();
            if (!account.empty()) {
                (void)fuel.load(folder, account, false);
                (void)service.load(folder, account, false);
                (void)fees.load(folder, account, false);
            }
        },
    };
}

void program::save_at_end() {
    // Every failed write has been shown by save_config or its store; the
    // records are written all the same.
    (void)config.save_config();
    (void)fuel.reset();
    (void)service.reset();
    (void)fees.reset();
}

}  // namespace kelvane
