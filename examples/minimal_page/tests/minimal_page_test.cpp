// The example page does what the architecture notes say it does: its circles are listed
// in the menu bar and open their popups when the mouse enters them, the jumper and the
// list in the settings popup follow each other, and the help window opens with its text.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QCursor>
#include <QPlainTextEdit>
#include <QTest>
#include <memory>
#include <ostream>

#include "examples/minimal_page/minimal_form.h"
#include "platform/application.h"
#include "setupctrls/board_highlight.h"
#include "setupctrls/board_image.h"
#include "setupctrls/popup_form.h"
#include "setupctrls/radio_panel.h"
#include "setupctrls/setup_supporter.h"
#include "setupctrls/two_jumper.h"
#include "support/test_support.h"

namespace {

// A fresh example page, shown and registered as the main form, with both circles
// painted once (which lists them in the menu bar).
struct ShownPage {
  MessageBoxRecorder boxes;
  std::unique_ptr<TMinimalForm> form = std::make_unique<TMinimalForm>();

  ShownPage() {
    Application().SetMainForm(form.get());
    // The pointer starts away from the window, so no circle is entered by the showing.
    QCursor::setPos(0, 0);
    form->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return form->TermHLT->FirstPaintDone() && form->portHLT->FirstPaintDone(); }, 5000));
  }
  ~ShownPage() {
    Application().SetOnIdle({});
    Application().SetMainForm(nullptr);
  }

  // Moves the mouse onto the middle of the circle, as a user hovering it would.
  TPopupForm* Hover(TBoardHighlight* circle) {
    QTest::mouseMove(form.get(), circle->mapTo(form.get(), circle->rect().center()));
    if (!QTest::qWaitFor([&] { return circle->Popup() != nullptr && circle->Popup()->isVisible(); }, 5000))
      return nullptr;
    return circle->Popup();
  }
};

QString Read(QObject* object, QAccessible::Text what) {
  QAccessibleInterface* face = QAccessible::queryAccessibleInterface(object);
  return face != nullptr ? face->text(what) : QStringLiteral("<none>");
}

QStringList Captions(const QList<QAction*>& actions) {
  QStringList captions;
  for (const QAction* a : actions) captions << a->text();
  return captions;
}

QStringList EntriesOf(QMenuBar* bar, const QString& caption) {
  for (QAction* top : bar->actions()) {
    if (top->text() == caption && top->menu() != nullptr) return Captions(top->menu()->actions());
  }
  return {};
}

TEST(MinimalPage, ShowsThePictureAndListsTheCirclesBetweenFileAndHelp) {
  ShownPage page;
  TBoardImage* board = page.form->BoardImage1;
  ASSERT_TRUE(board->Picture().HasGraphic());
  EXPECT_EQ(QSize(board->Picture().Width(), board->Picture().Height()), board->size());
  // Away from the circles the board shows the green of the picture, not the white client.
  const QColor shown = board->grab().toImage().pixelColor(100, 180);
  EXPECT_GT(shown.green(), shown.red() + 40);
  EXPECT_GT(shown.green(), shown.blue() + 40);
  EXPECT_EQ(Captions(page.form->MainMenu1->actions()),
            (QStringList{"&File", "&Settings", "&Options", "&Help"}));
}

struct CircleCase {
  TBoardHighlight* TMinimalForm::*circle;
  TRadioPanel* TMinimalForm::*panel;
  const char* menu;
  const char* title;
};

void PrintTo(const CircleCase& c, std::ostream* os) { *os << c.title; }

class MinimalPageCircle : public ::testing::TestWithParam<CircleCase> {};

TEST_P(MinimalPageCircle, IsListedByTitleAndOpensItsPanelWhenEntered) {
  ShownPage page;
  TBoardHighlight* circle = page.form.get()->*GetParam().circle;
  TRadioPanel* panel = page.form.get()->*GetParam().panel;
  const QString title = QLatin1String(GetParam().title);

  EXPECT_EQ(EntriesOf(page.form->MainMenu1, QLatin1String(GetParam().menu)), QStringList{title});
  EXPECT_EQ(circle->Popup(), nullptr);
  EXPECT_FALSE(panel->isVisible());

  TPopupForm* popup = page.Hover(circle);
  ASSERT_NE(popup, nullptr) << "entering the circle opened no popup";
  EXPECT_TRUE(circle->Hot());
  EXPECT_EQ(popup->windowTitle(), title);
  EXPECT_EQ(panel->parentWidget(), popup);
  EXPECT_TRUE(panel->isVisible());
  auto* memo = popup->findChild<QPlainTextEdit*>(QStringLiteral("StatusMemo"));
  ASSERT_NE(memo, nullptr);
  EXPECT_EQ(memo->toPlainText(), panel->Lines().join(QLatin1Char('\n')));
  popup->close();
}

INSTANTIATE_TEST_SUITE_P(Circles, MinimalPageCircle,
                         ::testing::Values(CircleCase{&TMinimalForm::TermHLT, &TMinimalForm::TermPNL,
                                                      "&Settings", "Termination"},
                                           CircleCase{&TMinimalForm::portHLT, &TMinimalForm::portPNL,
                                                      "&Options", "Serial Connector"}));

TEST(MinimalPage, ClickingTheJumperMovesTheListAndBack) {
  ShownPage page;
  TPopupForm* popup = page.Hover(page.form->TermHLT);
  ASSERT_NE(popup, nullptr);
  TTwoJumper* jumper = page.form->TermJMP;
  QComboBox* list = page.form->termCOMBO;
  ASSERT_TRUE(jumper->isVisible());
  // The page starts in step: jumper open, list on the open entry.
  EXPECT_FALSE(jumper->Closed());
  EXPECT_EQ(list->currentIndex(), TMinimalForm::kNotTerminated);

  // Assistive technology reads the jumper by its label and hears where the cap is.
  EXPECT_EQ(Read(jumper, QAccessible::Name), QStringLiteral("Line termination"));

  const struct {
    bool closed;
    const char* entry;
    const char* heard;
  } steps[] = {
      {true, "Terminated", "closed"}, {false, "Not terminated", "open"}, {true, "Terminated", "closed"}};
  for (const auto& step : steps) {
    QTest::mouseClick(jumper, Qt::LeftButton, {}, jumper->rect().center());
    EXPECT_EQ(jumper->Closed(), step.closed) << step.entry;
    EXPECT_EQ(list->currentText(), QLatin1String(step.entry));
    EXPECT_EQ(Read(jumper, QAccessible::Description), QLatin1String(step.heard));
  }
  popup->close();
}

TEST(MinimalPage, ChoosingFromTheListMovesTheJumperAndBack) {
  ShownPage page;
  TPopupForm* popup = page.Hover(page.form->TermHLT);
  ASSERT_NE(popup, nullptr);
  QComboBox* list = page.form->termCOMBO;
  list->setFocus();

  QTest::keyClick(list, Qt::Key_Up);
  EXPECT_EQ(list->currentIndex(), TMinimalForm::kTerminated);
  EXPECT_TRUE(page.form->TermJMP->Closed());

  QTest::keyClick(list, Qt::Key_Down);
  EXPECT_EQ(list->currentIndex(), TMinimalForm::kNotTerminated);
  EXPECT_FALSE(page.form->TermJMP->Closed());
  popup->close();
}

TEST(MinimalPage, HelpWindowOpensByItselfWithTheCardsText) {
  ShownPage page;
  TSetupSupporter* supporter = page.form->SetSup;
  ASSERT_TRUE(QTest::qWaitFor([&] { return supporter->HelpForm() != nullptr; }, 5000));
  THelpForm* help = supporter->HelpForm();
  ASSERT_TRUE(QTest::qWaitFor([&] { return help->isVisible(); }, 5000));

  const QString text = help->HelpRich->toPlainText();
  EXPECT_TRUE(text.startsWith(QStringLiteral("EXAMPLE MINI-1 Series Settings Program")))
      << text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("Yellow circles"))) << text.toStdString();
  ASSERT_NE(supporter->HeaderLabel(), nullptr);
  EXPECT_EQ(supporter->HeaderLabel()->text(), QStringLiteral("MINI-1 Series Settings Program"));

  // Help, "How to use this program" brings the window back once it is closed.
  help->close();
  ASSERT_FALSE(help->isVisible());
  page.form->Howtousethisprogram1->trigger();
  EXPECT_TRUE(help->isVisible());
}

}  // namespace
