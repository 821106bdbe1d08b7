#pragma once
// The program's options: the language of the next start, the folder of the
// automatic backups and whether edit boxes may raise the input panel, and
// what applying them does to the configuration and the program's folder.
//
// How a language becomes the language of the next start: the program always
// starts with the table named "Language" in its folder (as the handheld
// does, so a package that installs a translation as "Language.lng" works
// unchanged). Choosing a language file copies it over "Language.lng" and
// removes "Language.bng", the cache that would otherwise win over the new
// file; choosing "<English>" removes both, so the next start finds no table
// and shows the built-in texts. A translation that exists only as
// "Language.lng" is first kept under another name ("Language_saved.lng"), so
// that no choice ever destroys a translation. The configuration keeps the
// chosen file's name for the options screen.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kelvane {

class configuration;

// The choice that stands for the built-in texts (stored as an empty name).
inline constexpr char16_t english_language[] = u"<English>";

// The backup path as stored: a non-empty path gets a "\" at its end and at
// its start where it lacks one.
std::u16string normalise_backup_path(std::u16string_view path);

// The language files of the program's folder ("*.lng"), in the order the
// file system lists them.
std::vector<std::u16string> list_language_files(const configuration& config);

// The language the next start will show, as the options screen offers it:
// the configuration's choice; else "Language.lng" when a translation is
// installed under that name; else empty, the built-in English.
std::u16string language_in_force(const configuration& config);

struct program_options {
    // A ".lng" file name (the extension may be left out), "<English>" or empty.
    std::u16string language;
    std::u16string backup_folder;  // as typed; stored normalised
    bool no_input_panel = false;
};

enum class options_outcome {
    applied,
    language_name_invalid,   // holds "\", "/", ".." or is no plain file name; nothing stored
    language_file_missing,   // no such ".lng" file in the program's folder; nothing stored
    language_not_installed,  // the file could not be put in place; nothing stored
};

struct options_result {
    options_outcome outcome = options_outcome::applied;
    // A different language was installed for the next start.
    bool language_changed = false;
    // The language now in force for the next start (language_in_force).
    std::u16string language;
    // The backup folder as stored.
    std::u16string backup_folder;
    // The configuration reached "Config.dat" (a failure was reported).
    bool saved = true;
};

// The message (an English key) the owner sees when options are refused;
// empty for options that were applied.
std::u16string_view options_message(options_outcome outcome);

// Stores the backup folder (normalised) and the input-panel choice, installs
// the language when it differs from `opening_language` (the language the
// options screen opened with, language_in_force) and saves the
// configuration. A refused language changes nothing at all.
options_result apply_options(configuration& config, const program_options& chosen,
                             std::u16string_view opening_language);

// The device's language identifier of a French locale.
inline constexpr std::uint16_t french_language_id = 12;

// The first start (no "Config.dat" yet) with no language chosen speaks the
// desktop's language where a translation for it lies in the program's
// folder: French for a French locale, installed as the options screen
// installs it, so that choosing another language there later wins. True
// when it installed one; nothing changes otherwise.
bool follow_desktop_language(configuration& config, std::uint16_t language_id);

}  // namespace kelvane
