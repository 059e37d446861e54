// What a 32-bit program needs to meet 64-bit Windows as the 64-bit programs
// do. Under WOW64 every file access to %windir%\System32 goes to
// %windir%\SysWOW64 (and %windir%\regedit.exe to SysWOW64's), unless the
// thread has switched that redirection off for the moment.
#ifndef COMMON_WOW64_WIN_H_
#define COMMON_WOW64_WIN_H_

#include <string>

namespace common {

// True when this program is a 32-bit one running on 64-bit Windows. Asked
// once; IsWow64Process is looked up at run time (32-bit XP before SP2 lacks
// it, and no 32-bit Windows runs anything under WOW64).
bool RunsUnderWow64();

// While it lives, the file names this thread hands to the system mean what
// they mean to a 64-bit program: the system folder is the native one, and
// SysWOW64 is just a folder. It does nothing outside WOW64, or when
// `wanted` is false. DLLs are found through the same redirection, so it is
// meant to wrap single calls that load nothing (Wow64DisableWow64FsRedirection
// and Wow64RevertWow64FsRedirection, looked up at run time: 32-bit XP lacks
// them).
class NativeFileNames {
 public:
  explicit NativeFileNames(bool wanted = true);
  ~NativeFileNames();
  NativeFileNames(const NativeFileNames&) = delete;
  NativeFileNames& operator=(const NativeFileNames&) = delete;

 private:
  void* previous_ = nullptr;
  bool off_ = false;
};

// The Windows folder shared by every user (GetSystemWindowsDirectoryW),
// without a trailing backslash; "" when unknown.
std::wstring SystemWindowsFolder();

// The Windows folder of this session as the profile functions place their
// files in it (GetWindowsDirectoryW: on a terminal server a folder of the
// user's own); "" when unknown.
std::wstring WindowsFolder();

// The Windows folder as the programs name it, %windir%; WindowsFolder()
// where the variable is unset.
std::wstring WindowsFolderVariable();

}  // namespace common

#endif  // COMMON_WOW64_WIN_H_
