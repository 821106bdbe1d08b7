// The trips page, the trip editor and the trip picker, driven as the owner
// drives them.

#include <QCheckBox>
#include <QListWidget>

#include "core/common/messages.h"
#include "core/common/text.h"
#include "core/trips/trip_editing.h"
#include "gui/charts/report_screens_support.h"
#include "gui/records/record_screens_support.h"
#include "gui/shell/main_commands.h"
#include "gui/shell/main_screen.h"
#include "gui/shell/screens.h"
#include "gui/trips/trip_editor.h"
#include "gui/trips/trip_list.h"
#include "gui/trips/trip_picker.h"
#include "gui/trips/trips_page.h"
#include "gui/widgets/date_picker.h"
#include "gui/widgets/edit_box.h"
#include "gui/widgets/skin_button.h"
#include "gui/widgets/vehicle_picker.h"
#include "platform/recording_dc.h"

namespace kelvane {
namespace {

class trips_test : public report_screens_test {
protected:
    std::unique_ptr<trips_page> open_page() {
        auto page = std::make_unique<trips_page>(*prog, nullptr);
        page->resize(320, 400);
        page->set_screen_size(240, 320);
        page->refresh();
        return page;
    }
    // Queues the vehicle picker's answer: "Select All" or "Clear All", then "Ok".
    void answer_picker(int all_or_none) {
        modal.then([all_or_none](device_dialog& d) {
            d.choose(all_or_none);
            d.choose(vehicle_picker::cmd_ok);
        });
    }
    std::vector<std::u16string> descriptions() const { return prog->trips.list_descriptions(); }
    // The trips as the file holds them.
    trip_store reread() {
        trip_store again;
        (void)again.load(folder(), u"Trip", false);
        return again;
    }
};

TEST_F(trips_test, a_new_trip_is_checked_in_the_order_of_its_messages) {
    add_account(u"Van", {});
    for (int i = 0; i < 10; ++i) add_account(u"Car" + format("%d", i), {});
    add_trip(u"Holiday", {u"Van"});
    modal.then([&](device_dialog& d) {
        auto& ed = dynamic_cast<trip_editor&>(d);
        EXPECT_FALSE(ed.editing());
        EXPECT_EQ(std::vector<std::u16string>{u"Van"}, ed.vehicles()) << "the open account";
        // No description, and no vehicle either: the description is named first.
        answer_picker(vehicle_picker::cmd_clear_all);
        ed.vehicle_button().click();
        EXPECT_EQ(u"Tap to choose vehicle", ed.vehicle_button_text());
        ed.choose(trip_editor::cmd_save);
        ed.description().set_text(u"Holiday");
        ed.choose(trip_editor::cmd_save);
        ed.description().set_text(u"Weekend");
        ed.choose(trip_editor::cmd_save);
        answer_picker(vehicle_picker::cmd_select_all);
        ed.vehicle_button().click();
        EXPECT_EQ(11u, ed.vehicles().size());
        EXPECT_EQ(u"Car9,Car8,Car7,Car6,Car5,Car4,...", ed.vehicle_button_text());
        ed.choose(trip_editor::cmd_save);
        EXPECT_FALSE(ed.ended()) << "every refusal leaves the editor open";
    });
    auto page = open_page();
    page->start_new();
    const std::vector<std::u16string> expected{
        u"You must enter trip in Description.", u"Trip name exists, please enter another name.",
        u"Please choose at least one vehicle account", u"Choose at most ten vehicle accounts"};
    EXPECT_EQ(expected, boxes.texts());
    EXPECT_EQ(std::vector<std::u16string>{u"Holiday"}, descriptions()) << "nothing was kept";
}

TEST_F(trips_test, a_mileage_that_is_no_number_keeps_the_editor_open_and_saves_nothing) {
    add_account(u"Van", {});
    modal.then([&](device_dialog& d) {
        auto& ed = dynamic_cast<trip_editor&>(d);
        ed.description().set_text(u"Coast");
        ed.range().use_start_mileage->setChecked(true);
        ed.range().start_mileage->set_text(u"1.7591.799");
        ed.choose(trip_editor::cmd_save);
        EXPECT_FALSE(ed.ended());
        EXPECT_EQ(u"1.7591.799", ed.range().start_mileage->get_text());
        ed.choose(trip_editor::cmd_cancel);
    });
    auto page = open_page();
    page->start_new();
    ASSERT_EQ(1u, boxes.texts().size());
    EXPECT_NE(std::u16string::npos, boxes.texts()[0].find(u"Start Mileage"));
    EXPECT_TRUE(descriptions().empty());
    EXPECT_EQ(0, reread().record_count());
}

TEST_F(trips_test, two_vehicles_with_a_mileage_range_warn_once_and_keep_the_dates) {
    add_account(u"Van", {});
    add_account(u"Golf", {});
    clock.set(2026, 4, 5, 8, 0);
    modal.then([&](device_dialog& d) {
        auto& ed = dynamic_cast<trip_editor&>(d);
        ed.description().set_text(u"Coast");
        answer_picker(vehicle_picker::cmd_select_all);
        ed.vehicle_button().click();
        ed.range().use_start_mileage->setChecked(true);
        ed.range().start_mileage->set_text(u"1000");
        ed.range().use_end_mileage->setChecked(true);
        ed.range().end_mileage->set_text(u"1500");
        ed.range().use_start_date->setChecked(true);
        ed.range().start_date->set_date(2026, 3, 1);
        ed.choose(trip_editor::cmd_save);
    });
    auto page = open_page();
    page->start_new();
    EXPECT_EQ(std::vector<std::u16string>{std::u16string(msg_mileage_range_dropped)},
              boxes.texts());
    trip_store file = reread();
    ASSERT_EQ(1, file.record_count());
    const trip_record& t = file.record_at(0);
    // What the editor's fields and the picker gave; what saving makes of a
    // range over two vehicles is core's to check.
    EXPECT_EQ(u"Coast", fixed_text(t.trip_description));
    EXPECT_EQ(u"Golf", fixed_text(t.trip_vehicles[0]));
    EXPECT_EQ(u"Van", fixed_text(t.trip_vehicles[1]));
    EXPECT_EQ(1, t.use_start_date);
    EXPECT_EQ(2026, t.start_year);
    EXPECT_EQ(3, t.start_month);
    EXPECT_EQ(1, t.start_day);
    // The list shows the new trip with its vehicles instead of a mileage.
    ASSERT_EQ(5, page->list().row_count());
    EXPECT_EQ(u"(Golf,Van)", page->list().row_at_index(4).text);
}

TEST_F(trips_test, an_edited_trip_is_saved_over_itself_and_survives_a_restart) {
    add_account(u"Van", {{2026, 1, 1, 1000}, {2026, 1, 9, 1400}});
    add_trip(u"Holiday", {u"Van"});
    add_trip(u"Work", {u"Van"}, 1000, 1500);
    auto page = open_page();
    page->list().select_row(5);  // the first row of "Work"
    EXPECT_EQ(1, page->list().selected_trip());
    modal.then([&](device_dialog& d) {
        auto& ed = dynamic_cast<trip_editor&>(d);
        EXPECT_TRUE(ed.editing());
        EXPECT_EQ(u"Work", ed.description().get_text());
        EXPECT_EQ(u"1000.0", ed.range().start_mileage->get_text());
        EXPECT_TRUE(ed.range().use_end_mileage->isChecked());
        // Another trip's name is taken.
        ed.description().set_text(u"Holiday");
        ed.choose(trip_editor::cmd_save);
        EXPECT_FALSE(ed.ended());
        ed.description().set_text(u"Commute");
        ed.range().end_mileage->set_text(u"1800");
        ed.choose(trip_editor::cmd_save);
    });
    page->edit_selected();
    EXPECT_EQ(std::vector<std::u16string>{u"Trip name exists, please enter another name."},
              boxes.texts());
    EXPECT_EQ(u"800.00", page->list().row_at_index(9).cost_text) << "the list is rebuilt";

    restart();
    (void)prog->trips.load(folder(), u"Trip", false);
    ASSERT_EQ((std::vector<std::u16string>{u"Holiday", u"Commute"}), descriptions())
        << "the same trip, not a new one";
    EXPECT_EQ(1800.0, prog->trips.record_at(1).end_mileage);
}

TEST_F(trips_test, a_new_trip_the_folder_refuses_is_written_once_when_saved_again) {
    add_account(u"Van", {});
    auto page = open_page();
    read_only_files locked(fs);
    std::optional<scoped_services> read_only;
    read_only.emplace(service_set{&locked});
    modal.then([&](device_dialog& d) {
        auto& ed = dynamic_cast<trip_editor&>(d);
        ed.description().set_text(u"Holiday");
        ed.choose(trip_editor::cmd_save);
        EXPECT_FALSE(ed.ended()) << "nothing typed is lost";
        EXPECT_EQ(std::vector<std::u16string>{msg_write_failed}, boxes.texts());
        // The folder takes writes again: the same trip is written, not a second one.
        read_only.reset();
        ed.choose(trip_editor::cmd_save);
        EXPECT_TRUE(ed.ended());
    });
    page->start_new();

    restart();
    (void)prog->trips.load(folder(), u"Trip", false);
    EXPECT_EQ(std::vector<std::u16string>{u"Holiday"}, descriptions());
}

TEST_F(trips_test, an_empty_page_says_how_to_add_the_first_trip) {
    add_account(u"Van", {});
    auto page = open_page();
    trip_list& list = page->list();
    auto hints = [&] {
        recording_dc d(list.width(), list.height());
        list.draw(d);
        const auto texts = d.texts();
        return std::count_if(texts.begin(), texts.end(),
                             [](const auto& t) { return t.starts_with(u"No trips yet"); });
    };
    EXPECT_EQ(1, hints());

    add_trip(u"Holiday", {u"Van"});
    page->refresh();
    ASSERT_GT(list.row_count(), 0);
    EXPECT_EQ(0, hints()) << "rows take its place";
}

TEST_F(trips_test, edit_and_delete_need_a_chosen_row_and_delete_asks_first) {
    add_account(u"Van", {});
    add_trip(u"Holiday", {u"Van"});
    add_trip(u"Work", {u"Van"});
    auto page = open_page();
    page->edit_selected();
    page->delete_selected();
    EXPECT_EQ((std::vector<std::u16string>{msg_select_record, msg_select_record}), boxes.texts());
    EXPECT_TRUE(modal.opened().empty());

    page->list().select_row(7);  // a detail row of "Work"
    boxes.answer_next(message_answer::no);
    page->delete_selected();
    EXPECT_EQ(2u, descriptions().size());
    boxes.answer_next(message_answer::yes);
    page->delete_selected();
    EXPECT_EQ(std::vector<std::u16string>{u"Holiday"}, descriptions());
    EXPECT_EQ(1, reread().record_count());
    EXPECT_EQ(5, page->list().row_count());
}

TEST_F(trips_test, the_editor_deletes_its_trip_only_when_the_owner_agrees) {
    add_account(u"Van", {});
    add_trip(u"Holiday", {u"Van"});
    auto page = open_page();
    page->list().select_row(0);
    for (auto answer : {message_answer::no, message_answer::yes}) {
        modal.then([&](device_dialog& d) {
            boxes.answer_next(answer);
            d.choose(trip_editor::cmd_delete);
            if (answer == message_answer::no) {
                EXPECT_FALSE(d.ended());
                d.choose(trip_editor::cmd_cancel);
            }
        });
        page->edit_selected();
    }
    EXPECT_TRUE(descriptions().empty());
    EXPECT_EQ(0, page->list().row_count());
}

TEST_F(trips_test, tap_and_hold_offers_edit_and_delete_only_on_a_chosen_row) {
    add_account(u"Van", {});
    add_trip(u"Holiday", {u"Van"});
    auto page = open_page();
    mouse_press(page->list(), {40, 60}, Qt::RightButton);
    page->list().select_row(0);
    modal.then_choose(trips_page::cmd_edit);
    bool editor = false;
    modal.then([&](device_dialog& d) { editor = dynamic_cast<trip_editor*>(&d) != nullptr; });
    mouse_press(page->list(), {40, 60}, Qt::RightButton);
    ASSERT_EQ(2u, modal.popups().size());
    EXPECT_EQ(1u, modal.popups()[0].size());
    EXPECT_EQ(u"New Trip", modal.popups()[0][0].text);
    ASSERT_EQ(3u, modal.popups()[1].size());
    EXPECT_EQ(u"Edit", modal.popups()[1][1].text);
    EXPECT_EQ(u"Delete", modal.popups()[1][2].text);
    EXPECT_TRUE(editor);
}

TEST_F(trips_test, the_main_menu_starts_and_edits_trips_on_the_trips_page) {
    add_account(u"Van", {});
    add_trip(u"Holiday", {u"Van"});
    install_screens(*prog);
    main_screen screen(*prog);
    screen.begin_modal();
    std::vector<bool> editing;
    modal.then([&](device_dialog& d) {
        editing.push_back(dynamic_cast<trip_editor&>(d).editing());
        EXPECT_EQ(page_id::trips, screen.current_page()) << "the trips page is on show first";
    });
    screen.run_command(cmd::new_trip);
    auto* page = dynamic_cast<trips_page*>(screen.page(page_id::trips));
    ASSERT_NE(nullptr, page);
    page->list().select_row(1);
    modal.then(
        [&](device_dialog& d) { editing.push_back(dynamic_cast<trip_editor&>(d).editing()); });
    screen.run_command(cmd::edit);
    EXPECT_EQ((std::vector<bool>{false, true}), editing);
    // The list leaves Left and Right to the main screen, which turns the page.
    key(page->list(), Qt::Key_Right);
    EXPECT_EQ(page_id::reports, screen.current_page());
    screen.end_dialog(device_dialog::dismissed);
    screen.end_modal();
}

TEST_F(trips_test, the_picker_hands_back_the_chosen_trip_or_nothing) {
    add_account(u"Van", {});
    add_trip(u"Holiday", {u"Van"});
    add_trip(u"Work", {u"Van"});
    modal.then([](device_dialog& d) {
        auto& p = dynamic_cast<trip_picker&>(d);
        EXPECT_EQ(0, p.list().currentRow()) << "the first trip is chosen";
        p.list().setCurrentRow(1);
        key(p, Qt::Key_Return);
    });
    EXPECT_EQ(u"Work", pick_trip(prog->skin, prog->trips, u"Please choose trip:"));
    modal.then([](device_dialog& d) {
        dynamic_cast<trip_picker&>(d).list().setCurrentRow(1);
        d.choose(trip_picker::cmd_cancel);
    });
    EXPECT_EQ(u"", pick_trip(prog->skin, prog->trips, u"Please choose trip:"));
    modal.then([](device_dialog& d) { d.choose(trip_picker::cmd_ok); });
    trip_store none;
    EXPECT_EQ(u"", pick_trip(prog->skin, none, u"Please choose trip:")) << "no trip to choose";
}

}  // namespace
}  // namespace kelvane
