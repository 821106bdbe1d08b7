#include "core/accounts/data_set.h"

#include "platform/services.h"

namespace kelvane {

data_set::data_set() {
    config.attach_stores({&fuel, &service, &fees});
}

data_set::~data_set() {
    // The language table goes with the set; texts are English again.
    if (services().translator == &language) install_translator(nullptr);
}

lock_state data_set::take_hold() {
    if (hold_) return lock_state::taken;
    folder_lock_result result = device_files().lock_folder(data_folder());
    folder_id_ = result.folder_id;
    hold_ = std::move(result.lock);
    return result.state;
}

load_result data_set::load_configuration() {
    const load_result loaded = config.load_config();
    if (loaded == load_result::damaged && config.rescue())
        configuration::report_config_rescue(*config.rescue());
    return loaded;
}

load_result data_set::load_language() {
    const load_result loaded = language.load(u"Language");
    install_translator(&language);
    return loaded;
}

load_result data_set::load_trips() {
    return trips.load(data_folder(), u"Trip", false);
}

load_result data_set::load_account(std::u16string_view name) {
    if (!config.account_exists(name)) return load_result::missing;
    return load_account_files(name);
}

load_result data_set::load_account_files(std::u16string_view name) {
    const std::u16string folder = data_folder();
    bool damaged = false;
    for (account_store* store :
         {static_cast<account_store*>(&fuel), static_cast<account_store*>(&service),
          static_cast<account_store*>(&fees)})
        if (store->load(folder, name, false) == load_result::damaged) damaged = true;
    return damaged ? load_result::damaged : load_result::loaded;
}

void data_set::save_at_end() {
    (void)config.save_config();
    (void)fuel.reset();
    (void)service.reset();
    (void)fees.reset();
}

}  // namespace kelvane
