// The record-file engine, exercised through each of the four stores.

#include <unistd.h>

#include <climits>
#include <filesystem>

#include "core/test_store_support.h"
#include "platform/faulty_file_system.h"
#include "platform/host_file_system.h"

using namespace kelvane;
using namespace kelvane::testing;

namespace {

template <class Store>
class record_engine : public ::testing::Test {
protected:
    using kind = store_kind<Store>;
    device_fixture device;

    std::u16string name() const { return kind::dated ? u"Car" : u"Trip"; }
    std::u16string path() const { return file_of<Store>(name()); }
    std::vector<std::uint8_t> file() const { return device.fs.bytes(path()); }

    // A file of `count` records written by the store itself.
    std::vector<std::uint8_t> make_file(int count) {
        Store s;
        (void)s.load(data_folder, name(), false);
        for (int i = 0; i < count; ++i)
            EXPECT_TRUE(
                s.add_record(kind::make(2007, 1, 1 + i, 8, 0, 0, 1000.0 * (i + 1))).added());
        return file();
    }
};

using all_stores = ::testing::Types<fuel_store, service_store, fee_store, trip_store>;
TYPED_TEST_SUITE(record_engine, all_stores);

TYPED_TEST(record_engine, new_file_holds_common_header_and_stamped_record) {
    using kind = store_kind<TypeParam>;
    TypeParam store;
    EXPECT_EQ(store.load(data_folder, this->name(), false), load_result::missing);
    EXPECT_TRUE(this->device.messages().empty());
    store.header().next_record_number = 5;
    const std::u16string key = store.add_record(kind::make(2007, 3, 5, 10, 0, 0, 1234.5)).key;

    const std::u16string expected_key = this->name() + u"0000000005071004022533";
    EXPECT_EQ(key, expected_key);
    const auto bytes = this->file();
    ASSERT_EQ(bytes.size(), kind::header_size + kind::record_size);

    const auto header = common_header(1492, this->name(), data_folder, 6);
    EXPECT_EQ(slice(bytes, 0, 1492), header.bytes());

    byte_image record(140);
    record.text(0, u"DATA").i32(12, 5).text(16, expected_key);
    EXPECT_EQ(slice(bytes, kind::header_size, 140), record.bytes());
    byte_image mileage;
    mileage.f64(0, 1234.5);
    EXPECT_EQ(slice(bytes, kind::header_size + 168, 8), mileage.bytes());

    EXPECT_EQ(store.record_count(), 1);
    EXPECT_EQ(store.record_at(0).record_number, 5);
    EXPECT_EQ(fixed_text(store.record_at(0).key), expected_key);
}

TYPED_TEST(record_engine, reads_back_what_it_wrote_and_appends_with_keep) {
    using kind = store_kind<TypeParam>;
    const auto original = this->make_file(3);
    TypeParam store;
    ASSERT_EQ(store.load(data_folder, this->name(), false), load_result::loaded);
    EXPECT_FALSE(store.fresh());
    ASSERT_EQ(store.record_count(), 3);
    EXPECT_EQ(kind::mileage(store.record_at(2)), 3000.0);
    EXPECT_EQ(store.header().next_record_number, 3);
    // Outside the list is the caller's fault: a debug build stops there, a
    // release build gives a zero record (and says so on standard error).
    EXPECT_DEBUG_DEATH(EXPECT_EQ(store.record_at(7).record_number, 0), "position outside");

    // A second file read with keep follows the first; a missing one adds nothing.
    this->device.fs.put(data_folder + u"Other" + kind::extension, original);
    EXPECT_EQ(store.load(data_folder, u"Other", true), load_result::loaded);
    EXPECT_EQ(store.record_count(), 6);
    EXPECT_EQ(store.load(data_folder, u"Missing", true), load_result::missing);
    EXPECT_EQ(store.record_count(), 6);
    EXPECT_TRUE(this->device.messages().empty());
}

TYPED_TEST(record_engine, file_of_exactly_a_header_is_an_empty_store) {
    using kind = store_kind<TypeParam>;
    this->device.fs.put(this->path(), slice(this->make_file(1), 0, kind::header_size));
    TypeParam store;
    EXPECT_EQ(store.load(data_folder, this->name(), false), load_result::loaded);
    EXPECT_EQ(store.record_count(), 0);
    EXPECT_TRUE(this->device.messages().empty());
}

TYPED_TEST(record_engine, file_one_byte_short_of_a_header_is_refused) {
    using kind = store_kind<TypeParam>;
    this->device.fs.put(this->path(), slice(this->make_file(1), 0, kind::header_size - 1));
    TypeParam store;
    EXPECT_EQ(store.load(data_folder, this->name(), false), load_result::damaged);
    EXPECT_EQ(store.record_count(), 0);
    EXPECT_EQ(this->device.messages(), std::vector<std::u16string>{msg_format_error});
}

TYPED_TEST(record_engine, partial_last_record_is_left_out) {
    using kind = store_kind<TypeParam>;
    auto bytes = this->make_file(2);
    bytes.resize(bytes.size() + kind::record_size / 2, 0xAB);
    this->device.fs.put(this->path(), bytes);
    TypeParam store;
    ASSERT_EQ(store.load(data_folder, this->name(), false), load_result::loaded);
    EXPECT_EQ(store.record_count(), 2);
    EXPECT_EQ(kind::mileage(store.record_at(1)), 2000.0);

    // The next record lands where the piece was, leaving a whole file.
    EXPECT_TRUE(store.add_record(kind::make(2007, 2, 1, 8, 0, 0, 5000)).added());
    EXPECT_EQ(this->file().size(), kind::header_size + 3 * kind::record_size);
    TypeParam again;
    ASSERT_EQ(again.load(data_folder, this->name(), false), load_result::loaded);
    EXPECT_EQ(again.record_count(), 3);
    EXPECT_EQ(kind::mileage(again.record_at(2)), 5000.0);
}

// A record without its "DATA" tag is no record of this program, and a last
// piece shorter than a record is what an interrupted write left: both are
// left out, the owner is told which file it was, and the file is copied
// aside before the store writes over it.
TYPED_TEST(record_engine, damaged_records_and_a_cut_record_are_left_out_and_told) {
    using kind = store_kind<TypeParam>;
    auto bytes = this->make_file(3);
    bytes[kind::header_size + kind::record_size] = 'X';  // the second record's tag
    bytes.resize(bytes.size() + kind::record_size / 2, 0xAB);
    this->device.fs.put(this->path(), bytes);

    TypeParam store;
    ASSERT_EQ(store.load(data_folder, this->name(), false), load_result::loaded);
    ASSERT_EQ(store.record_count(), 2);
    EXPECT_EQ(kind::mileage(store.record_at(0)), 1000.0);
    EXPECT_EQ(kind::mileage(store.record_at(1)), 3000.0);
    EXPECT_EQ(store.leftovers().damaged_records, 1);
    EXPECT_TRUE(store.leftovers().cut_record);
    ASSERT_EQ(this->device.messages().size(), 1u);
    EXPECT_EQ(this->device.messages()[0],
              std::u16string(msg_records_left_out) + u"\n" + this->path());

    // The next write keeps the file as it was before it writes over it.
    EXPECT_FALSE(store.add_record(kind::make(2007, 2, 1, 8, 0, 0, 5000)).write_failed);
    EXPECT_EQ(this->device.fs.bytes(this->path() + u".unreadable"), bytes);
    TypeParam again;
    ASSERT_EQ(again.load(data_folder, this->name(), false), load_result::loaded);
    EXPECT_EQ(again.record_count(), 3);
    EXPECT_FALSE(again.leftovers().any());
    EXPECT_EQ(this->device.messages().size(), 1u);

    // A cut record alone says so.
    this->device.boxes.clear();
    auto cut = this->file();
    cut.resize(cut.size() - 10);
    this->device.fs.put(this->path(), cut);
    TypeParam third;
    ASSERT_EQ(third.load(data_folder, this->name(), false), load_result::loaded);
    EXPECT_EQ(third.record_count(), 2);
    EXPECT_EQ(this->device.messages(),
              std::vector<std::u16string>{std::u16string(msg_cut_record_left_out) + u"\n" +
                                          this->path()});
}

// A file longer than any record file is refused before it is read: a large
// zero-filled file must not fill the memory with millions of empty records.
TYPED_TEST(record_engine, oversized_file_is_refused_unread_and_zero_records_are_no_records) {
    using kind = store_kind<TypeParam>;
    namespace fs = std::filesystem;
    const auto root = fs::temp_directory_path() / ("kelvane-big-" + std::to_string(::getpid()));
    fs::remove_all(root);
    fs::create_directories(root / "Program Files" / "Kelvane");
    const auto header = slice(this->make_file(1), 0, kind::header_size);
    host_file_system host(root);
    scoped_services use_host({&host});
    const auto host_file =
        root / "Program Files" / "Kelvane" / (to_utf8(this->name()) + to_utf8(kind::extension));

    for (const bool oversized : {true, false}) {
        this->device.boxes.clear();
        const std::uint64_t records = oversized ? max_records_per_file + 1 : 20000;
        ASSERT_TRUE(write_file_atomically(host, this->path(), header.data(), header.size()));
        fs::resize_file(host_file,
                        kind::header_size + records * kind::record_size);  // zeros, sparse
        TypeParam store;
        const load_result loaded = store.load(data_folder, this->name(), false);
        EXPECT_EQ(store.record_count(), 0);
        if (oversized) {
            EXPECT_EQ(loaded, load_result::damaged);
            EXPECT_EQ(this->device.messages(), std::vector<std::u16string>{msg_format_error});
        } else {
            EXPECT_EQ(loaded, load_result::loaded);
            EXPECT_EQ(store.leftovers().damaged_records, 20000);
        }
    }
    fs::remove_all(root);
}

TYPED_TEST(record_engine, unreadable_file_is_kept_before_it_is_written_over) {
    using kind = store_kind<TypeParam>;
    auto bad = this->make_file(2);
    bad[2] = 'X';  // magic "DXKJ"
    this->device.fs.put(this->path(), bad);

    TypeParam store;
    EXPECT_EQ(store.load(data_folder, this->name(), false), load_result::damaged);
    EXPECT_EQ(this->device.messages(), std::vector<std::u16string>{msg_format_error});
    EXPECT_EQ(store.record_count(), 0);
    EXPECT_EQ(store.account_name(), this->name());

    EXPECT_FALSE(store.add_record(kind::make(2007, 5, 1, 8, 0, 0, 10)).key.empty());
    EXPECT_EQ(this->device.fs.bytes(this->path() + u".unreadable"), bad);
    EXPECT_EQ(this->file().size(), kind::header_size + kind::record_size);

    // A second unreadable file does not replace the first copy.
    auto worse = bad;
    worse[0] = 'Q';
    this->device.fs.put(this->path(), worse);
    TypeParam other;
    EXPECT_EQ(other.load(data_folder, this->name(), false), load_result::damaged);
    EXPECT_TRUE(other.add_record(kind::make(2007, 5, 1, 8, 0, 0, 10)).added());
    EXPECT_EQ(this->device.fs.bytes(this->path() + u".unreadable"), bad);
    EXPECT_EQ(this->device.fs.bytes(this->path() + u".unreadable2"), worse);
}

// A file refused for its magic gives the store nothing of its header: the
// next file written holds a fresh header for this account, not the other
// file's record counter, units, currency or totals.
TYPED_TEST(record_engine, refused_header_never_reaches_the_next_file) {
    using kind = store_kind<TypeParam>;
    byte_image odd(kind::header_size);
    for (std::size_t at = 0; at < kind::header_size; ++at) odd.u8(at, 0x5A);
    odd.text(0, u"DCKX").i32(1488, 4242);
    this->device.fs.put(this->path(), odd.bytes());

    // Read without a store (the accounts list), it is no header at all.
    const auto read = TypeParam::read_account_header(data_folder, this->name());
    EXPECT_EQ(read.result, load_result::damaged);
    EXPECT_EQ(bytes_of(read.header), std::vector<std::uint8_t>(kind::header_size, 0));

    TypeParam store;
    ASSERT_EQ(store.load(data_folder, this->name(), false), load_result::damaged);
    EXPECT_EQ(store.header().next_record_number, 0);
    const add_result added = store.add_record(kind::make(2007, 5, 1, 8, 0, 0, 10, 10));
    EXPECT_EQ(added.key, this->name() + u"0000000000071004022533");
    EXPECT_FALSE(added.write_failed);

    const auto bytes = this->file();
    ASSERT_EQ(bytes.size(), kind::header_size + kind::record_size);
    // What one record of cost 10 at mileage 10 makes of a fresh header.
    byte_image expected = common_header(kind::header_size, this->name(), data_folder, 1);
    if constexpr (kind::dated) expected.f64(1496, 10);                            // the total cost
    if constexpr (std::is_same_v<TypeParam, fuel_store>) expected.f64(1528, 10);  // current mileage
    EXPECT_EQ(slice(bytes, 0, kind::header_size), expected.bytes());
    EXPECT_EQ(slice(bytes, kind::header_size + 12, 4), byte_image().i32(0, 0).bytes());
    // The refused file itself is kept aside, whole.
    EXPECT_EQ(this->device.fs.bytes(this->path() + u".unreadable"), odd.bytes());
}

TYPED_TEST(record_engine, full_record_counter_refuses_the_add) {
    using kind = store_kind<TypeParam>;
    TypeParam store;
    (void)store.load(data_folder, this->name(), false);
    store.header().next_record_number = INT32_MAX - 1;
    const std::u16string last = store.add_record(kind::make(2007, 5, 1, 8, 0, 0, 10)).key;
    EXPECT_EQ(last, this->name() + u"2147483646071004022533");
    const auto before = this->file();

    EXPECT_EQ(store.add_record(kind::make(2007, 5, 2, 8, 0, 0, 20)).key, u"");
    EXPECT_EQ(this->device.messages(), std::vector<std::u16string>{msg_database_full});
    EXPECT_EQ(store.record_count(), 1);
    EXPECT_EQ(store.header().next_record_number, INT32_MAX);
    EXPECT_EQ(this->file(), before);
}

TYPED_TEST(record_engine, update_and_delete_of_missing_records_change_nothing) {
    using kind = store_kind<TypeParam>;
    this->make_file(2);
    const auto before = this->file();
    TypeParam store;
    (void)store.load(data_folder, this->name(), false);
    EXPECT_EQ(store.update_record(u"nokey", kind::make(2001, 1, 1, 0, 0, 0, 1)),
              change_result::not_found);
    EXPECT_EQ(store.delete_record(u"nokey"), change_result::not_found);
    EXPECT_EQ(store.delete_record_at(2), change_result::not_found);
    EXPECT_EQ(store.delete_record_at(-1), change_result::not_found);
    EXPECT_EQ(store.record_count(), 2);
    EXPECT_EQ(kind::mileage(store.record_at(0)), 1000.0);
    EXPECT_TRUE(store.reset());
    EXPECT_EQ(this->file(), before);
}

// Every open, write and replace that a full save makes is failed in turn:
// each failure is reported once and leaves the previous file as it was.
TYPED_TEST(record_engine, failed_save_leaves_previous_file_intact) {
    using kind = store_kind<TypeParam>;
    this->make_file(3);
    const auto before = this->file();
    faulty_file_system faulty(this->device.fs);
    scoped_services use_faulty({&faulty});

    enum { open, write, replace };
    for (int point : {open, write, replace}) {
        for (int k = 1;; ++k) {
            ASSERT_LT(k, 20) << "a save should not need this many operations";
            TypeParam store;
            ASSERT_EQ(store.load(data_folder, this->name(), false), load_result::loaded);
            store.header().next_record_number = 77;
            auto changed = kind::make(2007, 1, 1, 8, 0, 0, 4242);
            std::memcpy(changed.key, store.record_at(0).key, sizeof changed.key);
            this->device.boxes.clear();
            faulty.fail_open(point == open ? k : 0);
            faulty.fail_write(point == write ? k : 0);
            faulty.fail_replace(point == replace ? k : 0);
            const bool saved = store.save_all();
            faulty.fail_open(0), faulty.fail_write(0), faulty.fail_replace(0);
            if (saved) {
                EXPECT_TRUE(this->device.messages().empty());
                EXPECT_NE(this->file(), before);
                this->device.fs.put(this->path(), before);
                break;
            }
            EXPECT_EQ(this->file(), before) << "failure point " << point << " k " << k;
            EXPECT_EQ(this->device.messages(), std::vector<std::u16string>{msg_write_failed});
            EXPECT_EQ(this->device.fs.files().size(), 1u) << "no temporary file is left";
        }
    }
}

}  // namespace

namespace kelvane {
namespace {

// A newest record reaches the file before the header that counts it: when
// only the header write fails, the record is on disk all the same, and the
// add says so, so that nobody adds it a second time.
TEST(appending, a_header_write_cut_after_the_record_reports_the_record_that_is_there) {
    testing::device_fixture device;
    using kind = store_kind<fee_store>;
    {
        fee_store store;
        (void)store.load(data_folder, u"Car", false);
        ASSERT_TRUE(store.add_record(kind::make(2007, 1, 1, 8, 0, 0, 100, 5)).added());
        ASSERT_TRUE(store.add_record(kind::make(2007, 1, 2, 8, 0, 0, 200, 6)).added());
    }
    fee_store store;
    (void)store.load(data_folder, u"Car", false);
    faulty_file_system faulty(device.fs);
    scoped_services use_faulty({&faulty});
    faulty.fail_write(2);  // the record's write goes through, the header's does not
    const add_result added = store.add_record(kind::make(2007, 1, 3, 8, 0, 0, 300, 7));
    faulty.fail_write(0);
    EXPECT_TRUE(added.added());
    EXPECT_FALSE(added.write_failed);
    EXPECT_TRUE(device.messages().empty());
    fee_store reread;
    ASSERT_EQ(reread.load(data_folder, u"Car", false), load_result::loaded);
    ASSERT_EQ(reread.record_count(), 3);
    EXPECT_EQ(reread.header().total_cost, 18);
}

}  // namespace
}  // namespace kelvane
