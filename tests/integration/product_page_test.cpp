// The product page as the main window declares it: what shows, in which colours, and what
// its popups and menus hold.

#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "app/main_form.h"
#include "platform/application.h"
#include "setupctrls/board_highlight.h"
#include "setupctrls/board_image.h"
#include "setupctrls/popup_form.h"
#include "setupctrls/radio_panel.h"
#include "setupctrls/setup_supporter.h"
#include "support/test_support.h"

namespace {

struct ShownPage {
  MessageBoxRecorder boxes;
  std::unique_ptr<TMainForm> form = std::make_unique<TMainForm>();

  ShownPage() {
    Application().SetMainForm(form.get());
    form->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    EXPECT_TRUE(QTest::qWaitFor([&] { return form->usbHLT->FirstPaintDone(); }, 5000));
  }
  ~ShownPage() { Application().SetMainForm(nullptr); }
};

QStringList Captions(const QList<QAction*>& actions) {
  QStringList captions;
  for (const QAction* a : actions) captions << a->text();
  return captions;
}

TEST(ProductPage, OnlyThePhotographAndItsThreeCirclesShow) {
  ShownPage page;
  QStringList visible;
  for (QObject* child : page.form->Client()->children()) {
    auto* w = qobject_cast<QWidget*>(child);
    if (w != nullptr && w->isVisible()) visible << w->objectName();
  }
  visible.removeAll(QStringLiteral("HeaderLabel"));
  EXPECT_EQ(visible, QStringList{"BoardImage1"});
  for (TBoardHighlight* circle : {page.form->ModeHLT, page.form->ledHLT, page.form->usbHLT}) {
    EXPECT_TRUE(circle->isVisible()) << circle->Title().toStdString();
  }
  EXPECT_FALSE(page.form->ModePNL->isVisible());
  EXPECT_FALSE(page.form->ledPNL->isVisible());
  EXPECT_FALSE(page.form->usbPNL->isVisible());
}

TEST(ProductPage, ModeSettingsIsYellowTheOthersBlueNoneRed) {
  ShownPage page;
  EXPECT_EQ(page.form->ModeHLT->HighlightType(), htSettings);
  EXPECT_EQ(page.form->ModeHLT->RingColor(), 0x0000FFFFu);
  EXPECT_EQ(page.form->ledHLT->RingColor(), 0x00FF0000u);
  EXPECT_EQ(page.form->usbHLT->RingColor(), 0x00FF0000u);
  for (QObject* child : page.form->BoardImage1->children()) {
    if (auto* circle = qobject_cast<TBoardHighlight*>(child)) {
      EXPECT_NE(circle->HighlightType(), htCalibration);
    }
  }
  // The ring drawn on the centre line of the mode circle's normal look is yellow.
  const QImage& look = page.form->ModeHLT->NormalImage();
  const QColor ring = look.pixelColor(look.width() / 2, look.height() - 6);
  EXPECT_GT(ring.red(), ring.blue() + 40);
  EXPECT_GT(ring.green(), ring.blue() + 40);
}

TEST(ProductPage, MenuBarListsTheCirclesAndFileHoldsOnlyExit) {
  ShownPage page;
  EXPECT_EQ(Captions(page.form->MainMenu1->actions()),
            (QStringList{"&File", "&Settings", "&Options", "&Help"}));
  EXPECT_EQ(Captions(page.form->File1->actions()), QStringList{"&Exit"});
}

TEST(ProductPage, HeaderNamesTheCardAndStartIsRS232) {
  ShownPage page;
  ASSERT_TRUE(QTest::qWaitFor([&] { return page.form->SetSup->HeaderLabel() != nullptr; }, 5000));
  EXPECT_EQ(page.form->SetSup->HeaderLabel()->text(), QStringLiteral("NB-QUADPORT Series Settings Program"));
  EXPECT_EQ(page.form->modeCOMBO->currentText(), QStringLiteral("RS 232 Mode"));
  EXPECT_EQ(page.form->ModeJumpers().Placement(), kModeTable[0]);
}

struct TextPopup {
  const char* title;
  QStringList lines;
};

class ProductPageTextPopup : public ::testing::TestWithParam<TextPopup> {};

TEST_P(ProductPageTextPopup, ShowsTextAndButtonsAndNoControls) {
  ShownPage page;
  TBoardHighlight* circle =
      QString::fromLatin1(GetParam().title) == "LED info" ? page.form->ledHLT : page.form->usbHLT;
  circle->CMMouseEnter(0);
  circle->PinPopup();
  ASSERT_NE(circle->Popup(), nullptr);
  TPopupForm* popup = circle->Popup();
  EXPECT_EQ(popup->windowTitle(), QLatin1String(GetParam().title));
  auto* memo = popup->findChild<QPlainTextEdit*>(QStringLiteral("StatusMemo"));
  ASSERT_NE(memo, nullptr);
  EXPECT_EQ(memo->toPlainText(), GetParam().lines.join(QLatin1Char('\n')));
  for (const char* name : {"PreviousButton", "NextButton", "DoneButton"}) {
    EXPECT_NE(popup->findChild<QPushButton*>(QLatin1String(name)), nullptr) << name;
  }
  TRadioPanel* panel = circle->RadioPanel();
  EXPECT_EQ(panel->parentWidget(), popup);
  EXPECT_TRUE(panel->findChildren<QWidget*>().isEmpty());
  popup->close();
}

INSTANTIATE_TEST_SUITE_P(
    Circles, ProductPageTextPopup,
    ::testing::Values(TextPopup{"LED info",
                                {"LED Power: Power indicator",
                                 "LED A-D: Indicate TX/RX activity for channels A-D on the board"}},
                      TextPopup{"USB Connector",
                                {"The USB connector on this board is a USB type B socket."}}));

TEST(ProductPage, ModePopupHoldsTheJumpersAndTheList) {
  ShownPage page;
  page.form->ModeHLT->CMMouseEnter(0);
  TPopupForm* popup = page.form->ModeHLT->Popup();
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(page.form->ModePNL->parentWidget(), popup);
  EXPECT_TRUE(page.form->ModePNL->isVisible());
  EXPECT_EQ(page.form->modeCOMBO->count(), kModeCount);
  EXPECT_EQ(page.form->ModePNL->Lines().last(),
            QStringLiteral("Each Channel may be configured independantly."));
  popup->close();
}

}  // namespace
