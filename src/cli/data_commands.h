#pragma once
// kelvane-tool's commands over the whole data set or an account's file:
// CSV export and import, backup, restore, and sample data.

#include "cli/tool_command.h"

namespace kelvane {

class data_commands : public tool_command {
public:
    using tool_command::tool_command;

    int export_csv(tool_session& s);
    int import_csv(tool_session& s);
    int backup(tool_session& s);
    int restore(tool_session& s);
    int sample(tool_session& s);
};

}  // namespace kelvane
