// Feeds arbitrary bytes to the JPEG loader the way the board picture is loaded, and checks what
// comes back: either a whole picture within the size cap or no picture with a reason. Any crash,
// sanitizer report, broken rule, hang or runaway allocation is a finding.
//
// libjpeg is the system's library, built without coverage, so libFuzzer cannot see which of its
// paths an input takes. libjpeg names everything it reads (markers, tables, frame and scan
// parameters, restarts, warnings) in trace messages that it hands to the error manager whatever
// the trace level. A second, plain decode of each input counts those messages and their first
// parameters in libFuzzer's extra counters, so that inputs which make libjpeg do something new
// are kept and mutated further.
//
// The slowest inputs are pictures near the size cap with many scans; the decoder's limits keep
// one decode of them to a few seconds under the sanitizers.

#include <QByteArray>
#include <QImage>
#include <QString>
#include <bit>
#include <csetjmp>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

// libjpeg's headers need FILE and size_t declared before them.
#include <jerror.h>
#include <jpeglib.h>

#include "platform/jpeg_decoder.h"
#include "platform/picture.h"

namespace {

// libFuzzer reads arrays in this section as extra coverage counters, bucketing each one's count.
constexpr std::size_t kMessageCounters = 256;
constexpr std::size_t kParameterCounters = 4096;
__attribute__((used, section("__libfuzzer_extra_counters"))) std::uint8_t gMessages[kMessageCounters];
__attribute__((used, section("__libfuzzer_extra_counters"))) std::uint8_t gParameters[kParameterCounters];

// With JPEG_FUZZ_COARSE set, only which messages occur counts, not how often nor with what: a
// merge in this mode keeps a small corpus for the sources that still reaches every message.
bool gCoarse = false;

void Bump(std::uint8_t& counter) {
  if (gCoarse)
    counter = 1;
  else if (counter != 0xFF)
    ++counter;
}

struct ProbeErrors {
  jpeg_error_mgr base;
  jpeg_progress_mgr progress;
  std::jmp_buf jump;
};

[[noreturn]] void ProbeStop(j_common_ptr info) {
  std::longjmp(reinterpret_cast<ProbeErrors*>(info->err)->jump, 1);
}

// Small values (marker codes, component counts, scan parameters) count as they are, larger ones
// (sizes, byte counts) by their magnitude, so that every new width is not a new feature.
unsigned Class(int value) {
  const auto magnitude = static_cast<unsigned>(value < 0 ? -static_cast<long long>(value) : value);
  return magnitude < 32 ? magnitude : 32 + static_cast<unsigned>(std::bit_width(magnitude));
}

void ProbeMessage(j_common_ptr info, int level) {
  const int code = info->err->msg_code;
  const int* parameters = info->err->msg_parm.i;
  Bump(gMessages[static_cast<unsigned>(code) % kMessageCounters]);
  const unsigned mix =
      (static_cast<unsigned>(code) * 97u + Class(parameters[0])) * 131u + Class(parameters[1]);
  if (!gCoarse) Bump(gParameters[mix % kParameterCounters]);
  // Stop where the loader stops, so that the probe costs no more than the decode it mirrors.
  if (level < 0) ProbeStop(info);
}

void ProbeProgress(j_common_ptr info) {
  if (reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > kJpegMaxScans) ProbeStop(info);
}

// Larger pictures only have their headers probed: their scans take the same paths as small ones,
// and a second full decode of them would double the time of the slowest inputs.
constexpr long long kProbePixels = 1024 * 1024;

// Decodes with the loader's settings and limits, recording what libjpeg reports on the way.
void Probe(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return;
  jpeg_decompress_struct info{};
  ProbeErrors errors{};
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = ProbeStop;
  errors.base.emit_message = ProbeMessage;
  errors.progress.progress_monitor = ProbeProgress;
  std::vector<unsigned char>* volatile row = new std::vector<unsigned char>();
  if (setjmp(errors.jump) == 0) {
    jpeg_create_decompress(&info);
    info.progress = &errors.progress;
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    if (static_cast<long long>(info.image_width) * info.image_height <= kProbePixels) {
      info.out_color_space = JCS_RGB;
      jpeg_start_decompress(&info);
      row->resize(static_cast<std::size_t>(info.output_width) * 3);
      while (info.output_scanline < info.output_height) {
        JSAMPROW rows[1] = {row->data()};
        jpeg_read_scanlines(&info, rows, 1);
      }
      jpeg_finish_decompress(&info);
    }
  }
  jpeg_destroy_decompress(&info);
  delete row;
}

void Require(bool condition, const char* rule) {
  if (condition) return;
  std::fprintf(stderr, "broken rule: %s\n", rule);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
  gCoarse = std::getenv("JPEG_FUZZ_COARSE") != nullptr;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Probe(data, size);

  // One decode per input keeps a large picture within the time limit. Inputs of even length load
  // into a picture as the program loads its photograph; inputs of odd length go straight to the
  // decoder, asking for the reason. Mutations change the length all the time, so both ways see
  // every kind of input.
  const QByteArray bytes =
      QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  QImage image;
  if (size % 2 == 0) {
    TPicture picture;
    int changes = 0;
    picture.OnChange = [&] { ++changes; };
    const bool loaded = picture.LoadFromJpeg(bytes);
    Require(changes == 1, "a load notifies once");
    Require(loaded == picture.HasGraphic(), "the load's answer matches the picture");
    image = picture.Image();
  } else {
    QString reason;
    image = DecodeJpeg(bytes, &reason);
    Require(image.isNull() != reason.isEmpty(), "a refused picture has a reason, a decoded one none");
  }
  if (image.isNull()) return 0;

  Require(image.format() == QImage::Format_RGB32, "pictures are 32-bit RGB");
  Require(image.width() > 0 && image.height() > 0, "a picture has pixels");
  Require(static_cast<long long>(image.width()) * image.height() <= kJpegMaxPixels,
          "a picture stays within the size cap");
  // Touch the last pixel, so that a picture shorter than its header says is caught here.
  volatile QRgb corner = image.pixel(image.width() - 1, image.height() - 1);
  (void)corner;
  return 0;
}
