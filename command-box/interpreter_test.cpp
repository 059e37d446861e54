#include "command-box/interpreter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <sstream>

#include "command-box/tool_keywords.h"
#include "command-box/web_lookups.h"
#include "testing/fake_command_box_host.h"

namespace commandbox {
namespace {

using testing_support::FakeCommandBoxHost;

const std::wstring kIni = L"C:\\WINDOWS\\lnk.ini";
const std::wstring kBrowser = L"C:\\\\Program Files\\\\Internet Explorer\\\\IEXPLORE.exe ";
const std::wstring kOpen = L"rundll32.exe url.dll,FileProtocolHandler ";

// A box over a recording host.
struct Box {
  // Types a line into the box and presses Enter.
  void Run(const std::wstring& line) {
    interpreter_.OnText1Changed(line);
    interpreter_.Command1_Click();
  }
  std::wstring Setting(const std::wstring& key) { return host_.profile.Get(kIni, L"Option", key); }
  // The run always ends with an empty, focused box.
  void ExpectFinished() {
    EXPECT_EQ(fields_.Text1, L"");
    EXPECT_EQ(fields_.Text2, L"");
    EXPECT_EQ(fields_.Text3, L"");
    EXPECT_EQ(fields_.Text7, L"");
    EXPECT_EQ(host_.input_box, L"");
    EXPECT_GE(host_.focus_calls, 1);
  }

  CommandBoxFields fields_;
  FakeCommandBoxHost host_;
  Interpreter interpreter_{fields_, host_};
};

class InterpreterTest : public ::testing::Test, public Box {
 protected:
  using Box::Run;
};

TEST(InputRulesTest, DerivedFieldsFollowText1) {
  CommandBoxFields f;
  f.SetText1(L"c:\\music\\song.mp3");
  EXPECT_EQ(f.Text2, L".mp3");
  EXPECT_EQ(f.Text3, L"c:");
  EXPECT_EQ(f.Text7, L"p3");
  f.SetText1(L"x");
  EXPECT_EQ(f.Text2, L"x");
  EXPECT_EQ(f.Text3, L"x");
  EXPECT_EQ(f.Text7, L"x");
}

TEST(InputRulesTest, PrefixesAndEndings) {
  for (const wchar_t* p : {L"ht", L"Ht", L"HT", L"mm", L"Mm", L"MM"})
    EXPECT_TRUE(IsStreamPrefix(p));
  for (const wchar_t* p : {L"hT", L"mM", L"h", L"ft"})
    EXPECT_FALSE(IsStreamPrefix(p));
  int endings = 0;
  for (const wchar_t* base :
       {L"mp3", L"wma", L"asf", L"mid", L"wmv", L"avi", L"wav", L"mpg", L"wpl"}) {
    std::wstring lower = std::wstring(L".") + base;
    std::wstring title = lower, upper = lower;
    title[1] = static_cast<wchar_t>(towupper(title[1]));
    for (auto& c : upper)
      c = static_cast<wchar_t>(towupper(c));
    for (const auto& e : {lower, title, upper})
      endings += IsMediaEnding(e);
    std::wstring odd = lower;
    odd[2] = static_cast<wchar_t>(towupper(odd[2]));  // ".mP3"
    EXPECT_FALSE(IsMediaEnding(odd)) << odd;
  }
  EXPECT_EQ(endings, 27);
  for (const wchar_t* name : {L"notepad", L"记事本", L"a.b", L"a b"})
    EXPECT_TRUE(IsPlainFileName(name));
  for (const wchar_t* name :
       {L"", L"*", L"a?", L"c:x", L"a\"b", L"<a>", L"a|b", L"..\\x", L"a/b", L".", L"..", L"a\tb"})
    EXPECT_FALSE(IsPlainFileName(name)) << name;
}

// ---- step 0 and step 9 ---------------------------------------------------------

TEST_F(InterpreterTest, EmptyInputOnlySavesPosition) {
  host_.top = 4200;
  host_.left = 315;
  Run(L"");
  EXPECT_EQ(Setting(L"wl.top"), L"4200");
  EXPECT_EQ(Setting(L"wl.left"), L"315");
  EXPECT_EQ(fields_.Text4, L"4200");
  EXPECT_EQ(fields_.Text5, L"315");
  EXPECT_EQ(host_.profile.writes.size(), 2u);
  EXPECT_TRUE(host_.starts.empty());
  EXPECT_TRUE(host_.probes.empty());
  ExpectFinished();
  // The settings file follows "windir" as it is at each run.
  host_.windows_folder = L"D:\\WIN";
  Run(L"");
  EXPECT_EQ(host_.profile.writes.front().file, L"C:\\WINDOWS\\lnk.ini");
  EXPECT_EQ(host_.profile.writes.back().file, L"D:\\WIN\\lnk.ini");
}

// ---- the lines a step starts something for ---------------------------------------

// Each line in a box of its own: what it starts, and that it does nothing
// else (no transparency, no About, no message).
TEST(InterpreterLinesTest, EachLineStartsWhatItsStepGives) {
  const std::wstring account = kBrowser + L"http://user.qzone.qq.com/";
  const std::wstring mobile =
      kBrowser + L"http://www.ip138.com:8080/search.asp?action=mobile&mobile=";
  const std::wstring id =
      kBrowser + L"http://qq.ip138.com/idsearch/index.asp?action=idcard&userid=";
  const std::wstring ip = kBrowser + L"http://www.ip138.com/ips.asp?ip=";
  struct Row {
    std::wstring line;
    std::vector<std::wstring> started;
    const wchar_t* file = nullptr;  // a file the box's folders hold
  };
  std::vector<Row> rows = {
      // Step 5: the shortcut folder.
      {L"Lnk", {L"explorer.exe \"C:\\Tools\\lnk\""}},
      {L"lnk", {L"explorer.exe \"C:\\Tools\\lnk\""}},
      {L"LNK", {L"explorer.exe \"C:\\Tools\\lnk\""}},
      // Step 7: a shortcut, found in any of the folder's casings.
      {L"qq", {kOpen + L"C:/Tools/lnk/qq"}, L"C:\\Tools\\lnk\\qq.lnk"},
      {L"QQ2", {kOpen + L"C:/Tools/lnk/QQ2"}, L"C:\\Tools\\LNK\\QQ2.LNK"},
      {L"我的电脑", {kOpen + L"C:/Tools/lnk/我的电脑"}, L"C:\\Tools\\Lnk\\我的电脑.Lnk"},
      // Step 8: the tool keywords, exactly as listed.
      {L"notepad", {L"notepad"}},
      {L"notepad.exe", {L"notepad.exe"}},
      {L"dxdiag", {L"dxdiag"}},
      {L"netstat -an", {L"netstat -an"}},
      {L"mmc", {L"mmc"}},
      {L"sfc /scannow", {L"sfc /scannow"}},
      {L"winver", {L"winver"}},
      {L"net stop messenger", {L"net stop messenger"}},
      {L"logoff.exe", {L"logoff.exe"}},
      {L"services.msc", {L"mmc.exe services.msc"}},
      {L"fsmgmt.msc", {L"mmc.exe fsmgmt.msc"}},
      // Search, site keywords, local paths, addresses.
      {L"中国", {kBrowser + L"http://www.baidu.com/s?wd=中国"}},
      {L"，逗号", {kBrowser + L"http://www.baidu.com/s?wd=，逗号"}},
      {L"sina", {kBrowser + L"http://www.sina.com"}},
      {L"qz64", {kBrowser + L"http://www.qz64.com"}},
      {L"c:\\windows", {kOpen + L"c:/windows"}},
      {L"K:\\a b\\c.txt", {kOpen + L"K:/a b/c.txt"}},
      {L"1.1.1.1", {ip + L"1.1.1.1&action=2"}},
      {L"192.168.0.1", {ip + L"192.168.0.1&action=2"}},
      {L"12abc34", {ip + L"12abc34&action=2"}},
      // Numbers fire each look-up whose length they have.
      {L"12345678", {account + L"12345678"}},
      {L"1234567890", {account + L"1234567890"}},
      {L"12345", {account + L"12345"}},
      {L"13800138000", {mobile + L"13800138000"}},
      {L"110101199001011234", {id + L"110101199001011234"}},
      {L"110101900101123", {id + L"110101900101123"}},
      {L"163", {kBrowser + L"http://www.163.com"}},
      {L"58", {kBrowser + L"http://www.58.com"}},
      {L"1234", {}},
      {L"123456789012", {}},
      {L"1234567890123456", {}},
      {L"1234567890123456789", {}},
      {L"-123456", {account + L"-123456"}},
      {L"1.5e3", {account + L"1.5e3"}},
      {L" 42 ", {}},  // four characters: blanks count
      {L"  4242", {account + L"  4242"}},
  };
  // Look-alikes of the commands and keywords, and what no step takes: the
  // browser gets the line as typed.
  for (const wchar_t* line :
       {L"About ",  L"aBout",           L"tm20",     L"tm256",      L"tM100",
        L"tm",      L"tmabc",           L"tm-50",    L"TM300",      L"Download",
        L"autoRun", L"Notepad",         L"notepad ", L"dxdiag.exe", L"netstat",
        L"SINA",    L"www.example.com", L"z:\\data", L"1.2a",       L"http://www.example.com"})
    rows.push_back({line, {kBrowser + line}});
  for (const Row& row : rows) {
    SCOPED_TRACE(row.line);
    Box box;
    if (row.file)
      box.host_.AddFile(row.file);
    box.Run(row.line);
    EXPECT_EQ(box.host_.starts, row.started);
    EXPECT_EQ(box.host_.alpha_calls, 0);
    EXPECT_EQ(box.host_.about_shown, 0);
    EXPECT_TRUE(box.host_.messages.empty());
    box.ExpectFinished();
  }
}

// ---- step 1 and 2 ---------------------------------------------------------------

TEST_F(InterpreterTest, About) {
  for (const wchar_t* line : {L"ABOUT", L"About", L"about"}) {
    const int before = host_.about_shown;
    Run(line);
    EXPECT_EQ(host_.about_shown - before, 1) << line;
    EXPECT_TRUE(host_.starts.empty()) << line;
    ExpectFinished();
  }
}

TEST_F(InterpreterTest, Transparency) {
  const struct {
    const wchar_t* line;
    int alpha;
  } cases[] = {
      {L"tm100", 100}, {L"TM255", 255}, {L"Tm21", 21},     {L"tm20.5", 20}, {L"tm 100 ", 100},
      {L"tm21.5", 22}, {L"tm22.5", 22}, {L"tm255.5", 255}, {L"tm1e2", 100},
  };
  for (const auto& c : cases) {
    host_.alpha_calls = 0;
    Run(c.line);
    EXPECT_EQ(host_.alpha, c.alpha) << c.line;
    EXPECT_EQ(host_.alpha_calls, 1) << c.line;
    const std::wstring rest = std::wstring(c.line).substr(2);
    EXPECT_EQ(Setting(L"TM"), rest) << c.line;
    EXPECT_EQ(fields_.Text9, rest) << c.line;
    EXPECT_TRUE(host_.starts.empty()) << c.line;
    ExpectFinished();
  }
}

TEST_F(InterpreterTest, TransparencyRefreshesThePlayerOnlyWhileItExists) {
  fields_.Text10 = L"Text10";
  Run(L"tm100");
  EXPECT_TRUE(host_.player.events.empty());
  fields_.Text10 = L"1";
  Run(L"tm120");
  EXPECT_EQ(host_.player.events, (std::vector<std::wstring>{L"deferred-refresh"}));
  fields_.Text10 = L"0";
  Run(L"tm130");
  EXPECT_EQ(host_.player.events.size(), 1u);
}

// ---- step 3 ---------------------------------------------------------------------

TEST_F(InterpreterTest, DownloadWithoutMediaEndsInTheBrowser) {
  Run(L"download");
  EXPECT_TRUE(host_.player.exists);  // created hidden to read its address
  EXPECT_FALSE(host_.player.shown);
  EXPECT_EQ(host_.starts, (std::vector<std::wstring>{kBrowser + L"download"}));
  ExpectFinished();
}

// The current item's source, not the player's address, is opened.
TEST_F(InterpreterTest, DownloadOpensTheCurrentMediaSource) {
  host_.player.url = L"http://music.example.com/a.mp3";
  for (const auto& [line, source] : {std::pair{L"DOWNLOAD", L"http://music.example.com/a.mp3"},
                                     std::pair{L"download", L"D:\\Music\\歌.mp3"}}) {
    host_.player.source_url = source;
    host_.starts.clear();
    Run(line);
    EXPECT_EQ(host_.starts, (std::vector<std::wstring>{kBrowser + source})) << line;
  }
}

// ---- step 4 and 5 ---------------------------------------------------------------

TEST_F(InterpreterTest, AutorunTwiceTurnsOnThenOff) {
  Run(L"autorun");
  EXPECT_EQ(host_.registry_log, (std::vector<std::wstring>{L"write:Lnk=C:\\Tools\\Tovrix.Exe"}));
  EXPECT_EQ(Setting(L"AutoLnk"), L"1");
  EXPECT_EQ(fields_.Text8, L"1");
  ASSERT_EQ(host_.messages.size(), 1u);
  EXPECT_EQ(host_.messages[0],
            L"开机启动选项已经成功开启，如需取消开机启动请再次输入并执行本命令！");
  EXPECT_EQ(host_.titles[0], L"提示：");
  ExpectFinished();

  Run(L"AUTORUN");
  EXPECT_EQ(host_.registry_log,
            (std::vector<std::wstring>{L"write:Lnk=C:\\Tools\\Tovrix.Exe",
                                       L"write:Lnk=C:\\Tools\\Tovrix.Exe", L"delete:Lnk"}));
  EXPECT_EQ(Setting(L"AutoLnk"), L"0");
  EXPECT_EQ(fields_.Text8, L"0");
  EXPECT_EQ(host_.messages[1],
            L"开机启动选项已经成功关闭，如需Tovrix开机启动请再次输入并执行本命令！");
  EXPECT_TRUE(host_.run_values.empty());
  EXPECT_TRUE(host_.starts.empty());
  ExpectFinished();
}

// A program in a drive's root: its Run value and its shortcut folder.
TEST_F(InterpreterTest, AutorunFormsAndDriveRootProgramFolder) {
  host_.program = {L"D:\\", L"Tovrix"};
  for (const wchar_t* form : {L"AutoRun", L"Autorun"}) {
    host_.registry_log.clear();
    Run(form);
    EXPECT_EQ(host_.registry_log.front(), L"write:Lnk=D:\\Tovrix.Exe") << form;
  }
  host_.starts.clear();
  Run(L"lnk");
  EXPECT_EQ(host_.starts, (std::vector<std::wstring>{L"explorer.exe \"D:\\lnk\""}));
}

// The toggle goes by the Run value as it is when the command runs, whatever
// the flag read at start-up says: another start or another copy may have
// changed the value since.
TEST_F(InterpreterTest, AutorunFollowsTheRunValueAsItIs) {
  const std::wstring kOn = L"开机启动选项已经成功开启，如需取消开机启动请再次输入并执行本命令！";
  const std::wstring kOff = L"开机启动选项已经成功关闭，如需Tovrix开机启动请再次输入并执行本命令！";
  const struct {
    const char* name;
    const wchar_t* flag;    // Text8, from "AutoLnk" at start-up
    const wchar_t* stored;  // the Run value's data; nullptr: no value
    std::wstring message;
    bool value_after;
  } cases[] = {
      {"flag on, value gone", L"1", nullptr, kOn, true},
      {"flag off, value there", L"0", L"C:\\Tools\\Tovrix.Exe", kOff, false},
      {"no flag, value in another case and quoted", L"", L"\"c:\\tools\\TOVRIX.exe\"", kOff, false},
      {"flag on, value of another copy", L"1", L"D:\\Old\\Tovrix.Exe", kOn, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    host_.run_values.clear();
    host_.messages.clear();
    if (c.stored)
      host_.run_values[L"Lnk"] = c.stored;
    fields_.Text8 = c.flag;
    Run(L"autorun");
    ASSERT_EQ(host_.messages.size(), 1u);
    EXPECT_EQ(host_.messages[0], c.message);
    EXPECT_EQ(host_.run_values.count(L"Lnk"), c.value_after ? 1u : 0u);
    if (c.value_after)
      EXPECT_EQ(host_.run_values[L"Lnk"], L"C:\\Tools\\Tovrix.Exe");
    EXPECT_EQ(fields_.Text8, c.value_after ? L"1" : L"0");
    EXPECT_EQ(Setting(L"AutoLnk"), c.value_after ? L"1" : L"0");
  }
}

TEST_F(InterpreterTest, FailedRegistryWriteIsNotReportedAsSuccess) {
  host_.registry_fails = true;
  Run(L"autorun");
  EXPECT_EQ(fields_.Text8, L"");
  EXPECT_FALSE(host_.profile.Has(kIni, L"Option", L"AutoLnk"));
  ASSERT_EQ(host_.messages.size(), 1u);
  EXPECT_EQ(host_.messages[0].find(L"成功"), std::wstring::npos);
  ExpectFinished();
}

// ---- step 6 ---------------------------------------------------------------------

TEST_F(InterpreterTest, PluginRunsInsteadOfTheToolKeyword) {
  host_.AddFile(L"C:\\Tools\\plugin\\notepad.OCX");
  Run(L"notepad");
  EXPECT_EQ(host_.events,
            (std::vector<std::wstring>{
                L"rename:C:\\Tools\\plugin\\notepad.OCX>C:\\Tools\\plugin\\notepad.EXE",
                L"start:" + kOpen + L"C:/Tools/plugin/notepad.EXE",
                L"rename:C:\\Tools\\plugin\\notepad.EXE>C:\\Tools\\plugin\\notepad.OCX"}));
  EXPECT_EQ(host_.last_wait_ms, Interpreter::kPluginStartWaitMs);
  EXPECT_EQ(host_.starts.size(), 1u);  // "notepad" itself never started
  EXPECT_TRUE(host_.files.count(L"c:\\tools\\plugin\\notepad.ocx"));
  ExpectFinished();
}

// While the plug-in starts, the window answers messages: a second Enter, a
// click on the button, or a new line typed and entered, come in then.
TEST_F(InterpreterTest, InputDuringAPluginStartStartsNothingMore) {
  const struct {
    const char* what;
    const wchar_t* typed;  // nullptr: the box as it is
  } cases[] = {{"Enter again", nullptr}, {"another line", L"mspaint"}, {"an empty box", L""}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    host_.files.clear();
    host_.events.clear();
    host_.starts.clear();
    host_.profile.writes.clear();
    host_.AddFile(L"C:\\Tools\\plugin\\notepad.OCX");
    int nested = 0;
    host_.during_wait = [&] {
      ++nested;
      EXPECT_TRUE(interpreter_.running());
      if (c.typed)
        interpreter_.OnText1Changed(c.typed);
      interpreter_.Command1_Click();
    };
    Run(L"notepad");
    host_.during_wait = nullptr;
    EXPECT_EQ(nested, 1);
    EXPECT_EQ(host_.starts, (std::vector<std::wstring>{kOpen + L"C:/Tools/plugin/notepad.EXE"}));
    EXPECT_EQ(host_.events.size(), 3u);          // rename, start, rename back
    EXPECT_EQ(host_.profile.writes.size(), 2u);  // one run's position
    EXPECT_TRUE(host_.files.count(L"c:\\tools\\plugin\\notepad.ocx"));
    EXPECT_FALSE(interpreter_.running());
    ExpectFinished();
  }
  // The next run is a run like any other.
  host_.starts.clear();
  Run(L"mspaint");
  EXPECT_EQ(host_.starts, (std::vector<std::wstring>{L"mspaint"}));
}

// Drive and stream prefixes skip the plug-in and shortcut steps; odd names
// never reach the file look-ups.
TEST_F(InterpreterTest, OddNamesNeverReachTheFileLookups) {
  host_.AddFile(L"C:\\Tools\\plugin\\a.OCX");
  host_.AddFile(L"C:\\Tools\\lnk\\a.lnk");
  host_.AddFile(L"C:\\Tools\\plugin\\c:x.OCX");
  host_.AddFile(L"C:\\Tools\\plugin\\htx.OCX");
  host_.AddFile(L"C:\\Tools\\lnk\\MMx.lnk");
  for (const wchar_t* line :
       {L"c:\\windows", L"http://x", L"MMS://y", L"htx", L"MMx", L"*", L"a*", L"?", L"\"a\"",
        L"<a>", L"a|b", L"..\\plugin\\a", L"../lnk/a", L"x:a"}) {
    host_.probes.clear();
    host_.renames.clear();
    Run(line);
    EXPECT_TRUE(host_.probes.empty()) << line;
    EXPECT_TRUE(host_.renames.empty()) << line;
  }
}

TEST_F(InterpreterTest, PluginThatCannotBeRenamedIsNotStarted) {
  host_.AddFile(L"C:\\Tools\\plugin\\calc.OCX");
  host_.AddFile(L"C:\\Tools\\plugin\\calc.EXE");  // left over: the rename fails
  Run(L"calc");
  EXPECT_TRUE(host_.waited_starts.empty());
  EXPECT_EQ(host_.failures, 1);
  EXPECT_TRUE(host_.files.count(L"c:\\tools\\plugin\\calc.ocx"));
  ExpectFinished();
}

// ---- step 8a --------------------------------------------------------------------

TEST_F(InterpreterTest, LocalMediaShowsPlayerThenLyricsThenAddress) {
  Run(L"D:\\Music\\Song.mp3");
  EXPECT_EQ(host_.player.events, (std::vector<std::wstring>{L"show", L"lyrics:D:\\Music\\Song",
                                                            L"url:D:\\Music\\Song.mp3"}));
  EXPECT_EQ(fields_.Text6, L"D:\\Music\\Song");
  EXPECT_TRUE(host_.starts.empty());
  ExpectFinished();
}

TEST_F(InterpreterTest, StreamsAndAddressesWithoutScheme) {
  const struct {
    const wchar_t* line;
    const wchar_t* url;
  } cases[] = {
      {L"http://radio.example.com/live.wma", L"http://radio.example.com/live.wma"},
      {L"MMS://radio.example.com/live.asf", L"MMS://radio.example.com/live.asf"},
      {L"radio.example.com/live.wma", L"http://radio.example.com/live.wma"},
      {L"z:\\music\\a.mp3", L"http://z:\\music\\a.mp3"},
  };
  for (const auto& c : cases) {
    host_.player.events.clear();
    Run(c.line);
    EXPECT_EQ(host_.player.events,
              (std::vector<std::wstring>{L"row:840", L"show", L"clear-list", L"lyric-line:",
                                         std::wstring(L"url:") + c.url}))
        << c.line;
  }
}

TEST_F(InterpreterTest, FailedStartIsSignalledAndTheBoxStaysUsable) {
  host_.start_result = false;
  Run(L"notepad");
  EXPECT_EQ(host_.failures, 1);
  ExpectFinished();
}

// ---- the keyword table -------------------------------------------------------------

// Checked against what is known of the table without a copy of it: its
// sizes, no entry twice, and the start rules (InterpreterLinesTest starts
// rows of it).
TEST(ToolKeywordTableTest, KnownRowsAndStartRules) {
  const std::vector<std::wstring> direct(DirectStartKeywords().begin(),
                                         DirectStartKeywords().end());
  const std::vector<std::wstring> console(ConsoleKeywords().begin(), ConsoleKeywords().end());
  ASSERT_EQ(direct.size(), 91u);
  ASSERT_EQ(console.size(), 14u);
  std::set<std::wstring> seen;
  for (const auto& k : direct) {
    EXPECT_TRUE(seen.insert(k).second) << k;
    EXPECT_EQ(ToolCommandLine(k), k);
    // A tool listed by its name is listed with ".exe" as well, but for the
    // two the table gives without it.
    if (k.find(L' ') == std::wstring::npos && k.find(L'.') == std::wstring::npos &&
        k != L"dxdiag" && k != L"tsshutdn") {
      EXPECT_NE(std::find(direct.begin(), direct.end(), k + L".exe"), direct.end()) << k;
    }
  }
  for (const auto& k : console) {
    EXPECT_TRUE(seen.insert(k).second) << k;
    EXPECT_EQ(k.substr(k.size() - 4), L".msc");
    EXPECT_EQ(ToolCommandLine(k), L"mmc.exe " + k);
  }
}

TEST(WebLookupsTest, SiteKeywordsAndAddresses) {
  const auto sites = SiteKeywords();
  ASSERT_EQ(sites.size(), 18u);
  int numeric = 0;
  bool maker = false;
  for (const wchar_t* s : sites) {
    const std::wstring k = s;
    if (common::IsNumeric(k)) {
      ++numeric;
      EXPECT_TRUE(k.size() == 2 || k.size() == 3) << k;
    }
    maker |= k == L"qz64";
  }
  EXPECT_EQ(numeric, 4);
  EXPECT_TRUE(maker);
}

// ---- random lines ---------------------------------------------------------------------

// Whatever is typed, a run ends with an empty box, starts at most what the
// rules allow, and renames or starts no file but the one named.
TEST_F(InterpreterTest, RandomLinesKeepTheInvariants) {
  host_.AddFile(L"C:\\Tools\\plugin\\calc.OCX");
  host_.AddFile(L"C:\\Tools\\lnk\\qq.lnk");
  std::mt19937 random(20261209);
  // The pieces lines are made of; "␣" stands for a blank, "⇥" for a tab.
  std::vector<std::wstring> pieces;
  std::wistringstream words(
      L"中 文 ， １ 0 1 7 9 + - . e E ␣ c: D: z: \\ / .mp3 .WMA .wpl * ? : \" < > | tm TM http:// "
      L"mms:// calc qq notepad about autorun download lnk services.msc sina 163 .. a Z ⇥");
  for (std::wstring word; words >> word;)
    pieces.push_back(word == L"␣" ? L" " : word == L"⇥" ? L"\t" : word);
  ASSERT_EQ(pieces.size(), 47u);
  for (int i = 0; i < 100000; ++i) {
    std::wstring line;
    const int parts = static_cast<int>(random() % 8);
    for (int p = 0; p < parts; ++p)
      line += pieces[random() % pieces.size()];
    if (random() % 500 == 0)
      line += std::wstring(3000 + random() % 3000, L'字');
    host_.starts.clear();
    host_.renames.clear();
    host_.messages.clear();
    Run(line);
    ASSERT_EQ(fields_.Text1, L"") << i;
    ASSERT_EQ(host_.input_box, L"") << i;
    // A numeric line fires at most two lookups (account page and a numeric
    // site keyword never both, mobile and ID card lengths exclude the
    // others); everything else at most one start.
    ASSERT_LE(host_.starts.size(), 2u) << i;
    if (!common::IsNumeric(line)) {
      ASSERT_LE(host_.starts.size(), 1u) << i;
    }
    for (const auto& [from, to] : host_.renames) {
      ASSERT_EQ(line, L"calc") << i;
      ASSERT_TRUE(from.find(L"\\plugin\\calc.") != std::wstring::npos) << i;
      ASSERT_TRUE(to.find(L"\\plugin\\calc.") != std::wstring::npos) << i;
    }
    for (const auto& s : host_.starts) {
      if (s.rfind(kOpen, 0) == 0 && s.find(L"C:/Tools/") != std::wstring::npos) {
        ASSERT_TRUE(line == L"calc" || line == L"qq") << i;
      }
    }
    // Only the start-up toggle speaks.
    if (!host_.messages.empty()) {
      ASSERT_TRUE(line == L"autorun") << i;
    }
  }
}

}  // namespace
}  // namespace commandbox
