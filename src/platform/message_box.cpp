#include "platform/message_box.h"

namespace kelvane {

message_answer scripted_message_box::show(std::u16string_view text, std::u16string_view caption,
                                          message_buttons buttons) {
    boxes_.push_back({std::u16string(text), std::u16string(caption), buttons});
    if (!answers_.empty()) {
        auto a = answers_.front();
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

}  // namespace kelvane
