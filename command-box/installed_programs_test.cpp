#include "command-box/installed_programs.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "command-box/interpreter.h"
#include "command-box/web_lookups.h"
#include "testing/fake_command_box_host.h"

namespace commandbox {
namespace {

const std::wstring kUserMenu =
    L"C:\\Users\\u\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs";
const std::wstring kCommonMenu = L"C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs";
const std::wstring kDesktop = L"C:\\Users\\u\\Desktop";
const std::wstring kPublicDesktop = L"C:\\Users\\Public\\Desktop";

// Folders, shortcuts and App Paths as a Windows 10 of a Chinese user has
// them; the port records what it opens.
class FakePrograms : public InstalledProgramsPort {
 public:
  std::vector<ProgramFolder> Folders() override {
    // The Desktops first: the finder itself puts the Start menus before them.
    return {{kDesktop, false}, {kUserMenu, true}, {kCommonMenu, true}, {kPublicDesktop, false}};
  }
  std::vector<std::wstring> StartupFolders() override { return {kUserMenu + L"\\StartUp"}; }
  std::vector<FolderEntry> List(const std::wstring& folder) override {
    std::vector<FolderEntry> entries;
    for (const auto& [path, shortcut] : shortcuts)
      if (path.substr(0, path.rfind(L'\\')) == folder)
        entries.push_back({path.substr(path.rfind(L'\\') + 1)});
    for (const std::wstring& sub : folders)
      if (sub.substr(0, sub.rfind(L'\\')) == folder)
        entries.push_back({sub.substr(sub.rfind(L'\\') + 1), true, links.count(sub) > 0});
    if (localized.count(folder))
      entries.push_back({L"desktop.ini"});
    return entries;
  }
  std::vector<std::pair<std::wstring, std::wstring>> LocalizedNames(
      const std::wstring& folder) override {
    return localized[folder];
  }
  std::wstring LoadIndirectString(const std::wstring& reference) override {
    return reference == L"@%SystemRoot%\\system32\\SnippingTool.exe,-15051" ? L"截图工具" : L"";
  }
  ShortcutTarget ReadShortcut(const std::wstring& path) override {
    ++reads;
    return {true, shortcuts[path].first, shortcuts[path].second};
  }
  bool Exists(const std::wstring& path) override { return !missing.count(path); }
  std::vector<AppPathEntry> AppPaths() override {
    return {{L"AcmeEdit.exe", L"\"C:\\Acme\\acmeedit.exe\""}, {L"gone.exe", L"C:\\Gone\\gone.exe"}};
  }
  bool OpenShortcut(const std::wstring& path) override {
    opened.push_back(L"lnk:" + path);
    return true;
  }
  bool OpenAppPath(const std::wstring& key) override {
    opened.push_back(L"app:" + key);
    return true;
  }
  std::optional<size_t> Choose(const std::vector<std::wstring>& lines) override {
    menu = lines;
    return choice;
  }

  // Shortcut path -> target and arguments.
  std::map<std::wstring, std::pair<std::wstring, std::wstring>> shortcuts = {
      {kUserMenu + L"\\微信\\微信.lnk", {L"C:\\Program Files\\Tencent\\WeChat\\WeChat.exe", L""}},
      {kUserMenu + L"\\微信\\卸载微信.lnk",
       {L"C:\\Program Files\\Tencent\\WeChat\\Uninstall.exe", L""}},
      {kDesktop + L"\\微信.lnk", {L"C:\\Program Files\\Tencent\\WeChat\\WeChat.exe", L""}},
      {kUserMenu + L"\\网易云音乐.lnk", {L"C:\\CloudMusic\\cloudmusic.exe", L""}},
      {kCommonMenu + L"\\网易云音乐\\网易云音乐.lnk", {L"C:\\CloudMusic\\cloudmusic.exe", L""}},
      {kCommonMenu + L"\\腾讯软件\\腾讯QQ.lnk", {L"C:\\Tencent\\QQ\\Bin\\QQ.exe", L""}},
      {kCommonMenu + L"\\Adobe Photoshop 2024.lnk", {L"C:\\Adobe\\Photoshop.exe", L""}},
      {kCommonMenu + L"\\WPS Office\\WPS Office.lnk", {L"C:\\WPS\\ksolaunch.exe", L"/prometheus"}},
      {kCommonMenu + L"\\Accessories\\Snipping Tool.lnk", {L"C:\\Windows\\SnippingTool.exe", L""}},
      {kCommonMenu + L"\\Accessories\\Paint.lnk", {L"C:\\Windows\\mspaint.exe", L""}},
      {kCommonMenu + L"\\Acme Suite.lnk", {L"", L""}},  // advertised: no plain target
      {kPublicDesktop + L"\\迅雷.lnk", {L"C:\\Thunder\\Thunder.exe", L""}},
      {kUserMenu + L"\\StartUp\\Helper.lnk", {L"C:\\Helper\\helper.exe", L""}},
      {kUserMenu + L"\\Old App.lnk", {L"C:\\Old\\old.exe", L""}},
      {kUserMenu + L"\\Linked\\Loop.lnk", {L"C:\\Loop\\loop.exe", L""}},
      {kUserMenu + L"\\notepad.lnk", {L"C:\\Windows\\notepad.exe", L""}},
      {kUserMenu + L"\\QQ.lnk", {L"C:\\Tencent\\QQ\\Bin\\QQ.exe", L""}},
      {kUserMenu + L"\\Foxmail.lnk", {L"C:\\Foxmail\\Foxmail.exe", L""}},
      {kCommonMenu + L"\\Editor.lnk", {L"C:\\Editors\\a.exe", L""}},
      {kDesktop + L"\\Editor.lnk", {L"C:\\Editors\\b.exe", L""}},
  };
  std::set<std::wstring> folders = {kUserMenu + L"\\微信",         kUserMenu + L"\\StartUp",
                                    kUserMenu + L"\\Linked",       kCommonMenu + L"\\网易云音乐",
                                    kCommonMenu + L"\\腾讯软件",   kCommonMenu + L"\\WPS Office",
                                    kCommonMenu + L"\\Accessories"};
  std::set<std::wstring> links = {kUserMenu + L"\\Linked"};
  std::map<std::wstring, std::vector<std::pair<std::wstring, std::wstring>>> localized = {
      {kCommonMenu + L"\\Accessories",
       {{L"Snipping Tool.lnk", L"@%SystemRoot%\\system32\\SnippingTool.exe,-15051"},
        {L"Paint.lnk", L"画图"}}}};
  std::set<std::wstring> missing = {L"C:\\Old\\old.exe", L"C:\\Gone\\gone.exe"};
  std::optional<size_t> choice;
  std::vector<std::wstring> opened, menu;
  int reads = 0;
};

class ProgramsHost : public testing_support::FakeCommandBoxHost {
 public:
  InstalledProgramsPort* InstalledPrograms() override { return &programs; }
  FakePrograms programs;
};

// Typed lines and what each starts: the shortcut or App Paths program
// opened, or else the command line the box starts as it does without them.
TEST(InstalledProgramsTest, TypedLinesStartTheirPrograms) {
  const std::wstring browser = BrowserCommandLine(L"");
  const std::wstring wechat = L"lnk:" + kUserMenu + L"\\微信\\微信.lnk";
  const std::wstring music = L"lnk:" + kUserMenu + L"\\网易云音乐.lnk";
  const std::wstring qq = L"lnk:" + kCommonMenu + L"\\腾讯软件\\腾讯QQ.lnk";
  const std::wstring snipping = L"lnk:" + kCommonMenu + L"\\Accessories\\Snipping Tool.lnk";
  struct Case {
    std::wstring typed;
    std::wstring starts;
    int reads;        // shortcuts opened to read their target
    size_t menu = 0;  // lines of the menu shown
    std::optional<size_t> choice = std::nullopt;
  };
  const Case cases[] = {
      {L"微信", wechat, 2},  // Start menu and Desktop: one program, the Start menu's
      {L"腾讯QQ", qq, 1},
      {L"迅雷", L"lnk:" + kPublicDesktop + L"\\迅雷.lnk", 1},
      {L"adobe photoshop 2024", L"lnk:" + kCommonMenu + L"\\Adobe Photoshop 2024.lnk", 1},
      {L"WPS Office", L"lnk:" + kCommonMenu + L"\\WPS Office\\WPS Office.lnk", 1},
      {L"网易云音乐", music, 2},
      {L"截图工具", snipping, 1},
      {L"Snipping Tool", snipping, 1},
      {L"画图", L"lnk:" + kCommonMenu + L"\\Accessories\\Paint.lnk", 1},
      {L"acme suite", L"lnk:" + kCommonMenu + L"\\Acme Suite.lnk", 1},
      {L"acmeedit", L"app:AcmeEdit.exe", 0},
      {L"wx", wechat, 2},
      {L"weixin", wechat, 2},
      {L"WeiXin", wechat, 2},
      {L"wangyiyunyinyue", music, 2},
      {L"wangyiyunyinle", music, 2},
      {L"jtgj", snipping, 1},
      {L"txqq", qq, 1},
      {L"huatu", L"lnk:" + kCommonMenu + L"\\Accessories\\Paint.lnk", 1},
      // Two programs of one name: the menu, and the one chosen there.
      {L"editor", L"lnk:" + kDesktop + L"\\Editor.lnk", 2, 2, 1},
      // What does not change.
      {L"editor", browser + L"editor", 2, 2},  // the menu closed by Esc
      {L"notepad", L"notepad", 0},
      {L"qq", BrowserCommandLine(SiteAddress(L"qq")), 0},
      {L"xunlei", BrowserCommandLine(SiteAddress(L"xunlei")), 0},
      {L"微信 登录", BrowserCommandLine(SearchAddress(L"微信 登录")), 0},
      {L"微", BrowserCommandLine(SearchAddress(L"微")), 0},
      {L"wxdl", browser + L"wxdl", 0},
      {L"xzwx", browser + L"xzwx", 0},  // an uninstall entry by pinyin
      {L"卸载微信", L"lnk:" + kUserMenu + L"\\微信\\卸载微信.lnk", 1},  // by its name it answers
      {L"helper", browser + L"helper", 0},                              // in Startup
      {L"old app", browser + L"old app", 1},                            // its program uninstalled
      {L"gone", browser + L"gone", 0},    // an App Paths key without its program
      {L"loop", browser + L"loop", 0},    // behind a link
      {L"weixi", browser + L"weixi", 0},  // no prefix
      {L"unknownword", browser + L"unknownword", 0},
      {L"foxmail", L"rundll32.exe url.dll,FileProtocolHandler C:/Tools/lnk/foxmail", 0},
      {L"c:\\微信", L"rundll32.exe url.dll,FileProtocolHandler c:/微信", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    ProgramsHost host;
    host.AddFile(L"C:\\Tools\\lnk\\foxmail.lnk");
    host.programs.choice = c.choice;
    CommandBoxFields fields;
    Interpreter interpreter(fields, host);
    interpreter.OnText1Changed(c.typed);
    interpreter.Command1_Click();
    std::vector<std::wstring> started = host.programs.opened;
    started.insert(started.end(), host.starts.begin(), host.starts.end());
    EXPECT_EQ(started, std::vector<std::wstring>{c.starts});
    EXPECT_EQ(host.programs.reads, c.reads);
    EXPECT_EQ(host.programs.menu.size(), c.menu);
    EXPECT_EQ(fields.Text1, L"");
  }
}

}  // namespace
}  // namespace commandbox
