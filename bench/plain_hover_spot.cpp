#include "bench/plain_hover_spot.h"

#include <QComboBox>
#include <QCursor>
#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>

namespace {

constexpr QRect kPanelBounds(624, 193, 201, 200);
constexpr int kMemoHeight = 58;
constexpr int kBelowPanel = 51;  // gaps, buttons and status bar
constexpr int kButtonWidth = 58;
constexpr int kButtonHeight = 25;

QWidget* MakePanel(QWidget* parent) {
  auto* panel = new QWidget(parent);
  panel->setGeometry(kPanelBounds);
  panel->hide();
  // Stand-ins for the six jumper drawings and their nine captions.
  for (int i = 0; i < 6; ++i) {
    auto* jumper = new QFrame(panel);
    jumper->setFrameShape(QFrame::Box);
    jumper->setGeometry(48, 16 + 16 * i, i == 0 ? 43 : 34, 18);
  }
  for (int i = 0; i < 9; ++i) {
    auto* label = new QLabel(QStringLiteral("RS485 Mode %1").arg(i), panel);
    label->move(88, 8 + 14 * i);
  }
  auto* list = new QComboBox(panel);
  list->setEditable(true);
  list->setGeometry(16, 160, 177, 21);
  for (int i = 0; i < 7; ++i) list->addItem(QStringLiteral("RS 485 Two Wire Mode %1").arg(i));
  return panel;
}

}  // namespace

TPlainHoverSpot::TPlainHoverSpot(QWidget* parent, QWidget* panelParent)
    : QWidget(parent), FPanel(MakePanel(panelParent)) {}

TPlainHoverSpot::~TPlainHoverSpot() { delete FPopup.data(); }

void TPlainHoverSpot::MakePopup() {
  auto* popup = new QWidget(this, Qt::Tool | Qt::WindowStaysOnTopHint);
  popup->setWindowTitle(QStringLiteral("Mode Settings"));
  const int width = kPanelBounds.width();
  const int height = kPanelBounds.height() + kMemoHeight + kBelowPanel;
  popup->resize(width, height);
  FPanel->setParent(popup);
  FPanel->move(0, 0);
  FPanel->show();
  auto* memo = new QPlainTextEdit(popup);
  memo->setReadOnly(true);
  memo->setGeometry(6, height - 44 - 6 - kMemoHeight, width - 12, kMemoHeight);
  memo->setPlainText(
      QStringLiteral("You may click on the jumpers or use the drop down list.\nEach Channel."));
  const char* captions[] = {"Previous", "Next", "Done"};
  for (int i = 0; i < 3; ++i) {
    auto* button = new QPushButton(QString::fromLatin1(captions[i]), popup);
    button->setGeometry(6 + i * (width - kButtonWidth - 12) / 2, height - 44, kButtonWidth, kButtonHeight);
  }
  auto* status = new QStatusBar(popup);
  status->setGeometry(0, height - 19, width, 19);
  popup->move(kPanelBounds.topLeft());
  FPopup = popup;
}

void TPlainHoverSpot::enterEvent(QEnterEvent* event) {
  QWidget::enterEvent(event);
  if (FPopup == nullptr) MakePopup();
  FPopup->show();
  FPopup->raise();
  FPopup->activateWindow();
}

void TPlainHoverSpot::leaveEvent(QEvent* event) {
  QWidget::leaveEvent(event);
  if (FPopup != nullptr && !FPopup->frameGeometry().contains(QCursor::pos())) FPopup->hide();
}
