#include <gtest/gtest.h>

#include <QEventLoop>
#include <QMainWindow>
#include <QMenuBar>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

#include "driver/kordrv.h"
#include "platform/anchors.h"
#include "platform/application.h"
#include "platform/message_timer.h"
#include "setupctrls/setup_supporter.h"
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

// Runs the event loop until the condition holds; the loop really waits for events, so the
// application sees its idle moments.
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

// A main form whose menu bar has the given top-level menus (none: no menu bar at all), each
// with one command, registered as the application's main form, and a supporter whose page
// describes cards with `texts` (card i gets texts[i], beyond them an empty text).
struct Page {
  std::unique_ptr<QMainWindow> form = std::make_unique<QMainWindow>();
  TSetupSupporter* supporter = new TSetupSupporter(form.get());
  std::vector<std::int32_t> asked;
  std::vector<QObject*> senders;

  explicit Page(const QStringList& menus = {QStringLiteral("&File"), QStringLiteral("&Help")},
                const QStringList& texts = {}) {
    form->setCentralWidget(new QWidget);
    for (const QString& title : menus) form->menuBar()->addMenu(title)->addAction(QStringLiteral("Command"));
    form->resize(1000, 700);
    Application().SetMainForm(form.get());
    supporter->SetCompanyName(QStringLiteral("TORVO"));
    supporter->SetCardNameA(QStringLiteral("NB-QUADPORT"));
    supporter->SetOnGetCardString([this, texts](QObject* sender, std::int32_t index) {
      asked.push_back(index);
      senders.push_back(sender);
      return index < texts.size() ? texts[index] : QString();
    });
  }
  ~Page() {
    Application().SetOnIdle({});
    Application().SetMainForm(nullptr);
  }

  void Build() {
    bool done = true;
    supporter->FirstIdle(&Application(), done);
  }
  TPCIForm* Cards() const { return supporter->PCIForm(); }
  QString Memo() const { return supporter->PCIForm()->PCIMemo->toPlainText(); }
  QString Header() const { return supporter->HeaderLabel()->text(); }
  QList<QAction*> Commands(int menu) const { return form->menuBar()->actions()[menu]->menu()->actions(); }
};

const QString kEntryCaption = QStringLiteral("Display NB-QUADPORT Cards Installed");
const QString kFound = QStringLiteral("NB-QUADPORT Series Settings Program");
const QString kNotFound = QStringLiteral("No NB-QUADPORT Series Card Found");

TEST(InstalledCards, ListsTheCardsWithATextInOrder) {
  BoundDriver driver(3);
  Page page({QStringLiteral("&File")}, {QStringLiteral("Card zero"), QString(), QStringLiteral("Card two")});
  page.Build();
  EXPECT_EQ(page.asked, (std::vector<std::int32_t>{0, 1, 2}));
  for (QObject* sender : page.senders) EXPECT_EQ(sender, page.supporter);
  EXPECT_EQ(page.Memo(), QStringLiteral("Card zero\nCard two"));
  EXPECT_EQ(page.Header(), kFound);
  EXPECT_TRUE(page.Cards()->isVisible());
}

class InstalledCardsNone : public ::testing::TestWithParam<std::int32_t> {};

TEST_P(InstalledCardsNone, NoCardAskNobody) {
  BoundDriver driver(GetParam());
  Page page;
  page.Build();
  EXPECT_TRUE(page.asked.empty());
  EXPECT_EQ(page.Memo(), QStringLiteral("No Card Found"));
  EXPECT_EQ(page.Header(), kNotFound);
}

INSTANTIATE_TEST_SUITE_P(Counts, InstalledCardsNone, ::testing::Values(0, -1, INT32_MIN));

TEST(InstalledCards, EveryTextEmptyIsNoCard) {
  BoundDriver driver(2);
  Page page({QStringLiteral("&File")}, {QString(), QString()});
  page.Build();
  EXPECT_EQ(page.asked, (std::vector<std::int32_t>{0, 1}));
  EXPECT_EQ(page.Memo(), QStringLiteral("No Card Found"));
  EXPECT_EQ(page.Header(), kNotFound);
}

TEST(InstalledCards, NotFoundWithoutSeriesInTheHeader) {
  BoundDriver driver(0);
  Page page;
  page.supporter->SetbSeries(false);
  page.Build();
  EXPECT_EQ(page.Header(), QStringLiteral("No NB-QUADPORT Found"));
}

TEST(InstalledCards, DriverAbsentIsNoCard) {
  Page page({QStringLiteral("&File")}, {QStringLiteral("Card zero")});
  page.Build();
  EXPECT_FALSE(DriverLoaded);
  EXPECT_TRUE(page.asked.empty());
  EXPECT_EQ(page.Memo(), QStringLiteral("No Card Found"));
  EXPECT_EQ(page.Header(), kNotFound);
}

struct MenuCase {
  const char* name;
  QStringList menus;
  int menuWithEntry;  // -1: no entry anywhere
};

class InstalledCardsMenu : public ::testing::TestWithParam<MenuCase> {};

TEST_P(InstalledCardsMenu, EntryGoesFirstIntoTheFirstFileMenu) {
  const MenuCase& c = GetParam();
  BoundDriver driver(1);
  Page page(c.menus, {QStringLiteral("Card zero")});
  page.Build();
  for (int menu = 0; menu < c.menus.size(); ++menu) {
    SCOPED_TRACE(menu);
    const QList<QAction*> commands = page.Commands(menu);
    if (menu == c.menuWithEntry) {
      ASSERT_EQ(commands.size(), 2);
      QAction* entry = commands[0];
      EXPECT_EQ(entry->objectName(), QStringLiteral("DisplayPCI"));
      EXPECT_EQ(entry->text(), kEntryCaption);
      EXPECT_EQ(entry->parent(), page.form->menuBar()->actions()[menu]->menu());
      EXPECT_EQ(commands[1]->text(), QStringLiteral("Command"));
    } else {
      ASSERT_EQ(commands.size(), 1);
      EXPECT_EQ(commands[0]->text(), QStringLiteral("Command"));
    }
  }
  // Without menus the supporter makes no menu bar of its own.
  if (c.menus.isEmpty()) {
    EXPECT_EQ(page.form->menuWidget(), nullptr);
  }
  // The window is built and open whatever the menu.
  ASSERT_NE(page.Cards(), nullptr);
  EXPECT_TRUE(page.Cards()->isVisible());
  EXPECT_EQ(page.Memo(), QStringLiteral("Card zero"));
}

INSTANTIATE_TEST_SUITE_P(Menus, InstalledCardsMenu,
                         ::testing::Values(MenuCase{"file_and_help", {"&File", "&Help"}, 0},
                                           MenuCase{"file_after_help", {"&Help", "&File"}, 1},
                                           MenuCase{"two_file_menus", {"&File", "&File"}, 0},
                                           MenuCase{"file_without_accelerator", {"File", "&Help"}, -1},
                                           MenuCase{"file_in_lower_case", {"&file"}, -1},
                                           MenuCase{"no_menus", {}, -1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(InstalledCards, WindowAndControls) {
  BoundDriver driver(1);
  // The outer width that a new window of the platform starts with.
  QMainWindow reference;
  QDialog fresh(&reference, Qt::Dialog);
  fresh.show();
  const int newWindowWidth = fresh.frameGeometry().width();

  Page page({QStringLiteral("&File")}, {QStringLiteral("Card zero")});
  page.Build();
  TPCIForm* cards = page.Cards();
  EXPECT_EQ(cards->objectName(), QStringLiteral("PCIForm"));
  EXPECT_EQ(cards->windowTitle(), QStringLiteral("NB-QUADPORT Cards installed"));
  EXPECT_EQ(cards->parent(), page.form.get());
  EXPECT_TRUE(cards->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_FALSE(cards->isModal());

  const QList<QWidget*> controls = cards->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
  ASSERT_EQ(controls.size(), 2);
  EXPECT_EQ(controls[0], cards->PCIMemo);
  EXPECT_EQ(controls[1], cards->CloseButton);

  EXPECT_EQ(cards->PCIMemo->objectName(), QStringLiteral("PCIMemo"));
  EXPECT_EQ(cards->PCIMemo->font().family(), QStringLiteral("Tahoma"));
  EXPECT_EQ(cards->PCIMemo->font().pointSize(), 10);
  EXPECT_TRUE(cards->PCIMemo->font().bold());
  EXPECT_TRUE(cards->PCIMemo->isReadOnly());
  EXPECT_EQ(cards->PCIMemo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  EXPECT_EQ(cards->PCIMemo->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);

  EXPECT_EQ(cards->CloseButton->objectName(), QStringLiteral("CloseButton"));
  EXPECT_EQ(cards->CloseButton->text(), QStringLiteral("Close"));
  EXPECT_EQ(cards->focusWidget(), cards->CloseButton);

  // Placed from the new window's width, then moved with the memo by the fit; not centred
  // again afterwards.
  const QRect button((newWindowWidth - 73) / 2, 105, 73, 25);
  const QRect memo(8, 8, 305, 89);
  const QRect bounds = button.united(memo);
  EXPECT_EQ(cards->size(), bounds.size());
  EXPECT_EQ(cards->PCIMemo->geometry(), memo.translated(-bounds.topLeft()));
  EXPECT_EQ(cards->CloseButton->geometry(), button.translated(-bounds.topLeft()));
  EXPECT_EQ(Anchors(cards->PCIMemo), akLeft | akTop | akRight | akBottom);
  EXPECT_EQ(Anchors(cards->CloseButton), TAnchors(akBottom));
}

struct HideCase {
  const char* name;
  void (*act)(TPCIForm*);
};

class InstalledCardsHide : public ::testing::TestWithParam<HideCase> {};

TEST_P(InstalledCardsHide, HidesAndTheMenuEntryShowsItAgainUnchanged) {
  BoundDriver driver(1);
  Page page({QStringLiteral("&File")}, {QStringLiteral("Card zero")});
  page.Build();
  TPCIForm* cards = page.Cards();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(cards));
  const QSize size = cards->size();
  GetParam().act(cards);
  EXPECT_FALSE(cards->isVisible());
  page.Commands(0)[0]->trigger();
  EXPECT_TRUE(cards->isVisible());
  EXPECT_EQ(page.supporter->PCIForm(), cards);
  EXPECT_EQ(page.Memo(), QStringLiteral("Card zero"));
  EXPECT_EQ(cards->size(), size);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, InstalledCardsHide,
    ::testing::Values(HideCase{"close_button",
                               [](TPCIForm* f) { QTest::mouseClick(f->CloseButton, Qt::LeftButton); }},
                      HideCase{"escape", [](TPCIForm* f) { QTest::keyClick(f, Qt::Key_Escape); }},
                      HideCase{"close_box", [](TPCIForm* f) { f->close(); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(InstalledCards, HelpTextNamesTheMenuEntry) {
  BoundDriver driver(1);
  Page page({QStringLiteral("&File")}, {QStringLiteral("Card zero")});
  page.Build();
  const QString help = page.supporter->HelpForm()->HelpRich->toPlainText();
  EXPECT_TRUE(help.endsWith(QStringLiteral("To see a list of NB-QUADPORT cards installed, click \"") +
                            page.Commands(0)[0]->text() + QStringLiteral("\" under the File menu.\n\n")));
}

TEST(InstalledCards, AHandlerThatThrowsEndsTheBuildingAndIsReported) {
  MessageBoxRecorder boxes;
  BoundDriver driver(3);
  Page page;
  page.supporter->SetOnGetCardString([&](QObject*, std::int32_t index) -> QString {
    page.asked.push_back(index);
    if (index == 1) throw std::runtime_error("card 1 unreadable");
    return QStringLiteral("Card %1").arg(index);
  });
  Application().SetOnIdle([&](QObject* sender, bool& done) { page.supporter->FirstIdle(sender, done); });
  ASSERT_TRUE(RunUntil([&] { return !boxes.Boxes().empty(); }));
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_EQ(boxes.Boxes()[0].text, QStringLiteral("card 1 unreadable."));
  EXPECT_EQ(boxes.Boxes()[0].flags, MB_OK | MB_ICONHAND);
  EXPECT_FALSE(Application().OnIdle());
  EXPECT_EQ(page.asked, (std::vector<std::int32_t>{0, 1}));
  // What was built before stays; the header gets no caption and the help does not open.
  EXPECT_EQ(page.Memo(), QStringLiteral("Card 0"));
  EXPECT_EQ(page.Header(), QString());
  EXPECT_FALSE(page.supporter->findChild<TMessageTimer*>()->IsActive());
  EXPECT_FALSE(page.supporter->HelpForm()->isVisible());
  // The program goes on: the menu entry still works.
  page.Cards()->hide();
  page.Commands(0)[0]->trigger();
  EXPECT_TRUE(page.Cards()->isVisible());
}

}  // namespace
