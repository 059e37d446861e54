#include "testing/win_test_support_win.h"

#include <shlobj.h>
#include <winternl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "common/platform_win.h"
#include "common/window_win.h"

namespace testing_support {
namespace {

MessageBoxAnswerer* g_answerer = nullptr;

std::wstring ClassOf(HWND hwnd) {
  wchar_t name[256] = {};
  ::GetClassNameW(hwnd, name, 256);
  return name;
}

}  // namespace

MessageBoxAnswerer::MessageBoxAnswerer() {
  g_answerer = this;
  hook_ = ::SetWindowsHookExW(WH_CBT, HookProc, nullptr, ::GetCurrentThreadId());
}

MessageBoxAnswerer::~MessageBoxAnswerer() {
  if (hook_)
    ::UnhookWindowsHookEx(hook_);
  if (g_answerer == this)
    g_answerer = nullptr;
}

LRESULT CALLBACK MessageBoxAnswerer::HookProc(int code, WPARAM wparam, LPARAM lparam) {
  // A second activation may come with no window: check it.
  if (code == HCBT_ACTIVATE && g_answerer && wparam) {
    HWND box = reinterpret_cast<HWND>(wparam);
    if (ClassOf(box) == L"#32770")
      g_answerer->OnActivate(box);
  }
  return ::CallNextHookEx(nullptr, code, wparam, lparam);
}

void MessageBoxAnswerer::OnActivate(HWND box) {
  if (std::find(handled_.begin(), handled_.end(), box) != handled_.end())
    return;
  handled_.push_back(box);
  // The box is read and answered a moment later, from its own modal loop,
  // once its initialisation (default button, focus) is complete.
  pending_.push_back(box);
  ::SetTimer(nullptr, 0, 30, TimerProc);
}

void CALLBACK MessageBoxAnswerer::TimerProc(HWND, UINT, UINT_PTR id, DWORD) {
  ::KillTimer(nullptr, id);
  if (!g_answerer)
    return;
  std::vector<HWND> boxes;
  boxes.swap(g_answerer->pending_);
  for (HWND box : boxes)
    if (::IsWindow(box))
      g_answerer->ReadAndAnswer(box);
}

void MessageBoxAnswerer::ReadAndAnswer(HWND box) {
  Box seen;
  seen.title = common::WindowText(box);
  wchar_t text[4096] = {};
  ::GetDlgItemTextW(box, 0xFFFF, text, 4096);
  seen.text = text;
  // The icon is the box's static control with the SS_ICON style; its id
  // differs between systems.
  HICON icon = nullptr;
  for (HWND child = ::GetWindow(box, GW_CHILD); child && !icon;
       child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (ClassOf(child) == L"Static" &&
        (::GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
      icon = reinterpret_cast<HICON>(::SendMessageW(child, STM_GETICON, 0, 0));
    }
  }
  if (icon) {
    const struct {
      LPCWSTR id;
      UINT flag;
    } kinds[] = {{IDI_ASTERISK, MB_ICONINFORMATION},
                 {IDI_QUESTION, MB_ICONQUESTION},
                 {IDI_EXCLAMATION, MB_ICONWARNING},
                 {IDI_HAND, MB_ICONERROR}};
    for (const auto& kind : kinds)
      if (::LoadIconW(nullptr, kind.id) == icon)
        seen.icon = kind.flag;
  }
  for (int id : {IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO}) {
    HWND button = ::GetDlgItem(box, id);
    if (!button)
      continue;
    const LONG style = ::GetWindowLongW(button, GWL_STYLE);
    if (!(style & WS_VISIBLE))
      continue;
    seen.buttons.push_back(id);
    if ((style & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
      seen.default_button = id;
  }
  if (!seen.default_button) {
    const LRESULT def = ::SendMessageW(box, DM_GETDEFID, 0, 0);
    if (HIWORD(def) == DC_HASDEFID)
      seen.default_button = LOWORD(def);
  }
  boxes_.push_back(seen);
  if (on_box)
    on_box(box);

  int answer = seen.default_button ? seen.default_button : IDOK;
  if (!answers_.empty()) {
    answer = answers_.front();
    answers_.pop_front();
  }
  HWND button = ::GetDlgItem(box, answer);
  if (button) {
    ::PostMessageW(button, BM_CLICK, 0, 0);
  } else {
    ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), 0);
  }
}

namespace {

bool PumpWithin(const std::function<bool()>& done, DWORD limit_ms) {
  const DWORD start = ::GetTickCount();
  while (true) {
    common::Yield();
    if (done())
      return true;
    if (::GetTickCount() - start >= limit_ms)
      return done();
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

std::wstring Describe(HWND hwnd) {
  if (!hwnd)
    return L"none";
  wchar_t handle[32];
  swprintf(handle, 32, L"%p", static_cast<void*>(hwnd));
  wchar_t class_name[128] = {};
  ::GetClassNameW(hwnd, class_name, 128);
  DWORD process = 0;
  ::GetWindowThreadProcessId(hwnd, &process);
  return std::wstring(handle) + L" (" + class_name + L" \"" + common::WindowText(hwnd) + L"\", " +
         (process == ::GetCurrentProcessId() ? L"this process"
                                             : L"process " + std::to_wstring(process)) +
         L")";
}

}  // namespace

DWORD WaitLimit(DWORD ms) {
  return common::GetEnvironmentText(L"SUITE_EMULATOR").empty() ? ms : 3 * ms;
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeout_ms) {
  return PumpWithin(done, WaitLimit(timeout_ms));
}

void PumpFor(DWORD ms) {
  PumpWithin([] { return false; }, ms);
}

bool HoldActivation(HWND top, HWND focus, DWORD steady_ms, DWORD timeout_ms) {
  const DWORD start = ::GetTickCount();
  const DWORD limit = WaitLimit(timeout_ms);
  while (::GetTickCount() - start < limit) {
    ::SetForegroundWindow(top);
    ::SetFocus(focus);
    const bool lost = PumpWithin(
        [&] {
          return ::GetForegroundWindow() != top || ::GetActiveWindow() != top ||
                 ::GetFocus() != focus;
        },
        steady_ms);
    if (!lost)
      return true;  // nothing took it for the whole stretch
    // Said in the output, so that a later failure can be read against it.
    fwprintf(stderr, L"HoldActivation: taken after %lu ms: %ls\n", ::GetTickCount() - start,
             ActivationReport().c_str());
  }
  return false;
}

std::wstring ActivationReport() {
  return L"foreground " + Describe(::GetForegroundWindow()) + L", active " +
         Describe(::GetActiveWindow()) + L", focus " + Describe(::GetFocus());
}

// Wine answers GetGuiResources with 0. Like Windows it keeps the GDI
// handle table in memory the process can read (the PEB's
// GdiSharedHandleTable, at 0x94 in a 32-bit PEB and at 0xF8 in a 64-bit
// one). Wine's entries are 24 bytes in both kinds of process (its pointers
// there are 64-bit fields); a live object's entry has a type.
DWORD GdiObjectCount() {
  const DWORD reported = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
  if (reported != 0)
    return reported;
  constexpr size_t kTableOffset = sizeof(void*) == 8 ? 0xF8 : 0x94;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds"
  const BYTE* peb = reinterpret_cast<const BYTE*>(NtCurrentTeb()->ProcessEnvironmentBlock);
#pragma GCC diagnostic pop
  const BYTE* table = *reinterpret_cast<const BYTE* const*>(peb + kTableOffset);
  if (!table)
    return 0;
  struct Entry {
    UINT64 object;
    ULONG owner;
    USHORT unique;
    UCHAR type;
    UCHAR flags;
    UINT64 user_pointer;
  };
  static_assert(sizeof(Entry) == 24, "Wine's GDI_HANDLE_ENTRY");
  const Entry* entries = reinterpret_cast<const Entry*>(table);
  DWORD count = 0;
  for (int i = 0; i < 0x10000; ++i)
    if (entries[i].type != 0 && entries[i].object != 0)
      ++count;
  return count;
}

void PressKey(WORD virtual_key) {
  INPUT inputs[2] = {};
  for (INPUT& input : inputs) {
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtual_key;
  }
  inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
  ::SendInput(2, inputs, sizeof(INPUT));
}

namespace {
std::vector<StepTimer*>& StepTimers() {
  static std::vector<StepTimer*> timers;
  return timers;
}
}  // namespace

StepTimer::StepTimer(UINT interval_ms, std::function<bool()> step) : step_(std::move(step)) {
  StepTimers().push_back(this);
  id_ = ::SetTimer(nullptr, 0, interval_ms, Proc);
}

StepTimer::~StepTimer() {
  if (id_)
    ::KillTimer(nullptr, id_);
  auto& timers = StepTimers();
  timers.erase(std::remove(timers.begin(), timers.end(), this), timers.end());
}

void CALLBACK StepTimer::Proc(HWND, UINT, UINT_PTR id, DWORD) {
  for (StepTimer* timer : StepTimers()) {
    if (timer->id_ != id)
      continue;
    if (timer->done_ || timer->busy_)
      return;
    timer->busy_ = true;
    const bool done = timer->step_();
    timer->busy_ = false;
    if (done) {
      timer->done_ = true;
      ::KillTimer(nullptr, timer->id_);
      timer->id_ = 0;
    }
    return;
  }
}

void PostChars(HWND focused, const std::wstring& text) {
  for (wchar_t c : text)
    ::PostMessageW(focused, WM_CHAR, c, 1);
}

int RunTool(const std::wstring& tool_and_arguments, DWORD timeout_ms) {
  std::wstring line = TestProgramFolder() + L"\\" + tool_and_arguments;
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info = {};
  if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                        nullptr, &startup, &info))
    return -1;
  int code = -1;
  if (::WaitForSingleObject(info.hProcess, timeout_ms) == WAIT_OBJECT_0) {
    DWORD exit_code = 0;
    ::GetExitCodeProcess(info.hProcess, &exit_code);
    code = static_cast<int>(exit_code);
  }
  ::CloseHandle(info.hThread);
  ::CloseHandle(info.hProcess);
  return code;
}

std::wstring TestProgramFolder() {
  wchar_t path[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder = path;
  folder.resize(folder.find_last_of(L'\\'));
  return folder;
}

std::wstring MakeScratchFolder(const std::wstring& name) {
  const std::wstring root = TestProgramFolder() + L"\\scratch";
  ::CreateDirectoryW(root.c_str(), nullptr);
  const std::wstring path = root + L"\\" + name;
  RemoveTree(path);
  ::CreateDirectoryW(path.c_str(), nullptr);
  return path;
}

void RemoveTree(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES)
    return;
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileW(path.c_str());
    return;
  }
  if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
    WIN32_FIND_DATAW data;
    HANDLE find = ::FindFirstFileW((path + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
      do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..")
          continue;
        RemoveTree(path + L"\\" + name);
      } while (::FindNextFileW(find, &data));
      ::FindClose(find);
    }
  }
  ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  ::RemoveDirectoryW(path.c_str());
}

void MakeFolders(const std::wstring& path) {
  for (size_t at = 3; at <= path.size(); ++at)
    if (at == path.size() || path[at] == L'\\')
      ::CreateDirectoryW(path.substr(0, at).c_str(), nullptr);
}

bool WriteFileBytes(const std::wstring& path, const std::string& bytes) {
  return common::WriteFileBytes(path, bytes);
}

HDROP MakeDrop(const std::vector<std::wstring>& files) {
  size_t chars = 1;
  for (const auto& f : files)
    chars += f.size() + 1;
  HGLOBAL memory =
      ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + chars * sizeof(wchar_t));
  auto* drop = static_cast<DROPFILES*>(::GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  drop->fWide = TRUE;
  wchar_t* names = reinterpret_cast<wchar_t*>(drop + 1);
  for (const auto& f : files) {
    std::copy(f.begin(), f.end(), names);
    names += f.size() + 1;
  }
  ::GlobalUnlock(memory);
  return static_cast<HDROP>(memory);
}

bool ReadFileBytes(const std::wstring& path, std::string* bytes) {
  HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    return false;
  bytes->clear();
  char buffer[65536];
  DWORD got = 0;
  while (::ReadFile(file, buffer, sizeof(buffer), &got, nullptr) && got > 0)
    bytes->append(buffer, got);
  ::CloseHandle(file);
  return true;
}

bool FileExists(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring VirtualStoreCopy(const std::wstring& path) {
  wchar_t local[MAX_PATH] = {};
  const DWORD length = ::GetEnvironmentVariableW(L"LOCALAPPDATA", local, MAX_PATH);
  if (length == 0 || length >= MAX_PATH || path.size() < 4)
    return L"";
  return std::wstring(local) + L"\\VirtualStore\\" + path.substr(3);
}

bool FolderRefusesNewFiles(const std::wstring& folder) {
  const std::wstring probe = folder + L"\\suite_write_probe.tmp";
  HANDLE file = ::CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    return true;
  ::CloseHandle(file);
  ::DeleteFileW(probe.c_str());
  return false;
}

void RemoveFile(const std::wstring& path) {
  ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  ::DeleteFileW(path.c_str());
}

int RequestedTestDpi() {
  const std::wstring text = common::GetEnvironmentText(L"SUITE_TEST_DPI");
  const int dpi = text.empty() ? 0 : _wtoi(text.c_str());
  return dpi > 0 ? dpi : common::kUsualDpi;
}

bool PrefixIs64Bit() {
  const std::wstring arch = common::GetEnvironmentText(L"SUITE_PREFIX_ARCH");
  return arch.empty() ? sizeof(void*) == 8 : arch == L"win64";
}

std::wstring NativeSystemFolder() {
  wchar_t windows[MAX_PATH] = {};
  ::GetSystemWindowsDirectoryW(windows, MAX_PATH);
  const bool under_wow64 = PrefixIs64Bit() && sizeof(void*) == 4;
  return std::wstring(windows) + (under_wow64 ? L"\\sysnative" : L"\\system32");
}

std::wstring NoProcessMemoryUnderEmulation() {
  const std::wstring emulator = common::GetEnvironmentText(L"SUITE_EMULATOR");
  if (emulator.empty())
    return {};
  HANDLE self = ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE,
                              ::GetCurrentProcessId());
  char head[2] = {};
  SIZE_T read = 0;
  const bool ok = self && ::ReadProcessMemory(self, ::GetModuleHandleW(nullptr), head,
                                              sizeof head, &read) &&
                  read == sizeof head;
  const DWORD error = ok ? 0 : ::GetLastError();
  if (self)
    ::CloseHandle(self);
  if (ok)
    return {};
  return L"not applicable under emulation: this Wine runs under " + emulator +
         L", where no process can read another's memory (ReadProcessMemory of this very "
         L"program's image through a process handle fails with error " +
         std::to_wstring(error) +
         L"; Wine's server reads process memory with ptrace, which qemu's user-mode "
         L"emulator does not implement). The test runs in the 64-bit tree and where "
         L"32-bit programs run natively.";
}

int ByDensity(int at96, int at120, int at144) {
  switch (RequestedTestDpi()) {
    case 96:
      return at96;
    case 120:
      return at120;
    case 144:
      return at144;
    default:
      // A density the tests hold no numbers for: no test of it can pass.
      std::fprintf(stderr, "ByDensity: no expected value for %d dots per inch\n",
                   RequestedTestDpi());
      std::abort();
  }
}

SIZE ClientSize(HWND window) {
  RECT client = {};
  ::GetClientRect(window, &client);
  return SIZE{client.right - client.left, client.bottom - client.top};
}

namespace {

// The size of a text in the control's font: one line, or wrapped to
// `wrap_width` when it is above 0; and the font's height in `font_height`.
SIZE TextSize(HWND control, const std::wstring& text, int wrap_width, UINT extra_flags = 0,
              int* font_height = nullptr) {
  HDC dc = ::GetDC(control);
  HFONT font = reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0));
  HGDIOBJ old = font ? ::SelectObject(dc, font) : nullptr;
  RECT r = {0, 0, wrap_width > 0 ? wrap_width : 0, 0};
  const UINT flags = DT_CALCRECT | DT_EXPANDTABS | extra_flags |
                     (wrap_width > 0 ? DT_WORDBREAK : DT_SINGLELINE);
  ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, flags);
  if (font_height) {
    TEXTMETRICW metrics = {};
    ::GetTextMetricsW(dc, &metrics);
    *font_height = metrics.tmHeight;
  }
  if (old)
    ::SelectObject(dc, old);
  ::ReleaseDC(control, dc);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

std::wstring Fits(SIZE text, SIZE room) {
  return L"needs " + std::to_wstring(text.cx) + L"x" + std::to_wstring(text.cy) + L", has " +
         std::to_wstring(room.cx) + L"x" + std::to_wstring(room.cy);
}

void CheckControl(HWND control, std::vector<std::wstring>& cut) {
  wchar_t name[64] = {};
  ::GetClassNameW(control, name, 64);
  const std::wstring cls = name;
  const std::wstring text = common::WindowText(control);
  const LONG style = ::GetWindowLongW(control, GWL_STYLE);
  const SIZE room = ClientSize(control);
  const int dpi = common::ScreenDpi();
  const auto cut_because = [&](const std::wstring& why) {
    cut.push_back(cls + L" \"" + text + L"\": " + why);
  };
  // Notes the text as cut where it needs more than the room.
  const auto fit = [&](SIZE need, SIZE has) {
    if (need.cx > has.cx || need.cy > has.cy)
      cut_because(Fits(need, has));
  };
  if (_wcsicmp(name, L"Static") == 0) {
    const LONG type = style & SS_TYPEMASK;
    if (text.empty() || type == SS_ICON || type == SS_BITMAP)
      return;
    const UINT prefix = (style & SS_NOPREFIX) ? DT_NOPREFIX : 0;
    // A label that ends its text in an ellipsis is meant to shorten a long
    // one: only its line's height must fit.
    const bool shortens = (style & SS_ELLIPSISMASK) != 0;
    const bool one_line = shortens || type == SS_SIMPLE || type == SS_LEFTNOWORDWRAP;
    const SIZE need = TextSize(control, text, one_line ? 0 : room.cx, prefix);
    if ((!shortens && need.cx > room.cx) || need.cy > room.cy)
      cut_because(Fits(need, room));
    return;
  }
  if (_wcsicmp(name, L"Button") == 0) {
    const LONG type = style & BS_TYPEMASK;
    SIZE need = TextSize(control, text, 0, DT_HIDEPREFIX);
    if (type == BS_GROUPBOX) {
      // The caption stands on the frame line, a little way in.
      need.cx += common::ScalePixels(16, dpi);
      fit(need, room);
      return;
    }
    if (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON ||
        type == BS_AUTORADIOBUTTON || type == BS_3STATE || type == BS_AUTO3STATE) {
      // The box is 13 pixels on the usual display, and grows with it.
      const int box = common::ScalePixels(13, dpi);
      const int gap = common::ScalePixels(4, dpi);
      if (room.cx < box || room.cy < box) {
        cut_because(L"the box itself does not fit " + Fits({box, box}, room));
        return;
      }
      if (room.cx < box + 2 * gap)
        return;  // a bare box: its caption is not meant to show
      need.cx += box + gap;
      fit(need, room);
      return;
    }
    if (text.empty())
      return;
    // Push buttons, also those the skin engine draws itself: inside the
    // face's margin of two pixels at each side (four from 200 %).
    const int margin = 2 * common::WholeScale(dpi);
    need.cx += 2 * margin;
    need.cy += 2 * margin;
    fit(need, room);
    return;
  }
  if (_wcsicmp(name, L"Edit") == 0) {
    int height = 0;
    TextSize(control, text, 0, 0, &height);
    if (height > room.cy)
      cut_because(L"font " + std::to_wstring(height) + L" high in " + std::to_wstring(room.cy));
    return;
  }
  if (_wcsicmp(name, WC_LISTVIEWW) == 0) {
    HWND header = reinterpret_cast<HWND>(::SendMessageW(control, LVM_GETHEADER, 0, 0));
    const int columns = header ? static_cast<int>(::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
    for (int i = 0; i < columns; ++i) {
      wchar_t title[64] = {};
      HDITEMW item = {};
      item.mask = HDI_TEXT;
      item.pszText = title;
      item.cchTextMax = 64;
      ::SendMessageW(header, HDM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
      RECT r = {};
      ::SendMessageW(header, HDM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r));
      SIZE need = TextSize(header, title, 0);
      need.cx += 2 * common::ScalePixels(6, dpi);  // the header's own margins
      const SIZE has = {r.right - r.left, r.bottom - r.top};
      if (need.cx > has.cx || need.cy > has.cy)
        cut.push_back(std::wstring(L"column \"") + title + L"\": " + Fits(need, has));
    }
  }
}

BOOL CALLBACK CheckOne(HWND control, LPARAM param) {
  if (::IsWindowVisible(control))
    CheckControl(control, *reinterpret_cast<std::vector<std::wstring>*>(param));
  return TRUE;
}

}  // namespace

std::wstring JoinLines(const std::vector<std::wstring>& lines) {
  std::wstring all;
  for (const auto& line : lines)
    all += line + L"\n";
  return all;
}

std::vector<std::wstring> CutTexts(HWND root) {
  std::vector<std::wstring> cut;
  ::EnumChildWindows(root, CheckOne, reinterpret_cast<LPARAM>(&cut));
  return cut;
}

}  // namespace testing_support
