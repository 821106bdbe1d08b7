#include "core/tools/key_table.h"

#include <cstring>

#include "core/common/messages.h"
#include "core/common/problems.h"
#include "platform/services.h"

namespace kelvane {

namespace {

constexpr char16_t slot_characters[key_table::used_slots] = {u'1', u'2', u'3', u'4', u'5', u'6',
                                                             u'7', u'8', u'9', u'0', u'.', u'c'};

constexpr std::uint16_t motorola_q_codes[key_table::used_slots] = {87, 69, 82, 83, 68,  70,
                                                                   90, 88, 67, 63, 190, 81};
constexpr std::uint16_t samsung_codes[key_table::used_slots] = {69, 84, 85, 68, 71,  74,
                                                                88, 86, 78, 32, 190, 81};

}  // namespace

key_table::key_table() {
    apply_preset(key_preset::motorola_q);
}

void key_table::apply_preset(key_preset preset) {
    const auto& codes = preset == key_preset::samsung ? samsung_codes : motorola_q_codes;
    for (int i = 0; i < used_slots; ++i) {
        slots_[i].key_code = codes[i];
        slots_[i].character = slot_characters[i];
    }
}

void key_table::clear_key_codes() {
    for (auto& s : slots_) s.key_code = 0;
}

char16_t key_table::character_of_key(std::uint16_t key_code) const {
    if (key_code == 0) return 0;
    for (int i = 0; i < used_slots; ++i)
        if (slots_[i].key_code == key_code) return slots_[i].character;
    return 0;
}

std::vector<std::uint8_t> key_table::to_bytes() const {
    std::vector<std::uint8_t> out;
    out.reserve(file_size);
    auto put = [&out](std::uint16_t v) {
        out.push_back(static_cast<std::uint8_t>(v & 0xFF));
        out.push_back(static_cast<std::uint8_t>(v >> 8));
    };
    for (const auto& s : slots_) {
        put(s.key_code);
        put(s.character);
        put(s.reserved);
    }
    return out;
}

void key_table::from_bytes(const std::uint8_t* data, std::size_t count) {
    auto image = to_bytes();
    if (count > image.size()) count = image.size();
    if (count) std::memcpy(image.data(), data, count);
    auto get = [&image](std::size_t at) {
        return static_cast<std::uint16_t>(image[at] | (image[at + 1] << 8));
    };
    for (int i = 0; i < slot_count; ++i) {
        const std::size_t at = static_cast<std::size_t>(i) * sizeof(key_slot);
        slots_[i].key_code = get(at);
        slots_[i].character = get(at + 2);
        slots_[i].reserved = get(at + 4);
    }
}

load_result key_table::load() {
    auto file = device_files().open_read(key_table_path());
    if (!file) return load_result::missing;
    std::uint8_t buffer[file_size];
    const std::size_t got = file->read(buffer, sizeof buffer);
    file->close();
    from_bytes(buffer, got);
    return load_result::loaded;
}

bool key_table::save() const {
    const auto bytes = to_bytes();
    if (!write_file_atomically(device_files(), key_table_path(), bytes.data(), bytes.size())) {
        report_problem(msg_write_failed);
        return false;
    }
    return true;
}

std::u16string key_table_path() {
    return program_folder() + key_table_file_name;
}

}  // namespace kelvane
