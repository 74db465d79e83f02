// Data that two threads write while they work side by side, each its own, is kept this many
// bytes apart. On one cache line, each write by one thread would take the line away from
// the other's processor, and the next access there would wait for it to come back (false
// sharing); two lines, as processors fetch lines in adjacent pairs.
#pragma once

#include <cstddef>

namespace cuttrace {

inline constexpr std::size_t kThreadApartBytes = 128;

}  // namespace cuttrace
