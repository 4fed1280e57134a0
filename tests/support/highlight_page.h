#pragma once

// The page the circle tests run on: a main window with a menu bar and a board image with a
// picture whose every pixel differs, on an offscreen screen whose windows have no frame.

#include <QCoreApplication>
#include <QCursor>
#include <QMainWindow>
#include <QMenuBar>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "setupctrls/board_highlight.h"
#include "setupctrls/board_image.h"
#include "setupctrls/radio_panel.h"
#include "setupctrls/ring.h"
#include "support/pictures.h"
#include "support/test_support.h"

using TLook = TBoardHighlight::TLook;

// These tests run with windows that have no frame at all, which the window system tells
// only once a window is on the screen: popups are first sized by an estimated frame and
// must come out right once the real one is known. The platform reads its configuration
// when the application starts, after this.
[[maybe_unused]] inline const bool kFramelessConfigured = [] {
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() /
      ("board_highlight_test_" + std::to_string(QCoreApplication::applicationPid()) + ".json");
  std::ofstream(path) << R"({"windowFrameMargins":false,"screens":[{"name":"plain","x":0,"y":0,"width":800,)"
                      << R"("height":800,"logicalDpi":96,"logicalBaseDpi":96,"dpr":1}]})";
  qputenv("QT_QPA_PLATFORM", QByteArray("offscreen:configfile=") + path.string().c_str());
  return true;
}();

// A photograph whose every pixel differs from its neighbours, so that any misplacement
// of the background under a circle shows.
inline TPicture GradientPicture(int w, int h) {
  QImage image(w, h, QImage::Format_RGB32);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) image.setPixel(x, y, qRgb((3 * x) % 256, (5 * y) % 256, (x + 2 * y) % 256));
  }
  return PictureOf(image, 100);
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
inline QImage Looked(QImage background, float strength, TColor colour, bool glint) {
  DrawRing(background, background.width() - 1, background.height() - 1, strength, colour, glint);
  for (int y = 0; y < background.height(); ++y) {
    for (int x = 0; x < background.width(); ++x)
      background.setPixel(x, y, background.pixel(x, y) | 0xFF000000u);
  }
  return background;
}

// --- Declaration, colours and setters ----------------------------------------------------
