#include "command-box/default_browser.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "command-box/web_lookups.h"
#include "common/text_rules.h"

namespace commandbox {
namespace {

class FakeBrowserRegistry : public BrowserRegistryPort {
 public:
  std::wstring UserChoice() override { return choice; }
  std::wstring OpenCommand(const std::wstring& class_name) override {
    const auto found = commands.find(class_name);
    return found == commands.end() ? std::wstring() : found->second;
  }
  // File names in any letter case, as on Windows.
  bool FileExists(const std::wstring& path) override {
    for (const std::wstring& file : files)
      if (common::ToLowerAscii(file) == common::ToLowerAscii(path))
        return true;
    return false;
  }

  std::wstring choice;
  std::map<std::wstring, std::wstring> commands;
  std::set<std::wstring> files;
};

const std::wstring kIe = L"C:\\Program Files\\Internet Explorer\\iexplore.exe";
const std::wstring kIeCommand = L"\"" + kIe + L"\" %1";
const std::wstring kChrome = L"C:\\Program Files\\Google\\Chrome\\Application\\chrome.exe";

// Registry layouts as the Windows versions and the browsers' installers
// leave them, and the start of the command line a browser run gets.
TEST(DefaultBrowserTest, PrefixFollowsTheRegisteredBrowser) {
  const std::wstring user_chrome =
      L"C:\\Users\\王\\AppData\\Local\\Google\\Chrome\\Application\\chrome.exe";
  const std::wstring firefox = L"C:\\Program Files\\Mozilla Firefox\\firefox.exe";
  const struct {
    const char* layout;
    std::wstring choice;
    std::map<std::wstring, std::wstring> commands;
    std::set<std::wstring> files;
    std::wstring prefix;
  } cases[] = {
      {"XP, Internet Explorer only",
       L"",
       {{L"http", L"\"" + kIe + L"\" -nohome"}},
       {kIe},
       kBrowserPrefix},
      {"XP, the class in short names",
       L"",
       {{L"http", L"C:\\PROGRA~1\\INTERN~1\\iexplore.exe -nohome"}},
       {kIe, L"C:\\PROGRA~1\\INTERN~1\\iexplore.exe"},
       kBrowserPrefix},
      {"7, Chrome of the user in the http class",
       L"",
       {{L"http", L"\"" + user_chrome + L"\" -- \"%1\""}},
       {kIe, user_chrome},
       L"\"" + user_chrome + L"\" "},
      {"7 64-bit, its 32-bit Internet Explorer the default",
       L"",
       {{L"http", L"\"C:\\Program Files (x86)\\Internet Explorer\\iexplore.exe\" -nohome"}},
       {kIe, L"C:\\Program Files (x86)\\Internet Explorer\\iexplore.exe"},
       kBrowserPrefix},
      {"7, Firefox's command unquoted",
       L"",
       {{L"http", firefox + L" -osint -url \"%1\""}},
       {kIe, firefox},
       L"\"" + firefox + L"\" "},
      {"10, the user's choice, Internet Explorer removed",
       L"ChromeHTML",
       {{L"http", kIeCommand}, {L"ChromeHTML", L"\"" + kChrome + L"\" --single-argument %1"}},
       {kChrome},
       L"\"" + kChrome + L"\" "},
      {"10, the chosen browser uninstalled, its ProgId left",
       L"360SeSES",
       {{L"http", kIeCommand},
        {L"360SeSES", L"\"C:\\Program Files\\360\\360se6\\Application\\360se.exe\" -- \"%1\""}},
       {kIe},
       kBrowserPrefix},
      {"10, the chosen ProgId gone, a browser in the http class",
       L"ChromeHTML",
       {{L"http", L"\"" + kChrome + L"\" -- \"%1\""}},
       {kChrome},
       L"\"" + kChrome + L"\" "},
      {"Windows on D:, Internet Explorer the default",
       L"",
       {{L"http", L"\"D:\\Program Files\\Internet Explorer\\iexplore.exe\" -nohome"}},
       {L"D:\\Program Files\\Internet Explorer\\iexplore.exe"},
       L"\"D:\\Program Files\\Internet Explorer\\iexplore.exe\" "},
      {"no browser registered", L"", {}, {}, kBrowserPrefix},
  };
  for (const auto& c : cases) {
    FakeBrowserRegistry registry;
    registry.choice = c.choice;
    registry.commands = c.commands;
    registry.files = c.files;
    EXPECT_EQ(DefaultBrowserPrefix(registry), c.prefix) << c.layout;
  }
}

}  // namespace
}  // namespace commandbox
