#include "platform/change_event.h"

#include <QLineEdit>

namespace {

constexpr char kBindingName[] = "_setup_on_change";

// Holds the handler for its parent list; it lives and dies with the list.
class TChangeBinding : public QObject {
 public:
  explicit TChangeBinding(QComboBox* comboBox) : QObject(comboBox), FComboBox(comboBox) {
    setObjectName(QLatin1String(kBindingName));
    connect(comboBox, &QComboBox::activated, this, &TChangeBinding::Changed);
  }

  // The edit field exists only while the list is editable; hear it once it is there.
  void WatchEdits() {
    QLineEdit* edit = FComboBox->lineEdit();
    if (edit == nullptr || edit == FWatchedEdit) return;
    FWatchedEdit = edit;
    connect(edit, &QLineEdit::textEdited, this, &TChangeBinding::Changed);
  }

  TNotifyEvent FEvent;

 private:
  void Changed() {
    // A copy, because the handler may give the list another handler while it runs.
    const TNotifyEvent event = FEvent;
    Fire(event, FComboBox);
  }

  QComboBox* FComboBox;
  QLineEdit* FWatchedEdit = nullptr;
};

TChangeBinding* BindingOf(const QComboBox* comboBox) {
  for (QObject* child : comboBox->children()) {
    if (child->objectName() == QLatin1String(kBindingName)) {
      if (auto* binding = dynamic_cast<TChangeBinding*>(child)) return binding;
    }
  }
  return nullptr;
}

}  // namespace

void SetOnChange(QComboBox* comboBox, TNotifyEvent event) {
  if (comboBox == nullptr) return;
  TChangeBinding* binding = BindingOf(comboBox);
  if (binding == nullptr) binding = new TChangeBinding(comboBox);
  binding->WatchEdits();
  binding->FEvent = std::move(event);
}

TNotifyEvent OnChange(const QComboBox* comboBox) {
  if (comboBox == nullptr) return {};
  const TChangeBinding* binding = BindingOf(comboBox);
  return binding != nullptr ? binding->FEvent : TNotifyEvent();
}
