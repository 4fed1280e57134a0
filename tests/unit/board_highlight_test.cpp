#include "setupctrls/board_highlight.h"

#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>
#include <QWindow>
#include <memory>
#include <vector>

#include "support/highlight_page.h"

namespace {

// A class derived from the circle, which the linking rules must not count.
class DerivedHighlight : public TBoardHighlight {
  Q_OBJECT
 public:
  using TBoardHighlight::TBoardHighlight;
};

// A class derived from the board image, which is not a board image for the linking rules.
class DerivedBoard : public TBoardImage {
  Q_OBJECT
 public:
  using TBoardImage::TBoardImage;
};

TEST(BoardHighlight, ConstructionDefaults) {
  Page page;
  auto* circle = new TBoardHighlight(page.board);
  EXPECT_EQ(circle->size(), QSize(65, 65));
  EXPECT_TRUE(circle->CreatePopup());
  EXPECT_EQ(circle->HighlightType(), htSettings);
  EXPECT_EQ(circle->RingColor(), 0x0000FFFFu);
  EXPECT_EQ(circle->RadioPanel(), nullptr);
  EXPECT_TRUE(circle->Title().isEmpty());
  EXPECT_FALSE(circle->Hot());
  EXPECT_FALSE(circle->Pinned());
  EXPECT_FALSE(circle->PopupActive());
  EXPECT_FALSE(circle->FirstPaintDone());
  EXPECT_EQ(circle->Popup(), nullptr);
  EXPECT_EQ(circle->MainMenu(), nullptr);
  EXPECT_EQ(circle->property("HighlightType").value<THighlightType>(), htSettings);
  EXPECT_TRUE(circle->property("CreatePopup").toBool());
}

struct ColourCase {
  THighlightType type;
  TColor colour;
  float normal, glint, bright;
};

void PrintTo(const ColourCase& c, std::ostream* os) { *os << "type " << c.type; }

class BoardHighlightColours : public ::testing::TestWithParam<ColourCase> {};

TEST_P(BoardHighlightColours, TypeSetsColourAndStrengths) {
  const ColourCase& c = GetParam();
  Page page;
  auto* circle = new TBoardHighlight(page.board);
  // Start from another type so that every case is a change.
  circle->SetHighlightType(c.type == htOptions ? htCalibration : htOptions);
  circle->SetHighlightType(c.type);
  EXPECT_EQ(circle->RingColor(), c.colour);
  EXPECT_FLOAT_EQ(circle->NormalStrength(), c.normal);
  EXPECT_FLOAT_EQ(circle->GlintStrength(), c.glint);
  EXPECT_FLOAT_EQ(circle->BrightStrength(), c.bright);
}

INSTANTIATE_TEST_SUITE_P(Types, BoardHighlightColours,
                         ::testing::Values(ColourCase{htOptions, 0x00FF0000, 0.25f, 1.0f, 0.5f},
                                           ColourCase{htSettings, 0x0000FFFF, 0.5f, 1.0f, 0.75f},
                                           ColourCase{htCalibration, 0x000000FF, 0.5f, 1.0f, 0.75f}));

TEST(BoardHighlight, EqualTypeDoesNotInvalidateAChangedOneDoes) {
  Page page;
  auto* circle = page.Circle("Mode Settings", htSettings, {20, 20, 65, 65});
  page.Show();
  PaintCounter paints(circle);
  circle->SetHighlightType(htSettings);
  Settle();
  EXPECT_EQ(paints.count, 0);
  circle->SetHighlightType(htCalibration);
  EXPECT_TRUE(QTest::qWaitFor([&] { return paints.count > 0; }));
}

TEST(BoardHighlight, TypeChangedAfterTheFirstPaintKeepsThePaintedColour) {
  Page page;
  auto* circle = page.Circle("Mode Settings", htSettings, {20, 20, 65, 65});
  page.Show();
  const QImage before = circle->grab().toImage();
  const QImage normal = circle->NormalImage();
  circle->SetHighlightType(htOptions);
  EXPECT_EQ(circle->RingColor(), 0x00FF0000u);
  EXPECT_EQ(circle->NormalImage(), normal);
  EXPECT_EQ(circle->grab().toImage(), before);
  // On the ring's centre line the yellow ring shows, not the blue one.
  const QColor ring = before.pixelColor(60, 32);
  EXPECT_GT(ring.red(), ring.blue());
}

TEST(BoardHighlight, TypeChangedBeforeTheFirstPaintGivesItsColour) {
  Page page;
  auto* circle = page.Circle("LED info", htSettings, {20, 20, 65, 65});
  circle->SetHighlightType(htOptions);
  page.Show();
  const QColor ring = circle->grab().toImage().pixelColor(60, 32);
  EXPECT_GT(ring.blue(), ring.red());
}

// --- Building and painting the looks ------------------------------------------------------

TEST(BoardHighlight, LooksAreTheBoardUnderTheCircleWithTheRing) {
  Page page;
  auto* circle = page.Circle("Mode Settings", htSettings, {37, 21, 81, 57});
  page.Show();
  QImage board(page.board->size(), QImage::Format_RGB32);
  page.board->render(&board, QPoint(), QRegion(), QWidget::DrawWindowBackground);
  const QImage under = board.copy(circle->geometry());
  EXPECT_EQ(circle->NormalImage(), Looked(under, 0.5f, 0x0000FFFF, false));
  EXPECT_EQ(circle->GlintImage(), Looked(under, 1.0f, 0x0000FFFF, true));
  EXPECT_EQ(circle->BrightImage(), Looked(under, 0.75f, 0x0000FFFF, false));
}

TEST(BoardHighlight, UniformGreyGivesTheWorkedCentreValues) {
  Page page;
  QImage grey(300, 200, QImage::Format_RGB32);
  grey.fill(QColor(128, 128, 128));
  page.board->SetPicture(PictureOf(grey, 100));
  auto* circle = page.Circle("Mode Settings", htSettings, {20, 20, 65, 65});
  page.Show();
  ASSERT_EQ(circle->NormalImage().pixelColor(0, 0), QColor(128, 128, 128));
  EXPECT_EQ(circle->NormalImage().pixelColor(32, 32), QColor(138, 138, 118));
  EXPECT_EQ(circle->GlintImage().pixelColor(32, 32), QColor(148, 148, 108));
  EXPECT_EQ(circle->BrightImage().pixelColor(32, 32), QColor(143, 143, 113));
  EXPECT_EQ(circle->GlintImage().pixelColor(60, 32), QColor(255, 255, 255));
}

TEST(BoardHighlight, OtherParentGivesItsOwnFace) {
  Page page;
  auto* panel = new QWidget(page.client);
  panel->setGeometry(320, 10, 90, 90);
  panel->setAutoFillBackground(true);
  QPalette palette = panel->palette();
  palette.setColor(QPalette::Window, QColor(10, 200, 30));
  panel->setPalette(palette);
  auto* circle = page.Circle("Loose", htOptions, {5, 5, 65, 65}, panel);
  circle->grab();
  ASSERT_TRUE(circle->FirstPaintDone());
  EXPECT_EQ(circle->NormalImage().pixelColor(0, 0), QColor(10, 200, 30));
  EXPECT_EQ(circle->MainMenu(), nullptr);
}

struct SmallCase {
  const char* name;
  QSize size;
};

void PrintTo(const SmallCase& c, std::ostream* os) { *os << c.name; }

class BoardHighlightSmall : public ::testing::TestWithParam<SmallCase> {};

// Below two pixels the ring formula has nothing to divide by: a one-pixel axis is the
// ring's centre line; an empty circle is never painted and so never builds its looks.
TEST_P(BoardHighlightSmall, TinyCirclesBuildSoundLooks) {
  const SmallCase& c = GetParam();
  Page page;
  auto* circle = page.Circle("Tiny", htSettings, {40, 40, c.size.width(), c.size.height()});
  page.Show();
  if (c.size.isEmpty()) {
    EXPECT_FALSE(circle->FirstPaintDone());
    EXPECT_TRUE(circle->NormalImage().isNull());
    return;
  }
  ASSERT_TRUE(circle->FirstPaintDone());
  EXPECT_EQ(circle->NormalImage().size(), c.size);
  QImage board(page.board->size(), QImage::Format_RGB32);
  page.board->render(&board, QPoint(), QRegion(), QWidget::DrawWindowBackground);
  const QImage under = board.copy(circle->geometry());
  EXPECT_EQ(circle->NormalImage(), Looked(under, 0.5f, 0x0000FFFF, false));
  // The middle pixel lies inside the ring and is tinted.
  const QPoint middle(c.size.width() / 2, c.size.height() / 2);
  EXPECT_NE(circle->NormalImage().pixel(middle), under.pixel(middle));
}

INSTANTIATE_TEST_SUITE_P(Sizes, BoardHighlightSmall,
                         ::testing::Values(SmallCase{"one_wide", {1, 65}}, SmallCase{"one_high", {65, 1}},
                                           SmallCase{"one_pixel", {1, 1}}, SmallCase{"no_width", {0, 20}},
                                           SmallCase{"no_height", {20, 0}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(BoardHighlight, ImagesAreBuiltOnceAtRunTime) {
  Page page;
  auto* circle = page.Circle("Mode Settings", htSettings, {20, 20, 65, 65});
  page.Show();
  const QImage normal = circle->NormalImage();
  circle->resize(80, 80);
  page.board->SetPicture(GradientPicture(40, 40));
  circle->grab();
  EXPECT_EQ(circle->NormalImage(), normal);
}

struct LookCase {
  bool active, hot;
  TLook look;
};

void PrintTo(const LookCase& c, std::ostream* os) { *os << "active " << c.active << " hot " << c.hot; }

class BoardHighlightLook : public ::testing::TestWithParam<LookCase> {};

TEST_P(BoardHighlightLook, PaintCopiesTheChosenImage) {
  const LookCase& c = GetParam();
  Page page;
  auto* circle = page.Circle("Mode Settings", htSettings, {20, 20, 65, 65});
  circle->SetCreatePopup(false);
  page.Show();
  if (c.hot) circle->CMMouseEnter(1);
  circle->UpdatePopupActive(c.active, false);
  EXPECT_EQ(circle->ChosenLook(), c.look);
  const QImage& expected = c.look == TLook::Glint    ? circle->GlintImage()
                           : c.look == TLook::Bright ? circle->BrightImage()
                                                     : circle->NormalImage();
  EXPECT_EQ(circle->grab().toImage().convertToFormat(QImage::Format_RGB32), expected);
}

INSTANTIATE_TEST_SUITE_P(Flags, BoardHighlightLook,
                         ::testing::Values(LookCase{false, false, TLook::Normal},
                                           LookCase{true, false, TLook::Bright},
                                           LookCase{false, true, TLook::Bright},
                                           LookCase{true, true, TLook::Glint}));

// --- Strings derived from the title -------------------------------------------------------

struct TitleCase {
  const char* title;
  const char* caption;
  const char* identifier;
};

void PrintTo(const TitleCase& c, std::ostream* os) { *os << c.title; }

class BoardHighlightTitle : public ::testing::TestWithParam<TitleCase> {};

TEST_P(BoardHighlightTitle, DerivesCaptionAndIdentifier) {
  const TitleCase& c = GetParam();
  Page page;
  auto* circle = new TBoardHighlight(page.board);
  circle->SetTitle(QString::fromUtf8(c.title));
  EXPECT_EQ(circle->PopupCaption(), QString::fromUtf8(c.caption));
  EXPECT_EQ(circle->MenuName(), QString::fromUtf8(c.identifier));
}

INSTANTIATE_TEST_SUITE_P(
    Titles, BoardHighlightTitle,
    ::testing::Values(TitleCase{"Mode Settings", "Mode Settings", "ModeSettings"},
                      TitleCase{"LED info", "LED info", "LEDinfo"},
                      TitleCase{"RS 485 TxRx+", "RS 485 TxRx+", "RS485TxRx"},
                      TitleCase{"&Help", "Help", "Help"}, TitleCase{"&Options", "Options", "Options"},
                      TitleCase{"A&&B", "AB", "AB"}, TitleCase{"", "", ""}, TitleCase{"&", "", ""},
                      TitleCase{"already_an_Identifier9", "already_an_Identifier9", "already_an_Identifier9"},
                      TitleCase{"12 volt_rail", "12 volt_rail", "volt_rail"},
                      TitleCase{"_1st-2nd", "_1st-2nd", "_1st2nd"}, TitleCase{"485", "485", ""},
                      TitleCase{"Über Gröẞe x", "Über Gröẞe x", "berGrex"}));

// --- Linked circles and the option panel ----------------------------------------------------

enum class Kind { Plain, Derived };

struct LinkCase {
  const char* name;
  const char* otherTitle;
  THighlightType otherType;
  Kind otherKind;
  bool linked;
};

void PrintTo(const LinkCase& c, std::ostream* os) { *os << c.name; }

class BoardHighlightLinks : public ::testing::TestWithParam<LinkCase> {};

TEST_P(BoardHighlightLinks, LinksOnlyEqualTitleAndTypeOfTheExactClass) {
  const LinkCase& c = GetParam();
  Page page;
  auto* circle = page.Circle("Mode Settings", htSettings, {10, 10, 40, 40});
  TBoardHighlight* other = c.otherKind == Kind::Derived
                               ? page.Circle<DerivedHighlight>(c.otherTitle, c.otherType, {100, 10, 40, 40})
                               : page.Circle(c.otherTitle, c.otherType, {100, 10, 40, 40});
  EXPECT_EQ(circle->IsLinkedWith(other), c.linked);
  EXPECT_EQ(other->IsLinkedWith(circle), c.linked);
  EXPECT_TRUE(circle->IsLinkedWith(circle));
  const QList<TBoardHighlight*> expected =
      c.linked ? QList<TBoardHighlight*>{circle, other} : QList<TBoardHighlight*>{circle};
  EXPECT_EQ(circle->LinkedHighlights(), expected);

  // A panel of the other circle goes to this one only when they are linked; a circle of
  // a derived class holding it does not count against the rule.
  auto* panel = page.Panel();
  other->SetRadioPanel(panel);
  ASSERT_EQ(other->RadioPanel(), panel);
  circle->SetRadioPanel(panel);
  const bool accepted = c.linked || c.otherKind == Kind::Derived;
  EXPECT_EQ(circle->RadioPanel(), accepted ? panel : nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BoardHighlightLinks,
    ::testing::Values(LinkCase{"equal", "Mode Settings", htSettings, Kind::Plain, true},
                      LinkCase{"one_character", "Mode Setting", htSettings, Kind::Plain, false},
                      LinkCase{"letter_case", "Mode settings", htSettings, Kind::Plain, false},
                      LinkCase{"type", "Mode Settings", htOptions, Kind::Plain, false},
                      LinkCase{"derived_class", "Mode Settings", htSettings, Kind::Derived, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BoardHighlight, NoLinksUnlessTheParentIsExactlyABoardImage) {
  for (const bool derivedBoard : {false, true}) {
    std::unique_ptr<QWidget> form = std::make_unique<QWidget>();
    QWidget* parent = derivedBoard ? new DerivedBoard(form.get()) : new QWidget(form.get());
    auto* a = new TBoardHighlight(parent);
    auto* b = new TBoardHighlight(parent);
    a->SetTitle("Mode Settings");
    b->SetTitle("Mode Settings");
    EXPECT_FALSE(a->IsLinkedWith(b));
    EXPECT_TRUE(a->LinkedHighlights().isEmpty());
    b->SetCreatePopup(false);
    a->SetCreatePopup(false);
    a->CMMouseEnter(0);
    EXPECT_TRUE(a->Hot());
    EXPECT_FALSE(b->Hot());
    // The panel rule looks at the siblings whatever the parent is.
    auto* panel = new TRadioPanel(form.get());
    b->SetTitle("Other");
    b->SetRadioPanel(panel);
    a->SetRadioPanel(panel);
    EXPECT_EQ(a->RadioPanel(), nullptr);
  }
}

TEST(BoardHighlight, RadioPanelSetterRules) {
  Page page;
  auto* a = page.Circle("Mode Settings", htSettings, {10, 10, 40, 40});
  auto* b = page.Circle("LED info", htOptions, {100, 10, 40, 40});
  auto* panel = page.Panel();
  auto* second = page.Panel();
  a->SetRadioPanel(panel);
  b->SetRadioPanel(panel);
  EXPECT_EQ(b->RadioPanel(), nullptr);  // refused, silently
  b->SetRadioPanel(second);
  EXPECT_EQ(b->RadioPanel(), second);
  b->SetRadioPanel(panel);  // refused again: the panel it had stays
  EXPECT_EQ(b->RadioPanel(), second);
  b->SetRadioPanel(nullptr);
  EXPECT_EQ(b->RadioPanel(), nullptr);
  b->AssignRadioPanel(panel);  // no checks
  EXPECT_EQ(b->RadioPanel(), panel);
  auto* loose = new TBoardHighlight;
  loose->SetRadioPanel(panel);  // no parent, nobody to share with
  EXPECT_EQ(loose->RadioPanel(), panel);
  delete loose;
}

// --- Mouse enter and leave ----------------------------------------------------------------

TEST(BoardHighlight, ForwardedMessagesDoNotForwardAgain) {
  Page page;
  auto* a = page.Circle("Mode Settings", htSettings, {10, 10, 40, 40});
  auto* b = page.Circle("Mode Settings", htSettings, {100, 10, 40, 40});
  for (TBoardHighlight* c : {a, b}) c->SetCreatePopup(false);
  a->CMMouseEnter(1);
  EXPECT_TRUE(a->Hot());
  EXPECT_FALSE(b->Hot());
  a->ClearHot();
  a->CMMouseEnter(0);
  EXPECT_TRUE(b->Hot());
  // Entering a hot circle again changes nothing and forwards nothing.
  b->ClearHot();
  a->CMMouseEnter(0);
  EXPECT_FALSE(b->Hot());
  // Without a popup, leaving changes nothing: only a popup close clears the hot state.
  a->CMMouseLeave(0);
  EXPECT_TRUE(a->Hot());
}

TEST(BoardHighlight, BringsItselfAndThenItsLinkedCirclesToTheFront) {
  Page page;
  auto* a = page.Circle("X", htSettings, {10, 10, 20, 20});
  auto* other1 = page.Circle("Y", htSettings, {40, 10, 20, 20});
  auto* b = page.Circle("X", htSettings, {70, 10, 20, 20});
  auto* other2 = page.Circle("X", htOptions, {100, 10, 20, 20});
  auto* c = page.Circle("X", htSettings, {130, 10, 20, 20});
  b->UpdatePopupActive(true, true);
  const QObjectList order = page.board->children();
  EXPECT_EQ(order, (QObjectList{other1, other2, b, a, c}));
  for (TBoardHighlight* h : {a, b, c}) EXPECT_TRUE(h->PopupActive());
  EXPECT_FALSE(other1->PopupActive());
  EXPECT_FALSE(other2->PopupActive());
  a->UpdatePopupActive(false, false);
  EXPECT_EQ(page.board->children().last(), a);
  EXPECT_TRUE(b->PopupActive());
}

}  // namespace

#include "board_highlight_test.moc"
