#include "platform/anchors.h"

#include <QEvent>
#include <QPointer>
#include <QResizeEvent>
#include <algorithm>

namespace {

constexpr const char* kAnchorsProperty = "_setup_anchors";
constexpr const char* kMarginsProperty = "_setup_anchor_margins";

// Distances kept for one control: left, top, right, bottom, and the relative centre.
struct Margins {
  int left = 0, top = 0, right = 0, bottom = 0;
  double centreX = 0.5, centreY = 0.5;
};

class AnchorFilter : public QObject {
 public:
  using QObject::QObject;

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Resize) {
      if (auto* parent = qobject_cast<QWidget*>(watched)) Arrange(parent);
    }
    return false;
  }

  static void Arrange(QWidget* parent) {
    const QSize size = ClientSize(parent);
    for (QObject* child : parent->children()) {
      auto* w = qobject_cast<QWidget*>(child);
      if (w == nullptr || w->isWindow() || !w->property(kAnchorsProperty).isValid()) continue;
      const TAnchors a = TAnchors::fromInt(w->property(kAnchorsProperty).toInt());
      const Margins m = w->property(kMarginsProperty).value<Margins>();
      QRect r = w->geometry();
      if (a.testFlag(akLeft) && a.testFlag(akRight)) {
        r.setLeft(m.left);
        r.setWidth(qMax(0, size.width() - m.left - m.right));
      } else if (a.testFlag(akRight)) {
        r.moveLeft(size.width() - m.right - r.width());
      } else if (!a.testFlag(akLeft)) {
        r.moveLeft(static_cast<int>(m.centreX * size.width() - r.width() / 2.0));
      }
      if (a.testFlag(akTop) && a.testFlag(akBottom)) {
        r.setTop(m.top);
        r.setHeight(qMax(0, size.height() - m.top - m.bottom));
      } else if (a.testFlag(akBottom)) {
        r.moveTop(size.height() - m.bottom - r.height());
      } else if (!a.testFlag(akTop)) {
        r.moveTop(static_cast<int>(m.centreY * size.height() - r.height() / 2.0));
      }
      if (r != w->geometry()) w->setGeometry(r);
    }
  }
};

}  // namespace

Q_DECLARE_METATYPE(Margins)

void SetAnchors(QWidget* control, TAnchors anchors) {
  QWidget* parent = control->parentWidget();
  control->setProperty(kAnchorsProperty, anchors.toInt());
  if (parent == nullptr) return;
  const QSize size = ClientSize(parent);
  const QRect r = control->geometry();
  Margins m;
  m.left = r.left();
  m.top = r.top();
  m.right = size.width() - (r.left() + r.width());
  m.bottom = size.height() - (r.top() + r.height());
  m.centreX = size.width() > 0 ? (r.left() + r.width() / 2.0) / size.width() : 0.5;
  m.centreY = size.height() > 0 ? (r.top() + r.height() / 2.0) / size.height() : 0.5;
  control->setProperty(kMarginsProperty, QVariant::fromValue(m));
  // The filter has no meta-object of its own, so findChild<AnchorFilter*> would take any
  // child for one; look for it by its dynamic type instead.
  const QObjectList& siblings = parent->children();
  const bool hasFilter = std::any_of(siblings.begin(), siblings.end(), [](QObject* child) {
    return dynamic_cast<AnchorFilter*>(child) != nullptr;
  });
  if (!hasFilter) parent->installEventFilter(new AnchorFilter(parent));
}

TAnchors Anchors(const QWidget* control) {
  const QVariant v = control->property(kAnchorsProperty);
  return v.isValid() ? TAnchors::fromInt(v.toInt()) : TAnchors(akLeft | akTop);
}
