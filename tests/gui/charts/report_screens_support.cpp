#include "gui/charts/report_screens_support.h"

#include "core/common/text.h"

namespace kelvane {

report_screens_test::report_screens_test() {
    fs.create_folder(u"\\Program Files");
    fs.create_folder(u"\\Program Files\\Kelvane");
    (void)prog->trips.load(folder(), u"Trip", false);
    prog->fuel.set_deferred_save(true);
    prog->service.set_deferred_save(true);
    prog->fees.set_deferred_save(true);
}

std::u16string report_screens_test::folder() const {
    return prog->config.data_folder();
}

void report_screens_test::add_account(std::u16string_view name,
                                      std::initializer_list<fill_up> fill_ups,
                                      std::initializer_list<cost_entry> repairs,
                                      std::initializer_list<cost_entry> fees) {
    const std::u16string before = prog->config.current_account();
    ASSERT_EQ(account_change::done, prog->config.add_account(name));
    ASSERT_TRUE(prog->config.open_account(name).opened);
    for (const fill_up& f : fill_ups) {
        fuel_record r{};
        r.year = f.year, r.month = f.month, r.day = f.day, r.hour = f.hour;
        r.mileage = f.mileage;
        r.fuel_purchased = f.fuel;
        r.fuel_gauge = 40;
        r.fuel_cost = f.cost;
        ASSERT_FALSE(prog->fuel.add_record(r).key.empty());
    }
    for (const cost_entry& c : repairs) {
        service_record r{};
        r.year = c.year, r.month = c.month, r.day = c.day, r.hour = c.hour, r.minute = c.minute;
        r.mileage = c.mileage;
        r.cost = c.cost;
        r.repair_flag = 1;
        set_fixed(r.description, u"Brakes");
        ASSERT_FALSE(prog->service.add_record(r).key.empty());
    }
    for (const cost_entry& c : fees) {
        fee_record r{};
        r.year = c.year, r.month = c.month, r.day = c.day, r.hour = c.hour, r.minute = c.minute;
        r.mileage = c.mileage;
        r.cost = c.cost;
        set_fixed(r.category, u"Parking");
        ASSERT_FALSE(prog->fees.add_record(r).key.empty());
    }
    if (!before.empty()) {
        ASSERT_TRUE(prog->config.open_account(before).opened);
    }
}

void report_screens_test::add_trip(std::u16string_view description,
                                   std::vector<std::u16string> vehicles, double start_mileage,
                                   double end_mileage) {
    trip_record t{};
    set_fixed(t.trip_description, description);
    for (std::size_t i = 0; i < vehicles.size() && i < 10; ++i)
        set_fixed(t.trip_vehicles[i], vehicles[i]);
    if (start_mileage >= 0) t.use_start_mileage = 1, t.start_mileage = start_mileage;
    if (end_mileage >= 0) t.use_end_mileage = 1, t.end_mileage = end_mileage;
    ASSERT_FALSE(prog->trips.add_record(t).key.empty());
}

}  // namespace kelvane
