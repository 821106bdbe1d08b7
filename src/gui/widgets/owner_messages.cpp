#include "gui/widgets/owner_messages.h"

#include "core/common/translate.h"
#include "platform/services.h"

namespace kelvane {

message_answer show_message(std::u16string_view key, message_buttons buttons) {
    return message_boxes().show(tr(key), program_caption, buttons);
}

message_answer show_message_about(std::u16string_view key, std::u16string_view subject,
                                  message_buttons buttons) {
    return message_boxes().show(problem_text({std::u16string(key), std::u16string(subject)}),
                                program_caption, buttons);
}

void show_not_a_number(std::u16string_view label_key) {
    // The box's name as its label shows it, without the colon after it.
    std::u16string name = tr(label_key);
    while (!name.empty() &&
           (name.back() == u':' || name.back() == u' ' || name.back() == u'\u00A0'))
        name.pop_back();
    (void)show_message_about(msg_not_a_number, name);
}

message_answer show_untranslated(std::u16string_view text, std::u16string_view caption,
                                 message_buttons buttons) {
    return message_boxes().show(text, caption, buttons);
}

void problem_boxes::told(const problem& p) {
    (void)message_boxes().show(problem_text(p), program_caption, message_buttons::ok);
}

}  // namespace kelvane
