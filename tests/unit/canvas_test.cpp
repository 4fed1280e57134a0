#include "platform/canvas.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QPalette>
#include <algorithm>
#include <string>
#include <vector>

namespace {

constexpr TColor kPaper = RGBColor(10, 20, 30);
constexpr TColor kPen = RGBColor(200, 0, 0);
constexpr TColor kBrush = RGBColor(0, 0, 200);

QImage Paper(int w = 16, int h = 12) {
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(QColor(RedOf(kPaper), GreenOf(kPaper), BlueOf(kPaper)));
  return image;
}

TColor At(const QImage& image, int x, int y) {
  const QRgb p = image.pixel(x, y);
  return RGBColor(qRed(p), qGreen(p), qBlue(p));
}

// One character per pixel: '.' paper, '#' pen, 'o' brush, '?' anything else.
std::vector<std::string> Picture(const QImage& image) {
  std::vector<std::string> rows;
  for (int y = 0; y < image.height(); ++y) {
    std::string row;
    for (int x = 0; x < image.width(); ++x) {
      const TColor c = At(image, x, y);
      row += c == kPaper ? '.' : c == kPen ? '#' : c == kBrush ? 'o' : '?';
    }
    rows.push_back(row);
  }
  return rows;
}

void UsePenAndBrush(TCanvas& canvas) {
  canvas.Pen = {kPen, psSolid};
  canvas.Brush = {kBrush, bsSolid};
}

TEST(CanvasTest, NewCanvasHasBlackSolidPenAndWhiteSolidBrush) {
  QImage image = Paper();
  const TCanvas canvas(&image);
  EXPECT_EQ(canvas.Pen.Color, clBlack);
  EXPECT_EQ(canvas.Pen.Style, psSolid);
  EXPECT_EQ(canvas.Brush.Color, clWhite);
  EXPECT_EQ(canvas.Brush.Style, bsSolid);
}

TEST(CanvasTest, RectangleOutlinesTheBoxEdgesAndFillsInside) {
  QImage image = Paper(8, 6);
  TCanvas canvas(&image);
  UsePenAndBrush(canvas);
  canvas.Rectangle(1, 1, 7, 5);
  const std::vector<std::string> expected = {
      "........",  //
      ".######.",  //
      ".#oooo#.",  //
      ".#oooo#.",  //
      ".######.",  //
      "........",
  };
  EXPECT_EQ(Picture(image), expected);
}

struct PenBrushCase {
  const char* name;
  TPenStyle pen;
  TBrushStyle brush;
  std::vector<std::string> expected;
};

class CanvasStyleTest : public ::testing::TestWithParam<PenBrushCase> {};

TEST_P(CanvasStyleTest, ClearPenAndClearBrushLeaveTheirPartUntouched) {
  QImage image = Paper(6, 5);
  TCanvas canvas(&image);
  canvas.Pen = {kPen, GetParam().pen};
  canvas.Brush = {kBrush, GetParam().brush};
  canvas.Rectangle(0, 0, 5, 4);
  EXPECT_EQ(Picture(image), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Styles, CanvasStyleTest,
    ::testing::Values(
        PenBrushCase{"ClearPen", psClear, bsSolid, {"ooooo.", "ooooo.", "ooooo.", "ooooo.", "......"}},
        PenBrushCase{"ClearBrush", psSolid, bsClear, {"#####.", "#...#.", "#...#.", "#####.", "......"}},
        PenBrushCase{"BothClear", psClear, bsClear, {"......", "......", "......", "......", "......"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CanvasTest, SixPixelCircleWithClearPenIsRoundAndStaysInItsBox) {
  QImage image = Paper(8, 8);
  TCanvas canvas(&image);
  UsePenAndBrush(canvas);
  canvas.Pen.Style = psClear;
  canvas.Ellipse(1, 1, 7, 7);
  const std::vector<std::string> expected = {
      "........",  //
      "..oooo..",  //
      ".oooooo.",  //
      ".oooooo.",  //
      ".oooooo.",  //
      ".oooooo.",  //
      "..oooo..",  //
      "........",
  };
  EXPECT_EQ(Picture(image), expected);
}

TEST(CanvasTest, FourPixelCircleWithClearPen) {
  QImage image = Paper(6, 6);
  TCanvas canvas(&image);
  UsePenAndBrush(canvas);
  canvas.Pen.Style = psClear;
  canvas.Ellipse(1, 1, 5, 5);
  const std::vector<std::string> expected = {"......", "..oo..", ".oooo.", ".oooo.", "..oo..", "......"};
  EXPECT_EQ(Picture(image), expected);
}

TEST(CanvasTest, EllipseOutlineIsOnePixelWideAndClosed) {
  QImage image = Paper(12, 8);
  TCanvas canvas(&image);
  UsePenAndBrush(canvas);
  canvas.Ellipse(0, 0, 12, 8);
  const std::vector<std::string> expected = {
      "...######...",  //
      ".##oooooo##.",  //
      "#oooooooooo#",  //
      "#oooooooooo#",  //
      "#oooooooooo#",  //
      "#oooooooooo#",  //
      ".##oooooo##.",  //
      "...######...",
  };
  EXPECT_EQ(Picture(image), expected);
}

TEST(CanvasTest, RoundRectCutsTheCornersByTheCornerEllipse) {
  QImage image = Paper(10, 8);
  TCanvas canvas(&image);
  UsePenAndBrush(canvas);
  canvas.RoundRect(0, 0, 10, 8, 4, 4);
  const std::vector<std::string> expected = {
      ".########.",  //
      "#oooooooo#",  //
      "#oooooooo#",  //
      "#oooooooo#",  //
      "#oooooooo#",  //
      "#oooooooo#",  //
      "#oooooooo#",  //
      ".########.",
  };
  EXPECT_EQ(Picture(image), expected);
}

TEST(CanvasTest, RoundRectWithNineByNineCornersLikeTheJumperBase) {
  QImage image = Paper(34, 18);
  TCanvas canvas(&image);
  UsePenAndBrush(canvas);
  canvas.RoundRect(1, 1, 33, 17, 9, 9);
  // The outer frame row and column stay paper; the straight edges are pen.
  for (int x = 0; x < 34; ++x) EXPECT_EQ(At(image, x, 0), kPaper) << x;
  for (int x = 0; x < 34; ++x) EXPECT_EQ(At(image, x, 17), kPaper) << x;
  for (int y = 0; y < 18; ++y) EXPECT_EQ(At(image, 0, y), kPaper) << y;
  for (int y = 0; y < 18; ++y) EXPECT_EQ(At(image, 33, y), kPaper) << y;
  for (int x = 6; x <= 27; ++x) {
    EXPECT_EQ(At(image, x, 1), kPen) << x;
    EXPECT_EQ(At(image, x, 16), kPen) << x;
  }
  for (int y = 6; y <= 11; ++y) {
    EXPECT_EQ(At(image, 1, y), kPen) << y;
    EXPECT_EQ(At(image, 32, y), kPen) << y;
  }
  // The corners are cut, symmetrically.
  EXPECT_EQ(At(image, 1, 1), kPaper);
  EXPECT_EQ(At(image, 2, 2), kPen);
  const QImage mirrored = image.mirrored(true, true);
  EXPECT_EQ(Picture(image), Picture(mirrored));
  // Inside, everything is brush: the outline is a single pixel wide.
  EXPECT_EQ(At(image, 2, 8), kBrush);
  EXPECT_EQ(At(image, 16, 2), kBrush);
}

TEST(CanvasTest, RoundRectWithoutCornersIsARectangle) {
  QImage rounded = Paper();
  QImage plain = Paper();
  TCanvas a(&rounded), b(&plain);
  UsePenAndBrush(a);
  UsePenAndBrush(b);
  a.RoundRect(2, 3, 13, 9, 0, 0);
  b.Rectangle(2, 3, 13, 9);
  EXPECT_EQ(Picture(rounded), Picture(plain));
}

struct OddBoxCase {
  const char* name;
  int x1, y1, x2, y2;
  int painted;  // pixels that change
};

class CanvasOddBoxTest : public ::testing::TestWithParam<OddBoxCase> {};

TEST_P(CanvasOddBoxTest, EveryShapeCopesWithTheBox) {
  const OddBoxCase& c = GetParam();
  for (int shape = 0; shape < 3; ++shape) {
    QImage image = Paper(8, 6);
    TCanvas canvas(&image);
    UsePenAndBrush(canvas);
    canvas.Pen.Style = psClear;
    if (shape == 0) canvas.Rectangle(c.x1, c.y1, c.x2, c.y2);
    if (shape == 1) canvas.RoundRect(c.x1, c.y1, c.x2, c.y2, 100, -5);
    if (shape == 2) canvas.Ellipse(c.x1, c.y1, c.x2, c.y2);
    int changed = 0;
    for (const std::string& row : Picture(image))
      changed += static_cast<int>(std::count(row.begin(), row.end(), 'o'));
    if (shape == 2) {
      EXPECT_LE(changed, c.painted) << "ellipse";
    } else {
      EXPECT_EQ(changed, c.painted) << "shape " << shape;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Boxes, CanvasOddBoxTest,
                         ::testing::Values(OddBoxCase{"Empty", 3, 3, 3, 5, 0},
                                           OddBoxCase{"BackToFront", 5, 4, 2, 1, 9},
                                           OddBoxCase{"PartlyOffTheImage", -4, -4, 2, 2, 4},
                                           OddBoxCase{"WhollyOffTheImage", 20, 20, 30, 30, 0},
                                           OddBoxCase{"Huge", -100000, -100000, 100000, 100000, 48}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CanvasTest, BackToFrontBoxDrawsLikeTheNormalOne) {
  QImage a = Paper(), b = Paper();
  TCanvas ca(&a), cb(&b);
  UsePenAndBrush(ca);
  UsePenAndBrush(cb);
  ca.Ellipse(12, 9, 2, 1);
  cb.Ellipse(2, 1, 12, 9);
  EXPECT_EQ(Picture(a), Picture(b));
}

TEST(CanvasTest, HugeEllipseCoversTheWholeSmallImage) {
  QImage image = Paper(8, 6);
  TCanvas canvas(&image);
  UsePenAndBrush(canvas);
  canvas.Ellipse(-100000, -100000, 100000, 100000);
  for (const std::string& row : Picture(image)) EXPECT_EQ(row, "oooooooo");
}

TEST(CanvasTest, NullImageIsIgnored) {
  QImage image;
  TCanvas canvas(&image);
  canvas.Rectangle(0, 0, 4, 4);
  canvas.RoundRect(0, 0, 4, 4, 2, 2);
  canvas.Ellipse(0, 0, 4, 4);
  canvas.SetPixel(0, 0, kPen);
  EXPECT_EQ(canvas.Pixel(0, 0), clBlack);
  EXPECT_TRUE(image.isNull());
}

TEST(CanvasTest, SystemColoursAreResolvedThroughThePalette) {
  QImage image = Paper(4, 4);
  TCanvas canvas(&image);
  canvas.Pen = {clBtnFace, psSolid};
  canvas.Brush = {clBtnFace, bsSolid};
  canvas.Rectangle(0, 0, 4, 4);
  const QColor button = QGuiApplication::palette().color(QPalette::Button);
  EXPECT_EQ(canvas.Pixel(2, 2), RGBColor(button.red(), button.green(), button.blue()));
  EXPECT_EQ(image.pixel(0, 0), qRgb(button.red(), button.green(), button.blue()));
}

TEST(CanvasTest, PixelAccessReadsAndWritesInsideTheImageOnly) {
  QImage image = Paper(4, 4);
  TCanvas canvas(&image);
  canvas.SetPixel(1, 2, kPen);
  canvas.SetPixel(-1, 2, kPen);
  canvas.SetPixel(4, 0, kPen);
  EXPECT_EQ(canvas.Pixel(1, 2), kPen);
  EXPECT_EQ(canvas.Pixel(0, 2), kPaper);
  EXPECT_EQ(canvas.Pixel(9, 9), clBlack);
}

TEST(CanvasTest, ImageReplacedInPlaceIsDrawnAtItsNewSize) {
  QImage image = Paper(2, 2);
  TCanvas canvas(&image);
  image = Paper(6, 6);
  UsePenAndBrush(canvas);
  canvas.Rectangle(0, 0, 6, 6);
  EXPECT_EQ(canvas.Pixel(5, 5), kPen);
  EXPECT_EQ(canvas.Pixel(3, 3), kBrush);
}

}  // namespace
