#include "core/common/translate.h"

namespace kelvane {

namespace {
const text_translator* g_translator = nullptr;
}

std::u16string tr(std::u16string_view key) {
    return g_translator ? g_translator->translate(key) : std::u16string(key);
}

std::u16string reverse_tr(std::u16string_view text) {
    return g_translator ? g_translator->reverse_translate(text) : std::u16string(text);
}

const text_translator* current_translator() {
    return g_translator;
}
void set_translator(const text_translator* t) {
    g_translator = t;
}

}  // namespace kelvane
