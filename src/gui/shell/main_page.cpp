#include "gui/shell/main_page.h"

#include "gui/shell/main_screen.h"
#include "gui/shell/program.h"

namespace kelvane {

main_page::main_page(program& prog, page_id id, QWidget* parent)
    : QWidget(parent), prog_(prog), id_(id) {
    setFocusPolicy(Qt::StrongFocus);
}

std::u16string main_page::page_name(page_id page) {
    switch (page) {
        case page_id::fuel:
            return u"Fuel";
        case page_id::service:
            return u"Repair";
        case page_id::fees:
            return u"Fees";
        case page_id::trips:
            return u"Trips";
        case page_id::reports:
            return u"Reports";
        case page_id::accounts:
            return u"Vehicle Accounts";
        case page_id::none:
            break;
    }
    return {};
}

void main_page::set_screen_size(int, int) {}

int main_page::shown_height(int width, int height) {
    return height - main_screen::tab_band - soft_menu_bar::height_on(width, height);
}

std::unique_ptr<main_page> make_page(program& prog, page_id id, QWidget* parent) {
    // Every page has its screen; a bare page stands in only where a test
    // left one out, so that the main screen still has six.
    if (id != page_id::none) {
        auto& maker = prog.pages[static_cast<std::size_t>(tab_of(id))];
        if (maker)
            if (auto page = maker(prog, parent)) return page;
    }
    return std::make_unique<main_page>(prog, id, parent);
}

}  // namespace kelvane
