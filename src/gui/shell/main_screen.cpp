#include "gui/shell/main_screen.h"

#include <QApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QToolTip>

#include "core/common/translate.h"
#include "gui/shell/device_window.h"
#include "gui/shell/main_commands.h"
#include "gui/shell/program.h"
#include "gui/shell/splash_screen.h"
#include "gui/widgets/menu_items.h"
#include "gui/widgets/owner_messages.h"
#include "gui/widgets/skin.h"
#include "gui/widgets/translated.h"
#include "platform/qt/qpainter_dc.h"
#include "platform/services.h"

namespace kelvane {

namespace {

constexpr int layout_timer_id = 1;
// Pages reach this far past the right and bottom edges of the screen.
constexpr int page_overhang = 80;
// Below this height (the input panel is up) the pages keep their layout.
constexpr int min_layout_height = 180;

std::u16string page_name(page_id page) {
    return main_page::page_name(page);
}

}  // namespace

main_screen::main_screen(program& prog, QWidget* parent) : device_dialog(parent), prog_(prog) {
    setWindowIcon(QIcon(QStringLiteral(":/kelvane/kelvane32.png")));
}

main_screen::~main_screen() = default;

main_page* main_screen::page(page_id id) const {
    return id != page_id::none ? pages_[static_cast<std::size_t>(tab_of(id))].get() : nullptr;
}

void main_screen::init_dialog() {
    screen_height_ = device().screen_height();
    splash_screen splash(prog_.loading_steps());
    splash.exec();
    // The desktop's menus speak the language just loaded.
    if (auto* desktop = qobject_cast<device_window*>(window())) desktop->retranslate();
    // A vehicle is opened by a tap, a key or a dialog of the owner's; the
    // title is looked at again after each.
    qApp->installEventFilter(this);

    create_pages();
    start_timer(layout_timer_id, 500);
    set_menu({
        menu_popup(u"New", {menu_command(u"Purchase Fuel", cmd::purchase_fuel),
                            menu_command(u"New Repair", cmd::new_repair),
                            menu_command(u"New Fees", cmd::new_fees),
                            menu_command(u"New Trip", cmd::new_trip),
                            menu_command(u"Add Auto", cmd::new_account)}),
        menu_popup(u"Tools",
                   {menu_command(u"Edit", cmd::edit), menu_command(u"Options", cmd::options),
                    menu_separator(), menu_command(u"Export", cmd::export_account),
                    menu_command(u"Export Trip", cmd::export_trip),
                    menu_command(u"Import", cmd::import_records), menu_separator(),
                    menu_command(u"Manual Backup", cmd::manual_backup),
                    menu_command(u"Manual Restore", cmd::manual_restore), menu_separator(),
                    menu_command(u"Set Key Mapping", cmd::set_key_mapping),
                    menu_command(u"About", cmd::about), menu_separator(),
                    menu_command(u"Exit", cmd::exit)}),
    });
    menu_bar()->raise();

    history_.clear();
    previous_ = current_;
    // A damaged configuration must not point the screen at a page that does not exist.
    current_ = page_at(prog_.config.last_page());
    if (current_ == page_id::none) current_ = page_id::fuel;
    show_page(true);
}

void main_screen::create_pages() {
    // The pages are made in this order; several read what earlier ones set up.
    for (page_id id : {page_id::fuel, page_id::service, page_id::trips, page_id::reports,
                       page_id::fees, page_id::accounts}) {
        auto page = make_page(prog_, id, this);
        page->hide();
        connect(page.get(), &main_page::page_wanted, this, &main_screen::go_to);
        connect(page.get(), &main_page::turn_wanted, this, &main_screen::turn_page);
        connect(page.get(), &main_page::back_wanted, this, &main_screen::go_back);
        pages_[static_cast<std::size_t>(tab_of(id))] = std::move(page);
    }
    place_pages();
    for (auto& p : pages_) p->set_screen_size(device().screen_width(), device().screen_height());
}

void main_screen::place_pages() {
    const QRect c = client_rect();
    for (auto& p : pages_)
        if (p)
            p->setGeometry(c.left(), c.top() + tab_band, c.width() + page_overhang,
                           c.height() - tab_band + page_overhang);
    if (has_menu_bar()) menu_bar()->raise();
}

void main_screen::on_timer(int id) {
    if (id != layout_timer_id) return;
    stop_timer(layout_timer_id);
    layout_enabled_ = true;
}

void main_screen::on_size(int, int height) {
    place_pages();
    if (!layout_enabled_ || height < min_layout_height || !pages_[0]) return;
    const int w = device().screen_width(), h = device().screen_height();
    for (page_id id : {page_id::service, page_id::fuel, page_id::trips, page_id::reports,
                       page_id::fees, page_id::accounts})
        page(id)->set_screen_size(w, h);
    screen_height_ = h;
}

void main_screen::show_page(bool with_history) {
    if (current_ == page_id::none || !pages_[0]) return;
    repaint(0, 0, width(), tab_band);
    device_shell().set_input_panel(false);
    for (auto& p : pages_) p->hide();
    prog_.config.set_last_page(tab_of(current_));
    if (with_history) history_.push_back(current_);
    main_page* shown = page(current_);
    shown->show();
    shown->refresh();
    shown->setFocus();
    update_title();
}

void main_screen::update_title() {
    QWidget* desktop = window();
    if (!desktop || desktop == this) return;
    const std::u16string open = prog_.fuel.account_name();
    const QString title =
        open.empty() ? QString::fromStdU16String(program_caption)
                     : QStringLiteral("%1 - %2").arg(to_qstring(open), to_qstring(program_caption));
    if (desktop->windowTitle() != title) desktop->setWindowTitle(title);
}

std::u16string main_screen::tab_tip(int x) {
    if (x >= 0 && x < 210) return kelvane::tr(page_name(page_at(x / 35)));
    if (x >= 211 && x <= 239) return kelvane::tr(u"Back");
    return {};
}

bool main_screen::event(QEvent* e) {
    if (e->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(e);
        const std::u16string tip = help->pos().y() < tab_band ? tab_tip(help->pos().x()) : u"";
        if (tip.empty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), to_qstring(tip), this);
        return true;
    }
    return device_dialog::event(e);
}

bool main_screen::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::MouseButtonRelease || e->type() == QEvent::KeyRelease)
        QTimer::singleShot(0, this, &main_screen::update_title);
    return device_dialog::eventFilter(watched, e);
}

void main_screen::take_focus_back(QWidget* previous) {
    // Whatever opened the dialog (a button, the menu), the owner goes on in
    // the page's list, on the row the page chose, so that the arrow keys and
    // Enter work at once.
    update_title();
    if (main_page* shown = page(current_); shown && shown->isVisible()) {
        shown->setFocus();
        return;
    }
    device_dialog::take_focus_back(previous);
}

void main_screen::go_to(page_id page) {
    previous_ = current_;
    current_ = page;
    show_page(true);
}

void main_screen::turn_page(int step) {
    current_ = page_after(current_, step);
    show_page(true);
}

void main_screen::go_back() {
    if (history_.size() < 2) return;
    history_.pop_back();
    previous_ = current_;
    current_ = history_.back();
    show_page(false);
}

void main_screen::refresh_shown_page() {
    if (main_page* shown = page(current_)) shown->refresh();
}

void main_screen::tap(int x) {
    if (x < 0) return;
    if (x < 210)
        go_to(page_at(x / 35));
    else if (x >= 211 && x <= 239)
        go_back();
}

void main_screen::help() {
    const char16_t* argument = u"file:Kelvane.htm";
    switch (current_) {
        case page_id::fuel:
        case page_id::service:
        case page_id::fees:
            argument = u"file:Kelvane.htm#4";
            break;
        case page_id::trips:
            argument = u"file:Kelvane.htm#6";
            break;
        case page_id::reports:
            argument = u"file:Kelvane.htm#7";
            break;
        case page_id::accounts:
            argument = u"file:Kelvane.htm#2";
            break;
        case page_id::none:
            break;
    }
    if (device_shell().run_program(u"peghelp.exe", argument)) return;
    // On a desktop the shell names the document and what kept it from opening.
    std::u16string why = device_shell().failure_text();
    if (why.empty()) why = kelvane::tr(u"Could not run peghelp.exe");
    show_untranslated(why, kelvane::tr(u"Error"));
}

void main_screen::on_command(int command) {
    auto start_on = [this](page_id id) {
        go_to(id);
        page(id)->start_new();
    };
    switch (command) {
        case cmd::purchase_fuel:
            start_on(page_id::fuel);
            return;
        case cmd::new_repair:
            start_on(page_id::service);
            return;
        case cmd::new_fees:
            start_on(page_id::fees);
            return;
        case cmd::new_trip:
            start_on(page_id::trips);
            return;
        case cmd::new_account:
            start_on(page_id::accounts);
            return;
        case cmd::edit:
            // The reports page has nothing to edit.
            if (current_ != page_id::reports && page(current_)) page(current_)->edit_selected();
            return;
        case cmd::show_page_again:
            show_page(true);
            return;
        case cmd::exit:
            end_dialog(confirmed);
            return;
    }
    auto it = prog_.commands.find(command);
    if (it != prog_.commands.end()) it->second(*this);
}

void main_screen::paint_tab_bar(dc& d, int screen_width) const {
    const skin& pieces = prog_.skin;
    pieces.draw_piece(d, 0, 0, skin_piece::tab_bar_x, skin_piece::tab_bar_y,
                      skin_piece::tab_bar_width, skin_piece::tab_height);
    // Wider screens continue the bar with the filler; screens wider than 320
    // repeat it so that no bare strip is left.
    for (int x = skin_piece::tab_bar_width; x < screen_width; x += skin_piece::filler_width)
        pieces.draw_piece(d, x, 0, skin_piece::filler_x, skin_piece::filler_y,
                          skin_piece::filler_width, skin_piece::tab_height);
    if (current_ != page_id::none) {
        const int x = skin_piece::tab_width * tab_of(current_);
        pieces.draw_piece(d, x, 0, x, skin_piece::lit_tab_y, skin_piece::tab_width,
                          skin_piece::tab_height);
    }
}

QImage main_screen::render_tab_bar() const {
    QImage img(std::max(width(), 1), tab_band, QImage::Format_RGB32);
    img.fill(Qt::white);
    image_dc d(img);
    paint_tab_bar(d, width());
    return img;
}

void main_screen::paintEvent(QPaintEvent* e) {
    device_dialog::paintEvent(e);
    QPainter(this).drawImage(0, 0, render_tab_bar());
}

void main_screen::mousePressEvent(QMouseEvent* e) {
    // Taps a page leaves unhandled come up to the main screen as well; only
    // those on the tab bar switch pages.
    const QPoint at = e->position().toPoint();
    if (e->button() == Qt::LeftButton && at.y() >= 0 && at.y() < tab_band) tap(at.x());
}

void main_screen::end_key() {
    device_shell().press_home_key();
    end_dialog(confirmed);
}

void main_screen::keyPressEvent(QKeyEvent* e) {
    switch (e->key()) {
        case Qt::Key_Left:
            go_to(page_after(current_, -1));
            return;
        case Qt::Key_Right:
            go_to(page_after(current_, 1));
            return;
        case Qt::Key_F4:
            end_key();
            return;
        case Qt::Key_F1:
            help();
            return;
        case Qt::Key_Escape:
            // The main screen is the program: only "Exit" ends it.
            return;
    }
    device_dialog::keyPressEvent(e);
}

void main_screen::keyReleaseEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_F4 && !ended()) {
        end_key();
        return;
    }
    device_dialog::keyReleaseEvent(e);
}

}  // namespace kelvane
