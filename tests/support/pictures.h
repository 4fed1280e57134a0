#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QImage>

#include "platform/picture.h"

// JPEG bytes of a w x h picture in one colour, encoded by Qt so that the decoder under
// test is not judged by its own output.
inline QByteArray JpegBytes(int w, int h, QColor colour = QColor(40, 120, 60)) {
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(colour);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "JPG", 95);
  return bytes;
}

inline TPicture MakePicture(int w, int h, QColor colour = QColor(40, 120, 60)) {
  TPicture picture;
  picture.LoadFromJpeg(JpegBytes(w, h, colour));
  return picture;
}
