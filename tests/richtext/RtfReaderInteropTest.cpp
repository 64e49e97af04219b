// RTF as other word processors write it (files under tests/data/rtf written
// in their style) reads without losing text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/TestSupport.h"
#include "richtext/RtfReaderTestSupport.h"

using readertest::ReadRtf;

namespace {

readertest::TReadDocument ReadSample(const char* name) {
  const QByteArray bytes = testsupport::ReadAll(testsupport::DataFile(QString("rtf/") + name));
  EXPECT_FALSE(bytes.isEmpty()) << name;
  return ReadRtf(bytes.toStdString());
}

void ExpectParagraphs(const readertest::TReadDocument& r, const std::vector<std::string>& expected) {
  const auto paragraphs = r.Paragraphs();
  ASSERT_EQ(paragraphs.size(), expected.size()) << r.AllText();
  for (std::size_t i = 0; i < expected.size(); ++i)
    EXPECT_EQ(paragraphs[i]->Text(), expected[i]) << "paragraph " << i;
}

// Slot of the font a character uses.
std::string FontOf(const readertest::TReadDocument& r, int par, int n) {
  return r.Doc->Header.FontNames[r.AttrAt(par, n).FontIndex];
}

}  // namespace

TEST(RtfReaderInterop, WordPadStyle) {
  auto r = ReadSample("wordpad-richedit.rtf");
  ExpectParagraphs(
      r, {"Plain first line with caf\xE9 and na\xEFve.", "Bold and italic and underlined text.",
          "Red text, blue Arial. Don't lose \"quotes\".", "Centered line", "\tTabbed\ttext\nsecond line",
          "Square root ? and euro \x80 sign\x97"
          "done.",
          "SBigger", ""});
  EXPECT_EQ(FontOf(r, 0, 0), "Calibri");
  EXPECT_EQ(r.AttrAt(0, 0).Size, 11);
  EXPECT_EQ(r.Par(0)->SpaceAfter, 200);
  EXPECT_EQ(r.Par(0)->LineSpacing, 276);
  EXPECT_EQ(r.AttrAt(1, 0).Style, kStyleBold);
  EXPECT_EQ(r.AttrAt(1, 9).Style, kStyleItalic);
  EXPECT_EQ(r.AttrAt(1, 20).Style, kStyleUnderline);
  EXPECT_EQ(r.AttrAt(1, 32).Style, 0);  // \ulnone
  EXPECT_EQ(r.AttrAt(2, 0).TextColor(), 1);
  EXPECT_EQ(r.Doc->Header.Colors[1], 0x0000FFu);
  EXPECT_EQ(r.AttrAt(2, 10).TextColor(), 2);
  EXPECT_EQ(FontOf(r, 2, 10), "Arial");
  EXPECT_EQ(r.Par(3)->Alignment, 2);
  EXPECT_EQ(r.Par(4)->Alignment, 0);
  EXPECT_EQ(FontOf(r, 6, 0), "Symbol");
  EXPECT_EQ(r.AttrAt(6, 1).Size, 14);
}

TEST(RtfReaderInterop, WordStyle) {
  auto r = ReadSample("word-2016.rtf");
  ExpectParagraphs(r, {"Quarterly Report", "The results were better than expected \x96 see our site.",
                       "\xB7\tFirst point", "\xB7\tSecond point with \x93quotes\x94", "Footnoted1 word.",
                       "Cell one", "Cell two", "The end.", ""});
  EXPECT_EQ(r.Par(0)->Alignment, 2);
  EXPECT_EQ(r.AttrAt(0, 0).Style, kStyleBold);
  EXPECT_EQ(r.AttrAt(0, 0).Size, 16);
  EXPECT_EQ(r.Par(1)->Alignment, 0);
  EXPECT_EQ(r.AttrAt(1, 17).Style, kStyleItalic);
  EXPECT_EQ(r.Par(2)->LeftIndent, 720);
  EXPECT_EQ(r.Par(2)->FirstIndent, 360);  // 720 - 360, as read: no canvas has laid it out
  EXPECT_EQ(r.Doc->Header.Title, "");     // inside \info
  ASSERT_EQ(r.Doc->Footnotes().size(), 1u);
  EXPECT_EQ(r.Doc->Footnotes()[0]->Text, "A note.");
  EXPECT_TRUE(r.Par(5)->IsTableCell());
  EXPECT_TRUE(r.Par(6)->IsTableCell());
  EXPECT_EQ(r.Par(5)->CellWidth + r.Par(6)->CellWidth, 255);
  EXPECT_EQ(r.Par(6)->ParFlags & kParMoreCells, 0);
  EXPECT_FALSE(r.Par(7)->IsTableCell());
  EXPECT_EQ(FontOf(r, 7, 0), "Times New Roman");
}

TEST(RtfReaderInterop, LibreOfficeStyle) {
  auto r = ReadSample("libreoffice-writer.rtf");
  ExpectParagraphs(r, {"Heading text", "Body with bold and red and \x80 and caf\xE9.", "Right aligned"});
  EXPECT_EQ(FontOf(r, 0, 0), "Liberation Sans");
  EXPECT_EQ(r.AttrAt(0, 0).Size, 14);
  EXPECT_EQ(r.AttrAt(1, 10).Style, kStyleBold);
  EXPECT_EQ(r.AttrAt(1, 19).TextColor(), 3);
  EXPECT_EQ(r.Par(2)->Alignment, 1);
  EXPECT_EQ(r.Doc->Header.PageWidth, 11906);
}

TEST(RtfReaderInterop, TextEditStyle) {
  auto r = ReadSample("textedit-cocoa.rtf");
  ExpectParagraphs(r, {"First line", "Second line with \xE9", "Code line", "Centered"});
  EXPECT_EQ(FontOf(r, 0, 0), "Helvetica");
  EXPECT_EQ(FontOf(r, 2, 0), "Menlo-Regular");
  EXPECT_EQ(r.Par(3)->Alignment, 2);
}
