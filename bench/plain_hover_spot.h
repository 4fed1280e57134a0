#pragma once

#include <QPointer>
#include <QWidget>

// The plain Qt counterpart of a highlight circle for the hover baseline: a transparent
// area that opens a small tool window when the mouse enters it and hides it when the mouse
// leaves. The window holds what a circle's popup holds (an option panel with its controls,
// a read-only memo, three buttons and a status bar), made from stock widgets. The panel is
// made up front, hidden, and moved into the window when the window is first made.
class TPlainHoverSpot : public QWidget {
  Q_OBJECT

 public:
  TPlainHoverSpot(QWidget* parent, QWidget* panelParent);
  ~TPlainHoverSpot() override;

  QWidget* Popup() const { return FPopup; }

 protected:
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  void MakePopup();

  QWidget* FPanel = nullptr;
  QPointer<QWidget> FPopup;
};
