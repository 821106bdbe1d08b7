#pragma once
// Messages to the owner: the English key is translated and shown in a
// message box through the platform's seam.

#include <string_view>

#include "platform/message_box.h"

namespace kelvane {

// The messages used in several places (their English texts are the keys).
inline constexpr char16_t msg_write_failed[] = u"Failed! An error occurs when writing data file.";
inline constexpr char16_t msg_format_error[] = u"Database file format error.";
inline constexpr char16_t msg_database_full[] = u"Add record error, database is full.";
// Said where the accounts are: the program has no screen called "Settings".
inline constexpr char16_t msg_open_account_first[] =
    u"Please add or open a vehicle account on the accounts page (the car tab).";
inline constexpr char16_t msg_select_record[] = u"Please select a record.";
inline constexpr char16_t msg_confirm_delete[] = u"Are you sure to delete the selected item?";
inline constexpr char16_t msg_open_account[] = u"Please open an account.";
// A path given for an export or a picture that names one of the program's
// own files (the path follows).
inline constexpr char16_t msg_program_file[] =
    u"This file is one of the program's own and is not written over:";
// A record file read with records left out (the file's name follows).
inline constexpr char16_t msg_records_left_out[] =
    u"Some records of this file are damaged and were left out. The file is copied aside "
    u"before it is written again:";
inline constexpr char16_t msg_cut_record_left_out[] =
    u"This file ends in part of a record, left by a write that was interrupted; that part "
    u"was left out. The file is copied aside before it is written again:";

// A number box holding text that is not a number (the box's name follows);
// nothing is saved and the editor stays open.
inline constexpr char16_t msg_not_a_number[] =
    u"This box does not hold a number. Please correct it:";
// Tells the owner that the number box of this label (an English key such as
// "Fuel Cost:") holds no number, naming the box in the language in force.
void show_not_a_number(std::u16string_view label_key);

inline constexpr char16_t program_caption[] = u"Kelvane";

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

}  // namespace kelvane
