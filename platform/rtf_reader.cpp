#include "platform/rtf_reader.h"

#include <QColor>
#include <QHash>
#include <QList>
#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <cstdint>
#include <string_view>
#include <vector>

namespace {

// Groups nested deeper than this share the innermost state; only their braces are counted.
constexpr std::size_t kMaxGroupDepth = 256;
// Control words are at most 32 letters long; longer runs of letters are read and cut.
constexpr std::size_t kMaxControlWordLength = 32;
constexpr std::int64_t kMaxParameter = 0x7FFFFFFF;
constexpr int kDefaultFontSizeHalfPoints = 24;
// 1638 points, the largest size that word processors offer.
constexpr int kMaxFontSizeHalfPoints = 3276;
constexpr char16_t kReplacementCharacter = 0xFFFD;

// Code page 1252 differs from Latin-1 in 0x80..0x9F; the five unassigned bytes map to the
// control characters of the same value, as the system's own conversion does.
constexpr char16_t kCp1252High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                      0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char16_t FromCp1252(unsigned char byte) {
  if (byte >= 0x80 && byte < 0xA0) return kCp1252High[byte - 0x80];
  return byte;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

enum class TDestination { Text, FontTable, ColourTable, Skip };

// What a run of text looks like; runs with equal looks are inserted in one piece.
struct TCharLook {
  bool bold = false;
  bool italic = false;
  bool underline = false;
  int fontSizeHalfPoints = kDefaultFontSizeHalfPoints;
  int colour = -1;  // index into the colour table; -1 is the automatic colour
  int font = -1;    // font number; -1 is the document's default font
  bool operator==(const TCharLook&) const = default;
};

// The state that a group keeps for itself and restores at its closing brace.
struct TGroupState {
  TDestination destination = TDestination::Text;
  TCharLook look;
  Qt::Alignment alignment = Qt::AlignLeft;
  int unicodeSkip = 1;
};

// Special characters named by control words.
struct TNamedCharacter {
  std::string_view word;
  char16_t character;
};
constexpr TNamedCharacter kNamedCharacters[] = {
    {"emdash", 0x2014},    {"endash", 0x2013},    {"emspace", 0x2003}, {"enspace", 0x2002},
    {"qmspace", 0x2005},   {"bullet", 0x2022},    {"lquote", 0x2018},  {"rquote", 0x2019},
    {"ldblquote", 0x201C}, {"rdblquote", 0x201D}, {"tab", u'\t'},      {"line", 0x2028},
};

// Destinations whose content is not text of the document.
constexpr std::string_view kSkippedDestinations[] = {
    "stylesheet",   "info",      "pict",     "object",    "header",
    "headerl",      "headerr",   "headerf",  "footer",    "footerl",
    "footerr",      "footerf",   "footnote", "listtable", "listoverridetable",
    "rsidtbl",      "generator", "xmlnstbl", "themedata", "colorschememapping",
    "latentstyles", "datastore", "filetbl",  "revtbl",    "fldinst",
    "nonshppict",   "mmathPr",
};

class TRtfParser {
 public:
  TRtfParser(const QByteArray& rtf, QTextDocument* document) : FData(rtf), FCursor(document) {
    FStack.emplace_back();
  }

  void Run() {
    const qsizetype size = FData.size();
    while (FPos < size) {
      const char c = FData[FPos];
      if (c == '{') {
        ++FPos;
        OpenGroup();
      } else if (c == '}') {
        ++FPos;
        CloseGroup();
      } else if (c == '\\') {
        ++FPos;
        ControlSequence();
      } else {
        ++FPos;
        if (c != '\r' && c != '\n') Character(static_cast<unsigned char>(c));
      }
    }
    Flush();
    // The last paragraph keeps the alignment its text was written with, even though the
    // groups that set it have closed by now.
    ApplyAlignment(FParagraphAlignment);
  }

 private:
  TGroupState& State() { return FStack.back(); }

  void OpenGroup() {
    FSkip = 0;
    if (FStack.size() >= kMaxGroupDepth) {
      ++FOverflowDepth;
      return;
    }
    FStack.push_back(FStack.back());
  }

  void CloseGroup() {
    FSkip = 0;
    if (FOverflowDepth > 0) {
      --FOverflowDepth;
      return;
    }
    // An unbalanced closing brace at the outermost level is ignored.
    if (FStack.size() > 1) FStack.pop_back();
  }

  void ControlSequence() {
    const qsizetype size = FData.size();
    if (FPos >= size) return;
    const char first = FData[FPos];
    if (!IsLetter(first)) {
      ++FPos;
      ControlSymbol(first);
      return;
    }
    std::string word;
    while (FPos < size && IsLetter(FData[FPos])) {
      if (word.size() < kMaxControlWordLength) word.push_back(FData[FPos]);
      ++FPos;
    }
    bool hasParameter = false;
    std::int64_t parameter = 0;
    bool negative = false;
    if (FPos + 1 < size && FData[FPos] == '-' && IsDigit(FData[FPos + 1])) {
      negative = true;
      ++FPos;
    }
    while (FPos < size && IsDigit(FData[FPos])) {
      hasParameter = true;
      parameter = std::min(parameter * 10 + (FData[FPos] - '0'), kMaxParameter);
      ++FPos;
    }
    if (FPos < size && FData[FPos] == ' ') ++FPos;
    const int value = static_cast<int>(negative ? -parameter : parameter);
    if (word == "bin") {
      // Raw bytes follow; they are never text, also not while characters are skipped.
      FPos += std::min<std::int64_t>(std::max(0, value), size - FPos);
      return;
    }
    if (SkipOne()) return;
    ControlWord(word, hasParameter, value);
  }

  void ControlSymbol(char symbol) {
    if (symbol == '\'') {
      const qsizetype size = FData.size();
      int byte = 0;
      int digits = 0;
      while (digits < 2 && FPos < size && HexValue(FData[FPos]) >= 0) {
        byte = byte * 16 + HexValue(FData[FPos]);
        ++FPos;
        ++digits;
      }
      if (digits == 2 && !SkipOne()) Text(FromCp1252(static_cast<unsigned char>(byte)));
      return;
    }
    if (SkipOne()) return;
    switch (symbol) {
      case '\\':
      case '{':
      case '}': Text(static_cast<char16_t>(symbol)); break;
      case '~': Text(0x00A0); break;
      case '_': Text(0x2011); break;
      case '*': State().destination = TDestination::Skip; break;
      case '\r':
      case '\n': Paragraph(); break;
      default: break;  // optional hyphens, index marks and unknown symbols
    }
  }

  void ControlWord(const std::string& word, bool hasParameter, int value) {
    TGroupState& state = State();
    TCharLook& look = state.look;
    const bool on = !hasParameter || value != 0;
    if (state.destination == TDestination::Skip) return;
    if (word == "fonttbl") {
      state.destination = TDestination::FontTable;
    } else if (word == "colortbl") {
      state.destination = TDestination::ColourTable;
      FColourDefined = false;
    } else if (std::find(std::begin(kSkippedDestinations), std::end(kSkippedDestinations), word) !=
               std::end(kSkippedDestinations)) {
      state.destination = TDestination::Skip;
    } else if (word == "par") {
      Paragraph();
    } else if (word == "pard") {
      state.alignment = Qt::AlignLeft;
    } else if (word == "ql") {
      state.alignment = Qt::AlignLeft;
    } else if (word == "qc") {
      state.alignment = Qt::AlignHCenter;
    } else if (word == "qr") {
      state.alignment = Qt::AlignRight;
    } else if (word == "qj") {
      state.alignment = Qt::AlignJustify;
    } else if (word == "plain") {
      look = TCharLook();
    } else if (word == "b") {
      look.bold = on;
    } else if (word == "i") {
      look.italic = on;
    } else if (word == "ul") {
      look.underline = on;
    } else if (word == "ulnone") {
      look.underline = false;
    } else if (word == "fs") {
      look.fontSizeHalfPoints =
          hasParameter && value > 0 ? std::min(value, kMaxFontSizeHalfPoints) : kDefaultFontSizeHalfPoints;
    } else if (word == "cf") {
      look.colour = hasParameter ? value : 0;
    } else if (word == "f") {
      if (state.destination == TDestination::FontTable) {
        FFontNumber = value;
        FFontName.clear();
      } else {
        look.font = value;
      }
    } else if (word == "deff") {
      FDefaultFont = value;
    } else if (word == "uc") {
      state.unicodeSkip = std::max(0, value);
    } else if (word == "u") {
      // Negative values stand for the upper half of the 16-bit range.
      const int code = value < 0 ? value + 0x10000 : value;
      Text(code >= 0 && code <= 0xFFFF ? static_cast<char16_t>(code) : kReplacementCharacter);
      FSkip = state.unicodeSkip;
    } else if (word == "red" || word == "green" || word == "blue") {
      if (state.destination != TDestination::ColourTable) return;
      const int component = std::clamp(value, 0, 255);
      if (word == "red") FRed = component;
      if (word == "green") FGreen = component;
      if (word == "blue") FBlue = component;
      FColourDefined = true;
    } else {
      for (const TNamedCharacter& named : kNamedCharacters) {
        if (word == named.word) {
          Text(named.character);
          return;
        }
      }
    }
  }

  // The fallback characters after \uN are skipped; a control word or symbol counts as one.
  bool SkipOne() {
    if (FSkip <= 0) return false;
    --FSkip;
    return true;
  }

  void Character(unsigned char byte) {
    if (SkipOne()) return;
    const TDestination destination = State().destination;
    if (byte == ';' && destination == TDestination::FontTable) {
      FFonts.insert(FFontNumber, FFontName.trimmed());
      FFontName.clear();
      return;
    }
    if (byte == ';' && destination == TDestination::ColourTable) {
      FColours.append(FColourDefined ? QColor(FRed, FGreen, FBlue) : QColor());
      FRed = FGreen = FBlue = 0;
      FColourDefined = false;
      return;
    }
    // Other control characters carry no meaning in rich text.
    if (byte < 0x20 && byte != '\t') return;
    Text(FromCp1252(byte));
  }

  void Text(char16_t character) {
    switch (State().destination) {
      case TDestination::Text:
        FParagraphAlignment = State().alignment;
        if (!FPending.isEmpty() && !(FPendingLook == State().look)) Flush();
        FPendingLook = State().look;
        FPending.append(QChar(character));
        break;
      case TDestination::FontTable: FFontName.append(QChar(character)); break;
      case TDestination::ColourTable:
      case TDestination::Skip: break;
    }
  }

  void Paragraph() {
    if (State().destination != TDestination::Text) return;
    Flush();
    ApplyAlignment(State().alignment);
    FCursor.insertBlock(QTextBlockFormat(), Format(State().look));
    FParagraphAlignment = State().alignment;
  }

  void ApplyAlignment(Qt::Alignment alignment) {
    QTextBlockFormat format = FCursor.blockFormat();
    if (format.alignment() == alignment) return;
    format.setAlignment(alignment);
    FCursor.setBlockFormat(format);
  }

  QTextCharFormat Format(const TCharLook& look) const {
    QTextCharFormat format;
    const QString family = FFonts.value(look.font < 0 ? FDefaultFont : look.font);
    if (!family.isEmpty()) format.setFontFamilies({family});
    format.setFontPointSize(look.fontSizeHalfPoints / 2.0);
    format.setFontWeight(look.bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(look.italic);
    format.setFontUnderline(look.underline);
    if (look.colour >= 0 && look.colour < FColours.size() && FColours[look.colour].isValid()) {
      format.setForeground(FColours[look.colour]);
    }
    return format;
  }

  void Flush() {
    if (FPending.isEmpty()) return;
    FCursor.insertText(WithoutLoneSurrogates(FPending), Format(FPendingLook));
    FPending.clear();
  }

  // Surrogate halves that do not form a pair become the replacement character.
  static QString WithoutLoneSurrogates(QString text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
      const QChar c = text[i];
      if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
        ++i;
      } else if (c.isSurrogate()) {
        text[i] = QChar(kReplacementCharacter);
      }
    }
    return text;
  }

  const QByteArray& FData;
  qsizetype FPos = 0;
  QTextCursor FCursor;
  std::vector<TGroupState> FStack;
  std::size_t FOverflowDepth = 0;
  int FSkip = 0;

  QHash<int, QString> FFonts;
  int FDefaultFont = 0;
  int FFontNumber = 0;
  QString FFontName;

  QList<QColor> FColours;
  int FRed = 0;
  int FGreen = 0;
  int FBlue = 0;
  bool FColourDefined = false;

  QString FPending;
  TCharLook FPendingLook;
  Qt::Alignment FParagraphAlignment = Qt::AlignLeft;
};

}  // namespace

void ReadRtf(const QByteArray& rtf, QTextDocument* document) {
  if (document == nullptr) return;
  document->clear();
  TRtfParser(rtf, document).Run();
}
