#include "setupctrls/board_image.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>
#include <memory>

#include "platform/colour.h"
#include "support/pictures.h"

namespace {

// A top-level parent of a given size; offscreen windows have no frame, so their outer
// size is their size.
struct Page {
  std::unique_ptr<QWidget> form = std::make_unique<QWidget>();
  TBoardImage* image = new TBoardImage(form.get());

  explicit Page(QSize formSize = QSize(1032, 776)) { form->resize(formSize); }

  void Paint() { image->grab(); }
};

TEST(BoardImage, ConstructionDefaults) {
  Page page;
  EXPECT_EQ(page.image->size(), QSize(105, 105));
  EXPECT_TRUE(page.image->AutoSize());
  EXPECT_TRUE(page.image->Scale());
  EXPECT_TRUE(page.image->CenterOnForm());
  EXPECT_FALSE(page.image->Stretch());
  EXPECT_FALSE(page.image->Center());
  EXPECT_FALSE(page.image->Transparent());
  EXPECT_EQ(page.image->Menu(), nullptr);
  EXPECT_EQ(page.image->First(), nullptr);
  EXPECT_DOUBLE_EQ(page.image->AspectRatio(), 1.0);
  EXPECT_FALSE(page.image->PositionSaved());
  EXPECT_EQ(page.image->DesignLeft(), 0);
}

struct DestinationCase {
  const char* name;
  bool stretch, center;
  QSize control, picture;
  QRect expected;
};

class BoardImageDestination : public ::testing::TestWithParam<DestinationCase> {};

TEST_P(BoardImageDestination, PlacesThePicture) {
  const DestinationCase& c = GetParam();
  Page page;
  page.image->SetAutoSize(false);
  page.image->resize(c.control);
  page.image->SetPicture(MakePicture(c.picture.width(), c.picture.height()));
  page.image->SetStretch(c.stretch);
  page.image->SetCenter(c.center);
  EXPECT_EQ(page.image->DestinationRect(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BoardImageDestination,
    ::testing::Values(
        DestinationCase{"stretch_fills", true, false, {600, 384}, {793, 508}, {0, 0, 600, 384}},
        DestinationCase{"stretch_squeezes", true, false, {600, 300}, {793, 508}, {0, 0, 600, 300}},
        DestinationCase{"center_wider_picture", false, true, {600, 384}, {793, 508}, {-96, -62, 793, 508}},
        DestinationCase{"center_narrower_picture", false, true, {600, 384}, {401, 200}, {99, 92, 401, 200}},
        DestinationCase{"stretch_wins_over_center", true, true, {600, 384}, {793, 508}, {0, 0, 600, 384}},
        DestinationCase{"natural_size_top_left", false, false, {600, 384}, {793, 508}, {0, 0, 793, 508}}),
    [](const auto& info) { return std::string(info.param.name); });

struct CentringCase {
  const char* name;
  QSize form;
  QRect declared;
  QPoint expected;
};

class BoardImageCentring : public ::testing::TestWithParam<CentringCase> {};

TEST_P(BoardImageCentring, CentresOnTheParentsOuterSizeAndKeepsTheDesignPosition) {
  const CentringCase& c = GetParam();
  Page page(c.form);
  page.image->SetAutoSize(false);
  page.image->setGeometry(c.declared);
  page.Paint();
  EXPECT_EQ(page.image->pos(), c.expected);
  EXPECT_EQ(page.image->DesignLeft(), c.declared.left());
  EXPECT_EQ(page.image->DesignTop(), c.declared.top());
  // A second paint re-centres but never takes a new design position.
  const QSize larger = c.form + QSize(201, 101);
  page.form->resize(larger);
  page.Paint();
  EXPECT_EQ(page.image->pos(),
            QPoint((larger.width() - c.declared.width()) / 2, (larger.height() - c.declared.height()) / 2));
  EXPECT_EQ(page.image->DesignLeft(), c.declared.left());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BoardImageCentring,
    ::testing::Values(CentringCase{"even", {1032, 776}, {142, 74, 600, 384}, {216, 196}},
                      CentringCase{"odd_width", {1033, 776}, {142, 74, 600, 384}, {216, 196}},
                      CentringCase{"wider_by_100", {500, 400}, {5, 6, 600, 400}, {-50, 0}},
                      CentringCase{"wider_by_101", {499, 400}, {5, 6, 600, 400}, {-50, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BoardImage, WithoutCentringStaysWhereDeclared) {
  Page page;
  page.image->SetAutoSize(false);
  page.image->SetCenterOnForm(false);
  page.image->setGeometry(142, 74, 600, 384);
  page.Paint();
  EXPECT_EQ(page.image->pos(), QPoint(142, 74));
  EXPECT_EQ(page.image->DesignLeft(), 142);
  EXPECT_EQ(page.image->DesignTop(), 74);
}

TEST(BoardImage, AutoSizeFollowsThePictureOnlyWhenOn) {
  Page on;
  on.image->move(10, 20);
  on.image->SetPicture(MakePicture(793, 508));
  EXPECT_EQ(on.image->geometry(), QRect(10, 20, 793, 508));

  Page off;
  off.image->SetAutoSize(false);
  off.image->setGeometry(142, 74, 600, 384);
  off.image->SetPicture(MakePicture(793, 508));
  EXPECT_EQ(off.image->geometry(), QRect(142, 74, 600, 384));
  EXPECT_DOUBLE_EQ(off.image->AspectRatio(), 508.0 / 793.0);
}

TEST(BoardImage, EqualValueSettersDoNotRunThePictureChange) {
  Page page;
  page.image->SetPicture(MakePicture(40, 30));
  page.image->resize(50, 50);
  // Equal values: the auto-size step of the picture change does not run.
  page.image->SetStretch(false);
  page.image->SetCenter(false);
  page.image->SetTransparent(false);
  page.image->SetScale(true);
  EXPECT_EQ(page.image->size(), QSize(50, 50));
  // A new value runs it, and the control takes the picture's size again.
  page.image->SetStretch(true);
  EXPECT_EQ(page.image->size(), QSize(40, 30));
}

TEST(BoardImage, OpaqueOnlyWhenThePictureCoversTheControl) {
  Page page;
  page.image->SetAutoSize(false);
  page.image->resize(600, 384);
  page.image->SetPicture(MakePicture(100, 100));
  EXPECT_FALSE(page.image->Opaque());
  page.image->SetStretch(true);
  EXPECT_TRUE(page.image->Opaque());
  page.image->SetPicture(TPicture());
  EXPECT_FALSE(page.image->Opaque());
}

TEST(BoardImage, EmptyPictureShowsTheBackground) {
  Page page;
  page.image->SetAutoSize(false);
  page.image->SetCenterOnForm(false);
  page.image->SetPicture(TPicture());
  EXPECT_DOUBLE_EQ(page.image->AspectRatio(), 1.0);
  EXPECT_EQ(page.image->size(), QSize(105, 105));
  const QImage shown = page.image->grab().toImage();
  EXPECT_EQ(FromQColor(shown.pixelColor(50, 50)), ColorToRGB(clBtnFace));
}

TEST(BoardImage, DamagedPictureLeavesTheBackgroundAndKeepsRunning) {
  Page page;
  page.image->SetAutoSize(false);
  page.image->SetStretch(true);
  TPicture damaged;
  damaged.LoadFromJpeg(JpegBytes(100, 100).left(300));
  page.image->SetPicture(damaged);
  EXPECT_FALSE(page.image->Picture().HasGraphic());
  const QImage shown = page.image->grab().toImage();
  EXPECT_EQ(FromQColor(shown.pixelColor(10, 10)), ColorToRGB(clBtnFace));
}

TEST(BoardImage, StretchedPictureFillsTheControl) {
  Page page;
  page.image->SetAutoSize(false);
  page.image->SetCenterOnForm(false);
  page.image->resize(600, 300);
  page.image->SetPicture(MakePicture(793, 508, QColor(200, 30, 30)));
  page.image->SetStretch(true);
  const QImage shown = page.image->grab().toImage();
  for (const QPoint p : {QPoint(0, 0), QPoint(599, 0), QPoint(0, 299), QPoint(599, 299), QPoint(300, 150)}) {
    EXPECT_NEAR(shown.pixelColor(p).red(), 200, 8) << p.x() << "," << p.y();
  }
}

TEST(BoardImage, RenderBackgroundMatchesTheScreen) {
  Page page;
  page.image->SetAutoSize(false);
  page.image->SetCenterOnForm(false);
  page.image->resize(200, 100);
  QImage gradient(317, 203, QImage::Format_RGB32);
  for (int y = 0; y < gradient.height(); ++y)
    for (int x = 0; x < gradient.width(); ++x) gradient.setPixel(x, y, qRgb(x % 256, y % 256, (x * y) % 256));
  page.image->SetPicture(PictureOf(gradient, 95));
  page.image->SetStretch(true);

  const QImage shown = page.image->grab().toImage().convertToFormat(QImage::Format_RGB32);
  QImage part(40, 30, QImage::Format_RGB32);
  page.image->RenderBackground(part, QRect(50, 20, 40, 30));
  EXPECT_EQ(part, shown.copy(50, 20, 40, 30));
}

TEST(BoardImage, TourMessageWithoutFirstDoesNothing) {
  Page page;
  QEvent tour(WM_STARTTOUR);
  EXPECT_TRUE(QCoreApplication::sendEvent(page.image, &tour));
  EXPECT_EQ(page.image->First(), nullptr);
}

}  // namespace
