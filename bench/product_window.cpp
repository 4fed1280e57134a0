// The program as app/main.cpp starts it, timed from outside: the same application object
// calls and the same main form, with hooks that only watch events. It prints what it
// measured as "BENCH name=value" lines on standard output.
//
//   product_window               start, first complete paint, exit (start-up and memory)
//   product_window --help-window start, first idle moment, help window painted, exit
//   product_window --hover=N     start, help window shown and closed, then N enters of the
//                                "Mode Settings" circle, each until its popup is painted

#include <QPointer>
#include <QWindow>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/main_form.h"
#include "bench/hover_probe.h"
#include "bench/launch_clock.h"
#include "bench/probed_application.h"
#include "platform/application.h"
#include "setupctrls/board_highlight.h"
#include "setupctrls/board_image.h"
#include "setupctrls/setup_supporter.h"

namespace {

enum class TRun { StartUp, HelpWindow, Hover };

struct TOptions {
  TRun run = TRun::StartUp;
  int enters = 0;
};

TOptions ParseOptions(int argc, char** argv) {
  TOptions options;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help-window") == 0) options.run = TRun::HelpWindow;
    if (std::strncmp(argv[i], "--hover=", 8) == 0) {
      options.run = TRun::Hover;
      options.enters = std::max(1, std::atoi(argv[i] + 8));
    }
  }
  return options;
}

void Report(const char* name, double value) {
  std::printf("BENCH %s=%.3f\n", name, value);
  std::fflush(stdout);
}

// The first moment the main window is on the screen complete: shown and exposed, the
// board painted at the place it centres itself to, and every circle past its first paint
// (its three looks built and its menu entry made).
class TFirstPaintWatch {
 public:
  void Before(QObject* receiver, QEvent::Type type) {
    if (type == QEvent::Paint && MainForm != nullptr && receiver == MainForm->BoardImage1)
      FBoardPosBefore = MainForm->BoardImage1->pos();
  }

  void After(QObject* receiver, QEvent::Type type) {
    if (type == QEvent::Paint && MainForm != nullptr && receiver == MainForm->BoardImage1 &&
        MainForm->BoardImage1->pos() == FBoardPosBefore) {
      FBoardPainted = true;
    }
  }

  bool Complete() const {
    if (MainForm == nullptr || !FBoardPainted || !MainForm->isVisible()) return false;
    if (MainForm->windowHandle() == nullptr || !MainForm->windowHandle()->isExposed()) return false;
    for (QObject* child : MainForm->BoardImage1->children()) {
      if (auto* circle = qobject_cast<TBoardHighlight*>(child);
          circle != nullptr && !circle->FirstPaintDone())
        return false;
    }
    return true;
  }

 private:
  QPoint FBoardPosBefore;
  bool FBoardPainted = false;
};

}  // namespace

int main(int argc, char** argv) {
  const TOptions options = ParseOptions(argc, argv);

  TProbedApplication qtApplication(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Setup"));
  QGuiApplication::setDesktopFileName(QStringLiteral("org.example.NbQuadportSetup"));
  Report("application_ms", MsBetween(LaunchNs(), NowNs()));

  Application().Initialize();
  Application().CreateForm(MainForm);
  Report("form_built_ms", MsBetween(LaunchNs(), NowNs()));

  // The idle handler the form installed, called unchanged, with the moment noted.
  std::int64_t idleAt = 0;
  if (const TApplication::TIdleEvent installed = Application().OnIdle()) {
    Application().SetOnIdle([installed, &idleAt](QObject* sender, bool& done) {
      const bool first = idleAt == 0;
      if (first) idleAt = NowNs();
      installed(sender, done);
      if (first) {
        Report("first_idle_ms", MsBetween(LaunchNs(), idleAt));
        Report("first_idle_handler_ms", MsBetween(idleAt, NowNs()));
      }
    });
  }

  TFirstPaintWatch firstPaint;
  std::int64_t firstPaintAt = 0;
  double firstPaintCpu = 0.0;
  bool firstPaintReported = false;
  bool helpPainted = false;
  std::int64_t helpAt = 0;
  bool helpReported = false;
  qtApplication.SetBeforeEvent(
      [&](QObject* receiver, QEvent::Type type, int /*depth*/) { firstPaint.Before(receiver, type); });
  qtApplication.SetAfterEvent([&](QObject* receiver, QEvent::Type type, int depth) {
    firstPaint.After(receiver, type);
    if (MainForm == nullptr) return;
    // Times are taken where the window's repaint ends, at whatever depth: the idle handler,
    // for one, may run the pending repaint itself before it builds.
    if (firstPaintAt == 0 && TProbedApplication::IsWindowRepaint(receiver, type, MainForm) &&
        firstPaint.Complete()) {
      firstPaintAt = NowNs();
      firstPaintCpu = ProcessCpuMs();
    }
    QWidget* help = MainForm->SetSup != nullptr ? MainForm->SetSup->HelpForm() : nullptr;
    if (type == QEvent::Paint && help != nullptr && receiver == help) helpPainted = true;
    if (helpAt == 0 && helpPainted && TProbedApplication::IsWindowRepaint(receiver, type, help))
      helpAt = NowNs();
    // What the run does next waits for the event loop itself.
    if (depth != 0) return;
    if (firstPaintAt != 0 && !firstPaintReported) {
      firstPaintReported = true;
      Report("first_paint_ms", MsBetween(LaunchNs(), firstPaintAt));
      Report("first_paint_cpu_ms", firstPaintCpu);
      // The user's way out: the File menu's Exit closes the main form.
      if (options.run == TRun::StartUp) MainForm->close();
    }
    if (helpAt != 0 && !helpReported) {
      helpReported = true;
      if (idleAt != 0) Report("help_after_idle_ms", MsBetween(idleAt, helpAt));
      if (options.run == TRun::HelpWindow) MainForm->close();
      // The user closes the help window with its close box before going to the board.
      if (options.run == TRun::Hover) {
        help->close();
        QCoreApplication::exit(0);
      }
    }
  });

  Application().Run();

  if (options.run == TRun::Hover && MainForm != nullptr) {
    qtApplication.SetBeforeEvent({});
    qtApplication.SetAfterEvent({});
    TBoardImage* board = MainForm->BoardImage1;
    const QList<QPoint> away{board->mapToGlobal(QPoint(300, 200)), board->mapToGlobal(QPoint(150, 250)),
                             board->mapToGlobal(QPoint(500, 350))};
    const QPointer<TBoardHighlight> circle = MainForm->ModeHLT;
    THoverProbe probe(
        qtApplication, circle, [circle]() -> QWidget* { return circle ? circle->Popup() : nullptr; }, away);
    const QList<double> times = probe.Measure(options.enters);
    for (qsizetype i = 0; i < times.size(); ++i)
      Report(i == 0 ? "hover_first_ms" : "hover_later_ms", times[i]);
    MainForm->close();
  }

  // The main form takes everything it owns with it; nothing is saved.
  delete MainForm;
  Report("peak_rss_kib", static_cast<double>(PeakResidentKiB()));
  return 0;
}
