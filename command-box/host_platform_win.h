// The parts of the command box's host that need no window: process start,
// files, the Run key, the program's own path, "windir" and the settings
// file functions.
#ifndef COMMAND_BOX_HOST_PLATFORM_WIN_H_
#define COMMAND_BOX_HOST_PLATFORM_WIN_H_

#include <string>

#include "command-box/program_start.h"
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

// Every start of the command box goes through here, the way of
// LaunchCommandLine (program_start.h).
class Win32HostPlatform : public StartPort {
 public:
  bool StartCommandLine(const std::wstring& command_line);
  // Keeps the calling window alive (messages are processed) while it waits.
  bool StartCommandLineAndWait(const std::wstring& command_line, unsigned timeout_ms);
  bool StartThroughShell(const std::wstring& target);
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
  // The window that owns the shell's prompts (the command box).
  void set_owner(HWND owner) { owner_ = owner; }

  // StartPort
  ProgramCall Locate(const std::wstring& command_line) override;
  bool SystemFileExists(const std::wstring& name) override;
  // The scheme's key in HKEY_CLASSES_ROOT with its "URL Protocol" value.
  bool SchemeRegistered(const std::wstring& scheme) override;
  WindowsVersion Version() override;
  bool Is64BitWindows() override;
  unsigned long StartProcess(const std::wstring& command_line, ProcessHandle* process) override;
  unsigned long ShellStart(const std::wstring& file,
                           const std::wstring& parameters,
                           ProcessHandle* process) override;

 private:
  // Waits for a started process, if there is one to wait for.
  void Wait(HANDLE process, unsigned timeout_ms);

  common::Win32SettingsProfile profile_;
  NativeReach reach_ = DefaultNativeReach();
  HWND owner_ = nullptr;
};

}  // namespace commandbox

#endif  // COMMAND_BOX_HOST_PLATFORM_WIN_H_
