// The registry's answers about the http registration, read as the 64-bit
// shell reads them where a 32-bit Tovrix runs on 64-bit Windows.
#ifndef COMMAND_BOX_DEFAULT_BROWSER_WIN_H_
#define COMMAND_BOX_DEFAULT_BROWSER_WIN_H_

#include <string>

#include "command-box/default_browser.h"

namespace commandbox {

class Win32BrowserRegistry : public BrowserRegistryPort {
 public:
  std::wstring UserChoice() override;
  // The class's shell\open\command in the user's classes, else in the
  // machine's; a REG_EXPAND_SZ command expanded with the program folders
  // of the 64-bit side.
  std::wstring OpenCommand(const std::wstring& class_name) override;
  bool FileExists(const std::wstring& path) override;
};

// The start of a browser run's command line on this machine, asked afresh:
// the user may choose another browser while the box runs.
std::wstring CurrentBrowserPrefix();

}  // namespace commandbox

#endif  // COMMAND_BOX_DEFAULT_BROWSER_WIN_H_
