// Media files built byte by byte from the published tag layouts, for the
// tag reader's tests natively and the player window's tests under Wine.
// Header-only: the tests of both trees include it, the programs do not.
#ifndef MUSIC_PLAYER_TAG_TEST_FILES_H_
#define MUSIC_PLAYER_TAG_TEST_FILES_H_

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "music-player/tag_reader.h"

namespace player::test_files {

inline std::string Be32(uint32_t v) {
  return {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
}
inline std::string SyncSafe(uint32_t v) {
  return {char((v >> 21) & 0x7F), char((v >> 14) & 0x7F), char((v >> 7) & 0x7F), char(v & 0x7F)};
}
inline std::string Le(uint64_t v, int bytes) {
  std::string s;
  for (int i = 0; i < bytes; ++i)
    s += char(v >> (8 * i));
  return s;
}
// UTF-16LE of text that stays in the Basic Multilingual Plane.
inline std::string Utf16Le(std::wstring_view text, bool nul = true) {
  std::string s;
  for (wchar_t c : text)
    s += Le(static_cast<uint16_t>(c), 2);
  if (nul)
    s += std::string(2, '\0');
  return s;
}
inline std::string Utf8(std::u8string_view text) {
  return std::string(text.begin(), text.end());
}

// Frame contents: an encoding byte and the text.
inline std::string Latin1Frame(const std::string& bytes) {
  return std::string(1, '\0') + bytes;
}
inline std::string Utf16Frame(std::wstring_view text) {
  return "\x01\xFF\xFE" + Utf16Le(text);
}
inline std::string Utf8Frame(std::u8string_view text) {
  return "\x03" + Utf8(text);
}

// Picture bytes that look like a JPEG, with 0xFF bytes all through them
// (so that unsynchronisation has work to do) and no NUL.
inline std::string PictureBytes(size_t size) {
  std::string bytes(size, '\x5A');
  for (size_t i = 0; i < size; i += 7)
    bytes[i] = '\xFF';
  for (size_t i = 3; i < size; i += 7)
    bytes[i] = '\xE1';
  if (size >= 2)
    bytes.replace(0, 2, "\xFF\xD8");
  return bytes;
}
// An attached picture frame's content (APIC, or PIC in 2.2): encoding,
// MIME type or image format, picture type 3 (front cover), description.
inline std::string PictureFrame(int major, size_t picture_bytes) {
  const std::string format = major == 2 ? std::string("JPG") : std::string("image/jpeg\0", 11);
  return std::string(1, '\0') + format + "\x03" + std::string("Cover\0", 6) +
         PictureBytes(picture_bytes);
}

// The unsynchronisation scheme: a 0x00 after every 0xFF that a 0x00 or a
// byte from 0xE0 follows, and after a last 0xFF.
inline std::string Unsynchronise(std::string_view data) {
  std::string out;
  out.reserve(data.size() + data.size() / 8);
  for (size_t i = 0; i < data.size(); ++i) {
    out += data[i];
    if (uint8_t(data[i]) == 0xFF &&
        (i + 1 == data.size() || uint8_t(data[i + 1]) >= 0xE0 || data[i + 1] == '\0')) {
      out += '\0';
    }
  }
  return out;
}

struct Id3Options {
  uint8_t flags = 0;         // 0x80 unsynchronisation, 0x40 extended header
  std::string extended;      // the extended header, size field included
  bool plain_sizes = false;  // 2.4 frame sizes as plain integers
  size_t padding = 16;
};
inline Id3Options Flags(uint8_t flags, const std::string& extended = "") {
  Id3Options options;
  options.flags = flags;
  options.extended = extended;
  return options;
}
inline Id3Options PlainSizes() {
  Id3Options options;
  options.plain_sizes = true;
  return options;
}

// An ID3v2 tag with the given frames (id, content).
inline std::string Id3v2(int major,
                         const std::vector<std::pair<std::string, std::string>>& frames,
                         const Id3Options& options = {}) {
  std::string body = options.extended;
  for (const auto& [id, data] : frames) {
    const auto size = static_cast<uint32_t>(data.size());
    if (major == 2) {
      body += id + Be32(size).substr(1) + data;
    } else {
      const bool syncsafe = major == 4 && !options.plain_sizes;
      body += id + (syncsafe ? SyncSafe(size) : Be32(size)) + std::string(2, '\0') + data;
    }
  }
  // 2.2 and 2.3 unsynchronise the whole tag; frame sizes count without it.
  if ((options.flags & 0x80) && major < 4)
    body = Unsynchronise(body);
  body += std::string(options.padding, '\0');
  return "ID3" + std::string(1, char(major)) + std::string(1, '\0') +
         std::string(1, char(options.flags)) + SyncSafe(static_cast<uint32_t>(body.size())) + body;
}

// An ID3v1 tag: title and artist in 30 bytes each, padded with NULs.
inline std::string Id3v1(const std::string& title, const std::string& artist) {
  auto field = [](std::string bytes) {
    bytes.resize(30, '\0');
    return bytes;
  };
  std::string tag = "TAG" + field(title) + field(artist);
  tag.resize(128, '\0');
  return tag;
}

struct ApeItem {
  std::string key;
  std::string value;
  uint32_t flags = 0;  // bits 1-2: 0 text, 1 binary
};

// An APE tag: the items and a footer, with a header before them when
// `header` (2.0 only).
inline std::string Ape(const std::vector<ApeItem>& items,
                       uint32_t version = 2000,
                       bool header = true) {
  std::string body;
  for (const auto& item : items)
    body += Le(item.value.size(), 4) + Le(item.flags, 4) + item.key + '\0' + item.value;
  const uint64_t size = body.size() + 32;
  auto frame = [&](uint32_t flags) {
    return "APETAGEX" + Le(version, 4) + Le(size, 4) + Le(items.size(), 4) + Le(flags, 4) +
           std::string(8, '\0');
  };
  const uint32_t has_header = header ? 0x80000000u : 0;
  return (header ? frame(has_header | 0x20000000u) : "") + body + frame(has_header);
}

// A RIFF chunk, padded to an even length.
inline std::string Chunk(const std::string& id, const std::string& data) {
  return id + Le(data.size(), 4) + data + (data.size() % 2 ? std::string(1, '\0') : "");
}
inline std::string InfoList(const std::vector<std::pair<std::string, std::string>>& fields) {
  std::string info = "INFO";
  for (const auto& [id, text] : fields)
    info += Chunk(id, text + '\0');
  return Chunk("LIST", info);
}
// A WAV file of a few samples with the given chunks after its data.
inline std::string Wav(const std::string& chunks_after_data) {
  const std::string format = Le(1, 2) + Le(1, 2) + Le(8000, 4) + Le(8000, 4) + Le(1, 2) + Le(8, 2);
  const std::string wave =
      "WAVE" + Chunk("fmt ", format) + Chunk("data", std::string(801, '\x80')) + chunks_after_data;
  return "RIFF" + Le(wave.size(), 4) + wave;
}

constexpr char kAsfHeaderGuid[] =
    "\x30\x26\xB2\x75\x8E\x66\xCF\x11\xA6\xD9\x00\xAA\x00\x62\xCE\x6C";
constexpr char kAsfContentGuid[] =
    "\x33\x26\xB2\x75\x8E\x66\xCF\x11\xA6\xD9\x00\xAA\x00\x62\xCE\x6C";

// An object of an ASF header: its GUID (16 bytes), size, data.
inline std::string AsfObject(const std::string& guid, const std::string& data) {
  return guid + Le(24 + data.size(), 8) + data;
}
inline std::string AsfContent(std::wstring_view title, std::wstring_view author) {
  const std::string t = Utf16Le(title), a = Utf16Le(author);
  return AsfObject(std::string(kAsfContentGuid, 16),
                   Le(t.size(), 2) + Le(a.size(), 2) + Le(0, 2) + Le(0, 2) + Le(0, 2) + t + a);
}
// An ASF file whose header holds the given objects.
inline std::string Asf(const std::vector<std::string>& objects) {
  std::string all;
  for (const auto& o : objects)
    all += o;
  return std::string(kAsfHeaderGuid, 16) + Le(30 + all.size(), 8) + Le(objects.size(), 4) +
         "\x01\x02" + all;
}

// A ByteSource over bytes in memory that records the largest read it was
// asked for.
class RecordingSource : public MemorySource {
 public:
  using MemorySource::MemorySource;
  std::string Read(uint64_t offset, size_t length) override {
    largest_read_ = std::max(largest_read_, length);
    return MemorySource::Read(offset, length);
  }
  size_t largest_read() const { return largest_read_; }

 private:
  size_t largest_read_ = 0;
};

}  // namespace player::test_files

#endif  // MUSIC_PLAYER_TAG_TEST_FILES_H_
