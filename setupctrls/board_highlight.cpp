#include "setupctrls/board_highlight.h"

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

#include "platform/class_name.h"
#include "setupctrls/board_image.h"
#include "setupctrls/ring.h"

namespace {

constexpr int kNoPanelMemoHeight = 58;
// Client height of a popup besides its panel and memo: the gaps, the buttons and the status bar.
constexpr int kPopupHeightBelowPanel = 32 + TPopupForm::kStatusHeight;
constexpr QSize kNoPanelOuterSize(194, 141);
// A popup without a panel opens this far below the board image.
constexpr int kNoPanelGap = 38;

bool IsAsciiLetter(QChar c) {
  return (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) || (c >= QLatin1Char('a') && c <= QLatin1Char('z'));
}

bool IsIdentifierChar(QChar c) {
  return IsAsciiLetter(c) || (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('_');
}

// The ring leaves 0 in the fourth byte where it paints pure white; Qt draws a 32-bit RGB
// image only when that byte is 0xFF, so the looks are marked opaque before they are shown.
void MakeOpaque(QImage& image) {
  for (int y = 0; y < image.height(); ++y) {
    auto* pixel = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) pixel[x] |= 0xFF000000u;
  }
}

}  // namespace

TBoardHighlight::TBoardHighlight(QWidget* parent) : QWidget(parent) {
  resize(kDefaultSize, kDefaultSize);
  SetHighlightType(htSettings);
}

TBoardHighlight::~TBoardHighlight() {
  // The popup goes first, while this object is still whole: hiding it on the way out
  // must not call back into a half-destroyed highlight.
  delete FPopup.data();
}

// --- Properties ------------------------------------------------------------------------

void TBoardHighlight::SetHighlightType(THighlightType value) {
  if (value == FHighlightType) return;
  FHighlightType = value;
  const TRingLook look = RingLookFor(static_cast<int>(value));
  FRingColor = look.RingColor;
  FNormalStrength = look.Normal;
  FGlintStrength = look.Glint;
  FBrightStrength = look.Bright;
  // The images stay as built: at run time they are made once, at the first paint.
  update();
}

void TBoardHighlight::SetTitle(const QString& value) {
  if (value == FTitle) return;
  FTitle = value;
  FPopupCaption = StripAmpersands(value);
  FMenuName = MakeIdentifier(value);
}

void TBoardHighlight::SetRadioPanel(TRadioPanel* value) {
  if (value == FRadioPanel) return;
  if (value == nullptr) {
    FRadioPanel = nullptr;
    return;
  }
  // One panel serves one group of linked circles. Without a parent there is nobody to
  // share it with.
  if (QWidget* board = parentWidget()) {
    for (QObject* child : board->children()) {
      if (child == this || !IsExactClass(child, "TBoardHighlight")) continue;
      const auto* other = static_cast<const TBoardHighlight*>(child);
      if (other->FRadioPanel == value &&
          (other->FTitle != FTitle || other->FHighlightType != FHighlightType)) {
        return;
      }
    }
  }
  FRadioPanel = value;
}

QString TBoardHighlight::StripAmpersands(const QString& value) {
  QString result = value;
  result.remove(QLatin1Char('&'));
  return result;
}

QString TBoardHighlight::MakeIdentifier(const QString& value) {
  qsizetype start = 0;
  while (start < value.size() && !IsAsciiLetter(value[start]) && value[start] != QLatin1Char('_')) ++start;
  if (start == value.size()) return QString();
  QString result(value[start]);
  for (qsizetype i = start + 1; i < value.size(); ++i) {
    if (IsIdentifierChar(value[i])) result += value[i];
  }
  return result;
}

// --- Linked highlights -------------------------------------------------------------------

bool TBoardHighlight::IsLinkedWith(const TBoardHighlight* other) const {
  if (other == nullptr) return false;
  const QWidget* board = parentWidget();
  if (board == nullptr || other->parentWidget() != board || !IsExactClass(board, "TBoardImage")) return false;
  if (!IsExactClass(this, "TBoardHighlight") || !IsExactClass(other, "TBoardHighlight")) return false;
  return other->FTitle == FTitle && other->FHighlightType == FHighlightType;
}

QList<TBoardHighlight*> TBoardHighlight::LinkedHighlights() const {
  QList<TBoardHighlight*> linked;
  const QWidget* board = parentWidget();
  if (board == nullptr || !IsExactClass(board, "TBoardImage")) return linked;
  // A snapshot in child order: the calls made on the list may reorder the children.
  for (QObject* child : board->children()) {
    if (!IsExactClass(child, "TBoardHighlight")) continue;
    auto* other = static_cast<TBoardHighlight*>(child);
    if (IsLinkedWith(other)) linked.append(other);
  }
  return linked;
}

// --- Rendering ---------------------------------------------------------------------------

void TBoardHighlight::RenderUnderneath(QImage& image) {
  QWidget* board = parentWidget();
  if (auto* boardImage = qobject_cast<TBoardImage*>(board)) {
    boardImage->RenderBackground(image, geometry());
    return;
  }
  image.fill(ToQColor(clBtnFace));
  // Any other parent draws its own face (without its children) under the circle.
  if (board != nullptr) board->render(&image, QPoint(), QRegion(geometry()), QWidget::DrawWindowBackground);
}

void TBoardHighlight::BuildImages() {
  const struct {
    QImage* image;
    float strength;
    bool glint;
  } looks[] = {{&FNormalImage, FNormalStrength, false},
               {&FGlintImage, FGlintStrength, true},
               {&FBrightImage, FBrightStrength, false}};
  for (const auto& look : looks) {
    *look.image = QImage(width(), height(), QImage::Format_RGB32);
    if (look.image->isNull()) continue;  // an empty circle shows nothing
    RenderUnderneath(*look.image);
    // A circle one pixel wide or high gets the ring's centre line on that axis.
    DrawRing(*look.image, width() - 1, height() - 1, look.strength, FRingColor, look.glint);
    MakeOpaque(*look.image);
  }
}

void TBoardHighlight::FirstPaint() {
  BuildImages();
  if (auto* board = qobject_cast<TBoardImage*>(parentWidget());
      board != nullptr && IsExactClass(board, "TBoardImage")) {
    FMainMenu = board->Menu();
    AddToMenu();
  } else {
    FMainMenu = nullptr;
  }
}

TBoardHighlight::TLook TBoardHighlight::ChosenLook() const {
  if (FPopupActive && FHot) return TLook::Glint;
  if (FPopupActive || FHot) return TLook::Bright;
  return TLook::Normal;
}

void TBoardHighlight::paintEvent(QPaintEvent* /*event*/) {
  if (!FFirstPaintDone) {
    FirstPaint();
    FFirstPaintDone = true;
  }
  const QImage& image = ChosenLook() == TLook::Glint    ? FGlintImage
                        : ChosenLook() == TLook::Bright ? FBrightImage
                                                        : FNormalImage;
  if (image.isNull()) return;
  QPainter painter(this);
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  painter.drawImage(QPoint(0, 0), image);
}

// --- Mouse and popup state ---------------------------------------------------------------

void TBoardHighlight::enterEvent(QEnterEvent* event) {
  QWidget::enterEvent(event);
  CMMouseEnter(0);
}

void TBoardHighlight::leaveEvent(QEvent* event) {
  QWidget::leaveEvent(event);
  CMMouseLeave(0);
}

void TBoardHighlight::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) FMousePressed = true;
  QWidget::mousePressEvent(event);
}

void TBoardHighlight::mouseReleaseEvent(QMouseEvent* event) {
  const bool clicked =
      event->button() == Qt::LeftButton && FMousePressed && rect().contains(event->position().toPoint());
  if (event->button() == Qt::LeftButton) FMousePressed = false;
  QWidget::mouseReleaseEvent(event);
  if (clicked) Click();
}

void TBoardHighlight::CMMouseEnter(int WParam) {
  if (FHot) return;
  FHot = true;
  update();
  if (FCreatePopup) ShowPopup();
  if (WParam == 1) return;
  for (TBoardHighlight* linked : LinkedHighlights()) linked->CMMouseEnter(1);
}

void TBoardHighlight::CMMouseLeave(int WParam) {
  if (!FHot) return;
  if (FPopup != nullptr && !FPinned) {
    if (FPopup->WindowRect().contains(QCursor::pos())) {
      FPopup->SetEntered(true);
      PinPopup();
    } else {
      FPopup->close();
    }
  }
  if (WParam == 1) return;
  for (TBoardHighlight* linked : LinkedHighlights()) linked->CMMouseLeave(1);
}

void TBoardHighlight::Click() {
  Fire(FOnClick, this);
  PinPopup();
}

void TBoardHighlight::PinPopup() {
  if (FPopup != nullptr) {
    FPinned = true;
    SetMenuChecked(true);
  }
  for (TBoardHighlight* linked : LinkedHighlights()) linked->PinAndFocusPopup();
}

void TBoardHighlight::PinAndFocusPopup() {
  if (FPopup == nullptr) return;
  FPinned = true;
  SetMenuChecked(true);
  if (FPopup->isVisible()) {
    FPopup->ShowAndActivate();
  } else {
    ReshowHiddenPopup();
  }
}

// Pinning a popup that was closed while the mouse stayed on its circle (say from the
// keyboard): the user asked for it, so it comes back, pinned, and its circles light up.
void TBoardHighlight::ReshowHiddenPopup() {
  FPopup->ShowAndActivate();
  for (TBoardHighlight* linked : LinkedHighlights()) {
    if (!linked->FHot) {
      linked->FHot = true;
      linked->update();
    }
  }
  if (!FHot) {
    FHot = true;
    update();
  }
}

void TBoardHighlight::PopupClose(QObject* /*Sender*/, TCloseAction& /*Action*/) {
  SetMenuChecked(false);
  if (FPopup != nullptr) FPopup->SetEntered(false);
  ClearHot();
  for (TBoardHighlight* linked : LinkedHighlights()) linked->ClearHot();
}

void TBoardHighlight::ClearHot() {
  FHot = false;
  update();
}

void TBoardHighlight::PopupActivated(bool Active) { UpdatePopupActive(Active, true); }

void TBoardHighlight::UpdatePopupActive(bool Active, bool Propagate) {
  FPopupActive = Active;
  raise();
  update();
  if (!Propagate) return;
  QWidget* board = parentWidget();
  if (board == nullptr || !IsExactClass(board, "TBoardImage")) return;
  // Each linked circle moves to the end of the child list when updated, so the next
  // child slides into place i and the count still to look at shrinks by one.
  qsizetype i = 0;
  qsizetype n = board->children().size();
  while (i < n) {
    QObject* child = board->children().at(i);
    auto* other = IsExactClass(child, "TBoardHighlight") ? static_cast<TBoardHighlight*>(child) : nullptr;
    if (other != nullptr && other != this && IsLinkedWith(other)) {
      other->UpdatePopupActive(Active, false);
      --n;
    } else {
      ++i;
    }
  }
}

// --- The popup ---------------------------------------------------------------------------

void TBoardHighlight::ShowPopup() {
  if (FPopup != nullptr) {
    if (!FPopup->isVisible()) FPinned = false;
    FPopup->ShowAndActivate();
    return;
  }
  // A window of this caption and kind means the group's popup exists already (or some
  // other window claims the place).
  const int tag = static_cast<int>(FHighlightType);
  for (const QWidget* window : QApplication::topLevelWidgets()) {
    if (window->windowTitle() == FPopupCaption && window->property("Tag").toInt() == tag) return;
  }
  CreatePopupWindow();
}

void TBoardHighlight::CreatePopupWindow() {
  FPopup = new TPopupForm(this);
  TPopupForm* popup = FPopup;
  FPinned = false;

  int memoHeight = kNoPanelMemoHeight;
  QPoint panelDesign(0, 0);
  TRadioPanel* panel = FRadioPanel;
  if (panel != nullptr) {
    memoHeight = panel->MemoHeight();
    popup->SetOnActivate(panel->OnActivate());
    popup->SetOnDeactivate(panel->OnDeactivate());
    panelDesign = panel->pos();
    popup->resize(panel->width(), panel->height() + memoHeight + kPopupHeightBelowPanel);
    // The panel moves in for good; it is never handed back.
    panel->setParent(popup);
    panel->move(0, 0);
    panel->setVisible(true);
    SetAnchors(panel, panel->FinalAnchors());
    panel->MarkInPopup();
  } else {
    popup->SetOuterSize(kNoPanelOuterSize);
    popup->SetFixedOuterSize(kNoPanelOuterSize);
  }

  popup->setWindowTitle(FPopupCaption);
  popup->SetOuterSize(
      popup->OuterSize().expandedTo(QSize(TPopupForm::kMinOuterWidth, TPopupForm::kMinOuterHeight)));
  popup->setMinimumSize(popup->size());
  popup->SetTag(static_cast<int>(FHighlightType));

  // Where the panel was designed on the main window, moved by as much as the board has
  // moved since; without a panel, just below the board. Client positions of the main
  // window serve as screen positions unchanged.
  QPoint offset(0, 0);
  QPoint boardPos(0, 0);
  int boardHeight = 0;
  if (QWidget* board = parentWidget()) {
    boardPos = board->pos();
    boardHeight = board->height();
    if (IsExactClass(board, "TBoardImage")) {
      const auto* boardImage = static_cast<const TBoardImage*>(board);
      offset = QPoint(boardImage->DesignLeft(), boardImage->DesignTop()) - panelDesign;
    }
  }
  if (panel == nullptr) offset = QPoint(0, -(boardHeight + kNoPanelGap));

  popup->SetOnClose([this](QObject* Sender, TCloseAction& Action) { PopupClose(Sender, Action); });
  popup->CreateControls(memoHeight, panel != nullptr ? panel->Lines() : QStringList());
  popup->Place(boardPos - offset);
  popup->ShowAndActivate();
  if (panel != nullptr) {
    panel->setFocus(Qt::OtherFocusReason);
  } else {
    popup->DoneButton()->setFocus(Qt::OtherFocusReason);
  }
}
