// The picture buffer: the motions of the runs kept for saving as a picture file, in blocks
// of a fixed size, so that it grows without ever moving what it holds (a vector that
// doubles copies everything and, for that moment, holds it twice).
#pragma once

#include <cstddef>
#include <iterator>
#include <vector>

#include "core/MotionRecord.h"

namespace cuttrace {

class MotionBuffer {
  public:
    static constexpr std::size_t kBlockRecords = 4096;

    class const_iterator {
      public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = MotionRecord;
        using difference_type = std::ptrdiff_t;
        using pointer = const MotionRecord*;
        using reference = const MotionRecord&;

        const_iterator() = default;
        const MotionRecord& operator*() const { return (*blocks_)[block_][at_]; }
        const MotionRecord* operator->() const { return &**this; }
        const_iterator& operator++() {
            if (++at_ == (*blocks_)[block_].size()) {
                ++block_;
                at_ = 0;
            }
            return *this;
        }
        const_iterator operator++(int) {
            const_iterator before = *this;
            ++*this;
            return before;
        }
        friend bool operator==(const const_iterator& a, const const_iterator& b) {
            return a.block_ == b.block_ && a.at_ == b.at_;
        }

      private:
        friend class MotionBuffer;
        const_iterator(const std::vector<std::vector<MotionRecord>>* blocks, std::size_t block)
            : blocks_(blocks), block_(block) {}
        const std::vector<std::vector<MotionRecord>>* blocks_ = nullptr;
        std::size_t block_ = 0;
        std::size_t at_ = 0;
    };

    void push_back(const MotionRecord& record) {
        if (blocks_.empty() || blocks_.back().size() == kBlockRecords) {
            blocks_.emplace_back();
            blocks_.back().reserve(kBlockRecords);
        }
        blocks_.back().push_back(record);
        ++size_;
    }
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    // Records the blocks held have room for.
    std::size_t capacity() const { return blocks_.size() * kBlockRecords; }
    // Forgets every record and gives the memory back.
    void clear() {
        std::vector<std::vector<MotionRecord>>().swap(blocks_);
        size_ = 0;
    }
    const MotionRecord& operator[](std::size_t i) const {
        return blocks_[i / kBlockRecords][i % kBlockRecords];
    }
    const_iterator begin() const { return {&blocks_, 0}; }
    const_iterator end() const { return {&blocks_, blocks_.size()}; }

    friend bool operator==(const MotionBuffer& a, const MotionBuffer& b) {
        return a.blocks_ == b.blocks_;
    }

  private:
    // Every block but the last is full.
    std::vector<std::vector<MotionRecord>> blocks_;
    std::size_t size_ = 0;
};

}  // namespace cuttrace
