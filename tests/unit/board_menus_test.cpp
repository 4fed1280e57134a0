#include <gtest/gtest.h>

#include <QAction>
#include <QCursor>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "platform/component_names.h"
#include "setupctrls/board_highlight.h"
#include "setupctrls/board_image.h"
#include "support/test_support.h"

namespace {

// A main window with a menu bar of the given top-level captions and a board image.
struct Page {
  std::unique_ptr<QMainWindow> form = std::make_unique<QMainWindow>();
  QWidget* client = new QWidget;
  QMenuBar* bar = new QMenuBar;
  TBoardImage* board = new TBoardImage(client);

  explicit Page(const QStringList& captions = {"&File", "&Help"}) {
    form->setCentralWidget(client);
    form->setMenuBar(bar);
    for (const QString& caption : captions) bar->addMenu(new QMenu(caption, form.get()));
    board->SetCenterOnForm(false);
    board->SetAutoSize(false);
    board->setGeometry(10, 10, 400, 100);
    board->SetMenu(bar);
    form->resize(440, 200);
    form->move(0, 0);
    // Out of the way of every window: the navigation must not depend on the pointer.
    QCursor::setPos(790, 790);
  }

  TBoardHighlight* Circle(const QString& title, THighlightType type) {
    auto* circle = new TBoardHighlight(board);
    circle->setGeometry(10 + 45 * (board->children().size() - 1), 10, 40, 40);
    circle->SetTitle(title);
    circle->SetHighlightType(type);
    return circle;
  }

  void Show() {
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    const auto circles = board->findChildren<TBoardHighlight*>();
    ASSERT_TRUE(QTest::qWaitFor([&] {
      for (const TBoardHighlight* c : circles) {
        if (!c->FirstPaintDone()) return false;
      }
      return true;
    }));
  }

  QStringList BarCaptions() const {
    QStringList captions;
    for (const QAction* top : bar->actions()) captions << top->text();
    return captions;
  }

  QMenu* Menu(const QString& caption) const {
    for (const QAction* top : bar->actions()) {
      if (top->text() == caption) return top->menu();
    }
    return nullptr;
  }

  QStringList Entries(const QString& caption, bool names = false) const {
    QStringList entries;
    if (QMenu* menu = Menu(caption)) {
      for (const QAction* item : menu->actions()) entries << (names ? item->objectName() : item->text());
    }
    return entries;
  }

  QAction* Entry(const QString& caption, const QString& title) const {
    if (QMenu* menu = Menu(caption)) {
      for (QAction* item : menu->actions()) {
        if (item->text() == title) return item;
      }
    }
    return nullptr;
  }
};

class HideCounter : public QObject {
 public:
  explicit HideCounter(QWidget* widget) { widget->installEventFilter(this); }
  int count = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Hide) ++count;
    return false;
  }
};

// The circles of this product's page on its menu of "&File" and "&Help".
struct ProductPage : Page {
  TBoardHighlight* mode = Circle("Mode Settings", htSettings);
  TBoardHighlight* led = Circle("LED info", htOptions);
  TBoardHighlight* usb = Circle("USB Connector", htOptions);

  // Opens and pins a circle's popup as its menu entry does.
  void Open(TBoardHighlight* circle) {
    circle->MenuItemClick(circle);
    Settle();
  }

  bool IsOpenAndPinned(const TBoardHighlight* circle, const QString& menu) const {
    return circle->Popup() != nullptr && circle->Popup()->isVisible() && circle->Pinned() && circle->Hot() &&
           Entry(menu, circle->Title())->isChecked();
  }
};

TEST(BoardMenus, ProductPageListsItsCircles) {
  ProductPage page;
  page.Show();
  EXPECT_EQ(page.BarCaptions(), QStringList({"&File", "&Settings", "&Options", "&Help"}));
  EXPECT_EQ(page.Menu("&Settings")->objectName(), "Settings1");
  EXPECT_EQ(page.Menu("&Options")->objectName(), "Options1");
  EXPECT_EQ(page.Entries("&Settings"), QStringList({"Mode Settings"}));
  EXPECT_EQ(page.Entries("&Settings", true), QStringList({"ModeSettings1"}));
  EXPECT_EQ(page.Entries("&Options"), QStringList({"LED info", "USB Connector"}));
  EXPECT_EQ(page.Entries("&Options", true), QStringList({"LEDinfo1", "USBConnector1"}));
  // Items belong to the menu's owner, the main window.
  EXPECT_EQ(page.Menu("&Options")->parent(), page.form.get());
  EXPECT_EQ(page.Entry("&Options", "LED info")->parent(), page.form.get());
  EXPECT_FALSE(page.Entry("&Options", "LED info")->isChecked());
  for (TBoardHighlight* c : {page.mode, page.led, page.usb}) EXPECT_EQ(c->MainMenu(), page.bar);
}

struct OrderCase {
  const char* name;
  QStringList bar;
  std::vector<THighlightType> joins;
  QStringList expected;
};

void PrintTo(const OrderCase& c, std::ostream* os) { *os << c.name; }

class BoardMenusOrder : public ::testing::TestWithParam<OrderCase> {};

TEST_P(BoardMenusOrder, KindsStandInFixedOrderBeforeHelp) {
  const OrderCase& c = GetParam();
  Page page(c.bar);
  int n = 0;
  for (THighlightType type : c.joins) page.Circle(QString("Circle %1").arg(++n), type);
  page.Show();
  EXPECT_EQ(page.BarCaptions(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BoardMenusOrder,
    ::testing::Values(
        OrderCase{"reverse_joins",
                  {"&File", "&Help"},
                  {htOptions, htCalibration, htSettings},
                  {"&File", "&Settings", "&Calibration", "&Options", "&Help"}},
        OrderCase{"no_help", {"&File"}, {htCalibration, htOptions}, {"&File", "&Calibration", "&Options"}},
        OrderCase{"empty_bar", {}, {htOptions, htSettings}, {"&Settings", "&Options"}},
        OrderCase{"declared_options",
                  {"&File", "&Options", "&Help"},
                  {htSettings, htOptions},
                  {"&File", "&Settings", "&Options", "&Help"}},
        OrderCase{"help_first", {"&Help", "&File"}, {htOptions}, {"&Options", "&Help", "&File"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BoardMenus, NamesAreUniqueWithinTheOwnerWhateverTheCase) {
  Page page;
  (new QObject(page.form.get()))->setObjectName("settings1");
  (new QObject(page.client))->setObjectName("MODESETTINGS1");
  page.Circle("Mode Settings", htSettings);
  page.Circle("Mode Settings", htCalibration);
  page.Show();
  EXPECT_EQ(page.Menu("&Settings")->objectName(), "Settings2");
  EXPECT_EQ(page.Entries("&Settings", true), QStringList({"ModeSettings2"}));
  EXPECT_EQ(page.Entries("&Calibration", true), QStringList({"ModeSettings3"}));
  EXPECT_EQ(page.Menu("&Calibration")->objectName(), "Calibration1");
}

TEST(BoardMenus, ComponentNameHelper) {
  QObject owner;
  auto* child = new QObject(&owner);
  child->setObjectName("Item1");
  (new QObject(child))->setObjectName("iTEM2");
  EXPECT_TRUE(SameComponentName("Options1", "oPTIONS1"));
  EXPECT_FALSE(SameComponentName("Options1", "Options12"));
  EXPECT_FALSE(SameComponentName(QString::fromUtf8("Ä1"), QString::fromUtf8("ä1")));  // ASCII letters only
  EXPECT_EQ(UniqueComponentName(&owner, "Item"), "Item3");
  EXPECT_EQ(UniqueComponentName(&owner, "Other"), "Other1");
  owner.setObjectName("Self1");  // the owner is not one of its own components
  EXPECT_EQ(UniqueComponentName(&owner, "Self"), "Self1");
}

// A title without any identifier in it still gets a valid, unique component name.
TEST(BoardMenus, TitlesWithoutAnIdentifierGetAValidName) {
  Page page;
  page.Circle("123", htSettings);
  page.Circle("+-", htSettings);
  page.Circle("", htOptions);
  page.Show();
  EXPECT_EQ(page.Entries("&Settings"), QStringList({"123", "+-"}));
  EXPECT_EQ(page.Entries("&Settings", true), QStringList({"Item1", "Item2"}));
  // An empty title makes its menu but no entry.
  ASSERT_NE(page.Menu("&Options"), nullptr);
  EXPECT_TRUE(page.Entries("&Options").isEmpty());
}

// --- Choosing entries and walking through them --------------------------------------------

TEST(BoardMenus, NextAndPreviousWalkTheMenuAndWrap) {
  ProductPage page;
  page.Show();
  page.Open(page.led);
  ASSERT_TRUE(page.IsOpenAndPinned(page.led, "&Options"));

  page.led->Popup()->NextButton()->click();
  Settle();
  EXPECT_FALSE(page.led->Popup()->isVisible());
  EXPECT_FALSE(page.led->Hot());
  EXPECT_FALSE(page.Entry("&Options", "LED info")->isChecked());
  ASSERT_TRUE(page.IsOpenAndPinned(page.usb, "&Options"));

  page.usb->Popup()->NextButton()->click();
  Settle();
  ASSERT_TRUE(page.IsOpenAndPinned(page.led, "&Options"));
  EXPECT_FALSE(page.usb->Popup()->isVisible());

  page.led->Popup()->PreviousButton()->click();
  Settle();
  EXPECT_TRUE(page.IsOpenAndPinned(page.usb, "&Options"));
  EXPECT_FALSE(page.led->Popup()->isVisible());
  EXPECT_FALSE(page.mode->Hot());
}

TEST(BoardMenus, NextAndPreviousGoOppositeWays) {
  ProductPage page;
  TBoardHighlight* serial = page.Circle("Serial ports", htOptions);
  page.Show();
  ASSERT_EQ(page.Entries("&Options"), QStringList({"LED info", "USB Connector", "Serial ports"}));
  page.Open(page.led);
  page.led->Popup()->PreviousButton()->click();
  Settle();
  ASSERT_TRUE(page.IsOpenAndPinned(serial, "&Options"));
  EXPECT_FALSE(page.usb->Hot());
  serial->Popup()->NextButton()->click();
  Settle();
  ASSERT_TRUE(page.IsOpenAndPinned(page.led, "&Options"));
  page.led->Popup()->NextButton()->click();
  Settle();
  EXPECT_TRUE(page.IsOpenAndPinned(page.usb, "&Options"));
  EXPECT_FALSE(serial->Hot());
}

TEST(BoardMenus, TheOnlyEntryClosesAndReopens) {
  ProductPage page;
  page.Show();
  page.Open(page.mode);
  TPopupForm* popup = page.mode->Popup();
  ASSERT_NE(popup, nullptr);
  for (QPushButton* button : {popup->PreviousButton(), popup->NextButton()}) {
    HideCounter hides(popup);
    button->click();
    Settle();
    EXPECT_EQ(hides.count, 1) << button->objectName().toStdString();
    EXPECT_TRUE(page.IsOpenAndPinned(page.mode, "&Settings"));
  }
}

TEST(BoardMenus, ACheckedEntryClosesItsPopup) {
  ProductPage page;
  page.Show();
  QAction* entry = page.Entry("&Options", "USB Connector");
  entry->trigger();
  Settle();
  ASSERT_TRUE(page.IsOpenAndPinned(page.usb, "&Options"));
  entry->trigger();
  Settle();
  EXPECT_FALSE(page.usb->Popup()->isVisible());
  EXPECT_FALSE(entry->isChecked());
  EXPECT_FALSE(page.usb->Hot());
  entry->trigger();
  Settle();
  ASSERT_TRUE(page.IsOpenAndPinned(page.usb, "&Options"));
  page.usb->Popup()->DoneButton()->click();
  Settle();
  EXPECT_FALSE(page.usb->Popup()->isVisible());
  EXPECT_FALSE(entry->isChecked());
}

TEST(BoardMenus, LinkedCirclesShareOneEntry) {
  Page page;
  TBoardHighlight* first = page.Circle("LED info", htOptions);
  TBoardHighlight* second = page.Circle("LED info", htOptions);
  page.Show();
  EXPECT_EQ(page.Entries("&Options"), QStringList({"LED info"}));
  // The popup belongs to the second circle; the entry was made by the first.
  second->CMMouseEnter(0);
  second->Click();
  Settle();
  ASSERT_NE(second->Popup(), nullptr);
  EXPECT_EQ(first->Popup(), nullptr);
  QAction* entry = page.Entry("&Options", "LED info");
  EXPECT_TRUE(entry->isChecked());
  entry->trigger();
  Settle();
  EXPECT_FALSE(second->Popup()->isVisible());
  EXPECT_FALSE(entry->isChecked());
  EXPECT_FALSE(first->Hot());
  EXPECT_FALSE(second->Hot());
}

TEST(BoardMenus, ADeclaredMenuIsReusedAndItsOwnItemsAreSteppedOver) {
  Page page({"&File", "&Options", "&Help"});
  QMenu* declared = page.Menu("&Options");
  declared->addAction("Declared item");
  TBoardHighlight* led = page.Circle("LED info", htOptions);
  declared->addSeparator();
  TBoardHighlight* usb = page.Circle("USB Connector", htOptions);
  page.Show();
  EXPECT_EQ(page.BarCaptions(), QStringList({"&File", "&Options", "&Help"}));
  EXPECT_EQ(page.Menu("&Options"), declared);
  EXPECT_EQ(page.Entries("&Options"), QStringList({"Declared item", "", "LED info", "USB Connector"}));

  // Items without a circle behind them (the form's own item, a separator) are skipped.
  usb->MenuItemClick(usb);
  Settle();
  ASSERT_NE(usb->Popup(), nullptr);
  usb->Popup()->NextButton()->click();
  Settle();
  ASSERT_NE(led->Popup(), nullptr);
  EXPECT_TRUE(led->Popup()->isVisible());
  EXPECT_TRUE(led->Pinned());
  led->Popup()->PreviousButton()->click();
  Settle();
  EXPECT_TRUE(usb->Popup()->isVisible());
  EXPECT_FALSE(led->Popup()->isVisible());
}

TEST(BoardMenus, ATitleChangedAfterTheFirstPaintLosesItsEntry) {
  ProductPage page;
  page.Show();
  page.led->SetTitle("LED status");
  EXPECT_EQ(page.Entries("&Options"), QStringList({"LED info", "USB Connector"}));
  page.Open(page.led);
  TPopupForm* popup = page.led->Popup();
  ASSERT_NE(popup, nullptr);
  EXPECT_TRUE(popup->isVisible());
  EXPECT_EQ(popup->windowTitle(), "LED status");
  EXPECT_FALSE(page.Entry("&Options", "LED info")->isChecked());
  // Previous and Next find no entry and leave the popup open.
  popup->NextButton()->click();
  popup->PreviousButton()->click();
  Settle();
  EXPECT_TRUE(popup->isVisible());
  EXPECT_FALSE(page.usb->Hot());
}

TEST(BoardMenus, WithoutAMenuNothingIsListed) {
  Page page;
  page.board->SetMenu(nullptr);
  TBoardHighlight* circle = page.Circle("LED info", htOptions);
  page.Show();
  EXPECT_EQ(page.BarCaptions(), QStringList({"&File", "&Help"}));
  EXPECT_EQ(circle->MainMenu(), nullptr);
  circle->MenuItemClick(circle);
  Settle();
  ASSERT_NE(circle->Popup(), nullptr);
  circle->Popup()->NextButton()->click();
  Settle();
  EXPECT_TRUE(circle->Popup()->isVisible());
  circle->Popup()->DoneButton()->click();
  Settle();
  EXPECT_FALSE(circle->Popup()->isVisible());
}

}  // namespace
