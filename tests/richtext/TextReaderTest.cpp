#include <gtest/gtest.h>

#include "richtext/RtfReaderTestSupport.h"
#include "richtext/TextReader.h"

using readertest::ReadWith;

TEST(TextReader, CarriageReturnEndsParagraphsLineFeedIsIgnoredZeroEnds) {
  TWPTextReader reader;
  auto r = ReadWith(reader, std::string("one\r\ntwo\rthree\n\r\r{\\b x}\0after", 29));
  EXPECT_EQ(r.AllText(), "one|two|three||{\\b x}");
  EXPECT_EQ(r.ResultCode, 0);
  EXPECT_EQ(r.StreamPosition, 24);  // just after the 0 byte
  for (TParagraph* p : r.Paragraphs()) EXPECT_EQ(p->ParState & kParNeedsBoth, kParNeedsBoth);
}

TEST(TextReader, CharactersTakeTheStartingAttributeAndParagraphsCarryAttributes) {
  TWPTextReader reader;
  reader.MarkAsAutomatic = true;
  auto r = ReadWith(reader, "a\rb", [](TWPRTFText& d) {
    d.CurrentAttr.Size = 12;
    d.CurrentAttr.Style = kStyleItalic;
    d.FirstParagraph->Alignment = 2;
  });
  EXPECT_EQ(r.AttrAt(0, 0).Size, 12);
  EXPECT_EQ(r.AttrAt(1, 0).Style, kStyleItalic);
  EXPECT_EQ(r.AttrAt(1, 0).Special, kSpecialAutomatic);
  EXPECT_EQ(r.Par(1)->Alignment, 2);
}

TEST(TextReader, LongTextFillsLinesOf200) {
  TWPTextReader reader;
  const std::string text(100000, 'w');
  auto r = ReadWith(reader, text + "\r" + std::string(3, '\xE9'));
  EXPECT_EQ(r.Text(0), text);
  EXPECT_EQ(r.Text(1), "\xE9\xE9\xE9");
  int lines = 0;
  for (TLine* l = r.Par(0)->FirstLine; l != nullptr; l = l->Next, ++lines) EXPECT_LE(l->Capacity, 200);
  EXPECT_GT(lines, 500);
}

TEST(TextReader, PlainModeDocumentGetsNoAttributeArrays) {
  TWPTextReader reader;
  auto r = ReadWith(reader, "plain\rtext", [](TWPRTFText& d) { d.SetPlainMode(); });
  EXPECT_EQ(r.AllText(), "plain|text");
  EXPECT_EQ(r.Par(1)->FirstLine->Attrs, nullptr);
}

TEST(TextReader, EmptyStreamLeavesOneEmptyParagraph) {
  TWPTextReader reader;
  auto r = ReadWith(reader, "");
  EXPECT_EQ(r.AllText(), "");
  EXPECT_EQ(r.Paragraphs().size(), 1u);
}

TEST(TextReader, WrongArgumentsWithoutTarget) {
  TWPTextReader reader;
  TMemoryStream stream(std::string("x"));
  TParagraph* chain = nullptr;
  try {
    reader.Read(&stream, chain);
    FAIL() << "no error";
  } catch (const EReaderError& e) {
    EXPECT_STREQ(e.what(), "Wrong Arguments in\tTWPTextReader");
  }
}

TEST(TextReader, ReadsTheSourceSetBeforeWhenNoStreamIsGiven) {
  TWPRTFText doc;
  TWPTextReader reader;
  reader.SetTarget(&doc.Header, &doc);
  TMemoryStream stream(std::string("from source"));
  reader.SetSource(&stream);
  TParagraph* first = doc.FirstParagraph;
  reader.Read(nullptr, first);
  EXPECT_EQ(first->Text(), "from source");
}
