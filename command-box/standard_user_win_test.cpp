// Tovrix as a standard user runs it: the Windows folder, and the "lnk.ini"
// an administrator left there, cannot be written (win_test_standard_user.sh
// locks them while these tests run).
#include <gtest/gtest.h>
#include <objbase.h>

#include "command-box/command_box_window_win.h"
#include "common/platform_win.h"
#include "testing/win_test_support_win.h"

namespace commandbox {
namespace {

using testing_support::FolderRefusesNewFiles;
using testing_support::MessageBoxAnswerer;
using testing_support::PumpFor;
using testing_support::PumpUntil;
using testing_support::RemoveFile;
using testing_support::VirtualStoreCopy;

std::wstring IniInWindows() {
  return common::GetEnvironmentText(L"windir") + L"\\lnk.ini";
}

std::wstring Raw(const std::wstring& file, const wchar_t* key) {
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

class StandardUserCommandBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::CoInitialize(nullptr);
    ASSERT_TRUE(FolderRefusesNewFiles(common::GetEnvironmentText(L"windir")))
        << "run with command-box/win_test_standard_user.sh as the fixture";
    RemoveFile(VirtualStoreCopy(IniInWindows()));
  }
  void TearDown() override {
    RemoveFile(VirtualStoreCopy(IniInWindows()));
    common::DeleteRunValue(L"Lnk");
  }
  std::unique_ptr<CommandBoxWindow> Open() {
    auto w = std::make_unique<CommandBoxWindow>();
    w->quit_on_destroy = false;
    EXPECT_TRUE(w->Open());
    PumpFor(200);
    return w;
  }
  void Type(CommandBoxWindow& w, const std::wstring& line) {
    PumpUntil(
        [&] {
          ::SetForegroundWindow(w.hwnd());
          return ::GetForegroundWindow() == w.hwnd();
        },
        1000);
    ::SetWindowTextW(w.text1(), line.c_str());
    ::SetFocus(w.text1());
    ::PostMessageW(w.text1(), WM_KEYDOWN, VK_RETURN, 0);
    PumpFor(50);
  }
};

TEST_F(StandardUserCommandBoxTest, SettingsStayForTheNextStart) {
  const std::wstring copy = VirtualStoreCopy(IniInWindows());
  MessageBoxAnswerer answerer;
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
  EXPECT_EQ(Raw(copy, L"TM"), L"100");
  EXPECT_EQ(Raw(copy, L"wl.top"), L"3000");
  EXPECT_EQ(Raw(copy, L"wl.left"), L"900");
  EXPECT_EQ(Raw(copy, L"AutoLnk"), L"1");
  EXPECT_EQ(Raw(IniInWindows(), L"TM"), L"150");
  EXPECT_EQ(Raw(IniInWindows(), L"wl.top"), L"");

  auto w = Open();
  EXPECT_EQ(Alpha(w->hwnd()), 100);
  RECT r;
  ::GetWindowRect(w->hwnd(), &r);
  EXPECT_EQ(r.left, 60);
  EXPECT_EQ(r.top, 200);
  EXPECT_EQ(w->fields().Text8, L"1");
  // Start with Windows is known to be on: one command turns it off.
  Type(*w, L"autorun");
  ASSERT_EQ(answerer.boxes().size(), 2u);
  EXPECT_EQ(answerer.boxes()[1].text,
            L"开机启动选项已经成功关闭，如需Tovrix开机启动请再次输入并执行本命令！");
  std::wstring data;
  EXPECT_FALSE(common::ReadRunValue(L"Lnk", &data));
  EXPECT_EQ(Raw(copy, L"AutoLnk"), L"0");
}

}  // namespace
}  // namespace commandbox
