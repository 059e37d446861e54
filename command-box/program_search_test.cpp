#include "command-box/program_search.h"

#include <gtest/gtest.h>

#include <set>

#include "common/text_rules.h"

namespace commandbox {
namespace {

// Files as a 32-bit program under WOW64 reaches them: the native system
// folder only through "Sysnative"; "C:\Windows\System32" is SysWOW64's.
ProgramSearch Search() {
  ProgramSearch search;
  search.program_folder = L"C:\\Tools";
  search.current_folder = L"D:\\Work";
  search.windows_folder = L"C:\\Windows";
  search.path =
      L"C:\\Windows\\system32;;C:\\Windows;C:\\WINDOWS\\System32\\Wbem;"
      L"C:\\Windows\\System32x;C:\\Bin\\";
  search.native_system_folder = L"C:\\Windows\\Sysnative";
  return search;
}

TEST(ProgramSearchTest, FindsWhatA64BitStartFinds) {
  const std::set<std::wstring> files = {
      L"c:\\windows\\sysnative\\msconfig.exe",  // 64-bit only
      L"c:\\windows\\sysnative\\narrator.exe",  // both forms
      L"c:\\windows\\system32\\narrator.exe",   // (SysWOW64's)
      L"c:\\windows\\system32\\only32.exe",     // 32-bit only
      L"c:\\windows\\system32x\\odd.exe",
      L"c:\\windows\\sysnative\\mmc.exe",
      L"c:\\windows\\sysnative\\rundll32.exe",
      L"c:\\windows\\sysnative\\wbem\\wmic.exe",
      L"c:\\windows\\notepad.exe",
      L"c:\\windows\\sysnative\\notepad.exe",
      L"c:\\tools\\notepad.exe",  // the program's own folder wins
      L"d:\\work\\here.exe",
      L"c:\\windows\\sysnative\\here.exe",
      L"c:\\bin\\tool.cmd",
      L"c:\\my.exe",
      L"c:\\program files\\internet explorer\\iexplore.exe",
      L"c:\\a b\\c.exe",
  };
  // As the platform takes a path: any case, doubled backslashes as one.
  const auto is_file = [&](const std::wstring& path) {
    return files.count(common::ToLowerAscii(common::ReplaceAll(path, L"\\\\", L"\\"))) > 0;
  };
  const struct {
    const wchar_t* command_line;
    const wchar_t* program;
    const wchar_t* arguments = L"";  // what the program is given
  } cases[] = {
      {L"msconfig", L"C:\\Windows\\Sysnative\\msconfig.exe"},
      {L"narrator", L"C:\\Windows\\Sysnative\\narrator.exe"},
      {L"only32", L""},  // no 64-bit form: the platform's own start decides
      {L"mmc.exe services.msc", L"C:\\Windows\\Sysnative\\mmc.exe", L"services.msc"},
      {L"rundll32.exe url.dll,FileProtocolHandler C:/a b/c.exe",
       L"C:\\Windows\\Sysnative\\rundll32.exe", L"url.dll,FileProtocolHandler C:/a b/c.exe"},
      {L"wmic", L"C:\\Windows\\Sysnative\\Wbem\\wmic.exe"},  // a PATH folder below System32
      {L"odd", L"C:\\Windows\\System32x\\odd.exe"},          // not the system folder
      {L"notepad", L"C:\\Tools\\notepad.exe"},
      {L"here", L"D:\\Work\\here.exe"},
      {L"tool.cmd", L"C:\\Bin\\tool.cmd"},
      {L"C:\\\\Program Files\\\\Internet Explorer\\\\IEXPLORE.exe http://x y",
       L"C:\\\\Program Files\\\\Internet Explorer\\\\IEXPLORE.exe", L"http://x y"},
      {L"C:\\my tools\\x.exe", L"C:\\my.exe", L"tools\\x.exe"},  // the shortest leading part
      {L"C:\\Windows\\System32\\mmc.exe x", L"C:\\Windows\\Sysnative\\mmc.exe", L"x"},
      {L"\"C:\\a b\\c.exe\"  \"C:\\a b\\c.exe\"", L"C:\\a b\\c.exe", L"\"C:\\a b\\c.exe\""},
      {L"\"C:\\a b\"\\c.exe", L""},  // a quoted first part is the only one
      {L"  msconfig", L"C:\\Windows\\Sysnative\\msconfig.exe"},
      {L"missing", L""},
      {L"", L""},
  };
  for (const auto& c : cases) {
    const NativeProgram found = LocateNativeProgram(c.command_line, Search(), is_file);
    EXPECT_EQ(found.program, c.program) << c.command_line;
    EXPECT_EQ(found.arguments, c.arguments) << c.command_line;
  }

  ProgramSearch no_current = Search();
  no_current.search_current_folder = false;
  EXPECT_EQ(FindNativeProgram(L"here", no_current, is_file), L"C:\\Windows\\Sysnative\\here.exe");
}

}  // namespace
}  // namespace commandbox
