// The desktop window around the device screen: screen sizes, the zoom and the
// desktop's room, what is remembered, and the unattended screenshot run.

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QMenuBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include "core/common/messages.h"
#include "gui/gui_test_support.h"
#include "gui/shell/application.h"
#include "gui/shell/device_window.h"
#include "gui/shell/first_start.h"
#include "gui/shell/main_screen.h"
#include "gui/shell/screenshot_run.h"
#include "platform/faulty_file_system.h"
#include "platform/qt/device_message_box.h"

namespace kelvane {
namespace {

// Settles what a resize sets off (the layout, the screen's size events).
void settle() {
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
}

class device_window_test : public gui_test {
protected:
    device_window_test() {
        // The host's settings of these tests live in a folder of their own.
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings_dir.path());
    }

    static void save(QSize screen, int zoom) {
        QSettings s("Kelvane", "Kelvane");
        s.setValue("screen_width", screen.width());
        s.setValue("screen_height", screen.height());
        s.setValue("zoom", zoom);
    }

    // True when the window shows the whole device screen below its menu bar.
    static void expect_whole_screen(device_window& w, QSize size) {
        EXPECT_EQ(size, w.screen().size());
        EXPECT_TRUE(w.rect().contains(w.screen().geometry()));
        EXPECT_GT(w.screen().geometry().top(), w.menuBar()->geometry().bottom());
        EXPECT_EQ(size.width(), device().screen_width());
        EXPECT_EQ(size.height(), device().screen_height());
    }

    QTemporaryDir settings_dir;
};

// A window on a desktop of a given room.
class window_on_desktop : public device_window {
public:
    window_on_desktop(int zoom, desktop_room r) : device_window(zoom), room_(r) {}

protected:
    desktop_room room() const override { return room_; }

private:
    desktop_room room_;
};

constexpr desktop_room desktop_1024x768{QSize(1024, 740), QSize(10, 40)};

TEST_F(device_window_test, each_screen_size_resizes_the_window_to_hold_the_whole_screen) {
    device_window w;
    w.show();
    settle();
    expect_whole_screen(w, {240, 320});
    // Larger, smaller, turned and back: the window follows each choice at once.
    for (QSize size :
         {QSize(480, 640), QSize(240, 240), QSize(320, 240), QSize(240, 320), QSize(480, 640)}) {
        w.size_action(size)->trigger();
        settle();
        SCOPED_TRACE(size.width() * 1000 + size.height());
        expect_whole_screen(w, size);
        EXPECT_TRUE(w.size_action(size)->isChecked());
    }
    // Dragged to a size of the owner's own, the screen follows the window.
    w.resize(400, 400);
    settle();
    EXPECT_EQ(400, w.screen().width());
    EXPECT_EQ(400 - w.menu_bar_height(400), w.screen().height());
    EXPECT_EQ(400, device().screen_width());
}

TEST_F(device_window_test, the_size_is_remembered_but_not_a_maximised_one) {
    {
        device_window w;
        w.show();
        settle();
        w.choose_size({320, 240});
        settle();
    }
    {
        device_window w;
        w.show();
        settle();
        expect_whole_screen(w, {320, 240});
        w.showMaximized();
        settle();
        w.close();
    }
    EXPECT_EQ(QSize(320, 240), device_window::saved_screen_size());
}

TEST_F(device_window_test, the_zoom_is_the_largest_that_fits_the_desktop) {
    // Zoom 3 of a 240 x 320 screen is over 1000 pixels tall: a 1024 x 768
    // desktop gets zoom 2, a small one zoom 1, a large one what was chosen.
    save({240, 320}, 3);
    EXPECT_EQ(2, device_window::start_zoom(desktop_1024x768));
    EXPECT_EQ(1, device_window::start_zoom({QSize(800, 570), QSize(10, 40)}));
    EXPECT_EQ(3, device_window::start_zoom({QSize(1920, 1160), QSize(10, 40)}));
    save({480, 640}, 2);
    EXPECT_EQ(1, device_window::start_zoom(desktop_1024x768));
    EXPECT_EQ(1, device_window::start_zoom({QSize(300, 300), QSize(0, 0)}))
        << "a desktop too small for anything still gets a window";
}

TEST_F(device_window_test, the_menu_offers_only_what_fits_and_says_why) {
    window_on_desktop w(2, desktop_1024x768);
    w.update_menu();
    EXPECT_TRUE(w.zoom_action(2)->isChecked());
    EXPECT_TRUE(w.zoom_action(1)->isEnabled());
    EXPECT_FALSE(w.zoom_action(3)->isEnabled());
    EXPECT_TRUE(w.zoom_action(3)->text().contains("too large"))
        << w.zoom_action(3)->text().toStdString();
    EXPECT_TRUE(w.size_action({320, 240})->isEnabled());
    EXPECT_FALSE(w.size_action({480, 640})->isEnabled()) << "1280 pixels tall at zoom 2";
    EXPECT_TRUE(w.size_action({480, 640})->text().contains("zoom 2x"));

    window_on_desktop own_factor(0, desktop_1024x768);
    own_factor.update_menu();
    for (int z = 1; z <= device_window::max_zoom; ++z)
        EXPECT_FALSE(own_factor.zoom_action(z)->isEnabled()) << "QT_SCALE_FACTOR decides";
}

TEST_F(device_window_test, a_remembered_size_the_desktop_cannot_hold_shrinks_to_fit) {
    save({480, 640}, 1);
    const desktop_room small{QSize(640, 480), QSize(10, 40)};
    window_on_desktop w(1, small);
    w.show();
    settle();
    EXPECT_LE(w.width() + small.frame.width(), small.available.width());
    EXPECT_LE(w.height() + small.frame.height(), small.available.height());
    EXPECT_TRUE(w.rect().contains(w.screen().geometry()));
    EXPECT_GT(w.screen().geometry().top(), w.menuBar()->geometry().bottom());
}

TEST_F(device_window_test, choosing_a_zoom_ends_the_run_to_start_again) {
    device_window w;
    w.show();
    settle();
    w.choose_zoom(1);
    EXPECT_FALSE(w.restart_requested()) << "the zoom in use";
    w.choose_zoom(2);
    EXPECT_TRUE(w.restart_requested());
    EXPECT_EQ(2, device_window::saved_zoom());
}

// The program as it runs on the desktop: real nested event loops and real
// message boxes, with a guard that turns a run that would never end into a
// failure.
class unattended_run : public device_window_test {
protected:
    unattended_run() : files(fs), real_({&files, nullptr, nullptr, &shown_boxes}) {
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, [this] {
            hung = true;
            auto* dismiss = new QTimer(&guard);
            QObject::connect(dismiss, &QTimer::timeout, [] {
                if (auto* s = device_screen::current()) s->dismiss_all();
            });
            dismiss->start(10);
        });
        guard.start(20000);
    }

    // The program's message boxes, shown for real and counted.
    struct counting_boxes : message_box_service {
        device_message_box_service real;
        std::vector<std::u16string> texts;
        message_answer show(std::u16string_view text, std::u16string_view caption,
                            message_buttons buttons) override {
            texts.emplace_back(text);
            return real.show(text, caption, buttons);
        }
    };

    faulty_file_system files;
    counting_boxes shown_boxes;
    scoped_services real_;
    event_loop_modal loops;
    scoped_services real_loops{{.modals = &loops}};
    QTimer guard;
    bool hung = false;
};

TEST_F(unattended_run, screenshot_ends_through_every_message_and_writes_the_picture) {
    const std::u16string folder = u"\\Program Files\\Kelvane\\";
    ASSERT_TRUE(install_bundled_files());
    ASSERT_EQ(account_change::done, prog->config.add_account(u"Golf"));
    prog->config.set_current_account(u"Golf");
    ASSERT_TRUE(prog->config.save_config());
    // Two damaged files: two messages, one after the other, while loading.
    fs.put(folder + u"Golf.ful", std::vector<std::uint8_t>(10, 0xAB));
    fs.put(folder + u"Golf.mat", std::vector<std::uint8_t>(10, 0xAB));
    restart();
    files.fail_write(1);  // and the first write at the end fails: a third message

    device_window w;
    w.show();
    QTemporaryDir out;
    const QString file = out.path() + "/shot.png";
    ASSERT_EQ(QString(), screenshot_run::check_target(file));
    screenshot_run shot(w.screen(), file, 300);
    application().run(*prog);

    EXPECT_FALSE(hung) << "the run did not end by itself";
    EXPECT_TRUE(shot.taken());
    EXPECT_EQ(QString(), shot.failure());
    const QImage picture(file);
    EXPECT_EQ(QSize(240, 320), picture.size());
    ASSERT_GE(shown_boxes.texts.size(), 3u);
    EXPECT_EQ(std::u16string(msg_format_error), shown_boxes.texts[0]);
    EXPECT_EQ(std::u16string(msg_format_error), shown_boxes.texts[1]);
    EXPECT_EQ(std::u16string(msg_write_failed), shown_boxes.texts.back());
}

TEST_F(unattended_run, screenshot_reports_a_file_it_cannot_write) {
    EXPECT_NE(QString(), screenshot_run::check_target("/nonexistent/x.png"));
    QTemporaryDir out;
    EXPECT_NE(QString(), screenshot_run::check_target(out.path() + "/x.unknown"));
    EXPECT_NE(QString(), screenshot_run::check_target(out.path()));

    // A folder that is gone by the time the picture is taken.
    const QString file = out.path() + "/later/x.png";
    device_window w;
    w.show();
    screenshot_run shot(w.screen(), file, 100);
    application().run(*prog);
    EXPECT_FALSE(hung);
    EXPECT_TRUE(shot.taken());
    EXPECT_TRUE(shot.failure().contains(file)) << shot.failure().toStdString();
}

TEST_F(unattended_run, closing_the_window_while_loading_keeps_the_accounts) {
    ASSERT_TRUE(install_bundled_files());
    ASSERT_EQ(account_change::done, prog->config.add_account(u"Golf"));
    prog->config.set_current_account(u"Golf");
    ASSERT_TRUE(prog->config.save_config());
    restart();

    device_window w;
    w.show();
    // Closed at once, before the splash screen has loaded anything.
    QTimer::singleShot(0, &w, [&] { w.close(); });
    application().run(*prog);
    EXPECT_FALSE(hung);

    restart();
    (void)prog->config.load_config();
    EXPECT_TRUE(prog->config.account_exists(u"Golf"));
    EXPECT_EQ(u"Golf", prog->config.current_account());
}

TEST_F(unattended_run, ctrl_q_ends_the_program_and_writes_its_data_as_exit_does) {
    ASSERT_TRUE(install_bundled_files());
    restart();
    device_window w;
    w.show();
    ASSERT_EQ(QKeySequence(Qt::CTRL | Qt::Key_Q), w.quit_action()->shortcut());
    // Once the main screen is up, the owner moves to the reports page and quits.
    QTimer owner;
    QObject::connect(&owner, &QTimer::timeout, [&] {
        auto* main = dynamic_cast<main_screen*>(w.screen().top());
        if (!main) return;
        owner.stop();
        main->tap(140);
        w.quit_action()->trigger();
    });
    owner.start(20);
    application().run(*prog);
    EXPECT_FALSE(hung);

    restart();
    ASSERT_EQ(load_result::loaded, prog->config.load_config());
    EXPECT_EQ(4, prog->config.last_page()) << "the configuration was written at the end";
}

}  // namespace
}  // namespace kelvane
