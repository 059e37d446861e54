// The Win32 basis every window of the suite stands on: a window object
// bound to its HWND at WM_NCCREATE with one virtual message handler, the
// message loop and Yield, controls from layout tables in twips, fonts.
#ifndef COMMON_WINDOW_WIN_H_
#define COMMON_WINDOW_WIN_H_

#include <functional>
#include <string>
#include "common/no_yield_macro.h"

#include "common/display_scale.h"

#include "common/win32_win.h"

namespace common {

class Window {
 public:
  Window() = default;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  virtual ~Window();

  HWND hwnd() const { return hwnd_; }

  // Registers `class_name` once (with this process's instance, an arrow
  // cursor and no background brush) and creates the window; the object is
  // bound to it before any message reaches HandleMessage.
  bool Create(const wchar_t* class_name,
              const wchar_t* caption,
              DWORD style,
              DWORD ex_style,
              int x,
              int y,
              int width,
              int height,
              HWND owner,
              HICON icon = nullptr,
              UINT class_style = CS_DBLCLKS);

  // Called by the message loop and Yield for every message meant for this
  // window or one of its descendants, before it is dispatched. Return true
  // when the message was handled and must not be dispatched.
  virtual bool PreTranslateMessage(MSG& msg) { return false; }

  // Whether the message loop ends when the window is destroyed: true for a
  // program's main window, false in tests, which open many windows one
  // after the other.
  bool quit_on_destroy = false;

 protected:
  virtual LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);
  // After WM_NCDESTROY; the handle is gone.
  virtual void OnDestroyed() {}

 private:
  static LRESULT CALLBACK StaticProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  HWND hwnd_ = nullptr;
};

// Runs the message loop until WM_QUIT; returns its exit code.
int RunMessageLoop();

// Processes every pending message, as a long handler must do between steps
// so that the window stays alive. A WM_QUIT met here is posted again for the
// outer loop and ends the pumping. The name is the one the handlers use.
void Yield();

// Milliseconds from a steady clock (the performance counter), for
// intervals; GetTickCount under Wine can lag behind by whole ticks.
unsigned long long SteadyMilliseconds();

// Gives a message to the windows' PreTranslateMessage, then translates and
// dispatches it. Used by both loops above.
void DispatchOne(MSG& msg);

// The display's dots per inch, read from the system once, at first use
// (the programs declare themselves aware of it, so it is the real one);
// and the lengths of the layouts at that density.
int ScreenDpi();
inline int TwipsToPixels(int twips) {
  return TwipsToPixels(twips, ScreenDpi());
}
inline int PixelsToTwips(int pixels) {
  return PixelsToTwips(pixels, ScreenDpi());
}
// A length given in pixels of the usual 96-dot display.
inline int Scaled(int pixels_at_96) {
  return ScalePixels(pixels_at_96, ScreenDpi());
}

// A control of a layout table. Positions and sizes are in twips, relative
// to the parent's client area.
struct ControlLayout {
  int id;
  const wchar_t* class_name;
  const wchar_t* text;
  DWORD style;  // WS_CHILD is added
  DWORD ex_style;
  int left, top, width, height;
};

HWND CreateControl(HWND parent, const ControlLayout& layout, HFONT font);

// A tooltip window of `owner` that shows whenever the pointer rests on one
// of its tools, active or not, with "&" shown as it stands.
HWND CreateTooltip(HWND owner);
// `tool` (a control of `owner`) shows `text` in `tooltip`; the tooltip
// watches the tool's mouse messages itself. LPSTR_TEXTCALLBACKW asks the
// owner for the text each time (TTN_GETDISPINFOW).
void AddTip(HWND tooltip, HWND owner, HWND tool, const wchar_t* text);

// A font by face name and size in points, at the screen's density
// (ScreenDpi). The caller owns it: an OwnedFont (owned_win.h) holds it.
HFONT CreatePointFont(const wchar_t* face,
                      double points,
                      bool bold = false,
                      BYTE charset = DEFAULT_CHARSET);

// The program's icon (its first icon resource) drawn at `size` by `size`
// pixels, from the image of the icon that fits best. Kept for the life of
// the process, one per size, like a shared resource: callers do not
// destroy it.
HICON ProgramIcon(int size);
// The sizes the system gives small icons (title bars, the notification
// area) and large ones (the task switcher) at the display's density.
int SmallIconSize();
int LargeIconSize();

// Lets `message` reach `window` from programs of a lower integrity level
// (Explorer, when this program runs elevated), which the message filter of
// Windows Vista and later otherwise stops: ChangeWindowMessageFilterEx for
// the one window from Windows 7 on, ChangeWindowMessageFilter for the
// process on Vista, both looked up at run time; nothing on XP, which has no
// such filter. False where the filter refused.
bool AllowMessageFromLowerIntegrity(HWND window, UINT message);

// The text of a window as a string.
std::wstring WindowText(HWND hwnd);

// Moves a control to a top position in twips, keeping left and size.
void SetControlTopTwips(HWND control, int top_twips);
// The control's rectangle in its parent's client coordinates.
RECT ControlRect(HWND control);

// Subclasses a control with a handler that sees each message first; return
// true from the handler with *result set to stop the message there. Uses
// the common controls' subclass chain, so it stacks with other subclassing.
using ControlHandler = std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT* result)>;
void SubclassControl(HWND control, ControlHandler handler);

}  // namespace common

#endif  // COMMON_WINDOW_WIN_H_
