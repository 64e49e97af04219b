#include <gtest/gtest.h>

#include <vector>

#include "richtext/RtfTextIo.h"
#include "richtext/RtfWriter.h"
#include "richtext/WriterTestSupport.h"

using namespace writertest;

namespace {

class RtfWriterTest : public ::testing::Test {
 protected:
  void SetUp() override { Reset(doc); }
  TParagraph* First() { return doc.FirstParagraph; }
  TWPRTFText doc;
};

// Accepts at most `limit` bytes per write, then refuses everything.
class ShortStream : public TMemoryStream {
 public:
  explicit ShortStream(std::size_t limit) : FLimit(limit) {}
  std::size_t Write(const void* buffer, std::size_t count) override {
    const std::size_t n = std::min(count, FLimit - std::min(FLimit, static_cast<std::size_t>(Size())));
    return TMemoryStream::Write(buffer, n);
  }

 private:
  std::size_t FLimit;
};

// Remembers the size of every write.
class RecordingStream : public TMemoryStream {
 public:
  std::size_t Write(const void* buffer, std::size_t count) override {
    Writes.push_back(count);
    return TMemoryStream::Write(buffer, count);
  }
  std::vector<std::size_t> Writes;
};

}  // namespace

TEST_F(RtfWriterTest, HiInArialIsTheHeaderAndOneRun) {
  Append(doc, First(), "Hi", Attr(0, 10));
  EXPECT_EQ(WriteRtf(doc), DefaultRtfHeader() + "{\\plain\\f0\\fs20\\cf0 Hi}\r\n}");
}

TEST_F(RtfWriterTest, EveryRunRestatesItsAttributes) {
  Append(doc, First(), "A", Attr(0, 10));
  Append(doc, First(), "B", Attr(0, 12));
  Append(doc, First(), "C", Attr(0, 0));
  EXPECT_EQ(Body(WriteRtf(doc)),
            "{\\plain\\f0\\fs20\\cf0 A\\plain\\f0\\fs24\\cf0 B\\plain\\f0\\fs20\\cf0 C}\r\n}");
}

TEST_F(RtfWriterTest, CharacterAttributesInFixedOrder) {
  doc.Header.FontNames[1] = "Times New Roman";
  const std::uint8_t allStyles = kStyleBold | kStyleItalic | kStyleUnderline | kStyleStrikeOut |
                                 kStyleHyperlink | kStyleSuperscript | kStyleSubscript;
  TAttr a = Attr(1, 14, allStyles, 0x53, kSpecialProtected | kSpecialHidden | kSpecialAutomatic);
  Append(doc, First(), "x", a);
  TAttr ip = Attr(0, 10, 0, 0, kSpecialInsertPoint);
  ip.Tag = 7;
  Append(doc, First(), "y", ip);
  const std::string rtf = WriteRtf(doc);
  EXPECT_EQ(rtf.substr(rtf.find("\\margb1440") + 10),
            "{\\plain\\f1\\fs28\\cf3\\cb5\\b\\ul\\uldb\\super\\sub\\i\\strike\\shad\\v\\inaut x"
            "\\plain\\f0\\fs20\\cf0\\inspnt7 y}\r\n}");
}

TEST_F(RtfWriterTest, OmittingMarksAndInsertPoints) {
  TAttr ip = Attr(0, 10, 0, 0, kSpecialInsertPoint);
  ip.Tag = 3;
  Append(doc, First(), "a", Attr(0, 10, 0, 0, kSpecialProtected));
  Append(doc, First(), "b", ip);
  TMemoryStream stream;
  TWPRTFWriter writer(doc);
  writer.OmitProtectedMark = true;
  writer.OmitInsertPoints = true;
  writer.WriteAll(stream);
  EXPECT_EQ(Body(stream.Data()), "{\\plain\\f0\\fs20\\cf0 a\\plain\\f0\\fs20\\cf0 }\r\n}");
}

TEST_F(RtfWriterTest, CharacterEscaping) {
  Append(doc, First(), std::string("a\tb\nc\xe9\\{}") + '\x01' + '\x7f' + '\x1f' + "~", Attr());
  EXPECT_EQ(Body(WriteRtf(doc)), "{\\plain\\f0\\fs20\\cf0 a\\tab b\\line c\\'e9\\\\\\{\\}\\'7f\\'1f~}\r\n}");
}

TEST_F(RtfWriterTest, RtfCodeRunIsVerbatimAndFollowingRunEndsIt) {
  Append(doc, First(), "{\\b x}\t\xe9\x02", Attr(0, 10, 0, 0, kSpecialRtfCode));
  Append(doc, First(), "y\\", Attr());
  EXPECT_EQ(Body(WriteRtf(doc)),
            "{\\plain\\f0\\fs20\\cf0\\wprtf1 {\\b x}\t\xe9\\wprtf0\\plain\\f0\\fs20\\cf0 y\\\\}\r\n}");
}

TEST_F(RtfWriterTest, RtfCodeAtParagraphAndDocumentEndIsClosed) {
  Append(doc, First(), "\\b", Attr(0, 10, 0, 0, kSpecialRtfCode));
  TParagraph* second = AddParagraph(doc, First());
  Append(doc, second, "z", Attr(0, 10, 0, 0, kSpecialRtfCode));
  EXPECT_EQ(Body(WriteRtf(doc)),
            "{\\plain\\f0\\fs20\\cf0\\wprtf1 \\b\\wprtf0\\par\n\r"
            "\\plain\\f0\\fs20\\cf0\\wprtf1 z\\wprtf0}\r\n}");
}

TEST_F(RtfWriterTest, ParagraphEndsAndHiddenMark) {
  Append(doc, First(), "one", Attr(0, 10, 0, 0, kSpecialHidden));
  TParagraph* second = AddParagraph(doc, First());
  Append(doc, second, "two", Attr());
  TParagraph* third = AddParagraph(doc, second);
  Append(doc, third, "three", Attr());
  EXPECT_EQ(Body(WriteRtf(doc)),
            "{\\plain\\f0\\fs20\\cf0\\v one\\plain\\par\n\r\\plain\\f0\\fs20\\cf0 two\\par\n\r"
            "\\plain\\f0\\fs20\\cf0 three}\r\n}");
}

TEST_F(RtfWriterTest, ParagraphPropertiesOnlyWhereTheyChange) {
  First()->Alignment = 2;
  First()->LeftIndent = 720;
  First()->FirstIndent = 1440;
  First()->SpaceBefore = 120;
  First()->LineSpacing = 276;
  Append(doc, First(), "a", Attr());
  TParagraph* second = AddParagraph(doc, First());  // same properties
  Append(doc, second, "b", Attr());
  TParagraph* third = AddParagraph(doc, second);
  third->Alignment = 0;
  third->LeftIndent = third->FirstIndent = 0;
  third->SpaceBefore = 0;
  third->LineSpacing = 0;
  third->ParFlags |= kParPageBreakBefore | kParKeepTogether;
  Append(doc, third, "c", Attr());
  EXPECT_EQ(Body(WriteRtf(doc)),
            "{\\qc\\li720\\fi720\\ri0\\sb120\\sl276\\sa0\\plain\\f0\\fs20\\cf0 a\\par\n\r"
            "\\plain\\f0\\fs20\\cf0 b\\par\n\r"
            "\\page{\\keep\\ql\\li0\\fi0\\ri0\\sb0\\sl\\sa0\\plain\\f0\\fs20\\cf0 c}}\r\n}");
}

// Position order: slots are numbered as a reader meets the stops, so slot
// order would differ from one save to the next.
TEST_F(RtfWriterTest, TabStopsInPositionOrderInTheirOwnGroup) {
  const TTabSet late = doc.Header.InsertTab(2880, tkLeft);
  const TTabSet early = doc.Header.InsertTab(1440, tkRight);
  ASSERT_EQ(late, TTabSet{1});
  ASSERT_EQ(early, TTabSet{2});
  First()->TabSet = late | early;
  Append(doc, First(), "a\tb", Attr());
  TParagraph* second = AddParagraph(doc, First());
  second->TabSet = 0;
  Append(doc, second, "c", Attr());
  EXPECT_EQ(Body(WriteRtf(doc)),
            "{{\\tqr\\tx1440\\tx2880\\plain\\f0\\fs20\\cf0 a\\tab b\\par\n\r"
            "}\\plain\\f0\\fs20\\cf0 c}\r\n}");
}

TEST_F(RtfWriterTest, BorderedParagraphOpensABorderGroup) {
  First()->BorderFlags = kBorderOn | kBorderBox;
  First()->BorderWidth = 1;
  First()->BorderSpaceColor = 0x13;
  First()->BorderStyle = kBorderDotted;
  Append(doc, First(), "boxed", Attr());
  TParagraph* second = AddParagraph(doc, First());
  second->BorderFlags = kBorderOn | kBorderTop | kBorderBottom | kBorderDouble;
  second->BorderSpaceColor = 0;
  second->BorderStyle = 0;
  Append(doc, second, "lines", Attr());
  TParagraph* third = AddParagraph(doc, second);
  third->BorderFlags = 0;
  Append(doc, third, "plain", Attr());
  EXPECT_EQ(Body(WriteRtf(doc)),
            "{{\\box\\brdrs\\brdrw20\\brsp57\\brdrcf3\\brdrdot\\plain\\f0\\fs20\\cf0 boxed\\par\n\r"
            "}{\\brdrt\\brdrdb\\brdrb\\brdrdb\\brdrw20\\plain\\f0\\fs20\\cf0 lines\\par\n\r"
            "}\\plain\\f0\\fs20\\cf0 plain}\r\n}");
}

TEST_F(RtfWriterTest, ShadedParagraphHasABraceOfItsOwn) {
  First()->ShadingColors = 0x21;
  First()->Shading = 50;
  Append(doc, First(), "grey", Attr());
  TParagraph* second = AddParagraph(doc, First());
  second->Shading = 100;
  second->ShadingColors = 0x24;
  Append(doc, second, "full", Attr());
  TParagraph* third = AddParagraph(doc, second);
  third->Shading = 0;
  third->ShadingColors = 0x20;
  Append(doc, third, "last", Attr());
  // Full shading still states a background colour: without any colour the
  // paragraph would read back unshaded.
  EXPECT_EQ(Body(WriteRtf(doc)),
            "{{\\shading5000\\cfpat1\\cbpat2\\plain\\f0\\fs20\\cf0 grey\\par\n\r}"
            "{\\shading10000\\cfpat4\\cbpat2\\plain\\f0\\fs20\\cf0 full\\par\n\r}"
            "{\\shading1\\cfpat0\\cbpat2\\plain\\f0\\fs20\\cf0 last}}\r\n}");
}

TEST_F(RtfWriterTest, PropertiesWrittenInsideAShadingBraceEndWithIt) {
  const TTabSet tab = doc.Header.InsertTab(1440, tkLeft);
  First()->ShadingColors = 0x01;
  First()->Alignment = 2;
  First()->TabSet = tab;
  Append(doc, First(), "shaded", Attr());
  TParagraph* second = AddParagraph(doc, First());
  second->ShadingColors = 0;
  Append(doc, second, "plain", Attr());
  // The reader restores alignment and tabs at the shading brace's end, so the
  // next paragraph states them again.
  EXPECT_EQ(Body(WriteRtf(doc)),
            "{{\\shading10000\\cfpat1{\\tx1440\\qc\\plain\\f0\\fs20\\cf0 shaded\\par\n\r}}"
            "{\\tx1440\\qc\\plain\\f0\\fs20\\cf0 plain}}\r\n}");
  TWPRTFTextIo copy;
  TMemoryStream stream(WriteRtf(doc));
  copy.LoadFromStream(stream);
  ASSERT_NE(copy.FirstParagraph->Next, nullptr);
  EXPECT_EQ(copy.FirstParagraph->Next->Alignment, 2);
  EXPECT_EQ(copy.FirstParagraph->Next->ShadingColors, 0);
  EXPECT_NE(copy.FirstParagraph->Next->TabSet, TTabSet{0});
}

TEST_F(RtfWriterTest, TwoCellTableRow) {
  TParagraph* a = First();
  a->ParFlags = kParTableCell | kParMoreCells;
  a->CellWidth = 127;
  Append(doc, a, "A", Attr());
  TParagraph* b = AddParagraph(doc, a);
  b->ParFlags = kParTableCell | kParNotFirstCell;
  b->CellStart = 127;
  b->CellWidth = 128;
  b->BorderFlags = kBorderOn | kBorderBox;
  b->BorderWidth = 1;
  b->ShadingColors = 0x12;
  b->Shading = 20;
  Append(doc, b, "B", Attr());
  TParagraph* after = AddParagraph(doc, b);
  after->ParFlags = 0;
  after->BorderFlags = 0;
  after->ShadingColors = 0;
  after->Shading = 0;
  Append(doc, after, "after", Attr());
  // Text width 12240 - 2 * 1880 = 8480.
  EXPECT_EQ(Body(WriteRtf(doc)),
            "{{\\pard\\trowd\\trgaph0\\trleft0\\cellx4223"
            "\\clbrdrt\\brdrs\\clbrdrb\\brdrs\\clbrdrl\\brdrs\\clbrdrr\\brdrs\\brdrw20"
            "\\clshdng\\clcfpat2\\clcbpat1\\cellx8480\\intbl\\sb0\\sl\\sa0\\plain\\f0\\fs20\\cf0 A\\cell\n\r"
            "\\intbl\\sb0\\sl\\sa0\\plain\\f0\\fs20\\cf0 B\\cell\\row\n\r"
            "}\\plain\\f0\\fs20\\cf0 after}\r\n}");
}

TEST_F(RtfWriterTest, CellRightEdgeIsWhereTheCellIsDrawn) {
  // The second cell starts after a gap: its edge is its start plus its width.
  TParagraph* a = First();
  a->ParFlags = kParTableCell | kParMoreCells;
  a->CellWidth = 51;
  Append(doc, a, "A", Attr());
  TParagraph* b = AddParagraph(doc, a);
  b->ParFlags = kParTableCell | kParNotFirstCell;
  b->CellStart = 153;
  b->CellWidth = 102;
  Append(doc, b, "B", Attr());
  const std::string body = Body(WriteRtf(doc));
  // 8480 * 51 / 255 = 1696, 8480 * 255 / 255 = 8480.
  EXPECT_NE(body.find("\\trleft0\\cellx1696\\cellx8480\\intbl"), std::string::npos) << body;
}

TEST_F(RtfWriterTest, SpacingWordsAlwaysCarryTheLineSpacingWord) {
  First()->SpaceBefore = 60;
  Append(doc, First(), "a", Attr());
  EXPECT_EQ(Body(WriteRtf(doc)), "{\\sb60\\sl\\sa0\\plain\\f0\\fs20\\cf0 a}\r\n}");
}

TEST_F(RtfWriterTest, SecondRowWithTheSameLayoutStaysInTheRowGroup) {
  TParagraph* p = First();
  for (int row = 0; row < 2; ++row) {
    if (row > 0) p = AddParagraph(doc, p);
    p->ParFlags = kParTableCell | kParMoreCells;
    p->CellWidth = 100;
    Append(doc, p, "x", Attr());
    p = AddParagraph(doc, p);
    p->ParFlags = kParTableCell | kParNotFirstCell;
    p->CellStart = 100;
    p->CellWidth = 155;
    Append(doc, p, "y", Attr());
  }
  const std::string body = Body(WriteRtf(doc));
  EXPECT_EQ(body.find("\\trowd"), body.rfind("\\trowd"));
  EXPECT_NE(body.find("y\\cell\\row\n\r\\intbl\\sb0\\sl\\sa0\\plain\\f0\\fs20\\cf0 x\\cell\n\r"),
            std::string::npos);
  EXPECT_EQ(body.substr(body.size() - 5), "}}\r\n}");
}

// Without \row a one-cell row's next row would read as more of its cells.
TEST_F(RtfWriterTest, OneCellRowsEndWithRowAsEveryRowDoes) {
  TParagraph* p = First();
  for (const char* text : {"a", "b"}) {
    if (p->TextLength() > 0) p = AddParagraph(doc, p);
    p->ParFlags = kParTableCell;
    p->CellWidth = 255;
    Append(doc, p, text, Attr());
  }
  const std::string body = Body(WriteRtf(doc));
  EXPECT_NE(body.find(" a\\cell\\row\n\r\\intbl"), std::string::npos) << body;
  EXPECT_NE(body.find(" b\\cell\\row\n\r}"), std::string::npos) << body;
}

TEST_F(RtfWriterTest, InformationStringsAndPageBlock) {
  doc.Header.Title = "T";
  doc.Header.Subject = "S";
  doc.Header.Comment = "a}b";
  doc.Header.PageWidth = 1000;
  Append(doc, First(), "x", Attr());
  const std::string rtf = WriteRtf(doc);
  EXPECT_NE(rtf.find("\\paperw1000\\paperh15840\\margl1880\\margr1880\\margt1440\\margb1440"
                     "{\\title T}{\\subject\tS}{\\comment\ta\\'7db}{"),
            std::string::npos);
}

TEST_F(RtfWriterTest, FontTableListsSlotsUpToTheFirstEmptyOne) {
  doc.Header.FontNames[1] = "Courier New";
  doc.Header.FontFamilyPitch[1] = 0x31;
  doc.Header.FontCharset[1] = 2;
  doc.Header.FontNames[3] = "Unreachable";
  Append(doc, First(), "x", Attr());
  Append(doc, First(), "y", Attr(3));
  Append(doc, First(), "z", Attr(99));
  const std::string rtf = WriteRtf(doc);
  EXPECT_NE(rtf.find("{\\fonttbl{\\f0\\fnil\\charset0 Arial;}{\\f1\\fmodern\\charset2 Courier New;}}"),
            std::string::npos);
  // Text in a font the table does not define is written in the default font.
  EXPECT_NE(rtf.find("\\margb1440{\\plain\\f0\\fs20\\cf0 xyz}\r\n}"), std::string::npos) << rtf;
}

TEST_F(RtfWriterTest, FootnotesNumberedAndUnnumbered) {
  TFootnote* numbered = doc.AddFootnote('*', 1, "see {here}");
  TFootnote* plain = doc.AddFootnote('+', 0, "raw");
  plain->RawRtf = "\\b raw";
  TAttr ref = Attr(0, 10, 0, 0, kSpecialFootnote);
  ref.Tag = numbered->Id;
  Append(doc, First(), "*", ref);
  ref.Tag = plain->Id;
  Append(doc, First(), "+", ref);
  EXPECT_EQ(Body(WriteRtf(doc)),
            "{\\plain\\f0\\fs20\\cf0 {\\cs16\\super *{\\*\\footnote \\wpfnnr1 \\pard\\plain \\s15\\widctlpar "
            "\\f4\\fs20\\lang1031 {\\cs16\\super\t*} see \\'7bhere\\'7d}}"
            "\\plain\\f0\\fs20\\cf0 {\\cs16\\super +{\\*\\footnote \\pard\\plain \\s15\\widctlpar "
            "\\f4\\fs20\\lang1031 {\\cs16\\super +} \\b raw}}}\r\n}");
}

TEST_F(RtfWriterTest, ObjectsAsTagsAndFileReferences) {
  TTextObject* tagged = doc.AddObject(nullptr, 2001);
  tagged->Width = 300;
  tagged->Height = 200;
  TTextObject* file = doc.AddObject(nullptr, 2002);
  file->FileName = "pic.bmp";
  file->Width = 10;
  file->Height = 20;
  TAttr object = Attr(0, 10, 0, 0, kSpecialObject);
  object.Tag = 2001;
  Append(doc, First(), "\x01", object);
  object.Tag = 2002;
  Append(doc, First(), "\x01", object);
  EXPECT_EQ(Body(WriteRtf(doc)),
            "{\\plain\\f0\\fs20\\cf0 \\wpobjtag2001\\wpobjw300\\wpobjh200 \\'01"
            "\\plain\\f0\\fs20\\cf0 {\\*\\picfile\\picwgoal10\\pichgoal20 \"pic.bmp\"}}\r\n}");

  TMemoryStream stream;
  TWPRTFWriter writer(doc);
  writer.WritePicturesAsBracketReferences = true;
  writer.WriteAll(stream);
  EXPECT_NE(stream.Data().find("\\{bmc pic.bmp\\}"), std::string::npos);
}

namespace {
class FakePicture : public TEmbeddedObject, public TWPPictureSource {
 public:
  explicit FakePicture(TFormat format) : FFormat(format) {}
  TObjectKind Kind() const override {
    return FFormat == TFormat::Metafile ? TObjectKind::Metafile : TObjectKind::Bitmap;
  }
  int PixelWidth() const override { return 3; }
  int PixelHeight() const override { return 2; }
  std::unique_ptr<TEmbeddedObject> Clone() const override { return std::make_unique<FakePicture>(FFormat); }
  TFormat PictureFormat() const override { return FFormat; }
  int BitsPerPixel() const override { return 24; }
  int WidthBytes() const override { return 12; }
  std::string PictureBytes(TFormat) const override { return std::string("\x01\xab", 2); }

 private:
  TFormat FFormat;
};
}  // namespace

TEST_F(RtfWriterTest, PicturesInEachForm) {
  auto write = [&](TWPPictureSource::TFormat format, bool asDib) {
    Reset(doc);
    TTextObject* record = doc.AddObject(std::make_unique<FakePicture>(format), 2000);
    record->Width = 45;
    record->Height = 30;
    TAttr object = Attr(0, 10, 0, 0, kSpecialObject);
    object.Tag = record->Id;
    Append(doc, First(), "\x01", object);
    TMemoryStream stream;
    TWPRTFWriter writer(doc);
    writer.WriteBitmapAsDib = asDib;
    writer.WriteAll(stream);
    const std::string body = Body(stream.Data());
    return body.substr(20, body.size() - 20 - 4);
  };
  EXPECT_EQ(write(TWPPictureSource::TFormat::Metafile, false),
            "{\\pict\\wmetafile8\\picw3\\pich2\\picwgoal45\\pichgoal30\r\n01ab}");
  EXPECT_EQ(
      write(TWPPictureSource::TFormat::Bitmap, false),
      "{\\pict\\wbitmap0\\wbmbitspixel24\\wbmplanes1\\wbmwidthbytes12\\picw3\\pich2\\picwgoal45\\pichgoal30"
      "\r\n01ab}");
  EXPECT_EQ(
      write(TWPPictureSource::TFormat::Bitmap, true),
      "{\\pict\\dibitmap0\\wbmbitspixel24\\wbmplanes1\\wbmwidthbytes9\\picw3\\pich2\\picwgoal45\\pichgoal30"
      "\r\n01ab}");
}

TEST_F(RtfWriterTest, RunsAreFlushedInSmallPieces) {
  Append(doc, First(), std::string(1000, 'x'), Attr());
  RecordingStream stream;
  TWPRTFWriter writer(doc);
  EXPECT_EQ(writer.WriteAll(stream), kResultOk);
  for (std::size_t size : stream.Writes) EXPECT_LE(size, 1024u);
  EXPECT_GT(stream.Writes.size(), 10u);
}

TEST_F(RtfWriterTest, ResultCodes) {
  Append(doc, First(), "text", Attr());
  ShortStream shortStream(100);
  TWPRTFWriter failing(doc);
  EXPECT_EQ(failing.WriteAll(shortStream), kResultFailed);

  TMemoryStream stream;
  TWPRTFWriter nothing(doc);
  nothing.SetRange(nullptr, nullptr, 0);
  EXPECT_EQ(nothing.WriteHeader(stream), kResultOk);
  EXPECT_EQ(nothing.WriteBody(stream), kResultNothingDone);
}

TEST_F(RtfWriterTest, GroupRecordWithoutMemoryIsResult2) {
  class StarvedWriter : public TWPRTFWriter {
   public:
    using TWPRTFWriter::TWPRTFWriter;

   protected:
    std::unique_ptr<TGroup> NewGroupRecord() override {
      if (++FGroupsMade > 1) throw std::bad_alloc();
      return TWPRTFWriter::NewGroupRecord();
    }

   private:
    int FGroupsMade = 0;
  };
  First()->BorderFlags = kBorderOn | kBorderBox;
  Append(doc, First(), "boxed", Attr());
  TParagraph* second = AddParagraph(doc, First());
  Append(doc, second, "more", Attr());
  TMemoryStream stream;
  StarvedWriter writer(doc);
  EXPECT_EQ(writer.WriteAll(stream), kResultOutOfMemory);
  EXPECT_EQ(stream.Data().find("boxed"), std::string::npos);
}

TEST_F(RtfWriterTest, RangeWritesPartOfTheText) {
  Append(doc, First(), "abcdef", Attr());
  TParagraph* second = AddParagraph(doc, First());
  Append(doc, second, "ghijk", Attr());
  TMemoryStream stream;
  TWPRTFWriter writer(doc);
  writer.SetRange(First(), nullptr, 2, second, nullptr, 3);
  writer.WriteAll(stream);
  EXPECT_EQ(Body(stream.Data()), "{\\plain\\f0\\fs20\\cf0 cdef\\par\n\r\\plain\\f0\\fs20\\cf0 ghi}\r\n}");
}

TEST_F(RtfWriterTest, PlainModeWritesTheCurrentFontOnly) {
  doc.Header.FontNames[1] = "Courier New";
  doc.CurrentAttr.FontIndex = 1;
  doc.SetPlainMode();
  doc.SetParagraphText(0, "a{b", nullptr, 3);
  const std::string rtf = WriteRtf(doc);
  EXPECT_NE(rtf.find("{\\fonttbl{\\f0\\fnil\\charset0 Courier New;}}"), std::string::npos);
  EXPECT_NE(rtf.find("\\margb1440{a\\{b}\r\n}"), std::string::npos);
}

TEST_F(RtfWriterTest, PlainModeTextIsKeptApartFromParagraphWords) {
  doc.SetPlainMode();
  doc.SetParagraphText(0, "a", nullptr, 1);
  doc.InsertParagraphText(1, "123", nullptr, 3);
  doc.FirstParagraph->Next->Alignment = 2;
  doc.FirstParagraph->Next->SpaceAfter = 100;
  const std::string rtf = WriteRtf(doc);
  EXPECT_NE(rtf.find("{a\\par\n\r\\qc\\sb0\\sl\\sa100 123}"), std::string::npos) << rtf;
  TWPRTFTextIo copy;
  TMemoryStream stream(rtf);
  copy.LoadFromStream(stream);
  ASSERT_NE(copy.FirstParagraph->Next, nullptr);
  EXPECT_EQ(copy.FirstParagraph->Next->Text(), "123");
  EXPECT_EQ(copy.FirstParagraph->Next->SpaceAfter, 100);
}
