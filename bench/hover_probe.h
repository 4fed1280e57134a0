#pragma once

#include <QList>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <functional>

#include "bench/probed_application.h"

// Times how long a popup takes to be on the screen after the mouse enters its widget: the
// pointer moves from a point away from the widget onto its centre, the time runs until the
// popup window's repaint is done, then the pointer leaves again and the popup is left to
// close. The first enter is the one that creates the popup.
class THoverProbe : public QObject {
  Q_OBJECT

 public:
  using TPopupOf = std::function<QWidget*()>;

  // Away: places on the screen to move the pointer to between enters; the first that lies
  // outside both the target and its popup is used.
  THoverProbe(TProbedApplication& app, QWidget* target, TPopupOf popup, QList<QPoint> away);
  ~THoverProbe() override;

  // Milliseconds from each enter to the popup painted; a negative value where it did not
  // show within a few seconds (and then the rest is not measured).
  QList<double> Measure(int enters);

 private:
  QPoint AwayPoint() const;
  bool SpinUntil(const std::function<bool()>& condition);
  void Settle();

  TProbedApplication& FApp;
  QPointer<QWidget> FTarget;
  TPopupOf FPopup;
  QList<QPoint> FAway;
  bool FPopupPainted = false;
  std::int64_t FShownAt = 0;
};
