#pragma once

#include <QObject>
#include <cstring>

// Components recognise their partners by exact class name, never through inheritance.
inline bool IsExactClass(const QObject* object, const char* className) {
  return object != nullptr && std::strcmp(object->metaObject()->className(), className) == 0;
}
