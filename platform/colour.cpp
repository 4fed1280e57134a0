#include "platform/colour.h"

#include <QGuiApplication>
#include <QPalette>

TColor ColorToRGB(TColor c) {
  if ((c & clSystemColor) == 0) return c & 0x00FFFFFF;
  const QPalette palette = QGuiApplication::palette();
  switch (c) {
    case clBtnFace: return FromQColor(palette.color(QPalette::Button));
    case clWindowText: return FromQColor(palette.color(QPalette::WindowText));
    default: return FromQColor(palette.color(QPalette::Window));
  }
}

QColor ToQColor(TColor c) {
  const TColor rgb = ColorToRGB(c);
  return QColor(RedOf(rgb), GreenOf(rgb), BlueOf(rgb));
}

TColor FromQColor(const QColor& c) { return RGBColor(c.red(), c.green(), c.blue()); }
