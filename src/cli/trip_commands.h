#pragma once
// kelvane-tool's commands over the trips: list them with their figures,
// add, edit, delete, and export one trip's records.

#include "cli/tool_command.h"

namespace kelvane {

struct trip_form;
struct trip_save_outcome;

class trip_commands : public tool_command {
public:
    using tool_command::tool_command;

    int trips(tool_session& s);
    int add_trip(tool_session& s);
    int edit_trip(tool_session& s);
    int delete_trip(tool_session& s);
    int export_trip(tool_session& s);

private:
    // --from/--to/--min/--max into the trip editor's boxes; with allow_none,
    // "none" stops a limit from counting. False after a message.
    bool trip_limit_options(trip_form& form, bool allow_none);
    // Reports a trip editor save; `done` begins the line printed on success.
    int trip_saved(const trip_save_outcome& kept, std::string_view done);
};

}  // namespace kelvane
