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
    static constexpr int page_count = 6;
    static constexpr int tab_band = 33;

    explicit main_screen(program& prog, QWidget* parent = nullptr);
    ~main_screen() override;

    // Shows current_page; with history it is also appended to the page history.
    void show_page(bool with_history);
    // A tap on the tab band at horizontal position x.
    void tap(int x);
    // The help request: opens the help document at the page's section.
    void help();
    // The desktop window's title names the vehicle open in the stores.
    void update_title();
    // The tooltip of the tab band at horizontal position x: the page's name,
    // or "Back" for the back button.
    static std::u16string tab_tip(int x);
    void run_command(int command) { on_command(command); }

    main_page* page(int index) const;
    program& prog() { return prog_; }
    const std::vector<int>& page_history() const { return history_; }

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
    void create_pages();
    void place_pages();
    void end_key();
    void go_to(int page);

    program& prog_;
    std::array<std::unique_ptr<main_page>, page_count> pages_;
    std::vector<int> history_;
};

}  // namespace kelvane
