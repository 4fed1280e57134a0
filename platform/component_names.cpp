#include "platform/component_names.h"

namespace {

QChar AsciiLower(QChar c) {
  return c >= QLatin1Char('A') && c <= QLatin1Char('Z') ? QChar(c.unicode() + ('a' - 'A')) : c;
}

}  // namespace

bool SameComponentName(const QString& a, const QString& b) {
  if (a.size() != b.size()) return false;
  for (qsizetype i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

bool HasComponentNamed(const QObject* Owner, const QString& Name) {
  if (Owner == nullptr) return false;
  const QList<QObject*> owned = Owner->findChildren<QObject*>();
  for (const QObject* object : owned) {
    if (SameComponentName(object->objectName(), Name)) return true;
  }
  return false;
}

QString UniqueComponentName(const QObject* Owner, const QString& Base) {
  for (int n = 1;; ++n) {
    const QString name = Base + QString::number(n);
    if (!HasComponentNamed(Owner, name)) return name;
  }
}
