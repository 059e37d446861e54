// The pictures of the borderless windows, drawn by code at start-up: the
// background with its title band, and the close and minimise buttons in
// their three pictures. Also the rules of the frame: which mouse input
// starts a drag, and the pictures the two buttons show.
#ifndef WINDOW_LOOK_CHROME_PICTURES_H_
#define WINDOW_LOOK_CHROME_PICTURES_H_

#include <cstddef>
#include <vector>

#include "window-look/skin_atlas.h"

namespace look {

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<Rgb> pixels;  // row by row from the top
  Rgb At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

enum class BackgroundStyle {
  // A blue title band over a light body: the cleaners' main windows.
  kPanel,
  // Blue all over: the small command box and player strips, which carry
  // white text.
  kStrip,
};

// The suite's blues.
constexpr Rgb kSuiteBlue = 0x1B8FD5;
constexpr Rgb kTitleTop = 0x3AA6E8;
constexpr Rgb kBorder = 0x1475B5;

// The background of a window of `width` by `height` display pixels. Its
// border and the lines along the title band stay one pixel wide at every
// density.
Picture DrawBackground(int width, int height, BackgroundStyle style, int title_height);

// The chrome buttons' pictures are 24 by 20 pixels on the usual display
// and scale with its density.
constexpr int kChromeButtonWidth = 24;
constexpr int kChromeButtonHeight = 20;
int ChromeButtonWidth(int dpi);
int ChromeButtonHeight(int dpi);

enum class ChromeButton { kClose, kMinimise };
// The picture a chrome button shows: normal ("closenor", "mininor"), hover
// ("closemove", "minimove") and pressed ("closedown", "minidown").
enum class ChromeState { kNormal = 0, kHover = 1, kPressed = 2 };

// The button picture as it looks on `background` at (x, y), so that its
// edges melt into the title band; drawn for a display of `dpi` dots per
// inch, its glyph and plate grow with the picture.
Picture DrawChromeButton(ChromeButton button,
                         ChromeState state,
                         const Picture& background,
                         int x,
                         int y,
                         int dpi);

// Mouse buttons as the handlers see them: 1 left, 2 right, 4 middle (a set
// of bits while moving).
constexpr int kLeftButton = 1;
constexpr int kRightButton = 2;
constexpr int kMiddleButton = 4;

// A drag starts on a press only with exactly the left button ...
bool DragOnPress(int button);
// ... or on a move while exactly the left button is held.
bool DragOnMove(int buttons_held);

// The pictures the close and minimise buttons show. They keep no other
// state: the picture is the state.
struct ChromePictures {
  ChromeState close = ChromeState::kNormal;
  ChromeState minimise = ChromeState::kNormal;
  // RS: both back to their normal pictures (minimise first, then close).
  void RS() {
    minimise = ChromeState::kNormal;
    close = ChromeState::kNormal;
  }
};

}  // namespace look

#endif  // WINDOW_LOOK_CHROME_PICTURES_H_
