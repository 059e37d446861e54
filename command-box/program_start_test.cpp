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
  const wchar_t* const no_message = nullptr;
  const struct {
    const wchar_t* typed;
    Layout layout;
    std::map<std::wstring, unsigned long> process_answers, shell_answers;
    std::vector<std::wstring> calls;
    const wchar_t* message;  // a part of it
    int beeps = 0;
  } cases[] = {
      // Elevation: the same program and arguments through the shell.
      {L"regedit",
       Layout::kWin10,
       {{L"regedit.exe", kElevationRequired}},
       {},
       {L"process:regedit", L"shell:C:\\WINDOWS\\system32\\regedit.exe|"},
       no_message},
      {L"services.msc",
       Layout::kWin10,
       {{L"mmc.exe", kElevationRequired}},
       {},
       {L"process:mmc.exe services.msc", L"shell:C:\\WINDOWS\\system32\\mmc.exe|services.msc"},
       no_message},
      // The user's No at the prompt: nothing more.
      {L"services.msc",
       Layout::kWin10,
       {{L"mmc.exe", kElevationRequired}},
       {{L"C:\\WINDOWS\\system32\\mmc.exe", kCancelled}},
       {L"process:mmc.exe services.msc", L"shell:C:\\WINDOWS\\system32\\mmc.exe|services.msc"},
       no_message},
      // Other failures keep their beep.
      {L"regedit",
       Layout::kWin10,
       {{L"regedit.exe", kElevationRequired}},
       {{L"C:\\WINDOWS\\system32\\regedit.exe", 5}},
       {L"process:regedit", L"shell:C:\\WINDOWS\\system32\\regedit.exe|"},
       no_message,
       1},
      {L"notepad",
       Layout::kWin10,
       {{L"notepad.exe", kFileNotFound}},
       {},
       {L"process:notepad"},
       no_message,
       1},
      {L"notepad", Layout::kWin10, {{L"notepad.exe", 5}}, {}, {L"process:notepad"}, no_message, 1},
      // A program only the App Paths key names: the shell starts it.
      {L"mspaint",
       Layout::kWin10,
       {},
       {},
       {L"process:mspaint", L"shell:C:\\Program Files\\App\\mspaint.exe|"},
       no_message},
      // Successors where the keyword's own program is missing.
      {L"sndvol32", Layout::kWin10, {}, {}, {L"process:SndVol.exe"}, no_message},
      {L"sndvol32.exe", Layout::kWin7, {}, {}, {L"process:SndVol.exe"}, no_message},
      {L"winmsd", Layout::kWin10, {}, {}, {L"process:msinfo32.exe"}, no_message},
      {L"dfrg.msc", Layout::kWin10, {}, {}, {L"process:dfrgui.exe"}, no_message},
      {L"wupdmgr", Layout::kWin10, {}, {}, {L"shell:ms-settings:windowsupdate|"}, no_message},
      {L"wupdmgr",
       Layout::kWin7,
       {},
       {},
       {L"process:control /name Microsoft.WindowsUpdate"},
       no_message},
      {L"ntbackup", Layout::kWin10, {}, {}, {L"process:sdclt.exe"}, no_message},
      {L"drwtsn32", Layout::kWin10, {}, {}, {L"process:perfmon /rel"}, no_message},
      {L"sndrec32", Layout::kWin7, {}, {}, {L"process:SoundRecorder.exe"}, no_message},
      {L"clipbrd", Layout::kWin10, {}, {}, {L"shell:ms-settings:clipboard|"}, no_message},
      {L"lusrmgr.msc", Layout::kWin10Home, {}, {}, {L"process:control userpasswords2"}, no_message},
      // A successor's own elevation goes the same way.
      {L"dfrg.msc",
       Layout::kWin10,
       {{L"dfrgui.exe", kElevationRequired}},
       {},
       {L"process:dfrgui.exe", L"shell:C:\\WINDOWS\\system32\\dfrgui.exe|"},
       no_message},
      // Where the program is there, the keyword starts itself.
      {L"wupdmgr", Layout::kXp, {}, {}, {L"process:wupdmgr"}, no_message},
      {L"dfrg.msc", Layout::kXp, {}, {}, {L"process:mmc.exe dfrg.msc"}, no_message},
      {L"lusrmgr.msc", Layout::kWin10, {}, {}, {L"process:mmc.exe lusrmgr.msc"}, no_message},
      // A console without a successor starts the console all the same.
      {L"ntmsmgr.msc", Layout::kWin10, {}, {}, {L"process:mmc.exe ntmsmgr.msc"}, no_message},
      {L"gpedit.msc", Layout::kWin10Home, {}, {}, {L"process:mmc.exe gpedit.msc"}, no_message},
      // No program, no successor: a word why, nothing started, no beep.
      {L"winchat", Layout::kWin10, {}, {}, {}, L"“winchat”无法启动：Windows Vista 起"},
      {L"sndrec32.exe", Layout::kWin10, {}, {}, {}, L"“sndrec32.exe”无法启动：Windows Vista 起"},
      {L"clipbrd", Layout::kWin10_1803, {}, {}, {}, L"“clipbrd”无法启动：Windows Vista 起"},
      {L"syskey", Layout::kWin10, {}, {}, {}, L"Windows 10 1709 起"},
      {L"mem", Layout::kWin10, {}, {}, {}, L"“mem”无法启动：它是 16 位程序"},
      {L"tsshutdn", Layout::kWin10, {}, {}, {}, L"“tsshutdn”无法启动：这台电脑的 Windows 中没有"},
  };
  for (const auto& c : cases) {
    CommandBoxFields fields;
    PortHost host;
    LayOut(c.layout, host.start_port);
    host.start_port.process_answers = c.process_answers;
    host.start_port.shell_answers = c.shell_answers;
    Interpreter interpreter(fields, host);
    interpreter.OnText1Changed(c.typed);
    interpreter.Command1_Click();
    EXPECT_EQ(host.start_port.calls, c.calls) << c.typed;
    EXPECT_EQ(host.failures, c.beeps) << c.typed;
    if (c.message) {
      ASSERT_EQ(host.messages.size(), 1u) << c.typed;
      EXPECT_NE(host.messages[0].find(c.message), std::wstring::npos) << host.messages[0];
      EXPECT_EQ(host.titles[0], L"提示：");
    } else {
      EXPECT_TRUE(host.messages.empty()) << c.typed;
    }
    EXPECT_EQ(host.input_box, L"") << c.typed;  // ready for the next line
  }
}

}  // namespace
}  // namespace commandbox
