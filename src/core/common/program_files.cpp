#include "core/common/program_files.h"

#include <string>

#include "core/common/text.h"
#include "platform/services.h"

namespace kelvane {

namespace {

std::u16string folded(std::u16string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (char16_t c : text) out += fold_case(c);
    return out;
}

}  // namespace

bool is_program_file(std::u16string_view path) {
    const std::u16string name = folded(file_name_of(path));
    // Wherever they lie: a backup folder or a copied data folder holds the
    // same files.
    for (std::u16string_view ext : {u".ful", u".mat", u".fee", u".tri", u".lng", u".bng", u".exe"})
        if (name.ends_with(ext)) return true;
    if (name == u"config.dat" || name == u"config_key.dat") return true;
    if (name.find(u".unreadable") != std::u16string::npos) return true;
    // In the program's own folder, what else it keeps there.
    const bool own_folder = folded(parent_folder(path) + u"\\") == folded(program_folder());
    return own_folder && (name == u"kelvane.htm" || name == u"debug.txt");
}

}  // namespace kelvane
