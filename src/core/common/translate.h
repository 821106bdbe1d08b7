#pragma once
// Every English text shown to the owner passes through the language table.
// Core code calls tr() and reverse_tr(); the program installs its table (the
// language table class) as the translator, tests may install their own.

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

std::u16string tr(std::u16string_view key);
std::u16string reverse_tr(std::u16string_view text);

// The translator in force; nullptr means English (identity).
const text_translator* current_translator();
void set_translator(const text_translator* t);

class scoped_translator {
public:
    explicit scoped_translator(const text_translator* t) : previous_(current_translator()) {
        set_translator(t);
    }
    ~scoped_translator() { set_translator(previous_); }
    scoped_translator(const scoped_translator&) = delete;
    scoped_translator& operator=(const scoped_translator&) = delete;

private:
    const text_translator* previous_;
};

}  // namespace kelvane
