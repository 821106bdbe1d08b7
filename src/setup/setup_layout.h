#pragma once
// Where Setup carries the device packages inside its own file. The offsets
// are absolute and fixed, so the executable image must end before the first
// package and each package must end before the next length field:
//
//   0                 the executable image (< 500000 bytes)
//   image end         filler 0D F0 AD BA repeated, up to 500000, never read
//   500000            English package length, unsigned 32-bit little-endian
//   500004            English package (a cabinet), then zeros up to 1850004
//   1850004           French package length
//   1850008           French package, then zeros to the end (3200008 bytes)

#include <cstddef>
#include <cstdint>

namespace kelvane {

enum class setup_language { english = 1, french = 2 };

inline constexpr std::size_t setup_image_limit = 500000;  // the image is shorter than this
inline constexpr std::uint32_t setup_filler = 0xBAADF00D;
inline constexpr std::size_t setup_english_length_offset = 500000;
inline constexpr std::size_t setup_french_length_offset = 1850004;
inline constexpr std::size_t setup_package_limit = 1350000;  // largest package the installer takes
inline constexpr std::size_t setup_file_size = 3200008;

// Offset of the length field of a language's package; the package follows it.
constexpr std::size_t setup_length_offset(setup_language language) {
    return language == setup_language::french ? setup_french_length_offset
                                              : setup_english_length_offset;
}

// A package of the largest size ends exactly at the next length field or the end.
static_assert(setup_english_length_offset + 4 + setup_package_limit == setup_french_length_offset);
static_assert(setup_french_length_offset + 4 + setup_package_limit == setup_file_size);

}  // namespace kelvane
