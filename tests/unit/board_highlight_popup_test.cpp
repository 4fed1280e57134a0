#include "setupctrls/board_highlight.h"

#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>
#include <QWindow>
#include <memory>
#include <vector>

#include "support/highlight_page.h"

namespace {

// --- The transition table, driven by real mouse moves --------------------------------------

enum class Act {
  EnterA,
  EnterB,
  IntoPopup,
  Elsewhere,
  Outside,
  ClickA,
  ClickB,
  MenuEntry,
  Tour,
  Done,
  CloseBox,
  BackOntoA,
  ActivateMain
};

struct Expect {
  bool hot;
  bool shown;
  int pinned;  // -1: either
  bool entered;
  bool checked;
  int clicks;
  int hides;
  TLook look;
};

struct TransitionCase {
  const char* name;
  std::vector<Act> before;
  Act act;
  Expect expect;
};

// The offscreen platform sends an Enter to the window under the pointer whenever another
// window hides, even when the pointer never left it. A real window system does not; this
// filter drops such repeats so that the tests see the enters a user's pointer makes.
class PointerModel : public QObject {
 public:
  explicit PointerModel(QWindow* window) { window->installEventFilter(this); }
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Enter) {
      if (FInside) return true;
      FInside = true;
    } else if (event->type() == QEvent::Leave) {
      FInside = false;
    }
    return false;
  }

 private:
  bool FInside = false;
};

// Two linked circles A and B sharing a panel, and three that differ from them by one
// character, by letter case and by type.
struct TransitionPage : Page {
  TBoardHighlight* a = Circle("Mode Settings", htSettings, {10, 10, 65, 65});
  TBoardHighlight* b = Circle("Mode Settings", htSettings, {110, 10, 65, 65});
  std::vector<TBoardHighlight*> strangers{Circle("Mode Setting", htSettings, {10, 110, 40, 40}),
                                          Circle("Mode settings", htSettings, {110, 110, 40, 40}),
                                          Circle("Mode Settings", htOptions, {200, 110, 40, 40})};
  int clicks = 0;

  TransitionPage() {
    TRadioPanel* panel = Panel();
    a->SetRadioPanel(panel);
    b->SetRadioPanel(panel);
    a->SetOnClick([this](QObject*) { ++clicks; });
    b->SetOnClick([this](QObject*) { ++clicks; });
    board->SetFirst(a);
    form->winId();
    pointer = std::make_unique<PointerModel>(form->windowHandle());
  }

  std::unique_ptr<PointerModel> pointer;

  TBoardHighlight* Owner() const { return b->Popup() != nullptr ? b : a; }
  TPopupForm* Popup() const { return Owner()->Popup(); }

  QAction* Entry() const {
    for (QAction* top : menu->actions()) {
      if (top->text() != "&Settings") continue;
      for (QAction* item : top->menu()->actions()) {
        if (item->text() == "Mode Settings") return item;
      }
    }
    return nullptr;
  }

  void Perform(Act act) {
    switch (act) {
      case Act::EnterA: QCursor::setPos(Global(a)); break;
      case Act::EnterB: QCursor::setPos(Global(b)); break;
      case Act::IntoPopup: QCursor::setPos(Popup()->frameGeometry().center()); break;
      case Act::Elsewhere: QCursor::setPos(board->mapToGlobal(QPoint(270, 40))); break;
      case Act::Outside: QCursor::setPos(kNowhere); break;
      case Act::ClickA: QTest::mouseClick(a, Qt::LeftButton); break;
      case Act::ClickB:
        // The mouse goes there first, as a user's would.
        QCursor::setPos(Global(b));
        Settle();
        QTest::mouseClick(b, Qt::LeftButton);
        break;
      case Act::MenuEntry: Entry()->trigger(); break;
      case Act::Tour: {
        QEvent tour(WM_STARTTOUR);
        QCoreApplication::sendEvent(board, &tour);
        break;
      }
      case Act::Done: Popup()->DoneButton()->click(); break;
      case Act::CloseBox: Popup()->close(); break;
      case Act::BackOntoA: QCursor::setPos(Global(a)); break;
      case Act::ActivateMain: form->activateWindow(); break;
    }
    Settle();
  }
};

void PrintTo(const TransitionCase& c, std::ostream* os) { *os << c.name; }

class BoardHighlightTransitions : public ::testing::TestWithParam<TransitionCase> {};

class HideCounter : public QObject {
 public:
  int count = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Hide) ++count;
    return false;
  }
};

TEST_P(BoardHighlightTransitions, FollowTheTable) {
  const TransitionCase& c = GetParam();
  TransitionPage page;
  page.Show();
  for (Act act : c.before) page.Perform(act);
  HideCounter hides;
  if (page.Popup() != nullptr) page.Popup()->installEventFilter(&hides);
  const int clicksBefore = page.clicks;
  page.Perform(c.act);

  const Expect& e = c.expect;
  const auto matches = [&] {
    TPopupForm* popup = page.Popup();
    return page.a->Hot() == e.hot && page.b->Hot() == e.hot && popup != nullptr &&
           popup->isVisible() == e.shown && (e.pinned < 0 || page.Owner()->Pinned() == (e.pinned == 1)) &&
           popup->Entered() == e.entered && page.Entry()->isChecked() == e.checked &&
           page.a->ChosenLook() == e.look && page.b->ChosenLook() == e.look;
  };
  EXPECT_TRUE(QTest::qWaitFor(matches, 5000))
      << "hot " << page.a->Hot() << page.b->Hot() << " shown " << (page.Popup() && page.Popup()->isVisible())
      << " pinned " << page.Owner()->Pinned() << " entered " << (page.Popup() && page.Popup()->Entered())
      << " checked " << page.Entry()->isChecked() << " look " << int(page.a->ChosenLook())
      << int(page.b->ChosenLook());
  EXPECT_EQ(page.clicks - clicksBefore, e.clicks);
  EXPECT_EQ(hides.count, e.hides);
  for (const TBoardHighlight* stranger : page.strangers) EXPECT_FALSE(stranger->Hot());
  // Linked circles share the one popup; the other circle never makes its own.
  EXPECT_TRUE(page.a->Popup() == nullptr || page.b->Popup() == nullptr);
}

constexpr Expect kIdle{false, false, -1, false, false, 0, 1, TLook::Normal};
constexpr Expect kHovered{true, true, 0, false, false, 0, 0, TLook::Glint};
constexpr Expect kEntered{true, true, 1, true, true, 0, 0, TLook::Glint};
constexpr Expect kPinned{true, true, 1, false, true, 0, 0, TLook::Glint};

Expect With(Expect e, int clicks, int hides) {
  e.clicks = clicks;
  e.hides = hides;
  return e;
}

INSTANTIATE_TEST_SUITE_P(
    Table, BoardHighlightTransitions,
    ::testing::Values(
        TransitionCase{"idle_enter", {}, Act::EnterA, kHovered},
        TransitionCase{"idle_enter_linked", {}, Act::EnterB, kHovered},
        TransitionCase{"hovered_leave_into_popup", {Act::EnterA}, Act::IntoPopup, kEntered},
        TransitionCase{"hovered_leave_elsewhere", {Act::EnterA}, Act::Elsewhere, kIdle},
        TransitionCase{"hovered_to_linked_circle", {Act::EnterA}, Act::EnterB, With(kHovered, 0, 1)},
        TransitionCase{"hovered_click", {Act::EnterA}, Act::ClickA, With(kPinned, 1, 0)},
        TransitionCase{"hovered_click_linked", {Act::EnterA}, Act::ClickB, With(kPinned, 1, 1)},
        TransitionCase{"idle_menu_entry", {}, Act::MenuEntry, kPinned},
        TransitionCase{"hovered_menu_entry", {Act::EnterA}, Act::MenuEntry, kPinned},
        TransitionCase{"idle_after_close_menu_entry", {Act::EnterA, Act::Elsewhere}, Act::MenuEntry, kPinned},
        TransitionCase{"idle_tour", {}, Act::Tour, With(kPinned, 1, 0)},
        TransitionCase{"entered_leave_popup", {Act::EnterA, Act::IntoPopup}, Act::Outside, kIdle},
        TransitionCase{
            "entered_back_onto_circle", {Act::EnterA, Act::IntoPopup}, Act::BackOntoA, With(kHovered, 0, 1)},
        TransitionCase{"pinned_leave_circle", {Act::EnterA, Act::ClickA}, Act::Elsewhere, kPinned},
        TransitionCase{"pinned_through_popup_and_out",
                       {Act::EnterA, Act::ClickA, Act::IntoPopup},
                       Act::Outside,
                       kPinned},
        TransitionCase{"pinned_click_again", {Act::EnterA, Act::ClickA}, Act::ClickA, With(kPinned, 1, 0)},
        TransitionCase{"hovered_done", {Act::EnterA}, Act::Done, kIdle},
        TransitionCase{"entered_done", {Act::EnterA, Act::IntoPopup}, Act::Done, kIdle},
        TransitionCase{"pinned_close_box", {Act::EnterA, Act::ClickA}, Act::CloseBox, kIdle},
        TransitionCase{"pinned_checked_menu_entry", {Act::EnterA, Act::ClickA}, Act::MenuEntry, kIdle},
        TransitionCase{"hovered_main_window_activated",
                       {Act::EnterA},
                       Act::ActivateMain,
                       Expect{true, true, 0, false, false, 0, 0, TLook::Bright}}),
    [](const auto& info) { return std::string(info.param.name); });

// --- Further interaction rules --------------------------------------------------------------

// Pinning a popup that was closed while the mouse stayed on its circle brings it back,
// pinned, with the group lit.
TEST(BoardHighlight, PinningAHiddenPopupShowsItAgain) {
  TransitionPage page;
  page.Show();
  page.Perform(Act::EnterA);
  ASSERT_NE(page.a->Popup(), nullptr);
  page.a->Popup()->close();  // say from the keyboard; the mouse is still on the circle
  Settle();
  ASSERT_FALSE(page.a->Popup()->isVisible());
  page.a->Click();
  Settle();
  EXPECT_TRUE(page.a->Popup()->isVisible());
  EXPECT_TRUE(page.a->Pinned());
  EXPECT_TRUE(page.a->Hot());
  EXPECT_TRUE(page.b->Hot());
  EXPECT_TRUE(page.Entry()->isChecked());
  EXPECT_TRUE(QTest::qWaitFor([&] { return page.a->ChosenLook() == TLook::Glint; }));
}

TEST(BoardHighlight, WithoutPopupsTheCircleStaysHot) {
  Page page;
  auto* circle = page.Circle("Mode Settings", htSettings, {10, 10, 65, 65});
  circle->SetCreatePopup(false);
  page.Show();
  QCursor::setPos(page.Global(circle));
  Settle();
  QCursor::setPos(kNowhere);
  Settle();
  EXPECT_TRUE(circle->Hot());
  EXPECT_EQ(circle->Popup(), nullptr);
  EXPECT_EQ(circle->ChosenLook(), TLook::Bright);
}

TEST(BoardHighlight, DestroyingACircleWithAnOpenPopupIsClean) {
  TransitionPage page;
  page.Show();
  page.Perform(Act::EnterA);
  ASSERT_NE(page.a->Popup(), nullptr);
  QPointer<TPopupForm> popup = page.a->Popup();
  delete page.a;
  EXPECT_TRUE(popup.isNull());
  Settle();
  // Its entry stays in the menu but opens nothing any more.
  page.Entry()->trigger();
  Settle();
  EXPECT_EQ(page.b->Popup(), nullptr);
  EXPECT_TRUE(page.form->findChildren<TPopupForm*>().isEmpty());
}

// --- Sizes once the real frame is known ----------------------------------------------------

TEST(BoardHighlight, PopupSizesFollowTheRealFrame) {
  Page page;
  auto* bare = page.Circle("LED info", htOptions, {10, 10, 65, 65});
  auto* flat = page.Circle("Mode Settings", htSettings, {110, 10, 65, 65});
  auto* panel = page.Panel();
  panel->resize(194, 9);
  flat->SetRadioPanel(panel);
  page.Show();

  bare->CMMouseEnter(0);
  TPopupForm* popup = bare->Popup();
  ASSERT_NE(popup, nullptr);
  // Without a frame the outer size is the client size: exactly 194 x 141, 38 below the board.
  EXPECT_TRUE(QTest::qWaitFor([&] { return popup->frameGeometry() == QRect(10, 10 + 200 + 38, 194, 141); }))
      << popup->frameGeometry().x() << "," << popup->frameGeometry().y() << " "
      << popup->frameGeometry().width() << "x" << popup->frameGeometry().height();
  EXPECT_EQ(popup->minimumSize(), QSize(194, 141));
  EXPECT_EQ(popup->DoneButton()->geometry(), QRect(194 - 64, 141 - 44, 58, 25));
  popup->close();

  flat->CMMouseEnter(0);
  popup = flat->Popup();
  ASSERT_NE(popup, nullptr);
  // 194 x 118 of client would be below the smallest outer height, 122.
  EXPECT_TRUE(QTest::qWaitFor([&] { return popup->frameGeometry() == QRect(450, 20, 194, 122); }))
      << popup->frameGeometry().x() << "," << popup->frameGeometry().y() << " "
      << popup->frameGeometry().width() << "x" << popup->frameGeometry().height();
  EXPECT_EQ(popup->minimumSize(), QSize(194, 122));
}

}  // namespace
