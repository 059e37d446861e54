#include <gtest/gtest.h>

#include <array>

#include "window-look/button_skin_state.h"
#include "window-look/chrome_pictures.h"
#include "window-look/skin_atlas.h"

namespace look {
namespace {

// ---- the atlas ------------------------------------------------------------------

// The centre column's gradient of each tile, and its inner line and glow
// (column 1).
TEST(SkinAtlasTest, GradientsAndInnerLinesOfAllTiles) {
  const struct {
    int state, column, row;
    Rgb colour;
  } cases[] = {
      {0, 4, 0, 0x1B8FD5},  {0, 4, 1, 0xFFFFFF},  {0, 4, 3, 0xF1F8FC},  {0, 4, 10, 0xD7EAF9},
      {0, 4, 18, 0xB0CFE9}, {0, 4, 19, 0xCCE0F1}, {0, 4, 20, 0x1B8FD5}, {1, 4, 1, 0x4CC3FB},
      {1, 4, 2, 0xC6EDFF},  {1, 4, 11, 0xCBE4F7}, {1, 4, 18, 0x99D2F3}, {1, 4, 19, 0x3FBBF8},
      {2, 4, 1, 0x3BBCFA},  {2, 4, 3, 0x9ACDEE},  {2, 4, 15, 0xE0F1FB}, {2, 4, 18, 0xBEE8FE},
      {2, 4, 19, 0x46C2FC}, {3, 4, 0, 0xBFBFBF},  {3, 4, 3, 0xF8F8F8},  {3, 4, 12, 0xE5E5E5},
      {3, 4, 19, 0xE6E6E6}, {3, 4, 20, 0xBFBFBF}, {0, 1, 5, 0xF0F7FC},  {0, 1, 15, 0xCDE2F2},
      {1, 1, 5, 0x4CC3FB},  {1, 1, 15, 0x41BCF8}, {2, 1, 5, 0x37B9F9},  {2, 1, 15, 0x44C1FC},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Atlas().TilePixel(c.state, c.column, c.row), c.colour)
        << "state " << c.state << " column " << c.column << " row " << c.row;
}

TEST(SkinAtlasTest, NormalTileTopLeftCorner) {
  const Rgb corner[5][4] = {
      {0x78BAE6, 0x6BB3E3, 0x2C97D8, 0x1B8FD5}, {0x69B2E2, 0x7EC0E7, 0xE7F3FB, 0xFFFFFF},
      {0x2995D7, 0xECF6FC, 0xFFFFFF, 0xFFFFFF}, {0x1B8FD5, 0xF5FAFD, 0xF1F8FC, 0xF1F8FC},
      {0x1B8FD5, 0xF3F9FC, 0xEEF6FB, 0xEEF6FB},
  };
  for (int row = 0; row < 5; ++row)
    for (int column = 0; column < 4; ++column)
      EXPECT_EQ(Atlas().TilePixel(0, column, row), corner[row][column])
          << "row " << row << " column " << column;
}

TEST(SkinAtlasTest, OutlinesOfAllFourTiles) {
  const Rgb outline[4] = {0x1B8FD5, 0x1B8FD5, 0x1B8FD5, 0xBFBFBF};
  for (int s = 0; s < 4; ++s) {
    for (int row = 3; row <= 17; ++row) {
      EXPECT_EQ(Atlas().TilePixel(s, 0, row), outline[s]) << s << "/" << row;
      EXPECT_EQ(Atlas().TilePixel(s, 8, row), outline[s]) << s << "/" << row;
    }
    for (int column = 3; column <= 5; ++column) {
      EXPECT_EQ(Atlas().TilePixel(s, column, 0), outline[s]) << s << "/" << column;
      EXPECT_EQ(Atlas().TilePixel(s, column, 20), outline[s]) << s << "/" << column;
    }
  }
}

TEST(SkinAtlasTest, ColumnsBesideTheCentre) {
  // Columns 2 and 3 equal the centre in the normal and disabled tiles.
  for (int s : {0, 3})
    for (int row = 3; row <= 17; ++row)
      for (int column : {2, 3, 5, 6})
        EXPECT_EQ(Atlas().TilePixel(s, column, row), Atlas().TilePixel(s, 4, row));
  // In hover and pressed they lie between the glow and the centre.
  for (int s : {1, 2}) {
    const Rgb glow = Atlas().TilePixel(s, 1, 10), centre = Atlas().TilePixel(s, 4, 10);
    for (int column : {2, 3}) {
      const Rgb c = Atlas().TilePixel(s, column, 10);
      EXPECT_NE(c, glow);
      EXPECT_NE(c, centre);
    }
  }
}

TEST(SkinAtlasTest, TilesAreMirrorSymmetric) {
  for (int s = 0; s < 4; ++s)
    for (int row = 0; row < 21; ++row)
      for (int column = 0; column < 4; ++column)
        EXPECT_EQ(Atlas().TilePixel(s, column, row), Atlas().TilePixel(s, 8 - column, row));
}

TEST(SkinAtlasTest, BandsOfA75By25Face) {
  const std::vector<Band> bands = FaceBands(75, 25, 2);
  ASSERT_EQ(bands.size(), 9u);
  const Band expected[] = {
      {0, 0, 4, 5, 0, 42, 4, 5},   {4, 0, 67, 5, 4, 42, 1, 5},   {71, 0, 4, 5, 5, 42, 4, 5},
      {0, 5, 4, 15, 0, 47, 4, 11}, {71, 5, 4, 15, 5, 47, 4, 11}, {0, 20, 4, 5, 0, 58, 4, 5},
      {71, 20, 4, 5, 5, 58, 4, 5}, {4, 20, 67, 5, 4, 58, 1, 5},  {4, 5, 67, 15, 4, 47, 1, 11},
  };
  const auto fields = [](const Band& b) {
    return std::array{b.dx, b.dy, b.dw, b.dh, b.sx, b.sy, b.sw, b.sh};
  };
  for (int i = 0; i < 9; ++i)
    EXPECT_EQ(fields(bands[i]), fields(expected[i])) << i;
  // The composed face: corners are the tile's corner blocks, the top band
  // is column 4 stretched.
  const std::vector<Rgb> face = ComposeFace(75, 25, 0);
  EXPECT_EQ(face[0], 0x78BAE6u);
  EXPECT_EQ(face[74], 0x78BAE6u);
  EXPECT_EQ(face[1 * 75 + 40], 0xFFFFFFu);
  EXPECT_EQ(face[24 * 75 + 40], 0x1B8FD5u);
  EXPECT_EQ(face[12 * 75 + 0], 0x1B8FD5u);
}

// The corners of faces at 150 % keep the blocks of the usual display; at
// 200 % every atlas pixel of a corner is a block of 2 by 2 and the outline
// two pixels wide.
TEST(SkinAtlasTest, CornersAtEachDensity) {
  const struct {
    int width, height, whole;
  } cases[] = {{75, 25, 1}, {113, 38, 1}, {150, 50, 2}, {225, 75, 3}};
  for (const auto& c : cases) {
    for (int state = 0; state < 4; ++state) {
      const std::vector<Rgb> face = ComposeFace(c.width, c.height, state, c.whole);
      ASSERT_EQ(face.size(), static_cast<size_t>(c.width * c.height));
      auto at = [&](int x, int y) { return face[static_cast<size_t>(y) * c.width + x]; };
      for (int y = 0; y < 5 * c.whole; ++y) {
        for (int x = 0; x < 4 * c.whole; ++x) {
          const Rgb tile = Atlas().TilePixel(state, x / c.whole, y / c.whole);
          EXPECT_EQ(at(x, y), tile) << c.width << " top-left " << x << "," << y;
          // The other three corners from their own blocks.
          const int rx = c.width - 4 * c.whole + x, by = c.height - 5 * c.whole + y;
          EXPECT_EQ(at(rx, y), Atlas().TilePixel(state, 5 + x / c.whole, y / c.whole))
              << c.width << " top-right " << x << "," << y;
          EXPECT_EQ(at(x, by), Atlas().TilePixel(state, x / c.whole, 16 + y / c.whole))
              << c.width << " bottom-left " << x << "," << y;
        }
      }
      // The outline along the middle of the left side is `whole` pixels
      // wide.
      const int middle = c.height / 2;
      for (int x = 0; x < c.whole; ++x)
        EXPECT_EQ(at(x, middle), Atlas().TilePixel(state, 0, 10)) << c.width;
      EXPECT_NE(at(c.whole, middle), Atlas().TilePixel(state, 0, 10)) << c.width;
    }
  }
}

TEST(SkinAtlasTest, TinyButtonsGetNoNegativeBands) {
  for (int w = 0; w < 12; ++w) {
    for (int h = 0; h < 14; ++h) {
      for (int whole : {1, 2}) {
        for (const Band& b : FaceBands(w, h, 0, whole)) {
          EXPECT_GT(b.dw, 0);
          EXPECT_GT(b.dh, 0);
        }
        EXPECT_EQ(ComposeFace(w, h, 1, whole).size(), static_cast<size_t>(w * h));
      }
    }
  }
}

// ---- the button state machine -----------------------------------------------------

TEST(ButtonSkinTest, FadeTickCounts) {
  EXPECT_EQ(FadeTicks(kHoverLevel), 62);
  EXPECT_EQ(FadeTicks(kSpaceLevel), 69);
  EXPECT_EQ(FadeTicks(kPressedLevel), 82);
  EXPECT_EQ(FadeTicks(0), 86);
}

TEST(ButtonSkinTest, FadeLevelsAndEnd) {
  ButtonSkin skin;
  skin.state = 1;
  skin.alpha = 250;
  FadeTick t = NextFadeTick(skin);
  EXPECT_EQ(t.blend_alpha, 250);
  EXPECT_FALSE(t.last);
  EXPECT_EQ(skin.alpha, 253);
  t = NextFadeTick(skin);
  EXPECT_EQ(t.blend_alpha, 253);
  EXPECT_TRUE(t.last);
  EXPECT_EQ(skin.alpha, 0);
}

TEST(ButtonSkinTest, PointerInPressReleaseMoveLeave) {
  ButtonSkin skin;
  struct Step {
    ButtonEvent event;
    int state;
    int alpha;
    bool fade;
  };
  const Step steps[] = {
      {ButtonEvent::kMouseMove, 1, 70, true},   // pointer in
      {ButtonEvent::kMouseMove, 1, 70, false},  // further moves: nothing
      {ButtonEvent::kLeftDown, 2, 10, true},    // press
      {ButtonEvent::kLeftUp, 0, 0, true},       // release
      {ButtonEvent::kMouseMove, 1, 70, true},   // move: a new entry
      {ButtonEvent::kMouseLeave, 0, 0, true},   // leave
  };
  for (const Step& s : steps) {
    const ButtonReaction r = ApplyButtonEvent(skin, s.event);
    EXPECT_EQ(skin.state, s.state);
    EXPECT_EQ(skin.alpha, s.alpha);
    EXPECT_EQ(r.start_fade, s.fade);
  }
}

TEST(ButtonSkinTest, KeyboardFocusAndEnable) {
  ButtonSkin skin;
  ButtonReaction r = ApplyButtonEvent(skin, ButtonEvent::kSpaceDown);
  EXPECT_EQ(skin.state, 2);
  EXPECT_EQ(skin.alpha, 50);
  r = ApplyButtonEvent(skin, ButtonEvent::kSpaceUp);
  EXPECT_EQ(skin.state, 0);
  skin.state = 1;
  skin.alpha = 120;
  r = ApplyButtonEvent(skin, ButtonEvent::kFocusChanged);
  EXPECT_TRUE(r.render_images);
  EXPECT_EQ(skin.state, 1);  // unchanged
  EXPECT_EQ(skin.alpha, 0);
  r = ApplyButtonEvent(skin, ButtonEvent::kDisabled);
  EXPECT_EQ(skin.state, 3);
  EXPECT_TRUE(r.show_now);
  EXPECT_FALSE(r.start_fade);
  r = ApplyButtonEvent(skin, ButtonEvent::kEnabled);
  EXPECT_EQ(skin.state, 0);
  EXPECT_TRUE(r.show_now);
  // The first move after an entry asks for the leave notification.
  r = ApplyButtonEvent(skin, ButtonEvent::kMouseMove);
  EXPECT_TRUE(r.track_leave);
  EXPECT_EQ(skin.mouse_flag, 1);
}

// ---- chrome -------------------------------------------------------------------------

TEST(ChromeTest, DragRules) {
  // Only the left button drags: pressed alone, and held alone while moving.
  for (int buttons : {0, kLeftButton, kRightButton, kMiddleButton, kLeftButton | kRightButton,
                      kLeftButton | kMiddleButton}) {
    EXPECT_EQ(DragOnMove(buttons), buttons == kLeftButton) << buttons;
    if (buttons == kLeftButton || buttons == kRightButton || buttons == kMiddleButton) {
      EXPECT_EQ(DragOnPress(buttons), buttons == kLeftButton) << buttons;
    }
  }
}

TEST(ChromeTest, PicturesHaveTheirSizesAndDiffer) {
  const Picture background = DrawBackground(600, 420, BackgroundStyle::kPanel, 30);
  ASSERT_EQ(background.pixels.size(), 600u * 420u);
  EXPECT_EQ(background.At(0, 0), kBorder);
  EXPECT_EQ(background.At(599, 419), kBorder);
  // Blue title band, light body.
  EXPECT_LT(background.At(300, 15) & 0xFF0000, 0x800000u);
  EXPECT_GT(background.At(300, 200) & 0xFF0000, 0xD00000u);
  EXPECT_TRUE(DrawBackground(0, 0, BackgroundStyle::kStrip, 0).pixels.empty());
}

// The chrome buttons at 100 %, 125 %, 150 % and 200 %: their size, a white
// glyph in the middle, a minimise bar of whole pixel rows, and a normal
// picture whose edge is the background it sits on.
TEST(ChromeTest, ButtonPicturesAtEachDensity) {
  const struct {
    int dpi, width, height, bar_rows;
  } cases[] = {{96, 24, 20, 2}, {120, 30, 25, 3}, {144, 36, 30, 3}, {192, 48, 40, 4}};
  const Picture background = DrawBackground(900, 600, BackgroundStyle::kPanel, 45);
  for (const auto& c : cases) {
    EXPECT_EQ(ChromeButtonWidth(c.dpi), c.width);
    EXPECT_EQ(ChromeButtonHeight(c.dpi), c.height);
    for (ChromeButton b : {ChromeButton::kClose, ChromeButton::kMinimise}) {
      const Picture normal = DrawChromeButton(b, ChromeState::kNormal, background, 850, 6, c.dpi);
      const Picture hover = DrawChromeButton(b, ChromeState::kHover, background, 850, 6, c.dpi);
      const Picture pressed = DrawChromeButton(b, ChromeState::kPressed, background, 850, 6, c.dpi);
      ASSERT_EQ(normal.width, c.width) << c.dpi;
      ASSERT_EQ(normal.height, c.height) << c.dpi;
      EXPECT_NE(normal.pixels, hover.pixels) << c.dpi;
      EXPECT_NE(hover.pixels, pressed.pixels) << c.dpi;
      EXPECT_EQ(normal.At(0, 0), background.At(850, 6)) << c.dpi;
      EXPECT_EQ(normal.At(c.width - 1, c.height - 1),
                background.At(850 + c.width - 1, 6 + c.height - 1))
          << c.dpi;
      const int middle = c.width / 2;
      if (b == ChromeButton::kClose) {
        EXPECT_EQ(normal.At(middle, c.height / 2), 0xFFFFFFu) << c.dpi;
        continue;
      }
      // The bar: rows that are white in its middle, all of them whole
      // (no half-covered row above or below them).
      int white = 0, partial = 0;
      for (int y = 0; y < c.height; ++y) {
        const Rgb px = normal.At(middle, y);
        if (px == 0xFFFFFFu)
          ++white;
        else if (px != background.At(850 + middle, 6 + y))
          ++partial;
      }
      EXPECT_EQ(white, c.bar_rows) << c.dpi;
      EXPECT_EQ(partial, 0) << c.dpi;
    }
  }
}

// At 96 dots per inch the pictures are those of the usual display: the
// bar on rows 13 and 14 and the cross through the middle pixel.
TEST(ChromeTest, ButtonPicturesOfTheUsualDisplay) {
  const Picture background = DrawBackground(600, 420, BackgroundStyle::kPanel, 30);
  const Picture bar =
      DrawChromeButton(ChromeButton::kMinimise, ChromeState::kNormal, background, 570, 5, 96);
  EXPECT_EQ(bar.At(12, 13), 0xFFFFFFu);
  EXPECT_EQ(bar.At(12, 14), 0xFFFFFFu);
  EXPECT_EQ(bar.At(12, 12), background.At(582, 17));
  EXPECT_EQ(bar.At(12, 15), background.At(582, 20));
  const Picture cross =
      DrawChromeButton(ChromeButton::kClose, ChromeState::kNormal, background, 570, 5, 96);
  EXPECT_EQ(cross.At(12, 10), 0xFFFFFFu);
  EXPECT_EQ(cross.At(0, 0), background.At(570, 5));
}

}  // namespace
}  // namespace look
