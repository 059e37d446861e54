#include "common/settings.h"

#include <utility>

#include "common/text_rules.h"

namespace common {

SettingsFile::SettingsFile(ProfilePort& port, std::function<std::wstring()> path)
    : port_(port), path_(std::move(path)) {}

std::wstring SettingsFile::ReadSetting(const std::wstring& section, const std::wstring& key) const {
  const std::wstring raw = port_.GetString(path_(), section, key, kBufferChars);
  return TrimBlanks(CutAtNul(raw));
}

void SettingsFile::WriteSetting(const std::wstring& section,
                                const std::wstring& key,
                                const std::wstring& value) const {
  // The value goes through a fixed buffer of 128 characters followed by a
  // NUL, so longer values are cut and a NUL inside ends the value.
  const std::wstring stored = CutAtNul(LeftChars(value, kBufferChars));
  port_.WriteString(path_(), section, key, stored);
}

}  // namespace common
