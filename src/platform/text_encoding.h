#pragma once
// Conversions between the device's 16-bit texts and 8-bit encodings.

#include <string>
#include <string_view>

namespace kelvane {

// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string to_utf8(std::u16string_view text);
// The same, appended to out.
void append_utf8(std::string& out, std::u16string_view text);
// UTF-8 to UTF-16; invalid sequences become U+FFFD.
std::u16string from_utf8(std::string_view text);
// True when the bytes are well-formed UTF-8.
bool is_valid_utf8(std::string_view bytes);
// Windows-1252 (the handheld's Western code page) to UTF-16.
std::u16string from_windows1252(std::string_view bytes);
// Widens plain ASCII text (format results, literals).
std::u16string widen(std::string_view ascii);

}  // namespace kelvane
