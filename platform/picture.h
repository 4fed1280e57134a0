#pragma once

#include <QByteArray>
#include <QImage>
#include <QPainter>
#include <functional>

// A picture holding at most one graphic: the board photograph decoded from JPEG bytes.
// Owners bind OnChange to hear of every change of the graphic or its transparency.
class TPicture {
 public:
  TPicture() = default;
  TPicture(const TPicture& other) : FImage(other.FImage), FTransparent(other.FTransparent) {}
  TPicture& operator=(const TPicture& other) {
    Assign(other);
    return *this;
  }

  std::function<void()> OnChange;

  // Copies the other picture's graphic (not its change handler) and notifies.
  void Assign(const TPicture& other);
  // Decodes JPEG bytes; bytes that do not decode leave the picture without a graphic.
  bool LoadFromJpeg(const QByteArray& bytes);
  bool LoadFromFile(const QString& path);
  void Clear();

  bool HasGraphic() const { return !FImage.isNull(); }
  int Width() const { return FImage.width(); }
  int Height() const { return FImage.height(); }
  const QImage& Image() const { return FImage; }

  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool value);

 private:
  void Changed() {
    if (OnChange) OnChange();
  }

  QImage FImage;
  bool FTransparent = false;
};
