#include "platform/rtf_reader.h"

#include <gtest/gtest.h>

#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextDocument>
#include <QTextFragment>
#include <memory>
#include <random>

#include "setupctrls/help_form.h"

namespace {

std::unique_ptr<QTextDocument> Read(const QByteArray& rtf) {
  auto document = std::make_unique<QTextDocument>();
  ReadRtf(rtf, document.get());
  return document;
}

// The text of every paragraph, joined with line feeds; special spaces and line separators
// stay as they are.
QString PlainText(const QByteArray& rtf) {
  const auto document = Read(rtf);
  QStringList paragraphs;
  for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
    paragraphs << block.text();
  return paragraphs.join(QLatin1Char('\n'));
}

// The format of the text run that is `text`, or else of the first that contains it; fails the
// test when there is none.
QTextCharFormat FormatOf(const QTextDocument& document, const QString& text) {
  QList<QTextFragment> fragments;
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) fragments << it.fragment();
  }
  for (const QTextFragment& fragment : fragments) {
    if (fragment.text() == text) return fragment.charFormat();
  }
  for (const QTextFragment& fragment : fragments) {
    if (fragment.text().contains(text)) return fragment.charFormat();
  }
  ADD_FAILURE() << "no run contains " << text.toStdString();
  return {};
}

QByteArray ProductHelpText() {
  return THelpForm::HelpText(QStringLiteral("TORVO"), QStringLiteral("NB-QUADPORT"), true, true, false)
      .toLatin1();
}

TEST(RtfReader, HelpTextTitleIsBoldSixteenPointDarkGreyVerdana) {
  const auto document = Read(ProductHelpText());
  EXPECT_EQ(document->begin().text(), QStringLiteral("TORVO NB-QUADPORT Series Settings Program"));
  const QTextCharFormat title =
      FormatOf(*document, QStringLiteral("TORVO NB-QUADPORT Series Settings Program"));
  EXPECT_EQ(title.fontWeight(), QFont::Bold);
  EXPECT_DOUBLE_EQ(title.fontPointSize(), 16.0);
  EXPECT_EQ(title.foreground().color(), QColor(64, 64, 64));
  EXPECT_EQ(title.fontFamilies().toStringList(), QStringList{QStringLiteral("Verdana")});
}

TEST(RtfReader, HelpTextBodyIsTwelvePointAndNotBold) {
  const auto document = Read(ProductHelpText());
  const QTextCharFormat body = FormatOf(*document, QStringLiteral("This program will help you configure"));
  EXPECT_DOUBLE_EQ(body.fontPointSize(), 12.0);
  EXPECT_EQ(body.fontWeight(), QFont::Normal);
  EXPECT_EQ(body.foreground().color(), QColor(64, 64, 64));
  EXPECT_EQ(body.fontFamilies().toStringList(), QStringList{QStringLiteral("Verdana")});
}

struct ColourCase {
  const char* text;
  QColor colour;
  bool bold;
};

TEST(RtfReader, HelpTextNamesEachColourInItsColour) {
  const auto document = Read(ProductHelpText());
  const ColourCase cases[] = {
      {"Yellow circles", QColor(255, 255, 64), true}, {"Blue circles", QColor(64, 64, 255), true},
      {"Red circles", QColor(255, 64, 64), true},     {"setup circles", QColor(255, 255, 64), false},
      {"features", QColor(64, 64, 255), false},       {"calibration circles", QColor(255, 64, 64), false},
  };
  for (const ColourCase& c : cases) {
    SCOPED_TRACE(c.text);
    const QTextCharFormat format = FormatOf(*document, QString::fromLatin1(c.text));
    EXPECT_EQ(format.foreground().color(), c.colour);
    EXPECT_EQ(format.fontWeight(), c.bold ? QFont::Bold : QFont::Normal);
    EXPECT_DOUBLE_EQ(format.fontPointSize(), 12.0);
  }
  // The group ends, and the text after it returns to the body colour.
  EXPECT_EQ(FormatOf(*document, QStringLiteral(" provide information")).foreground().color(),
            QColor(64, 64, 64));
}

TEST(RtfReader, HelpTextNoteHasTheEmDashAndABigBoldHeading) {
  const auto document = Read(ProductHelpText());
  EXPECT_TRUE(document->toPlainText().contains(
      QStringLiteral("for each option group \u2014 the configuration options for each port")));
  const QTextCharFormat note = FormatOf(*document, QStringLiteral("Note:"));
  EXPECT_EQ(note.fontWeight(), QFont::Bold);
  EXPECT_DOUBLE_EQ(note.fontPointSize(), 16.0);
}

TEST(RtfReader, HelpTextParagraphsAndEmptyLines) {
  const QStringList lines = Read(ProductHelpText())->toPlainText().split(QLatin1Char('\n'));
  ASSERT_GE(lines.size(), 4);
  EXPECT_EQ(lines[0], QStringLiteral("TORVO NB-QUADPORT Series Settings Program"));
  EXPECT_EQ(lines[1], QString());
  EXPECT_TRUE(lines[2].startsWith(QStringLiteral("This program will help you")));
  EXPECT_EQ(lines[3], QString());
  // Line breaks in the source are not text: the red paragraph runs on into the next sentence.
  EXPECT_TRUE(Read(ProductHelpText())
                  ->toPlainText()
                  .contains(QStringLiteral("once the card is installed. Repeat the setup circles")));
}

struct TextCase {
  const char* name;
  QByteArray rtf;
  QString expected;
};

class RtfReaderText : public ::testing::TestWithParam<TextCase> {};

TEST_P(RtfReaderText, ReadsThePlainText) { EXPECT_EQ(PlainText(GetParam().rtf), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(
    Cases, RtfReaderText,
    ::testing::Values(
        TextCase{"plain", "{\\rtf1 Hello}", QStringLiteral("Hello")},
        TextCase{"delimiter_space_is_eaten", "{\\rtf1\\b  two}", QStringLiteral(" two")},
        TextCase{"escaped_symbols", "{\\rtf1 a\\\\b\\{c\\}}", QStringLiteral("a\\b{c}")},
        TextCase{"hex_code_page_1252", "{\\rtf1 caf\\'e9 \\'80\\'97}",
                 QStringLiteral("caf\u00e9 \u20ac\u2014")},
        TextCase{"raw_high_byte_is_code_page_1252", "{\\rtf1 \x93q\x94}", QStringLiteral("\u201cq\u201d")},
        TextCase{"unicode_skips_one_fallback", "{\\rtf1 \\u8364?x}", QStringLiteral("\u20acx")},
        TextCase{"unicode_fallback_hex_counts_as_one", "{\\rtf1 \\u8364\\'80x}", QStringLiteral("\u20acx")},
        TextCase{"unicode_uc0_skips_nothing", "{\\rtf1\\uc0 \\u8364?}", QStringLiteral("\u20ac?")},
        TextCase{"unicode_uc2_skips_two", "{\\rtf1\\uc2 \\u8364??x}", QStringLiteral("\u20acx")},
        TextCase{"unicode_negative_is_upper_half", "{\\rtf1 \\u-4?}", QStringLiteral("\ufffc")},
        TextCase{"unicode_surrogate_pair", "{\\rtf1 \\u-10179?\\u-8704?}", QStringLiteral("\U0001F600")},
        TextCase{"unicode_lone_surrogate_replaced", "{\\rtf1 \\u-10179?x}", QStringLiteral("\ufffdx")},
        TextCase{"unicode_out_of_range_replaced", "{\\rtf1 \\u99999?}", QStringLiteral("\ufffd")},
        TextCase{"uc_is_scoped_by_group", "{\\rtf1{\\uc2 }\\u8364?x}", QStringLiteral("\u20acx")},
        TextCase{"skip_stops_at_group_end", "{\\rtf1{\\uc3 \\u8364?}x}", QStringLiteral("\u20acx")},
        TextCase{"unknown_words_skipped", "{\\rtf1\\foo\\bar12 a\\baz-3 b}", QStringLiteral("ab")},
        TextCase{"ignorable_destination_dropped", "{\\rtf1{\\*\\generator Tool 1.0;}a}", QStringLiteral("a")},
        TextCase{"known_destination_dropped", "{\\rtf1{\\info{\\title T}}a}", QStringLiteral("a")},
        TextCase{"tables_are_not_text",
                 "{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red1\\green2\\blue3;}a}", QStringLiteral("a")},
        TextCase{"paragraphs", "{\\rtf1 a\\par b\\par\\par c}", QStringLiteral("a\nb\n\nc")},
        TextCase{"escaped_line_break_is_paragraph", "{\\rtf1 a\\\nb}", QStringLiteral("a\nb")},
        TextCase{"tab_and_line", "{\\rtf1 a\\tab b\\line c}", QStringLiteral("a\tb\u2028c")},
        TextCase{"named_characters", "{\\rtf1\\endash\\bullet\\lquote\\rquote\\ldblquote\\rdblquote\\~}",
                 QStringLiteral("\u2013\u2022\u2018\u2019\u201c\u201d\u00a0")},
        TextCase{"binary_data_skipped", "{\\rtf1 a\\bin3 x{}b}", QStringLiteral("ab")},
        TextCase{"binary_length_past_end", "{\\rtf1 a\\bin999 xyz", QStringLiteral("a")},
        TextCase{"empty", "", QString()},
        TextCase{"not_rtf_at_all", "just text", QStringLiteral("just text")},
        TextCase{"unbalanced_close", "}}a}b", QStringLiteral("ab")},
        TextCase{"unclosed_groups", "{{{{a", QStringLiteral("a")},
        TextCase{"lone_backslash_at_end", "{\\rtf1 a\\", QStringLiteral("a")},
        TextCase{"truncated_hex", "{\\rtf1 a\\'4", QStringLiteral("a")},
        TextCase{"bad_hex", "{\\rtf1 a\\'zzb}", QStringLiteral("azzb")},
        TextCase{"control_characters_dropped",
                 QByteArray("{\\rtf1 a\x01\x00"
                            "b}",
                            12),
                 QStringLiteral("ab")},
        TextCase{"huge_parameter_clamped", "{\\rtf1\\fs99999999999999999999 a}", QStringLiteral("a")}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RtfReader, CharacterFormatting) {
  const auto document = Read(
      "{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1\\fswiss Courier New;}}{\\colortbl;\\red10\\green20\\blue30;}"
      "\\f1\\fs20\\b\\i\\ul\\cf1 A\\b0\\i0\\ulnone B\\plain C\\cf7 D\\cf0 E\\fs0 F\\fs-4 G\\fs99999 H}");
  const QTextCharFormat a = FormatOf(*document, QStringLiteral("A"));
  EXPECT_EQ(a.fontFamilies().toStringList(), QStringList{QStringLiteral("Courier New")});
  EXPECT_DOUBLE_EQ(a.fontPointSize(), 10.0);
  EXPECT_EQ(a.fontWeight(), QFont::Bold);
  EXPECT_TRUE(a.fontItalic());
  EXPECT_TRUE(a.fontUnderline());
  EXPECT_EQ(a.foreground().color(), QColor(10, 20, 30));
  const QTextCharFormat b = FormatOf(*document, QStringLiteral("B"));
  EXPECT_EQ(b.fontWeight(), QFont::Normal);
  EXPECT_FALSE(b.fontItalic());
  EXPECT_FALSE(b.fontUnderline());
  // \plain returns to the default font (\deff is 0 when not given) at 12 points.
  const QTextCharFormat c = FormatOf(*document, QStringLiteral("C"));
  EXPECT_EQ(c.fontFamilies().toStringList(), QStringList{QStringLiteral("Arial")});
  EXPECT_DOUBLE_EQ(c.fontPointSize(), 12.0);
  EXPECT_FALSE(c.hasProperty(QTextFormat::ForegroundBrush));
  // A colour index beyond the table, and the empty (automatic) entry 0, leave the default.
  EXPECT_FALSE(FormatOf(*document, QStringLiteral("D")).hasProperty(QTextFormat::ForegroundBrush));
  EXPECT_FALSE(FormatOf(*document, QStringLiteral("E")).hasProperty(QTextFormat::ForegroundBrush));
  // Sizes that are no size fall back to 12 points; giant ones are cut.
  EXPECT_DOUBLE_EQ(FormatOf(*document, QStringLiteral("F")).fontPointSize(), 12.0);
  EXPECT_DOUBLE_EQ(FormatOf(*document, QStringLiteral("G")).fontPointSize(), 12.0);
  EXPECT_DOUBLE_EQ(FormatOf(*document, QStringLiteral("H")).fontPointSize(), 1638.0);
}

TEST(RtfReader, GroupsRestoreTheFormatting) {
  const auto document = Read("{\\rtf1\\fs20 a{\\b\\fs40 b{\\i c}d}e}");
  EXPECT_EQ(FormatOf(*document, QStringLiteral("a")).fontWeight(), QFont::Normal);
  EXPECT_DOUBLE_EQ(FormatOf(*document, QStringLiteral("b")).fontPointSize(), 20.0);
  EXPECT_TRUE(FormatOf(*document, QStringLiteral("c")).fontItalic());
  EXPECT_EQ(FormatOf(*document, QStringLiteral("c")).fontWeight(), QFont::Bold);
  EXPECT_FALSE(FormatOf(*document, QStringLiteral("d")).fontItalic());
  const QTextCharFormat e = FormatOf(*document, QStringLiteral("e"));
  EXPECT_EQ(e.fontWeight(), QFont::Normal);
  EXPECT_DOUBLE_EQ(e.fontPointSize(), 10.0);
}

TEST(RtfReader, ParagraphAlignment) {
  const auto document = Read("{\\rtf1\\qc a\\par\\pard b\\par\\qr c\\par\\qj d}");
  const Qt::Alignment expected[] = {Qt::AlignHCenter, Qt::AlignLeft, Qt::AlignRight, Qt::AlignJustify};
  int index = 0;
  for (QTextBlock block = document->begin(); block.isValid(); block = block.next(), ++index) {
    ASSERT_LT(index, 4);
    EXPECT_EQ(block.blockFormat().alignment() & Qt::AlignHorizontal_Mask, expected[index]) << index;
  }
  EXPECT_EQ(index, 4);
}

TEST(RtfReader, ReplacesWhatTheDocumentHeld) {
  QTextDocument document;
  document.setPlainText(QStringLiteral("old text"));
  ReadRtf("{\\rtf1 new}", &document);
  EXPECT_EQ(document.toPlainText(), QStringLiteral("new"));
}

TEST(RtfReader, DeepNestingIsReadWithoutRecursion) {
  const QByteArray open(200000, '{');
  const QByteArray close(200000, '}');
  EXPECT_EQ(PlainText(open + "\\b deep" + close + "after"), QStringLiteral("deepafter"));
}

// Every prefix of the help text, and the help text with single bytes replaced, reads to a
// document whose text only holds whole characters.
TEST(RtfReader, DamagedHelpTextStillReads) {
  const QByteArray help = ProductHelpText();
  std::mt19937 random(12345);
  const char replacements[] = {'{', '}', '\\', '\'', ';', '-', '9', 'u', ' ', '\0', '\xff'};
  for (int round = 0; round < 300; ++round) {
    QByteArray damaged = help.left(static_cast<qsizetype>(random() % (help.size() + 1)));
    for (int hit = 0; hit < 4 && !damaged.isEmpty(); ++hit) {
      damaged[static_cast<qsizetype>(random() % damaged.size())] =
          replacements[random() % sizeof(replacements)];
    }
    const QString text = PlainText(damaged);
    for (qsizetype i = 0; i < text.size(); ++i) {
      if (text[i].isHighSurrogate()) {
        ASSERT_TRUE(i + 1 < text.size() && text[i + 1].isLowSurrogate());
        ++i;
      } else {
        ASSERT_FALSE(text[i].isLowSurrogate());
      }
    }
  }
}

}  // namespace
