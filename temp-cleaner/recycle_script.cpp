#include "temp-cleaner/recycle_script.h"

namespace tempclean {

std::wstring RecycleScriptText() {
  static const wchar_t* const kLines[] = {
      L"@echo off",
      L"color 1f",
      L"title 清空回收站",
      L"mode con lines=4 cols=23",
      L"echo.",
      L"echo   请稍候 ...",
      L"setlocal enabledelayedexpansion",
      L"for /f \"delims=\\\" %%i in ('fsutil fsinfo drives^|find /v \"\"') do (",
      L"    set var=%%i",
      L"    set drive=!var:~-2!",
      L"    fsutil fsinfo drivetype !drive!|find \"固定\">nul && (",
      L"    if exist !drive!\\RECYCLER rd/s/q !drive!\\RECYCLER >nul 2>nul",
      L"    if exist !drive!\\Recycled rd/s/q !drive!\\Recycled >nul 2>nul",
      L"    )",
      L")",
      L"taskkill /f /im explorer.exe >nul",
      L"start \"\" \"explorer.exe\"",
      L"del RECYCLER.bat",
  };
  std::wstring text;
  for (const wchar_t* line : kLines) {
    text += line;
    text += L"\r\n";
  }
  return text;
}

}  // namespace tempclean
