#pragma once
// The language table: English texts (the keys) and their translations, read
// from a translator's UTF-16 ".lng" file, which is turned into a compact
// ".bng" cache beside it and preferred on later loads.
//
// The table is a run of 16-bit units, one entry after the other:
//   A, key..., 0, B, translation..., 0
// where A is the key's length + 2 and B the translation's length + 2. The
// ".bng" file is a 112-byte header (its table size in bytes at offset 8)
// followed by the table exactly as it is held here.

#include <cstdint>
#include <string>
#include <string_view>

#include "core/common/load_result.h"
#include "core/common/translate.h"

namespace kelvane {

class language_table : public text_translator {
public:
    // The table never grows beyond this many units.
    static constexpr std::int32_t max_units = 1000000;
    static constexpr std::size_t cache_header_size = 112;
    // Shown, untranslated, when a language file does not fit the table.
    static constexpr char16_t too_long_message[] = u"文本超长";

    // Empties the table, then fills it from name + ".bng" in the program's
    // folder, else from name + ".lng" (writing a fresh ".bng"). A missing
    // file or an empty name leaves the table empty: every text stays English.
    // Damaged when the ".lng" file does not fit the table (the owner was
    // told); the table then holds the entries before the one that did not fit.
    load_result load(std::u16string_view name);
    // Empties the table.
    void clear() { table_.clear(); }

    std::u16string translate(std::u16string_view key) const override;
    std::u16string reverse_translate(std::u16string_view text) const override;
    // For texts that are never translated (currency symbols).
    static std::u16string pass_through(std::u16string_view text) { return std::u16string(text); }

    // Number of units in use, and the units themselves.
    std::int32_t length() const { return static_cast<std::int32_t>(table_.size()); }
    std::u16string_view units() const { return table_; }

    // True when the units form whole entries from start to end.
    static bool is_well_formed(std::u16string_view units);

private:
    bool load_cache(std::u16string_view path);
    load_result parse_source(std::u16string_view path);
    void write_cache(std::u16string_view path) const;

    std::u16string table_;
};

}  // namespace kelvane
