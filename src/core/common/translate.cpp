#include "core/common/translate.h"

namespace kelvane {

std::u16string tr(std::u16string_view key) {
    const text_translator* t = services().translator;
    return t ? t->translate(key) : std::u16string(key);
}

std::u16string reverse_tr(std::u16string_view text) {
    const text_translator* t = services().translator;
    return t ? t->reverse_translate(text) : std::u16string(text);
}

}  // namespace kelvane
