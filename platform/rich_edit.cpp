#include "platform/rich_edit.h"

#include <QPalette>

#include "platform/rtf_reader.h"

TRichEdit::TRichEdit(QWidget* parent) : QTextEdit(parent) {
  setReadOnly(true);
  setAcceptRichText(true);
}

void TRichEdit::LoadFromRtf(const QByteArray& rtf) {
  QTextDocument* text = document();
  // Loading is not an edit the user could undo.
  const bool undo = text->isUndoRedoEnabled();
  text->setUndoRedoEnabled(false);
  ReadRtf(rtf, text);
  text->setUndoRedoEnabled(undo);
}

void TRichEdit::SetColor(TColor value) {
  if (FColor == value) return;
  FColor = value;
  QPalette colours = palette();
  colours.setColor(QPalette::Base, ToQColor(value));
  setPalette(colours);
}
