#include "setupctrls/ring.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <type_traits>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// The ring's pixels depend on every single-precision step being rounded on its own.
static_assert(FLT_EVAL_METHOD == 0, "float expressions must be evaluated in single precision");

namespace {

constexpr TRingLook kRingLooks[] = {
    {0x00FF0000, 0.25f, 1.0f, 0.5f},  // htOptions: blue
    {0x0000FFFF, 0.5f, 1.0f, 0.75f},  // htSettings: yellow
    {0x000000FF, 0.5f, 1.0f, 0.75f},  // htCalibration: red
};
constexpr int kDefaultLook = 1;

// Inside radius 0.77 the ring value is flat. The bound is the real number 0.5929, so d is
// compared in double: 0.5929f lies below it and counts as inside.
constexpr double kRingInnerRadiusSquared = 0.5929;
constexpr float kInnerRingValue = 0.16f;
constexpr float kRingCentreRadius = 0.875f;
constexpr float kRingSlope = 8.0f;

// Strengths up to this size keep every blend far below 2^51, where RoundedLowByte is exact.
constexpr float kPlainStrengthLimit = 1048576.0f;

// Returns v as a rounded float the compiler cannot fuse into the next operation (a fused
// multiply-add would skip the rounding of the product and change pixels).
inline float Rounded(float v) {
#if defined(__GNUC__) && defined(__x86_64__)
  asm("" : "+x"(v));
  return v;
#else
  volatile float kept = v;
  return kept;
#endif
}

// Low 8 bits of v rounded to the nearest integer, halves to even, for |v| < 2^51: adding
// 1.5 * 2^52 leaves a double whose last mantissa bits are that integer. It rounds in the
// default rounding mode, as std::nearbyint does, without a library call.
struct RoundedLowByte {
  std::uint8_t operator()(double v) const {
    const double shifted = v + 6755399441055744.0;
    std::uint64_t bits;
    std::memcpy(&bits, &shifted, sizeof bits);
    return static_cast<std::uint8_t>(bits);
  }
};

// The same for any double: the low 8 bits of the rounded integer, and 0 for NaN or infinity.
struct AnyRoundedLowByte {
  std::uint8_t operator()(double v) const {
    double r = std::nearbyint(v);
    if (!std::isfinite(r)) return 0;
    if (std::fabs(r) >= 2147483648.0) r = std::fmod(r, 256.0);
    return static_cast<std::uint8_t>(static_cast<int>(r) & 0xFF);
  }
};

bool HasBgraBytes(const QImage& bitmap) {
  switch (bitmap.format()) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied: return true;
    default: return false;
  }
}

// Squares of the normalised coordinate n = i * scale - 1 for i = 0..count-1, where scale is
// 2 / max. A single-pixel axis (max 0) is the centre line.
std::vector<float> SquaredCoordinates(int count, int max) {
  std::vector<float> squares(static_cast<std::size_t>(count), 0.0f);
  if (max <= 0) return squares;
  const float scale = Rounded(2.0f / static_cast<float>(max));
  for (int i = 0; i < count; ++i) {
    const float n = Rounded(Rounded(static_cast<float>(i) * scale) - 1.0f);
    squares[static_cast<std::size_t>(i)] = Rounded(n * n);
  }
  return squares;
}

struct RingColour {
  double Blue, Green, Red;
};

#if defined(__SSE2__)
inline __m128 Rounded(__m128 v) {
#if defined(__GNUC__)
  asm("" : "+x"(v));
  return v;
#else
  volatile __m128 kept = v;
  return kept;
#endif
}

// Four ramp pixels at once, for strengths of at most 1. The float steps of the ring value are
// the very ones of the one-pixel loop, lane by lane. The blend itself runs in single precision:
// with |a| <= 1 and |inv| <= 2 every blend lies within 765, and each of its three roundings is
// below 2^-15, so its float value is less than 2^-12 away from the double one. Where the float
// value is farther than twice that from the nearest half, both round to the same integer; four
// pixels with any channel closer than that are left to the exact one-pixel loop.
struct RampLanes {
  __m128 One = _mm_set1_ps(1.0f), Two = _mm_set1_ps(2.0f), Slope = _mm_set1_ps(kRingSlope);
  __m128 Centre = _mm_set1_ps(kRingCentreRadius);
  __m128 Magnitude = _mm_castsi128_ps(_mm_set1_epi32(0x7FFFFFFF));
  // Adding 1.5 * 2^23 rounds a float below 2^22 to an integer, halves to even, and leaves the
  // integer's low bits in the low mantissa bits.
  __m128 Shift = _mm_set1_ps(12582912.0f);
  __m128 NearHalf = _mm_set1_ps(0.5f - 1.0f / 2048.0f);
  __m128 Strength, RingBlue, RingGreen, RingRed;
  __m128i Byte = _mm_set1_epi32(0xFF);
  __m128i ColourBytes = _mm_set1_epi32(0x00FFFFFF);

  RampLanes(const RingColour& ring, float strength)
      : Strength(_mm_set1_ps(strength)),
        RingBlue(_mm_set1_ps(float(ring.Blue))),
        RingGreen(_mm_set1_ps(float(ring.Green))),
        RingRed(_mm_set1_ps(float(ring.Red))) {}

  // The rounded channel in the low byte of each lane; lanes too close to a half are marked in
  // unsure.
  __m128i Channel(__m128i base, __m128 ring, __m128 inv, __m128 a, __m128& unsure) const {
    const __m128 value = _mm_add_ps(_mm_mul_ps(_mm_cvtepi32_ps(base), inv), _mm_mul_ps(ring, a));
    const __m128 shifted = _mm_add_ps(value, Shift);
    const __m128 fraction = _mm_and_ps(_mm_sub_ps(value, _mm_sub_ps(shifted, Shift)), Magnitude);
    unsure = _mm_or_ps(unsure, _mm_cmpge_ps(fraction, NearHalf));
    return _mm_and_si128(_mm_castps_si128(shifted), Byte);
  }

  // Draws four pixels; false, with nothing written, when they need the exact loop.
  template <bool Glint>
  bool Four(uchar* pixel, const float* squares, __m128 rowSquare) const {
    const __m128 r = _mm_sqrt_ps(_mm_add_ps(_mm_loadu_ps(squares), rowSquare));
    __m128 s = _mm_sub_ps(One, _mm_mul_ps(Slope, _mm_and_ps(_mm_sub_ps(r, Centre), Magnitude)));
    __m128i base = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pixel));
    if constexpr (Glint) {
      s = _mm_add_ps(s, s);
      const __m128 white = _mm_cmpgt_ps(s, One);
      s = _mm_or_ps(_mm_and_ps(white, _mm_sub_ps(Two, s)), _mm_andnot_ps(white, s));
      const __m128i whiteLanes = _mm_castps_si128(white);
      base = _mm_or_si128(_mm_andnot_si128(whiteLanes, base), _mm_and_si128(whiteLanes, ColourBytes));
    }
    const __m128 a = Rounded(_mm_mul_ps(s, Strength));
    const __m128 inv = _mm_sub_ps(One, a);
    __m128 unsure = _mm_setzero_ps();
    const __m128i blue = Channel(_mm_and_si128(base, Byte), RingBlue, inv, a, unsure);
    const __m128i green = Channel(_mm_and_si128(_mm_srli_epi32(base, 8), Byte), RingGreen, inv, a, unsure);
    const __m128i red = Channel(_mm_and_si128(_mm_srli_epi32(base, 16), Byte), RingRed, inv, a, unsure);
    if (_mm_movemask_ps(unsure) != 0) return false;
    const __m128i colour =
        _mm_or_si128(blue, _mm_or_si128(_mm_slli_epi32(green, 8), _mm_slli_epi32(red, 16)));
    const __m128i result = _mm_or_si128(colour, _mm_andnot_si128(ColourBytes, base));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(pixel), result);
    return true;
  }
};
#endif

// Everything the pixels of one call share.
template <typename LowByte>
struct RingPass {
  RingColour Ring;
  float Strength;
  // Blend tables for the flat inside: the ring value is the same there, so each channel's
  // result depends on the base byte alone. An entry holds the blended byte already at its
  // place in the pixel (bytes blue, green, red, fourth from the lowest address up).
  std::uint32_t InnerBlue[256], InnerGreen[256], InnerRed[256];
#if defined(__SSE2__)
  bool FourAtOnce;
  RampLanes Lanes;
#endif

  RingPass(TColor colour, float strength)
      : Ring{double(BlueOf(colour)), double(GreenOf(colour)), double(RedOf(colour))},
        Strength(strength)
#if defined(__SSE2__)
        ,
        FourAtOnce(std::is_same_v<LowByte, RoundedLowByte> && std::fabs(strength) <= 1.0f),
        Lanes(Ring, strength)
#endif
  {
    const LowByte low;
    const float a = Rounded(kInnerRingValue * strength);
    const float inv = 1.0f - a;
    for (int base = 0; base < 256; ++base) {
      InnerBlue[base] = PlacedByte(low(double(base) * inv + Ring.Blue * a), 0);
      InnerGreen[base] = PlacedByte(low(double(base) * inv + Ring.Green * a), 1);
      InnerRed[base] = PlacedByte(low(double(base) * inv + Ring.Red * a), 2);
    }
  }

  // The 32-bit value whose byte at the given address offset is value, the others 0.
  static std::uint32_t PlacedByte(std::uint8_t value, int offset) {
    uchar bytes[4] = {0, 0, 0, 0};
    bytes[offset] = value;
    std::uint32_t placed;
    std::memcpy(&placed, bytes, sizeof placed);
    return placed;
  }

  void Inner(uchar* pixel, int count) const {
    std::uint32_t fourthMask;
    const uchar fourthOnly[4] = {0, 0, 0, 0xFF};
    std::memcpy(&fourthMask, fourthOnly, sizeof fourthMask);
    for (int i = 0; i < count; ++i, pixel += 4) {
      std::uint32_t value;
      std::memcpy(&value, pixel, sizeof value);
      value = InnerBlue[pixel[0]] | InnerGreen[pixel[1]] | InnerRed[pixel[2]] | (value & fourthMask);
      std::memcpy(pixel, &value, sizeof value);
    }
  }

  // The ramp between radius 0.77 and 1; a column's square plus the row's square is the
  // pixel's squared radius.
  template <bool Glint>
  void Ramp(uchar* pixel, const float* squares, float rowSquare, int count) const {
    int done = 0;
#if defined(__SSE2__)
    if (FourAtOnce) {
      const __m128 rowSquares = _mm_set1_ps(rowSquare);
      for (; done + 4 <= count; done += 4) {
        if (!Lanes.template Four<Glint>(pixel + 4 * done, squares + done, rowSquares)) {
          Exact<Glint>(pixel, squares, rowSquare, done, done + 4);
        }
      }
    }
#endif
    Exact<Glint>(pixel, squares, rowSquare, done, count);
  }

  // Ramp pixels first..last-1, one at a time with the blend in double.
  template <bool Glint>
  void Exact(uchar* pixel, const float* squares, float rowSquare, int first, int last) const {
    // Locals, so that the byte stores cannot make the compiler reload them.
    const LowByte low;
    const RingColour ring = Ring;
    const float strength = Strength;
    for (int i = first; i < last; ++i) {
      uchar* p = pixel + 4 * i;
      const float d = squares[i] + rowSquare;
      const float r = std::sqrt(d);
      float s = 1.0f - kRingSlope * std::fabs(r - kRingCentreRadius);
      double blue = p[0], green = p[1], red = p[2];
      if constexpr (Glint) {
        s = 2.0f * s;
        if (s > 1.0f) {
          blue = green = red = 255.0;
          p[3] = 0;
          s = 2.0f - s;
        }
      }
      const float a = Rounded(s * strength);
      const float inv = 1.0f - a;
      p[0] = low(blue * inv + ring.Blue * a);
      p[1] = low(green * inv + ring.Green * a);
      p[2] = low(red * inv + ring.Red * a);
    }
  }

  template <bool Glint>
  void Draw(QImage& bitmap, const std::vector<float>& columnSquares,
            const std::vector<float>& rowSquares) const {
    const int last = static_cast<int>(columnSquares.size()) - 1;
    const float* squares = columnSquares.data();
    for (std::size_t y = 0; y < rowSquares.size(); ++y) {
      const float rowSquare = rowSquares[y];
      // The squared radius falls and then rises along a row, so the ring and its flat inside
      // are each one run of columns: [left, right] inside the ring, [innerLeft, innerRight]
      // inside radius 0.77.
      auto inRing = [&](int x) { return squares[x] + rowSquare < 1.0f; };
      auto inInner = [&](int x) { return double(squares[x] + rowSquare) < kRingInnerRadiusSquared; };
      int left = 0;
      while (left <= last && !inRing(left)) ++left;
      if (left > last) continue;
      int right = last;
      while (!inRing(right)) --right;
      int innerLeft = left;
      while (innerLeft <= right && !inInner(innerLeft)) ++innerLeft;
      int innerRight = right;
      while (innerRight >= innerLeft && !inInner(innerRight)) --innerRight;

      uchar* row = bitmap.scanLine(static_cast<int>(y));
      if (innerLeft > right) {
        Ramp<Glint>(row + 4 * left, squares + left, rowSquare, right - left + 1);
        continue;
      }
      Ramp<Glint>(row + 4 * left, squares + left, rowSquare, innerLeft - left);
      Inner(row + 4 * innerLeft, innerRight - innerLeft + 1);
      Ramp<Glint>(row + 4 * (innerRight + 1), squares + innerRight + 1, rowSquare, right - innerRight);
    }
  }
};

template <typename LowByte>
void DrawWith(QImage& bitmap, const std::vector<float>& columnSquares, const std::vector<float>& rowSquares,
              float strength, TColor colour, bool glint) {
  const RingPass<LowByte> pass(colour, strength);
  if (glint) {
    pass.template Draw<true>(bitmap, columnSquares, rowSquares);
  } else {
    pass.template Draw<false>(bitmap, columnSquares, rowSquares);
  }
}

}  // namespace

TRingLook RingLookFor(int highlightTypeOrdinal) {
  if (highlightTypeOrdinal < 0 || highlightTypeOrdinal > 2) highlightTypeOrdinal = kDefaultLook;
  return kRingLooks[highlightTypeOrdinal];
}

void DrawRing(QImage& bitmap, int XMax, int YMax, float Strength, TColor Color, bool Glint) {
  if (!HasBgraBytes(bitmap)) return;
  // Pixels of the box that the bitmap does not have are skipped.
  const int columns = std::min(XMax, bitmap.width() - 1) + 1;
  const int rows = std::min(YMax, bitmap.height() - 1) + 1;
  if (columns <= 0 || rows <= 0) return;

  const std::vector<float> columnSquares = SquaredCoordinates(columns, XMax);
  const std::vector<float> rowSquares = SquaredCoordinates(rows, YMax);
  if (std::fabs(Strength) <= kPlainStrengthLimit) {
    DrawWith<RoundedLowByte>(bitmap, columnSquares, rowSquares, Strength, Color, Glint);
  } else {
    DrawWith<AnyRoundedLowByte>(bitmap, columnSquares, rowSquares, Strength, Color, Glint);
  }
}
