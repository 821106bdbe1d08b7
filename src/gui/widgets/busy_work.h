#pragma once
// Long work on the one thread of the program (reading many accounts' files,
// filling a report of many records, importing a large file, copying a
// backup): while it lasts the pointer is busy and, where the screen has one,
// a line of text says what is being done. Each step repaints the window at
// once, so it never looks frozen, while the owner's taps and keys wait until
// the work is done.

#include <memory>
#include <string_view>

class QWidget;

namespace kelvane {

class device_dialog;
class skin;
class text_label;

// A screen's line for the progress text: one line of blue text on white,
// hidden until work shows it.
text_label* make_progress_line(const skin& pieces, QWidget* parent);

class busy_work {
public:
    // line: the screen's line for the progress text, or none.
    explicit busy_work(text_label* line = nullptr);
    ~busy_work();
    busy_work(const busy_work&) = delete;
    busy_work& operator=(const busy_work&) = delete;

    // Shows the text (as it stands: the caller translates) and repaints.
    void step(std::u16string_view text);

private:
    text_label* line_;
    bool line_was_visible_ = false;
};

// Long work from the main menu: the pointer is busy and a line just above
// the screen's menu bar says what is being done, for as long as the object
// lives.
class menu_work {
public:
    menu_work(const skin& pieces, device_dialog& screen, std::u16string_view text);
    ~menu_work();
    menu_work(const menu_work&) = delete;
    menu_work& operator=(const menu_work&) = delete;

private:
    std::unique_ptr<text_label> line_;
    std::unique_ptr<busy_work> busy_;  // ends before its line goes
};

}  // namespace kelvane
