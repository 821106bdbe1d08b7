// The fuel page and the fuel purchase editor, driven as the owner drives them.

#include <QApplication>
#include <QCalendarWidget>
#include <QComboBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <optional>

#include "core/common/scaled_font.h"
#include "core/common/translate.h"
#include "core/tools/language_table.h"
#include "gui/accounts/accounts_page.h"
#include "gui/records/list_header.h"
#include "gui/shell/first_start.h"
#include "gui/shell/main_commands.h"
#include "gui/widgets/date_picker.h"
#include "gui/widgets/edit_box.h"
#include "gui/widgets/skin_button.h"
#include "platform/qt/qpainter_dc.h"
#include "record_screens_support.h"

namespace kelvane {
namespace {

class fuel_screens_test : public record_screens_test {
protected:
    static fuel_editor& editor(device_dialog& d) { return static_cast<fuel_editor&>(d); }
};

TEST_F(fuel_screens_test, typing_keeps_price_cost_and_quantity_together_and_saves_the_fill_up) {
    add_vehicle(u"Car", {.tank_capacity = 50, .initial_mileage = 12000});
    auto& main = open_main_screen();
    main.tap(105);  // another page: "Purchase Fuel" brings the fuel page back
    const std::u16string note(60, u'N');
    modal.then([&](device_dialog& d) {
        fuel_editor& e = editor(d);
        EXPECT_EQ(u"12000.0", e.mileage_box().get_text());
        type(e.unit_price_box(), "1.500");
        type(e.cost_box(), "30");
        EXPECT_EQ(u"20.00", e.quantity_box().get_text());
        retype(e.quantity_box(), "10");
        EXPECT_EQ(u"15.00", e.cost_box().get_text());
        EXPECT_EQ(u"1.500", e.unit_price_box().get_text()) << "the price is what was typed";
        e.full_tank_button().click();
        EXPECT_EQ(u"50.00", e.gauge_box().get_text());
        retype(e.mileage_box(), "12345.6");
        e.fuel_type_box().setEditText("Super");
        type(e.note_box(), QString::fromStdU16String(note));
        EXPECT_TRUE(e.choose(record_editor::cmd_save));
    });
    main.choose(cmd::purchase_fuel);
    EXPECT_EQ(page_id::fuel, main.current_page());
    EXPECT_TRUE(boxes.boxes().empty());

    prog->save_at_end();
    auto stored = read_back<fuel_store>();
    ASSERT_EQ(1, stored->record_count());
    const fuel_record& r = stored->record_at(0);
    EXPECT_EQ(1.5, r.unit_price);
    EXPECT_EQ(15.0, r.fuel_cost);
    EXPECT_EQ(10.0, r.fuel_purchased);
    EXPECT_EQ(50.0, r.fuel_gauge);
    EXPECT_EQ(12345.6, r.mileage);
    EXPECT_EQ(u"Super", fixed_text(r.fuel_type));
    EXPECT_EQ(note.substr(0, 50), fixed_text(r.note));
    EXPECT_EQ(2026, r.year);
    EXPECT_EQ(12, r.month);
    EXPECT_EQ(7, r.day) << "dated now";
    EXPECT_EQ(1.5, stored->header().last_unit_price);
}

TEST_F(fuel_screens_test, a_new_fill_up_starts_from_the_last_price_and_fuel_type) {
    add_vehicle(u"Car");
    auto& main = open_main_screen();
    modal.then([](device_dialog& d) {
        type(editor(d).unit_price_box(), "1.789");
        editor(d).fuel_type_box().setCurrentIndex(5);  // the bottom of the list
        d.choose(record_editor::cmd_save);
    });
    main.choose(cmd::purchase_fuel);
    std::optional<fuel_entry> next;
    modal.then([&](device_dialog& d) { next = editor(d).entry(); });
    fuel().new_button().click();
    ASSERT_TRUE(next);
    EXPECT_EQ(u"1.789", next->unit_price);
    EXPECT_EQ(u"Diesel", next->fuel_type);
    EXPECT_EQ(u"", next->cost);
}

// A tap into a box, as the owner gives it: the focus, then press and release.
void tap(edit_box& box) {
    focus_in(box);
    mouse_press(box, box.rect().center());
    mouse_release(box, box.rect().center());
}

TEST_F(fuel_screens_test, the_first_tap_into_a_filled_box_selects_what_the_program_put_there) {
    add_vehicle(u"Car", {.initial_mileage = 12000});
    auto& main = open_main_screen();
    modal.then([](device_dialog& d) {
        type(editor(d).unit_price_box(), "1.759");
        type(editor(d).cost_box(), "30");
        d.choose(record_editor::cmd_save);
    });
    main.choose(cmd::purchase_fuel);
    modal.then([](device_dialog& d) {
        fuel_editor& e = editor(d);
        ASSERT_EQ(u"1.759", e.unit_price_box().get_text()) << "the last price, carried over";
        tap(e.unit_price_box());
        type(e.unit_price_box(), "1.799");
        EXPECT_EQ(u"1.799", e.unit_price_box().get_text()) << "the new price replaces the old";
        // The mileage keeps its last digits for the owner to type the leading ones.
        tap(e.mileage_box());
        type(e.mileage_box(), "13");
        EXPECT_EQ(u"13000.0", e.mileage_box().get_text());
        // Once typed in, a box is the owner's: a later tap places the caret.
        tap(e.unit_price_box());
        EXPECT_FALSE(e.unit_price_box().hasSelectedText());
    });
    fuel().new_button().click();
}

TEST_F(fuel_screens_test, when_a_dialog_closes_the_keys_work_in_the_list_at_once) {
    add_vehicle(u"Car");
    store_fill_up(1000, 40, 50, 1);
    auto& main = open_main_screen();
    record_list_base& list = fuel().list();
    // The owner taps the page's button for a new fill-up and adds it.
    fuel().new_button().setFocus();
    modal.then([](device_dialog& d) {
        retype(editor(d).mileage_box(), "1500");
        type(editor(d).cost_box(), "30");
        d.choose(record_editor::cmd_save);
    });
    fuel().new_button().click();
    ASSERT_EQ(&list, main.focusWidget());
    EXPECT_EQ(0, list.selected_row()) << "on the new fill-up";
    key(*main.focusWidget(), Qt::Key_Down);
    EXPECT_EQ(1, list.selected_row());

    // Options opened from the menu and cancelled.
    fuel().menu_button().setFocus();
    modal.then([](device_dialog& d) { d.end_dialog(device_dialog::dismissed); });
    main.choose(cmd::options);
    EXPECT_EQ(&list, main.focusWidget());
}

TEST_F(fuel_screens_test, the_window_title_names_the_open_vehicle) {
    add_vehicle(u"Car");
    add_vehicle(u"Van");
    open_main_screen();
    EXPECT_EQ("Van - Kelvane", screen.windowTitle());
    QComboBox& chooser = fuel().vehicle_chooser();
    ASSERT_EQ("Van", chooser.currentText());
    key(chooser, Qt::Key_Down);
    ASSERT_EQ("Car", chooser.currentText());
    EXPECT_TRUE(process_events_until([&] { return screen.windowTitle() == "Car - Kelvane"; }))
        << screen.windowTitle().toStdString();
}

TEST_F(fuel_screens_test, french_button_captions_are_written_whole_on_the_narrowest_screen) {
    // French chosen in the options: it is the language the program starts with.
    ASSERT_TRUE(install_bundled_files());
    ASSERT_TRUE(
        fs.copy_file(program_folder() + u"French.lng", program_folder() + u"Language.lng", true));
    add_vehicle(u"Car");
    auto& main = open_main_screen();
    ASSERT_EQ(240, device().screen_width());
    std::vector<skin_button*> buttons{
        &fuel().new_button(), &service().new_button(),
        &static_cast<accounts_page&>(*main.page(page_id::accounts)).add_button()};
    for (skin_button* b : buttons) {
        // The font the caption is drawn in when it is not made smaller.
        const QFont font =
            b->font_size >= 0 ? device_font({b->font_face, b->font_size}) : b->font();
        EXPECT_GE(b->width(), QFontMetrics(font).horizontalAdvance(b->text()) + 4)
            << b->text().toStdString();
    }
    EXPECT_EQ("Ajouter un véhicule", buttons[2]->text());
}

TEST_F(fuel_screens_test, an_edit_that_changes_the_date_reorders_and_recomputes_the_neighbours) {
    add_vehicle(u"Car");
    store_fill_up(1000, 40, 50, 1);
    store_fill_up(1500, 40, 50, 2);
    store_fill_up(2000, 50, 50, 10);  // dated wrongly: it was bought on the 3rd
    store_fill_up(2500, 30, 50, 4);
    open_main_screen();
    record_list_base& list = fuel().list();
    ASSERT_EQ(u" 2000", list.cell_text(0, 0));
    modal.then([](device_dialog& d) {
        editor(d).date_box().set_value({2026, 3, 3, 12, 0, 0});
        d.choose(record_editor::cmd_save);
    });
    fuel().edit_selected();

    const std::vector<std::u16string> mileages{u" 2500", u" 2000", u" 1500", u" 1000"};
    const std::vector<std::u16string> economies{u"-", u"6.00", u"10.00", u"8.00"};
    for (int row = 0; row < 4; ++row) {
        EXPECT_EQ(mileages[static_cast<std::size_t>(row)], list.cell_text(row, 0)) << row;
        EXPECT_EQ(economies[static_cast<std::size_t>(row)], list.cell_text(row, 2)) << row;
    }
    EXPECT_EQ(1, list.selected_row()) << "the edited fill-up stays selected at its new place";

    prog->save_at_end();
    auto stored = read_back<fuel_store>();
    ASSERT_EQ(4, stored->record_count());
    EXPECT_EQ(2000, stored->record_at(2).mileage);
    EXPECT_EQ(3, stored->record_at(2).day);
    EXPECT_DOUBLE_EQ(10.0, stored->record_at(1).economy);
    EXPECT_DOUBLE_EQ(6.0, stored->record_at(2).economy);
}

TEST_F(fuel_screens_test, saving_an_edit_keeps_the_quantity_of_a_fill_up_without_a_price) {
    // A fill-up entered with cost and quantity only (or imported so) has no
    // price; opening it must not turn its quantity into cost / 0.
    add_vehicle(u"Car");
    store_fill_up(1000, 40, 50, 1, 60);
    open_main_screen();
    modal.then([](device_dialog& d) {
        EXPECT_EQ(u"40.00", editor(d).quantity_box().get_text());
        d.choose(record_editor::cmd_save);
    });
    screen_->choose(cmd::edit);
    EXPECT_EQ(40.0, prog->fuel.record_at(0).fuel_purchased);
    EXPECT_EQ(60.0, prog->fuel.record_at(0).fuel_cost);
}

TEST_F(fuel_screens_test, no_to_the_delete_question_leaves_the_file_as_it_was) {
    add_vehicle(u"Car");
    store_fill_up(1000, 40, 50, 1);
    store_fill_up(1500, 40, 50, 2);
    open_main_screen();
    const auto before = fs.bytes(file_of(u".ful"));

    boxes.answer_next(message_answer::no);
    modal.then_choose(record_page::cmd_delete);
    fuel().menu_button().click();  // the page's own menu
    boxes.answer_next(message_answer::no);
    modal.then([](device_dialog& d) {
        d.choose(record_editor::cmd_delete);
        EXPECT_FALSE(d.ended()) << "No keeps the editor open";
    });
    fuel().edit_selected();
    EXPECT_EQ(std::vector<std::u16string>(2, msg_confirm_delete), boxes.texts());
    EXPECT_EQ(2, prog->fuel.record_count());
    prog->save_at_end();
    EXPECT_EQ(before, fs.bytes(file_of(u".ful")));
}

TEST_F(fuel_screens_test, the_editor_deletes_its_fill_up_on_yes) {
    add_vehicle(u"Car");
    store_fill_up(1000, 40, 50, 1);
    store_fill_up(1500, 40, 50, 2);
    open_main_screen();
    fuel().list().select_row(1);
    modal.then([](device_dialog& d) { d.choose(record_editor::cmd_delete); });
    fuel().edit_selected();
    prog->save_at_end();
    auto stored = read_back<fuel_store>();
    ASSERT_EQ(1, stored->record_count());
    EXPECT_EQ(1500, stored->record_at(0).mileage);
}

TEST_F(fuel_screens_test, a_save_the_folder_refuses_keeps_the_editor_open_with_what_was_typed) {
    add_vehicle(u"Car");
    store_fill_up(1000, 40, 50, 1);
    open_main_screen();
    read_only_files locked(fs);
    std::optional<scoped_services> read_only;
    read_only.emplace(service_set{&locked});
    modal.then([&](device_dialog& d) {
        fuel_editor& e = editor(d);
        type(e.cost_box(), "61.20");
        retype(e.mileage_box(), "1600");
        e.choose(record_editor::cmd_save);
        EXPECT_FALSE(d.ended());
        EXPECT_EQ(std::vector<std::u16string>{msg_write_failed}, boxes.texts());
        EXPECT_EQ(u"61.20", e.cost_box().get_text());
        EXPECT_EQ(u"1600", e.mileage_box().get_text());

        // The folder can be written again: saving once more stores the fill-up once.
        read_only.reset();
        e.choose(record_editor::cmd_save);
        EXPECT_TRUE(d.ended());
    });
    fuel().start_new();
    EXPECT_EQ(2, prog->fuel.record_count());
    EXPECT_EQ(2, fuel().list().row_count());
    prog->save_at_end();
    auto stored = read_back<fuel_store>();
    ASSERT_EQ(2, stored->record_count());
    EXPECT_EQ(61.2, stored->record_at(1).fuel_cost);
    EXPECT_EQ(1600, stored->record_at(1).mileage);
}

TEST_F(fuel_screens_test, commands_without_an_account_or_a_selection_say_what_is_missing) {
    auto& main = open_main_screen();
    main.choose(cmd::purchase_fuel);
    fuel().edit_selected();
    fuel().delete_selected();
    EXPECT_EQ(1u, modal.opened().size()) << "only the start-up splash";
    EXPECT_EQ(
        (std::vector<std::u16string>{msg_open_account_first, msg_select_record, msg_select_record}),
        boxes.texts());
}

TEST_F(fuel_screens_test, the_page_menu_keeps_its_own_commands) {
    add_vehicle(u"Car");
    auto& main = open_main_screen();
    main.tap(70);
    main.tap(0);
    // The page's "New" has the number of the main menu's "Add Auto", and its
    // "Back" that of "Options": each must do what the page's menu says.
    modal.then_choose(record_page::cmd_new);
    fuel().open_page_menu();
    ASSERT_EQ(2u, modal.opened().size());
    EXPECT_EQ("kelvane::fuel_editor", modal.opened()[1]);
    EXPECT_EQ(page_id::fuel, main.current_page());
    modal.then_choose(record_page::cmd_back);
    fuel().open_page_menu();
    EXPECT_EQ(page_id::fees, main.current_page()) << "back to the page shown before";
    EXPECT_TRUE(boxes.boxes().empty());
    const auto& menu = modal.popups()[0];
    ASSERT_EQ(5u, menu.size());
    EXPECT_EQ(u"New", menu[0].text);
    EXPECT_EQ(u"Back", menu[4].text);
}

TEST_F(fuel_screens_test, the_vehicle_chooser_opens_the_other_account) {
    add_vehicle(u"Car");
    store_fill_up(1000, 40, 50, 1);
    add_vehicle(u"Van", {.economy_mode = 3});
    open_main_screen();
    EXPECT_EQ(0, fuel().list().row_count());
    QComboBox& chooser = fuel().vehicle_chooser();
    ASSERT_EQ("Van", chooser.currentText());
    chooser.setCurrentIndex(chooser.findText("Car"));
    EXPECT_EQ(u"Car", prog->config.current_account());
    EXPECT_EQ(1, fuel().list().row_count());
    EXPECT_EQ(0, fuel().list().selected_row());
    EXPECT_EQ(u"Liter/100Km", fuel().list().header().items()[2].title);
}

TEST_F(fuel_screens_test, every_control_of_the_pages_shows_on_each_screen_size) {
    add_vehicle(u"Car");
    for (int day = 1; day <= 20; ++day) store_fill_up(1000 + 400 * day, 40, 50, day);
    auto& main = open_main_screen();
    main.fire_pending_timers();
    const std::pair<int, int> sizes[] = {{240, 320}, {240, 240}, {320, 240}};
    for (auto [w, h] : sizes) {
        screen.set_screen_size(w, h);
        const QRect shown(0, 0, w, h - main_screen::tab_band - soft_menu_bar::bar_height);
        for (int index : {0, 1, 2}) {
            main.tap(35 * index);
            QApplication::processEvents();
            auto& page = static_cast<record_page&>(*main.page(page_at(index)));
            for (QWidget* control : {static_cast<QWidget*>(&page.list()),
                                     static_cast<QWidget*>(&page.vehicle_chooser()),
                                     static_cast<QWidget*>(&page.new_button()),
                                     static_cast<QWidget*>(&page.menu_button())})
                EXPECT_TRUE(shown.contains(control->geometry()))
                    << w << "x" << h << " page " << index;
            EXPECT_GE(page.list().rows_per_page(), 4) << w << "x" << h;
            EXPECT_EQ(0, page.list().horizontalScrollBar()->maximum())
                << "the columns fit beside the scroll bar at " << w << "x" << h;
        }
        main.tap(0);
        save_screenshot(screen.snapshot(),
                        ("fuel_page_" + std::to_string(w) + "x" + std::to_string(h)).c_str());
    }
}

// The owner scrolls a short form until the control shows.
void scroll_to(QWidget& w) {
    for (QWidget* p = w.parentWidget(); p; p = p->parentWidget())
        if (auto* area = qobject_cast<QScrollArea*>(p)) area->ensureWidgetVisible(&w);
    QApplication::processEvents();
}

TEST_F(fuel_screens_test,
       full_tank_numbers_and_the_calendar_are_there_to_see_and_tap_at_every_size) {
    ASSERT_TRUE(install_bundled_files());  // the French translation comes with the program
    add_vehicle(u"Car", {.tank_capacity = 50, .initial_mileage = 54000});
    auto& main = open_main_screen();
    main.fire_pending_timers();
    language_table french;
    ASSERT_EQ(load_result::loaded, french.load(u"French"));
    const std::pair<int, int> sizes[] = {{240, 320}, {240, 240}, {320, 240}, {480, 640}};
    for (const text_translator* language :
         {services().translator, static_cast<const text_translator*>(&french)}) {
        scoped_translator in_language(language);
        for (auto [w, h] : sizes) {
            const std::string where = std::to_string(w) + "x" + std::to_string(h) +
                                      (language == &french ? " French" : " English");
            screen.set_screen_size(w, h);
            modal.then([&](device_dialog& d) {
                fuel_editor& e = editor(d);
                QApplication::processEvents();
                const QRect shown = e.client_rect();

                // A tap where the owner sees "Full Tank" lands on it and fills the gauge.
                skin_button& full = e.full_tank_button();
                scroll_to(full);
                const QPoint centre = full.mapTo(&e, full.rect().center());
                EXPECT_TRUE(shown.contains(centre)) << where;
                QWidget* hit = e.childAt(centre);
                ASSERT_EQ(static_cast<QWidget*>(&full), hit) << where;
                mouse_press(*hit, hit->mapFrom(&e, centre));
                mouse_release(*hit, hit->mapFrom(&e, centre));
                EXPECT_EQ(u"50.00", e.gauge_box().get_text()) << where;

                // Every number box shows its whole number.
                for (edit_box* box : {&e.mileage_box(), &e.unit_price_box(), &e.gauge_box()}) {
                    box->set_text(box == &e.mileage_box() ? u"154000.0" : u"1234.567");
                    EXPECT_LE(QFontMetrics(box->font()).horizontalAdvance(box->text()),
                              box->width() - 8)
                        << box->text().toStdString() << " cut at " << where;
                }

                // The labels grow with the screen as the boxes beside them do.
                for (QLabel* label : e.findChildren<QLabel*>())
                    if (label->text().endsWith(u':')) {
                        EXPECT_GE(QFontInfo(label->font()).pixelSize(), scaled_font_size(9))
                            << label->text().toStdString() << " at " << where;
                    }

                // The calendar drops down inside the device's screen.
                date_picker& date = e.date_box();
                scroll_to(date);
                mouse_press(date, QPoint(date.width() - 4, date.height() / 2));
                QWidget* calendar = date.calendarWidget()->window();
                EXPECT_TRUE(process_events_until([&] { return calendar->isVisible(); })) << where;
                const QRect screen_area(screen.mapToGlobal(QPoint(0, 0)), screen.size());
                EXPECT_TRUE(screen_area.contains(calendar->geometry()))
                    << where << ": calendar at " << calendar->geometry().x() << ","
                    << calendar->geometry().y() << " " << calendar->width() << "x"
                    << calendar->height();
                calendar->hide();
                save_screenshot(screen.snapshot(), ("fuel_editor_" + where).c_str());
                e.choose(record_editor::cmd_cancel);
            });
            fuel().new_button().click();
        }
    }
}

TEST_F(fuel_screens_test, a_larger_screen_keeps_the_list_header_whole_above_the_rows) {
    add_vehicle(u"Car");
    store_fill_up(1000, 40, 50, 1);
    open_main_screen().fire_pending_timers();
    for (auto [w, h] : {std::pair{480, 640}, std::pair{240, 320}}) {
        screen.set_screen_size(w, h);
        QApplication::processEvents();
        record_list_base& list = fuel().list();
        const QRect header = list.header().geometry();
        EXPECT_GE(header.top(), 0) << w << "x" << h;
        EXPECT_LE(header.bottom(), list.viewport()->geometry().top()) << "rows under the header";
        // The date column holds the whole date.
        const QFontMetrics rows(device_font({u"System", scaled_font_size(12)}));
        EXPECT_GE(list.column_width(3), rows.horizontalAdvance("28/10/26")) << w << "x" << h;
    }
}

}  // namespace
}  // namespace kelvane
