// The pieces every screen uses: tap and hold, pop-up menus through the seam,
// Escape, the calculator bound to its number box, the account chooser and
// the date picker.

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QMouseEvent>

#include "gui/gui_test_support.h"
#include "gui/tools/calculator_dialog.h"
#include "gui/widgets/account_combo.h"
#include "gui/widgets/date_picker.h"
#include "gui/widgets/edit_box.h"
#include "gui/widgets/tap_and_hold.h"

namespace kelvane {
namespace {

class shared_mechanisms_test : public gui_test {
protected:
    QWidget page;
    std::vector<QPoint> holds;

    void SetUp() override {
        page.resize(240, 280);
        on_tap_and_hold(&page, [this](QPoint p) { holds.push_back(p); });
    }
};

TEST_F(shared_mechanisms_test, a_held_press_or_the_right_button_opens_the_menu_but_a_tap_does_not) {
    mouse_press(page, {40, 50});
    mouse_release(page, {40, 50});
    EXPECT_TRUE(holds.empty()) << "a quick tap is a tap";

    mouse_press(page, {40, 50});
    ASSERT_TRUE(process_events_until([&] { return !holds.empty(); }));
    EXPECT_EQ(QPoint(40, 50), holds.back());
    mouse_release(page, {40, 50});

    mouse_press(page, {100, 120}, Qt::RightButton);
    ASSERT_EQ(2u, holds.size()) << "the right button needs no waiting";
    EXPECT_EQ(QPoint(100, 120), holds.back());
}

TEST_F(shared_mechanisms_test, a_press_that_moves_away_is_no_hold) {
    mouse_press(page, {40, 50});
    QMouseEvent move(QEvent::MouseMove, QPointF(80, 50), page.mapToGlobal(QPointF(80, 50)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&page, &move);
    // Longer than a hold takes.
    QElapsedTimer waited;
    waited.start();
    process_events_until([&] { return waited.elapsed() > 2 * hold_milliseconds; });
    EXPECT_TRUE(holds.empty());
}

TEST_F(shared_mechanisms_test, pop_up_menus_are_answered_through_the_seam) {
    modal.then_choose(7);
    const int chosen =
        popup_menu(&page, {10, 10}, {{u"Open", 7, {}, false}, {u"Delete", 8, {}, false}});
    EXPECT_EQ(7, chosen);
    EXPECT_EQ(0, popup_menu(&page, {10, 10}, {{u"Open", 7, {}, false}})) << "nothing queued";
    ASSERT_EQ(2u, modal.popups().size());
    EXPECT_EQ(u"Delete", modal.popups()[0][1].text);
}

// The fixture fails a test that queued an answer nothing took; the seams
// name each such answer with the line that queued it.
TEST_F(shared_mechanisms_test, answers_nothing_took_are_named_with_the_line_that_queued_them) {
    scripted_message_box box;
    scripted_modal seam;
    const int line = __LINE__ + 1;
    box.answer_next(message_answer::no), seam.then([](device_dialog&) {}), seam.then_choose(7);
    const std::string place = "test_shared_mechanisms.cpp:" + std::to_string(line) + ")";
    EXPECT_EQ(std::vector<std::string>{"No (" + place}, box.unused_answers());
    EXPECT_EQ((std::vector<std::string>{"dialog action (" + place, "menu choice 7 (" + place}),
              seam.unused());
    // What was taken is no longer owed.
    EXPECT_EQ(message_answer::no, box.show(u"Delete?", u"", message_buttons::yes_no));
    EXPECT_TRUE(box.unused_answers().empty());
    EXPECT_EQ(7, seam.popup({}, QPoint()));
    EXPECT_EQ(std::vector<std::string>{"dialog action (" + place}, seam.unused());
}

class escape_dialog : public device_dialog {
public:
    int commands = 0;
    void on_command(int command) override {
        if (command == 99) ++commands, end_dialog(dismissed);
    }
};

TEST_F(shared_mechanisms_test, escape_acts_as_the_dialogs_own_cancel) {
    escape_dialog plain, with_cancel;
    with_cancel.set_cancel_command(99);
    modal.then([](device_dialog& d) { key(d, Qt::Key_Escape); });
    EXPECT_EQ(device_dialog::dismissed, plain.exec());
    modal.then([](device_dialog& d) { key(d, Qt::Key_Escape); });
    with_cancel.exec();
    EXPECT_EQ(1, with_cancel.commands) << "Escape went through the Cancel command";
}

// Runs the calculator on a box holding `start`, pressing `keys`; the box's text after.
std::u16string calculate(scripted_modal& modal, std::u16string_view start, const char* keys,
                         std::u16string* shown = nullptr) {
    edit_box box;
    box.set_text(start);
    int changes = 0;
    QObject::connect(&box, &edit_box::changed, [&] { ++changes; });
    modal.then([&](device_dialog& d) {
        auto& calc = static_cast<calculator_dialog&>(d);
        for (const char* k = keys; *k; ++k) calc.press(static_cast<char16_t>(*k));
        if (shown) *shown = calc.display();
    });
    open_calculator(box);
    if (box.get_text() != start) {
        EXPECT_EQ(1, changes) << "the editor hears of the new number";
    }
    return box.get_text();
}

TEST_F(shared_mechanisms_test, the_calculator_writes_its_result_into_its_box) {
    std::u16string shown;
    modal.then([&](device_dialog& d) { shown = static_cast<calculator_dialog&>(d).display(); });
    edit_box box;
    box.set_text(u"12.5");
    open_calculator(box);
    EXPECT_EQ(u"12.50", shown) << "opens on the box's number";
    EXPECT_EQ(u"12.5", box.get_text()) << "dismissed: the box keeps its text";

    EXPECT_EQ(u"15.50", calculate(modal, u"12.5", "+3="));
    EXPECT_EQ(u"7", calculate(modal, u"0", "7=")) << "no operation pending";
    EXPECT_EQ(u"5.00", calculate(modal, u"", "9-4="));
    EXPECT_EQ(u"9.00", calculate(modal, u"", "2+3+4="));
    EXPECT_EQ(u"6", calculate(modal, u"6", "8/0=", &shown)) << "the box keeps its number";
    EXPECT_EQ(u"Can not be divided by zero", shown) << "the calculator shows why";
}

TEST_F(shared_mechanisms_test, keys_typed_into_the_calculator_act_as_its_buttons) {
    // Keys go where the focus is, as a keyboard's do.
    auto typing = [this](QString keys) {
        modal.then([keys](device_dialog& d) {
            QWidget* focused = d.focusWidget() ? d.focusWidget() : &d;
            type(*focused, keys);
            key(*focused, Qt::Key_Return);
        });
    };
    edit_box box;
    typing("2+3");
    open_calculator(box);
    EXPECT_EQ(u"5.00", box.get_text());
    // A digit after the number shown starts a new one instead of running on.
    typing("7");
    open_calculator(box);
    EXPECT_EQ(u"7", box.get_text());
    typing("8/0");
    open_calculator(box);
    EXPECT_EQ(u"7", box.get_text()) << "no message is written into a number box";
    typing("4x*2");
    open_calculator(box);
    EXPECT_EQ(u"8.00", box.get_text()) << "a letter is no key of the calculator";
}

TEST_F(shared_mechanisms_test, typing_into_the_display_counts_as_the_entry) {
    edit_box box;
    modal.then([](device_dialog& d) {
        auto& calc = static_cast<calculator_dialog&>(d);
        calc.press(u'2');
        calc.press(u'*');
        calc.type(u"21");
        key(calc, Qt::Key_Return);
    });
    open_calculator(box);
    EXPECT_EQ(u"42.00", box.get_text());
}

TEST_F(shared_mechanisms_test,
       the_account_chooser_lists_the_highest_slot_first_with_the_open_one_chosen) {
    for (auto name : {u"Zeta", u"Alpha", u"Mid"})
        ASSERT_NE(account_change::refused, prog->config.add_account(name));
    prog->config.set_current_account(u"Alpha");
    QComboBox combo;
    combo.addItem("stale");
    int signalled = 0;
    QObject::connect(&combo, &QComboBox::currentIndexChanged, [&] { ++signalled; });
    fill_account_combo(combo, prog->config);
    ASSERT_EQ(3, combo.count());
    EXPECT_EQ("Mid", combo.itemText(0));
    EXPECT_EQ("Alpha", combo.itemText(1));
    EXPECT_EQ("Zeta", combo.itemText(2));
    EXPECT_EQ("Alpha", combo.currentText());
    EXPECT_EQ(0, signalled) << "filling is not the owner's choice";
}

TEST_F(shared_mechanisms_test, the_date_picker_keeps_the_moment_it_is_given) {
    date_picker when(date_picker::shows::date_and_time);
    when.set_value({2007, 3, 5, 14, 30, 17});
    const local_time t = when.value();
    EXPECT_EQ(2007, t.year);
    EXPECT_EQ(3, t.month);
    EXPECT_EQ(5, t.day);
    EXPECT_EQ(14, t.hour);
    EXPECT_EQ(30, t.minute);
    EXPECT_EQ(17, t.second);
    EXPECT_EQ(1, t.weekday) << "5 March 2007 was a Monday";

    // A damaged record's date must not leave the box without a date.
    when.set_value({2007, 2, 31, 25, 0, 0});
    EXPECT_TRUE(when.dateTime().isValid());
}

}  // namespace
}  // namespace kelvane
