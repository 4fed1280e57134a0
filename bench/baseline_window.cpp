// The floor for the product's window: a bare maximised main window with the menus the
// product's window ends up with and a label showing the same board photograph, decoded
// and scaled the plain Qt way. It prints what it measured as "BENCH name=value" lines.
//
//   baseline_window             start, first complete paint, exit (start-up and memory)
//   baseline_window --hover=N   start, then N enters of a plain area over the board that
//                               opens a stock tool window with a popup's controls

#include <QGuiApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPixmap>
#include <QPointer>
#include <QScreen>
#include <QWindow>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "bench/hover_probe.h"
#include "bench/launch_clock.h"
#include "bench/plain_hover_spot.h"
#include "bench/probed_application.h"

namespace {

constexpr QRect kBoardBounds(142, 74, 600, 384);
constexpr QRect kCircleBounds(264, 24, 281, 81);

void Report(const char* name, double value) {
  std::printf("BENCH %s=%.3f\n", name, value);
  std::fflush(stdout);
}

void AddMenus(QMenuBar* bar) {
  QMenu* file = bar->addMenu(QStringLiteral("&File"));
  file->addAction(QStringLiteral("&Exit"));
  QMenu* settings = bar->addMenu(QStringLiteral("&Settings"));
  settings->addAction(QStringLiteral("Mode Settings"));
  QMenu* options = bar->addMenu(QStringLiteral("&Options"));
  options->addAction(QStringLiteral("LED info"));
  options->addAction(QStringLiteral("USB Connector"));
  QMenu* help = bar->addMenu(QStringLiteral("&Help"));
  help->addAction(QStringLiteral("H&ow to use this program"));
  help->addAction(QStringLiteral("&Technical Support"));
}

}  // namespace

int main(int argc, char** argv) {
  int enters = 0;
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--hover=", 8) == 0) enters = std::max(1, std::atoi(argv[i] + 8));
  }

  TProbedApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Setup"));
  Report("application_ms", MsBetween(LaunchNs(), NowNs()));

  auto* window = new QMainWindow;
  window->setWindowTitle(QStringLiteral("Setup"));
  auto* client = new QWidget(window);
  QPalette palette = client->palette();
  palette.setColor(QPalette::Window, Qt::white);
  client->setPalette(palette);
  client->setAutoFillBackground(true);
  window->setCentralWidget(client);
  AddMenus(window->menuBar());

  auto* board = new QLabel(client);
  board->setGeometry(kBoardBounds);
  board->setScaledContents(true);
  board->setPixmap(QPixmap(QStringLiteral(":/assets/board.jpg")));

  TPlainHoverSpot* spot = nullptr;
  if (enters > 0) {
    spot = new TPlainHoverSpot(board, client);
    spot->setGeometry(kCircleBounds);
  }

  Report("form_built_ms", MsBetween(LaunchNs(), NowNs()));

  std::int64_t firstPaintAt = 0;
  double firstPaintCpu = 0.0;
  bool firstPaintReported = false;
  bool boardPainted = false;
  app.SetAfterEvent([&](QObject* receiver, QEvent::Type type, int depth) {
    if (type == QEvent::Paint && receiver == board) boardPainted = true;
    if (firstPaintAt == 0 && boardPainted && TProbedApplication::IsWindowRepaint(receiver, type, window) &&
        window->windowHandle() != nullptr && window->windowHandle()->isExposed()) {
      firstPaintAt = NowNs();
      firstPaintCpu = ProcessCpuMs();
    }
    if (depth != 0 || firstPaintAt == 0 || firstPaintReported) return;
    firstPaintReported = true;
    Report("first_paint_ms", MsBetween(LaunchNs(), firstPaintAt));
    Report("first_paint_cpu_ms", firstPaintCpu);
    if (enters > 0) {
      QCoreApplication::exit(0);
    } else {
      window->close();
    }
  });

  window->setWindowState(Qt::WindowMaximized);
  if (QScreen* screen = QGuiApplication::primaryScreen()) window->setGeometry(screen->availableGeometry());
  window->show();
  QApplication::exec();
  app.SetAfterEvent({});

  if (spot != nullptr) {
    const QList<QPoint> away{board->mapToGlobal(QPoint(300, 200)), board->mapToGlobal(QPoint(150, 250)),
                             board->mapToGlobal(QPoint(500, 350))};
    const QPointer<TPlainHoverSpot> target = spot;
    THoverProbe probe(
        app, spot, [target]() -> QWidget* { return target ? target->Popup() : nullptr; }, away);
    const QList<double> times = probe.Measure(enters);
    for (qsizetype i = 0; i < times.size(); ++i)
      Report(i == 0 ? "hover_first_ms" : "hover_later_ms", times[i]);
    window->close();
  }

  delete window;
  Report("peak_rss_kib", static_cast<double>(PeakResidentKiB()));
  return 0;
}
