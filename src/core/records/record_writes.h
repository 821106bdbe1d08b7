#pragma once
// Every change the record screens and kelvane-tool make to a record store
// goes through here, and each answers whether the change reached the store's
// file, from what the store reports. The store itself tells the owner when a
// write fails; an editor then stays open with what was typed.

#include <iterator>
#include <string>
#include <string_view>

#include "core/stores/record_store.h"

namespace kelvane {

// Replaces the record with `key`, or adds the record when the key is empty
// (or names no record): the key then becomes the new record's. A record
// whose file write failed is still in the store under that key, so saving
// again replaces it rather than adding it twice. True when the change
// reached the file; false also when the store refused the record.
template <class Store>
[[nodiscard]] bool save_record(Store& store, std::u16string& key,
                               const typename Store::record_type& record) {
    if (!key.empty()) {
        const change_result changed = store.update_record(key, record);
        if (changed != change_result::not_found) return changed == change_result::done;
    }
    add_result added = store.add_record(record);
    if (added.key.empty()) return false;
    key = std::move(added.key);
    return !added.write_failed;
}

// True when the deletion reached the file. When it did not, the record is
// gone from the store all the same, the store has told the owner, and its
// file is owed a full save.
template <class Store>
[[nodiscard]] bool delete_record_by_key(Store& store, std::u16string_view key) {
    return store.delete_record(key) == change_result::done;
}

template <class Store>
[[nodiscard]] bool delete_record_at_position(Store& store, int position) {
    return store.delete_record_at(position) == change_result::done;
}

// The list position of the record with this key (0 = oldest), -1 when none
// has it. Looks from the newest record, where edits mostly are.
template <class Store>
int position_of_key(const Store& store, std::u16string_view key) {
    for (int i = store.record_count() - 1; i >= 0; --i) {
        const auto& field = store.record_at(i).key;
        std::size_t n = 0;
        while (n < std::size(field) && field[n] != 0) ++n;
        if (std::u16string_view(field, n) == key) return i;
    }
    return -1;
}

}  // namespace kelvane
