#pragma once
// The record-file engine shared by the four stores. A record file is a
// fixed-size header followed by fixed-size records; in memory the records sit
// in a vector in file order. The three account stores keep that order sorted
// by record date (equal dates in the order of adding) and append a new newest
// record to their file at once; the trip store keeps the order of adding and
// rewrites its file on every change (it brings its own add/update/delete).
// The engine's functions are compiled once, in record_store.cpp, for the four
// stores; a fifth store adds its line there.
//
// Derived supplies (CRTP):
//   static constexpr std::u16string_view extension;  e.g. u".ful"
//   static constexpr bool rewrites_previous;  the append write rewrites the previous last record
//   void recompute_derived();   header totals (and economies) from all records
//   void start_derived(std::size_t count);   the same, worked out while a load
//   void derive_loaded(R* list, std::size_t from, std::size_t to);   reads: list[from,
//   void finish_derived();      to) arrived after list[0, from) (list[0] is the first
//                               record of the list); finish ends what start began
//   void before_full_save();    what save_all refreshes before writing
//   void on_newest_appended();  totals after records_.back() was appended
//   void after_insert(std::size_t position);             derived values after a
//   void after_erase(std::size_t position, const Record& removed);   change in the
//   void after_replace(std::size_t position, const Record& old);     middle, kept as a
//                               full recompute would leave them
//   bool derived_current() const;  false when the header changed what the derived
//                               values depend on (a full recompute is owed)
// Base is account_store for the account stores (whose virtuals the engine's
// functions of the same names implement) and record_store_no_base for trips.

#include <algorithm>
#include <cassert>
#include <climits>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "core/common/load_result.h"
#include "core/common/messages.h"
#include "core/common/problems.h"
#include "core/common/text.h"
#include "core/stores/placed_records.h"
#include "core/stores/record_layout.h"
#include "core/stores/selection_limits.h"
#include "platform/services.h"

namespace kelvane {

struct record_store_no_base {};

// Records of the account stores carry a date; trips do not.
template <class R>
concept dated_record = requires(const R& r) {
    r.year;
};

inline constexpr char16_t record_magic[] = u"DCKJ";
inline constexpr char16_t record_tag[] = u"DATA";

// What adding a record did.
struct [[nodiscard]] add_result {
    // The new record's key; empty when the store refused the record (its
    // record counter is exhausted), and then nothing was added.
    std::u16string key;
    // The record is in the store, but its file could not take it (the owner
    // was told). The store owes a full save, which writes it.
    bool write_failed = false;

    bool added() const { return !key.empty(); }
};

// What an update or a deletion did.
// clang-format off
enum class [[nodiscard]] change_result {
    done,
    not_found,     // no record has the key or position; nothing changed
    write_failed,  // changed in memory; the file could not take it (the owner was told)
};
// clang-format on

// What a load left out of a file it read: the records that are damaged
// (without their "DATA" tag) and a last piece shorter than a record (the
// remains of an interrupted write). The owner is told, and the file is
// copied aside before the store writes over it.
struct load_leftovers {
    int damaged_records = 0;
    bool cut_record = false;

    bool any() const { return damaged_records > 0 || cut_record; }
};

// No vehicle comes near this many records in one file; a longer file is
// damaged (or no record file), and reading it would take the machine's memory.
inline constexpr std::int64_t max_records_per_file = 1000000;

// A header read from an account's file without a store.
template <class Header>
struct [[nodiscard]] header_read {
    Header header;  // all zero unless the file was read and is a record file
    load_result result;
};

// Key of a record added as number `number` at moment `added` to `account`.
std::u16string make_record_key(std::u16string_view account, std::int32_t number,
                               const local_time& added);
// Tells, once per program run, that a caller asked for a record position
// outside a store: a fault of the caller that must not pass unnoticed.
void report_position_outside(int position, int count);
// Name beside `path` under which an unreadable file is kept ("<path>.unreadable",
// then "<path>.unreadable2", ...): the first one that does not exist yet.
std::u16string unreadable_copy_path(file_system& fs, std::u16string_view path);

template <class Derived, class Header, class Record, class Base>
class record_store : public Base {
    static_assert(std::is_base_of_v<record_file_header, Header>);
    static_assert(std::is_base_of_v<record_stamp, Record>);
    // Headers and records go to and from the files as their bytes.
    static_assert(std::is_trivially_copyable_v<Header> && std::is_trivially_copyable_v<Record>);

public:
    using header_struct = Header;
    using record_type = Record;
    // A load reads this much at a time, so that each piece is still in the
    // processor's cache when its records are taken.
    static constexpr std::size_t load_piece_bytes = std::size_t{2} << 20;

    record_store() { clear_memory(); }

    // Empties the store unless keep is set, then reads folder + name + extension.
    // A missing file leaves the store empty but named, so that the next write
    // creates it. A damaged file (shorter than a header, not a record file,
    // or longer than any record file) is reported and nothing of it
    // is taken: not its records and not its header, so its units, currency
    // or record counter never reach the next file this store writes.
    // Damaged records and a cut last record are left out (leftovers() says
    // so; the owner is told). Without keep, the header's totals and record
    // counter are made to agree with the records read: an interrupted write
    // can leave them behind or ahead, and the header on disk is then set
    // right as well.
    load_result load(std::u16string_view folder, std::u16string_view name, bool keep);
    // What the loads since the last reset left out.
    const load_leftovers& leftovers() const { return leftovers_; }
    // Makes room for the records of these accounts' files besides those
    // held, so that loading them one after another (keep) reads every record
    // straight into its place and moves none read before. The files are
    // only looked at; one that cannot be looked at takes no room.
    void make_room_for(std::u16string_view folder, const std::vector<std::u16string>& names) {
        std::size_t more = 0;
        for (const std::u16string& name : names) {
            const file_stamp s = device_files().stamp(file_path(folder, name));
            if (!s.known || !s.exists) continue;
            const std::int64_t records = (s.size - static_cast<std::int64_t>(header_size)) /
                                         static_cast<std::int64_t>(record_size);
            // A file longer than any record file is refused by its load.
            if (records > 0 && records <= max_records_per_file)
                more += static_cast<std::size_t>(records);
        }
        if (more > 0) records_.reserve(records_.size() + more);
    }
    // Writes deferred changes, then empties the store. False when changes
    // were owed and could not be written (the owner was told; they are gone).
    [[nodiscard]] bool reset();
    // Rewrites the whole file through a temporary file; true on success.
    // False, writing nothing, when the store has no account name.
    [[nodiscard]] bool save_all();
    // Writes what save_all would write to another path instead (a file that
    // is to replace the store's own together with others), and shows
    // nothing: the caller reports the change as a whole. A file of the
    // store's that failed to load is copied aside first, as before any write
    // over it. Once the written file is in place, clear_dirty says so.
    [[nodiscard]] bool write_whole_file_to(std::u16string_view path);

    // Stamps the record with key and number and inserts it by date.
    add_result add_record(const Record& record);
    // Replaces the record with this key; the stored record keeps its key and number.
    change_result update_record(std::u16string_view key, const Record& record);
    change_result delete_record(std::u16string_view key);
    change_result delete_record_at(int position);

    int record_count() const { return static_cast<int>(records_.size()); }
    // Position 0 is the oldest record. Asking for a position outside the
    // list is a fault of the caller: a debug build stops at once; a release
    // build says so on standard error (once) and gives an all-zero record,
    // so that the owner's data is never touched because of it.
    const Record& record_at(int position) const;
    Record copy_record(int position) const { return record_at(position); }

    void select_records(const selection_limits& limits);
    int selected_count() const { return static_cast<int>(selection_.size()); }
    // Copies the record under the cursor and advances; false at the end.
    bool next_selected(Record& out);
    // The record under the cursor, where the store holds it until its next
    // change, and advances; nullptr at the end.
    const Record* next_selected();

    // Whether load would take the file at path or refuse it as damaged
    // (shorter than a header, not a record file, longer than any); reads the
    // header only and shows nothing.
    static load_result check_file(std::u16string_view path);

    // The header of any account's file, without touching a store. A damaged
    // file is reported and gives an all-zero header.
    static header_read<Header> read_account_header(std::u16string_view folder,
                                                   std::u16string_view name);

    Header& header() { return header_; }
    const Header& header() const { return header_; }

    // The program's mark for this store kind, raised by every load, reset,
    // full save, append write and change of a record (the trips page
    // rebuilds its list when one is raised); nullptr for stores the program
    // does not watch.
    void set_change_mark(bool* mark) { change_mark_ = mark; }

    void set_deferred_save(bool on) { deferred_ = on; }
    bool deferred_save() const { return deferred_; }
    bool dirty() const { return dirty_; }
    void clear_dirty() { dirty_ = false; }
    bool fresh() const { return fresh_; }
    std::u16string account_name() const { return fixed_text(header_.account_name); }

    // Between begin_bulk and end_bulk, add_record stamps records as usual but
    // keeps them in memory; end_bulk merges them and does the file work once,
    // leaving the same file as the same adds made one by one. Records added in
    // bulk are not visible in the list until end_bulk.
    // `expected` (when known) is how many records the bulk will add, so that
    // room for them is made once.
    void begin_bulk(std::size_t expected = 0) { begin_bulk(expected, true); }
    // A bulk whose records never reach the store's file: it ends with
    // end_bulk_in_memory (the caller writes the file whole, with
    // write_whole_file_to).
    void begin_bulk_in_memory(std::size_t expected = 0) { begin_bulk(expected, false); }
    // False when the file could not take the records (the owner was told;
    // the store owes a full save).
    [[nodiscard]] bool end_bulk() { return finish_bulk(true); }
    // Ends a bulk in memory only: the records take their places and the
    // totals follow, but the file is not touched (the caller writes it whole,
    // with write_whole_file_to).
    void end_bulk_in_memory() { (void)finish_bulk(false); }
    bool in_bulk() const { return bulk_; }
    // Adds the records in one bulk; the file is written even when there are
    // none, so a new account gets its file. False when the file could not
    // take them (the owner was told).
    [[nodiscard]] bool add_all(const std::vector<Record>& records) {
        begin_bulk(records.size());
        bool ok = true;
        for (const Record& r : records) ok = add_record(r).added() && ok;
        ok = end_bulk() && ok;
        if (records.empty()) ok = save_all() && ok;
        return ok;
    }

protected:
    static constexpr std::size_t header_size = sizeof(Header);
    static constexpr std::size_t record_size = sizeof(Record);

    Derived& derived() { return static_cast<Derived&>(*this); }
    const Derived& derived() const { return static_cast<const Derived&>(*this); }

    static std::int64_t seconds_of(const Record& r) {
        return to_local_seconds(r.year, r.month, r.day, r.hour, r.minute, r.second);
    }
    std::u16string file_path() const {
        return fixed_text(header_.save_folder) + fixed_text(header_.account_name) +
               std::u16string(Derived::extension);
    }
    static std::u16string file_path(std::u16string_view folder, std::u16string_view name) {
        return std::u16string(folder) + std::u16string(name) + std::u16string(Derived::extension);
    }

    void clear_memory();
    // Gives the record its number and key; false (with the message) when the
    // record counter cannot grow any more.
    bool stamp(Record& record, std::u16string& key);
    // Position after the last record not later than the record (0 when none).
    std::size_t insert_position(std::int64_t seconds);
    // Whether the list is in date order (worked out once after a load).
    bool in_date_order();
    // Whether the records before position `end` are in date order.
    bool in_prefix_date_order(std::size_t end) const {
        std::int64_t previous = INT64_MIN;
        for (std::size_t i = 0; i < end; ++i) {
            const std::int64_t s = seconds_of(records_[i]);
            if (s < previous) return false;
            previous = s;
        }
        return true;
    }
    // Position of the first record with this key; the size when none has it.
    std::size_t position_of_key(std::u16string_view key) const;
    // Brings the derived values up to date after one change in the middle:
    // by the store's own step when they were current, else from all records.
    template <class Step>
    void update_derived(Step step) {
        if (derived_current_ && derived().derived_current())
            step();
        else
            derived().recompute_derived();
        derived_current_ = true;
    }
    // After a change other than a newest append, with the derived values up
    // to date: mark dirty and refresh the header on disk in deferred mode,
    // else write the whole file. False when that write failed.
    [[nodiscard]] bool after_middle_change();
    // The file work owed for the newest records added in bulk so far.
    [[nodiscard]] bool write_bulk_appends();
    // Recomputes the derived values and writes the header in place.
    [[nodiscard]] bool refresh_derived_and_header();
    [[nodiscard]] bool write_header_in_place();
    // Opens the file for writing in place; nullptr, with the failure reported,
    // when it cannot be opened (or a file that failed to load could not be
    // kept first).
    std::unique_ptr<device_file> open_in_place();
    static bool write_header_to(device_file& file, const Header& header) {
        return file.seek(0) && file.write(&header, header_size) == header_size;
    }
    // After a load, with the derived totals and the record counter worked
    // out from the records: the header on disk is set right when it said
    // otherwise than the one read.
    void set_header_right(const Header& as_read);
    // Writes the header and the records from `first_new` on at the end of the
    // file (plus the previous last record where the store asks for it).
    [[nodiscard]] bool append_write(std::size_t first_new);
    // True when the file holds exactly the records, those from `from` on as
    // they are in memory.
    bool records_on_disk(std::size_t from) const;
    void begin_bulk(std::size_t expected, bool write);
    [[nodiscard]] bool finish_bulk(bool write);
    // Before anything writes over a file that failed to load, keeps a copy of it.
    [[nodiscard]] bool keep_unreadable_copy();
    void failed_write() { report_problem(msg_write_failed); }
    void mark_changed() {
        if (change_mark_) *change_mark_ = true;
    }

    Header header_{};
    placed_records<Record> records_;
    std::vector<int> selection_;
    int cursor_ = -1;
    bool deferred_ = false;
    bool dirty_ = false;
    bool fresh_ = true;
    bool* change_mark_ = nullptr;
    // The derived values (totals, economies) agree with the records; false
    // after records came in without the store's steps (a load, a bulk).
    bool derived_current_ = true;
    enum class date_order { yes, no, unknown } date_order_ = date_order::yes;
    std::u16string unreadable_path_;  // a file that failed the format check
    load_leftovers leftovers_;

    bool bulk_ = false;
    bool bulk_started_empty_ = false;
    bool bulk_started_clean_ = false;
    std::size_t bulk_first_new_ = 0;  // first record appended in bulk
    bool bulk_writes_ = true;         // the bulk's records go to the file at its end
    bool bulk_only_appends_ = true;   // every bulk add so far was a newest append
    // Records added in bulk that were not newest appends sit at the end of
    // the list from here on, in the order of adding, until end_bulk sorts them in.
    std::size_t bulk_first_pending_ = 0;
    bool bulk_appends_ok_ = true;  // the file took the newest appends
};

}  // namespace kelvane
