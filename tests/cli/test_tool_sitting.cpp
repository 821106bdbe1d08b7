// A sitting at the screens and the same changes as a script of kelvane-tool
// commands leave the same files, byte for byte. The screens' side runs here
// through the core functions each screen calls, over an in-memory device,
// set up as the program sets up its stores (deferred saving, the trips
// loaded at start) and ended as the program ends (configuration saved,
// stores reset).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <tuple>

#include "core/accounts/account_entry.h"
#include "core/accounts/configuration.h"
#include "core/accounts/program_options.h"
#include "core/common/text.h"
#include "core/records/fee_entry.h"
#include "core/records/fuel_entry.h"
#include "core/records/record_writes.h"
#include "core/records/service_entry.h"
#include "core/test_services.h"
#include "core/trips/trip_editing.h"
#include "platform/text_encoding.h"
#include "tool_run_support.h"

namespace kelvane::test {
namespace {

using box = fuel_entry::box;

// Where two files part: the first offset whose bytes differ, or the sizes.
std::string first_difference(const std::vector<std::uint8_t>& a,
                             const std::vector<std::uint8_t>& b) {
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i)
        if (a[i] != b[i])
            return "offset " + std::to_string(i) + ": " + std::to_string(a[i]) + " against " +
                   std::to_string(b[i]);
    if (a.size() != b.size())
        return "sizes " + std::to_string(a.size()) + " against " + std::to_string(b.size());
    return "";
}

// The program's objects, driven the way the screens drive them.
struct screens : testing::test_services {
    configuration config;
    fuel_store fuel;
    service_store service;
    fee_store fees;
    trip_store trips;

    screens() {
        fs.create_folder(u"\\Program Files");
        fs.create_folder(u"\\Program Files\\Kelvane");
        config.set_data_folder(program_folder());
        config.attach_stores({&fuel, &service, &fees});
        (void)config.load_config();
        (void)trips.load(config.data_folder(), u"Trip", false);
        fuel.set_deferred_save(true);
        service.set_deferred_save(true);
        fees.set_deferred_save(true);
    }

    // The clock at the moment a key was made (its last twelve digits).
    void at_moment_of(const std::u16string& key) {
        const std::string digits = to_utf8(key.substr(key.size() - 12));
        const auto two = [&](std::size_t i) { return std::stoi(digits.substr(2 * i, 2)); };
        clock.set(2000 + two(0), two(1), two(2), two(3), two(4), two(5));
    }

    // The account editor's Add (no opening name) or Save; the accounts page
    // then opens what the editor left.
    void save_account(const std::u16string& opening, const account_entry& e) {
        const account_save_result r =
            save_account_edit(config, {fuel, service, fees, trips}, opening, e.settings());
        ASSERT_EQ(account_save_outcome::saved, r.outcome);
        ASSERT_TRUE(r.files_written);
        if (!opening.empty()) (void)config.open_account(r.name);
    }
    account_entry editing(const std::u16string& name) {
        return account_entry::of(read_account_settings(config, name));
    }

    // A record editor's Add (made at the moment of the tool's key) or Save.
    template <class Store>
    void keep(Store& store, std::u16string key, const typename Store::record_type& r,
              const std::u16string& tool_key) {
        if (key.empty()) at_moment_of(tool_key);
        ASSERT_TRUE(save_record(store, key, r));
        EXPECT_EQ(tool_key, key);
    }
    template <class Store>
    typename Store::record_type stored(const Store& store, const std::u16string& key) {
        const int at = position_of_key(store, key);
        EXPECT_GE(at, 0);
        return store.record_at(at);
    }

    // The fuel editor in add mode: the mileage and the boxes typed in, in order.
    void new_fill_up(const std::u16string& tool_key, const local_time& when,
                     const std::u16string& mileage,
                     std::initializer_list<std::pair<box, std::u16string>> typed,
                     const std::u16string& gauge = {}, const std::u16string& fuel_type = {}) {
        fuel_entry e = fuel_entry::for_new(fuel.header());
        e.mileage = mileage;
        if (!fuel_type.empty()) e.fuel_type = fuel_type;
        for (const auto& [b, text] : typed) {
            (b == box::unit_price ? e.unit_price : b == box::cost ? e.cost : e.quantity) = text;
            (void)e.recalculate(b);
        }
        e.gauge = gauge.empty() ? fuel_entry::full_tank(fuel.header()) : gauge;
        fuel_record r{};
        e.apply_to(r, fuel.header(), when);
        keep(fuel, {}, r, tool_key);
    }

    trip_save_outcome save_trip_form(const trip_form& form, const std::u16string& tool_key) {
        at_moment_of(tool_key);
        return save_trip(trips, form);
    }

    // Exit: the configuration is saved and the stores write what they owe.
    void end() {
        (void)config.save_config();
        (void)fuel.reset();
        (void)service.reset();
        (void)fees.reset();
    }
};

class tool_sitting : public ::testing::Test {
protected:
    // Runs one command, which must succeed; its first line of output.
    std::u16string tool(const std::vector<std::string>& args) {
        const tool_result r = root.run(args);
        EXPECT_EQ(0, r.code) << args.front() << ": " << r.err;
        return from_utf8(r.out.substr(0, r.out.find('\n')));
    }
    // The key of the trip added last.
    std::u16string newest_trip_key() const {
        const auto bytes = file_bytes(root.data_folder() / "Trip.tri");
        const std::size_t count = (bytes.size() - 1592) / 3048;
        return text_at(bytes, 1592 + (count - 1) * 3048 + 16, 62);
    }

    // The steps of the sitting: each change made once with the tool and once
    // as the screens make it.
    // Two accounts through the account editor.
    void add_two_accounts() {
        tool({"add-account", "Car", "--tank", "50", "--initial-mileage", "500", "--currency", "EUR",
              "--economy", "2", "--date", "2026-03-01"});
        account_entry car;
        car.name = u"Car", car.tank_capacity = u"50", car.initial_mileage = u"500";
        car.currency = u"EUR", car.economy_mode = 2, car.year = 2026, car.month = 3, car.day = 1;
        s.save_account(u"", car);
        tool({"add-account", "Van", "--mileage-unit", "Mile", "--fuel-unit", "US Gallon", "--tank",
              "20", "--economy", "0", "--date", "2026-03-02"});
        account_entry van;
        van.name = u"Van";
        van.change_mileage_unit(u"Mile");
        van.change_fuel_unit(u"US Gallon");
        van.tank_capacity = u"20", van.year = 2026, van.month = 3, van.day = 2;
        s.save_account(u"", van);
        tool({"open", "Car"});
        EXPECT_TRUE(s.config.open_account(u"Car").opened);
    }

    // Fill-ups as the fuel editor takes them, one of them dated wrongly.
    void add_fill_ups() {
        const auto f1 = tool({"add-fuel", "--date", "2026-03-01 08:00", "--mileage", "1000",
                              "--price", "1.5", "--cost", "60", "--type", "Diesel"});
        s.new_fill_up(f1, {2026, 3, 1, 8, 0, 0}, u"1000",
                      {{box::unit_price, u"1.5"}, {box::cost, u"60"}}, {}, u"Diesel");
        const auto f2 = tool({"add-fuel", "--date", "2026-03-02 09:30", "--mileage", "1500",
                              "--price", "1.5", "--quantity", "40"});
        s.new_fill_up(f2, {2026, 3, 2, 9, 30, 0}, u"1500",
                      {{box::unit_price, u"1.5"}, {box::quantity, u"40"}});
        const auto f3 = tool({"add-fuel", "--date", "2026-03-10 18:00", "--mileage", "2000",
                              "--cost", "75", "--quantity", "50"});
        s.new_fill_up(f3, {2026, 3, 10, 18, 0, 0}, u"2000",
                      {{box::unit_price, u"1.500"}, {box::cost, u"75"}});
        const auto f4 = tool({"add-fuel", "--date", "2026-03-04 07:15", "--mileage", "2500",
                              "--price", "1.5", "--cost", "45", "--gauge", "40"});
        s.new_fill_up(f4, {2026, 3, 4, 7, 15, 0}, u"2500",
                      {{box::unit_price, u"1.5"}, {box::cost, u"45"}}, u"40");
        // The wrongly dated one moves to the 3rd, at its own time of day.
        tool({"edit-fuel", to_utf8(f3), "--date", "2026-03-03"});
        {
            fuel_record r = s.stored(s.fuel, f3);
            const fuel_entry e = fuel_entry::of(r);
            local_time when = record_date(r);
            when.day = 3;
            e.apply_to(r, s.fuel.header(), when);
            s.keep(s.fuel, f3, r, f3);
        }
    }

    // Repairs, maintenance and fees.
    void add_repairs_and_fees() {
        const auto m1 = tool({"add-repair", "--date", "2026-03-05", "--mileage", "2600", "--cost",
                              "250", "--next-service", "17100", "--description", "Oil change"});
        {
            service_entry e = service_entry::for_new(s.fuel.header().current_mileage);
            e.mileage = u"2600", e.cost = u"250", e.description = u"Oil change";
            e.maintenance = true, e.next_service = u"17100";
            service_record r{};
            r.repair_flag = 1;
            e.apply_to(r, {2026, 3, 5, 0, 0, 0});
            s.keep(s.service, {}, r, m1);
        }
        const auto m2 = tool({"add-repair", "--date", "2026-03-06 10:00", "--cost", "80.5"});
        {
            service_entry e = service_entry::for_new(s.fuel.header().current_mileage);
            e.cost = u"80.5";
            service_record r{};
            r.repair_flag = 1;
            e.apply_to(r, {2026, 3, 6, 10, 0, 0});
            s.keep(s.service, {}, r, m2);
        }
        tool({"edit-repair", to_utf8(m2), "--cost", "95", "--description", "Brakes"});
        {
            service_record r = s.stored(s.service, m2);
            service_entry e = service_entry::of(r);
            e.cost = u"95", e.description = u"Brakes";
            e.apply_to(r, record_date(r));
            s.keep(s.service, m2, r, m2);
        }
        const auto e1 = tool({"add-fee", "--date", "2026-03-02", "--mileage", "1100", "--cost",
                              "12", "--category", "Parking", "--description", "Airport"});
        const auto e2 =
            tool({"add-fee", "--date", "2026-03-07", "--cost", "3", "--category", "Highway Toll"});
        for (const auto& [key, when, mileage, cost, category, description] :
             {std::tuple{e1, local_time{2026, 3, 2, 0, 0, 0}, u"1100", u"12", u"Parking",
                         u"Airport"},
              std::tuple{e2, local_time{2026, 3, 7, 0, 0, 0}, u"", u"3", u"Highway Toll", u""}}) {
            fee_entry e = fee_entry::for_new(s.fuel.header().current_mileage);
            if (*mileage) e.mileage = mileage;
            e.cost = cost, e.category = category, e.description = description;
            fee_record r{};
            e.apply_to(r, when);
            s.keep(s.fees, {}, r, key);
        }
        tool({"edit-fee", to_utf8(e1), "--category", "Ferry"});
        {
            fee_record r = s.stored(s.fees, e1);
            fee_entry e = fee_entry::of(r);
            e.category = u"Ferry";
            e.apply_to(r, record_date(r));
            s.keep(s.fees, e1, r, e1);
        }
        tool({"delete-record", to_utf8(e2), "--kind", "fee"});
        ASSERT_TRUE(delete_record_by_key(s.fees, e2));
    }

    // Trips, one over both vehicles (whose mileage range is dropped).
    void add_trips() {
        tool({"add-trip", "Holiday", "--from", "2026-03-01", "--to", "2026-03-31", "--min", "900"});
        {
            trip_form form;
            form.description = u"Holiday";
            form.vehicles = {u"Car"};
            form.use_start_date = form.use_end_date = form.use_start_mileage = true;
            form.start_date = {2026, 3, 1, 0, 0, 0};
            form.end_date = {2026, 3, 31, 0, 0, 0};
            form.start_mileage = u"900";
            EXPECT_EQ(newest_trip_key(), s.save_trip_form(form, newest_trip_key()).key);
        }
        const tool_result both =
            root.run({"add-trip", "Both", "--vehicles", "Van,Car", "--max", "5"});
        ASSERT_EQ(0, both.code) << both.err;
        EXPECT_NE(std::string::npos, both.err.find("will no long be effective")) << both.err;
        {
            s.at_moment_of(newest_trip_key());
            trip_form form;
            form.description = u"Both";
            form.vehicles = {u"Van", u"Car"};
            form.start_date = form.end_date = s.clock.now();
            form.use_end_mileage = true;
            form.end_mileage = u"5";
            EXPECT_TRUE(s.save_trip_form(form, newest_trip_key()).mileage_dropped);
        }
    }

    // Kilometres become miles for Car's records and trips; Holiday loses its end date.
    void change_units_trip_and_name() {
        tool({"edit-account", "Car", "--mileage-unit", "Mile"});
        {
            account_entry e = s.editing(u"Car");
            e.change_mileage_unit(u"Mile");
            s.save_account(u"Car", e);
        }
        tool({"edit-trip", "Holiday", "--to", "none"});
        {
            trip_record trip{};
            ASSERT_TRUE(s.trips.find_trip(u"Holiday", trip));
            trip_form form = form_of(trip);
            form.use_end_date = false;
            EXPECT_EQ(trip_check::ok, save_trip(s.trips, form, &trip).check);
        }
        // A rename moves the files, keeps copies in "Deleted" and renames the trips.
        tool({"edit-account", "Car", "--rename", "Auto", "--note", "Blue"});
        {
            account_entry e = s.editing(u"Car");
            e.name = u"Auto", e.note = u"Blue";
            s.save_account(u"Car", e);
        }
    }

    // The options screen's Ok.
    void set_the_options() {
        tool({"options", "--backup-folder", "Backups", "--input-panel", "off"});
        {
            const std::u16string language = language_in_force(s.config);
            const options_result r = apply_options(
                s.config, {language, normalise_backup_path(u"Backups"), true}, language);
            EXPECT_EQ(options_outcome::applied, r.outcome);
        }
    }

    // An account added and deleted again, then another one opened.
    void add_delete_and_open_accounts() {
        tool({"add-account", "Bus", "--date", "2026-03-09"});
        {
            account_entry bus;
            bus.name = u"Bus", bus.economy_mode = 2, bus.year = 2026, bus.month = 3, bus.day = 9;
            s.save_account(u"", bus);
        }
        tool({"delete-account", "Bus"});
        ASSERT_TRUE(
            delete_account_and_trips(s.config, {s.fuel, s.service, s.fees, s.trips}, u"Bus"));
        tool({"open", "Van"});
        EXPECT_TRUE(s.config.open_account(u"Van").opened);
    }

    // The program ends; then every file of the sitting, and no other, has the
    // same bytes on both sides (the device paths go to `compared`).
    void expect_the_same_files() {
        s.end();
        // No write failed and nothing was refused on the screens' side.
        EXPECT_EQ(std::vector<std::u16string>{}, s.boxes.texts());
        for (const auto& device_path : s.fs.files()) {
            std::vector<std::uint8_t> expected;
            ASSERT_TRUE(read_whole_file(s.fs, device_path, expected));
            std::string relative =
                to_utf8(device_path.substr(std::u16string(u"\\Program Files\\Kelvane\\").size()));
            std::replace(relative.begin(), relative.end(), '\\', '/');
            const auto host = root.data_folder() / relative;
            ASSERT_TRUE(std::filesystem::exists(host)) << relative;
            EXPECT_EQ("", first_difference(expected, file_bytes(host))) << relative;
            compared.push_back(device_path);
        }
        std::size_t tool_files = 0;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(root.data_folder()))
            if (entry.is_regular_file()) ++tool_files;
        EXPECT_EQ(compared.size(), tool_files);
    }

    tool_root root;
    screens s;
    std::vector<std::u16string> compared;
};

TEST_F(tool_sitting, accounts_leave_the_same_files) {
    ASSERT_NO_FATAL_FAILURE(add_two_accounts());
    expect_the_same_files();
}

TEST_F(tool_sitting, records_leave_the_same_files) {
    ASSERT_NO_FATAL_FAILURE(add_two_accounts());
    ASSERT_NO_FATAL_FAILURE(add_fill_ups());
    ASSERT_NO_FATAL_FAILURE(add_repairs_and_fees());
    expect_the_same_files();
}

TEST_F(tool_sitting, the_whole_sitting_leaves_the_same_files) {
    ASSERT_NO_FATAL_FAILURE(add_two_accounts());
    ASSERT_NO_FATAL_FAILURE(add_fill_ups());
    ASSERT_NO_FATAL_FAILURE(add_repairs_and_fees());
    ASSERT_NO_FATAL_FAILURE(add_trips());
    ASSERT_NO_FATAL_FAILURE(change_units_trip_and_name());
    ASSERT_NO_FATAL_FAILURE(set_the_options());
    ASSERT_NO_FATAL_FAILURE(add_delete_and_open_accounts());
    ASSERT_NO_FATAL_FAILURE(expect_the_same_files());
    for (const char16_t* name :
         {u"\\Program Files\\Kelvane\\Deleted\\Car.ful",
          u"\\Program Files\\Kelvane\\Deleted\\Bus.fee", u"\\Program Files\\Kelvane\\Auto.mat",
          u"\\Program Files\\Kelvane\\Trip.tri"})
        EXPECT_NE(compared.end(), std::find(compared.begin(), compared.end(), name))
            << to_utf8(name);
}

}  // namespace
}  // namespace kelvane::test
