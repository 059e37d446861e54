#include "command-box/installed_programs_win.h"

#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "command-box/interpreter.h"
#include "command-box/web_lookups.h"
#include "common/platform_win.h"
#include "common/text_rules.h"
#include "testing/fake_command_box_host.h"
#include "testing/shell_link_win.h"
#include "testing/win_test_support_win.h"

namespace commandbox {
namespace {

using testing_support::MakeShellLink;

std::wstring UserName() {
  wchar_t name[256];
  DWORD size = 256;
  return ::GetUserNameW(name, &size) ? name : L"";
}

// The folders of the layout (win_test_layout_programs.sh), spelled as that
// Windows spells them, apart from what the shell answers.
struct Layout {
  bool xp = common::GetEnvironmentText(L"SUITE_TEST_LAYOUT") == L"programs-winxp";
  std::wstring user =
      xp ? L"C:\\Documents and Settings\\" + UserName() : L"C:\\users\\" + UserName();
  std::wstring all = xp ? L"C:\\Documents and Settings\\All Users" : L"C:\\ProgramData";
  std::wstring user_menu =
      user + (xp ? L"\\Start Menu\\Programs"
                 : L"\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs");
  std::wstring common_menu =
      all + (xp ? L"\\Start Menu\\Programs" : L"\\Microsoft\\Windows\\Start Menu\\Programs");
  std::wstring desktop = user + L"\\Desktop";
  std::wstring public_desktop =
      xp ? L"C:\\Documents and Settings\\All Users\\Desktop" : L"C:\\users\\Public\\Desktop";
};

// The real port, with a count of the programs it opened.
class CountingPrograms : public Win32InstalledPrograms {
 public:
  using Win32InstalledPrograms::Win32InstalledPrograms;
  bool OpenShortcut(const std::wstring& path) override {
    ++opened;
    return Win32InstalledPrograms::OpenShortcut(path);
  }
  bool OpenAppPath(const std::wstring& key) override {
    ++opened;
    return Win32InstalledPrograms::OpenAppPath(key);
  }
  int opened = 0;
};

class Host : public testing_support::FakeCommandBoxHost {
 public:
  explicit Host(HWND owner) : programs([owner] { return owner; }) {}
  InstalledProgramsPort* InstalledPrograms() override { return &programs; }
  CountingPrograms programs;
};

class LayoutProgramsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    const Layout l;
    const std::wstring recorder = testing_support::TestProgramFolder() + L"\\cmdline_recorder.exe";
    auto program = [&](const std::wstring& path) {
      testing_support::MakeFolders(path.substr(0, path.find_last_of(L'\\')));
      ASSERT_TRUE(::CopyFileW(recorder.c_str(), path.c_str(), FALSE)) << path;
    };
    auto link = [](const std::wstring& path, const std::wstring& target,
                   const std::wstring& arguments = L"") {
      ASSERT_TRUE(MakeShellLink(path, target, arguments)) << path;
    };
    const std::wstring pf = L"C:\\Program Files\\";
    for (const wchar_t* p :
         {L"Tencent\\WeChat\\WeChat.exe", L"Tencent\\WeChat\\Uninstall.exe",
          L"Tencent\\QQ\\Bin\\QQ.exe", L"Thunder\\Thunder.exe",
          L"Adobe\\Photoshop 2024\\Photoshop.exe", L"WPS\\ksolaunch.exe",
          L"CloudMusic\\cloudmusic.exe", L"Editors\\a.exe", L"Editors\\b.exe",
          L"Helper\\helper.exe", L"Old\\old.exe", L"Loop\\loop.exe", L"Foxmail\\Foxmail.exe"})
      program(pf + p);
    program(L"C:\\Acme\\acmeedit.exe");
    program(L"C:\\Acme\\useronly.exe");
    program(L"C:\\windows\\mspaint.exe");
    link(l.user_menu + L"\\微信\\微信.lnk", pf + L"Tencent\\WeChat\\WeChat.exe");
    link(l.user_menu + L"\\微信\\卸载微信.lnk", pf + L"Tencent\\WeChat\\Uninstall.exe");
    link(l.desktop + L"\\微信.lnk", pf + L"Tencent\\WeChat\\WeChat.exe");
    link(l.common_menu + L"\\腾讯软件\\腾讯QQ.lnk", pf + L"Tencent\\QQ\\Bin\\QQ.exe");
    link(l.public_desktop + L"\\迅雷.lnk", pf + L"Thunder\\Thunder.exe");
    link(l.common_menu + L"\\Adobe Photoshop 2024.lnk",
         pf + L"Adobe\\Photoshop 2024\\Photoshop.exe");
    link(l.common_menu + L"\\WPS Office\\WPS Office.lnk", pf + L"WPS\\ksolaunch.exe",
         L"/prometheus");
    link(l.user_menu + L"\\网易云音乐\\网易云音乐.lnk", pf + L"CloudMusic\\cloudmusic.exe");
    link(l.common_menu + L"\\网易云音乐\\网易云音乐.lnk", pf + L"CloudMusic\\cloudmusic.exe");
    link(l.common_menu + L"\\Accessories\\Snipping Tool.lnk",
         L"C:\\windows\\system32\\SnippingTool.exe");
    link(l.common_menu + L"\\Accessories\\Paint.lnk", L"C:\\windows\\mspaint.exe");
    link(l.common_menu + L"\\Editor.lnk", pf + L"Editors\\a.exe");
    link(l.desktop + L"\\Editor.lnk", pf + L"Editors\\b.exe");
    link(l.user_menu + L"\\notepad.lnk", pf + L"Editors\\a.exe");
    link(l.user_menu + L"\\QQ.lnk", pf + L"Tencent\\QQ\\Bin\\QQ.exe");
    link(l.user_menu + L"\\Foxmail.lnk", pf + L"Foxmail\\Foxmail.exe");
    link(L"C:\\linked-target\\Loop.lnk", pf + L"Loop\\loop.exe");
    link(l.user_menu + L"\\Old App.lnk", pf + L"Old\\old.exe");
    ASSERT_TRUE(::DeleteFileW((pf + L"Old\\old.exe").c_str()));  // uninstalled
    // Startup, wherever the shell keeps it in this layout.
    const std::wstring startup = common::ShellFolderPaths({CSIDL_STARTUP})[0];
    ASSERT_EQ(common::ToLowerAscii(startup).rfind(common::ToLowerAscii(l.user_menu), 0), 0u)
        << startup;
    link(startup + L"\\Helper.lnk", pf + L"Helper\\helper.exe");
    // Windows marks a folder with a desktop.ini, and the file, as system.
    const std::wstring accessories = l.common_menu + L"\\Accessories";
    ::SetFileAttributesW(accessories.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM);
    ::SetFileAttributesW((accessories + L"\\desktop.ini").c_str(),
                         FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  }
};

std::wstring ReadRecord(const std::wstring& path) {
  std::string bytes;
  if (!testing_support::ReadFileBytes(path, &bytes))
    return L"";
  return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / 2);
}

// Typed lines and what each starts, as the command box runs them against
// this Windows' folders, shortcuts and App Paths: the program started
// (its command line as it received it), or the box's own start.
TEST_F(LayoutProgramsTest, TypedLinesStartTheirPrograms) {
  const Layout l;
  const std::wstring browser = BrowserCommandLine(L"");
  const std::wstring pf = L"c:\\program files\\";
  const std::wstring wechat = pf + L"tencent\\wechat\\wechat.exe";
  const std::wstring music = pf + L"cloudmusic\\cloudmusic.exe";
  const std::wstring qq = pf + L"tencent\\qq\\bin\\qq.exe";
  const std::wstring snipping = L"c:\\windows\\system32\\snippingtool.exe";
  struct Case {
    std::wstring typed;
    std::wstring program;    // lower-case; "" for none
    std::wstring box_start;  // what the box starts itself, "" for nothing
    WORD menu_key = 0;       // the key that answers the menu
  };
  const Case cases[] = {
      {L"微信", wechat},
      {L"腾讯QQ", qq},
      {L"迅雷", pf + L"thunder\\thunder.exe"},
      {L"adobe photoshop 2024", pf + L"adobe\\photoshop 2024\\photoshop.exe"},
      {L"WPS Office", pf + L"wps\\ksolaunch.exe\" /prometheus"},
      {L"网易云音乐", music},
      {L"截图工具", snipping},
      {L"Snipping Tool", snipping},
      {L"画图", L"c:\\windows\\mspaint.exe"},
      {L"acmeedit", L"c:\\acme\\acmeedit.exe"},
      // HKCU's App Paths count from Windows 7 on.
      {L"useronly", l.xp ? L"" : L"c:\\acme\\useronly.exe", l.xp ? browser + L"useronly" : L""},
      {L"wx", wechat},
      {L"weixin", wechat},
      {L"wangyiyunyinyue", music},
      {L"jtgj", snipping},
      {L"txqq", qq},
      {L"editor", pf + L"editors\\a.exe", L"", VK_RETURN},  // the menu's first line
      {L"editor", L"", browser + L"editor", VK_ESCAPE},
      // What does not change.
      {L"notepad", L"", L"notepad"},
      {L"qq", L"", BrowserCommandLine(SiteAddress(L"qq"))},
      {L"xunlei", L"", BrowserCommandLine(SiteAddress(L"xunlei"))},
      {L"微信 登录", L"", BrowserCommandLine(SearchAddress(L"微信 登录"))},
      {L"微", L"", BrowserCommandLine(SearchAddress(L"微"))},
      {L"xzwx", L"", browser + L"xzwx"},
      {L"helper", L"", browser + L"helper"},
      {L"old app", L"", browser + L"old app"},
      {L"gone", L"", browser + L"gone"},
      {L"loop", L"", browser + L"loop"},
      {L"unknownword", L"", browser + L"unknownword"},
      {L"foxmail", L"", L"rundll32.exe url.dll,FileProtocolHandler C:/Tools/lnk/foxmail"},
  };
  const HWND owner = ::CreateWindowExW(0, L"STATIC", L"box", WS_POPUP | WS_VISIBLE, 100, 100, 340,
                                       100, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(owner, nullptr);
  const std::wstring record = testing_support::TestProgramFolder() + L"\\programs-record.txt";
  ::SetEnvironmentVariableW(L"SUITE_RECORD", record.c_str());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    ::DeleteFileW(record.c_str());
    Host host(owner);
    host.AddFile(L"C:\\Tools\\lnk\\foxmail.lnk");
    CommandBoxFields fields;
    Interpreter interpreter(fields, host);
    bool menu_seen = false;
    testing_support::StepTimer answer(50, [&] {
      const HWND menu = ::FindWindowW(L"#32768", nullptr);
      if (!c.menu_key || !menu || !::IsWindowVisible(menu))
        return false;
      menu_seen = true;
      ::PostMessageW(owner, WM_KEYDOWN, c.menu_key, 0);
      return true;
    });
    interpreter.OnText1Changed(c.typed);
    interpreter.Command1_Click();
    EXPECT_EQ(menu_seen, c.menu_key != 0);
    EXPECT_EQ(host.programs.opened, c.program.empty() ? 0 : 1);
    EXPECT_EQ(host.starts, c.box_start.empty() ? std::vector<std::wstring>{}
                                               : std::vector<std::wstring>{c.box_start});
    EXPECT_EQ(host.failures, 0);
    if (c.program.empty())
      continue;
    EXPECT_TRUE(testing_support::PumpUntil([&] { return !ReadRecord(record).empty(); }, 10000));
    testing_support::PumpFor(300);  // a second start would show by now
    const std::wstring started = common::ToLowerAscii(ReadRecord(record));
    EXPECT_NE(started.find(c.program), std::wstring::npos) << started;
    EXPECT_EQ(std::count(started.begin(), started.end(), L'\n'), 1) << started;
  }
  ::SetEnvironmentVariableW(L"SUITE_RECORD", nullptr);
  ::DestroyWindow(owner);
}

// A shortcut to a program that 64-bit Windows keeps only in System32, as
// the Snipping Tool: a 32-bit Tovrix under WOW64 starts the 64-bit program,
// as the 64-bit shell would (the fixture puts the recorder of the prefix's
// own build there as msconfig.exe, testing/wine-system-tools).
TEST(Wow64ProgramsTest, AShortcutIntoSystem32StartsTheNativeProgram) {
  const std::wstring menu = common::ShellFolderPaths({CSIDL_PROGRAMS})[0];
  const std::wstring shortcut = menu + L"\\系统工具\\系统配置.lnk";
  ASSERT_TRUE(MakeShellLink(shortcut, L"C:\\windows\\system32\\msconfig.exe"));
  const std::wstring record = testing_support::TestProgramFolder() + L"\\wow64-record.txt";
  ::DeleteFileW(record.c_str());
  ::SetEnvironmentVariableW(L"SUITE_RECORD", record.c_str());
  ::SetEnvironmentVariableW(L"SUITE_RECORD_BITS", L"1");
  Win32InstalledPrograms programs([] { return static_cast<HWND>(nullptr); });
  EXPECT_EQ(StartInstalledProgram(programs, L"xtpz"), ProgramStart::kStarted);
  EXPECT_TRUE(testing_support::PumpUntil([&] { return !ReadRecord(record).empty(); }, 10000));
  const std::wstring started = ReadRecord(record);
  EXPECT_EQ(started.substr(0, 3), testing_support::PrefixIs64Bit() ? L"64 " : L"32 ") << started;
  EXPECT_NE(common::ToLowerAscii(started).find(L"msconfig.exe"), std::wstring::npos) << started;
  ::SetEnvironmentVariableW(L"SUITE_RECORD", nullptr);
  ::SetEnvironmentVariableW(L"SUITE_RECORD_BITS", nullptr);
  ::DeleteFileW(shortcut.c_str());
}

}  // namespace
}  // namespace commandbox
