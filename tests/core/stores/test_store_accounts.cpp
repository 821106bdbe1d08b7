// What the three account stores share: records kept in date order, the file
// work of each change with and without deferred saving, bulk adding.

#include <algorithm>
#include <climits>
#include <numeric>
#include <random>

#include "core/test_store_support.h"
#include "platform/faulty_file_system.h"

using namespace kelvane;
using namespace kelvane::testing;

namespace {

template <class Store>
class account_store_engine : public ::testing::Test {
protected:
    using kind = store_kind<Store>;
    device_fixture device;

    std::u16string path() const { return file_of<Store>(u"Car"); }
    std::vector<std::uint8_t> file() const { return device.fs.bytes(path()); }

    static auto on_day(int day, double mileage, double cost = 10, int hour = 8) {
        return kind::make(2007, 1, day, hour, 0, 0, mileage, cost);
    }
    static std::vector<int> numbers(const Store& s) {
        std::vector<int> out;
        for (int i = 0; i < s.record_count(); ++i) out.push_back(s.record_at(i).record_number);
        return out;
    }
    // A saved file of records on days 10, 20 and 30, loaded with deferred saving.
    void open_three(Store& s, bool deferred) {
        {
            Store writer;
            (void)writer.load(data_folder, u"Car", false);
            for (int day : {10, 20, 30})
                EXPECT_TRUE(writer.add_record(on_day(day, day * 100.0)).added());
        }
        ASSERT_EQ(s.load(data_folder, u"Car", false), load_result::loaded);
        s.set_deferred_save(deferred);
    }
    std::vector<std::uint8_t> records_on_disk() const {
        return slice(file(), kind::header_size, SIZE_MAX);
    }
};

using account_stores = ::testing::Types<fuel_store, service_store, fee_store>;
TYPED_TEST_SUITE(account_store_engine, account_stores);

TYPED_TEST(account_store_engine, records_stay_in_date_order_equal_dates_in_order_of_adding) {
    TypeParam store;
    (void)store.load(data_folder, u"Car", false);
    EXPECT_TRUE(store.add_record(this->on_day(10, 1)).added());  // 0
    EXPECT_TRUE(store.add_record(this->on_day(5, 2)).added());   // 1
    EXPECT_TRUE(store.add_record(this->on_day(10, 3)).added());  // 2
    EXPECT_TRUE(store.add_record(this->on_day(1, 4)).added());   // 3
    EXPECT_TRUE(store.add_record(this->on_day(10, 5)).added());  // 4
    EXPECT_TRUE(store.add_record(this->on_day(5, 6)).added());   // 5
    EXPECT_EQ(this->numbers(store), (std::vector<int>{3, 1, 5, 0, 2, 4}));

    // Seconds count: one second later is later.
    EXPECT_TRUE(
        store.add_record(store_kind<TypeParam>::make(2007, 1, 1, 8, 0, 1, 7)).added());  // 6
    EXPECT_TRUE(
        store.add_record(store_kind<TypeParam>::make(2007, 1, 1, 7, 59, 59, 8)).added());  // 7
    EXPECT_EQ(this->numbers(store), (std::vector<int>{7, 3, 6, 1, 5, 0, 2, 4}));

    TypeParam reread;
    (void)reread.load(data_folder, u"Car", false);
    EXPECT_EQ(this->numbers(reread), this->numbers(store));
}

TYPED_TEST(account_store_engine, long_account_name_cuts_key_to_sixty_characters) {
    TypeParam store;
    const std::u16string fifty(50, u'n');
    (void)store.load(data_folder, fifty, false);
    EXPECT_EQ(store.add_record(this->on_day(1, 1)).key, fifty + u"0000000000");
    EXPECT_EQ(fixed_text(store.record_at(0).key), fifty + u"0000000000");
}

TYPED_TEST(account_store_engine, update_keeps_position_unless_the_date_changes) {
    TypeParam store;
    (void)store.load(data_folder, u"Car", false);
    std::vector<std::u16string> keys;
    for (int i = 0; i < 3; ++i) keys.push_back(store.add_record(this->on_day(10, i)).key);

    auto changed = store.copy_record(1);
    changed.mileage = 99;
    ASSERT_EQ(store.update_record(keys[1], changed), change_result::done);
    EXPECT_EQ(this->numbers(store), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(store.record_at(1).mileage, 99.0);

    changed.day = 11;  // later than the others
    ASSERT_EQ(store.update_record(keys[1], changed), change_result::done);
    EXPECT_EQ(this->numbers(store), (std::vector<int>{0, 2, 1}));

    changed.day = 10;  // back among equals: after them
    ASSERT_EQ(store.update_record(keys[1], changed), change_result::done);
    EXPECT_EQ(this->numbers(store), (std::vector<int>{0, 2, 1}));

    changed.day = 9;
    ASSERT_EQ(store.update_record(keys[1], changed), change_result::done);
    EXPECT_EQ(this->numbers(store), (std::vector<int>{1, 0, 2}));

    ASSERT_EQ(store.delete_record(keys[0]), change_result::done);
    EXPECT_EQ(this->numbers(store), (std::vector<int>{1, 2}));
    EXPECT_EQ(store.delete_record(keys[0]), change_result::not_found);
    ASSERT_EQ(store.delete_record_at(1), change_result::done);
    EXPECT_EQ(this->numbers(store), (std::vector<int>{1}));
}

TYPED_TEST(account_store_engine, an_update_from_a_copy_without_the_stamp_keeps_key_and_number) {
    // An editor that saves a new record twice (the first write failed) holds
    // the record as typed, without the key and number the store gave it.
    TypeParam store;
    (void)store.load(data_folder, u"Car", false);
    const std::u16string first = store.add_record(this->on_day(10, 1)).key;
    const std::u16string key = store.add_record(this->on_day(20, 2)).key;
    for (int day : {20, 5}) {  // in place, then moved by its date
        auto typed = this->on_day(day, 7);
        ASSERT_EQ(store.update_record(key, typed), change_result::done);
    }
    TypeParam reread;
    ASSERT_EQ(reread.load(data_folder, u"Car", false), load_result::loaded);
    ASSERT_EQ(reread.record_count(), 2);
    EXPECT_EQ(fixed_text(reread.record_at(0).key), key);
    EXPECT_EQ(reread.record_at(0).record_number, 1);
    EXPECT_EQ(reread.record_at(0).mileage, 7.0);
    EXPECT_EQ(fixed_text(reread.record_at(1).key), first);
    EXPECT_EQ(reread.delete_record(key), change_result::done);
}

TYPED_TEST(account_store_engine, newest_record_is_appended_in_place) {
    using kind = store_kind<TypeParam>;
    TypeParam store;
    this->open_three(store, true);
    const auto before = this->file();
    faulty_file_system counting(this->device.fs);
    scoped_services use_counting({&counting});
    counting.reset_counters();

    EXPECT_TRUE(store.add_record(this->on_day(30, 3500))
                    .added());  // same date as the newest: still an append
    EXPECT_EQ(counting.opens(), 1);
    EXPECT_EQ(counting.replaces(), 0);
    EXPECT_FALSE(store.dirty());
    EXPECT_EQ(this->file(), image_of(store));
    // Records before the newest are untouched; the fuel store rewrites the
    // previous newest, whose economy now has a following fill-up.
    const std::size_t untouched =
        kind::header_size + (TypeParam::rewrites_previous ? 2 : 3) * kind::record_size;
    EXPECT_EQ(slice(this->file(), kind::header_size, untouched - kind::header_size),
              slice(before, kind::header_size, untouched - kind::header_size));
    EXPECT_TRUE(this->device.messages().empty());
}

TYPED_TEST(account_store_engine, deferred_changes_reach_the_file_at_reset) {
    using kind = store_kind<TypeParam>;
    TypeParam store;
    this->open_three(store, true);
    const auto old_records = this->records_on_disk();

    const auto key = store.add_record(this->on_day(15, 1500, 5)).key;  // in the middle
    EXPECT_TRUE(store.dirty());
    EXPECT_EQ(this->records_on_disk(), old_records);
    EXPECT_EQ(slice(this->file(), 0, kind::header_size), bytes_of(store.header()));
    EXPECT_EQ(kind::total(store.header()), 35.0);

    // Once dirty, even a newest record only refreshes the header.
    EXPECT_TRUE(store.add_record(this->on_day(31, 3100, 1)).added());
    EXPECT_EQ(this->records_on_disk(), old_records);
    EXPECT_EQ(kind::total(TypeParam::read_account_header(data_folder, u"Car").header), 36.0);

    auto changed = store.copy_record(1);
    changed.day = 25;
    EXPECT_EQ(change_result::done, store.update_record(key, changed));
    EXPECT_EQ(change_result::done, store.delete_record_at(0));
    EXPECT_EQ(this->records_on_disk(), old_records);
    EXPECT_EQ(kind::total(TypeParam::read_account_header(data_folder, u"Car").header), 26.0);

    const auto expected = image_of(store);
    EXPECT_TRUE(store.reset());
    EXPECT_TRUE(store.fresh());
    EXPECT_EQ(store.record_count(), 0);
    EXPECT_EQ(this->file(), expected);
    EXPECT_TRUE(this->device.messages().empty());
}

TYPED_TEST(account_store_engine, without_deferred_saving_every_change_rewrites_the_file) {
    using kind = store_kind<TypeParam>;
    TypeParam store;
    this->open_three(store, false);
    const auto key = store.add_record(this->on_day(15, 1500, 5)).key;
    EXPECT_FALSE(store.dirty());
    EXPECT_EQ(this->file(), image_of(store));
    EXPECT_EQ(kind::total(store.header()), 35.0);

    EXPECT_EQ(change_result::done, store.delete_record(key));
    EXPECT_EQ(this->file(), image_of(store));
    EXPECT_EQ(kind::total(store.header()), 30.0);

    auto changed = store.copy_record(0);
    changed.day = 31;
    changed.mileage = 3100;
    EXPECT_EQ(change_result::done, store.update_record(fixed_text(changed.key), changed));
    EXPECT_EQ(this->file(), image_of(store));
}

TYPED_TEST(account_store_engine, totals_count_the_first_record) {
    using kind = store_kind<TypeParam>;
    TypeParam store;
    (void)store.load(data_folder, u"Car", false);
    store.set_deferred_save(true);
    const auto key = store.add_record(this->on_day(10, 100, 12.5)).key;
    EXPECT_EQ(kind::total(TypeParam::read_account_header(data_folder, u"Car").header), 12.5);
    EXPECT_TRUE(store.add_record(this->on_day(11, 200, 1)).added());
    EXPECT_EQ(kind::total(TypeParam::read_account_header(data_folder, u"Car").header), 13.5);
    EXPECT_EQ(change_result::done, store.delete_record_at(1));
    EXPECT_EQ(change_result::done, store.delete_record(key));
    EXPECT_EQ(kind::total(TypeParam::read_account_header(data_folder, u"Car").header), 0.0);
}

// An append or header refresh that the file does not take is reported once;
// the change stays in memory and the full save at reset writes it. A header
// write that fails after the appended record reached the file is no failure
// of the add: the record is there.
TYPED_TEST(account_store_engine, failed_in_place_writes_are_reported_and_saved_at_reset) {
    enum { open, write };
    for (bool middle : {false, true}) {
        for (int point : {open, write}) {
            for (int k = 1; k <= (point == write && !middle ? 2 : 1); ++k) {
                device_fixture dev;
                TypeParam store;
                this->open_three(store, true);
                faulty_file_system faulty(dev.fs);
                {
                    scoped_services use_faulty({&faulty});
                    faulty.fail_open(point == open ? k : 0);
                    faulty.fail_write(point == write ? k : 0);
                    const add_result added = store.add_record(this->on_day(middle ? 15 : 31, 3100));
                    EXPECT_FALSE(added.key.empty());
                    // The caller learns of it: the record is kept, the file owes it.
                    const bool record_on_disk = !middle && point == write && k == 2;
                    EXPECT_EQ(added.write_failed, !record_on_disk);
                    faulty.fail_open(0), faulty.fail_write(0);
                }
                if (!(!middle && point == write && k == 2)) {
                    EXPECT_EQ(dev.messages(), std::vector<std::u16string>{msg_write_failed})
                        << "middle " << middle << " point " << point << " k " << k;
                }
                EXPECT_TRUE(store.dirty());
                const auto expected = image_of(store);
                EXPECT_TRUE(store.reset());
                EXPECT_EQ(dev.fs.bytes(file_of<TypeParam>(u"Car")), expected);
            }
        }
    }
}

// A newest record's append stopped after any change, with any part of a
// write on the medium: the file loads with every earlier record, and its
// totals, in the store and in the header the accounts list reads, are those
// of the records it holds.
TYPED_TEST(account_store_engine, append_stopped_anywhere_loads_with_totals_of_its_records) {
    using kind = store_kind<TypeParam>;
    for (const bool deferred : {false, true}) {
        device_fixture dev;
        {
            TypeParam writer;
            this->open_three(writer, deferred);
        }
        const auto original = dev.fs.bytes(this->path());
        std::vector<std::u16string> earlier;
        {
            TypeParam s;
            ASSERT_EQ(s.load(data_folder, u"Car", false), load_result::loaded);
            for (int i = 0; i < 3; ++i) earlier.push_back(fixed_text(s.record_at(i).key));
        }
        faulty_file_system faulty(dev.fs);
        scoped_services use_faulty({&faulty});
        const auto append = [&] {
            TypeParam s;
            ASSERT_EQ(s.load(data_folder, u"Car", false), load_result::loaded);
            s.set_deferred_save(deferred);
            (void)s.add_record(this->on_day(31, 3100, 7));
            // Dropped without a reset: the program was killed.
        };
        faulty.reset_counters();
        append();
        const int changes = faulty.changes();
        ASSERT_GT(changes, 0);
        for (int k = 1; k <= changes; ++k) {
            for (const std::int64_t kept : {-1, 0, 100, 1000}) {
                dev.fs.put(this->path(), original);
                faulty.stop_after_change(k, kept);
                append();
                faulty.stop_after_change(0);

                TypeParam after;
                ASSERT_EQ(after.load(data_folder, u"Car", false), load_result::loaded);
                ASSERT_GE(after.record_count(), 3) << k << " " << kept;
                double sum = 0;
                std::int32_t highest = -1;
                for (int i = 0; i < after.record_count(); ++i) {
                    const auto& r = after.record_at(i);
                    if (i < 3) {
                        EXPECT_EQ(fixed_text(r.key), earlier[i]) << k << " " << kept;
                    }
                    sum += kind::cost(r);
                    highest = std::max(highest, r.record_number);
                }
                EXPECT_EQ(kind::total(after.header()), sum) << k << " " << kept;
                EXPECT_EQ(kind::total(TypeParam::read_account_header(data_folder, u"Car").header),
                          sum)
                    << k << " " << kept;
                EXPECT_GT(after.header().next_record_number, highest);
            }
        }
    }
}

// On a full medium the records cannot go to the end of the file but the
// header still fits in place: however many adds are refused, a file left that
// way (the program killed before the medium freed up) loads with totals that
// count only the records it holds.
TYPED_TEST(account_store_engine, adds_refused_by_a_full_medium_never_count_in_the_totals) {
    using kind = store_kind<TypeParam>;
    TypeParam store;
    this->open_three(store, true);
    const double before = kind::total(store.header());
    faulty_file_system faulty(this->device.fs);
    {
        scoped_services use_faulty({&faulty});
        faulty.set_full(true);
        // The first refusal is reported; from then on the store owes a full save.
        EXPECT_TRUE(store.add_record(this->on_day(31, 3100, 1000)).write_failed);
        for (int i = 1; i < 10; ++i) (void)store.add_record(this->on_day(31, 3100 + i, 1000));
        EXPECT_TRUE(store.dirty());
    }
    TypeParam after;
    ASSERT_EQ(after.load(data_folder, u"Car", false), load_result::loaded);
    EXPECT_EQ(after.record_count(), 3);
    EXPECT_EQ(kind::total(after.header()), before);
    EXPECT_EQ(kind::total(TypeParam::read_account_header(data_folder, u"Car").header), before);
}

// Date fields of any 32-bit value (a damaged record, a hand-made file) sort
// and select by the moment they stand for, without overflowing on the way.
TYPED_TEST(account_store_engine, damaged_dates_sort_and_select_by_what_they_say) {
    using kind = store_kind<TypeParam>;
    constexpr int lo = INT32_MIN, hi = INT32_MAX;
    TypeParam store;
    (void)store.load(data_folder, u"Car", false);
    EXPECT_TRUE(store.add_record(kind::make(2007, 1, 1, 0, 0, 0, 100)).added());
    EXPECT_TRUE(store.add_record(kind::make(2007, lo, 1, 0, 0, 0, 200)).added());
    EXPECT_TRUE(store.add_record(kind::make(hi, hi, hi, hi, hi, hi, 300)).added());
    EXPECT_TRUE(store.add_record(kind::make(2007, 1, lo, lo, lo, lo, 400)).added());
    std::vector<double> order;
    for (int i = 0; i < store.record_count(); ++i)
        order.push_back(kind::mileage(store.record_at(i)));
    EXPECT_EQ(order, (std::vector<double>{200, 400, 100, 300}));

    selection_limits limits;
    limits.from = local_time{2000, 1, 1};
    limits.to = local_time{lo, lo, lo, lo, lo, lo};
    store.select_records(limits);
    EXPECT_EQ(store.selected_count(), 0);
    limits.to.reset();
    store.select_records(limits);
    EXPECT_EQ(store.selected_count(), 2);
}

TYPED_TEST(account_store_engine, selection_bounds_are_inclusive_and_zero_is_a_bound) {
    using kind = store_kind<TypeParam>;
    TypeParam store;
    (void)store.load(data_folder, u"Car", false);
    EXPECT_TRUE(store.add_record(kind::make(2007, 1, 1, 0, 0, 0, 0)).added());
    EXPECT_TRUE(store.add_record(kind::make(2007, 1, 2, 0, 0, 0, 100)).added());
    EXPECT_TRUE(store.add_record(kind::make(2007, 1, 2, 23, 59, 59, 200)).added());
    EXPECT_TRUE(store.add_record(kind::make(2007, 1, 3, 0, 0, 0, 300)).added());

    const auto mileages = [&](const selection_limits& limits) {
        store.select_records(limits);
        std::vector<double> out;
        typename TypeParam::record_type r;
        while (store.next_selected(r)) out.push_back(r.mileage);
        EXPECT_EQ(static_cast<int>(out.size()), store.selected_count());
        return out;
    };
    EXPECT_EQ(mileages({}), (std::vector<double>{0, 100, 200, 300}));
    EXPECT_EQ(mileages({std::nullopt, std::nullopt, -1.0, 0.0}), (std::vector<double>{0}));
    EXPECT_EQ(mileages({std::nullopt, std::nullopt, 100.0, 200.0}),
              (std::vector<double>{100, 200}));
    selection_limits day2{local_time{2007, 1, 2, 0, 0, 0}, local_time{2007, 1, 2, 23, 59, 59}};
    EXPECT_EQ(mileages(day2), (std::vector<double>{100, 200}));

    // A deletion ends the selection; it must be made again.
    store.select_records({});
    EXPECT_EQ(change_result::done, store.delete_record_at(0));
    typename TypeParam::record_type r;
    EXPECT_FALSE(store.next_selected(r));
}

// Bulk adding must leave exactly the file and the list that the same adds
// one by one leave, whatever the state the store starts from.
struct bulk_case {
    bool deferred;
    int start_records;
    bool start_dirty;
    bool shuffled;
};

TYPED_TEST(account_store_engine, bulk_adds_leave_what_single_adds_leave) {
    using kind = store_kind<TypeParam>;
    const bulk_case cases[] = {
        {true, 3, false, false}, {true, 0, false, false}, {true, 3, true, false},
        {true, 3, false, true},  {true, 0, false, true},  {false, 3, false, false},
        {false, 3, false, true}, {false, 0, false, true}, {true, 3, true, true},
    };
    for (const bulk_case& c : cases) {
        const auto run = [&](bool bulk) {
            device_fixture dev;
            TypeParam store;
            (void)store.load(data_folder, u"Car", false);
            for (int i = 0; i < c.start_records; ++i)
                EXPECT_TRUE(
                    store.add_record(kind::make(2007, 3, 10 + i, 8, 0, 0, 1000 + 10.0 * i, 3))
                        .added());
            store.set_deferred_save(c.deferred);
            if (c.start_dirty) {
                auto r = store.copy_record(0);
                r.mileage += 1;
                EXPECT_EQ(change_result::done, store.update_record(fixed_text(r.key), r));
            }
            std::vector<int> days(40);
            std::iota(days.begin(), days.end(), 0);
            if (c.shuffled) std::shuffle(days.begin(), days.end(), std::mt19937(7));
            if (bulk) store.begin_bulk();
            for (int d : days) {
                dev.clock.advance(1);
                EXPECT_TRUE(store
                                .add_record(kind::make(2007, 4, 1 + d % 20, d % 3, 0, 0,
                                                       2000 + 7.0 * d, 1 + d))
                                .added());
            }
            if (bulk) {
                EXPECT_TRUE(store.end_bulk());
            }
            return std::make_tuple(dev.fs.bytes(file_of<TypeParam>(u"Car")), image_of(store),
                                   store.dirty(), dev.messages());
        };
        EXPECT_EQ(run(true), run(false))
            << "deferred " << c.deferred << ", start records " << c.start_records << ", dirty "
            << c.start_dirty << ", shuffled " << c.shuffled;
    }
}

// A bulk kept in memory (an import that writes its files as a set) never
// writes the store's own file, whatever order its records come in, and
// leaves the list that the same adds written to the file leave.
TYPED_TEST(account_store_engine, bulk_in_memory_never_touches_the_file) {
    using kind = store_kind<TypeParam>;
    for (const bool deferred : {false, true}) {
        device_fixture dev;
        TypeParam store;
        (void)store.load(data_folder, u"Car", false);
        for (int i = 0; i < 3; ++i)
            EXPECT_TRUE(
                store.add_record(kind::make(2007, 3, 10 + i, 8, 0, 0, 1000 + 10.0 * i, 3)).added());
        store.set_deferred_save(deferred);
        const auto before = dev.fs.bytes(file_of<TypeParam>(u"Car"));
        TypeParam written = store;
        store.begin_bulk_in_memory(3);
        written.begin_bulk(3);
        // The newest first, then one out of order: the point where a written
        // bulk hands its appends to the file.
        for (const int day : {20, 21, 5}) {
            const auto r = kind::make(2007, 3, day, 8, 0, 0, 2000 + day, 1);
            EXPECT_TRUE(store.add_record(r).added());
            EXPECT_EQ(before, dev.fs.bytes(file_of<TypeParam>(u"Car"))) << "deferred " << deferred;
        }
        store.end_bulk_in_memory();
        EXPECT_EQ(before, dev.fs.bytes(file_of<TypeParam>(u"Car"))) << "deferred " << deferred;
        for (const int day : {20, 21, 5})
            EXPECT_TRUE(
                written.add_record(kind::make(2007, 3, day, 8, 0, 0, 2000 + day, 1)).added());
        (void)written.end_bulk();
        EXPECT_EQ(image_of(written), image_of(store)) << "deferred " << deferred;
    }
}

}  // namespace
