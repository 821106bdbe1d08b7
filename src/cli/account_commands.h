#pragma once
// kelvane-tool's commands over the vehicle accounts: list, add, edit,
// delete, open, and the program's options.

#include "cli/tool_command.h"

namespace kelvane {

struct account_entry;
struct account_save_result;

class account_commands : public tool_command {
public:
    using tool_command::tool_command;

    int accounts(tool_session& s);
    int add_account(tool_session& s);
    int edit_account(tool_session& s);
    int delete_account(tool_session& s);
    int open_account(tool_session& s);
    int options(tool_session& s);

private:
    // The account editor's settings given as options, into the editor's
    // boxes: a new unit first converts the numbers the boxes hold, then the
    // numbers given replace theirs. False after a message.
    bool account_options(account_entry& e);
    // Tells why an account editor save went wrong (the editor's own refusal
    // message, or files that could not be written); the exit code.
    int account_save_failed(const account_save_result& result);
};

}  // namespace kelvane
