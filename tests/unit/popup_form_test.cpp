#include "setupctrls/popup_form.h"

#include <gtest/gtest.h>

#include <QCursor>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "platform/anchors.h"
#include "setupctrls/board_highlight.h"
#include "setupctrls/board_image.h"
#include "setupctrls/radio_panel.h"
#include "support/test_support.h"

namespace {

constexpr QSize kScreen(1024, 600);

// These tests run on a small configured screen, so that keeping popups on it shows.
// The platform reads its configuration when the application starts, after this.
[[maybe_unused]] const bool kScreenConfigured = [] {
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() /
      ("popup_form_test_screen_" + std::to_string(QCoreApplication::applicationPid()) + ".json");
  std::ofstream(path) << R"({"screens":[{"name":"small","x":0,"y":0,"width":)" << kScreen.width()
                      << R"(,"height":)" << kScreen.height()
                      << R"(,"logicalDpi":96,"logicalBaseDpi":96,"dpr":1}]})";
  qputenv("QT_QPA_PLATFORM", QByteArray("offscreen:configfile=") + path.string().c_str());
  return true;
}();

constexpr QPoint kNowhere(1010, 590);

// A main window whose board image was designed at (142, 74); its panels are designed on
// the main window's client area.
struct Page {
  std::unique_ptr<QMainWindow> form = std::make_unique<QMainWindow>();
  QWidget* client = new QWidget;
  TBoardImage* board = new TBoardImage(client);

  Page() {
    form->setCentralWidget(client);
    board->SetCenterOnForm(false);
    board->SetAutoSize(false);
    board->setGeometry(142, 74, 300, 200);
    form->resize(480, 300);
    form->move(0, 0);
    QCursor::setPos(kNowhere);
  }

  TBoardHighlight* Circle(const QString& title, THighlightType type = htSettings,
                          QRect bounds = {20, 20, 65, 65}) {
    auto* circle = new TBoardHighlight(board);
    circle->setGeometry(bounds);
    circle->SetTitle(title);
    circle->SetHighlightType(type);
    return circle;
  }

  TRadioPanel* Panel(QRect designed, int memoHeight = 58) {
    auto* panel = new TRadioPanel(client);
    panel->setGeometry(designed);
    panel->SetMemoHeight(memoHeight);
    return panel;
  }

  // Shows the window; its first paint records the board's design position.
  void Show() {
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return board->PositionSaved(); }));
    Settle();
  }
};

TPopupForm* Hover(TBoardHighlight* circle) {
  circle->CMMouseEnter(0);
  Settle();
  return circle->Popup();
}

// --- Layout --------------------------------------------------------------------------------

struct LayoutCase {
  const char* name;
  QSize panel;
  int memoHeight;
  QSize client;
  QRect memo;
  int buttonTop;
  int lefts[3];
  int statusTop;
};

void PrintTo(const LayoutCase& c, std::ostream* os) { *os << c.name; }

class PopupLayout : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(PopupLayout, SizesAndPlacesTheControls) {
  const LayoutCase& c = GetParam();
  Page page;
  auto* circle = page.Circle("Mode Settings");
  auto* panel = page.Panel({300, 20, c.panel.width(), c.panel.height()}, c.memoHeight);
  circle->SetRadioPanel(panel);
  page.Show();
  TPopupForm* popup = Hover(circle);
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(popup->size(), c.client);
  EXPECT_EQ(popup->minimumSize(), c.client);
  EXPECT_EQ(popup->frameGeometry().size(), c.client.grownBy(popup->windowHandle()->frameMargins()));
  EXPECT_EQ(popup->StatusMemo()->geometry(), c.memo);
  const QPushButton* buttons[] = {popup->PreviousButton(), popup->NextButton(), popup->DoneButton()};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(buttons[i]->geometry(), QRect(c.lefts[i], c.buttonTop, 58, 25))
        << buttons[i]->objectName().toStdString();
  }
  EXPECT_EQ(popup->PopupStatus->geometry(), QRect(0, c.statusTop, c.client.width(), 19));
  EXPECT_EQ(panel->parentWidget(), popup);
  EXPECT_EQ(panel->geometry(), QRect(QPoint(0, 0), c.panel));
}

INSTANTIATE_TEST_SUITE_P(
    Panels, PopupLayout,
    ::testing::Values(
        LayoutCase{"panel_201_by_200", {201, 200}, 58, {201, 309}, {6, 201, 189, 58}, 265, {6, 71, 137}, 290},
        LayoutCase{"panel_194_by_9", {194, 9}, 58, {194, 118}, {6, 10, 182, 58}, 74, {6, 68, 130}, 99},
        LayoutCase{"tall_memo", {240, 50}, 100, {240, 201}, {6, 51, 228, 100}, 157, {6, 91, 176}, 182}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PopupForm, WithoutAPanelIsOuterSizedBelowTheBoard) {
  Page page;
  auto* circle = page.Circle("LED info", htOptions);
  page.Show();
  TPopupForm* popup = Hover(circle);
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(popup->frameGeometry().size(), QSize(194, 141));
  EXPECT_EQ(popup->frameGeometry().topLeft(), QPoint(142, 74 + 200 + 38));
  EXPECT_EQ(popup->StatusMemo()->height(), 58);
  EXPECT_EQ(popup->StatusMemo()->geometry().bottom() + 1 + 6, popup->DoneButton()->y());
  EXPECT_TRUE(popup->StatusMemo()->toPlainText().isEmpty());
  EXPECT_EQ(popup->PopupStatus->y(), popup->height() - 19);
  EXPECT_EQ(popup->minimumSize(), popup->size());
  // The focus goes to Done when there is no panel.
  EXPECT_TRUE(QTest::qWaitFor([&] { return popup->DoneButton()->hasFocus(); }));
}

TEST(PopupForm, CreationSettingsAndContents) {
  Page page;
  auto* circle = page.Circle("&Mode Settings", htCalibration);
  auto* panel = page.Panel({300, 20, 201, 200});
  panel->SetLines({"First line", "Second line"});
  panel->SetFinalAnchors(akLeft | akTop | akRight);
  int activations = 0;
  int deactivations = 0;
  QObject* sender = nullptr;
  panel->SetOnActivate([&](QObject* s) {
    ++activations;
    sender = s;
  });
  panel->SetOnDeactivate([&](QObject*) { ++deactivations; });
  circle->SetRadioPanel(panel);
  page.Show();
  TPopupForm* popup = Hover(circle);
  ASSERT_NE(popup, nullptr);

  EXPECT_EQ(popup->windowTitle(), "Mode Settings");
  EXPECT_EQ(popup->Tag(), 2);
  EXPECT_EQ(popup->property("Tag").toInt(), 2);
  EXPECT_TRUE(popup->isWindow());
  EXPECT_EQ(popup->windowType(), Qt::Tool);
  EXPECT_TRUE(popup->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_EQ(popup->parent(), circle);
  EXPECT_EQ(popup->Highlight(), circle);

  struct Named {
    const char* name;
    QString caption;
    TAnchors anchors;
  };
  const Named named[] = {{"PopupStatus", QString(), akLeft | akRight | akBottom},
                         {"PreviousButton", "Previous", akLeft | akBottom},
                         {"NextButton", "Next", akBottom},
                         {"DoneButton", "Done", akRight | akBottom},
                         {"StatusMemo", QString(), akLeft | akTop | akRight | akBottom}};
  for (const Named& n : named) {
    auto* control = popup->findChild<QWidget*>(n.name, Qt::FindDirectChildrenOnly);
    ASSERT_NE(control, nullptr) << n.name;
    EXPECT_EQ(Anchors(control), n.anchors) << n.name;
    if (auto* button = qobject_cast<QPushButton*>(control)) {
      EXPECT_EQ(button->text(), n.caption);
    }
  }
  // Created in the order of the table, after the panel.
  QStringList order;
  for (QObject* child : popup->children()) {
    if (qobject_cast<QWidget*>(child) != nullptr) order << child->objectName();
  }
  EXPECT_EQ(order.mid(order.indexOf("PopupStatus")),
            QStringList({"PopupStatus", "PreviousButton", "NextButton", "DoneButton", "StatusMemo"}));

  EXPECT_TRUE(popup->StatusMemo()->isReadOnly());
  EXPECT_EQ(popup->StatusMemo()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  EXPECT_EQ(popup->StatusMemo()->toPlainText(), "First line\nSecond line");
  EXPECT_TRUE(panel->isVisible());
  EXPECT_TRUE(panel->InPopup());
  EXPECT_EQ(Anchors(panel), akLeft | akTop | akRight);
  EXPECT_TRUE(QTest::qWaitFor([&] { return panel->hasFocus(); }));
  EXPECT_TRUE(QTest::qWaitFor([&] { return activations > 0; }));
  EXPECT_EQ(sender, popup);

  // The anchors keep the layout as the user enlarges the window.
  popup->resize(popup->width() + 40, popup->height() + 30);
  EXPECT_EQ(popup->DoneButton()->geometry(), QRect(137 + 40, 265 + 30, 58, 25));
  EXPECT_EQ(popup->PreviousButton()->geometry(), QRect(6, 265 + 30, 58, 25));
  EXPECT_EQ(popup->StatusMemo()->geometry(), QRect(6, 201, 189 + 40, 58 + 30));
  EXPECT_EQ(popup->PopupStatus->geometry(), QRect(0, 290 + 30, 241, 19));
  EXPECT_EQ(panel->width(), 241);

  // Closing only hides; the panel stays for good.
  popup->DoneButton()->click();
  Settle();
  EXPECT_FALSE(popup->isVisible());
  EXPECT_EQ(panel->parentWidget(), popup);
  EXPECT_TRUE(QTest::qWaitFor([&] { return deactivations > 0; }));
}

// --- Placement -----------------------------------------------------------------------------

TEST(PopupForm, OpensWhereThePanelWasDesignedMovedWithTheBoard) {
  Page page;
  auto* circle = page.Circle("Mode Settings");
  circle->SetRadioPanel(page.Panel({624, 193, 201, 200}));
  page.Show();
  ASSERT_EQ(QPoint(page.board->DesignLeft(), page.board->DesignTop()), QPoint(142, 74));
  // The board has since been centred somewhere else.
  const QPoint centred(216, 40);
  page.board->move(centred);
  TPopupForm* popup = Hover(circle);
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(popup->frameGeometry().topLeft(), centred + QPoint(482, 119));
  EXPECT_EQ(popup->WindowRect(), popup->frameGeometry());
}

struct ScreenCase {
  const char* name;
  QRect panel;  // as designed on the main window
  // Expected outer top-left; a coordinate of kFromEdge means "screen size minus outer size".
  QPoint expected;
};

constexpr int kFromEdge = 100000;

void PrintTo(const ScreenCase& c, std::ostream* os) { *os << c.name; }

class PopupKeptOnScreen : public ::testing::TestWithParam<ScreenCase> {};

TEST_P(PopupKeptOnScreen, OnePassOverEachAxis) {
  const ScreenCase& c = GetParam();
  ASSERT_EQ(QGuiApplication::primaryScreen()->geometry().size(), kScreen);
  Page page;
  auto* circle = page.Circle("Mode Settings");
  circle->SetRadioPanel(page.Panel(c.panel));
  page.Show();
  TPopupForm* popup = Hover(circle);
  ASSERT_NE(popup, nullptr);
  const QRect outer = popup->frameGeometry();
  const QPoint expected(c.expected.x() == kFromEdge ? kScreen.width() - outer.width() : c.expected.x(),
                        c.expected.y() == kFromEdge ? kScreen.height() - outer.height() : c.expected.y());
  EXPECT_EQ(outer.topLeft(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PopupKeptOnScreen,
    ::testing::Values(ScreenCase{"fits", {500, 100, 201, 200}, {500, 100}},
                      ScreenCase{"past_the_right_edge", {900, 50, 201, 200}, {kFromEdge, 50}},
                      ScreenCase{"past_the_bottom", {100, 400, 201, 200}, {100, kFromEdge}},
                      ScreenCase{"past_both", {950, 500, 201, 200}, {kFromEdge, kFromEdge}},
                      ScreenCase{"before_the_left_and_top", {-30, -20, 201, 200}, {0, 0}},
                      ScreenCase{"wider_than_the_screen", {10, 10, 1100, 100}, {kFromEdge, 10}},
                      ScreenCase{"wider_and_left_of_the_screen", {-30, 10, 1100, 100}, {0, 10}},
                      ScreenCase{"taller_than_the_screen", {10, 10, 201, 520}, {10, kFromEdge}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PopupForm, ShowsAgainWhereTheUserLeftIt) {
  Page page;
  auto* circle = page.Circle("Mode Settings");
  circle->SetRadioPanel(page.Panel({500, 100, 201, 200}));
  page.Show();
  TPopupForm* popup = Hover(circle);
  ASSERT_NE(popup, nullptr);
  popup->move(300, 200);
  popup->resize(260, 330);
  Settle();
  popup->close();
  Settle();
  ASSERT_FALSE(popup->isVisible());
  EXPECT_EQ(Hover(circle), popup);
  EXPECT_TRUE(popup->isVisible());
  EXPECT_EQ(popup->frameGeometry().topLeft(), QPoint(300, 200));
  EXPECT_EQ(popup->size(), QSize(260, 330));
}

// --- Finding an existing window ------------------------------------------------------------

struct ClaimCase {
  const char* name;
  const char* caption;
  int tag;
  bool visible;
  bool prevents;
};

void PrintTo(const ClaimCase& c, std::ostream* os) { *os << c.name; }

class PopupClaimedPlace : public ::testing::TestWithParam<ClaimCase> {};

TEST_P(PopupClaimedPlace, AWindowOfTheSameCaptionAndTagPreventsCreation) {
  const ClaimCase& c = GetParam();
  Page page;
  auto* circle = page.Circle("&Mode Settings", htSettings);
  page.Show();
  auto other = std::make_unique<QWidget>();
  other->setWindowTitle(c.caption);
  other->setProperty("Tag", c.tag);
  other->setVisible(c.visible);
  EXPECT_EQ(Hover(circle) == nullptr, c.prevents);
  EXPECT_TRUE(circle->Hot());
}

INSTANTIATE_TEST_SUITE_P(Cases, PopupClaimedPlace,
                         ::testing::Values(ClaimCase{"same_hidden", "Mode Settings", 1, false, true},
                                           ClaimCase{"same_visible", "Mode Settings", 1, true, true},
                                           ClaimCase{"other_tag", "Mode Settings", 0, false, false},
                                           ClaimCase{"other_case", "Mode settings", 1, false, false},
                                           ClaimCase{"with_ampersand", "&Mode Settings", 1, false, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PopupForm, LinkedCirclesShareTheFirstOnesPopup) {
  Page page;
  auto* a = page.Circle("Mode Settings", htSettings, {20, 20, 65, 65});
  auto* b = page.Circle("Mode Settings", htSettings, {120, 20, 65, 65});
  page.Show();
  TPopupForm* popup = Hover(b);
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(a->Popup(), nullptr);
  EXPECT_TRUE(a->Hot());
  popup->close();
  Settle();
  a->CMMouseEnter(0);
  Settle();
  EXPECT_EQ(a->Popup(), nullptr);
  EXPECT_TRUE(popup->isVisible());
}

// --- Activation, closing and the mouse leaving the popup -------------------------------------

TEST(PopupForm, ActivationReachesTheCircleAndItsLinkedCircles) {
  Page page;
  auto* a = page.Circle("Mode Settings", htSettings, {20, 20, 65, 65});
  auto* b = page.Circle("Mode Settings", htSettings, {120, 20, 65, 65});
  page.Show();
  ASSERT_NE(Hover(a), nullptr);
  EXPECT_TRUE(QTest::qWaitFor([&] { return a->PopupActive() && b->PopupActive(); }));
  page.form->activateWindow();
  EXPECT_TRUE(QTest::qWaitFor([&] { return !a->PopupActive() && !b->PopupActive(); }));
}

TEST(PopupForm, CloseHandlerDecidesWhetherItHides) {
  Page page;
  auto* circle = page.Circle("Mode Settings");
  page.Show();
  TPopupForm* popup = Hover(circle);
  ASSERT_NE(popup, nullptr);
  int closes = 0;
  popup->SetOnClose([&](QObject* sender, TCloseAction& action) {
    EXPECT_EQ(sender, popup);
    EXPECT_EQ(action, caHide);
    ++closes;
    action = caNone;
  });
  popup->close();
  EXPECT_EQ(closes, 1);
  EXPECT_TRUE(popup->isVisible());
  popup->SetOnClose([&](QObject*, TCloseAction&) { ++closes; });
  popup->close();
  EXPECT_EQ(closes, 2);
  EXPECT_FALSE(popup->isVisible());
}

struct EdgeCase {
  const char* name;
  int dx, dy;  // from the outer top-left; kRight / kBottom mean the outer width / height
  bool inside;
};

constexpr int kRight = 10000;
constexpr int kBottom = 10000;

void PrintTo(const EdgeCase& c, std::ostream* os) { *os << c.name; }

class PopupLeaveRule : public ::testing::TestWithParam<EdgeCase> {};

// Left and top edges count as inside, right and bottom edges as outside.
TEST_P(PopupLeaveRule, ClosesAnEnteredPopupOnlyWithTheCursorOutside) {
  const EdgeCase& c = GetParam();
  Page page;
  auto* circle = page.Circle("Mode Settings");
  page.Show();
  TPopupForm* popup = Hover(circle);
  ASSERT_NE(popup, nullptr);
  const QRect outer = popup->frameGeometry();
  const QPoint point(outer.left() + (c.dx >= kRight / 2 ? outer.width() + c.dx - kRight : c.dx),
                     outer.top() + (c.dy >= kBottom / 2 ? outer.height() + c.dy - kBottom : c.dy));
  popup->SetEntered(false);
  QCursor::setPos(point);
  popup->CMMouseLeave();
  EXPECT_TRUE(popup->isVisible()) << "not entered: never closes";
  popup->SetEntered(true);
  popup->CMMouseLeave();
  EXPECT_EQ(popup->isVisible(), c.inside);
}

INSTANTIATE_TEST_SUITE_P(
    Edges, PopupLeaveRule,
    ::testing::Values(EdgeCase{"top_left_corner", 0, 0, true}, EdgeCase{"caption", 30, 1, true},
                      EdgeCase{"last_column", kRight - 1, 20, true},
                      EdgeCase{"right_edge", kRight, 20, false}, EdgeCase{"last_row", 20, kBottom - 1, true},
                      EdgeCase{"bottom_edge", 20, kBottom, false}, EdgeCase{"left_of_it", -1, 20, false},
                      EdgeCase{"above_it", 20, -1, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PopupForm, MovingOntoAButtonDoesNotCloseLeavingAControlOutwardsDoes) {
  Page page;
  auto* circle = page.Circle("Mode Settings");
  circle->SetRadioPanel(page.Panel({500, 100, 201, 200}));
  page.Show();
  QCursor::setPos(circle->mapToGlobal(circle->rect().center()));
  Settle();
  TPopupForm* popup = circle->Popup();
  ASSERT_NE(popup, nullptr);
  QCursor::setPos(popup->frameGeometry().center());
  Settle();
  ASSERT_TRUE(popup->Entered());

  QPushButton* done = popup->DoneButton();
  QCursor::setPos(done->mapToGlobal(done->rect().center()));
  Settle();
  EXPECT_TRUE(popup->isVisible());
  QCursor::setPos(popup->frameGeometry().center());
  Settle();
  EXPECT_TRUE(popup->isVisible());

  // The button reports the mouse leaving it toward the outside: the popup closes.
  QCursor::setPos(done->mapToGlobal(done->rect().center()));
  Settle();
  QCursor::setPos(kNowhere);
  QEvent leave(QEvent::Leave);
  QCoreApplication::sendEvent(done, &leave);
  EXPECT_FALSE(popup->isVisible());
  EXPECT_FALSE(circle->Hot());
  Settle();
}

TEST(PopupForm, ControlsAddedLaterAlsoReportLeaving) {
  Page page;
  auto* circle = page.Circle("Mode Settings");
  auto* panel = page.Panel({500, 100, 201, 200});
  circle->SetRadioPanel(panel);
  page.Show();
  TPopupForm* popup = Hover(circle);
  ASSERT_NE(popup, nullptr);
  auto* late = new QPushButton("Late", panel);
  late->show();
  Settle();
  popup->SetEntered(true);
  QCursor::setPos(kNowhere);
  QEvent leave(QEvent::Leave);
  QCoreApplication::sendEvent(late, &leave);
  EXPECT_FALSE(popup->isVisible());
  Settle();
}

}  // namespace
