#include "bench/hover_probe.h"

#include <QCursor>

#include "bench/launch_clock.h"

namespace {

constexpr std::int64_t kGiveUpNs = 5'000'000'000;
// Rounds of event processing after each step, so that what the step queued (frame
// corrections, activation changes, repaints of the circles) is done before the next.
constexpr int kSettleRounds = 20;

}  // namespace

THoverProbe::THoverProbe(TProbedApplication& app, QWidget* target, TPopupOf popup, QList<QPoint> away)
    : FApp(app), FTarget(target), FPopup(std::move(popup)), FAway(std::move(away)) {}

THoverProbe::~THoverProbe() {
  FApp.SetAfterEvent({});
  FApp.SetBeforeEvent({});
}

QPoint THoverProbe::AwayPoint() const {
  const QRect target(FTarget->mapToGlobal(QPoint(0, 0)), FTarget->size());
  const QWidget* popup = FPopup();
  for (const QPoint& point : FAway) {
    if (target.contains(point)) continue;
    if (popup != nullptr && popup->frameGeometry().adjusted(-2, -2, 2, 2).contains(point)) continue;
    return point;
  }
  return FAway.isEmpty() ? QPoint(0, 0) : FAway.back();
}

bool THoverProbe::SpinUntil(const std::function<bool()>& condition) {
  // No sleeping between rounds: the time is taken where the paint ends, and a pause
  // between two rounds would add to it.
  const std::int64_t deadline = NowNs() + kGiveUpNs;
  while (!condition()) {
    if (NowNs() > deadline) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
  }
  return true;
}

void THoverProbe::Settle() {
  for (int i = 0; i < kSettleRounds; ++i) QCoreApplication::processEvents(QEventLoop::AllEvents);
}

QList<double> THoverProbe::Measure(int enters) {
  QList<double> times;
  FApp.SetAfterEvent([this](QObject* receiver, QEvent::Type type, int depth) {
    QWidget* popup = FPopup();
    if (type == QEvent::Paint && receiver != nullptr && receiver == popup) FPopupPainted = true;
    if (FPopupPainted && FShownAt == 0 &&
        (depth == 0 || TProbedApplication::IsWindowRepaint(receiver, type, popup))) {
      FShownAt = NowNs();
    }
  });
  QCursor::setPos(AwayPoint());
  Settle();
  for (int i = 0; i < enters && FTarget != nullptr; ++i) {
    FPopupPainted = false;
    FShownAt = 0;
    const QPoint centre = FTarget->mapToGlobal(FTarget->rect().center());
    const std::int64_t start = NowNs();
    QCursor::setPos(centre);
    if (!SpinUntil([this] { return FShownAt != 0; })) {
      times.append(-1.0);
      break;
    }
    times.append(MsBetween(start, FShownAt));
    Settle();
    QCursor::setPos(AwayPoint());
    if (!SpinUntil([this] { return FPopup() == nullptr || !FPopup()->isVisible(); })) break;
    Settle();
  }
  FApp.SetAfterEvent({});
  return times;
}
