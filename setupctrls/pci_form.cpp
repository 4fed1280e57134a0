#include "setupctrls/pci_form.h"

#include <QCloseEvent>

#include "platform/anchors.h"
#include "platform/auto_size.h"
#include "platform/click_event.h"

namespace {
// Where the system first opens a window that chooses no place of its own: cascaded from the
// main window's corner, never centred on it.
constexpr QPoint kCascadeOffset(32, 32);
constexpr int kMemoFontPoints = 10;
}  // namespace

TPCIForm::TPCIForm(QWidget* owner, const QString& cardName, TNotifyEvent CloseClick)
    : QDialog(owner, Qt::Dialog | Qt::WindowStaysOnTopHint) {
  setObjectName(QStringLiteral("PCIForm"));
  setWindowTitle(cardName + QStringLiteral(" Cards installed"));
  setModal(false);
  if (owner != nullptr) move(owner->frameGeometry().topLeft() + kCascadeOffset);
  // The window opens at once; its controls appear on it as they are made.
  show();

  PCIMemo = new QPlainTextEdit(this);
  PCIMemo->setObjectName(QStringLiteral("PCIMemo"));
  PCIMemo->setGeometry(kMemoLeft, kMemoTop, kMemoWidth, kMemoHeight);
  QFont memoFont(QStringLiteral("Tahoma"), kMemoFontPoints);
  memoFont.setBold(true);
  PCIMemo->setFont(memoFont);
  PCIMemo->setReadOnly(true);
  PCIMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  PCIMemo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  PCIMemo->show();

  CloseButton = new QPushButton(this);
  CloseButton->setObjectName(QStringLiteral("CloseButton"));
  CloseButton->setGeometry((frameGeometry().width() - kCloseWidth) / 2, kCloseTop, kCloseWidth, kCloseHeight);
  CloseButton->setText(QStringLiteral("Close"));
  setTabOrder(CloseButton, PCIMemo);
  SetOnClick(CloseButton, std::move(CloseClick));
  CloseButton->show();
  CloseButton->setFocus();

  // The Close button keeps the place it got from the window's first width.
  AutoSizeClient(this);
  SetAnchors(PCIMemo, akLeft | akTop | akRight | akBottom);
  SetAnchors(CloseButton, akBottom);
}

void TPCIForm::reject() {
  if (CloseButton != nullptr) CloseButton->click();
}

void TPCIForm::closeEvent(QCloseEvent* event) { event->accept(); }
