#include "setupctrls/accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLabel>

#include "setupctrls/board_highlight.h"
#include "setupctrls/three_jumper.h"
#include "setupctrls/two_jumper.h"

namespace {

// The label that names a jumper: the page makes the jumper its label's buddy.
QString LabelOf(const QWidget* control) {
  if (const QWidget* parent = control->parentWidget()) {
    for (const QLabel* label : parent->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly)) {
      if (label->buddy() == control) return label->text();
    }
  }
  return control->objectName();
}

QString KindOf(THighlightType type) {
  switch (type) {
    case htOptions: return QStringLiteral("Information circle");
    case htSettings: return QStringLiteral("Settings circle");
    case htCalibration: return QStringLiteral("Calibration circle");
  }
  return {};
}

class CircleAccessible : public QAccessibleWidget {
 public:
  explicit CircleAccessible(QWidget* w) : QAccessibleWidget(w, QAccessible::Button) {}
  QString text(QAccessible::Text t) const override {
    const auto* circle = static_cast<const TBoardHighlight*>(widget());
    if (t == QAccessible::Name) return circle->Title();
    if (t == QAccessible::Description) return KindOf(circle->HighlightType());
    return QAccessibleWidget::text(t);
  }
};

class TwoJumperAccessible : public QAccessibleWidget {
 public:
  explicit TwoJumperAccessible(QWidget* w) : QAccessibleWidget(w, QAccessible::CheckBox) {}
  QString text(QAccessible::Text t) const override {
    const auto* jumper = static_cast<const TTwoJumper*>(widget());
    if (t == QAccessible::Name) return LabelOf(jumper);
    if (t == QAccessible::Description)
      return jumper->Closed() ? QStringLiteral("closed") : QStringLiteral("open");
    return QAccessibleWidget::text(t);
  }
  QAccessible::State state() const override {
    QAccessible::State s = QAccessibleWidget::state();
    s.checkable = true;
    s.checked = static_cast<const TTwoJumper*>(widget())->Closed();
    return s;
  }
};

class ThreeJumperAccessible : public QAccessibleWidget {
 public:
  explicit ThreeJumperAccessible(QWidget* w) : QAccessibleWidget(w, QAccessible::Button) {}
  QString text(QAccessible::Text t) const override {
    const auto* jumper = static_cast<const TThreeJumper*>(widget());
    if (t == QAccessible::Name) return LabelOf(jumper);
    if (t == QAccessible::Description) {
      switch (jumper->JumperState()) {
        case jsOpen: return QStringLiteral("no cap");
        case jsLeft: return QStringLiteral("cap on the left and middle pins");
        case jsRight: return QStringLiteral("cap on the middle and right pins");
      }
    }
    return QAccessibleWidget::text(t);
  }
};

QAccessibleInterface* Factory(const QString& className, QObject* object) {
  auto* widget = qobject_cast<QWidget*>(object);
  if (widget == nullptr) return nullptr;
  if (className == QLatin1String("TBoardHighlight")) return new CircleAccessible(widget);
  if (className == QLatin1String("TTwoJumper")) return new TwoJumperAccessible(widget);
  if (className == QLatin1String("TThreeJumper")) return new ThreeJumperAccessible(widget);
  return nullptr;
}

}  // namespace

void InstallAccessibility() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  QAccessible::installFactory(Factory);
}
