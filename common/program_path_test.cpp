#include "common/program_path.h"

#include <gtest/gtest.h>

namespace common {
namespace {

TEST(ProgramPathTest, SplitTable) {
  const struct {
    const wchar_t* path;
    const wchar_t* folder;
    const wchar_t* base;
  } cases[] = {
      {L"C:\\Program Files\\Tovrix\\Tovrix.exe", L"C:\\Program Files\\Tovrix", L"Tovrix"},
      {L"D:\\Tovrix.exe", L"D:\\", L"Tovrix"},
      {L"C:\\工具\\临时.EXE", L"C:\\工具", L"临时"},
      {L"C:\\a.b\\prog.v1.exe", L"C:\\a.b", L"prog.v1"},
      {L"C:\\dir\\noext", L"C:\\dir", L"noext"},
  };
  for (const auto& c : cases) {
    const ProgramPath p = SplitProgramPath(c.path);
    EXPECT_EQ(p.folder, c.folder) << c.path;
    EXPECT_EQ(p.base_name, c.base) << c.path;
  }
}

TEST(ProgramPathTest, RunValueData) {
  EXPECT_EQ(RunValueData({L"C:\\Tools", L"Tovrix"}), L"C:\\Tools\\Tovrix.Exe");
  EXPECT_EQ(RunValueData({L"D:\\", L"Tovrix"}), L"D:\\Tovrix.Exe");
  EXPECT_EQ(RunValueData({L"E:\\", L"tmpsweep"}), L"E:\\tmpsweep.Exe");
}

TEST(ProgramPathTest, JoinPath) {
  EXPECT_EQ(JoinPath(L"C:\\Tools", L"ico.ico"), L"C:\\Tools\\ico.ico");
  EXPECT_EQ(JoinPath(L"C:\\", L"ico.ico"), L"C:\\ico.ico");
  EXPECT_EQ(JoinPath(L"C:/Tools/", L"ico.ico"), L"C:/Tools/ico.ico");
}

}  // namespace
}  // namespace common
