#include "common/display_scale.h"

#include <gtest/gtest.h>

namespace common {
namespace {

// The lengths the windows are laid out with, at the usual density and at
// 125 % and 150 %.
TEST(DisplayScaleTest, TwipsToPixelsAtEachDensity) {
  const struct {
    int twips, at96, at120, at144;
  } cases[] = {
      {5100, 340, 425, 510},  // the command box
      {1500, 100, 125, 150},
      {3255, 217, 271, 326},  // the input box: 271.25 and 325.5
      {285, 19, 24, 29},      // 23.75 and 28.5
      {840, 56, 70, 84},      // the input row without and with lyrics
      {960, 64, 80, 96},
      {6000, 400, 500, 600},  // the result list's columns
      {2000, 133, 167, 200},
      {1440, 96, 120, 144},
      {7, 0, 1, 1},           // rounding: 0.47, 0.58, 0.7
      {8, 1, 1, 1},
      {-100, -7, -8, -10},    // a place left of the main screen
      {0, 0, 0, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TwipsToPixels(c.twips, 96), c.at96) << c.twips;
    EXPECT_EQ(TwipsToPixels(c.twips, 120), c.at120) << c.twips;
    EXPECT_EQ(TwipsToPixels(c.twips, 144), c.at144) << c.twips;
  }
}

// A position goes to twips when it is saved and back when it is read: at
// the density it was saved at it comes back to the pixel, and at another
// one it names the same place in inches.
TEST(DisplayScaleTest, SavedPositionsComeBack) {
  for (int dpi : {96, 120, 144, 168, 192}) {
    for (int pixels : {0, 1, 7, 380, 1023, -5}) {
      EXPECT_EQ(TwipsToPixels(PixelsToTwips(pixels, dpi), dpi), pixels)
          << pixels << " at " << dpi;
    }
  }
  EXPECT_EQ(PixelsToTwips(56, 96), 840);
  EXPECT_EQ(PixelsToTwips(70, 120), 840);
  EXPECT_EQ(PixelsToTwips(84, 144), 840);
  // 5700 twips saved at 96 (380 pixels) reopen 570 pixels down at 144.
  EXPECT_EQ(TwipsToPixels(PixelsToTwips(380, 96), 144), 570);
  // 1440 / 168 is no whole number of twips a pixel: the nearest twip.
  EXPECT_EQ(PixelsToTwips(7, 168), 60);
  EXPECT_EQ(PixelsToTwips(5, 168), 43);   // 42.86
  EXPECT_EQ(PixelsToTwips(-5, 168), -43);
  // Halves go away from zero on both sides.
  EXPECT_EQ(TwipsToPixels(285, 144), 29);   // 28.5
  EXPECT_EQ(TwipsToPixels(-285, 144), -29);
}

TEST(DisplayScaleTest, PixelLayoutsScale) {
  const struct {
    int pixels, dpi, scaled;
  } cases[] = {
      {24, 96, 24},   {20, 96, 20},   {24, 120, 30},  {20, 120, 25}, {24, 144, 36},
      {20, 144, 30},  {24, 192, 48},  {321, 120, 401}, {5, 120, 6},  {3, 120, 4},
      {1, 120, 1},    {1, 144, 2},    {-56, 144, -84}, {0, 144, 0},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ScalePixels(c.pixels, c.dpi), c.scaled) << c.pixels << " at " << c.dpi;
}

TEST(DisplayScaleTest, WholeScaleAndUsableDensities) {
  const struct {
    int dpi, whole;
  } wholes[] = {{96, 1}, {120, 1}, {144, 1}, {168, 1}, {191, 1}, {192, 2}, {240, 2}, {288, 3}};
  for (const auto& w : wholes)
    EXPECT_EQ(WholeScale(w.dpi), w.whole) << w.dpi;
  EXPECT_EQ(WholeScale(72), 1);

  const struct {
    int reported, usable;
  } reports[] = {{0, 96}, {-1, 96}, {47, 96}, {48, 48}, {96, 96}, {144, 144}, {960, 960},
                 {961, 96}};
  for (const auto& r : reports)
    EXPECT_EQ(UsableDpi(r.reported), r.usable) << r.reported;
}

}  // namespace
}  // namespace common
