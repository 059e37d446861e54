#include <gtest/gtest.h>

#include "window-look/button_skin_state.h"
#include "window-look/chrome_pictures.h"
#include "window-look/skin_atlas.h"

namespace look {
namespace {

// ---- the atlas ------------------------------------------------------------------

TEST(SkinAtlasTest, CentreGradientsOfAllTiles) {
  const struct {
    int state, row;
    Rgb colour;
  } cases[] = {
      {0, 0, 0x1B8FD5},  {0, 1, 0xFFFFFF},  {0, 3, 0xF1F8FC}, {0, 10, 0xD7EAF9}, {0, 18, 0xB0CFE9},
      {0, 19, 0xCCE0F1}, {0, 20, 0x1B8FD5}, {1, 1, 0x4CC3FB}, {1, 2, 0xC6EDFF},  {1, 11, 0xCBE4F7},
      {1, 18, 0x99D2F3}, {1, 19, 0x3FBBF8}, {2, 1, 0x3BBCFA}, {2, 3, 0x9ACDEE},  {2, 15, 0xE0F1FB},
      {2, 18, 0xBEE8FE}, {2, 19, 0x46C2FC}, {3, 0, 0xBFBFBF}, {3, 3, 0xF8F8F8},  {3, 12, 0xE5E5E5},
      {3, 19, 0xE6E6E6}, {3, 20, 0xBFBFBF},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Atlas().TilePixel(c.state, 4, c.row), c.colour)
        << "state " << c.state << " row " << c.row;
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

TEST(SkinAtlasTest, InnerLinesAndGlow) {
  EXPECT_EQ(Atlas().TilePixel(0, 1, 5), 0xF0F7FCu);
  EXPECT_EQ(Atlas().TilePixel(0, 1, 15), 0xCDE2F2u);
  EXPECT_EQ(Atlas().TilePixel(1, 1, 5), 0x4CC3FBu);
  EXPECT_EQ(Atlas().TilePixel(1, 1, 15), 0x41BCF8u);
  EXPECT_EQ(Atlas().TilePixel(2, 1, 5), 0x37B9F9u);
  EXPECT_EQ(Atlas().TilePixel(2, 1, 15), 0x44C1FCu);
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
  for (int i = 0; i < 9; ++i) {
    EXPECT_EQ(bands[i].dx, expected[i].dx) << i;
    EXPECT_EQ(bands[i].dy, expected[i].dy) << i;
    EXPECT_EQ(bands[i].dw, expected[i].dw) << i;
    EXPECT_EQ(bands[i].dh, expected[i].dh) << i;
    EXPECT_EQ(bands[i].sx, expected[i].sx) << i;
    EXPECT_EQ(bands[i].sy, expected[i].sy) << i;
    EXPECT_EQ(bands[i].sw, expected[i].sw) << i;
    EXPECT_EQ(bands[i].sh, expected[i].sh) << i;
  }
  // The composed face: corners are the tile's corner blocks, the top band
  // is column 4 stretched.
  const std::vector<Rgb> face = ComposeFace(75, 25, 0);
  EXPECT_EQ(face[0], 0x78BAE6u);
  EXPECT_EQ(face[74], 0x78BAE6u);
  EXPECT_EQ(face[1 * 75 + 40], 0xFFFFFFu);
  EXPECT_EQ(face[24 * 75 + 40], 0x1B8FD5u);
  EXPECT_EQ(face[12 * 75 + 0], 0x1B8FD5u);
}

TEST(SkinAtlasTest, TinyButtonsGetNoNegativeBands) {
  for (int w = 0; w < 12; ++w) {
    for (int h = 0; h < 14; ++h) {
      for (const Band& b : FaceBands(w, h, 0)) {
        EXPECT_GT(b.dw, 0);
        EXPECT_GT(b.dh, 0);
      }
      EXPECT_EQ(ComposeFace(w, h, 1).size(), static_cast<size_t>(w * h));
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
  EXPECT_TRUE(DragOnPress(kLeftButton));
  EXPECT_FALSE(DragOnPress(kRightButton));
  EXPECT_FALSE(DragOnPress(kMiddleButton));
  EXPECT_TRUE(DragOnMove(kLeftButton));
  EXPECT_FALSE(DragOnMove(0));
  EXPECT_FALSE(DragOnMove(kLeftButton | kRightButton));
  EXPECT_FALSE(DragOnMove(kLeftButton | kMiddleButton));
  EXPECT_FALSE(DragOnMove(kRightButton));
}

TEST(ChromeTest, RsPutsBothButtonsBack) {
  ChromePictures pictures;
  pictures.close = ChromeState::kPressed;
  pictures.minimise = ChromeState::kHover;
  pictures.RS();
  EXPECT_EQ(pictures.close, ChromeState::kNormal);
  EXPECT_EQ(pictures.minimise, ChromeState::kNormal);
}

TEST(ChromeTest, PicturesHaveTheirSizesAndDiffer) {
  const Picture background = DrawBackground(600, 420, BackgroundStyle::kPanel, 30);
  ASSERT_EQ(background.pixels.size(), 600u * 420u);
  EXPECT_EQ(background.At(0, 0), kBorder);
  EXPECT_EQ(background.At(599, 419), kBorder);
  // Blue title band, light body.
  EXPECT_LT(background.At(300, 15) & 0xFF0000, 0x800000u);
  EXPECT_GT(background.At(300, 200) & 0xFF0000, 0xD00000u);
  for (ChromeButton b : {ChromeButton::kClose, ChromeButton::kMinimise}) {
    const Picture normal = DrawChromeButton(b, ChromeState::kNormal, background, 570, 5);
    const Picture hover = DrawChromeButton(b, ChromeState::kHover, background, 570, 5);
    const Picture pressed = DrawChromeButton(b, ChromeState::kPressed, background, 570, 5);
    EXPECT_EQ(normal.width, 24);
    EXPECT_EQ(normal.height, 20);
    EXPECT_NE(normal.pixels, hover.pixels);
    EXPECT_NE(hover.pixels, pressed.pixels);
    // The glyph is white in the middle.
    EXPECT_EQ(normal.At(12, b == ChromeButton::kClose ? 10 : 13), 0xFFFFFFu);
    // The normal picture's corner is the background it sits on.
    EXPECT_EQ(normal.At(0, 0), background.At(570, 5));
  }
  EXPECT_TRUE(DrawBackground(0, 0, BackgroundStyle::kStrip, 0).pixels.empty());
}

}  // namespace
}  // namespace look
