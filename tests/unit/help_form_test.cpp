#include "setupctrls/help_form.h"

#include <gtest/gtest.h>

#include <QMainWindow>
#include <QTest>
#include <functional>
#include <memory>

#include "platform/anchors.h"
#include "platform/application.h"
#include "setupctrls/board_image.h"

namespace {

// A board image that counts the tour messages it receives, and derives from the board image
// as a page's own board could.
class TourBoard : public TBoardImage {
  Q_OBJECT

 public:
  using TBoardImage::TBoardImage;
  int Tours = 0;

 protected:
  bool event(QEvent* event) override {
    if (event->type() == WM_STARTTOUR) ++Tours;
    return TBoardImage::event(event);
  }
};

// A main form with a client area, registered as the application's main form while it lives.
struct MainForm {
  std::unique_ptr<QMainWindow> form = std::make_unique<QMainWindow>();
  QWidget* client = new QWidget;

  MainForm() {
    form->setCentralWidget(client);
    form->resize(1000, 700);
    Application().SetMainForm(form.get());
  }
  ~MainForm() { Application().SetMainForm(nullptr); }

  THelpForm* NewHelpForm(QSize screen = QSize(800, 600)) {
    return new THelpForm(form.get(), THelpForm::HelpText("TORVO", "NB-QUADPORT", true, true, false), screen);
  }
};

const QString kProductHelpText = QStringLiteral(
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fswiss\\fprq2\\fcharset0 Verdana;}}"
    "{\\colortbl\\red64\\green64\\blue64;\\red255\\green255\\blue64;\\red64\\green64\\blue255;"
    "\\red255\\green64"
    "\\blue64;}\\viewkind4\\uc1\\pard\\f0\\fs32\\cf0\r\n"
    "{\\b TORVO NB-QUADPORT Series Settings Program}\\par\\par\\fs24\r\n"
    "This program will help you configure the option jumpers and settings associated with this product. You "
    "should have the product in-hand when first using this program.\\par\\par\r\n"
    "{\\cf1\\fs24\\b Yellow circles} provide information on configuring jumpers and switches.\\par\\par\r\n"
    "{\\cf2\\fs24\\b Blue circles} are informational only. They provide information on standard and optional "
    "features of the product family.\\par\\par\r\n"
    "{\\cf3\\fs24\\b Red circles} handle calibration and types of configuration that require actually "
    "controlling the hardware device. Run this settings program again once the card is installed. Repeat the "
    "{\\cf1 setup circles} (using the same settings) to configure this program, then perform the {\\cf3 "
    "calibration circles}.\\par\\par\r\n"
    "Mouse over the highlight circles to see configuration or information popups for {\\cf1 setup}, {\\cf2 "
    "features}, and {\\cf3 calibration}. Click a highlight circle to make its popup remain on-screen. You "
    "can "
    "have all or as many of these popups onscreen at the same time as you desire.\\par\\par\r\n"
    "{\\fs32\\b Note:} Make sure to set the jumpers for each option group \\emdash  the configuration "
    "options "
    "for each port are handled identically; this program only shows the setup once, but you need to perform "
    "this setup for each group of options on your device.\\par\\par\r\n"
    "}");

const QString kNoteParagraph = QStringLiteral(
    "{\\fs32\\b Note:} Make sure to set the jumpers for each option group \\emdash  the configuration "
    "options "
    "for each port are handled identically; this program only shows the setup once, but you need to perform "
    "this setup for each group of options on your device.\\par\\par\r\n");

const QString kCardsParagraph = QStringLiteral(
    "To see a list of NB-QUADPORT cards installed, click \"Display NB-QUADPORT Cards Installed\" under the "
    "File "
    "menu.\\par\\par\r\n");

// The product text with one piece exchanged; the piece must be there to be exchanged.
QString ProductTextWith(const QString& piece, const QString& replacement) {
  EXPECT_TRUE(kProductHelpText.contains(piece)) << piece.toStdString();
  QString text = kProductHelpText;
  return text.replace(piece, replacement);
}

TEST(HelpText, ProductValues) {
  EXPECT_EQ(THelpForm::HelpText("TORVO", "NB-QUADPORT", true, true, false), kProductHelpText);
}

TEST(HelpText, WithoutMultiPortTheNoteIsAbsent) {
  EXPECT_EQ(THelpForm::HelpText("TORVO", "NB-QUADPORT", true, false, false),
            ProductTextWith(kNoteParagraph, ""));
}

TEST(HelpText, WithoutSeriesTheTitleNamesTheCardOnly) {
  EXPECT_EQ(THelpForm::HelpText("TORVO", "NB-QUADPORT", false, true, false),
            ProductTextWith("{\\b TORVO NB-QUADPORT Series Settings Program}",
                            "{\\b TORVO NB-QUADPORT Settings Program}"));
}

TEST(HelpText, ListingCardsEndsWithTheFileMenuParagraph) {
  EXPECT_EQ(THelpForm::HelpText("TORVO", "NB-QUADPORT", true, true, true),
            ProductTextWith(kNoteParagraph + "}", kNoteParagraph + kCardsParagraph + "}"));
  EXPECT_EQ(THelpForm::HelpText("TORVO", "NB-QUADPORT", true, false, true),
            ProductTextWith(kNoteParagraph + "}", kCardsParagraph + "}"));
}

TEST(HelpText, EmptyValuesLeaveTheirPlacesEmpty) {
  EXPECT_EQ(THelpForm::HelpText("", "", false, true, false),
            ProductTextWith("{\\b TORVO NB-QUADPORT Series Settings Program}", "{\\b   Settings Program}"));
}

TEST(HelpForm, WindowAndControls) {
  MainForm main;
  THelpForm* help = main.NewHelpForm();
  EXPECT_EQ(help->objectName(), QStringLiteral("HelpForm"));
  EXPECT_EQ(help->windowTitle(), QStringLiteral("Instructions for Settings utility"));
  EXPECT_EQ(help->parent(), main.form.get());
  EXPECT_TRUE(help->isWindow());
  EXPECT_TRUE(help->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_FALSE(help->isModal());
  EXPECT_FALSE(help->isVisible());

  // Controls in their order of creation.
  const QList<QWidget*> controls = help->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
  ASSERT_EQ(controls.size(), 3);
  EXPECT_EQ(controls[0], help->HelpLabel);
  EXPECT_EQ(controls[1], help->HelpRich);
  EXPECT_EQ(controls[2], help->StartButton);
  EXPECT_EQ(help->CloseButton, nullptr);

  EXPECT_EQ(help->HelpLabel->objectName(), QStringLiteral("HelpLabel"));
  EXPECT_EQ(help->HelpLabel->text(), QStringLiteral("How to use this program"));
  EXPECT_EQ(help->HelpLabel->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
  EXPECT_EQ(help->HelpLabel->font().family(), QStringLiteral("Verdana"));
  EXPECT_EQ(help->HelpLabel->font().pointSize(), 12);
  EXPECT_TRUE(help->HelpLabel->font().bold());
  EXPECT_EQ(help->HelpLabel->pos(), QPoint(0, 0));

  EXPECT_EQ(help->HelpRich->objectName(), QStringLiteral("HelpRich"));
  EXPECT_TRUE(help->HelpRich->isReadOnly());
  EXPECT_EQ(help->HelpRich->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  EXPECT_EQ(help->HelpRich->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
  EXPECT_EQ(help->HelpRich->palette().color(QPalette::Base), QColor(0xDD, 0xDD, 0xDD));
  EXPECT_TRUE(help->HelpRich->toPlainText().startsWith(
      QStringLiteral("TORVO NB-QUADPORT Series Settings Program\n")));

  EXPECT_EQ(help->StartButton->objectName(), QStringLiteral("StartButton"));
  EXPECT_EQ(help->StartButton->text(), QStringLiteral("Start"));
  EXPECT_TRUE(help->StartButton->isDefault());
  EXPECT_EQ(help->StartButton->size(), QSize(173, 25));
  EXPECT_EQ(help->focusWidget(), help->StartButton);
}

struct ScaleCase {
  const char* name;
  QSize screen;
  double factor;
  QSize client;
};

class HelpFormScale : public ::testing::TestWithParam<ScaleCase> {};

// The fitted client area is 305 by 138: the text's width, and the button's bottom (130) plus 8.
TEST_P(HelpFormScale, ScalesTheFittedWindowToTheScreen) {
  const ScaleCase& c = GetParam();
  EXPECT_DOUBLE_EQ(THelpForm::ScaleFactor(c.screen), c.factor);
  MainForm main;
  THelpForm* help = main.NewHelpForm(c.screen);
  EXPECT_EQ(help->size(), c.client);
}

INSTANTIATE_TEST_SUITE_P(Screens, HelpFormScale,
                         ::testing::Values(ScaleCase{"s640x480", {640, 480}, 1.0, {305, 138}},
                                           ScaleCase{"s800x600", {800, 600}, 1.0, {305, 138}},
                                           ScaleCase{"s800x450", {800, 450}, 1.0, {305, 138}},
                                           ScaleCase{"no_screen", {0, 0}, 1.0, {305, 138}},
                                           ScaleCase{"s1024x768", {1024, 768}, 1.28, {390, 177}},
                                           ScaleCase{"s1920x1080", {1920, 1080}, 2.4, {732, 331}},
                                           ScaleCase{"height_limits", {2000, 675}, 1.5, {458, 207}},
                                           // 396.5 goes to the even neighbour.
                                           ScaleCase{"half_to_even", {1040, 800}, 1.3, {396, 179}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(HelpForm, FittedLayoutBeforeScaling) {
  MainForm main;
  THelpForm* help = main.NewHelpForm();
  EXPECT_EQ(help->HelpRich->geometry(), QRect(0, 24, 305, 73));
  EXPECT_EQ(help->StartButton->geometry(), QRect(66, 105, 173, 25));
  EXPECT_EQ(Anchors(help->HelpRich), akLeft | akTop | akRight | akBottom);
  EXPECT_EQ(Anchors(help->StartButton), TAnchors(akBottom));
}

TEST(HelpForm, ScaledWindowGrowsTheTextAndKeepsTheButtonCentredAtTheBottom) {
  MainForm main;
  THelpForm* help = main.NewHelpForm(QSize(1024, 768));
  help->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(help));
  EXPECT_EQ(help->HelpLabel->geometry().width(), 390);
  EXPECT_EQ(help->HelpRich->geometry(), QRect(0, 24, 390, 177 - 24 - 41));
  EXPECT_EQ(help->StartButton->geometry(), QRect(108, 177 - 8 - 25, 173, 25));
}

// How the user starts the tour from the open help window.
struct StartCase {
  const char* name;
  std::function<void(THelpForm*)> act;
};

class HelpFormStart : public ::testing::TestWithParam<StartCase> {};

TEST_P(HelpFormStart, HidesAndSendsTheTourToTheFirstBoardImage) {
  MainForm main;
  new QWidget(main.client);
  auto* first = new TourBoard(main.client);
  auto* second = new TourBoard(main.client);
  THelpForm* help = main.NewHelpForm();
  help->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(help));
  GetParam().act(help);
  EXPECT_FALSE(help->isVisible());
  EXPECT_EQ(first->Tours, 1);
  EXPECT_EQ(second->Tours, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, HelpFormStart,
    ::testing::Values(
        StartCase{"click", [](THelpForm* help) { QTest::mouseClick(help->StartButton, Qt::LeftButton); }},
        StartCase{"return_in_window", [](THelpForm* help) { QTest::keyClick(help, Qt::Key_Return); }},
        StartCase{"enter_in_window",
                  [](THelpForm* help) { QTest::keyClick(help, Qt::Key_Enter, Qt::KeypadModifier); }},
        StartCase{"return_on_focused_button",
                  [](THelpForm* help) { QTest::keyClick(help->focusWidget(), Qt::Key_Return); }},
        StartCase{"escape", [](THelpForm* help) { QTest::keyClick(help, Qt::Key_Escape); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HelpForm, StartFindsOnlyBoardsPlacedDirectlyOnTheMainForm) {
  MainForm main;
  auto* panel = new QWidget(main.client);
  auto* nested = new TourBoard(panel);
  THelpForm* help = main.NewHelpForm();
  help->show();
  help->StartButton->click();
  EXPECT_FALSE(help->isVisible());
  EXPECT_EQ(nested->Tours, 0);
}

TEST(HelpForm, StartWithoutMainFormOnlyHides) {
  MainForm main;
  THelpForm* help = main.NewHelpForm();
  Application().SetMainForm(nullptr);
  help->show();
  help->StartButton->click();
  EXPECT_FALSE(help->isVisible());
}

TEST(HelpForm, CloseBoxHidesWithoutStartingTheTour) {
  MainForm main;
  auto* board = new TourBoard(main.client);
  THelpForm* help = main.NewHelpForm();
  help->show();
  EXPECT_TRUE(help->close());
  EXPECT_FALSE(help->isVisible());
  EXPECT_EQ(board->Tours, 0);
  // Hidden, not destroyed: it shows again as it was.
  help->show();
  EXPECT_TRUE(help->isVisible());
  EXPECT_EQ(help->size(), QSize(305, 138));
}

TEST(HelpForm, TypingDoesNotChangeTheText) {
  MainForm main;
  THelpForm* help = main.NewHelpForm();
  help->show();
  const QString before = help->HelpRich->toPlainText();
  help->HelpRich->setFocus();
  QTest::keyClicks(help->HelpRich, QStringLiteral("typed"));
  QTest::keyClick(help->HelpRich, Qt::Key_Delete);
  QTest::keyClick(help->HelpRich, Qt::Key_Backspace);
  EXPECT_EQ(help->HelpRich->toPlainText(), before);
}

TEST(HelpForm, NonAsciiNamesSurviveTheDocument) {
  MainForm main;
  auto* help =
      new THelpForm(main.form.get(), THelpForm::HelpText("M\u00fcller", "K\u00e4rtchen", false, false, false),
                    QSize(800, 600));
  EXPECT_TRUE(
      help->HelpRich->toPlainText().startsWith(QStringLiteral("M\u00fcller K\u00e4rtchen Settings Program")));
}

}  // namespace

#include "help_form_test.moc"
