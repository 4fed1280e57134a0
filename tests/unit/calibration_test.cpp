#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <deque>
#include <memory>
#include <stdexcept>
#include <vector>

#include "platform/application.h"
#include "platform/click_event.h"
#include "platform/message_timer.h"
#include "setupctrls/setup_supporter.h"

namespace {

constexpr unsigned kMissingHandlerFlags = 0x50030;
constexpr unsigned kTotalFailureFlags = 0x50135;
const QString kMissingHandlerText =
    QStringLiteral("Error: calibration begun, but OnGetCalibString isn't assigned.");
const QString kMissingHandlerTitle = QStringLiteral("OnGetCalibString Not Assigned");
const QString kTotalFailureText = QStringLiteral(
    "Total A/D failure. The card may not be installed, or it may be installed at a different base address.");
const QString kTotalFailureTitle = QStringLiteral("Total A/D failure");

// Answers message boxes from a script (IDCANCEL when it runs out) and notes, for each box,
// whether the timer still ran while the box was open.
class ScriptedBoxes {
 public:
  struct Box {
    QString text, caption;
    unsigned flags;
    bool timerActive, calibrating;
  };

  ScriptedBoxes(TSetupSupporter* supporter, std::deque<int> answers) : FAnswers(std::move(answers)) {
    Application().SetMessageBoxHook(
        [this, supporter](const QString& text, const QString& caption, unsigned flags) {
          FBoxes.push_back({text, caption, flags, supporter->findChild<TMessageTimer*>()->IsActive(),
                            supporter->Calibrating()});
          if (FAnswers.empty()) return IDCANCEL;
          const int answer = FAnswers.front();
          FAnswers.pop_front();
          return answer;
        });
  }
  ~ScriptedBoxes() { Application().SetMessageBoxHook({}); }

  const std::vector<Box>& Boxes() const { return FBoxes; }

 private:
  std::deque<int> FAnswers;
  std::vector<Box> FBoxes;
};

// A calibrating page: a reading list with a line per channel (and one more), a calibration
// button captioned "Stop" whose handler counts stops, and a control hidden while calibrating.
// The display entry names the page's variables, as a page's members would be named.
struct Page {
  std::unique_ptr<QWidget> form = std::make_unique<QWidget>();
  TSetupSupporter* supporter = new TSetupSupporter(form.get());
  QComboBox* Readings = new QComboBox(form.get());
  QAbstractButton* Button = new QPushButton(QStringLiteral("Stop"), form.get());
  QWidget* Hidden = new QLabel(QStringLiteral("idle"), form.get());
  int begins = 0;
  int starts = 0;
  int stops = 0;
  std::vector<int> channels;  // every channel asked, in order

  explicit Page(int listLines = 5) {
    for (int i = 0; i < listLines; ++i) Readings->addItem(QStringLiteral("line %1").arg(i));
    supporter->SetChannels(4);
    supporter->AddCalibDisplay({&Readings, &Button, &Hidden, 7});
    SetOnClick(Button, [this](QObject*) { ++stops; });
    supporter->SetOnStartButtonClick([this](QObject*) { ++starts; });
    supporter->SetOnBeginCalib([this](QObject*) { ++begins; });
    form->show();
  }

  // Readings: channel i reads "1.<i>"; `clear` and `set` say which channels clear or set
  // ItsAllBad.
  void Read(std::vector<int> clear = {0}, std::vector<int> set = {}) {
    supporter->SetOnGetCalibString(
        [this, clear, set](QObject* sender, std::uint8_t channel, bool& itsAllBad) {
          EXPECT_EQ(sender, supporter);
          channels.push_back(channel);
          if (std::find(clear.begin(), clear.end(), channel) != clear.end()) itsAllBad = false;
          if (std::find(set.begin(), set.end(), channel) != set.end()) itsAllBad = true;
          return QStringLiteral("1.%1").arg(channel);
        });
  }

  TMessageTimer* Timer() const { return supporter->findChild<TMessageTimer*>(); }
  int Ticks() const { return static_cast<int>(channels.size()) / supporter->Channels(); }
  bool WaitForTicks(int ticks) {
    return QTest::qWaitFor([&] { return Ticks() >= ticks; }, 5000);
  }
  QStringList Lines() const {
    QStringList lines;
    for (int i = 0; i < Readings->count(); ++i) lines << Readings->itemText(i);
    return lines;
  }
};

TEST(Calibration, WithoutOnGetCalibStringTheBoxStopsCalibration) {
  Page page;
  ScriptedBoxes boxes(page.supporter, {IDOK});
  page.supporter->SetCalibrating(true);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !boxes.Boxes().empty(); }, 5000));
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  const ScriptedBoxes::Box& box = boxes.Boxes()[0];
  EXPECT_EQ(box.text, kMissingHandlerText);
  EXPECT_EQ(box.caption, kMissingHandlerTitle);
  EXPECT_EQ(box.flags, kMissingHandlerFlags);
  EXPECT_EQ(box.flags, MB_OK | MB_ICONEXCLAMATION | MB_SETFOREGROUND | MB_TOPMOST);
  EXPECT_FALSE(box.timerActive);
  EXPECT_FALSE(box.calibrating);
  EXPECT_EQ(page.begins, 1);
  // After OK: the button reads Start again and starts, and no further tick comes.
  EXPECT_EQ(page.Button->text(), QStringLiteral("Start"));
  page.Button->click();
  EXPECT_EQ(page.starts, 1);
  EXPECT_EQ(page.stops, 0);
  EXPECT_FALSE(page.supporter->Calibrating());
  EXPECT_FALSE(page.Timer()->IsActive());
  // Nothing was read, so nothing was hidden.
  EXPECT_FALSE(page.Hidden->isHidden());
}

TEST(Calibration, EachTickReadsEveryChannelInOrder) {
  Page page;
  ScriptedBoxes boxes(page.supporter, {});
  page.Read();
  page.supporter->SetCalibrating(true);
  ASSERT_TRUE(page.WaitForTicks(2));
  page.supporter->SetCalibrating(false);
  const std::vector<int> firstTwoTicks(page.channels.begin(), page.channels.begin() + 8);
  EXPECT_EQ(firstTwoTicks, (std::vector<int>{0, 1, 2, 3, 0, 1, 2, 3}));
  EXPECT_EQ(page.channels.size() % 4, 0u);
  EXPECT_EQ(page.Lines(),
            (QStringList{"Channel 0\t1.0", "Channel 1\t1.1", "Channel 2\t1.2", "Channel 3\t1.3", "line 4"}));
  EXPECT_TRUE(page.Hidden->isHidden());
  EXPECT_EQ(page.begins, page.Ticks());
  EXPECT_TRUE(boxes.Boxes().empty());
  // Stopping by the property leaves the buttons alone.
  EXPECT_EQ(page.Button->text(), QStringLiteral("Stop"));
}

struct BadCase {
  const char* name;
  std::vector<int> clear;
  std::vector<int> set;
  bool failure;
};

class CalibrationItsAllBad : public ::testing::TestWithParam<BadCase> {};

TEST_P(CalibrationItsAllBad, OneGoodChannelAvoidsTheFailureBox) {
  const BadCase& c = GetParam();
  Page page;
  ScriptedBoxes boxes(page.supporter, {IDCANCEL});
  std::vector<bool> passedIn;
  page.supporter->SetOnGetCalibString([&](QObject*, std::uint8_t channel, bool& itsAllBad) {
    passedIn.push_back(itsAllBad);
    page.channels.push_back(channel);
    if (std::find(c.clear.begin(), c.clear.end(), channel) != c.clear.end()) itsAllBad = false;
    if (std::find(c.set.begin(), c.set.end(), channel) != c.set.end()) itsAllBad = true;
    return QString();
  });
  page.supporter->SetCalibrating(true);
  ASSERT_TRUE(page.WaitForTicks(1));
  // The flag starts True and is shared by the channels of one tick.
  ASSERT_GE(passedIn.size(), 1u);
  EXPECT_TRUE(passedIn[0]);
  if (c.failure) {
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(page.Ticks(), 1);
    EXPECT_FALSE(page.supporter->Calibrating());
  } else {
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_TRUE(page.supporter->Calibrating());
  }
  page.supporter->SetCalibrating(false);
}

INSTANTIATE_TEST_SUITE_P(Cases, CalibrationItsAllBad,
                         ::testing::Values(BadCase{"no_channel_clears", {}, {}, true},
                                           BadCase{"first_clears", {0}, {}, false},
                                           BadCase{"last_clears", {3}, {}, false},
                                           BadCase{"one_clears_a_later_one_sets", {1}, {3}, true},
                                           BadCase{"set_then_cleared_again", {0, 3}, {1}, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Calibration, TotalFailureRetryResumesAndCancelStops) {
  Page page;
  ScriptedBoxes boxes(page.supporter, {IDRETRY, IDCANCEL});
  page.Read({});
  page.supporter->SetCalibrating(true);
  ASSERT_TRUE(QTest::qWaitFor([&] { return boxes.Boxes().size() >= 2; }, 5000));
  ASSERT_EQ(boxes.Boxes().size(), 2u);
  for (const ScriptedBoxes::Box& box : boxes.Boxes()) {
    EXPECT_EQ(box.text, kTotalFailureText);
    EXPECT_EQ(box.caption, kTotalFailureTitle);
    EXPECT_EQ(box.flags, kTotalFailureFlags);
    EXPECT_EQ(box.flags, MB_RETRYCANCEL | MB_ICONEXCLAMATION | MB_DEFBUTTON2 | MB_SETFOREGROUND | MB_TOPMOST);
    EXPECT_FALSE(box.timerActive);
    EXPECT_FALSE(box.calibrating);
  }
  // Retry gave one more tick; Cancel stopped for good and restored the button.
  EXPECT_EQ(page.Ticks(), 2);
  EXPECT_EQ(page.begins, 2);
  EXPECT_FALSE(page.supporter->Calibrating());
  EXPECT_FALSE(page.Timer()->IsActive());
  EXPECT_EQ(page.Button->text(), QStringLiteral("Start"));
  page.Button->click();
  EXPECT_EQ(page.starts, 1);
}

struct StopCase {
  const char* name;
  bool readings;  // false: OnGetCalibString missing
};

class CalibrationChangeButtonsOff : public ::testing::TestWithParam<StopCase> {};

TEST_P(CalibrationChangeButtonsOff, LeavesTheButtonsAsTheyWere) {
  Page page;
  ScriptedBoxes boxes(page.supporter, {IDCANCEL, IDOK});
  page.supporter->SetChangeButtons(false);
  if (GetParam().readings) page.Read({});
  page.supporter->SetCalibrating(true);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !boxes.Boxes().empty(); }, 5000));
  EXPECT_FALSE(page.supporter->Calibrating());
  EXPECT_EQ(page.Button->text(), QStringLiteral("Stop"));
  page.Button->click();
  EXPECT_EQ(page.stops, 1);
  EXPECT_EQ(page.starts, 0);
}

INSTANTIATE_TEST_SUITE_P(Ways, CalibrationChangeButtonsOff,
                         ::testing::Values(StopCase{"total_failure", true},
                                           StopCase{"missing_handler", false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Calibration, StopCalibrationWithoutStartHandlerLeavesTheButtonWithout) {
  Page page;
  page.supporter->SetOnStartButtonClick({});
  page.supporter->SetCalibrating(true);
  page.supporter->StopCalibration(nullptr);
  EXPECT_FALSE(page.supporter->Calibrating());
  EXPECT_EQ(page.Button->text(), QStringLiteral("Start"));
  EXPECT_FALSE(OnClick(page.Button));
  page.Button->click();
  EXPECT_EQ(page.stops, 0);
}

TEST(Calibration, ShowChannelReadingWritesEveryDisplay) {
  Page page;
  QComboBox* second = new QComboBox(page.form.get());
  second->addItems({"a", "b", "c"});
  QComboBox* noList = nullptr;
  page.supporter->AddCalibDisplay({&second, nullptr, nullptr, 0});
  page.supporter->AddCalibDisplay({&noList, nullptr, nullptr, 0});
  page.supporter->AddCalibDisplay({});
  page.supporter->ShowChannelReading(2, QStringLiteral("1.25"));
  EXPECT_EQ(page.Readings->itemText(2), QStringLiteral("Channel 2\t1.25"));
  EXPECT_EQ(second->itemText(2), QStringLiteral("Channel 2\t1.25"));
  EXPECT_EQ(second->count(), 3);
  page.supporter->ShowChannelReading(0, QString());
  EXPECT_EQ(second->itemText(0), QStringLiteral("Channel 0\t"));
}

// A list with fewer lines than channels grows to hold the readings instead of failing.
TEST(Calibration, ShortReadingListGrows) {
  Page page(2);
  page.Read();
  page.supporter->SetCalibrating(true);
  ASSERT_TRUE(page.WaitForTicks(1));
  page.supporter->SetCalibrating(false);
  EXPECT_EQ(page.Lines(),
            (QStringList{"Channel 0\t1.0", "Channel 1\t1.1", "Channel 2\t1.2", "Channel 3\t1.3"}));

  QComboBox empty;
  QComboBox* list = &empty;
  TSetupSupporter supporter;
  supporter.AddCalibDisplay({&list, nullptr, nullptr, 0});
  supporter.ShowChannelReading(255, QStringLiteral("x"));
  ASSERT_EQ(empty.count(), 256);
  EXPECT_EQ(empty.itemText(254), QString());
  EXPECT_EQ(empty.itemText(255), QStringLiteral("Channel 255\tx"));
}

// Each use reads the entry's variables anew, and variables that hold no control are passed by.
TEST(Calibration, DisplayVariablesAreReadAtEachUse) {
  Page page;
  ScriptedBoxes boxes(page.supporter, {IDCANCEL});
  QComboBox* other = new QComboBox(page.form.get());
  other->addItems({"", "", "", ""});
  QComboBox* first = page.Readings;
  QWidget* hidden = page.Hidden;
  QAbstractButton* button = page.Button;
  page.Readings = nullptr;
  page.Hidden = nullptr;
  page.Read();
  page.supporter->SetCalibrating(true);
  ASSERT_TRUE(page.WaitForTicks(1));
  page.Readings = other;
  ASSERT_TRUE(QTest::qWaitFor([&] { return other->itemText(3) == QStringLiteral("Channel 3\t1.3"); }, 5000));
  page.Button = nullptr;
  page.Read({});
  ASSERT_TRUE(QTest::qWaitFor([&] { return !boxes.Boxes().empty(); }, 5000));
  EXPECT_FALSE(page.supporter->Calibrating());
  EXPECT_EQ(first->itemText(0), QStringLiteral("line 0"));
  EXPECT_FALSE(hidden->isHidden());
  EXPECT_EQ(button->text(), QStringLiteral("Stop"));
}

TEST(Calibration, ZeroChannelsPollNothingAndReportNoFailure) {
  Page page;
  ScriptedBoxes boxes(page.supporter, {});
  page.Read({});
  page.supporter->SetChannels(0);
  page.supporter->SetCalibrating(true);
  ASSERT_TRUE(QTest::qWaitFor([&] { return page.begins >= 2; }, 5000));
  EXPECT_TRUE(page.channels.empty());
  EXPECT_TRUE(boxes.Boxes().empty());
  EXPECT_TRUE(page.supporter->Calibrating());
  EXPECT_TRUE(page.Hidden->isHidden());
  page.supporter->SetCalibrating(false);
}

TEST(Calibration, AnExceptionFromTheReadingsIsReportedAndPollingGoesOn) {
  Page page;
  ScriptedBoxes boxes(page.supporter, {});
  page.supporter->SetOnGetCalibString([](QObject*, std::uint8_t channel, bool&) -> QString {
    if (channel == 1) throw std::runtime_error("channel 1 is silent");
    return QStringLiteral("ok");
  });
  page.supporter->SetCalibrating(true);
  ASSERT_TRUE(QTest::qWaitFor([&] { return boxes.Boxes().size() >= 2; }, 5000));
  EXPECT_EQ(boxes.Boxes()[0].text, QStringLiteral("channel 1 is silent."));
  EXPECT_EQ(boxes.Boxes()[0].flags, MB_OK | MB_ICONHAND);
  // The tick ended where the exception left it: channel 0 written, the others not.
  EXPECT_EQ(page.Lines().mid(0, 2), (QStringList{"Channel 0\tok", "line 1"}));
  EXPECT_TRUE(page.supporter->Calibrating());
  page.supporter->SetCalibrating(false);
}

TEST(Calibration, TheDisplayListHoldsWhatAnEightBitWalkReaches) {
  TSetupSupporter supporter;
  for (int i = 0; i < TSetupSupporter::kMaxCalibDisplays; ++i) EXPECT_TRUE(supporter.AddCalibDisplay({}));
  EXPECT_FALSE(supporter.AddCalibDisplay({}));
  EXPECT_EQ(supporter.CalibDisplays().size(), 256);
}

}  // namespace
