#include "setupctrls/radio_panel.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPointer>
#include <QTest>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "setupctrls/three_jumper.h"
#include "setupctrls/two_jumper.h"
#include "support/test_support.h"

namespace {

constexpr TColor kFace = RGBColor(40, 160, 90);

// A two-pin jumper of another class name: not part of any radio group.
class TOtherTwoJumper : public TTwoJumper {
  Q_OBJECT
 public:
  using TTwoJumper::TTwoJumper;
};

// A panel with three two-pin jumpers A, B and C in a row and a record of every event.
struct Group {
  std::unique_ptr<TRadioPanel> panel = std::make_unique<TRadioPanel>();
  std::vector<TTwoJumper*> jumpers;
  std::vector<std::string> log;

  explicit Group(bool radioEnabled, bool withChangeHandler = true) {
    panel->SetRadioEnabled(radioEnabled);
    for (int i = 0; i < 3; ++i) {
      auto* j = new TTwoJumper(panel.get());
      j->setObjectName(QString(QChar('A' + i)));
      j->move(10 + 50 * i, 10);
      j->SetOnClick([this](QObject* Sender) { log.push_back("click " + Name(Sender)); });
      jumpers.push_back(j);
    }
    if (withChangeHandler) {
      panel->SetOnRadioChange([this](QObject* Sender) { log.push_back("change " + Name(Sender)); });
    }
  }

  static std::string Name(QObject* o) { return o == nullptr ? "none" : o->objectName().toStdString(); }

  // The closed jumpers, as a string of their names.
  std::string ClosedOnes() const {
    std::string s;
    for (TTwoJumper* j : jumpers) {
      if (j->Closed()) s += Name(j);
    }
    return s;
  }

  TTwoJumper* operator[](char name) const { return jumpers.at(name - 'A'); }
};

TEST(RadioPanelTest, ConstructionDefaults) {
  QWidget form;
  form.resize(400, 300);
  auto* panel = new TRadioPanel(&form);
  EXPECT_STREQ(panel->metaObject()->className(), "TRadioPanel");
  EXPECT_EQ(panel->size(), QSize(194, 100));
  EXPECT_TRUE(panel->isHidden());
  form.show();
  EXPECT_FALSE(panel->isVisible()) << "stays hidden when its form shows";
  EXPECT_EQ(Anchors(panel), akLeft | akTop);
  EXPECT_EQ(panel->FinalAnchors(), akLeft | akTop);
  EXPECT_EQ(panel->MemoHeight(), 58);
  EXPECT_TRUE(panel->Lines().isEmpty());
  EXPECT_FALSE(panel->RadioEnabled());
  EXPECT_EQ(panel->BevelOuter(), bvNone);
  EXPECT_EQ(panel->Color(), clBtnFace);
  EXPECT_FALSE(panel->InPopup());
  EXPECT_FALSE(panel->OnRadioChange());
  EXPECT_FALSE(panel->OnActivate());
  EXPECT_FALSE(panel->OnDeactivate());
  EXPECT_EQ(panel->property("MemoHeight").toInt(), 58);
  EXPECT_EQ(panel->property("RadioEnabled").toBool(), false);
}

TEST(RadioPanelTest, AssigningLinesTakesACopy) {
  TRadioPanel panel;
  QStringList text = {QStringLiteral("first"), QStringLiteral("second")};
  panel.SetLines(text);
  text[0] = QStringLiteral("changed");
  text.append(QStringLiteral("third"));
  EXPECT_EQ(panel.Lines(), (QStringList{QStringLiteral("first"), QStringLiteral("second")}));
}

TEST(RadioPanelTest, FinalAnchorsActOnlyOnceThePanelIsInItsPopup) {
  QWidget popup;
  popup.resize(300, 200);
  auto* panel = new TRadioPanel(&popup);

  panel->SetFinalAnchors(akLeft | akTop | akRight);
  EXPECT_EQ(panel->FinalAnchors(), akLeft | akTop | akRight);
  EXPECT_EQ(Anchors(panel), akLeft | akTop) << "before the hand-over only the value is stored";

  panel->MarkInPopup();
  EXPECT_TRUE(panel->InPopup());
  panel->SetFinalAnchors(akLeft | akTop | akRight | akBottom);
  EXPECT_EQ(panel->FinalAnchors(), akLeft | akTop | akRight | akBottom);
  EXPECT_EQ(Anchors(panel), akLeft | akTop | akRight | akBottom) << "inside the popup it acts at once";
  panel->SetFinalAnchors(akTop);
  EXPECT_EQ(Anchors(panel), akTop);
}

TEST(RadioPanelTest, PanelInItsPopupFollowsTheFinalAnchors) {
  QWidget popup;
  popup.resize(300, 200);
  auto* panel = new TRadioPanel(&popup);
  panel->setGeometry(0, 0, 194, 100);
  panel->show();
  popup.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&popup));
  panel->MarkInPopup();
  panel->SetFinalAnchors(akLeft | akTop | akRight | akBottom);
  popup.resize(350, 260);
  EXPECT_TRUE(QTest::qWaitFor([&] { return panel->geometry() == QRect(0, 0, 244, 160); }, 5000))
      << "panel at " << panel->width() << " by " << panel->height();
}

QImage Face(TRadioPanel& panel) { return panel.grab().toImage().convertToFormat(QImage::Format_RGB32); }

// Every pixel of the image has the one colour.
bool AllOf(const QImage& image, TColor colour) {
  const QRgb want = ToQColor(colour).rgb();
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixel(x, y) != want) return false;
    }
  }
  return true;
}

TEST(RadioPanelTest, PaintsAPlainFaceInItsColourWithoutCaption) {
  TRadioPanel panel;
  panel.setObjectName(QStringLiteral("ModePNL"));
  EXPECT_TRUE(AllOf(Face(panel), clBtnFace));
  panel.SetColor(kFace);
  EXPECT_EQ(panel.Color(), kFace);
  const QImage face = Face(panel);
  EXPECT_EQ(face.size(), QSize(194, 100));
  EXPECT_TRUE(AllOf(face, kFace));
}

TEST(RadioPanelTest, ColourChangeRepaintsAShownPanel) {
  TRadioPanel panel;
  panel.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
  int paints = 0;
  struct Counter : QObject {
    int* n;
    explicit Counter(int* count) : n(count) {}
    bool eventFilter(QObject*, QEvent* e) override {
      if (e->type() == QEvent::Paint) ++*n;
      return false;
    }
  } counter(&paints);
  panel.installEventFilter(&counter);
  panel.SetColor(kFace);
  EXPECT_TRUE(QTest::qWaitFor([&] { return paints > 0; }, 5000));
  panel.removeEventFilter(&counter);
}

TEST(RadioPanelTest, RaisedBevelDrawsLightAndDarkEdges) {
  TRadioPanel panel;
  panel.SetColor(kFace);
  panel.SetBevelOuter(bvRaised);
  const QImage face = Face(panel);
  EXPECT_EQ(face.pixel(0, 50), panel.palette().color(QPalette::Light).rgb());
  EXPECT_EQ(face.pixel(193, 50), panel.palette().color(QPalette::Dark).rgb());
  EXPECT_EQ(face.pixel(97, 50), ToQColor(kFace).rgb());
  panel.SetBevelOuter(bvNone);
  EXPECT_TRUE(AllOf(Face(panel), kFace));
}

struct RadioStep {
  char clicked;
  const char* closedAfter;
  bool changeFires;
};

// Clicking A, then B, then B again: the three cases of the radio operation.
const std::vector<RadioStep> kRadioSteps = {{'A', "A", false}, {'B', "B", true}, {'B', "B", true}};

class RadioGroupTest : public ::testing::TestWithParam<bool> {};

TEST_P(RadioGroupTest, ClickedJumperEndsAsTheOnlyClosedOne) {
  const bool withHandler = GetParam();
  Group g(true, withHandler);
  for (const RadioStep& step : kRadioSteps) {
    g.log.clear();
    g[step.clicked]->Click();
    EXPECT_EQ(g.ClosedOnes(), step.closedAfter) << "after clicking " << step.clicked;
    std::vector<std::string> expected;
    const std::string name(1, step.clicked);
    if (withHandler && step.changeFires) expected.push_back("change " + name);
    expected.push_back("click " + name);
    EXPECT_EQ(g.log, expected) << "after clicking " << step.clicked;
  }
}

INSTANTIATE_TEST_SUITE_P(ChangeHandler, RadioGroupTest, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Assigned" : "Unassigned"; });

TEST(RadioPanelTest, ClickHandlerSeesTheGroupAlreadySettled) {
  Group g(true);
  g['C']->SetClosed(true);
  std::string seen;
  g['A']->SetOnClick([&](QObject*) { seen = g.ClosedOnes(); });
  g.panel->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(g.panel.get()));
  QTest::mouseClick(g['A'], Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(seen, "A");
  EXPECT_EQ(g.log, (std::vector<std::string>{"change A"}));
}

TEST(RadioPanelTest, WithoutRadioEachClickOnlyTogglesItsJumper) {
  Group g(false);
  const std::vector<std::pair<char, std::string>> steps = {{'A', "A"}, {'B', "AB"}, {'B', "A"}, {'C', "AC"}};
  for (const auto& [clicked, closed] : steps) {
    g[clicked]->Click();
    EXPECT_EQ(g.ClosedOnes(), closed) << "after clicking " << clicked;
  }
  for (const std::string& entry : g.log) EXPECT_EQ(entry.rfind("click", 0), 0u) << entry;
  EXPECT_EQ(g.log.size(), steps.size());
}

TEST(RadioPanelTest, ThreePinJumperAndOtherControlsKeepTheirState) {
  Group g(true);
  auto* three = new TThreeJumper(g.panel.get());
  three->SetJumperState(jsRight);
  new QLabel(QStringLiteral("RS232"), g.panel.get());
  g['B']->SetClosed(true);
  g['A']->Click();
  EXPECT_EQ(g.ClosedOnes(), "A");
  EXPECT_EQ(three->JumperState(), jsRight);

  // Clicking the three-pin jumper does not touch the group.
  g.log.clear();
  three->Click();
  EXPECT_EQ(g.ClosedOnes(), "A");
  EXPECT_TRUE(g.log.empty());
}

TEST(RadioPanelTest, JumperOfAnotherClassNameIsNotInTheGroup) {
  Group g(true);
  auto* other = new TOtherTwoJumper(g.panel.get());
  other->setObjectName(QStringLiteral("X"));
  other->SetClosed(true);
  g['A']->Click();
  EXPECT_TRUE(other->Closed());
  EXPECT_EQ(g.ClosedOnes(), "A");
  EXPECT_EQ(g.log, (std::vector<std::string>{"click A"})) << "X's being closed is no change";

  // Its own click still runs the radio operation, in which it is a stranger: the group
  // opens.
  g.log.clear();
  other->Click();
  EXPECT_FALSE(other->Closed());
  EXPECT_EQ(g.ClosedOnes(), "");
  EXPECT_EQ(g.log, (std::vector<std::string>{"change X"}));
}

TEST(RadioPanelTest, SelectingAForeignJumperOpensTheWholeGroup) {
  Group g(true);
  TTwoJumper stranger;
  stranger.setObjectName(QStringLiteral("S"));
  g.panel->SelectJumper(&stranger);
  EXPECT_EQ(g.ClosedOnes(), "");
  EXPECT_TRUE(g.log.empty()) << "nothing was closed, so nothing changed";
  EXPECT_FALSE(stranger.Closed());

  g['B']->SetClosed(true);
  g.panel->SelectJumper(&stranger);
  EXPECT_EQ(g.ClosedOnes(), "");
  EXPECT_EQ(g.log, (std::vector<std::string>{"change S"}));
}

TEST(RadioPanelTest, SelectJumperSetsStatesWithoutClicks) {
  Group g(true);
  g['A']->SetClosed(true);
  g.panel->SelectJumper(g['C']);
  EXPECT_EQ(g.ClosedOnes(), "C");
  EXPECT_EQ(g.log, (std::vector<std::string>{"change C"}));
}

TEST(RadioPanelTest, PanelWithoutTwoPinJumpersChangesNothing) {
  TRadioPanel panel;
  int changes = 0;
  panel.SetOnRadioChange([&](QObject*) { ++changes; });
  auto* three = new TThreeJumper(&panel);
  three->SetJumperState(jsLeft);
  TTwoJumper outside;
  panel.SelectJumper(&outside);
  EXPECT_EQ(changes, 0);
  EXPECT_EQ(three->JumperState(), jsLeft);
}

TEST(RadioPanelTest, FailingChangeHandlerIsReportedAndTheClickGoesOn) {
  MessageBoxRecorder boxes;
  Group g(true);
  g['A']->SetClosed(true);
  g.panel->SetOnRadioChange([](QObject*) { throw std::runtime_error("change failed"); });
  g['B']->Click();
  EXPECT_EQ(g.ClosedOnes(), "B");
  EXPECT_EQ(g.log, (std::vector<std::string>{"click B"}));
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_EQ(boxes.Boxes()[0].text, QStringLiteral("change failed."));
}

TEST(RadioPanelTest, ChangeHandlerMayDestroyTheClickedJumper) {
  Group g(true);
  g['A']->SetClosed(true);
  QPointer<TTwoJumper> b = g['B'];
  g.panel->SetOnRadioChange([](QObject* Sender) { delete Sender; });
  b->Click();
  EXPECT_TRUE(b.isNull());
  EXPECT_TRUE(g.log.empty()) << "a destroyed jumper raises no click";
  EXPECT_FALSE(g['A']->Closed());
}

}  // namespace

#include "radio_panel_test.moc"
