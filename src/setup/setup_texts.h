#pragma once
// The texts of the Setup wizard. The wizard holds both languages and picks by
// the chosen one; the language page, the caption and the note page's title
// are English only.

#include <string>
#include <string_view>

#include "setup/setup_layout.h"

namespace kelvane {

struct setup_texts {
    std::u16string_view next;
    std::u16string_view back;
    std::u16string_view cancel;
    std::u16string_view finish;  // the Cancel button on the finish page
    std::u16string_view note;
    // Before the folder the program goes to, on the note page.
    std::u16string_view install_place;
    std::u16string_view installed;
    std::u16string_view package_missing;
    std::u16string_view manager_not_found;
    // Kelvane is running on the folder it would be installed into.
    std::u16string_view program_running;
    // A file that cannot be written to the temporary folder: the text goes
    // before the file's full path, the end after it.
    std::u16string_view cabinet_not_created;
    std::u16string_view description_not_created;
    std::u16string_view path_end;
};

const setup_texts& setup_texts_for(setup_language language);

inline constexpr char16_t setup_caption[] = u"Kelvane Setup";
inline constexpr char16_t setup_note_title[] = u"Kelvane";
inline constexpr char16_t setup_welcome_text[] = u"Welcome to Kelvane Installation Wizard";
inline constexpr char16_t setup_select_language_text[] = u"Please select installation language:";
// The language list, in this order; row i chooses language i + 1.
inline constexpr std::u16string_view setup_language_names[] = {u"English", u"French"};

// The note page's text: the note, and where the program goes when known.
std::u16string note_page_text(setup_language language, std::u16string_view install_folder);

// The message for a file of the install step that cannot be written, naming it.
std::u16string cabinet_not_created_text(setup_language language, std::u16string_view path);
std::u16string description_not_created_text(setup_language language, std::u16string_view path);

}  // namespace kelvane
