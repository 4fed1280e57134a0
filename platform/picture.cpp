#include "platform/picture.h"

#include <QFile>

#include "platform/jpeg_decoder.h"

void TPicture::Assign(const TPicture& other) {
  FImage = other.FImage;
  FTransparent = other.FTransparent;
  Changed();
}

bool TPicture::LoadFromJpeg(const QByteArray& bytes) {
  FImage = DecodeJpeg(bytes);
  Changed();
  return HasGraphic();
}

bool TPicture::LoadFromFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    Clear();
    return false;
  }
  return LoadFromJpeg(file.readAll());
}

void TPicture::Clear() {
  FImage = QImage();
  Changed();
}

void TPicture::SetTransparent(bool value) {
  if (FTransparent == value) return;
  FTransparent = value;
  Changed();
}
