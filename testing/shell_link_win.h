// Shortcuts made by the shell's own IShellLinkW, as installers make them.
#ifndef TESTING_SHELL_LINK_WIN_H_
#define TESTING_SHELL_LINK_WIN_H_

#include <string>

namespace testing_support {

// Writes the shortcut `path` (folders above it are made) to `target` with
// `arguments` and `working_folder`; COM is initialized for the call.
bool MakeShellLink(const std::wstring& path,
                   const std::wstring& target,
                   const std::wstring& arguments = L"",
                   const std::wstring& working_folder = L"");

}  // namespace testing_support

#endif  // TESTING_SHELL_LINK_WIN_H_
