// What the command interpreter needs of its window, of the music player
// and of the platform. The command box window (Form1), the player (Form2)
// and the Win32 host implement these.
#ifndef COMMAND_BOX_COMMAND_BOX_PORTS_H_
#define COMMAND_BOX_COMMAND_BOX_PORTS_H_

#include <string>

#include "command-box/program_start.h"
#include "command-box/web_lookups.h"
#include "common/program_path.h"
#include "common/settings.h"

namespace commandbox {

// The music player window and its media component, as the command box
// drives them.
class PlayerPort {
 public:
  virtual ~PlayerPort() = default;
  // Shows the player, creating it first when it does not exist.
  virtual void Show() = 0;
  // Creates the player without showing it, when it does not exist.
  virtual void EnsureCreated() = 0;
  virtual void LoadLyrics(const std::wstring& stem) = 0;
  // Empties the lyric list List1.
  virtual void ClearLyricList() = 0;
  // Switches on the one-shot deferred refresh (Timer3).
  virtual void EnableDeferredRefresh() = 0;
  // The component's address: reading gives the address last opened ("" when
  // none); writing opens it and starts playing.
  virtual std::wstring URL() = 0;
  virtual void SetURL(const std::wstring& url) = 0;
  // currentMedia.getItemInfo(name).
  virtual std::wstring CurrentMediaInfo(const std::wstring& name) = 0;
};

class CommandBoxHost {
 public:
  virtual ~CommandBoxHost() = default;

  // The command box window.
  virtual int WindowTopTwips() = 0;
  virtual int WindowLeftTwips() = 0;
  // Puts a text into the input box Text1 (the interpreter has already
  // recomputed the derived fields).
  virtual void ShowInputText(const std::wstring& text) = 0;
  virtual void FocusInput() = 0;
  // The top edge of Text1 and Command1, in twips.
  virtual void SetInputRowTop(int twips) = 0;
  // The lyric line Label5.
  virtual void SetLyricLine(const std::wstring& text) = 0;
  // Layered style on, then the window's opacity.
  virtual void SetWindowAlpha(int alpha) = 0;
  // Shows the About window without blocking.
  virtual void ShowAbout() = 0;
  // A message box with an information icon and an OK button.
  virtual void ShowMessage(const std::wstring& text, const std::wstring& title) = 0;
  // Tells the user, without a dialog, that something typed could not be
  // carried out (the platform's warning sound).
  virtual void SignalFailure() = 0;
  virtual PlayerPort& Player() = 0;

  // The platform. Every start goes the way of LaunchCommandLine
  // (program_start.h): false when nothing could be started; the user's No
  // at the elevation prompt is their answer, no failure.
  virtual bool StartCommandLine(const std::wstring& command_line) = 0;
  // A URI through the shell, in the same way (LaunchThroughShell).
  virtual bool StartThroughShell(const std::wstring& target) = 0;
  // What the platform's start finds, for the choice of a tool's start.
  virtual ProgramLookupPort& Lookup() = 0;
  // The start of a browser run's command line, which the address follows.
  virtual std::wstring BrowserPrefix() { return kBrowserPrefix; }
  // Starts a command line and waits, at most `timeout_ms`, for the started
  // process to end; the window keeps answering meanwhile.
  virtual bool StartCommandLineAndWait(const std::wstring& command_line, unsigned timeout_ms) = 0;
  // True when a file (not a folder) of exactly this name exists, hidden
  // and system files included.
  virtual bool FileExists(const std::wstring& path) = 0;
  // Fails when a file of the new name exists.
  virtual bool RenameFile(const std::wstring& from, const std::wstring& to) = 0;
  // The per-user Run value, REG_SZ.
  virtual bool WriteRunValue(const std::wstring& name, const std::wstring& data) = 0;
  virtual bool DeleteRunValue(const std::wstring& name) = 0;
  // False when the value is absent (or cannot be read).
  virtual bool ReadRunValue(const std::wstring& name, std::wstring* data) = 0;
  virtual common::ProgramPath Program() = 0;
  // The value of the environment variable "windir", read afresh.
  virtual std::wstring WindowsFolder() = 0;
  virtual common::ProfilePort& Profile() = 0;
};

}  // namespace commandbox

#endif  // COMMAND_BOX_COMMAND_BOX_PORTS_H_
