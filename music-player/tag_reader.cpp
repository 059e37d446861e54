#include "music-player/tag_reader.h"

#include <algorithm>

#include "common/text_rules.h"
#include "common/unicode.h"
#include "music-player/byte_fields.h"
#include "music-player/tag_stream.h"

namespace player {
namespace {

// The most of one text that is read; the rest of its frame is skipped.
constexpr size_t kMaxTextBytes = kMaxTagReadBytes;
// No real tag holds more frames, items or chunks; a walk stops there.
constexpr int kMaxEntries = 65536;

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

bool EqualsIgnoringCase(std::string_view text, std::string_view lower) {
  if (text.size() != lower.size())
    return false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i] >= 'A' && text[i] <= 'Z' ? char(text[i] - 'A' + 'a') : text[i];
    if (c != lower[i])
      return false;
  }
  return true;
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

// The bytes of a one-byte field up to its first terminator (wide texts are
// cut by common::CutAtNul).
std::string_view CutAtNul(std::string_view bytes) {
  return bytes.substr(0, bytes.find('\0'));
}

std::wstring Trim(std::wstring text) {
  const size_t last = text.find_last_not_of(L" \t\r\n");
  text.resize(last == std::wstring::npos ? 0 : last + 1);
  const size_t first = text.find_first_not_of(L" \t\r\n");
  return first == std::wstring::npos ? std::wstring() : text.substr(first);
}

bool Complete(const MediaTags& tags) {
  return !tags.title.empty() && !tags.author.empty();
}

// What one place of a file adds to what others gave: the fields still
// empty.
void FillIn(MediaTags* tags, const MediaTags& more) {
  if (tags->title.empty())
    tags->title = more.title;
  if (tags->author.empty())
    tags->author = more.author;
}

// Up to kMaxTextBytes of the next `length` bytes; the stream moves past all
// of them.
std::string TakeText(TagStream& stream, uint64_t length) {
  std::string text = stream.Take(static_cast<size_t>(std::min<uint64_t>(length, kMaxTextBytes)));
  stream.Skip(length - text.size());
  return text;
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
      return common::CutAtNul(common::DecodeUtf16(text, big));
    }
    case 2:
      return common::CutAtNul(common::DecodeUtf16(text, true));
    case 3:
      return common::DecodeUtf8(CutAtNul(text));
    default:
      // ISO-8859-1 by the standard; in practice GBK, or a converter's UTF-8.
      return DecodeByteField(CutAtNul(text), ansi, false);
  }
}

bool IsFrameId(std::string_view id) {
  for (char c : id)
    if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
      return false;
  return true;
}

// How well a place `at` of a tag ending at `end` suits the start of the
// next ID3v2.4 frame: 2 for a frame header whose size fits, 1 for the end
// itself or padding, 0 for anything else (inside other data, past the end).
int FrameStartScore(ByteSource& file, uint64_t at, uint64_t end) {
  if (at == end)
    return 1;
  if (at > end)
    return 0;
  const std::string head = file.Read(at, static_cast<size_t>(std::min<uint64_t>(10, end - at)));
  if (head.empty())
    return 0;
  if (head.find_first_not_of('\0') == std::string::npos)
    return 1;
  return head.size() == 10 && IsFrameId(head.substr(0, 4)) && SyncSafe(head, 4) <= end - at - 10
             ? 2
             : 0;
}

// ID3v2.4 frame sizes are syncsafe, but a popular music library wrote
// plain integers for years, and such tags are in many collections. A size
// with a top bit set can only be plain; otherwise the plain reading is
// taken where it lands on a better place for the next frame than the
// syncsafe one: a frame header rather than padding (which a run of zeros
// inside a picture looks like), padding or the end rather than the middle
// of other data. A syncsafe tag keeps its sizes: where a size lands on a
// frame, its plain reading can do no better, and where it lands on padding
// or the end, the plain reading lands further on, in the padding or past
// the end. Once a tag has shown plain sizes, all its frames are read so.
uint64_t Id3v24FrameSize(ByteSource& file,
                         std::string_view head,
                         uint64_t data_at,
                         uint64_t end,
                         bool* plain_sizes) {
  const uint64_t syncsafe = SyncSafe(head, 4), plain = Be32(head, 4);
  const bool top_bits =
      ((uint8_t(head[4]) | uint8_t(head[5]) | uint8_t(head[6]) | uint8_t(head[7])) & 0x80) != 0;
  if (!*plain_sizes && syncsafe != plain &&
      (top_bits || FrameStartScore(file, data_at + plain, end) >
                       FrameStartScore(file, data_at + syncsafe, end))) {
    *plain_sizes = true;
  }
  return *plain_sizes ? plain : syncsafe;
}

// A text frame's data as stored, without what the frame's flags add;
// false for a compressed or encrypted frame, which is not read.
bool UnpackFrame(int major, uint8_t format, bool tag_unsync, std::string* data) {
  size_t extra = 0;
  if (major == 3) {
    if (format & 0xC0)
      return false;
    extra = (format & 0x20) ? 1 : 0;  // group identifier
  } else if (major == 4) {
    if (format & 0x0C)
      return false;
    if ((format & 0x02) || tag_unsync)
      *data = Resynchronise(*data);
    extra = ((format & 0x40) ? 1 : 0) + ((format & 0x01) ? 4 : 0);  // group, data length
  }
  data->erase(0, std::min(extra, data->size()));
  return true;
}

// An ID3v2 tag that starts at `begin` and ends by `limit` (the file's end,
// or the end of the RIFF chunk that holds it). The frames are walked
// through the file: only the title and artist frames are read, every other
// frame (a cover picture of any size) is passed by its length.
void ReadId3v2(ByteSource& file,
               uint64_t begin,
               uint64_t limit,
               const common::CodePage& ansi,
               MediaTags* tags) {
  const std::string header = file.Read(begin, 10);
  if (header.size() < 10 || header.compare(0, 3, "ID3") != 0)
    return;
  const int major = uint8_t(header[3]);
  const uint8_t flags = uint8_t(header[5]);
  if (major < 2 || major > 4)
    return;
  if (major == 2 && (flags & 0x40))
    return;  // a compressed 2.2 tag: no scheme was ever defined for it
  const uint64_t end = std::min<uint64_t>(begin + 10 + SyncSafe(header, 6), limit);
  // Unsynchronisation of the whole tag (2.2, 2.3) is undone as the tag is
  // read, and frame sizes count without it; in 2.4 it marks every frame.
  const bool tag_unsync = (flags & 0x80) != 0;
  TagStream body(file, begin + 10, end, tag_unsync && major < 4);
  if ((flags & 0x40) && major >= 3) {
    // Extended header: 2.3 gives its size without the size field, 2.4
    // with it (and syncsafe).
    const std::string size = body.Take(4);
    if (size.size() < 4)
      return;
    body.Skip(major == 3 ? Be32(size, 0) : std::max<uint32_t>(SyncSafe(size, 0), 4) - 4);
  }
  const size_t id_size = major == 2 ? 3 : 4;
  const size_t header_size = major == 2 ? 6 : 10;
  bool plain_sizes = false;
  for (int frames = 0; frames < kMaxEntries && !Complete(*tags); ++frames) {
    const std::string head = body.Take(header_size);
    if (head.size() < header_size || head[0] == '\0')
      break;  // the end, or padding
    const std::string_view id = std::string_view(head).substr(0, id_size);
    const uint64_t size =
        major == 2   ? Be24(head, 3)
        : major == 3 ? Be32(head, 4)
                     : Id3v24FrameSize(file, head, body.position(), body.end(), &plain_sizes);
    const bool title = (id == "TIT2" || id == "TT2") && tags->title.empty();
    const bool artist = (id == "TPE1" || id == "TP1") && tags->author.empty();
    if (!title && !artist) {
      body.Skip(size);
      continue;
    }
    std::string data = TakeText(body, size);
    if (!UnpackFrame(major, major == 2 ? 0 : uint8_t(head[9]), tag_unsync, &data))
      continue;
    const std::wstring text = Trim(DecodeTextFrame(data, ansi));
    (title ? tags->title : tags->author) = text;
  }
}

void ReadId3v1(ByteSource& file, const common::CodePage& ansi, MediaTags* tags) {
  if (file.Size() < 128)
    return;
  const std::string tag = file.Read(file.Size() - 128, 128);
  if (tag.size() != 128 || tag.compare(0, 3, "TAG") != 0)
    return;
  auto field = [&](size_t at) {
    const std::string_view raw(tag.data() + at, 30);
    // A field without a terminator filled its 30 bytes: its writer may
    // have cut the last character.
    const bool full = raw.find('\0') == std::string_view::npos;
    return Trim(DecodeByteField(CutAtNul(raw), ansi, full));
  };
  FillIn(tags, MediaTags{.author = field(33), .title = field(3)});
}

// An APE tag (2.0, or 1.0) at the end of a file, or just before its ID3v1
// tag. Items that are not text (cover pictures) are passed by their length.
void ReadApe(ByteSource& file, const common::CodePage& ansi, MediaTags* tags) {
  const uint64_t size = file.Size();
  for (const uint64_t footer_end : {size, size >= 128 ? size - 128 : 0}) {
    if (footer_end < 32)
      continue;
    const std::string footer = file.Read(footer_end - 32, 32);
    if (footer.size() < 32 || footer.compare(0, 8, "APETAGEX") != 0)
      continue;
    const uint32_t version = Le32(footer, 8);
    // The tag's size counts its items and this footer, not a header.
    const uint32_t tag_size = Le32(footer, 12);
    const uint32_t count = Le32(footer, 16);
    if (tag_size < 32 || tag_size > footer_end)
      return;
    TagStream items(file, footer_end - tag_size, footer_end - 32, false);
    MediaTags found;
    for (uint32_t i = 0; i < count && i < kMaxEntries && !Complete(found); ++i) {
      const std::string head = items.Take(8);
      if (head.size() < 8)
        break;
      const uint32_t length = Le32(head, 0);
      const bool text = ((Le32(head, 4) >> 1) & 3) == 0;
      const std::string key = items.TakeUntilNul(256);
      const bool title = text && EqualsIgnoringCase(key, "title") && found.title.empty();
      const bool artist = text && EqualsIgnoringCase(key, "artist") && found.author.empty();
      if (!title && !artist) {
        items.Skip(length);
        continue;
      }
      // Several values are separated by NULs: the first is shown.
      const std::string value = TakeText(items, length);
      const std::string_view first = CutAtNul(value);
      (title ? found.title : found.author) =
          Trim(version >= 2000 ? common::DecodeUtf8(first) : DecodeByteField(first, ansi, false));
    }
    FillIn(tags, found);
    return;
  }
}

// ASF objects are named by GUIDs, stored little-endian.
constexpr char kAsfHeader[] = "\x30\x26\xB2\x75\x8E\x66\xCF\x11\xA6\xD9\x00\xAA\x00\x62\xCE\x6C";
constexpr char kAsfContent[] = "\x33\x26\xB2\x75\x8E\x66\xCF\x11\xA6\xD9\x00\xAA\x00\x62\xCE\x6C";

void ReadAsf(ByteSource& file, MediaTags* tags) {
  const std::string header = file.Read(0, 30);
  if (header.size() < 30 || header.compare(0, 16, kAsfHeader, 16) != 0)
    return;
  const uint32_t objects = Le32(header, 24);
  // The header's objects are walked through the file: a picture among
  // them is passed by its length.
  TagStream body(file, 30, Le64(header, 16), false);
  for (uint32_t i = 0; i < objects && i < kMaxEntries; ++i) {
    const std::string object = body.Take(24);
    if (object.size() < 24)
      return;
    const uint64_t size = Le64(object, 16);
    if (size < 24 || size - 24 > body.end() - body.position())
      return;
    if (object.compare(0, 16, kAsfContent, 16) != 0 || size < 34) {
      body.Skip(size - 24);
      continue;
    }
    // Five 16-bit lengths, then the texts: title, author, and three more.
    const std::string lengths = body.Take(10);
    if (lengths.size() < 10)
      return;
    const uint64_t title_length = Le16(lengths, 0), author_length = Le16(lengths, 2);
    if (10 + title_length > size - 24)
      return;
    tags->title = Trim(common::CutAtNul(common::DecodeUtf16(TakeText(body, title_length), false)));
    if (10 + title_length + author_length <= size - 24)
      tags->author =
          Trim(common::CutAtNul(common::DecodeUtf16(TakeText(body, author_length), false)));
    return;
  }
}

// The INFO list of a RIFF file, between `begin` and `end`.
void ReadRiffInfo(ByteSource& file,
                  uint64_t begin,
                  uint64_t end,
                  const common::CodePage& ansi,
                  MediaTags* tags) {
  TagStream list(file, begin, end, false);
  for (int i = 0; i < kMaxEntries && !Complete(*tags); ++i) {
    const std::string head = list.Take(8);
    if (head.size() < 8)
      return;
    const uint32_t length = Le32(head, 4);
    const bool title = head.compare(0, 4, "INAM") == 0 && tags->title.empty();
    const bool artist = head.compare(0, 4, "IART") == 0 && tags->author.empty();
    if (title || artist) {
      const std::string text = TakeText(list, length);
      (title ? tags->title : tags->author) = Trim(DecodeByteField(CutAtNul(text), ansi, false));
    } else {
      list.Skip(length);
    }
    list.Skip(length & 1);  // chunks are padded to even lengths
  }
}

// What of a RIFF file is read: its ID3v2 tags, in chunks "id3 " or "ID3 "
// (as many taggers write WAV files), or its INFO lists.
enum class RiffPart { kId3v2, kInfo };

// The chunks of one kind of a RIFF file (WAV, AVI), each filling what the
// ones before left empty.
void ReadRiff(ByteSource& file, RiffPart part, const common::CodePage& ansi, MediaTags* tags) {
  const std::string header = file.Read(0, 12);
  if (header.size() < 12 || header.compare(0, 4, "RIFF") != 0)
    return;
  const uint64_t end = std::min<uint64_t>(uint64_t(Le32(header, 4)) + 8, file.Size());
  uint64_t at = 12;
  for (int chunks = 0; chunks < 10000 && at + 8 <= end && !Complete(*tags); ++chunks) {
    const std::string chunk = file.Read(at, 12);
    if (chunk.size() < 8)
      break;
    const uint64_t size = Le32(chunk, 4);
    const std::string_view id = std::string_view(chunk).substr(0, 4);
    if (part == RiffPart::kInfo && id == "LIST" && chunk.size() >= 12 &&
        chunk.compare(8, 4, "INFO") == 0) {
      ReadRiffInfo(file, at + 12, at + 8 + size, ansi, tags);
    }
    if (part == RiffPart::kId3v2 && EqualsIgnoringCase(id, "id3 "))
      ReadId3v2(file, at + 8, at + 8 + size, ansi, tags);
    at += 8 + size + (size & 1);
  }
}

}  // namespace

MediaTags ReadTags(ByteSource& file, const common::CodePage& ansi) {
  MediaTags tags;
  // An ID3v2 tag first: at the front, or in its chunk of a RIFF file.
  ReadId3v2(file, 0, file.Size(), ansi, &tags);
  if (!Complete(tags))
    ReadRiff(file, RiffPart::kId3v2, ansi, &tags);
  // An APE tag before ID3v1: it holds any text, ID3v1 thirty bytes.
  if (!Complete(tags))
    ReadApe(file, ansi, &tags);
  if (!Complete(tags))
    ReadId3v1(file, ansi, &tags);
  if (tags.title.empty() && tags.author.empty())
    ReadAsf(file, &tags);
  // A RIFF file's INFO list last.
  if (!Complete(tags))
    ReadRiff(file, RiffPart::kInfo, ansi, &tags);
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
