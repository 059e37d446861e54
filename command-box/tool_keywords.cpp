#include "command-box/tool_keywords.h"

namespace commandbox {
namespace {

// In the program's order; each started exactly as it stands.
constexpr const wchar_t* kDirectStart[] = {
    L"winver",
    L"winver.exe",
    L"dxdiag",
    L"mem",
    L"mem.exe",
    L"sndvol32",
    L"sndvol32.exe",
    L"sfc",
    L"sfc.exe",
    L"regedit",
    L"regedit.exe",
    L"msconfig",
    L"msconfig.exe",
    L"cmd",
    L"cmd.exe",
    L"chkdsk",
    L"chkdsk.exe",
    L"cleanmgr",
    L"cleanmgr.exe",
    L"iexpress",
    L"iexpress.exe",
    L"mmc",
    L"mmc.exe",
    L"taskmgr",
    L"taskmgr.exe",
    L"winchat",
    L"winchat.exe",
    L"dvdplay",
    L"dvdplay.exe",
    L"mspaint",
    L"mspaint.exe",
    L"nslookup",
    L"nslookup.exe",
    L"syskey",
    L"syskey.exe",
    L"clipbrd",
    L"clipbrd.exe",
    L"odbcad32",
    L"odbcad32.exe",
    L"wupdmgr",
    L"wupdmgr.exe",
    L"wscript",
    L"wscript.exe",
    L"write",
    L"write.exe",
    L"winmsd",
    L"winmsd.exe",
    L"wiaacmgr",
    L"wiaacmgr.exe",
    L"mstsc",
    L"mstsc.exe",
    L"drwtsn32",
    L"drwtsn32.exe",
    L"dcomcnfg",
    L"dcomcnfg.exe",
    L"ddeshare",
    L"ddeshare.exe",
    L"net stop messenger",
    L"net start messenger",
    L"notepad",
    L"notepad.exe",
    L"ntbackup",
    L"ntbackup.exe",
    L"narrator",
    L"narrator.exe",
    L"netstat -an",
    L"syncapp",
    L"syncapp.exe",
    L"sysedit",
    L"sysedit.exe",
    L"sigverif",
    L"sigverif.exe",
    L"sndrec32",
    L"sndrec32.exe",
    L"shrpubw",
    L"shrpubw.exe",
    L"sfc /scannow",
    L"tsshutdn",
    L"eventvwr",
    L"eventvwr.exe",
    L"explorer",
    L"explorer.exe",
    L"progman",
    L"progman.exe",
    L"regedt32",
    L"regedt32.exe",
    L"rononce -p",
    L"control",
    L"control.exe",
    L"logoff",
    L"logoff.exe",
};

// Started as "mmc.exe " + keyword.
constexpr const wchar_t* kConsole[] = {
    L"services.msc", L"gpedit.msc",  L"lusrmgr.msc", L"devmgmt.msc", L"diskmgmt.msc",
    L"compmgmt.msc", L"wmimgmt.msc", L"dfrg.msc",    L"ntmsmgr.msc", L"ntmsoprq.msc",
    L"secpol.msc",   L"perfmon.msc", L"rsop.msc",    L"fsmgmt.msc",
};

}  // namespace

std::span<const wchar_t* const> DirectStartKeywords() {
  return kDirectStart;
}
std::span<const wchar_t* const> ConsoleKeywords() {
  return kConsole;
}

std::optional<std::wstring> ToolCommandLine(const std::wstring& input) {
  for (const wchar_t* keyword : kDirectStart)
    if (input == keyword)
      return input;
  for (const wchar_t* keyword : kConsole)
    if (input == keyword)
      return L"mmc.exe " + input;
  return std::nullopt;
}

}  // namespace commandbox
