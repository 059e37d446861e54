// Draws the suite's icon and writes it as a Windows .ico file with images
// of 16, 20, 24, 32, 40 and 48 pixels (32-bit colour with alpha, plus the
// AND mask that older systems use). The build runs it on the host; nothing here is Windows code.
//
// The picture: a rounded square in the suite's blue, lighter at the top,
// with a white prompt sign ">" and an underscore cursor: a command box.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "window-look/geometry.h"

namespace {

using look::SegmentDistance;

struct Rgba {
  double r, g, b, a;
};

// Signed distance from (x, y) to a rounded rectangle centred in [0, 1]^2.
double RoundedBoxDistance(double x, double y, double half, double radius) {
  const double qx = std::fabs(x - 0.5) - (half - radius);
  const double qy = std::fabs(y - 0.5) - (half - radius);
  const double ox = std::max(qx, 0.0), oy = std::max(qy, 0.0);
  return std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.0) - radius;
}

// Colour of the icon at a point of the unit square (no antialiasing).
Rgba Sample(double x, double y, int size) {
  const double pixel = 1.0 / size;
  const double d = RoundedBoxDistance(x, y, 0.47, 0.16);
  if (d > 0)
    return {0, 0, 0, 0};
  // Vertical gradient from #4CC3FB at the top to #1B8FD5 and a darker rim.
  const double t = std::clamp((y - 0.03) / 0.94, 0.0, 1.0);
  Rgba c{(0x4C + (0x1B - 0x4C) * t) / 255.0, (0xC3 + (0x8F - 0xC3) * t) / 255.0,
         (0xFB + (0xD5 - 0xFB) * t) / 255.0, 1.0};
  if (d > -pixel)
    c = {0x14 / 255.0, 0x6F / 255.0, 0xA8 / 255.0, 1.0};
  // Glyph strokes, thicker at 16 pixels so that they stay readable.
  const double w = size <= 16 ? 0.085 : 0.065;
  const double chevron = std::min(SegmentDistance(x, y, 0.25, 0.28, 0.50, 0.50),
                                  SegmentDistance(x, y, 0.50, 0.50, 0.25, 0.72));
  const double cursor = SegmentDistance(x, y, 0.56, 0.72, 0.78, 0.72);
  if (std::min(chevron, cursor) < w)
    c = {1, 1, 1, 1};
  return c;
}

std::vector<uint32_t> Render(int size) {
  std::vector<uint32_t> bgra(size * size);
  const int ss = 8;  // supersampling per axis
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      double r = 0, g = 0, b = 0, a = 0;
      for (int sy = 0; sy < ss; ++sy) {
        for (int sx = 0; sx < ss; ++sx) {
          const Rgba c = Sample((x + (sx + 0.5) / ss) / size, (y + (sy + 0.5) / ss) / size, size);
          r += c.r * c.a;
          g += c.g * c.a;
          b += c.b * c.a;
          a += c.a;
        }
      }
      const double n = ss * ss;
      const uint32_t A = static_cast<uint32_t>(std::lround(a / n * 255));
      auto channel = [&](double v) {
        // Premultiplied sum back to straight colour.
        return a > 0 ? static_cast<uint32_t>(std::lround(v / a * 255)) : 0u;
      };
      bgra[y * size + x] = (A << 24) | (channel(r) << 16) | (channel(g) << 8) | channel(b);
    }
  }
  return bgra;
}

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(v & 0xFF);
  out.push_back((v >> 8) & 0xFF);
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// One icon image: BITMAPINFOHEADER, bottom-up BGRA rows, AND mask.
std::vector<uint8_t> IconImage(int size) {
  const std::vector<uint32_t> px = Render(size);
  std::vector<uint8_t> out;
  Put32(out, 40);
  Put32(out, size);
  Put32(out, size * 2);  // colour rows and mask rows
  Put16(out, 1);
  Put16(out, 32);
  Put32(out, 0);
  const int mask_stride = ((size + 31) / 32) * 4;
  Put32(out, size * size * 4 + mask_stride * size);
  Put32(out, 0);
  Put32(out, 0);
  Put32(out, 0);
  Put32(out, 0);
  for (int y = size - 1; y >= 0; --y)
    for (int x = 0; x < size; ++x)
      Put32(out, px[y * size + x]);
  for (int y = size - 1; y >= 0; --y) {
    std::vector<uint8_t> row(mask_stride, 0);
    for (int x = 0; x < size; ++x)
      if ((px[y * size + x] >> 24) < 128)
        row[x / 8] |= 0x80 >> (x % 8);
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_icon OUTPUT.ico\n");
    return 2;
  }
  // The small icon at 100 %, 125 %, 150 % and 200 % (16 to 32) and the
  // large one at 100 % to 150 % (32 to 48); Windows scales the 48 for more.
  const int sizes[] = {16, 20, 24, 32, 40, 48};
  std::vector<std::vector<uint8_t>> images;
  for (int s : sizes)
    images.push_back(IconImage(s));

  std::vector<uint8_t> file;
  Put16(file, 0);
  Put16(file, 1);  // icon
  Put16(file, static_cast<uint32_t>(images.size()));
  uint32_t offset = 6 + 16 * static_cast<uint32_t>(images.size());
  for (size_t i = 0; i < images.size(); ++i) {
    file.push_back(static_cast<uint8_t>(sizes[i]));
    file.push_back(static_cast<uint8_t>(sizes[i]));
    file.push_back(0);  // no palette
    file.push_back(0);
    Put16(file, 1);   // planes
    Put16(file, 32);  // bits per pixel
    Put32(file, static_cast<uint32_t>(images[i].size()));
    Put32(file, offset);
    offset += static_cast<uint32_t>(images[i].size());
  }
  for (const auto& image : images)
    file.insert(file.end(), image.begin(), image.end());

  FILE* f = std::fopen(argv[1], "wb");
  if (!f) {
    std::perror(argv[1]);
    return 1;
  }
  const bool ok = std::fwrite(file.data(), 1, file.size(), f) == file.size();
  return (std::fclose(f) == 0 && ok) ? 0 : 1;
}
