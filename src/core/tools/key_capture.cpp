#include "core/tools/key_capture.h"

#include <vector>

#include "core/common/text.h"
#include "core/common/translate.h"
#include "platform/services.h"

namespace kelvane {

namespace {

constexpr std::uint16_t period_key = 190;
constexpr std::uint16_t space_key = 32;
constexpr int rows_per_column = 6;

std::u16string log_path() {
    return program_folder() + key_capture_log_name;
}

bool write_units(device_file& file, std::u16string_view text) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(text.size() * 2);
    for (char16_t c : text) {
        bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    return bytes.empty() || file.write(bytes.data(), bytes.size()) == bytes.size();
}

}  // namespace

key_capture::key_capture(const key_table& table) : working_(table) {}

void key_capture::trace(std::u16string_view text) {
    auto& fs = device_files();
    const auto path = log_path();
    auto file = fs.open_write(path);
    if (file) {
        if (!file->seek(0, seek_origin::end)) {
            file->close();
            return;
        }
    } else {
        file = fs.create(path);
        if (!file) return;
        if (!write_units(*file, u"\xFEFF\r\n")) {
            file->close();
            return;
        }
    }
    write_units(*file, text);
    file->close();
}

void key_capture::start() {
    trace(std::u16string(37, u'-') + u"\r\n");
    working_.clear_key_codes();
    position_ = 0;
}

bool key_capture::capture(std::uint16_t key_code) {
    if (position_ < 0) return false;
    auto& s = working_.slot(position_);
    std::u16string line(1, static_cast<char16_t>(key_code));
    line += format("[%d]->", key_code);
    line += s.character;
    line += u"\r\n";
    trace(line);
    s.key_code = key_code;
    if (++position_ >= key_table::used_slots) position_ = -1;
    return true;
}

bool key_capture::save_to(key_table& table) const {
    table = working_;
    return table.save();
}

std::u16string key_capture::heading() const {
    return capturing() ? tr(u"Please follow instruction to enter:") : tr(u"Key mapping table:");
}

std::u16string key_capture::key_name(std::uint16_t key_code) {
    if (key_code == period_key) return u".";
    if (key_code == space_key) return u"Space";
    return std::u16string(1, static_cast<char16_t>(key_code));
}

key_slot_text key_capture::slot_text(int i) const {
    key_slot_text t;
    if (i < 0 || i >= key_table::used_slots) return t;
    t.column = i / rows_per_column;
    t.row = i % rows_per_column;
    const auto& s = working_.slot(i);
    if (i == position_) {
        t.shown = key_slot_text::look::awaiting;
        t.key = u"[?]";
    } else if (s.key_code != 0) {
        t.shown = key_slot_text::look::mapped;
        t.key = key_name(s.key_code);
        t.code = format("[%d]", s.key_code);
    } else {
        return t;
    }
    t.arrow = u">";
    if (t.column == 1 && s.character == u'c')
        t.character = u"Clear";
    else if (s.character != 0)
        t.character = std::u16string(1, s.character);
    return t;
}

}  // namespace kelvane
