// MSkinButton: the button skin engine. It takes over the push buttons of a
// window from outside (replacing their window procedures), keeps its state
// per window in named window properties, paints faces from the skin atlas
// and fades between them; other controls with a sunken edge get a flat
// frame; dialogs and forms activated against a skinned window (the
// program's message boxes) are skinned the same way.
#ifndef WINDOW_LOOK_SKIN_ENGINE_WIN_H_
#define WINDOW_LOOK_SKIN_ENGINE_WIN_H_

#include <string>

#include "common/win32_win.h"

namespace look {

// The public operation: each main window calls it with its own handle
// while it loads.
void AttachSkin(HWND window);

// Internal operations, public for tests.
bool SkinButton(HWND button);
bool ReleaseButton(HWND button);
bool HookWindow(HWND window);
bool UnhookWindow(HWND window);
bool HookFramedControl(HWND control);
bool UnhookFramedControl(HWND control);
void RenderStateImages(HWND button);
// Sets a button's caption; a skinned button's faces are drawn again with it
// (the engine alone redraws them only when the focus or the size changes).
void SetButtonCaption(HWND button, const std::wstring& caption);
void DrawFlatFrame(HWND control);

// The engine-wide state.
struct SkinEngineState {
  bool initialised;
  bool uses_track_mouse_event;  // user32's TrackMouseEvent, else _TrackMouseEvent
  int skinned_buttons;
  int hooked_windows;
  HDC atlas;
  int atlas_builds;  // how often the atlas was built since the program started
};
SkinEngineState SkinEngine();

// Window classes of the two groups, compared in lower case. Besides the
// platform's dialog and button classes and the classic form classes, the
// suite's own form classes are top-level windows.
bool IsButtonClass(const wchar_t* lower_class_name);
bool IsTopLevelClass(const wchar_t* lower_class_name);

// The suite's form classes.
inline constexpr wchar_t kFormClass[] = L"TovrixForm";

// A property's value as an integer (0 when it was never set).
INT_PTR PropValue(HWND window, const wchar_t* name);

}  // namespace look

#endif  // WINDOW_LOOK_SKIN_ENGINE_WIN_H_
