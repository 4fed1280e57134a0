#include "bench/probed_application.h"

#include <QWidget>
#include <QWindow>

TProbedApplication::TProbedApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TProbedApplication::notify(QObject* receiver, QEvent* event) {
  // The event may be gone once delivered; only its type is kept for the hook. The
  // receiver is passed on only to be compared with objects the program still holds.
  const QEvent::Type type = event->type();
  if (FBeforeEvent) FBeforeEvent(receiver, type, FDepth);
  ++FDepth;
  const bool result = QApplication::notify(receiver, event);
  --FDepth;
  if (FAfterEvent) FAfterEvent(receiver, type, FDepth);
  return result;
}

bool TProbedApplication::IsWindowRepaint(QObject* receiver, QEvent::Type type, const QWidget* window) {
  if (window == nullptr || receiver == nullptr) return false;
  // A paint event to the widget itself comes before its children's; one to the native
  // window carries the whole repaint.
  if (receiver == window) return type == QEvent::UpdateRequest;
  if (receiver != window->windowHandle()) return false;
  return type == QEvent::Expose || type == QEvent::Paint || type == QEvent::UpdateRequest;
}
