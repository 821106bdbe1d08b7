#pragma once
// The message-box seam: every message box of the program goes through the
// installed service, so a test can read each text and answer it.

#include <deque>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kelvane {

enum class message_buttons { ok, yes_no, ok_cancel };
enum class message_answer { ok, cancel, yes, no };

class message_box_service {
public:
    virtual ~message_box_service() = default;
    virtual message_answer show(std::u16string_view text, std::u16string_view caption,
                                message_buttons buttons) = 0;
};

// Writes every box to standard error, each line of it after the speaker's
// name ("kelvane-tool: ..."; the box's caption when no name is given), and
// answers OK, or Yes for a Yes/No box: where no one can answer, the work
// goes on as the owner would most often have it, and the text still tells
// what went wrong.
class console_message_box : public message_box_service {
public:
    explicit console_message_box(std::string speaker = {}) : speaker_(std::move(speaker)) {}
    message_answer show(std::u16string_view text, std::u16string_view caption,
                        message_buttons buttons) override;

private:
    std::string speaker_;
};

// Records every box and answers from a queue; with the queue empty it answers
// OK, or Yes for a Yes/No box.
class scripted_message_box : public message_box_service {
public:
    struct shown {
        std::u16string text;
        std::u16string caption;
        message_buttons buttons;
    };
    message_answer show(std::u16string_view text, std::u16string_view caption,
                        message_buttons buttons) override;
    void answer_next(message_answer a) { answers_.push_back(a); }
    const std::vector<shown>& boxes() const { return boxes_; }
    std::vector<std::u16string> texts() const;
    void clear() { boxes_.clear(), answers_.clear(); }

private:
    std::vector<shown> boxes_;
    std::deque<message_answer> answers_;
};

}  // namespace kelvane
