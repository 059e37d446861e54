#include "window-look/chrome_pictures.h"

#include <algorithm>
#include <cmath>

#include "common/display_scale.h"
#include "window-look/geometry.h"

namespace look {
namespace {

Picture Blank(int width, int height, Rgb colour) {
  Picture p;
  p.width = std::max(width, 0);
  p.height = std::max(height, 0);
  p.pixels.assign(static_cast<size_t>(p.width) * p.height, colour);
  return p;
}

void Set(Picture& p, int x, int y, Rgb colour) {
  if (x >= 0 && y >= 0 && x < p.width && y < p.height)
    p.pixels[static_cast<size_t>(y) * p.width + x] = colour;
}

struct Segment {
  double ax, ay, bx, by;
};

// Coverage (0..1) of a pixel by strokes of half-width `half`, 4x4 samples.
double Coverage(int x, int y, const std::vector<Segment>& strokes, double half) {
  int inside = 0;
  for (int sy = 0; sy < 4; ++sy) {
    for (int sx = 0; sx < 4; ++sx) {
      const double px = x + (sx + 0.5) / 4, py = y + (sy + 0.5) / 4;
      for (const Segment& s : strokes) {
        if (SegmentDistance(px, py, s.ax, s.ay, s.bx, s.by) <= half) {
          ++inside;
          break;
        }
      }
    }
  }
  return inside / 16.0;
}

// Coverage of a pixel by a rounded rectangle (x0, y0)-(x1, y1), radius r.
double RoundedCoverage(int x, int y, double x0, double y0, double x1, double y1, double r) {
  int inside = 0;
  for (int sy = 0; sy < 4; ++sy) {
    for (int sx = 0; sx < 4; ++sx) {
      const double px = x + (sx + 0.5) / 4, py = y + (sy + 0.5) / 4;
      const double cx = std::clamp(px, x0 + r, x1 - r), cy = std::clamp(py, y0 + r, y1 - r);
      const double dx = px - cx, dy = py - cy;
      if (px >= x0 && px <= x1 && py >= y0 && py <= y1 && dx * dx + dy * dy <= r * r)
        ++inside;
    }
  }
  return inside / 16.0;
}

}  // namespace

Picture DrawBackground(int width, int height, BackgroundStyle style, int title_height) {
  Picture p = Blank(width, height, kSuiteBlue);
  if (p.width == 0 || p.height == 0)
    return p;
  const int band =
      style == BackgroundStyle::kStrip ? p.height : std::clamp(title_height, 0, p.height);
  for (int y = 0; y < p.height; ++y) {
    Rgb row;
    if (y < band) {
      // Title band: a clear blue, lighter at the top.
      const double t = band > 1 ? double(y) / (band - 1) : 0.0;
      row = style == BackgroundStyle::kStrip ? Mix(0x34A4E6, 0x1681C4, t)
                                             : Mix(kTitleTop, kSuiteBlue, t);
    } else {
      // Body: near white with a faint blue towards the bottom.
      const int body = p.height - band;
      const double t = body > 1 ? double(y - band) / (body - 1) : 0.0;
      row = Mix(0xF5FAFE, 0xDDEDF8, t);
    }
    for (int x = 0; x < p.width; ++x)
      Set(p, x, y, row);
  }
  // A highlight under the top edge and a darker line under the title band.
  for (int x = 1; x < p.width - 1; ++x) {
    Set(p, x, 1, Mix(p.At(x, 1), 0xFFFFFF, 0.35));
    if (style == BackgroundStyle::kPanel && band > 0 && band < p.height)
      Set(p, x, band - 1, 0x1576B8);
  }
  // One-pixel border all round.
  for (int x = 0; x < p.width; ++x) {
    Set(p, x, 0, kBorder);
    Set(p, x, p.height - 1, kBorder);
  }
  for (int y = 0; y < p.height; ++y) {
    Set(p, 0, y, kBorder);
    Set(p, p.width - 1, y, kBorder);
  }
  return p;
}

int ChromeButtonWidth(int dpi) {
  return common::ScalePixels(kChromeButtonWidth, dpi);
}

int ChromeButtonHeight(int dpi) {
  return common::ScalePixels(kChromeButtonHeight, dpi);
}

Picture DrawChromeButton(ChromeButton button,
                         ChromeState state,
                         const Picture& background,
                         int x0,
                         int y0,
                         int dpi) {
  const double scale = static_cast<double>(dpi) / common::kUsualDpi;
  Picture p = Blank(ChromeButtonWidth(dpi), ChromeButtonHeight(dpi), kSuiteBlue);
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x) {
      const int bx = x0 + x, by = y0 + y;
      if (bx >= 0 && by >= 0 && bx < background.width && by < background.height)
        Set(p, x, y, background.At(bx, by));
    }
  // Hover and pressed get a soft rounded plate behind the glyph.
  if (state != ChromeState::kNormal) {
    Rgb plate;
    double strength;
    if (button == ChromeButton::kClose) {
      plate = state == ChromeState::kHover ? 0xE5484D : 0xB4262B;
      strength = 0.92;
    } else {
      plate = state == ChromeState::kHover ? 0xFFFFFF : 0x0B4F80;
      strength = state == ChromeState::kHover ? 0.30 : 0.45;
    }
    const double inset = std::max(1.0, std::round(scale));
    for (int y = 0; y < p.height; ++y)
      for (int x = 0; x < p.width; ++x) {
        const double c =
            RoundedCoverage(x, y, inset, inset, p.width - inset, p.height - inset, 3.5 * scale);
        if (c > 0)
          Set(p, x, y, Mix(p.At(x, y), plate, c * strength));
      }
  }
  const double cx = p.width / 2.0, cy = p.height / 2.0;
  const double arm = 4 * scale;
  std::vector<Segment> glyph;
  double half;
  if (button == ChromeButton::kClose) {
    glyph = {{cx - arm, cy - arm, cx + arm, cy + arm}, {cx - arm, cy + arm, cx + arm, cy - arm}};
    half = 0.85 * scale;
  } else {
    // The bar covers whole pixel rows (two on the usual display), so it
    // stays crisp at every density.
    const int rows = std::max(2, static_cast<int>(std::lround(2 * scale)));
    const double top = std::round(cy + arm - rows / 2.0);
    const double middle = top + rows / 2.0;
    glyph = {{cx - 4.5 * scale, middle, cx + 4.5 * scale, middle}};
    half = rows / 2.0;
  }
  const double shift = state == ChromeState::kPressed ? 0.5 * scale : 0.0;
  for (Segment& s : glyph) {
    s.ax += shift;
    s.bx += shift;
    s.ay += shift;
    s.by += shift;
  }
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x) {
      const double c = Coverage(x, y, glyph, half);
      if (c > 0)
        Set(p, x, y, Mix(p.At(x, y), 0xFFFFFF, c));
    }
  return p;
}

bool DragOnPress(int button) {
  return button == kLeftButton;
}

bool DragOnMove(int buttons_held) {
  return (buttons_held & (kLeftButton | kRightButton | kMiddleButton)) == kLeftButton;
}

}  // namespace look
