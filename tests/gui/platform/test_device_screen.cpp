// The device screen on the host: its size as the device sees it, nested
// modal runs, the menu bar, and the text and bars that grow with the screen.

#include <QApplication>
#include <QPushButton>
#include <QTimer>

#include "core/common/scaled_font.h"
#include "gui/gui_test_support.h"
#include "gui/widgets/menu_items.h"
#include "platform/qt/device_dialog.h"

namespace kelvane {
namespace {

using device_screen_test = gui_test;

class menu_dialog : public device_dialog {
public:
    std::vector<int> commands;

protected:
    void init_dialog() override {
        set_menu({menu_command(u"Ok", 1), menu_popup(u"Menu", {menu_command(u"Select All", 7)})});
    }
    void on_command(int c) override { commands.push_back(c); }
};

TEST_F(device_screen_test, screen_size_reaches_the_device_and_the_dialogs) {
    screen.set_screen_size(320, 240);
    EXPECT_EQ(320, device().screen_width());
    EXPECT_EQ(240, device().screen_height());
    modal.then([&](device_dialog& d) {
        EXPECT_EQ(QRect(0, 0, 320, 240), d.geometry());
        EXPECT_EQ(QRect(0, 0, 320, 240 - soft_menu_bar::bar_height), d.client_rect());
        screen.set_screen_size(480, 640);
        EXPECT_EQ(QRect(0, 0, 480, 640), d.geometry());
    });
    menu_dialog d;
    d.exec();
    EXPECT_TRUE(screen.layers().empty());
}

TEST_F(device_screen_test, closing_the_window_ends_nested_dialogs_from_the_top) {
    menu_dialog outer, inner;
    int inner_result = 0;
    modal.then([&](device_dialog&) {
        modal.then([&](device_dialog&) {
            EXPECT_EQ(2u, screen.layers().size());
            screen.dismiss_all();
            EXPECT_TRUE(outer.ended());
        });
        inner_result = inner.exec();
    });
    EXPECT_EQ(device_dialog::dismissed, outer.exec());
    EXPECT_EQ(device_dialog::dismissed, inner_result);
}

TEST_F(device_screen_test, real_event_loops_nest_and_end_from_the_top) {
    event_loop_modal loops;
    scoped_services real({.modals = &loops});
    menu_dialog outer, inner;
    int inner_result = 0;
    bool inner_on_top = false;
    QTimer::singleShot(0, &outer, [&] {
        QTimer::singleShot(0, &inner, [&] {
            inner_on_top = screen.top() == &inner && inner.isVisible();
            screen.dismiss_all();
        });
        inner_result = inner.exec();
        EXPECT_TRUE(outer.ended()) << "the outer run is already ending";
    });
    EXPECT_EQ(device_dialog::dismissed, outer.exec());
    EXPECT_TRUE(inner_on_top);
    EXPECT_EQ(device_dialog::dismissed, inner_result);
    EXPECT_TRUE(screen.layers().empty());
}

QPushButton* soft_key(device_dialog& d, const QString& text) {
    for (auto* key : d.menu_bar()->findChildren<QPushButton*>())
        if (key->isVisibleTo(d.menu_bar()) && key->text() == text) return key;
    return nullptr;
}

// Runs `look` on the pop-up menu that opens next, then closes the menu if
// it is still open, so that a run that goes wrong still ends.
void on_next_pop_up(const std::function<void(QWidget&)>& look) {
    QTimer::singleShot(0, [look] {
        QWidget* menu = QApplication::activePopupWidget();
        if (!menu) return;
        look(*menu);
        if (QWidget* left = QApplication::activePopupWidget()) left->close();
    });
}

// The window closed while a menu of the dialog is open: the menu goes with
// the dialog, choosing nothing, so that the program can end.
TEST_F(device_screen_test, an_open_pop_up_closes_when_its_dialog_is_dismissed) {
    event_loop_modal loops;
    scoped_services real({.modals = &loops});
    menu_dialog d;
    bool menu_open = false, menu_left_open = false;
    QTimer::singleShot(0, &d, [&] {
        on_next_pop_up([&](QWidget&) {
            menu_open = true;
            screen.dismiss_all();
            menu_left_open = QApplication::activePopupWidget() != nullptr;
        });
        ASSERT_TRUE(soft_key(d, "Menu"));
        soft_key(d, "Menu")->click();
    });
    EXPECT_EQ(device_dialog::dismissed, d.exec());
    EXPECT_TRUE(menu_open);
    EXPECT_FALSE(menu_left_open) << "the menu outlived its dialog";
    EXPECT_TRUE(d.commands.empty());
}

TEST_F(device_screen_test, pop_up_menus_open_inside_the_device_screen) {
    event_loop_modal loops;
    scoped_services real({.modals = &loops});
    screen.set_screen_size(240, 240);  // the square screen: the shortest there is
    menu_dialog d;
    QRect from_key, from_hold, long_menu;
    QTimer::singleShot(0, &d, [&] {
        on_next_pop_up([&](QWidget& menu) { from_key = menu.geometry(); });
        soft_key(d, "Menu")->click();
        // A tap and hold near the bottom right corner of the screen.
        on_next_pop_up([&](QWidget& menu) { from_hold = menu.geometry(); });
        popup_menu(&d, QPoint(d.width() - 4, d.height() - 30),
                   {menu_command(u"Edit", 8), menu_command(u"Delete", 9)});
        // A menu longer than the screen is tall (the Tools menu).
        on_next_pop_up([&](QWidget& menu) { long_menu = menu.geometry(); });
        std::vector<soft_menu_item> many;
        for (int i = 0; i < 11; ++i)
            many.push_back(menu_command(u"Configurer les touches", 20 + i));
        popup_menu(&d, QPoint(0, 0), many);
        d.end_dialog(device_dialog::dismissed);
    });
    d.exec();
    const QRect room(screen.mapToGlobal(QPoint(0, 0)), screen.size());
    ASSERT_FALSE(from_key.isEmpty());
    ASSERT_FALSE(from_hold.isEmpty());
    EXPECT_TRUE(room.contains(from_key)) << from_key.right() << " " << from_key.bottom();
    EXPECT_TRUE(room.contains(from_hold)) << from_hold.right() << " " << from_hold.bottom();
    EXPECT_TRUE(room.contains(long_menu)) << long_menu.right() << " " << long_menu.bottom();
    // The menu of a soft key stands on its key, not over it.
    EXPECT_LT(from_key.bottom(), soft_key(d, "Menu")->mapToGlobal(QPoint(0, 0)).y());
}

TEST_F(device_screen_test, menu_commands_reach_the_dialog_unless_disabled) {
    modal.then([](device_dialog& d) {
        EXPECT_TRUE(d.choose(7));
        d.menu_bar()->set_enabled(7, false);
        EXPECT_FALSE(d.choose(7));
        EXPECT_FALSE(d.choose(99));
        EXPECT_TRUE(d.choose(1));
    });
    menu_dialog d;
    d.exec();
    EXPECT_EQ((std::vector<int>{7, 1}), d.commands);
}

TEST_F(device_screen_test, text_grows_with_the_screen_sides_not_its_area) {
    for (auto [w, h] : {std::pair{240, 320}, {240, 240}, {320, 240}}) {
        EXPECT_EQ(13, scaled_font_size(13, w, h)) << w << "x" << h;
        EXPECT_EQ(9, scaled_font_size(7, w, h)) << "never below 9";
    }
    // Twice as wide and twice as tall: text twice as tall, no more.
    for (int requested = 1; requested <= 40; ++requested) {
        const int small = scaled_font_size(requested, 240, 320);
        const int large = scaled_font_size(requested, 480, 640);
        EXPECT_LE(large, 2 * small) << requested;
        EXPECT_GE(large, 2 * requested) << requested;
    }
    // A maximised desktop window: text no larger than the screen's longer side grew.
    EXPECT_LE(scaled_font_size(16, 1024, 705), 16 * 1024 / 240);
    screen.set_screen_size(480, 640);
    EXPECT_EQ(26, scaled_font_size(13)) << "the size the program sees";
}

TEST_F(device_screen_test, menu_bar_grows_with_the_text_it_carries) {
    std::vector<int> heights;
    for (auto [w, h] : {std::pair{240, 320}, {480, 640}}) {
        screen.set_screen_size(w, h);
        modal.then([&](device_dialog& d) {
            soft_menu_bar* bar = d.menu_bar();
            EXPECT_EQ(h, d.client_rect().height() + bar->height()) << "the bar ends the screen";
            EXPECT_EQ(bar->geometry().top(), d.client_rect().bottom() + 1);
            for (auto* key : bar->findChildren<QPushButton*>())
                EXPECT_LE(key->fontMetrics().height(), bar->height()) << w;
            heights.push_back(bar->height());
        });
        menu_dialog d;
        d.exec();
    }
    ASSERT_EQ(2u, heights.size());
    EXPECT_EQ(2 * heights[0], heights[1]);
}

}  // namespace
}  // namespace kelvane
