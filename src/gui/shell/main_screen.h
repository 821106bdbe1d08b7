#pragma once
// The main screen: the tab bar along the top, six pages below it (one on
// show at a time, with a history for the back button) and the main menu.

#include <QImage>
#include <array>
#include <memory>
#include <vector>

#include "gui/shell/main_page.h"
#include "platform/qt/device_dialog.h"

namespace kelvane {

class dc;
struct program;

class main_screen : public device_dialog {
    Q_OBJECT
public:
    static constexpr int tab_band = 33;

    explicit main_screen(program& prog, QWidget* parent = nullptr);
    ~main_screen() override;

    // Shows the page, as a tap on its tab does: the page shown before is the
    // one the history and previous_page() remember.
    void go_to(page_id page);
    // Shows the current page again and appends it to the page history.
    void show_page_again() { show_page(true); }
    // A tap on the tab band at horizontal position x.
    void tap(int x);
    // The back button: the page shown before the current one in the history.
    void go_back();
    // The help request: opens the help document at the page's section.
    void help();
    // The desktop window's title names the vehicle open in the stores.
    void update_title();
    // The tooltip of the tab band at horizontal position x: the page's name,
    // or "Back" for the back button.
    static std::u16string tab_tip(int x);
    void run_command(int command) { on_command(command); }

    main_page* page(page_id id) const;
    program& prog() { return prog_; }
    const std::vector<page_id>& page_history() const { return history_; }
    // The page on show (none before the first), and the one shown before it.
    page_id current_page() const { return current_; }
    page_id previous_page() const { return previous_; }
    // The pages are laid out again on a size change only once the screen
    // has settled after being shown.
    bool layout_enabled() const { return layout_enabled_; }
    // The screen height the pages were last laid out for.
    int screen_height() const { return screen_height_; }
    // The page on show reads what it shows again (after a menu command
    // changed the records behind it).
    void refresh_shown_page();

    // Paints the tab band through a drawing surface.
    void paint_tab_bar(dc& d, int screen_width) const;
    QImage render_tab_bar() const;

protected:
    void init_dialog() override;
    void on_command(int command) override;
    void on_timer(int id) override;
    void on_size(int width, int height) override;
    void take_focus_back(QWidget* previous) override;
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    // Shows current_page(); with history it is also appended to the page history.
    void show_page(bool with_history);
    // The page keys of a page: the neighbouring page, with the page the back
    // button returns to left as it was.
    void turn_page(int step);
    void create_pages();
    void place_pages();
    void end_key();

    program& prog_;
    std::array<std::unique_ptr<main_page>, page_count> pages_;
    std::vector<page_id> history_;
    page_id current_ = page_id::none;
    page_id previous_ = page_id::none;
    bool layout_enabled_ = false;
    int screen_height_ = 320;
};

}  // namespace kelvane
