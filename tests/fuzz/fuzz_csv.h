#pragma once
// The open account the CSV targets import into, as the program holds it.

#include "core/exchange/export_import.h"
#include "fuzz_support.h"
#include "fuzz_target.h"

namespace kelvane::fuzz {

struct open_account {
    fuel_store fuel;
    service_store service;
    fee_store fees;
    export_import exchange{fuel, service, fees};

    open_account() {
        // An account whose (empty) files exist, loaded.
        for (account_store* s : std::initializer_list<account_store*>{&fuel, &service, &fees}) {
            (void)s->load(data_folder, u"Car", false);
            (void)s->save_all();
            (void)s->load(data_folder, u"Car", false);
        }
        fuel.set_deferred_save(true);
        service.set_deferred_save(true);
        fees.set_deferred_save(true);
    }
    // Writes what is owed, reads the files again and checks that every
    // record added is there.
    void check_files(const import_summary& done) {
        const int expected[] = {fuel.record_count(), service.record_count(), fees.record_count()};
        expect(fuel.record_count() == done.fuel && service.record_count() == done.service &&
                   fees.record_count() == done.fees,
               "the counts of added records disagree with the stores");
        expect(fuel.reset() && service.reset() && fees.reset(), "a save to memory failed");
        fuel_store f;
        service_store s;
        fee_store e;
        expect(f.load(data_folder, u"Car", false) == load_result::loaded &&
                   s.load(data_folder, u"Car", false) == load_result::loaded &&
                   e.load(data_folder, u"Car", false) == load_result::loaded,
               "a file written by the import did not load");
        expect(f.record_count() == expected[0] && s.record_count() == expected[1] &&
                   e.record_count() == expected[2],
               "records added by the import were lost");
    }
};

}  // namespace kelvane::fuzz
