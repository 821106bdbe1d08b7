#pragma once
// Message boxes to the owner, through the platform's seam: the English key is
// translated and shown with the program's caption. The problems core reports
// reach the owner the same way while the program's listener is in force.

#include <string_view>

#include "core/common/messages.h"
#include "core/common/problems.h"
#include "platform/message_box.h"

namespace kelvane {

// Shows the translated key with the program's caption.
message_answer show_message(std::u16string_view key, message_buttons buttons = message_buttons::ok);
// Shows the translated key followed, on a line of its own, by what it is
// about (a file's name), which is never translated.
message_answer show_message_about(std::u16string_view key, std::u16string_view subject,
                                  message_buttons buttons = message_buttons::ok);
// Shows a text as it stands (for the few texts that never pass the table).
message_answer show_untranslated(std::u16string_view text,
                                 std::u16string_view caption = program_caption,
                                 message_buttons buttons = message_buttons::ok);
// Tells the owner that the number box of this label (an English key such as
// "Fuel Cost:") holds no number, naming the box in the language in force.
void show_not_a_number(std::u16string_view label_key);

// The program's listener: each problem core reports is shown in a message box
// at once, while the work that met it waits, as the owner has always seen it.
class problem_boxes : public problem_listener {
public:
    void told(const problem& p) override;
};

}  // namespace kelvane
