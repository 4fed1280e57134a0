#include "platform/jpeg_decoder.h"

#include <gtest/gtest.h>

#include <QFile>

#include "platform/picture.h"
#include "support/pictures.h"

// The photograph lives in the app library's resources, registered on request.
static void RegisterAssets() { Q_INIT_RESOURCE(assets); }

namespace {

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

struct BadInput {
  const char* name;
  QByteArray bytes;
};

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

INSTANTIATE_TEST_SUITE_P(
    Cases, JpegDecoderBadInput,
    ::testing::Values(BadInput{"empty", QByteArray()}, BadInput{"truncated", Truncated()},
                      BadInput{"damaged_header", DamagedHeader()}, BadInput{"marker_only", HeaderOnly()},
                      BadInput{"text", QByteArray("not a picture at all")}, BadInput{"png", PngBytes()}),
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
