#pragma once
// Every English text shown to the owner passes through the language table.
// Core code calls tr() and reverse_tr(); they ask the translator of the
// device services in force (platform/translator.h).

#include <string>
#include <string_view>

#include "platform/services.h"

namespace kelvane {

std::u16string tr(std::u16string_view key);
std::u16string reverse_tr(std::u16string_view text);

// Installs a translator for its own lifetime.
class scoped_translator {
public:
    explicit scoped_translator(const text_translator* t) : installed_(with_translator(t)) {}

private:
    static service_set with_translator(const text_translator* t) {
        service_set s;
        s.translator = t;
        return s;
    }
    scoped_services installed_;
};

}  // namespace kelvane
