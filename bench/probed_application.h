#pragma once

#include <QApplication>
#include <QEvent>
#include <functional>

// The application object of the benchmark programs: it delivers every event as Qt does
// and lets the program look at each one before and after delivery, so that a paint can
// be timed where it ends without touching the code that paints.
class TProbedApplication : public QApplication {
  Q_OBJECT

 public:
  // Depth is the number of deliveries still running around this one: 0 for an event the
  // event loop itself delivers, so that everything it caused (a window's whole repaint
  // and flush included) is done once the hook runs.
  using TEventHook = std::function<void(QObject* Receiver, QEvent::Type Type, int Depth)>;

  TProbedApplication(int& argc, char** argv);

  void SetBeforeEvent(TEventHook hook) { FBeforeEvent = std::move(hook); }
  void SetAfterEvent(TEventHook hook) { FAfterEvent = std::move(hook); }

  bool notify(QObject* receiver, QEvent* event) override;

  // Whether this delivery is one that repaints the top-level window and flushes it to the
  // screen (an exposure or an update request, to the widget or its native window), so
  // that a window's paint is complete when the after-hook sees it.
  static bool IsWindowRepaint(QObject* receiver, QEvent::Type type, const QWidget* window);

 private:
  TEventHook FBeforeEvent;
  TEventHook FAfterEvent;
  int FDepth = 0;
};
