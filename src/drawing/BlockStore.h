// An append-only sequence kept in fixed-size blocks: appending never moves what is
// stored, and a new block's memory is first touched when it is filled (for a type without
// initialisers).
#pragma once

#include <cstddef>
#include <memory>
#include <type_traits>
#include <vector>

namespace cuttrace {

template <typename T, std::size_t BlockShift>
class BlockStore {
    static_assert(std::is_trivially_copyable_v<T>);

  public:
    static constexpr std::size_t kBlockSize = std::size_t{1} << BlockShift;

    void Append(const T& value) {
        if (size_ == blocks_.size() * kBlockSize) {
            blocks_.push_back(std::make_unique_for_overwrite<T[]>(kBlockSize));
        }
        blocks_[size_ >> BlockShift][size_ & (kBlockSize - 1)] = value;
        ++size_;
    }
    const T& operator[](std::size_t i) const {
        return blocks_[i >> BlockShift][i & (kBlockSize - 1)];
    }
    T& operator[](std::size_t i) { return blocks_[i >> BlockShift][i & (kBlockSize - 1)]; }
    std::size_t Size() const { return size_; }
    // The memory the store holds (its blocks and their table).
    std::size_t Bytes() const {
        return blocks_.size() * kBlockSize * sizeof(T) + blocks_.capacity() * sizeof(blocks_[0]);
    }
    // Empties the store and releases its blocks.
    void Clear() {
        std::vector<std::unique_ptr<T[]>>().swap(blocks_);
        size_ = 0;
    }

  private:
    std::vector<std::unique_ptr<T[]>> blocks_;
    std::size_t size_ = 0;
};

}  // namespace cuttrace
