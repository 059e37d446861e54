// Which web browser a browser run starts: the user's default browser, the
// program registered for "http", where there is one and its program file
// exists; Internet Explorer at its standard place otherwise and wherever
// Internet Explorer itself is the default.
#ifndef COMMAND_BOX_DEFAULT_BROWSER_H_
#define COMMAND_BOX_DEFAULT_BROWSER_H_

#include <string>

namespace commandbox {

// What the registry and the shell answer about the http registration.
class BrowserRegistryPort {
 public:
  virtual ~BrowserRegistryPort() = default;
  // The ProgId of the user's own choice for http (the UserChoice key of
  // UrlAssociations\http), "" when the user has made none.
  virtual std::wstring UserChoice() = 0;
  // The open command of a class ("http" or a ProgId) as the shell reads it,
  // environment variables expanded; "" when the class has none.
  virtual std::wstring OpenCommand(const std::wstring& class_name) = 0;
  // True when a file (not a folder) of this name exists.
  virtual bool FileExists(const std::wstring& path) = 0;
};

// The program file an open command starts, found as the process start
// finds it: a quoted first part; else the shortest leading part up to a
// blank that names an existing file (".exe" added to a name without an
// ending). "" when none exists.
std::wstring CommandProgram(const std::wstring& command, BrowserRegistryPort& registry);

// The start of a browser run's command line, which the address follows:
// the default browser's program in quotes and one blank, or the fixed
// Internet Explorer prefix of web_lookups.h where no registered program
// exists or the registered one is Internet Explorer and stands at that
// place. The user's choice comes before the http class.
std::wstring DefaultBrowserPrefix(BrowserRegistryPort& registry);

}  // namespace commandbox

#endif  // COMMAND_BOX_DEFAULT_BROWSER_H_
