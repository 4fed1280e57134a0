#pragma once

#include <QColor>
#include <cstdint>

// Colours are 0x00BBGGRR (red in the low byte). Values with the top bit set name a
// system colour that is resolved through the application palette when drawn.
using TColor = std::uint32_t;

constexpr TColor clBlack = 0x00000000;
constexpr TColor clWhite = 0x00FFFFFF;
constexpr TColor clSystemColor = 0x80000000;
constexpr TColor clWindowText = clSystemColor | 8;
constexpr TColor clBtnFace = clSystemColor | 15;

constexpr TColor RGBColor(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return TColor(r) | (TColor(g) << 8) | (TColor(b) << 16);
}
constexpr std::uint8_t RedOf(TColor c) { return c & 0xFF; }
constexpr std::uint8_t GreenOf(TColor c) { return (c >> 8) & 0xFF; }
constexpr std::uint8_t BlueOf(TColor c) { return (c >> 16) & 0xFF; }

// Resolves system colours and returns the plain 0x00BBGGRR value.
TColor ColorToRGB(TColor c);
QColor ToQColor(TColor c);
TColor FromQColor(const QColor& c);
