#pragma once
// What the configuration, backup and restore need from each of the three
// account stores (fuel, maintenance, fees), independent of their records.

#include <string>
#include <string_view>

#include "core/common/load_result.h"

namespace kelvane {

class account_store {
public:
    virtual ~account_store() = default;
    // Empties the store (writing deferred changes first), then reads
    // folder + name + the store's extension.
    virtual load_result load(std::u16string_view folder, std::u16string_view name, bool keep) = 0;
    // Writes deferred changes, then empties the store; false when changes
    // were owed and could not be written.
    [[nodiscard]] virtual bool reset() = 0;
    // Rewrites the whole file; true on success.
    [[nodiscard]] virtual bool save_all() = 0;
    // Forgets that a full save is owed (used before a restore).
    virtual void clear_dirty() = 0;
    // The account whose file the store holds (empty after reset).
    virtual std::u16string account_name() const = 0;
    // True when no file is loaded (after reset).
    virtual bool fresh() const = 0;
};

// The three stores of the open account, in the order they are loaded and reset.
struct account_stores {
    account_store* fuel = nullptr;
    account_store* service = nullptr;
    account_store* fees = nullptr;
};

}  // namespace kelvane
