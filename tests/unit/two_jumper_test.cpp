#include "setupctrls/two_jumper.h"

#include <gtest/gtest.h>

#include <QEvent>
#include <QGuiApplication>
#include <QPalette>
#include <QTest>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "setupctrls/radio_panel.h"
#include "support/test_support.h"

namespace {

constexpr TColor kPanelColour = RGBColor(0, 128, 255);
constexpr TColor kBlack = RGBColor(0, 0, 0);

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
 public:
  explicit PaintCounter(QWidget* widget) : QObject(widget) { widget->installEventFilter(this); }
  int Paints = 0;
  bool eventFilter(QObject* /*watched*/, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++Paints;
    return false;
  }
};

// A shown option panel (or a plain parent) holding one two-pin jumper and a small
// sibling far from it, whose repaint serves as a barrier for "no repaint" checks.
struct Scene {
  std::unique_ptr<QWidget> host;
  TTwoJumper* jumper = nullptr;
  QWidget* sibling = nullptr;
  PaintCounter* jumperPaints = nullptr;
  PaintCounter* siblingPaints = nullptr;

  // Processes events until the jumper has painted at its present size.
  void Settle() {
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return jumper->HasPainted() && jumper->OutputImage().size() == jumper->size(); }, 5000));
    QCoreApplication::processEvents();
  }

  // Lets every pending repaint of the window happen, by repainting the sibling.
  void Flush() {
    const int before = siblingPaints->Paints;
    sibling->update();
    ASSERT_TRUE(QTest::qWaitFor([&] { return siblingPaints->Paints > before; }, 5000));
  }
};

enum class Parent { Panel, Plain };

// Builds the scene; the jumper can be set up before the window first shows.
Scene MakeScene(Parent parent = Parent::Panel, const std::function<void(TTwoJumper&)>& declare = {}) {
  Scene s;
  if (parent == Parent::Panel) {
    auto* panel = new TRadioPanel();
    panel->SetColor(kPanelColour);
    s.host.reset(panel);
  } else {
    s.host = std::make_unique<QWidget>();
    QPalette palette = s.host->palette();
    palette.setColor(QPalette::Window, QColor(255, 0, 255));
    s.host->setPalette(palette);
    s.host->setAutoFillBackground(true);
  }
  s.host->resize(200, 100);
  s.jumper = new TTwoJumper(s.host.get());
  s.jumper->move(10, 10);
  if (declare) declare(*s.jumper);
  s.sibling = new QWidget(s.host.get());
  s.sibling->setGeometry(150, 80, 10, 10);
  s.jumperPaints = new PaintCounter(s.jumper);
  s.siblingPaints = new PaintCounter(s.sibling);
  s.host->show();
  EXPECT_TRUE(QTest::qWaitForWindowExposed(s.host.get()));
  s.Settle();
  return s;
}

TColor At(const QImage& image, int x, int y) {
  const QRgb p = image.pixel(x, y);
  return RGBColor(qRed(p), qGreen(p), qBlue(p));
}

std::string OrientationName(TOrientationType o) {
  static const char* const kNames[] = {"otUp", "otDown", "otLeft", "otRight"};
  return kNames[o];
}

TColor ButtonFace() { return ColorToRGB(clBtnFace); }

// One character per pixel: 'b' background, 'k' black, 'g' base, 'r' cap, 'y' pin.
std::vector<std::string> Classify(const QImage& image, TColor background) {
  std::vector<std::string> rows;
  for (int y = 0; y < image.height(); ++y) {
    std::string row;
    for (int x = 0; x < image.width(); ++x) {
      const TColor c = At(image, x, y);
      row += c == background         ? 'b'
             : c == kBlack           ? 'k'
             : c == kJumperBaseColor ? 'g'
             : c == kJumperCapColor  ? 'r'
             : c == kJumperPinColor  ? 'y'
                                     : '?';
    }
    rows.push_back(row);
  }
  return rows;
}

// The smallest rectangle holding every pixel of the given kind.
QRect Bounds(const std::vector<std::string>& picture, char kind, QRect within = QRect(0, 0, 10000, 10000)) {
  QRect r;
  for (int y = 0; y < int(picture.size()); ++y) {
    for (int x = 0; x < int(picture[y].size()); ++x) {
      if (picture[y][x] == kind && within.contains(x, y)) r |= QRect(x, y, 1, 1);
    }
  }
  return r;
}

int Count(const std::vector<std::string>& picture, char kind) {
  int n = 0;
  for (const std::string& row : picture) n += static_cast<int>(std::count(row.begin(), row.end(), kind));
  return n;
}

// The round pins as drawn in their box: radius 3 (6 by 6) and radius 2 (4 by 4).
const std::vector<std::string> kPinRadius3 = {".####.", "######", "######", "######", "######", ".####."};
const std::vector<std::string> kPinRadius2 = {".##.", "####", "####", ".##."};

void ExpectPin(const std::vector<std::string>& picture, QRect box, const std::vector<std::string>& mask) {
  ASSERT_EQ(box.height(), int(mask.size()));
  for (int y = 0; y < box.height(); ++y) {
    for (int x = 0; x < box.width(); ++x) {
      const bool pin = picture[box.top() + y][box.left() + x] == 'y';
      EXPECT_EQ(pin, mask[y][x] == '#') << "pin pixel " << box.left() + x << "," << box.top() + y;
    }
  }
}

TEST(TwoJumperTest, ConstructionDefaults) {
  TTwoJumper jumper;
  EXPECT_STREQ(jumper.metaObject()->className(), "TTwoJumper");
  EXPECT_EQ(jumper.size(), QSize(34, 18));
  EXPECT_FALSE(jumper.Closed());
  EXPECT_EQ(jumper.Orientation(), otUp);
  EXPECT_EQ(jumper.BorderStyle(), bsSingle);
  EXPECT_EQ(jumper.BaseColor(), RGBColor(128, 128, 128));
  EXPECT_EQ(jumper.JumperColor(), RGBColor(128, 0, 0));
  EXPECT_EQ(jumper.PinColor(), RGBColor(255, 255, 0));
  EXPECT_FALSE(jumper.OnClick());
  EXPECT_FALSE(jumper.HasPainted());
  EXPECT_FALSE(jumper.autoFillBackground());
  // The published settings are reachable by name with the same defaults.
  EXPECT_EQ(jumper.property("Closed").toBool(), false);
  EXPECT_EQ(jumper.property("BaseColor").value<TColor>(), RGBColor(128, 128, 128));
  EXPECT_EQ(jumper.property("Orientation").value<TOrientationType>(), otUp);
  EXPECT_EQ(jumper.property("BorderStyle").value<TBorderStyle>(), bsSingle);
}

struct MeasureCase {
  int L, T;
  int a, px, r, cy;
};

class TwoJumperMeasureTest : public ::testing::TestWithParam<MeasureCase> {};

TEST_P(TwoJumperMeasureTest, MeasuresRoundHalvesToEven) {
  const MeasureCase& c = GetParam();
  const TTwoJumper::TMeasures m = TTwoJumper::Measures(c.L, c.T);
  EXPECT_EQ(m.a, c.a);
  EXPECT_EQ(m.px, c.px);
  EXPECT_EQ(m.r, c.r);
  EXPECT_EQ(m.cy, c.cy);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, TwoJumperMeasureTest,
    ::testing::Values(MeasureCase{34, 18, 10, 11, 3, 9},  // the usual jumper
                      MeasureCase{34, 10, 10, 11, 2, 5},  // T / 4 = 2.5 goes to 2
                      MeasureCase{34, 14, 10, 11, 3, 7},  // T / 4 = 3.5 goes to 4, a div 3 = 3
                      MeasureCase{7, 18, 2, 3, 0, 9},     // L / 3.5 = 2
                      MeasureCase{0, 0, 0, 1, 0, 0}),
    [](const auto& info) { return std::to_string(info.param.L) + "x" + std::to_string(info.param.T); });

TEST(TwoJumperTest, OpenJumperInAPanel) {
  Scene s = MakeScene();
  const auto picture = Classify(s.jumper->OutputImage(), kPanelColour);
  EXPECT_EQ(Count(picture, '?'), 0);
  // The rim of the drawing is the panel colour; the base outline is the box (1, 1, 33, 17).
  for (int x = 0; x < 34; ++x) EXPECT_TRUE(picture[0][x] == 'b' && picture[17][x] == 'b') << x;
  for (int y = 0; y < 18; ++y) EXPECT_TRUE(picture[y][0] == 'b' && picture[y][33] == 'b') << y;
  EXPECT_EQ(Bounds(picture, 'k'), QRect(QPoint(1, 1), QPoint(32, 16)));
  EXPECT_EQ(picture[9][1], 'k');
  EXPECT_EQ(picture[9][32], 'k');
  EXPECT_EQ(picture[1][16], 'k');
  EXPECT_EQ(picture[16][16], 'k');
  EXPECT_EQ(picture[1][1], 'b') << "the corners are rounded";
  EXPECT_EQ(picture[9][17], 'g');
  EXPECT_EQ(Count(picture, 'r'), 0);
  ExpectPin(picture, QRect(8, 6, 6, 6), kPinRadius3);
  ExpectPin(picture, QRect(20, 6, 6, 6), kPinRadius3);
  EXPECT_EQ(Count(picture, 'y'), 64);
}

TEST(TwoJumperTest, ClosedJumperIsOneCapWithPins) {
  Scene s = MakeScene();
  s.jumper->SetClosed(true);
  ASSERT_TRUE(QTest::qWaitFor([&] { return At(s.jumper->OutputImage(), 5, 5) == kJumperCapColor; }, 5000));
  const auto picture = Classify(s.jumper->OutputImage(), kPanelColour);
  EXPECT_EQ(Count(picture, '?'), 0);
  EXPECT_EQ(Count(picture, 'b'), 0);
  EXPECT_EQ(Count(picture, 'g'), 0);
  for (int x = 0; x < 34; ++x) EXPECT_TRUE(picture[0][x] == 'k' && picture[17][x] == 'k') << x;
  for (int y = 0; y < 18; ++y) EXPECT_TRUE(picture[y][0] == 'k' && picture[y][33] == 'k') << y;
  EXPECT_EQ(Bounds(picture, 'r'), QRect(QPoint(1, 1), QPoint(32, 16)));
  ExpectPin(picture, QRect(8, 6, 6, 6), kPinRadius3);
  ExpectPin(picture, QRect(20, 6, 6, 6), kPinRadius3);
  EXPECT_EQ(Count(picture, 'y'), 64);
}

TEST(TwoJumperTest, WithoutBorderTheOutlineTakesTheFillColour) {
  for (const bool closed : {false, true}) {
    Scene s = MakeScene(Parent::Panel, [&](TTwoJumper& j) {
      j.SetBorderStyle(bsNone);
      j.SetClosed(closed);
    });
    const auto picture = Classify(s.jumper->OutputImage(), kPanelColour);
    EXPECT_EQ(Count(picture, 'k'), 0) << closed;
    EXPECT_EQ(Count(picture, '?'), 0) << closed;
    if (closed) {
      EXPECT_EQ(Bounds(picture, 'r'), QRect(0, 0, 34, 18));
    } else {
      EXPECT_EQ(Bounds(picture, 'g'), QRect(QPoint(1, 1), QPoint(32, 16)));
      EXPECT_EQ(picture[9][1], 'g');
      EXPECT_EQ(picture[1][1], 'b');
    }
    EXPECT_EQ(Count(picture, 'y'), 64);
  }
}

TEST(TwoJumperTest, ThinJumperHasSmallerPins) {
  Scene s = MakeScene(Parent::Panel, [](TTwoJumper& j) { j.resize(34, 10); });
  const auto picture = Classify(s.jumper->OutputImage(), kPanelColour);
  // Radius 2 on the centre line y 5, px 11 from each end.
  ExpectPin(picture, QRect(9, 3, 4, 4), kPinRadius2);
  ExpectPin(picture, QRect(21, 3, 4, 4), kPinRadius2);
  EXPECT_EQ(Count(picture, 'y'), 24);
}

TEST(TwoJumperTest, BackgroundComesFromThePanelOnly) {
  Scene inPanel = MakeScene(Parent::Panel);
  EXPECT_EQ(At(inPanel.jumper->OutputImage(), 0, 0), kPanelColour);
  EXPECT_EQ(inPanel.jumper->BackgroundColor(), kPanelColour);

  // Any other parent, whatever its colour, gives the button face.
  Scene elsewhere = MakeScene(Parent::Plain);
  EXPECT_EQ(At(elsewhere.jumper->OutputImage(), 0, 0), ButtonFace());
  EXPECT_EQ(At(elsewhere.jumper->OutputImage(), 33, 17), ButtonFace());

  // A panel colour change shows in the jumper at the panel's repaint.
  auto* panel = static_cast<TRadioPanel*>(inPanel.host.get());
  panel->SetColor(RGBColor(1, 2, 3));
  ASSERT_TRUE(
      QTest::qWaitFor([&] { return At(inPanel.jumper->OutputImage(), 0, 0) == RGBColor(1, 2, 3); }, 5000));
}

// A panel of a derived class is not an option panel for the jumper.
class TOtherPanel : public TRadioPanel {
  Q_OBJECT
 public:
  using TRadioPanel::TRadioPanel;
};

TEST(TwoJumperTest, DerivedPanelGivesTheButtonFace) {
  TOtherPanel panel;
  panel.SetColor(kPanelColour);
  TTwoJumper jumper(&panel);
  EXPECT_EQ(jumper.BackgroundColor(), clBtnFace);
}

TEST(TwoJumperTest, TheScreenShowsTheOutputImage) {
  Scene s = MakeScene();
  const QImage screen = s.host->grab().toImage().convertToFormat(QImage::Format_RGB32);
  const QImage shown = screen.copy(QRect(s.jumper->pos(), s.jumper->size()));
  EXPECT_EQ(shown, s.jumper->OutputImage());
}

struct OrientationCase {
  TOrientationType orientation;
  QSize size;
  QRect pin1, pin2;  // in the shown image
};

class TwoJumperOrientationTest : public ::testing::TestWithParam<OrientationCase> {};

TEST_P(TwoJumperOrientationTest, PinsLandWhereTheTurnPutsThem) {
  const OrientationCase& c = GetParam();
  Scene s = MakeScene(Parent::Panel, [&](TTwoJumper& j) {
    j.SetOrientation(c.orientation);
    j.resize(c.size);
  });
  EXPECT_EQ(s.jumper->size(), c.size) << "a declared orientation keeps the declared size";
  ASSERT_EQ(s.jumper->OutputImage().size(), c.size);
  const auto picture = Classify(s.jumper->OutputImage(), kPanelColour);
  ExpectPin(picture, c.pin1, kPinRadius3);
  ExpectPin(picture, c.pin2, kPinRadius3);
  EXPECT_EQ(Count(picture, 'y'), 64);
  // The base outline is always one pixel in from the rim.
  EXPECT_EQ(Bounds(picture, 'k'), QRect(QPoint(1, 1), QPoint(c.size.width() - 2, c.size.height() - 2)));
}

INSTANTIATE_TEST_SUITE_P(Orientations, TwoJumperOrientationTest,
                         ::testing::Values(OrientationCase{otUp, {34, 18}, {8, 6, 6, 6}, {20, 6, 6, 6}},
                                           OrientationCase{otDown, {34, 18}, {20, 6, 6, 6}, {8, 6, 6, 6}},
                                           OrientationCase{otLeft, {18, 34}, {6, 20, 6, 6}, {6, 8, 6, 6}},
                                           OrientationCase{otRight, {18, 34}, {6, 8, 6, 6}, {6, 20, 6, 6}}),
                         [](const auto& info) { return OrientationName(info.param.orientation); });

TEST(TwoJumperTest, TurningBetweenLayoutsOnAShownJumperExchangesTheSize) {
  Scene s = MakeScene();
  s.jumper->SetOrientation(otRight);
  ASSERT_TRUE(QTest::qWaitFor([&] { return s.jumper->size() == QSize(18, 34); }, 5000));
  s.Settle();
  s.Flush();
  EXPECT_EQ(s.jumper->size(), QSize(18, 34)) << "one exchange only";
  const auto picture = Classify(s.jumper->OutputImage(), kPanelColour);
  ExpectPin(picture, QRect(6, 8, 6, 6), kPinRadius3);
  ExpectPin(picture, QRect(6, 20, 6, 6), kPinRadius3);

  // Within the column layout the size stays.
  s.jumper->SetOrientation(otLeft);
  s.Flush();
  s.Settle();
  EXPECT_EQ(s.jumper->size(), QSize(18, 34));

  // And back to the row layout exchanges it again.
  s.jumper->SetOrientation(otUp);
  ASSERT_TRUE(QTest::qWaitFor([&] { return s.jumper->size() == QSize(34, 18); }, 5000));
  s.Settle();
  EXPECT_EQ(Bounds(Classify(s.jumper->OutputImage(), kPanelColour), 'k'),
            QRect(QPoint(1, 1), QPoint(32, 16)));
}

TEST(TwoJumperTest, HalfTurnKeepsTheSizeAndTurnsTheDrawing) {
  Scene s = MakeScene();
  s.jumper->resize(34, 15);  // an odd thickness puts the centre line off the middle
  s.Settle();
  const QImage up = s.jumper->OutputImage();
  const int before = s.jumperPaints->Paints;
  s.jumper->SetOrientation(otDown);
  ASSERT_TRUE(QTest::qWaitFor([&] { return s.jumperPaints->Paints > before; }, 5000));
  s.Flush();
  EXPECT_EQ(s.jumper->size(), QSize(34, 15));
  EXPECT_NE(up, up.mirrored(true, true));
  EXPECT_EQ(s.jumper->OutputImage(), up.mirrored(true, true));
}

TEST(TwoJumperTest, CrossingTwiceBeforeAPaintLeavesTheSize) {
  Scene s = MakeScene();
  s.jumper->SetOrientation(otLeft);
  s.jumper->SetOrientation(otDown);
  s.Flush();
  s.Settle();
  EXPECT_EQ(s.jumper->size(), QSize(34, 18));
  EXPECT_EQ(Bounds(Classify(s.jumper->OutputImage(), kPanelColour), 'k'),
            QRect(QPoint(1, 1), QPoint(32, 16)));
}

TEST(TwoJumperTest, CrossingBeforeTheFirstPaintKeepsTheDeclaredSize) {
  // The declared size of a jumper that was turned while hidden is taken as meant.
  Scene s = MakeScene(Parent::Panel, [](TTwoJumper& j) { j.SetOrientation(otRight); });
  EXPECT_EQ(s.jumper->size(), QSize(34, 18));
  s.Flush();
  EXPECT_EQ(s.jumper->size(), QSize(34, 18));
}

struct WriteCase {
  const char* name;
  std::function<void(TTwoJumper&)> equal;
  std::function<void(TTwoJumper&)> changing;
};

class TwoJumperWriteTest : public ::testing::TestWithParam<WriteCase> {};

TEST_P(TwoJumperWriteTest, EqualWritesDoNothingAndNoWriteRaisesAnEvent) {
  Scene s = MakeScene();
  int clicks = 0;
  s.jumper->SetOnClick([&](QObject*) { ++clicks; });
  s.Flush();

  const int settled = s.jumperPaints->Paints;
  GetParam().equal(*s.jumper);
  s.Flush();
  EXPECT_EQ(s.jumperPaints->Paints, settled) << "an equal write repaints nothing";

  GetParam().changing(*s.jumper);
  ASSERT_TRUE(QTest::qWaitFor([&] { return s.jumperPaints->Paints > settled; }, 5000));
  EXPECT_EQ(clicks, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Properties, TwoJumperWriteTest,
    ::testing::Values(WriteCase{"Closed", [](TTwoJumper& j) { j.SetClosed(false); },
                                [](TTwoJumper& j) { j.SetClosed(true); }},
                      WriteCase{"BaseColor", [](TTwoJumper& j) { j.SetBaseColor(kJumperBaseColor); },
                                [](TTwoJumper& j) { j.SetBaseColor(clWhite); }},
                      WriteCase{"PinColor", [](TTwoJumper& j) { j.SetPinColor(kJumperPinColor); },
                                [](TTwoJumper& j) { j.SetPinColor(clWhite); }},
                      WriteCase{"JumperColor", [](TTwoJumper& j) { j.SetJumperColor(kJumperCapColor); },
                                [](TTwoJumper& j) { j.SetJumperColor(clWhite); }},
                      WriteCase{"BorderStyle", [](TTwoJumper& j) { j.SetBorderStyle(bsSingle); },
                                [](TTwoJumper& j) { j.SetBorderStyle(bsNone); }},
                      WriteCase{"Orientation", [](TTwoJumper& j) { j.SetOrientation(otUp); },
                                [](TTwoJumper& j) { j.SetOrientation(otDown); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TwoJumperTest, ColourWritesShowInTheDrawing) {
  Scene s = MakeScene();
  s.jumper->SetBaseColor(RGBColor(0, 200, 0));
  s.jumper->SetPinColor(RGBColor(0, 0, 200));
  ASSERT_TRUE(
      QTest::qWaitFor([&] { return At(s.jumper->OutputImage(), 11, 9) == RGBColor(0, 0, 200); }, 5000));
  EXPECT_EQ(At(s.jumper->OutputImage(), 17, 9), RGBColor(0, 200, 0));
  s.jumper->SetJumperColor(RGBColor(9, 9, 9));
  s.jumper->SetClosed(true);
  ASSERT_TRUE(QTest::qWaitFor([&] { return At(s.jumper->OutputImage(), 17, 9) == RGBColor(9, 9, 9); }, 5000));
}

TEST(TwoJumperTest, ClickTogglesFirstSoTheHandlerSeesTheNewState) {
  Scene s = MakeScene(Parent::Plain);
  std::vector<bool> seen;
  QObject* sender = nullptr;
  s.jumper->SetOnClick([&](QObject* Sender) {
    sender = Sender;
    seen.push_back(s.jumper->Closed());
  });
  s.jumper->Click();
  QTest::mouseClick(s.jumper, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(seen, (std::vector<bool>{true, false}));
  EXPECT_EQ(sender, s.jumper);
  ASSERT_TRUE(QTest::qWaitFor([&] { return At(s.jumper->OutputImage(), 5, 5) == kJumperBaseColor; }, 5000));

  QTest::mouseClick(s.jumper, Qt::LeftButton, {}, QPoint(5, 5));
  ASSERT_TRUE(QTest::qWaitFor([&] { return At(s.jumper->OutputImage(), 5, 5) == kJumperCapColor; }, 5000));
}

TEST(TwoJumperTest, OnlyACompleteLeftClickOverTheJumperCounts) {
  Scene s = MakeScene(Parent::Plain);
  int clicks = 0;
  s.jumper->SetOnClick([&](QObject*) { ++clicks; });
  QTest::mouseClick(s.jumper, Qt::RightButton, {}, QPoint(5, 5));
  QTest::mousePress(s.jumper, Qt::LeftButton, {}, QPoint(5, 5));
  QTest::mouseRelease(s.jumper, Qt::LeftButton, {}, QPoint(60, 5));  // released outside
  QTest::mouseRelease(s.jumper, Qt::LeftButton, {}, QPoint(5, 5));   // no press before it
  s.jumper->setEnabled(false);
  QTest::mouseClick(s.jumper, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(clicks, 0);
  EXPECT_FALSE(s.jumper->Closed());
}

TEST(TwoJumperTest, FailingClickHandlerIsReportedAndTheJumperGoesOn) {
  MessageBoxRecorder boxes;
  Scene s = MakeScene(Parent::Plain);
  s.jumper->SetOnClick([](QObject*) { throw std::runtime_error("handler failed"); });
  QTest::mouseClick(s.jumper, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_TRUE(s.jumper->Closed());
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_EQ(boxes.Boxes()[0].text, QStringLiteral("handler failed."));
}

struct TinyCase {
  QSize size;
  TOrientationType orientation;
};

class TwoJumperTinyTest : public ::testing::TestWithParam<TinyCase> {};

TEST_P(TwoJumperTinyTest, TinySizesDrawWithinTheirImage) {
  Scene s = MakeScene(Parent::Panel, [&](TTwoJumper& j) {
    j.SetOrientation(GetParam().orientation);
    j.resize(GetParam().size);
    j.SetClosed(true);
  });
  EXPECT_EQ(s.jumper->OutputImage().size(), GetParam().size);
  EXPECT_EQ(Count(Classify(s.jumper->OutputImage(), kPanelColour), '?'), 0);
}

INSTANTIATE_TEST_SUITE_P(Sizes, TwoJumperTinyTest,
                         ::testing::Values(TinyCase{{1, 1}, otUp}, TinyCase{{2, 2}, otDown},
                                           TinyCase{{3, 1}, otLeft}, TinyCase{{1, 5}, otRight},
                                           TinyCase{{6, 3}, otUp}),
                         [](const auto& info) {
                           return OrientationName(info.param.orientation) + "_" +
                                  std::to_string(info.param.size.width()) + "x" +
                                  std::to_string(info.param.size.height());
                         });

}  // namespace

#include "two_jumper_test.moc"
