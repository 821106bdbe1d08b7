#pragma once
// The record pages as the owner meets them: a vehicle account set up the
// way the account editor leaves it, the main screen with the program's
// screens, and helpers to drive the pages and editors through the seams.

#include <QString>
#include <memory>

#include "gui/gui_test_support.h"
#include "gui/records/fees_page.h"
#include "gui/records/fuel_page.h"
#include "gui/records/service_page.h"
#include "gui/shell/main_screen.h"

namespace kelvane {

class edit_box;

struct vehicle_settings {
    std::u16string mileage_unit = u"Kilometer";
    std::u16string fuel_unit = u"Liter";
    std::u16string currency = u"EUR";
    int economy_mode = 2;  // litres per 100 km
    double tank_capacity = 50;
    double initial_mileage = 0;
};

class record_screens_test : public gui_test {
protected:
    ~record_screens_test() override;

    // Adds the account, gives it its settings and writes its three files, as
    // the account editor does, and leaves it open.
    void add_vehicle(std::u16string_view name, const vehicle_settings& settings = {});
    // Starts the main screen with the program's screens (after the start-up
    // steps, as the program does) and leaves it running.
    main_screen& open_main_screen();

    fuel_page& fuel() { return static_cast<fuel_page&>(*screen_->page(page_id::fuel)); }
    service_page& service() { return static_cast<service_page&>(*screen_->page(page_id::service)); }
    fees_page& fees() { return static_cast<fees_page&>(*screen_->page(page_id::fees)); }

    // The file of the open account with this extension, read afresh from disk.
    std::u16string file_of(std::u16string_view extension) const;
    template <class Store>
    std::unique_ptr<Store> read_back() {
        auto store = std::make_unique<Store>();
        (void)store->load(prog->config.data_folder(), prog->config.current_account(), false);
        return store;
    }

    // Adds a record straight through the store, dated on the given day.
    void store_fill_up(double mileage, double bought, double gauge, int day, double cost = 0);

    std::unique_ptr<main_screen> screen_;
};

// Replaces a box's text as the owner would: select everything, type over it.
void retype(edit_box& box, const QString& text);

// A file system that reads but refuses every write, like a read-only folder.
class read_only_files : public file_system {
public:
    explicit read_only_files(file_system& inner) : inner_(inner) {}
    std::unique_ptr<device_file> open_read(std::u16string_view p) override {
        return inner_.open_read(p);
    }
    std::unique_ptr<device_file> create(std::u16string_view) override { return nullptr; }
    std::unique_ptr<device_file> open_write(std::u16string_view) override { return nullptr; }
    bool copy_file(std::u16string_view, std::u16string_view, bool) override { return false; }
    bool delete_file(std::u16string_view) override { return false; }
    bool replace_file(std::u16string_view, std::u16string_view) override { return false; }
    bool create_folder(std::u16string_view) override { return false; }
    bool file_exists(std::u16string_view p) override { return inner_.file_exists(p); }
    bool folder_exists(std::u16string_view p) override { return inner_.folder_exists(p); }
    std::vector<find_entry> find(std::u16string_view pattern) override {
        return inner_.find(pattern);
    }

private:
    file_system& inner_;
};

}  // namespace kelvane
