#include "bench/probed_application.h"

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
