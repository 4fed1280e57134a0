#include "setupctrls/setup_supporter.h"

#include <gtest/gtest.h>

#include <QEventLoop>
#include <QMainWindow>
#include <QMenuBar>
#include <QMetaClassInfo>
#include <QMetaProperty>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <stdexcept>

#include "driver/kordrv.h"
#include "platform/anchors.h"
#include "platform/application.h"
#include "platform/message_timer.h"
#include "support/test_support.h"

namespace {

// A driver that reports a given number of cards, bound as the binding would bind it.
std::int32_t fakeCardCount = 0;
std::int32_t FakeGetNumCards() { return fakeCardCount; }

class BoundDriver {
 public:
  explicit BoundDriver(std::int32_t cards) {
    fakeCardCount = cards;
    DriverLoaded = true;
    GetNumCards = &FakeGetNumCards;
  }
  ~BoundDriver() {
    DriverLoaded = false;
    GetNumCards = nullptr;
  }
};

// Makes every timer start fail while it lives.
class NoTimersLeft {
 public:
  NoTimersLeft() { TMessageTimer::SetStartRefused(true); }
  ~NoTimersLeft() { TMessageTimer::SetStartRefused(false); }
};

// Runs the event loop until the condition holds. Unlike QTest::qWaitFor the loop really waits
// for events, so the application sees its idle moments.
bool RunUntil(const std::function<bool()>& condition, int timeoutMs = 5000) {
  QEventLoop loop;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
    if (condition()) loop.quit();
  });
  poll.start(10);
  QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
  if (!condition()) loop.exec();
  return condition();
}

// A main form with a client area and a File menu, registered as the application's main
// form, carrying a supporter with the product's values.
struct Page {
  std::unique_ptr<QMainWindow> form = std::make_unique<QMainWindow>();
  QWidget* client = new QWidget;
  TSetupSupporter* supporter = new TSetupSupporter(form.get());

  Page() {
    form->setCentralWidget(client);
    QMenu* file = form->menuBar()->addMenu(QStringLiteral("&File"));
    file->addAction(QStringLiteral("E&xit"));
    form->resize(1000, 700);
    Application().SetMainForm(form.get());
    supporter->SetCompanyName(QStringLiteral("TORVO"));
    supporter->SetCardNameA(QStringLiteral("NB-QUADPORT"));
    supporter->SetCardNameB(QStringLiteral("NB-QUADPORT"));
    supporter->SetCallHow(QStringLiteral("between 8 am and 5 pm Pacific Time at 1-800-555-0134"));
    supporter->SetMultiPort(true);
    supporter->SetChannels(4);
  }
  ~Page() {
    Application().SetOnIdle({});
    Application().SetMainForm(nullptr);
  }

  void Build() {
    bool done = true;
    supporter->FirstIdle(&Application(), done);
  }
  TMessageTimer* Timer() const { return supporter->findChild<TMessageTimer*>(); }
};

struct PropertyCase {
  const char* name;
  QVariant constructed;
  const char* declaredDefault;  // nullptr: none declared
};

TEST(SetupSupporter, ConstructorValuesAndDeclaredDefaults) {
  TSetupSupporter supporter;
  const PropertyCase cases[] = {
      {"CompanyName", QString(), nullptr},
      {"CardNameA", QString(), nullptr},
      {"CardNameB", QString(), nullptr},
      {"UseCardNameB", false, "false"},
      {"CallHow", QString(), nullptr},
      {"MultiPort", false, "false"},
      {"Channels", QVariant::fromValue<quint8>(8), "8"},
      // Declared False but constructed True: a page that does not mention it gets True.
      {"ChangeButtons", true, "false"},
      {"bSeries", true, "true"},
  };
  const QMetaObject* meta = supporter.metaObject();
  for (const PropertyCase& c : cases) {
    SCOPED_TRACE(c.name);
    const int index = meta->indexOfProperty(c.name);
    ASSERT_GE(index, 0);
    EXPECT_EQ(meta->property(index).read(&supporter), c.constructed);
    const int info = meta->indexOfClassInfo((QByteArray("default:") + c.name).constData());
    if (c.declaredDefault == nullptr) {
      EXPECT_LT(info, 0);
    } else {
      ASSERT_GE(info, 0);
      EXPECT_STREQ(meta->classInfo(info).value(), c.declaredDefault);
    }
  }
  EXPECT_FALSE(supporter.OnBeginCalib());
  EXPECT_FALSE(supporter.OnGetCardString());
  EXPECT_FALSE(supporter.OnGetCalibString());
  EXPECT_FALSE(supporter.OnStopButtonClick());
  EXPECT_FALSE(supporter.OnStartButtonClick());
  EXPECT_EQ(supporter.HeaderLabel(), nullptr);
  EXPECT_EQ(supporter.HelpForm(), nullptr);
  EXPECT_EQ(supporter.TechForm(), nullptr);
  EXPECT_EQ(supporter.PCIForm(), nullptr);
  EXPECT_FALSE(supporter.Calibrating());
  EXPECT_TRUE(supporter.CalibDisplays().isEmpty());
  // The hidden message window exists from the start, without a timer.
  const QList<TMessageTimer*> timers = supporter.findChildren<TMessageTimer*>();
  ASSERT_EQ(timers.size(), 1);
  EXPECT_FALSE(timers.front()->IsActive());
}

TEST(SetupSupporter, PropertiesStoreWhatIsAssigned) {
  TSetupSupporter supporter;
  const std::pair<const char*, QVariant> values[] = {
      {"CompanyName", QStringLiteral("ACME")},
      {"CardNameA", QStringLiteral("A-1")},
      {"CardNameB", QStringLiteral("B-2")},
      {"UseCardNameB", true},
      {"CallHow", QStringLiteral("now")},
      {"MultiPort", true},
      {"Channels", QVariant::fromValue<quint8>(255)},
      {"ChangeButtons", false},
      {"bSeries", false},
  };
  for (const auto& [name, value] : values) {
    SCOPED_TRACE(name);
    EXPECT_TRUE(supporter.setProperty(name, value));
    EXPECT_EQ(supporter.property(name), value);
  }
  EXPECT_EQ(supporter.CardName(), QStringLiteral("B-2"));
  supporter.SetUseCardNameB(false);
  EXPECT_EQ(supporter.CardName(), QStringLiteral("A-1"));
}

TEST(SetupSupporter, HelpOpensByItselfAfterTheFirstIdleMomentAndTheHandlerRunsOnce) {
  Page page;
  int idleCalls = 0;
  Application().SetOnIdle([&](QObject* sender, bool& done) {
    ++idleCalls;
    page.supporter->FirstIdle(sender, done);
  });
  ASSERT_TRUE(RunUntil([&] { return page.supporter->HelpForm() != nullptr; }));
  EXPECT_FALSE(Application().OnIdle());
  ASSERT_TRUE(QTest::qWaitFor([&] { return page.supporter->HelpForm()->isVisible(); }, 5000));
  // Showing the help window ends the timer's work.
  ASSERT_TRUE(QTest::qWaitFor([&] { return !page.Timer()->IsActive(); }, 5000));
  EXPECT_EQ(idleCalls, 1);
  EXPECT_EQ(page.form->findChildren<THelpForm*>().size(), 1);
  EXPECT_EQ(page.form->findChildren<TTechForm*>().size(), 1);
  EXPECT_EQ(page.client->findChildren<QLabel*>(QStringLiteral("HeaderLabel")).size(), 1);
  EXPECT_FALSE(page.supporter->TechForm()->isVisible());

  // A second call builds nothing more.
  bool done = true;
  page.supporter->FirstIdle(&Application(), done);
  EXPECT_EQ(page.form->findChildren<THelpForm*>().size(), 1);
  EXPECT_EQ(page.client->findChildren<QLabel*>(QStringLiteral("HeaderLabel")).size(), 1);
  EXPECT_TRUE(done);
}

TEST(SetupSupporter, ProductPageBuildsNoInstalledCardsWindowAndNoMenuEntry) {
  Page page;
  page.Build();
  EXPECT_EQ(page.supporter->PCIForm(), nullptr);
  EXPECT_EQ(page.form->findChildren<TPCIForm*>().size(), 0);
  const QList<QAction*> file = page.form->menuBar()->actions().front()->menu()->actions();
  ASSERT_EQ(file.size(), 1);
  EXPECT_EQ(file.front()->text(), QStringLiteral("E&xit"));
  EXPECT_FALSE(DriverLoaded);
}

TEST(SetupSupporter, HeaderLabel) {
  Page page;
  page.form->show();
  page.Build();
  QLabel* header = page.supporter->HeaderLabel();
  ASSERT_NE(header, nullptr);
  EXPECT_EQ(header->parent(), page.client);
  EXPECT_EQ(header->objectName(), QStringLiteral("HeaderLabel"));
  EXPECT_EQ(header->text(), QStringLiteral("NB-QUADPORT Series Settings Program"));
  EXPECT_EQ(header->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
  EXPECT_EQ(header->font().family(), QStringLiteral("Tahoma"));
  EXPECT_EQ(header->font().pointSize(), 18);
  EXPECT_TRUE(header->font().bold());
  EXPECT_EQ(header->palette().color(QPalette::WindowText), QColor(Qt::black));
  EXPECT_TRUE(header->isVisible());
  EXPECT_EQ(header->geometry().topLeft(), QPoint(0, 0));
  EXPECT_EQ(header->width(), page.client->width());
  EXPECT_GT(header->height(), 0);
  EXPECT_EQ(Anchors(header), akLeft | akTop | akRight);
  // Aligned to the top: it follows the width of the client area.
  page.form->resize(1200, 700);
  EXPECT_EQ(header->width(), page.client->width());
  EXPECT_EQ(header->geometry().topLeft(), QPoint(0, 0));
}

struct CaptionCase {
  const char* name;
  bool bSeries;
  bool listsCards;
  std::int32_t cards;
  const char* caption;
};

class SetupSupporterCaption : public ::testing::TestWithParam<CaptionCase> {};

TEST_P(SetupSupporterCaption, HeaderNamesTheOutcome) {
  const CaptionCase& c = GetParam();
  MessageBoxRecorder boxes;
  BoundDriver driver(c.cards);
  Page page;
  page.supporter->SetbSeries(c.bSeries);
  if (c.listsCards) {
    page.supporter->SetOnGetCardString(
        [](QObject*, std::int32_t index) { return QStringLiteral("Card %1").arg(index); });
  }
  page.Build();
  EXPECT_EQ(page.supporter->HeaderLabel()->text(), QString::fromLatin1(c.caption));
  EXPECT_TRUE(boxes.Boxes().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, SetupSupporterCaption,
    ::testing::Values(CaptionCase{"no_listing_series", true, false, 0, "NB-QUADPORT Series Settings Program"},
                      CaptionCase{"no_listing_no_series", false, false, 0, "NB-QUADPORT Settings Program"},
                      CaptionCase{"found_series", true, true, 2, "NB-QUADPORT Series Settings Program"},
                      CaptionCase{"found_no_series", false, true, 2, "NB-QUADPORT Settings Program"},
                      CaptionCase{"not_found_series", true, true, 0, "No NB-QUADPORT Series Card Found"},
                      CaptionCase{"not_found_no_series", false, true, 0, "No NB-QUADPORT Found"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SetupSupporter, NotFoundWhenTheDriverIsAbsent) {
  Page page;
  int calls = 0;
  page.supporter->SetOnGetCardString([&](QObject*, std::int32_t) {
    ++calls;
    return QStringLiteral("card");
  });
  page.Build();
  EXPECT_FALSE(DriverLoaded);
  EXPECT_EQ(calls, 0);
  EXPECT_EQ(page.supporter->HeaderLabel()->text(), QStringLiteral("No NB-QUADPORT Series Card Found"));
}

TEST(SetupSupporter, UseCardNameBNamesCardNameBEverywhere) {
  BoundDriver driver(1);
  Page page;
  page.supporter->SetCardNameA(QStringLiteral("AAA-CARD"));
  page.supporter->SetCardNameB(QStringLiteral("BBB-CARD"));
  page.supporter->SetUseCardNameB(true);
  page.supporter->SetOnGetCardString([](QObject*, std::int32_t) { return QStringLiteral("one card"); });
  page.Build();
  const QString texts[] = {
      page.supporter->HeaderLabel()->text(),
      page.supporter->HelpForm()->HelpRich->toPlainText(),
      page.supporter->PCIForm()->windowTitle(),
      page.form->menuBar()->actions().front()->menu()->actions().front()->text(),
  };
  for (const QString& text : texts) {
    SCOPED_TRACE(text.toStdString());
    EXPECT_TRUE(text.contains(QStringLiteral("BBB-CARD")));
    EXPECT_FALSE(text.contains(QStringLiteral("AAA-CARD")));
  }
}

TEST(SetupSupporter, HelpTextFollowsTheSupportersValues) {
  Page page;
  page.Build();
  const QString text = page.supporter->HelpForm()->HelpRich->toPlainText();
  EXPECT_TRUE(text.startsWith(QStringLiteral("TORVO NB-QUADPORT Series Settings Program\n")));
  EXPECT_TRUE(text.contains(QStringLiteral("Note:")));
  EXPECT_FALSE(text.contains(QStringLiteral("To see a list of ")));
}

TEST(SetupSupporter, WithoutMainFormNothingIsBuilt) {
  Page page;
  Application().SetMainForm(nullptr);
  Application().SetOnIdle([&](QObject* sender, bool& done) { page.supporter->FirstIdle(sender, done); });
  page.Build();
  EXPECT_FALSE(Application().OnIdle());
  EXPECT_EQ(page.supporter->HelpForm(), nullptr);
  EXPECT_EQ(page.supporter->HeaderLabel(), nullptr);
  EXPECT_FALSE(page.Timer()->IsActive());
}

TEST(SetupSupporter, TheTimerRunsWhileHelpIsPendingOrCalibrationRuns) {
  Page page;
  page.Build();
  TMessageTimer* timer = page.Timer();
  EXPECT_TRUE(timer->IsActive());
  EXPECT_EQ(timer->Interval(), TSetupSupporter::kTimerInterval);
  ASSERT_TRUE(QTest::qWaitFor([&] { return page.supporter->HelpForm()->isVisible(); }, 5000));
  EXPECT_FALSE(timer->IsActive());

  page.supporter->SetOnGetCalibString([](QObject*, std::uint8_t, bool& bad) {
    bad = false;
    return QString();
  });
  page.supporter->SetOnBeginCalib([](QObject*) {});
  EXPECT_FALSE(timer->IsActive());
  page.supporter->SetCalibrating(true);
  EXPECT_TRUE(page.supporter->Calibrating());
  EXPECT_TRUE(timer->IsActive());
  page.supporter->SetCalibrating(true);
  page.supporter->SetOnBeginCalib({});
  EXPECT_TRUE(timer->IsActive());
  page.supporter->SetCalibrating(false);
  EXPECT_FALSE(timer->IsActive());
  EXPECT_EQ(page.supporter->findChildren<TMessageTimer*>().size(), 1);
}

TEST(SetupSupporter, NoTimerLeftRaisesOutOfResources) {
  TSetupSupporter supporter;
  NoTimersLeft refusal;
  try {
    supporter.SetCalibrating(true);
    FAIL() << "no exception";
  } catch (const EOutOfResources& error) {
    EXPECT_STREQ(error.what(), "Not enough timers available");
  }
  EXPECT_THROW(supporter.SetOnBeginCalib([](QObject*) {}), EOutOfResources);
}

TEST(SetupSupporter, NoTimerLeftWhileBuildingIsReportedByTheApplication) {
  MessageBoxRecorder boxes;
  NoTimersLeft refusal;
  Page page;
  Application().SetOnIdle([&](QObject* sender, bool& done) { page.supporter->FirstIdle(sender, done); });
  ASSERT_TRUE(RunUntil([&] { return !boxes.Boxes().empty(); }));
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_EQ(boxes.Boxes()[0].text, QStringLiteral("Not enough timers available."));
  EXPECT_EQ(boxes.Boxes()[0].flags, MB_OK | MB_ICONHAND);
  // Everything before the timer was built.
  EXPECT_NE(page.supporter->HelpForm(), nullptr);
  EXPECT_EQ(page.supporter->HeaderLabel()->text(), QStringLiteral("NB-QUADPORT Series Settings Program"));
  EXPECT_FALSE(page.supporter->HelpForm()->isVisible());
}

TEST(SetupSupporter, AnExceptionInATickIsReportedAndTheTickingGoesOn) {
  MessageBoxRecorder boxes;
  Page page;
  int begins = 0;
  page.supporter->SetOnBeginCalib([&](QObject*) {
    ++begins;
    throw std::runtime_error("reading failed");
  });
  page.supporter->SetCalibrating(true);
  ASSERT_TRUE(QTest::qWaitFor([&] { return boxes.Boxes().size() >= 2; }, 5000));
  EXPECT_EQ(boxes.Boxes()[0].text, QStringLiteral("reading failed."));
  EXPECT_EQ(boxes.Boxes()[0].flags, MB_OK | MB_ICONHAND);
  EXPECT_GE(begins, 2);
  EXPECT_TRUE(page.supporter->Calibrating());
  EXPECT_TRUE(page.Timer()->IsActive());
  page.supporter->SetCalibrating(false);
}

TEST(SetupSupporter, CloseButtonClickHidesTheSendersWindow) {
  TSetupSupporter supporter;
  QWidget window;
  auto* button = new QPushButton(&window);
  window.show();
  supporter.CloseButtonClick(button);
  EXPECT_FALSE(window.isVisible());
  // Senders that are no controls, or have no window, change nothing.
  window.show();
  supporter.CloseButtonClick(&supporter);
  supporter.CloseButtonClick(nullptr);
  QPushButton alone;
  supporter.CloseButtonClick(&alone);
  EXPECT_TRUE(window.isVisible());
}

TEST(SetupSupporter, DisplayPCIClickWithoutWindowDoesNothing) {
  Page page;
  page.Build();
  page.supporter->DisplayPCIClick(nullptr);
  EXPECT_EQ(page.supporter->PCIForm(), nullptr);
}

TEST(SetupSupporter, DestructionEndsTheTimer) {
  Page page;
  page.Build();
  QPointer<TMessageTimer> timer = page.Timer();
  ASSERT_TRUE(timer->IsActive());
  QPointer<THelpForm> help = page.supporter->HelpForm();
  delete page.supporter;
  EXPECT_TRUE(timer.isNull());
  // The windows belong to the main form and stay.
  EXPECT_FALSE(help.isNull());

  TSetupSupporter* calibrating = new TSetupSupporter;
  calibrating->SetCalibrating(true);
  QPointer<TMessageTimer> calibrationTimer = calibrating->findChild<TMessageTimer*>();
  delete calibrating;
  EXPECT_TRUE(calibrationTimer.isNull());
}

TEST(SetupSupporter, DestructionWithNoTimersLeftDoesNotThrow) {
  Page page;
  page.Build();
  NoTimersLeft refusal;
  EXPECT_NO_THROW(delete page.supporter);
}

TEST(SetupSupporter, MainFormDestroysTheWindowsAndTheSupporter) {
  auto page = std::make_unique<Page>();
  page->Build();
  QPointer<TSetupSupporter> supporter = page->supporter;
  QPointer<THelpForm> help = page->supporter->HelpForm();
  QPointer<TTechForm> tech = page->supporter->TechForm();
  QPointer<QLabel> header = page->supporter->HeaderLabel();
  page.reset();
  EXPECT_TRUE(supporter.isNull());
  EXPECT_TRUE(help.isNull());
  EXPECT_TRUE(tech.isNull());
  EXPECT_TRUE(header.isNull());
}

}  // namespace
