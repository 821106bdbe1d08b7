// The accounts page: whole flows of adding, opening, renaming, changing and
// deleting vehicles, as a person does them, checked on disk.

#include <QApplication>

#include "accounts_test_support.h"
#include "core/common/unit_factors.h"
#include "gui/widgets/text_label.h"

namespace kelvane {
namespace {

fuel_record fill_up(double mileage) {
    fuel_record r{};
    r.year = 2026, r.month = 11, r.day = 2;
    r.mileage = mileage;
    r.fuel_purchased = 40;
    r.fuel_cost = 60;
    return r;
}

TEST_F(accounts_test,
       a_person_adds_two_vehicles_renames_one_changes_its_units_and_deletes_the_other) {
    open();
    // "Add Auto" from the fuel page: the accounts page is on show when the editor opens.
    page_id page_in_editor = page_id::none;
    in_editor([&](account_editor& e) {
        page_in_editor = dlg->current_page();
        enter(e.name_box(), "Golf");
        enter(e.mileage_box(), "1000");
        enter(e.currency_box(), "EUR");
        EXPECT_TRUE(e.choose(account_editor::cmd_save)) << "the menu's \"Add\"";
    });
    dlg->run_command(cmd::new_account);
    EXPECT_EQ(page_id::accounts, page_in_editor);
    EXPECT_EQ(u"Golf", prog->config.current_account());
    EXPECT_EQ(std::vector<std::u16string>{u"Golf"}, row_names());
    EXPECT_EQ(u"1000", page().list().rows()[0].mileage_text);

    // The second one in miles and US gallons, through the page's button.
    in_editor([&](account_editor& e) {
        enter(e.name_box(), "Van");
        e.mileage_units().setCurrentIndex(1);
        e.fuel_units().setCurrentIndex(1);
        enter(e.fuel_box(), "10");
        e.choose(account_editor::cmd_save);
    });
    page().run_command(accounts_page::cmd_add_button);
    EXPECT_EQ((std::vector<std::u16string>{u"Van", u"Golf"}), row_names())
        << "the newest slot comes first";
    EXPECT_EQ(0, page().list().selected()) << "the new account is the chosen one";
    const fuel_header van = fuel_store::read_account_header(data_folder, u"Van").header;
    EXPECT_EQ(u"Mile", fixed_text(van.mileage_unit));
    EXPECT_EQ(u"US Gallon", fixed_text(van.fuel_unit));
    EXPECT_EQ(10.0, van.initial_fuel);

    // Rename Golf to Polo.
    page().list().select_row(1);
    in_editor([&](account_editor& e) {
        EXPECT_EQ(u"Golf", e.name_box().get_text());
        EXPECT_EQ(u"EUR", e.currency_box().get_text());
        enter(e.name_box(), "Polo");
        e.choose(account_editor::cmd_save);
    });
    dlg->run_command(cmd::edit);
    EXPECT_FALSE(fs.file_exists(data_folder + u"Golf.ful"));
    EXPECT_TRUE(fs.file_exists(data_folder + u"Polo.ful"));
    EXPECT_TRUE(fs.file_exists(data_folder + u"Deleted\\Golf.ful"));
    EXPECT_EQ(u"Polo", prog->config.current_account());
    EXPECT_EQ((std::vector<std::u16string>{u"Van", u"Polo"}), row_names());
    EXPECT_EQ(1, page().list().selected()) << "the renamed account stays selected";

    // Polo goes over to miles: the box follows at once, the records on saving.
    EXPECT_TRUE(prog->fuel.add_record(fill_up(1500)).added());
    std::u16string shown_in_miles;
    in_editor([&](account_editor& e) {
        EXPECT_EQ(u"1000.0", e.mileage_box().get_text());
        e.mileage_units().setCurrentIndex(1);
        shown_in_miles = e.mileage_box().get_text();
        e.choose(account_editor::cmd_save);
    });
    dlg->run_command(cmd::edit);
    EXPECT_EQ(u"621.4", shown_in_miles);
    fuel_store polo;
    (void)polo.load(data_folder, u"Polo", false);
    EXPECT_EQ(u"Mile", fixed_text(polo.header().mileage_unit));
    EXPECT_EQ(621.4, polo.header().initial_mileage);
    ASSERT_EQ(1, polo.record_count());
    EXPECT_EQ(1500 * km_to_miles, polo.record_at(0).mileage);

    // Van goes through the page's pop-up menu, after the question.
    modal.then_choose(accounts_page::cmd_delete);
    boxes.answer_next(message_answer::yes);
    account_list& list = page().list();
    mouse_press(list, list.row_centre(0), Qt::RightButton);
    ASSERT_FALSE(modal.popups().empty());
    std::vector<std::u16string> offered;
    for (const auto& item : modal.popups().back()) offered.push_back(item.text);
    EXPECT_EQ((std::vector<std::u16string>{u"Open", u"Add Auto", u"Edit", u"Delete"}), offered);
    EXPECT_EQ(u"Are you sure to delete the selected item?", boxes.texts().back());
    EXPECT_EQ(std::vector<std::u16string>{u"Polo"}, row_names());
    EXPECT_TRUE(fs.file_exists(data_folder + u"Deleted\\Van.ful"));
    EXPECT_EQ(u"", prog->config.current_account()) << "deleting closes the open account";
}

TEST_F(accounts_test, deleting_the_open_account_leaves_nothing_open_and_the_list_empty) {
    open();
    in_editor([&](account_editor& e) {
        enter(e.name_box(), "Golf");
        e.choose(account_editor::cmd_save);
    });
    dlg->run_command(cmd::new_account);
    EXPECT_TRUE(prog->fuel.add_record(fill_up(100)).added());

    // "No" keeps it; the editor's "Delete" with "Yes" removes it.
    in_editor([&](account_editor& e) {
        boxes.answer_next(message_answer::no);
        e.choose(account_editor::cmd_delete);
        EXPECT_FALSE(e.ended());
        e.choose(account_editor::cmd_delete);
    });
    page().edit_selected();
    EXPECT_EQ(u"", prog->config.current_account());
    EXPECT_TRUE(prog->fuel.fresh());
    EXPECT_EQ(0, prog->fuel.record_count());
    EXPECT_TRUE(row_names().empty());
    EXPECT_EQ(u"Total Cost: 0.00", page().total_label().text());
    EXPECT_TRUE(fs.file_exists(data_folder + u"Deleted\\Golf.ful"));
}

TEST_F(accounts_test, account_rows_grow_with_the_screen_as_the_page_does) {
    ASSERT_EQ(account_change::done, prog->config.add_account(u"Golf"));
    open();
    dlg->tap(35 * tab_of(page_id::accounts));
    const int handheld = page().list().row_height();
    dlg->fire_pending_timers();  // pages follow the screen once the start has settled
    screen.set_screen_size(480, 640);
    QApplication::processEvents();
    EXPECT_EQ(2 * handheld, page().list().row_height()) << "twice the sides, twice the rows";
    save_screenshot(screen.snapshot(), "accounts_480x640");
}

TEST_F(accounts_test, without_a_chosen_row_the_page_asks_for_one) {
    open();
    dlg->go_to(page_id::accounts);
    EXPECT_EQ(u"Total Cost: 0.00", page().total_label().text());

    account_list& list = page().list();
    mouse_press(list, {40, 60});
    mouse_release(list, {40, 60});
    dlg->run_command(cmd::edit);
    page().run_command(accounts_page::cmd_delete);
    EXPECT_EQ(
        (std::vector<std::u16string>{u"Please choose a vehicle.", u"Please choose an account.",
                                     u"Please choose an account."}),
        boxes.texts());

    // The pop-up menu of an empty list offers only adding.
    mouse_press(list, {40, 60}, Qt::RightButton);
    ASSERT_EQ(1u, modal.popups().size());
    ASSERT_EQ(1u, modal.popups()[0].size());
    EXPECT_EQ(u"Add Auto", modal.popups()[0][0].text);
    EXPECT_EQ(1u, modal.opened().size()) << "no editor opened, only the splash screen";
}

TEST_F(accounts_test, a_tap_opens_the_account_and_a_long_press_offers_open_to_the_fuel_page) {
    for (auto name : {u"Golf", u"Van"})
        ASSERT_EQ(account_change::done, prog->config.add_account(name));
    prog->config.set_last_page(tab_of(page_id::accounts));
    ASSERT_TRUE(prog->config.save_config());
    open();
    account_list& list = page().list();
    ASSERT_EQ((std::vector<std::u16string>{u"Van", u"Golf"}), row_names());

    mouse_press(list, list.row_centre(1));
    mouse_release(list, list.row_centre(1));
    EXPECT_EQ(u"Golf", prog->config.current_account());
    EXPECT_EQ(u"Golf", prog->service.account_name());

    // Held on Van: the pop-up's "Open" opens it and shows the fuel page.
    modal.then_choose(accounts_page::cmd_open);
    mouse_press(list, list.row_centre(0));
    ASSERT_TRUE(process_events_until([&] { return !modal.popups().empty(); }));
    mouse_release(list, list.row_centre(0));
    EXPECT_EQ(u"Van", prog->config.current_account());
    EXPECT_EQ(page_id::fuel, dlg->current_page());
    EXPECT_EQ(page_id::accounts, dlg->previous_page());
    EXPECT_EQ(u"Van", prog->fuel.account_name());
}

TEST_F(accounts_test, the_page_keys_step_through_the_pages_without_touching_the_previous_page) {
    prog->config.set_last_page(tab_of(page_id::accounts));
    ASSERT_TRUE(prog->config.save_config());
    open();
    const page_id previous = dlg->previous_page();
    key(page().list(), Qt::Key_Right);
    EXPECT_EQ(page_id::fuel, dlg->current_page()) << "5 wraps to 0";
    EXPECT_EQ(previous, dlg->previous_page());

    dlg->go_to(page_id::accounts);
    const page_id before_left = dlg->previous_page();
    key(page().list(), Qt::Key_Left);
    EXPECT_EQ(page_id::reports, dlg->current_page());
    EXPECT_EQ(before_left, dlg->previous_page());
}

}  // namespace
}  // namespace kelvane
