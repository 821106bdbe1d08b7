#pragma once
// The language hook: every English text shown to the owner is a key that the
// installed translator turns into the owner's language. The program installs
// its language table; tests install their own or none (English).

#include <string>
#include <string_view>

namespace kelvane {

class text_translator {
public:
    virtual ~text_translator() = default;
    // The translation of an English key, or the key itself.
    virtual std::u16string translate(std::u16string_view key) const = 0;
    // The English key whose translation is the text, or the text itself.
    virtual std::u16string reverse_translate(std::u16string_view text) const = 0;
};

}  // namespace kelvane
