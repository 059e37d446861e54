// Lengths at a display density. A twip is 1/1440 inch, so at D dots per
// inch a pixel is 1440 / D twips: 15 on the usual 96-dot display, 12 at
// 120, 10 at 144. Layouts given in twips convert with these; layouts drawn
// for the usual display in pixels scale by D / 96. Results are rounded to
// the nearest pixel (halves away from zero), so at 96 nothing changes.
#ifndef COMMON_DISPLAY_SCALE_H_
#define COMMON_DISPLAY_SCALE_H_

namespace common {

constexpr int kUsualDpi = 96;

int TwipsToPixels(int twips, int dpi);
int PixelsToTwips(int pixels, int dpi);

// A length of `pixels_at_96` pixels on the usual display, at `dpi`.
int ScalePixels(int pixels_at_96, int dpi);

// The whole number of display pixels that stand for one pixel of a
// picture whose pixels must stay whole (the button faces' corners and
// edges): 1 up to 191 dots per inch, 2 from 192 (200 %), 3 from 288.
int WholeScale(int dpi);

// A density the system reports, made usable: values below 48 or above
// 960 are not densities of any display and give the usual 96.
int UsableDpi(int reported);

}  // namespace common

#endif  // COMMON_DISPLAY_SCALE_H_
