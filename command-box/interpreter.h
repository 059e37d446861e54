// The command interpreter of the command box (Command1_Click): a fixed
// sequence of tests over the typed line, run on Enter and on the "确 定"
// button. Every run saves the window position and ends with an empty,
// focused input box.
#ifndef COMMAND_BOX_INTERPRETER_H_
#define COMMAND_BOX_INTERPRETER_H_

#include <string>

#include "command-box/command_box_fields.h"
#include "command-box/command_box_ports.h"
#include "common/settings.h"

namespace commandbox {

// Input rules the steps use.
bool IsStreamPrefix(const std::wstring& first_two);
bool IsMediaEnding(const std::wstring& last_four);
// A name the plug-in and shortcut lookups may look for: nothing that a
// file name cannot hold, no folder separators, not empty. Anything else
// could find, rename or start a file other than the one named.
bool IsPlainFileName(const std::wstring& name);

class Interpreter {
 public:
  // How long the plug-in step waits for the open handler it started, at
  // most, before it gives the plug-in its ".OCX" name back.
  static constexpr unsigned kPluginStartWaitMs = 5000;

  Interpreter(CommandBoxFields& fields, CommandBoxHost& host);

  // Runs the steps over the input line. A call while a run is under way
  // (from the messages its waits process) does nothing.
  void Command1_Click();
  bool running() const { return running_; }

  // A change of Text1 by typing or by a drop: the derived fields follow.
  void OnText1Changed(const std::wstring& text) { fields_.SetText1(text); }

  const common::SettingsFile& settings() const { return settings_; }

 private:
  // Sets Text1 (derived fields included) and the input box.
  void SetText1(const std::wstring& text);
  void SavePosition();
  void About();
  void Transparency();
  void Download();
  void AutoRun();
  void ShortcutFolder();
  bool NamesProgramFolderFile() const;
  void Plugin();
  void Shortcut();
  void Everything();
  void NotNumeric();
  void Numeric();
  void Media();
  bool InstalledProgram();

  void Start(const std::wstring& command_line);
  // A tool keyword: its own program, its successor here, or a word why
  // neither can start (tool_successors.h).
  void StartTool(const std::wstring& keyword);
  void Browse(const std::wstring& address);

  CommandBoxFields& fields_;
  CommandBoxHost& host_;
  common::SettingsFile settings_;
  bool running_ = false;
};

}  // namespace commandbox

#endif  // COMMAND_BOX_INTERPRETER_H_
