#pragma once
// The records a report reads: the fuel, repair and fees files of the chosen
// vehicle accounts, read one account after another into store objects of the
// report's own, so that the records of all of them follow each other in the
// order the accounts were chosen. The open account's stores first write what
// they still owe their files, so that the files are current.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/charts/report_filling.h"
#include "core/stores/fee_store.h"
#include "core/stores/fuel_store.h"
#include "core/stores/service_store.h"

namespace kelvane {

class report_records {
public:
    // Told before each account is read: how many are done, how many there
    // are, and the account about to be read.
    using progress = std::function<void(int done, int total, std::u16string_view account)>;

    // Empties the stores, then reads the accounts' files from the data
    // folder. A name that cannot be an account (a damaged list) reads nothing.
    // False when a file was damaged (its store told the owner; the report
    // goes on without it).
    // A report of the open account alone reads its stores (`open`) as they
    // are, once their owed changes are written: they hold what its files
    // hold, and a second copy of a long account would only cost the time
    // and the memory of reading it.
    [[nodiscard]] bool load(std::u16string_view data_folder,
                            const std::vector<std::u16string>& accounts, const progress& tell = {},
                            const report_stores& open = {});

    report_stores stores() {
        return shared_.fuel ? shared_ : report_stores{&fuel, &service, &fees};
    }

    fuel_store fuel;
    service_store service;
    fee_store fees;

private:
    report_stores shared_;  // the open account's stores, when the report reads them
};

// Writes the open account's owed changes (deferred rewrites) to its files;
// a store whose file already matches its memory is left alone. False when a
// file could not take them (the store told the owner).
[[nodiscard]] bool write_owed_changes(fuel_store& fuel, service_store& service,
                                      fee_store& fees);

}  // namespace kelvane
