#pragma once
// The message-box seam: every message box of the program goes through the
// installed service, so a test can read each text and answer it.

#include <deque>
#include <source_location>
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
// OK, or Yes for a Yes/No box. Each answer remembers where it was queued, so
// that one no box ever took can be named.
class scripted_message_box : public message_box_service {
public:
    struct shown {
        std::u16string text;
        std::u16string caption;
        message_buttons buttons;
    };
    message_answer show(std::u16string_view text, std::u16string_view caption,
                        message_buttons buttons) override;
    void answer_next(message_answer a,
                     std::source_location where = std::source_location::current()) {
        answers_.push_back({a, where});
    }
    const std::vector<shown>& boxes() const { return boxes_; }
    std::vector<std::u16string> texts() const;
    void clear() { boxes_.clear(), answers_.clear(); }
    // The answers still queued, each as "answer (file:line)".
    std::vector<std::string> unused_answers() const;

private:
    struct queued {
        message_answer answer;
        std::source_location where;
    };
    std::vector<shown> boxes_;
    std::deque<queued> answers_;
};

// "file:line" of a place in the sources, the file without its folders.
std::string source_place(const std::source_location& where);

}  // namespace kelvane
