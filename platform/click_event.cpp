#include "platform/click_event.h"

namespace {

constexpr char kBindingName[] = "_setup_on_click";

// Holds the handler for its parent button; it lives and dies with the button.
class TClickBinding : public QObject {
 public:
  explicit TClickBinding(QAbstractButton* button) : QObject(button) {
    setObjectName(QLatin1String(kBindingName));
    connect(button, &QAbstractButton::clicked, this, [this, button] {
      // A copy, because the handler may give the button another handler while it runs.
      const TNotifyEvent event = FEvent;
      Fire(event, button);
    });
  }
  TNotifyEvent FEvent;
};

TClickBinding* BindingOf(const QAbstractButton* button) {
  for (QObject* child : button->children()) {
    if (child->objectName() == QLatin1String(kBindingName)) {
      if (auto* binding = dynamic_cast<TClickBinding*>(child)) return binding;
    }
  }
  return nullptr;
}

}  // namespace

void SetOnClick(QAbstractButton* button, TNotifyEvent event) {
  if (button == nullptr) return;
  TClickBinding* binding = BindingOf(button);
  if (binding == nullptr) binding = new TClickBinding(button);
  binding->FEvent = std::move(event);
}

TNotifyEvent OnClick(const QAbstractButton* button) {
  if (button == nullptr) return {};
  const TClickBinding* binding = BindingOf(button);
  return binding != nullptr ? binding->FEvent : TNotifyEvent();
}
