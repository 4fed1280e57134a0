#pragma once

#include <QImage>
#include <cmath>

#include "platform/colour.h"

// The ring drawn the plain way, one pixel at a time exactly as the algorithm reads. It is the
// baseline of the ring benchmark and the yardstick of DrawRing's bit-identity tests.
// It expects XMax and YMax of at least 1, a bitmap of at least XMax + 1 by YMax + 1 pixels
// with bytes blue, green, red, fourth byte, and a strength that keeps every blend inside int.
// Float steps must not be fused: the build passes -ffp-contract=off.
inline void DrawRingReference(QImage& bitmap, int XMax, int YMax, float Strength, TColor Color, bool Glint) {
  const int ringRed = RedOf(Color);
  const int ringGreen = GreenOf(Color);
  const int ringBlue = BlueOf(Color);
  const float sx = 2.0f / XMax;
  const float sy = 2.0f / YMax;
  for (int y = 0; y <= YMax; ++y) {
    uchar* row = bitmap.scanLine(y);
    for (int x = 0; x <= XMax; ++x) {
      const float nx = x * sx - 1.0f;
      const float ny = y * sy - 1.0f;
      const float d = nx * nx + ny * ny;
      if (d >= 1.0f) continue;
      uchar* pixel = row + 4 * x;
      int blue = pixel[0];
      int green = pixel[1];
      int red = pixel[2];
      int fourth = pixel[3];
      float s;
      if (d < 0.5929) {
        s = 0.16f;
      } else {
        const float r = std::sqrt(d);
        s = 1.0f - 8.0f * std::fabs(r - 0.875f);
        if (Glint) {
          s = 2.0f * s;
          if (s > 1.0f) {
            blue = green = red = 255;
            fourth = 0;
            s = 2.0f - s;
          }
        }
      }
      const float a = s * Strength;
      const float inv = 1.0f - a;
      pixel[0] =
          static_cast<uchar>(static_cast<int>(std::nearbyint(double(blue) * inv + double(ringBlue) * a)));
      pixel[1] =
          static_cast<uchar>(static_cast<int>(std::nearbyint(double(green) * inv + double(ringGreen) * a)));
      pixel[2] =
          static_cast<uchar>(static_cast<int>(std::nearbyint(double(red) * inv + double(ringRed) * a)));
      pixel[3] = static_cast<uchar>(fourth);
    }
  }
}
