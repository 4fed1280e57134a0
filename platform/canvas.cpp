#include "platform/canvas.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace {

// Below this size the ellipse test stays exact in 64-bit integers.
constexpr int kExactShapeLimit = 30000;

// Whether the pixel centre at doubled offsets (dx2, dy2) from the centre lies inside the
// ellipse that fills a w by h box. Doubling keeps half-pixel centres integral.
bool InEllipse(std::int64_t dx2, std::int64_t dy2, std::int64_t w, std::int64_t h) {
  if (w <= kExactShapeLimit && h <= kExactShapeLimit) {
    return dx2 * dx2 * h * h + dy2 * dy2 * w * w <= w * w * h * h;
  }
  const long double x = static_cast<long double>(dx2) / w;
  const long double y = static_cast<long double>(dy2) / h;
  return x * x + y * y <= 1.0L;
}

QRgb ToRgb(TColor color) {
  const TColor c = ColorToRGB(color);
  return qRgb(RedOf(c), GreenOf(c), BlueOf(c));
}

}  // namespace

void TCanvas::Rectangle(int x1, int y1, int x2, int y2) { DrawShape(TShape::Box, x1, y1, x2, y2, 0, 0); }

void TCanvas::RoundRect(int x1, int y1, int x2, int y2, int cornerWidth, int cornerHeight) {
  DrawShape(TShape::Rounded, x1, y1, x2, y2, cornerWidth, cornerHeight);
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2) { DrawShape(TShape::Oval, x1, y1, x2, y2, 0, 0); }

TColor TCanvas::Pixel(int x, int y) const {
  if (FImage == nullptr || !FImage->valid(x, y)) return clBlack;
  const QRgb p = FImage->pixel(x, y);
  return RGBColor(qRed(p), qGreen(p), qBlue(p));
}

void TCanvas::SetPixel(int x, int y, TColor color) {
  if (FImage == nullptr || !FImage->valid(x, y)) return;
  FImage->setPixel(x, y, ToRgb(color));
}

void TCanvas::DrawShape(TShape shape, int x1, int y1, int x2, int y2, int cornerWidth, int cornerHeight) {
  if (FImage == nullptr || FImage->isNull()) return;
  if (x2 < x1) std::swap(x1, x2);
  if (y2 < y1) std::swap(y1, y2);
  const std::int64_t w = std::int64_t(x2) - x1;
  const std::int64_t h = std::int64_t(y2) - y1;
  if (w == 0 || h == 0) return;
  const std::int64_t cw = std::clamp<std::int64_t>(cornerWidth, 0, w);
  const std::int64_t ch = std::clamp<std::int64_t>(cornerHeight, 0, h);
  if (shape == TShape::Rounded && (cw == 0 || ch == 0)) shape = TShape::Box;

  // Doubled coordinates: a pixel's centre is 2x+1, the box edges 2x1 and 2x2.
  const std::int64_t left2 = 2 * std::int64_t(x1), right2 = 2 * std::int64_t(x2);
  const std::int64_t top2 = 2 * std::int64_t(y1), bottom2 = 2 * std::int64_t(y2);
  auto contains = [&](std::int64_t x, std::int64_t y) {
    if (x < x1 || x >= x2 || y < y1 || y >= y2) return false;
    const std::int64_t px = 2 * x + 1, py = 2 * y + 1;
    switch (shape) {
      case TShape::Box: return true;
      case TShape::Oval: return InEllipse(px - (left2 + right2) / 2, py - (top2 + bottom2) / 2, w, h);
      case TShape::Rounded: {
        // Only the four corner zones are cut, each by a quarter of the corner ellipse.
        std::int64_t dx = 0, dy = 0;
        if (px < left2 + cw)
          dx = px - (left2 + cw);
        else if (px > right2 - cw)
          dx = px - (right2 - cw);
        if (py < top2 + ch)
          dy = py - (top2 + ch);
        else if (py > bottom2 - ch)
          dy = py - (bottom2 - ch);
        return dx == 0 || dy == 0 || InEllipse(dx, dy, cw, ch);
      }
    }
    return false;
  };

  const bool outline = Pen.Style == psSolid;
  const bool fill = Brush.Style == bsSolid;
  if (!outline && !fill) return;
  const QRgb penRgb = ToRgb(Pen.Color);
  const QRgb brushRgb = ToRgb(Brush.Color);
  const int xs = std::max(x1, 0), xe = std::min(x2, FImage->width());
  const int ys = std::max(y1, 0), ye = std::min(y2, FImage->height());
  if (xs >= xe || ys >= ye) return;

  // Every row of these shapes meets them in one run of pixels, so each row's run is found
  // once and the rim test becomes comparisons with the runs of the row and its two
  // neighbours. Runs are looked for only where the drawing can reach: the columns on the
  // image and one more on each side.
  struct TRun {
    std::int64_t lo = 0, hi = 0;  // pixels lo..hi-1; empty when lo >= hi
  };
  const std::int64_t windowLeft = std::max<std::int64_t>(std::int64_t(xs) - 1, x1);
  const std::int64_t windowRight = std::min<std::int64_t>(std::int64_t(xe) + 1, x2);
  auto runOf = [&](std::int64_t y) {
    TRun run;
    if (y < y1 || y >= y2) return run;
    run.lo = windowLeft;
    run.hi = windowRight;
    while (run.lo < run.hi && !contains(run.lo, y)) ++run.lo;
    while (run.hi > run.lo && !contains(run.hi - 1, y)) --run.hi;
    return run;
  };

  const bool direct = FImage->depth() == 32;
  TRun above = runOf(std::int64_t(ys) - 1);
  TRun here = runOf(ys);
  for (int y = ys; y < ye; ++y) {
    const TRun below = runOf(std::int64_t(y) + 1);
    QRgb* line = direct ? reinterpret_cast<QRgb*>(FImage->scanLine(y)) : nullptr;
    const int from = static_cast<int>(std::max<std::int64_t>(here.lo, xs));
    const int to = static_cast<int>(std::min<std::int64_t>(here.hi, xe));
    for (int x = from; x < to; ++x) {
      const bool rim = outline && (x == here.lo || x == here.hi - 1 || x < above.lo || x >= above.hi ||
                                   x < below.lo || x >= below.hi);
      if (!rim && !fill) continue;
      const QRgb colour = rim ? penRgb : brushRgb;
      if (direct) {
        line[x] = colour;
      } else {
        FImage->setPixel(x, y, colour);
      }
    }
    above = here;
    here = below;
  }
}
