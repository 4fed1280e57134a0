#include "platform/jpeg_decoder.h"

#include <gtest/gtest.h>

#include <QFile>
#include <cstdio>
#include <cstdlib>
#include <ostream>
#include <vector>

#include "platform/picture.h"
#include "support/pictures.h"

// libjpeg's header needs FILE and size_t declared before it.
#include <jpeglib.h>

// The photograph lives in the app library's resources, registered on request.
static void RegisterAssets() { Q_INIT_RESOURCE(assets); }

namespace {

// How a test picture is written by libjpeg's own encoder, for the codings that Qt's writer
// does not make.
struct Encoding {
  int width = 16;
  int height = 16;
  bool grey = false;
  bool progressive = false;  // libjpeg's standard progression
  bool arithmetic = false;
  int restartRows = 0;
  int scans = 0;  // when not 0: a greyscale progression of exactly this many scans
};

// Fills the scan list with a valid greyscale progression of `count` scans: the DC scan, first
// scans of single AC coefficients at half precision, then their refinement scans.
void ManyScans(int count, std::vector<jpeg_scan_info>& scans) {
  constexpr int kCoefficients = 63;
  scans.assign(static_cast<size_t>(count), jpeg_scan_info{});
  for (int i = 0; i < count; ++i) {
    jpeg_scan_info& scan = scans[static_cast<size_t>(i)];
    scan.comps_in_scan = 1;
    scan.component_index[0] = 0;
    if (i == 0) continue;  // DC, full precision
    const bool refine = i > kCoefficients;
    scan.Ss = scan.Se = refine ? i - kCoefficients : i;
    scan.Ah = refine ? 1 : 0;
    scan.Al = refine ? 0 : 1;
  }
}

QByteArray Encode(const Encoding& encoding, QColor colour = QColor(40, 120, 60)) {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  const bool grey = encoding.grey || encoding.scans > 0;
  info.image_width = static_cast<JDIMENSION>(encoding.width);
  info.image_height = static_cast<JDIMENSION>(encoding.height);
  info.input_components = grey ? 1 : 3;
  info.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 95, TRUE);
  info.arith_code = encoding.arithmetic ? TRUE : FALSE;
  info.restart_in_rows = encoding.restartRows;
  if (encoding.progressive) jpeg_simple_progression(&info);
  std::vector<jpeg_scan_info> scans;
  if (encoding.scans > 0) {
    ManyScans(encoding.scans, scans);
    info.scan_info = scans.data();
    info.num_scans = encoding.scans;
  }
  jpeg_start_compress(&info, TRUE);
  std::vector<unsigned char> row(static_cast<size_t>(encoding.width) * info.input_components);
  for (int x = 0; x < encoding.width; ++x) {
    if (grey) {
      row[x] = static_cast<unsigned char>(colour.green());
    } else {
      row[x * 3] = static_cast<unsigned char>(colour.red());
      row[x * 3 + 1] = static_cast<unsigned char>(colour.green());
      row[x * 3 + 2] = static_cast<unsigned char>(colour.blue());
    }
  }
  while (info.next_scanline < info.image_height) {
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  QByteArray bytes(reinterpret_cast<const char*>(buffer), static_cast<qsizetype>(size));
  std::free(buffer);
  return bytes;
}

// Rewrites the picture size in the frame header of a baseline file.
QByteArray WithDeclaredSize(QByteArray bytes, int width, int height) {
  const qsizetype sof = bytes.indexOf(QByteArray("\xFF\xC0", 2));
  if (sof < 0) return {};
  bytes[sof + 5] = static_cast<char>(height >> 8);
  bytes[sof + 6] = static_cast<char>(height & 0xFF);
  bytes[sof + 7] = static_cast<char>(width >> 8);
  bytes[sof + 8] = static_cast<char>(width & 0xFF);
  return bytes;
}

TEST(JpegDecoder, DecodesSizeAndColour) {
  const QImage image = DecodeJpeg(JpegBytes(37, 21, QColor(200, 40, 40)));
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(image.size(), QSize(37, 21));
  EXPECT_EQ(image.format(), QImage::Format_RGB32);
  const QColor centre = image.pixelColor(18, 10);
  EXPECT_NEAR(centre.red(), 200, 6);
  EXPECT_NEAR(centre.green(), 40, 6);
  EXPECT_NEAR(centre.blue(), 40, 6);
}

TEST(JpegDecoder, BoardPhotographDecodesAt793By508) {
  RegisterAssets();
  QFile file(QStringLiteral(":/assets/board.jpg"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QImage image = DecodeJpeg(file.readAll());
  EXPECT_EQ(image.size(), QSize(793, 508));
}

// The cap is checked on the declared size before any pixel is decoded: one row over it is refused
// as too large, while a header exactly at it is read on and fails only on its missing data.
TEST(JpegDecoder, SizeCapLiesExactlyAtTheLimit) {
  constexpr int kWidth = 4096;
  constexpr int kRowsAtCap = static_cast<int>(kJpegMaxPixels / kWidth);
  static_assert(static_cast<long long>(kWidth) * kRowsAtCap == kJpegMaxPixels);
  const QByteArray small = Encode({.width = 8, .height = 8});

  QString overCap;
  EXPECT_TRUE(DecodeJpeg(WithDeclaredSize(small, kWidth, kRowsAtCap + 1), &overCap).isNull());
  EXPECT_EQ(overCap, QStringLiteral("Picture too large"));

  QString atCap;
  EXPECT_TRUE(DecodeJpeg(WithDeclaredSize(small, kWidth, kRowsAtCap), &atCap).isNull());
  EXPECT_EQ(atCap, QStringLiteral("The picture data is damaged"));
}

struct BadInput {
  const char* name;
  QByteArray bytes;
};

void PrintTo(const BadInput& input, std::ostream* out) { *out << input.name; }

class JpegDecoderBadInput : public ::testing::TestWithParam<BadInput> {};

TEST_P(JpegDecoderBadInput, GivesAnEmptyPictureAndAReason) {
  QString reason;
  EXPECT_TRUE(DecodeJpeg(GetParam().bytes, &reason).isNull());
  EXPECT_FALSE(reason.isEmpty());

  TPicture picture;
  int changes = 0;
  picture.OnChange = [&] { ++changes; };
  EXPECT_FALSE(picture.LoadFromJpeg(GetParam().bytes));
  EXPECT_FALSE(picture.HasGraphic());
  EXPECT_EQ(picture.Width(), 0);
  EXPECT_EQ(changes, 1);
}

QByteArray Truncated() {
  const QByteArray good = JpegBytes(64, 64);
  return good.left(good.size() / 2);
}

QByteArray DamagedHeader() {
  QByteArray bytes = JpegBytes(64, 64);
  // Overwrite the frame header's marker so the decoder meets garbage where it expects one.
  const int sof = bytes.indexOf(QByteArray("\xFF\xC0", 2));
  bytes[sof + 1] = static_cast<char>(0x01);
  return bytes;
}

QByteArray HeaderOnly() { return JpegBytes(64, 64).left(2); }

QByteArray PngBytes() {
  QImage image(8, 8, QImage::Format_RGB32);
  image.fill(Qt::red);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return bytes;
}

// A sound picture with stray bytes between two of its header markers: libjpeg skips them with a
// warning only, and the picture counts as damaged all the same.
QByteArray StrayBytesBetweenMarkers() {
  QByteArray bytes = JpegBytes(16, 16);
  bytes.insert(2, QByteArray("\x12\x34\x56", 3));
  return bytes;
}

// A tiny file whose header asks for more pixels than the cap, one pixel row over it.
QByteArray DeclaredBeyondCap() {
  constexpr int kWidth = 4096;
  return WithDeclaredSize(Encode({.width = 8, .height = 8}), kWidth,
                          static_cast<int>(kJpegMaxPixels / kWidth) + 1);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, JpegDecoderBadInput,
    ::testing::Values(BadInput{"empty", QByteArray()}, BadInput{"truncated", Truncated()},
                      BadInput{"damaged_header", DamagedHeader()}, BadInput{"marker_only", HeaderOnly()},
                      BadInput{"text", QByteArray("not a picture at all")}, BadInput{"png", PngBytes()},
                      BadInput{"stray_bytes_between_markers", StrayBytesBetweenMarkers()},
                      BadInput{"declared_beyond_cap", DeclaredBeyondCap()},
                      BadInput{"one_scan_too_many", Encode({.scans = kJpegMaxScans + 1})},
                      BadInput{"far_too_many_scans", Encode({.scans = 127})}),
    [](const auto& info) { return std::string(info.param.name); });

struct GoodInput {
  const char* name;
  Encoding encoding;
};

void PrintTo(const GoodInput& input, std::ostream* out) { *out << input.name; }

class JpegDecoderCodings : public ::testing::TestWithParam<GoodInput> {};

// Every coding libjpeg reads gives the whole picture in its own colour; a greyscale file comes out
// with equal channels.
TEST_P(JpegDecoderCodings, DecodeToTheirSizeAndColour) {
  const Encoding& encoding = GetParam().encoding;
  const QColor colour(200, 90, 30);
  QString reason;
  const QImage image = DecodeJpeg(Encode(encoding, colour), &reason);
  ASSERT_FALSE(image.isNull()) << reason.toStdString();
  EXPECT_EQ(image.size(), QSize(encoding.width, encoding.height));
  const QColor seen = image.pixelColor(encoding.width - 1, encoding.height - 1);
  const bool grey = encoding.grey || encoding.scans > 0;
  EXPECT_NEAR(seen.red(), grey ? colour.green() : colour.red(), 6);
  EXPECT_NEAR(seen.green(), colour.green(), 6);
  EXPECT_NEAR(seen.blue(), grey ? colour.green() : colour.blue(), 6);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, JpegDecoderCodings,
    ::testing::Values(GoodInput{"progressive", {.width = 40, .height = 24, .progressive = true}},
                      GoodInput{"greyscale", {.width = 9, .height = 17, .grey = true}},
                      GoodInput{"arithmetic", {.width = 24, .height = 8, .arithmetic = true}},
                      GoodInput{"arithmetic_progressive",
                                {.width = 24, .height = 40, .progressive = true, .arithmetic = true}},
                      GoodInput{"restart_every_row", {.width = 48, .height = 48, .restartRows = 1}},
                      GoodInput{"scans_at_the_limit", {.width = 16, .height = 16, .scans = kJpegMaxScans}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Picture, AssignCopiesTheGraphicAndNotifies) {
  const TPicture source = MakePicture(10, 6);
  TPicture target;
  int changes = 0;
  target.OnChange = [&] { ++changes; };
  target.Assign(source);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(target.Width(), 10);
  EXPECT_EQ(target.Height(), 6);
}

}  // namespace
