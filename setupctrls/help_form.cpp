#include "setupctrls/help_form.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QMainWindow>
#include <algorithm>

#include "platform/anchors.h"
#include "platform/application.h"
#include "platform/auto_size.h"
#include "platform/click_event.h"
#include "platform/rounding.h"
#include "setupctrls/board_image.h"

namespace {

// Screens up to this size show the window at its fitted size.
constexpr double kBaseScreenWidth = 800.0;
constexpr double kBaseScreenHeight = 450.0;

constexpr char kCrLf[] = "\r\n";

// The controls placed directly on a form: a main window's central widget holds them.
QWidget* ClientAreaOf(QWidget* form) {
  if (auto* mainWindow = qobject_cast<QMainWindow*>(form)) {
    if (mainWindow->centralWidget() != nullptr) return mainWindow->centralWidget();
  }
  return form;
}

// Non-ASCII characters go in as Unicode escapes, so that no code page is involved.
QByteArray RtfBytes(const QString& text) {
  QByteArray bytes;
  bytes.reserve(text.size());
  for (const QChar c : text) {
    if (c.unicode() < 0x80) {
      bytes.append(static_cast<char>(c.unicode()));
    } else {
      bytes.append("\\u").append(QByteArray::number(static_cast<qint16>(c.unicode()))).append('?');
    }
  }
  return bytes;
}

}  // namespace

THelpForm::THelpForm(QWidget* owner, const QString& helpText, const QSize& screenSize)
    : QDialog(owner, Qt::Dialog | Qt::WindowStaysOnTopHint) {
  setObjectName(QStringLiteral("HelpForm"));
  setWindowTitle(QStringLiteral("Instructions for Settings utility"));
  setModal(false);

  // The heading is aligned to the top: full client width, following the width.
  HelpLabel = new QLabel(this);
  HelpLabel->setObjectName(QStringLiteral("HelpLabel"));
  HelpLabel->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  HelpLabel->setText(QStringLiteral("How to use this program"));
  QFont headingFont(QStringLiteral("Verdana"), 12);
  headingFont.setBold(true);
  HelpLabel->setFont(headingFont);
  HelpLabel->setGeometry(0, 0, width(), HelpLabel->sizeHint().height());
  SetAnchors(HelpLabel, akLeft | akTop | akRight);

  HelpRich = new TRichEdit(this);
  HelpRich->setObjectName(QStringLiteral("HelpRich"));
  HelpRich->setGeometry(0, kRichTop, kRichWidth, kRichHeight);
  HelpRich->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  HelpRich->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  HelpRich->SetColor(kRichColor);
  HelpRich->LoadFromRtf(RtfBytes(helpText));

  StartButton = new QPushButton(this);
  StartButton->setObjectName(QStringLiteral("StartButton"));
  StartButton->setDefault(true);
  StartButton->setGeometry(0, kStartTop, kStartWidth, kStartHeight);
  StartButton->setText(QStringLiteral("Start"));
  // First in the tab order, so it has the focus when the window opens.
  setTabOrder(StartButton, HelpRich);
  StartButton->setFocus();
  SetOnClick(StartButton, [this](QObject* sender) { StartButtonClick(sender); });

  resize(HelpRich->width(), height());
  AutoSizeClient(this);
  resize(width(), height() + kExtraHeight);
  SetAnchors(HelpRich, akLeft | akTop | akRight | akBottom);
  StartButton->move((width() - StartButton->width()) / 2, StartButton->y());
  SetAnchors(StartButton, akBottom);
  const double factor = ScaleFactor(screenSize);
  resize(nearest(width() * factor), height());
  resize(width(), nearest(height() * factor));
}

QString THelpForm::HelpText(const QString& companyName, const QString& cardName, bool bSeries, bool multiPort,
                            bool listsCards) {
  QString text;
  text += QStringLiteral(
      "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fswiss\\fprq2\\fcharset0 Verdana;}}"
      "{\\colortbl\\red64\\green64\\blue64;\\red255\\green255\\blue64;\\red64\\green64\\blue255;"
      "\\red255\\green64\\blue64;}\\viewkind4\\uc1\\pard\\f0\\fs32\\cf0");
  text += kCrLf;
  text += QStringLiteral("{\\b ");
  text += companyName;
  text += QStringLiteral(" ");
  text += cardName;
  if (bSeries) text += QStringLiteral(" Series");
  text += QStringLiteral(" Settings Program}\\par\\par\\fs24");
  text += kCrLf;
  text += QStringLiteral(
      "This program will help you configure the option jumpers and settings associated with this product. "
      "You should have the product in-hand when first using this program.\\par\\par");
  text += kCrLf;
  text += QStringLiteral(
      "{\\cf1\\fs24\\b Yellow circles} provide information on configuring jumpers and switches.\\par\\par");
  text += kCrLf;
  text += QStringLiteral(
      "{\\cf2\\fs24\\b Blue circles} are informational only. They provide information on standard and "
      "optional features of the product family.\\par\\par");
  text += kCrLf;
  text += QStringLiteral(
      "{\\cf3\\fs24\\b Red circles} handle calibration and types of configuration that require actually "
      "controlling the hardware device. Run this settings program again once the card is installed. ");
  text += QStringLiteral(
      "Repeat the {\\cf1 setup circles} (using the same settings) to configure this program, then perform "
      "the {\\cf3 calibration circles}.\\par\\par");
  text += kCrLf;
  text += QStringLiteral(
      "Mouse over the highlight circles to see configuration or information popups for {\\cf1 setup}, "
      "{\\cf2 features}, and {\\cf3 calibration}. Click a highlight circle to make its popup remain "
      "on-screen. ");
  text += QStringLiteral(
      "You can have all or as many of these popups onscreen at the same time as you desire.\\par\\par");
  text += kCrLf;
  if (multiPort) {
    text += QStringLiteral(
        "{\\fs32\\b Note:} Make sure to set the jumpers for each option group \\emdash  the configuration "
        "options for each port are handled identically; ");
    text += QStringLiteral(
        "this program only shows the setup once, but you need to perform this setup for each group of "
        "options on your device.\\par\\par");
    text += kCrLf;
  }
  if (listsCards) {
    text += QStringLiteral("To see a list of ");
    text += cardName;
    text += QStringLiteral(" cards installed, click ");
    text += QLatin1Char('"');
    text += QStringLiteral("Display ");
    text += cardName;
    text += QStringLiteral(" Cards Installed");
    text += QLatin1Char('"');
    text += QStringLiteral(" under the File menu.\\par\\par");
    text += kCrLf;
  }
  text += QStringLiteral("}");
  return text;
}

double THelpForm::ScaleFactor(const QSize& screenSize) {
  const double factor = std::min(static_cast<double>(screenSize.height()) / kBaseScreenHeight,
                                 static_cast<double>(screenSize.width()) / kBaseScreenWidth);
  return factor < 1.0 ? 1.0 : factor;
}

void THelpForm::StartButtonClick(QObject* /*Sender*/) {
  hide();
  QWidget* mainForm = Application().MainForm();
  if (mainForm == nullptr) return;
  // The help window alone finds the board by kind, so a derived board image serves as well.
  for (QObject* child : ClientAreaOf(mainForm)->children()) {
    if (auto* board = qobject_cast<TBoardImage*>(child)) {
      QEvent tour(WM_STARTTOUR);
      QCoreApplication::sendEvent(board, &tour);
      return;
    }
  }
}

void THelpForm::reject() {
  if (StartButton != nullptr) StartButton->click();
}

void THelpForm::closeEvent(QCloseEvent* event) { event->accept(); }
