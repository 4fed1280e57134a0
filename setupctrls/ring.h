#pragma once

#include <QImage>

#include "platform/colour.h"

// Ring colour and the strengths of the three looks (normal, glint, bright) of a highlight
// circle, by highlight type.
struct TRingLook {
  TColor RingColor;
  float Normal;
  float Glint;
  float Bright;
};

// Look for a highlight type given by its ordinal (htOptions 0, htSettings 1, htCalibration 2).
// An ordinal outside that range gets the look of htSettings, the default type.
TRingLook RingLookFor(int highlightTypeOrdinal);

// Blends the soft ring of a highlight circle into a bitmap that already holds the background.
// XMax and YMax are the largest column and row index of the circle's box; the ring is the
// ellipse inscribed in that box. Only 32-bit bitmaps whose bytes are blue, green, red and a
// fourth byte (Format_RGB32, Format_ARGB32, Format_ARGB32_Premultiplied) are drawn into; other
// bitmaps are left as they are.
//
// Sizes the formula does not cover are handled as follows: an axis with a single pixel
// (XMax or YMax 0) is the circle's centre line on that axis; a negative XMax or YMax, an empty
// bitmap, or a bitmap smaller than the box draw nothing outside the bitmap (the part of the
// ring that lies in the bitmap is drawn as in a full-sized one). A blend whose value is not a
// finite number (a NaN or infinite strength) stores 0.
void DrawRing(QImage& bitmap, int XMax, int YMax, float Strength, TColor Color, bool Glint);
