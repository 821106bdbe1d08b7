#pragma once
// Facts about the device: the program's own path, the personal documents
// folder, the language identifier, the screen size and the system colours.

#include <cstdint>
#include <string>

#include "platform/dc.h"

namespace kelvane {

inline constexpr char16_t program_file_path[] = u"\\Program Files\\Kelvane\\Kelvane.exe";
inline constexpr char16_t personal_documents_folder[] = u"\\My Documents";

// The shared drawing colours of the device's colour scheme: selected rows of
// owner-drawn lists and the charts' selected legend row use them.
struct system_colour_set {
    colour window_text = rgb(0, 0, 0);
    colour highlight_text = rgb(255, 255, 255);
    colour window = rgb(255, 255, 255);
    colour highlight = rgb(0, 0, 128);
    colour menu_text = rgb(0, 0, 0);
    colour menu = rgb(255, 255, 255);
};

class device_info {
public:
    virtual ~device_info() = default;
    // Full device path of the running program file (its folder is the data folder).
    virtual std::u16string program_path() const = 0;
    // The personal documents folder, without trailing backslash.
    virtual std::u16string personal_folder() const = 0;
    // The user's language identifier: 9, 12, 1031, 2052, 1033, ...
    virtual std::uint16_t language_id() const = 0;
    virtual int screen_width() const = 0;
    virtual int screen_height() const = 0;
    virtual system_colour_set system_colours() const = 0;
};

// The device as carried on the host; every value can be set (the window sets
// the screen size, tests set the language).
class host_device_info : public device_info {
public:
    host_device_info();
    std::u16string program_path() const override { return program_path_; }
    std::u16string personal_folder() const override { return personal_; }
    std::uint16_t language_id() const override { return language_; }
    int screen_width() const override { return width_; }
    int screen_height() const override { return height_; }
    system_colour_set system_colours() const override { return colours_; }

    void set_program_path(std::u16string p) { program_path_ = std::move(p); }
    void set_language_id(std::uint16_t id) { language_ = id; }
    void set_screen_size(int w, int h) { width_ = w, height_ = h; }
    void set_system_colours(const system_colour_set& c) { colours_ = c; }

private:
    std::u16string program_path_ = program_file_path;
    std::u16string personal_ = personal_documents_folder;
    std::uint16_t language_ = 1033;
    int width_ = 240;
    int height_ = 320;
    system_colour_set colours_;
};

// The language identifier of a host locale name such as "de_DE.UTF-8":
// German 1031, Chinese 2052, French 12, English outside the US 9, else 1033.
std::uint16_t language_id_for_locale(const std::string& locale);
// The host's locale from LC_ALL, LC_MESSAGES or LANG.
std::string host_locale_name();

}  // namespace kelvane
