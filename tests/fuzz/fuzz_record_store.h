#pragma once
// The body shared by the four record stores' targets: the input is a record
// file; it is loaded, read in every way the screens read it, changed, saved
// and loaded again.

#include <cstring>
#include <type_traits>

#include "core/charts/chart_engine.h"
#include "core/common/text.h"
#include "core/stores/fee_store.h"
#include "core/stores/fuel_store.h"
#include "core/stores/service_store.h"
#include "core/stores/trip_store.h"
#include "fuzz_support.h"
#include "fuzz_target.h"

namespace kelvane::fuzz {

template <class Store>
double cost_of(const typename Store::record_type& r) {
    if constexpr (std::is_same_v<Store, fuel_store>)
        return r.fuel_cost;
    else
        return r.cost;
}

template <class Store>
double total_of(const typename Store::header_struct& h) {
    if constexpr (std::is_same_v<Store, fuel_store>)
        return h.total_fuel_cost;
    else
        return h.total_cost;
}

inline bool same_double(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

template <class Store>
typename Store::record_type new_record(int day) {
    typename Store::record_type r{};
    if constexpr (std::is_same_v<Store, trip_store>) {
        r.start_year = r.end_year = 2007;
        r.start_month = r.end_month = 3;
        r.start_day = r.end_day = day;
        set_fixed(r.trip_description, u"Added");
    } else {
        r.year = 2007, r.month = 11, r.day = day;
        r.mileage = 1000.0 * day;
    }
    return r;
}

template <class Store>
int exercise_record_store(const std::uint8_t* data, std::size_t size) {
    constexpr bool trips = std::is_same_v<Store, trip_store>;
    const std::u16string name = trips ? u"Trip" : u"Car";
    const std::u16string path = data_folder + name + std::u16string(Store::extension);
    fuzz_device d;
    d.put(name + std::u16string(Store::extension), data, size);

    const load_result checked = Store::check_file(path);
    Store store;
    const load_result loaded = store.load(data_folder, name, false);
    expect(loaded == checked, "check_file and load disagree about the file");
    if (loaded == load_result::damaged) {
        expect(store.record_count() == 0, "a damaged file gave records");
        (void)store.add_record(new_record<Store>(1));
        expect(d.fs.bytes(path + u".unreadable") == std::vector<std::uint8_t>(data, data + size),
               "a damaged file was written over without a copy");
        return 0;
    }

    // What a load gives: tagged records, totals and counter that agree with them.
    double sum = 0;
    for (int i = 0; i < store.record_count(); ++i) {
        const auto& r = store.record_at(i);
        expect(std::memcmp(r.tag, u"DATA", 8) == 0, "a record without its tag was taken");
        expect(r.record_number < store.header().next_record_number || r.record_number == INT32_MAX,
               "the record counter would repeat a record's number");
        if constexpr (!trips) sum += cost_of<Store>(r);
    }
    if constexpr (!trips)
        expect(same_double(total_of<Store>(store.header()), sum), "totals disagree with records");

    // Read as the screens read it.
    if constexpr (trips) {
        (void)store.list_descriptions();
        fuel_store none;
        for (int i = 0; i < store.record_count(); ++i)
            (void)none.distance_in_range(trip_limits(store.record_at(i)));
    } else {
        store.select_records({});
        expect(store.selected_count() == store.record_count(),
               "selecting everything missed records");
        typename Store::record_type copy{};
        while (store.next_selected(copy)) {
        }
        chart_engine chart;
        for (int i = 0; i < store.record_count(); ++i) (void)store.row_texts(i);
        selection_limits limits;
        limits.from = local_time{2007, 1, 1};
        limits.lowest = 0;
        limits.highest = 5000;
        (void)store.selection_cost(limits, &chart);
        if constexpr (std::is_same_v<Store, fuel_store>) {
            store.economy_series(chart, {});
            (void)store.distance_in_range(limits);
        } else {
            store.cost_series(chart, limits);
        }
    }

    // Changed, saved and read again: the same records, and nothing left out.
    (void)store.add_record(new_record<Store>(30));
    if (store.record_count() > 1) {
        // An editor hands back a copy of the record it was given, key and all.
        const auto first = store.copy_record(0);
        auto changed = new_record<Store>(2);
        std::memcpy(changed.key, first.key, sizeof changed.key);
        (void)store.update_record(fixed_text(first.key), changed);
        (void)store.delete_record_at(store.record_count() / 2);
    }
    const int count = store.record_count();
    expect(store.save_all(), "a save to memory failed");
    Store again;
    expect(again.load(data_folder, name, false) == load_result::loaded,
           "a saved file did not load");
    expect(again.record_count() == count, "a saved file lost records");
    expect(!again.leftovers().any(), "a saved file has leftovers");
    (void)Store::read_account_header(data_folder, name);
    return 0;
}

}  // namespace kelvane::fuzz
