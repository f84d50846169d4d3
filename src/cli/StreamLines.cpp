// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/StreamLines.h"

#include <algorithm>
#include <cstring>

#include "text/LineBreak.h"
#include "text/Windows1252.h"

namespace torvane {
namespace {

constexpr std::size_t kChunk = 1 << 20;

// Length of a valid UTF-8 sequence at `text[i]`, 0 when there is none.
std::size_t Utf8SequenceLength(std::string_view text, std::size_t i) {
  const auto lead = static_cast<unsigned char>(text[i]);
  std::size_t length = 0;
  if (lead >= 0xC2 && lead <= 0xDF) length = 2;
  else if (lead >= 0xE0 && lead <= 0xEF) length = 3;
  else if (lead >= 0xF0 && lead <= 0xF4) length = 4;
  else return 0;
  if (i + length > text.size()) return 0;
  for (std::size_t k = 1; k < length; ++k)
    if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return 0;
  return length;
}

}  // namespace

bool StreamLineSource::Fill() {
  if (eof_) return false;
  // Keep the unread rest, then append a chunk.
  buffer_.erase(0, position_);
  position_ = 0;
  const std::size_t old = buffer_.size();
  buffer_.resize(old + kChunk);
  const std::size_t got = std::fread(buffer_.data() + old, 1, kChunk, stream_);
  buffer_.resize(old + got);
  if (got < kChunk) {
    eof_ = true;
    if (std::ferror(stream_)) failed_ = true;
  }
  return got > 0;
}

bool StreamLineSource::Next(std::string_view& line) {
  std::size_t searchFrom = position_;
  for (;;) {
    const std::size_t end = FindLineEnd(buffer_, searchFrom);
    if (end < buffer_.size()) {
      // A CR at the end of the buffer may be the first half of CR LF.
      if (buffer_[end] == '\r' && end + 1 == buffer_.size() && !eof_) {
        const std::size_t offset = end - position_;
        if (Fill()) {
          searchFrom = position_ + offset;
          continue;
        }
      }
      line = std::string_view(buffer_).substr(position_, end - position_);
      position_ = SkipLineBreak(buffer_, end);
      return true;
    }
    const std::size_t scanned = end - position_;
    if (!Fill()) {
      if (position_ >= buffer_.size()) return false;
      // Last line without a break.
      line = std::string_view(buffer_).substr(position_);
      position_ = buffer_.size();
      return true;
    }
    searchFrom = position_ + scanned;
  }
}

void StreamLineSink::Append(std::string_view line) {
  char* out = Reserve(line.size());
  // An empty view may have no data at all, which memcpy must not see.
  if (!line.empty()) std::memcpy(out, line.data(), line.size());
  Commit(out + line.size());
}

char* StreamLineSink::Reserve(std::size_t size) {
  const std::size_t needed = size + 2;  // and the line break
  if (capacity_ - used_ < needed) {
    WriteOut();
    if (needed > capacity_) {
      // Room for a chunk and a long line after it.
      capacity_ = std::max(kChunk + 64 * 1024, needed);
      buffer_ = std::make_unique<char[]>(capacity_);
    }
  }
  return buffer_.get() + used_;
}

void StreamLineSink::Commit(char* end) {
  end[0] = '\r';
  end[1] = '\n';
  used_ = static_cast<std::size_t>(end + 2 - buffer_.get());
  if (used_ >= kChunk) WriteOut();
}

void StreamLineSink::WriteOut() {
  if (used_ > 0 && tee_) tee_(std::string_view(buffer_.get(), used_));
  if (used_ > 0 && std::fwrite(buffer_.get(), 1, used_, stream_) != used_) failed_ = true;
  used_ = 0;
}

bool StreamLineSink::Flush() {
  WriteOut();
  if (std::fflush(stream_) != 0) failed_ = true;
  return !failed_;
}

std::string ToTerminalText(std::string_view message) {
  std::string out;
  out.reserve(message.size() + 8);
  for (std::size_t i = 0; i < message.size();) {
    const auto byte = static_cast<unsigned char>(message[i]);
    if (byte < 0x80) {
      out += message[i++];
      continue;
    }
    if (const std::size_t length = Utf8SequenceLength(message, i)) {
      out.append(message, i, length);
      i += length;
      continue;
    }
    AppendBytesAsUtf8(message.substr(i, 1), out);
    ++i;
  }
  return out;
}

}  // namespace torvane
