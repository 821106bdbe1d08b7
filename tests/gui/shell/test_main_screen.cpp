// The main screen: pages, tab bar, history and back button, keys, commands.

#include <QApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QToolTip>

#include "core/accounts/configuration.h"
#include "core/stores/fuel_store.h"
#include "gui/gui_test_support.h"
#include "gui/shell/main_commands.h"
#include "gui/shell/main_screen.h"
#include "gui/widgets/skin.h"
#include "platform/qt/qpainter_dc.h"

namespace kelvane {
namespace {

// A page that notes what the main screen asks of it.
class recording_page : public main_page {
public:
    recording_page(program& prog, page_id id, QWidget* parent, std::vector<std::string>& log)
        : main_page(prog, id, parent), log_(log) {}
    void set_screen_size(int w, int h) override {
        log_.push_back("size " + std::to_string(tab_of(id())) + " " + std::to_string(w) + "x" +
                       std::to_string(h));
    }
    void refresh() override { log_.push_back("refresh " + std::to_string(tab_of(id()))); }
    void start_new() override {
        log_.push_back(
            "new " + std::to_string(tab_of(id())) + " on " +
            std::to_string(tab_of(qobject_cast<main_screen*>(parentWidget())->current_page())));
    }
    void edit_selected() override { log_.push_back("edit " + std::to_string(tab_of(id()))); }

private:
    std::vector<std::string>& log_;
};

class main_screen_test : public gui_test {
protected:
    ~main_screen_test() override {
        if (dlg && dlg->running()) {
            dlg->end_dialog(device_dialog::dismissed);
            dlg->end_modal();
        }
    }

    // Opens the main screen the way the program does, leaving it running.
    main_screen& open() {
        dlg = std::make_unique<main_screen>(*prog);
        dlg->begin_modal();
        return *dlg;
    }

    void record_pages() {
        for (int i = 0; i < 6; ++i)
            prog->pages[static_cast<std::size_t>(i)] = [this, i](program& p, QWidget* parent) {
                return std::make_unique<recording_page>(p, page_at(i), parent, log);
            };
    }

    int shown_page() const {
        int shown = -1;
        for (int i = 0; i < 6; ++i)
            if (dlg->page(page_at(i))->isVisibleTo(dlg.get())) {
                EXPECT_EQ(-1, shown) << "two pages on show";
                shown = i;
            }
        return shown;
    }

    // The page history as places in the tab band.
    std::vector<int> history_tabs() const {
        std::vector<int> tabs;
        for (page_id id : dlg->page_history()) tabs.push_back(tab_of(id));
        return tabs;
    }

    // True when the block of the rendered tab bar equals the skin's block.
    bool same_as_skin(const QImage& bar, int x, int width, int skin_x, int skin_y) {
        dc* skin = prog->skin.surface();
        for (int j = 0; j < 33; ++j)
            for (int i = 0; i < width; ++i)
                if (pixel(bar, x + i, j) != skin->get_pixel(skin_x + i, skin_y + j)) return false;
        return true;
    }

    std::unique_ptr<main_screen> dlg;
    std::vector<std::string> log;
};

TEST_F(main_screen_test, first_start_shows_the_fuel_page_highlighted) {
    auto& d = open();
    EXPECT_EQ(page_id::fuel, d.current_page());
    EXPECT_EQ(0, shown_page());
    EXPECT_EQ(std::vector<int>{0}, history_tabs());
    const QImage bar = d.render_tab_bar();
    EXPECT_TRUE(same_as_skin(bar, 0, 35, 0, 166)) << "tab 0 is lit";
    EXPECT_TRUE(same_as_skin(bar, 35, 205, 35, 133)) << "the other tabs and back are plain";
    EXPECT_TRUE(boxes.boxes().empty());
    EXPECT_EQ(u"", prog->config.current_account());
    EXPECT_TRUE(prog->fuel.fresh());
    EXPECT_EQ(0, prog->fuel.record_count());
    save_screenshot(screen.snapshot(), "main_first_start");
}

TEST_F(main_screen_test, starts_on_the_page_shown_last) {
    prog->config.set_last_page(4);
    auto& d = open();
    EXPECT_EQ(4, shown_page());
    EXPECT_TRUE(same_as_skin(d.render_tab_bar(), 140, 35, 140, 166));
    EXPECT_TRUE(same_as_skin(d.render_tab_bar(), 0, 140, 0, 133));
}

TEST_F(main_screen_test, a_last_page_out_of_range_starts_on_the_first_page) {
    prog->config.set_last_page(9);
    open();
    EXPECT_EQ(0, shown_page());
    EXPECT_EQ(0, prog->config.last_page());
}

TEST_F(main_screen_test, tabs_and_back_button_walk_the_history) {
    auto& d = open();
    d.tap(70);  // tab 2
    EXPECT_EQ(2, shown_page());
    d.tap(200);  // tab 5
    EXPECT_EQ(5, shown_page());
    EXPECT_EQ(page_id::fees, d.previous_page());
    d.tap(225);  // back
    EXPECT_EQ(2, shown_page());
    EXPECT_EQ(page_id::accounts, d.previous_page());
    d.tap(239);  // back
    EXPECT_EQ(0, shown_page());
    EXPECT_EQ(std::vector<int>{0}, history_tabs());
    d.tap(211);  // back with one entry: nothing
    EXPECT_EQ(0, shown_page());
    EXPECT_EQ(0, prog->config.last_page());
}

TEST_F(main_screen_test, taps_on_the_gap_and_past_the_bar_do_nothing) {
    auto& d = open();
    d.tap(104);
    const auto history = d.page_history();
    for (int x : {210, 240, 300}) {
        d.tap(x);
        EXPECT_EQ(2, shown_page()) << x;
        EXPECT_EQ(history, d.page_history()) << x;
    }
}

TEST_F(main_screen_test, wide_screens_continue_the_bar_with_the_filler) {
    screen.set_screen_size(320, 240);
    auto& d = open();
    d.tap(140);
    const QImage bar = d.render_tab_bar();
    ASSERT_EQ(320, bar.width());
    EXPECT_TRUE(same_as_skin(bar, 240, 80, 0, 0));
    EXPECT_TRUE(same_as_skin(bar, 140, 35, 140, 166));
    save_screenshot(screen.snapshot(), "main_320x240");

    screen.set_screen_size(480, 640);
    const QImage wide = d.render_tab_bar();
    EXPECT_TRUE(same_as_skin(wide, 400, 80, 0, 0)) << "no bare strip on the widest screen";
    // Above the bar's bottom line the filler is plain background: each of
    // its rows is one colour, with no marks repeated every 80 pixels.
    for (int y = 0; y < main_screen::tab_band - 2; ++y)
        for (int x = 241; x < 480; ++x)
            ASSERT_EQ(pixel(wide, 240, y), pixel(wide, x, y)) << x << "," << y;
}

TEST_F(main_screen_test, only_taps_on_the_tab_bar_switch_pages) {
    auto& d = open();
    d.tap(105);
    const auto click = [](QWidget* w, QPoint at) {
        QMouseEvent press(QEvent::MouseButtonPress, at, w->mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w, &press);
    };
    // A tap in the blank area of a page, below the tabs of fees and of the back button.
    main_page* trips = d.page(page_id::trips);
    click(trips, trips->mapFrom(&d, QPoint(200, 250)));
    click(trips, trips->mapFrom(&d, QPoint(80, 40)));
    click(trips, trips->mapFrom(&d, QPoint(225, 300)));
    EXPECT_EQ(3, shown_page());
    EXPECT_EQ((std::vector<int>{0, 3}), history_tabs());
    click(&d, QPoint(200, 20));
    EXPECT_EQ(5, shown_page()) << "the tab bar itself still answers";
}

TEST_F(main_screen_test, left_and_right_keys_wrap_round_the_pages) {
    auto& d = open();
    QKeyEvent left(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier);
    QApplication::sendEvent(&d, &left);
    EXPECT_EQ(5, shown_page());
    QKeyEvent right(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
    QApplication::sendEvent(&d, &right);
    EXPECT_EQ(0, shown_page());
}

TEST_F(main_screen_test, end_key_goes_home_and_closes) {
    auto& d = open();
    QKeyEvent end(QEvent::KeyPress, Qt::Key_F4, Qt::NoModifier);
    QApplication::sendEvent(&d, &end);
    EXPECT_EQ(1, shell_.home_presses);
    EXPECT_TRUE(d.ended());
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_F4, Qt::NoModifier);
    QApplication::sendEvent(&d, &release);
    EXPECT_EQ(1, shell_.home_presses) << "a closed screen ignores the release";
}

TEST_F(main_screen_test, menu_offers_every_command) {
    auto& d = open();
    for (int c :
         {cmd::purchase_fuel, cmd::new_repair, cmd::new_fees, cmd::new_trip, cmd::new_account,
          cmd::edit, cmd::options, cmd::export_account, cmd::export_trip, cmd::import_records,
          cmd::manual_backup, cmd::manual_restore, cmd::about, cmd::exit, cmd::set_key_mapping})
        EXPECT_TRUE(d.menu_bar()->has_command(c)) << c;
    EXPECT_EQ(u"Purchase Fuel", d.menu_bar()->command_text(cmd::purchase_fuel));
    EXPECT_EQ(u"Manual Restore", d.menu_bar()->command_text(cmd::manual_restore));
}

TEST_F(main_screen_test, new_commands_switch_page_before_starting_the_record) {
    record_pages();
    auto& d = open();
    log.clear();
    d.choose(cmd::new_account);
    d.choose(cmd::new_fees);
    d.run_command(cmd::show_page_again);
    const std::vector<std::string> expected{"refresh 5", "new 5 on 5", "refresh 2", "new 2 on 2",
                                            "refresh 2"};
    EXPECT_EQ(expected, log);
    EXPECT_EQ((std::vector<int>{0, 5, 2, 2}), history_tabs());
}

TEST_F(main_screen_test, edit_goes_to_the_page_on_show_except_reports) {
    record_pages();
    auto& d = open();
    d.tap(140);
    log.clear();
    d.choose(cmd::edit);
    EXPECT_TRUE(log.empty());
    d.tap(105);
    log.clear();
    d.choose(cmd::edit);
    EXPECT_EQ(std::vector<std::string>{"edit 3"}, log);
}

TEST_F(main_screen_test, command_handlers_are_called_with_the_screen) {
    auto& d = open();
    int called = 0;
    prog->commands[cmd::about] = [&](main_screen& from) {
        EXPECT_EQ(&d, &from);
        ++called;
    };
    d.choose(cmd::about);
    EXPECT_EQ(1, called);
    EXPECT_TRUE(boxes.boxes().empty());
    d.choose(cmd::exit);
    EXPECT_TRUE(d.ended());
}

TEST_F(main_screen_test, the_tab_icons_name_their_pages) {
    auto& d = open();
    auto tip_at = [&](int x) {
        QHelpEvent hover(QEvent::ToolTip, QPoint(x, 15), d.mapToGlobal(QPoint(x, 15)));
        QApplication::sendEvent(&d, &hover);
        return QToolTip::text();
    };
    EXPECT_EQ("Fuel", tip_at(10));
    EXPECT_EQ("Vehicle Accounts", tip_at(190));
    EXPECT_EQ("Back", tip_at(225));
}

TEST_F(main_screen_test, help_opens_the_section_of_the_page_on_show) {
    auto& d = open();
    const std::pair<int, const char16_t*> cases[] = {
        {10, u"file:Kelvane.htm#4"},  {50, u"file:Kelvane.htm#4"},  {80, u"file:Kelvane.htm#4"},
        {110, u"file:Kelvane.htm#6"}, {150, u"file:Kelvane.htm#7"}, {180, u"file:Kelvane.htm#2"}};
    for (auto [x, argument] : cases) {
        d.tap(x);
        d.help();
        EXPECT_EQ(u"peghelp.exe", shell_.last_program);
        EXPECT_EQ(argument, shell_.last_argument);
    }
    EXPECT_TRUE(boxes.boxes().empty());
    shell_.program_runs = false;
    d.help();
    ASSERT_EQ(1u, boxes.boxes().size());
    EXPECT_EQ(u"Could not run peghelp.exe", boxes.boxes()[0].text);
    EXPECT_EQ(u"Error", boxes.boxes()[0].caption);
    // A shell that knows why says so in its own words.
    shell_.failure = u"Could not open the help document\n/x/Kelvane.htm\nThe file is missing.";
    d.help();
    ASSERT_EQ(2u, boxes.boxes().size());
    EXPECT_EQ(shell_.failure, boxes.boxes()[1].text);
    EXPECT_EQ(u"Error", boxes.boxes()[1].caption);
}

TEST_F(main_screen_test, pages_are_laid_out_again_only_once_settled_and_tall_enough) {
    record_pages();
    auto& d = open();
    EXPECT_EQ("size 0 240x320", log[0]);
    log.clear();
    screen.set_screen_size(240, 240);
    EXPECT_TRUE(log.empty()) << "not before the start-up timer";
    d.fire_pending_timers();
    EXPECT_TRUE(d.layout_enabled());
    screen.set_screen_size(320, 240);
    const std::vector<std::string> expected{"size 1 320x240", "size 0 320x240", "size 3 320x240",
                                            "size 4 320x240", "size 2 320x240", "size 5 320x240"};
    EXPECT_EQ(expected, log);
    EXPECT_EQ(240, d.screen_height());
    log.clear();
    screen.set_screen_size(240, 200);  // working area below 180 pixels
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(240, d.screen_height());
}

TEST_F(main_screen_test, taking_the_page_down_lowers_the_input_panel) {
    auto& d = open();
    shell_.panel = true;
    d.tap(40);
    EXPECT_FALSE(shell_.panel);
}

}  // namespace
}  // namespace kelvane
