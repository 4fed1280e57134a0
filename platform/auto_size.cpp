#include "platform/auto_size.h"

#include <QList>
#include <QRect>

void AutoSizeClient(QWidget* form) {
  if (form == nullptr) return;
  QList<QWidget*> children;
  QRect bounds;
  for (QObject* object : form->children()) {
    auto* child = qobject_cast<QWidget*>(object);
    if (child == nullptr || child->isWindow()) continue;
    children.append(child);
    // A child counts when it shows together with the form, whether or not the form shows yet.
    if (child->isVisibleTo(form)) bounds = bounds.united(child->geometry());
  }
  if (bounds.isEmpty()) return;
  // Hidden children move along, so that they keep their places relative to the others.
  const QPoint offset = -bounds.topLeft();
  if (!offset.isNull()) {
    for (QWidget* child : children) child->move(child->pos() + offset);
  }
  form->resize(bounds.size());
}
