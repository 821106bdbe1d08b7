// The key mapping screen from the Tools menu: capturing the keys typed on
// this computer as the handheld's key codes, the presets, saving and leaving
// without saving.

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>

#include "core/tools/key_table.h"
#include "gui/gui_test_support.h"
#include "gui/shell/main_commands.h"
#include "gui/shell/main_screen.h"
#include "gui/shell/screens.h"
#include "gui/tools/key_mapping_dialog.h"

namespace kelvane {
namespace {

constexpr char16_t table_file[] = u"\\Program Files\\Kelvane\\Config_key.dat";
constexpr char16_t log_file[] = u"\\Program Files\\Kelvane\\Debug.txt";

// A key press as the keyboard of this computer delivers it.
void press(QWidget& w, int k, const QString& text, Qt::KeyboardModifiers mods = Qt::NoModifier,
           bool repeat = false) {
    QKeyEvent e(QEvent::KeyPress, k, mods, text, repeat);
    QApplication::sendEvent(&w, &e);
}

// The table file of a preset, built from the handheld's key codes.
std::vector<std::uint8_t> preset_file(key_preset p) {
    key_table t;
    t.apply_preset(p);
    return t.to_bytes();
}

// The lines of the capture log after its byte-order mark, as text.
std::u16string log_text(const std::vector<std::uint8_t>& bytes) {
    std::u16string t;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        t += static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
    return t;
}

class key_mapping_test : public gui_test {
protected:
    key_mapping_test() {
        fs.create_folder(u"\\Program Files");
        fs.create_folder(u"\\Program Files\\Kelvane");
        install_screens(*prog);
        main = std::make_unique<main_screen>(*prog);
        main->begin_modal();
    }
    ~key_mapping_test() override {
        if (main->running()) {
            main->end_dialog(device_dialog::dismissed);
            main->end_modal();
        }
    }

    // Opens the screen from the Tools menu and lets `act` work in it.
    void set_key_mapping(std::function<void(key_mapping_dialog&)> act) {
        bool opened = false;
        modal.then([&](device_dialog& d) {
            auto* keys = dynamic_cast<key_mapping_dialog*>(&d);
            ASSERT_NE(nullptr, keys) << "the key mapping screen opens";
            opened = true;
            act(*keys);
        });
        ASSERT_TRUE(main->choose(cmd::set_key_mapping)) << "offered by the menu";
        ASSERT_TRUE(opened);
    }

    std::unique_ptr<main_screen> main;
};

TEST_F(key_mapping_test, twelve_keys_typed_here_save_the_codes_the_handheld_reports) {
    set_key_mapping([&](key_mapping_dialog& d) {
        ASSERT_TRUE(d.choose(key_mapping_dialog::start_command));
        // The second preset's keys, typed the way a person types them here:
        // lower case, the space bar, the point key.
        for (QChar c : QString("etudgjxvn .q")) press(d, 0, QString(c));
        EXPECT_FALSE(d.capture().capturing()) << "the twelfth key ends the capture";
        press(d, Qt::Key_A, "a");
        EXPECT_EQ(81, d.capture().working().slot(11).key_code)
            << "a thirteenth key changes nothing";
        ASSERT_TRUE(d.choose(key_mapping_dialog::save_command));
    });
    EXPECT_EQ(preset_file(key_preset::samsung), fs.bytes(table_file));
    EXPECT_EQ(u'0', prog->keys.character_of_key(32)) << "the program goes on with the new table";
    EXPECT_TRUE(boxes.texts().empty());

    restart();
    ASSERT_EQ(load_result::loaded, prog->keys.load());
    EXPECT_EQ(u'1', prog->keys.character_of_key('E')) << "the next start reads it back";

    const std::u16string log = log_text(fs.bytes(log_file));
    const std::u16string opening =
        u"\xFEFF\r\n" + std::u16string(37, u'-') + u"\r\nE[69]->1\r\nT[84]->2\r\n";
    EXPECT_EQ(opening, log.substr(0, opening.size()));
    EXPECT_NE(std::u16string::npos, log.find(u" [32]->0\r\n"));
    EXPECT_NE(std::u16string::npos, log.find(u"\u00BE[190]->.\r\nQ[81]->c\r\n"));
    EXPECT_EQ(std::u16string::npos, log.find(u"A[65]")) << "nothing traced after the capture";
}

TEST_F(key_mapping_test, keys_of_the_first_preset_typed_here_give_that_preset) {
    prog->keys.apply_preset(key_preset::samsung);
    set_key_mapping([&](key_mapping_dialog& d) {
        d.choose(key_mapping_dialog::start_command);
        for (QChar c : QString("WERSDFZXC")) press(d, c.unicode(), QString(c).toLower());
        // A bare Shift on the way to "?" is no key of the handheld, and a
        // held key repeats on this computer but means one press.
        press(d, Qt::Key_Shift, "", Qt::ShiftModifier);
        press(d, Qt::Key_Question, "?", Qt::ShiftModifier);
        press(d, Qt::Key_Question, "?", Qt::ShiftModifier, true);
        press(d, Qt::Key_Period, ".");
        press(d, Qt::Key_Q, "q");
        d.choose(key_mapping_dialog::save_command);
    });
    EXPECT_EQ(preset_file(key_preset::motorola_q), fs.bytes(table_file));
}

TEST_F(key_mapping_test, leaving_without_saving_keeps_the_table_and_its_file) {
    fs.put(table_file, preset_file(key_preset::samsung));
    ASSERT_EQ(load_result::loaded, prog->keys.load());
    const key_table before = prog->keys;

    set_key_mapping([&](key_mapping_dialog& d) {
        d.choose(key_mapping_dialog::start_command);
        for (QChar c : QString("abc")) press(d, 0, QString(c));
        ASSERT_TRUE(d.choose(key_mapping_dialog::cancel_command));
        EXPECT_TRUE(d.ended());
    });
    EXPECT_EQ(before.to_bytes(), prog->keys.to_bytes());

    set_key_mapping([&](key_mapping_dialog& d) {
        d.choose(key_mapping_dialog::motorola_q_command);
        d.choose(key_mapping_dialog::start_command);
        press(d, Qt::Key_Escape, "\x1b");
        EXPECT_TRUE(d.ended()) << "Escape is the screen's Cancel";
    });
    EXPECT_EQ(before.to_bytes(), prog->keys.to_bytes());
    EXPECT_EQ(preset_file(key_preset::samsung), fs.bytes(table_file));
    const std::u16string log = log_text(fs.bytes(log_file));
    EXPECT_EQ(std::u16string::npos, log.find(u"[27]")) << "Escape was not taken as a key";
}

TEST_F(key_mapping_test, start_over_awaits_the_first_key_again_and_the_screen_marks_it) {
    auto red_pixels = [](const QImage& img) {
        int n = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) n += pixel(img, x, y) == rgb(200, 0, 0);
        return n;
    };
    set_key_mapping([&](key_mapping_dialog& d) {
        EXPECT_EQ(0, red_pixels(d.render())) << "no key awaited yet";
        save_screenshot(screen.snapshot(), "key_table");
        d.choose(key_mapping_dialog::start_command);
        for (QChar c : QString("abc")) press(d, 0, QString(c));
        const auto traced = fs.bytes(log_file);
        d.restart_button()->click();
        EXPECT_EQ('B', d.capture().working().slot(1).key_code) << "start over keeps the codes";
        EXPECT_EQ(traced, fs.bytes(log_file)) << "and traces nothing";
        EXPECT_GT(red_pixels(d.render()), 0) << "the key awaited is marked";
        save_screenshot(screen.snapshot(), "key_capture");
        press(d, 0, "z");
        EXPECT_EQ('Z', d.capture().working().slot(0).key_code);
        d.choose(key_mapping_dialog::cancel_command);
    });
}

}  // namespace
}  // namespace kelvane
