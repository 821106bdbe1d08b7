#pragma once
// The key table of keypad phones: which physical key stands for each of the
// twelve entry characters ("1"-"9", "0", "." and "c" for Clear). It is kept
// in "Config_key.dat" in the data folder as the 180 bytes of the table, slot
// after slot, every value 16-bit little-endian, with no header; the handheld
// reads and writes the same bytes.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/load_result.h"

namespace kelvane {

struct key_slot {
    std::uint16_t key_code;   // virtual-key code of the physical key; 0 = not set
    std::uint16_t character;  // the entry character that key stands for
    std::uint16_t reserved;   // 0
};
static_assert(sizeof(key_slot) == 6);
static_assert(offsetof(key_slot, key_code) == 0);
static_assert(offsetof(key_slot, character) == 2);
static_assert(offsetof(key_slot, reserved) == 4);

enum class key_preset { motorola_q, samsung };

inline constexpr char16_t key_table_file_name[] = u"Config_key.dat";

class key_table {
public:
    static constexpr int slot_count = 30;
    static constexpr int used_slots = 12;  // slots 12-29 stay 0
    static constexpr std::size_t file_size = slot_count * sizeof(key_slot);
    static_assert(file_size == 180);

    // The built-in table: the first preset.
    key_table();

    // Sets the key codes and characters of the used slots from a preset.
    void apply_preset(key_preset preset);
    // Sets every slot's key code to 0; the characters stay.
    void clear_key_codes();

    key_slot& slot(int i) { return slots_[i]; }
    const key_slot& slot(int i) const { return slots_[i]; }

    // The entry character of a physical key, or 0 when no used slot holds it.
    char16_t character_of_key(std::uint16_t key_code) const;

    // The table as stored in the file, and back. from_bytes takes only as many
    // bytes as it is given (at most 180): a short file replaces only the slots,
    // down to the byte, that it holds.
    std::vector<std::uint8_t> to_bytes() const;
    void from_bytes(const std::uint8_t* data, std::size_t count);

    // Reads the table file of the data folder over this table (a short file
    // replaces only what it holds). Missing, with the table unchanged, when
    // there is no file.
    load_result load();
    // Writes the table file of the data folder whole. On failure the owner is
    // told and false is returned; the old file is left as it was.
    [[nodiscard]] bool save() const;

    friend bool operator==(const key_table& a, const key_table& b) {
        return a.to_bytes() == b.to_bytes();
    }

private:
    std::array<key_slot, slot_count> slots_{};
    static_assert(sizeof(slots_) == file_size);
};

// The path of the table file: data folder + "Config_key.dat".
std::u16string key_table_path();

}  // namespace kelvane
