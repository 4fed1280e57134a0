#pragma once

#include <QByteArray>

class QTextDocument;

// Reads rich text into a document, replacing what it held. The reader knows the subset that
// the program's own texts use: the font and colour tables, bold, italic and underline, font
// sizes and colours, paragraphs and their alignment, the common special characters, 8-bit
// characters (\'hh, code page 1252) and Unicode characters (\uN with \ucN). Unknown control
// words are skipped and ignorable destinations dropped. Any input is accepted: malformed
// text gives whatever could be read, never a failure, and the work grows linearly with the
// input.
void ReadRtf(const QByteArray& rtf, QTextDocument* document);
