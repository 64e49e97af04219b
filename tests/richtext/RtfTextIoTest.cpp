#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <vector>

#include "common/TestSupport.h"
#include "richtext/DocumentCheck.h"
#include "richtext/Progress.h"
#include "richtext/RtfTextIo.h"
#include "richtext/TextWriter.h"
#include "richtext/WriterTestSupport.h"

using namespace writertest;

namespace {

TWPLoadFormat Detect(const std::string& bytes) {
  TMemoryStream stream(bytes);
  const TWPLoadFormat format = TWPRTFTextIo::DetectFormat(stream);
  EXPECT_EQ(stream.Position(), 0);
  return format;
}

std::string Saved(TWPRTFTextIo& doc) {
  TMemoryStream stream;
  doc.SaveToStream(stream);
  return stream.Data();
}

void Load(TWPRTFTextIo& doc, const std::string& bytes) {
  TMemoryStream stream(bytes);
  doc.LoadFromStream(stream);
  EXPECT_EQ(CheckDocument(doc), "");
}

std::vector<std::string> Paragraphs(const TWPRTFText& doc) {
  std::vector<std::string> texts;
  for (const TParagraph* p = doc.FirstParagraph; p; p = p->Next) texts.push_back(p->Text());
  return texts;
}

const char kHiRtf[] = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1 Times New Roman;}}\\f1\\fs24 Hi\\par}";

}  // namespace

TEST(RtfTextIoFormat, RtfStartWordAfterWhiteSpace) {
  EXPECT_EQ(Detect("{\\rtf1 x}"), FormatRTF);
  EXPECT_EQ(Detect(" \r\n\t\b {\\rtf1 x}"), FormatRTF);
  EXPECT_EQ(Detect("x{\\rtf1}"), FormatANSI);
  EXPECT_EQ(Detect("{\\rt"), FormatANSI);
  EXPECT_EQ(Detect(""), FormatANSI);
}

TEST(RtfTextIoFormat, HtmlTagsInTheFirst2000Bytes) {
  EXPECT_EQ(Detect("text <html> more"), FormatHTML);
  EXPECT_EQ(Detect("a<bR>b"), FormatHTML);
  EXPECT_EQ(Detect("<H1>x"), FormatHTML);
  EXPECT_EQ(Detect("<table>x</table>"), FormatANSI);
  EXPECT_EQ(Detect("<p class=x>"), FormatANSI);
  // A name cut by a line end or grown too long is dropped; the search goes on.
  EXPECT_EQ(Detect("<b\r> <aVeryLongName> <title>"), FormatHTML);
  EXPECT_EQ(Detect("<b\r>"), FormatANSI);
  EXPECT_EQ(Detect(std::string(1995, 'x') + "<body>"), FormatANSI);
  EXPECT_EQ(Detect(std::string(1994, 'x') + "<body>"), FormatHTML);
  EXPECT_EQ(Detect(std::string("a\0<html>", 8)), FormatANSI);
}

TEST(RtfTextIo, LoadIntoAnEmptyDocumentReplacesIt) {
  TWPRTFTextIo doc;
  Load(doc, std::string("  \r\n") + kHiRtf);
  EXPECT_EQ(doc.ResultCode, 0);
  ASSERT_EQ(Paragraphs(doc), (std::vector<std::string>{"Hi", ""}));
  const TAttr& attr = doc.FirstParagraph->FirstLine->Attrs[0];
  EXPECT_EQ(doc.Header.FontNames[attr.FontIndex], "Times New Roman");
  EXPECT_EQ(attr.Size, 12);
  EXPECT_EQ(doc.CursorParagraph, doc.FirstParagraph);
  EXPECT_EQ(doc.CursorIndex, 0);
}

TEST(RtfTextIo, LoadIntoANonEmptyDocumentInsertsAtTheCursor) {
  TWPRTFTextIo doc;
  doc.Clear();
  doc.SetParagraphText(0, "abcd", nullptr, 4);
  doc.SetCursorToStart();
  doc.CursorIndex = 2;
  Load(doc, "XY");
  EXPECT_EQ(Paragraphs(doc), (std::vector<std::string>{"abXYcd"}));

  bool asked = false;
  doc.OnBeforeInsert = [&](TWPRTFTextIo&, bool& allow) {
    asked = true;
    allow = false;
  };
  Load(doc, "no");
  EXPECT_TRUE(asked);
  EXPECT_EQ(Paragraphs(doc), (std::vector<std::string>{"abXYcd"}));
}

TEST(RtfTextIo, AnsiTextBecomesParagraphs) {
  TWPRTFTextIo doc;
  Load(doc, "one\r\ntwo");
  EXPECT_EQ(Paragraphs(doc), (std::vector<std::string>{"one", "two"}));
  EXPECT_FALSE(doc.PlainMode);

  TWPRTFTextIo html;
  Load(html, "<b>bold</b>");
  EXPECT_EQ(Paragraphs(html), (std::vector<std::string>{"<b>bold</b>"}));
}

TEST(RtfTextIo, LargeAnsiTextIsLoadedInPlainMode) {
  TWPRTFTextIo doc;
  std::string text;
  while (text.size() <= 500000) text += "a line of text\r\n";
  Load(doc, text);
  EXPECT_TRUE(doc.PlainMode);
  EXPECT_EQ(doc.ParagraphCount(), static_cast<int>(text.size() / 16) + 1);
}

TEST(RtfTextIo, ReaderErrorsGiveResult7AndLeaveTheDocumentAsItWas) {
  TWPRTFTextIo doc;
  Load(doc, "{\\rtf1 lost \\fs99999999999 text}");
  EXPECT_EQ(doc.ResultCode, 7);
  EXPECT_FALSE(doc.LastError.empty());
  EXPECT_TRUE(doc.IsEmpty());

  doc.SetParagraphText(0, "kept", nullptr, 4);
  Load(doc, "{\\rtf1 lost \\fs99999999999 text}");
  EXPECT_EQ(doc.ResultCode, 7);
  EXPECT_EQ(Paragraphs(doc), (std::vector<std::string>{"kept"}));
}

TEST(RtfTextIo, EmptyDocumentSavedToAStreamIsOneZeroByte) {
  TWPRTFTextIo doc;
  doc.Clear();
  EXPECT_EQ(Saved(doc), std::string(1, '\0'));
  EXPECT_EQ(doc.ResultCode, 0);
}

TEST(RtfTextIo, EmptyDocumentSavedToAnRtfFileIsAHeaderWithEmptyBody) {
  QTemporaryDir dir;
  TWPRTFTextIo doc;
  Reset(doc);
  const std::string name = dir.filePath("empty.Rtf").toStdString();
  doc.SaveToFile(name);
  EXPECT_EQ(doc.ResultCode, 0);
  EXPECT_EQ(testsupport::ReadAll(QString::fromStdString(name)).toStdString(), DefaultRtfHeader() + "{}\r\n}");
  EXPECT_FALSE(doc.SavingToNamedFile);
}

TEST(RtfTextIo, SaveFormatChoice) {
  TWPRTFTextIo doc;
  Reset(doc);
  doc.SetParagraphText(0, "x", nullptr, 1);
  EXPECT_EQ(doc.SaveFormatFor(), FormatRTF);
  doc.Header.LastLoadFormat = FormatANSI;
  EXPECT_EQ(Saved(doc), std::string("x\0", 2));
  doc.SaveFormat = FormatRTF;
  EXPECT_EQ(Saved(doc).substr(0, 6), "{\\rtf1");
  doc.SaveFormat = FormatHTML;
  EXPECT_EQ(Saved(doc), std::string("x\0", 2));
  doc.SaveFormat = AutomaticFormat;
  doc.Header.LastLoadFormat = 0;
  doc.SetPlainMode();
  EXPECT_EQ(doc.SaveFormatFor(), FormatANSI);
}

TEST(RtfTextIo, SaveToFileChoosesByNameAndRestoresTheSaveFormat) {
  QTemporaryDir dir;
  TWPRTFTextIo doc;
  Reset(doc);
  doc.SetParagraphText(0, "x", nullptr, 1);
  doc.SaveFormat = FormatANSI;
  const std::string rtfName = dir.filePath("a.rtf.txt").toStdString();
  doc.SaveToFile(rtfName);
  EXPECT_EQ(doc.SaveFormat, FormatANSI);
  EXPECT_TRUE(testsupport::ReadAll(QString::fromStdString(rtfName)).startsWith("{\\rtf1"));
  const std::string textName = dir.filePath("a.txt").toStdString();
  doc.SaveToFile(textName);
  EXPECT_EQ(testsupport::ReadAll(QString::fromStdString(textName)).toStdString(), std::string("x\0", 2));

  EXPECT_THROW(doc.SaveToFile(dir.filePath("missing/x.rtf").toStdString()), EStreamError);
}

TEST(RtfTextIo, LoadFromFileRemembersTheFormat) {
  QTemporaryDir dir;
  const QString name = dir.filePath("hi.rtf");
  testsupport::WriteAll(name, QByteArray(kHiRtf));
  TWPRTFTextIo doc;
  EXPECT_EQ(doc.LoadFromFile(name.toStdString()), FormatRTF);
  EXPECT_EQ(doc.Header.LastLoadFormat, FormatRTF);
  EXPECT_EQ(CheckDocument(doc), "");
  try {
    doc.LoadFromFile(dir.filePath("none.rtf").toStdString());
    FAIL() << "no error";
  } catch (const EStreamError& error) {
    EXPECT_EQ(std::string(error.what()), "Cannot open file " + dir.filePath("none.rtf").toStdString());
  }
}

TEST(RtfTextIo, FileStreamsAreReadThroughMemoryAndPositionedAfterTheText) {
  QTemporaryDir dir;
  const QString name = dir.filePath("two.rtf");
  testsupport::WriteAll(name, QByteArray("{\\rtf1 one}tail"));
  TFileStream file(name.toStdString(), TFileStream::Mode::OpenRead);
  TWPRTFTextIo doc;
  doc.LoadFromStream(file);
  EXPECT_EQ(Paragraphs(doc), (std::vector<std::string>{"one"}));
  EXPECT_EQ(file.Position(), 11);
}

TEST(RtfTextIo, DataPropertyIsTheRtfAndFourZeroBytes) {
  TWPRTFTextIo doc;
  Reset(doc);
  EXPECT_FALSE(doc.HasData());
  TMemoryStream empty;
  doc.WriteData(empty);
  EXPECT_EQ(empty.Size(), 0);

  Append(doc, doc.FirstParagraph, "Hi", Attr());
  EXPECT_TRUE(doc.HasData());
  TMemoryStream data;
  doc.WriteData(data);
  EXPECT_EQ(data.Data(), WriteRtf(doc) + std::string(4, '\0'));
}

TEST(RtfTextIo, ReadingDataReplacesTheText) {
  TWPRTFTextIo source;
  Reset(source);
  Append(source, source.FirstParagraph, "new", Attr(0, 14, kStyleBold));
  TMemoryStream data;
  source.WriteData(data);

  TWPRTFTextIo doc;
  Reset(doc);
  doc.SetParagraphText(0, "old text", nullptr, 8);
  doc.InsertParagraphText(1, "more", nullptr, 4);
  data.SetPosition(0);
  doc.ReadData(data);
  EXPECT_EQ(CheckDocument(doc), "");
  EXPECT_EQ(Paragraphs(doc), (std::vector<std::string>{"new"}));
  EXPECT_EQ(doc.FirstParagraph->FirstLine->Attrs[0].Style, kStyleBold);
  EXPECT_EQ(doc.FirstParagraph->FirstLine->Attrs[0].Size, 14);
  EXPECT_EQ(data.Position(), data.Size() - 4);
}

TEST(RtfTextIo, FailingDataReadClearsAndPassesTheErrorOn) {
  TWPRTFTextIo doc;
  doc.SetParagraphText(0, "old", nullptr, 3);
  TMemoryStream bad(std::string("{\\rtf1 x\\li99999999999 y}"));
  EXPECT_ANY_THROW(doc.ReadData(bad));
  EXPECT_TRUE(doc.IsEmpty());
  EXPECT_EQ(CheckDocument(doc), "");
}

TEST(RtfTextIo, FailingDataWriteRaises) {
  class FullStream : public TMemoryStream {
   public:
    std::size_t Write(const void*, std::size_t) override { return 0; }
  };
  TWPRTFTextIo doc;
  Reset(doc);
  doc.SetParagraphText(0, "x", nullptr, 1);
  FullStream full;
  EXPECT_THROW(doc.WriteData(full), EStreamError);
}

TEST(RtfTextIo, PositionConversions) {
  TWPRTFTextIo doc;
  doc.SetParagraphText(0, "abc", nullptr, 3);
  doc.InsertParagraphText(1, "de", nullptr, 2);
  TParagraph* second = doc.FirstParagraph->Next;
  doc.InsertText(second, 2, nullptr, "fg");  // a second line: "de" + "fg"
  ASSERT_NE(second->FirstLine->Next, nullptr);
  EXPECT_EQ(doc.PositionOf(second, second->FirstLine->Next, 1), 7);
  TParagraph* par;
  TLine* line;
  int index;
  doc.PositionToCursor(7, par, line, index);
  EXPECT_EQ(par, second);
  EXPECT_EQ(line, second->FirstLine->Next);
  EXPECT_EQ(index, 1);
  doc.PositionToCursor(3, par, line, index);
  EXPECT_EQ(par, doc.FirstParagraph);
  EXPECT_EQ(index, 3);
  doc.PositionToCursor(4, par, line, index);
  EXPECT_EQ(par, second);
  EXPECT_EQ(index, 0);
  doc.PositionToCursor(100, par, line, index);
  EXPECT_EQ(doc.PositionOf(par, line, index), 8);
}

TEST(RtfTextIo, SelectionIsSavedStartBeforeEnd) {
  TWPRTFTextIo doc;
  Reset(doc);
  doc.SetParagraphText(0, "hello", nullptr, 5);
  doc.InsertParagraphText(1, "world", nullptr, 5);
  TMemoryStream none;
  TWPTextWriter noSelection(doc);
  doc.SaveSelectionToStream(none, noSelection);
  EXPECT_EQ(none.Size(), 0);

  TParagraph* second = doc.FirstParagraph->Next;
  doc.SelStartParagraph = second;
  doc.SelStartLine = second->FirstLine;
  doc.SelStartIndex = 2;
  doc.SelEndParagraph = doc.FirstParagraph;
  doc.SelEndLine = doc.FirstParagraph->FirstLine;
  doc.SelEndIndex = 3;
  doc.SelectionBackwards = true;
  TMemoryStream stream;
  TWPTextWriter writer(doc);
  doc.SaveSelectionToStream(stream, writer);
  EXPECT_EQ(stream.Data(), std::string("lo\r\nwo\0", 7));
}

TEST(RtfTextIo, ClearResetsCursorSelectionAndCurrentAttr) {
  TWPRTFTextIo doc;
  doc.SetParagraphText(0, "abc", nullptr, 3);
  doc.FirstParagraph->SpaceBefore = 100;
  doc.SelStartParagraph = doc.SelEndParagraph = doc.FirstParagraph;
  doc.CurrentAttr.Style = kStyleBold;
  doc.Clear();
  EXPECT_TRUE(doc.IsEmpty());
  EXPECT_FALSE(doc.HasSelection());
  EXPECT_EQ(doc.CursorParagraph, doc.FirstParagraph);
  EXPECT_EQ(doc.CursorLine, doc.FirstParagraph->FirstLine);
  EXPECT_EQ(doc.CurrentAttr.Style, 0);
  EXPECT_EQ(doc.CurrentAttr.Size, 0);
  EXPECT_EQ(doc.FirstParagraph->SpaceBefore, 0);
  EXPECT_FALSE(WPEngine().Busy);
}

namespace {
std::vector<int> GReported;
void RecordProgress(std::intptr_t tag, int percent) {
  EXPECT_EQ(tag, 42);
  GReported.push_back(percent);
}
}  // namespace

TEST(RtfTextIo, LoadReportsProgressUnlessBusy) {
  GReported.clear();
  TWPProgress::SetHook(RecordProgress, 42);
  std::string rtf = "{\\rtf1 ";
  for (int i = 0; i < 2000; ++i) rtf += "some text\\par ";
  rtf += "}";
  TWPRTFTextIo doc;
  Load(doc, rtf);
  ASSERT_GE(GReported.size(), 3u);
  EXPECT_EQ(GReported[GReported.size() - 2], 100);
  EXPECT_EQ(GReported.back(), 0);
  for (int percent : GReported) EXPECT_LE(percent, 100);

  GReported.clear();
  {
    TWPBusyScope busy;
    TWPRTFTextIo other;
    Load(other, rtf);
  }
  TWPProgress::SetHook(nullptr, 0);
  EXPECT_TRUE(GReported.empty());
}

TEST(RtfStrings, ListOperations) {
  TWPRTFTextIo doc;
  TWPRtfStrings strings(doc);
  EXPECT_EQ(strings.Count(), 0);
  strings.Insert(0, "first");
  EXPECT_EQ(strings.Count(), 1);
  strings.Add("third");
  strings.Insert(1, "second");
  EXPECT_EQ(strings.Get(1), "second");
  strings.Put(2, "last");
  strings.Delete(0);
  EXPECT_EQ(Paragraphs(doc), (std::vector<std::string>{"second", "last"}));
  TMemoryStream out;
  strings.SaveToStream(out);
  EXPECT_EQ(out.Data(), std::string("second\r\nlast\0", 13));

  doc.LoadFormat = FormatANSI;
  TMemoryStream in{std::string(kHiRtf)};
  strings.LoadFromStream(in);
  EXPECT_EQ(doc.LoadFormat, FormatANSI);
  EXPECT_EQ(strings.Get(0), "Hi");
  strings.Clear();
  EXPECT_EQ(strings.Count(), 0);
}

TEST(RtfTextIo, LoadAfterTheCursorParagraphWasDeletedInsertsAtTheStart) {
  TWPRTFTextIo doc;
  TWPRtfStrings strings(doc);
  strings.Add("one");
  strings.Add("two");
  doc.SetCursorToStart();
  strings.Delete(0);
  Load(doc, "X");
  EXPECT_EQ(Paragraphs(doc), (std::vector<std::string>{"Xtwo"}));
}

TEST(RtfTextIo, ParametersBeyondThirtyTwoBitsAreWrittenAsTheLimit) {
  TWPRTFTextIo doc;
  Reset(doc);
  doc.FirstParagraph->FirstIndent = 2147483000;
  doc.FirstParagraph->LeftIndent = -2147483000;
  Append(doc, doc.FirstParagraph, "x", Attr());
  const std::string rtf = WriteRtf(doc);
  EXPECT_NE(rtf.find("\\fi2147483647"), std::string::npos);
  TWPRTFTextIo again;
  Load(again, rtf);
  EXPECT_EQ(again.ResultCode, 0) << again.LastError;
}

TEST(RtfTextIo, WriteShortfallWhileSavingToAFileIsResult7) {
  if (!QFile::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  TWPRTFTextIo doc;
  Reset(doc);
  doc.SetParagraphText(0, std::string(5000, 'x').c_str(), nullptr, 5000);
  doc.SaveToFile("/dev/full");
  EXPECT_EQ(doc.ResultCode, 7);
}

TEST(RtfTextIo, AssignErrorsPropagateWithTheBusyFlagReset) {
  class Uncopyable : public TEmbeddedObject {
   public:
    TObjectKind Kind() const override { return TObjectKind::Other; }
    int PixelWidth() const override { return 1; }
    int PixelHeight() const override { return 1; }
    std::unique_ptr<TEmbeddedObject> Clone() const override { throw std::runtime_error("cannot copy"); }
  };
  TWPRTFTextIo source;
  Reset(source);
  TTextObject* record = source.AddObject(std::make_unique<Uncopyable>(), 2000);
  TAttr object = Attr(0, 10, 0, 0, kSpecialObject);
  object.Tag = record->Id;
  Append(source, source.FirstParagraph, "\x01", object);
  TWPRTFTextIo copy;
  EXPECT_THROW(copy.Assign(source), std::runtime_error);
  EXPECT_FALSE(WPEngine().Busy);
  EXPECT_EQ(copy.SourceDocument, nullptr);
  EXPECT_TRUE(copy.IsEmpty());
  EXPECT_EQ(CheckDocument(copy), "");
}

TEST(RtfTextIo, NestedProgressRangesShareTheOuterSpan) {
  GReported.clear();
  TWPProgress::SetHook(RecordProgress, 42);
  TWPProgress::Reset();
  TWPProgress::Start(100);
  TWPProgress::SetSubRange(50);
  TWPProgress::Start(1000);  // 0..50 of the outer range
  TWPProgress::Update(1);    // less than a step: nothing
  TWPProgress::Update(500);
  TWPProgress::Update(1000);
  TWPProgress::Update(2000);  // complete: nothing more
  TWPProgress::Stop();
  TWPProgress::Update(80);
  TWPProgress::Stop();
  TWPProgress::Stop();  // nothing open: ignored
  TWPProgress::SetHook(nullptr, 0);
  EXPECT_EQ(GReported, (std::vector<int>{25, 50, 50, 80, 100, 0}));
}

// A converter's reading: each paragraph comes to the sink once reading is
// done with it, as loading would have made it, and earlier ones are freed
// by then (cells of a table row only after the row).
TEST(RtfTextIo, ReadingParagraphByParagraphGivesTheParagraphsLoadingMakes) {
  for (const char* name : {"rtf/writer-rich.rtf", "rtf/word-2016.rtf", "rtf/nested-table.rtf"}) {
    SCOPED_TRACE(name);
    const std::string rtf = testsupport::ReadAll(testsupport::DataFile(name)).toStdString();
    TWPRTFTextIo loaded;
    TMemoryStream whole(rtf);
    loaded.LoadFromStream(whole);
    std::vector<std::string> expected;
    for (TParagraph* p = loaded.FirstParagraph; p != nullptr; p = p->Next)
      expected.push_back(p->Text() + "/" + std::to_string(p->Alignment) + "/" +
                         std::to_string(p->LeftIndent) + "/" + std::to_string(p->ParFlags) + "/" +
                         std::to_string(p->CellWidth));

    TWPRTFTextIo streamed;
    TMemoryStream input(rtf);
    std::vector<std::string> got;
    streamed.ReadParagraphByParagraph(input, [&](TParagraph& p) {
      EXPECT_EQ(p.Prev, nullptr);
      got.push_back(p.Text() + "/" + std::to_string(p.Alignment) + "/" + std::to_string(p.LeftIndent) + "/" +
                    std::to_string(p.ParFlags) + "/" + std::to_string(p.CellWidth));
    });
    EXPECT_EQ(streamed.ResultCode, 0);
    EXPECT_EQ(got, expected);
    EXPECT_TRUE(streamed.IsEmpty());
    EXPECT_EQ(CheckDocument(streamed), "");
  }
}
