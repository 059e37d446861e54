#include "window-look/button_skin_state.h"

namespace look {

ButtonReaction ApplyButtonEvent(ButtonSkin& skin, ButtonEvent event) {
  ButtonReaction r;
  switch (event) {
    case ButtonEvent::kMouseMove:
      // Only the first move after an entry counts; the release clears the
      // flag, so the next move is a new entry.
      if (skin.mouse_flag != 0)
        return r;
      skin.mouse_flag = 1;
      r.track_leave = true;
      skin.state = 1;
      skin.alpha = kHoverLevel;
      r.start_fade = true;
      return r;
    case ButtonEvent::kLeftDown:
      skin.state = 2;
      skin.alpha = kPressedLevel;
      r.start_fade = true;
      return r;
    case ButtonEvent::kSpaceDown:
      skin.alpha = kSpaceLevel;
      skin.state = 2;
      r.start_fade = true;
      return r;
    case ButtonEvent::kLeftUp:
    case ButtonEvent::kMouseLeave:
    case ButtonEvent::kSpaceUp:
      skin.mouse_flag = 0;
      skin.state = 0;
      skin.alpha = 0;
      r.start_fade = true;
      return r;
    case ButtonEvent::kFocusChanged:
      r.render_images = true;
      skin.alpha = 0;
      r.start_fade = true;
      return r;
    case ButtonEvent::kEnabled:
      skin.state = 0;
      r.show_now = true;
      return r;
    case ButtonEvent::kDisabled:
      skin.state = 3;
      r.show_now = true;
      return r;
  }
  return r;
}

FadeTick NextFadeTick(ButtonSkin& skin) {
  FadeTick tick{skin.state, skin.alpha, false};
  const int next = skin.alpha + kFadeStep;
  if (next >= kFadeEnd) {
    tick.last = true;
    skin.alpha = 0;
  } else {
    skin.alpha = next;
  }
  return tick;
}

int FadeTicks(int start) {
  ButtonSkin skin;
  skin.alpha = start;
  int ticks = 0;
  while (true) {
    ++ticks;
    if (NextFadeTick(skin).last)
      return ticks;
  }
}

}  // namespace look
