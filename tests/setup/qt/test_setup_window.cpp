#include <gtest/gtest.h>

#include "../fake_setup_platform.h"
#include "setup/qt/setup_window.h"
#include "setup/setup_button_face.h"
#include "setup/setup_packer.h"

using namespace kelvane;

namespace {

using bytes = std::vector<std::uint8_t>;

struct window_test : ::testing::Test {
    fake_setup_platform desktop;
    const bytes english = bytes(3000, 'e'), french = bytes(2000, 'f');

    window_test() {
        desktop.fs.create_folder(u"\\Desktop");
        desktop.fs.create_folder(u"\\Temp");
        bytes setup;
        std::string error;
        EXPECT_TRUE(assemble_setup_file(bytes(4000, 0x7F), english, french, setup, error));
        desktop.fs.put(desktop.setup_file, setup);
    }
};

}  // namespace

TEST_F(window_test, buttons_carry_the_wizard_through_to_the_finish_page) {
    setup_window w(desktop);
    w.show();
    EXPECT_TRUE(w.page(setup_wizard::page::language)->isVisible());
    EXPECT_EQ(w.back_button()->text_colour(), setup_button_greyed_text);
    EXPECT_EQ(w.language_list()->count(), 2);

    w.language_list()->setCurrentIndex(1);
    w.next_button()->click();
    EXPECT_TRUE(w.page(setup_wizard::page::note)->isVisible());
    EXPECT_EQ(w.next_button()->text(), "Suivant");
    EXPECT_TRUE(w.note_text()->text().startsWith("NOTE: Kelvane peut être installé"));
    EXPECT_EQ(w.back_button()->text_colour(), setup_button_text);

    w.back_button()->click();
    EXPECT_TRUE(w.page(setup_wizard::page::language)->isVisible());
    w.language_list()->setCurrentIndex(0);
    w.next_button()->click();
    EXPECT_EQ(w.next_button()->text(), "Next");
    w.next_button()->click();

    EXPECT_EQ(desktop.fs.bytes(u"\\Temp\\KelvaneSetup.cab"), english);
    EXPECT_TRUE(w.page(setup_wizard::page::finish)->isVisible());
    EXPECT_EQ(w.finish_text()->text(), "Kelvane has been installed successfully.");
    EXPECT_EQ(w.cancel_button()->text(), "Finish");
    EXPECT_FALSE(w.next_button()->isVisible());
    EXPECT_FALSE(w.back_button()->isVisible());
    w.cancel_button()->click();
    EXPECT_FALSE(w.isVisible());
}

TEST_F(window_test, failed_install_stays_on_the_note_page) {
    bytes setup = desktop.fs.bytes(desktop.setup_file);
    setup.resize(499999);
    desktop.fs.put(desktop.setup_file, setup);
    setup_window w(desktop);
    w.show();
    w.language_list()->setCurrentIndex(1);
    w.next_button()->click();
    w.next_button()->click();
    EXPECT_TRUE(w.page(setup_wizard::page::note)->isVisible());
    EXPECT_TRUE(w.next_button()->isVisible());
    EXPECT_EQ(desktop.boxes.texts(),
              std::vector<std::u16string>{u"Le fichier est corrompu, veuillez le re-télécharger."});
    EXPECT_EQ(desktop.fs.files(), std::vector<std::u16string>{desktop.setup_file});
}

TEST_F(window_test, the_title_names_setup_and_the_note_page_says_where_the_program_goes) {
    struct placed_desktop : fake_setup_platform {
        std::u16string install_folder() override {
            return u"/home/owner/device/Program Files/Kelvane";
        }
    } placed;
    setup_window w(placed);
    EXPECT_EQ("Kelvane Setup", w.windowTitle());
    w.next_button()->click();
    ASSERT_TRUE(w.note_text()->text().startsWith("NOTE: Kelvane can be installed"));
    EXPECT_TRUE(w.note_text()->text().contains("/home/owner/device/Program Files/Kelvane"))
        << w.note_text()->text().toStdString();
}
