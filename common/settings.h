// Settings files in the initialisation-file format, read and written
// through the platform's profile functions.
//
// The rules every program relies on: a value is read through a buffer of
// 128 characters, cut at its first NUL and stripped of blanks at both ends;
// a missing file, section or key reads as the empty text. A value written
// is cut to 128 characters (and at a NUL inside it); whether the write
// worked is not reported.
#ifndef COMMON_SETTINGS_H_
#define COMMON_SETTINGS_H_

#include <functional>
#include <string>

namespace common {

// The platform's profile functions.
class ProfilePort {
 public:
  virtual ~ProfilePort() = default;
  // Reads `key` of `section` into a buffer of `buffer_chars` characters the
  // way the platform does: at most buffer_chars - 1 characters of the value,
  // "" when the file, section or key is missing.
  virtual std::wstring GetString(const std::wstring& file,
                                 const std::wstring& section,
                                 const std::wstring& key,
                                 size_t buffer_chars) = 0;
  virtual bool WriteString(const std::wstring& file,
                           const std::wstring& section,
                           const std::wstring& key,
                           const std::wstring& value) = 0;
};

class SettingsFile {
 public:
  static constexpr size_t kBufferChars = 128;

  // `path` is asked for the file name at every access, so a path built from
  // the environment follows it.
  SettingsFile(ProfilePort& port, std::function<std::wstring()> path);

  std::wstring ReadSetting(const std::wstring& section, const std::wstring& key) const;
  void WriteSetting(const std::wstring& section,
                    const std::wstring& key,
                    const std::wstring& value) const;

 private:
  ProfilePort& port_;
  std::function<std::wstring()> path_;
};

}  // namespace common

#endif  // COMMON_SETTINGS_H_
