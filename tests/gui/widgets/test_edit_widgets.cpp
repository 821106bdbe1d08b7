// The edit box, the suggestion and check lists, the choice button and the pickers.

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>

#include "gui/gui_test_support.h"
#include "gui/widgets/choice_button.h"
#include "gui/widgets/choice_picker.h"
#include "gui/widgets/edit_box.h"
#include "gui/widgets/skin.h"
#include "gui/widgets/suggestion_dropdown.h"
#include "gui/widgets/text_label.h"
#include "gui/widgets/vehicle_picker.h"
#include "platform/qt/qpainter_dc.h"
#include "platform/qt/system_colours.h"

namespace kelvane {
namespace {

class edit_test : public gui_test {
protected:
    QWidget page;
    edit_box box{&page};
};

TEST_F(edit_test, hint_shows_only_while_empty_and_unfocused) {
    box.set_hint(u"Station");
    EXPECT_TRUE(box.showing_hint());
    EXPECT_EQ(u"", box.get_text());
    focus_in(box);
    EXPECT_EQ(QString(), box.text());
    focus_out(box);
    EXPECT_TRUE(box.showing_hint());
    EXPECT_EQ(QString("Station"), box.text());
    focus_in(box);
    EXPECT_EQ(QString(), box.text()) << "the hint never comes back as text";
    type(box, "Ab");
    focus_out(box);
    EXPECT_EQ(u"Ab", box.get_text());
    box.set_text(u"");
    EXPECT_TRUE(box.showing_hint());
}

TEST_F(edit_test, text_that_equals_the_hint_is_kept) {
    box.set_hint(u"Note");
    focus_in(box);
    type(box, "Note");
    focus_out(box);
    EXPECT_EQ(u"Note", box.get_text());
    focus_in(box);
    EXPECT_EQ(QString("Note"), box.text());
}

TEST_F(edit_test, password_box_masks_only_real_text) {
    box.password = true;
    box.set_hint(u"Password");
    EXPECT_EQ(QLineEdit::Normal, box.echoMode());
    focus_in(box);
    EXPECT_EQ(QLineEdit::Password, box.echoMode());
    type(box, "x");
    EXPECT_EQ(u"x", box.get_text()) << "no capital in a password";
    focus_out(box);
    EXPECT_EQ(QLineEdit::Password, box.echoMode());
}

TEST_F(edit_test, first_letter_becomes_a_capital_and_typing_goes_on) {
    for (char c = 'a'; c <= 'z'; ++c) {
        edit_box b(&page);
        focus_in(b);
        type(b, QString(QChar(c)));
        EXPECT_EQ(QString(QChar(c)).toUpper(), b.text()) << c;
    }
    focus_in(box);
    type(box, "shell");
    EXPECT_EQ(QString("Shell"), box.text()) << "the next letter must not replace the capital";
    edit_box plain(&page);
    plain.capitalise_first = false;
    focus_in(plain);
    type(plain, "s");
    EXPECT_EQ(QString("s"), plain.text());
}

TEST_F(edit_test, maximum_length_cuts_pasted_text_and_counts) {
    QLabel counter(&page);
    box.set_max_length(30);
    box.set_counter_label(&counter);
    focus_in(box);
    box.insert(QString(40, 'x'));
    EXPECT_EQ(30, box.text().size());
    EXPECT_EQ(30, box.cursorPosition());
    EXPECT_EQ(QString(" 30/30"), counter.text());
    focus_out(box);
    EXPECT_FALSE(counter.isVisibleTo(&page));
}

TEST_F(edit_test, initial_selection_keeps_the_tail) {
    box.kept_tail = 5;
    box.set_text(u"12345.0");
    box.select_initial();
    EXPECT_EQ(QString("12"), box.selectedText());
    EXPECT_EQ(0, box.cursorPosition());
    box.set_text(u"45.0");  // shorter than the tail: caret at the start
    box.select_initial();
    EXPECT_EQ(QString(), box.selectedText());
    EXPECT_EQ(0, box.cursorPosition());
    box.kept_tail = 0;
    box.set_text(u"-12.5");
    box.select_initial();
    EXPECT_EQ(QString("-12.5"), box.selectedText()) << "the program's number, to type over";
    box.clear();
    type(box, "-12.5");
    box.select_initial();
    EXPECT_EQ(QString("-"), box.selectedText()) << "the owner's own number";
}

TEST_F(edit_test, typing_completes_from_the_suggestions_but_deleting_does_not) {
    box.text_box = true;
    box.add_suggestion(u"Shell");
    box.add_suggestion(u"Shop");
    focus_in(box);
    type(box, "sh");
    EXPECT_EQ(QString("Shell"), box.text());
    EXPECT_EQ(QString("ell"), box.selectedText());
    key(box, Qt::Key_Backspace);
    EXPECT_EQ(QString("Sh"), box.text()) << "the completed part can be deleted";
    type(box, "o");
    EXPECT_EQ(QString("Shop"), box.text());
    box.autocomplete = false;
    box.set_text(u"");
    type(box, "sh");
    EXPECT_EQ(QString("Sh"), box.text());
}

TEST_F(edit_test, suggestion_list_drops_down_and_hands_over_a_tapped_row) {
    suggestion_dropdown list(&page);
    box.setGeometry(10, 40, 150, 20);
    box.set_suggestion_list(&list);
    box.add_suggestion(u"Shell", u"12");
    box.add_suggestion(u"Total", u"3");
    int changes = 0;
    QObject::connect(&box, &edit_box::changed, [&] { ++changes; });
    focus_in(box);
    ASSERT_TRUE(box.suggestions_shown());
    EXPECT_EQ(2, list.row_count());
    EXPECT_EQ(u"3", list.row_at(1).note);
    EXPECT_EQ(QRect(10, 59, 150, 32), list.geometry());
    page.resize(240, 120);
    save_screenshot(page.grab().toImage(), "edit_suggestions");
    list.tap_row(1);
    EXPECT_EQ(u"Total", box.get_text());
    EXPECT_EQ(1, box.taken_suggestion());
    EXPECT_FALSE(list.isVisibleTo(&page));
    EXPECT_FALSE(box.suggestions_shown());
    EXPECT_EQ(1, changes);
}

TEST_F(edit_test, the_tap_that_focuses_the_box_leaves_its_suggestions_down) {
    suggestion_dropdown list(&page);
    box.setGeometry(10, 40, 150, 20);
    box.set_suggestion_list(&list);
    box.add_suggestion(u"<English>");
    // A tap gives the focus first and then presses.
    focus_in(box);
    mouse_press(box, {5, 5});
    mouse_release(box, {5, 5});
    EXPECT_TRUE(box.suggestions_shown());
    mouse_press(box, {5, 5});
    mouse_release(box, {5, 5});
    EXPECT_FALSE(box.suggestions_shown()) << "a second tap folds them";
}

TEST_F(edit_test, enter_is_swallowed_and_up_down_reselect) {
    box.kept_tail = 2;
    box.set_text(u"1234");
    focus_in(box);
    box.setCursorPosition(4);
    key(box, Qt::Key_Return);
    EXPECT_EQ(QString("1234"), box.text());
    key(box, Qt::Key_Down);
    EXPECT_EQ(QString("12"), box.selectedText());
}

TEST_F(edit_test, focus_raises_and_lowers_the_input_panel) {
    focus_in(box);
    EXPECT_TRUE(shell_.panel);
    focus_out(box);
    EXPECT_FALSE(shell_.panel);
    box.raise_input_panel = false;
    focus_in(box);
    EXPECT_FALSE(shell_.panel);
}

using check_list_test = gui_test;

TEST_F(check_list_test, a_group_row_carries_its_members) {
    suggestion_dropdown list;
    list.set_check_mode(&prog->skin);
    list.set_always_visible(true);
    for (auto [text, indent] : {std::pair{u"Group 1", false},
                                {u"a", true},
                                {u"b", true},
                                {u"Group 2", false},
                                {u"c", true}})
        list.add_row(text, rgb(0, 0, 0), {}, rgb(0, 0, 0), 12, u"Arial", indent, 0);
    list.tap_row(0);
    std::vector<int> icons;
    for (int i = 0; i < list.row_count(); ++i) icons.push_back(list.row_at(i).icon);
    EXPECT_EQ((std::vector<int>{1, 1, 1, 0, 0}), icons);
    list.tap_row(2);
    list.tap_row(4);
    icons.clear();
    for (int i = 0; i < list.row_count(); ++i) icons.push_back(list.row_at(i).icon);
    EXPECT_EQ((std::vector<int>{1, 1, 0, 0, 1}), icons);
}

TEST_F(check_list_test, selected_row_is_highlighted_but_its_note_stays_white) {
    suggestion_dropdown list;
    list.resize(200, 48);
    list.add_row(u"Fuel", rgb(0, 0, 0), u"note", rgb(100, 100, 100), 12, u"Arial", false, 0);
    list.add_row(u"Oil", rgb(0, 0, 0), {}, rgb(100, 100, 100), 12, u"Arial", false, 0);
    list.select_row(0);
    QImage img(200, 48, QImage::Format_RGB32);
    {
        image_dc d(img);
        list.draw(d);
    }
    // The highlight runs under the text; the note (which takes what the
    // short text leaves) stays white.
    EXPECT_EQ(device().system_colours().highlight, pixel(img, 1, 2));
    EXPECT_EQ(rgb(255, 255, 255), pixel(img, 120, 2));
    EXPECT_EQ(rgb(255, 255, 255), pixel(img, 195, 2));
    EXPECT_EQ(rgb(255, 255, 255), pixel(img, 120, 18));
}

class choice_test : public gui_test {
protected:
    choice_button choices;
    void SetUp() override {
        choices.add_choice(u"Litre", u"l");
        choices.add_choice(u"Gallon (US)", u"gal");
        choices.add_choice(u"Gallon (UK)", u"gal");
    }
};

TEST_F(choice_test, left_and_right_wrap_round) {
    choices.set_current(2);
    key(choices, Qt::Key_Right);
    EXPECT_EQ(0, choices.current());
    key(choices, Qt::Key_Left);
    EXPECT_EQ(2, choices.current());
    EXPECT_EQ(u"Gallon (UK)", choices.current_text());
    EXPECT_TRUE(choices.choose(u"Litre"));
    EXPECT_FALSE(choices.choose(u"Barrel"));
    EXPECT_EQ(0, choices.current());
}

TEST_F(choice_test, enter_opens_the_picker_and_takes_the_pick) {
    modal.then([](device_dialog& d) {
        auto& picker = dynamic_cast<choice_picker&>(d);
        EXPECT_EQ(3, picker.list().row_count());
        EXPECT_EQ(0, picker.list().selected()) << "the current choice is selected";
        picker.list().select_row(1);
        save_screenshot(device_screen::current()->snapshot(), "text_picker");
        EXPECT_TRUE(picker.choose(choice_picker::cmd_ok));
    });
    key(choices, Qt::Key_Return);
    EXPECT_EQ(1, choices.current());
    modal.then([](device_dialog& d) { d.choose(choice_picker::cmd_cancel); });
    key(choices, Qt::Key_Return);
    EXPECT_EQ(1, choices.current());
    EXPECT_EQ(0u, modal.pending());
}

TEST_F(choice_test, ok_without_a_selection_picks_nothing) {
    std::optional<std::u16string> picked = u"?";
    modal.then([&](device_dialog& d) {
        d.choose(choice_picker::cmd_ok);
        EXPECT_FALSE(d.ended());
    });
    choice_picker picker({u"a", u"b"}, {}, -1);
    EXPECT_EQ(device_dialog::dismissed, picker.exec());
    EXPECT_FALSE(picker.picked());
}

using accounts_picker_test = gui_test;

TEST_F(accounts_picker_test, select_all_clear_all_and_ok_in_list_order) {
    std::vector<std::u16string> items{u"Golf", u"Van", u"Bike", u"Truck"};
    modal.then([](device_dialog& d) {
        auto& sel = dynamic_cast<vehicle_picker&>(d);
        auto icons = [&] {
            std::vector<int> v;
            for (int i = 0; i < sel.list().row_count(); ++i) v.push_back(sel.list().row_at(i).icon);
            return v;
        };
        EXPECT_EQ((std::vector<int>{0, 1, 0, 1}), icons());
        save_screenshot(device_screen::current()->snapshot(), "accounts_picker");
        sel.choose(vehicle_picker::cmd_select_all);
        EXPECT_EQ((std::vector<int>{1, 1, 1, 1}), icons());
        sel.choose(vehicle_picker::cmd_clear_all);
        EXPECT_EQ((std::vector<int>{0, 0, 0, 0}), icons());
        sel.list().tap_row(2);
        sel.list().select_row(0);
        key(sel.list(), Qt::Key_Return);  // Enter checks the current row
        sel.choose(vehicle_picker::cmd_ok);
    });
    vehicle_picker sel(prog->skin, items, {u"Van", u"Truck"}, vehicle_picker::multiple_choice,
                       u"Select vehicles");
    EXPECT_EQ(device_dialog::confirmed, sel.exec());
    EXPECT_EQ((std::vector<std::u16string>{u"Golf", u"Bike"}), items);
}

TEST_F(accounts_picker_test, leaving_without_ok_keeps_the_items) {
    std::vector<std::u16string> items{u"Golf", u"Van"};
    modal.then([](device_dialog& d) { d.choose(vehicle_picker::cmd_clear_all); });
    vehicle_picker sel(prog->skin, items, {u"Van"}, vehicle_picker::multiple_choice,
                       u"Select vehicles");
    EXPECT_EQ(device_dialog::dismissed, sel.exec());
    EXPECT_EQ((std::vector<std::u16string>{u"Golf", u"Van"}), items);
}

}  // namespace
}  // namespace kelvane

namespace kelvane {
namespace {

using label_test = gui_test;

TEST_F(label_test, mark_comes_before_a_text_and_never_shows_its_key_colour) {
    text_label label(prog->skin);
    label.resize(120, 20);
    label.background = rgb(250, 240, 200);
    label.text_colour = rgb(200, 0, 0);
    label.align = text_label::left_single;
    auto render = [&] {
        QImage img(120, 20, QImage::Format_RGB32);
        image_dc d(img);
        label.draw(d);
        return img;
    };
    label.set_text(u"Hint");
    QImage img = render();
    int mark = 0, key = 0, text_left = 1000;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 120; ++x) {
            const colour c = pixel(img, x, y);
            if (c == skin_piece::mark_key) ++key;
            if (x < 12 && c != rgb(250, 240, 200)) ++mark;
            if (c == rgb(200, 0, 0)) text_left = std::min(text_left, x);
        }
    EXPECT_EQ(0, key);
    EXPECT_GT(mark, 10);
    EXPECT_GE(text_left, 15);

    label.set_text(u"");
    img = render();
    EXPECT_EQ(rgb(250, 240, 200), pixel(img, 5, 8)) << "no mark without a text";
}

}  // namespace
}  // namespace kelvane
