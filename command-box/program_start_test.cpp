#include "command-box/program_start.h"

#include <gtest/gtest.h>

#include "command-box/interpreter.h"
#include "testing/fake_command_box_host.h"

namespace commandbox {
namespace {

using testing_support::FakeStartPort;

// The interpreter over a host whose starts go the real way, against a
// start port that answers as Windows does.
class PortHost : public testing_support::FakeCommandBoxHost {
 public:
  bool StartCommandLine(const std::wstring& line) override {
    return LaunchCommandLine(start_port, line) != StartOutcome::kFailed;
  }
  bool StartThroughShell(const std::wstring& target) override {
    return LaunchThroughShell(start_port, target) != StartOutcome::kFailed;
  }
};

enum class Layout { kXp, kWin7, kWin10, kWin10Home, kWin10_1803 };

// The programs, consoles and schemes of each Windows, as far as the cases
// below ask for them.
void LayOut(Layout layout, FakeStartPort& port) {
  if (layout == Layout::kXp)
    return;  // every XP tool is there
  port.finds_everything = false;
  port.programs = {L"regedit.exe",  L"notepad.exe", L"mmc.exe",   L"control.exe", L"sndvol.exe",
                   L"msinfo32.exe", L"dfrgui.exe",  L"sdclt.exe", L"perfmon.exe"};
  port.system_files = {L"services.msc", L"gpedit.msc", L"lusrmgr.msc"};
  port.windows_64_bit = true;
  port.app_paths = {L"mspaint.exe"};
  if (layout == Layout::kWin7) {
    port.programs.insert(L"soundrecorder.exe");
    port.version = {6, 1, 7601};
    return;
  }
  port.schemes = {L"ms-settings"};
  port.version = {10, 0, layout == Layout::kWin10_1803 ? 17134u : 19045u};
  if (layout == Layout::kWin10Home)
    port.system_files = {L"services.msc"};
}

TEST(ToolStartTest, ElevationSuccessorsAndMessages) {
  using Answers = std::map<std::wstring, unsigned long>;
  using enum Layout;
  const std::wstring system = L"C:\\WINDOWS\\system32\\";
  const Answers regedit_elevates = {{L"regedit.exe", kElevationRequired}};
  const Answers mmc_elevates = {{L"mmc.exe", kElevationRequired}};
  const Answers dfrgui_elevates = {{L"dfrgui.exe", kElevationRequired}};
  const Answers mmc_declined = {{system + L"mmc.exe", kCancelled}};
  const Answers regedit_denied = {{system + L"regedit.exe", 5}};
  const std::vector<std::wstring> regedit_calls = {L"process:regedit",
                                                   L"shell:" + system + L"regedit.exe|"};
  const std::vector<std::wstring> mmc_calls = {L"process:mmc.exe services.msc",
                                               L"shell:" + system + L"mmc.exe|services.msc"};
  const std::vector<std::wstring> dfrgui_calls = {L"process:dfrgui.exe",
                                                  L"shell:" + system + L"dfrgui.exe|"};
  const struct {
    const wchar_t* typed;
    Layout layout;
    std::vector<std::wstring> calls;
    const wchar_t* message = nullptr;  // a part of it
    int beeps = 0;
    Answers process_answers = {}, shell_answers = {};
  } cases[] = {
      // Elevation: the same program and arguments through the shell.
      {L"regedit", kWin10, regedit_calls, nullptr, 0, regedit_elevates},
      {L"services.msc", kWin10, mmc_calls, nullptr, 0, mmc_elevates},
      // The user's No at the prompt: nothing more.
      {L"services.msc", kWin10, mmc_calls, nullptr, 0, mmc_elevates, mmc_declined},
      // Other failures keep their beep.
      {L"regedit", kWin10, regedit_calls, nullptr, 1, regedit_elevates, regedit_denied},
      {L"notepad", kWin10, {L"process:notepad"}, nullptr, 1, {{L"notepad.exe", 5}}},
      {L"notepad", kWin10, {L"process:notepad"}, nullptr, 1, {{L"notepad.exe", kFileNotFound}}},
      // A program only the App Paths key names: the shell starts it.
      {L"mspaint", kWin10, {L"process:mspaint", L"shell:C:\\Program Files\\App\\mspaint.exe|"}},
      // A successor's own elevation goes the same way.
      {L"dfrg.msc", kWin10, dfrgui_calls, nullptr, 0, dfrgui_elevates},
      // Successors where the keyword's own program is missing.
      {L"sndvol32", kWin10, {L"process:SndVol.exe"}},
      {L"sndvol32.exe", kWin7, {L"process:SndVol.exe"}},
      {L"winmsd", kWin10, {L"process:msinfo32.exe"}},
      {L"dfrg.msc", kWin10, {L"process:dfrgui.exe"}},
      {L"wupdmgr", kWin10, {L"shell:ms-settings:windowsupdate|"}},
      {L"wupdmgr", kWin7, {L"process:control /name Microsoft.WindowsUpdate"}},
      {L"ntbackup", kWin10, {L"process:sdclt.exe"}},
      {L"drwtsn32", kWin10, {L"process:perfmon /rel"}},
      {L"sndrec32", kWin7, {L"process:SoundRecorder.exe"}},
      {L"clipbrd", kWin10, {L"shell:ms-settings:clipboard|"}},
      {L"lusrmgr.msc", kWin10Home, {L"process:control userpasswords2"}},
      // Where the program is there, the keyword starts itself.
      {L"wupdmgr", kXp, {L"process:wupdmgr"}},
      {L"dfrg.msc", kXp, {L"process:mmc.exe dfrg.msc"}},
      {L"lusrmgr.msc", kWin10, {L"process:mmc.exe lusrmgr.msc"}},
      // A console without a successor starts the console all the same.
      {L"ntmsmgr.msc", kWin10, {L"process:mmc.exe ntmsmgr.msc"}},
      {L"gpedit.msc", kWin10Home, {L"process:mmc.exe gpedit.msc"}},
      // No program, no successor: a word why, nothing started, no beep.
      {L"winchat", kWin10, {}, L"“winchat”无法启动：Windows Vista 起"},
      {L"sndrec32.exe", kWin10, {}, L"“sndrec32.exe”无法启动：Windows Vista 起"},
      {L"clipbrd", kWin10_1803, {}, L"“clipbrd”无法启动：Windows Vista 起"},
      {L"syskey", kWin10, {}, L"Windows 10 1709 起"},
      {L"mem", kWin10, {}, L"“mem”无法启动：它是 16 位程序"},
      {L"tsshutdn", kWin10, {}, L"“tsshutdn”无法启动：这台电脑的 Windows 中没有"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    CommandBoxFields fields;
    PortHost host;
    LayOut(c.layout, host.start_port);
    host.start_port.process_answers = c.process_answers;
    host.start_port.shell_answers = c.shell_answers;
    Interpreter interpreter(fields, host);
    interpreter.OnText1Changed(c.typed);
    interpreter.Command1_Click();
    EXPECT_EQ(host.start_port.calls, c.calls);
    EXPECT_EQ(host.failures, c.beeps);
    if (c.message) {
      ASSERT_EQ(host.messages.size(), 1u);
      EXPECT_NE(host.messages[0].find(c.message), std::wstring::npos) << host.messages[0];
      EXPECT_EQ(host.titles[0], L"提示：");
    } else {
      EXPECT_TRUE(host.messages.empty());
    }
    EXPECT_EQ(host.input_box, L"");  // ready for the next line
  }
}

}  // namespace
}  // namespace commandbox
