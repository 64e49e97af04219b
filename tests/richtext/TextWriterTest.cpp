#include <gtest/gtest.h>

#include "richtext/TextWriter.h"
#include "richtext/WriterTestSupport.h"

using namespace writertest;

namespace {
std::string WritePlain(TWPTextWriter& writer) {
  TMemoryStream stream;
  writer.WriteAll(stream);
  return stream.Data();
}
}  // namespace

TEST(TextWriter, CharactersUnchangedParagraphsEndInCrLfAndAZeroCloses) {
  TWPRTFText doc;
  Reset(doc);
  Append(doc, doc.FirstParagraph, "a{\\}\t\xe9", Attr(0, 10, kStyleBold));
  TParagraph* second = AddParagraph(doc, doc.FirstParagraph);
  Append(doc, second, "b", Attr(1, 20));
  TWPTextWriter writer(doc);
  EXPECT_EQ(WritePlain(writer), std::string("a{\\}\t\xe9\r\nb\0", 10));
  EXPECT_EQ(writer.Result(), kResultOk);
  EXPECT_EQ(writer.CharactersWritten(), 7);
}

TEST(TextWriter, LinesOfAParagraphAreJoined) {
  TWPRTFText doc;
  Reset(doc);
  doc.InsertText(doc.FirstParagraph, 0, nullptr, "two");
  doc.InsertText(doc.FirstParagraph, 0, nullptr, "one ");
  TWPTextWriter writer(doc);
  EXPECT_EQ(WritePlain(writer), std::string("one two\0", 8));
}

TEST(TextWriter, OmittedInsertPointsAndAutomaticText) {
  TWPRTFText doc;
  Reset(doc);
  Append(doc, doc.FirstParagraph, "a", Attr());
  Append(doc, doc.FirstParagraph, "ip", Attr(0, 10, 0, 0, kSpecialInsertPoint));
  Append(doc, doc.FirstParagraph, "auto", Attr(0, 10, 0, 0, kSpecialAutomatic));
  Append(doc, doc.FirstParagraph, "z", Attr());
  TWPTextWriter all(doc);
  EXPECT_EQ(WritePlain(all), std::string("aipautoz\0", 9));
  TWPTextWriter some(doc);
  some.OmitInsertPoints = true;
  some.OmitAutomaticText = true;
  EXPECT_EQ(WritePlain(some), std::string("az\0", 3));
}

TEST(TextWriter, PlainModeDocument) {
  TWPRTFText doc;
  doc.SetPlainMode();
  doc.SetParagraphText(0, "plain", nullptr, 5);
  doc.InsertParagraphText(1, "text", nullptr, 4);
  TWPTextWriter writer(doc);
  EXPECT_EQ(WritePlain(writer), std::string("plain\r\ntext\0", 12));
}

TEST(TextWriter, EmptyRangeIsNothingToDo) {
  TWPRTFText doc;
  TWPTextWriter writer(doc);
  writer.SetRange(nullptr, nullptr, 0);
  TMemoryStream stream;
  EXPECT_EQ(writer.WriteAll(stream), kResultNothingDone);
  EXPECT_EQ(stream.Size(), 0);
}
