// The visual state machine of a skinned push button and its fade: what
// each message does to the button's "OLDSTATE", "ALPHALEVEL" and
// "MOUSEFLAG", and what the Win32 side must then do. No Windows here: the
// skin engine reads the properties into a ButtonSkin, applies an event and
// writes them back.
#ifndef WINDOW_LOOK_BUTTON_SKIN_STATE_H_
#define WINDOW_LOOK_BUTTON_SKIN_STATE_H_

namespace look {

struct ButtonSkin {
  int state = 0;       // "OLDSTATE": 0 normal, 1 hover, 2 pressed, 3 disabled
  int alpha = 0;       // "ALPHALEVEL": blend level of the running fade
  int mouse_flag = 0;  // "MOUSEFLAG": 1 while the pointer is known to be over it
};

enum class ButtonEvent {
  kMouseMove,
  kLeftDown,
  kLeftUp,
  kMouseLeave,
  kSpaceDown,
  kSpaceUp,
  kFocusChanged,
  kEnabled,
  kDisabled,
};

// What the Win32 side does after the state change.
struct ButtonReaction {
  bool track_leave = false;    // ask for a mouse-leave notification
  bool render_images = false;  // redraw the four state images first
  bool start_fade = false;     // start the fade timer unless one runs
  bool show_now = false;       // copy the state's image at once, no fade
};

ButtonReaction ApplyButtonEvent(ButtonSkin& skin, ButtonEvent event);

// Start levels of the fades.
constexpr int kHoverLevel = 70;
constexpr int kPressedLevel = 10;
constexpr int kSpaceLevel = 50;
constexpr int kFadeStep = 3;
constexpr int kFadeEnd = 256;
constexpr unsigned kFadeInterval = 15;  // ms

// One tick of the fade: the level to blend the state's image with, and
// whether the fade ends with this tick (the level then goes back to 0).
struct FadeTick {
  int state;
  int blend_alpha;
  bool last;
};
FadeTick NextFadeTick(ButtonSkin& skin);

// How many ticks a fade from `start` takes.
int FadeTicks(int start);

}  // namespace look

#endif  // WINDOW_LOOK_BUTTON_SKIN_STATE_H_
