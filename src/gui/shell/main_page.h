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

class main_page : public QWidget {
    Q_OBJECT
public:
    main_page(program& prog, int index, QWidget* parent);

    int index() const { return index_; }
    // English name of the page (the accounts page is "Vehicle Accounts", ...).
    static std::u16string page_name(int index);

    // Lays the page out for a screen of this size.
    virtual void set_screen_size(int width, int height);
    // Reloads what the page shows from its store.
    virtual void refresh() {}
    // "New ..." of the main menu: starts a new record on this page.
    virtual void start_new() {}
    // "Edit": opens the editor of the selected entry.
    virtual void edit_selected() {}

protected:
    // The height of the part of the page that shows on a screen of this
    // size, between the tab band and the menu bar: the page itself reaches
    // past the screen's edges.
    static int shown_height(int width, int height);

    program& prog_;

private:
    int index_;
};

// The page's screen from the program's page makers.
std::unique_ptr<main_page> make_page(program& prog, int index, QWidget* parent);

}  // namespace kelvane
