#include "setupctrls/three_jumper.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QTest>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "setupctrls/radio_panel.h"
#include "setupctrls/two_jumper.h"

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

// A shown option panel holding one three-pin jumper and a small sibling far from it,
// whose repaint serves as a barrier for "no repaint" checks.
struct Scene {
  std::unique_ptr<TRadioPanel> panel;
  TThreeJumper* jumper = nullptr;
  QWidget* sibling = nullptr;
  PaintCounter* jumperPaints = nullptr;
  PaintCounter* siblingPaints = nullptr;

  void Settle() {
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return jumper->HasPainted() && jumper->OutputImage().size() == jumper->size(); }, 5000));
    QCoreApplication::processEvents();
  }

  void Flush() {
    const int before = siblingPaints->Paints;
    sibling->update();
    ASSERT_TRUE(QTest::qWaitFor([&] { return siblingPaints->Paints > before; }, 5000));
  }
};

Scene MakeScene(const std::function<void(TThreeJumper&)>& declare = {}) {
  Scene s;
  s.panel = std::make_unique<TRadioPanel>();
  s.panel->SetColor(kPanelColour);
  s.panel->resize(200, 100);
  s.jumper = new TThreeJumper(s.panel.get());
  s.jumper->move(10, 10);
  if (declare) declare(*s.jumper);
  s.sibling = new QWidget(s.panel.get());
  s.sibling->setGeometry(150, 80, 10, 10);
  s.jumperPaints = new PaintCounter(s.jumper);
  s.siblingPaints = new PaintCounter(s.sibling);
  s.panel->show();
  EXPECT_TRUE(QTest::qWaitForWindowExposed(s.panel.get()));
  s.Settle();
  return s;
}

TColor At(const QImage& image, int x, int y) {
  const QRgb p = image.pixel(x, y);
  return RGBColor(qRed(p), qGreen(p), qBlue(p));
}

// One character per pixel: 'b' background, 'k' black, 'g' base, 'r' cap, 'y' pin.
std::vector<std::string> Classify(const QImage& image) {
  std::vector<std::string> rows;
  for (int y = 0; y < image.height(); ++y) {
    std::string row;
    for (int x = 0; x < image.width(); ++x) {
      const TColor c = At(image, x, y);
      row += c == kPanelColour       ? 'b'
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

QRect Bounds(const std::vector<std::string>& picture, char kind) {
  QRect r;
  for (int y = 0; y < int(picture.size()); ++y) {
    for (int x = 0; x < int(picture[y].size()); ++x) {
      if (picture[y][x] == kind) r |= QRect(x, y, 1, 1);
    }
  }
  return r;
}

int Count(const std::vector<std::string>& picture, char kind) {
  int n = 0;
  for (const std::string& row : picture) n += static_cast<int>(std::count(row.begin(), row.end(), kind));
  return n;
}

const std::vector<std::string> kPinRadius3 = {".####.", "######", "######", "######", "######", ".####."};
const std::vector<std::string> kPinRadius2 = {".##.", "####", "####", ".##."};

void ExpectPin(const std::vector<std::string>& picture, QPoint topLeft,
               const std::vector<std::string>& mask) {
  for (int y = 0; y < int(mask.size()); ++y) {
    for (int x = 0; x < int(mask[y].size()); ++x) {
      const bool pin = picture[topLeft.y() + y][topLeft.x() + x] == 'y';
      EXPECT_EQ(pin, mask[y][x] == '#') << "pin pixel " << topLeft.x() + x << "," << topLeft.y() + y;
    }
  }
}

std::string OrientationName(TOrientationType o) {
  static const char* const kNames[] = {"otUp", "otDown", "otLeft", "otRight"};
  return kNames[o];
}

TEST(ThreeJumperTest, ConstructionDefaults) {
  TThreeJumper jumper;
  EXPECT_STREQ(jumper.metaObject()->className(), "TThreeJumper");
  EXPECT_EQ(jumper.size(), QSize(43, 18));
  EXPECT_EQ(jumper.JumperState(), jsOpen);
  EXPECT_TRUE(jumper.AllowOpen());
  EXPECT_EQ(jumper.Orientation(), otUp);
  EXPECT_EQ(jumper.BorderStyle(), bsSingle);
  EXPECT_EQ(jumper.BaseColor(), RGBColor(128, 128, 128));
  EXPECT_EQ(jumper.JumperColor(), RGBColor(128, 0, 0));
  EXPECT_EQ(jumper.PinColor(), RGBColor(255, 255, 0));
  EXPECT_FALSE(jumper.OnClick());
  EXPECT_EQ(jumper.property("JumperState").value<TJumperState>(), jsOpen);
  EXPECT_EQ(jumper.property("AllowOpen").toBool(), true);
}

struct MeasureCase {
  int L, T;
  int a, px, r, cy, cx, h;
};

class ThreeJumperMeasureTest : public ::testing::TestWithParam<MeasureCase> {};

TEST_P(ThreeJumperMeasureTest, MeasuresRoundHalvesToEven) {
  const MeasureCase& c = GetParam();
  const TThreeJumper::TMeasures m = TThreeJumper::Measures(c.L, c.T);
  EXPECT_EQ(m.a, c.a);
  EXPECT_EQ(m.px, c.px);
  EXPECT_EQ(m.r, c.r);
  EXPECT_EQ(m.cy, c.cy);
  EXPECT_EQ(m.cx, c.cx);
  EXPECT_EQ(m.h, c.h);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, ThreeJumperMeasureTest,
    ::testing::Values(MeasureCase{43, 18, 9, 10, 3, 9, 21, 6},   // the usual jumper
                      MeasureCase{43, 12, 9, 10, 2, 6, 21, 6},   // (T - 2) / 4 = 2.5 goes to 2
                      MeasureCase{47, 16, 10, 11, 3, 8, 23, 7},  // (L - 2) / 4.5 = 10
                      MeasureCase{2, 0, 0, 1, 0, 0, 1, 1},       // (T - 2) / 4 = -0.5 goes to 0
                      MeasureCase{0, 1, 0, 1, 0, 0, 0, 0}),
    [](const auto& info) { return std::to_string(info.param.L) + "x" + std::to_string(info.param.T); });

TEST(ThreeJumperTest, LeftCapOverTheLeftAndMiddlePins) {
  Scene s = MakeScene([](TThreeJumper& j) { j.SetJumperState(jsLeft); });
  const auto picture = Classify(s.jumper->OutputImage());
  EXPECT_EQ(Count(picture, '?'), 0);
  // The cap (0, 0, 27, 18): outline from x 0 to x 26, red inside.
  for (int y = 0; y < 18; ++y) EXPECT_TRUE(picture[y][0] == 'k' && picture[y][26] == 'k') << y;
  for (int x = 0; x <= 26; ++x) EXPECT_TRUE(picture[0][x] == 'k' && picture[17][x] == 'k') << x;
  EXPECT_EQ(Bounds(picture, 'r'), QRect(QPoint(1, 1), QPoint(25, 16)));
  // The base shows to the right of the cap with its outline up to x 41.
  EXPECT_EQ(picture[9][41], 'k');
  EXPECT_EQ(picture[1][33], 'k');
  EXPECT_EQ(picture[9][28], 'g');
  for (int y = 0; y < 18; ++y) EXPECT_EQ(picture[y][42], 'b') << y;
  ExpectPin(picture, {7, 6}, kPinRadius3);
  ExpectPin(picture, {18, 6}, kPinRadius3);
  ExpectPin(picture, {30, 6}, kPinRadius3);
  EXPECT_EQ(Count(picture, 'y'), 96);
}

TEST(ThreeJumperTest, RightCapOverTheMiddleAndRightPins) {
  Scene s = MakeScene([](TThreeJumper& j) { j.SetJumperState(jsRight); });
  const auto picture = Classify(s.jumper->OutputImage());
  EXPECT_EQ(Count(picture, '?'), 0);
  // The cap (15, 0, 43, 18): outline from x 15 to x 42.
  for (int y = 0; y < 18; ++y) EXPECT_TRUE(picture[y][15] == 'k' && picture[y][42] == 'k') << y;
  EXPECT_EQ(Bounds(picture, 'r'), QRect(QPoint(16, 1), QPoint(41, 16)));
  EXPECT_EQ(picture[9][1], 'k');
  EXPECT_EQ(picture[9][14], 'g');
  for (int y = 0; y < 18; ++y) EXPECT_EQ(picture[y][0], 'b') << y;
  ExpectPin(picture, {7, 6}, kPinRadius3);
  ExpectPin(picture, {18, 6}, kPinRadius3);
  ExpectPin(picture, {30, 6}, kPinRadius3);
}

TEST(ThreeJumperTest, OpenShowsThreeBarePinsOnTheBase) {
  Scene s = MakeScene();
  const auto picture = Classify(s.jumper->OutputImage());
  EXPECT_EQ(Count(picture, '?'), 0);
  EXPECT_EQ(Count(picture, 'r'), 0);
  EXPECT_EQ(Bounds(picture, 'k'), QRect(QPoint(1, 1), QPoint(41, 16)));
  EXPECT_EQ(picture[1][1], 'b') << "rounded corners";
  EXPECT_EQ(Count(picture, 'y'), 96);
}

TEST(ThreeJumperTest, WithoutBorderTheBaseLosesItsOutlineAndTheCapKeepsIt) {
  Scene s = MakeScene([](TThreeJumper& j) {
    j.SetBorderStyle(bsNone);
    j.SetJumperState(jsLeft);
  });
  const auto picture = Classify(s.jumper->OutputImage());
  EXPECT_EQ(Count(picture, '?'), 0);
  EXPECT_EQ(Bounds(picture, 'k'), QRect(QPoint(0, 0), QPoint(26, 17))) << "black only around the cap";
  EXPECT_EQ(picture[9][41], 'g');
  EXPECT_EQ(picture[1][33], 'g');
}

TEST(ThreeJumperTest, ThinJumperHasSmallerPins) {
  Scene s = MakeScene([](TThreeJumper& j) { j.resize(43, 12); });
  const auto picture = Classify(s.jumper->OutputImage());
  // Radius 2 around the centre line y 6.
  ExpectPin(picture, {8, 4}, kPinRadius2);
  ExpectPin(picture, {19, 4}, kPinRadius2);
  ExpectPin(picture, {31, 4}, kPinRadius2);
  EXPECT_EQ(Count(picture, 'y'), 36);
}

TEST(ThreeJumperTest, OutsideAPanelTheBackgroundIsTheButtonFace) {
  QWidget plain;
  auto* jumper = new TThreeJumper(&plain);
  plain.show();
  ASSERT_TRUE(QTest::qWaitFor([&] { return jumper->HasPainted(); }, 5000));
  EXPECT_EQ(At(jumper->OutputImage(), 0, 0), ColorToRGB(clBtnFace));
  EXPECT_EQ(At(jumper->OutputImage(), 42, 17), ColorToRGB(clBtnFace));
}

struct OrientationCase {
  TOrientationType orientation;
  QSize size;
  QRect capInside;
  QPoint leftPin, middlePin, rightPin;  // top-left corners of the pins' boxes
};

class ThreeJumperOrientationTest : public ::testing::TestWithParam<OrientationCase> {};

TEST_P(ThreeJumperOrientationTest, LeftCapAndPinsLandWhereTheTurnPutsThem) {
  const OrientationCase& c = GetParam();
  Scene s = MakeScene([&](TThreeJumper& j) {
    j.SetOrientation(c.orientation);
    j.resize(c.size);
    j.SetJumperState(jsLeft);
  });
  EXPECT_EQ(s.jumper->size(), c.size);
  ASSERT_EQ(s.jumper->OutputImage().size(), c.size);
  const auto picture = Classify(s.jumper->OutputImage());
  EXPECT_EQ(Bounds(picture, 'r'), c.capInside);
  ExpectPin(picture, c.leftPin, kPinRadius3);
  ExpectPin(picture, c.middlePin, kPinRadius3);
  ExpectPin(picture, c.rightPin, kPinRadius3);
  EXPECT_EQ(Count(picture, 'y'), 96);
}

INSTANTIATE_TEST_SUITE_P(
    Orientations, ThreeJumperOrientationTest,
    ::testing::Values(
        // Row layouts: the cap at the left end, or with a half turn at the right end.
        OrientationCase{otUp, {43, 18}, QRect(QPoint(1, 1), QPoint(25, 16)), {7, 6}, {18, 6}, {30, 6}},
        OrientationCase{otDown, {43, 18}, QRect(QPoint(17, 1), QPoint(41, 16)), {30, 6}, {19, 6}, {7, 6}},
        // Column layouts: counter-clockwise puts the cap at the bottom, clockwise at the top.
        OrientationCase{otLeft, {18, 43}, QRect(QPoint(1, 17), QPoint(16, 41)), {6, 30}, {6, 19}, {6, 7}},
        OrientationCase{otRight, {18, 43}, QRect(QPoint(1, 1), QPoint(16, 25)), {6, 7}, {6, 18}, {6, 30}}),
    [](const auto& info) { return OrientationName(info.param.orientation); });

class ThreeJumperTurnTest : public ::testing::TestWithParam<TOrientationType> {};

// Every pixel of the unturned drawing goes exactly where the turn sends it.
TEST_P(ThreeJumperTurnTest, TurnMovesEveryPixel) {
  constexpr int L = 45, T = 17;  // odd sizes keep the drawing free of symmetries
  const auto declare = [](TOrientationType o) {
    return [o](TThreeJumper& j) {
      j.SetOrientation(o);
      j.resize(TJumperFrame::IsVertical(o) ? QSize(T, L) : QSize(L, T));
      j.SetJumperState(jsLeft);
    };
  };
  Scene up = MakeScene(declare(otUp));
  Scene turned = MakeScene(declare(GetParam()));
  const QImage& work = up.jumper->OutputImage();
  const QImage& out = turned.jumper->OutputImage();
  for (int y = 0; y < T; ++y) {
    for (int x = 0; x < L; ++x) {
      QPoint to;
      switch (GetParam()) {
        case otUp: to = {x, y}; break;
        case otDown: to = {L - 1 - x, T - 1 - y}; break;
        case otLeft: to = {y, L - 1 - x}; break;
        case otRight: to = {T - 1 - y, x}; break;
      }
      ASSERT_EQ(out.pixel(to), work.pixel(x, y)) << "work pixel " << x << "," << y;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Orientations, ThreeJumperTurnTest, ::testing::Values(otUp, otDown, otLeft, otRight),
                         [](const auto& info) { return OrientationName(info.param); });

TEST(ThreeJumperTest, TurningAShownJumperIntoAColumnExchangesItsSize) {
  Scene s = MakeScene();
  s.jumper->SetOrientation(otLeft);
  ASSERT_TRUE(QTest::qWaitFor([&] { return s.jumper->size() == QSize(18, 43); }, 5000));
  s.Settle();
  s.Flush();
  EXPECT_EQ(s.jumper->size(), QSize(18, 43));
  EXPECT_EQ(Bounds(Classify(s.jumper->OutputImage()), 'k'), QRect(QPoint(1, 1), QPoint(16, 41)));
}

struct CycleCase {
  const char* name;
  bool allowOpen;
  TJumperState start;
  std::vector<TJumperState> after;  // the state after each click
};

class ThreeJumperCycleTest : public ::testing::TestWithParam<CycleCase> {};

TEST_P(ThreeJumperCycleTest, ClicksMoveTheCapAndTheHandlerSeesTheNewState) {
  const CycleCase& c = GetParam();
  TThreeJumper jumper;
  jumper.SetAllowOpen(c.allowOpen);
  jumper.SetJumperState(c.start);
  std::vector<TJumperState> seen;
  jumper.SetOnClick([&](QObject* Sender) {
    EXPECT_EQ(Sender, &jumper);
    seen.push_back(jumper.JumperState());
  });
  for (size_t i = 0; i < c.after.size(); ++i) jumper.Click();
  EXPECT_EQ(seen, c.after);
}

INSTANTIATE_TEST_SUITE_P(
    Cycles, ThreeJumperCycleTest,
    ::testing::Values(CycleCase{"OpenAllowedFromLeft", true, jsLeft, {jsRight, jsOpen, jsLeft}},
                      CycleCase{"OpenAllowedFromOpen", true, jsOpen, {jsLeft, jsRight, jsOpen}},
                      CycleCase{"OpenRefusedFromLeft", false, jsLeft, {jsRight, jsLeft, jsRight}},
                      CycleCase{"OpenRefusedFromRight", false, jsRight, {jsLeft, jsRight, jsLeft}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ThreeJumperTest, MouseClickMovesTheCapOnScreen) {
  Scene s = MakeScene();
  int clicks = 0;
  s.jumper->SetOnClick([&](QObject*) { ++clicks; });
  QTest::mouseClick(s.jumper, Qt::LeftButton, {}, QPoint(20, 9));
  EXPECT_EQ(s.jumper->JumperState(), jsLeft);
  EXPECT_EQ(clicks, 1);
  ASSERT_TRUE(QTest::qWaitFor([&] { return At(s.jumper->OutputImage(), 3, 9) == kJumperCapColor; }, 5000));
}

TEST(ThreeJumperTest, RefusedOpenLeavesStateAndDrawing) {
  Scene s = MakeScene([](TThreeJumper& j) {
    j.SetAllowOpen(false);
    j.SetJumperState(jsRight);
  });
  s.Flush();
  const QImage before = s.jumper->OutputImage();
  const int paints = s.jumperPaints->Paints;
  s.jumper->SetJumperState(jsOpen);
  s.Flush();
  EXPECT_EQ(s.jumper->JumperState(), jsRight);
  EXPECT_EQ(s.jumperPaints->Paints, paints);
  EXPECT_EQ(s.jumper->OutputImage(), before);
}

TEST(ThreeJumperTest, ForbiddingOpenMovesAnOpenCapToTheLeft) {
  Scene s = MakeScene();
  int clicks = 0;
  s.jumper->SetOnClick([&](QObject*) { ++clicks; });
  s.jumper->SetAllowOpen(false);
  EXPECT_EQ(s.jumper->JumperState(), jsLeft);
  ASSERT_TRUE(QTest::qWaitFor([&] { return At(s.jumper->OutputImage(), 3, 9) == kJumperCapColor; }, 5000));

  // Allowing it again leaves the cap where it is.
  s.jumper->SetAllowOpen(true);
  EXPECT_EQ(s.jumper->JumperState(), jsLeft);
  s.jumper->SetJumperState(jsOpen);
  EXPECT_EQ(s.jumper->JumperState(), jsOpen);
  EXPECT_EQ(clicks, 0);
}

struct WriteCase {
  const char* name;
  std::function<void(TThreeJumper&)> equal;
  std::function<void(TThreeJumper&)> changing;
};

class ThreeJumperWriteTest : public ::testing::TestWithParam<WriteCase> {};

TEST_P(ThreeJumperWriteTest, EqualWritesDoNothingAndNoWriteRaisesAnEvent) {
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
    Properties, ThreeJumperWriteTest,
    ::testing::Values(WriteCase{"JumperState", [](TThreeJumper& j) { j.SetJumperState(jsOpen); },
                                [](TThreeJumper& j) { j.SetJumperState(jsRight); }},
                      WriteCase{"AllowOpen", [](TThreeJumper& j) { j.SetAllowOpen(true); },
                                [](TThreeJumper& j) { j.SetAllowOpen(false); }},
                      WriteCase{"BaseColor", [](TThreeJumper& j) { j.SetBaseColor(kJumperBaseColor); },
                                [](TThreeJumper& j) { j.SetBaseColor(clWhite); }},
                      WriteCase{"PinColor", [](TThreeJumper& j) { j.SetPinColor(kJumperPinColor); },
                                [](TThreeJumper& j) { j.SetPinColor(clWhite); }},
                      WriteCase{"JumperColor", [](TThreeJumper& j) { j.SetJumperColor(kJumperCapColor); },
                                [](TThreeJumper& j) { j.SetJumperColor(clWhite); }},
                      WriteCase{"BorderStyle", [](TThreeJumper& j) { j.SetBorderStyle(bsSingle); },
                                [](TThreeJumper& j) { j.SetBorderStyle(bsNone); }},
                      WriteCase{"Orientation", [](TThreeJumper& j) { j.SetOrientation(otUp); },
                                [](TThreeJumper& j) { j.SetOrientation(otDown); }}),
    [](const auto& info) { return std::string(info.param.name); });

class ThreeJumperTinyTest : public ::testing::TestWithParam<QSize> {};

TEST_P(ThreeJumperTinyTest, TinySizesDrawWithinTheirImage) {
  for (const TJumperState state : {jsOpen, jsLeft, jsRight}) {
    Scene s = MakeScene([&](TThreeJumper& j) {
      j.resize(GetParam());
      j.SetJumperState(state);
    });
    EXPECT_EQ(s.jumper->OutputImage().size(), GetParam());
    EXPECT_EQ(Count(Classify(s.jumper->OutputImage()), '?'), 0);
  }
}

INSTANTIATE_TEST_SUITE_P(Sizes, ThreeJumperTinyTest,
                         ::testing::Values(QSize(1, 1), QSize(2, 2), QSize(3, 1), QSize(5, 4), QSize(9, 3)),
                         [](const auto& info) {
                           return std::to_string(info.param.width()) + "x" +
                                  std::to_string(info.param.height());
                         });

// Every state of both jumpers in every orientation, on one panel, saved enlarged four
// times under the build folder for people to look at.
TEST(JumperGalleryTest, SavesEveryStateAndOrientationEnlarged) {
  constexpr int kCell = 50;
  constexpr int kScale = 4;
  TRadioPanel panel;
  struct Look {
    std::function<TJumperFrame*(QWidget*)> make;
  };
  const std::vector<Look> looks = {
      {[](QWidget* p) { return new TTwoJumper(p); }},
      {[](QWidget* p) {
        auto* j = new TTwoJumper(p);
        j->SetClosed(true);
        return j;
      }},
      {[](QWidget* p) {
        auto* j = new TTwoJumper(p);
        j->SetClosed(true);
        j->SetBorderStyle(bsNone);
        return j;
      }},
      {[](QWidget* p) { return new TThreeJumper(p); }},
      {[](QWidget* p) {
        auto* j = new TThreeJumper(p);
        j->SetJumperState(jsLeft);
        return j;
      }},
      {[](QWidget* p) {
        auto* j = new TThreeJumper(p);
        j->SetJumperState(jsRight);
        return j;
      }},
      {[](QWidget* p) {
        auto* j = new TThreeJumper(p);
        j->SetJumperState(jsRight);
        j->SetBorderStyle(bsNone);
        return j;
      }},
  };
  std::vector<TJumperFrame*> jumpers;
  for (int row = 0; row < 4; ++row) {
    const auto o = static_cast<TOrientationType>(row);
    for (int col = 0; col < int(looks.size()); ++col) {
      TJumperFrame* j = looks[col].make(&panel);
      if (TJumperFrame::IsVertical(o)) j->resize(j->height(), j->width());
      j->SetOrientation(o);
      j->move(col * kCell + 4, row * kCell + 4);
      jumpers.push_back(j);
    }
  }
  panel.resize(int(looks.size()) * kCell, 4 * kCell);
  panel.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
  for (TJumperFrame* j : jumpers) {
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return j->HasPainted() && j->OutputImage().size() == j->size(); }, 5000));
  }

  const QImage shot = panel.grab().toImage().convertToFormat(QImage::Format_RGB32);
  for (TJumperFrame* j : jumpers) {
    EXPECT_EQ(shot.copy(QRect(j->pos(), j->size())), j->OutputImage()) << "the screen shows the drawing";
  }

  const QImage enlarged = shot.scaled(shot.size() * kScale, Qt::IgnoreAspectRatio, Qt::FastTransformation);
  const QString folder = QCoreApplication::applicationDirPath() + QStringLiteral("/artefacts");
  ASSERT_TRUE(QDir().mkpath(folder));
  const QString path = folder + QStringLiteral("/jumpers_x4.png");
  ASSERT_TRUE(enlarged.save(path, "PNG"));

  const QImage saved = QImage(path).convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(saved.size(), shot.size() * kScale);
  for (int y = 0; y < saved.height(); ++y) {
    for (int x = 0; x < saved.width(); ++x) {
      ASSERT_EQ(saved.pixel(x, y), shot.pixel(x / kScale, y / kScale)) << x << "," << y;
    }
  }
}

}  // namespace
