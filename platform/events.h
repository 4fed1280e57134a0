#pragma once

#include <QObject>
#include <functional>
#include <stdexcept>

// Events are values that may be empty: an assigned handler is called with its sender.
using TNotifyEvent = std::function<void(QObject* Sender)>;

// The platform's out-of-resources error ("Not enough timers available").
class EOutOfResources : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Runs page code called from a Qt handler; an exception is handed to the application's
// exception handler, which reports it, so that none ever crosses a Qt frame.
void Guarded(QObject* sender, const std::function<void()>& action);

// Calls an event when it is assigned, through Guarded.
inline void Fire(const TNotifyEvent& event, QObject* sender) {
  if (event) Guarded(sender, [&] { event(sender); });
}
