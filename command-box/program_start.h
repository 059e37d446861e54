// How the command box starts a command line: by the process start, and
// through the shell where Windows asks for that (a program that needs
// administrator rights, a program only the App Paths key knows, a URI).
// The decision is here; the platform's answers come through StartPort.
#ifndef COMMAND_BOX_PROGRAM_START_H_
#define COMMAND_BOX_PROGRAM_START_H_

#include <string>
#include <tuple>

namespace commandbox {

// Windows' answers that the decision tells apart (winerror.h).
inline constexpr unsigned long kStartDone = 0;
inline constexpr unsigned long kFileNotFound = 2;         // ERROR_FILE_NOT_FOUND
inline constexpr unsigned long kElevationRequired = 740;  // ERROR_ELEVATION_REQUIRED
inline constexpr unsigned long kCancelled = 1223;         // ERROR_CANCELLED

struct WindowsVersion {
  unsigned major = 0, minor = 0, build = 0;
  friend bool operator<(const WindowsVersion& a, const WindowsVersion& b) {
    return std::tie(a.major, a.minor, a.build) < std::tie(b.major, b.minor, b.build);
  }
};

// The program a command line starts and what it is given after it.
struct ProgramCall {
  // The program file as this program reaches it; "" when none is found.
  std::wstring program;
  // The rest of the command line after the program's part, blanks before
  // it left out.
  std::wstring arguments;
  // Found by the App Paths key alone, which the shell reads and the
  // process start does not.
  bool by_app_paths = false;
};

// What the platform finds, as the process start finds it.
class ProgramLookupPort {
 public:
  virtual ~ProgramLookupPort() = default;
  // The program file of a command line: the process start's search (the
  // native system folder under WOW64, the Windows folder, PATH), then the
  // App Paths key.
  virtual ProgramCall Locate(const std::wstring& command_line) = 0;
  // Whether a file of this name is in the native system folder.
  virtual bool SystemFileExists(const std::wstring& name) = 0;
  // Whether a URI scheme ("ms-settings") is registered with the shell.
  virtual bool SchemeRegistered(const std::wstring& scheme) = 0;
  virtual WindowsVersion Version() = 0;
  // 64-bit Windows, whichever form this program runs in.
  virtual bool Is64BitWindows() = 0;
};

// The platform's handle of a started process (a HANDLE).
using ProcessHandle = void*;

class StartPort : public ProgramLookupPort {
 public:
  // The process start of the command line as it stands (the WOW64 rule
  // applies); kStartDone or Windows' error. With `process` given, it gets
  // the process, for the caller to close.
  virtual unsigned long StartProcess(const std::wstring& command_line, ProcessHandle* process) = 0;
  // The shell's start of a file or URI with its parameters, the command
  // box as the owner of any prompt; kStartDone or Windows' error. The
  // process may stay unknown (nullptr), for a URI for instance.
  virtual unsigned long ShellStart(const std::wstring& file,
                                   const std::wstring& parameters,
                                   ProcessHandle* process) = 0;
};

enum class StartOutcome {
  kStarted,
  // The user said no at the elevation prompt: their answer, not a failure.
  kDeclined,
  kFailed,
};

// Starts a command line by the process start. Where Windows answers that
// the program needs elevation, the same program with the same arguments
// goes through the shell, which asks the user as the Run box does; where
// the process start finds no program and the App Paths key names one, the
// shell starts that one.
StartOutcome LaunchCommandLine(StartPort& port,
                               const std::wstring& command_line,
                               ProcessHandle* process = nullptr);

// Starts a URI (or a file) through the shell.
StartOutcome LaunchThroughShell(StartPort& port,
                                const std::wstring& target,
                                ProcessHandle* process = nullptr);

}  // namespace commandbox

#endif  // COMMAND_BOX_PROGRAM_START_H_
