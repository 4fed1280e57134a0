// The faults the product page meets, in one table: each row names a fault, provokes it on a
// freshly built page, and states the outcome: the messages the user sees (text, caption and
// flags, in order), or none at all where the fault is tolerated silently. After every row the
// page must still be whole: the mode shown before the fault is kept (or is the one the fault's
// own action chose), the message loop runs, the mode list and the jumpers stay in step, and
// the circles still open their popups.
//
// Rows that need the card driver library in a given state run in a fresh process of this same
// executable, with the folder of one substitute library on the search path, because the
// binding lasts for the whole process.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <climits>
#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/main_form.h"
#include "driver/kordrv.h"
#include "platform/application.h"
#include "platform/change_event.h"
#include "platform/colour.h"
#include "platform/message_timer.h"
#include "platform/rounding.h"
#include "setupctrls/board_highlight.h"
#include "setupctrls/board_image.h"
#include "setupctrls/help_form.h"
#include "setupctrls/popup_form.h"
#include "setupctrls/radio_panel.h"
#include "setupctrls/ring.h"
#include "setupctrls/setup_supporter.h"
#include "support/pictures.h"
#include "support/test_support.h"

// Failure messages show texts as text.
static void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace {

constexpr int kWaitMs = 10000;
// The mode the page shows when a fault strikes: an uncommon one, so that a fault that resets
// the page cannot pass unnoticed.
constexpr int kModeBeforeFault = 5;
const QString kAppCaption = QStringLiteral("Setup");
const QString kCardFound = QStringLiteral("NB-QUADPORT Series Settings Program");
const QString kNoCard = QStringLiteral("No NB-QUADPORT Series Card Found");
const QString kEntryCaption = QStringLiteral("Display NB-QUADPORT Cards Installed");

// Environment of a row that runs in a fresh process.
constexpr char kRowVariable[] = "FAULT_TABLE_ROW";
constexpr char kChildTest[] = "FaultTableChild.DISABLED_RowInFreshProcess";

// --- The page under test -------------------------------------------------------------------

// A driver bound in this process as the binding would bind it, reporting two cards.
std::int32_t TwoCards() { return 2; }
struct TBoundDriver {
  TBoundDriver() {
    DriverLoaded = true;
    GetNumCards = &TwoCards;
  }
  ~TBoundDriver() {
    DriverLoaded = false;
    GetNumCards = nullptr;
  }
};

// The product's main window, registered as the main form, with the message boxes answered by
// a recorder, and a few things a row may use: counters for its handlers and a calibration
// display (a reading list, a button and a control hidden while calibrating).
struct TFaultPage {
  MessageBoxRecorder boxes;
  std::unique_ptr<TMainForm> form = std::make_unique<TMainForm>();
  std::optional<TBoundDriver> driver;
  int calls = 0;
  int beginCalls = 0;

  QComboBox* readings = nullptr;
  QAbstractButton* button = nullptr;
  QWidget* hidden = nullptr;
  // Display variables that hold no control.
  QComboBox* noReadings = nullptr;
  QAbstractButton* noButton = nullptr;
  QWidget* noHidden = nullptr;

  TFaultPage() { Application().SetMainForm(form.get()); }
  ~TFaultPage() {
    TMessageTimer::SetStartRefused(false);
    Application().SetOnIdle({});
    Application().SetMainForm(nullptr);
  }

  TSetupSupporter* Supporter() const { return form->SetSup; }
  TMessageTimer* Timer() const { return form->SetSup->findChild<TMessageTimer*>(); }

  // Shows the window and waits until the circles have painted, the first idle moment has
  // come and gone and the supporter's timer has had its say.
  void Show() {
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return form->usbHLT->FirstPaintDone() && !Application().OnIdle() && !Timer()->IsActive(); },
        kWaitMs));
  }

  // A calibration display on the page, with a reading list of `lines` lines.
  void AddDisplay(int lines) {
    readings = new QComboBox(form->Client());
    for (int i = 0; i < lines; ++i) readings->addItem(QStringLiteral("line %1").arg(i));
    button = new QPushButton(QStringLiteral("Stop"), form->Client());
    hidden = new QWidget(form->Client());
    hidden->show();
    Supporter()->AddCalibDisplay({&readings, &button, &hidden, 0});
  }

  QStringList ReadingLines() const {
    QStringList lines;
    for (int i = 0; i < readings->count(); ++i) lines << readings->itemText(i);
    return lines;
  }
};

// --- Page actions ------------------------------------------------------------------------

// What a user does when picking an entry of the drop-down list.
void Choose(TMainForm& form, int index) {
  form.modeCOMBO->setCurrentIndex(index);
  emit form.modeCOMBO->activated(index);
}

void ExpectInStep(const TMainForm& form, int row) {
  EXPECT_EQ(form.modeCOMBO->currentIndex(), row);
  EXPECT_EQ(form.ModeJumpers().Placement(), kModeTable[row]) << "placement of row " << row;
}

// Hovers a circle and clicks it: its popup opens, pinned.
TPopupForm* OpenPinned(TBoardHighlight* circle) {
  circle->CMMouseEnter(0);
  circle->Click();
  return circle->Popup();
}

QMenu* TopMenu(const TMainForm& form, const QString& caption) {
  for (QAction* top : form.MainMenu1->actions()) {
    if (top->text() == caption && top->menu() != nullptr) return top->menu();
  }
  return nullptr;
}

QAction* MenuEntry(const TMainForm& form, const QString& menu, const QString& title) {
  if (QMenu* items = TopMenu(form, menu)) {
    for (QAction* item : items->actions()) {
      if (item->text() == title) return item;
    }
  }
  return nullptr;
}

QStringList TopMenus(const TMainForm& form) {
  QStringList captions;
  for (const QAction* top : form.MainMenu1->actions()) captions << top->text();
  return captions;
}

// A circle on the board that the product page does not declare.
TBoardHighlight* AddCircle(TMainForm& form, const QString& title, THighlightType type, QRect bounds) {
  auto* circle = new TBoardHighlight(form.BoardImage1);
  circle->setGeometry(bounds);
  circle->SetHighlightType(type);
  circle->SetTitle(title);
  circle->show();
  return circle;
}

TBoardHighlight* CircleTitled(const TMainForm& form, const QString& title) {
  for (TBoardHighlight* circle : form.BoardImage1->findChildren<TBoardHighlight*>()) {
    if (circle->Title() == title) return circle;
  }
  return nullptr;
}

// --- Exceptions from page handlers ---------------------------------------------------------

enum class TThrow { Std, Foreign };

class TPageFault : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};
struct TForeignFault {};

[[noreturn]] void Raise(TThrow how, const char* text) {
  if (how == TThrow::Std) throw TPageFault(text);
  throw TForeignFault{};
}

struct TBox {
  QString text;
  QString caption;
  unsigned flags;
};

// The application's report of an exception: its text, with a full stop where it has none;
// an exception that is no std::exception carries no text.
TBox Reported(TThrow how, const char* text) {
  if (how == TThrow::Foreign)
    return {QStringLiteral("An unknown error occurred."), kAppCaption, MB_OK | MB_ICONHAND};
  QString shown = QString::fromUtf8(text);
  if (!shown.endsWith(QLatin1Char('.'))) shown += QLatin1Char('.');
  return {shown, kAppCaption, MB_OK | MB_ICONHAND};
}

const TBox kNoTimerBox{QStringLiteral("Not enough timers available."), kAppCaption, MB_OK | MB_ICONHAND};
const TBox kNoReadingHandlerBox{
    QStringLiteral("Error: calibration begun, but OnGetCalibString isn't assigned."),
    QStringLiteral("OnGetCalibString Not Assigned"), 0x50030};
const TBox kTotalFailureBox{
    QStringLiteral("Total A/D failure. The card may not be installed, or it may be installed at a different "
                   "base address."),
    QStringLiteral("Total A/D failure"), 0x50135};

// --- The table ---------------------------------------------------------------------------

using TStep = std::function<void(TFaultPage&)>;

struct TFaultRow {
  std::string name;
  // The card driver library folder (under the substitutes' build folder) that the row needs
  // in a fresh process, and the card count the substitute reports; empty: runs here.
  QString driverFolder{};
  int driverCards = 0;
  TStep before{};               // on the page before it is shown and built; may be empty
  TStep provoke{};              // on the shown page; may be empty when the fault strikes while building
  std::vector<TBox> boxes{};    // every message the user sees, in order; empty: silent
  int mode = kModeBeforeFault;  // the mode the page shows afterwards
  TStep kept{};                 // what else holds afterwards; may be empty
};

// The photograph rows share their outcome: the board keeps its place, size and proportions,
// shows its background, and the circles are built over it and listed.
void ExpectBoardWithoutPhotograph(TFaultPage& page) {
  TBoardImage* board = page.form->BoardImage1;
  EXPECT_FALSE(board->Picture().HasGraphic());
  EXPECT_EQ(board->size(), QSize(600, 384));
  EXPECT_DOUBLE_EQ(board->AspectRatio(), 508.0 / 793.0);
  EXPECT_EQ(board->grab().toImage().pixelColor(300, 200), ToQColor(clBtnFace));
  EXPECT_EQ(page.form->ModeHLT->NormalImage().size(), QSize(281, 81));
  EXPECT_EQ(TopMenus(*page.form), (QStringList{"&File", "&Settings", "&Options", "&Help"}));
}

TStep SetPhotograph(std::function<TPicture()> make) {
  return [make](TFaultPage& page) { page.form->BoardImage1->SetPicture(make()); };
}

// The card-listing page of the driver rows: each card is described by its number.
void DescribeCards(TFaultPage& page) {
  page.Supporter()->SetOnGetCardString([&page](QObject*, std::int32_t index) {
    ++page.calls;
    return QStringLiteral("Card %1").arg(index);
  });
}

// What the user sees when the driver gave no card: the window says so, the header too, no
// message box, and everything else comes as usual.
void ExpectNoCardListed(TFaultPage& page) {
  EXPECT_FALSE(DriverLoaded);
  EXPECT_EQ(page.calls, 0);
  ASSERT_NE(page.Supporter()->PCIForm(), nullptr);
  EXPECT_TRUE(page.Supporter()->PCIForm()->isVisible());
  EXPECT_EQ(page.Supporter()->PCIForm()->PCIMemo->toPlainText(), QStringLiteral("No Card Found"));
  EXPECT_EQ(page.Supporter()->HeaderLabel()->text(), kNoCard);
  EXPECT_EQ(page.form->File1->actions().first()->text(), kEntryCaption);
  EXPECT_TRUE(page.Supporter()->HelpForm()->isVisible());
}

// A page handler that does its own work and then fails.
TNotifyEvent FailingAfter(TNotifyEvent work, TThrow how, const char* text) {
  return [work, how, text](QObject* sender) {
    if (work) work(sender);
    Raise(how, text);
  };
}

// One row per kind of page event that runs page code, each with a std::exception and with a
// foreign exception.
void AddExceptionRows(std::vector<TFaultRow>& rows, TThrow how) {
  const std::string suffix = how == TThrow::Std ? "_std_exception" : "_foreign_exception";

  constexpr const char* kJumper = "The jumper handler failed";
  rows.push_back({
      .name = "jumper_click" + suffix,
      .provoke =
          [how](TFaultPage& page) {
            TMainForm& f = *page.form;
            OpenPinned(f.ModeHLT);
            const TNotifyEvent real = f.ModeTx->OnClick();
            f.ModeTx->SetOnClick(FailingAfter(real, how, kJumper));
            QTest::mouseClick(f.ModeTx, Qt::LeftButton);
            f.ModeTx->SetOnClick(real);
          },
      .boxes = {Reported(how, kJumper)},
      .mode = 1,  // ModeTx opened: back to RS-422
      .kept = [](TFaultPage& page) { EXPECT_TRUE(page.form->ModeHLT->Popup()->isVisible()); },
  });

  constexpr const char* kThreePin = "The three-pin jumper handler failed";
  rows.push_back({
      .name = "three_pin_jumper_click" + suffix,
      .provoke =
          [how](TFaultPage& page) {
            TMainForm& f = *page.form;
            OpenPinned(f.ModeHLT);
            const TNotifyEvent real = f.modeJMP->OnClick();
            f.modeJMP->SetOnClick(FailingAfter(real, how, kThreePin));
            QTest::mouseClick(f.modeJMP, Qt::LeftButton);
            f.modeJMP->SetOnClick(real);
          },
      .boxes = {Reported(how, kThreePin)},
      .mode = 6,  // the cap came off: channel disabled
  });

  // Its text ends with a full stop already: the report adds none.
  constexpr const char* kList = "The mode table is unreadable.";
  rows.push_back({
      .name = "list_change" + suffix,
      .provoke =
          [how](TFaultPage& page) {
            TMainForm& f = *page.form;
            const TNotifyEvent real = OnChange(f.modeCOMBO);
            SetOnChange(f.modeCOMBO, FailingAfter(real, how, kList));
            Choose(f, 2);
            SetOnChange(f.modeCOMBO, real);
          },
      .boxes = {Reported(how, kList)},
      .mode = 2,
  });

  constexpr const char* kIdle = "The idle handler failed";
  rows.push_back({
      .name = "idle_handler" + suffix,
      .provoke =
          [how](TFaultPage&) {
            // A one-shot handler, like the supporter's: it takes itself off, then fails.
            Application().SetOnIdle([how](QObject*, bool&) {
              Application().SetOnIdle({});
              Raise(how, kIdle);
            });
          },
      .boxes = {Reported(how, kIdle)},
      .kept = [](TFaultPage&) { EXPECT_FALSE(Application().OnIdle()); },
  });

  constexpr const char* kTick = "The calibration tick failed";
  rows.push_back({
      .name = "timer_tick" + suffix,
      .provoke =
          [how](TFaultPage& page) {
            page.Supporter()->SetOnGetCalibString([](QObject*, std::uint8_t, bool& bad) {
              bad = false;
              return QStringLiteral("ok");
            });
            page.Supporter()->SetOnBeginCalib([&page, how](QObject*) {
              if (++page.beginCalls == 1) Raise(how, kTick);
            });
            page.Supporter()->SetCalibrating(true);
          },
      .boxes = {Reported(how, kTick)},
      .kept =
          [](TFaultPage& page) {
            // The supporter stays as the tick left it, and the ticks go on.
            EXPECT_TRUE(QTest::qWaitFor([&] { return page.beginCalls >= 3; }, kWaitMs));
            EXPECT_TRUE(page.Supporter()->Calibrating());
            page.Supporter()->SetCalibrating(false);
          },
  });

  constexpr const char* kReading = "Channel 2 does not answer";
  rows.push_back({
      .name = "calibration_reading" + suffix,
      .provoke =
          [how](TFaultPage& page) {
            page.AddDisplay(4);
            page.Supporter()->SetOnGetCalibString([&page, how](QObject*, std::uint8_t channel, bool& bad) {
              if (++page.calls == 3) Raise(how, kReading);
              bad = false;
              return QStringLiteral("reading %1").arg(channel);
            });
            page.Supporter()->SetCalibrating(true);
          },
      .boxes = {Reported(how, kReading)},
      .kept =
          [](TFaultPage& page) {
            EXPECT_TRUE(QTest::qWaitFor([&] { return page.calls >= 3 + 2 * 4; }, kWaitMs));
            EXPECT_TRUE(page.Supporter()->Calibrating());
            page.Supporter()->SetCalibrating(false);
            EXPECT_EQ(page.ReadingLines(), (QStringList{"Channel 0\treading 0", "Channel 1\treading 1",
                                                        "Channel 2\treading 2", "Channel 3\treading 3"}));
          },
  });

  constexpr const char* kCard = "Card 1 cannot be described";
  rows.push_back({
      .name = "card_string" + suffix,
      .before =
          [how](TFaultPage& page) {
            page.driver.emplace();
            page.Supporter()->SetOnGetCardString([how](QObject*, std::int32_t index) -> QString {
              if (index == 1) Raise(how, kCard);
              return QStringLiteral("Card %1").arg(index);
            });
          },
      .boxes = {Reported(how, kCard)},
      .kept =
          [](TFaultPage& page) {
            // The building ended at the failing card: no header caption, no help by itself.
            TSetupSupporter* s = page.Supporter();
            EXPECT_EQ(s->PCIForm()->PCIMemo->toPlainText(), QStringLiteral("Card 0"));
            EXPECT_EQ(s->HeaderLabel()->text(), QString());
            EXPECT_FALSE(s->HelpForm()->isVisible());
            // The commands still work.
            page.form->Howtousethisprogram1->trigger();
            EXPECT_TRUE(s->HelpForm()->isVisible());
            s->PCIForm()->hide();
            page.form->File1->actions().first()->trigger();
            EXPECT_TRUE(s->PCIForm()->isVisible());
          },
  });

  constexpr const char* kCircle = "The circle's click handler failed";
  rows.push_back({
      .name = "circle_click" + suffix,
      .provoke =
          [how](TFaultPage& page) {
            TMainForm& f = *page.form;
            f.ModeHLT->SetOnClick(FailingAfter({}, how, kCircle));
            f.ModeHLT->CMMouseEnter(0);
            QTest::mouseClick(f.ModeHLT, Qt::LeftButton);
            f.ModeHLT->SetOnClick({});
          },
      .boxes = {Reported(how, kCircle)},
      .kept =
          [](TFaultPage& page) {
            // The click went on to pin the popup.
            TMainForm& f = *page.form;
            EXPECT_TRUE(f.ModeHLT->Pinned());
            EXPECT_TRUE(f.ModeHLT->Popup()->isVisible());
            EXPECT_TRUE(
                MenuEntry(f, QStringLiteral("&Settings"), QStringLiteral("Mode Settings"))->isChecked());
          },
  });

  constexpr const char* kTour = "The first circle's click handler failed";
  rows.push_back({
      .name = "tour_start" + suffix,
      .provoke =
          [how](TFaultPage& page) {
            TMainForm& f = *page.form;
            f.ModeHLT->SetOnClick(FailingAfter({}, how, kTour));
            f.SetSup->HelpForm()->StartButton->click();
            f.ModeHLT->SetOnClick({});
          },
      .boxes = {Reported(how, kTour)},
      .kept =
          [](TFaultPage& page) {
            TMainForm& f = *page.form;
            EXPECT_FALSE(f.SetSup->HelpForm()->isVisible());
            EXPECT_TRUE(f.ModeHLT->Popup()->isVisible());
            EXPECT_TRUE(f.ModeHLT->Pinned());
          },
  });

  constexpr const char* kActivate = "The panel's activation handler failed";
  rows.push_back({
      .name = "panel_activation" + suffix,
      .provoke =
          [how](TFaultPage& page) {
            // The popup takes the panel's events when it is built, at the first hover.
            page.form->ModePNL->SetOnActivate([&page, how](QObject*) {
              if (++page.calls == 1) Raise(how, kActivate);
            });
            page.form->ModeHLT->CMMouseEnter(0);
          },
      .boxes = {Reported(how, kActivate)},
      .kept = [](TFaultPage& page) { EXPECT_TRUE(page.form->ModeHLT->Popup()->isVisible()); },
  });
}

std::vector<TFaultRow> FaultRows() {
  std::vector<TFaultRow> rows;

  // --- The board photograph -------------------------------------------------------------
  rows.push_back({
      .name = "damaged_photograph",
      .before = SetPhotograph([] {
        const QByteArray bytes = JpegBytes(793, 508);
        TPicture picture;
        picture.LoadFromJpeg(bytes.left(bytes.size() / 2));
        return picture;
      }),
      .kept = ExpectBoardWithoutPhotograph,
  });
  rows.push_back({
      .name = "photograph_not_a_jpeg",
      .before = SetPhotograph([] {
        TPicture picture;
        picture.LoadFromJpeg(QByteArray("GIF89a, not what the board needs"));
        return picture;
      }),
      .kept = ExpectBoardWithoutPhotograph,
  });
  rows.push_back({
      .name = "empty_photograph_file",
      .before = SetPhotograph([] {
        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("board.jpg")));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.close();
        TPicture picture;
        EXPECT_FALSE(picture.LoadFromFile(file.fileName()));
        return picture;
      }),
      .kept = ExpectBoardWithoutPhotograph,
  });
  rows.push_back({
      .name = "missing_photograph_file",
      .before = SetPhotograph([] {
        QTemporaryDir dir;
        TPicture picture;
        EXPECT_FALSE(picture.LoadFromFile(dir.filePath(QStringLiteral("no-such-board.jpg"))));
        return picture;
      }),
      .kept = ExpectBoardWithoutPhotograph,
  });

  // --- Exceptions from page handlers ------------------------------------------------------
  AddExceptionRows(rows, TThrow::Std);
  AddExceptionRows(rows, TThrow::Foreign);

  // --- The supporter's timer and calibration messages -------------------------------------
  rows.push_back({
      .name = "no_timer_while_building",
      .before = [](TFaultPage&) { TMessageTimer::SetStartRefused(true); },
      .boxes = {kNoTimerBox},
      .kept =
          [](TFaultPage& page) {
            // Everything before the timer was built; only the help's own opening is lost.
            TSetupSupporter* s = page.Supporter();
            EXPECT_EQ(s->HeaderLabel()->text(), kCardFound);
            EXPECT_FALSE(s->HelpForm()->isVisible());
            TMessageTimer::SetStartRefused(false);
            page.form->Howtousethisprogram1->trigger();
            EXPECT_TRUE(s->HelpForm()->isVisible());
          },
  });
  rows.push_back({
      .name = "no_timer_when_retry_resumes_calibration",
      .provoke =
          [](TFaultPage& page) {
            page.boxes.SetAnswer(IDRETRY);
            page.Supporter()->SetOnGetCalibString([&page](QObject*, std::uint8_t, bool&) {
              ++page.calls;
              return QStringLiteral("no signal");
            });
            page.Supporter()->SetCalibrating(true);
            // The running timer keeps ticking; only starting it again fails.
            TMessageTimer::SetStartRefused(true);
          },
      .boxes = {kTotalFailureBox, kNoTimerBox},
      .kept =
          [](TFaultPage& page) {
            // Retry asked for polling again but no timer came: one tick's worth of readings,
            // and the supporter still counts itself as calibrating, as the tick left it.
            EXPECT_EQ(page.calls, 4);
            EXPECT_FALSE(page.Timer()->IsActive());
            EXPECT_TRUE(page.Supporter()->Calibrating());
            TMessageTimer::SetStartRefused(false);
            page.Supporter()->SetCalibrating(false);
          },
  });
  rows.push_back({
      .name = "calibration_without_reading_handler",
      .provoke =
          [](TFaultPage& page) {
            page.AddDisplay(4);
            page.Supporter()->SetCalibrating(true);
          },
      .boxes = {kNoReadingHandlerBox},
      .kept =
          [](TFaultPage& page) {
            EXPECT_FALSE(page.Supporter()->Calibrating());
            EXPECT_FALSE(page.Timer()->IsActive());
            EXPECT_EQ(page.button->text(), QStringLiteral("Start"));
          },
  });
  rows.push_back({
      .name = "total_failure_cancelled",
      .provoke =
          [](TFaultPage& page) {
            page.boxes.SetAnswer(IDCANCEL);
            page.AddDisplay(4);
            page.Supporter()->SetOnGetCalibString(
                [](QObject*, std::uint8_t, bool&) { return QStringLiteral("0"); });
            page.Supporter()->SetCalibrating(true);
          },
      .boxes = {kTotalFailureBox},
      .kept =
          [](TFaultPage& page) {
            EXPECT_FALSE(page.Supporter()->Calibrating());
            EXPECT_FALSE(page.Timer()->IsActive());
            EXPECT_EQ(page.button->text(), QStringLiteral("Start"));
            EXPECT_EQ(page.ReadingLines().first(), QStringLiteral("Channel 0\t0"));
          },
  });
  rows.push_back({
      .name = "reading_list_shorter_than_channels",
      .provoke =
          [](TFaultPage& page) {
            page.AddDisplay(1);
            page.Supporter()->SetOnGetCalibString([](QObject*, std::uint8_t channel, bool& bad) {
              bad = false;
              return QStringLiteral("%1.5").arg(channel);
            });
            page.Supporter()->SetCalibrating(true);
            ASSERT_TRUE(QTest::qWaitFor([&] { return page.readings->count() == 4; }, kWaitMs));
            page.Supporter()->SetCalibrating(false);
          },
      .kept =
          [](TFaultPage& page) {
            EXPECT_EQ(page.ReadingLines(),
                      (QStringList{"Channel 0\t0.5", "Channel 1\t1.5", "Channel 2\t2.5", "Channel 3\t3.5"}));
          },
  });
  rows.push_back({
      .name = "zero_channels",
      .provoke =
          [](TFaultPage& page) {
            TSetupSupporter* s = page.Supporter();
            s->SetChannels(0);
            s->SetOnBeginCalib([&page](QObject*) { ++page.beginCalls; });
            s->SetOnGetCalibString([&page](QObject*, std::uint8_t, bool&) {
              ++page.calls;
              return QString();
            });
            s->SetCalibrating(true);
            ASSERT_TRUE(QTest::qWaitFor([&] { return page.beginCalls >= 2; }, kWaitMs));
            s->SetCalibrating(false);
          },
      .kept =
          [](TFaultPage& page) {
            // Nothing polled, so nothing failed.
            EXPECT_EQ(page.calls, 0);
          },
  });
  rows.push_back({
      .name = "display_entries_without_controls",
      .provoke =
          [](TFaultPage& page) {
            TSetupSupporter* s = page.Supporter();
            s->AddCalibDisplay({});
            s->AddCalibDisplay({&page.noReadings, &page.noButton, &page.noHidden, 0});
            page.AddDisplay(4);
            s->SetOnGetCalibString([](QObject*, std::uint8_t, bool& bad) {
              bad = false;
              return QStringLiteral("fine");
            });
            s->SetCalibrating(true);
            ASSERT_TRUE(
                QTest::qWaitFor([&] { return page.readings->itemText(3) == "Channel 3\tfine"; }, kWaitMs));
            s->StopCalibration(s);
          },
      .kept =
          [](TFaultPage& page) {
            // The entries after the empty ones were served.
            EXPECT_TRUE(page.hidden->isHidden());
            EXPECT_EQ(page.button->text(), QStringLiteral("Start"));
            EXPECT_FALSE(page.Supporter()->Calibrating());
          },
  });

  // --- Menus, popups and the supporter's windows ------------------------------------------
  rows.push_back({
      .name = "menu_items_without_a_circle_are_stepped_over",
      .provoke =
          [](TFaultPage& page) {
            TMainForm& f = *page.form;
            QMenu* options = TopMenu(f, QStringLiteral("&Options"));
            QAction* usb = MenuEntry(f, QStringLiteral("&Options"), QStringLiteral("USB Connector"));
            ASSERT_NE(options, nullptr);
            options->insertAction(usb, new QAction(QStringLiteral("Declared command"), options));
            options->insertSeparator(usb);
            MenuEntry(f, QStringLiteral("&Options"), QStringLiteral("LED info"))->trigger();
            ASSERT_TRUE(f.ledHLT->Popup()->isVisible());
            f.ledHLT->Popup()->NextButton()->click();
          },
      .kept =
          [](TFaultPage& page) {
            TMainForm& f = *page.form;
            EXPECT_FALSE(f.ledHLT->Popup()->isVisible());
            ASSERT_NE(f.usbHLT->Popup(), nullptr);
            EXPECT_TRUE(f.usbHLT->Popup()->isVisible());
            EXPECT_TRUE(f.usbHLT->Pinned());
            EXPECT_TRUE(
                MenuEntry(f, QStringLiteral("&Options"), QStringLiteral("USB Connector"))->isChecked());
            // Backwards, the walk steps over them too.
            f.usbHLT->Popup()->PreviousButton()->click();
            EXPECT_TRUE(f.ledHLT->Popup()->isVisible());
            EXPECT_FALSE(f.usbHLT->Popup()->isVisible());
          },
  });
  rows.push_back({
      .name = "title_without_identifier",
      .before =
          [](TFaultPage& page) {
            AddCircle(*page.form, QStringLiteral("4-20"), htCalibration, {420, 250, 60, 60});
          },
      .kept =
          [](TFaultPage& page) {
            TMainForm& f = *page.form;
            EXPECT_EQ(TopMenus(f), (QStringList{"&File", "&Settings", "&Calibration", "&Options", "&Help"}));
            QAction* entry = MenuEntry(f, QStringLiteral("&Calibration"), QStringLiteral("4-20"));
            ASSERT_NE(entry, nullptr);
            EXPECT_EQ(entry->objectName(), QStringLiteral("Item1"));
            entry->trigger();
            EXPECT_TRUE(entry->isChecked());
            QWidget* popup = nullptr;
            for (QWidget* w : QApplication::topLevelWidgets()) {
              if (w->windowTitle() == QStringLiteral("4-20") && w->isVisible()) popup = w;
            }
            ASSERT_NE(popup, nullptr);
            popup->close();
            EXPECT_FALSE(entry->isChecked());
          },
  });
  rows.push_back({
      .name = "pinning_a_circle_whose_popup_was_closed",
      .provoke =
          [](TFaultPage& page) {
            TMainForm& f = *page.form;
            f.ModeHLT->CMMouseEnter(0);
            f.ModeHLT->Popup()->close();  // closed while the mouse stays on the circle
            ASSERT_FALSE(f.ModeHLT->Hot());
            f.ModeHLT->Click();
          },
      .kept =
          [](TFaultPage& page) {
            TMainForm& f = *page.form;
            EXPECT_TRUE(f.ModeHLT->Popup()->isVisible());
            EXPECT_TRUE(f.ModeHLT->Pinned());
            EXPECT_TRUE(f.ModeHLT->Hot());
            EXPECT_TRUE(
                MenuEntry(f, QStringLiteral("&Settings"), QStringLiteral("Mode Settings"))->isChecked());
          },
  });
  rows.push_back({
      .name = "help_commands_before_the_windows_exist",
      .before =
          [](TFaultPage& page) {
            TMainForm& f = *page.form;
            ASSERT_EQ(f.SetSup->HelpForm(), nullptr);
            f.Howtousethisprogram1->trigger();
            f.TechnicalSupport1->trigger();
            f.Closehelpdialog1Click(&f);
            f.DisplayClick(&f);
          },
      .kept =
          [](TFaultPage& page) {
            // Built once at the first idle moment all the same; the help opened by itself.
            TSetupSupporter* s = page.Supporter();
            EXPECT_TRUE(s->HelpForm()->isVisible());
            EXPECT_FALSE(s->TechForm()->isVisible());
            EXPECT_EQ(s->PCIForm(), nullptr);
          },
  });
  rows.push_back({
      .name = "supporter_without_main_form",
      .before = [](TFaultPage&) { Application().SetMainForm(nullptr); },
      .kept =
          [](TFaultPage& page) {
            TMainForm& f = *page.form;
            EXPECT_EQ(f.SetSup->HeaderLabel(), nullptr);
            EXPECT_EQ(f.SetSup->HelpForm(), nullptr);
            EXPECT_EQ(f.SetSup->TechForm(), nullptr);
            EXPECT_FALSE(page.Timer()->IsActive());
            f.Howtousethisprogram1->trigger();
            f.TechnicalSupport1->trigger();
            EXPECT_EQ(f.SetSup->HelpForm(), nullptr);
          },
  });
  rows.push_back({
      .name = "tour_without_a_first_circle",
      .provoke =
          [](TFaultPage& page) {
            page.form->BoardImage1->SetFirst(nullptr);
            page.Supporter()->HelpForm()->StartButton->click();
          },
      .kept =
          [](TFaultPage& page) {
            EXPECT_FALSE(page.Supporter()->HelpForm()->isVisible());
            EXPECT_EQ(page.form->ModeHLT->Popup(), nullptr);
            EXPECT_FALSE(page.form->ModeHLT->Hot());
          },
  });
  rows.push_back({
      .name = "tour_after_its_first_circle_is_gone",
      .provoke =
          [](TFaultPage& page) {
            TBoardHighlight* first =
                AddCircle(*page.form, QStringLiteral("Gone"), htOptions, {400, 250, 60, 60});
            page.form->BoardImage1->SetFirst(first);
            delete first;
            page.Supporter()->HelpForm()->StartButton->click();
          },
      .kept =
          [](TFaultPage& page) {
            EXPECT_EQ(page.form->BoardImage1->First(), nullptr);
            EXPECT_FALSE(page.Supporter()->HelpForm()->isVisible());
            for (const QWidget* w : QApplication::topLevelWidgets())
              EXPECT_NE(w->windowTitle(), QStringLiteral("Gone"));
          },
  });
  rows.push_back({
      .name = "panel_claimed_by_an_unlinked_circle",
      .provoke = [](TFaultPage& page) { page.form->ledHLT->SetRadioPanel(page.form->ModePNL); },
      .kept =
          [](TFaultPage& page) {
            TMainForm& f = *page.form;
            EXPECT_EQ(f.ledHLT->RadioPanel(), f.ledPNL);
            TPopupForm* popup = OpenPinned(f.ledHLT);
            EXPECT_EQ(f.ledPNL->parentWidget(), popup);
            EXPECT_EQ(f.ModePNL->parentWidget(), f.Client());
            popup->close();
          },
  });
  rows.push_back({
      .name = "circle_renamed_after_listing",
      .provoke =
          [](TFaultPage& page) {
            TMainForm& f = *page.form;
            f.ledHLT->SetTitle(QStringLiteral("LEDs"));
            OpenPinned(f.ledHLT)->NextButton()->click();
          },
      .kept =
          [](TFaultPage& page) {
            // Its entry keeps the old title, so the popup finds no entry to walk from.
            TMainForm& f = *page.form;
            EXPECT_TRUE(f.ledHLT->Popup()->isVisible());
            EXPECT_EQ(f.usbHLT->Popup(), nullptr);
            EXPECT_FALSE(MenuEntry(f, QStringLiteral("&Options"), QStringLiteral("LED info"))->isChecked());
            f.ledHLT->Popup()->DoneButton()->click();
            EXPECT_FALSE(f.ledHLT->Popup()->isVisible());
          },
  });
  rows.push_back({
      .name = "menu_entry_of_a_destroyed_circle",
      .provoke =
          [](TFaultPage& page) {
            TMainForm& f = *page.form;
            delete f.usbHLT;
            f.usbHLT = nullptr;
            MenuEntry(f, QStringLiteral("&Options"), QStringLiteral("USB Connector"))->trigger();
            OpenPinned(f.ledHLT)->NextButton()->click();
          },
      .kept =
          [](TFaultPage& page) {
            // The entry opens nothing, and the walk comes round to the only circle left.
            TMainForm& f = *page.form;
            for (const QWidget* w : QApplication::topLevelWidgets()) {
              EXPECT_FALSE(w->windowTitle() == QStringLiteral("USB Connector") && w->isVisible());
            }
            EXPECT_TRUE(f.ledHLT->Popup()->isVisible());
            EXPECT_TRUE(f.ledHLT->Pinned());
            f.ledHLT->Popup()->DoneButton()->click();
          },
  });

  // --- Numbers beyond the formulas ------------------------------------------------------
  rows.push_back({
      .name = "rounding_beyond_int",
      .provoke =
          [](TFaultPage& page) {
            constexpr double kInf = std::numeric_limits<double>::infinity();
            const struct {
              double value;
              int rounded;
            } cases[] = {{1e300, INT_MAX},        {-1e300, INT_MIN},        {kInf, INT_MAX},
                         {-kInf, INT_MIN},        {std::nan(""), 0},        {2147483647.4, INT_MAX},
                         {2147483648.0, INT_MAX}, {-2147483649.0, INT_MIN}, {2.5, 2}};
            for (const auto& c : cases) EXPECT_EQ(nearest(c.value), c.rounded) << c.value;
            // The help window on an absurdly large screen grows as far as a window can.
            THelpForm help(page.form.get(), QStringLiteral("{\\rtf1 Help}"), QSize(INT_MAX, INT_MAX));
            EXPECT_GT(help.width(), 305);
            EXPECT_LE(help.width(), QWIDGETSIZE_MAX);
            EXPECT_GT(help.height(), 0);
          },
  });
  rows.push_back({
      .name = "rings_on_one_pixel_and_empty_circles",
      .before =
          [](TFaultPage& page) {
            AddCircle(*page.form, QStringLiteral("Thin"), htSettings, {560, 120, 1, 40});
            AddCircle(*page.form, QStringLiteral("Flat"), htSettings, {300, 200, 40, 1});
            AddCircle(*page.form, QStringLiteral("Dot"), htSettings, {300, 250, 1, 1});
            AddCircle(*page.form, QStringLiteral("Empty"), htSettings, {300, 300, 0, 0});
          },
      .kept =
          [](TFaultPage& page) {
            TMainForm& f = *page.form;
            const auto circle = [&](const char* title) { return CircleTitled(f, QLatin1String(title)); };
            TBoardHighlight* thin = circle("Thin");
            ASSERT_TRUE(QTest::qWaitFor(
                [&] {
                  return thin->FirstPaintDone() && circle("Flat")->FirstPaintDone() &&
                         circle("Dot")->FirstPaintDone();
                },
                kWaitMs));
            // A one-pixel axis is the ring's centre line: the ends of the thin circle keep the
            // photograph, the ring shows between them.
            QImage background(1, 40, QImage::Format_RGB32);
            f.BoardImage1->RenderBackground(background, thin->geometry());
            const QImage& look = thin->NormalImage();
            ASSERT_EQ(look.size(), QSize(1, 40));
            EXPECT_EQ(look.pixel(0, 0), background.pixel(0, 0));
            EXPECT_EQ(look.pixel(0, 39), background.pixel(0, 39));
            EXPECT_NE(look.pixel(0, 36), background.pixel(0, 36));
            EXPECT_EQ(circle("Flat")->NormalImage().size(), QSize(40, 1));
            EXPECT_EQ(circle("Dot")->NormalImage().size(), QSize(1, 1));
            for (const char* title : {"Thin", "Flat", "Dot"}) {
              EXPECT_NE(MenuEntry(f, QStringLiteral("&Settings"), QLatin1String(title)), nullptr) << title;
            }
            // The empty circle is never painted, so never listed, but its hover still opens it.
            TBoardHighlight* empty = circle("Empty");
            EXPECT_FALSE(empty->FirstPaintDone());
            EXPECT_EQ(MenuEntry(f, QStringLiteral("&Settings"), QStringLiteral("Empty")), nullptr);
            empty->CMMouseEnter(0);
            ASSERT_NE(empty->Popup(), nullptr);
            EXPECT_TRUE(empty->Popup()->isVisible());
            empty->Popup()->close();
            // Drawn straight into empty or too small bitmaps, the ring touches nothing outside.
            QImage none;
            DrawRing(none, 64, 64, 0.5f, 0x0000FFFF, true);
            EXPECT_TRUE(none.isNull());
            QImage row(8, 1, QImage::Format_RGB32);
            row.fill(Qt::gray);
            DrawRing(row, 7, 0, 0.5f, 0x0000FFFF, false);
            EXPECT_NE(row.pixel(4, 0), QColor(Qt::gray).rgb());
          },
  });

  // --- The card driver, each case in a fresh process --------------------------------------
  rows.push_back({
      .name = "driver_library_missing",
      .driverFolder = QStringLiteral("no_library"),
      .driverCards = 2,
      .before = DescribeCards,
      .kept = ExpectNoCardListed,
  });
  rows.push_back({
      .name = "driver_without_GetNumCards",
      .driverFolder = QStringLiteral("without_GetNumCards"),
      .driverCards = 2,
      .before = DescribeCards,
      .kept = ExpectNoCardListed,
  });
  rows.push_back({
      .name = "driver_without_its_last_function",
      .driverFolder = QStringLiteral("without_RelOutPortDWord"),
      .driverCards = 2,
      .before = DescribeCards,
      .kept =
          [](TFaultPage& page) {
            // GetNumCards was found, but an incomplete driver is not asked.
            EXPECT_NE(GetNumCards, nullptr);
            ExpectNoCardListed(page);
          },
  });
  // Not a fault: the complete substitute lists its cards, which shows that the rows above
  // really found the library they name.
  rows.push_back({
      .name = "driver_complete_for_reference",
      .driverFolder = QStringLiteral("all"),
      .driverCards = 2,
      .before = DescribeCards,
      .kept =
          [](TFaultPage& page) {
            EXPECT_TRUE(DriverLoaded);
            EXPECT_EQ(page.calls, 2);
            EXPECT_EQ(page.Supporter()->PCIForm()->PCIMemo->toPlainText(), QStringLiteral("Card 0\nCard 1"));
            EXPECT_EQ(page.Supporter()->HeaderLabel()->text(), kCardFound);
          },
  });
  return rows;
}

// Failure messages name the row.
void PrintTo(const TFaultRow& row, std::ostream* out) { *out << row.name; }

const std::vector<TFaultRow>& Rows() {
  static const std::vector<TFaultRow> rows = FaultRows();
  return rows;
}

// --- Running a row -------------------------------------------------------------------------

// The page goes on after the fault: its loop runs, the mode popup opens, a list choice sets
// the jumpers, a real click on a jumper selects the matching entry, and Done closes, all
// without a message.
void ExpectStillRunning(TFaultPage& page) {
  TMainForm& f = *page.form;
  const size_t boxesBefore = page.boxes.Boxes().size();
  bool looped = false;
  QTimer::singleShot(0, [&] { looped = true; });
  EXPECT_TRUE(QTest::qWaitFor([&] { return looped; }, kWaitMs));

  TPopupForm* popup = OpenPinned(f.ModeHLT);
  ASSERT_NE(popup, nullptr);
  EXPECT_TRUE(popup->isVisible());
  Choose(f, 3);
  ExpectInStep(f, 3);
  QTest::mouseClick(f.Term, Qt::LeftButton);
  ExpectInStep(f, 2);
  QTest::mouseClick(popup->DoneButton(), Qt::LeftButton);
  EXPECT_FALSE(popup->isVisible());
  EXPECT_FALSE(f.ModeHLT->Hot());
  EXPECT_EQ(page.boxes.Boxes().size(), boxesBefore) << "the page showed a message after the fault";
}

void RunRow(const TFaultRow& row) {
  TFaultPage page;
  if (row.before) row.before(page);
  ASSERT_NO_FATAL_FAILURE(page.Show());
  Choose(*page.form, kModeBeforeFault);
  ExpectInStep(*page.form, kModeBeforeFault);

  if (row.provoke) row.provoke(page);
  ASSERT_FALSE(::testing::Test::HasFatalFailure());
  // Messages may come from the loop (idle, timer): wait for as many as the row expects.
  const auto& boxes = page.boxes.Boxes();
  EXPECT_TRUE(QTest::qWaitFor([&] { return boxes.size() >= row.boxes.size(); }, kWaitMs));
  ASSERT_EQ(boxes.size(), row.boxes.size());
  for (size_t i = 0; i < boxes.size(); ++i) {
    EXPECT_EQ(boxes[i].text, row.boxes[i].text) << "message " << i;
    EXPECT_EQ(boxes[i].caption, row.boxes[i].caption) << "message " << i;
    EXPECT_EQ(boxes[i].flags, row.boxes[i].flags) << "message " << i;
  }

  ExpectInStep(*page.form, row.mode);
  if (row.kept) row.kept(page);
  ASSERT_FALSE(::testing::Test::HasFatalFailure());
  ExpectStillRunning(page);
}

// Runs the row in a fresh process of this executable, with the substitute driver library of
// the row's folder on the search path, and reports what that process found.
void RunInFreshProcess(const TFaultRow& row) {
  const QDir fakes(QCoreApplication::applicationDirPath() + QStringLiteral("/fakes"));
  const QString folder = fakes.filePath(row.driverFolder);
  ASSERT_TRUE(QDir(folder).exists()) << "substitute driver folder not built: " << folder.toStdString();
  if (row.driverFolder != QLatin1String("no_library")) {
    ASSERT_TRUE(QFile::exists(folder + QLatin1Char('/') + QLatin1String(kDriverLibraryName)))
        << "substitute driver not built in " << folder.toStdString();
  }

  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QLatin1String(kRowVariable), QString::fromStdString(row.name));
  environment.insert(QStringLiteral("LD_LIBRARY_PATH"), folder);
  environment.insert(QStringLiteral("FAKE_KORDRV_CARDS"), QString::number(row.driverCards));
  QProcess child;
  child.setProcessEnvironment(environment);
  child.setProcessChannelMode(QProcess::MergedChannels);
  child.start(QCoreApplication::applicationFilePath(),
              {QStringLiteral("--gtest_filter=") + QLatin1String(kChildTest),
               QStringLiteral("--gtest_also_run_disabled_tests")});
  ASSERT_TRUE(child.waitForFinished(5 * 60 * 1000));
  const QString output = QString::fromLocal8Bit(child.readAll());
  EXPECT_EQ(child.exitStatus(), QProcess::NormalExit) << output.toStdString();
  EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
  // The row really ran there: a filter that matched nothing would pass as well.
  EXPECT_TRUE(output.contains(QStringLiteral("[  PASSED  ] 1 test."))) << output.toStdString();
}

class FaultTable : public ::testing::TestWithParam<TFaultRow> {};

TEST_P(FaultTable, IsReportedOrToleratedAndThePageGoesOn) {
  const TFaultRow& row = GetParam();
  if (!row.driverFolder.isEmpty()) {
    RunInFreshProcess(row);
    return;
  }
  RunRow(row);
}

INSTANTIATE_TEST_SUITE_P(Faults, FaultTable, ::testing::ValuesIn(Rows()),
                         [](const ::testing::TestParamInfo<TFaultRow>& info) { return info.param.name; });

// The body of a row that needs a fresh process; started only by the row itself, which names
// the row in the environment.
TEST(FaultTableChild, DISABLED_RowInFreshProcess) {
  const QByteArray name = qgetenv(kRowVariable);
  ASSERT_FALSE(name.isEmpty()) << "run by the fault table only";
  for (const TFaultRow& row : Rows()) {
    if (row.name == name.toStdString()) {
      RunRow(row);
      return;
    }
  }
  FAIL() << "no row named " << name.toStdString();
}

}  // namespace
