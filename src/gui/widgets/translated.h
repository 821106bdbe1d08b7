#pragma once
// Texts shown by the screens: the English key through the language table, as
// Qt takes it. Texts the owner typed never pass through here.

#include <QString>
#include <string_view>

#include "core/common/translate.h"

namespace kelvane {

inline QString translated(std::u16string_view key) {
    return QString::fromStdU16String(tr(key));
}

inline QString to_qstring(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace kelvane
