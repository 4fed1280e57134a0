#include "setupctrls/popup_form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionTitleBar>
#include <QTimer>
#include <QWindow>

#include "platform/anchors.h"
#include "setupctrls/board_highlight.h"

namespace {

constexpr int kButtonRowOffset = 44;    // from the client bottom to the buttons' top
constexpr int kFrameLookInterval = 50;  // ms between looks for a late frame

// The frame of the last popup the window system showed: the best guess for the next
// one before it is on the screen.
QMargins& LastKnownFrame() {
  static QMargins frame;
  return frame;
}

// A sizeable tool window's frame and narrow caption as the style draws them.
QMargins EstimatedFrame(const QWidget* widget) {
  QStyleOptionTitleBar option;
  option.initFrom(widget);
  option.titleBarFlags = Qt::Tool;
  const int caption = widget->style()->pixelMetric(QStyle::PM_TitleBarHeight, &option, widget);
  const int border = widget->style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, widget);
  return QMargins(border, border + caption, border, border);
}

}  // namespace

TPopupForm::TPopupForm(TBoardHighlight* highlight)
    : QWidget(highlight, Qt::Tool | Qt::WindowStaysOnTopHint), FHighlight(highlight) {
  setAttribute(Qt::WA_DeleteOnClose, false);
  // The native window now, so that a window system that knows its frame before showing
  // tells it before the sizing.
  winId();
}

TPopupForm::~TPopupForm() = default;

QMargins TPopupForm::FrameMargins() const {
  if (QWindow* window = windowHandle()) {
    const QMargins frame = window->frameMargins();
    if (window->isExposed()) {
      if (!frame.isNull()) LastKnownFrame() = frame;
      return frame;
    }
    if (!frame.isNull()) return frame;
  }
  if (!LastKnownFrame().isNull()) return LastKnownFrame();
  return EstimatedFrame(this);
}

void TPopupForm::SetOuterSize(const QSize& outer) { resize(outer.shrunkBy(FrameMargins())); }

QRect TPopupForm::WindowRect() const { return geometry().marginsAdded(FrameMargins()); }

void TPopupForm::CreateControls(int MemoHeight, const QStringList& Lines) {
  const int cw = width();
  const int ch = height();
  const int buttonTop = ch - kButtonRowOffset;

  // A bare bar: nothing is ever written into it, it only closes the window visually.
  PopupStatus = new QStatusBar(this);
  PopupStatus->setObjectName(QStringLiteral("PopupStatus"));
  PopupStatus->setGeometry(0, ch - kStatusHeight, cw, kStatusHeight);
  SetAnchors(PopupStatus, akLeft | akRight | akBottom);

  const auto makeButton = [&](const char* name, const char* caption, int left, TAnchors anchors,
                              void (TBoardHighlight::*handler)(QObject*)) {
    auto* button = new QPushButton(QString::fromLatin1(caption), this);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(left, buttonTop, kButtonWidth, kButtonHeight);
    SetAnchors(button, anchors);
    connect(button, &QPushButton::clicked, this, [this, button, handler] {
      if (FHighlight != nullptr) Guarded(button, [&] { (FHighlight->*handler)(button); });
    });
    return button;
  };
  FPreviousButton =
      makeButton("PreviousButton", "Previous", kMargin, akLeft | akBottom, &TBoardHighlight::PreviousClick);
  FNextButton =
      makeButton("NextButton", "Next", (cw - kButtonWidth) / 2, akBottom, &TBoardHighlight::NextClick);
  FDoneButton = makeButton("DoneButton", "Done", cw - kButtonWidth - kMargin, akRight | akBottom,
                           &TBoardHighlight::DoneClick);

  FStatusMemo = new QPlainTextEdit(this);
  FStatusMemo->setObjectName(QStringLiteral("StatusMemo"));
  FStatusMemo->setGeometry(kMargin, buttonTop - kMargin - MemoHeight, cw - 2 * kMargin, MemoHeight);
  SetAnchors(FStatusMemo, akLeft | akTop | akRight | akBottom);
  FStatusMemo->setReadOnly(true);
  FStatusMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  FStatusMemo->setPlainText(Lines.join(QLatin1Char('\n')));

  for (QObject* child : children()) {
    if (auto* widget = qobject_cast<QWidget*>(child); widget != nullptr && !widget->isWindow()) {
      WatchLeaves(widget);
    }
  }
}

QPoint TPopupForm::KeptOnScreen(const QPoint& position) const {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return position;
  // The whole primary screen counts, task bar included. One pass only: a window wider
  // than the screen ends up with a negative left edge.
  const QSize area = screen->geometry().size();
  const QSize outer = OuterSize();
  QPoint kept = position;
  if (kept.x() < 0) {
    kept.setX(0);
  } else if (kept.x() + outer.width() > area.width()) {
    kept.setX(area.width() - outer.width());
  }
  if (kept.y() < 0) {
    kept.setY(0);
  } else if (kept.y() + outer.height() > area.height()) {
    kept.setY(area.height() - outer.height());
  }
  return kept;
}

void TPopupForm::Place(const QPoint& Position) {
  FPlacement = Position;
  FFrameUsed = FrameMargins();
  MoveOuterTo(KeptOnScreen(Position));
}

void TPopupForm::MoveOuterTo(const QPoint& outer) {
  // Once the window system has told the frame, the client position follows from it
  // directly. Qt's own frame-inclusive move converts with the frame it last heard of in a
  // move event, which can still be none while the window system already knows better.
  const QWindow* window = windowHandle();
  const QMargins frame = window != nullptr ? window->frameMargins() : QMargins();
  if (frame.isNull()) {
    // A window's position is its outer top-left; the window system places the frame.
    move(outer);
    return;
  }
  const QPoint client = outer + QPoint(frame.left(), frame.top());
  if (geometry().topLeft() != client) setGeometry(QRect(client, size()));
}

void TPopupForm::ShowAndActivate() {
  show();
  raise();
  activateWindow();
  // A window system that still names this window as focused from before it was hidden
  // takes the request as nothing to do; the widgets must hear of the activation anyway.
  if (QGuiApplication::focusWindow() == windowHandle() && QApplication::activeWindow() != this) {
    QApplication::setActiveWindow(this);
  }
}

void TPopupForm::CorrectForRealFrame() {
  FCorrectionQueued = false;
  if (!FFrameCorrectionPending) return;
  const QMargins frame = FrameMargins();
  if (frame != FFrameUsed) {
    QSize client = FFixedOuter.isValid() ? FFixedOuter.shrunkBy(frame) : size();
    const QSize outer = client.grownBy(frame).expandedTo(QSize(kMinOuterWidth, kMinOuterHeight));
    client = outer.shrunkBy(frame);
    setMinimumSize(QSize(0, 0));
    resize(client);
    setMinimumSize(client);
    FFrameUsed = frame;
  }
  const QPoint outer = KeptOnScreen(FPlacement);
  // Done once the window is framed and its client area sits where that frame puts it.
  if (!frame.isNull() && geometry().topLeft() == outer + QPoint(frame.left(), frame.top())) {
    FFrameCorrectionPending = false;
    return;
  }
  MoveOuterTo(outer);
  // A window manager may frame the window, or carry out the move, a little later without
  // any event reaching the window; look again for a while.
  if (isVisible() && FFrameLooksLeft > 0) {
    --FFrameLooksLeft;
    QTimer::singleShot(kFrameLookInterval, this, [this] {
      if (!FCorrectionQueued) CorrectForRealFrame();
    });
  }
}

void TPopupForm::CMMouseLeave() {
  if (!FEntered) return;
  if (WindowRect().contains(QCursor::pos())) return;
  close();
}

bool TPopupForm::event(QEvent* event) {
  const bool result = QWidget::event(event);
  if (FFrameCorrectionPending) {
    switch (event->type()) {
      case QEvent::Show:
      case QEvent::Move:
      case QEvent::Resize:
      case QEvent::Paint:
        // Once the window is on the screen its frame is known. Corrected from the queue,
        // not from inside the window system's own notification or paint.
        if (!FCorrectionQueued && windowHandle() != nullptr && windowHandle()->isExposed()) {
          FCorrectionQueued = true;
          QMetaObject::invokeMethod(this, &TPopupForm::CorrectForRealFrame, Qt::QueuedConnection);
        }
        break;
      default: break;
    }
  }
  return result;
}

void TPopupForm::WatchLeaves(QWidget* widget) {
  widget->installEventFilter(this);
  for (QObject* child : widget->children()) {
    if (auto* inner = qobject_cast<QWidget*>(child); inner != nullptr && !inner->isWindow())
      WatchLeaves(inner);
  }
}

bool TPopupForm::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::Leave:
      // Leaving any control inside the popup counts as leaving toward the popup; the
      // rectangle test tells whether the mouse is still over the window.
      CMMouseLeave();
      break;
    case QEvent::ChildPolished:
      if (auto* child = qobject_cast<QWidget*>(static_cast<QChildEvent*>(event)->child());
          child != nullptr && !child->isWindow()) {
        WatchLeaves(child);
      }
      break;
    default: break;
  }
  return QWidget::eventFilter(watched, event);
}

void TPopupForm::leaveEvent(QEvent* event) {
  QWidget::leaveEvent(event);
  CMMouseLeave();
}

void TPopupForm::changeEvent(QEvent* event) {
  if (event->type() == QEvent::ActivationChange) {
    const bool active = isActiveWindow();
    if (FHighlight != nullptr) FHighlight->PopupActivated(active);
    Fire(active ? FOnActivate : FOnDeactivate, this);
  }
  QWidget::changeEvent(event);
}

void TPopupForm::closeEvent(QCloseEvent* event) {
  TCloseAction action = caHide;
  if (FOnClose) Guarded(this, [&] { FOnClose(this, action); });
  switch (action) {
    case caNone: event->ignore(); return;
    case caMinimize:
      event->ignore();
      showMinimized();
      return;
    case caFree: deleteLater(); break;
    case caHide: break;
  }
  event->accept();
  // From now on the window keeps whatever size and place it has, the user's included.
  FFrameCorrectionPending = false;
}
