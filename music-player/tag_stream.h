// A stretch of a file read front to back through a window of a few
// kilobytes: what a tag reader walks past (a cover picture of any size) is
// never held in memory.
#ifndef MUSIC_PLAYER_TAG_STREAM_H_
#define MUSIC_PLAYER_TAG_STREAM_H_

#include <cstdint>
#include <string>

namespace player {

class ByteSource;

class TagStream {
 public:
  // The bytes of `file` from `begin` up to `end` (and not past the file's
  // end). With `resynchronise`, every 0x00 that follows an 0xFF is dropped
  // on the way, as ID3v2.2 and 2.3 tags ask when they are unsynchronised;
  // lengths then count the bytes after that.
  TagStream(ByteSource& file, uint64_t begin, uint64_t end, bool resynchronise);

  // Up to `length` bytes from here, fewer at the end; the stream moves past
  // them.
  std::string Take(size_t length);
  // Moves past `length` bytes, reading only what resynchronisation needs.
  void Skip(uint64_t length);
  // The bytes up to the next 0x00 (which is passed, not returned), at most
  // `limit` of them.
  std::string TakeUntilNul(size_t limit);

  bool AtEnd() const { return position_ >= end_; }
  // Offsets in the file: where the stream is, and where it ends.
  uint64_t position() const { return position_; }
  uint64_t end() const { return end_; }

 private:
  // Makes the window hold the byte at position_; false at the end.
  bool Fill();
  // The next byte of the stream (after resynchronisation); false at the end.
  bool Next(char* byte);

  ByteSource& file_;
  uint64_t file_size_;
  uint64_t position_;
  uint64_t end_;
  bool resynchronise_;
  bool after_ff_ = false;
  std::string window_;
  uint64_t window_start_ = 0;
};

}  // namespace player

#endif  // MUSIC_PLAYER_TAG_STREAM_H_
