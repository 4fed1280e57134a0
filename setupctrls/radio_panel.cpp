#include "setupctrls/radio_panel.h"

#include <QPainter>

#include "platform/class_name.h"
#include "setupctrls/two_jumper.h"

TRadioPanel::TRadioPanel(QWidget* parent) : QWidget(parent) {
  SetAnchors(this, akLeft | akTop);
  resize(194, 100);
  // Hidden until its popup takes it in and shows it.
  setVisible(false);
}

TRadioPanel::~TRadioPanel() = default;

void TRadioPanel::SetFinalAnchors(TAnchors value) {
  // Inside the popup the setting is live; before that it waits for the hand-over.
  if (FInPopup && Anchors(this) != value) SetAnchors(this, value);
  FFinalAnchors = value;
}

void TRadioPanel::SetColor(TColor value) {
  if (value == FColor) return;
  FColor = value;
  update();
}

void TRadioPanel::SetBevelOuter(TBevelCut value) {
  if (value == FBevelOuter) return;
  FBevelOuter = value;
  update();
}

void TRadioPanel::SelectJumper(TTwoJumper* jumper) {
  bool changed = false;
  // Setting Closed never adds or removes children, but work on a snapshot all the same.
  const QObjectList kids = children();
  const qsizetype count = kids.size();
  for (qsizetype i = 0; i < count; ++i) {
    if (!IsExactClass(kids.at(i), "TTwoJumper")) continue;
    auto* child = qobject_cast<TTwoJumper*>(kids.at(i));
    if (child == nullptr) continue;
    const bool closed = child == jumper;
    if (child->Closed() != closed) changed = true;
    child->SetClosed(closed);
  }
  if (changed) Fire(FOnRadioChange, jumper);
}

void TRadioPanel::paintEvent(QPaintEvent* /*event*/) {
  // A plain face: the colour and the outer bevel, never a caption.
  QPainter painter(this);
  painter.fillRect(rect(), ToQColor(FColor));
  if (FBevelOuter != bvRaised && FBevelOuter != bvLowered) return;
  const bool raised = FBevelOuter == bvRaised;
  const QColor light = palette().color(QPalette::Light);
  const QColor dark = palette().color(QPalette::Dark);
  const QRect r = rect();
  painter.setPen(raised ? light : dark);
  painter.drawLine(r.topLeft(), r.topRight());
  painter.drawLine(r.topLeft(), r.bottomLeft());
  painter.setPen(raised ? dark : light);
  painter.drawLine(r.bottomLeft(), r.bottomRight());
  painter.drawLine(r.topRight(), r.bottomRight());
}
