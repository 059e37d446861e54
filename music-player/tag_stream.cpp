#include "music-player/tag_stream.h"

#include <algorithm>

#include "music-player/tag_reader.h"

namespace player {
namespace {

// Big enough for the headers and texts of a typical tag in one read.
constexpr size_t kWindowBytes = 16 * 1024;

}  // namespace

TagStream::TagStream(ByteSource& file, uint64_t begin, uint64_t end, bool resynchronise)
    : file_(file),
      file_size_(file.Size()),
      position_(begin),
      end_(std::max(begin, std::min(end, file_size_))),
      resynchronise_(resynchronise) {}

bool TagStream::Fill() {
  if (position_ >= end_)
    return false;
  if (position_ >= window_start_ && position_ - window_start_ < window_.size())
    return true;
  // The window is as large whatever the tag holds (where the file goes on
  // past the tag): a small tag costs what a tag with a cover does.
  window_start_ = position_;
  std::string().swap(window_);  // not two windows at once
  window_ = file_.Read(
      position_, static_cast<size_t>(std::min<uint64_t>(kWindowBytes, file_size_ - position_)));
  if (window_.empty()) {
    end_ = position_;  // the file is shorter than it said
    return false;
  }
  return true;
}

// Resynchronise in tag_reader.cpp, one byte at a time: a 0x00 after an 0xFF goes.
bool TagStream::Next(char* byte) {
  while (Fill()) {
    *byte = window_[static_cast<size_t>(position_ - window_start_)];
    ++position_;
    const bool stuffed = resynchronise_ && after_ff_ && *byte == '\0';
    after_ff_ = static_cast<unsigned char>(*byte) == 0xFF;
    if (!stuffed)
      return true;
    after_ff_ = false;
  }
  return false;
}

std::string TagStream::Take(size_t length) {
  std::string out;
  if (!resynchronise_ && length > kWindowBytes) {
    // Read at once what the window could not hold.
    out = file_.Read(position_, static_cast<size_t>(std::min<uint64_t>(length, end_ - position_)));
    position_ += out.size();
    return out;
  }
  char byte;
  while (out.size() < length && Next(&byte))
    out += byte;
  return out;
}

void TagStream::Skip(uint64_t length) {
  if (!resynchronise_) {
    position_ += std::min(length, end_ - position_);
    return;
  }
  char byte;
  for (uint64_t i = 0; i < length && Next(&byte); ++i) {
  }
}

std::string TagStream::TakeUntilNul(size_t limit) {
  std::string out;
  char byte;
  while (out.size() < limit && Next(&byte)) {
    if (byte == '\0')
      break;
    out += byte;
  }
  return out;
}

}  // namespace player
