// The about screen: its text, its button and its layout on other screens.

#include <QPlainTextEdit>
#include <QPushButton>

#include "gui/gui_test_support.h"
#include "gui/shell/main_commands.h"
#include "gui/shell/main_screen.h"
#include "gui/shell/screens.h"
#include "gui/tools/about_dialog.h"

namespace kelvane {
namespace {

// A language file as a translator writes it: UTF-16LE with its byte-order mark.
std::vector<std::uint8_t> language_file(std::u16string_view text) {
    std::vector<std::uint8_t> out{0xFF, 0xFE};
    for (char16_t c : text) {
        out.push_back(static_cast<std::uint8_t>(c & 0xFF));
        out.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    return out;
}

class about_test : public gui_test {
protected:
    // Runs the screen from the main menu and lets `act` look at it.
    void about(std::function<void(about_dialog&)> act) {
        install_screens(*prog);
        main_screen main(*prog);
        main.begin_modal();
        bool opened = false;
        modal.then([&](device_dialog& d) {
            auto* a = dynamic_cast<about_dialog*>(&d);
            ASSERT_NE(nullptr, a);
            opened = true;
            act(*a);
        });
        EXPECT_TRUE(main.choose(cmd::about)) << "offered by the Tools menu";
        EXPECT_TRUE(opened);
        main.end_dialog(device_dialog::dismissed);
        main.end_modal();
    }
};

TEST_F(about_test, shows_the_name_the_version_and_the_description_in_english) {
    const std::u16string expected =
        u"\r\n                     Kelvane 4.8.0\r\n\r\n\r\nKelvane helps vehicle owner track his "
        u"vehicle related expenses such as fuel purchased, repair and maintenance expenses and "
        u"monitor fuel cost and vehicle condition through fuel economy. It records expenses by "
        u"trips, calculates fuel economy and has various bar and pie charts to help owners "
        u"monitor and analyze their vehicles\u2019 performance and efficiency. The export "
        u"feature transfers the records to owners\u2019 computer so they can view the data in "
        u"Excel or other programs on PC and never lose the data.";
    EXPECT_EQ(expected, about_text());

    fs.put(u"\\Program Files\\Kelvane\\Language.lng",
           language_file(u"Back@Zur\u00FCck\r\nClose@Schlie\u00DFen\r\n"));
    about([&](about_dialog& d) {
        QString shown = QString::fromStdU16String(expected);
        shown.replace("\r\n", "\n");
        EXPECT_EQ(shown, d.text_box()->toPlainText()) << "the description is never translated";
        EXPECT_EQ("Zurück", d.back_button()->text());
        EXPECT_EQ(u"Schließen", d.menu_bar()->command_text(about_dialog::close_command));
        save_screenshot(screen.snapshot(), "about_240x320");
        d.back_button()->click();
        EXPECT_TRUE(d.ended()) << "Back returns to the program";
    });
}

TEST_F(about_test, a_wider_screen_keeps_both_controls_centred_and_their_width) {
    about([&](about_dialog& d) {
        const QRect text = d.text_box()->geometry(), button = d.back_button()->geometry();
        const int gap_below = d.client_rect().bottom() - button.bottom();
        screen.set_screen_size(320, 240);
        EXPECT_EQ(text.translated(40, 0).left(), d.text_box()->x());
        EXPECT_EQ(text.width(), d.text_box()->width());
        EXPECT_EQ(button.translated(40, 0).left(), d.back_button()->x());
        EXPECT_EQ(button.width(), d.back_button()->width());
        EXPECT_EQ(gap_below, d.client_rect().bottom() - d.back_button()->geometry().bottom())
            << "the button keeps its distance from the bottom edge";
        EXPECT_EQ(d.back_button()->y() - d.text_box()->geometry().bottom(),
                  button.y() - text.bottom())
            << "the text box takes the height the screen lost";
        save_screenshot(screen.snapshot(), "about_320x240");

        // Dragging the window wider one pixel at a time lands where one step does,
        // and coming back puts everything where it was.
        for (int w = 241; w <= 320; ++w) screen.set_screen_size(w, 240);
        EXPECT_EQ(text.left() + 40, d.text_box()->x());
        EXPECT_EQ(button.left() + 40, d.back_button()->x());
        for (int w = 319; w >= 240; --w) screen.set_screen_size(w, 320);
        EXPECT_EQ(text, d.text_box()->geometry());
        EXPECT_EQ(button, d.back_button()->geometry());
        EXPECT_TRUE(d.choose(about_dialog::close_command));
        EXPECT_TRUE(d.ended()) << "Close returns to the program";
    });
}

}  // namespace
}  // namespace kelvane
