#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// Pictures with more pixels than this are refused before anything is allocated for them. The
// board photograph has 0.4 million. Arithmetic coding can declare millions of pixels in a few
// hundred bytes that then decode without complaint, each million costing memory and time, so the
// cap stays well short of what a damaged or hostile file could ask for.
constexpr long long kJpegMaxPixels = 8LL * 1024 * 1024;

// Files with more scans than this are refused. Each scan walks the whole picture, and a file of a
// few hundred bytes can hold thousands of valid scans of a large picture; real progressive files
// have ten to twenty.
constexpr int kJpegMaxScans = 32;

// Decodes JPEG bytes with libjpeg into a Format_RGB32 image. Damaged, truncated,
// empty or foreign bytes give a null image and, when asked, the decoder's reason.
QImage DecodeJpeg(const QByteArray& bytes, QString* error = nullptr);
