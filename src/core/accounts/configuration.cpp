#include "core/accounts/configuration.h"

#include <algorithm>
#include <cstring>

#include "core/accounts/account_summary_row.h"
#include "core/accounts/staged_file_set.h"
#include "core/common/folders.h"
#include "core/common/messages.h"
#include "core/common/problems.h"
#include "core/common/text.h"
#include "core/common/translate.h"
#include "core/stores/fee_store.h"
#include "core/stores/fuel_store.h"
#include "core/stores/record_store.h"
#include "core/stores/service_store.h"
#include "platform/services.h"

namespace kelvane {

namespace {

constexpr char16_t config_file_name[] = u"Config.dat";
constexpr char16_t deleted_folder_name[] = u"Deleted\\";
constexpr char16_t auto_backup_folder_name[] = u"Kelvane_backup_auto";
constexpr std::u16string_view account_extensions[] = {u".ful", u".mat", u".fee"};

constexpr char16_t msg_config_kept[] =
    u"Config.dat could not be read. It is kept, as it was, in the file:";
constexpr char16_t msg_config_not_kept[] =
    u"Config.dat could not be read, and no copy of it could be made; it is left as it is:";
constexpr char16_t msg_accounts_rebuilt[] =
    u"The list of vehicles was made again from the vehicles' files in the data folder.";
constexpr char16_t msg_not_moved_to_deleted[] =
    u"The vehicle is kept: one of its files could not be moved to the Deleted folder:";

// Room an account name leaves in a file name for what the program adds:
// the extension, a temporary ".new" and the ".unreadable" copies.
constexpr std::size_t account_name_reserve = 32;

// The defaults of a fresh configuration.
void fill_defaults(configuration::config_block& block) {
    std::memset(&block, 0, sizeof block);
    block.format_marker = 1;
    set_fixed(block.data_folder, program_folder());
    set_fixed(block.auto_backup_folder,
              std::u16string(personal_documents_folder) + u"\\" + auto_backup_folder_name + u"\\");
    // A square 240 x 240 screen has no room for the input panel above the edit boxes.
    block.no_input_panel = device().screen_height() == 240 ? 1 : 0;
}

template <std::size_t N>
bool terminated(const char16_t (&field)[N]) {
    for (char16_t c : field)
        if (c == 0) return true;
    return false;
}

bool well_paired(std::u16string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c >= 0xDC00 && c <= 0xDFFF) return false;
        if (c >= 0xD800 && c <= 0xDBFF) {
            if (i + 1 >= text.size() || text[i + 1] < 0xDC00 || text[i + 1] > 0xDFFF) return false;
            ++i;
        }
    }
    return true;
}

}  // namespace

configuration::configuration() {
    fill_defaults(block_);
}

std::u16string configuration::config_path() const {
    return data_folder() + config_file_name;
}

std::u16string configuration::deleted_folder() const {
    return data_folder() + deleted_folder_name;
}

std::u16string configuration::account_file(std::u16string_view name,
                                           std::u16string_view extension) const {
    return data_folder() + std::u16string(name) + std::u16string(extension);
}

bool configuration::is_whole_config(const std::uint8_t* bytes, std::size_t count) {
    if (count != sizeof(config_block)) return false;
    config_block block;
    std::memcpy(&block, bytes, sizeof block);
    if (block.format_marker != 1) return false;
    if (!terminated(block.current_account) || !terminated(block.data_folder) ||
        !terminated(block.auto_backup_folder) || !terminated(block.language_name))
        return false;
    for (const auto& slot : block.account_names)
        if (!terminated(slot)) return false;
    return true;
}

load_result configuration::load_config() {
    rescue_.reset();
    // A restore stopped while its files moved into the data folder is
    // finished before anything of the folder is read.
    (void)staged_file_set::finish_interrupted(data_folder());
    file_system& fs = device_files();
    auto file = fs.open_read(config_path());
    if (file) {
        // Only a whole configuration is taken: a file cut short, of another
        // kind or with broken texts would empty the list of vehicles.
        // Bytes after the block are not read (nor written back).
        const std::int64_t length = file->length();
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(
            std::clamp<std::int64_t>(length, 0, static_cast<std::int64_t>(sizeof block_))));
        std::size_t got = 0;
        while (got < bytes.size()) {
            const std::size_t n = file->read(bytes.data() + got, bytes.size() - got);
            if (n == 0) break;
            got += n;
        }
        bytes.resize(got);
        file->close();
        if (is_whole_config(bytes.data(), bytes.size())) {
            std::memcpy(&block_, bytes.data(), sizeof block_);
        } else {
            rescue_damaged(bytes);
        }
    }
    // A file carried over from another installation or a backup must never
    // send the program to that other folder.
    set_fixed(block_.data_folder, program_folder());
    // The open account's name becomes file names at start-up; one that could
    // reach outside the data folder, or that names no registered account (a
    // damaged or hand-made file), opens nothing.
    if (block_.current_account[0] != 0 &&
        (!is_valid_account_name(current_account()) || find_slot(current_account()) < 0))
        set_fixed(block_.current_account, u"");
    if (rescue_) return load_result::damaged;
    return file ? load_result::loaded : load_result::missing;
}

void configuration::rescue_damaged(const std::vector<std::uint8_t>& damaged) {
    file_system& fs = device_files();
    const std::u16string path = config_path();
    rescue_.emplace();
    const std::u16string copy = unreadable_copy_path(fs, path);
    unkept_damaged_file_ = !copy_file_atomically(fs, path, copy);
    if (!unkept_damaged_file_) rescue_->kept_copy = copy;

    // The open account is taken from the damaged file when that part of it
    // still names one of the accounts found.
    std::u16string was_open;
    constexpr std::size_t open_end = offsetof(config_block, current_account) + 258;
    if (damaged.size() >= open_end) {
        config_block partial;
        std::memcpy(&partial, damaged.data(), open_end);
        if (terminated(partial.current_account)) was_open = fixed_text(partial.current_account);
    }

    const bool input_panel_off = block_.no_input_panel != 0;
    fill_defaults(block_);
    block_.no_input_panel = input_panel_off ? 1 : 0;

    std::vector<std::u16string> names;
    const std::u16string folder = data_folder();
    for (auto ext : account_extensions) {
        for (const find_entry& entry : fs.find(folder + u"*" + std::u16string(ext))) {
            if (entry.attributes & attribute_directory) continue;
            if (entry.name.size() <= ext.size()) continue;
            const std::u16string name = entry.name.substr(0, entry.name.size() - ext.size());
            if (!is_valid_account_name(name)) continue;
            if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
        }
    }
    std::sort(names.begin(), names.end());
    for (std::size_t i = 0; i < names.size() && i < max_accounts; ++i)
        set_fixed(block_.account_names[i], names[i]);
    rescue_->accounts_found = static_cast<int>(std::min<std::size_t>(names.size(), max_accounts));
    if (find_slot(was_open) >= 0) set_fixed(block_.current_account, was_open);

    // The list made again is written at once, so that the next start finds
    // it; the damaged file was kept first (or is not written over at all).
    if (!unkept_damaged_file_) (void)save_config();
}

void configuration::report_config_rescue(const config_rescue& rescue) {
    // One box says it all: what happened to the file, and to the vehicles.
    std::u16string about = rescue.kept_copy.empty() ? u"Config.dat" : rescue.kept_copy;
    about += u'\n';
    about += tr(msg_accounts_rebuilt);
    if (rescue.kept_copy.empty())
        report_problem(msg_config_not_kept, about);
    else
        report_problem(msg_config_kept, about);
}

bool configuration::keep_damaged_file() {
    if (!unkept_damaged_file_) return true;
    file_system& fs = device_files();
    const std::u16string copy = unreadable_copy_path(fs, config_path());
    if (!copy_file_atomically(fs, config_path(), copy)) return false;
    unkept_damaged_file_ = false;
    if (rescue_) rescue_->kept_copy = copy;
    return true;
}

bool configuration::save_config() {
    block_.format_marker = 1;
    // A damaged Config.dat that could not be kept yet is not written over
    // until a copy of it is safe.
    if (!keep_damaged_file()) {
        report_problem(msg_write_failed);
        return false;
    }
    const bool ok = write_file_atomically(device_files(), config_path(), &block_, sizeof block_);
    if (!ok) report_problem(msg_write_failed);
    return ok;
}

bool configuration::stage_config(staged_file_set& set) {
    block_.format_marker = 1;
    if (!keep_damaged_file()) return false;
    return set.add_written(config_file_name, [&](std::u16string_view path) {
        return write_file_atomically(device_files(), path, &block_, sizeof block_);
    });
}

int configuration::find_slot(std::u16string_view name) const {
    if (name.empty()) return -1;
    for (int i = 0; i < max_accounts; ++i)
        if (fixed_text(block_.account_names[i]) == name) return i;
    return -1;
}

bool configuration::account_exists(std::u16string_view name) const {
    return find_slot(name) >= 0;
}

std::u16string configuration::account_named_alike(std::u16string_view name) const {
    if (name.empty()) return {};
    if (find_slot(name) >= 0) return std::u16string(name);
    for (int i = 0; i < max_accounts; ++i) {
        const std::u16string other = fixed_text(block_.account_names[i]);
        if (!other.empty() && same_name_ignoring_case(other, name)) return other;
    }
    return {};
}

namespace {

// The handheld's file system, like Windows', takes these names (with any
// ending) for its devices, not for files.
bool is_device_name(std::u16string_view name) {
    name = name.substr(0, name.find(u'.'));
    while (!name.empty() && name.back() == u' ') name.remove_suffix(1);
    std::u16string folded;
    for (char16_t c : name) folded += c >= u'a' && c <= u'z' ? char16_t(c - 32) : c;
    for (std::u16string_view device :
         {u"CON", u"PRN", u"AUX", u"NUL", u"CLOCK$", u"CONIN$", u"CONOUT$"})
        if (folded == device) return true;
    return folded.size() == 4 && (folded.starts_with(u"COM") || folded.starts_with(u"LPT")) &&
           folded[3] >= u'0' && folded[3] <= u'9';
}

// Marks that turn the direction of the text around it: a name holding one
// shows on screen as another name (and another file ending) than it has.
bool is_direction_mark(char16_t c) {
    return c == 0x061C || c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E) ||
           (c >= 0x2066 && c <= 0x2069);
}

}  // namespace

bool configuration::is_valid_account_name(std::u16string_view name) {
    if (name.empty() || name.size() > max_name_length) return false;
    if (name == u"." || name == u"..") return false;
    // The handheld's file system drops a dot or a space at the end of a
    // name, so that such a name would share another's files, or have none.
    if (name.back() == u'.' || name.back() == u' ') return false;
    if (is_device_name(name)) return false;
    for (char16_t c : name) {
        if (c < 0x20 || c == 0x7f || is_direction_mark(c)) return false;
        if (std::u16string_view(u"\\/:*?\"<>|").find(c) != std::u16string_view::npos) return false;
    }
    // Host file names are UTF-8 bytes: a broken surrogate pair has no such
    // form, and a long name of wide characters can pass the host's limit.
    if (!well_paired(name)) return false;
    return to_utf8(name).size() + account_name_reserve <= max_file_name_bytes;
}

account_change configuration::saved_change() {
    return save_config() ? account_change::done : account_change::not_saved;
}

bool configuration::place_account(std::u16string_view name) {
    if (name.size() > max_name_length) name = name.substr(0, max_name_length);
    if (!is_valid_account_name(name) || !account_named_alike(name).empty()) return false;
    for (int i = 0; i < max_accounts; ++i) {
        if (block_.account_names[i][0] == 0) {
            set_fixed(block_.account_names[i], name);
            return true;
        }
    }
    return false;
}

bool configuration::unplace_account(std::u16string_view name) {
    const int slot = find_slot(name);
    if (slot < 0) return false;
    set_fixed(block_.account_names[slot], u"");
    set_fixed(block_.current_account, u"");
    return true;
}

account_change configuration::add_account(std::u16string_view name) {
    return place_account(name) ? saved_change() : account_change::refused;
}

bool configuration::copy_to_deleted(const std::u16string& name,
                                    std::vector<std::u16string>& present) {
    auto& files = device_files();
    const auto source = data_folder();
    present.clear();
    for (auto ext : account_extensions)
        if (files.file_exists(source + name + std::u16string(ext)))
            present.push_back(name + std::u16string(ext));
    for (const auto& file : present) {
        if (!copy_into_folder(source, deleted_folder(), file)) {
            report_problem(msg_not_moved_to_deleted, source + file);
            return false;
        }
    }
    return true;
}

account_change configuration::delete_account(std::u16string_view name_view) {
    return delete_account(name_view, {});
}

account_change configuration::delete_account(std::u16string_view name_view,
                                             const staged_extra& also) {
    // The caller's text may live in the slot that is emptied below.
    const std::u16string name(name_view);
    const int slot = find_slot(name);
    if (slot < 0) return account_change::refused;

    // A store still holding this account first writes its pending changes, so
    // that they go to "Deleted" with the files instead of bringing the files
    // back at the next reset. Changes it cannot write were reported
    // as lost; the account goes all the same, as asked.
    std::vector<account_store*> holding;
    for (account_store* store : {stores_.fuel, stores_.service, stores_.fees}) {
        if (store && !store->fresh() && store->account_name() == name) {
            (void)store->reset();
            holding.push_back(store);
        }
    }
    const auto keep_account = [&] {
        // The account stays as it was, open where it was open.
        for (account_store* store : holding) (void)store->load(data_folder(), name, false);
        return account_change::files_kept;
    };

    // Copies go to "Deleted" first; then the account's files leave the data
    // folder in one step with the Config.dat that no longer names it (and
    // what else changes with it), so that a deletion cut off at any point
    // leaves the vehicle whole where it was, or gone with its copies kept.
    // A name loaded from a damaged or foreign file is never used as a path.
    const bool has_files = is_valid_account_name(name);
    std::vector<std::u16string> present;
    if (has_files && !copy_to_deleted(name, present)) return keep_account();
    const config_block before = block_;
    set_fixed(block_.account_names[slot], u"");
    set_fixed(block_.current_account, u"");
    staged_file_set set(data_folder());
    bool staged = set.begin() && stage_config(set) && (!also || also(set));
    if (has_files)
        for (auto ext : account_extensions) set.add_removal(name + std::u16string(ext));
    const staged_file_set::outcome outcome =
        staged ? set.commit() : staged_file_set::outcome::rolled_back;
    if (outcome == staged_file_set::outcome::rolled_back) {
        block_ = before;
        report_problem(msg_not_moved_to_deleted, data_folder() + name);
        return keep_account();
    }
    // "Deleted" keeps the files of the last deletion only; an older copy
    // must not pass for part of this one. Without the fuel file, which every
    // account has, the copies there may be the only ones of a deletion that
    // was cut off before: they stay.
    const std::u16string fuel_file = name + u".ful";
    if (std::find(present.begin(), present.end(), fuel_file) != present.end()) {
        for (auto ext : account_extensions) {
            const auto file = name + std::u16string(ext);
            if (std::find(present.begin(), present.end(), file) == present.end())
                device_files().delete_file(deleted_folder() + file);
        }
    }
    return outcome == staged_file_set::outcome::done ? account_change::done
                                                     : account_change::not_saved;
}

account_change configuration::forget_account(std::u16string_view name) {
    return unplace_account(name) ? saved_change() : account_change::refused;
}

bool configuration::has_free_slot() const {
    for (int i = 0; i < max_accounts; ++i)
        if (block_.account_names[i][0] == 0) return true;
    return false;
}

account_opening configuration::open_account(std::u16string_view name) {
    account_opening opening;
    if (!is_valid_account_name(name)) return opening;
    opening.opened = true;
    const auto folder = data_folder();
    for (account_store* store : {stores_.fuel, stores_.service, stores_.fees})
        if (store && store->load(folder, name, false) == load_result::damaged)
            opening.damaged_file = true;
    set_fixed(block_.current_account, name);
    opening.not_saved = !save_config();
    return opening;
}

std::vector<std::u16string> configuration::list_account_names() const {
    std::vector<std::u16string> names;
    for (int i = max_accounts - 1; i >= 0; --i)
        if (block_.account_names[i][0] != 0) names.push_back(fixed_text(block_.account_names[i]));
    return names;
}

std::u16string configuration::current_account() const {
    return fixed_text(block_.current_account);
}

void configuration::set_current_account(std::u16string_view name) {
    set_fixed(block_.current_account, name);
}

std::u16string configuration::data_folder() const {
    return fixed_text(block_.data_folder);
}

void configuration::set_data_folder(std::u16string_view folder) {
    set_fixed(block_.data_folder, folder);
}

std::u16string configuration::auto_backup_folder() const {
    return fixed_text(block_.auto_backup_folder);
}

void configuration::set_auto_backup_folder(std::u16string_view folder) {
    set_fixed(block_.auto_backup_folder, folder);
}

std::u16string configuration::language_name() const {
    return fixed_text(block_.language_name);
}

void configuration::set_language_name(std::u16string_view name) {
    set_fixed(block_.language_name, name);
}

void configuration::set_last_auto_backup(int year, int month, int day) {
    block_.last_auto_backup_year = year;
    block_.last_auto_backup_month = month;
    block_.last_auto_backup_day = day;
}

std::u16string configuration::account_slot(int i) const {
    if (i < 0 || i >= max_accounts) return {};
    return fixed_text(block_.account_names[i]);
}

double configuration::fill_account_summary(std::vector<account_summary_row>& rows) const {
    rows.clear();
    double total = 0;
    const std::u16string folder = data_folder();
    for (int i = 0; i < max_accounts; ++i) {
        const std::u16string name = account_slot(i);
        if (name.empty()) continue;
        fuel_header fuel{};
        service_header service{};
        fee_header fees{};
        // A damaged file has been reported and counts as zero.
        if (is_valid_account_name(name)) {
            fuel = fuel_store::read_account_header(folder, name).header;
            service = service_store::read_account_header(folder, name).header;
            fees = fee_store::read_account_header(folder, name).header;
        }
        const double cost = fuel.total_fuel_cost + service.total_cost + fees.total_cost;
        rows.insert(rows.begin(), account_summary_row{name, format("%.f", fuel.current_mileage),
                                                      format("%.f", cost)});
        total += cost;
    }
    return total;
}

}  // namespace kelvane
