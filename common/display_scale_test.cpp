#include "common/display_scale.h"

#include <gtest/gtest.h>

namespace common {
namespace {

// The lengths the windows are laid out with, at the usual density and at
// 125 % and 150 %: the command box (5100), the input box (3255: 271.25 and
// 325.5), the input row without and with lyrics (840, 960), the result
// list's columns (6000), a saved position (5700); rounding (7: 0.47, 0.58,
// 0.7; 285: 23.75 and 28.5), halves away from zero on both sides, a place
// left of the main screen.
TEST(DisplayScaleTest, TwipsToPixelsAtEachDensity) {
  const struct {
    int twips, at96, at120, at144;
  } cases[] = {
      {5100, 340, 425, 510}, {1500, 100, 125, 150}, {3255, 217, 271, 326}, {285, 19, 24, 29},
      {-285, -19, -24, -29}, {840, 56, 70, 84},     {960, 64, 80, 96},     {6000, 400, 500, 600},
      {2000, 133, 167, 200}, {1440, 96, 120, 144},  {5700, 380, 475, 570}, {7, 0, 1, 1},
      {8, 1, 1, 1},          {-100, -7, -8, -10},   {0, 0, 0, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TwipsToPixels(c.twips, 96), c.at96) << c.twips;
    EXPECT_EQ(TwipsToPixels(c.twips, 120), c.at120) << c.twips;
    EXPECT_EQ(TwipsToPixels(c.twips, 144), c.at144) << c.twips;
  }
}

// A position goes to twips when it is saved and back when it is read: at
// the density it was saved at it comes back to the pixel, and at another
// one it names the same place in inches (5700 twips saved at 96 reopen 570
// pixels down at 144). 1440 / 168 is no whole number of twips a pixel: the
// nearest twip (42.86 for 5 pixels).
TEST(DisplayScaleTest, SavedPositionsComeBack) {
  for (int dpi : {96, 120, 144, 168, 192}) {
    for (int pixels : {0, 1, 7, 380, 1023, -5}) {
      EXPECT_EQ(TwipsToPixels(PixelsToTwips(pixels, dpi), dpi), pixels) << pixels << " at " << dpi;
    }
  }
  const struct {
    int pixels, dpi, twips;
  } cases[] = {{56, 96, 840}, {70, 120, 840}, {84, 144, 840}, {380, 96, 5700},
               {7, 168, 60},  {5, 168, 43},   {-5, 168, -43}};
  for (const auto& c : cases)
    EXPECT_EQ(PixelsToTwips(c.pixels, c.dpi), c.twips) << c.pixels << " at " << c.dpi;
}

TEST(DisplayScaleTest, PixelLayoutsScale) {
  const struct {
    int pixels, dpi, scaled;
  } cases[] = {
      {24, 96, 24},  {20, 96, 20},  {24, 120, 30},   {20, 120, 25}, {24, 144, 36},
      {20, 144, 30}, {24, 192, 48}, {321, 120, 401}, {5, 120, 6},   {3, 120, 4},
      {1, 120, 1},   {1, 144, 2},   {-56, 144, -84}, {0, 144, 0},
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
  } reports[] = {{0, 96},  {-1, 96},   {47, 96},   {48, 48},
                 {96, 96}, {144, 144}, {960, 960}, {961, 96}};
  for (const auto& r : reports)
    EXPECT_EQ(UsableDpi(r.reported), r.usable) << r.reported;
}

}  // namespace
}  // namespace common
