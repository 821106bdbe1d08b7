#include "record_screens_support.h"

#include "core/common/folders.h"
#include "gui/shell/screens.h"
#include "gui/widgets/edit_box.h"

namespace kelvane {

record_screens_test::~record_screens_test() {
    if (screen_ && screen_->running()) {
        screen_->end_dialog(device_dialog::dismissed);
        screen_->end_modal();
    }
}

void record_screens_test::add_vehicle(std::u16string_view name, const vehicle_settings& s) {
    // The program's folder, where the data lives.
    make_folder_path(prog->config.data_folder());
    prog->fuel.set_deferred_save(true);
    prog->service.set_deferred_save(true);
    prog->fees.set_deferred_save(true);
    ASSERT_EQ(account_change::done, prog->config.add_account(name));
    ASSERT_TRUE(prog->config.open_account(name).opened);
    fuel_header& h = prog->fuel.header();
    set_fixed(h.mileage_unit, s.mileage_unit);
    set_fixed(h.fuel_unit, s.fuel_unit);
    set_fixed(h.currency, s.currency);
    h.economy_mode = s.economy_mode;
    h.tank_capacity = s.tank_capacity;
    h.initial_mileage = s.initial_mileage;
    h.current_mileage = s.initial_mileage;
    ASSERT_TRUE(prog->fuel.save_all());
    ASSERT_TRUE(prog->service.save_all());
    ASSERT_TRUE(prog->fees.save_all());
    ASSERT_TRUE(prog->config.open_account(name).opened);
}

main_screen& record_screens_test::open_main_screen() {
    install_screens(*prog);
    screen_ = std::make_unique<main_screen>(*prog);
    screen_->begin_modal();
    return *screen_;
}

std::u16string record_screens_test::file_of(std::u16string_view extension) const {
    return prog->config.account_file(prog->config.current_account(), extension);
}

void record_screens_test::store_fill_up(double mileage, double bought, double gauge, int day,
                                        double cost) {
    fuel_record r{};
    r.year = 2026, r.month = 3, r.day = day, r.hour = 12;
    r.mileage = mileage;
    r.fuel_purchased = bought;
    r.fuel_gauge = gauge;
    r.fuel_cost = cost;
    ASSERT_FALSE(prog->fuel.add_record(r).key.empty());
}

void retype(edit_box& box, const QString& text) {
    box.selectAll();
    type(box, text);
}

}  // namespace kelvane
