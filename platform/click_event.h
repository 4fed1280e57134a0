#pragma once

#include <QAbstractButton>

#include "platform/events.h"

// A button's click event as one replaceable handler, as pages assign it: setting a new
// handler replaces the old one, an empty handler leaves the button without one. The handler
// runs guarded, with the button as sender.
void SetOnClick(QAbstractButton* button, TNotifyEvent event);
TNotifyEvent OnClick(const QAbstractButton* button);
