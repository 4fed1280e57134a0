#pragma once

#include <QImage>
#include <QList>
#include <QMenuBar>
#include <QPointer>
#include <QString>
#include <QWidget>

#include "platform/colour.h"
#include "platform/events.h"
#include "setupctrls/popup_form.h"
#include "setupctrls/radio_panel.h"

class QAction;
class QMenu;

// The kind of a circle: its ring colour, the menu it is listed in and its popup's Tag.
enum THighlightType { htOptions, htSettings, htCalibration };

// The highlight circle over a place on the board photograph. A soft ring in the colour
// of its kind, blended into the photograph; hovering opens the circle's popup, clicking
// pins it. Circles with equal Title and HighlightType on the same board act as one.
class TBoardHighlight : public QWidget {
  Q_OBJECT
  Q_PROPERTY(bool CreatePopup READ CreatePopup WRITE SetCreatePopup)
  Q_PROPERTY(THighlightType HighlightType READ HighlightType WRITE SetHighlightType)
  Q_PROPERTY(TRadioPanel* RadioPanel READ RadioPanel WRITE SetRadioPanel)
  Q_PROPERTY(QString Title READ Title WRITE SetTitle)

 public:
  static constexpr int kDefaultSize = 65;

  // Which of the three prepared images a paint copies.
  enum class TLook { Normal, Glint, Bright };

  explicit TBoardHighlight(QWidget* parent = nullptr);
  ~TBoardHighlight() override;

  bool CreatePopup() const { return FCreatePopup; }
  void SetCreatePopup(bool value) { FCreatePopup = value; }

  THighlightType HighlightType() const { return FHighlightType; }
  void SetHighlightType(THighlightType value);

  // Refused silently when an unlinked circle already uses the panel.
  TRadioPanel* RadioPanel() const { return FRadioPanel; }
  void SetRadioPanel(TRadioPanel* value);
  // Sets the panel with no checks.
  void AssignRadioPanel(TRadioPanel* Panel) { FRadioPanel = Panel; }

  const QString& Title() const { return FTitle; }
  void SetTitle(const QString& value);

  const TNotifyEvent& OnClick() const { return FOnClick; }
  void SetOnClick(TNotifyEvent event) { FOnClick = std::move(event); }

  // Mouse enter and leave handling; WParam 0 forwards to the linked circles, 1 does not.
  void CMMouseEnter(int WParam);
  void CMMouseLeave(int WParam);
  // Fires OnClick, then pins the popup.
  virtual void Click();

  void PinPopup();
  void PinAndFocusPopup();
  void PopupClose(QObject* Sender, TCloseAction& Action);
  void ClearHot();
  void PopupActivated(bool Active);
  void UpdatePopupActive(bool Active, bool Propagate);

  // Creates the popup on first use, otherwise shows it again.
  void ShowPopup();

  // Board menus and the popup's buttons.
  void AddToMenu();
  void SetMenuChecked(bool Value);
  void MenuItemClick(QObject* Sender);
  void PreviousClick(QObject* Sender);
  void NextClick(QObject* Sender);
  void DoneClick(QObject* Sender);

  // The circles that act as one with this one (this one included), in child order:
  // same board image parent, exact class, equal Title and HighlightType.
  bool IsLinkedWith(const TBoardHighlight* other) const;
  QList<TBoardHighlight*> LinkedHighlights() const;

  // State, read by the popup and by tests.
  bool Hot() const { return FHot; }
  bool Pinned() const { return FPinned; }
  bool PopupActive() const { return FPopupActive; }
  bool FirstPaintDone() const { return FFirstPaintDone; }
  TPopupForm* Popup() const { return FPopup; }
  QMenuBar* MainMenu() const { return FMainMenu; }
  const QString& PopupCaption() const { return FPopupCaption; }
  const QString& MenuName() const { return FMenuName; }
  TColor RingColor() const { return FRingColor; }
  float NormalStrength() const { return FNormalStrength; }
  float GlintStrength() const { return FGlintStrength; }
  float BrightStrength() const { return FBrightStrength; }
  const QImage& NormalImage() const { return FNormalImage; }
  const QImage& GlintImage() const { return FGlintImage; }
  const QImage& BrightImage() const { return FBrightImage; }
  TLook ChosenLook() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void BuildImages();
  void RenderUnderneath(QImage& image);
  void FirstPaint();
  void CreatePopupWindow();
  void ReshowHiddenPopup();
  static QString StripAmpersands(const QString& value);
  static QString MakeIdentifier(const QString& value);
  // The menu entry of this circle's title, and the menu that holds it.
  QAction* FindMenuEntry(QMenu** menu = nullptr) const;
  void Navigate(int step);

  QImage FNormalImage;
  QImage FGlintImage;
  QImage FBrightImage;
  float FNormalStrength = 0.0f;
  float FGlintStrength = 0.0f;
  float FBrightStrength = 0.0f;
  TColor FRingColor = clBlack;
  // Starts at htOptions so that the constructor's assignment of htSettings takes effect.
  THighlightType FHighlightType = htOptions;
  bool FHot = false;
  QPointer<TPopupForm> FPopup;
  QString FTitle;
  QString FPopupCaption;
  QString FMenuName;
  QPointer<QMenuBar> FMainMenu;
  bool FFirstPaintDone = false;
  bool FCreatePopup = true;
  bool FPinned = false;
  QPointer<TRadioPanel> FRadioPanel;
  bool FPopupActive = false;

  TNotifyEvent FOnClick;
  bool FMousePressed = false;
};
