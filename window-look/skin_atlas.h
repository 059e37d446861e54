// The skin atlas of the push buttons: four tiles of 9 by 21 pixels, one
// per visual state, stacked from top to bottom in a 9 by 84 image, and the
// nine-slice composition of a face of any size from a tile. Pixels only;
// skin_engine_win turns them into drawing surfaces.
#ifndef WINDOW_LOOK_SKIN_ATLAS_H_
#define WINDOW_LOOK_SKIN_ATLAS_H_

#include <array>
#include <cstdint>
#include <vector>

namespace look {

// Button visual states; also the value of the "OLDSTATE" property.
enum ButtonState { kNormal = 0, kHover = 1, kPressed = 2, kDisabled = 3 };

constexpr int kAtlasWidth = 9;
constexpr int kTileHeight = 21;
constexpr int kAtlasHeight = 4 * kTileHeight;

// Colours are 0xRRGGBB.
using Rgb = uint32_t;

class SkinAtlas {
 public:
  SkinAtlas();
  Rgb Pixel(int x, int y) const { return pixels_[y * kAtlasWidth + x]; }
  Rgb TilePixel(int state, int x, int row) const { return Pixel(x, state * kTileHeight + row); }

 private:
  std::array<Rgb, kAtlasWidth * kAtlasHeight> pixels_;
};

// The atlas, built once.
const SkinAtlas& Atlas();

// One copy of the nine-slice composition: a destination rectangle of the
// face from a source rectangle of the atlas (stretched when the sizes
// differ, without smoothing).
struct Band {
  int dx, dy, dw, dh;
  int sx, sy, sw, sh;
};

// The bands of a W by H face from the tile of `state`, in drawing order.
// Bands that would get no width or height (buttons smaller than 8 by 10
// times `whole`) are left out.
//
// `whole` is the number of display pixels that stand for one atlas pixel
// in the corners and along the edges (common::WholeScale): 1 on the usual
// display and up to 175 %, 2 at 200 %. The corners and edges are never
// stretched by a fraction: a 4 by 5 corner stretched to 5 by 6 (125 %)
// would double every fourth pixel and make the rounding lopsided, so at
// 125 % and 150 % a face keeps the one-pixel outline and the corner blocks
// of the usual display (as the one-pixel frames do) and only its edges
// and centre grow with the button; at 200 % each atlas pixel becomes a
// block of 2 by 2, which is the usual face exactly, twice as large.
std::vector<Band> FaceBands(int width, int height, int state, int whole = 1);

// The face composed in memory, row by row: used by tests and by anything
// that wants the pixels without a drawing surface.
std::vector<Rgb> ComposeFace(int width, int height, int state, int whole = 1);

// Linear mix of two colours: t = 0 gives a, t = 1 gives b.
Rgb Mix(Rgb a, Rgb b, double t);

}  // namespace look

#endif  // WINDOW_LOOK_SKIN_ATLAS_H_
