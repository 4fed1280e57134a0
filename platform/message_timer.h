#pragma once

#include <QBasicTimer>
#include <QObject>
#include <functional>

// A hidden message window with one periodic timer, whose ticks arrive as events on the
// user-interface thread. Starting the timer restarts its period from zero; destroying the
// window ends the timer.
class TMessageTimer : public QObject {
  Q_OBJECT

 public:
  // The window procedure: runs once per tick. It must not let exceptions escape.
  using TTimerProc = std::function<void()>;

  explicit TMessageTimer(TTimerProc proc, QObject* parent = nullptr);
  ~TMessageTimer() override;

  // Starts (or restarts) the timer; false when no timer could be had.
  bool Start(int intervalMs);
  void Kill();
  bool IsActive() const { return FTimer.isActive(); }
  int Interval() const { return FInterval; }

  // Makes every later start fail, as when the system has no timers left; for tests.
  static void SetStartRefused(bool refused);

 protected:
  void timerEvent(QTimerEvent* event) override;

 private:
  TTimerProc FProc;
  QBasicTimer FTimer;
  int FInterval = 0;
};
