// The parts of the command box's host that need no window: process start,
// files, the Run key, the program's own path, "windir" and the settings
// file functions.
#ifndef COMMAND_BOX_HOST_PLATFORM_WIN_H_
#define COMMAND_BOX_HOST_PLATFORM_WIN_H_

#include <string>

#include "common/platform_win.h"

namespace commandbox {

// How the command box's starts reach the native system folder, where the
// program runs as a 32-bit one on 64-bit Windows (WOW64).
enum class NativeReach {
  // Not under WOW64: the command line is started as it stands.
  kAsItIs,
  // From Vista on: the program is looked for as a 64-bit start would look
  // for it, System32 through its alias Sysnative.
  kThroughAlias,
  // 64-bit XP and Server 2003, which have no alias: the same look-up and
  // the start itself with WOW64's file system redirection off.
  kRedirectionOff,
};
NativeReach DefaultNativeReach();

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

  // The way of DefaultNativeReach, or another one (tests try each).
  void set_native_reach(NativeReach reach) { reach_ = reach; }

 private:
  bool Start(const std::wstring& command_line, HANDLE* process);

  common::Win32SettingsProfile profile_;
  NativeReach reach_ = DefaultNativeReach();
};

}  // namespace commandbox

#endif  // COMMAND_BOX_HOST_PLATFORM_WIN_H_
