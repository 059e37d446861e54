#include "command-box/host_platform_win.h"

#include <gtest/gtest.h>

#include "command-box/default_browser_win.h"
#include "command-box/interpreter.h"
#include "command-box/web_lookups.h"
#include "common/wow64_win.h"
#include "testing/fake_command_box_host.h"
#include "testing/win_test_support_win.h"

namespace commandbox {
namespace {

using testing_support::FileExists;
using testing_support::PumpUntil;
using testing_support::TestProgramFolder;

std::wstring ReadRecord(const std::wstring& path) {
  std::string bytes;
  if (!testing_support::ReadFileBytes(path, &bytes))
    return L"";
  return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()),
                      bytes.size() / sizeof(wchar_t));
}

// The window parts recorded, the platform parts real.
class RealPlatformHost : public testing_support::FakeCommandBoxHost {
 public:
  bool StartCommandLine(const std::wstring& c) override {
    starts.push_back(c);
    return platform.StartCommandLine(c);
  }
  std::wstring BrowserPrefix() override { return CurrentBrowserPrefix(); }
  bool StartCommandLineAndWait(const std::wstring& c, unsigned ms) override {
    starts.push_back(c);
    return platform.StartCommandLineAndWait(c, ms);
  }
  bool StartThroughShell(const std::wstring& t) override {
    starts.push_back(L"shell:" + t);
    return platform.StartThroughShell(t);
  }
  ProgramLookupPort& Lookup() override { return platform; }
  bool FileExists(const std::wstring& p) override { return platform.FileExists(p); }
  bool RenameFile(const std::wstring& f, const std::wstring& t) override {
    renames.push_back({f, t});
    return platform.RenameFile(f, t);
  }
  bool WriteRunValue(const std::wstring& n, const std::wstring& d) override {
    return platform.WriteRunValue(n, d);
  }
  bool DeleteRunValue(const std::wstring& n) override { return platform.DeleteRunValue(n); }
  bool ReadRunValue(const std::wstring& n, std::wstring* d) override {
    return common::ReadRunValue(n, d);
  }
  common::ProgramPath Program() override { return platform.Program(); }
  std::wstring WindowsFolder() override { return platform.WindowsFolder(); }
  common::ProfilePort& Profile() override { return platform.Profile(); }
  Win32HostPlatform platform;
};

class CommandBoxWinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    record_ = TestProgramFolder() + L"\\record.txt";
    ::DeleteFileW(record_.c_str());
    ::SetEnvironmentVariableW(L"SUITE_RECORD", record_.c_str());
  }
  void TearDown() override { ::SetEnvironmentVariableW(L"SUITE_RECORD", nullptr); }
  void Run(const std::wstring& line) {
    ::DeleteFileW(record_.c_str());
    host_.starts.clear();
    interpreter_.OnText1Changed(line);
    interpreter_.Command1_Click();
  }
  // Runs a line and returns what the program it started recorded: its
  // command line as it arrived ("" when nothing started within the time).
  std::wstring RunAndRecord(const std::wstring& line) {
    Run(line);
    PumpUntil([&] { return !ReadRecord(record_).empty(); }, 10000);
    return ReadRecord(record_);
  }
  std::wstring record_;
  CommandBoxFields fields_;
  RealPlatformHost host_;
  Interpreter interpreter_{fields_, host_};
};

// The web commands on the layouts of win_test_layout_browser.sh: the
// user's own browser gets the address as built; with Internet Explorer the
// default, every command line is today's, word for word. Windows hands the
// command line over as it was given; Wine puts quotes round a program path
// with blanks that it found by the search rules, and everything after the
// path arrives unchanged either way.
using BrowserLayoutTest = CommandBoxWinTest;

TEST_F(BrowserLayoutTest, WebCommandsStartTheDefaultBrowser) {
  const std::wstring layout = common::GetEnvironmentText(L"SUITE_TEST_LAYOUT");
  ASSERT_TRUE(layout == L"win7-ie-default" || layout == L"win10-own-browser") << layout;
  const bool ie = layout == L"win7-ie-default";
  const std::wstring program =
      ie ? L"C:\\\\Program Files\\\\Internet Explorer\\\\IEXPLORE.exe"
         : L"\"C:\\Program Files\\Suite Browser\\Application\\browser.exe\"";
  const struct {
    const wchar_t* typed;
    const wchar_t* address;
  } cases[] = {
      {L"天气预报", L"http://www.baidu.com/s?wd=天气预报"},
      {L"中文 搜索", L"http://www.baidu.com/s?wd=中文 搜索"},
      {L"qq", L"http://www.qq.com"},
      {L"www.example.net", L"www.example.net"},
      {L"202.96.128.86", L"http://www.ip138.com/ips.asp?ip=202.96.128.86&action=2"},
      {L"13800138000", L"http://www.ip138.com:8080/search.asp?action=mobile&mobile=13800138000"},
  };
  // What the look-up at every browser run costs.
  LARGE_INTEGER frequency, start, end;
  ::QueryPerformanceFrequency(&frequency);
  ::QueryPerformanceCounter(&start);
  for (int i = 0; i < 1000; ++i)
    CurrentBrowserPrefix();
  ::QueryPerformanceCounter(&end);
  RecordProperty("browser_lookup_us",
                 static_cast<int>((end.QuadPart - start.QuadPart) * 1000 / frequency.QuadPart));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    const std::wstring record = RunAndRecord(c.typed);
    const std::wstring line = program + L" " + c.address;
    EXPECT_EQ(host_.starts, std::vector<std::wstring>{line});
    EXPECT_TRUE(record == line + L"\n" ||
                (ie && record == L"\"" + program + L"\" " + c.address + L"\n"))
        << record;
  }
}

TEST_F(CommandBoxWinTest, RunValueWrittenExactlyAndDeletedAgain) {
  Run(L"autorun");
  std::wstring data;
  ASSERT_TRUE(common::ReadRunValue(L"Lnk", &data));
  EXPECT_EQ(data, TestProgramFolder() + L"\\command-box_win_tests.Exe");
  EXPECT_EQ(interpreter_.settings().ReadSetting(L"Option", L"AutoLnk"), L"1");
  Run(L"autorun");
  EXPECT_FALSE(common::ReadRunValue(L"Lnk", &data));
  EXPECT_EQ(interpreter_.settings().ReadSetting(L"Option", L"AutoLnk"), L"0");
  ASSERT_EQ(host_.messages.size(), 2u);
  // The position was written on both runs, to windir\lnk.ini.
  std::string ini;
  ASSERT_TRUE(
      testing_support::ReadFileBytes(common::GetEnvironmentText(L"windir") + L"\\lnk.ini", &ini));
  EXPECT_NE(ini.find("wl.top=5700"), std::string::npos) << ini;
}

TEST_F(CommandBoxWinTest, PluginIsRenamedStartedAndRenamedBack) {
  const std::wstring plugin = TestProgramFolder() + L"\\plugin\\recorder";
  ASSERT_TRUE(FileExists(plugin + L".OCX"));
  const std::wstring record = RunAndRecord(L"recorder");
  ASSERT_EQ(host_.renames.size(), 2u);
  EXPECT_EQ(host_.renames[0], std::make_pair(plugin + L".OCX", plugin + L".EXE"));
  EXPECT_EQ(host_.renames[1], std::make_pair(plugin + L".EXE", plugin + L".OCX"));
  std::wstring slashed = plugin + L".EXE";
  for (auto& ch : slashed)
    if (ch == L'\\')
      ch = L'/';
  EXPECT_EQ(host_.starts,
            (std::vector<std::wstring>{L"rundll32.exe url.dll,FileProtocolHandler " + slashed}));
  // The plug-in ran, and it has its stored name again.
  EXPECT_NE(record.find(L"recorder.EXE"), std::wstring::npos) << record;
  EXPECT_TRUE(FileExists(plugin + L".OCX"));
  EXPECT_FALSE(FileExists(plugin + L".EXE"));
}

TEST_F(CommandBoxWinTest, FileExistsIsExact) {
  Win32HostPlatform platform;
  const std::wstring folder = TestProgramFolder() + L"\\plugin\\";
  EXPECT_TRUE(platform.FileExists(folder + L"recorder.OCX"));
  EXPECT_TRUE(platform.FileExists(folder + L"RECORDER.ocx"));
  EXPECT_FALSE(platform.FileExists(folder + L"rec*.OCX"));
  EXPECT_FALSE(platform.FileExists(folder + L"recorde?.OCX"));
  EXPECT_FALSE(platform.FileExists(TestProgramFolder() + L"\\plugin"));
  const std::wstring hidden = folder + L"hidden.OCX";
  ASSERT_TRUE(testing_support::WriteFileBytes(hidden, "x"));
  ::SetFileAttributesW(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  EXPECT_TRUE(platform.FileExists(hidden));
}

// What the command box starts from the system folder, in a prefix of either
// kind (the 32-bit program's tests run in both): the tool of the Windows
// that runs, so the 64-bit one under WOW64, for a tool kept only in
// System32 ("msconfig"), a tool kept in both ("narrator") and a program
// that the open handler opens there. The fixture puts the recorder of each
// form in its folder (testing/wine-system-tools).
class Wow64StartTest : public CommandBoxWinTest {
 protected:
  void SetUp() override {
    CommandBoxWinTest::SetUp();
    ::SetEnvironmentVariableW(L"SUITE_RECORD_BITS", L"1");
  }
  void TearDown() override {
    ::SetEnvironmentVariableW(L"SUITE_RECORD_BITS", nullptr);
    CommandBoxWinTest::TearDown();
  }
};

TEST_F(Wow64StartTest, SystemToolsStartInTheFormOfTheWindowsThatRuns) {
  const bool under_wow64 = testing_support::PrefixIs64Bit() && sizeof(void*) == 4;
  ASSERT_EQ(common::RunsUnderWow64(), under_wow64);
  // The fixture's 64-bit prefixes report Windows 10.
  ASSERT_EQ(DefaultNativeReach(), under_wow64 ? NativeReach::kThroughAlias : NativeReach::kAsItIs);
  const std::wstring bits = testing_support::PrefixIs64Bit() ? L"64 " : L"32 ";
  const std::vector<NativeReach> reaches =
      under_wow64
          ? std::vector<NativeReach>{NativeReach::kThroughAlias, NativeReach::kRedirectionOff}
          : std::vector<NativeReach>{NativeReach::kAsItIs};
  const struct {
    const wchar_t* typed;
    const wchar_t* started;  // part of what the started tool is given
  } cases[] = {
      {L"msconfig", L"msconfig"},
      {L"narrator", L"narrator"},
      {L"C:\\windows\\system32\\suite-open.exe", L"suite-open.exe"},
  };
  for (NativeReach reach : reaches) {
    host_.platform.set_native_reach(reach);
    for (const auto& c : cases) {
      SCOPED_TRACE(c.typed + std::wstring(L", way ") + std::to_wstring(static_cast<int>(reach)));
      const std::wstring record = RunAndRecord(c.typed);
      EXPECT_EQ(host_.starts.size(), 1u);
      EXPECT_EQ(record.substr(0, 3), bits) << record;
      EXPECT_NE(record.find(c.started), std::wstring::npos) << record;
    }
  }
}

// What the tool keywords start in the Windows layouts of
// win_test_layout_tools.sh: XP, where its tools are there and start
// themselves; 7 and 10, where they are gone and their successors start, a
// URI through the shell's registration of its protocol.
class LayoutToolsTest : public CommandBoxWinTest {};

TEST_F(LayoutToolsTest, KeywordsStartTheirToolOrItsSuccessor) {
  const std::wstring layout = common::GetEnvironmentText(L"SUITE_TEST_LAYOUT");
  const int at = layout == L"xp" ? 0 : layout == L"win7" ? 1 : layout == L"win10" ? 2 : -1;
  ASSERT_NE(at, -1) << "layout: " << layout;
  // What the tool was given, or, in brackets, the part of our message.
  const struct {
    const wchar_t* typed;
    const wchar_t* started[3];  // xp, win7, win10
  } cases[] = {
      {L"msconfig", {L"msconfig", L"msconfig", L"msconfig"}},
      {L"sndvol32", {L"sndvol32", L"SndVol.exe", L"SndVol.exe"}},
      {L"sndvol32.exe", {L"sndvol32.exe", L"SndVol.exe", L"SndVol.exe"}},
      {L"winmsd", {L"winmsd", L"msinfo32.exe", L"msinfo32.exe"}},
      {L"dfrg.msc", {L"mmc.exe dfrg.msc", L"dfrgui.exe", L"dfrgui.exe"}},
      {L"wupdmgr",
       {L"wupdmgr", L"control /name Microsoft.WindowsUpdate", L"ms-settings:windowsupdate"}},
      {L"ntbackup", {L"ntbackup", L"sdclt.exe", L"sdclt.exe"}},
      {L"drwtsn32", {L"drwtsn32", L"perfmon /rel", L"perfmon /rel"}},
      {L"sndrec32", {L"sndrec32", L"SoundRecorder.exe", L"[“sndrec32”无法启动]"}},
      {L"clipbrd", {L"clipbrd", L"[“clipbrd”无法启动]", L"ms-settings:clipboard"}},
      {L"services.msc",
       {L"mmc.exe services.msc", L"mmc.exe services.msc", L"mmc.exe services.msc"}},
      // Without its file and without a successor: the console all the same.
      {L"ntmsmgr.msc", {L"mmc.exe ntmsmgr.msc", L"mmc.exe ntmsmgr.msc", L"mmc.exe ntmsmgr.msc"}},
      {L"winchat", {L"winchat", L"[“winchat”无法启动]", L"[“winchat”无法启动]"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    const std::wstring expected = c.started[at];
    host_.messages.clear();
    if (expected.front() == L'[') {
      Run(c.typed);
      EXPECT_TRUE(host_.starts.empty()) << "started " << host_.starts[0];
      ASSERT_EQ(host_.messages.size(), 1u);
      EXPECT_NE(host_.messages[0].find(expected.substr(1, expected.size() - 2)), std::wstring::npos)
          << host_.messages[0];
    } else if (const std::wstring record = RunAndRecord(c.typed);
               expected.find(L"ms-settings:") == 0) {
      // A URI reaches the recorder as its protocol's command gives it.
      EXPECT_NE(record.find(L"\"" + expected + L"\""), std::wstring::npos) << record;
    } else {
      EXPECT_EQ(record, expected + L"\n");
    }
    EXPECT_EQ(host_.input_box, L"");
    EXPECT_TRUE(expected.front() == L'[' || host_.messages.empty()) << host_.messages[0];
  }
}

// A browser whose command names its folder by %ProgramFiles%, chosen by
// the user: found where the 64-bit shell finds it, in the 64-bit program
// folder, also by the 32-bit program under WOW64 (whose own %ProgramFiles%
// is the 32-bit folder).
TEST_F(Wow64StartTest, DefaultBrowserIsFoundAsThe64BitShellFindsIt) {
  const REGSAM view = common::RunsUnderWow64() ? KEY_WOW64_64KEY : 0;
  const wchar_t kChoice[] =
      L"Software\\Microsoft\\Windows\\Shell\\Associations\\UrlAssociations\\http\\UserChoice";
  const wchar_t kCommand[] = L"Software\\Classes\\SuiteWowHTML\\shell\\open\\command";
  const auto set = [view](const wchar_t* key_name, const wchar_t* value, DWORD type,
                          const std::wstring& data) {
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, key_name, 0, nullptr, 0, KEY_SET_VALUE | view,
                                nullptr, &key, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(::RegSetValueExW(key, value, 0, type, reinterpret_cast<const BYTE*>(data.c_str()),
                               static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
    ::RegCloseKey(key);
  };
  std::wstring program_files = common::GetEnvironmentText(L"ProgramW6432");
  if (program_files.empty())
    program_files = common::GetEnvironmentText(L"ProgramFiles");
  ASSERT_EQ(program_files, L"C:\\Program Files");
  const std::wstring folder = program_files + L"\\Suite Wow";
  ::CreateDirectoryW(folder.c_str(), nullptr);
  ASSERT_TRUE(::CopyFileW((TestProgramFolder() + L"\\cmdline_recorder.exe").c_str(),
                          (folder + L"\\browser.exe").c_str(), FALSE));
  set(kCommand, nullptr, REG_EXPAND_SZ, L"\"%ProgramFiles%\\Suite Wow\\browser.exe\" %1");
  set(kChoice, L"ProgId", REG_SZ, L"SuiteWowHTML");
  const std::wstring prefix = CurrentBrowserPrefix();
  ::RegDeleteKeyW(HKEY_CURRENT_USER, kChoice);
  EXPECT_EQ(prefix, L"\"C:\\Program Files\\Suite Wow\\browser.exe\" ");
}

}  // namespace
}  // namespace commandbox
