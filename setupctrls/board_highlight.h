#pragma once

#include <QWidget>

// Skeleton: the highlight circle. Its owner fills in the rest of the class; the board
// image relies only on the three operations below for its tour message.
class TBoardHighlight : public QWidget {
  Q_OBJECT

 public:
  explicit TBoardHighlight(QWidget* parent = nullptr);

  // Mouse enter and leave handling; WParam 0 forwards to the linked circles, 1 does not.
  void CMMouseEnter(int WParam);
  void CMMouseLeave(int WParam);
  // Fires OnClick, then pins the popup.
  virtual void Click();
};
