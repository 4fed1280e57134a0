#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// Decodes JPEG bytes with libjpeg into a Format_RGB32 image. Damaged, truncated,
// empty or foreign bytes give a null image and, when asked, the decoder's reason.
QImage DecodeJpeg(const QByteArray& bytes, QString* error = nullptr);
