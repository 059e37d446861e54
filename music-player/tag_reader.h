// Artist and title of a media file, from its own tags: ID3v2.2, 2.3 and
// 2.4, APE and ID3v1 (MP3), the content description of ASF files (WMA,
// WMV), and the INFO list and ID3v2 chunk of RIFF files (WAV, AVI). Tags
// are walked through the file and only their texts are read, so a cover
// picture of any size costs no memory. Every length in a file is checked
// against the file; nothing is read beyond it.
#ifndef MUSIC_PLAYER_TAG_READER_H_
#define MUSIC_PLAYER_TAG_READER_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "common/code_page.h"

namespace player {

// Random access to the bytes of a file.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual uint64_t Size() = 0;
  // Up to `length` bytes from `offset`; fewer at the end of the file.
  virtual std::string Read(uint64_t offset, size_t length) = 0;
};

class MemorySource : public ByteSource {
 public:
  explicit MemorySource(std::string bytes) : bytes_(std::move(bytes)) {}
  uint64_t Size() override { return bytes_.size(); }
  std::string Read(uint64_t offset, size_t length) override {
    if (offset >= bytes_.size())
      return std::string();
    return bytes_.substr(static_cast<size_t>(offset), length);
  }

 private:
  std::string bytes_;
};

// The most the tag reader asks of a ByteSource at once. What it holds of a
// file is a small multiple of this, whatever the file's size.
constexpr size_t kMaxTagReadBytes = 64 * 1024;

struct MediaTags {
  std::wstring author;
  std::wstring title;
};

// Tags read from a file. Texts of one-byte fields (ID3's ISO-8859-1, which
// Chinese files fill with GBK, ID3v1, RIFF INFO) are decoded as
// DecodeByteField says: with the ANSI code page, unless they are UTF-8 of
// Chinese text. Where a file has several tags, ID3v2 comes first, then
// APE, then ID3v1; each fills only what the ones before left empty.
MediaTags ReadTags(ByteSource& file, const common::CodePage& ansi);

// What a title falls back to: the file name of a path or address, without
// its extension.
std::wstring TitleFromAddress(const std::wstring& address);

}  // namespace player

#endif  // MUSIC_PLAYER_TAG_READER_H_
