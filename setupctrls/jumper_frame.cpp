#include "setupctrls/jumper_frame.h"

#include <QMouseEvent>
#include <QPainter>
#include <cstring>

#include "platform/class_name.h"
#include "setupctrls/radio_panel.h"

TJumperFrame::TJumperFrame(QWidget* parent, int width, int height) : QWidget(parent) {
  resize(width, height);
}

void TJumperFrame::SetOrientation(TOrientationType value) {
  if (value == FOrientation) return;
  // A second crossing before the next paint undoes the first, so the size that the
  // pending exchange would give is always the one the drawing needs.
  if (IsVertical(value) != IsVertical(FOrientation)) FSwapPending = !FSwapPending;
  FOrientation = value;
  update();
}

void TJumperFrame::SetBaseColor(TColor value) {
  if (value == FBaseColor) return;
  FBaseColor = value;
  update();
}

void TJumperFrame::SetPinColor(TColor value) {
  if (value == FPinColor) return;
  FPinColor = value;
  update();
}

void TJumperFrame::SetJumperColor(TColor value) {
  if (value == FJumperColor) return;
  FJumperColor = value;
  update();
}

void TJumperFrame::SetBorderStyle(TBorderStyle value) {
  if (value == FBorderStyle) return;
  FBorderStyle = value;
  update();
}

TColor TJumperFrame::BackgroundColor() const {
  const QWidget* parent = parentWidget();
  if (IsExactClass(parent, "TRadioPanel")) {
    if (const auto* panel = qobject_cast<const TRadioPanel*>(parent)) return panel->Color();
  }
  return clBtnFace;
}

void TJumperFrame::ComposeOutput(int L, int T) {
  if (FWorkBitmap.size() != QSize(L, T)) FWorkBitmap = QImage(L, T, QImage::Format_RGB32);

  const TCanvas::TPen savedPen = FWorkCanvas.Pen;
  const TCanvas::TBrush savedBrush = FWorkCanvas.Brush;
  const TColor background = BackgroundColor();
  FWorkCanvas.Brush.Color = background;
  FWorkCanvas.Pen.Color = background;
  FWorkCanvas.Brush.Style = bsSolid;
  FWorkCanvas.Pen.Style = psSolid;
  FWorkCanvas.Rectangle(0, 0, L, T);
  ComposeWork(FWorkCanvas, L, T);
  FWorkCanvas.Pen = savedPen;
  FWorkCanvas.Brush = savedBrush;

  const bool vertical = IsVertical(FOrientation);
  const QSize outSize = vertical ? QSize(T, L) : QSize(L, T);
  if (FOutBitmap.size() != outSize) FOutBitmap = QImage(outSize, QImage::Format_RGB32);
  if (L <= 0 || T <= 0) return;

  for (int y = 0; y < T; ++y) {
    const auto* work = reinterpret_cast<const QRgb*>(FWorkBitmap.constScanLine(y));
    switch (FOrientation) {
      case otUp: std::memcpy(FOutBitmap.scanLine(y), work, sizeof(QRgb) * L); break;
      case otDown: {
        auto* out = reinterpret_cast<QRgb*>(FOutBitmap.scanLine(T - 1 - y));
        for (int x = 0; x < L; ++x) out[L - 1 - x] = work[x];
        break;
      }
      case otLeft:
        // The row's left end comes out at the bottom.
        for (int x = 0; x < L; ++x) reinterpret_cast<QRgb*>(FOutBitmap.scanLine(L - 1 - x))[y] = work[x];
        break;
      case otRight:
        // The row's left end comes out at the top.
        for (int x = 0; x < L; ++x) reinterpret_cast<QRgb*>(FOutBitmap.scanLine(x))[T - 1 - y] = work[x];
        break;
    }
  }
}

void TJumperFrame::paintEvent(QPaintEvent* /*event*/) {
  const bool vertical = IsVertical(FOrientation);
  ComposeOutput(vertical ? height() : width(), vertical ? width() : height());

  if (FSwapPending) {
    FSwapPending = false;
    // Before the first paint the declared size already fits the declared orientation.
    if (FHasPainted) {
      const QSize old = size();
      resize(old.height(), old.width());
    }
  }

  // The exchange above leaves this paint with an image of the other shape; the repaint
  // that the new size brings draws the final one, so copy only what overlaps.
  const QRect source = QRect(0, 0, width(), height()).intersected(FOutBitmap.rect());
  if (!source.isEmpty()) {
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(QPoint(0, 0), FOutBitmap, source);
  }
  FHasPainted = true;
}

void TJumperFrame::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QWidget::mousePressEvent(event);
    return;
  }
  FLeftPressed = true;
  event->accept();
}

void TJumperFrame::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QWidget::mouseReleaseEvent(event);
    return;
  }
  const bool click = FLeftPressed && rect().contains(event->position().toPoint());
  FLeftPressed = false;
  event->accept();
  if (click) Click();
}
