#include "gui/shell/main_page.h"

#include "gui/shell/main_screen.h"
#include "gui/shell/program.h"

namespace kelvane {

main_page::main_page(program& prog, int index, QWidget* parent)
    : QWidget(parent), prog_(prog), index_(index) {
    setFocusPolicy(Qt::StrongFocus);
}

std::u16string main_page::page_name(int index) {
    switch (index) {
        case 0:
            return u"Fuel";
        case 1:
            return u"Repair";
        case 2:
            return u"Fees";
        case 3:
            return u"Trips";
        case 4:
            return u"Reports";
        case 5:
            return u"Vehicle Accounts";
    }
    return {};
}

void main_page::set_screen_size(int, int) {}

int main_page::shown_height(int width, int height) {
    return height - main_screen::tab_band - soft_menu_bar::height_on(width, height);
}

std::unique_ptr<main_page> make_page(program& prog, int index, QWidget* parent) {
    // Every page has its screen; a bare page stands in only where a test
    // left one out, so that the main screen still has six.
    if (index >= 0 && index < static_cast<int>(prog.pages.size())) {
        auto& maker = prog.pages[static_cast<std::size_t>(index)];
        if (maker)
            if (auto page = maker(prog, parent)) return page;
    }
    return std::make_unique<main_page>(prog, index, parent);
}

}  // namespace kelvane
