#include "setupctrls/board_highlight.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QCursor>
#include <QMainWindow>
#include <QPushButton>
#include <QTest>
#include <QWindow>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "setupctrls/board_image.h"
#include "setupctrls/radio_panel.h"
#include "setupctrls/ring.h"

namespace {

using TLook = TBoardHighlight::TLook;

// These tests run with windows that have no frame at all, which the window system tells
// only once a window is on the screen: popups are first sized by an estimated frame and
// must come out right once the real one is known. The platform reads its configuration
// when the application starts, after this.
[[maybe_unused]] const bool kFramelessConfigured = [] {
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() /
      ("board_highlight_test_" + std::to_string(QCoreApplication::applicationPid()) + ".json");
  std::ofstream(path) << R"({"windowFrameMargins":false,"screens":[{"name":"plain","x":0,"y":0,"width":800,)"
                      << R"("height":800,"logicalDpi":96,"logicalBaseDpi":96,"dpr":1}]})";
  qputenv("QT_QPA_PLATFORM", QByteArray("offscreen:configfile=") + path.string().c_str());
  return true;
}();

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

// A photograph whose every pixel differs from its neighbours, so that any misplacement
// of the background under a circle shows.
TPicture GradientPicture(int w, int h) {
  QImage image(w, h, QImage::Format_RGB32);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) image.setPixel(x, y, qRgb((3 * x) % 256, (5 * y) % 256, (x + 2 * y) % 256));
  }
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "JPG", 100);
  TPicture picture;
  picture.LoadFromJpeg(bytes);
  return picture;
}

void Settle() {
  for (int i = 0; i < 5; ++i) {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
  }
}

// Far from every window of these tests.
constexpr QPoint kNowhere(790, 790);

// A main window with a menu bar and a 300 x 200 board image; popups open to its right.
struct Page {
  std::unique_ptr<QMainWindow> form = std::make_unique<QMainWindow>();
  QWidget* client = new QWidget;
  QMenuBar* menu = new QMenuBar;
  TBoardImage* board = nullptr;

  Page() {
    form->setCentralWidget(client);
    form->setMenuBar(menu);
    menu->addMenu(QStringLiteral("&File"));
    menu->addMenu(QStringLiteral("&Help"));
    board = new TBoardImage(client);
    board->SetCenterOnForm(false);
    board->SetAutoSize(false);
    board->setGeometry(10, 10, 300, 200);
    board->SetPicture(GradientPicture(300, 200));
    board->SetMenu(menu);
    form->resize(420, 300);
    form->move(0, 0);
    QCursor::setPos(kNowhere);
  }

  template <class THighlight = TBoardHighlight>
  THighlight* Circle(const QString& title, THighlightType type, QRect bounds, QWidget* parent = nullptr) {
    auto* circle = new THighlight(parent != nullptr ? parent : board);
    circle->setGeometry(bounds);
    circle->SetTitle(title);
    circle->SetHighlightType(type);
    return circle;
  }

  // A panel designed on the main window to the right of it, where its popup will open.
  TRadioPanel* Panel() {
    auto* panel = new TRadioPanel(client);
    panel->setGeometry(450, 20, 201, 200);
    panel->SetMemoHeight(58);
    return panel;
  }

  void Show() {
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    const auto circles = board->findChildren<TBoardHighlight*>();
    ASSERT_TRUE(QTest::qWaitFor([&] {
      // An empty circle is never painted.
      for (const TBoardHighlight* c : circles) {
        if (!c->FirstPaintDone() && !c->size().isEmpty()) return false;
      }
      return true;
    }));
    Settle();
  }

  QPoint Global(const QWidget* widget) const { return widget->mapToGlobal(widget->rect().center()); }
};

// Counts the paints a widget receives.
class PaintCounter : public QObject {
 public:
  explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
  int count = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++count;
    return false;
  }
};

// A look as the circle shows it: the ring drawn over the background, every pixel opaque.
QImage Looked(QImage background, float strength, TColor colour, bool glint) {
  DrawRing(background, background.width() - 1, background.height() - 1, strength, colour, glint);
  for (int y = 0; y < background.height(); ++y) {
    for (int x = 0; x < background.width(); ++x)
      background.setPixel(x, y, background.pixel(x, y) | 0xFF000000u);
  }
  return background;
}

// --- Declaration, colours and setters ----------------------------------------------------

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
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  grey.save(&buffer, "JPG", 100);
  TPicture picture;
  picture.LoadFromJpeg(bytes);
  page.board->SetPicture(picture);
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

#include "board_highlight_test.moc"
