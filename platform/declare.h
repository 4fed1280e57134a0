#pragma once

#include <QAction>
#include <QLatin1String>
#include <QRect>
#include <QWidget>

#include "platform/events.h"

// The vocabulary a form uses to declare its page in code: components by name and bounds,
// menu commands wired to the form's published handlers.

// Creates a component on `parent` with its name and its bounds in the parent's client area.
template <class Component>
Component* Declare(QWidget* parent, const char* name, QRect bounds) {
  auto* component = new Component(parent);
  component->setObjectName(QLatin1String(name));
  component->setGeometry(bounds);
  return component;
}

// Connects a menu command to a form's published handler, guarded like every page event.
template <class Form, class Handler>
void WireCommand(QAction* action, Form* form, Handler handler) {
  QObject::connect(action, &QAction::triggered, form,
                   [form, action, handler] { Guarded(action, [&] { (form->*handler)(action); }); });
}
