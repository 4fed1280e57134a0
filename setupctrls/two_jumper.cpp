#include "setupctrls/two_jumper.h"

#include <QPointer>
#include <algorithm>

#include "platform/class_name.h"
#include "platform/rounding.h"
#include "setupctrls/radio_panel.h"

TTwoJumper::TMeasures TTwoJumper::Measures(int L, int T) {
  TMeasures m;
  m.a = nearest(L / 3.5);
  m.px = m.a + 1;
  m.r = std::min(m.a / 3, nearest(T / 4.0));
  m.cy = T / 2;
  return m;
}

TTwoJumper::TTwoJumper(QWidget* parent) : TJumperFrame(parent, kDefaultWidth, kDefaultHeight) {}

void TTwoJumper::SetClosed(bool value) {
  if (value == FClosed) return;
  FClosed = value;
  update();
}

void TTwoJumper::Click() {
  FClosed = !FClosed;
  update();
  QPointer<TTwoJumper> self(this);
  if (IsExactClass(parentWidget(), "TRadioPanel")) {
    auto* panel = qobject_cast<TRadioPanel*>(parentWidget());
    if (panel != nullptr && panel->RadioEnabled()) panel->SelectJumper(this);
  }
  // The panel's change handler may have destroyed this jumper.
  if (self) FireClick();
}

void TTwoJumper::ComposeWork(TCanvas& canvas, int L, int T) {
  const bool single = BorderStyle() == bsSingle;
  canvas.Pen.Style = psSolid;
  if (FClosed) {
    // The cap covers the whole drawing.
    canvas.Pen.Color = single ? clBlack : JumperColor();
    canvas.Brush.Color = JumperColor();
    canvas.Rectangle(0, 0, L, T);
  } else {
    canvas.Pen.Color = single ? clBlack : BaseColor();
    canvas.Brush.Color = BaseColor();
    canvas.RoundRect(1, 1, L - 1, T - 1, T / 2, T / 2);
  }

  const TMeasures m = Measures(L, T);
  canvas.Pen.Style = psClear;
  canvas.Brush.Color = PinColor();
  canvas.Ellipse(m.px - m.r, m.cy - m.r, m.px + m.r, m.cy + m.r);
  canvas.Ellipse(L - m.px - m.r, m.cy - m.r, L - m.px + m.r, m.cy + m.r);
}
