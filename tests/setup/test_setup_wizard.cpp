#include <gtest/gtest.h>

#include "setup/setup_wizard.h"

using namespace kelvane;

namespace {

install_step outcome(install_outcome o) {
    install_step step;
    step.outcome = o;
    return step;
}

}  // namespace

TEST(SetupWizard, LanguageChosenLastIsInstalled) {
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

TEST(SetupWizard, FailedInstallStaysOnTheNotePage) {
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
