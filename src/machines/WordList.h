// The words of one block, as the dialect machine splits and rewrites them.
//
// The strings are kept between lines so that steady-state execution reuses their
// storage: Clear() forgets the words but not the buffers.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

namespace cuttrace {

class WordList {
  public:
    void Clear() { count_ = 0; }

    // Appends an empty word and returns it for filling.
    std::string& Add() {
        if (count_ == words_.size()) words_.emplace_back();
        std::string& word = words_[count_++];
        word.clear();
        return word;
    }
    // Removes the last word (its buffer is kept).
    void RemoveLast() {
        if (count_ > 0) --count_;
    }

    // Removes word i; the words behind it move up (their buffers are kept).
    void Erase(std::size_t i) {
        std::rotate(words_.begin() + static_cast<std::ptrdiff_t>(i),
                    words_.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                    words_.begin() + static_cast<std::ptrdiff_t>(count_));
        --count_;
    }

    std::size_t size() const { return count_; }
    bool empty() const { return count_ == 0; }
    std::string& operator[](std::size_t i) { return words_[i]; }
    const std::string& operator[](std::size_t i) const { return words_[i]; }
    std::string& back() { return words_[count_ - 1]; }

    auto begin() { return words_.begin(); }
    auto end() { return words_.begin() + static_cast<std::ptrdiff_t>(count_); }
    auto begin() const { return words_.begin(); }
    auto end() const { return words_.begin() + static_cast<std::ptrdiff_t>(count_); }

    // Joins the words without separators (the expanded text of a block).
    void JoinInto(std::string& out) const {
        out.clear();
        for (std::size_t i = 0; i < count_; ++i)
            out += words_[i];
    }

  private:
    std::vector<std::string> words_;
    std::size_t count_ = 0;
};

}  // namespace cuttrace
