#include <gtest/gtest.h>

#include "richtext/DocumentCheck.h"
#include "richtext/RtfStorage.h"
#include "richtext/WriterTestSupport.h"

using namespace writertest;

TEST(RtfStorage, NewStorageHoldsAnEmptyDocumentThatIsNotStored) {
  TWPRtfStorage storage;
  EXPECT_TRUE(storage.RtfText().IsEmpty());
  EXPECT_FALSE(storage.RtfText().HasData());
  EXPECT_EQ(storage.RtfText().CursorParagraph, storage.RtfText().FirstParagraph);
  EXPECT_EQ(CheckDocument(storage.RtfText()), "");
}

TEST(RtfStorage, AssigningCopiesIntoTheStoragesOwnDocument) {
  TWPRtfStorage storage;
  TWPRTFTextIo* own = &storage.RtfText();
  TWPRTFTextIo source;
  Reset(source);
  Append(source, source.FirstParagraph, "label", Attr(0, 12, kStyleItalic));
  storage.SetRtfText(source);
  EXPECT_EQ(&storage.RtfText(), own);
  EXPECT_EQ(own->FirstParagraph->Text(), "label");
  source.Clear();
  EXPECT_EQ(own->FirstParagraph->Text(), "label");
  EXPECT_EQ(own->FirstParagraph->FirstLine->Attrs[0].Style, kStyleItalic);

  storage.RtfText().Clear();
  EXPECT_FALSE(storage.RtfText().HasData());
}
