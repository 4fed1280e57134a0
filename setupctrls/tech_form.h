#pragma once

#include <QDialog>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QString>

#include "platform/events.h"

// The technical support window: how to reach the maker. Built once by the setup supporter,
// then only shown and hidden; its text is fixed at building.
class TTechForm : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kMemoLeft = 8;
  static constexpr int kMemoTop = 8;
  static constexpr int kMemoWidth = 305;
  static constexpr int kMemoHeight = 89;
  static constexpr int kCloseLeft = 165;
  static constexpr int kCloseTop = 105;
  static constexpr int kCloseWidth = 73;
  static constexpr int kCloseHeight = 25;

  // Builds the window on the owner with the given text; CloseClick is the Close button's
  // click handler (the supporter's, which hides the window).
  TTechForm(QWidget* owner, const QString& supportText, TNotifyEvent CloseClick);

  // The support text, with CR LF line breaks. CallHow is expected to read naturally after
  // "You can call us ".
  static QString SupportText(const QString& companyName, const QString& callHow);

  // Controls, in declaration order.
  QPlainTextEdit* TechMemo = nullptr;
  QPushButton* CloseButton = nullptr;

 public slots:
  // Esc presses Close, the cancel button.
  void reject() override;

 protected:
  // The close box only hides the window.
  void closeEvent(QCloseEvent* event) override;
};
