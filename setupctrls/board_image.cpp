#include "setupctrls/board_image.h"

#include <QMainWindow>
#include <QPaintEvent>
#include <QPainter>

#include "platform/colour.h"
#include "setupctrls/board_highlight.h"

namespace {

constexpr int kInitialSize = 105;

// The size the centring measures against: a form's outer size, caption, frame and menu
// bar included. The board sits on the main window's client area, whose outer size is
// the window's.
QSize OuterSizeOfParent(const QWidget* parent) {
  const QWidget* window = parent->window();
  const auto* mainWindow = qobject_cast<const QMainWindow*>(window);
  if (parent == window || (mainWindow != nullptr && mainWindow->centralWidget() == parent)) {
    return window->frameGeometry().size();
  }
  return parent->size();
}

// Restores a flag when the scope ends, also when drawing throws.
class FlagRestorer {
 public:
  FlagRestorer(bool& flag, bool value) : FFlag(flag), FSaved(flag) { flag = value; }
  ~FlagRestorer() { FFlag = FSaved; }

 private:
  bool& FFlag;
  bool FSaved;
};

}  // namespace

TBoardImage::TBoardImage(QWidget* parent) : QWidget(parent) {
  FPicture.OnChange = [this] { PictureChanged(); };
  resize(kInitialSize, kInitialSize);
}

TBoardImage::~TBoardImage() { FPicture.OnChange = nullptr; }

void TBoardImage::SetScale(bool value) {
  if (FScale == value) return;
  FScale = value;
  PictureChanged();
}

void TBoardImage::SetCenter(bool value) {
  if (FCenter == value) return;
  FCenter = value;
  PictureChanged();
}

void TBoardImage::SetStretch(bool value) {
  if (FStretch == value) return;
  FStretch = value;
  PictureChanged();
}

void TBoardImage::SetTransparent(bool value) {
  if (FTransparent == value) return;
  FTransparent = value;
  PictureChanged();
}

void TBoardImage::SetPicture(const TPicture& value) { FPicture.Assign(value); }

QRect TBoardImage::DestinationRect() const {
  if (FStretch) return rect();
  if (FCenter) {
    // Truncating division: a picture wider than the control is cut on both sides.
    return QRect((width() - FPicture.Width()) / 2, (height() - FPicture.Height()) / 2, FPicture.Width(),
                 FPicture.Height());
  }
  return QRect(0, 0, FPicture.Width(), FPicture.Height());
}

bool TBoardImage::CanAutoSize(int& newWidth, int& newHeight) const {
  // Only a design-time query leaves the sizes alone for an empty picture; at run time
  // with no alignment both follow the picture.
  newWidth = FPicture.Width();
  newHeight = FPicture.Height();
  return true;
}

void TBoardImage::PictureChanged() {
  const int w = FPicture.Width();
  const int h = FPicture.Height();
  if (w > 0 && h > 0) FAspectRatio = static_cast<double>(static_cast<long double>(h) / w);
  if (FAutoSize && w > 0 && h > 0) setGeometry(x(), y(), w, h);
  FScaled = QImage();
  if (FPicture.HasGraphic()) {
    FPicture.SetTransparent(FTransparent);
    FOpaque = !FPicture.Transparent() && (FStretch || (w >= width() && h >= height()));
    if (NotifyPaletteChange() && FPaintingPicture) repaint();
  } else {
    FOpaque = false;
  }
  setAttribute(Qt::WA_OpaquePaintEvent, FOpaque);
  if (!FPaintingPicture) update();
}

bool TBoardImage::NotifyPaletteChange() {
  // Pictures here are true colour: there is never a palette to realise.
  return false;
}

const QImage& TBoardImage::ScaledPicture(const QSize& size) {
  if (FScaled.size() != size || FScaled.isNull()) {
    const QImage& source = FPicture.Image();
    FScaled =
        size == source.size() ? source : source.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  }
  return FScaled;
}

void TBoardImage::RenderBackground(QImage& target, const QRect& area) {
  QPainter painter(&target);
  painter.fillRect(QRect(QPoint(0, 0), target.size()), ToQColor(clBtnFace));
  if (!FPicture.HasGraphic()) return;
  const QRect dest = DestinationRect();
  if (dest.isEmpty()) return;
  painter.drawImage(dest.topLeft() - area.topLeft(), ScaledPicture(dest.size()));
}

void TBoardImage::paintEvent(QPaintEvent* /*event*/) {
  if (!FPositionSaved) {
    FDesignLeft = x();
    FDesignTop = y();
    FPositionSaved = true;
  }
  if (FCenterOnForm && parentWidget() != nullptr) {
    const QSize outer = OuterSizeOfParent(parentWidget());
    const QPoint centre((outer.width() - width()) / 2, (outer.height() - height()) / 2);
    if (centre != pos()) {
      // Draw nothing at the old place: one more full paint at the new place follows,
      // which then finds the position unchanged.
      move(centre);
      update();
      return;
    }
  }

  QPainter painter(this);
  const QRect dest = DestinationRect();
  if (!FOpaque || !dest.contains(rect())) painter.fillRect(rect(), ToQColor(clBtnFace));
  FlagRestorer painting(FPaintingPicture, true);
  if (FPicture.HasGraphic() && !dest.isEmpty()) painter.drawImage(dest.topLeft(), ScaledPicture(dest.size()));
}

bool TBoardImage::event(QEvent* event) {
  if (event->type() == WM_STARTTOUR) {
    StartTour();
    return true;
  }
  return QWidget::event(event);
}

TBoardHighlight* TBoardImage::First() const { return FFirst; }

void TBoardImage::SetFirst(TBoardHighlight* value) { FFirst = value; }

void TBoardImage::StartTour() {
  if (FFirst == nullptr) return;
  FFirst->CMMouseEnter(0);
  FFirst->Click();
  FFirst->CMMouseLeave(0);
}
