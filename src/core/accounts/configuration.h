#pragma once
// The program's configuration: the registry of vehicle accounts (100 name
// slots), the open account and the few program-wide settings, kept as one
// fixed block in "Config.dat" in the data folder.
//
// An account is only a name here; its records live in the files
// "<data folder><name>.ful", ".mat" and ".fee", so every name is also a file
// name and is checked as one before it can reach the file system.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/load_result.h"
#include "core/stores/account_store.h"

namespace kelvane {

struct account_summary_row;
class staged_file_set;

// What a change to the registry of accounts did.
// clang-format off
enum class [[nodiscard]] account_change {
    done,       // changed and saved
    refused,    // nothing changed (each operation says when)
    not_saved,  // changed in memory, but Config.dat could not be written (the owner was told)
    // Deleting: the account's files could not be moved into "Deleted"; the
    // account stays, with its files where they were (the owner was told).
    files_kept,
};
// clang-format on

// What opening an account did.
struct [[nodiscard]] account_opening {
    // False when the name cannot be an account; nothing changed then.
    bool opened = false;
    // A store found its file of the account present but unreadable (the
    // owner was told). That store stays empty, and a copy of the file is
    // kept before anything is written over it.
    bool damaged_file = false;
    // Config.dat could not record the open account (the owner was told).
    bool not_saved = false;
};

// What loading found when Config.dat was there but could not be used (cut
// short, of another kind, or with its texts broken).
struct config_rescue {
    // Where the damaged file is kept; empty when no copy could be made (then
    // Config.dat is not written over until one can).
    std::u16string kept_copy;
    // The accounts found from their record files in the data folder.
    int accounts_found = 0;
};

class configuration {
public:
    static constexpr int max_accounts = 100;
    // Characters of an account name, without the terminator.
    static constexpr std::size_t max_name_length = 128;

    // "Config.dat", byte for byte (little-endian, UTF-16 texts, zero-terminated).
    struct config_block {
        std::int32_t format_marker;  // written as 1, ignored on load
        std::uint8_t reserved_head[200];
        char16_t current_account[129];  // empty = no account open
        std::uint8_t padding_a[2];
        std::int32_t last_page;
        char16_t data_folder[601];                  // with trailing backslash
        char16_t auto_backup_folder[601];           // with leading and trailing backslash
        char16_t language_name[601];                // empty = built-in English
        char16_t account_names[max_accounts][129];  // empty = free slot
        std::uint8_t padding_b[2];
        std::uint8_t reserved_mid[32];
        std::int32_t last_auto_backup_year;  // 0 = never
        std::int32_t last_auto_backup_month;
        std::int32_t last_auto_backup_day;
        std::int32_t no_input_panel;  // 1 = never raise the input panel
        std::uint8_t reserved_tail[104];
    };

    configuration();
    configuration(const configuration&) = delete;
    configuration& operator=(const configuration&) = delete;

    // The three stores open_account and delete_account work on; unattached
    // stores are skipped.
    void attach_stores(account_stores stores) { stores_ = stores; }
    const account_stores& stores() const { return stores_; }

    // Reads "Config.dat" (a missing one keeps what is in memory and gives
    // missing), then points the data folder at the program's own folder
    // again. An open account whose name cannot be a file name is closed.
    // A file that is not a whole configuration gives damaged: it is kept as
    // a copy beside it, the settings start from their defaults and the list
    // of accounts is made again from the record files in the data folder,
    // so that no vehicle disappears (rescue() says what was done; the caller
    // tells the owner with report_config_rescue).
    load_result load_config();
    // What the last load did with a damaged Config.dat, if it found one.
    const std::optional<config_rescue>& rescue() const { return rescue_; }
    // Tells the owner what was done with a damaged Config.dat.
    static void report_config_rescue(const config_rescue& rescue);
    // True when the bytes are a whole configuration this program can take.
    static bool is_whole_config(const std::uint8_t* bytes, std::size_t count);
    // Writes the whole block through a temporary file. On any failure the
    // owner sees the write error message, the previous file stays as it was
    // and false is returned; the block in memory is kept either way.
    [[nodiscard]] bool save_config();

    bool account_exists(std::u16string_view name) const;
    // The registered name whose files a new account of this name would
    // share: the same name, or one that differs only in letter case (the
    // device's, Windows' and macOS' file systems take them as one). Empty
    // when there is none.
    std::u16string account_named_alike(std::u16string_view name) const;
    // Registers a name in the lowest free slot and saves. A name longer than
    // 128 characters is cut to 128. Refused when the name is empty, not a
    // valid file name, already present (also in another letter case) or all
    // slots are in use.
    account_change add_account(std::u16string_view name);
    // Moves the account's three files to the "Deleted" folder, empties its
    // slot, closes whatever account was open and saves. Refused when no slot
    // holds it; files_kept, with the account left as it was, when a file
    // could not be moved.
    account_change delete_account(std::u16string_view name);
    // The same with more files of the data folder changing together with
    // Config.dat and the account's files: `also` puts them into the set.
    using staged_extra = std::function<bool(staged_file_set&)>;
    account_change delete_account(std::u16string_view name, const staged_extra& also);
    // Empties the name's slot and closes whatever account was open, leaving
    // the account's files where they are (a rename has already moved them),
    // and saves. Refused when no slot holds the name.
    account_change forget_account(std::u16string_view name);
    // The registry changes of add_account and forget_account, in memory
    // only, for a change that writes Config.dat together with other files
    // (stage_config). False when add_account or forget_account would refuse.
    [[nodiscard]] bool place_account(std::u16string_view name);
    [[nodiscard]] bool unplace_account(std::u16string_view name);
    // Puts the configuration as it is in memory into a set of files that
    // replaces the data folder's all at once, as Config.dat. A damaged
    // Config.dat not kept yet is copied aside first. False when it could not
    // be written.
    [[nodiscard]] bool stage_config(staged_file_set& set);
    // True when some slot is free for a new account.
    bool has_free_slot() const;
    // Loads the account into the attached stores, makes it current and
    // saves. The account is opened even when a store's file is damaged.
    account_opening open_account(std::u16string_view name);
    // The registered names, highest slot first (the order of every account
    // choice list).
    std::vector<std::u16string> list_account_names() const;

    // True when the name can be an account: not empty, at most 128
    // characters, and a plain file name inside the data folder that the
    // file systems take with every ending the program gives it.
    static bool is_valid_account_name(std::u16string_view name);

    // One row per account, highest slot first, read from the files' headers;
    // returns the sum of all accounts' costs.
    double fill_account_summary(std::vector<account_summary_row>& rows) const;

    // Paths derived from the data folder.
    std::u16string config_path() const;
    std::u16string deleted_folder() const;
    std::u16string account_file(std::u16string_view name, std::u16string_view extension) const;

    std::u16string current_account() const;
    void set_current_account(std::u16string_view name);
    int last_page() const { return block_.last_page; }
    void set_last_page(int page) { block_.last_page = page; }
    std::u16string data_folder() const;
    void set_data_folder(std::u16string_view folder);
    std::u16string auto_backup_folder() const;
    void set_auto_backup_folder(std::u16string_view folder);
    std::u16string language_name() const;
    void set_language_name(std::u16string_view name);
    bool no_input_panel() const { return block_.no_input_panel != 0; }
    void set_no_input_panel(bool on) { block_.no_input_panel = on ? 1 : 0; }
    int last_auto_backup_year() const { return block_.last_auto_backup_year; }
    int last_auto_backup_month() const { return block_.last_auto_backup_month; }
    int last_auto_backup_day() const { return block_.last_auto_backup_day; }
    void set_last_auto_backup(int year, int month, int day);
    // The name in slot i (0..99); empty for a free slot or an index outside.
    std::u16string account_slot(int i) const;

    config_block& block() { return block_; }
    const config_block& block() const { return block_; }

private:
    int find_slot(std::u16string_view name) const;
    // Saves after a change to the registry and says how that went.
    account_change saved_change();
    // After a damaged Config.dat: keeps it, starts from the defaults and
    // registers the accounts whose record files lie in the data folder.
    void rescue_damaged(const std::vector<std::uint8_t>& damaged);
    // Copies the account's files into "Deleted"; the names of those it has.
    // False (the owner told) when one could not be copied.
    bool copy_to_deleted(const std::u16string& name, std::vector<std::u16string>& present);
    // A damaged Config.dat not kept yet is copied aside; false when it cannot be.
    bool keep_damaged_file();

    config_block block_;
    account_stores stores_;
    std::optional<config_rescue> rescue_;
    // A damaged Config.dat not yet kept as a copy: it is not written over.
    bool unkept_damaged_file_ = false;
};

static_assert(std::endian::native == std::endian::little, "Config.dat is read in place");
static_assert(sizeof(configuration::config_block) == 30028);
static_assert(offsetof(configuration::config_block, format_marker) == 0);
static_assert(offsetof(configuration::config_block, reserved_head) == 4);
static_assert(offsetof(configuration::config_block, current_account) == 204);
static_assert(offsetof(configuration::config_block, padding_a) == 462);
static_assert(offsetof(configuration::config_block, last_page) == 464);
static_assert(offsetof(configuration::config_block, data_folder) == 468);
static_assert(offsetof(configuration::config_block, auto_backup_folder) == 1670);
static_assert(offsetof(configuration::config_block, language_name) == 2872);
static_assert(offsetof(configuration::config_block, account_names) == 4074);
static_assert(offsetof(configuration::config_block, padding_b) == 29874);
static_assert(offsetof(configuration::config_block, reserved_mid) == 29876);
static_assert(offsetof(configuration::config_block, last_auto_backup_year) == 29908);
static_assert(offsetof(configuration::config_block, last_auto_backup_month) == 29912);
static_assert(offsetof(configuration::config_block, last_auto_backup_day) == 29916);
static_assert(offsetof(configuration::config_block, no_input_panel) == 29920);
static_assert(offsetof(configuration::config_block, reserved_tail) == 29924);

}  // namespace kelvane
