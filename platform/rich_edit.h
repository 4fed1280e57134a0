#pragma once

#include <QByteArray>
#include <QTextEdit>

#include "platform/colour.h"

// A read-only rich text view whose content is loaded from RTF bytes.
class TRichEdit : public QTextEdit {
  Q_OBJECT

 public:
  explicit TRichEdit(QWidget* parent = nullptr);

  // Replaces the whole text with the document that the RTF describes.
  void LoadFromRtf(const QByteArray& rtf);

  // The background colour.
  TColor Color() const { return FColor; }
  void SetColor(TColor value);

 private:
  TColor FColor = RGBColor(255, 255, 255);
};
