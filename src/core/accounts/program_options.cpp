#include "core/accounts/program_options.h"

#include <cstdint>

#include "core/accounts/configuration.h"
#include "core/common/messages.h"
#include "core/common/text.h"
#include "platform/services.h"

namespace kelvane {

namespace {

constexpr std::u16string_view language_extension = u".lng";
constexpr std::u16string_view cache_extension = u".bng";
constexpr std::u16string_view installed_name = u"Language";
constexpr std::u16string_view saved_name = u"Language_saved";

bool ends_with_extension(std::u16string_view name) {
    return ends_with_ignoring_case(name, language_extension);
}

// The name the language table loads: the file name without ".lng".
std::u16string base_name(std::u16string_view name) {
    if (ends_with_extension(name)) name.remove_suffix(language_extension.size());
    return std::u16string(name);
}

std::u16string with(std::u16string_view a, std::u16string_view b) {
    std::u16string s(a);
    s.append(b);
    return s;
}

// Keeps a translation installed only as "Language.lng" under a name of its
// own before anything replaces or removes it. True when it is safe to go on.
bool keep_installed_translation(file_system& files, const std::u16string& folder) {
    const std::u16string installed = with(folder, with(installed_name, language_extension));
    if (!files.file_exists(installed)) return true;
    std::vector<std::uint8_t> bytes, other;
    if (!read_whole_file(files, installed, bytes)) return false;
    for (const auto& entry : files.find(with(folder, u"*.lng"))) {
        if ((entry.attributes & attribute_directory) ||
            same_name_ignoring_case(base_name(entry.name), installed_name))
            continue;
        if (read_whole_file(files, folder + entry.name, other) && other == bytes) return true;
    }
    for (int n = 1; n < 1000; ++n) {
        std::u16string name(saved_name);
        if (n > 1) name += u"_" + format("%d", n);
        const std::u16string target = with(folder, with(name, language_extension));
        if (!files.file_exists(target)) return files.copy_file(installed, target, false);
    }
    return false;
}

// Puts the chosen language in place for the next start; an empty base name
// is the built-in English.
options_outcome install_language(const std::u16string& folder, const std::u16string& base) {
    auto& files = device_files();
    const std::u16string installed = with(folder, with(installed_name, language_extension));
    const std::u16string cache = with(folder, with(installed_name, cache_extension));
    const bool is_installed_file = same_name_ignoring_case(base, installed_name);
    const std::u16string source = with(folder, with(base, language_extension));
    if (!base.empty() && !files.file_exists(source)) return options_outcome::language_file_missing;

    if (!is_installed_file) {
        if (!keep_installed_translation(files, folder))
            return options_outcome::language_not_installed;
        if (base.empty()) {
            files.delete_file(installed);
            if (files.file_exists(installed)) return options_outcome::language_not_installed;
        } else {
            std::vector<std::uint8_t> bytes;
            if (!read_whole_file(files, source, bytes) ||
                !write_file_atomically(files, installed, bytes.data(), bytes.size()))
                return options_outcome::language_not_installed;
        }
    }
    // The cache is read in preference to the text file; the next start must
    // build it afresh from the language just put in place.
    files.delete_file(cache);
    if (files.file_exists(cache)) return options_outcome::language_not_installed;
    return options_outcome::applied;
}

bool is_valid_language_name(std::u16string_view name) {
    if (name.find(u"..") != std::u16string_view::npos) return false;
    return configuration::is_valid_account_name(name) && !base_name(name).empty();
}

}  // namespace

std::u16string_view options_message(options_outcome outcome) {
    switch (outcome) {
        case options_outcome::applied:
            break;
        case options_outcome::language_name_invalid:
            return u"The language name is not valid: it can not hold \\, / or \"..\".";
        case options_outcome::language_file_missing:
            return u"The language file can not be found.";
        case options_outcome::language_not_installed:
            return msg_write_failed;
    }
    return {};
}

std::u16string normalise_backup_path(std::u16string_view path) {
    std::u16string p(path);
    if (!p.empty() && p.back() != u'\\') p += u'\\';
    if (!p.empty() && p.front() != u'\\') p.insert(p.begin(), u'\\');
    return p;
}

std::vector<std::u16string> list_language_files(const configuration& config) {
    std::vector<std::u16string> names;
    for (const auto& entry : device_files().find(with(config.data_folder(), u"*.lng")))
        if (!(entry.attributes & attribute_directory)) names.push_back(entry.name);
    return names;
}

std::u16string language_in_force(const configuration& config) {
    std::u16string chosen = config.language_name();
    if (!chosen.empty()) return chosen;
    const std::u16string installed = with(installed_name, language_extension);
    if (device_files().file_exists(with(config.data_folder(), installed))) return installed;
    return {};
}

options_result apply_options(configuration& config, const program_options& chosen,
                             std::u16string_view opening_language) {
    options_result result;
    std::u16string language = chosen.language == english_language ? u"" : chosen.language;
    if (!language.empty()) {
        if (!is_valid_language_name(language)) {
            result.outcome = options_outcome::language_name_invalid;
            return result;
        }
        language = base_name(language) + std::u16string(language_extension);
    }
    const std::u16string opening =
        opening_language.empty() ? u"" : base_name(opening_language) + u".lng";
    result.language_changed = !same_name_ignoring_case(language, opening);
    if (result.language_changed) {
        result.outcome = install_language(config.data_folder(), base_name(language));
        if (result.outcome != options_outcome::applied) {
            result.language_changed = false;
            return result;
        }
        config.set_language_name(language);
    }
    result.backup_folder = normalise_backup_path(chosen.backup_folder);
    config.set_auto_backup_folder(result.backup_folder);
    config.set_no_input_panel(chosen.no_input_panel);
    result.saved = config.save_config();
    result.language = language_in_force(config);
    return result;
}

bool follow_desktop_language(configuration& config, std::uint16_t language_id) {
    if (language_id != french_language_id || !language_in_force(config).empty()) return false;
    const options_result result = apply_options(
        config, {u"French.lng", config.auto_backup_folder(), config.no_input_panel()}, u"");
    return result.outcome == options_outcome::applied && result.language_changed;
}

}  // namespace kelvane
