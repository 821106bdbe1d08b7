#pragma once
// Memory for long runs of records. A block of many megabytes is taken from
// the system directly, in large pages where the system offers them: filling
// the records of a long account then costs a few dozen page faults instead of
// many thousand, and a block given back returns to the system at once.

#include <cstddef>

namespace kelvane {

// Blocks of at least this many bytes are worth taking this way.
inline constexpr std::size_t large_block_bytes = std::size_t{4} << 20;

// A block of at least `bytes` bytes, aligned for any record; nullptr when
// the system has no memory left.
void* allocate_large(std::size_t bytes);
// Gives back a block allocate_large made for the same number of bytes.
void free_large(void* block, std::size_t bytes);

}  // namespace kelvane
