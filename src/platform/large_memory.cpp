#include "platform/large_memory.h"

#include <sys/mman.h>

#include <cstdint>

namespace kelvane {

namespace {

constexpr std::size_t large_page = std::size_t{2} << 20;

std::size_t whole_pages(std::size_t bytes) {
    return (bytes + large_page - 1) / large_page * large_page;
}

}  // namespace

void* allocate_large(std::size_t bytes) {
    if (bytes == 0 || bytes > SIZE_MAX - 2 * large_page) return nullptr;
    const std::size_t size = whole_pages(bytes);
    // One page more than needed, so that the block can start on a large
    // page's boundary; what lies outside it goes back at once.
    void* taken = mmap(nullptr, size + large_page, PROT_READ | PROT_WRITE,
                       MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (taken == MAP_FAILED) return nullptr;
    const auto start = reinterpret_cast<std::uintptr_t>(taken);
    const std::uintptr_t aligned = (start + large_page - 1) & ~std::uintptr_t{large_page - 1};
    if (aligned > start) munmap(taken, aligned - start);
    const std::uintptr_t end = start + size + large_page;
    if (end > aligned + size) munmap(reinterpret_cast<void*>(aligned + size), end - aligned - size);
#ifdef MADV_HUGEPAGE
    // Only a wish: a system without large pages keeps small ones.
    (void)madvise(reinterpret_cast<void*>(aligned), size, MADV_HUGEPAGE);
#endif
    return reinterpret_cast<void*>(aligned);
}

void free_large(void* block, std::size_t bytes) {
    if (block) munmap(block, whole_pages(bytes));
}

}  // namespace kelvane
