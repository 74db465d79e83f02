// How much memory the stored path may take, and giving freed memory back to the system.
#pragma once

#include <cstddef>

namespace cuttrace {
struct Settings;
}

namespace cuttrace::ui {

// A quarter of the physical memory (1 GB where it cannot be told).
std::size_t DefaultPathMemoryBytes();
// The bound of the settings: their megabytes, or the default for 0.
std::size_t PathMemoryBytes(const Settings& settings);
// Hands memory the program has freed back to the system, so that clearing a large
// drawing shrinks the process (the allocator would otherwise keep it for reuse).
void ReturnFreedMemory();
// Has pictures and other blocks of a megabyte or more mapped on their own, so that freeing one
// gives its memory back at once (the allocator would otherwise raise that bound after the
// first such block freed, and keep the later ones in its heaps).
void MapLargeBlocksApart();

}  // namespace cuttrace::ui
