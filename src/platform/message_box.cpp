#include "platform/message_box.h"

#include <cstdio>

#include "platform/text_encoding.h"

namespace kelvane {

message_answer console_message_box::show(std::u16string_view text, std::u16string_view caption,
                                         message_buttons buttons) {
    // A message of several lines names its speaker on each, so that no line
    // of standard error reads as someone else's.
    const std::string speaker = speaker_.empty() ? to_utf8(caption) : speaker_;
    std::string line;
    for (char c : to_utf8(text) + "\n") {
        if (c == '\r') continue;
        if (c != '\n') {
            line += c;
            continue;
        }
        std::fprintf(stderr, "%s: %s\n", speaker.c_str(), line.c_str());
        line.clear();
    }
    return buttons == message_buttons::yes_no ? message_answer::yes : message_answer::ok;
}

message_answer scripted_message_box::show(std::u16string_view text, std::u16string_view caption,
                                          message_buttons buttons) {
    boxes_.push_back({std::u16string(text), std::u16string(caption), buttons});
    if (!answers_.empty()) {
        const message_answer a = answers_.front().answer;
        answers_.pop_front();
        return a;
    }
    return buttons == message_buttons::yes_no ? message_answer::yes : message_answer::ok;
}

std::vector<std::u16string> scripted_message_box::texts() const {
    std::vector<std::u16string> out;
    for (const auto& b : boxes_) out.push_back(b.text);
    return out;
}

std::vector<std::string> scripted_message_box::unused_answers() const {
    static constexpr const char* names[] = {"OK", "Cancel", "Yes", "No"};
    std::vector<std::string> out;
    for (const auto& q : answers_)
        out.push_back(std::string(names[static_cast<int>(q.answer)]) + " (" +
                      source_place(q.where) + ")");
    return out;
}

std::string source_place(const std::source_location& where) {
    const std::string_view file = where.file_name();
    const std::size_t slash = file.find_last_of("/\\");
    return std::string(slash == std::string_view::npos ? file : file.substr(slash + 1)) + ":" +
           std::to_string(where.line());
}

}  // namespace kelvane
