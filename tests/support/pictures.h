#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QImage>

#include "platform/picture.h"

// JPEG bytes of an image, encoded by Qt so that the decoder under test is not judged by
// its own output.
inline QByteArray JpegBytes(const QImage& image, int quality = 95) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "JPG", quality);
  return bytes;
}

// JPEG bytes of a w x h picture in one colour.
inline QByteArray JpegBytes(int w, int h, QColor colour = QColor(40, 120, 60)) {
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(colour);
  return JpegBytes(image);
}

// The picture an image becomes once it has gone through a JPEG file.
inline TPicture PictureOf(const QImage& image, int quality = 95) {
  TPicture picture;
  picture.LoadFromJpeg(JpegBytes(image, quality));
  return picture;
}

inline TPicture MakePicture(int w, int h, QColor colour = QColor(40, 120, 60)) {
  TPicture picture;
  picture.LoadFromJpeg(JpegBytes(w, h, colour));
  return picture;
}
