#pragma once
// The texts of messages to the owner used in several places; their English
// texts are the keys of the language table. Core reports them as problems
// (core/common/problems.h); the front ends show them.

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
inline constexpr char16_t program_caption[] = u"Kelvane";

}  // namespace kelvane
