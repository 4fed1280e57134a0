#pragma once

#include <QImage>
#include <QWidget>
#include <cstdint>
#include <utility>

#include "platform/canvas.h"
#include "platform/colour.h"
#include "platform/events.h"

// How a jumper drawing is turned: otUp and otDown lay the pins in a row, otLeft and
// otRight in a column.
enum TOrientationType : std::uint8_t { otUp, otDown, otLeft, otRight };
// Black outline (bsSingle) or an outline in the fill colour (bsNone).
enum TBorderStyle : std::uint8_t { bsNone, bsSingle };
// Where the cap of a three-pin jumper sits, seen in the unturned drawing.
enum TJumperState : std::uint8_t { jsOpen, jsLeft, jsRight };

constexpr TColor kJumperBaseColor = RGBColor(128, 128, 128);
constexpr TColor kJumperCapColor = RGBColor(128, 0, 0);
constexpr TColor kJumperPinColor = RGBColor(255, 255, 0);

// What both jumper drawings share: their colours, border and orientation, and the paint
// frame around the drawing. A jumper composes its header lying in a row in the work
// image (L along the row, T across it); the frame turns that into the output image and
// copies it to the screen in one block, so that repaints never flicker. Moving between
// the row and the column layouts after the first paint exchanges Width and Height at the
// next paint, so a page can declare a vertical jumper at its vertical size.
//
// The control is windowless in spirit: a plain child without background fill that
// paints its image over its parent.
class TJumperFrame : public QWidget {
  Q_OBJECT
  Q_PROPERTY(TColor BaseColor READ BaseColor WRITE SetBaseColor)
  Q_PROPERTY(TColor PinColor READ PinColor WRITE SetPinColor)
  Q_PROPERTY(TColor JumperColor READ JumperColor WRITE SetJumperColor)
  Q_PROPERTY(TOrientationType Orientation READ Orientation WRITE SetOrientation)
  Q_PROPERTY(TBorderStyle BorderStyle READ BorderStyle WRITE SetBorderStyle)

 public:
  TOrientationType Orientation() const { return FOrientation; }
  void SetOrientation(TOrientationType value);

  TColor BaseColor() const { return FBaseColor; }
  void SetBaseColor(TColor value);
  TColor PinColor() const { return FPinColor; }
  void SetPinColor(TColor value);
  TColor JumperColor() const { return FJumperColor; }
  void SetJumperColor(TColor value);

  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle value);

  const TNotifyEvent& OnClick() const { return FOnClick; }
  void SetOnClick(TNotifyEvent event) { FOnClick = std::move(event); }

  // The control's click: a left press and release over it, or a call from code.
  virtual void Click() = 0;

  // The turned image as last painted, the size of the control at that paint.
  const QImage& OutputImage() const { return FOutBitmap; }
  bool HasPainted() const { return FHasPainted; }

  // The row and column layouts: crossing between them exchanges the control's size.
  static bool IsVertical(TOrientationType value) { return value == otLeft || value == otRight; }

  // The colour behind the drawing: the panel face when the parent is an option panel,
  // otherwise the button face.
  TColor BackgroundColor() const;

 protected:
  TJumperFrame(QWidget* parent, int width, int height);

  // Draws the header into the work canvas, L long and T thick, over the background.
  virtual void ComposeWork(TCanvas& canvas, int L, int T) = 0;

  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

  // Fires OnClick; page code runs guarded.
  void FireClick() { Fire(FOnClick, this); }

 private:
  void ComposeOutput(int L, int T);

  TOrientationType FOrientation = otUp;
  QImage FOutBitmap{0, 0, QImage::Format_RGB32};
  QImage FWorkBitmap{0, 0, QImage::Format_RGB32};
  TCanvas FWorkCanvas{&FWorkBitmap};
  bool FSwapPending = false;
  bool FHasPainted = false;
  TColor FBaseColor = kJumperBaseColor;
  TColor FJumperColor = kJumperCapColor;
  TColor FPinColor = kJumperPinColor;
  TBorderStyle FBorderStyle = bsSingle;
  TNotifyEvent FOnClick;
  bool FLeftPressed = false;
};
