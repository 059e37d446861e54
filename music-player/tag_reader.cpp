#include "music-player/tag_reader.h"

#include <algorithm>
#include <optional>

#include "common/unicode.h"

namespace player {
namespace {

// The most of a tag that is read: a tag with pictures can be large, the
// text frames come first.
constexpr size_t kMaxTagBytes = 2 * 1024 * 1024;

uint32_t Be32(std::string_view b, size_t at) {
  return (uint32_t(uint8_t(b[at])) << 24) | (uint32_t(uint8_t(b[at + 1])) << 16) |
         (uint32_t(uint8_t(b[at + 2])) << 8) | uint32_t(uint8_t(b[at + 3]));
}
uint32_t Be24(std::string_view b, size_t at) {
  return (uint32_t(uint8_t(b[at])) << 16) | (uint32_t(uint8_t(b[at + 1])) << 8) |
         uint32_t(uint8_t(b[at + 2]));
}
uint32_t SyncSafe(std::string_view b, size_t at) {
  return (uint32_t(uint8_t(b[at]) & 0x7F) << 21) | (uint32_t(uint8_t(b[at + 1]) & 0x7F) << 14) |
         (uint32_t(uint8_t(b[at + 2]) & 0x7F) << 7) | uint32_t(uint8_t(b[at + 3]) & 0x7F);
}
uint32_t Le16(std::string_view b, size_t at) {
  return uint32_t(uint8_t(b[at])) | (uint32_t(uint8_t(b[at + 1])) << 8);
}
uint32_t Le32(std::string_view b, size_t at) {
  return Le16(b, at) | (Le16(b, at + 2) << 16);
}
uint64_t Le64(std::string_view b, size_t at) {
  return uint64_t(Le32(b, at)) | (uint64_t(Le32(b, at + 4)) << 32);
}

// Undoes unsynchronisation: every 0x00 that follows an 0xFF goes.
std::string Resynchronise(std::string_view data) {
  std::string out;
  out.reserve(data.size());
  for (size_t i = 0; i < data.size(); ++i) {
    out += data[i];
    if (uint8_t(data[i]) == 0xFF && i + 1 < data.size() && data[i + 1] == 0)
      ++i;
  }
  return out;
}

// Text of an ID3 string up to its first terminator.
std::wstring CutAtNul(std::wstring text) {
  const size_t nul = text.find(L'\0');
  if (nul != std::wstring::npos)
    text.resize(nul);
  return text;
}

std::wstring Trim(std::wstring text) {
  const size_t last = text.find_last_not_of(L" \t\r\n");
  text.resize(last == std::wstring::npos ? 0 : last + 1);
  const size_t first = text.find_first_not_of(L" \t\r\n");
  return first == std::wstring::npos ? std::wstring() : text.substr(first);
}

// A text frame's content: encoding byte, then the text.
std::wstring DecodeTextFrame(std::string_view data, const common::CodePage& ansi) {
  if (data.empty())
    return std::wstring();
  const uint8_t encoding = uint8_t(data[0]);
  std::string_view text = data.substr(1);
  switch (encoding) {
    case 1: {  // UTF-16 with byte-order mark
      bool big = false;
      if (text.size() >= 2 && uint8_t(text[0]) == 0xFE && uint8_t(text[1]) == 0xFF) {
        big = true;
        text.remove_prefix(2);
      } else if (text.size() >= 2 && uint8_t(text[0]) == 0xFF && uint8_t(text[1]) == 0xFE) {
        text.remove_prefix(2);
      }
      return CutAtNul(common::DecodeUtf16(text, big));
    }
    case 2:
      return CutAtNul(common::DecodeUtf16(text, true));
    case 3:
      return CutAtNul(common::DecodeUtf8(text.substr(0, text.find('\0'))));
    default:
      // ISO-8859-1 by the standard; in practice Chinese files put GBK here.
      return CutAtNul(ansi.Decode(text.substr(0, text.find('\0'))));
  }
}

void ReadId3v2(ByteSource& file, const common::CodePage& ansi, MediaTags* tags) {
  const std::string header = file.Read(0, 10);
  if (header.size() < 10 || header.compare(0, 3, "ID3") != 0)
    return;
  const int major = uint8_t(header[3]);
  const uint8_t flags = uint8_t(header[5]);
  if (major < 2 || major > 4)
    return;
  const uint64_t declared = SyncSafe(header, 6);
  const size_t size = static_cast<size_t>(
      std::min<uint64_t>({declared, file.Size() > 10 ? file.Size() - 10 : 0, kMaxTagBytes}));
  std::string body = file.Read(10, size);
  // Unsynchronisation of the whole tag (2.2, 2.3; in 2.4 it marks every
  // frame).
  const bool tag_unsync = (flags & 0x80) != 0;
  if (tag_unsync && major < 4)
    body = Resynchronise(body);
  size_t at = 0;
  if ((flags & 0x40) && major >= 3 && body.size() >= 4) {
    // Extended header: 2.3 gives its size without the size field, 2.4
    // with it (and syncsafe).
    const uint64_t extended = major == 3 ? uint64_t(Be32(body, 0)) + 4 : SyncSafe(body, 0);
    at = static_cast<size_t>(std::min<uint64_t>(extended, body.size()));
  }
  const size_t id_size = major == 2 ? 3 : 4;
  const size_t header_size = major == 2 ? 6 : 10;
  while (at + header_size <= body.size()) {
    const std::string id = body.substr(at, id_size);
    if (id[0] == '\0')
      break;  // padding
    uint64_t frame_size = major == 2   ? Be24(body, at + 3)
                          : major == 3 ? Be32(body, at + 4)
                                       : SyncSafe(body, at + 4);
    const uint8_t format = major == 4 ? uint8_t(body[at + 9]) : 0;
    at += header_size;
    if (frame_size > body.size() - at)
      frame_size = body.size() - at;
    std::string data = body.substr(at, static_cast<size_t>(frame_size));
    at += static_cast<size_t>(frame_size);
    if (major == 4) {
      if ((format & 0x02) || tag_unsync)
        data = Resynchronise(data);
      if ((format & 0x01) && data.size() >= 4)
        data = data.substr(4);  // data length
      if (format & 0x0C)
        continue;  // compressed or encrypted: not read
    }
    const bool title = id == "TIT2" || id == "TT2";
    const bool artist = id == "TPE1" || id == "TP1";
    if (!title && !artist)
      continue;
    const std::wstring text = Trim(DecodeTextFrame(data, ansi));
    if (title && tags->title.empty())
      tags->title = text;
    if (artist && tags->author.empty())
      tags->author = text;
  }
}

void ReadId3v1(ByteSource& file, const common::CodePage& ansi, MediaTags* tags) {
  if (file.Size() < 128)
    return;
  const std::string tag = file.Read(file.Size() - 128, 128);
  if (tag.size() != 128 || tag.compare(0, 3, "TAG") != 0)
    return;
  auto field = [&](size_t at) {
    std::string_view raw(tag.data() + at, 30);
    return Trim(ansi.Decode(raw.substr(0, raw.find('\0'))));
  };
  if (tags->title.empty())
    tags->title = field(3);
  if (tags->author.empty())
    tags->author = field(33);
}

// ASF objects are named by GUIDs, stored little-endian.
constexpr char kAsfHeader[] = "\x30\x26\xB2\x75\x8E\x66\xCF\x11\xA6\xD9\x00\xAA\x00\x62\xCE\x6C";
constexpr char kAsfContent[] = "\x33\x26\xB2\x75\x8E\x66\xCF\x11\xA6\xD9\x00\xAA\x00\x62\xCE\x6C";

void ReadAsf(ByteSource& file, MediaTags* tags) {
  const std::string header = file.Read(0, 30);
  if (header.size() < 30 || header.compare(0, 16, kAsfHeader, 16) != 0)
    return;
  const uint64_t header_size = std::min<uint64_t>(Le64(header, 16), kMaxTagBytes);
  const uint32_t objects = Le32(header, 24);
  const std::string body =
      file.Read(30, static_cast<size_t>(header_size > 30 ? header_size - 30 : 0));
  size_t at = 0;
  for (uint32_t i = 0; i < objects && at + 24 <= body.size(); ++i) {
    const uint64_t size = Le64(body, at + 16);
    if (size < 24 || size > body.size() - at)
      break;
    if (body.compare(at, 16, kAsfContent, 16) == 0 && size >= 34) {
      const uint32_t title_length = Le16(body, at + 24);
      const uint32_t author_length = Le16(body, at + 26);
      const size_t text = at + 34;
      const size_t end = at + static_cast<size_t>(size);
      if (text + title_length <= end)
        tags->title = Trim(CutAtNul(
            common::DecodeUtf16(std::string_view(body).substr(text, title_length), false)));
      if (text + title_length + author_length <= end)
        tags->author = Trim(CutAtNul(common::DecodeUtf16(
            std::string_view(body).substr(text + title_length, author_length), false)));
      return;
    }
    at += static_cast<size_t>(size);
  }
}

void ReadRiffInfo(ByteSource& file, const common::CodePage& ansi, MediaTags* tags) {
  const std::string header = file.Read(0, 12);
  if (header.size() < 12 || header.compare(0, 4, "RIFF") != 0)
    return;
  const uint64_t end = std::min<uint64_t>(uint64_t(Le32(header, 4)) + 8, file.Size());
  uint64_t at = 12;
  for (int chunks = 0; chunks < 10000 && at + 8 <= end; ++chunks) {
    const std::string chunk = file.Read(at, 12);
    if (chunk.size() < 8)
      return;
    const uint64_t size = Le32(chunk, 4);
    if (chunk.compare(0, 4, "LIST") == 0 && chunk.size() >= 12 &&
        chunk.compare(8, 4, "INFO") == 0) {
      const std::string info = file.Read(
          at + 12, static_cast<size_t>(std::min<uint64_t>(size >= 4 ? size - 4 : 0, kMaxTagBytes)));
      size_t i = 0;
      while (i + 8 <= info.size()) {
        const std::string id = info.substr(i, 4);
        const uint32_t length = Le32(info, i + 4);
        const size_t text_at = i + 8;
        const size_t length_in = std::min<size_t>(length, info.size() - text_at);
        std::string_view raw(info.data() + text_at, length_in);
        raw = raw.substr(0, raw.find('\0'));
        if (id == "INAM" && tags->title.empty())
          tags->title = Trim(ansi.Decode(raw));
        if (id == "IART" && tags->author.empty())
          tags->author = Trim(ansi.Decode(raw));
        i = text_at + length_in + (length_in & 1);
      }
      return;
    }
    at += 8 + size + (size & 1);
  }
}

}  // namespace

MediaTags ReadTags(ByteSource& file, const common::CodePage& ansi) {
  MediaTags tags;
  ReadId3v2(file, ansi, &tags);
  ReadId3v1(file, ansi, &tags);
  if (tags.title.empty() && tags.author.empty())
    ReadAsf(file, &tags);
  if (tags.title.empty() && tags.author.empty())
    ReadRiffInfo(file, ansi, &tags);
  return tags;
}

std::wstring TitleFromAddress(const std::wstring& address) {
  std::wstring name = address;
  // An address's query and fragment are not part of its file name.
  const size_t scheme = name.find(L"://");
  if (scheme != std::wstring::npos) {
    const size_t query = name.find_first_of(L"?#", scheme + 3);
    if (query != std::wstring::npos)
      name.resize(query);
  }
  const size_t slash = name.find_last_of(L"\\/");
  if (slash != std::wstring::npos)
    name = name.substr(slash + 1);
  const size_t dot = name.rfind(L'.');
  if (dot != std::wstring::npos && dot > 0)
    name.resize(dot);
  return name;
}

}  // namespace player
