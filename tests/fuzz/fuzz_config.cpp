// A Config.dat as input, in a data folder that holds a few accounts' files.
#include "core/accounts/configuration.h"
#include "core/stores/fee_store.h"
#include "core/stores/fuel_store.h"
#include "core/stores/service_store.h"
#include "fuzz_support.h"
#include "fuzz_target.h"

KELVANE_FUZZ_TARGET(config)(const std::uint8_t* data, std::size_t size) {
    using namespace kelvane;
    using namespace kelvane::fuzz;
    fuzz_device d;
    d.put(u"Config.dat", data, size);
    d.fs.put(data_folder + u"Car.ful", {});
    d.fs.put(data_folder + u"Van.fee", {});

    fuel_store fuel;
    service_store service;
    fee_store fees;
    configuration config;
    config.attach_stores({&fuel, &service, &fees});
    const load_result loaded = config.load_config();
    if (loaded == load_result::damaged) {
        expect(config.rescue().has_value(), "a damaged Config.dat without a rescue");
        expect(
            d.fs.bytes(config.rescue()->kept_copy) == std::vector<std::uint8_t>(data, data + size),
            "the damaged Config.dat was not kept as it was");
        expect(config.account_exists(u"Car") && config.account_exists(u"Van"),
               "a vehicle disappeared with the damaged Config.dat");
        configuration::report_config_rescue(*config.rescue());
    }
    expect(config.data_folder() == data_folder, "Config.dat moved the data folder");
    const std::u16string open = config.current_account();
    expect(open.empty() || config.account_exists(open), "the open account is not registered");

    const auto names = config.list_account_names();
    int opened = 0;
    for (const auto& name : names) {
        if (!configuration::is_valid_account_name(name)) continue;
        (void)config.account_named_alike(name);
        if (opened++ < 2) (void)config.open_account(name);
    }
    (void)config.add_account(u"Fuzz");
    expect(config.save_config(), "a save to memory failed");
    configuration again;
    expect(again.load_config() == load_result::loaded, "a saved Config.dat did not load");
    expect(again.list_account_names() == config.list_account_names(),
           "a saved Config.dat lost accounts");
    return 0;
}
