// The soft keys of the menu bar.

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>
#include <QPushButton>

#include "gui/gui_test_support.h"
#include "platform/qt/soft_menu_bar.h"

namespace kelvane {
namespace {

using soft_menu_bar_test = gui_test;

soft_menu_item key_for(std::u16string text, int command) {
    soft_menu_item item;
    item.text = std::move(text);
    item.command = command;
    return item;
}

// A command that gives the bar new items (a dialog changing its menu) runs
// inside the click of the key that chose it: that key must survive the click.
TEST_F(soft_menu_bar_test, a_key_outlives_the_click_that_replaces_the_items) {
    soft_menu_bar bar;
    bar.set_items({key_for(u"Edit", 1)});
    std::vector<int> chosen;
    QObject::connect(&bar, &soft_menu_bar::command_chosen, [&](int command) {
        chosen.push_back(command);
        bar.set_items({key_for(u"Done", 2), key_for(u"Cancel", 3)});
    });
    QPointer<QPushButton> key = bar.findChild<QPushButton*>();
    ASSERT_TRUE(key);

    key->click();
    EXPECT_EQ(chosen, std::vector<int>{1});
    ASSERT_TRUE(key) << "the clicked key was deleted inside its own click";
    EXPECT_TRUE(key->isHidden());
    key->click();  // an old key chooses nothing any more
    EXPECT_EQ(chosen, std::vector<int>{1});

    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(key);
    EXPECT_EQ(bar.findChildren<QPushButton*>().size(), 2);
    EXPECT_EQ(bar.command_text(2), u"Done");
}

}  // namespace
}  // namespace kelvane
