#include "platform/message_timer.h"

#include <QTimerEvent>

namespace {
bool startRefused = false;
}  // namespace

TMessageTimer::TMessageTimer(TTimerProc proc, QObject* parent) : QObject(parent), FProc(std::move(proc)) {}

TMessageTimer::~TMessageTimer() { FTimer.stop(); }

bool TMessageTimer::Start(int intervalMs) {
  FTimer.stop();
  if (startRefused) return false;
  FTimer.start(intervalMs, this);
  FInterval = intervalMs;
  return FTimer.isActive();
}

void TMessageTimer::Kill() { FTimer.stop(); }

void TMessageTimer::SetStartRefused(bool refused) { startRefused = refused; }

void TMessageTimer::timerEvent(QTimerEvent* event) {
  // The window has only the one timer; any tick runs the procedure.
  Q_UNUSED(event);
  if (FProc) FProc();
}
