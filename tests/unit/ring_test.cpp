#include "setupctrls/ring.h"

#include <gtest/gtest.h>

#include <QImage>
#include <array>
#include <cmath>
#include <cstdint>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "bench/ring_reference.h"

namespace {

constexpr TColor kYellow = 0x0000FFFF;
constexpr uchar kGrey = 128;
constexpr uchar kFourth = 0x7F;

struct Pixel {
  int Blue, Green, Red, Fourth;
  bool operator==(const Pixel&) const = default;
};

void PrintTo(const Pixel& p, std::ostream* os) {
  *os << "(" << p.Blue << ", " << p.Green << ", " << p.Red << ", " << p.Fourth << ")";
}

Pixel PixelAt(const QImage& image, int x, int y) {
  const uchar* p = image.constScanLine(y) + 4 * x;
  return {p[0], p[1], p[2], p[3]};
}

QImage Uniform(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y) {
    uchar* p = image.scanLine(y);
    for (int x = 0; x < width; ++x, p += 4) {
      p[0] = p[1] = p[2] = kGrey;
      p[3] = kFourth;
    }
  }
  return image;
}

QImage Noise(int width, int height, unsigned seed) {
  QImage image(width, height, QImage::Format_ARGB32);
  std::mt19937 random(seed);
  for (int y = 0; y < height; ++y) {
    uchar* p = image.scanLine(y);
    for (int i = 0; i < 4 * width; ++i) p[i] = static_cast<uchar>(random());
  }
  return image;
}

// The three looks of a circle as the highlight builds them.
enum TLook { lkNormal, lkGlint, lkBright };

QImage Drawn(QImage image, TLook look, TColor colour = kYellow, int highlightType = 1) {
  const TRingLook table = RingLookFor(highlightType);
  const float strength = look == lkNormal ? table.Normal : look == lkGlint ? table.Glint : table.Bright;
  DrawRing(image, image.width() - 1, image.height() - 1, strength, colour, look == lkGlint);
  return image;
}

// Squared radius of a pixel with every step rounded to single precision on its own; the
// volatile stores keep the compiler from fusing a product into the next addition.
float SquaredRadius(int x, int y, int XMax, int YMax) {
  volatile float sx = 2.0f / XMax, sy = 2.0f / YMax;
  volatile float px = x * sx, py = y * sy;
  volatile float nx = px - 1.0f, ny = py - 1.0f;
  volatile float nx2 = nx * nx, ny2 = ny * ny;
  volatile float d = nx2 + ny2;
  return d;
}

// The same with each multiply-add fused, as a contracting compiler would compute it.
float FusedSquaredRadius(int x, int y, int XMax, int YMax) {
  const float sx = 2.0f / XMax, sy = 2.0f / YMax;
  const float nx = std::fma(static_cast<float>(x), sx, -1.0f);
  const float ny = std::fma(static_cast<float>(y), sy, -1.0f);
  volatile float ny2 = ny * ny;
  return std::fma(nx, nx, ny2);
}

bool InsideFlatCore(float d) { return d < 0.5929; }

// First pixel where two images differ, or an empty string.
std::string FirstDifference(const QImage& actual, const QImage& expected) {
  if (actual.size() != expected.size()) return "sizes differ";
  for (int y = 0; y < actual.height(); ++y) {
    for (int x = 0; x < actual.width(); ++x) {
      const Pixel a = PixelAt(actual, x, y), e = PixelAt(expected, x, y);
      if (!(a == e)) {
        return "pixel (" + std::to_string(x) + ", " + std::to_string(y) + "): " + std::to_string(a.Blue) +
               "," + std::to_string(a.Green) + "," + std::to_string(a.Red) + "," + std::to_string(a.Fourth) +
               " instead of " + std::to_string(e.Blue) + "," + std::to_string(e.Green) + "," +
               std::to_string(e.Red) + "," + std::to_string(e.Fourth);
      }
    }
  }
  return {};
}

TEST(RingLookTest, ColourAndStrengthsByHighlightType) {
  const TRingLook options = RingLookFor(0), settings = RingLookFor(1), calibration = RingLookFor(2);
  EXPECT_EQ(options.RingColor, 0x00FF0000u);
  EXPECT_EQ(options.Normal, 0.25f);
  EXPECT_EQ(options.Glint, 1.0f);
  EXPECT_EQ(options.Bright, 0.5f);
  EXPECT_EQ(settings.RingColor, 0x0000FFFFu);
  EXPECT_EQ(settings.Normal, 0.5f);
  EXPECT_EQ(settings.Glint, 1.0f);
  EXPECT_EQ(settings.Bright, 0.75f);
  EXPECT_EQ(calibration.RingColor, 0x000000FFu);
  EXPECT_EQ(calibration.Normal, 0.5f);
  EXPECT_EQ(calibration.Glint, 1.0f);
  EXPECT_EQ(calibration.Bright, 0.75f);
  for (int outside : {-1, 3, 100}) EXPECT_EQ(RingLookFor(outside).RingColor, settings.RingColor) << outside;
}

// Row 32 of a 65 x 65 settings circle over grey 128 with fourth byte 0x7F.
struct WorkedPixel {
  TLook Look;
  int Column;
  Pixel Expected;
};

constexpr Pixel kBackground{kGrey, kGrey, kGrey, kFourth};

const WorkedPixel kWorkedPixels[] = {
    {lkNormal, 32, {118, 138, 138, kFourth}},
    {lkGlint, 32, {108, 148, 148, kFourth}},
    {lkBright, 32, {113, 143, 143, kFourth}},
    {lkNormal, 60, {64, 192, 192, kFourth}},
    {lkGlint, 60, {255, 255, 255, 0}},
    {lkBright, 60, {32, 223, 223, kFourth}},
    {lkGlint, 61, {128, 255, 255, 0}},
    {lkGlint, 62, {0, 255, 255, kFourth}},
    {lkNormal, 64, kBackground},
    {lkGlint, 64, kBackground},
    {lkBright, 64, kBackground},
};

TEST(DrawRingTest, WorkedPixelsOfASettingsCircle) {
  const std::array<QImage, 3> looks = {Drawn(Uniform(65, 65), lkNormal), Drawn(Uniform(65, 65), lkGlint),
                                       Drawn(Uniform(65, 65), lkBright)};
  for (const WorkedPixel& w : kWorkedPixels) {
    EXPECT_EQ(PixelAt(looks[w.Look], w.Column, 32), w.Expected)
        << "look " << w.Look << ", column " << w.Column;
  }
}

TEST(DrawRingTest, PixelsOutsideTheEllipseKeepTheBackground) {
  for (const QSize size : {QSize(65, 65), QSize(281, 81), QSize(65, 57)}) {
    const QImage background = Noise(size.width(), size.height(), 7);
    const int xMax = size.width() - 1, yMax = size.height() - 1;
    for (TLook look : {lkNormal, lkGlint, lkBright}) {
      const QImage drawn = Drawn(background, look);
      for (const QPoint corner : {QPoint(0, 0), QPoint(xMax, 0), QPoint(0, yMax), QPoint(xMax, yMax)}) {
        EXPECT_EQ(PixelAt(drawn, corner.x(), corner.y()), PixelAt(background, corner.x(), corner.y()));
      }
      int outside = 0;
      for (int y = 0; y <= yMax; ++y) {
        for (int x = 0; x <= xMax; ++x) {
          if (SquaredRadius(x, y, xMax, yMax) < 1.0f) continue;
          ++outside;
          ASSERT_EQ(PixelAt(drawn, x, y), PixelAt(background, x, y))
              << size.width() << "x" << size.height() << " look " << look << " at " << x << ", " << y;
        }
      }
      EXPECT_GT(outside, 4);
    }
  }
}

TEST(DrawRingTest, FourthByteChangesOnlyWhereWhiteReplacedTheBase) {
  const QImage normal = Drawn(Uniform(65, 65), lkNormal);
  const QImage bright = Drawn(Uniform(65, 65), lkBright);
  const QImage glint = Drawn(Uniform(65, 65), lkGlint);
  int whitened = 0;
  for (int y = 0; y < 65; ++y) {
    for (int x = 0; x < 65; ++x) {
      ASSERT_EQ(PixelAt(normal, x, y).Fourth, kFourth);
      ASSERT_EQ(PixelAt(bright, x, y).Fourth, kFourth);
      const Pixel g = PixelAt(glint, x, y);
      if (g.Fourth == kFourth) continue;
      ASSERT_EQ(g.Fourth, 0) << x << ", " << y;
      // Blended from white towards yellow: red and green are full whatever the blend.
      EXPECT_EQ(g.Green, 255) << x << ", " << y;
      EXPECT_EQ(g.Red, 255) << x << ", " << y;
      ++whitened;
    }
  }
  EXPECT_GT(whitened, 0);
}

// A 281 x 81 circle is the ellipse inscribed in its box: the middle row is touched almost from
// edge to edge, far beyond the 40-pixel radius a circle would have.
TEST(DrawRingTest, WideCircleIsAnInscribedEllipse) {
  const QImage background = Uniform(281, 81);
  const QImage drawn = Drawn(background, lkNormal);
  auto changed = [&](int x, int y) { return !(PixelAt(drawn, x, y) == PixelAt(background, x, y)); };
  std::vector<int> rowHits, columnHits;
  for (int x = 0; x <= 280; ++x)
    if (changed(x, 40)) rowHits.push_back(x);
  for (int y = 0; y <= 80; ++y)
    if (changed(140, y)) columnHits.push_back(y);
  ASSERT_FALSE(rowHits.empty());
  ASSERT_FALSE(columnHits.empty());
  EXPECT_EQ(rowHits.front(), 1);
  EXPECT_EQ(rowHits.back(), 279);
  EXPECT_EQ(rowHits.size(), 279u);
  EXPECT_EQ(columnHits.front(), 1);
  EXPECT_EQ(columnHits.back(), 79);
  // Centre colour in the middle, and the flat core stretches sideways as far as radius 0.77.
  EXPECT_EQ(PixelAt(drawn, 140, 40), (Pixel{118, 138, 138, kFourth}));
  EXPECT_EQ(PixelAt(drawn, 140 - 105, 40), (Pixel{118, 138, 138, kFourth}));
  EXPECT_NE(PixelAt(drawn, 140, 40 - 32), (Pixel{118, 138, 138, kFourth}));
}

// Along the horizontal diameter of a long flat ellipse the radius grows by 0.001 per column.
TEST(DrawRingTest, GlintJumpsAtTheFlatCoreEdge) {
  const QImage glint = Drawn(Uniform(2001, 3), lkGlint);
  QImage plain = Uniform(2001, 3);
  DrawRing(plain, 2000, 2, 1.0f, kYellow, false);

  constexpr int kCoreGreen = 148;  // 128 * 0.84 + 255 * 0.16
  int edge = 1000;
  while (edge > 0 && PixelAt(glint, edge, 1).Green == kCoreGreen) --edge;
  EXPECT_GE(edge, 229);
  EXPECT_LE(edge, 231);
  EXPECT_EQ(PixelAt(glint, edge + 1, 1).Green, kCoreGreen);
  // Just outside, the ramp of about 0.16 is doubled to about 0.32: 128 + 127 * 0.32.
  EXPECT_GE(PixelAt(glint, edge, 1).Green, 169);
  EXPECT_LE(PixelAt(glint, edge, 1).Green, 171);
  // Without the glint the same strength goes on smoothly.
  EXPECT_EQ(PixelAt(plain, edge + 1, 1).Green, kCoreGreen);
  EXPECT_LE(PixelAt(plain, edge, 1).Green, kCoreGreen + 1);
}

// Pixels whose squared radius lands on the other side of 0.5929 when a multiply and the next
// addition are fused into one rounding. Their glint colour shows which side was taken: the
// flat core has the centre's colour, the ramp just outside it a much stronger one.
struct CoreEdgePixel {
  int Width, Height, X, Y;
  bool Inside;
};

const CoreEdgePixel kCoreEdgePixels[] = {
    {177, 164, 131, 130, true},
    {276, 171, 39, 61, false},
    // Here d is exactly 0.5929f, which lies below 0.5929 and so counts as inside.
    {258, 247, 152, 215, true},
};

TEST(DrawRingTest, EveryFloatStepIsRoundedOnItsOwn) {
  for (const CoreEdgePixel& c : kCoreEdgePixels) {
    SCOPED_TRACE(std::to_string(c.Width) + "x" + std::to_string(c.Height));
    const int xMax = c.Width - 1, yMax = c.Height - 1;
    const float d = SquaredRadius(c.X, c.Y, xMax, yMax);
    ASSERT_EQ(InsideFlatCore(d), c.Inside);
    ASSERT_NE(InsideFlatCore(FusedSquaredRadius(c.X, c.Y, xMax, yMax)), c.Inside);

    const QImage background = Uniform(c.Width, c.Height);
    QImage fast = background, reference = background;
    DrawRing(fast, xMax, yMax, 1.0f, kYellow, true);
    DrawRingReference(reference, xMax, yMax, 1.0f, kYellow, true);
    const Pixel core{108, 148, 148, kFourth};
    EXPECT_EQ(PixelAt(fast, c.X, c.Y) == core, c.Inside);
    EXPECT_EQ(PixelAt(reference, c.X, c.Y) == core, c.Inside);
  }
}

TEST(DrawRingTest, SinglePixelAxisIsTheCentreLine) {
  const QImage square = Drawn(Uniform(65, 65), lkNormal);
  const QImage column = Drawn(Uniform(1, 65), lkNormal);
  const QImage row = Drawn(Uniform(65, 1), lkNormal);
  for (int i = 0; i < 65; ++i) {
    EXPECT_EQ(PixelAt(column, 0, i), PixelAt(square, 32, i)) << i;
    EXPECT_EQ(PixelAt(row, i, 0), PixelAt(square, i, 32)) << i;
  }
  EXPECT_EQ(PixelAt(Drawn(Uniform(1, 1), lkNormal), 0, 0), PixelAt(square, 32, 32));
}

TEST(DrawRingTest, TwoByTwoHasNoPixelInside) {
  const QImage background = Noise(2, 2, 3);
  for (TLook look : {lkNormal, lkGlint, lkBright})
    EXPECT_EQ(FirstDifference(Drawn(background, look), background), "");
}

TEST(DrawRingTest, EmptyOrForeignBitmapsAreLeftAlone) {
  QImage null;
  DrawRing(null, 64, 64, 1.0f, kYellow, true);
  EXPECT_TRUE(null.isNull());
  QImage empty(0, 0, QImage::Format_RGB32);
  DrawRing(empty, -1, -1, 1.0f, kYellow, true);
  DrawRing(empty, 64, 64, 1.0f, kYellow, true);
  EXPECT_TRUE(empty.isNull());

  const QImage background = Noise(65, 65, 5);
  for (const QPoint box : {QPoint(-1, 64), QPoint(64, -1), QPoint(-5, -5)}) {
    QImage image = background;
    DrawRing(image, box.x(), box.y(), 1.0f, kYellow, true);
    EXPECT_EQ(FirstDifference(image, background), "") << box.x() << ", " << box.y();
  }
  const QImage packed = background.convertToFormat(QImage::Format_RGB888);
  QImage image = packed;
  DrawRing(image, 64, 64, 1.0f, kYellow, true);
  EXPECT_EQ(image, packed);
}

TEST(DrawRingTest, BitmapSmallerOrLargerThanTheBoxHoldsItsPartOfTheRing) {
  const QImage full = Drawn(Noise(65, 65, 9), lkGlint);
  QImage small = Noise(65, 65, 9).copy(0, 0, 40, 20);
  DrawRing(small, 64, 64, 1.0f, kYellow, true);
  EXPECT_EQ(FirstDifference(small, full.copy(0, 0, 40, 20)), "");

  const QImage large = Noise(90, 70, 9);
  QImage drawn = large;
  DrawRing(drawn, 64, 64, 1.0f, kYellow, true);
  QImage boxOnly = large.copy(0, 0, 65, 65);
  DrawRing(boxOnly, 64, 64, 1.0f, kYellow, true);
  EXPECT_EQ(FirstDifference(drawn.copy(0, 0, 65, 65), boxOnly), "");
  for (int y = 0; y < 70; ++y) {
    for (int x = 0; x < 90; ++x) {
      if (x < 65 && y < 65) continue;
      ASSERT_EQ(PixelAt(drawn, x, y), PixelAt(large, x, y)) << x << ", " << y;
    }
  }
}

TEST(DrawRingTest, StrengthThatIsNotANumberBlendsToZero) {
  const QImage background = Uniform(65, 65);
  QImage image = background;
  DrawRing(image, 64, 64, std::nanf(""), kYellow, false);
  EXPECT_EQ(PixelAt(image, 32, 32), (Pixel{0, 0, 0, kFourth}));
  EXPECT_EQ(PixelAt(image, 0, 0), kBackground);
}

// The fast routine against the plain per-pixel loop, byte for byte, over noise.
struct IdentityCase {
  int Width, Height;
};

class DrawRingIdentityTest : public ::testing::TestWithParam<IdentityCase> {};

TEST_P(DrawRingIdentityTest, MatchesThePlainLoop) {
  const IdentityCase c = GetParam();
  const QImage background = Noise(c.Width, c.Height, 1234u + static_cast<unsigned>(c.Width * 7 + c.Height));
  for (int type = 0; type < 3; ++type) {
    const TRingLook look = RingLookFor(type);
    struct Pass {
      float Strength;
      bool Glint;
    };
    // The three looks, and strengths far outside them whose blends leave the byte range.
    for (const Pass pass : {Pass{look.Normal, false}, Pass{look.Glint, true}, Pass{look.Bright, false},
                            Pass{4096.0f, true}, Pass{-0.75f, false}}) {
      QImage fast = background, reference = background;
      DrawRing(fast, c.Width - 1, c.Height - 1, pass.Strength, look.RingColor, pass.Glint);
      DrawRingReference(reference, c.Width - 1, c.Height - 1, pass.Strength, look.RingColor, pass.Glint);
      EXPECT_EQ(FirstDifference(fast, reference), "")
          << "type " << type << ", strength " << pass.Strength << ", glint " << pass.Glint;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Sizes, DrawRingIdentityTest,
                         ::testing::Values(IdentityCase{65, 65}, IdentityCase{281, 81}, IdentityCase{233, 81},
                                           IdentityCase{65, 57}, IdentityCase{31, 47}, IdentityCase{97, 13},
                                           IdentityCase{177, 164}, IdentityCase{258, 247},
                                           IdentityCase{276, 171}, IdentityCase{3, 3}, IdentityCase{2, 2}),
                         [](const ::testing::TestParamInfo<IdentityCase>& info) {
                           return std::to_string(info.param.Width) + "x" + std::to_string(info.param.Height);
                         });

}  // namespace
