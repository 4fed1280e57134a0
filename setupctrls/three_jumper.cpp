#include "setupctrls/three_jumper.h"

#include <algorithm>

#include "platform/rounding.h"

TThreeJumper::TMeasures TThreeJumper::Measures(int L, int T) {
  TMeasures m;
  m.a = nearest((L - 2) / 4.5);
  m.px = m.a + 1;
  m.r = std::min(m.a / 3, nearest((T - 2) / 4.0));
  m.cy = T / 2;
  m.cx = L / 2;
  m.h = (m.cx - m.px + 2) / 2;
  return m;
}

TThreeJumper::TThreeJumper(QWidget* parent) : TJumperFrame(parent, kDefaultWidth, kDefaultHeight) {}

void TThreeJumper::SetJumperState(TJumperState value) {
  if (value == FJumperState) return;
  if (value == jsOpen && !FAllowOpen) return;
  FJumperState = value;
  update();
}

void TThreeJumper::SetAllowOpen(bool value) {
  if (value == FAllowOpen) return;
  FAllowOpen = value;
  if (!FAllowOpen && FJumperState == jsOpen) SetJumperState(jsLeft);
  update();
}

void TThreeJumper::Click() {
  switch (FJumperState) {
    case jsOpen: SetJumperState(jsLeft); break;
    case jsLeft: SetJumperState(jsRight); break;
    case jsRight: SetJumperState(FAllowOpen ? jsOpen : jsLeft); break;
  }
  FireClick();
}

void TThreeJumper::ComposeWork(TCanvas& canvas, int L, int T) {
  const TMeasures m = Measures(L, T);

  canvas.Pen.Style = psSolid;
  canvas.Pen.Color = BorderStyle() == bsSingle ? clBlack : BaseColor();
  canvas.Brush.Color = BaseColor();
  canvas.RoundRect(1, 1, L - 1, T - 1, T / 2, T / 2);

  // The cap keeps its black outline whatever the border style.
  canvas.Pen.Color = clBlack;
  canvas.Brush.Color = JumperColor();
  if (FJumperState == jsLeft) canvas.Rectangle(0, 0, m.cx + m.h, T);
  if (FJumperState == jsRight) canvas.Rectangle(m.cx - m.h, 0, L, T);

  canvas.Pen.Style = psClear;
  canvas.Brush.Color = PinColor();
  canvas.Ellipse(m.px - m.r, m.cy - m.r, m.px + m.r, m.cy + m.r);
  canvas.Ellipse(m.cx - m.r, m.cy - m.r, m.cx + m.r, m.cy + m.r);
  canvas.Ellipse(L - m.px - m.r, m.cy - m.r, L - m.px + m.r, m.cy + m.r);
}
