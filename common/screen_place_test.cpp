#include "common/screen_place.h"

#include <gtest/gtest.h>

namespace common {
namespace {

TEST(ScreenPlaceTest, MovesTheLeastIntoTheWorkArea) {
  // A work area of 1920 by 1040 beside a taskbar at the top, and one of a
  // second screen to the left of the first.
  const ScreenRect work{0, 40, 1920, 1080};
  const ScreenRect left_screen{-1280, 0, 0, 1024};
  const struct {
    const char* name;
    ScreenRect box, on, want;
  } cases[] = {
      {"inside", {100, 380, 440, 480}, work, {100, 380, 440, 480}},
      {"beyond the right", {2500, 380, 2840, 480}, work, {1580, 380, 1920, 480}},
      {"below and right", {3000, 2000, 3340, 2100}, work, {1580, 980, 1920, 1080}},
      {"above, behind the taskbar", {100, -500, 440, -400}, work, {100, 40, 440, 140}},
      {"onto a screen left of the first",
       {-3000, 300, -2660, 400},
       left_screen,
       {-1280, 300, -940, 400}},
      {"larger than the area", {-50, -50, 2050, 1250}, work, {0, 40, 2100, 1340}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(MoveInto(c.box, c.on), c.want) << c.name;
}

}  // namespace
}  // namespace common
