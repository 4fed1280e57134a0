#include "setupctrls/tech_form.h"

#include <gtest/gtest.h>

#include <QMainWindow>
#include <QTest>
#include <memory>

#include "platform/anchors.h"
#include "platform/application.h"
#include "setupctrls/setup_supporter.h"

namespace {

const QString kProductCallHow = QStringLiteral("between 8 am and 5 pm Pacific Time at 1-800-555-0134");

const QString kProductSupportText = QStringLiteral(
    "There are several ways to get technical support. First and fastest is to skim the relevant sections of "
    "the manual. However, some questions require personal assistance, and TORVO stands ready to provide that "
    "help. You can call us between 8 am and 5 pm Pacific Time at 1-800-555-0134 for any of your product "
    "questions.\r\n\r\n"
    "In order to provide the best and fastest support possible, we ask that you be at your computer when you "
    "call, and have the TORVO product manual and Software Master CD at hand.");

// A main form with the supporter's windows built on it, as at the first idle moment.
struct Page {
  std::unique_ptr<QMainWindow> form = std::make_unique<QMainWindow>();
  TSetupSupporter* supporter = new TSetupSupporter(form.get());

  Page() {
    form->setCentralWidget(new QWidget);
    form->resize(1000, 700);
    Application().SetMainForm(form.get());
    supporter->SetCompanyName(QStringLiteral("TORVO"));
    supporter->SetCardNameA(QStringLiteral("NB-QUADPORT"));
    supporter->SetCallHow(kProductCallHow);
    bool done = true;
    supporter->FirstIdle(&Application(), done);
  }
  ~Page() { Application().SetMainForm(nullptr); }

  TTechForm* Tech() const { return supporter->TechForm(); }
};

TEST(SupportText, ProductValues) {
  EXPECT_EQ(TTechForm::SupportText(QStringLiteral("TORVO"), kProductCallHow), kProductSupportText);
}

TEST(SupportText, EmptyCallHowLeavesTwoSpacesBetweenUsAndFor) {
  const QString text = TTechForm::SupportText(QStringLiteral("TORVO"), QString());
  EXPECT_TRUE(text.contains(QStringLiteral("You can call us  for any of your product questions.")));
  EXPECT_EQ(text, QString(kProductSupportText).replace(kProductCallHow, QString()));
}

TEST(SupportText, NamesTheCompanyTwice) {
  const QString text = TTechForm::SupportText(QStringLiteral("ACME"), QStringLiteral("anytime"));
  EXPECT_EQ(text.count(QStringLiteral("ACME")), 2);
  EXPECT_TRUE(text.endsWith(QStringLiteral("have the ACME product manual and Software Master CD at hand.")));
}

TEST(TechForm, WindowAndControls) {
  Page page;
  TTechForm* tech = page.Tech();
  ASSERT_NE(tech, nullptr);
  EXPECT_EQ(tech->objectName(), QStringLiteral("TechForm"));
  EXPECT_EQ(tech->windowTitle(), QStringLiteral("Technical Support"));
  EXPECT_EQ(tech->parent(), page.form.get());
  EXPECT_TRUE(tech->isWindow());
  EXPECT_TRUE(tech->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_FALSE(tech->isModal());

  const QList<QWidget*> controls = tech->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
  ASSERT_EQ(controls.size(), 2);
  EXPECT_EQ(controls[0], tech->TechMemo);
  EXPECT_EQ(controls[1], tech->CloseButton);

  EXPECT_EQ(tech->TechMemo->objectName(), QStringLiteral("TechMemo"));
  EXPECT_TRUE(tech->TechMemo->isReadOnly());
  EXPECT_EQ(tech->TechMemo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  EXPECT_EQ(tech->TechMemo->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
  EXPECT_EQ(tech->TechMemo->font(), QWidget().font());
  EXPECT_EQ(tech->TechMemo->toPlainText(),
            QString(kProductSupportText).replace(QStringLiteral("\r\n"), "\n"));

  EXPECT_EQ(tech->CloseButton->objectName(), QStringLiteral("CloseButton"));
  EXPECT_EQ(tech->CloseButton->text(), QStringLiteral("Close"));
  EXPECT_EQ(tech->focusWidget(), tech->CloseButton);
}

// The client area is fitted to the memo and the button, and the button centred on it.
TEST(TechForm, FittedLayout) {
  Page page;
  TTechForm* tech = page.Tech();
  EXPECT_EQ(tech->size(), QSize(305, 122));
  EXPECT_EQ(tech->TechMemo->geometry(), QRect(0, 0, 305, 89));
  EXPECT_EQ(tech->CloseButton->geometry(), QRect((305 - 73) / 2, 97, 73, 25));
  EXPECT_EQ(Anchors(tech->TechMemo), akLeft | akTop | akRight | akBottom);
  EXPECT_EQ(Anchors(tech->CloseButton), TAnchors(akBottom));

  tech->show();
  tech->resize(405, 222);
  EXPECT_EQ(tech->TechMemo->geometry(), QRect(0, 0, 405, 189));
  EXPECT_EQ(tech->CloseButton->geometry().bottom(), 222 - 1);
}

TEST(TechForm, NotCentredOnTheMainWindow) {
  Page page;
  TTechForm* tech = page.Tech();
  tech->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(tech));
  EXPECT_NE(tech->frameGeometry().center(), page.form->frameGeometry().center());
}

struct HideCase {
  const char* name;
  void (*act)(TTechForm*);
};

class TechFormHide : public ::testing::TestWithParam<HideCase> {};

TEST_P(TechFormHide, HidesAndShowsAgainUnchanged) {
  Page page;
  TTechForm* tech = page.Tech();
  tech->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(tech));
  const QString text = tech->TechMemo->toPlainText();
  const QSize size = tech->size();
  GetParam().act(tech);
  EXPECT_FALSE(tech->isVisible());
  EXPECT_EQ(page.supporter->TechForm(), tech);

  // Later changes of the supporter's values do not reach the built text.
  page.supporter->SetCompanyName(QStringLiteral("OTHER"));
  tech->setVisible(true);
  EXPECT_TRUE(tech->isVisible());
  EXPECT_EQ(tech->TechMemo->toPlainText(), text);
  EXPECT_EQ(tech->size(), size);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, TechFormHide,
    ::testing::Values(HideCase{"close_button",
                               [](TTechForm* t) { QTest::mouseClick(t->CloseButton, Qt::LeftButton); }},
                      HideCase{"escape", [](TTechForm* t) { QTest::keyClick(t, Qt::Key_Escape); }},
                      HideCase{"close_box", [](TTechForm* t) { t->close(); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TechForm, DoesNotOpenAtStart) {
  Page page;
  ASSERT_TRUE(QTest::qWaitFor([&] { return page.supporter->HelpForm()->isVisible(); }, 5000));
  EXPECT_FALSE(page.Tech()->isVisible());
}

}  // namespace
