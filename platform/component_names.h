#pragma once

#include <QObject>
#include <QString>

// Component names compare without regard to ASCII letter case, as the platform's
// component names always have; other characters must match exactly.
bool SameComponentName(const QString& a, const QString& b);

// True when some object under Owner (at any depth, the owner itself not counted) has
// the given name.
bool HasComponentNamed(const QObject* Owner, const QString& Name);

// Base followed by the smallest n from 1 for which Owner has no component of that name.
QString UniqueComponentName(const QObject* Owner, const QString& Base);
