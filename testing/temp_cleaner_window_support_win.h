// What tmpsweep's Windows tests share: files planted and read back, the
// window opened as the program opens it, and what its controls show.
#ifndef TESTING_TEMP_CLEANER_WINDOW_SUPPORT_WIN_H_
#define TESTING_TEMP_CLEANER_WINDOW_SUPPORT_WIN_H_

#include <gtest/gtest.h>

#include <map>
#include <memory>

#include "common/platform_win.h"
#include "common/text_rules.h"
#include "temp-cleaner/temp_cleaner_window_win.h"
#include "testing/win_test_support_win.h"

namespace tempclean::window_test {

using testing_support::FileExists;
using testing_support::MakeFolders;
using testing_support::MessageBoxAnswerer;
using testing_support::PumpUntil;
using testing_support::WriteFileBytes;

inline std::wstring WindowsFolder() {
  return common::GetEnvironmentText(L"windir");
}

inline std::wstring UserName() {
  wchar_t user[256] = {};
  DWORD size = 255;
  ::GetUserNameW(user, &size);
  return user;
}

// `bytes` bytes in `file`, its folders made first.
inline void Plant(const std::wstring& file, size_t bytes) {
  MakeFolders(file.substr(0, file.rfind(L'\\')));
  ASSERT_TRUE(WriteFileBytes(file, std::string(bytes, 'x'))) << file;
}

using Files = std::map<std::wstring, std::string>;  // path: bytes

// Every file below `folder`, with its bytes; links are not followed.
inline void Collect(const std::wstring& folder, Files* files) {
  WIN32_FIND_DATAW data;
  HANDLE find = ::FindFirstFileW((folder + L"\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE)
    return;
  do {
    const std::wstring name = data.cFileName;
    const std::wstring path = folder + L"\\" + name;
    if (name == L"." || name == L".." || (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
      continue;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      Collect(path, files);
    else
      testing_support::ReadFileBytes(path, &(*files)[path]);
  } while (::FindNextFileW(find, &data));
  ::FindClose(find);
}

// The real system, except that the recycle-bin script is not started: it
// would end the desktop shell of the test session.
class QuietSystem : public Win32TempCleanerSystem {
 public:
  bool StartScriptHidden(const std::wstring& name, const std::wstring& folder) override {
    started.push_back(folder.empty() ? name : common::JoinPath(folder, name));
    return true;
  }
  std::vector<std::wstring> started;
};

// The window as the program opens it; its exit is only counted.
inline std::unique_ptr<TempCleanerWindow> OpenWindow(TempCleanerSystem& system,
                                                     int* exits = nullptr) {
  auto window = std::make_unique<TempCleanerWindow>(system);
  window->exit_action = [exits] {
    if (exits)
      ++*exits;
  };
  window->quit_on_destroy = false;
  EXPECT_TRUE(window->Open());
  return window;
}

inline void Click(HWND control) {
  ::SendMessageW(control, BM_CLICK, 0, 0);
}
inline void ClickLabel(HWND label) {
  ::SendMessageW(label, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  ::SendMessageW(label, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
}
inline bool Ticked(TempCleanerWindow& w, int box) {
  return ::SendMessageW(w.check(box), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// The tip the window's tips show for `control`.
inline std::wstring TipText(TempCleanerWindow& w, HWND control) {
  wchar_t text[512] = {};
  TOOLINFOW info = {};
  info.cbSize = TTTOOLINFOW_V1_SIZE;
  info.hwnd = w.hwnd();
  info.uId = reinterpret_cast<UINT_PTR>(control);
  info.lpszText = text;
  ::SendMessageW(w.tooltip(), TTM_GETTEXTW, 512, reinterpret_cast<LPARAM>(&info));
  return text;
}

// The rows of the results: item to the text of `column` (1 the size, 2 the
// outcome). No item may be listed twice.
inline std::map<std::wstring, std::wstring> Rows(TempCleanerWindow& w, int column = 2) {
  std::map<std::wstring, std::wstring> rows;
  for (int r = 0; r < w.results().RowCount(); ++r) {
    const std::wstring item = w.results().CellText(r, 0);
    EXPECT_EQ(rows.count(item), 0u) << "listed twice: " << item;
    rows[item] = w.results().CellText(r, column);
  }
  return rows;
}

}  // namespace tempclean::window_test

#endif  // TESTING_TEMP_CLEANER_WINDOW_SUPPORT_WIN_H_
