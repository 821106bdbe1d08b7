#include "setup/setup_wizard.h"

namespace kelvane {

void setup_wizard::choose_language_row(int row) {
    if (row == 0) language_ = setup_language::english;
    if (row == 1) language_ = setup_language::french;
}

setup_wizard::action setup_wizard::next() {
    switch (page_) {
        case page::language:
            shown_language_ = language_;
            page_ = page::note;
            return action::show_page;
        case page::note:
            return action::install;
        case page::finish:
            return action::close;
    }
    return action::none;
}

setup_wizard::action setup_wizard::back() {
    if (page_ != page::note) return action::none;
    page_ = page::language;
    return action::show_page;
}

setup_wizard::action setup_wizard::installed(const install_step& step) {
    if (page_ != page::note || step.outcome != install_outcome::start_manager) return action::none;
    page_ = page::finish;
    return action::show_page;
}

setup_wizard::action setup_wizard::press_next(setup_platform& platform) {
    const action a = next();
    if (a != action::install) return a;
    const install_step step = run_install(platform, language_);
    if (!step.message.empty())
        platform.messages().show(step.message, setup_caption, message_buttons::ok);
    return installed(step);
}

}  // namespace kelvane
