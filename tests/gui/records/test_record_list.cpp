// The record list shared by the three pages: newest first, texts fetched
// only for the rows drawn, selection colours, the pop-up menus and the keys.

#include <QApplication>
#include <QKeyEvent>
#include <QScrollBar>

#include "core/accounts/units.h"
#include "core/common/text.h"
#include "gui/records/list_header.h"
#include "platform/qt/qpainter_dc.h"
#include "record_screens_support.h"

namespace kelvane {

// A store of any size that notes which records the list asked for.
struct counting_store {
    int count = 0;
    mutable std::vector<int> asked;
    int record_count() const { return count; }
    record_list_base::row_texts row_texts(int position) const {
        asked.push_back(position);
        return {format("%d", position), u"b", u"c", u"d"};
    }
};

namespace {

class record_list_test : public record_screens_test {};

TEST_F(record_list_test, a_large_store_is_drawn_from_the_rows_in_view_only) {
    counting_store store{100000, {}};
    record_list<counting_store> list(store, u"Add Fuel Purchase");
    list.resize(240, 200);
    list.set_row_count(store.count);
    QImage shown(list.viewport()->size(), QImage::Format_RGB32);
    {
        image_dc d(shown);
        list.draw_rows(d);
    }
    const int rows = list.rows_per_page();
    ASSERT_LE(store.asked.size(), static_cast<std::size_t>(rows + 1));
    EXPECT_EQ(99999, store.asked.front()) << "the newest record on top";

    list.verticalScrollBar()->setValue(50000);
    store.asked.clear();
    {
        image_dc d(shown);
        list.draw_rows(d);
    }
    ASSERT_FALSE(store.asked.empty());
    EXPECT_LE(store.asked.size(), static_cast<std::size_t>(rows + 1));
    EXPECT_EQ(100000 - 1 - 50000, store.asked.front());
    EXPECT_EQ(u"49999", list.cell_text(50000, 0));
}

TEST_F(record_list_test, texts_are_fetched_afresh_for_each_row_drawn) {
    counting_store store{3, {}};
    record_list<counting_store> list(store, u"New Fees");
    list.set_row_count(3);
    list.cell_text(1, 0);
    list.cell_text(1, 2);
    list.cell_text(1, 3);
    EXPECT_EQ(1u, store.asked.size()) << "one store read per row";
    // After a delete the store has fewer records; the next drawing must not
    // show the texts cached before it.
    store.count = 2;
    list.set_row_count(2);
    EXPECT_EQ(u"0", list.cell_text(1, 0));
    EXPECT_EQ(2u, store.asked.size());
    EXPECT_EQ(u"", list.cell_text(2, 0)) << "a row past the end has no texts";
}

TEST_F(record_list_test, the_fuel_page_lists_fill_ups_newest_first_without_economy_on_top) {
    add_vehicle(u"Car");
    store_fill_up(1000, 30, 50, 1);
    store_fill_up(1500, 40, 50, 2);
    store_fill_up(2100, 45, 50, 3);
    open_main_screen();
    record_list_base& list = fuel().list();
    ASSERT_EQ(3, list.row_count());
    EXPECT_EQ(u" 2100", list.cell_text(0, 0));
    EXPECT_EQ(u"-", list.cell_text(0, 2));
    EXPECT_EQ(u" 1500", list.cell_text(1, 0));
    EXPECT_EQ(u"7.50", list.cell_text(1, 2)) << "45 l over the 600 km that follow";
    EXPECT_EQ(u" 1000", list.cell_text(2, 0));
    EXPECT_EQ(u"8.00", list.cell_text(2, 2));
    EXPECT_EQ(0, list.selected_row()) << "the newest fill-up is selected at start";
    EXPECT_EQ(u"Liter/100Km", list.header().items()[2].title);
}

TEST_F(record_list_test, the_selected_row_is_drawn_in_the_highlight_colours) {
    system_colour_set colours;
    colours.highlight = rgb(200, 40, 40);
    colours.highlight_text = rgb(250, 250, 0);
    dev.set_system_colours(colours);
    add_vehicle(u"Car");
    store_fill_up(1000, 30, 50, 1);
    store_fill_up(1500, 40, 50, 2);
    open_main_screen();
    record_list_base& list = fuel().list();
    list.select_row(1);
    QImage shown(list.viewport()->size(), QImage::Format_RGB32);
    {
        image_dc d(shown);
        list.draw_rows(d);
    }
    const int h = list.row_height();
    for (int x : {1, list.column_width(0) + 1, 200})
        EXPECT_EQ(colours.highlight, pixel(shown, x, h + 1)) << "column at " << x;
    bool highlight_text = false;
    for (int x = 0; x < 228 && !highlight_text; ++x)
        for (int y = h; y < 2 * h; ++y)
            if (pixel(shown, x, y) == colours.highlight_text) highlight_text = true;
    EXPECT_TRUE(highlight_text);
    EXPECT_EQ(rgb(255, 255, 255), pixel(shown, 1, 1)) << "the other row is plain";
    save_screenshot(screen.snapshot(), "fuel_page_selection");
}

TEST_F(record_list_test, a_figure_too_wide_for_its_column_is_written_whole_at_every_size) {
    add_vehicle(u"Car");
    fee_record r{};
    r.year = 2026, r.month = 12, r.day = 28;
    r.mileage = 13450300;
    r.cost = 1234567.89;
    set_fixed(r.category, u"Parking");
    ASSERT_FALSE(prog->fees.add_record(r).key.empty());
    auto& main = open_main_screen();
    for (auto [w, h] : {std::pair{240, 320}, {240, 240}, {320, 240}, {480, 640}}) {
        screen.set_screen_size(w, h);
        main.tap(2 * 35);
        QApplication::processEvents();
        record_list_base& list = fees().list();
        text_recorder d(list.viewport()->width(), list.viewport()->height());
        list.draw_rows(d);
        std::vector<std::u16string> figures;
        for (const auto& t : d.texts)
            if (reads_as_figure(t.text)) {
                figures.push_back(t.text);
                EXPECT_TRUE(t.whole()) << QString::fromStdU16String(t.text).toStdString()
                                       << " cut at " << w << "x" << h;
            }
        EXPECT_EQ((std::vector<std::u16string>{u"13450300", u"1234567.89", u"12/28/26"}), figures)
            << w << "x" << h;
    }
}

TEST_F(record_list_test, a_title_too_long_for_its_column_keeps_its_start) {
    add_vehicle(u"Car");
    open_main_screen();
    record_list_base& list = fuel().list();
    for (std::u16string_view unit : economy_unit_names) {
        list.set_column_title(2, unit);
        text_recorder d(list.header().width(), list.header().height());
        list.header().draw(d);
        ASSERT_EQ(4u, d.texts.size());
        EXPECT_TRUE(d.texts[2].whole() || (d.texts[2].flags & dt_end_ellipsis))
            << QString::fromStdU16String(d.texts[2].text).toStdString();
    }
}

TEST_F(record_list_test, tap_and_hold_offers_edit_and_delete_only_on_a_row) {
    add_vehicle(u"Car");
    store_fill_up(1000, 30, 50, 1);
    open_main_screen();
    record_list_base& fuel_list = fuel().list();

    fuel_list.hold_at({20, fuel_list.row_height() / 2});
    fuel_list.hold_at({20, fuel_list.row_height() * 4});  // below the only row
    ASSERT_EQ(2u, modal.popups().size());
    const auto& on_row = modal.popups()[0];
    ASSERT_EQ(3u, on_row.size());
    EXPECT_EQ(u"Add Fuel Purchase", on_row[0].text);
    EXPECT_EQ(u"Edit", on_row[1].text);
    EXPECT_EQ(u"Delete", on_row[2].text);
    const auto& off_rows = modal.popups()[1];
    ASSERT_EQ(1u, off_rows.size());
    EXPECT_EQ(u"Add Fuel Purchase", off_rows[0].text);
    EXPECT_EQ(-1, fuel_list.selected_row());

    service().list().hold_at({20, 20});
    EXPECT_EQ(u"New Repair", modal.popups()[2][0].text);
    fees().list().hold_at({20, 20});
    EXPECT_EQ(u"New Fees", modal.popups()[3][0].text);
}

TEST_F(record_list_test, the_menu_choice_reaches_the_page) {
    add_vehicle(u"Car");
    store_fill_up(1000, 30, 50, 1);
    open_main_screen();
    record_list_base& list = fuel().list();
    modal.then_choose(record_list_base::cmd_delete);
    boxes.answer_next(message_answer::yes);
    list.hold_at({20, list.row_height() / 2});
    EXPECT_EQ(0, prog->fuel.record_count());
    EXPECT_EQ(0, list.row_count());
}

TEST_F(record_list_test, left_and_right_on_the_list_move_between_pages) {
    add_vehicle(u"Car");
    open_main_screen();
    key(fuel().list(), Qt::Key_Left);
    EXPECT_EQ(page_id::accounts, screen_->current_page());
    screen_->tap(35);
    key(service().list(), Qt::Key_Right);
    EXPECT_EQ(page_id::fees, screen_->current_page());
}

TEST_F(record_list_test, enter_edits_and_the_delete_key_deletes_the_selected_record) {
    add_vehicle(u"Car");
    store_fill_up(1000, 30, 50, 1);
    store_fill_up(1500, 40, 50, 2);
    open_main_screen();
    record_list_base& list = fuel().list();
    key(list, Qt::Key_Down);
    modal.then([](device_dialog& d) {
        EXPECT_EQ(u"1000.0", static_cast<fuel_editor&>(d).entry().mileage);
    });
    key(list, Qt::Key_Return);
    ASSERT_EQ(2u, modal.opened().size()) << "the splash, then the editor";
    EXPECT_EQ("kelvane::fuel_editor", modal.opened()[1]);

    boxes.answer_next(message_answer::no);
    key(list, Qt::Key_Delete);
    EXPECT_EQ(2, prog->fuel.record_count());
    key(list, Qt::Key_Delete);  // any answer but No
    ASSERT_EQ(1, prog->fuel.record_count());
    EXPECT_EQ(1500, prog->fuel.record_at(0).mileage);
}

}  // namespace
}  // namespace kelvane
