#pragma once
// A page of the main screen. Each page belongs to the screen that owns its
// records; the main screen only creates the pages, shows one at a time and
// hands them the "New" and "Edit" commands.

#include <QWidget>
#include <functional>
#include <memory>
#include <string>

namespace kelvane {

struct program;

// The six pages of the main screen, in the order of their tabs.
enum class page_id : int { none = -1, fuel, service, fees, trips, reports, accounts };
inline constexpr int page_count = 6;

// The page's place in the tab band, 0 to 5.
constexpr int tab_of(page_id page) {
    return static_cast<int>(page);
}
// The page of a place in the tab band; none outside it.
constexpr page_id page_at(int tab) {
    return tab >= 0 && tab < page_count ? static_cast<page_id>(tab) : page_id::none;
}
// The page `step` tabs on from the page, round from the last to the first.
constexpr page_id page_after(page_id page, int step) {
    return page_at(((tab_of(page) + step) % page_count + page_count) % page_count);
}

class main_page : public QWidget {
    Q_OBJECT
public:
    main_page(program& prog, page_id id, QWidget* parent);

    page_id id() const { return id_; }
    // English name of the page (the accounts page is "Vehicle Accounts", ...).
    static std::u16string page_name(page_id page);

    // Lays the page out for a screen of this size.
    virtual void set_screen_size(int width, int height);
    // Reloads what the page shows from its store.
    virtual void refresh() {}
    // "New ..." of the main menu: starts a new record on this page.
    virtual void start_new() {}
    // "Edit": opens the editor of the selected entry.
    virtual void edit_selected() {}

signals:
    // The page asks the main screen to show another page, as a tap on its tab does.
    void page_wanted(kelvane::page_id page);
    // The page keys: the neighbouring page `step` tabs on, leaving the page
    // the back button returns to as it was.
    void turn_wanted(int step);
    // The back button of the tab band.
    void back_wanted();

protected:
    // The height of the part of the page that shows on a screen of this
    // size, between the tab band and the menu bar: the page itself reaches
    // past the screen's edges.
    static int shown_height(int width, int height);

    program& prog_;

private:
    page_id id_;
};

// The page's screen from the program's page makers.
std::unique_ptr<main_page> make_page(program& prog, page_id id, QWidget* parent);

}  // namespace kelvane
