// The fields of the command box window that the interpreter, the window's
// start-up and the player share (Form1's Text1 to Text10).
#ifndef COMMAND_BOX_COMMAND_BOX_FIELDS_H_
#define COMMAND_BOX_COMMAND_BOX_FIELDS_H_

#include <string>

#include "common/text_rules.h"

namespace commandbox {

struct CommandBoxFields {
  // The input line as typed, never trimmed.
  std::wstring Text1;
  // Last four characters of Text1: the media ending test.
  std::wstring Text2;
  // First two characters of Text1: the prefix tests.
  std::wstring Text3;
  // Window top and left in twips, as text.
  std::wstring Text4;
  std::wstring Text5;
  // The lyrics stem of the media path last opened from the box.
  std::wstring Text6;
  // Last two characters of Text1: the address-or-IP test.
  std::wstring Text7;
  // Start with Windows: "1" on, anything else off.
  std::wstring Text8;
  // The window's opacity as text; empty when none was chosen.
  std::wstring Text9;
  // "1" while the music player window exists, "0" after it closed.
  std::wstring Text10 = L"Text10";

  // Sets Text1 and recomputes the derived fields at once, as every change
  // of the input box does.
  void SetText1(const std::wstring& text) {
    Text1 = text;
    Text2 = common::RightChars(text, 4);
    Text3 = common::LeftChars(text, 2);
    Text7 = common::RightChars(text, 2);
  }
};

// The command box's settings file: the Windows folder + "\lnk.ini".
inline std::wstring LnkIniPath(const std::wstring& windows_folder) {
  return windows_folder + L"\\lnk.ini";
}

}  // namespace commandbox

#endif  // COMMAND_BOX_COMMAND_BOX_FIELDS_H_
