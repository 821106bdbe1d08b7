#pragma once
// The steps of the Setup wizard without its windows: the page on show, the
// chosen language and the button texts, so the wizard's window only paints
// and carries out what next() and back() ask for.

#include <string_view>

#include "setup/setup_installer.h"
#include "setup/setup_texts.h"

namespace kelvane {

class setup_wizard {
public:
    enum class page { language = 0, note = 1, finish = 2 };
    enum class action {
        none,       // nothing to do
        show_page,  // show current() and refresh the button texts
        install,    // run the install step, then hand its result to installed()
        close,      // close the wizard
    };

    // The language row chosen in the list: 0 English, 1 French.
    void choose_language_row(int row);
    setup_language language() const { return language_; }
    page current() const { return page_; }

    action next();
    action back();
    // The install step's result: on success the finish page follows; on a
    // failure the wizard stays on the note page so Next can be pressed again.
    action installed(const install_step& step);
    // Next as the window's button does it: on the note page the install step
    // runs through the platform, its message (if any) is shown, and the
    // result decides the page.
    action press_next(setup_platform& platform);

    // The texts of the pages and buttons. They follow the chosen language from
    // the moment the language page is left with Next.
    const setup_texts& texts() const { return setup_texts_for(shown_language_); }
    setup_language shown_language() const { return shown_language_; }
    std::u16string_view next_text() const { return texts().next; }
    std::u16string_view back_text() const { return texts().back; }
    std::u16string_view cancel_text() const {
        return page_ == page::finish ? texts().finish : texts().cancel;
    }
    // Back is drawn grey on the language page, where it does nothing.
    bool back_greyed() const { return page_ == page::language; }
    // Back and Next are hidden on the finish page.
    bool next_and_back_shown() const { return page_ != page::finish; }

private:
    setup_language language_ = setup_language::english;
    setup_language shown_language_ = setup_language::english;
    page page_ = page::language;
};

}  // namespace kelvane
