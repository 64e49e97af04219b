// RTF as other word processors write it (files under tests/data/rtf written
// in their style) reads without losing text.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "common/TestSupport.h"
#include "richtext/RtfPicture.h"
#include "richtext/RtfReaderTestSupport.h"
#include "richtext/RtfTextIo.h"
#include "richtext/TextWriter.h"

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

namespace {

// What the plain-text writer makes of a document, without its closing 0 byte.
std::string PlainText(TWPRTFTextIo& doc) {
  TMemoryStream stream;
  TWPTextWriter writer(doc);
  writer.WriteHeader(stream);
  writer.WriteBody(stream);
  return stream.Data();
}

std::string FootnoteTexts(const TWPRTFText& doc) {
  std::string texts;
  for (const auto& note : doc.Footnotes()) texts += (texts.empty() ? "" : "|") + note->Text;
  return texts;
}

const TWPRtfPicture* Picture(const TWPRTFText& doc, std::size_t i) {
  return i < doc.Objects().size() ? dynamic_cast<const TWPRtfPicture*>(doc.Objects()[i]->Object) : nullptr;
}

}  // namespace

// Small files of the ways other programs write RTF that once lost text:
// each reads, through the engine's loading, to exactly this text
// (paragraphs joined by '|', objects as code 1, footnote references as their
// mark), and, where given, to this plain text. That what is read is written
// and read back the same is RoundTrip.WordProcessorFilesSurviveRewriting.
TEST(RtfReaderInterop, FilesOfOtherProgramsReadToTheirText) {
  struct TCase {
    const char* File;
    std::string Text;
    std::string Plain;  // empty: not checked
    std::function<void(TWPRTFTextIo&)> Check;
  };
  const TCase cases[] = {
      // Bytes after \bin that would end the group, open one, start a word
      // and end reading are picture bytes.
      {"bin-picture.rtf",
       "A\x01"
       "B|C",
       "AB\r\nC",
       [](TWPRTFTextIo& doc) {
         ASSERT_NE(Picture(doc, 0), nullptr);
         EXPECT_EQ(Picture(doc, 0)->Data, std::string("}{\\\0", 4));
       }},
      // Unicode characters Windows-1252 holds replace their fallbacks (\uc
      // counted, also in groups); others keep theirs, "?" without one.
      {"unicode.rtf",
       "caf\xE9, en\x96"
       "dash, \x80 euro, \xE9no fallback, ? root, ? empty, \xE9 two, \x93q\x94, ?? end",
       "",
       {}},
      // Windows-1251 of the document, 1250 of a font, Shift JIS and GB2312
      // of double-byte fonts, a symbol font kept byte for byte (also for
      // its private Unicode range), Windows-1252 of a font.
      {"code-pages.rtf", "??? \xAB\x96\xA9\xBB|\xE9??\x8A|?? A\xB0|? B|\xB7\xF0\xB7|\xE9", "", {}},
      // A note takes no character before it: it gets a reference "*" of its
      // own, or the number of the note \chftn gives it; plain text leaves marks out.
      {"footnotes.rtf", "abc*def|Word2 end", "abcdef\r\nWord end",
       [](TWPRTFTextIo& doc) { EXPECT_EQ(FootnoteTexts(doc), "c|A note."); }},
      // A tab byte, an optional hyphen (0xAD) and a non-breaking hyphen
      // (Windows-1252 has none: a hyphen).
      {"tab-hyphens.rtf",
       "a\tb\xAD"
       "c-d",
       "",
       {}},
      // Cells and rows of a table inside a cell are separated by tabs and
      // line breaks.
      {"nested-table.rtf",
       "outer one\ninner a\tinner b\ninner c\tinner d\nafter|outer two|after the table",
       "",
       {}},
      {"unstarred-destinations.rtf", "abcdefghi", "", {}},
      // Colours past the header's table take its nearest colour.
      {"colours.rtf", "blueredblacksixnonebacktwo", "",
       [](TWPRTFTextIo& doc) {
         const auto colour = [&doc](int n) { return doc.FirstParagraph->FirstLine->Attrs[n].Colors; };
         EXPECT_EQ(colour(0), 2);        // \cf19 0,0,250: blue
         EXPECT_EQ(colour(4), 6);        // \cf17 250,5,5: red
         EXPECT_EQ(colour(7), 0);        // \cf18 20,20,20: black, the first entry that near
         EXPECT_EQ(colour(12), 6);       // \cf6
         EXPECT_EQ(colour(15), 0);       // \cf25: no such colour, none set
         EXPECT_EQ(colour(19), 2 << 4);  // \cb19
         EXPECT_EQ(colour(23), 2);
       }},
      {"paragraph-flags.rtf", "one|two|three", "",
       [](TWPRTFTextIo& doc) {
         EXPECT_EQ(doc.FirstParagraph->ParFlags, kParKeepTogether);
         EXPECT_EQ(doc.FirstParagraph->Next->ParFlags, kParKeepWithNext);
         EXPECT_EQ(doc.FirstParagraph->Next->Next->ParFlags, 0);
       }},
      // PNG and JPEG pictures keep their format and bytes.
      {"png-picture.rtf", "x\x01y\x01z", "xyz",
       [](TWPRTFTextIo& doc) {
         ASSERT_NE(Picture(doc, 1), nullptr);
         EXPECT_EQ(Picture(doc, 0)->Format, TWPRtfPicture::pfPng);
         EXPECT_EQ(Picture(doc, 0)->Data.substr(1, 3), "PNG");
         EXPECT_EQ(Picture(doc, 0)->PixelWidth(), 2);
         EXPECT_EQ(doc.Objects()[0]->Width, 600);
         EXPECT_EQ(Picture(doc, 1)->Format, TWPRtfPicture::pfJpeg);
         EXPECT_EQ(Picture(doc, 1)->Data, "\xFF\xD8\xFF\xD9");
       }},
      // Line breaks and paragraph ends both end plain lines with CR LF.
      {"line-ends.rtf", "one\ntwo|three", "one\r\ntwo\r\nthree", {}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.File);
    TWPRTFTextIo doc;
    TMemoryStream stream(testsupport::ReadAll(testsupport::DataFile(QString("rtf/") + c.File)).toStdString());
    doc.LoadFromStream(stream);
    ASSERT_EQ(doc.ResultCode, 0) << doc.LastError;
    std::string text;
    for (TParagraph* p = doc.FirstParagraph; p != nullptr; p = p->Next)
      text += (p == doc.FirstParagraph ? "" : "|") + p->Text();
    EXPECT_EQ(text, c.Text);
    if (!c.Plain.empty()) {
      EXPECT_EQ(PlainText(doc), c.Plain);
    }
    if (c.Check) c.Check(doc);
  }
}

// Binary data that runs past the end of the input fails the load instead of
// cutting the text short.
TEST(RtfReaderInterop, BinaryDataPastTheEndFailsTheLoad) {
  TWPRTFTextIo doc;
  TMemoryStream stream(
      testsupport::ReadAll(testsupport::DataFile("rtf/damaged/bin-past-end.rtf")).toStdString());
  doc.LoadFromStream(stream);
  EXPECT_EQ(doc.ResultCode, 7);
  EXPECT_EQ(doc.LastError, "The RTF text ends inside binary data");
}
