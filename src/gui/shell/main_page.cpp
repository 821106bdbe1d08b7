#include "gui/shell/main_page.h"

#include <QPainter>
#include <array>

#include "core/common/messages.h"
#include "core/common/scaled_font.h"
#include "core/common/translate.h"
#include "gui/shell/main_screen.h"
#include "gui/shell/program.h"
#include "platform/qt/qpainter_dc.h"

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

void main_page::start_new() {
    say_not_available();
}

void main_page::edit_selected() {
    say_not_available();
}

plain_page::plain_page(program& prog, int index, QWidget* parent)
    : main_page(prog, index, parent) {}

void plain_page::set_screen_size(int, int) {
    update();
}

void plain_page::paintEvent(QPaintEvent*) {
    QPainter p(this);
    // The page reaches past the screen's edges; draw inside the visible part.
    const QWidget* screen = parentWidget();
    const int w = screen ? screen->width() : width();
    p.fillRect(rect(), Qt::white);
    const int size = scaled_font_size(16);
    p.setFont(device_font({u"Arial", size, 700}));
    p.setPen(QColor(30, 60, 150));
    p.drawText(QRect(0, size, w, size * 2), Qt::AlignHCenter | Qt::AlignVCenter,
               QString::fromStdU16String(kelvane::tr(page_name(index()))));
    const int small = scaled_font_size(12);
    p.setFont(device_font({u"Arial", small}));
    p.setPen(QColor(100, 100, 100));
    p.drawText(QRect(8, size * 3, w - 16, small * 4), Qt::AlignHCenter | Qt::TextWordWrap,
               QString::fromStdU16String(kelvane::tr(u"This screen is not available yet.")));
}

std::unique_ptr<main_page> make_page(program& prog, int index, QWidget* parent) {
    if (index >= 0 && index < static_cast<int>(prog.pages.size())) {
        auto& maker = prog.pages[static_cast<std::size_t>(index)];
        if (maker)
            if (auto page = maker(prog, parent)) return page;
    }
    return std::make_unique<plain_page>(prog, index, parent);
}

void say_not_available() {
    show_message(u"This command is not available yet.");
}

}  // namespace kelvane
