// The chart screen: periods by month and week, the whole span, the chart
// kind, taps and arrows, and saving the screen as a picture.

#include <QApplication>
#include <QFontInfo>
#include <QLabel>
#include <algorithm>

#include "core/accounts/configuration.h"
#include "core/common/scaled_font.h"
#include "core/common/text.h"
#include "core/tools/language_table.h"
#include "gui/charts/chart_screen.h"
#include "gui/charts/report_screens_support.h"
#include "gui/charts/reports_page.h"
#include "gui/shell/first_start.h"
#include "gui/tools/text_prompt.h"
#include "gui/widgets/date_picker.h"
#include "gui/widgets/edit_box.h"

namespace kelvane {
namespace {

class chart_screen_test : public report_screens_test {
protected:
    // Opens a report of the open account and acts on its chart screen.
    void with_chart(int kind, std::function<void(chart_screen&, chart_engine&)> act) {
        page = std::make_unique<reports_page>(*prog, nullptr);
        page->set_screen_size(device().screen_width(), device().screen_height());
        bool opened = false;
        modal.then([&](device_dialog& d) {
            opened = true;
            act(dynamic_cast<chart_screen&>(d), page->engine());
        });
        page->open_report(kind);
        ASSERT_TRUE(opened);
    }
    static std::int64_t seconds(const local_time& t) { return to_local_seconds(t); }

    std::unique_ptr<reports_page> page;
};

// Fees at the edges of January and February 2026.
constexpr int fees_report = 2;
const std::initializer_list<cost_entry> fees_round_the_months{
    {2025, 12, 31, 100, 1, 23, 59}, {2026, 1, 1, 200, 2, 0, 0},   {2026, 1, 31, 300, 3, 23, 59},
    {2026, 2, 1, 400, 4, 0, 0},     {2026, 2, 28, 500, 5, 12, 0}, {2026, 3, 1, 600, 6, 0, 0}};

TEST_F(chart_screen_test, months_run_from_their_first_to_their_last_second) {
    add_account(u"Car1", {}, {}, fees_round_the_months);
    clock.set(2026, 1, 31, 18, 0);
    with_chart(fees_report, [&](chart_screen& s, chart_engine& e) {
        s.run_command(chart_screen::cmd_current_month);
        EXPECT_EQ(seconds({2026, 1, 1, 0, 0, 0}), seconds(s.range_start()));
        EXPECT_EQ(seconds({2026, 1, 31, 23, 59, 59}), seconds(s.range_end()));
        EXPECT_EQ((std::vector<std::u16string>{u"200", u"300"}), entry_names(e));

        s.run_command(chart_screen::cmd_month_forward);
        EXPECT_EQ(seconds({2026, 2, 1, 0, 0, 0}), seconds(s.range_start()));
        EXPECT_EQ(seconds({2026, 2, 28, 23, 59, 59}), seconds(s.range_end()));
        EXPECT_EQ((std::vector<std::u16string>{u"400", u"500"}), entry_names(e));

        s.run_command(chart_screen::cmd_month_forward);
        s.run_command(chart_screen::cmd_month_back);  // from 1 March
        EXPECT_EQ(seconds({2026, 2, 28, 23, 59, 59}), seconds(s.range_end()));
        EXPECT_EQ((std::vector<std::u16string>{u"400", u"500"}), entry_names(e));
    });
}

TEST_F(chart_screen_test, a_week_starts_on_its_sunday_and_steps_by_seven_days) {
    add_account(u"Car1", {}, {}, fees_round_the_months);
    clock.set(2026, 2, 1, 15, 0);  // a Sunday
    with_chart(fees_report, [&](chart_screen& s, chart_engine& e) {
        s.run_command(chart_screen::cmd_current_week);
        EXPECT_EQ(seconds({2026, 2, 1, 0, 0, 0}), seconds(s.range_start()));
        EXPECT_EQ(seconds({2026, 2, 7, 23, 59, 59}), seconds(s.range_end()));
        EXPECT_EQ(std::vector<std::u16string>{u"400"}, entry_names(e));

        s.run_command(chart_screen::cmd_week_back);
        EXPECT_EQ(seconds({2026, 1, 25, 0, 0, 0}), seconds(s.range_start()));
        EXPECT_EQ(std::vector<std::u16string>{u"300"}, entry_names(e));

        // Dates picked by hand count from the first to the last second of their days.
        s.pick_dates({2026, 1, 31, 17, 30, 0}, {2026, 2, 1, 8, 0, 0});
        s.fire_pending_timers();
        EXPECT_EQ((std::vector<std::u16string>{u"300", u"400"}), entry_names(e));
        s.run_command(chart_screen::cmd_week_forward);
        EXPECT_EQ(seconds({2026, 2, 8, 0, 0, 0}), seconds(s.range_start()));
        EXPECT_TRUE(entry_names(e).empty());
    });
}

TEST_F(chart_screen_test, all_period_without_records_keeps_the_span_of_the_day_it_began) {
    add_account(u"Car1", {});
    clock.set(2026, 5, 6, 11, 0);
    with_chart(fees_report, [&](chart_screen& s, chart_engine& e) {
        s.run_command(chart_screen::cmd_month_back);
        s.run_command(chart_screen::cmd_all_period);
        EXPECT_TRUE(e.entries().empty());
        EXPECT_EQ(seconds({2026, 5, 6, 0, 0, 0}), seconds(s.range_start()));
        EXPECT_EQ(seconds({2026, 5, 6, 23, 59, 59}), seconds(s.range_end()));
        EXPECT_FALSE(s.previous_shown());
        EXPECT_FALSE(s.next_shown()) << "nothing to step to";
    });
}

TEST_F(chart_screen_test, all_period_shows_the_whole_span_of_the_records) {
    add_account(u"Car1", {}, {}, fees_round_the_months);
    clock.set(2026, 1, 31, 18, 0);
    with_chart(fees_report, [&](chart_screen& s, chart_engine& e) {
        s.run_command(chart_screen::cmd_current_week);
        s.run_command(chart_screen::cmd_all_period);
        EXPECT_EQ(6u, e.entries().size());
        EXPECT_EQ(seconds({2025, 12, 31, 0, 0, 0}), seconds(s.range_start()));
        EXPECT_EQ(seconds({2026, 3, 1, 23, 59, 59}), seconds(s.range_end()));
    });
}

TEST_F(chart_screen_test, a_period_command_brings_back_the_reports_own_chart_kind) {
    add_account(u"Car1", {}, {}, fees_round_the_months);
    with_chart(fees_report, [&](chart_screen& s, chart_engine&) {
        EXPECT_EQ(chart_kind::line, s.shown_kind());
        EXPECT_TRUE(s.fit_toggle_shown());
        s.run_command(chart_screen::cmd_change_type);
        EXPECT_EQ(chart_kind::columns, s.shown_kind());
        s.run_command(chart_screen::cmd_change_type);
        EXPECT_EQ(chart_kind::pie, s.shown_kind());
        EXPECT_FALSE(s.fit_toggle_shown()) << "a pie has no widths to fit";
        EXPECT_TRUE(s.hint_shown());
        s.run_command(chart_screen::cmd_week_back);
        EXPECT_EQ(chart_kind::line, s.shown_kind());
        EXPECT_TRUE(s.fit_toggle_shown());
    });
}

TEST_F(chart_screen_test, the_dates_follow_the_screen_when_it_changes_size_under_the_chart) {
    add_account(u"Car1", {}, {}, fees_round_the_months);
    with_chart(fees_report, [&](chart_screen& s, chart_engine&) {
        screen.set_screen_size(480, 640);
        QApplication::processEvents();
        for (QWidget* date : s.findChildren<QWidget*>())
            if (qobject_cast<QLabel*>(date) || qobject_cast<date_picker*>(date)) {
                EXPECT_GE(QFontInfo(date->font()).pixelSize(), scaled_font_size(9));
            }
    });
}

TEST_F(chart_screen_test, a_tap_on_an_entrys_colour_selects_it_and_white_selects_nothing) {
    add_account(u"Car1", {}, {}, fees_round_the_months);
    with_chart(fees_report, [&](chart_screen& s, chart_engine& e) {
        s.run_command(chart_screen::cmd_change_type);  // columns
        s.repaint();
        EXPECT_TRUE(s.hint_shown());
        EXPECT_FALSE(s.previous_shown());
        EXPECT_TRUE(s.next_shown());
        const QImage& shot = s.picture();
        QPoint on_third;
        for (int y = 0; y < shot.height() && on_third.isNull(); ++y)
            for (int x = 0; x < shot.width(); ++x)
                if (pixel(shot, x, y) == e.entries()[2].colour) {
                    on_third = {x, y};
                    break;
                }
        ASSERT_FALSE(on_third.isNull()) << "the third column is drawn";
        s.tap(on_third);
        EXPECT_EQ(2, e.selected());
        EXPECT_TRUE(s.previous_shown());
        EXPECT_FALSE(s.hint_shown());

        s.tap({2, shot.height() / 3});  // white space
        EXPECT_EQ(2, e.selected());
        key(s, Qt::Key_Left);
        EXPECT_EQ(1, e.selected());
        key(s, Qt::Key_Down);
        key(s, Qt::Key_Down);
        EXPECT_EQ(3, e.selected());
        save_screenshot(device_screen::current()->snapshot(), "chart_columns");
    });
}

TEST_F(chart_screen_test, save_proposes_the_accounts_picture_and_writes_a_24_bit_bitmap) {
    add_account(u"Car1", {}, {}, fees_round_the_months);
    const std::u16string path = folder() + u"Output\\Car1[Fees cost analysis].bmp";
    std::u16string proposed;
    with_chart(fees_report, [&](chart_screen& s, chart_engine&) {
        modal.then([&](device_dialog& d) {
            auto& prompt = dynamic_cast<text_prompt&>(d);
            proposed = prompt.box().get_text();
            prompt.choose(text_prompt::cmd_ok);
        });
        s.run_command(chart_screen::cmd_save);
        EXPECT_TRUE(s.dates_shown()) << "the screen is whole again";
        EXPECT_TRUE(s.fit_toggle_shown());
        EXPECT_TRUE(s.hint_shown());
    });
    EXPECT_EQ(path, proposed);
    const std::vector<std::uint8_t> file = fs.bytes(path);
    ASSERT_EQ(54u + 240u * 320u * 3u, file.size());
    auto u32 = [&](std::size_t at) {
        return file[at] | file[at + 1] << 8 | file[at + 2] << 16 | file[at + 3] << 24;
    };
    EXPECT_EQ('B', file[0]);
    EXPECT_EQ('M', file[1]);
    EXPECT_EQ(file.size(), u32(2));
    EXPECT_EQ(54u, u32(10));
    EXPECT_EQ(240u, u32(18));
    EXPECT_EQ(320u, u32(22));
    EXPECT_EQ(24, file[28]);
    const QImage read = QImage::fromData(file.data(), static_cast<int>(file.size()), "BMP");
    ASSERT_EQ(QSize(240, 320), read.size()) << "an ordinary picture viewer reads it";
    save_screenshot(read, "chart_saved");
    // The title is written in the top row; the menu bar's rows are white.
    auto at = [&](int x, int y) {
        const std::size_t p = 54 + static_cast<std::size_t>(319 - y) * 720 + x * 3;
        return rgb(file[p + 2], file[p + 1], file[p]);
    };
    int title_pixels = 0;
    for (int y = 0; y < 13; ++y)
        for (int x = 0; x < 120; ++x)
            if (at(x, y) != rgb(255, 255, 255)) ++title_pixels;
    EXPECT_GT(title_pixels, 30);
    for (int x = 0; x < 240; ++x) ASSERT_EQ(rgb(255, 255, 255), at(x, 310)) << x;

    // Cancelled, nothing is written.
    fs.delete_file(path);
    with_chart(fees_report, [&](chart_screen& s, chart_engine&) {
        modal.then([](device_dialog& d) { d.choose(text_prompt::cmd_cancel); });
        s.run_command(chart_screen::cmd_save);
    });
    EXPECT_FALSE(fs.file_exists(path));

    // A name the program keeps for its own files is refused, and the folders
    // made for it go again.
    with_chart(fees_report, [&](chart_screen& s, chart_engine&) {
        modal.then([](device_dialog& d) {
            auto& prompt = dynamic_cast<text_prompt&>(d);
            prompt.box().set_text(u"\\My Documents\\Pictures\\Car1.ful");
            prompt.choose(text_prompt::cmd_ok);
        });
        s.run_command(chart_screen::cmd_save);
    });
    EXPECT_FALSE(fs.file_exists(u"\\My Documents\\Pictures\\Car1.ful"));
    EXPECT_FALSE(fs.folder_exists(u"\\My Documents\\Pictures"));
}

TEST_F(chart_screen_test, a_trip_picture_is_proposed_under_a_name_the_device_can_write) {
    add_account(u"Car1", {{2026, 1, 1, 1000}, {2026, 1, 2, 1500}});
    add_trip(u"Alps", {u"Car1"});
    std::u16string proposed;
    modal.then([](device_dialog& d) { d.choose(32784); });  // the trip picker's Ok
    with_chart(4, [&](chart_screen& s, chart_engine&) {
        modal.then([&](device_dialog& d) {
            auto& prompt = dynamic_cast<text_prompt&>(d);
            proposed = prompt.box().get_text();
            prompt.choose(text_prompt::cmd_ok);
        });
        s.run_command(chart_screen::cmd_save);
    });
    EXPECT_EQ(folder() + u"Output\\Car1[Total trip mileage _ 500].bmp", proposed);
    EXPECT_TRUE(fs.file_exists(proposed));
}

TEST_F(chart_screen_test, legends_write_every_figure_whole_and_name_the_expenses_at_every_size) {
    ASSERT_TRUE(install_bundled_files());
    language_table french;
    ASSERT_EQ(load_result::loaded, french.load(u"French"));
    // Eight-digit mileages and five-digit costs: the widest figures a
    // legend row holds.
    add_account(u"Car1", {{2025, 3, 1, 13450300}, {2025, 3, 9, 13450780}, {2025, 3, 20, 13451200}},
                {{2025, 3, 2, 13450310, 12345.67}, {2025, 3, 21, 13451210, 98.5}},
                {{2025, 3, 3, 13450320, 54321.09}, {2025, 3, 22, 13451220, 7.25}});
    clock.set(2025, 3, 25, 12, 0);
    const std::pair<int, int> sizes[] = {{240, 320}, {240, 240}, {320, 240}, {480, 640}};
    for (const text_translator* language :
         {services().translator, static_cast<const text_translator*>(&french)}) {
        scoped_translator in_language(language);
        const bool in_french = language == &french;
        for (auto [w, h] : sizes) {
            screen.set_screen_size(w, h);
            for (int kind : {0, 1, 2, 3}) {
                const std::string where = std::to_string(w) + "x" + std::to_string(h) + " report " +
                                          std::to_string(kind) + (in_french ? " French" : "");
                with_chart(kind, [&](chart_screen& s, chart_engine& e) {
                    s.run_command(chart_screen::cmd_all_period);
                    QApplication::processEvents();
                    ASSERT_FALSE(e.entries().empty()) << where;
                    text_recorder d(s.client_rect().width(), s.client_rect().height());
                    s.draw_page(d);

                    int left = w, right = 0;
                    std::vector<std::u16string> whole;
                    for (const auto& t : d.texts) {
                        if (t.whole()) whole.push_back(t.text);
                        left = std::min(left, t.box.left);
                        right = std::max(right, t.box.right);
                        EXPECT_TRUE(t.whole() || !reads_as_figure(t.text))
                            << std::string(t.text.begin(), t.text.end()) << " cut at " << where;
                    }
                    auto shown_whole = [&](std::u16string_view text) {
                        return std::find(whole.begin(), whole.end(), text) != whole.end();
                    };
                    // The first rows name their entries whole: a mileage, or
                    // the pie's Fuel and Repair; a short screen shows two rows.
                    for (std::size_t i = 0;
                         i < std::min<std::size_t>(h < 320 ? 2 : 3, e.entries().size()); ++i)
                        EXPECT_TRUE(shown_whole(std::u16string(e.entries()[i].name)))
                            << i << " at " << where;
                    EXPECT_GE(right - left, w * 4 / 5) << "the legend uses the width at " << where;
                });
            }
        }
    }
}

}  // namespace
}  // namespace kelvane
