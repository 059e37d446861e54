#include "command-box/interpreter.h"

#include "command-box/tool_keywords.h"
#include "command-box/tool_successors.h"
#include "command-box/web_lookups.h"
#include "common/text_rules.h"
#include "music-player/media_paths.h"

namespace commandbox {
namespace {

// Whether the data of a Run value starts the program of `data`: the same
// path in any letter case, also within quotes.
bool NamesProgram(std::wstring stored, const std::wstring& data) {
  if (stored.size() >= 2 && stored.front() == L'"' && stored.back() == L'"')
    stored = stored.substr(1, stored.size() - 2);
  return common::ToLowerAscii(stored) == common::ToLowerAscii(data);
}

bool OneOf(const std::wstring& text, std::initializer_list<const wchar_t*> forms) {
  for (const wchar_t* form : forms)
    if (text == form)
      return true;
  return false;
}

constexpr wchar_t kOption[] = L"Option";
constexpr wchar_t kMessageTitle[] = L"提示：";
constexpr wchar_t kRunValue[] = L"Lnk";

}  // namespace

bool IsStreamPrefix(const std::wstring& first_two) {
  return OneOf(first_two, {L"ht", L"Ht", L"HT", L"mm", L"Mm", L"MM"});
}

bool IsMediaEnding(const std::wstring& last_four) {
  return OneOf(last_four,
               {L".mp3", L".Mp3", L".MP3", L".wma", L".Wma", L".WMA", L".asf", L".Asf", L".ASF",
                L".mid", L".Mid", L".MID", L".wmv", L".Wmv", L".WMV", L".avi", L".Avi", L".AVI",
                L".wav", L".Wav", L".WAV", L".mpg", L".Mpg", L".MPG", L".wpl", L".Wpl", L".WPL"});
}

bool IsPlainFileName(const std::wstring& name) {
  if (name.empty())
    return false;
  for (wchar_t c : name) {
    if (c < 0x20)
      return false;
    if (std::wstring_view(L"\\/:*?\"<>|").find(c) != std::wstring_view::npos)
      return false;
  }
  // "." and ".." name folders, not files.
  return name.find_first_not_of(L'.') != std::wstring::npos;
}

Interpreter::Interpreter(CommandBoxFields& fields, CommandBoxHost& host)
    : fields_(fields),
      host_(host),
      // The path is built anew at every access, from "windir" as it is then.
      settings_(host.Profile(), [&host] { return LnkIniPath(host.WindowsFolder()); }) {}

void Interpreter::SetText1(const std::wstring& text) {
  fields_.SetText1(text);
  host_.ShowInputText(text);
}

// The steps run one after the other without an early return: a step that
// fires and clears Text1 leaves nothing for the later ones, a step that
// fires without clearing lets them test on.
void Interpreter::Command1_Click() {
  // One run at a time. The plug-in step waits for the open handler while
  // the window keeps answering, so an Enter or a click on "确 定" can come
  // in the middle of a run; it is ignored. Run there, it would find the
  // plug-in's name still in the box and its file named ".EXE" for the
  // moment, miss the plug-in and start the tool or web page of that name;
  // run afterwards, it would find the box emptied by this run.
  if (running_)
    return;
  running_ = true;
  SavePosition();
  About();
  Transparency();
  Download();
  AutoRun();
  ShortcutFolder();
  Plugin();
  Shortcut();
  Everything();
  SetText1(L"");
  host_.FocusInput();
  running_ = false;
}

void Interpreter::SavePosition() {
  fields_.Text4 = common::ToDecimal(host_.WindowTopTwips());
  fields_.Text5 = common::ToDecimal(host_.WindowLeftTwips());
  settings_.WriteSetting(kOption, L"wl.top", fields_.Text4);
  settings_.WriteSetting(kOption, L"wl.left", fields_.Text5);
}

void Interpreter::About() {
  if (!OneOf(fields_.Text1, {L"ABOUT", L"About", L"about"}))
    return;
  host_.ShowAbout();
  SetText1(L"");
}

void Interpreter::Transparency() {
  if (!OneOf(fields_.Text3, {L"Tm", L"tm", L"TM"}))
    return;
  const std::wstring rest = fields_.Text1.substr(2);
  // "tm" with letters or with nothing after it is no transparency command;
  // the line goes on to the later steps.
  const auto value = common::ParseNumber(rest);
  if (!value || !(*value > 20 && *value < 256))
    return;
  // The level as stored gives the same opacity here, in the player and at
  // the next start: 255.5 rounds (half to even) to 256, which is no
  // opacity, so all three take 255.
  host_.SetWindowAlpha(common::OpacityLevel(rest).value_or(255));
  settings_.WriteSetting(kOption, L"TM", rest);
  fields_.Text9 = rest;
  SetText1(L"");
  if (fields_.Text10 == L"1")
    host_.Player().EnableDeferredRefresh();
}

void Interpreter::Download() {
  if (!OneOf(fields_.Text1, {L"DOWNLOAD", L"download"}))
    return;
  PlayerPort& player = host_.Player();
  player.EnsureCreated();
  if (player.URL().empty())
    return;
  Browse(player.CurrentMediaInfo(L"sourceURL"));
  SetText1(L"");
}

void Interpreter::AutoRun() {
  if (!OneOf(fields_.Text1, {L"AutoRun", L"Autorun", L"AUTORUN", L"autorun"}))
    return;
  const std::wstring data = common::RunValueData(host_.Program());
  // The toggle follows the Run value as it is, not the flag read at this
  // start: another start of Tovrix, another copy or a start-up manager may
  // have changed the value since. It is on when it starts this program.
  std::wstring stored;
  const bool on = host_.ReadRunValue(kRunValue, &stored) && NamesProgram(stored, data);
  // The setting and the field follow the Run value only once it changed.
  const auto settle = [&](bool changed, const wchar_t* flag, const wchar_t* message) {
    if (!changed) {
      host_.ShowMessage(L"开机启动选项设置失败，无法写入注册表！", kMessageTitle);
      return;
    }
    settings_.WriteSetting(kOption, L"AutoLnk", flag);
    fields_.Text8 = flag;
    host_.ShowMessage(message, kMessageTitle);
  };
  if (!on) {
    settle(host_.WriteRunValue(kRunValue, data), L"1",
           L"开机启动选项已经成功开启，如需取消开机启动请再次输入并执行本命令！");
  } else {
    // Written first, so that the value surely exists, then deleted.
    const bool written = host_.WriteRunValue(kRunValue, data);
    settle(written && host_.DeleteRunValue(kRunValue), L"0",
           L"开机启动选项已经成功关闭，如需Tovrix开机启动请再次输入并执行本命令！");
  }
  SetText1(L"");
}

void Interpreter::ShortcutFolder() {
  if (!OneOf(fields_.Text1, {L"Lnk", L"lnk", L"LNK"}))
    return;
  Start(L"explorer.exe \"" + common::JoinPath(host_.Program().folder, L"lnk") + L"\"");
  SetText1(L"");
}

// A plug-in's or a shortcut's name: a plain file name, in a line that is
// neither a path nor a stream address.
bool Interpreter::NamesProgramFolderFile() const {
  return !player::IsDrivePrefix(fields_.Text3) && !IsStreamPrefix(fields_.Text3) &&
         IsPlainFileName(fields_.Text1);
}

void Interpreter::Plugin() {
  if (!NamesProgramFolderFile())
    return;
  const std::wstring folder = common::JoinPath(host_.Program().folder, L"plugin\\");
  const std::wstring p = folder + fields_.Text1;
  if (!host_.FileExists(p + L".Ocx") && !host_.FileExists(p + L".OCX"))
    return;
  // Plug-ins are programs stored with the ending ".OCX"; they carry ".EXE"
  // only while they are being started.
  if (host_.RenameFile(p + L".OCX", p + L".EXE")) {
    const std::wstring target = common::ReplaceAll(p + L".EXE", L"\\", L"/");
    // The open handler must have got hold of the program file before it
    // gets its ".OCX" name back: wait for the handler to finish.
    if (!host_.StartCommandLineAndWait(kShellOpenPrefix + target, kPluginStartWaitMs))
      host_.SignalFailure();
    host_.RenameFile(p + L".EXE", p + L".OCX");
  } else {
    host_.SignalFailure();
  }
  SetText1(L"");
}

void Interpreter::Shortcut() {
  if (!NamesProgramFolderFile())
    return;
  const std::wstring folder = host_.Program().folder;
  const bool found =
      host_.FileExists(common::JoinPath(folder, L"lnk\\") + fields_.Text1 + L".lnk") ||
      host_.FileExists(common::JoinPath(folder, L"LNK\\") + fields_.Text1 + L".LNK") ||
      host_.FileExists(common::JoinPath(folder, L"Lnk\\") + fields_.Text1 + L".Lnk");
  if (!found)
    return;
  SetText1(common::JoinPath(folder, L"lnk\\") + fields_.Text1);
  SetText1(common::ReplaceAll(fields_.Text1, L"\\", L"/"));
  Start(kShellOpenPrefix + fields_.Text1);
  SetText1(L"");
}

void Interpreter::Everything() {
  if (fields_.Text1.empty())
    return;
  if (!common::IsNumeric(fields_.Text1)) {
    NotNumeric();
  } else {
    Numeric();
  }
}

void Interpreter::NotNumeric() {
  const std::wstring& input = fields_.Text1;
  if (IsMediaEnding(fields_.Text2)) {
    Media();
    return;
  }
  if (ToolCommandLine(input)) {
    StartTool(input);
    return;
  }
  if (common::HasDoubleByteStart(input)) {
    if (!InstalledProgram())
      Browse(SearchAddress(input));
    return;
  }
  if (IsSiteKeyword(input)) {
    Browse(SiteAddress(input));
    return;
  }
  if (!common::IsNumeric(fields_.Text3) || !common::IsNumeric(fields_.Text7)) {
    if (player::IsDrivePrefix(fields_.Text3)) {
      SetText1(common::ReplaceAll(input, L"\\", L"/"));
      Start(kShellOpenPrefix + fields_.Text1);
    } else if (!InstalledProgram()) {
      Browse(input);
    }
    return;
  }
  Browse(IpLookupAddress(input));
}

void Interpreter::Media() {
  PlayerPort& player = host_.Player();
  if (player::IsDrivePrefix(fields_.Text3)) {
    // A local file: the player shows first, then its lyrics are prepared,
    // and the address comes last.
    player.Show();
    fields_.Text6 = player::MediaStem(fields_.Text1);
    player.LoadLyrics(fields_.Text6);
    player.SetURL(fields_.Text1);
    return;
  }
  host_.SetInputRowTop(840);
  player.Show();
  player.ClearLyricList();
  host_.SetLyricLine(L"");
  player.SetURL(IsStreamPrefix(fields_.Text3) ? fields_.Text1 : L"http://" + fields_.Text1);
}

// Each lookup fires on its own.
void Interpreter::Numeric() {
  const std::wstring& input = fields_.Text1;
  const size_t length = input.size();
  if (length > 4 && length < 11)
    Browse(AccountPageAddress(input));
  if (IsSiteKeyword(input))
    Browse(SiteAddress(input));
  if (length == 11)
    Browse(MobileLookupAddress(input));
  if (length == 18 || length == 15)
    Browse(IdCardLookupAddress(input));
}

// A program of the Start menu, the Desktop or App Paths named by the whole
// input: it starts, and the test that would have had the input is left out.
bool Interpreter::InstalledProgram() {
  InstalledProgramsPort* programs = host_.InstalledPrograms();
  if (!programs)
    return false;
  const ProgramStart start = StartInstalledProgram(*programs, fields_.Text1);
  if (start == ProgramStart::kFailed)
    host_.SignalFailure();
  return start != ProgramStart::kNone;
}

void Interpreter::Start(const std::wstring& command_line) {
  if (!host_.StartCommandLine(command_line))
    host_.SignalFailure();
}

void Interpreter::StartTool(const std::wstring& keyword) {
  const ToolStart start = ChooseToolStart(keyword, host_.Lookup());
  switch (start.way) {
    case ToolStart::Way::kCommandLine:
      Start(start.text);
      break;
    case ToolStart::Way::kShell:
      if (!host_.StartThroughShell(start.text))
        host_.SignalFailure();
      break;
    case ToolStart::Way::kMessage:
      host_.ShowMessage(start.text, kMessageTitle);
      break;
  }
}

void Interpreter::Browse(const std::wstring& address) {
  Start(host_.BrowserPrefix() + address);
}

}  // namespace commandbox
