#include "app/main_form.h"

#include <gtest/gtest.h>

#include <QTest>
#include <memory>

#include "setupctrls/board_image.h"
#include "setupctrls/setup_supporter.h"
#include "support/test_support.h"

namespace {

std::unique_ptr<TMainForm> NewForm() {
  auto form = std::make_unique<TMainForm>();
  Application().SetMainForm(form.get());
  return form;
}

QStringList Captions(const QList<QAction*>& actions) {
  QStringList captions;
  for (const QAction* a : actions) captions << a->text();
  return captions;
}

TEST(MainForm, DeclaredWindow) {
  auto form = NewForm();
  EXPECT_EQ(form->windowTitle(), QStringLiteral("Setup"));
  EXPECT_TRUE(form->windowState() & Qt::WindowMaximized);
  EXPECT_EQ(form->Client()->palette().color(QPalette::Window), QColor(Qt::white));
  EXPECT_EQ(form->font().family(), QStringLiteral("MS Sans Serif"));
  EXPECT_EQ(form->font().pixelSize(), 11);
}

TEST(MainForm, DeclaredMenuHoldsOnlyFileAndHelp) {
  auto form = NewForm();
  EXPECT_EQ(Captions(form->MainMenu1->actions()), (QStringList{"&File", "&Help"}));
  EXPECT_EQ(Captions(form->File1->actions()), QStringList{"&Exit"});
  EXPECT_EQ(Captions(form->Help1->actions()),
            (QStringList{"H&ow to use this program", "&Technical Support"}));
  EXPECT_EQ(form->Exit2->objectName(), QStringLiteral("Exit2"));
}

TEST(MainForm, DeclaredBoardImage) {
  auto form = NewForm();
  TBoardImage* image = form->BoardImage1;
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->size(), QSize(600, 384));
  EXPECT_TRUE(image->Stretch());
  EXPECT_FALSE(image->AutoSize());
  EXPECT_FALSE(image->Center());
  EXPECT_TRUE(image->CenterOnForm());
  EXPECT_EQ(image->Menu(), form->MainMenu1);
  EXPECT_EQ(image->Picture().Width(), 793);
  EXPECT_EQ(image->Picture().Height(), 508);
  EXPECT_EQ(form->Client()->children().first(), image);
}

TEST(MainForm, ShownMaximisedWithTheBoardCentredOnTheOuterSize) {
  auto form = NewForm();
  form->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
  EXPECT_TRUE(form->isMaximized());
  const QSize outer = form->frameGeometry().size();
  const QPoint expected((outer.width() - 600) / 2, (outer.height() - 384) / 2);
  EXPECT_TRUE(QTest::qWaitFor([&] { return form->BoardImage1->pos() == expected; }, 5000));
  EXPECT_EQ(form->BoardImage1->DesignLeft(), 142);
  EXPECT_EQ(form->BoardImage1->DesignTop(), 74);
}

TEST(MainForm, ExitClosesTheWindow) {
  auto form = NewForm();
  form->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
  form->Exit2->trigger();
  EXPECT_FALSE(form->isVisible());
}

TEST(MainForm, FormCreateHandsTheFirstIdleMomentToTheSupporter) {
  auto form = NewForm();
  EXPECT_TRUE(static_cast<bool>(Application().OnIdle()));
  EXPECT_EQ(form->modeCOMBO->currentIndex(), 0);
  EXPECT_EQ(form->SetSup->HelpForm(), nullptr);
  // The Help commands have nothing to show before the windows exist.
  form->Howtousethisprogram1->trigger();
  form->TechnicalSupport1->trigger();
  form->DisplayClick(form.get());
  EXPECT_TRUE(QTest::qWaitFor([&] { return form->SetSup->HelpForm() != nullptr; }, 5000));
  EXPECT_FALSE(static_cast<bool>(Application().OnIdle()));
}

TEST(MainForm, HelpCommandsShowTheSupportersWindows) {
  MessageBoxRecorder boxes;
  auto form = NewForm();
  Application().SetMainForm(form.get());
  form->show();
  ASSERT_TRUE(QTest::qWaitFor([&] { return form->SetSup->HelpForm() != nullptr; }, 5000));
  QWidget* help = form->SetSup->HelpForm();
  // The help window opens by itself shortly after the first idle moment.
  ASSERT_TRUE(QTest::qWaitFor([&] { return help->isVisible(); }, 5000));
  const QRect where = help->geometry();
  form->Howtousethisprogram1->trigger();
  EXPECT_TRUE(help->isVisible());
  EXPECT_EQ(help->geometry(), where);
  form->Closehelpdialog1Click(form.get());
  EXPECT_FALSE(help->isVisible());
  form->Howtousethisprogram1->trigger();
  EXPECT_TRUE(help->isVisible());

  QWidget* tech = form->SetSup->TechForm();
  ASSERT_NE(tech, nullptr);
  EXPECT_FALSE(tech->isVisible());
  form->TechnicalSupport1->trigger();
  EXPECT_TRUE(tech->isVisible());
  // This product lists no cards: there is no installed-cards window to show.
  EXPECT_EQ(form->SetSup->PCIForm(), nullptr);
  form->DisplayClick(form.get());
  EXPECT_TRUE(boxes.Boxes().empty());
  Application().SetMainForm(nullptr);
}

}  // namespace
