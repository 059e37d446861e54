#include "command-box/command_box_window_win.h"

#include <gtest/gtest.h>
#include <objbase.h>
#include <shlobj.h>

#include <cstdio>

#include "command-box/single_instance_win.h"
#include "common/platform_win.h"
#include "testing/win_test_support_win.h"
#include "tray/tray_icon_win.h"
#include "window-look/skin_engine_win.h"

namespace commandbox {
namespace {

using testing_support::ByDensity;
using testing_support::CutTexts;
using testing_support::FileExists;
using testing_support::JoinLines;
using testing_support::MakeDrop;
using testing_support::PumpFor;
using testing_support::PumpUntil;
using testing_support::RemoveFile;
using testing_support::TestProgramFolder;
using testing_support::VirtualStoreCopy;

std::wstring IniPath() {
  return common::GetEnvironmentText(L"windir") + L"\\lnk.ini";
}

void Setting(const wchar_t* key, const wchar_t* value) {
  ::WritePrivateProfileStringW(L"Option", key, value, IniPath().c_str());
}

std::wstring CopyPath() {
  return VirtualStoreCopy(IniPath());
}

// A setting as the file (the Windows folder's, unless told) holds it.
std::wstring Stored(const wchar_t* key, const std::wstring& file = IniPath()) {
  wchar_t value[128] = {};
  ::GetPrivateProfileStringW(L"Option", key, L"", value, 128, file.c_str());
  return value;
}

BYTE Alpha(HWND window) {
  BYTE alpha = 0;
  DWORD flags = 0;
  ::GetLayeredWindowAttributes(window, nullptr, &alpha, &flags);
  return alpha;
}

int TopOf(HWND control) {
  return common::ControlRect(control).top;
}

RECT WindowRect(HWND window) {
  RECT r = {};
  ::GetWindowRect(window, &r);
  return r;
}

// The value for the display's density, of any type.
template <typename T>
T ByDensity(T at96, T at120, T at144) {
  const int at = testing_support::ByDensity(0, 1, 2);
  return at == 0 ? at96 : at == 1 ? at120 : at144;
}

struct Count {
  const wchar_t* caption;
  int n;
};

BOOL CALLBACK CountOne(HWND w, LPARAM p) {
  auto* c = reinterpret_cast<Count*>(p);
  if (::IsWindowVisible(w) && common::WindowText(w) == c->caption)
    ++c->n;
  return TRUE;
}

int CountVisibleWindows(const wchar_t* caption) {
  Count count{caption, 0};
  ::EnumThreadWindows(::GetCurrentThreadId(), CountOne, reinterpret_cast<LPARAM>(&count));
  return count.n;
}

// The record of the box's icon (window, uID 1).
NOTIFYICONDATAW IconOf(HWND box) {
  NOTIFYICONDATAW record = {};
  record.cbSize = NOTIFYICONDATAW_V2_SIZE;
  record.hWnd = box;
  record.uID = 1;
  return record;
}

// Whether the shell has the box's icon: a modify succeeds only for an icon
// it has.
bool ShellHasIcon(HWND box) {
  NOTIFYICONDATAW probe = IconOf(box);
  probe.uFlags = NIF_TIP;
  lstrcpynW(probe.szTip, L"快捷输入框", 128);
  return ::Shell_NotifyIconW(NIM_MODIFY, &probe) != FALSE;
}

// The icon taken away as the shell's end takes it, behind the box's back.
void RemoveIconBehindTheBox(HWND box) {
  NOTIFYICONDATAW record = IconOf(box);
  ::Shell_NotifyIconW(NIM_DELETE, &record);
}

// A new taskbar's announcement, to every top-level window as Explorer
// sends it; returns how long the icon took to be back (-1: not within a
// second).
long long AnnounceTaskbarAndTimeTheIcon(HWND box) {
  const unsigned long long start = common::SteadyMilliseconds();
  ::PostMessageW(HWND_BROADCAST, ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  if (!PumpUntil([&] { return ShellHasIcon(box); }, 1000))
    return -1;
  return static_cast<long long>(common::SteadyMilliseconds() - start);
}

// The notification area in front of the shell, as it is before the
// taskbar is ready (or while Explorer is away): adds are refused while
// `refuse` holds; the rest goes to the shell.
class ShellThatRefusesAdds : public tray::NotifyAreaPort {
 public:
  explicit ShellThatRefusesAdds(tray::TrayIcon& shell) : shell_(shell) {}
  bool AddIcon() override { return !refuse && shell_.AddIcon(); }
  bool ModifyIcon() override { return shell_.ModifyIcon(); }
  void RemoveIcon() override { shell_.RemoveIcon(); }
  bool refuse = true;

 private:
  tray::TrayIcon& shell_;
};

bool g_menu_seen = false;

// Looks for the popup menu while it is open, then closes it.
void CALLBACK CloseMenu(HWND, UINT, UINT_PTR id, DWORD) {
  ::KillTimer(nullptr, id);
  HWND menu = ::FindWindowW(L"#32768", nullptr);
  g_menu_seen = menu && ::IsWindowVisible(menu);
  ::EndMenu();
}

class CommandBoxWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::CoInitialize(nullptr);
    ::DeleteFileW(IniPath().c_str());
    RemoveFile(CopyPath());
  }
  void TearDown() override {
    ::DeleteFileW(IniPath().c_str());
    RemoveFile(CopyPath());
  }
  std::unique_ptr<CommandBoxWindow> Open(bool shell_refuses_adds = false) {
    auto w = std::make_unique<CommandBoxWindow>();
    w->quit_on_destroy = false;
    if (shell_refuses_adds) {
      area_ = std::make_unique<ShellThatRefusesAdds>(w->shell_tray_icon());
      w->set_notify_area(area_.get());
    }
    EXPECT_TRUE(w->Open());
    // A window of another process (the test desktop's tray, a program an
    // earlier test started) may take the activation a moment later, seconds
    // later on a loaded, emulated machine: the tests start once the box has
    // kept it.
    EXPECT_TRUE(testing_support::HoldActivation(w->hwnd(), w->text1(), 300, 5000))
        << testing_support::ActivationReport();
    return w;
  }
  void Type(CommandBoxWindow& w, const std::wstring& line) {
    // The box must be the active window to own the keyboard.
    PumpUntil(
        [&] {
          ::SetForegroundWindow(w.hwnd());
          return ::GetForegroundWindow() == w.hwnd() && ::GetActiveWindow() == w.hwnd();
        },
        1000);
    ::SetWindowTextW(w.text1(), line.c_str());
    ::SetFocus(w.text1());
    ::PostMessageW(w.text1(), WM_KEYDOWN, VK_RETURN, 0);
    PumpFor(50);
  }
  void Minimise(CommandBoxWindow& w) {
    ::ShowWindow(w.hwnd(), SW_MINIMIZE);
    PumpFor(50);
  }
  // Outlives the boxes of a test, which remove their icon through it.
  std::unique_ptr<ShellThatRefusesAdds> area_;
};

TEST_F(CommandBoxWindowTest, FirstStartWithoutSettings) {
  auto w = Open();
  EXPECT_EQ(common::WindowText(w->hwnd()), L"Zirro Lnk V1.0");
  EXPECT_EQ(WindowRect(w->hwnd()).top, 380);  // 5700 twips
  EXPECT_EQ(WindowRect(w->hwnd()).left, 7);   // 100 twips
  RECT client;
  ::GetClientRect(w->hwnd(), &client);
  EXPECT_EQ(client.right, 340);
  EXPECT_EQ(client.bottom, 100);
  EXPECT_EQ(Alpha(w->hwnd()), 200);
  EXPECT_EQ(common::WindowText(w->label4()), L"Tovrix");
  EXPECT_EQ(common::WindowText(w->label5()), L"");
  EXPECT_EQ(common::WindowText(w->command1()), L"确 定");
  EXPECT_EQ(TopOf(w->text1()), 56);
  EXPECT_EQ(TopOf(w->command1()), 56);
  EXPECT_NE(::GetPropW(w->command1(), L"PROCADDR"), nullptr);  // skinned
  // Nothing written until a command runs; Enter on the empty box saves the
  // position and does nothing else.
  EXPECT_FALSE(testing_support::FileExists(IniPath()));
  Type(*w, L"");
  EXPECT_EQ(Stored(L"wl.top"), L"5700");
  EXPECT_EQ(Stored(L"wl.left"), L"105");  // 7 pixels
  // The Windows folder can be written here: no per-user copy.
  EXPECT_FALSE(FileExists(CopyPath()));
  EXPECT_EQ(common::WindowText(w->text1()), L"");
  EXPECT_EQ(::GetFocus(), w->text1()) << testing_support::ActivationReport();
}

// Settings that cannot be read give their defaults; each start reads them.
TEST_F(CommandBoxWindowTest, BadSettingsGiveTheDefaults) {
  const struct {
    const wchar_t *tm, *top;
    int alpha, top_pixels;
  } cases[] = {{L"abc", L"x", 200, 380}, {L"300", L"1500", 200, 100}, {L"90", L"1500", 90, 100}};
  Setting(L"wl.left", L"200");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.tm);
    Setting(L"TM", c.tm);
    Setting(L"wl.top", c.top);
    auto w = Open();
    EXPECT_EQ(Alpha(w->hwnd()), c.alpha);
    EXPECT_EQ(WindowRect(w->hwnd()).top, c.top_pixels);
    EXPECT_EQ(WindowRect(w->hwnd()).left, 13);
    EXPECT_EQ(w->fields().Text9, c.tm);
  }
}

TEST_F(CommandBoxWindowTest, TopmostAfterTheFirstTick) {
  auto w = Open();
  EXPECT_FALSE(::GetWindowLongW(w->hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_TRUE(PumpUntil(
      [&] { return (::GetWindowLongW(w->hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }, 6500));
}

TEST_F(CommandBoxWindowTest, DropsPutTheFirstPathIntoTheBox) {
  auto w = Open();
  for (HWND target : {w->text1(), w->label4(), w->label5(), w->chrome().picture()}) {
    SCOPED_TRACE(common::WindowText(target));
    ::SetWindowTextW(w->text1(), L"");
    ::SendMessageW(
        target, WM_DROPFILES,
        reinterpret_cast<WPARAM>(MakeDrop({L"C:\\a\\第一.mp3", L"C:\\b.txt", L"C:\\c.txt"})), 0);
    EXPECT_EQ(common::WindowText(w->text1()), L"C:\\a\\第一.mp3");
    EXPECT_EQ(w->fields().Text2, L".mp3");  // the derived fields follow
  }
  ::SendMessageW(w->text1(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({})), 0);
  EXPECT_EQ(common::WindowText(w->text1()), L"C:\\a\\第一.mp3");
}

TEST_F(CommandBoxWindowTest, TrayIconMessagesAndMenu) {
  auto w = Open();
  ASSERT_TRUE(w->tray_icon_present());
  EXPECT_TRUE(ShellHasIcon(w->hwnd()));
  const NOTIFYICONDATAW& record = w->tray_icon().record();
  EXPECT_EQ(record.uID, 1u);
  EXPECT_EQ(record.uFlags, 7u);
  EXPECT_EQ(record.uCallbackMessage, static_cast<UINT>(WM_MOUSEMOVE));
  EXPECT_STREQ(record.szTip, L"快捷输入框");
  EXPECT_EQ(record.hWnd, w->hwnd());
  EXPECT_TRUE(w->tray_icon().picture_from_file());  // ico.ico beside the program

  // Minimised means hidden.
  ::ShowWindow(w->hwnd(), SW_MINIMIZE);
  PumpFor(50);
  EXPECT_FALSE(::IsWindowVisible(w->hwnd()));
  for (UINT nothing : {512u, 514u, 515u, 517u}) {
    ::SendMessageW(w->hwnd(), WM_MOUSEMOVE, 0, nothing);
    EXPECT_FALSE(::IsWindowVisible(w->hwnd())) << nothing;
  }
  w->chrome().Show(look::ChromeButton::kMinimise, look::ChromeState::kPressed);
  ::SendMessageW(w->hwnd(), WM_MOUSEMOVE, 0, 513);
  EXPECT_TRUE(::IsWindowVisible(w->hwnd()));
  EXPECT_FALSE(::IsIconic(w->hwnd()));
  EXPECT_EQ(w->chrome().Shown(look::ChromeButton::kMinimise), look::ChromeState::kNormal);
  EXPECT_EQ(::GetFocus(), w->text1()) << testing_support::ActivationReport();

  // 516: the popup menu, with its four items, owned by the hidden About
  // window.
  g_menu_seen = false;
  ::SetTimer(nullptr, 0, 200, CloseMenu);
  ::SendMessageW(w->hwnd(), WM_MOUSEMOVE, 0, 516);
  EXPECT_TRUE(g_menu_seen);
  ASSERT_TRUE(w->about().Exists());
  EXPECT_FALSE(::IsWindowVisible(w->about().hwnd()));
  HMENU menu = w->about().menu();
  ASSERT_EQ(::GetMenuItemCount(menu), 4);
  wchar_t text[32];
  const wchar_t* captions[] = {L"显示", L"关于", L"", L"退出"};
  for (int i = 0; i < 4; ++i) {
    text[0] = 0;
    ::GetMenuStringW(menu, i, text, 32, MF_BYPOSITION);
    EXPECT_STREQ(text, captions[i]);
  }
}

TEST_F(CommandBoxWindowTest, AboutTwiceIsOneWindowAndExitEnds) {
  auto w = Open();
  w->about().Choose(tray::MenuItem::kAbout);
  w->about().Choose(tray::MenuItem::kAbout);
  EXPECT_EQ(CountVisibleWindows(L"About Tovrix V 1.0"), 1);
  EXPECT_EQ(common::WindowText(w->about().label(1)), L"Zirro Lnk V1.0");
  EXPECT_EQ(common::WindowText(w->about().label(3)), L"官方网站：");
  EXPECT_EQ(common::WindowText(w->about().label(4)), L"http://www.qz64.com");
  RECT client;
  ::GetClientRect(w->about().hwnd(), &client);
  EXPECT_EQ(client.right, 340);
  EXPECT_EQ(client.bottom, 68);
  // "about" typed does the same.
  Type(*w, L"about");
  EXPECT_EQ(CountVisibleWindows(L"About Tovrix V 1.0"), 1);

  HWND box = w->hwnd();
  w->about().Choose(tray::MenuItem::kExit);
  EXPECT_EQ(w->hwnd(), nullptr);
  EXPECT_FALSE(w->tray_icon_present());
  EXPECT_FALSE(ShellHasIcon(box));
  EXPECT_FALSE(w->about().Exists());
}

// Explorer ends and a new taskbar starts empty: the box's icon comes back
// when the taskbar announces itself, and minimising hides the box as
// before.
TEST_F(CommandBoxWindowTest, TheIconComesBackWithANewTaskbar) {
  auto w = Open();
  ASSERT_TRUE(ShellHasIcon(w->hwnd()));
  RemoveIconBehindTheBox(w->hwnd());
  ASSERT_FALSE(ShellHasIcon(w->hwnd()));
  const long long ms = AnnounceTaskbarAndTimeTheIcon(w->hwnd());
  EXPECT_GE(ms, 0) << "the icon was not back within a second";
  RecordProperty("icon_back_ms", static_cast<int>(ms));
  std::printf("icon back %lld ms after TaskbarCreated\n", ms);
  EXPECT_TRUE(w->tray_icon_present());
  Minimise(*w);
  EXPECT_FALSE(::IsWindowVisible(w->hwnd()));
  ::SendMessageW(w->hwnd(), WM_MOUSEMOVE, 0, 513);
  EXPECT_TRUE(::IsWindowVisible(w->hwnd()));

  // Gone again with no announcement (one that never came through): the
  // minimise finds it gone and gives it back before it hides the box.
  RemoveIconBehindTheBox(w->hwnd());
  Minimise(*w);
  EXPECT_TRUE(ShellHasIcon(w->hwnd()));
  EXPECT_FALSE(::IsWindowVisible(w->hwnd()));
}

// No icon can be added (the box started before the taskbar, or Explorer is
// away): minimising leaves the box on the taskbar; the next taskbar gives
// the icon, and minimising hides the box again.
TEST_F(CommandBoxWindowTest, WithoutItsIconTheBoxStaysOnTheTaskbar) {
  auto w = Open(/*shell_refuses_adds=*/true);
  EXPECT_FALSE(w->tray_icon_present());
  EXPECT_FALSE(ShellHasIcon(w->hwnd()));
  Minimise(*w);
  EXPECT_TRUE(::IsIconic(w->hwnd()));
  EXPECT_TRUE(::IsWindowVisible(w->hwnd()));

  area_->refuse = false;
  const long long ms = AnnounceTaskbarAndTimeTheIcon(w->hwnd());
  EXPECT_GE(ms, 0) << "the icon was not back within a second";
  std::printf("first icon %lld ms after TaskbarCreated\n", ms);
  // Minimised on the taskbar until now, hidden once the icon is there.
  EXPECT_TRUE(PumpUntil([&] { return !::IsWindowVisible(w->hwnd()); }, 1000));
  ::SendMessageW(w->hwnd(), WM_MOUSEMOVE, 0, 513);
  EXPECT_TRUE(::IsWindowVisible(w->hwnd()));
  EXPECT_FALSE(::IsIconic(w->hwnd()));
  Minimise(*w);
  EXPECT_FALSE(::IsWindowVisible(w->hwnd()));

  // Explorer ends and stays away: the minimise cannot give the icon back
  // and keeps the box on the taskbar.
  ::SendMessageW(w->hwnd(), WM_MOUSEMOVE, 0, 513);
  area_->refuse = true;
  RemoveIconBehindTheBox(w->hwnd());
  Minimise(*w);
  EXPECT_TRUE(::IsIconic(w->hwnd()));
  EXPECT_TRUE(::IsWindowVisible(w->hwnd()));
  EXPECT_FALSE(w->tray_icon_present());
}

// The icon's picture: ico.ico where it can be loaded, the program's own
// icon where the program was copied without it.
TEST_F(CommandBoxWindowTest, TheIconHasAPictureWithOrWithoutIcoIco) {
  const std::wstring file = TestProgramFolder() + L"\\ico.ico";
  const std::wstring away = file + L".away";
  ASSERT_TRUE(FileExists(file));
  HICON program_icon = common::ProgramIcon(common::SmallIconSize());
  ASSERT_NE(program_icon, nullptr);
  for (const bool with_file : {true, false}) {
    SCOPED_TRACE(with_file ? "with ico.ico" : "without ico.ico");
    if (!with_file)
      ASSERT_TRUE(::MoveFileW(file.c_str(), away.c_str()));
    auto w = Open();
    const HICON shown = w->tray_icon().record().hIcon;
    EXPECT_NE(shown, nullptr);
    EXPECT_EQ(w->tray_icon().picture_from_file(), with_file);
    EXPECT_EQ(shown == program_icon, !with_file);
    EXPECT_TRUE(ShellHasIcon(w->hwnd()));
    w.reset();
    if (!with_file)
      ASSERT_TRUE(::MoveFileW(away.c_str(), file.c_str()));
  }
  // The program's icon outlives the boxes that showed it.
  ICONINFO info = {};
  ASSERT_TRUE(::GetIconInfo(program_icon, &info));
  ::DeleteObject(info.hbmColor);
  ::DeleteObject(info.hbmMask);
}

// A box whose place is on no screen any more (its display unplugged while
// it was hidden, a remote session of another size) comes back onto the
// nearest screen whichever way it is shown again.
TEST_F(CommandBoxWindowTest, ABoxOffEveryScreenComesBackOntoTheNearest) {
  const struct {
    const char* way;
    bool hidden_first;
  } ways[] = {
      {"tray click", true}, {"menu 显示", true}, {"later start", true}, {"display change", false}};
  auto w = Open();
  RECT box;
  ::GetWindowRect(w->hwnd(), &box);
  const int width = box.right - box.left, height = box.bottom - box.top;
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof(monitor);
  ASSERT_TRUE(
      ::GetMonitorInfoW(::MonitorFromWindow(w->hwnd(), MONITOR_DEFAULTTOPRIMARY), &monitor));
  const RECT work = monitor.rcWork;
  for (const auto& way : ways) {
    SCOPED_TRACE(way.way);
    // Beyond the right edge, at a height the screen has.
    ::SetWindowPos(w->hwnd(), nullptr, work.right + 2000, work.top + 50, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (way.hidden_first) {
      Minimise(*w);
      ASSERT_FALSE(::IsWindowVisible(w->hwnd()));
    }
    const std::string name = way.way;
    if (name == "tray click") {
      ::SendMessageW(w->hwnd(), WM_MOUSEMOVE, 0, 513);
    } else if (name == "menu 显示") {
      w->about().Choose(tray::MenuItem::kShow);
    } else if (name == "later start") {
      ::PostMessageW(w->hwnd(), ShowBoxMessage(), 0, 0);
      PumpFor(100);
    } else {
      ::SendMessageW(w->hwnd(), WM_DISPLAYCHANGE, 24, MAKELPARAM(1024, 768));
    }
    EXPECT_TRUE(::IsWindowVisible(w->hwnd()));
    EXPECT_FALSE(::IsIconic(w->hwnd()));
    ::GetWindowRect(w->hwnd(), &box);
    // The least move: against the right edge, at the same height.
    EXPECT_EQ(box.right, work.right);
    EXPECT_EQ(box.top, work.top + 50);
    EXPECT_EQ(box.right - box.left, width);
    EXPECT_EQ(box.bottom - box.top, height);
    if (name == "later start") {
      EXPECT_EQ(::GetForegroundWindow(), w->hwnd()) << testing_support::ActivationReport();
      EXPECT_EQ(::GetFocus(), w->text1()) << testing_support::ActivationReport();
    }
  }
  // On a screen, a box stays where it is.
  ::SetWindowPos(w->hwnd(), nullptr, 120, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ::SendMessageW(w->hwnd(), WM_DISPLAYCHANGE, 24, MAKELPARAM(1024, 768));
  ::GetWindowRect(w->hwnd(), &box);
  EXPECT_EQ(box.left, 120);
  EXPECT_EQ(box.top, 200);
}

// ---- two starts of the program ---------------------------------------------------------

struct ProcessBoxes {
  DWORD process;
  std::vector<HWND> boxes;
};

BOOL CALLBACK CollectBox(HWND window, LPARAM param) {
  auto* found = reinterpret_cast<ProcessBoxes*>(param);
  DWORD process = 0;
  ::GetWindowThreadProcessId(window, &process);
  wchar_t class_name[64] = {};
  ::GetClassNameW(window, class_name, 64);
  if ((found->process == 0 || process == found->process) &&
      std::wstring(class_name) == look::kFormClass &&
      common::WindowText(window) == CommandBoxWindow::kCaption) {
    found->boxes.push_back(window);
  }
  return TRUE;
}

// The command boxes of a process (0: of every process).
std::vector<HWND> BoxesOf(DWORD process) {
  ProcessBoxes found{process, {}};
  ::EnumWindows(CollectBox, reinterpret_cast<LPARAM>(&found));
  return found.boxes;
}

// A started program, ended by the end of the test whatever happened.
struct StartedProgram {
  ~StartedProgram() {
    if (info.hProcess) {
      ::TerminateProcess(info.hProcess, 1);
      ::CloseHandle(info.hProcess);
    }
  }
  bool Start(std::wstring line) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          TestProgramFolder().c_str(), &startup, &info)) {
      return false;
    }
    ::CloseHandle(info.hThread);
    return true;
  }
  // Its visible command box, once it has one.
  HWND WaitForBox() {
    HWND box = nullptr;
    PumpUntil(
        [&] {
          const std::vector<HWND> boxes = BoxesOf(info.dwProcessId);
          box = boxes.empty() ? nullptr : boxes[0];
          return box && ::IsWindowVisible(box);
        },
        15000);
    return box && ::IsWindowVisible(box) ? box : nullptr;
  }
  bool Ends() {
    return ::WaitForSingleObject(info.hProcess, testing_support::WaitLimit(10000)) == WAIT_OBJECT_0;
  }
  PROCESS_INFORMATION info = {};
};

// The shipped program started twice, as the Run key and a double-click
// start it: the second start brings the first box back (restored, onto the
// screen, in front, the focus in its input line) and ends; one box is left.
TEST_F(CommandBoxWindowTest, ASecondStartShowsTheFirstBox) {
  const std::wstring program = TestProgramFolder() + L"\\Tovrix.exe";
  ASSERT_TRUE(FileExists(program));
  const std::wstring line = L"\"" + program + L"\"";
  StartedProgram first;
  ASSERT_TRUE(first.Start(line));
  HWND box = first.WaitForBox();
  ASSERT_NE(box, nullptr);
  // Off every screen, then minimised: hidden behind its icon.
  ::SetWindowPos(box, nullptr, 5000, 4000, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ::ShowWindowAsync(box, SW_MINIMIZE);
  EXPECT_TRUE(PumpUntil([&] { return !::IsWindowVisible(box); }, 5000));

  const unsigned long long start = common::SteadyMilliseconds();
  const int code = testing_support::RunTool(L"Tovrix.exe", testing_support::WaitLimit(20000));
  const unsigned long long second_ms = common::SteadyMilliseconds() - start;
  std::printf("the second start ended after %llu ms\n", second_ms);
  EXPECT_EQ(code, 0);
  // The other process shows the box in steps: wait for all of them.
  auto state = [&] {
    std::string seen;
    if (::IsWindowVisible(box) && !::IsIconic(box))
      seen += "shown ";
    if (::GetForegroundWindow() == box)
      seen += "in-front ";
    RECT place = {};
    ::GetWindowRect(box, &place);
    if (::MonitorFromRect(&place, MONITOR_DEFAULTTONULL))
      seen += "on-screen ";
    GUITHREADINFO gui = {};
    gui.cbSize = sizeof(gui);
    wchar_t focus_class[32] = {};
    if (::GetGUIThreadInfo(::GetWindowThreadProcessId(box, nullptr), &gui) && gui.hwndFocus &&
        ::GetAncestor(gui.hwndFocus, GA_ROOT) == box) {
      ::GetClassNameW(gui.hwndFocus, focus_class, 32);
    }
    if (std::wstring(focus_class) == L"Edit")
      seen += "input-focused";
    return seen;
  };
  const std::string shown = "shown in-front on-screen input-focused";
  PumpUntil([&] { return state() == shown; }, 3000);
  EXPECT_EQ(state(), shown) << testing_support::ActivationReport();
  EXPECT_EQ(BoxesOf(0).size(), 1u);

  // Closed, the next start opens a box of its own.
  ::PostMessageW(box, WM_CLOSE, 0, 0);
  EXPECT_TRUE(first.Ends());
  StartedProgram next;
  ASSERT_TRUE(next.Start(line));
  box = next.WaitForBox();
  ASSERT_NE(box, nullptr);
  ::PostMessageW(box, WM_CLOSE, 0, 0);
  EXPECT_TRUE(next.Ends());
}

TEST_F(CommandBoxWindowTest, LocalMediaWithLyricsThroughTheBox) {
  auto w = Open();
  Type(*w, L"C:\\media\\tone.wav");
  player::PlayerWindow* p = w->player_window();
  ASSERT_NE(p, nullptr);
  EXPECT_TRUE(::IsWindowVisible(p->hwnd()));
  EXPECT_EQ(w->fields().Text10, L"1");
  EXPECT_EQ(TopOf(w->text1()), 64);  // 960 twips
  EXPECT_EQ(TopOf(w->command1()), 64);
  EXPECT_EQ(w->fields().Text6, L"C:\\media\\tone");
  ASSERT_TRUE(PumpUntil([&] { return common::WindowText(w->label5()) == L"second"; }, 3000))
      << common::WindowText(w->label5());
  ASSERT_TRUE(PumpUntil([&] { return common::WindowText(w->label5()) == L"third"; }, 3000));
  // Closing the player puts the row back and empties the line.
  HWND close = p->chrome().close_button();
  ::SendMessageW(close, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
  ::SendMessageW(close, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
  EXPECT_EQ(TopOf(w->text1()), 56);
  EXPECT_EQ(common::WindowText(w->label5()), L"");
  EXPECT_EQ(w->fields().Text10, L"0");
  PumpFor(50);
  EXPECT_EQ(w->player_window(), nullptr);
  // A later open makes a fresh player.
  Type(*w, L"C:\\media\\tagged.mp3");
  ASSERT_NE(w->player_window(), nullptr);
  EXPECT_EQ(TopOf(w->text1()), 56);  // no lyrics for this one
}

// A word-timed lyric file (inline word stamps, brackets in the text, an
// offset) through the box: the lyric line shows each line whole.
TEST_F(CommandBoxWindowTest, WordTimedLyricsThroughTheBox) {
  auto w = Open();
  Type(*w, L"C:\\media\\words.wav");
  ASSERT_NE(w->player_window(), nullptr);
  EXPECT_TRUE(PumpUntil([&] { return common::WindowText(w->label5()) == L"Hello world"; }, 4000))
      << common::WindowText(w->label5());
  EXPECT_TRUE(
      PumpUntil([&] { return common::WindowText(w->label5()) == L"Sing it again [x2]"; }, 6000))
      << common::WindowText(w->label5());
}

// A settings file in the per-user copy of the Windows folder (left by
// Windows for an older build, or by a standard user) is the one read and
// written, also where the Windows folder could be written.
TEST_F(CommandBoxWindowTest, CopyInTheVirtualStoreIsRead) {
  Setting(L"TM", L"150");
  const std::wstring copy = CopyPath();
  for (size_t at = 3; at < copy.size(); ++at)
    if (copy[at] == L'\\')
      ::CreateDirectoryW(copy.substr(0, at).c_str(), nullptr);
  for (const auto& [key, value] : {std::pair{L"TM", L"90"}, std::pair{L"wl.top", L"1500"},
                                   std::pair{L"wl.left", L"300"}, std::pair{L"AutoLnk", L"1"}})
    ::WritePrivateProfileStringW(L"Option", key, value, copy.c_str());
  auto w = Open();
  EXPECT_EQ(Alpha(w->hwnd()), 90);
  EXPECT_EQ(WindowRect(w->hwnd()).top, 100);
  EXPECT_EQ(WindowRect(w->hwnd()).left, 20);
  EXPECT_EQ(w->fields().Text8, L"1");
  Type(*w, L"tm120");
  EXPECT_EQ(Stored(L"TM", copy), L"120");
  EXPECT_EQ(Stored(L"TM"), L"150");  // the Windows folder's file as it was
  EXPECT_EQ(Stored(L"wl.top"), L"");
}

// A transparency command: "tm255.5" is 255 in the box, in the player
// (created before and after) and after a restart.
TEST_F(CommandBoxWindowTest, OneLevelIsOneOpacityEverywhere) {
  auto w = Open();
  Type(*w, L"C:\\media\\tone.wav");
  ASSERT_NE(w->player_window(), nullptr);
  EXPECT_EQ(Alpha(w->player_window()->hwnd()), 200);
  Type(*w, L"tm255.5");
  EXPECT_EQ(Alpha(w->hwnd()), 255);
  EXPECT_EQ(Stored(L"TM"), L"255.5");
  EXPECT_TRUE(::GetWindowLongW(w->hwnd(), GWL_EXSTYLE) & WS_EX_LAYERED);
  EXPECT_EQ(common::WindowText(w->text1()), L"");
  // The player follows at its deferred refresh.
  EXPECT_TRUE(PumpUntil([&] { return Alpha(w->player_window()->hwnd()) == 255; }, 2000))
      << static_cast<int>(Alpha(w->player_window()->hwnd()));
  w.reset();
  w = Open();
  EXPECT_EQ(Alpha(w->hwnd()), 255);
  Type(*w, L"C:\\media\\tone.wav");
  ASSERT_NE(w->player_window(), nullptr);
  EXPECT_EQ(Alpha(w->player_window()->hwnd()), 255);
}

std::vector<std::wstring> RecordLines(const std::wstring& path) {
  std::string bytes;
  std::vector<std::wstring> lines;
  if (!testing_support::ReadFileBytes(path, &bytes))
    return lines;
  const std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()),
                          bytes.size() / sizeof(wchar_t));
  size_t start = 0;
  for (size_t end; (end = text.find(L'\n', start)) != std::wstring::npos; start = end + 1)
    lines.push_back(text.substr(start, end - start));
  return lines;
}

HWND g_second_target = nullptr;
UINT g_second_message = 0;
WPARAM g_second_wparam = 0;

// Comes during the plug-in's start, while the box waits for the open
// handler: the message loop runs then.
void CALLBACK SecondInput(HWND, UINT, UINT_PTR id, DWORD) {
  ::KillTimer(nullptr, id);
  ::PostMessageW(g_second_target, g_second_message, g_second_wparam, 0);
}

// A plug-in named "notepad": a second Enter or a click on the button while
// it starts runs nothing more, the tool of that name least of all.
TEST_F(CommandBoxWindowTest, SecondInputDuringAPluginStartStartsNothingMore) {
  const std::wstring record = TestProgramFolder() + L"\\record_plugin.txt";
  ::SetEnvironmentVariableW(L"SUITE_RECORD", record.c_str());
  auto w = Open();
  const struct {
    const char* what;
    HWND target;
    UINT message;
    WPARAM wparam;
  } cases[] = {{"Enter", w->text1(), WM_KEYDOWN, VK_RETURN},
               {"click on the button", w->command1(), BM_CLICK, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ::DeleteFileW(record.c_str());
    g_second_target = c.target;
    g_second_message = c.message;
    g_second_wparam = c.wparam;
    ::SetTimer(nullptr, 0, 30, SecondInput);
    Type(*w, L"notepad");
    ASSERT_TRUE(PumpUntil([&] { return !RecordLines(record).empty(); }, 10000));
    PumpFor(1500);  // time for anything started later to show
    const std::vector<std::wstring> lines = RecordLines(record);
    ASSERT_EQ(lines.size(), 1u) << lines.back();
    EXPECT_NE(lines[0].find(L"plugin"), std::wstring::npos) << lines[0];
    EXPECT_EQ(common::WindowText(w->text1()), L"");
    EXPECT_TRUE(FileExists(TestProgramFolder() + L"\\plugin\\notepad.OCX"));
  }
  ::SetEnvironmentVariableW(L"SUITE_RECORD", nullptr);
}

HHOOK g_refusing_hook = nullptr;

// Refuses to create the player's window, as a system out of window
// resources would.
LRESULT CALLBACK RefusePlayerWindow(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HCBT_CREATEWND) {
    const auto* create = reinterpret_cast<CBT_CREATEWNDW*>(lparam);
    const wchar_t* name = create->lpcs->lpszName;
    if (name && !IS_INTRESOURCE(name) && std::wstring(name) == L"Tunelet")
      return 1;
  }
  return ::CallNextHookEx(g_refusing_hook, code, wparam, lparam);
}

// No failure of the player ends the program: without its window (and so
// without its component) the box goes on, and makes it when it can.
TEST_F(CommandBoxWindowTest, PlayerThatCannotBeMadeEndsNothing) {
  auto w = Open();
  g_refusing_hook =
      ::SetWindowsHookExW(WH_CBT, RefusePlayerWindow, nullptr, ::GetCurrentThreadId());
  ASSERT_NE(g_refusing_hook, nullptr);
  for (const wchar_t* line :
       {L"C:\\media\\tone.wav", L"http://radio.example.com/a.mp3", L"download"}) {
    Type(*w, line);
    EXPECT_EQ(w->player_window(), nullptr) << line;
    EXPECT_EQ(common::WindowText(w->text1()), L"") << line;
  }
  EXPECT_NE(w->fields().Text10, L"1");
  ::UnhookWindowsHookEx(g_refusing_hook);
  g_refusing_hook = nullptr;

  // And the box still does what it is told.
  Type(*w, L"tm100");
  EXPECT_EQ(Alpha(w->hwnd()), 100);
  Type(*w, L"C:\\media\\tone.wav");
  ASSERT_NE(w->player_window(), nullptr);
  EXPECT_TRUE(
      PumpUntil([&] { return !w->player_window()->w1().CurrentPositionString().empty(); }, 3000));
}

// ---- as a standard user ---------------------------------------------------------------

// Tovrix as a standard user runs it: the Windows folder, and the "lnk.ini"
// an administrator left there, cannot be written (win_test_standard_user.sh
// locks them while these tests run).
class StandardUserCommandBoxTest : public CommandBoxWindowTest {
 protected:
  void SetUp() override {
    ::CoInitialize(nullptr);
    ASSERT_TRUE(testing_support::FolderRefusesNewFiles(common::GetEnvironmentText(L"windir")))
        << "run with command-box/win_test_standard_user.sh as the fixture";
    RemoveFile(CopyPath());
  }
  void TearDown() override {
    RemoveFile(CopyPath());
    common::DeleteRunValue(L"Lnk");
  }
};

TEST_F(StandardUserCommandBoxTest, SettingsStayForTheNextStart) {
  const std::wstring copy = CopyPath();
  testing_support::MessageBoxAnswerer answerer;
  {
    auto w = Open();
    // No copy yet: the administrator's file in the Windows folder is read.
    EXPECT_EQ(Alpha(w->hwnd()), 150);
    ::SetWindowPos(w->hwnd(), nullptr, 60, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Type(*w, L"tm100");
    EXPECT_EQ(Alpha(w->hwnd()), 100);
    Type(*w, L"autorun");
    ASSERT_EQ(answerer.boxes().size(), 1u);
    EXPECT_EQ(answerer.boxes()[0].text,
              L"开机启动选项已经成功开启，如需取消开机启动请再次输入并执行本命令！");
  }
  // Written where Windows' own virtualisation would have put it; the
  // Windows folder's file is as it was.
  EXPECT_EQ(Stored(L"TM", copy), L"100");
  EXPECT_EQ(Stored(L"wl.top", copy), L"3000");
  EXPECT_EQ(Stored(L"wl.left", copy), L"900");
  EXPECT_EQ(Stored(L"AutoLnk", copy), L"1");
  EXPECT_EQ(Stored(L"TM"), L"150");
  EXPECT_EQ(Stored(L"wl.top"), L"");

  auto w = Open();
  EXPECT_EQ(Alpha(w->hwnd()), 100);
  EXPECT_EQ(WindowRect(w->hwnd()).left, 60);
  EXPECT_EQ(WindowRect(w->hwnd()).top, 200);
  EXPECT_EQ(w->fields().Text8, L"1");
  // Start with Windows is known to be on: one command turns it off.
  Type(*w, L"autorun");
  ASSERT_EQ(answerer.boxes().size(), 2u);
  EXPECT_EQ(answerer.boxes()[1].text,
            L"开机启动选项已经成功关闭，如需Tovrix开机启动请再次输入并执行本命令！");
  std::wstring data;
  EXPECT_FALSE(common::ReadRunValue(L"Lnk", &data));
  EXPECT_EQ(Stored(L"AutoLnk", copy), L"0");
}

// ---- at each display density --------------------------------------------------------

RECT RectOf(HWND control) {
  return common::ControlRect(control);
}

SIZE BitmapSize(HBITMAP bitmap) {
  BITMAP b = {};
  ::GetObjectW(bitmap, sizeof(b), &b);
  return SIZE{b.bmWidth, b.bmHeight};
}

SIZE IconSize(HICON icon) {
  ICONINFO info = {};
  if (!::GetIconInfo(icon, &info))
    return SIZE{0, 0};
  const SIZE size = BitmapSize(info.hbmColor ? info.hbmColor : info.hbmMask);
  if (info.hbmColor)
    ::DeleteObject(info.hbmColor);
  ::DeleteObject(info.hbmMask);
  return size;
}

class DensityCommandBoxTest : public CommandBoxWindowTest {
 protected:
  void SetUp() override {
    CommandBoxWindowTest::SetUp();
    // The test means nothing unless the display has the density asked for.
    ASSERT_EQ(common::ScreenDpi(), testing_support::RequestedTestDpi());
  }
};

TEST_F(DensityCommandBoxTest, TheBoxHasTheSizesOfItsTwips) {
  auto w = Open();
  const SIZE client = testing_support::ClientSize(w->hwnd());
  EXPECT_EQ(client.cx, ByDensity(340, 425, 510));  // 5100 twips
  EXPECT_EQ(client.cy, ByDensity(100, 125, 150));  // 1500 twips
  // Each control from its twips, by its edges: Text1 at 240, 840 and
  // 3255 by 285; Command1 at 3840, 840 and 975 by 300.
  const struct {
    HWND control;
    RECT at96, at120, at144;
  } controls[] = {
      {w->text1(), {16, 56, 233, 75}, {20, 70, 291, 94}, {24, 84, 350, 113}},
      {w->command1(), {256, 56, 321, 76}, {320, 70, 401, 95}, {384, 84, 482, 114}},
      {w->image1(), {10, 8, 26, 24}, {13, 10, 33, 30}, {15, 12, 39, 36}},
      {w->label4(), {33, 4, 153, 28}, {41, 5, 191, 35}, {50, 6, 230, 42}},
      // The close button: 24 by 20 pixels on the usual display, in the top
      // right corner.
      {w->chrome().close_button(), {312, 4, 336, 24}, {390, 5, 420, 30}, {468, 6, 504, 36}},
  };
  for (const auto& c : controls) {
    const RECT got = RectOf(c.control), want = ByDensity(c.at96, c.at120, c.at144);
    EXPECT_TRUE(::EqualRect(&got, &want))
        << common::WindowText(c.control) << ": " << got.left << "," << got.top << "," << got.right
        << "," << got.bottom;
  }
  // The lyric line: 4575 by 200 twips at 240, 600, taller where its font
  // needs it, but never into the input row.
  const RECT line = RectOf(w->label5());
  EXPECT_EQ(line.left, ByDensity(16, 20, 24));
  EXPECT_EQ(line.top, ByDensity(40, 50, 60));
  EXPECT_EQ(line.right, ByDensity(321, 401, 482));
  EXPECT_GE(line.bottom, ByDensity(53, 67, 80));
  EXPECT_LE(line.bottom, ByDensity(56, 70, 84));
  // The chrome buttons' pictures are drawn at the buttons' size.
  for (look::ChromeState state :
       {look::ChromeState::kNormal, look::ChromeState::kHover, look::ChromeState::kPressed}) {
    const HBITMAP picture = w->chrome().picture(look::ChromeButton::kMinimise, state);
    EXPECT_EQ(BitmapSize(picture).cx, ByDensity(24, 30, 36));
    EXPECT_EQ(BitmapSize(picture).cy, ByDensity(20, 25, 30));
  }
  // "宋体" 9.75 points: 13, 16.25 and 19.5 pixels high.
  LOGFONTW font = {};
  ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(w->text1(), WM_GETFONT, 0, 0)), sizeof(font),
               &font);
  EXPECT_EQ(font.lfHeight, -ByDensity(13, 16, 20));
  // The icons: Image1 240 twips, the notification area's at the system's
  // small-icon size.
  EXPECT_EQ(IconSize(reinterpret_cast<HICON>(::SendMessageW(w->image1(), STM_GETICON, 0, 0))).cx,
            ByDensity(16, 20, 24));
  EXPECT_EQ(::GetSystemMetrics(SM_CXSMICON), ByDensity(16, 20, 24));
  EXPECT_EQ(IconSize(w->tray_icon().record().hIcon).cx, ::GetSystemMetrics(SM_CXSMICON));
  EXPECT_EQ(JoinLines(CutTexts(w->hwnd())), L"");
}

TEST_F(DensityCommandBoxTest, PlayerAndAboutHaveTheSizesOfTheirTwips) {
  auto w = Open();
  Type(*w, L"C:\\media\\tone.wav");
  player::PlayerWindow* p = w->player_window();
  ASSERT_NE(p, nullptr);
  // The input row moves to 960 twips while lyrics are shown.
  EXPECT_EQ(TopOf(w->text1()), ByDensity(64, 80, 96));
  EXPECT_EQ(TopOf(w->command1()), ByDensity(64, 80, 96));
  ASSERT_TRUE(PumpUntil([&] { return !common::WindowText(w->label5()).empty(); }, 3000));
  EXPECT_EQ(JoinLines(CutTexts(w->hwnd())), L"");

  const SIZE player = testing_support::ClientSize(p->hwnd());
  EXPECT_EQ(player.cx, ByDensity(340, 425, 510));
  EXPECT_EQ(player.cy, ByDensity(100, 125, 150));
  const RECT close = RectOf(p->chrome().close_button());
  EXPECT_EQ(close.right - close.left, ByDensity(24, 30, 36));
  EXPECT_EQ(close.bottom - close.top, ByDensity(20, 25, 30));
  EXPECT_EQ(close.left, player.cx - ByDensity(28, 35, 42));
  EXPECT_EQ(JoinLines(CutTexts(p->hwnd())), L"");

  w->about().Choose(tray::MenuItem::kAbout);
  ASSERT_TRUE(w->about().Exists());
  const SIZE about = testing_support::ClientSize(w->about().hwnd());
  EXPECT_EQ(about.cx, ByDensity(340, 425, 510));
  EXPECT_EQ(about.cy, ByDensity(68, 85, 102));
  EXPECT_EQ(JoinLines(CutTexts(w->about().hwnd())), L"");
}

// The saved place is in twips: the same twips open the box at the same
// place in inches at every density, and saving it again gives the same
// twips back.
TEST_F(DensityCommandBoxTest, PositionsAreSavedAndReadInTwips) {
  auto w = Open();
  EXPECT_EQ(WindowRect(w->hwnd()).top, ByDensity(380, 475, 570));  // 5700 twips
  EXPECT_EQ(WindowRect(w->hwnd()).left, ByDensity(7, 8, 10));  // 100 twips, to the nearest pixel
  Type(*w, L"");
  EXPECT_EQ(Stored(L"wl.top"), L"5700");
  EXPECT_EQ(Stored(L"wl.left"), ByDensity(L"105", L"96", L"100"));
  w.reset();

  // A place saved at another density: 4500 by 3000 twips (300 by 200
  // pixels at 96, 450 by 300 at 144).
  Setting(L"wl.top", L"4500");
  Setting(L"wl.left", L"3000");
  w = Open();
  EXPECT_EQ(WindowRect(w->hwnd()).top, ByDensity(300, 375, 450));
  EXPECT_EQ(WindowRect(w->hwnd()).left, ByDensity(200, 250, 300));
  Type(*w, L"");
  EXPECT_EQ(Stored(L"wl.top"), L"4500");
  EXPECT_EQ(Stored(L"wl.left"), L"3000");

  // Moved by the user to a pixel: saved as that pixel's twips.
  ::SetWindowPos(w->hwnd(), nullptr, 120, 240, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  Type(*w, L"");
  EXPECT_EQ(Stored(L"wl.top"), ByDensity(L"3600", L"2880", L"2400"));
  EXPECT_EQ(Stored(L"wl.left"), ByDensity(L"1800", L"1440", L"1200"));
}

// The check itself finds what does not fit: a label, a button and a check
// box too small for their texts, an edit field lower than its font.
TEST_F(DensityCommandBoxTest, TheCutTextCheckFindsCutTexts) {
  HWND form = ::CreateWindowExW(0, L"Static", L"", WS_POPUP | WS_VISIBLE, 0, 0, 400, 200, nullptr,
                                nullptr, ::GetModuleHandleW(nullptr), nullptr);
  HFONT font = common::CreatePointFont(L"宋体", 9);
  auto child = [&](const wchar_t* cls, const wchar_t* text, DWORD style, int x, int w, int h) {
    HWND c = ::CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, 0, w, h, form,
                               nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ::SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return c;
  };
  child(L"Static", L"官方网站：", 0, 0, 30, 10);
  child(L"Button", L"开始清理", 0, 40, 20, 26);
  child(L"Button", L"自定义：", BS_AUTOCHECKBOX, 70, 40, 18);
  child(L"Edit", L"", 0, 120, 60, 5);
  // And what fits is not reported.
  child(L"Static", L"确定", 0, 200, 100, 40);
  child(L"Button", L"", BS_AUTOCHECKBOX, 310, common::Scaled(13), common::Scaled(14));
  const std::vector<std::wstring> cut = CutTexts(form);
  ASSERT_EQ(cut.size(), 4u) << JoinLines(cut);
  const wchar_t* reported[] = {L"Static \"官方网站：\"", L"Button \"开始清理\"",
                               L"Button \"自定义：\"", L"Edit \"\""};
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ(cut[i].rfind(reported[i], 0), 0u) << JoinLines(cut);
  ::DestroyWindow(form);
  ::DeleteObject(font);
}

}  // namespace
}  // namespace commandbox
