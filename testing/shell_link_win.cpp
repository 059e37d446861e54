#include "testing/shell_link_win.h"

#include <windows.h>

#include <objbase.h>
#include <shlobj.h>

#include "testing/win_test_support_win.h"

namespace testing_support {

bool MakeShellLink(const std::wstring& path,
                   const std::wstring& target,
                   const std::wstring& arguments,
                   const std::wstring& working_folder) {
  MakeFolders(path.substr(0, path.find_last_of(L'\\')));
  const bool com = SUCCEEDED(::CoInitialize(nullptr));
  IShellLinkW* link = nullptr;
  IPersistFile* file = nullptr;
  bool saved = false;
  if (SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**>(&link))) &&
      SUCCEEDED(link->SetPath(target.c_str())) &&
      SUCCEEDED(link->SetArguments(arguments.c_str())) &&
      (working_folder.empty() || SUCCEEDED(link->SetWorkingDirectory(working_folder.c_str()))) &&
      SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))))
    saved = SUCCEEDED(file->Save(path.c_str(), TRUE));
  if (file)
    file->Release();
  if (link)
    link->Release();
  if (com)
    ::CoUninitialize();
  return saved;
}

}  // namespace testing_support
