#pragma once
// The menu bar along the bottom edge of a dialog, as on the handheld: one
// or two soft keys, each either a command or a pop-up menu of commands.
// Item texts are shown as given: the program translates them when it builds
// the menu (see widgets/menu_items.h).

#include <QWidget>
#include <string>
#include <vector>

class QPushButton;

namespace kelvane {

struct soft_menu_item {
    std::u16string text;                // as shown
    int command = 0;                    // 0 for a pop-up or a separator
    std::vector<soft_menu_item> items;  // the pop-up's items
    bool separator = false;
    bool enabled = true;  // a pop-up shows a disabled command greyed
};

class soft_menu_bar : public QWidget {
    Q_OBJECT
public:
    // The bar's height and the soft keys' text size on the handheld's own
    // 240 x 320 screen; larger screens scale both by their length ratio.
    static constexpr int bar_height = 26;
    static constexpr int text_size = 12;
    static int height_on(int screen_width, int screen_height);

    explicit soft_menu_bar(QWidget* parent = nullptr);
    // Sizes the soft keys' text for a screen of this size.
    void fit_screen(int screen_width, int screen_height);
    void set_items(std::vector<soft_menu_item> items);
    const std::vector<soft_menu_item>& items() const { return items_; }

    // True when some key or pop-up offers the command.
    bool has_command(int command) const;
    // The text of the command's item, empty when absent.
    std::u16string command_text(int command) const;
    void set_enabled(int command, bool enabled);
    bool is_enabled(int command) const;
    // Acts as if the owner chose the command; false when absent or disabled.
    bool trigger(int command);

signals:
    void command_chosen(int command);

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;

private:
    void rebuild();
    void open_popup(int index);

    std::vector<soft_menu_item> items_;
    std::vector<int> disabled_;
    std::vector<QPushButton*> keys_;
    int text_px_ = text_size;
};

}  // namespace kelvane
