// The reports page: which accounts a report covers, and what each report
// shows once the chart screen opens.

#include <QCheckBox>
#include <QComboBox>

#include "core/common/messages.h"
#include "gui/charts/chart_range_dialog.h"
#include "gui/charts/chart_screen.h"
#include "gui/charts/report_screens_support.h"
#include "gui/charts/reports_page.h"
#include "gui/trips/trip_picker.h"
#include "gui/widgets/edit_box.h"
#include "gui/widgets/vehicle_picker.h"

namespace kelvane {
namespace {

class reports_page_test : public report_screens_test {
protected:
    std::unique_ptr<reports_page> open_page() {
        auto page = std::make_unique<reports_page>(*prog, nullptr);
        page->resize(320, 400);
        page->set_screen_size(240, 320);
        return page;
    }
    // Answers the vehicle picker with "Select All" or "Clear All", then "Ok".
    void answer_picker(int all_or_none) {
        modal.then([all_or_none](device_dialog& d) {
            d.choose(all_or_none);
            d.choose(vehicle_picker::cmd_ok);
        });
    }
    // Runs the report and notes what the chart screen showed.
    struct shown {
        bool opened = false;
        std::vector<std::u16string> names;
        std::vector<double> values;
        chart_kind kind = chart_kind::columns;
        bool dates = false;
        QImage picture;
    };
    shown run_report(reports_page& page, int kind, std::function<void(chart_screen&)> more = {}) {
        shown s;
        modal.then([&](device_dialog& d) {
            auto* screen = dynamic_cast<chart_screen*>(&d);
            ASSERT_NE(nullptr, screen) << "the chart screen opens";
            s.opened = true;
            const chart_engine& e = page.engine();
            s.names = entry_names(e);
            for (const auto& entry : e.entries()) s.values.push_back(entry.value);
            s.kind = screen->shown_kind();
            s.dates = screen->dates_shown();
            screen->repaint();
            s.picture = screen->picture();
            if (more) more(*screen);
        });
        page.open_report(kind);
        return s;
    }
};

TEST_F(reports_page_test, three_accounts_give_one_line_point_per_fill_up_account_by_account) {
    add_account(u"Van", {{2026, 1, 1, 1000}, {2026, 1, 10, 1400}, {2026, 1, 20, 1800}});
    add_account(u"Golf", {{2026, 1, 5, 500}, {2026, 1, 15, 900}});
    add_account(u"Bike", {{2026, 2, 1, 1400}, {2026, 2, 2, 2000}, {2026, 2, 3, 2600}});
    auto page = open_page();
    EXPECT_EQ(std::vector<std::u16string>{u"Van"}, page->chosen_accounts());

    answer_picker(vehicle_picker::cmd_select_all);
    page->choose_accounts();
    // The picker lists the accounts newest slot first; that order is kept.
    const std::vector<std::u16string> all{u"Bike", u"Golf", u"Van"};
    EXPECT_EQ(all, page->chosen_accounts());
    EXPECT_EQ(u"Number of vehicles involved in statistics: 3", page->count_line());
    EXPECT_EQ(u"Bike,Golf,Van", page->names_line());

    const shown s = run_report(*page, 0);
    ASSERT_TRUE(s.opened);
    // The fill-ups account after account, all but the very last; Bike's and
    // Van's 1400 are one point.
    const std::vector<std::u16string> points{u"1400", u"2000", u"2600", u"500", u"900", u"1000"};
    EXPECT_EQ(points, s.names);
    EXPECT_EQ(chart_kind::line, s.kind);
    EXPECT_TRUE(s.dates);
    EXPECT_TRUE(boxes.texts().empty());
}

TEST_F(reports_page_test, unchecking_every_vehicle_leaves_the_open_account) {
    add_account(u"Van", {});
    add_account(u"Golf", {});
    add_account(u"Bike", {});
    auto page = open_page();
    answer_picker(vehicle_picker::cmd_select_all);
    page->choose_accounts();
    ASSERT_EQ(3u, page->chosen_accounts().size());

    // Two chosen stay chosen when another account is opened.
    ASSERT_TRUE(prog->config.open_account(u"Golf").opened);
    page->refresh();
    EXPECT_EQ(3u, page->chosen_accounts().size());

    answer_picker(vehicle_picker::cmd_clear_all);
    page->choose_accounts();
    EXPECT_EQ(std::vector<std::u16string>{u"Golf"}, page->chosen_accounts());
    EXPECT_EQ(u"Number of vehicles involved in statistics: 1", page->count_line());

    // One chosen follows the open account, also when the page's own chooser opens it.
    ASSERT_TRUE(prog->config.open_account(u"Bike").opened);
    page->refresh();
    EXPECT_EQ(std::vector<std::u16string>{u"Bike"}, page->chosen_accounts());
    QComboBox& chooser = page->vehicle_chooser();
    chooser.setCurrentIndex(chooser.findText("Van"));
    EXPECT_EQ(u"Van", prog->config.current_account());
    EXPECT_EQ(u"Van", prog->fuel.account_name());
    EXPECT_EQ(std::vector<std::u16string>{u"Van"}, page->chosen_accounts());
}

TEST_F(reports_page_test, a_deleted_account_leaves_the_statistics) {
    add_account(u"Van", {{2026, 1, 1, 1000}, {2026, 1, 2, 1100}});
    add_account(u"Golf", {{2026, 1, 1, 500}, {2026, 1, 2, 600}});
    add_account(u"Bike", {});
    auto page = open_page();
    answer_picker(vehicle_picker::cmd_select_all);
    page->choose_accounts();
    ASSERT_EQ(account_change::done, prog->config.delete_account(u"Bike"));
    ASSERT_TRUE(prog->config.open_account(u"Van").opened);
    page->refresh();
    EXPECT_EQ((std::vector<std::u16string>{u"Golf", u"Van"}), page->chosen_accounts());
    EXPECT_EQ(u"Golf,Van", page->names_line());
}

TEST_F(reports_page_test, the_all_expenses_pie_of_an_empty_account_says_no_data) {
    add_account(u"Car1", {});
    auto page = open_page();
    const shown s = run_report(*page, 3);
    ASSERT_TRUE(s.opened);
    EXPECT_TRUE(s.names.empty());
    EXPECT_EQ(chart_kind::pie, s.kind);
    int no_data = 0;
    for (int y = 0; y < s.picture.height(); ++y)
        for (int x = 0; x < s.picture.width(); ++x)
            if (pixel(s.picture, x, y) == rgb(100, 100, 200)) ++no_data;
    EXPECT_GT(no_data, 20) << "\"No data\" is written in the chart";
    save_screenshot(s.picture, "report_empty_pie");
}

TEST_F(reports_page_test, without_an_account_no_report_opens) {
    auto page = open_page();
    page->open_report(0);
    page->customize();
    EXPECT_EQ((std::vector<std::u16string>{msg_open_account, msg_open_account}), boxes.texts());
    EXPECT_TRUE(modal.opened().empty());
}

TEST_F(reports_page_test, changes_the_open_account_still_owes_its_file_are_in_the_report) {
    add_account(u"Van", {{2026, 1, 1, 1000, 30, 40}, {2026, 1, 5, 1300, 30, 40}},
                {{2026, 1, 3, 1200, 100}}, {{2026, 1, 4, 1250, 7}});
    // Changing an older fill-up is written to the file only later.
    fuel_record first = prog->fuel.record_at(0);
    first.fuel_cost = 90;
    ASSERT_EQ(change_result::done, prog->fuel.update_record(fixed_text(first.key), first));
    ASSERT_TRUE(prog->fuel.dirty());

    auto page = open_page();
    const shown s = run_report(*page, 3);
    ASSERT_EQ((std::vector<std::u16string>{u"Fuel", u"Repair", u"Fees"}), s.names);
    EXPECT_EQ((std::vector<double>{130, 100, 7}), s.values);
}

TEST_F(reports_page_test, a_trip_report_covers_the_trip_and_keeps_its_period) {
    add_account(u"Van", {{2026, 1, 1, 1000}, {2026, 1, 2, 1100}}, {}, {{2026, 1, 3, 1100, 5}});
    add_account(u"Golf", {{2026, 1, 1, 500}, {2026, 1, 2, 600}});
    add_account(u"Bike", {}, {{2026, 1, 1, 10, 20}});
    add_trip(u"Alps", {u"Van", u"Golf", u"Bike"});
    auto page = open_page();

    modal.then([&](device_dialog& d) {
        auto& picker = dynamic_cast<trip_picker&>(d);
        picker.choose(trip_picker::cmd_ok);
    });
    std::u16string hint;
    colour hint_colour = 0;
    std::vector<std::u16string> after;
    const shown s = run_report(*page, 4, [&](chart_screen& screen) {
        screen.run_command(chart_screen::cmd_month_back);
        hint = screen.hint_text();
        hint_colour = screen.hint_colour();
        after = entry_names(page->engine());
        save_screenshot(screen.grab().toImage(), "report_trip");
    });
    ASSERT_TRUE(s.opened);
    EXPECT_EQ((std::vector<std::u16string>{u"Fuel", u"Repair", u"Fees"}), s.names);
    EXPECT_EQ((std::vector<double>{160, 20, 5}), s.values);
    EXPECT_FALSE(s.dates) << "a trip's period is its own";
    EXPECT_EQ(u"Trip item can not change time range in statistics", hint);
    EXPECT_EQ(rgb(255, 50, 50), hint_colour);
    EXPECT_EQ(s.names, after) << "the chart stays as it was";

    // A cancelled choice of trip shows nothing.
    const auto opened = modal.opened().size();
    modal.then([](device_dialog& d) { d.choose(trip_picker::cmd_cancel); });
    page->open_report(4);
    EXPECT_EQ(opened + 1, modal.opened().size());
}

TEST_F(reports_page_test, a_customized_mileage_range_holds_for_every_period) {
    add_account(u"Car1", {}, {},
                {{2026, 1, 10, 500, 5}, {2026, 1, 11, 1500, 7}, {2026, 1, 12, 2500, 11}});
    clock.set(2026, 1, 20, 9, 0);
    auto page = open_page();
    modal.then([](device_dialog& d) {
        auto& dialog = dynamic_cast<chart_range_dialog&>(d);
        dialog.report_type().setCurrentIndex(2);
        dialog.range().use_start_mileage->setChecked(true);
        dialog.range().start_mileage->set_text(u"1000");
        dialog.range().use_end_mileage->setChecked(true);
        dialog.range().end_mileage->set_text(u"2000");
        dialog.choose(chart_range_dialog::cmd_ok);
    });
    std::vector<std::u16string> first, all, month;
    modal.then([&](device_dialog& d) {
        auto& screen = dynamic_cast<chart_screen&>(d);
        first = entry_names(page->engine());
        screen.run_command(chart_screen::cmd_all_period);
        all = entry_names(page->engine());
        screen.run_command(chart_screen::cmd_current_month);
        month = entry_names(page->engine());
    });
    page->customize();
    const std::vector<std::u16string> inside{u"1500"};
    EXPECT_EQ(inside, first);
    EXPECT_EQ(inside, all);
    EXPECT_EQ(inside, month);
}

TEST_F(reports_page_test, a_range_bound_that_is_no_number_keeps_the_range_dialog_open) {
    add_account(u"Car1", {}, {}, {{2026, 1, 10, 500, 5}});
    auto page = open_page();
    const auto opened = modal.opened().size();
    modal.then([](device_dialog& d) {
        auto& dialog = dynamic_cast<chart_range_dialog&>(d);
        dialog.range().use_end_mileage->setChecked(true);
        dialog.range().end_mileage->set_text(u"1.7591.799");
        // A bound switched off is not read, whatever its box holds.
        dialog.range().start_mileage->set_text(u"x");
        dialog.choose(chart_range_dialog::cmd_ok);
        EXPECT_FALSE(d.ended());
        EXPECT_EQ(u"1.7591.799", dialog.range().end_mileage->get_text());
        d.choose(chart_range_dialog::cmd_cancel);
    });
    page->customize();
    ASSERT_EQ(1u, boxes.texts().size());
    EXPECT_NE(std::u16string::npos, boxes.texts()[0].find(u"End Mileage"));
    EXPECT_EQ(opened + 1, modal.opened().size()) << "no chart was drawn from it";
}

}  // namespace
}  // namespace kelvane
