#pragma once

#include <QWidget>

// A form's automatic sizing switched on and off once: the client area is fitted to the bounds
// of the visible children. The children move together so that their bounds start at the
// client origin, and the client area takes the size of the bounds. Without visible children
// nothing changes.
void AutoSizeClient(QWidget* form);
