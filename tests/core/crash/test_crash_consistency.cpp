// Stopping a writer anywhere: adds, an import, saves, a backup, a restore, a
// unit change, a rename, and adding and deleting an account are cut off
// after every change they make to the files (and, for writes,
// with none, some or all of the bytes of that write on the medium), the way a
// killed program or a power cut leaves them. After each stop the program
// starts again on what is there and every file must load, every store's
// totals must be those of its records (also in the header the accounts list
// reads), and no record that was there before may be lost or changed. A
// backup, a restore and every change that spans several files of the data
// folder must leave its folder holding the old set or the new one, never a
// mix.
//
// The same is then done for real: a child process does the work on the
// host's file system and kills itself after k bytes have been handed to the
// files, with whatever its buffers still held lost.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <map>
#include <set>

#include "core/accounts/account_editing.h"
#include "core/accounts/configuration.h"
#include "core/accounts/data_set_copier.h"
#include "core/accounts/staged_file_set.h"
#include "core/common/folders.h"
#include "core/exchange/export_import.h"
#include "core/test_store_support.h"
#include "platform/faulty_file_system.h"
#include "platform/host_file_system.h"

namespace kelvane {
namespace {

using testing::data_folder;
using testing::store_kind;
using files_image = std::map<std::u16string, std::vector<std::uint8_t>>;

const std::u16string backup_folder = u"\\My Documents\\Backup\\";
const std::u16string import_path = u"\\My Documents\\in.csv";

// What the figures of the whole run add up to.
struct tally {
    int stop_points = 0;
    std::int64_t earlier_bytes_lost = 0;
};

// The program's objects, as a start builds them.
struct program_objects {
    fuel_store fuel;
    service_store service;
    fee_store fees;
    trip_store trips;
    configuration config;

    program_objects() {
        config.attach_stores({&fuel, &service, &fees});
        fuel.set_deferred_save(true);
        service.set_deferred_save(true);
        fees.set_deferred_save(true);
    }
    // The loading steps of a start; false when a file did not load.
    bool start() {
        bool ok = config.load_config() != load_result::damaged;
        ok = trips.load(config.data_folder(), u"Trip", false) != load_result::damaged && ok;
        const std::u16string open = config.current_account();
        if (!open.empty()) ok = !config.open_account(open).damaged_file && ok;
        return ok;
    }
};

// A record without what a write may legitimately change (a fill-up's
// economy, worked out from the next one), for comparing across a stop.
template <class Record>
std::vector<std::uint8_t> stable_bytes(Record r) {
    if constexpr (std::is_same_v<Record, fuel_record>) r.economy = 0;
    return testing::bytes_of(r);
}

// Every record of every account, by key.
using record_map = std::map<std::u16string, std::vector<std::uint8_t>>;

template <class Store>
void collect(const std::u16string& account, record_map& out, bool& sound) {
    using kind = store_kind<Store>;
    Store store;
    if (store.load(data_folder, account, false) == load_result::damaged) sound = false;
    double sum = 0;
    for (int i = 0; i < store.record_count(); ++i) {
        const auto& r = store.record_at(i);
        out[std::u16string(kind::extension) + fixed_text(r.key)] = stable_bytes(r);
        sum += kind::cost(r);
    }
    // Totals in the store and in the header on disk, as the accounts list reads it.
    if (kind::total(store.header()) != sum) sound = false;
    const auto on_disk = Store::read_account_header(data_folder, account);
    if (on_disk.result == load_result::loaded && kind::total(on_disk.header) != sum) sound = false;
}

// Starts the program on what the files hold and checks them; the records found.
record_map check_start(const std::string& where) {
    program_objects p;
    bool sound = p.start();
    EXPECT_TRUE(sound) << where << ": a file did not load";
    record_map records;
    for (const std::u16string& account : p.config.list_account_names()) {
        collect<fuel_store>(account, records, sound);
        collect<service_store>(account, records, sound);
        collect<fee_store>(account, records, sound);
    }
    EXPECT_TRUE(sound) << where << ": totals that are not those of the records";
    for (int i = 0; i < p.trips.record_count(); ++i)
        records[u"trip" + fixed_text(p.trips.record_at(i).key)] =
            stable_bytes(p.trips.record_at(i));
    p.fuel.clear_dirty();
    p.service.clear_dirty();
    p.fees.clear_dirty();
    return records;
}

// Every earlier record is still there, unchanged; the bytes that are not count as lost.
void expect_kept(const record_map& before, const record_map& after, tally& t,
                 const std::string& where, const std::set<std::u16string>& may_change = {}) {
    for (const auto& [key, bytes] : before) {
        if (may_change.count(key)) continue;
        const auto found = after.find(key);
        if (found == after.end() || found->second != bytes) {
            t.earlier_bytes_lost += static_cast<std::int64_t>(bytes.size());
            ADD_FAILURE() << where << ": an earlier record was lost or changed";
        }
    }
}

files_image image_of_folder(file_system& fs, std::u16string_view folder) {
    files_image out;
    for (const find_entry& entry : fs.find(std::u16string(folder) + u"*")) {
        if (entry.attributes & attribute_directory) continue;
        // The temporary file of a whole-file write that was cut off is no
        // part of the data; the next write of that file replaces it.
        if (entry.name.ends_with(u".new")) continue;
        std::vector<std::uint8_t> bytes;
        EXPECT_TRUE(read_whole_file(fs, std::u16string(folder) + entry.name, bytes));
        out[entry.name] = std::move(bytes);
    }
    return out;
}

// Makes the folder hold exactly the image, with no staging folders left.
void put_image(file_system& fs, std::u16string_view folder_view, const files_image& image) {
    scoped_services use{{&fs}};
    const std::u16string folder(folder_view);
    for (const std::u16string sub : {u"Kelvane.new\\", u"Kelvane.old\\", u"Deleted\\"}) {
        for (const find_entry& entry : fs.find(folder + sub + u"*"))
            fs.delete_file(folder + sub + entry.name);
        fs.remove_folder(folder + sub.substr(0, sub.size() - 1));
    }
    for (const find_entry& entry : fs.find(folder + u"*"))
        if (!(entry.attributes & attribute_directory)) fs.delete_file(folder + entry.name);
    make_folder_path(folder);
    for (const auto& [name, bytes] : image)
        EXPECT_TRUE(write_file_atomically(fs, folder + name, bytes.data(), bytes.size()));
}

// The data set every run starts from: two vehicles with records, Car open,
// two trips, and an older backup of it in the backup folder.
void make_data_set(memory_file_system& fs) {
    scoped_services use{{&fs}};
    program_objects p;
    p.config.set_data_folder(data_folder);
    (void)p.config.add_account(u"Car");
    (void)p.config.add_account(u"Van");
    (void)p.trips.load(data_folder, u"Trip", false);
    for (const std::u16string name : {u"Van", u"Car"}) {
        (void)p.config.open_account(name);
        for (int day = 1; day <= 6; ++day) {
            (void)p.fuel.add_record(
                store_kind<fuel_store>::make(2007, 3, day, 8, 0, 0, 1000.0 * day, 40 + day));
            (void)p.service.add_record(
                store_kind<service_store>::make(2007, 3, day, 9, 0, 0, 1000.0 * day, 100 + day));
            (void)p.fees.add_record(
                store_kind<fee_store>::make(2007, 3, day, 10, 0, 0, 1000.0 * day, 5 + day));
        }
    }
    (void)p.trips.add_record(store_kind<trip_store>::make(2007, 3, 1, 0, 0, 0, 1000));
    (void)p.trips.add_record(store_kind<trip_store>::make(2007, 3, 4, 0, 0, 0, 4000));
    (void)p.fuel.reset();
    (void)p.service.reset();
    (void)p.fees.reset();
    (void)data_set_copier(p.config).backup_to_folder(backup_folder);
    // The data moves on after the backup: a record more for each vehicle.
    (void)p.config.open_account(u"Van");
    (void)p.fuel.add_record(store_kind<fuel_store>::make(2007, 4, 1, 8, 0, 0, 9000, 77));
    (void)p.config.open_account(u"Car");
    (void)p.fees.add_record(store_kind<fee_store>::make(2007, 4, 2, 8, 0, 0, 9100, 33));
    (void)p.fees.reset();
    (void)p.trips.reset();
    const std::string csv =
        "\"04/05/2007\",\"9500.0\",\"Fuel\",\"late\",\"50.00\",\"1.250\",\"40.00\",\"45.00\","
        "\"95\",\"\",\"\"\r\n"
        "\"03/03/"
        "2007\",\"3100\",\"Repair\",\"early\",\"80.00\",\"\",\"\",\"\",\"\",\"\",\"0.0\"\r\n"
        "\"04/06/2007\",\"9600.0\",\"Fees\",\"toll\",\"4.50\",\"\",\"\",\"\",\"\",\"Road\",\"\"\r\n"
        "\"02/01/2007\",\"900.0\",\"Fuel\",\"first\",\"20.00\",\"1.000\",\"20.00\",\"30.00\","
        "\"95\",\"\",\"\"\r\n";
    fs.put(import_path, {csv.begin(), csv.end()});
}

// The work that is stopped; each runs on a program started on the data set.
enum class operation {
    add,
    import,
    save,
    backup,
    restore,
    unit_change,
    rename,
    add_account,
    delete_account
};
const char* name_of(operation op) {
    switch (op) {
        case operation::add:
            return "add";
        case operation::import:
            return "import";
        case operation::save:
            return "save";
        case operation::backup:
            return "backup";
        case operation::restore:
            return "restore";
        case operation::unit_change:
            return "unit_change";
        case operation::rename:
            return "rename";
        case operation::add_account:
            return "add_account";
        case operation::delete_account:
            return "delete_account";
    }
    return "";
}

void run(operation op) {
    program_objects p;
    p.start();
    switch (op) {
        case operation::add:
            (void)p.fuel.add_record(store_kind<fuel_store>::make(2007, 5, 1, 8, 0, 0, 9900, 61));
            (void)p.service.add_record(
                store_kind<service_store>::make(2007, 5, 1, 9, 0, 0, 9900, 62));
            (void)p.fees.add_record(store_kind<fee_store>::make(2007, 5, 1, 10, 0, 0, 9900, 63));
            (void)p.trips.add_record(store_kind<trip_store>::make(2007, 5, 1, 0, 0, 0, 9900));
            break;
        case operation::import: {
            export_import csv(p.fuel, p.service, p.fees);
            (void)csv.import_file(import_path);
            break;
        }
        case operation::save: {
            auto changed = p.service.copy_record(2);
            changed.cost = 999;
            (void)p.service.update_record(fixed_text(changed.key), changed);
            (void)p.fees.delete_record_at(1);
            break;
        }
        case operation::backup:
            (void)data_set_copier(p.config).backup_to_folder(backup_folder);
            return;
        case operation::restore:
            (void)data_set_copier(p.config).restore_from_folder(backup_folder);
            return;
        case operation::unit_change:
        case operation::rename:
        case operation::add_account: {
            const std::u16string opening = op == operation::add_account ? u"" : u"Car";
            account_settings s = read_account_settings(p.config, u"Car");
            if (op == operation::unit_change) s.mileage_unit = u"Mile";
            if (op == operation::rename) s.name = u"Auto";
            if (op == operation::add_account) s.name = u"Bus";
            (void)save_account_edit(p.config, {p.fuel, p.service, p.fees, p.trips}, opening, s);
            break;
        }
        case operation::delete_account:
            (void)delete_account_and_trips(p.config, {p.fuel, p.service, p.fees, p.trips}, u"Van");
            break;
    }
    // The program ends: what is owed is written.
    (void)p.config.save_config();
    (void)p.fuel.reset();
    (void)p.service.reset();
    (void)p.fees.reset();
}

// Records a save may change: the updated one and the deleted one.
std::set<std::u16string> changed_by_save(const record_map& before) {
    std::set<std::u16string> keys;
    std::vector<std::u16string> service, fees;
    for (const auto& [key, bytes] : before) {
        if (key.starts_with(u".mat") && key.find(u"Car") == 4) service.push_back(key);
        if (key.starts_with(u".fee") && key.find(u"Car") == 4) fees.push_back(key);
    }
    // Keys of one store sort in the order the records were added, which is
    // their date order here.
    keys.insert(service.at(2));
    keys.insert(fees.at(1));
    return keys;
}

// After a stop: the checks every operation must pass.
void check_after_stop(operation op, file_system& mem, const record_map& before,
                      const files_image& data_before, const files_image& data_after,
                      const files_image& backup_before, const files_image& backup_after, tally& t,
                      const std::string& where) {
    scoped_services use{{&mem}};
    if (op == operation::backup) {
        // The next backup or restore into the folder finishes what was left.
        (void)staged_file_set::finish_interrupted(backup_folder);
        const files_image now = image_of_folder(mem, backup_folder);
        EXPECT_TRUE(now == backup_before || now == backup_after) << where << ": a mixed backup";
        if (now != backup_before && now != backup_after)
            for (const auto& [name, bytes] : backup_before) t.earlier_bytes_lost += bytes.size();
    }
    const record_map after = check_start(where);
    if (op != operation::add && op != operation::save && op != operation::backup) {
        const files_image now = image_of_folder(mem, data_folder);
        EXPECT_TRUE(now == data_before || now == data_after) << where << ": a mixed data folder";
        if (now != data_before && now != data_after)
            for (const auto& [name, bytes] : data_before) t.earlier_bytes_lost += bytes.size();
        // A deleted vehicle's records are kept in "Deleted".
        if (op == operation::delete_account && now == data_after) {
            EXPECT_TRUE(mem.file_exists(data_folder + u"Deleted\\Van.mat")) << where;
        }
        // Records that were converted or went with their vehicle are whole
        // in one of the two sets.
        if (op == operation::restore || op == operation::unit_change ||
            op == operation::delete_account)
            return;
    }
    std::set<std::u16string> may_change;
    if (op == operation::save) may_change = changed_by_save(before);
    // A rename renames the vehicle in the trips too.
    if (op == operation::rename)
        for (const auto& [key, bytes] : before)
            if (key.starts_with(u"trip")) may_change.insert(key);
    expect_kept(before, after, t, where, may_change);
}

class crash_consistency : public ::testing::TestWithParam<operation> {};

TEST_P(crash_consistency, stopped_after_every_change_the_files_load_whole) {
    const operation op = GetParam();
    testing::device_fixture device;
    make_data_set(device.fs);
    const files_image data_before = image_of_folder(device.fs, data_folder);
    const files_image backup_before = image_of_folder(device.fs, backup_folder);
    tally t;
    record_map before;
    {
        scoped_services use{{&device.fs}};
        before = check_start("before");
    }
    ASSERT_GT(before.size(), 30u);

    // The run to the end, counting its changes.
    faulty_file_system faulty(device.fs);
    {
        scoped_services use{{&faulty}};
        faulty.reset_counters();
        run(op);
    }
    const int changes = faulty.changes();
    const files_image data_after = image_of_folder(device.fs, data_folder);
    const files_image backup_after = image_of_folder(device.fs, backup_folder);
    ASSERT_GT(changes, 0);

    for (int k = 1; k <= changes; ++k) {
        for (const std::int64_t kept : {-1, 0, 1, 700, 1500}) {
            put_image(device.fs, data_folder, data_before);
            put_image(device.fs, backup_folder, backup_before);
            {
                scoped_services use{{&faulty}};
                faulty.stop_after_change(k, kept);
                run(op);
                faulty.stop_after_change(0);
            }
            ++t.stop_points;
            check_after_stop(op, device.fs, before, data_before, data_after, backup_before,
                             backup_after, t,
                             std::string(name_of(op)) + " stopped after change " +
                                 std::to_string(k) + " keeping " + std::to_string(kept));
        }
    }
    EXPECT_EQ(t.earlier_bytes_lost, 0);
    std::printf("[ figures  ] %s: %d changes, %d stop points, %lld bytes of earlier data lost\n",
                name_of(op), changes, t.stop_points, static_cast<long long>(t.earlier_bytes_lost));
}

// Writes through to the host's files and kills the process once `limit`
// bytes have been handed to them; the bytes still in its buffers are lost,
// as they are when a program is killed.
class killing_file_system : public file_system {
public:
    killing_file_system(file_system& inner, std::int64_t limit) : inner_(inner), limit_(limit) {}
    std::int64_t handed() const { return handed_; }
    const std::vector<std::int64_t>& write_ends() const { return ends_; }

    std::unique_ptr<device_file> open_read(std::u16string_view path) override {
        return inner_.open_read(path);
    }
    std::unique_ptr<device_file> create(std::u16string_view path) override {
        return wrap(inner_.create(path));
    }
    std::unique_ptr<device_file> open_write(std::u16string_view path) override {
        return wrap(inner_.open_write(path));
    }
    std::unique_ptr<device_file> create_new(std::u16string_view path) override {
        return wrap(inner_.create_new(path));
    }
    bool copy_file(std::u16string_view from, std::u16string_view to, bool overwrite) override {
        return inner_.copy_file(from, to, overwrite);
    }
    bool delete_file(std::u16string_view path) override { return inner_.delete_file(path); }
    bool replace_file(std::u16string_view from, std::u16string_view to) override {
        return inner_.replace_file(from, to);
    }
    bool create_folder(std::u16string_view path) override { return inner_.create_folder(path); }
    bool remove_folder(std::u16string_view path) override { return inner_.remove_folder(path); }
    bool file_exists(std::u16string_view path) override { return inner_.file_exists(path); }
    bool folder_exists(std::u16string_view path) override { return inner_.folder_exists(path); }
    std::vector<find_entry> find(std::u16string_view pattern) override {
        return inner_.find(pattern);
    }

private:
    class file : public device_file {
    public:
        file(std::unique_ptr<device_file> inner, killing_file_system& owner)
            : inner_(std::move(inner)), owner_(owner) {}
        std::size_t read(void* b, std::size_t n) override { return inner_->read(b, n); }
        std::size_t write(const void* data, std::size_t count) override {
            const std::int64_t room = owner_.limit_ - owner_.handed_;
            if (room <= static_cast<std::int64_t>(count)) {
                inner_->write(data, static_cast<std::size_t>(room));
                ::kill(::getpid(), SIGKILL);
            }
            owner_.handed_ += static_cast<std::int64_t>(count);
            owner_.ends_.push_back(owner_.handed_);
            return inner_->write(data, count);
        }
        bool seek(std::int64_t o, seek_origin w) override { return inner_->seek(o, w); }
        std::int64_t position() const override { return inner_->position(); }
        std::int64_t length() const override { return inner_->length(); }
        bool close() override { return inner_->close(); }

    private:
        std::unique_ptr<device_file> inner_;
        killing_file_system& owner_;
    };
    std::unique_ptr<device_file> wrap(std::unique_ptr<device_file> f) {
        if (!f) return nullptr;
        return std::make_unique<file>(std::move(f), *this);
    }

    file_system& inner_;
    std::int64_t limit_;
    std::int64_t handed_ = 0;
    std::vector<std::int64_t> ends_;
};

TEST_P(crash_consistency, killed_after_k_bytes_on_the_host_the_files_load_whole) {
    namespace fs = std::filesystem;
    const operation op = GetParam();
    testing::device_fixture device;
    make_data_set(device.fs);
    const files_image data_before = image_of_folder(device.fs, data_folder);
    const files_image backup_before = image_of_folder(device.fs, backup_folder);
    std::vector<std::uint8_t> csv = device.fs.bytes(import_path);

    const auto root = fs::temp_directory_path() /
                      ("kelvane-kill-" + std::to_string(::getpid()) + "-" + name_of(op));
    fs::remove_all(root);
    host_file_system host(root);
    const auto lay_out = [&] {
        put_image(host, data_folder, data_before);
        put_image(host, backup_folder, backup_before);
        ASSERT_TRUE(write_file_atomically(host, import_path, csv.data(), csv.size()));
    };
    tally t;
    record_map before;
    lay_out();
    {
        scoped_services use{{&host}};
        before = check_start("before");
    }

    // The whole run, counting the bytes handed to the files.
    std::vector<std::int64_t> ends;
    {
        killing_file_system counting(host, INT64_MAX);
        scoped_services use{{&counting}};
        run(op);
        ends = counting.write_ends();
    }
    ASSERT_FALSE(ends.empty());
    const files_image data_after = image_of_folder(host, data_folder);
    const files_image backup_after = image_of_folder(host, backup_folder);

    // Kill points: the start, middle and end of every write, and bytes
    // spread evenly over the whole run; thinned out to keep the run short.
    std::set<std::int64_t> points;
    std::int64_t previous = 0;
    for (std::int64_t end : ends) {
        points.insert({previous + 1, previous + (end - previous) / 2, end});
        previous = end;
    }
    for (std::int64_t at = 1; at < ends.back(); at += ends.back() / 50 + 1) points.insert(at);
    std::vector<std::int64_t> chosen(points.begin(), points.end());
    const std::size_t step = std::max<std::size_t>(1, chosen.size() / 100);
    int killed = 0;
    for (std::size_t i = 0; i < chosen.size(); i += step) {
        lay_out();
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            killing_file_system killer(host, chosen[i]);
            scoped_services use{{&killer}};
            run(op);
            ::_exit(0);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        if (WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) ++killed;
        ++t.stop_points;
        check_after_stop(
            op, host, before, data_before, data_after, backup_before, backup_after, t,
            std::string(name_of(op)) + " killed after " + std::to_string(chosen[i]) + " bytes");
    }
    EXPECT_GT(killed, 0);
    EXPECT_EQ(t.earlier_bytes_lost, 0);
    std::printf(
        "[ figures  ] %s on the host: %lld bytes written, killed at %d points, %lld bytes "
        "of earlier data lost\n",
        name_of(op), static_cast<long long>(ends.back()), t.stop_points,
        static_cast<long long>(t.earlier_bytes_lost));
    fs::remove_all(root);
}

INSTANTIATE_TEST_SUITE_P(writers, crash_consistency,
                         ::testing::Values(operation::add, operation::import, operation::save,
                                           operation::backup, operation::restore,
                                           operation::unit_change, operation::rename,
                                           operation::add_account, operation::delete_account),
                         [](const auto& info) { return std::string(name_of(info.param)); });

}  // namespace
}  // namespace kelvane
