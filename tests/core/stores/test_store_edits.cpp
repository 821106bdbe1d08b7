// Edits in the middle of an account: the totals, the current mileage and the
// economies a store keeps up to date step by step must be exactly what a
// recompute from every record gives, since both reach the file's header.

#include <random>

#include "core/test_store_support.h"

using namespace kelvane;
using namespace kelvane::testing;

namespace {

template <class Store>
class store_edits : public ::testing::Test {};

using account_stores = ::testing::Types<fuel_store, service_store, fee_store>;
TYPED_TEST_SUITE(store_edits, account_stores);

// The header and every record as bytes.
template <class Store>
std::vector<std::uint8_t> state_of(const Store& s) {
    return image_of(s);
}

template <class Store>
void recompute_all(Store& s) {
    if constexpr (std::is_same_v<Store, fuel_store>)
        (void)s.recompute_economy(false);
    else
        (void)s.recompute_total();
}

TYPED_TEST(store_edits, step_by_step_totals_equal_a_full_recompute_after_random_edits) {
    using kind = store_kind<TypeParam>;
    device_fixture dev;
    TypeParam store;
    (void)store.load(data_folder, u"Car", false);
    if constexpr (std::is_same_v<TypeParam, fuel_store>) {
        set_fixed(store.header().mileage_unit, u"Mile");
        set_fixed(store.header().fuel_unit, u"UK Gallon");
        store.header().economy_mode = 3;
        store.header().initial_mileage = 500;
    }
    std::mt19937 rng(23);
    const auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    // Costs with cents and mileages that repeat (zeros of both signs among
    // them), so that sums round and largest mileages tie.
    const auto make = [&] {
        const double mileages[] = {0.0, -0.0, 250, 1000.5, 1000.5, 99999};
        auto r = kind::make(
            2000 + pick(5), 1 + pick(12), 1 + pick(28), pick(24), pick(60), pick(60),
            pick(3) ? 100.0 * pick(3000) + 0.1 * pick(10) : mileages[pick(6)], 0.01 * pick(100000));
        if constexpr (std::is_same_v<TypeParam, fuel_store>) {
            r.fuel_purchased = 0.5 * pick(100);
            r.fuel_gauge = 0.25 * pick(200);
        }
        return r;
    };
    for (int i = 0; i < 40; ++i) (void)store.add_record(make());
    store.set_deferred_save(true);

    for (int step = 0; step < 1000; ++step) {
        if constexpr (std::is_same_v<TypeParam, fuel_store>) {
            // The account's economy figure changes through its header; the
            // next edit must not go on with the figure it had.
            if (step == 500) store.header().economy_mode = 0;
        }
        const int n = store.record_count();
        const int op = pick(10);
        if (op < 4 || n < 2) {
            (void)store.add_record(make());
        } else if (op < 7) {
            auto r = store.copy_record(pick(n));
            const std::u16string key = fixed_text(r.key);
            if (pick(2)) {
                auto other = make();  // a new date moves the record
                static_cast<record_stamp&>(other) = r;
                r = other;
            } else {
                // The same date keeps the record in place.
                const auto other = make();
                r.mileage = other.mileage;
                if constexpr (std::is_same_v<TypeParam, fuel_store>)
                    r.fuel_cost = other.fuel_cost;
                else
                    r.cost = other.cost;
            }
            (void)store.update_record(key, r);
        } else {
            (void)store.delete_record_at(pick(n));
        }
        const auto stepped = state_of(store);
        recompute_all(store);
        ASSERT_EQ(stepped, state_of(store)) << "after step " << step << " (operation " << op << ")";
    }
    // What reached the file is what the store holds, after the full save.
    ASSERT_TRUE(store.reset());
    TypeParam again;
    (void)again.load(data_folder, u"Car", false);
    const auto loaded = state_of(again);
    recompute_all(again);
    EXPECT_EQ(loaded, state_of(again));
    EXPECT_TRUE(dev.messages().empty());
}

TYPED_TEST(store_edits, records_keep_date_order_and_the_order_of_adding_on_equal_dates) {
    using kind = store_kind<TypeParam>;
    device_fixture dev;
    TypeParam store;
    (void)store.load(data_folder, u"Car", false);
    store.set_deferred_save(true);
    std::mt19937 rng(5);
    std::vector<std::pair<int, double>> added;  // day, mileage as a tag
    for (int i = 0; i < 300; ++i) {
        const int day = 1 + static_cast<int>(rng() % 20);
        (void)store.add_record(kind::make(2007, 5, day, 0, 0, 0, i));
        added.push_back({day, static_cast<double>(i)});
        if (i % 7 == 3) {
            // Deleting shifts the others but keeps their order.
            const int at = static_cast<int>(rng() % static_cast<unsigned>(store.record_count()));
            const double tag = store.record_at(at).mileage;
            (void)store.delete_record_at(at);
            std::erase_if(added, [&](const auto& a) { return a.second == tag; });
        }
    }
    std::stable_sort(added.begin(), added.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    ASSERT_EQ(store.record_count(), static_cast<int>(added.size()));
    for (int i = 0; i < store.record_count(); ++i)
        ASSERT_EQ(store.record_at(i).mileage, added[static_cast<std::size_t>(i)].second) << i;
    // The whole file, written at reset, holds the records in that order.
    const auto expected = image_of(store);
    ASSERT_TRUE(store.reset());
    EXPECT_EQ(dev.fs.bytes(file_of<TypeParam>(u"Car")), expected);
}

}  // namespace
