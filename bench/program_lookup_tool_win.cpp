// program_lookup make
// program_lookup measure ROUNDS
//
// "make" lays 500 shortcuts (made by IShellLinkW) out in 40 folders of the
// user's Start menu, a third of them with Chinese names, every target an
// existing file. "measure" times the command box's look-up of installed
// programs over them: the first look-up of the process (cold: the shell's
// folders asked, COM and the shell's link object loaded for the first
// time) and the best of ROUNDS later ones (warm), for a word that names no
// program (the whole walk, no shortcut opened) and for one that names a
// program by its pinyin (the walk, one shortcut opened); against a bare
// FindFirstFileW walk of the same folders, first and best of ROUNDS.
#include <cstdio>
#include <string>

#include "command-box/installed_programs_win.h"
#include "common/platform_win.h"
#include "common/window_win.h"
#include "testing/shell_link_win.h"
#include "testing/win_test_support_win.h"

#include <shlobj.h>

namespace {

double Now() {
  LARGE_INTEGER frequency, now;
  ::QueryPerformanceFrequency(&frequency);
  ::QueryPerformanceCounter(&now);
  return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

size_t BareWalk(const std::wstring& folder) {
  size_t entries = 0;
  WIN32_FIND_DATAW data;
  const HANDLE find = ::FindFirstFileW((folder + L"\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE)
    return 0;
  std::vector<std::wstring> folders;
  do {
    ++entries;
    const std::wstring name = data.cFileName;
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != L"." && name != L"..")
      folders.push_back(folder + L"\\" + name);
  } while (::FindNextFileW(find, &data));
  ::FindClose(find);
  for (const std::wstring& sub : folders)
    entries += BareWalk(sub);
  return entries;
}

const wchar_t* const kChinese[] = {L"微信",   L"网易云音乐", L"腾讯视频", L"百度网盘", L"钉钉",
                                   L"爱奇艺", L"搜狗输入法", L"金山毒霸", L"迅雷影音", L"有道词典"};

int Make() {
  const std::wstring menu = common::ShellFolderPaths({CSIDL_PROGRAMS})[0];
  const std::wstring targets = L"C:\\bench-targets";
  testing_support::MakeFolders(targets);
  int made = 0;
  for (int f = 0; f < 40; ++f) {
    const std::wstring folder = menu + L"\\Bench " + std::to_wstring(f);
    for (int s = 0; s < 13 && made < 500; ++s, ++made) {
      const std::wstring target = targets + L"\\p" + std::to_wstring(made) + L".exe";
      testing_support::WriteFileBytes(target, "MZ");
      const std::wstring name = made % 3 == 0
                                    ? std::wstring(kChinese[made / 3 % 10]) + std::to_wstring(made)
                                    : L"Bench Program " + std::to_wstring(made);
      if (!testing_support::MakeShellLink(folder + L"\\" + name + L".lnk", target))
        return 1;
    }
  }
  std::printf("made %d shortcuts in 40 folders\n", made);
  return 0;
}

int Measure(int rounds) {
  commandbox::Win32InstalledPrograms port([] { return static_cast<HWND>(nullptr); });
  auto time = [&](const std::wstring& typed, size_t* found) {
    const double start = Now();
    *found = commandbox::FindInstalledPrograms(port, typed).size();
    return Now() - start;
  };
  size_t found = 0, hit_found = 0;
  const double miss_cold = time(L"nosuchprogram", &found);
  const double hit_cold = time(L"dd312", &hit_found);  // 钉钉312 by its initials
  double miss_warm = 1e9, hit_warm = 1e9;
  for (int r = 0; r < rounds; ++r) {
    miss_warm = std::min(miss_warm, time(L"nosuchprogram", &found));
    hit_warm = std::min(hit_warm, time(L"dd312", &hit_found));
  }
  std::vector<std::wstring> roots;
  for (const commandbox::ProgramFolder& folder : port.Folders())
    roots.push_back(folder.path);
  auto bare = [&](size_t* entries) {
    const double start = Now();
    *entries = 0;
    for (const std::wstring& root : roots)
      *entries += BareWalk(root);
    return Now() - start;
  };
  size_t entries = 0;
  const double bare_first = bare(&entries);
  double bare_best = 1e9;
  for (int r = 0; r < rounds; ++r)
    bare_best = std::min(bare_best, bare(&entries));
  std::printf(
      "installed programs look-up, %zu entries in the shell's folders: "
      "no match %.1f ms first, %.1f ms warm; by pinyin (%zu found) %.1f ms first, "
      "%.1f ms warm; bare FindFirstFileW walk %.1f ms first, %.1f ms warm (%.2fx warm)\n",
      entries, miss_cold, miss_warm, hit_found, hit_cold, hit_warm, bare_first, bare_best,
      bare_best > 0 ? miss_warm / bare_best : 0.0);
  return found == 0 && hit_found == 1 ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc >= 2 && std::wstring(argv[1]) == L"make")
    return Make();
  if (argc >= 3 && std::wstring(argv[1]) == L"measure")
    return Measure(std::stoi(argv[2]));
  std::fprintf(stderr, "usage: program_lookup make | measure ROUNDS\n");
  return 2;
}
