// The parts of the command box's host that need no window: process start,
// files, the Run key, the program's own path, "windir" and the settings
// file functions.
#ifndef COMMAND_BOX_HOST_PLATFORM_WIN_H_
#define COMMAND_BOX_HOST_PLATFORM_WIN_H_

#include <string>

#include "common/platform_win.h"

namespace commandbox {

class Win32HostPlatform {
 public:
  bool StartCommandLine(const std::wstring& command_line);
  // Keeps the calling window alive (messages are processed) while it waits.
  bool StartCommandLineAndWait(const std::wstring& command_line, unsigned timeout_ms);
  // An exact name only: a name with wildcards finds nothing.
  bool FileExists(const std::wstring& path);
  bool RenameFile(const std::wstring& from, const std::wstring& to);
  bool WriteRunValue(const std::wstring& name, const std::wstring& data);
  bool DeleteRunValue(const std::wstring& name);
  common::ProgramPath Program();
  std::wstring WindowsFolder();
  common::ProfilePort& Profile() { return profile_; }

 private:
  common::Win32SettingsProfile profile_;
};

}  // namespace commandbox

#endif  // COMMAND_BOX_HOST_PLATFORM_WIN_H_
