#include "window-look/skin_atlas.h"

#include <cmath>

namespace look {
namespace {

constexpr Rgb kWhite = 0xFFFFFF;

// Outline of each state.
constexpr Rgb kOutline[4] = {0x1B8FD5, 0x1B8FD5, 0x1B8FD5, 0xBFBFBF};

// The centre column (column 4) of each tile, rows 0 to 20.
constexpr Rgb kCentre[4][kTileHeight] = {
    {0x1B8FD5, 0xFFFFFF, 0xFFFFFF, 0xF1F8FC, 0xEEF6FB, 0xEAF4FB, 0xE6F2FB,
     0xE2F0FA, 0xDEEEFA, 0xDAECF9, 0xD7EAF9, 0xCCE2F5, 0xC8DFF3, 0xC3DCF1,
     0xBED8EF, 0xB8D5ED, 0xB4D2EB, 0xB1D0EA, 0xB0CFE9, 0xCCE0F1, 0x1B8FD5},
    {0x1B8FD5, 0x4CC3FB, 0xC6EDFF, 0xD2EEFC, 0xDFF2FC, 0xE4F2FC, 0xE2F2FC,
     0xE0F1FB, 0xDDF0FB, 0xDBEEFB, 0xD9EDFB, 0xCBE4F7, 0xC7E1F5, 0xC2DEF3,
     0xBCDBF2, 0xB7D7F1, 0xAFD5EF, 0xA7D4F2, 0x99D2F3, 0x3FBBF8, 0x1B8FD5},
    {0x1B8FD5, 0x3BBCFA, 0x9BD4F5, 0x9ACDEE, 0xA5CFEE, 0xADD1EE, 0xB2D4EF,
     0xB8D7F1, 0xBDDBF2, 0xC2DEF4, 0xC6E1F6, 0xD4EAFA, 0xD7ECFA, 0xDAEDFB,
     0xDDEFFB, 0xE0F1FB, 0xDBF0FB, 0xD1EEFC, 0xBEE8FE, 0x46C2FC, 0x1B8FD5},
    {0xBFBFBF, 0xFFFFFF, 0xFFFFFF, 0xF8F8F8, 0xF7F7F7, 0xF5F5F5, 0xF4F4F4,
     0xF2F2F2, 0xF1F1F1, 0xEFEFEF, 0xEEEEEE, 0xE8E8E8, 0xE5E5E5, 0xE3E3E3,
     0xE0E0E0, 0xDDDDDD, 0xDBDBDB, 0xD9D9D9, 0xD8D8D8, 0xE6E6E6, 0xBFBFBF},
};

// The inner line (column 1) over rows 5 to 15: first and last colour. In
// the normal and disabled tiles it is a lighter line; in hover and pressed
// a saturated glow.
constexpr Rgb kLineTop[4] = {0xF0F7FC, 0x4CC3FB, 0x37B9F9, 0};
constexpr Rgb kLineBottom[4] = {0xCDE2F2, 0x41BCF8, 0x44C1FC, 0};

// How far each pixel of the 4 by 5 top-left corner block leans to the
// outline colour (the rest is the pixel's own colour, white outside the
// face). Read off the given corner of the normal tile, so every state
// rounds its corners the same way.
constexpr double kCornerWeight[5][4] = {
    {0.59, 0.65, 0.93, 1.0}, {0.66, 0.57, 0.10, 0.0}, {0.94, 0.08, 0.0, 0.0},
    {1.0, 0.0, 0.0, 0.0},    {1.0, 0.0, 0.0, 0.0},
};

// The top-left corner block of the normal tile, as designed.
constexpr Rgb kNormalCorner[5][4] = {
    {0x78BAE6, 0x6BB3E3, 0x2C97D8, 0x1B8FD5}, {0x69B2E2, 0x7EC0E7, 0xE7F3FB, 0xFFFFFF},
    {0x2995D7, 0xECF6FC, 0xFFFFFF, 0xFFFFFF}, {0x1B8FD5, 0xF5FAFD, 0xF1F8FC, 0xF1F8FC},
    {0x1B8FD5, 0xF3F9FC, 0xEEF6FB, 0xEEF6FB},
};

bool Glows(int state) {
  return state == kHover || state == kPressed;
}

Rgb LineColour(int state, int row) {
  if (Glows(state)) {
    const int r = row < 5 ? 5 : (row > 15 ? 15 : row);
    return Mix(kLineTop[state], kLineBottom[state], (r - 5) / 10.0);
  }
  if (state == kNormal && row >= 5 && row <= 15)
    return Mix(kLineTop[state], kLineBottom[state], (row - 5) / 10.0);
  // Elsewhere a little lighter than the centre.
  return Mix(kCentre[state][row], kWhite, 0.3);
}

// The colour of columns 0 to 4 of a row before the corners are rounded.
Rgb InnerColour(int state, int column, int row) {
  if (row == 0 || row == kTileHeight - 1)
    return kOutline[state];
  switch (column) {
    case 0:
      return kOutline[state];
    case 1:
      return LineColour(state, row);
    case 2:
      return Glows(state) ? Mix(LineColour(state, row), kCentre[state][row], 0.45)
                          : kCentre[state][row];
    case 3:
      return Glows(state) ? Mix(LineColour(state, row), kCentre[state][row], 0.8)
                          : kCentre[state][row];
    default:
      return kCentre[state][row];
  }
}

// A pixel of the left half (columns 0 to 4) of a tile.
Rgb LeftHalfPixel(int state, int column, int row) {
  if (column == 4)
    return kCentre[state][row];
  // Corner blocks: rows 0-4 at the top, rows 20-16 (mirrored) at the
  // bottom.
  int corner_row = -1;
  if (row <= 4)
    corner_row = row;
  if (row >= kTileHeight - 5)
    corner_row = kTileHeight - 1 - row;
  if (corner_row < 0)
    return InnerColour(state, column, row);
  if (state == kNormal && row <= 4)
    return kNormalCorner[row][column];
  const double w = kCornerWeight[corner_row][column];
  // Outside the outline (the outer ring of the corner) the face blends
  // into white.
  const bool outside = corner_row == 0 || (column == 0 && corner_row <= 2);
  const Rgb base = outside ? kWhite : InnerColour(state, column, row);
  return Mix(base, kOutline[state], w);
}

}  // namespace

Rgb Mix(Rgb a, Rgb b, double t) {
  auto channel = [&](int shift) {
    const double ca = (a >> shift) & 0xFF, cb = (b >> shift) & 0xFF;
    return static_cast<Rgb>(std::lround(ca + (cb - ca) * t)) << shift;
  };
  return channel(16) | channel(8) | channel(0);
}

SkinAtlas::SkinAtlas() {
  for (int state = 0; state < 4; ++state) {
    for (int row = 0; row < kTileHeight; ++row) {
      for (int column = 0; column < kAtlasWidth; ++column) {
        // The right half mirrors the left one.
        const int source = column <= 4 ? column : kAtlasWidth - 1 - column;
        pixels_[(state * kTileHeight + row) * kAtlasWidth + column] =
            LeftHalfPixel(state, source, row);
      }
    }
  }
}

const SkinAtlas& Atlas() {
  static const SkinAtlas atlas;
  return atlas;
}

std::vector<Band> FaceBands(int w, int h, int state, int whole) {
  const int y0 = kTileHeight * state;
  const int cw = 4 * (whole < 1 ? 1 : whole);  // corner block width
  const int ch = 5 * (whole < 1 ? 1 : whole);  // and height
  const Band all[] = {
      {0, 0, cw, ch, 0, y0, 4, 5},                          // top-left corner
      {cw, 0, w - 2 * cw, ch, 4, y0, 1, 5},                 // top edge
      {w - cw, 0, cw, ch, 5, y0, 4, 5},                     // top-right corner
      {0, ch, cw, h - 2 * ch, 0, y0 + 5, 4, 11},            // left edge
      {w - cw, ch, cw, h - 2 * ch, 5, y0 + 5, 4, 11},       // right edge
      {0, h - ch, cw, ch, 0, y0 + 16, 4, 5},                // bottom-left corner
      {w - cw, h - ch, cw, ch, 5, y0 + 16, 4, 5},           // bottom-right corner
      {cw, h - ch, w - 2 * cw, ch, 4, y0 + 16, 1, 5},       // bottom edge
      {cw, ch, w - 2 * cw, h - 2 * ch, 4, y0 + 5, 1, 11},  // centre
  };
  std::vector<Band> bands;
  for (const Band& b : all)
    if (b.dw > 0 && b.dh > 0)
      bands.push_back(b);
  return bands;
}

std::vector<Rgb> ComposeFace(int width, int height, int state, int whole) {
  std::vector<Rgb> face(
      static_cast<size_t>(width > 0 ? width : 0) * static_cast<size_t>(height > 0 ? height : 0), 0);
  const SkinAtlas& atlas = Atlas();
  for (const Band& b : FaceBands(width, height, state, whole)) {
    for (int y = 0; y < b.dh; ++y) {
      const int dy = b.dy + y;
      if (dy < 0 || dy >= height)
        continue;
      const int sy = b.sy + y * b.sh / b.dh;
      for (int x = 0; x < b.dw; ++x) {
        const int dx = b.dx + x;
        if (dx < 0 || dx >= width)
          continue;
        face[static_cast<size_t>(dy) * width + dx] = atlas.Pixel(b.sx + x * b.sw / b.dw, sy);
      }
    }
  }
  return face;
}

}  // namespace look
