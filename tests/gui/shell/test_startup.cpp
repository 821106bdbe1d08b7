// Start-up and shutdown: the splash window, the loading sequence, the first
// start's files, the help viewer, the message box, and writing at the end.

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QTemporaryDir>

#include "core/accounts/configuration.h"
#include "core/accounts/program_options.h"
#include "core/common/messages.h"
#include "core/common/translate.h"
#include "core/stores/fee_store.h"
#include "core/stores/fuel_store.h"
#include "core/stores/service_store.h"
#include "core/stores/trip_store.h"
#include "core/tools/key_table.h"
#include "gui/gui_test_support.h"
#include "gui/shell/application.h"
#include "gui/shell/first_start.h"
#include "gui/shell/main_screen.h"
#include "gui/shell/splash_screen.h"
#include "platform/dc.h"
#include "platform/host_file_system.h"
#include "platform/qt/desktop_shell.h"
#include "platform/qt/device_message_box.h"

namespace kelvane {
namespace {

using startup_test = gui_test;

TEST_F(startup_test, splash_adds_a_dot_before_each_step_and_one_at_the_end) {
    std::vector<std::u16string> seen;
    splash_screen* splash = nullptr;
    std::vector<std::function<void()>> steps;
    for (int i = 0; i < 5; ++i) steps.push_back([&] { seen.push_back(splash->progress()); });
    splash_screen dlg(steps);
    splash = &dlg;
    EXPECT_EQ(device_dialog::confirmed, dlg.exec());
    const std::vector<std::u16string> expected{u".", u"..", u"...", u"....", u"....."};
    EXPECT_EQ(expected, seen);
    EXPECT_EQ(u"......", dlg.progress());

    const QImage box = dlg.render_box();
    save_screenshot(box, "splash");
    const colour black = rgb(0, 0, 0), white = rgb(255, 255, 255);
    EXPECT_EQ(black, pixel(box, 0, 0));
    EXPECT_EQ(black, pixel(box, splash_screen::box_width - 1, splash_screen::box_height - 1));
    EXPECT_EQ(white, pixel(box, 1, 1));
    int dots_left = 1000, dots_top = 1000, dots_right = -1;
    for (int y = 78; y < splash_screen::box_height - 1; ++y)
        for (int x = 1; x < splash_screen::box_width - 1; ++x)
            if (pixel(box, x, y) == black) {
                dots_left = std::min(dots_left, x);
                dots_right = std::max(dots_right, x);
                dots_top = std::min(dots_top, y);
            }
    EXPECT_GE(dots_left, 85);
    EXPECT_LE(dots_left, 88);
    EXPECT_GE(dots_top, 80);
    EXPECT_GT(dots_right - dots_left, 10) << "six dots in a row";
}

TEST_F(startup_test, escape_before_the_loading_leaves_the_splash_to_load_everything) {
    // Ended before its steps, the program would run without its files and
    // write empty ones over them at the end.
    int steps_run = 0;
    splash_screen splash({[&] { ++steps_run; }, [&] { ++steps_run; }});
    splash.begin_modal();
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&splash, &escape);
    EXPECT_FALSE(splash.ended());
    splash.fire_pending_timers();
    EXPECT_EQ(2, steps_run);
    EXPECT_TRUE(splash.ended());
    EXPECT_EQ(device_dialog::confirmed, splash.result());
    splash.end_modal();
}

TEST_F(startup_test, loading_opens_the_configured_account_even_without_its_files) {
    ASSERT_TRUE(install_bundled_files());
    ASSERT_EQ(prog->config.add_account(u"Golf"), account_change::done);
    prog->config.set_current_account(u"Golf");
    prog->config.set_last_page(4);
    ASSERT_TRUE(prog->config.save_config());
    restart();

    main_screen dlg(*prog);
    dlg.begin_modal();
    EXPECT_EQ(std::vector<std::string>{"kelvane::splash_screen"}, modal.opened());
    EXPECT_EQ(u"Golf", prog->config.current_account());
    EXPECT_EQ(u"Golf", prog->fuel.account_name());
    EXPECT_EQ(u"Golf", prog->service.account_name());
    EXPECT_EQ(u"Golf", prog->fees.account_name());
    EXPECT_EQ(0, prog->fuel.record_count());
    EXPECT_TRUE(prog->fuel.deferred_save());
    EXPECT_TRUE(prog->service.deferred_save());
    EXPECT_TRUE(prog->fees.deferred_save());
    EXPECT_EQ(page_id::reports, dlg.current_page()) << "last page from Config.dat";
    EXPECT_EQ(page_id::none, dlg.previous_page());
    EXPECT_TRUE(boxes.boxes().empty());
    dlg.end_dialog(device_dialog::dismissed);
    dlg.end_modal();
}

TEST_F(startup_test, start_on_every_third_day_backs_up_once_a_day) {
    const std::u16string backup = u"\\My Documents\\Kelvane_backup_auto\\Config.dat";
    ASSERT_TRUE(install_bundled_files());
    const auto start_on = [&](int day) {
        clock.set(2026, 12, day, 9, 0, 0);
        restart();
        main_screen dlg(*prog);
        dlg.begin_modal();
        dlg.end_dialog(device_dialog::dismissed);
        dlg.end_modal();
    };

    start_on(3);
    ASSERT_TRUE(fs.file_exists(backup));
    // The configuration is saved with today's date before it is copied.
    const auto copied = fs.bytes(backup);
    ASSERT_EQ(30028u, copied.size());
    EXPECT_EQ(3, copied[29916]);
    EXPECT_EQ(12, copied[29912]);

    fs.delete_file(backup);
    start_on(3);
    EXPECT_FALSE(fs.file_exists(backup)) << "a second start the same day copies nothing";
    start_on(4);
    EXPECT_FALSE(fs.file_exists(backup));
    start_on(6);
    EXPECT_TRUE(fs.file_exists(backup));
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(startup_test, first_start_installs_the_help_document_once) {
    const std::u16string help = u"\\Program Files\\Kelvane\\Kelvane.htm";
    EXPECT_TRUE(install_bundled_files());
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(read_whole_file(fs, help, bytes));
    const std::string text(bytes.begin(), bytes.end());
    for (const char* anchor : {"id=\"2\"", "id=\"4\"", "id=\"6\"", "id=\"7\""})
        EXPECT_NE(std::string::npos, text.find(anchor)) << anchor;

    const char mine[] = "my own notes";
    ASSERT_TRUE(write_file_atomically(fs, help, mine, sizeof mine - 1));
    EXPECT_TRUE(install_bundled_files());
    ASSERT_TRUE(read_whole_file(fs, help, bytes));
    EXPECT_EQ(std::string(mine), std::string(bytes.begin(), bytes.end()));
}

TEST_F(startup_test, a_first_start_follows_a_french_desktop_until_a_language_is_chosen) {
    ASSERT_TRUE(install_bundled_files());
    const auto start = [&](const char* lang) {
        qputenv("LANG", lang);
        qunsetenv("LC_ALL");
        qunsetenv("LC_MESSAGES");
        dev.set_language_id(language_id_for_locale(host_locale_name()));
        restart();
        for (auto& step : prog->loading_steps()) step();
        return tr(u"Cancel");
    };
    const QByteArray lang = qgetenv("LANG");
    const std::u16string english = u"Cancel";
    EXPECT_NE(start("fr_FR.UTF-8"), english) << "the first start speaks French";
    prog->save_at_end();
    // Chosen in the options, English stays, on a French desktop too.
    ASSERT_TRUE(apply_options(prog->config, {english_language, u"", false}, u"French.lng").saved);
    EXPECT_EQ(start("fr_FR.UTF-8"), english);
    qputenv("LANG", lang);
    dev.set_language_id(language_id_for_locale(host_locale_name()));
}

TEST_F(startup_test, help_viewer_opens_the_installed_document_at_its_anchor) {
    QTemporaryDir dir;
    host_file_system host(dir.path().toStdString());
    scoped_services on_host({&host});
    std::vector<QUrl> opened;
    bool browser = true;
    desktop_shell viewer([&](const QUrl& u) {
        opened.push_back(u);
        return browser;
    });
    const QString document = dir.path() + "/Program Files/Kelvane/Kelvane.htm";
    EXPECT_FALSE(viewer.run_program(u"peghelp.exe", u"file:Kelvane.htm#4")) << "not installed";
    const QString missing = QString::fromStdU16String(viewer.failure_text());
    EXPECT_TRUE(missing.contains(document)) << missing.toStdString();
    EXPECT_TRUE(missing.contains("missing")) << missing.toStdString();

    ASSERT_TRUE(install_bundled_files());
    EXPECT_TRUE(viewer.run_program(u"peghelp.exe", u"file:Kelvane.htm#6"));
    EXPECT_EQ(u"", viewer.failure_text());
    EXPECT_FALSE(viewer.run_program(u"calc.exe", u"file:Kelvane.htm"));
    EXPECT_FALSE(viewer.run_program(u"peghelp.exe", u"file:..\\Config.dat"));
    ASSERT_EQ(1u, opened.size());
    EXPECT_EQ(QString("6"), opened[0].fragment());
    EXPECT_EQ(document, opened[0].toLocalFile());

    browser = false;  // a desktop with nothing to open a web page
    EXPECT_FALSE(viewer.run_program(u"peghelp.exe", u"file:Kelvane.htm#2"));
    const QString no_program = QString::fromStdU16String(viewer.failure_text());
    EXPECT_TRUE(no_program.contains(document)) << no_program.toStdString();
    EXPECT_TRUE(no_program.contains("No program to open it")) << no_program.toStdString();
}

TEST_F(startup_test, message_box_answers_with_the_button_pressed) {
    device_message_box_service box_service;
    modal.then([](device_dialog& d) {
        auto& box = dynamic_cast<device_message_box&>(d);
        EXPECT_EQ(u"Are you sure to delete the selected item?", box.text());
        save_screenshot(device_screen::current()->snapshot(), "message_box");
        EXPECT_FALSE(box.press(message_answer::ok)) << "no OK on a Yes/No box";
        box.press(message_answer::no);
    });
    EXPECT_EQ(message_answer::no,
              box_service.show(msg_confirm_delete, program_caption, message_buttons::yes_no));
    // Closed without an answer: the careful one.
    EXPECT_EQ(message_answer::no,
              box_service.show(msg_confirm_delete, program_caption, message_buttons::yes_no));
    EXPECT_EQ(message_answer::cancel,
              box_service.show(u"Go on?", program_caption, message_buttons::ok_cancel));
}

TEST_F(startup_test, message_box_buttons_speak_the_devices_language) {
    device_message_box_service box_service;
    dev.set_language_id(12);
    std::vector<QString> shown;
    modal.then([&](device_dialog& d) {
        for (auto* b : d.findChildren<QPushButton*>()) shown.push_back(b->text());
    });
    (void)box_service.show(msg_confirm_delete, program_caption, message_buttons::yes_no);
    EXPECT_EQ((std::vector<QString>{"Oui", "Non"}), shown);
}

TEST_F(startup_test, message_box_buttons_follow_the_language_chosen_in_the_program) {
    // An English desktop, the program in French: a French question gets
    // French answers.
    dev.set_language_id(1033);
    ASSERT_TRUE(install_bundled_files());
    ASSERT_EQ(load_result::loaded, prog->language.load(u"French"));
    scoped_translator french(&prog->language);
    device_message_box_service box_service;
    std::vector<QString> shown;
    modal.then([&](device_dialog& d) {
        for (auto* b : d.findChildren<QPushButton*>()) shown.push_back(b->text());
    });
    (void)box_service.show(msg_confirm_delete, program_caption, message_buttons::yes_no);
    EXPECT_EQ((std::vector<QString>{"Oui", "Non"}), shown);
}

// Refuses to create "Config.dat" (or its temporary file); everything else passes.
class config_refusing_fs : public file_system {
public:
    explicit config_refusing_fs(file_system& inner) : in_(inner) {}
    std::unique_ptr<device_file> open_read(std::u16string_view p) override {
        return in_.open_read(p);
    }
    std::unique_ptr<device_file> create(std::u16string_view p) override {
        return refusing && p.find(u"Config") != std::u16string_view::npos ? nullptr : in_.create(p);
    }
    std::unique_ptr<device_file> open_write(std::u16string_view p) override {
        return in_.open_write(p);
    }
    bool copy_file(std::u16string_view a, std::u16string_view b, bool o) override {
        return in_.copy_file(a, b, o);
    }
    bool delete_file(std::u16string_view p) override { return in_.delete_file(p); }
    bool replace_file(std::u16string_view a, std::u16string_view b) override {
        return in_.replace_file(a, b);
    }
    bool create_folder(std::u16string_view p) override { return in_.create_folder(p); }
    bool file_exists(std::u16string_view p) override { return in_.file_exists(p); }
    bool folder_exists(std::u16string_view p) override { return in_.folder_exists(p); }
    std::vector<find_entry> find(std::u16string_view p) override { return in_.find(p); }
    bool refusing = false;

private:
    file_system& in_;
};

TEST_F(startup_test, shutdown_writes_the_records_even_when_the_configuration_fails) {
    config_refusing_fs refusing(fs);
    scoped_services with({&refusing});
    ASSERT_TRUE(install_bundled_files());
    ASSERT_EQ(prog->config.add_account(u"Golf"), account_change::done);
    prog->config.set_current_account(u"Golf");
    ASSERT_TRUE(prog->config.save_config());
    restart();

    modal.then([&](device_dialog& d) {
        ASSERT_EQ(u"Golf", prog->fuel.account_name());
        fuel_store::record_type fill{};
        fill.year = 2026, fill.month = 12, fill.day = 1;
        fill.mileage = 1000, fill.fuel_purchased = 40, fill.fuel_cost = 60;
        const std::u16string key = prog->fuel.add_record(fill).key;
        ASSERT_FALSE(key.empty());
        fill.fuel_cost = 65;  // a change that waits for the end of the run
        ASSERT_EQ(prog->fuel.update_record(key, fill), change_result::done);
        ASSERT_TRUE(prog->fuel.dirty());
        refusing.refusing = true;
        d.choose(32796);  // Exit
    });
    application().run(*prog);

    ASSERT_FALSE(boxes.boxes().empty());
    EXPECT_EQ(std::u16string(msg_write_failed), boxes.boxes().back().text);
    fuel_store reread;
    ASSERT_EQ(reread.load(u"\\Program Files\\Kelvane\\", u"Golf", false), load_result::loaded);
    ASSERT_EQ(1, reread.record_count());
    EXPECT_EQ(65, reread.record_at(0).fuel_cost);
    EXPECT_TRUE(prog->fuel.fresh()) << "the stores were reset";
    EXPECT_TRUE(prog->service.fresh());
    EXPECT_TRUE(prog->fees.fresh());
}

TEST_F(startup_test, start_reads_the_key_table_before_the_main_screen) {
    key_table stored;
    stored.apply_preset(key_preset::samsung);
    const auto bytes = stored.to_bytes();
    fs.put(u"\\Program Files\\Kelvane\\Config_key.dat", bytes);
    prog->keys = key_table{};

    key_table seen;
    modal.then([&](device_dialog& d) {
        seen = prog->keys;
        d.choose(32796);  // Exit
    });
    application().run(*prog);

    EXPECT_EQ(stored.to_bytes(), seen.to_bytes());
    prog->keys = key_table{};
}

}  // namespace
}  // namespace kelvane
