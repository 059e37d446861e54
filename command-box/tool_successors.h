// What a tool keyword starts on the Windows that runs: the keyword's own
// command line where its program is there, else the tool that took its
// place on this Windows (the table in tool_successors.cpp), else a word to
// the user why it cannot start.
#ifndef COMMAND_BOX_TOOL_SUCCESSORS_H_
#define COMMAND_BOX_TOOL_SUCCESSORS_H_

#include <string>

#include "command-box/program_start.h"

namespace commandbox {

struct ToolStart {
  enum class Way {
    kCommandLine,  // text: a command line for the process start
    kShell,        // text: a URI for the shell
    kMessage,      // text: the message to show; nothing starts
  };
  Way way;
  std::wstring text;
};

// For a tool keyword (ToolCommandLine has a command line for it). A
// direct-start keyword's program is there when the start would find it; a
// console keyword's when its ".msc" file is in the native system folder.
// A console keyword without a successor here starts "mmc.exe " + keyword
// all the same: the console's own error names the missing file.
ToolStart ChooseToolStart(const std::wstring& keyword, ProgramLookupPort& lookup);

}  // namespace commandbox

#endif  // COMMAND_BOX_TOOL_SUCCESSORS_H_
