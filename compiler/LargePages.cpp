// vkdm_pdb's operator new. A large picture is touched once from end to end
// (2000 x 2000 pixels: 12 MB of file, 16 MB decoded, 8 MB of rows), so its cost
// is mostly the kernel's page faults, one per 4 KB page and several
// microseconds each on a virtual machine: more than decoding and compressing
// together. Where the system leaves transparent huge pages to the program's
// choice, asking for them on large blocks makes that one fault per 2 MB.
// Only the compiler's own program links this; the windows keep the library's.
#include <cstdint>
#include <cstdlib>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace {

constexpr std::size_t kHugePage = std::size_t(2) << 20;

void adviseHugePages([[maybe_unused]] void* block, [[maybe_unused]] std::size_t size) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    // Only whole huge pages inside the block can be backed by one, and a block
    // smaller than two rarely holds one: small blocks keep the small pages.
    if (size < 2 * kHugePage)
        return;
    const auto start = reinterpret_cast<std::uintptr_t>(block);
    const std::uintptr_t first = (start + kHugePage - 1) & ~(kHugePage - 1);
    const std::uintptr_t end = (start + size) & ~(kHugePage - 1);
    // Advice only: where it is refused the pages are the small ones, as before.
    if (end > first)
        ::madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
#endif
}

// Every form is replaced, so each block is allocated and freed by the same
// pair (malloc and free): a sanitizer or a library that mixes the nothrow,
// sized or aligned forms with the plain ones then sees one allocator.

void* allocate(std::size_t size) noexcept {
    void* block = std::malloc(size ? size : 1);
    if (block)
        adviseHugePages(block, size);
    return block;
}

void* allocateAligned(std::size_t size, std::align_val_t alignment) noexcept {
    const auto align = static_cast<std::size_t>(alignment);
    // aligned_alloc wants a size that is a multiple of the alignment.
    const std::size_t rounded = ((size ? size : 1) + align - 1) / align * align;
    void* block = std::aligned_alloc(align, rounded);
    if (block)
        adviseHugePages(block, rounded);
    return block;
}

void* allocateOrThrow(std::size_t size) {
    if (void* block = allocate(size))
        return block;
    throw std::bad_alloc();
}

void* allocateAlignedOrThrow(std::size_t size, std::align_val_t alignment) {
    if (void* block = allocateAligned(size, alignment))
        return block;
    throw std::bad_alloc();
}

} // namespace

void* operator new(std::size_t size) {
    return allocateOrThrow(size);
}
void* operator new[](std::size_t size) {
    return allocateOrThrow(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return allocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return allocate(size);
}
void* operator new(std::size_t size, std::align_val_t alignment) {
    return allocateAlignedOrThrow(size, alignment);
}
void* operator new[](std::size_t size, std::align_val_t alignment) {
    return allocateAlignedOrThrow(size, alignment);
}
void* operator new(std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
    return allocateAligned(size, alignment);
}
void* operator new[](std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
    return allocateAligned(size, alignment);
}

void operator delete(void* block) noexcept {
    std::free(block);
}
void operator delete[](void* block) noexcept {
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}
void operator delete[](void* block, std::size_t) noexcept {
    std::free(block);
}
void operator delete(void* block, const std::nothrow_t&) noexcept {
    std::free(block);
}
void operator delete[](void* block, const std::nothrow_t&) noexcept {
    std::free(block);
}
void operator delete(void* block, std::align_val_t) noexcept {
    std::free(block);
}
void operator delete[](void* block, std::align_val_t) noexcept {
    std::free(block);
}
void operator delete(void* block, std::size_t, std::align_val_t) noexcept {
    std::free(block);
}
void operator delete[](void* block, std::size_t, std::align_val_t) noexcept {
    std::free(block);
}
void operator delete(void* block, std::align_val_t, const std::nothrow_t&) noexcept {
    std::free(block);
}
void operator delete[](void* block, std::align_val_t, const std::nothrow_t&) noexcept {
    std::free(block);
}
