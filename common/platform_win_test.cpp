#include "common/platform_win.h"

#include <gtest/gtest.h>

#include "common/text_rules.h"
#include "common/window_win.h"
#include "testing/win_test_support_win.h"

namespace common {
namespace {

using testing_support::ReadFileBytes;

std::wstring WindowsFolder() {
  return GetEnvironmentText(L"windir");
}

TEST(ProfileWinTest, BareNameLandsInWindowsFolderInGbk) {
  Win32Profile profile;
  SettingsFile settings(profile, [] { return std::wstring(L"suite_test_profile.ini"); });
  const std::wstring file = WindowsFolder() + L"\\suite_test_profile.ini";
  ::DeleteFileW(file.c_str());

  settings.WriteSetting(L"Option", L"name", L"开机启动");
  settings.WriteSetting(L"Option", L"wl.top", L"5700");

  std::string bytes;
  ASSERT_TRUE(ReadFileBytes(file, &bytes));
  // GBK bytes of 开机启动, no byte-order mark, CR LF line ends.
  EXPECT_NE(bytes.find("name=\xBF\xAA\xBB\xFA\xC6\xF4\xB6\xAF\r\n"), std::string::npos) << bytes;
  EXPECT_EQ(bytes.rfind("[Option]\r\n", 0), 0u) << bytes;
  EXPECT_EQ(settings.ReadSetting(L"Option", L"name"), L"开机启动");
  EXPECT_EQ(settings.ReadSetting(L"Option", L"wl.top"), L"5700");
  ::DeleteFileW(file.c_str());
}

TEST(ProfileWinTest, MissingFileSectionOrKeyReadEmpty) {
  Win32Profile profile;
  SettingsFile missing(profile, [] { return std::wstring(L"C:\\no\\such\\file.ini"); });
  EXPECT_EQ(missing.ReadSetting(L"Option", L"TM"), L"");
  SettingsFile settings(profile, [] { return std::wstring(L"suite_test_missing.ini"); });
  settings.WriteSetting(L"Option", L"a", L"1");
  EXPECT_EQ(settings.ReadSetting(L"Other", L"a"), L"");
  EXPECT_EQ(settings.ReadSetting(L"Option", L"b"), L"");
  ::DeleteFileW((WindowsFolder() + L"\\suite_test_missing.ini").c_str());
}

TEST(ProfileWinTest, LongValuesAreCutTo127OnReading) {
  Win32Profile profile;
  SettingsFile settings(profile, [] { return std::wstring(L"suite_test_long.ini"); });
  settings.WriteSetting(L"Option", L"v", std::wstring(300, L'7'));
  EXPECT_EQ(settings.ReadSetting(L"Option", L"v"), std::wstring(127, L'7'));
  ::DeleteFileW((WindowsFolder() + L"\\suite_test_long.ini").c_str());
}

// Reads what the recorder tool wrote (UTF-16 lines).
std::wstring ReadRecord(const std::wstring& path) {
  std::string bytes;
  if (!ReadFileBytes(path, &bytes))
    return L"";
  return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()),
                      bytes.size() / sizeof(wchar_t));
}

TEST(StartCommandLineTest, CommandLineReachesProcessExactly) {
  const std::wstring folder = testing_support::TestProgramFolder();
  const std::wstring record = folder + L"\\record_start.txt";
  ::DeleteFileW(record.c_str());
  ::SetEnvironmentVariableW(L"SUITE_RECORD", record.c_str());
  const std::wstring line =
      folder + L"\\cmdline_recorder.exe http://www.baidu.com/s?wd=中文 搜索  \"q\" ";
  HANDLE process = nullptr;
  ASSERT_TRUE(StartCommandLine(line, StartWindow::kNormal, &process));
  ASSERT_NE(process, nullptr);
  EXPECT_EQ(::WaitForSingleObject(process, 10000), WAIT_OBJECT_0);
  ::CloseHandle(process);
  EXPECT_EQ(ReadRecord(record), line + L"\n");
  ::SetEnvironmentVariableW(L"SUITE_RECORD", nullptr);
}

TEST(StartCommandLineTest, MissingProgramFailsQuietly) {
  EXPECT_FALSE(StartCommandLine(L"C:\\no\\such\\program.exe arg"));
}

TEST(RunValueTest, WriteReadDelete) {
  ASSERT_TRUE(WriteRunValue(L"SuiteTest", L"C:\\Tools\\Tovrix.Exe"));
  std::wstring data;
  ASSERT_TRUE(ReadRunValue(L"SuiteTest", &data));
  EXPECT_EQ(data, L"C:\\Tools\\Tovrix.Exe");
  EXPECT_TRUE(DeleteRunValue(L"SuiteTest"));
  EXPECT_FALSE(ReadRunValue(L"SuiteTest", &data));
  // Deleting a value that is gone is not an error.
  EXPECT_TRUE(DeleteRunValue(L"SuiteTest"));
}

TEST(CodePageTest, AnsiIsGbkUnderTheTestLocale) {
  AnsiCodePage ansi;
  EXPECT_EQ(::GetACP(), 936u);
  EXPECT_EQ(ansi.Encode(L"清空回收站"), "\xC7\xE5\xBF\xD5\xBB\xD8\xCA\xD5\xD5\xBE");
  EXPECT_EQ(ansi.Decode("\xC7\xE5\xBF\xD5"), L"清空");
}

// The built-in table must agree with the platform's code page 936 for
// every character of the basic plane.
TEST(CodePageTest, DoubleByteTableMatchesCodePage936) {
  int mismatches = 0;
  for (unsigned cp = 1; cp < 0x10000; ++cp) {
    if (cp >= 0xD800 && cp <= 0xDFFF)
      continue;
    const wchar_t ch = static_cast<wchar_t>(cp);
    char bytes[8];
    BOOL used_default = FALSE;
    const int n = ::WideCharToMultiByte(936, WC_NO_BEST_FIT_CHARS, &ch, 1, bytes, sizeof(bytes),
                                        nullptr, &used_default);
    const bool platform = n == 2 && !used_default;
    if (platform != IsGbkDoubleByte(cp)) {
      if (++mismatches <= 10)
        ADD_FAILURE() << std::hex << "U+" << cp << " platform " << platform;
    }
  }
  EXPECT_EQ(mismatches, 0);
}

TEST(YieldTest, DispatchesPostedMessagesAndKeepsQuit) {
  static int seen = 0;
  seen = 0;
  struct Probe : Window {
    LRESULT HandleMessage(UINT m, WPARAM w, LPARAM l) override {
      if (m == WM_APP + 1)
        ++seen;
      return Window::HandleMessage(m, w, l);
    }
  } probe;
  ASSERT_TRUE(probe.Create(L"SuiteYieldProbe", L"", WS_POPUP, 0, 0, 0, 10, 10, nullptr));
  for (int i = 0; i < 3; ++i)
    ::PostMessageW(probe.hwnd(), WM_APP + 1, 0, 0);
  ::PostQuitMessage(7);
  ::PostMessageW(probe.hwnd(), WM_APP + 1, 0, 0);
  Yield();
  EXPECT_GE(seen, 3);
  // The quit message is there again for the outer loop.
  MSG msg;
  bool quit = false;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      quit = true;
      EXPECT_EQ(msg.wParam, 7u);
    }
  }
  EXPECT_TRUE(quit);
}

TEST(MessageBoxAnswererTest, ReadsAndAnswersRealMessageBox) {
  testing_support::MessageBoxAnswerer answerer;
  answerer.QueueAnswer(IDCANCEL);
  const int first = ShowMessageBox(nullptr, L"正在清理你确定要终止吗？", L"提示",
                                   MB_OKCANCEL | MB_ICONINFORMATION | MB_DEFBUTTON2);
  const int second =
      ShowMessageBox(nullptr, L"此次搜索操作中发现垃圾：12项", L"提示", MB_OK | MB_ICONQUESTION);
  EXPECT_EQ(first, IDCANCEL);
  EXPECT_EQ(second, IDOK);
  ASSERT_EQ(answerer.boxes().size(), 2u);
  const auto& box = answerer.boxes()[0];
  EXPECT_EQ(box.title, L"提示");
  EXPECT_EQ(box.text, L"正在清理你确定要终止吗？");
  EXPECT_EQ(box.icon, static_cast<UINT>(MB_ICONINFORMATION));
  EXPECT_EQ(box.buttons, (std::vector<int>{IDOK, IDCANCEL}));
  EXPECT_EQ(box.default_button, IDCANCEL);
  EXPECT_EQ(answerer.boxes()[1].icon, static_cast<UINT>(MB_ICONQUESTION));
}

}  // namespace
}  // namespace common
