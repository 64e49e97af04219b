// Documents written as RTF and read back, and documents copied with Assign,
// compared field by field.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <set>
#include <sstream>
#include <tuple>

#include "common/TestSupport.h"
#include "richtext/DocumentCheck.h"
#include "richtext/Progress.h"
#include "richtext/RtfReader.h"
#include "richtext/RtfTextIo.h"
#include "richtext/WriterTestSupport.h"

using namespace writertest;

namespace {

// Tab stops of a paragraph as (position, kind), independent of slot numbers.
std::set<std::pair<int, int>> TabStops(const TWPRTFText& doc, const TParagraph& par) {
  std::set<std::pair<int, int>> stops;
  for (int slot = 0; slot < TTextHeader::kTabSlots; ++slot)
    if ((par.TabSet >> slot) & 1u) stops.emplace(doc.Header.TabPositions[slot], doc.Header.TabKinds[slot]);
  return stops;
}

std::string Describe(const TAttr& a) {
  std::ostringstream out;
  out << "font " << int(a.FontIndex) << " size " << int(a.Size) << " colors " << int(a.Colors) << " style "
      << int(a.Style) << " special " << int(a.Special) << " tag " << a.Tag;
  return out.str();
}

// Every difference in text, paragraph and character formatting; fonts and
// colours are compared by what they name, tabs by position and kind.
std::vector<std::string> Differences(const TWPRTFText& a, const TWPRTFText& b) {
  std::vector<std::string> diffs;
  auto note = [&](int index, const std::string& what) {
    diffs.push_back("paragraph " + std::to_string(index) + ": " + what);
  };
  for (int i = 0; i < 15; ++i)
    if (a.Header.Colors[i] != b.Header.Colors[i]) diffs.push_back("colour " + std::to_string(i));
  const TParagraph* p = a.FirstParagraph;
  const TParagraph* q = b.FirstParagraph;
  for (int index = 0; p || q; ++index, p = p->Next, q = q->Next) {
    if (!p || !q) {
      diffs.push_back("paragraph count differs at " + std::to_string(index));
      break;
    }
    if (p->Text() != q->Text()) note(index, "text '" + p->Text() + "' vs '" + q->Text() + "'");
    const auto fields = [](const TParagraph* x) {
      return std::make_tuple(x->Alignment, x->FirstIndent, x->LeftIndent, x->RightIndent, x->SpaceBefore,
                             x->LineSpacing, x->ShadingColors, x->Shading, x->ParFlags & ~kParMoreCells,
                             x->CellStart, x->CellWidth);
    };
    // Border bytes mean something only with a border; a cell keeps its gap there.
    const auto border = [](const TParagraph* x) {
      if (!(x->BorderFlags & kBorderOn))
        return std::make_tuple(0, 0, 0, x->IsTableCell() ? x->BorderSpaceColor >> 4 : 0);
      return std::make_tuple(x->BorderFlags & ~kBorderNotInherited, int(x->BorderStyle), int(x->BorderWidth),
                             int(x->BorderSpaceColor));
    };
    if (fields(p) != fields(q) || border(p) != border(q)) {
      std::ostringstream out;
      out << "paragraph attributes: align " << int(p->Alignment) << "/" << int(q->Alignment) << " indents "
          << p->FirstIndent << "," << p->LeftIndent << "," << p->RightIndent << "/" << q->FirstIndent << ","
          << q->LeftIndent << "," << q->RightIndent << " spacing " << p->SpaceBefore << "," << p->LineSpacing
          << "/" << q->SpaceBefore << "," << q->LineSpacing << " shading " << int(p->ShadingColors) << ","
          << int(p->Shading) << "/" << int(q->ShadingColors) << "," << int(q->Shading) << " flags "
          << int(p->ParFlags) << "/" << int(q->ParFlags) << " border " << int(p->BorderFlags) << ","
          << int(p->BorderStyle) << "," << int(p->BorderWidth) << "," << int(p->BorderSpaceColor) << "/"
          << int(q->BorderFlags) << "," << int(q->BorderStyle) << "," << int(q->BorderWidth) << ","
          << int(q->BorderSpaceColor) << " cell " << int(p->CellWidth) << "/" << int(q->CellWidth);
      note(index, out.str());
    }
    if (!p->IsTableCell() && p->SpaceAfter != q->SpaceAfter) note(index, "space after");
    if (TabStops(a, *p) != TabStops(b, *q)) note(index, "tab stops");
    const std::string text = p->Text();
    int offset = 0;
    const TLine* lq = q->FirstLine;
    int iq = 0;
    for (const TLine* lp = p->FirstLine; lp; lp = lp->Next) {
      for (int i = 0; i < lp->Length; ++i, ++offset, ++iq) {
        while (lq && iq >= lq->Length) {
          lq = lq->Next;
          iq = 0;
        }
        if (!lq) break;
        const TAttr& x = lp->Attrs[i];
        const TAttr& y = lq->Attrs[iq];
        const bool sameFont = a.Header.FontNames[x.FontIndex] == b.Header.FontNames[y.FontIndex];
        if (!sameFont || x.Size != y.Size || x.Colors != y.Colors || x.Style != y.Style ||
            x.Special != y.Special || ((x.Special & kSpecialInsertPoint) && x.Tag != y.Tag))
          note(index, "character " + std::to_string(offset) + " " + Describe(x) + " vs " + Describe(y));
      }
    }
  }
  return diffs;
}

std::string Join(const std::vector<std::string>& lines) {
  std::string all;
  for (const std::string& line : lines) all += line + "\n";
  return all;
}

// A document using every formatting feature the writer and reader share.
void BuildRichDocument(TWPRTFTextIo& doc) {
  Reset(doc);
  doc.Header.FontNames[1] = "Times New Roman";
  doc.Header.FontNames[2] = "Courier New";
  doc.Header.Colors[5] = 0x123456;
  doc.Header.Colors[14] = 0xABCDEF;
  const TTabSet left = doc.Header.InsertTab(1440, tkLeft);
  const TTabSet right = doc.Header.InsertTab(2880, tkRight);
  const TTabSet centre = doc.Header.InsertTab(4320, tkCenter);
  const TTabSet decimal = doc.Header.InsertTab(5760, tkDecimal);

  TParagraph* p = doc.FirstParagraph;
  Append(doc, p, "Plain ", Attr(0, 10));
  Append(doc, p, "bold ", Attr(1, 12, kStyleBold));
  Append(doc, p, "italic ", Attr(1, 11, kStyleItalic, 0x01));
  Append(doc, p, "under ", Attr(2, 8, kStyleUnderline, 0x5e));
  Append(doc, p, "strike ", Attr(0, 24, kStyleStrikeOut));
  Append(doc, p, "link ", Attr(0, 10, kStyleHyperlink | kStyleBold | kStyleItalic));
  Append(doc, p, "up", Attr(0, 10, kStyleSuperscript));
  Append(doc, p, "down", Attr(0, 10, kStyleSubscript));
  Append(doc, p, " {braces} \\ and \xe9\t tab", Attr(2, 14, 0, 0x3c));

  p = AddParagraph(doc, p);
  p->Alignment = 2;
  p->LeftIndent = 720;
  p->FirstIndent = 1440;
  p->RightIndent = 300;
  p->SpaceBefore = 120;
  p->SpaceAfter = 240;
  p->LineSpacing = 276;
  p->TabSet = left | right | centre | decimal;
  Append(doc, p, "a\tb\tc\td", Attr());
  Append(doc, p, "hidden", Attr(0, 10, 0, 0, kSpecialHidden));

  p = AddParagraph(doc, p);
  p->Alignment = 3;
  p->TabSet = right;
  p->ParFlags = kParKeepTogether | kParPageBreakBefore;
  Append(doc, p, "protected", Attr(0, 10, 0, 0, kSpecialProtected));
  TAttr insertPoint = Attr(0, 10, 0, 0, kSpecialInsertPoint);
  insertPoint.Tag = 5;
  Append(doc, p, "I", insertPoint);
  Append(doc, p, "auto", Attr(0, 10, 0, 0, kSpecialAutomatic));
  Append(doc, p, "{\\b raw}", Attr(0, 10, 0, 0, kSpecialRtfCode));

  p = AddParagraph(doc, p);
  p->Alignment = 1;
  p->LeftIndent = p->FirstIndent = 0;
  p->RightIndent = 0;
  p->SpaceBefore = p->SpaceAfter = p->LineSpacing = 0;
  p->TabSet = 0;
  p->ParFlags = 0;
  p->BorderFlags = kBorderOn | kBorderBox;
  p->BorderWidth = 2;
  p->BorderSpaceColor = 0x13;
  p->BorderStyle = kBorderDotted;
  Append(doc, p, "boxed", Attr());
  p = AddParagraph(doc, p);
  Append(doc, p, "still boxed", Attr());

  p = AddParagraph(doc, p);
  p->BorderFlags = kBorderOn | kBorderTop | kBorderBottom | kBorderDouble;
  p->BorderSpaceColor = 0x12;
  p->BorderStyle = 0;
  Append(doc, p, "ruled", Attr());

  p = AddParagraph(doc, p);
  p->BorderFlags = 0;
  p->Shading = 30;
  p->ShadingColors = 0x21;
  Append(doc, p, "shaded", Attr());

  p = AddParagraph(doc, p);
  p->Shading = 0;
  p->ShadingColors = 0;
  p->Alignment = 0;
  for (int row = 0; row < 2; ++row) {
    p->ParFlags = kParTableCell | kParMoreCells;
    p->CellWidth = 100;
    p->BorderFlags = 0;
    Append(doc, p, "cell " + std::to_string(row) + "a", Attr());
    p = AddParagraph(doc, p);
    p->ParFlags = kParTableCell | kParNotFirstCell;
    p->CellStart = 100;
    p->CellWidth = 155;
    Append(doc, p, "cell " + std::to_string(row) + "b", Attr(1, 12));
    p = AddParagraph(doc, p);
  }
  p->ParFlags = 0;
  p->CellWidth = 0;
  Append(doc, p, "after the table", Attr());
}

void ReadBack(const std::string& rtf, TWPRTFTextIo& doc) {
  TMemoryStream stream(rtf);
  doc.LoadFromStream(stream);
  ASSERT_EQ(doc.ResultCode, 0) << doc.LastError;
  ASSERT_EQ(CheckDocument(doc), "");
}

}  // namespace

TEST(RoundTrip, RichDocumentSurvivesWritingAndReading) {
  TWPRTFTextIo original;
  BuildRichDocument(original);
  ASSERT_EQ(CheckDocument(original), "");
  const std::string rtf = WriteRtf(original);
  TWPRTFTextIo copy;
  ReadBack(rtf, copy);
  EXPECT_EQ(Join(Differences(original, copy)), "") << rtf;
  // Writing the copy gives the same bytes again.
  EXPECT_EQ(WriteRtf(copy), rtf);
}

TEST(RoundTrip, DataPropertyRoundTrip) {
  TWPRTFTextIo original;
  BuildRichDocument(original);
  TMemoryStream data;
  original.WriteData(data);
  data.SetPosition(0);
  TWPRTFTextIo copy;
  copy.ReadData(data);
  EXPECT_EQ(CheckDocument(copy), "");
  EXPECT_EQ(Join(Differences(original, copy)), "");
}

TEST(RoundTrip, FootnotesAndPictures) {
  const std::string rtf =
      "{\\rtf1{\\fonttbl{\\f0 Arial;}}see{\\cs16\\super *{\\*\\footnote \\wpfnnr1 \\pard\\plain "
      "{\\cs16\\super\t*} "
      "the note}} and {\\pict\\wmetafile8\\picw100\\pich50\\picwgoal1440\\pichgoal720\r\n0102ab}.}";
  TWPRTFTextIo doc;
  ReadBack(rtf, doc);
  ASSERT_EQ(doc.Footnotes().size(), 1u);
  ASSERT_EQ(doc.Objects().size(), 1u);
  const std::string written = WriteRtf(doc);
  EXPECT_NE(written.find("{\\cs16\\super *{\\*\\footnote \\wpfnnr1 "), std::string::npos) << written;
  EXPECT_NE(written.find("the note}}"), std::string::npos) << written;
  EXPECT_NE(written.find("{\\pict\\wmetafile8\\picw100\\pich50\\picwgoal1440\\pichgoal720\r\n0102ab}"),
            std::string::npos)
      << written;
  TWPRTFTextIo again;
  ReadBack(written, again);
  EXPECT_EQ(Join(Differences(doc, again)), "");
  EXPECT_EQ(WriteRtf(again), written);
}

TEST(RoundTrip, AssignCopyAndBack) {
  TWPRTFTextIo original;
  BuildRichDocument(original);
  original.Header.Title = "title";
  TFootnote* note = original.AddFootnote('*', 3, "a note");
  TAttr ref = Attr(0, 10, 0, 0, kSpecialFootnote);
  ref.Tag = note->Id;
  Append(original, original.FirstParagraph, "*", ref);
  TTextObject* object = original.AddObject(nullptr, 2500);
  object->Width = 100;
  object->Height = 50;
  TAttr objectAttr = Attr(0, 10, 0, 0, kSpecialObject);
  objectAttr.Tag = 2500;
  Append(original, original.FirstParagraph, "\x01", objectAttr);

  TWPRTFTextIo copy;
  copy.SetParagraphText(0, "to be replaced", nullptr, 14);
  copy.Assign(original);
  EXPECT_EQ(CheckDocument(copy), "");
  EXPECT_FALSE(WPEngine().Busy);
  TWPRTFTextIo back;
  back.Assign(copy);
  EXPECT_EQ(Join(Differences(original, back)), "");
  EXPECT_EQ(back.Header.Title, "title");
  ASSERT_EQ(back.Footnotes().size(), 1u);
  EXPECT_EQ(back.Footnotes()[0]->Text, "a note");
  ASSERT_EQ(back.Objects().size(), 1u);
  EXPECT_EQ(back.Objects()[0]->Width, 100);
  // Object tags point at the copy's own records.
  const TLine* line = back.LastLine(back.FirstParagraph);
  const TAttr& last = line->Attrs[line->Length - 1];
  EXPECT_EQ(last.Tag, back.Objects()[0]->Id);
  EXPECT_GE(last.Tag, 2000);
  // The copy is independent of its source.
  original.Clear();
  EXPECT_EQ(back.FirstParagraph->Text().substr(0, 6), "Plain ");
}

TEST(RoundTrip, PlainModeDocumentsAreAssignedInPlainMode) {
  TWPRTFTextIo original;
  original.SetPlainMode();
  original.SetParagraphText(0, "plain", nullptr, 5);
  TWPRTFTextIo copy;
  copy.Assign(original);
  EXPECT_TRUE(copy.PlainMode);
  EXPECT_EQ(CheckDocument(copy), "");
  EXPECT_EQ(copy.FirstParagraph->Text(), "plain");
}

TEST(RoundTrip, RichDocumentIsWrittenAsTheStoredSample) {
  TWPRTFTextIo doc;
  BuildRichDocument(doc);
  EXPECT_EQ(WriteRtf(doc), testsupport::ReadAll(testsupport::DataFile("rtf/writer-rich.rtf")).toStdString());
}

// RTF of other word processors: what the engine reads, it writes and reads
// back unchanged.
TEST(RoundTrip, WordProcessorFilesSurviveRewriting) {
  const QStringList names = QDir(testsupport::DataFile("rtf")).entryList({"*.rtf"}, QDir::Files);
  ASSERT_GE(names.size(), 5);
  for (const QString& name : names) {
    SCOPED_TRACE(name.toStdString());
    TWPRTFTextIo doc;
    ReadBack(testsupport::ReadAll(testsupport::DataFile("rtf/" + name)).toStdString(), doc);
    const std::string rtf = WriteRtf(doc);
    TWPRTFTextIo again;
    ReadBack(rtf, again);
    EXPECT_EQ(Join(Differences(doc, again)), "");
    EXPECT_EQ(WriteRtf(again), rtf);
  }
}

TEST(RoundTrip, RtfconvConvertsToRtfAndText) {
  const QString tool = QStringLiteral(TABWRIGHT_BINARY_DIR "/tools/rtfconv");
  if (!QFile::exists(tool)) GTEST_SKIP() << "rtfconv is not built";
  QTemporaryDir dir;
  const QString input = testsupport::DataFile("rtf/writer-rich.rtf");
  auto run = [&](const QStringList& arguments) {
    QProcess process;
    process.start(tool, arguments);
    process.waitForFinished();
    return std::make_pair(process.exitCode(), QString::fromLocal8Bit(process.readAllStandardError()));
  };
  EXPECT_EQ(run({input, dir.filePath("out.rtf")}).first, 0);
  EXPECT_EQ(testsupport::ReadAll(dir.filePath("out.rtf")), testsupport::ReadAll(input));

  EXPECT_EQ(run({"--to", "text", input, dir.filePath("out.txt")}).first, 0);
  TWPRTFTextIo doc;
  BuildRichDocument(doc);
  TMemoryStream plain;
  TWPTextWriter writer(doc);
  writer.WriteAll(plain);
  std::string expected = plain.Data();
  expected.pop_back();  // rtfconv leaves out the closing 0 byte
  EXPECT_EQ(testsupport::ReadAll(dir.filePath("out.txt")).toStdString(), expected);

  testsupport::WriteAll(dir.filePath("bad.rtf"), "{\\rtf1 \\fs99999999999 x}");
  const auto [code, message] = run({dir.filePath("bad.rtf"), dir.filePath("x.rtf")});
  EXPECT_NE(code, 0);
  EXPECT_TRUE(message.startsWith("rtfconv: ")) << message.toStdString();
  EXPECT_NE(run({dir.filePath("missing.rtf"), dir.filePath("x.rtf")}).second.indexOf("Cannot open file"), -1);
  EXPECT_EQ(run({"--to", "pdf", input, dir.filePath("x")}).first, 2);
}
