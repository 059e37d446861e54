#include "command-box/tool_successors.h"

#include <string_view>

#include "command-box/tool_keywords.h"

namespace commandbox {
namespace {

// The tools that took the place of a keyword's own program, tried in this
// order where that program is missing; the first that this Windows has
// (from the version given, its program found, its URI scheme registered)
// starts. A row's keyword stands for itself and for its ".exe" form.
struct Successor {
  const wchar_t* keyword;
  const wchar_t* start;
  ToolStart::Way way;
  WindowsVersion from;
};
constexpr ToolStart::Way kLine = ToolStart::Way::kCommandLine;
constexpr ToolStart::Way kUri = ToolStart::Way::kShell;
constexpr Successor kSuccessors[] = {
    {L"sndvol32", L"SndVol.exe", kLine, {}},
    {L"winmsd", L"msinfo32.exe", kLine, {}},
    {L"dfrg.msc", L"dfrgui.exe", kLine, {}},
    {L"wupdmgr", L"ms-settings:windowsupdate", kUri, {10, 0, 0}},
    {L"wupdmgr", L"control /name Microsoft.WindowsUpdate", kLine, {6, 0, 0}},
    {L"ntbackup", L"sdclt.exe", kLine, {}},
    {L"sndrec32", L"SoundRecorder.exe", kLine, {}},
    {L"drwtsn32", L"perfmon /rel", kLine, {6, 0, 0}},
    // The clipboard page of Settings exists from Windows 10 1809.
    {L"clipbrd", L"ms-settings:clipboard", kUri, {10, 0, 17763}},
    // Home editions have no local users console.
    {L"lusrmgr.msc", L"control userpasswords2", kLine, {}},
};

// Why a keyword's program is missing, where that is known.
struct Reason {
  const wchar_t* keyword;
  const wchar_t* why;
  bool on_64_bit_only;  // the reason holds on 64-bit Windows only
};
constexpr wchar_t kGoneInVista[] = L"Windows Vista 起已不再提供这个程序";
constexpr wchar_t kSixteenBit[] = L"它是 16 位程序，64 位 Windows 不能运行";
constexpr Reason kReasons[] = {
    {L"sndvol32", kGoneInVista, false},
    {L"drwtsn32", kGoneInVista, false},
    {L"winchat", kGoneInVista, false},
    {L"ddeshare", kGoneInVista, false},
    {L"clipbrd", kGoneInVista, false},
    {L"progman", kGoneInVista, false},
    {L"ntbackup", kGoneInVista, false},
    {L"sndrec32", kGoneInVista, false},
    {L"syskey", L"Windows 10 1709 起已不再提供这个程序", false},
    {L"syncapp", L"Windows 10 起已不再提供这个程序", false},
    {L"write", L"Windows 11 24H2 起已不再提供这个程序", false},
    {L"mem", kSixteenBit, true},
    {L"sysedit", kSixteenBit, true},
};

bool Names(const wchar_t* row_keyword, const std::wstring& keyword) {
  const std::wstring_view row(row_keyword);
  if (keyword == row)
    return true;
  return keyword.size() == row.size() + 4 && keyword.compare(0, row.size(), row) == 0 &&
         keyword.compare(row.size(), 4, L".exe") == 0;
}

bool IsConsoleKeyword(const std::wstring& keyword) {
  for (const wchar_t* console : ConsoleKeywords())
    if (keyword == console)
      return true;
  return false;
}

std::wstring MissingMessage(const std::wstring& keyword, ProgramLookupPort& lookup) {
  for (const Reason& reason : kReasons) {
    if (Names(reason.keyword, keyword) && (!reason.on_64_bit_only || lookup.Is64BitWindows()))
      return L"“" + keyword + L"”无法启动：" + reason.why + L"。";
  }
  return L"“" + keyword + L"”无法启动：这台电脑的 Windows 中没有它的程序。";
}

}  // namespace

ToolStart ChooseToolStart(const std::wstring& keyword, ProgramLookupPort& lookup) {
  const std::wstring own = ToolCommandLine(keyword).value_or(keyword);
  const bool console = IsConsoleKeyword(keyword);
  if (console ? lookup.SystemFileExists(keyword) : !lookup.Locate(own).program.empty())
    return {ToolStart::Way::kCommandLine, own};
  const WindowsVersion version = lookup.Version();
  for (const Successor& successor : kSuccessors) {
    if (!Names(successor.keyword, keyword) || version < successor.from)
      continue;
    const std::wstring start = successor.start;
    const bool there = successor.way == ToolStart::Way::kShell
                           ? lookup.SchemeRegistered(start.substr(0, start.find(L':')))
                           : !lookup.Locate(start).program.empty();
    if (there)
      return {successor.way, start};
  }
  if (console)
    return {ToolStart::Way::kCommandLine, own};
  return {ToolStart::Way::kMessage, MissingMessage(keyword, lookup)};
}

}  // namespace commandbox
