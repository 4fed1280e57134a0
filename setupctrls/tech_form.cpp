#include "setupctrls/tech_form.h"

#include <QCloseEvent>

#include "platform/anchors.h"
#include "platform/auto_size.h"
#include "platform/click_event.h"

namespace {
// Where the system first opens a window that chooses no place of its own: cascaded from the
// main window's corner, never centred on it.
constexpr QPoint kCascadeOffset(32, 32);
}  // namespace

TTechForm::TTechForm(QWidget* owner, const QString& supportText, TNotifyEvent CloseClick)
    : QDialog(owner, Qt::Dialog | Qt::WindowStaysOnTopHint) {
  setObjectName(QStringLiteral("TechForm"));
  setWindowTitle(QStringLiteral("Technical Support"));
  setModal(false);
  if (owner != nullptr) move(owner->frameGeometry().topLeft() + kCascadeOffset);

  TechMemo = new QPlainTextEdit(this);
  TechMemo->setObjectName(QStringLiteral("TechMemo"));
  TechMemo->setGeometry(kMemoLeft, kMemoTop, kMemoWidth, kMemoHeight);
  TechMemo->setReadOnly(true);
  TechMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  TechMemo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  TechMemo->setPlainText(supportText);

  CloseButton = new QPushButton(this);
  CloseButton->setObjectName(QStringLiteral("CloseButton"));
  CloseButton->setGeometry(kCloseLeft, kCloseTop, kCloseWidth, kCloseHeight);
  CloseButton->setText(QStringLiteral("Close"));
  // First in the tab order, so it has the focus when the window opens.
  setTabOrder(CloseButton, TechMemo);
  CloseButton->setFocus();
  SetOnClick(CloseButton, std::move(CloseClick));

  AutoSizeClient(this);
  SetAnchors(TechMemo, akLeft | akTop | akRight | akBottom);
  CloseButton->move((width() - CloseButton->width()) / 2, CloseButton->y());
  SetAnchors(CloseButton, akBottom);
}

QString TTechForm::SupportText(const QString& companyName, const QString& callHow) {
  QString text;
  text += QStringLiteral(
      "There are several ways to get technical support. First and fastest is to skim the relevant sections "
      "of the manual. However, some questions require personal assistance, and ");
  text += companyName;
  text += QStringLiteral(" stands ready to provide that help. You can call us ");
  text += callHow;
  text += QStringLiteral(" for any of your product questions.");
  text += QStringLiteral("\r\n\r\n");
  text += QStringLiteral(
      "In order to provide the best and fastest support possible, we ask that you be at your computer when "
      "you call, and have the ");
  text += companyName;
  text += QStringLiteral(" product manual and Software Master CD at hand.");
  return text;
}

void TTechForm::reject() {
  if (CloseButton != nullptr) CloseButton->click();
}

void TTechForm::closeEvent(QCloseEvent* event) { event->accept(); }
