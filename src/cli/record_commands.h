#pragma once
// kelvane-tool's commands over an account's records: list them, add,
// edit and delete fill-ups, repairs and fees.

#include <optional>

#include "cli/tool_command.h"
#include "core/stores/record_layout.h"

namespace kelvane {

class record_commands : public tool_command {
public:
    using tool_command::tool_command;

    int records(tool_session& s);
    int add_fuel(tool_session& s);
    int add_repair(tool_session& s);
    int add_fee(tool_session& s);
    int edit_fuel(tool_session& s);
    int edit_repair(tool_session& s);
    int edit_fee(tool_session& s);
    int delete_record(tool_session& s);

private:
    // What every add command starts with: at most one account, loaded, and
    // the record's date (--date, default now) and mileage (--mileage, default
    // the account's current mileage). 0 to go on, else the exit code.
    int read_new_record(tool_session& s, dated_record_prefix& record);
    // Adds the record and prints its key; the exit code.
    template <class Store>
    int add_to_store(Store& store, const typename Store::record_type& record);
    // Which store a record key is looked for in.
    enum class record_kind { fuel, repair, fee };
    // Finds the one record with the key (first positional) among the
    // accounts (--account, else every one) and the kinds allowed (`only`,
    // else --kind, else all three), and loads its account. 0 to go on, else
    // the exit code after a message; nothing is changed either way.
    int find_record(tool_session& s, std::optional<record_kind> only, record_kind& kind,
                    std::u16string& key);
};

}  // namespace kelvane
