#include "core/common/messages.h"

#include "core/common/translate.h"
#include "platform/services.h"

namespace kelvane {

message_answer show_message(std::u16string_view key, message_buttons buttons) {
    return message_boxes().show(tr(key), program_caption, buttons);
}

message_answer show_untranslated(std::u16string_view text, std::u16string_view caption,
                                 message_buttons buttons) {
    return message_boxes().show(text, caption, buttons);
}

}  // namespace kelvane
