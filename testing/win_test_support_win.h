// Helpers for the tests that run under Wine: answering message boxes from a
// thread CBT hook, pumping messages for a while, counting GDI objects, and
// the folder the test programs run from.
#ifndef TESTING_WIN_TEST_SUPPORT_WIN_H_
#define TESTING_WIN_TEST_SUPPORT_WIN_H_

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "common/win32_win.h"

namespace testing_support {

// Answers every message box the current thread opens. Each box seen is
// recorded; the answer is the next queued button id, or else the box's
// default button.
class MessageBoxAnswerer {
 public:
  struct Box {
    std::wstring title;
    std::wstring text;
    // MB_ICONINFORMATION, MB_ICONQUESTION, MB_ICONWARNING, MB_ICONERROR or 0.
    UINT icon = 0;
    std::vector<int> buttons;  // IDOK, IDCANCEL, ... in the box
    int default_button = 0;
  };

  MessageBoxAnswerer();
  ~MessageBoxAnswerer();
  MessageBoxAnswerer(const MessageBoxAnswerer&) = delete;
  MessageBoxAnswerer& operator=(const MessageBoxAnswerer&) = delete;

  void QueueAnswer(int button_id) { answers_.push_back(button_id); }
  const std::vector<Box>& boxes() const { return boxes_; }
  // Called with the box's handle while it is open, before it is answered.
  std::function<void(HWND box)> on_box;

 private:
  static LRESULT CALLBACK HookProc(int code, WPARAM wparam, LPARAM lparam);
  static void CALLBACK TimerProc(HWND, UINT, UINT_PTR id, DWORD);
  void OnActivate(HWND box);
  void ReadAndAnswer(HWND box);

  HHOOK hook_ = nullptr;
  std::deque<int> answers_;
  std::vector<Box> boxes_;
  std::vector<HWND> handled_;
  std::vector<HWND> pending_;
};

// Processes messages until `done` returns true or `timeout_ms` passes;
// returns the last answer of `done`. Under a user-mode emulator
// (SUITE_EMULATOR) the limit is WaitLimit(timeout_ms): the wait ends as
// soon as `done` holds, so only a slow machine waits longer.
bool PumpUntil(const std::function<bool()>& done, DWORD timeout_ms);
// Processes messages for `ms` milliseconds, under an emulator too.
void PumpFor(DWORD ms);
// The longest a test waits for something that takes `ms` natively: three
// times as long where wine-test names an emulator (its programs, and every
// program they start, ran two to seven times slower there), else `ms`.
DWORD WaitLimit(DWORD ms);

// Makes `top` the foreground window with the keyboard focus in `focus`, and
// waits until it has held both for `steady_ms` on end (a window of another
// process, such as the console window Wine gives a console program started
// through the shell, may take the activation a moment later, later still on
// a loaded or emulated machine). False when that never came within
// WaitLimit(timeout_ms).
bool HoldActivation(HWND top, HWND focus, DWORD steady_ms, DWORD timeout_ms);
// The foreground, active and focused windows, by handle, class, caption and
// process: what a failed check of the focus prints.
std::wstring ActivationReport();

// Keys as the keyboard gives them (SendInput): they go to the focused
// window's queue, or to the active window as system keys when nothing has
// the focus.
void PressKey(WORD virtual_key);
// Characters posted to a control that has (been given) the focus, as the
// keyboard's messages come once translated; unlike SendInput it does not
// depend on which window the system has made the foreground one.
void PostChars(HWND focused, const std::wstring& text);

// A thread timer that calls `step` every `interval_ms` while the thread
// processes messages (also inside a run's yields and a message box's loop)
// until `step` returns true: how a test acts at a chosen moment of a run,
// as a user's key or click would arrive then.
class StepTimer {
 public:
  StepTimer(UINT interval_ms, std::function<bool()> step);
  ~StepTimer();
  StepTimer(const StepTimer&) = delete;
  StepTimer& operator=(const StepTimer&) = delete;
  bool done() const { return done_; }

 private:
  static void CALLBACK Proc(HWND, UINT, UINT_PTR id, DWORD);
  UINT_PTR id_ = 0;
  std::function<bool()> step_;
  bool done_ = false;
  bool busy_ = false;  // a step that pumps messages is not entered again
};

// Starts a program of the test folder with arguments, waits for it and
// returns its exit code (-1 when it could not be started or did not end
// within the time).
int RunTool(const std::wstring& tool_and_arguments, DWORD timeout_ms = 15000);

// GDI objects the current process holds.
DWORD GdiObjectCount();

// The folder of the running test program (C:\suite under scripts/test).
std::wstring TestProgramFolder();

// Makes an empty scratch folder below the test folder and returns its path.
std::wstring MakeScratchFolder(const std::wstring& name);
// Removes a folder tree (attributes reset first); symbolic links to folders
// are removed, never followed.
void RemoveTree(const std::wstring& path);
// Makes a folder and those above it ("C:\a\b" makes "C:\a" first).
void MakeFolders(const std::wstring& path);
// Writes bytes to a file, replacing it.
bool WriteFileBytes(const std::wstring& path, const std::string& bytes);
// Reads a whole file; false when it cannot be opened.
bool ReadFileBytes(const std::wstring& path, std::string* bytes);
bool FileExists(const std::wstring& path);
// A WM_DROPFILES handle as the shell builds it: wide file names, each ended
// by a NUL, the list ended by another. The window that gets it frees it
// (DragFinish).
HDROP MakeDrop(const std::vector<std::wstring>& files);

// Where the per-user copy of a file of the Windows folder belongs, worked
// out apart from the code under test: %LOCALAPPDATA%\VirtualStore\ and the
// path without its drive.
std::wstring VirtualStoreCopy(const std::wstring& path);
// True when no new file can be made in the folder (the folders a fixture
// locked, as a standard user meets the Windows folder).
bool FolderRefusesNewFiles(const std::wstring& folder);
// Removes a file and its read-only attribute; nothing when it is absent.
void RemoveFile(const std::wstring& path);

// The display density a test program was started for (SUITE_TEST_DPI,
// which the densities' test entries set together with the prefix's
// LogPixels), or 96.
int RequestedTestDpi();

// Where the test program's Wine runs under a user-mode emulator (wine-test
// names it in SUITE_EMULATOR: the 32-bit tree on a machine whose kernel runs
// no 32-bit programs) and that emulator gives no process the memory of
// another, the reason a test that needs such reads is not applicable, with
// what was seen; empty otherwise (natively, or where the read works after
// all), and the test then runs as everywhere. The check is a read of this
// program's own image through a process handle, which goes the way every
// read of another process's memory goes under Wine (through its server).
std::wstring NoProcessMemoryUnderEmulation();

// Whether the test program's prefix is a 64-bit Windows (wine-test names
// its architecture in SUITE_PREFIX_ARCH; a 32-bit program's tests can run
// in either), and so a 32-bit test program runs under WOW64 there.
bool PrefixIs64Bit();
// The system folder as the prefix's own (native) programs see it, named
// so that this program reaches it: "C:\windows\sysnative" for a 32-bit
// program in a 64-bit prefix, "C:\windows\system32" otherwise.
std::wstring NativeSystemFolder();

// The value for the density the test program was started at: 96, 120 or
// 144 dots per inch (any other density fails the test).
int ByDensity(int at96, int at120, int at144);

// The client size of a window.
SIZE ClientSize(HWND window);

// The visible controls below `root` whose texts do not fit them in their
// own fonts, each as "class \"text\": why": statics (wrapped as they wrap;
// those that end a long text in an ellipsis by their line's height), push buttons (inside the
// face's margin), check boxes (beside their box; boxes too narrow for any
// caption must still hold the box), group box captions, edit fields (the
// font's height) and list view column headers. Empty when all fit.
std::vector<std::wstring> CutTexts(HWND root);
// Lines joined for a failure message, each ended by a line break.
std::wstring JoinLines(const std::vector<std::wstring>& lines);

}  // namespace testing_support

#endif  // TESTING_WIN_TEST_SUPPORT_WIN_H_
