#pragma once

#include <QComboBox>

#include "platform/events.h"

// A combo box's change event as one replaceable handler, as pages assign it: setting a new
// handler replaces the old one, an empty handler leaves the list without one. It fires on the
// user's actions only (choosing an entry, editing the text), never when code sets the index,
// and the handler runs guarded, with the combo box as sender. Make the list editable before
// assigning, so that its edits are heard too.
void SetOnChange(QComboBox* comboBox, TNotifyEvent event);
TNotifyEvent OnChange(const QComboBox* comboBox);
