#pragma once

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QSize>
#include <QString>

#include "platform/rich_edit.h"

// The help window: what the program is for, what the colours of the circles mean, and a
// Start button that closes the window and starts the guided tour of the board. Built once
// by the setup supporter, then only shown and hidden.
class THelpForm : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kRichWidth = 305;
  static constexpr int kRichHeight = 73;
  static constexpr int kRichTop = 24;
  static constexpr int kStartTop = 105;
  static constexpr int kStartWidth = 173;
  static constexpr int kStartHeight = 25;
  static constexpr int kExtraHeight = 8;
  static constexpr TColor kRichColor = RGBColor(0xDD, 0xDD, 0xDD);

  // Builds the window on the owner with the given RTF text, sized for a screen of the given
  // size in pixels.
  THelpForm(QWidget* owner, const QString& helpText, const QSize& screenSize);

  // The help text as an RTF document. ListsCards: the page describes installed cards, so the
  // File menu has the command that shows them.
  static QString HelpText(const QString& companyName, const QString& cardName, bool bSeries, bool multiPort,
                          bool listsCards);

  // How much the window grows on a screen of this size: never below 1.
  static double ScaleFactor(const QSize& screenSize);

  // Hides the window and starts the tour at the first board image on the main form.
  void StartButtonClick(QObject* Sender);

  // Controls, in declaration order. The window has no Close button.
  TRichEdit* HelpRich = nullptr;
  QLabel* HelpLabel = nullptr;
  QPushButton* CloseButton = nullptr;
  QPushButton* StartButton = nullptr;

 public slots:
  // Esc presses the Start button, which is also the cancel button.
  void reject() override;

 protected:
  // The close box only hides the window.
  void closeEvent(QCloseEvent* event) override;
};
