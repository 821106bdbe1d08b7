#pragma once
// Long work on the one thread of the program (reading many accounts' files,
// filling a report of many records, importing a large file, copying a
// backup): while it lasts the pointer is busy and, where the screen has one,
// a line of text says what is being done. Each step repaints the window at
// once, so it never looks frozen, while the owner's taps and keys wait until
// the work is done.

#include <string_view>

namespace kelvane {

class text_label;

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

}  // namespace kelvane
