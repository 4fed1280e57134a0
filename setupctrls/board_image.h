#pragma once

#include <QEvent>
#include <QImage>
#include <QMenuBar>
#include <QPointer>
#include <QWidget>

#include "platform/picture.h"

class TBoardHighlight;

// The private message that starts the guided tour at the board's first circle.
constexpr QEvent::Type WM_STARTTOUR = static_cast<QEvent::Type>(0x04A2);

// Shows the photograph of the board and is the parent of the highlight circles over it.
class TBoardImage : public QWidget {
  Q_OBJECT
  Q_PROPERTY(bool CenterOnForm READ CenterOnForm WRITE SetCenterOnForm)
  Q_PROPERTY(bool Scale READ Scale WRITE SetScale)
  Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)
  Q_PROPERTY(bool Center READ Center WRITE SetCenter)
  Q_PROPERTY(bool Stretch READ Stretch WRITE SetStretch)
  Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)

 public:
  explicit TBoardImage(QWidget* parent = nullptr);
  ~TBoardImage() override;

  TBoardHighlight* First() const;
  void SetFirst(TBoardHighlight* value);

  QMenuBar* Menu() const { return FMenu; }
  void SetMenu(QMenuBar* value) { FMenu = value; }

  bool CenterOnForm() const { return FCenterOnForm; }
  void SetCenterOnForm(bool value) { FCenterOnForm = value; }

  bool Scale() const { return FScale; }
  void SetScale(bool value);

  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool value) { FAutoSize = value; }

  bool Center() const { return FCenter; }
  void SetCenter(bool value);

  bool Stretch() const { return FStretch; }
  void SetStretch(bool value);

  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool value);

  // Assigning copies the given picture.
  const TPicture& Picture() const { return FPicture; }
  void SetPicture(const TPicture& value);

  // The position at the first paint, before any centring; 0 until then.
  int DesignLeft() const { return FDesignLeft; }
  int DesignTop() const { return FDesignTop; }
  bool PositionSaved() const { return FPositionSaved; }

  double AspectRatio() const { return FAspectRatio; }
  bool Opaque() const { return FOpaque; }

  // Where the picture is drawn, in client coordinates.
  QRect DestinationRect() const;

  // The auto-size query: always true; may change the proposed size to the picture's.
  bool CanAutoSize(int& newWidth, int& newHeight) const;

  // Draws what the board shows under the client rectangle `area` (background and the
  // picture, scaled exactly as on screen) into `target`, whose (0, 0) is area's corner.
  void RenderBackground(QImage& target, const QRect& area);

  // Palette handle of the picture; pictures here never carry a palette.
  quintptr GetPalette() const { return 0; }

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void PictureChanged();
  bool NotifyPaletteChange();
  void StartTour();
  const QImage& ScaledPicture(const QSize& size);

  TPicture FPicture;
  bool FStretch = false;
  bool FCenter = false;
  bool FTransparent = false;
  bool FPaintingPicture = false;
  double FAspectRatio = 1.0;
  bool FScale = true;
  QPointer<QMenuBar> FMenu;
  bool FCenterOnForm = true;
  bool FPositionSaved = false;
  // Not owned; a circle that goes away leaves the tour without a start.
  QPointer<TBoardHighlight> FFirst;
  int FDesignLeft = 0;
  int FDesignTop = 0;
  bool FAutoSize = true;
  bool FOpaque = false;
  QImage FScaled;  // the picture scaled to the destination size, shared by screen and circles
};
