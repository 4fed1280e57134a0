#pragma once

#include <QImage>
#include <cstdint>

#include "platform/colour.h"

enum TPenStyle : std::uint8_t { psSolid, psClear };
enum TBrushStyle : std::uint8_t { bsSolid, bsClear };

// Draws the classic filled shapes into a 32-bit image, pixel for pixel and without
// antialiasing, so that drawings come out the same on every machine. A box
// (x1, y1, x2, y2) covers the pixels x1..x2-1 and y1..y2-1; the outline is the one-pixel
// rim of the shape in the pen colour, the rest is filled with the brush. A clear pen
// leaves no outline (the brush fills the whole shape), a clear brush leaves the inside
// untouched. Boxes given back to front are normalised; pixels off the image are skipped.
class TCanvas {
 public:
  struct TPen {
    TColor Color = clBlack;
    TPenStyle Style = psSolid;
    bool operator==(const TPen&) const = default;
  };
  struct TBrush {
    TColor Color = clWhite;
    TBrushStyle Style = bsSolid;
    bool operator==(const TBrush&) const = default;
  };

  // The image must outlive the canvas; it may be replaced (resized) in place.
  explicit TCanvas(QImage* image) : FImage(image) {}

  TPen Pen;
  TBrush Brush;

  void Rectangle(int x1, int y1, int x2, int y2);
  // Corners are quarters of an ellipse CornerWidth wide and CornerHeight high.
  void RoundRect(int x1, int y1, int x2, int y2, int cornerWidth, int cornerHeight);
  void Ellipse(int x1, int y1, int x2, int y2);

  TColor Pixel(int x, int y) const;
  void SetPixel(int x, int y, TColor color);

 private:
  enum class TShape { Box, Rounded, Oval };
  void DrawShape(TShape shape, int x1, int y1, int x2, int y2, int cornerWidth, int cornerHeight);

  QImage* FImage;
};
