#include "platform/jpeg_decoder.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace {

constexpr char kDamaged[] = "The picture data is damaged";
constexpr char kTooManyScans[] = "The picture has too many scans";

// libjpeg reports fatal errors through error_exit, which must not return: jump back
// to the decoder instead of letting the library end the process.
struct ErrorManager {
  jpeg_error_mgr base;
  jpeg_progress_mgr progress;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void Fail(j_common_ptr info, const char* reason) {
  auto* manager = reinterpret_cast<ErrorManager*>(info->err);
  std::snprintf(manager->message, sizeof manager->message, "%s", reason);
  std::longjmp(manager->jump, 1);
}

void OnFatalError(j_common_ptr info) {
  auto* manager = reinterpret_cast<ErrorManager*>(info->err);
  (*info->err->format_message)(info, manager->message);
  std::longjmp(manager->jump, 1);
}

// libjpeg carries on past damaged or missing data with a warning and grey rows. Such a
// picture counts as damaged and is never shown, so decoding stops at the first warning
// rather than spending time on the rest of a picture that may declare millions of pixels.
void OnMessage(j_common_ptr info, int level) {
  if (level < 0) Fail(info, kDamaged);
}

// Called between the units of work while the scans are read; stops before the scan past the limit
// is decoded.
void OnProgress(j_common_ptr info) {
  if (info->is_decompressor && reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > kJpegMaxScans)
    Fail(info, kTooManyScans);
}

}  // namespace

QImage DecodeJpeg(const QByteArray& bytes, QString* error) {
  if (bytes.isEmpty()) {
    if (error) *error = QStringLiteral("No picture data");
    return {};
  }

  jpeg_decompress_struct info{};
  ErrorManager manager{};
  info.err = jpeg_std_error(&manager.base);
  manager.base.error_exit = OnFatalError;
  manager.base.emit_message = OnMessage;
  manager.progress.progress_monitor = OnProgress;

  // Nothing with a destructor may live in this frame across the jump: the image and
  // the row buffer are owned through plain pointers and released on both paths.
  QImage* volatile image = new QImage();
  unsigned char* volatile row = nullptr;
  if (setjmp(manager.jump) != 0) {
    jpeg_destroy_decompress(&info);
    if (error) *error = QString::fromLocal8Bit(manager.message);
    delete image;
    delete[] row;
    return {};
  }

  jpeg_create_decompress(&info);
  info.progress = &manager.progress;
  jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.constData()),
               static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&info, TRUE);
  if (static_cast<long long>(info.image_width) * info.image_height > kJpegMaxPixels) {
    jpeg_destroy_decompress(&info);
    if (error) *error = QStringLiteral("Picture too large");
    delete image;
    return {};
  }
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);

  *image =
      QImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height), QImage::Format_RGB32);
  if (image->isNull()) {
    jpeg_destroy_decompress(&info);
    if (error) *error = QStringLiteral("Not enough memory for the picture");
    delete image;
    return {};
  }
  row = new unsigned char[static_cast<size_t>(info.output_width) * 3];
  while (info.output_scanline < info.output_height) {
    const int y = static_cast<int>(info.output_scanline);
    JSAMPROW rows[1] = {row};
    jpeg_read_scanlines(&info, rows, 1);
    auto* out = reinterpret_cast<QRgb*>(image->scanLine(y));
    for (JDIMENSION x = 0; x < info.output_width; ++x)
      out[x] = qRgb(row[x * 3], row[x * 3 + 1], row[x * 3 + 2]);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  delete[] row;

  QImage result = *image;
  delete image;
  return result;
}
