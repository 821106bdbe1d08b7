#include "core/stores/record_store.h"

#include <atomic>
#include <cstdio>

#include "core/common/problems.h"
#include "core/stores/fee_store.h"
#include "core/stores/fuel_store.h"
#include "core/stores/service_store.h"
#include "core/stores/trip_store.h"

namespace kelvane {

std::u16string make_record_key(std::u16string_view account, std::int32_t number,
                               const local_time& added) {
    std::u16string key(account);
    key += format("%.10ld%.2d%.2d%.2d%.2d%.2d%.2d", static_cast<long>(number), added.year % 100,
                  added.month, added.day, added.hour, added.minute, added.second);
    return cut(key, 60);
}

void report_position_outside(int position, int count) {
    static std::atomic<bool> reported{false};
    if (reported.exchange(true)) return;
    std::fprintf(stderr,
                 "kelvane: a record was asked for at position %d of a store of %d records; "
                 "an empty record was given instead\n",
                 position, count);
}

std::u16string unreadable_copy_path(file_system& fs, std::u16string_view path) {
    std::u16string base = std::u16string(path) + u".unreadable";
    if (!fs.file_exists(base)) return base;
    for (int n = 2;; ++n) {
        std::u16string candidate = base + format("%d", n);
        if (!fs.file_exists(candidate)) return candidate;
    }
}

// ---------------------------------------------------------------------------
// The record-file engine, built once for each of the four stores (the
// instantiations at the end): the stores' headers carry only its shape.

template <class D, class H, class R, class B>
void record_store<D, H, R, B>::clear_memory() {
    std::memset(&header_, 0, sizeof header_);
    set_fixed(header_.magic, record_magic);
    header_.format_version = 1;
    records_.clear();
    selection_.clear();
    cursor_ = -1;
    fresh_ = true;
    leftovers_ = {};
    derived_current_ = false;
    date_order_ = date_order::yes;
}

template <class D, class H, class R, class B>
bool record_store<D, H, R, B>::reset() {
    bool saved = true;
    if constexpr (dated_record<R>) {
        if (bulk_) saved = end_bulk();
    }
    if (deferred_) {
        selection_.clear();
        cursor_ = -1;
        if (dirty_) saved = save_all();
    }
    dirty_ = false;
    mark_changed();
    clear_memory();
    return saved;
}

template <class D, class H, class R, class B>
load_result record_store<D, H, R, B>::load(std::u16string_view folder, std::u16string_view name,
                                           bool keep) {
    mark_changed();
    // The store holds one account only: a failed write of what it owed for
    // the previous one has been reported, and the new one loads all
    // the same.
    if (!keep) (void)derived().reset();
    set_fixed(header_.save_folder, folder);
    set_fixed(header_.account_name, name);
    const std::u16string path = file_path(folder, name);

    file_system& fs = device_files();
    auto file = fs.open_read(path);
    if (!file) return load_result::missing;
    const auto refuse = [&] {
        file->close();
        unreadable_path_ = path;
        report_problem(msg_format_error);
        return load_result::damaged;
    };
    const std::int64_t length = file->length();
    if (length < static_cast<std::int64_t>(header_size)) return refuse();
    const std::int64_t body = length - static_cast<std::int64_t>(header_size);
    if (body / static_cast<std::int64_t>(record_size) > max_records_per_file) return refuse();
    // The header is checked before any of it is taken.
    H read{};
    if (file->read(&read, header_size) != header_size) return refuse();
    if (std::memcmp(read.magic, record_magic, 4 * sizeof(char16_t)) != 0) return refuse();
    header_ = read;
    set_fixed(header_.account_name, name);
    set_fixed(header_.save_folder, program_folder());
    if (unreadable_path_ == path) unreadable_path_.clear();  // readable again (restored)

    // Whole records are read in pieces; one without its tag is no record of
    // this program and is left out, and so is a last piece shorter than a
    // record, the remains of an interrupted write. Each piece is taken while
    // it is still in the processor's cache: the totals, economies and record
    // numbers are worked out as it arrives, instead of in later walks over
    // the whole array.
    const auto count = static_cast<std::size_t>(body / static_cast<std::int64_t>(record_size));
    const std::size_t before = records_.size();
    const H as_read = header_;
    derived_current_ = false;
    date_order_ = date_order::unknown;
    // Room to grow: the records added after a load are appended without
    // moving every record already held (room made for the load is kept).
    if (records_.capacity() < before + count)
        records_.reserve(before + count + std::max<std::size_t>(count / 4, 1024));
    // With keep, the records join those of another file, whose derived
    // values nobody asks for.
    const bool derive = !keep;
    if (derive) derived().start_derived(count);
    std::int32_t next_number = header_.next_record_number;
    load_leftovers found;
    found.cut_record = body % static_cast<std::int64_t>(record_size) != 0;
    // The records are read straight into the store's own array (an empty
    // one may have none yet to read into).
    if (count > 0)
        records_.append_filled(count, [&](R* room, std::size_t room_count) {
            constexpr std::size_t piece = load_piece_bytes / record_size;
            std::size_t kept = 0;
            for (std::size_t done = 0; done < room_count;) {
                const std::size_t want = std::min(piece, room_count - done);
                R* const arrived = room + kept;
                const std::size_t got = file->read(arrived, want * record_size) / record_size;
                const std::size_t first_new = kept;
                for (std::size_t i = 0; i < got; ++i) {
                    const R& r = arrived[i];
                    if (std::memcmp(r.tag, record_tag, 4 * sizeof(char16_t)) != 0) {
                        ++found.damaged_records;
                        continue;
                    }
                    // Every record holds a number below the counter; the
                    // next one added must not repeat one of them.
                    if (r.record_number >= next_number && r.record_number < INT32_MAX)
                        next_number = r.record_number + 1;
                    if (room + kept != &r) room[kept] = r;
                    ++kept;
                }
                if (derive) derived().derive_loaded(room, first_new, kept);
                done += got;
                // The file ended before its length said: what is missing is cut off.
                if (got < want) {
                    found.cut_record = true;
                    break;
                }
            }
            return kept;
        });
    file->close();
    fresh_ = false;
    if (derive) {
        derived().finish_derived();
        derived_current_ = true;
        header_.next_record_number = next_number;
    }
    if (found.any()) {
        leftovers_.damaged_records += found.damaged_records;
        leftovers_.cut_record = leftovers_.cut_record || found.cut_record;
        // What was left out stays in the file until a write replaces it; a
        // copy of the file is kept before that.
        unreadable_path_ = path;
        if (found.damaged_records)
            report_problem(msg_records_left_out, path);
        else
            report_problem(msg_cut_record_left_out, path);
    }
    if (derive) set_header_right(as_read);
    return load_result::loaded;
}

template <class D, class H, class R, class B>
void record_store<D, H, R, B>::set_header_right(const H& as_read) {
    if (std::memcmp(&as_read, &header_, sizeof header_) == 0) return;
    // The header on disk is set right at once, so that the accounts list,
    // which reads headers only, agrees too. A file still to be copied aside,
    // or one that cannot be written now, is set right by the next write.
    if (!unreadable_path_.empty() || header_.account_name[0] == 0) return;
    if (auto file = device_files().open_write(file_path())) {
        (void)write_header_to(*file, header_);
        (void)file->close();
    }
}

template <class D, class H, class R, class B>
bool record_store<D, H, R, B>::keep_unreadable_copy() {
    if (unreadable_path_.empty()) return true;
    if (unreadable_path_ != file_path()) return true;
    file_system& fs = device_files();
    if (fs.file_exists(unreadable_path_) &&
        !fs.copy_file(unreadable_path_, unreadable_copy_path(fs, unreadable_path_), false))
        return false;
    unreadable_path_.clear();
    return true;
}

template <class D, class H, class R, class B>
bool record_store<D, H, R, B>::save_all() {
    const bool ok = write_whole_file_to(file_path());
    if (!ok && header_.account_name[0] != 0) failed_write();
    return ok;
}

template <class D, class H, class R, class B>
bool record_store<D, H, R, B>::write_whole_file_to(std::u16string_view path) {
    derived().before_full_save();
    mark_changed();
    if (header_.account_name[0] == 0) return false;
    if (!keep_unreadable_copy()) return false;
    atomic_file_writer writer(device_files(), path);
    bool ok = writer.open() && writer.write(&header_, header_size) &&
              records_.for_each_run(0, [&](const R* first, std::size_t n) {
                  return writer.write(first, n * record_size);
              });
    ok = writer.commit() && ok;
    return ok;
}

template <class D, class H, class R, class B>
std::unique_ptr<device_file> record_store<D, H, R, B>::open_in_place() {
    if (!keep_unreadable_copy()) {
        failed_write();
        return nullptr;
    }
    auto file = device_files().open_write(file_path());
    if (!file) failed_write();
    return file;
}

template <class D, class H, class R, class B>
bool record_store<D, H, R, B>::write_header_in_place() {
    if (header_.account_name[0] == 0) return true;
    auto file = open_in_place();
    if (!file) return false;
    bool ok = write_header_to(*file, header_);
    ok = file->close() && ok;
    if (!ok) failed_write();
    return ok;
}

template <class D, class H, class R, class B>
bool record_store<D, H, R, B>::refresh_derived_and_header() {
    derived().recompute_derived();
    derived_current_ = true;
    return write_header_in_place();
}

template <class D, class H, class R, class B>
bool record_store<D, H, R, B>::append_write(std::size_t first_new) {
    if (header_.account_name[0] == 0) return true;
    mark_changed();
    auto file = open_in_place();
    if (!file) return false;
    bool ok = true;
    bool records_written = false;
    std::size_t from = first_new;
    if (!(deferred_ && dirty_)) {
        // The file must hold exactly the records before the new ones; if it
        // does not (an earlier write failed), only a full save gets it right.
        const auto expected = static_cast<std::int64_t>(header_size + first_new * record_size);
        const std::int64_t length = file->length();
        if (length < expected || length >= expected + static_cast<std::int64_t>(record_size)) {
            file->close();
            return save_all();
        }
        if (D::rewrites_previous && from > 0) --from;
        // The records go first and the header after them: a write stopped in
        // between leaves a header that counts only records that are there
        // (and the next load sets it right from the records).
        ok = file->seek(static_cast<std::int64_t>(header_size + from * record_size)) &&
             records_.for_each_run(from, [&](const R* first, std::size_t n) {
                 return file->write(first, n * record_size) == n * record_size;
             });
        records_written = ok;
    }
    // With a stale file (deferred changes owed) only the header is written:
    // the full save at reset writes everything.
    ok = ok && write_header_to(*file, header_);
    ok = file->close() && ok;
    // The records reached the file but its header did not: they are there
    // all the same (the next load counts them), so the add did happen and
    // must not be reported as failed, or doing it again would add it twice.
    // The header is set right by the next full save.
    if (!ok && records_written && records_on_disk(from)) {
        dirty_ = true;
        return true;
    }
    if (!ok) failed_write();
    return ok;
}

template <class D, class H, class R, class B>
bool record_store<D, H, R, B>::records_on_disk(std::size_t from) const {
    auto file = device_files().open_read(file_path());
    if (!file) return false;
    const std::size_t count = records_.size() - from;
    std::vector<R> read(count);
    bool same =
        file->length() == static_cast<std::int64_t>(header_size + records_.size() * record_size) &&
        file->seek(static_cast<std::int64_t>(header_size + from * record_size)) &&
        file->read(read.data(), count * record_size) == count * record_size;
    file->close();
    std::size_t at = 0;
    return same && records_.for_each_run(from, [&](const R* first, std::size_t n) {
        const bool equal = std::memcmp(read.data() + at, first, n * record_size) == 0;
        at += n;
        return equal;
    });
}

template <class D, class H, class R, class B>
bool record_store<D, H, R, B>::stamp(R& record, std::u16string& key) {
    if (header_.next_record_number < 0 || header_.next_record_number == INT32_MAX) {
        report_problem(msg_database_full);
        return false;
    }
    key = make_record_key(fixed_text(header_.account_name), header_.next_record_number,
                          device_clock().now());
    set_fixed(record.tag, record_tag);
    record.record_number = header_.next_record_number;
    ++header_.next_record_number;
    set_fixed(record.key, key);
    key = fixed_text(record.key);
    return true;
}

template <class D, class H, class R, class B>
bool record_store<D, H, R, B>::in_date_order() {
    if (date_order_ == date_order::unknown) {
        date_order_ = date_order::yes;
        std::int64_t previous = INT64_MIN;
        for (const R& r : records_) {
            const std::int64_t s = seconds_of(r);
            if (s < previous) {
                date_order_ = date_order::no;
                break;
            }
            previous = s;
        }
    }
    return date_order_ == date_order::yes;
}

template <class D, class H, class R, class B>
std::size_t record_store<D, H, R, B>::insert_position(std::int64_t seconds) {
    // In a list in date order the walk from the end stops right after the
    // last record not later than the new one, which a binary search finds.
    if (in_date_order()) {
        std::size_t low = 0, high = records_.size();
        while (low < high) {
            const std::size_t mid = low + (high - low) / 2;
            if (seconds_of(records_[mid]) <= seconds)
                low = mid + 1;
            else
                high = mid;
        }
        return low;
    }
    for (std::size_t i = records_.size(); i > 0; --i)
        if (seconds_of(records_[i - 1]) <= seconds) return i;
    return 0;
}

template <class D, class H, class R, class B>
std::size_t record_store<D, H, R, B>::position_of_key(std::u16string_view key) const {
    // Compared in place: a lookup in a long file makes no text per record.
    for (std::size_t i = 0; i < records_.size(); ++i) {
        const auto& field = records_[i].key;
        std::size_t n = 0;
        while (n < std::size(field) && field[n] != 0) ++n;
        if (std::u16string_view(field, n) == key) return i;
    }
    return records_.size();
}

template <class D, class H, class R, class B>
add_result record_store<D, H, R, B>::add_record(const R& given) {
    R record = given;
    std::u16string key;
    if (!stamp(record, key)) return {};
    const std::int64_t when = seconds_of(record);
    // The record stays in memory whatever the file does; when the file could
    // not take it, the full save at reset (or the next one) must write it.
    const auto written = [&](bool ok) {
        if (!ok) dirty_ = true;
        return add_result{std::move(key), !ok};
    };

    if (bulk_) {
        const bool newest = records_.empty() || seconds_of(records_.back()) <= when;
        if (bulk_only_appends_ && newest) {
            records_.push_back(record);
            if (records_.size() > 1)
                update_derived([&] { derived().on_newest_appended(); });
            else
                derived().recompute_derived(), derived_current_ = true;
        } else {
            if (bulk_only_appends_) {
                // The newest appends so far reach the file as they would
                // have one by one, before the list takes records out of order.
                bulk_only_appends_ = false;
                bulk_first_pending_ = records_.size();
                bulk_appends_ok_ = write_bulk_appends();
            }
            records_.push_back(record);
            derived_current_ = false;
        }
        // The file work waits for end_bulk, which reports it.
        return add_result{std::move(key), false};
    }

    if (records_.empty()) {
        records_.push_back(record);
        // The first record starts the totals; the header written with it must count it.
        derived().recompute_derived();
        derived_current_ = true;
        date_order_ = date_order::yes;
        return written(save_all());
    }
    if (seconds_of(records_.back()) <= when) {
        records_.push_back(record);
        update_derived([&] { derived().on_newest_appended(); });
        return written(append_write(records_.size() - 1));
    }
    const std::size_t at = insert_position(when);
    records_.insert(at, record);
    update_derived([&] { derived().after_insert(at); });
    return written(after_middle_change());
}

template <class D, class H, class R, class B>
bool record_store<D, H, R, B>::after_middle_change() {
    // The records changed, written or not: whatever shows figures from them
    // must read them again.
    mark_changed();
    if (deferred_) {
        dirty_ = true;
        return write_header_in_place();
    }
    if (save_all()) return true;
    dirty_ = true;
    return false;
}

template <class D, class H, class R, class B>
change_result record_store<D, H, R, B>::update_record(std::u16string_view key, const R& record) {
    const std::size_t at = position_of_key(key);
    if (at == records_.size()) return change_result::not_found;
    const R old = records_[at];
    // The record keeps the stamp it was added with (its tag, number and key):
    // an editor's copy made before the add never saw it, and without it the
    // record would neither load again nor be found by its key.
    R stored = record;
    static_cast<record_stamp&>(stored) = static_cast<const record_stamp&>(old);
    if (records_.size() == 1 ||
        (old.year == record.year && old.month == record.month && old.day == record.day &&
         old.hour == record.hour && old.minute == record.minute && old.second == record.second)) {
        records_[at] = stored;
        update_derived([&] { derived().after_replace(at, old); });
    } else {
        records_.erase(at);
        update_derived([&] { derived().after_erase(at, old); });
        const std::size_t to = insert_position(seconds_of(stored));
        records_.insert(to, stored);
        update_derived([&] { derived().after_insert(to); });
    }
    selection_.clear();
    cursor_ = -1;
    return after_middle_change() ? change_result::done : change_result::write_failed;
}

template <class D, class H, class R, class B>
change_result record_store<D, H, R, B>::delete_record(std::u16string_view key) {
    const std::size_t at = position_of_key(key);
    if (at == records_.size()) return change_result::not_found;
    return delete_record_at(static_cast<int>(at));
}

template <class D, class H, class R, class B>
change_result record_store<D, H, R, B>::delete_record_at(int position) {
    if (position < 0 || position >= record_count()) return change_result::not_found;
    const auto at = static_cast<std::size_t>(position);
    const R removed = records_[at];
    records_.erase(at);
    update_derived([&] { derived().after_erase(at, removed); });
    // Selected positions behind the deleted one no longer name the same records.
    selection_.clear();
    cursor_ = -1;
    return after_middle_change() ? change_result::done : change_result::write_failed;
}

template <class D, class H, class R, class B>
const R& record_store<D, H, R, B>::record_at(int position) const {
    if (position >= 0 && position < record_count())
        return records_[static_cast<std::size_t>(position)];
    assert(false && "record_at: position outside the store");
    report_position_outside(position, record_count());
    static const R none{};
    return none;
}

template <class D, class H, class R, class B>
void record_store<D, H, R, B>::select_records(const selection_limits& limits) {
    selection_.clear();
    const bool has_from = limits.from.has_value();
    const bool has_to = limits.to.has_value();
    const std::int64_t from = has_from ? to_local_seconds(*limits.from) : 0;
    const std::int64_t to = has_to ? to_local_seconds(*limits.to) : 0;
    for (std::size_t i = 0; i < records_.size(); ++i) {
        const R& r = records_[i];
        if (has_from || has_to) {
            const std::int64_t s = seconds_of(r);
            if (has_from && s < from) continue;
            if (has_to && s > to) continue;
        }
        if (limits.lowest >= 0 && r.mileage < limits.lowest) continue;
        if (limits.highest >= 0 && r.mileage > limits.highest) continue;
        selection_.push_back(static_cast<int>(i));
    }
    cursor_ = 0;
}

template <class D, class H, class R, class B>
bool record_store<D, H, R, B>::next_selected(R& out) {
    const R* next = next_selected();
    if (next) out = *next;
    return next != nullptr;
}

template <class D, class H, class R, class B>
const R* record_store<D, H, R, B>::next_selected() {
    if (cursor_ < 0 || cursor_ >= selected_count()) return nullptr;
    const int index = selection_[static_cast<std::size_t>(cursor_)];
    if (index < 0 || index >= record_count()) return nullptr;
    ++cursor_;
    return &records_[static_cast<std::size_t>(index)];
}

template <class D, class H, class R, class B>
load_result record_store<D, H, R, B>::check_file(std::u16string_view path) {
    auto file = device_files().open_read(path);
    if (!file) return load_result::missing;
    const std::int64_t length = file->length();
    H read{};
    const bool sound = length >= static_cast<std::int64_t>(header_size) &&
                       (length - static_cast<std::int64_t>(header_size)) /
                               static_cast<std::int64_t>(record_size) <=
                           max_records_per_file &&
                       file->read(&read, header_size) == header_size &&
                       std::memcmp(read.magic, record_magic, 4 * sizeof(char16_t)) == 0;
    file->close();
    return sound ? load_result::loaded : load_result::damaged;
}

template <class D, class H, class R, class B>
header_read<H> record_store<D, H, R, B>::read_account_header(std::u16string_view folder,
                                                             std::u16string_view name) {
    header_read<H> out{H{}, load_result::missing};
    std::memset(&out.header, 0, sizeof out.header);
    auto file = device_files().open_read(file_path(folder, name));
    if (!file) return out;
    const bool whole = file->length() >= static_cast<std::int64_t>(header_size) &&
                       file->read(&out.header, header_size) == header_size;
    file->close();
    // Totals and units of a file that is no record file would only mislead.
    if (!whole || std::memcmp(out.header.magic, record_magic, 4 * sizeof(char16_t)) != 0) {
        std::memset(&out.header, 0, sizeof out.header);
        report_problem(msg_format_error);
        out.result = load_result::damaged;
        return out;
    }
    out.result = load_result::loaded;
    return out;
}

template <class D, class H, class R, class B>
void record_store<D, H, R, B>::begin_bulk(std::size_t expected, bool write) {
    if (bulk_) return;
    bulk_ = true;
    bulk_writes_ = write;
    bulk_started_empty_ = records_.empty();
    bulk_started_clean_ = !dirty_;
    bulk_first_new_ = records_.size();
    bulk_only_appends_ = true;
    bulk_first_pending_ = records_.size();
    bulk_appends_ok_ = true;
    if (expected) records_.reserve(records_.size() + expected);
}

template <class D, class H, class R, class B>
bool record_store<D, H, R, B>::write_bulk_appends() {
    // The leading newest appends reach the file as they would have one by
    // one: the first add to an empty store saves the whole file, later ones
    // are append writes. Without deferred saving a later insert rewrites the
    // whole file anyway, so their file work is skipped then.
    const bool appended = records_.size() > bulk_first_new_;
    const bool pending = !bulk_only_appends_;
    if (!bulk_writes_ || !appended || (!deferred_ && pending)) return true;
    const bool ok = bulk_started_empty_ ? save_all() : append_write(bulk_first_new_);
    if (!ok) dirty_ = true;
    return ok;
}

template <class D, class H, class R, class B>
bool record_store<D, H, R, B>::finish_bulk(bool write) {
    if (!bulk_) return true;
    bulk_ = false;
    write = write && bulk_writes_;
    if (bulk_only_appends_) return !write || write_bulk_appends();
    const bool ok = bulk_appends_ok_;

    // The records added out of order follow the others in the order of
    // adding; they are sorted in by their dates alone, without moving a record.
    const std::size_t first = bulk_first_pending_;
    const std::size_t n = records_.size();
    std::vector<std::uint32_t> from;
    if (in_prefix_date_order(first)) {
        // Inserting each record after the last one not later than it is a
        // stable merge: on equal dates the records already there come first,
        // then the new ones in the order of adding.
        struct dated {
            std::int64_t seconds;
            std::uint32_t position;
        };
        std::vector<dated> added(n - first);
        for (std::size_t i = first; i < n; ++i)
            added[i - first] = {seconds_of(records_[i]), static_cast<std::uint32_t>(i)};
        std::stable_sort(added.begin(), added.end(),
                         [](const dated& a, const dated& b) { return a.seconds < b.seconds; });
        from.reserve(n);
        std::size_t k = 0;
        for (std::size_t i = 0; i < first; ++i) {
            const std::int64_t s = seconds_of(records_[i]);
            while (k < added.size() && added[k].seconds < s) from.push_back(added[k++].position);
            from.push_back(static_cast<std::uint32_t>(i));
        }
        while (k < added.size()) from.push_back(added[k++].position);
        date_order_ = date_order::yes;
    } else {
        // A file out of date order: insert exactly as one by one would.
        for (std::size_t i = 0; i < first; ++i) from.push_back(static_cast<std::uint32_t>(i));
        for (std::size_t i = first; i < n; ++i) {
            const std::int64_t s = seconds_of(records_[i]);
            std::size_t at = from.size();
            while (at > 0 && seconds_of(records_[from[at - 1]]) > s) --at;
            from.insert(from.begin() + static_cast<std::ptrdiff_t>(at),
                        static_cast<std::uint32_t>(i));
        }
        date_order_ = date_order::unknown;
    }
    records_.reorder(from);
    from = {};
    // Reports and saves then walk the records in memory order.
    records_.make_contiguous();
    derived().recompute_derived();
    derived_current_ = true;
    selection_.clear();
    cursor_ = -1;
    if (!write) return true;
    return after_middle_change() && ok;
}

template class record_store<fuel_store, fuel_header, fuel_record, account_store>;
template class record_store<service_store, cost_file_header, service_record, account_store>;
template class record_store<fee_store, cost_file_header, fee_record, account_store>;
// The trip store keeps the order of adding and brings its own changes, so
// only the engine's file work is built for it.
using trip_engine = record_store<trip_store, trip_header, trip_record, record_store_no_base>;
template void trip_engine::clear_memory();
template bool trip_engine::reset();
template load_result trip_engine::load(std::u16string_view, std::u16string_view, bool);
template void trip_engine::set_header_right(const trip_header&);
template bool trip_engine::keep_unreadable_copy();
template bool trip_engine::save_all();
template bool trip_engine::write_whole_file_to(std::u16string_view);
template std::unique_ptr<device_file> trip_engine::open_in_place();
template bool trip_engine::write_header_in_place();
template bool trip_engine::stamp(trip_record&, std::u16string&);
template std::size_t trip_engine::position_of_key(std::u16string_view) const;
template const trip_record& trip_engine::record_at(int) const;
template load_result trip_engine::check_file(std::u16string_view);
template header_read<trip_header> trip_engine::read_account_header(std::u16string_view,
                                                                   std::u16string_view);

}  // namespace kelvane
