// The repair and maintenance page and editor, and the fees page and editor.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>

#include "gui/accounts/account_list.h"
#include "gui/accounts/accounts_page.h"
#include "gui/shell/first_start.h"
#include "gui/shell/main_commands.h"
#include "gui/widgets/account_combo.h"
#include "gui/widgets/edit_box.h"
#include "platform/qt/qpainter_dc.h"
#include "record_screens_support.h"

namespace kelvane {
namespace {

class service_and_fee_screens_test : public record_screens_test {
protected:
    static service_editor& repair(device_dialog& d) { return static_cast<service_editor&>(d); }
    static fee_editor& fee(device_dialog& d) { return static_cast<fee_editor&>(d); }
};

TEST_F(service_and_fee_screens_test,
       the_vehicle_chooser_shows_the_whole_name_beside_french_buttons) {
    // French chosen in the options: "Véhicule :" and "Réparation" are wider
    // than their English texts and leave the chooser less room.
    ASSERT_TRUE(install_bundled_files());
    ASSERT_TRUE(
        fs.copy_file(program_folder() + u"French.lng", program_folder() + u"Language.lng", true));
    add_vehicle(u"Corolla");
    auto& main = open_main_screen();
    for (int index : {0, 1, 2}) {
        main.tap(35 * index);
        QApplication::processEvents();
        const QComboBox& chooser =
            static_cast<record_page&>(*main.page(page_at(index))).vehicle_chooser();
        EXPECT_EQ("Corolla", chooser.currentText().toStdString());
        EXPECT_LE(QFontMetrics(chooser.font()).horizontalAdvance(chooser.currentText()),
                  account_combo_text_width(chooser))
            << "page " << index;
    }
    save_screenshot(screen.snapshot(), "repair_page_french");
}

TEST_F(service_and_fee_screens_test, a_ticked_maintenance_keeps_its_next_service_for_good) {
    add_vehicle(u"Car", {.initial_mileage = 250});
    auto& main = open_main_screen();
    modal.then([](device_dialog& d) {
        service_editor& e = repair(d);
        EXPECT_EQ(u"250.0", e.mileage_box().get_text());
        EXPECT_EQ(u"250.0", e.next_service_box().get_text());
        EXPECT_FALSE(e.next_service_box().isVisibleTo(&d)) << "a new job starts as a repair";
        e.maintenance_box().setChecked(true);
        EXPECT_TRUE(e.next_service_box().isVisibleTo(&d));
        EXPECT_FALSE(e.maintenance_box().isVisibleTo(&d));
        retype(e.next_service_box(), "15250");
        type(e.cost_box(), "89.90");
        type(e.description_box(), "OIL AND FILTER");
        d.choose(record_editor::cmd_save);
    });
    main.choose(cmd::new_repair);
    EXPECT_EQ(page_id::service, main.current_page());
    ASSERT_EQ(1, prog->service.record_count());
    EXPECT_EQ(u"OIL AND FILTER", service().list().cell_text(0, 1));
    EXPECT_EQ(u"89.90", service().list().cell_text(0, 2));

    modal.then([](device_dialog& d) {
        service_editor& e = repair(d);
        EXPECT_TRUE(e.maintenance());
        EXPECT_TRUE(e.next_service_box().isVisibleTo(&d));
        EXPECT_FALSE(e.maintenance_box().isVisibleTo(&d));
        EXPECT_EQ(u"15250.0", e.next_service_box().get_text());
    });
    main.choose(cmd::edit);
    ASSERT_EQ(3u, modal.opened().size());
    EXPECT_EQ("kelvane::service_editor", modal.opened()[2]);

    prog->save_at_end();
    auto stored = read_back<service_store>();
    ASSERT_EQ(1, stored->record_count());
    EXPECT_EQ(0, stored->record_at(0).repair_flag);
    EXPECT_EQ(15250.0, stored->record_at(0).next_service_mileage);
    EXPECT_EQ(250.0, stored->record_at(0).mileage);
    EXPECT_EQ(89.9, stored->record_at(0).cost);
}

TEST_F(service_and_fee_screens_test, a_plain_repair_has_no_next_service) {
    add_vehicle(u"Car", {.initial_mileage = 4000});
    open_main_screen();
    modal.then([](device_dialog& d) {
        type(repair(d).cost_box(), "120");
        d.choose(record_editor::cmd_save);
    });
    service().start_new();
    ASSERT_EQ(1, prog->service.record_count());
    EXPECT_EQ(1, prog->service.record_at(0).repair_flag);
    // The hidden box held the current mileage; a repair must not export it
    // as the mileage of a next service.
    EXPECT_EQ(0.0, prog->service.record_at(0).next_service_mileage);
}

TEST_F(service_and_fee_screens_test,
       repairs_can_be_added_when_the_accounts_repair_file_is_missing) {
    add_vehicle(u"Car");
    ASSERT_TRUE(fs.delete_file(file_of(u".mat")));
    ASSERT_TRUE(prog->config.open_account(u"Car").opened);
    open_main_screen();
    modal.then([](device_dialog& d) {
        type(repair(d).cost_box(), "45");
        d.choose(record_editor::cmd_save);
    });
    service().start_new();
    EXPECT_TRUE(boxes.texts().empty());
    EXPECT_EQ(1, prog->service.record_count());
    EXPECT_FALSE(fs.bytes(file_of(u".mat")).empty());
}

TEST_F(service_and_fee_screens_test, a_new_fee_opens_on_parking_and_keeps_a_category_of_its_own) {
    add_vehicle(u"Car", {.initial_mileage = 800});
    auto& main = open_main_screen();
    const QString ferry = "Ferry crossing to the island, return";  // 36 characters
    modal.then([&](device_dialog& d) {
        fee_editor& e = fee(d);
        EXPECT_EQ("Parking", e.category_box().currentText());
        EXPECT_EQ(10, e.category_box().count());
        EXPECT_EQ("Other", e.category_box().itemText(9));
        e.category_box().setEditText(ferry);
        type(e.cost_box(), "18.5");
        d.choose(record_editor::cmd_save);
    });
    main.choose(cmd::new_fees);
    EXPECT_EQ(page_id::fees, main.current_page());
    const std::u16string kept = ferry.left(30).toStdU16String();
    EXPECT_EQ(kept, fees().list().cell_text(0, 1));

    modal.then([&](device_dialog& d) {
        EXPECT_EQ(QString::fromStdU16String(kept), fee(d).category_box().currentText());
        EXPECT_EQ(u"18.50", fee(d).cost_box().get_text());
        d.choose(record_editor::cmd_save);
    });
    fees().edit_selected();
    prog->save_at_end();
    auto stored = read_back<fee_store>();
    ASSERT_EQ(1, stored->record_count());
    EXPECT_EQ(kept, fixed_text(stored->record_at(0).category));
    EXPECT_EQ(800.0, stored->record_at(0).mileage);
    EXPECT_EQ(18.5, stored->record_at(0).cost);
}

TEST_F(service_and_fee_screens_test, fees_are_listed_newest_first_and_deleted_from_the_list) {
    add_vehicle(u"Car");
    for (int day : {1, 2, 3}) {
        fee_record r{};
        r.year = 2026, r.month = 1, r.day = day;
        r.cost = day * 10;
        set_fixed(r.category, day == 2 ? u"Second" : u"Other");
        ASSERT_FALSE(prog->fees.add_record(r).key.empty());
    }
    open_main_screen();
    record_list_base& list = fees().list();
    EXPECT_EQ(u"30.00", list.cell_text(0, 2));
    EXPECT_EQ(u"10.00", list.cell_text(2, 2));
    list.select_row(1);
    modal.then_choose(record_list_base::cmd_delete);
    list.hold_at({20, list.row_height() + 2});
    ASSERT_EQ(2, prog->fees.record_count());
    EXPECT_EQ(u"Other", fixed_text(prog->fees.record_at(1).category));
    EXPECT_EQ(40.0, prog->fees.header().total_cost);
}

TEST_F(service_and_fee_screens_test,
       a_due_service_is_drawn_in_warning_colours_and_named_on_the_accounts_page) {
    const auto job = [&](int day, double mileage, std::u16string_view what, double next) {
        service_record r{};
        r.year = 2026, r.month = 3, r.day = day, r.hour = 12;
        r.mileage = mileage;
        r.next_service_mileage = next;
        r.repair_flag = 0;
        set_fixed(r.description, what);
        ASSERT_FALSE(prog->service.add_record(r).key.empty());
    };
    // Van (read from its files): the next service far ahead.
    add_vehicle(u"Van", {.initial_mileage = 30000});
    job(1, 30000, u"Oil change", 45000);
    // Car (open): one service 400 km ahead, one passed, one far ahead.
    add_vehicle(u"Car", {.initial_mileage = 14600});
    job(1, 10000, u"Oil change", 15000);
    job(2, 11000, u"Brake fluid", 14000);
    job(3, 12000, u"Timing belt", 60000);
    open_main_screen();
    record_list_base& list = service().list();
    service().refresh();
    list.select_row(-1);
    QImage shown(list.viewport()->size(), QImage::Format_RGB32);
    {
        image_dc d(shown);
        list.draw_rows(d);
    }
    save_screenshot(shown, "service_due_rows");
    // Newest first: timing belt, brake fluid, oil change.
    const int h = list.row_height();
    EXPECT_EQ(rgb(255, 255, 255), pixel(shown, 2, h / 2));
    EXPECT_EQ(service_page::overdue_background, pixel(shown, 2, h + h / 2));
    EXPECT_EQ(service_page::due_background, pixel(shown, 2, 2 * h + h / 2));

    auto& accounts = static_cast<accounts_page&>(*screen_->page(page_id::accounts));
    accounts.refresh();
    const auto& rows = accounts.list().rows();
    ASSERT_EQ(2u, rows.size());
    EXPECT_EQ(u"Car", rows[0].name);
    EXPECT_TRUE(rows[0].service_due);
    EXPECT_FALSE(rows[1].service_due);
}

}  // namespace
}  // namespace kelvane
