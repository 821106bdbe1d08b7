#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_setup_platform.h"
#include "setup/setup_packer.h"
#include "setup/setup_wizard.h"

using namespace kelvane;

namespace {

install_step outcome(install_outcome o) {
    install_step step;
    step.outcome = o;
    return step;
}

}  // namespace

TEST(setup_wizard, language_chosen_last_is_installed) {
    setup_wizard w;
    EXPECT_TRUE(w.back_greyed());
    EXPECT_EQ(w.back(), setup_wizard::action::none);

    w.choose_language_row(1);
    EXPECT_EQ(w.next(), setup_wizard::action::show_page);
    EXPECT_EQ(w.current(), setup_wizard::page::note);
    EXPECT_EQ(w.next_text(), u"Suivant");
    EXPECT_FALSE(w.back_greyed());

    // Back keeps the French buttons until the language page is left again.
    EXPECT_EQ(w.back(), setup_wizard::action::show_page);
    EXPECT_EQ(w.current(), setup_wizard::page::language);
    EXPECT_EQ(w.back_text(), u"Retour");
    w.choose_language_row(0);
    w.choose_language_row(7);  // no such row: the choice stays
    EXPECT_EQ(w.next(), setup_wizard::action::show_page);
    EXPECT_EQ(w.language(), setup_language::english);
    EXPECT_EQ(w.texts().note.substr(0, 20), u"NOTE: Kelvane can be");
    EXPECT_EQ(w.next(), setup_wizard::action::install);
}

TEST(setup_wizard, failed_install_stays_on_the_note_page) {
    setup_wizard w;
    w.choose_language_row(1);
    w.next();
    for (auto o : {install_outcome::package_missing, install_outcome::write_failed,
                   install_outcome::manager_not_found}) {
        EXPECT_EQ(w.installed(outcome(o)), setup_wizard::action::none);
        EXPECT_EQ(w.current(), setup_wizard::page::note);
        EXPECT_EQ(w.next(), setup_wizard::action::install);
    }
    EXPECT_EQ(w.installed(outcome(install_outcome::start_manager)),
              setup_wizard::action::show_page);
    EXPECT_EQ(w.current(), setup_wizard::page::finish);
    EXPECT_EQ(w.cancel_text(), u"Terminer");
    EXPECT_FALSE(w.next_and_back_shown());
    EXPECT_EQ(w.back(), setup_wizard::action::none);
    EXPECT_EQ(w.next(), setup_wizard::action::close);
}

// The wizard with its install step, as the window drives it.
namespace {

using bytes = std::vector<std::uint8_t>;

bytes cabinet(char tag, std::size_t n) {
    bytes b(n, static_cast<std::uint8_t>(tag));
    b[0] = 'M', b[1] = 'S', b[2] = 'C', b[3] = 'F';
    return b;
}

struct wizard_run : ::testing::Test {
    fake_setup_platform desktop;
    setup_wizard wizard;
    const bytes english = cabinet('e', 3000), french = cabinet('f', 2000);

    wizard_run() {
        desktop.fs.create_folder(u"\\Desktop");
        desktop.fs.create_folder(u"\\Temp");
        bytes setup;
        std::string error;
        EXPECT_TRUE(assemble_setup_file(bytes(4000, 0x7F), english, french, setup, error));
        desktop.fs.put(desktop.setup_file, setup);
    }
    std::vector<std::u16string> temp_files() {
        std::vector<std::u16string> out;
        for (const auto& f : desktop.fs.files())
            if (f.starts_with(u"\\Temp\\")) out.push_back(f);
        return out;
    }
};

}  // namespace

TEST_F(wizard_run, french_then_back_then_english_installs_english) {
    wizard.choose_language_row(1);
    EXPECT_EQ(wizard.press_next(desktop), setup_wizard::action::show_page);
    EXPECT_EQ(wizard.press_next(desktop), setup_wizard::action::show_page);
    ASSERT_EQ(wizard.current(), setup_wizard::page::finish);
    EXPECT_EQ(desktop.fs.bytes(u"\\Temp\\KelvaneSetup.cab"), french);

    setup_wizard again;
    again.choose_language_row(1);
    again.press_next(desktop);
    again.back();
    again.choose_language_row(0);
    again.press_next(desktop);
    EXPECT_EQ(again.press_next(desktop), setup_wizard::action::show_page);
    EXPECT_EQ(desktop.fs.bytes(u"\\Temp\\KelvaneSetup.cab"), english);
    EXPECT_EQ(again.cancel_text(), u"Finish");
    ASSERT_EQ(desktop.started.size(), 2u);
    EXPECT_EQ(desktop.started[1].program, u"C:\\ActiveSync\\CEAppMgr.exe");
    EXPECT_EQ(desktop.started[1].parameter, u"\\Temp\\KelvaneSetup.ini");
    EXPECT_TRUE(desktop.boxes.boxes().empty());
}

TEST_F(wizard_run, cut_setup_file_shows_the_message_and_writes_nothing) {
    bytes setup = desktop.fs.bytes(desktop.setup_file);
    for (std::size_t size : {std::size_t{499999}, std::size_t{500004} + english.size() - 1}) {
        setup.resize(size);
        desktop.fs.put(desktop.setup_file, setup);
        setup_wizard w;
        w.choose_language_row(1);
        w.press_next(desktop);
        if (size > 500000) w.back(), w.choose_language_row(0), w.press_next(desktop);
        EXPECT_EQ(w.press_next(desktop), setup_wizard::action::none) << size;
        EXPECT_EQ(w.current(), setup_wizard::page::note) << size;
        EXPECT_TRUE(temp_files().empty()) << size;
    }
    EXPECT_EQ(
        desktop.boxes.texts(),
        (std::vector<std::u16string>{u"Le fichier est corrompu, veuillez le re-télécharger.",
                                     u"File is corrupted, please download the program again."}));
    EXPECT_TRUE(desktop.started.empty());
}

TEST_F(wizard_run, no_manager_leaves_the_two_files_and_says_so) {
    desktop.manager.reset();
    wizard.choose_language_row(1);
    wizard.press_next(desktop);
    EXPECT_EQ(wizard.press_next(desktop), setup_wizard::action::none);
    EXPECT_EQ(wizard.current(), setup_wizard::page::note);
    EXPECT_EQ(temp_files(), (std::vector<std::u16string>{u"\\Temp\\KelvaneSetup.cab",
                                                         u"\\Temp\\KelvaneSetup.ini"}));
    const std::u16string not_found(setup_texts_for(setup_language::french).manager_not_found);
    EXPECT_EQ(desktop.boxes.texts(), std::vector<std::u16string>{not_found});
    EXPECT_NE(not_found.find(u"appmgr --register"), std::u16string::npos);

    // A registered manager that does not start is no success either; Next tries again.
    desktop.manager = u"C:\\gone\\CEAppMgr.exe";
    desktop.manager_starts = false;
    EXPECT_EQ(wizard.press_next(desktop), setup_wizard::action::none);
    EXPECT_EQ(wizard.current(), setup_wizard::page::note);
    EXPECT_EQ(desktop.boxes.texts().back(), not_found);
    desktop.manager_starts = true;
    EXPECT_EQ(wizard.press_next(desktop), setup_wizard::action::show_page);
    EXPECT_EQ(wizard.current(), setup_wizard::page::finish);
}

TEST_F(wizard_run, unwritable_temporary_folder_names_the_cabinet) {
    desktop.temp = u"\\Missing\\";
    wizard.press_next(desktop);
    EXPECT_EQ(wizard.press_next(desktop), setup_wizard::action::none);
    EXPECT_EQ(
        desktop.boxes.texts(),
        std::vector<std::u16string>{u"Can't create the cabinet \"\\Missing\\KelvaneSetup.cab\"."});
    EXPECT_TRUE(desktop.started.empty());
}

TEST_F(wizard_run, a_running_kelvane_is_left_alone_and_the_owner_told_to_close_it) {
    desktop.running = true;
    wizard.choose_language_row(1);
    wizard.press_next(desktop);
    EXPECT_EQ(wizard.press_next(desktop), setup_wizard::action::none);
    EXPECT_EQ(wizard.current(), setup_wizard::page::note);
    EXPECT_TRUE(temp_files().empty());
    EXPECT_TRUE(desktop.started.empty()) << "the manager is not started";
    ASSERT_EQ(1u, desktop.boxes.texts().size());
    EXPECT_TRUE(desktop.boxes.texts()[0].starts_with(u"Kelvane est ouvert."));

    // Closed: Next installs.
    desktop.running = false;
    EXPECT_EQ(wizard.press_next(desktop), setup_wizard::action::show_page);
    EXPECT_EQ(1u, desktop.started.size());
}
