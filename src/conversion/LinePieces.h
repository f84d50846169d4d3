// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace torvane {

// Pieces of the generated lines that the conversion writes millions of
// times. They write into room that the line has reserved with some to
// spare, so short texts go in one fixed-size copy, cheaper than a copy of
// their own length.

// A settings text such as a motion code or the axis letter.
class LinePiece {
 public:
  // Every byte a fixed-size write may put beyond the text.
  static constexpr std::size_t kOverrun = 16;

  LinePiece() = default;
  explicit LinePiece(std::string_view text) : text_(text) {
    if (text.size() <= sizeof padded_) std::memcpy(padded_, text.data(), text.size());
  }
  std::size_t size() const { return text_.size(); }
  char* WriteAt(char* out) const {
    if (text_.size() <= sizeof padded_) {
      std::memcpy(out, padded_, sizeof padded_);
    } else {
      std::memcpy(out, text_.data(), text_.size());
    }
    return out + text_.size();
  }

 private:
  std::string text_;
  char padded_[kOverrun] = {};
};

// The decimal text of the running block number. Counting on by a positive
// step adds the step's digits to the text, which costs far less than
// writing the number anew; a negative number or step, or one that wraps
// around, is written anew.
class BlockNumberText {
 public:
  static constexpr std::size_t kMaxSize = 11;  // "-2147483648"

  void Start(std::int32_t value) {
    value_ = value;
    size_ = static_cast<std::size_t>(std::to_chars(text_, text_ + kMaxSize, value).ptr - text_);
  }
  std::int32_t value() const { return value_; }
  // Writes kMaxSize bytes at `out`; returns the end of the number.
  char* WriteAt(char* out) const {
    std::memcpy(out, text_, kMaxSize);
    return out + size_;
  }
  // 32-bit block numbers wrap around like the controllers' counters.
  void Advance(std::int32_t step) {
    const auto next = static_cast<std::int32_t>(static_cast<std::uint32_t>(value_) +
                                                static_cast<std::uint32_t>(step));
    if (value_ < 0 || step <= 0 || next < value_) {
      Start(next);
      return;
    }
    value_ = next;
    // Mostly only the last digit moves.
    if (step < 10 && text_[size_ - 1] - '0' + step < 10) {
      text_[size_ - 1] = static_cast<char>(text_[size_ - 1] + step);
      return;
    }
    std::uint32_t rest = static_cast<std::uint32_t>(step);
    unsigned carry = 0;
    for (std::size_t i = size_; rest > 0 || carry > 0;) {
      if (i == 0) {
        // One digit more: the text moves right by one.
        std::memmove(text_ + 1, text_, size_++);
        text_[0] = '0';
        i = 1;
      }
      --i;
      const unsigned digit = static_cast<unsigned>(text_[i] - '0') + rest % 10 + carry;
      rest /= 10;
      carry = digit >= 10 ? 1 : 0;
      text_[i] = static_cast<char>('0' + digit - 10 * carry);
    }
  }

 private:
  std::int32_t value_ = 0;
  std::size_t size_ = 1;
  char text_[kMaxSize + 1] = {'0'};
};

}  // namespace torvane
