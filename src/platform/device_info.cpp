#include "platform/device_info.h"

#include <cstdlib>

namespace kelvane {

host_device_info::host_device_info() : language_(language_id_for_locale(host_locale_name())) {}

std::uint16_t language_id_for_locale(const std::string& locale) {
    const std::string lang = locale.substr(0, 2);
    if (lang == "de") return 1031;
    if (lang == "zh") return 2052;
    if (lang == "fr") return 12;
    if (lang == "en") {
        const bool us = locale.size() >= 5 && locale.compare(2, 3, "_US") == 0;
        return (us || locale.size() == 2 || locale[2] == '.') ? 1033 : 9;
    }
    return 1033;
}

std::string host_locale_name() {
    for (const char* var : {"LC_ALL", "LC_MESSAGES", "LANG"})
        if (const char* v = std::getenv(var); v && *v) return v;
    return "C";
}

}  // namespace kelvane
