// The system tools the command box starts by their short names: 91
// keywords started as they stand, and 14 management-console files started
// through "mmc.exe ". Compared exactly and case-sensitively with the whole
// input.
#ifndef COMMAND_BOX_TOOL_KEYWORDS_H_
#define COMMAND_BOX_TOOL_KEYWORDS_H_

#include <optional>
#include <span>
#include <string>

namespace commandbox {

std::span<const wchar_t* const> DirectStartKeywords();
std::span<const wchar_t* const> ConsoleKeywords();

// The command line a keyword starts, or nothing when the input is none.
std::optional<std::wstring> ToolCommandLine(const std::wstring& input);

}  // namespace commandbox

#endif  // COMMAND_BOX_TOOL_KEYWORDS_H_
