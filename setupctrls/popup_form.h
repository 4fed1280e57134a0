#pragma once

#include <QMargins>
#include <QPoint>
#include <QPointer>
#include <QSize>
#include <QStatusBar>
#include <QStringList>
#include <QWidget>
#include <functional>

#include "platform/events.h"

class TBoardHighlight;
class QPushButton;
class QPlainTextEdit;

// What a form does once its close handler has run.
enum TCloseAction { caNone, caHide, caFree, caMinimize };
using TCloseEvent = std::function<void(QObject* Sender, TCloseAction& Action)>;

// A highlight circle's popup: a small sizeable tool window that stays on top, showing
// the circle's option panel, its lines in a read-only memo, Previous, Next and Done, and
// a status bar. Owned by its highlight but a window of its own; closing only hides it.
class TPopupForm : public QWidget {
  Q_OBJECT
  Q_PROPERTY(int Tag READ Tag WRITE SetTag)

 public:
  static constexpr int kMinOuterWidth = 194;
  static constexpr int kMinOuterHeight = 122;
  static constexpr int kStatusHeight = 19;
  static constexpr int kButtonWidth = 58;
  static constexpr int kButtonHeight = 25;
  static constexpr int kMargin = 6;

  explicit TPopupForm(TBoardHighlight* highlight);
  ~TPopupForm() override;

  QStatusBar* PopupStatus = nullptr;

  TBoardHighlight* Highlight() const { return FHighlight; }

  // The mouse went from the circle into the popup; while set, leaving the popup closes it.
  bool Entered() const { return FEntered; }
  void SetEntered(bool value) { FEntered = value; }

  int Tag() const { return FTag; }
  void SetTag(int value) { FTag = value; }

  const TCloseEvent& OnClose() const { return FOnClose; }
  void SetOnClose(TCloseEvent event) { FOnClose = std::move(event); }
  const TNotifyEvent& OnActivate() const { return FOnActivate; }
  void SetOnActivate(TNotifyEvent event) { FOnActivate = std::move(event); }
  const TNotifyEvent& OnDeactivate() const { return FOnDeactivate; }
  void SetOnDeactivate(TNotifyEvent event) { FOnDeactivate = std::move(event); }

  // The frame and caption around the client area: the window system's once it knows
  // them, before that the last frame seen on a popup, or an estimate from the style.
  QMargins FrameMargins() const;
  // Outer sizes include frame and caption; client sizes are the widget's own.
  QSize OuterSize() const { return size().grownBy(FrameMargins()); }
  void SetOuterSize(const QSize& outer);
  // Outer size the window must keep once its real frame is known (a popup without a
  // panel is sized by its outer size); an invalid size keeps the client size instead.
  void SetFixedOuterSize(const QSize& outer) { FFixedOuter = outer; }
  // The outer rectangle on the screen: left and top edges inside, right and bottom not.
  QRect WindowRect() const;

  // Builds the status bar, the three buttons and the memo from the present client size.
  void CreateControls(int MemoHeight, const QStringList& Lines);
  // Places the window's outer top-left at Position, kept on the primary screen.
  void Place(const QPoint& Position);
  // Shows the window and asks the window system to activate it.
  void ShowAndActivate();

  // The mouse left the popup or one of its controls.
  void CMMouseLeave();

  QPushButton* PreviousButton() const { return FPreviousButton; }
  QPushButton* NextButton() const { return FNextButton; }
  QPushButton* DoneButton() const { return FDoneButton; }
  QPlainTextEdit* StatusMemo() const { return FStatusMemo; }

 protected:
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  void WatchLeaves(QWidget* widget);
  QPoint KeptOnScreen(const QPoint& position) const;
  void CorrectForRealFrame();
  // Puts the outer top-left at outer, by the window system's frame once it is known.
  void MoveOuterTo(const QPoint& outer);

  TBoardHighlight* FHighlight;
  bool FEntered = false;
  int FTag = 0;
  TCloseEvent FOnClose;
  TNotifyEvent FOnActivate;
  TNotifyEvent FOnDeactivate;
  QPushButton* FPreviousButton = nullptr;
  QPushButton* FNextButton = nullptr;
  QPushButton* FDoneButton = nullptr;
  QPlainTextEdit* FStatusMemo = nullptr;

  // Sizing and placement made before the window system knew the frame, redone once
  // with the real frame when the window is first on the screen.
  bool FFrameCorrectionPending = true;
  bool FCorrectionQueued = false;
  // Looks again while the shown window has no frame yet or is not yet where its frame
  // puts it: a window manager may frame or move it later without an event telling.
  int FFrameLooksLeft = 40;
  QMargins FFrameUsed;
  QSize FFixedOuter;
  QPoint FPlacement;
};
