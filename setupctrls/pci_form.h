#pragma once

#include <QDialog>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QString>

#include "platform/events.h"

// The installed-cards window: one line per card that the driver reports. Built once by the
// setup supporter, visible from the moment it is created; then only shown and hidden.
class TPCIForm : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kMemoLeft = 8;
  static constexpr int kMemoTop = 8;
  static constexpr int kMemoWidth = 305;
  static constexpr int kMemoHeight = 89;
  static constexpr int kCloseTop = 105;
  static constexpr int kCloseWidth = 73;
  static constexpr int kCloseHeight = 25;

  // Builds and shows the window on the owner; CloseClick is the Close button's click handler
  // (the supporter's, which hides the window). The memo is left for the caller to fill.
  TPCIForm(QWidget* owner, const QString& cardName, TNotifyEvent CloseClick);

  // Controls, in declaration order.
  QPlainTextEdit* PCIMemo = nullptr;
  QPushButton* CloseButton = nullptr;

 public slots:
  // Esc presses Close, the cancel button.
  void reject() override;

 protected:
  // The close box only hides the window.
  void closeEvent(QCloseEvent* event) override;
};
