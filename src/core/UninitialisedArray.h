// Room for N values left uninitialised: for a batch (of points, of pixels) whose every value
// is written before it is read, where setting them all first would cost as much as using
// them (most batches are short).
#pragma once

#include <cstddef>

namespace cuttrace {

template <class T, std::size_t N>
union UninitialisedArray {
    UninitialisedArray() {}
    T at[N];
};

}  // namespace cuttrace
