#include "core/accounts/configuration.h"

#include <cstring>

#include "core/common/messages.h"
#include "core/common/text.h"
#include "platform/services.h"

namespace kelvane {

namespace {

constexpr char16_t config_file_name[] = u"Config.dat";
constexpr char16_t deleted_folder_name[] = u"Deleted\\";
constexpr char16_t auto_backup_folder_name[] = u"Kelvane_backup_auto";
constexpr std::u16string_view account_extensions[] = {u".ful", u".mat", u".fee"};

std::u16string without_trailing_backslash(std::u16string_view path) {
    if (!path.empty() && path.back() == u'\\') path.remove_suffix(1);
    return std::u16string(path);
}

}  // namespace

configuration::configuration() {
    std::memset(&block_, 0, sizeof block_);
    block_.format_marker = 1;
    set_fixed(block_.data_folder, program_folder());
    set_fixed(block_.auto_backup_folder,
              std::u16string(personal_documents_folder) + u"\\" + auto_backup_folder_name + u"\\");
    // A square 240 x 240 screen has no room for the input panel above the edit boxes.
    block_.no_input_panel = device().screen_height() == 240 ? 1 : 0;
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

load_result configuration::load_config() {
    auto file = device_files().open_read(config_path());
    const load_result result = file ? load_result::loaded : load_result::missing;
    if (file) {
        // A shorter file (an older or damaged one) replaces only what it holds;
        // the rest of the block keeps its values.
        auto* bytes = reinterpret_cast<std::uint8_t*>(&block_);
        std::size_t done = 0;
        while (done < sizeof block_) {
            const std::size_t got = file->read(bytes + done, sizeof block_ - done);
            if (got == 0) break;
            done += got;
        }
        file->close();
    }
    // A file carried over from another installation or a backup must never
    // send the program to that other folder.
    set_fixed(block_.data_folder, program_folder());
    // The open account's name becomes file names at start-up; one that could
    // reach outside the data folder (a damaged or hand-made file) opens nothing.
    if (block_.current_account[0] != 0 && !is_valid_account_name(current_account()))
        set_fixed(block_.current_account, u"");
    return result;
}

bool configuration::save_config() {
    block_.format_marker = 1;
    atomic_file_writer writer(device_files(), config_path());
    bool ok = writer.open();
    if (ok) ok = writer.write(&block_, sizeof block_);
    if (ok) ok = writer.commit();
    if (!ok) show_message(msg_write_failed);
    return ok;
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

bool configuration::is_valid_account_name(std::u16string_view name) {
    if (name.empty() || name.size() > max_name_length) return false;
    if (name == u"." || name == u"..") return false;
    for (char16_t c : name) {
        if (c < 0x20 || c == 0x7f) return false;
        if (std::u16string_view(u"\\/:*?\"<>|").find(c) != std::u16string_view::npos) return false;
    }
    return true;
}

account_change configuration::saved_change() {
    return save_config() ? account_change::done : account_change::not_saved;
}

account_change configuration::add_account(std::u16string_view name) {
    if (name.size() > max_name_length) name = name.substr(0, max_name_length);
    if (!is_valid_account_name(name) || account_exists(name)) return account_change::refused;
    for (int i = 0; i < max_accounts; ++i) {
        if (block_.account_names[i][0] == 0) {
            set_fixed(block_.account_names[i], name);
            return saved_change();
        }
    }
    return account_change::refused;
}

account_change configuration::delete_account(std::u16string_view name_view) {
    // The caller's text may live in the slot that is emptied below.
    const std::u16string name(name_view);
    const int slot = find_slot(name);
    if (slot < 0) return account_change::refused;
    set_fixed(block_.account_names[slot], u"");

    // A store still holding this account first writes its pending changes, so
    // that they go to "Deleted" with the files instead of bringing the files
    // back at the next reset. Changes it cannot write were shown to the owner
    // as lost; the account goes all the same, as asked.
    for (account_store* store : {stores_.fuel, stores_.maintenance, stores_.fees})
        if (store && !store->fresh() && store->account_name() == name) (void)store->reset();

    // A name loaded from a damaged or foreign file is never used as a path.
    if (is_valid_account_name(name)) {
        const auto source = data_folder();
        const auto target = deleted_folder();
        auto& files = device_files();
        for (auto ext : account_extensions) {
            const auto file = name + std::u16string(ext);
            if (files.file_exists(source + file)) {
                // The original goes only once its copy is safe in "Deleted".
                if (copy_into_folder(source, target, file)) files.delete_file(source + file);
            } else {
                // "Deleted" keeps the files of the last deletion only; an
                // older copy must not pass for part of this one.
                files.delete_file(target + file);
            }
        }
    }

    set_fixed(block_.current_account, u"");
    return saved_change();
}

account_change configuration::forget_account(std::u16string_view name) {
    const int slot = find_slot(name);
    if (slot < 0) return account_change::refused;
    set_fixed(block_.account_names[slot], u"");
    set_fixed(block_.current_account, u"");
    return saved_change();
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
    for (account_store* store : {stores_.fuel, stores_.maintenance, stores_.fees})
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

void configuration::make_folder_path(std::u16string_view path) {
    const auto last = path.rfind(u'\\');
    if (last == std::u16string_view::npos) return;
    const auto kept = path.substr(0, last + 1);
    auto& files = device_files();
    for (std::size_t i = 0; i < kept.size(); ++i) {
        if (kept[i] == u'\\' && i > 0) files.create_folder(kept.substr(0, i));
    }
    files.create_folder(without_trailing_backslash(kept));
}

bool configuration::copy_into_folder(std::u16string_view source_folder,
                                     std::u16string_view target_folder,
                                     std::u16string_view file_name) {
    auto& files = device_files();
    files.create_folder(without_trailing_backslash(target_folder));
    const auto name = std::u16string(file_name);
    return files.copy_file(std::u16string(source_folder) + name,
                           std::u16string(target_folder) + name, true);
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

}  // namespace kelvane
