#include "ui/MemoryUse.h"

#include <unistd.h>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "core/Settings.h"

namespace cuttrace::ui {

std::size_t DefaultPathMemoryBytes() {
    // Asked once (a system call): a run compares with it every few hundred motions.
    static const std::size_t bytes = [] {
        const long pages = sysconf(_SC_PHYS_PAGES);
        const long pageSize = sysconf(_SC_PAGE_SIZE);
        if (pages <= 0 || pageSize <= 0) return std::size_t{1} << 30;
        return static_cast<std::size_t>(pages) / 4 * static_cast<std::size_t>(pageSize);
    }();
    return bytes;
}

std::size_t PathMemoryBytes(const Settings& settings) {
    if (settings.pathMemoryMb <= 0) return DefaultPathMemoryBytes();
    return static_cast<std::size_t>(settings.pathMemoryMb) << 20;
}

void ReturnFreedMemory() {
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

void MapLargeBlocksApart() {
#if defined(__GLIBC__)
    mallopt(M_MMAP_THRESHOLD, 1 << 20);
#endif
}

}  // namespace cuttrace::ui
