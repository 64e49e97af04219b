#include <gtest/gtest.h>

#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "richtext/DocumentCheck.h"
#include "richtext/RtfText.h"

namespace {
TAttr MakeAttr(std::uint8_t font, std::uint8_t style = 0, std::uint8_t special = 0, std::uint16_t tag = 0) {
  TAttr a{};
  a.FontIndex = font;
  a.Style = style;
  a.Special = special;
  a.Size = 10;
  a.Tag = tag;
  return a;
}

std::vector<std::string> Texts(const TWPRTFText& doc) {
  std::vector<std::string> texts;
  for (const TParagraph* p = doc.FirstParagraph; p != nullptr; p = p->Next) texts.push_back(p->Text());
  return texts;
}

// Appends a line holding text with attr to the paragraph.
TLine* AddLine(TWPRTFText& doc, TParagraph* par, const std::string& text, const TAttr& attr) {
  TLine* line = doc.AppendLine(par, static_cast<int>(text.size()) + 4);
  doc.ReplaceChars(par, line, &attr, static_cast<int>(text.size()), text.data(), 0, 0);
  return line;
}

// The attribute of the character at a paragraph offset.
TAttr AttrAt(const TParagraph* par, int offset) {
  for (const TLine* l = par->FirstLine; l != nullptr; l = l->Next) {
    if (offset < l->Length) return l->Attrs[offset];
    offset -= l->Length;
  }
  ADD_FAILURE() << "offset beyond paragraph";
  return TAttr{};
}

bool SameFormatting(const TAttr& a, const TAttr& b) { return a.SameRun(b) && a.Tag == b.Tag; }

template <typename F>
std::string ErrorOf(F&& f) {
  try {
    f();
  } catch (const EModelError& e) {
    return e.what();
  }
  return "(no error)";
}
}  // namespace

TEST(RtfText, NewDocument) {
  TWPRTFText doc;
  EXPECT_EQ(CheckDocument(doc), "");
  ASSERT_NE(doc.FirstParagraph, nullptr);
  EXPECT_EQ(doc.FirstParagraph->Next, nullptr);
  EXPECT_EQ(doc.FirstParagraph->FirstLine->Capacity, 40);
  EXPECT_NE(doc.FirstParagraph->FirstLine->Attrs, nullptr);
  EXPECT_TRUE(doc.Header.RtfMode);
  EXPECT_FALSE(doc.IsPlainMode());
  EXPECT_TRUE(doc.Header.InchUnits);
  EXPECT_EQ(doc.CurrentAttr.Size, 10);
  EXPECT_EQ(doc.CurrentAttr.FontIndex, 0);
  EXPECT_TRUE(doc.Header.FontSlotEmpty(0));
  EXPECT_TRUE(doc.Inserting);
  EXPECT_EQ(doc.PlainWidths[256], 16);
  EXPECT_EQ(doc.ParagraphCount(), 0);
  EXPECT_TRUE(doc.IsEmpty());
}

TEST(RtfText, StringListView) {
  TWPRTFText doc;
  doc.SetParagraphText(0, "", nullptr, 0);
  EXPECT_EQ(doc.ParagraphCount(), 0);
  doc.SetParagraphText(0, "second", nullptr, 6);
  EXPECT_EQ(doc.ParagraphCount(), 1);
  EXPECT_TRUE(SameFormatting(AttrAt(doc.FirstParagraph, 0), doc.CurrentAttr));
  doc.InsertParagraphText(0, "first", nullptr, 5);
  doc.InsertParagraphText(9, "last", nullptr, 4);
  doc.InsertParagraphText(2, "third", nullptr, 5);
  EXPECT_EQ(Texts(doc), (std::vector<std::string>{"first", "second", "third", "last"}));
  EXPECT_EQ(doc.ParagraphLength(1), 6);
  EXPECT_EQ(doc.ParagraphText(3), "last");
  char buffer[4];
  EXPECT_EQ(doc.ParagraphText(1, buffer, sizeof buffer), 3);
  EXPECT_STREQ(buffer, "sec");
  EXPECT_EQ(doc.CountParagraphsUpTo(doc.ParagraphAt(2)), 3);
  doc.DeleteParagraph(0);
  doc.DeleteParagraph(1);
  EXPECT_EQ(Texts(doc), (std::vector<std::string>{"second", "last"}));
  doc.DeleteParagraph(1);
  doc.DeleteParagraph(0);
  EXPECT_EQ(doc.ParagraphCount(), 0);
  EXPECT_EQ(CheckDocument(doc), "");
  // Insert into a document that is one empty paragraph fills that paragraph.
  doc.InsertParagraphText(3, "only", nullptr, 4);
  EXPECT_EQ(Texts(doc), (std::vector<std::string>{"only"}));
  EXPECT_EQ(CheckDocument(doc), "");
}

TEST(RtfText, LongParagraphTextIsSpreadOverLines) {
  TWPRTFText doc;
  const std::string text(25000, 'q');
  doc.SetParagraphText(0, text.c_str(), nullptr, static_cast<int>(text.size()));
  EXPECT_EQ(CheckDocument(doc), "");
  EXPECT_EQ(doc.ParagraphText(0), text);
  doc.InsertText(doc.FirstParagraph, 3, nullptr, text.c_str());
  EXPECT_EQ(CheckDocument(doc), "");
  EXPECT_EQ(doc.ParagraphLength(0), 50000);
}

TEST(RtfText, EditSequence) {
  TWPRTFText doc;
  const TAttr a = MakeAttr(1);
  const TAttr b = MakeAttr(2, kStyleBold);
  const TAttr c = MakeAttr(3, kStyleItalic);
  doc.SetParagraphText(0, "Hello world", &a, 11);
  TParagraph* par = doc.FirstParagraph;
  par->LeftIndent = 720;
  par->ParState = 0;

  doc.InsertText(par, 5, &b, ",");
  EXPECT_EQ(CheckDocument(doc), "");
  EXPECT_EQ(par->Text(), "Hello, world");
  EXPECT_EQ(par->ParState, kParNeedsBoth);
  EXPECT_TRUE(SameFormatting(AttrAt(par, 5), b));
  EXPECT_TRUE(SameFormatting(AttrAt(par, 6), a));

  // Split at index 0: an empty paragraph with the same attributes in front.
  ASSERT_TRUE(doc.SplitParagraph(par, par->FirstLine, 0));
  EXPECT_EQ(CheckDocument(doc), "");
  EXPECT_EQ(Texts(doc), (std::vector<std::string>{"", "Hello, world"}));
  EXPECT_EQ(doc.FirstParagraph->Next->LeftIndent, 720);
  par = doc.FirstParagraph;
  par->LeftIndent = 0;

  // Delete at the start of the empty paragraph joins; the indents come along.
  EXPECT_TRUE(doc.DeleteCharAt(par, par->FirstLine, 0));
  EXPECT_EQ(CheckDocument(doc), "");
  EXPECT_EQ(Texts(doc), (std::vector<std::string>{"Hello, world"}));
  EXPECT_EQ(par->LeftIndent, 720);

  // Delete across lines.
  doc.DeleteChars(par, 3, 5);
  EXPECT_EQ(CheckDocument(doc), "");
  EXPECT_EQ(par->Text(), "Helorld");
  EXPECT_TRUE(SameFormatting(doc.CarryAttr, a));
  EXPECT_TRUE(SameFormatting(AttrAt(par, 3), a));

  // A two-paragraph chain in the middle of "Hel|orld".
  TParagraph* chain = doc.NewParagraph(nullptr, 10);
  AddLine(doc, chain, "AB", c);
  TParagraph* chain2 = doc.NewParagraph(chain, 10);
  doc.ReplaceChars(chain2, chain2->FirstLine, &c, 2, "CD", 0, 0);
  // The joined paragraph still starts with the empty line of the first one.
  TLine* line = par->FirstLine;
  ASSERT_EQ(line->String(), "");
  line = line->Next;
  ASSERT_EQ(line->String(), "Hel");
  int index = 3;
  TParagraph* at = par;
  ASSERT_EQ(doc.InsertChain(at, line, index, chain), 1);
  EXPECT_EQ(CheckDocument(doc), "");
  EXPECT_EQ(Texts(doc), (std::vector<std::string>{"HelAB", "CDorld"}));
  EXPECT_EQ(at, doc.FirstParagraph->Next);
  EXPECT_EQ(index, 0);
  EXPECT_TRUE(SameFormatting(AttrAt(doc.FirstParagraph, 3), c));
  EXPECT_TRUE(SameFormatting(AttrAt(at, 2), a));

  // A chain at index 0 of a first line exchanges paragraph attributes.
  par = doc.FirstParagraph;
  par->Alignment = 0;
  TParagraph* chain3 = doc.NewParagraph(nullptr, 10);
  doc.ReplaceChars(chain3, chain3->FirstLine, &b, 1, "X", 0, 0);
  chain3->LeftIndent = 1440;
  chain3->Alignment = 2;
  TParagraph* chain4 = doc.NewParagraph(chain3, 10);
  doc.ReplaceChars(chain4, chain4->FirstLine, &b, 1, "Y", 0, 0);
  chain4->LeftIndent = 99;
  chain4->Alignment = 1;
  par->TabSet = 0x10;
  par->SpaceBefore = 120;
  par->Shading = 25;
  at = par;
  line = par->FirstLine;
  index = 0;
  ASSERT_EQ(doc.InsertChain(at, line, index, chain3), 1);
  EXPECT_EQ(CheckDocument(doc), "");
  EXPECT_EQ(Texts(doc), (std::vector<std::string>{"X", "YHelAB", "CDorld"}));
  EXPECT_EQ(doc.FirstParagraph->LeftIndent, 1440);
  EXPECT_EQ(doc.FirstParagraph->Alignment, 2);
  // The last paragraph gets the former tabs, indents, numbering, shading and
  // spacing, and keeps the rest of its own.
  const TParagraph* last = doc.FirstParagraph->Next;
  EXPECT_EQ(last->LeftIndent, 720);
  EXPECT_EQ(last->TabSet, 0x10u);
  EXPECT_EQ(last->SpaceBefore, 120);
  EXPECT_EQ(last->Shading, 25);
  EXPECT_EQ(last->Alignment, 1);
  EXPECT_EQ(doc.FirstParagraph->TabSet, 0u);
  EXPECT_TRUE(SameFormatting(AttrAt(doc.FirstParagraph->Next, 1), a));
  EXPECT_EQ(doc.CountParagraphsUpTo(at), 2);
}

TEST(RtfText, InsertChainRefusalsAndSingleParagraph) {
  TWPRTFText doc;
  doc.SetParagraphText(0, "abcd", nullptr, 4);
  TParagraph* par = doc.FirstParagraph;
  TLine* line = par->FirstLine;
  int index = 2;
  EXPECT_EQ(doc.InsertChain(par, line, index, nullptr), 0);
  par->ParFlags = kParTableCell;
  EXPECT_EQ(doc.InsertChain(par, line, index, doc.NewParagraph(nullptr, 8)), 0);  // freed, no leak
  par->ParFlags = 0;
  TParagraph* chain = doc.NewParagraph(nullptr, 8);
  doc.ReplaceChars(chain, chain->FirstLine, nullptr, 2, "XY", 0, 0);
  EXPECT_EQ(doc.InsertChain(par, line, index, chain), 1);
  EXPECT_EQ(Texts(doc), (std::vector<std::string>{"abXYcd"}));
  EXPECT_EQ(par, doc.FirstParagraph);
  EXPECT_EQ(line->String(), "cd");
  EXPECT_EQ(CheckDocument(doc), "");
}

TEST(RtfText, ReplaceChars) {
  TWPRTFText doc;
  const TAttr a = MakeAttr(1);
  const TAttr b = MakeAttr(2);
  TParagraph* par = doc.FirstParagraph;
  TLine* line = par->FirstLine;
  EXPECT_EQ(doc.ReplaceChars(par, line, &a, 6, "abcdef", 0, 0), 6);
  EXPECT_EQ(doc.ReplaceChars(par, line, &b, 2, "XY", 2, 1), 0);  // overwrite
  EXPECT_EQ(line->String(), "aXYdef");
  EXPECT_TRUE(SameFormatting(line->Attrs[1], b));
  EXPECT_EQ(doc.ReplaceChars(par, line, nullptr, 3, "123", 1, 0), 2);  // records from index
  EXPECT_EQ(line->String(), "123XYdef");
  EXPECT_TRUE(SameFormatting(line->Attrs[2], a));
  EXPECT_EQ(doc.ReplaceChars(par, line, nullptr, 1, "-", 3, 2), -2);
  EXPECT_EQ(line->String(), "12-def");
  EXPECT_EQ(doc.ReplaceChars(par, line, nullptr, 0, nullptr, 99, 4), 0);  // cut at the end
  EXPECT_EQ(line->String(), "12-d");
  EXPECT_EQ(doc.ReplaceChars(par, line, nullptr, 0, nullptr, 0, 0), 0);
  EXPECT_EQ(CheckDocument(doc), "");
}

TEST(RtfText, InsertCharInsertsOverwritesAndAppends) {
  TWPRTFText doc;
  TParagraph* par = doc.FirstParagraph;
  TLine* line = par->FirstLine;
  doc.CurrentAttr.FontIndex = 4;
  for (int i = 0; i < 50; ++i) ASSERT_TRUE(doc.InsertChar(par, line, 'a', i));  // grows past 40
  EXPECT_EQ(line->Length, 50);
  EXPECT_GE(line->Capacity, 54);
  EXPECT_EQ(line->Attrs[49].FontIndex, 4);
  EXPECT_EQ(line->Attrs[49].Width, 16);
  EXPECT_EQ(line->LineFlags & kLineChanged, kLineChanged);
  ASSERT_TRUE(doc.InsertChar(par, line, 'b', 0));
  EXPECT_EQ(line->Length, 51);
  EXPECT_EQ(line->Text[0], 'b');
  doc.Inserting = false;
  ASSERT_TRUE(doc.InsertChar(par, line, 'c', 1));
  EXPECT_EQ(line->Length, 51);
  EXPECT_EQ(line->Text[1], 'c');
  ASSERT_TRUE(doc.InsertChar(par, line, 'z', 51));  // overwrite at the end appends
  EXPECT_EQ(line->Length, 52);
  EXPECT_EQ(line->Text[51], 'z');
  EXPECT_EQ(CheckDocument(doc), "");
}

TEST(RtfText, FullTableCellBeepsThroughTheHook) {
  TWPRTFText doc;
  int beeps = 0;
  doc.OnBeep = [&] { ++beeps; };
  TParagraph* par = doc.FirstParagraph;
  par->ParFlags = kParTableCell;
  par->CellFill = 239;
  EXPECT_TRUE(doc.InsertChar(par, par->FirstLine, 'a', 0));
  par->CellFill = 240;
  EXPECT_FALSE(doc.InsertChar(par, par->FirstLine, 'b', 1));
  EXPECT_EQ(beeps, 1);
  EXPECT_EQ(par->FirstLine->String(), "a");
  // Without a hook of its own the document beeps through the engine's.
  TWPEngineScope keep;
  int engineBeeps = 0;
  WPEngine().Beep = [&] { ++engineBeeps; };
  doc.OnBeep = nullptr;
  EXPECT_FALSE(doc.InsertChar(par, par->FirstLine, 'c', 1));
  EXPECT_EQ(engineBeeps, 1);
}

TEST(RtfText, InsertTextStartsALineOfItsOwn) {
  TWPRTFText doc;
  const TAttr a = MakeAttr(1);
  doc.SetParagraphText(0, "abcd", &a, 4);
  TParagraph* par = doc.FirstParagraph;
  doc.CarryAttr = MakeAttr(7);
  doc.InsertText(par, 0, nullptr, "<");
  doc.InsertText(par, 3, nullptr, "|");
  doc.InsertText(par, 99, nullptr, ">");
  EXPECT_EQ(par->Text(), "<ab|cd>");
  int lines = 0;
  for (TLine* l = par->FirstLine; l != nullptr; l = l->Next) ++lines;
  EXPECT_EQ(lines, 5);
  EXPECT_EQ(AttrAt(par, 0).FontIndex, 7);
  EXPECT_EQ(AttrAt(par, 3).FontIndex, 7);
  EXPECT_EQ(AttrAt(par, 4).FontIndex, 1);
  EXPECT_EQ(CheckDocument(doc), "");
}

TEST(RtfText, DeleteCharsCoveringWholeLinesEmptiesThem) {
  TWPRTFText doc;
  TParagraph* par = doc.FirstParagraph;
  const TAttr a = MakeAttr(1), b = MakeAttr(2);
  doc.ReplaceChars(par, par->FirstLine, &a, 3, "abc", 0, 0);
  AddLine(doc, par, "def", b);
  AddLine(doc, par, "ghi", a);
  doc.DeleteChars(par, 3, 4);  // at the end of line 1: starts at line 2
  EXPECT_EQ(par->Text(), "abchi");
  EXPECT_TRUE(SameFormatting(doc.CarryAttr, b));
  EXPECT_EQ(par->FirstLine->Next->Length, 0);  // stays in the chain
  EXPECT_EQ(CheckDocument(doc), "");
}

TEST(RtfText, DeleteCharsAfterAnEmptyFirstLineCarriesTheNextLinesRecord) {
  TWPRTFText doc;
  TParagraph* par = doc.FirstParagraph;
  const TAttr b = MakeAttr(2);
  AddLine(doc, par, "def", b);  // behind the empty first line
  doc.CarryAttr = MakeAttr(5);
  doc.DeleteChars(par, 0, 1);
  EXPECT_EQ(par->Text(), "ef");
  EXPECT_TRUE(SameFormatting(doc.CarryAttr, b));
  EXPECT_EQ(CheckDocument(doc), "");
}

TEST(RtfText, DeleteCharAtLineAndParagraphEnds) {
  TWPRTFText doc;
  const TAttr a = MakeAttr(0);
  TAttr prot = MakeAttr(0, 0, kSpecialProtected);
  TParagraph* par = doc.FirstParagraph;
  doc.ReplaceChars(par, par->FirstLine, &a, 2, "ab", 0, 0);
  TLine* second = AddLine(doc, par, "X", prot);
  doc.ReplaceChars(par, second, &a, 2, "cd", 0, 1);
  // At the end of the last paragraph nothing happens.
  EXPECT_TRUE(doc.DeleteCharAt(par, second, 3));
  EXPECT_EQ(par->Text(), "abXcd");
  // The next line starts with a protected character: merge only.
  doc.ProtectedProp = {ppProtected};
  EXPECT_TRUE(doc.DeleteCharAt(par, par->FirstLine, 2));
  EXPECT_EQ(par->Text(), "abXcd");
  EXPECT_EQ(par->FirstLine->Next, nullptr);
  EXPECT_EQ(CheckDocument(doc), "");
  // The protected character itself cannot be deleted.
  EXPECT_TRUE(doc.DeleteCharAt(par, par->FirstLine, 2));
  EXPECT_EQ(par->Text(), "abXcd");
  // Without protection the first character of the next line goes.
  doc.ProtectedProp = {};
  AddLine(doc, par, "efg", a);
  EXPECT_TRUE(doc.DeleteCharAt(par, par->FirstLine, 5));
  EXPECT_EQ(par->Text(), "abXcdfg");
  EXPECT_EQ(CheckDocument(doc), "");
}

TEST(RtfText, DeleteAtLineEndKeepsAnInsertPointStartingTheNextLine) {
  TWPRTFText doc;
  const TAttr a = MakeAttr(0);
  const TAttr point = MakeAttr(0, 0, kSpecialInsertPoint, 7);
  TParagraph* par = doc.FirstParagraph;
  doc.ReplaceChars(par, par->FirstLine, &a, 2, "ab", 0, 0);
  TLine* second = AddLine(doc, par, "P", point);
  doc.ReplaceChars(par, second, &a, 2, "cd", 0, 1);
  doc.ProtectedProp = {ppIsInsertpoint};
  ASSERT_TRUE(doc.Inserting);  // typing may go into an insert point, deleting may not remove it
  EXPECT_TRUE(doc.DeleteCharAt(par, par->FirstLine, 2));
  EXPECT_EQ(par->Text(), "abPcd");
  EXPECT_EQ(par->FirstLine->Next, nullptr);
  EXPECT_TRUE(doc.Inserting);
  EXPECT_EQ(CheckDocument(doc), "");
}

TEST(RtfText, JoiningTableCells) {
  TWPRTFText doc;
  doc.SetParagraphText(0, "text", nullptr, 4);
  doc.InsertParagraphText(1, "cell", nullptr, 4);
  TParagraph* par = doc.FirstParagraph;
  TParagraph* cell = par->Next;
  cell->ParFlags = kParTableCell | kParMoreCells;
  cell->TabSet = 6;
  cell->Alignment = 2;
  cell->LeftIndent = 300;
  // Deleting at the end of a cell changes nothing.
  doc.InsertParagraphText(2, "after", nullptr, 5);
  EXPECT_TRUE(doc.DeleteCharAt(cell, cell->FirstLine, 4));
  EXPECT_EQ(doc.ParagraphCount(), 3);
  // Joining a paragraph with a following cell takes the cell's attributes but not its indents.
  EXPECT_TRUE(doc.DeleteCharAt(par, par->FirstLine, 4));
  EXPECT_EQ(Texts(doc), (std::vector<std::string>{"textcell", "after"}));
  EXPECT_TRUE(par->IsTableCell());
  EXPECT_EQ(par->TabSet, 6u);
  EXPECT_EQ(par->Alignment, 2);
  EXPECT_EQ(par->LeftIndent, 0);
  EXPECT_EQ(CheckDocument(doc), "");
}

TEST(RtfText, SplitParagraphMovesTailAndLaterLines) {
  TWPRTFText doc;
  TParagraph* par = doc.FirstParagraph;
  TAttr marked = MakeAttr(1);
  marked.Marker = kMarkerSplit | kMarkerMisspelled;
  doc.ReplaceChars(par, par->FirstLine, &marked, 4, "abcd", 0, 0);
  AddLine(doc, par, "efg", marked);
  par->BorderFlags = kBorderOn | kBorderNotInherited;
  par->TabSet = 1;
  ASSERT_TRUE(doc.SplitParagraph(par, par->FirstLine, 2));
  EXPECT_EQ(Texts(doc), (std::vector<std::string>{"ab", "cdefg"}));
  EXPECT_EQ(par->FirstLine->Attrs[1].Marker, kMarkerMisspelled);
  EXPECT_EQ(par->Next->FirstLine->Attrs[0].Marker, kMarkerMisspelled);
  EXPECT_EQ(par->Next->FirstLine->Attrs[1].Marker, kMarkerSplit | kMarkerMisspelled);
  EXPECT_EQ(par->Next->BorderFlags, 0);  // a not-inherited border stays behind
  EXPECT_EQ(par->Next->TabSet, 1u);
  EXPECT_EQ(par->Next->ParState & kParNeedsWrap, kParNeedsWrap);
  EXPECT_EQ(CheckDocument(doc), "");
}

TEST(RtfText, NewParagraphCopiesAttributes) {
  TWPRTFText doc;
  TParagraph* p = doc.FirstParagraph;
  p->FirstIndent = 1;
  p->LeftIndent = 2;
  p->RightIndent = 3;
  p->SpaceBefore = 4;
  p->SpaceAfter = 5;
  p->LineSpacing = 6;
  p->Alignment = 3;
  p->ParFlags = kParTableCell;
  p->Numbering = 0x61;
  p->NumberingReserved = 9;
  p->ShadingColors = 0x21;
  p->Shading = 50;
  p->TabSet = 0xFF;
  p->BorderFlags = kBorderOn | kBorderBox;
  p->BorderWidth = 2;
  TParagraph* q = doc.NewParagraph(p, 20);
  EXPECT_EQ(q->Prev, p);
  EXPECT_EQ(p->Next, q);
  EXPECT_EQ(q->FirstIndent + q->LeftIndent + q->RightIndent + q->SpaceBefore + q->SpaceAfter + q->LineSpacing,
            21);
  EXPECT_EQ(q->Alignment, 3);
  EXPECT_EQ(q->ParFlags, kParTableCell);
  EXPECT_EQ(q->Numbering, 0x61);
  EXPECT_EQ(q->NumberingReserved, 9);
  EXPECT_EQ(q->Shading, 50);
  EXPECT_EQ(q->TabSet, 0u);  // not from a table cell
  EXPECT_EQ(q->BorderFlags, kBorderOn | kBorderBox);
  EXPECT_EQ(q->BorderWidth, 2);
  EXPECT_EQ(q->FirstLine->Capacity, 20);
  EXPECT_EQ(q->FirstLine->Height, 16);
  EXPECT_EQ(CheckDocument(doc), "");
}

TEST(RtfText, GrowLineLimit) {
  TWPRTFText doc;
  TLine* line = doc.FirstParagraph->FirstLine;
  doc.ReplaceChars(doc.FirstParagraph, line, nullptr, 3, "abc", 0, 0);
  doc.GrowLine(line, 41);
  EXPECT_EQ(line->Capacity, 42);  // rounded up to even
  doc.GrowLine(line, 10000);
  EXPECT_EQ(line->Capacity, 10000);
  EXPECT_EQ(line->String(), "abc");
  EXPECT_EQ(ErrorOf([&] { doc.GrowLine(line, 10001); }), "Line longer then\t10000 character!");
  EXPECT_EQ(line->Capacity, 10000);
  EXPECT_EQ(line->String(), "abc");
  doc.GrowLine(line, 2);  // shrinking below the length cuts the text
  EXPECT_EQ(line->String(), "a");
  EXPECT_EQ(CheckDocument(doc), "");
  // A full line can still be split and edited.
  const std::string full(9999, 'f');
  doc.GrowLine(line, 10000);
  doc.ReplaceChars(doc.FirstParagraph, line, nullptr, 9999, full.data(), 1, 0);
  doc.DeleteChars(doc.FirstParagraph, 1, 1);
  doc.InsertText(doc.FirstParagraph, 5, nullptr, "x");
  EXPECT_EQ(doc.FirstParagraph->TextLength(), 9999);
  EXPECT_TRUE(doc.SplitParagraph(doc.FirstParagraph, doc.FirstParagraph->FirstLine, 0));
  EXPECT_EQ(CheckDocument(doc), "");
  // Typing fills a line up to 9999 characters, then reports the limit.
  TLine* last = doc.FirstParagraph->Next->FirstLine;
  doc.ReplaceChars(doc.FirstParagraph->Next, last, nullptr, 9990, full.data(), last->Length, 0);
  for (int i = 0; i < 9; ++i) ASSERT_TRUE(doc.InsertChar(doc.FirstParagraph->Next, last, 'y', 0));
  EXPECT_EQ(last->Length, 9999);
  EXPECT_EQ(ErrorOf([&] { doc.InsertChar(doc.FirstParagraph->Next, last, 'z', 0); }),
            "Line longer then\t10000 character!");
  EXPECT_EQ(ErrorOf([&] { doc.ReplaceChars(nullptr, last, nullptr, 2, "zz", 1, 0); }),
            "Line longer then\t10000 character!");
  EXPECT_EQ(last->Length, 9999);
  EXPECT_EQ(CheckDocument(doc), "");
}

TEST(RtfText, ModelErrors) {
  TWPRTFText doc;
  TLine* line = doc.FirstParagraph->FirstLine;
  EXPECT_NO_THROW(doc.AttribPtr(line, 0));
  doc.SetPlainMode();
  EXPECT_EQ(ErrorOf([&] { doc.AttribPtr(doc.FirstParagraph->FirstLine, 0); }), "Error AttribPtr()");
  TParagraph bare;
  EXPECT_EQ(ErrorOf([&] { doc.LastLine(&bare); }), "l=nil in Get_LastLine");

  struct FailingDocument : TWPRTFText {
    bool fail = false;
    TParagraph* AllocateParagraph() override {
      if (fail) throw std::bad_alloc();
      return TWPRTFText::AllocateParagraph();
    }
  } failing;
  failing.fail = true;
  EXPECT_EQ(ErrorOf([&] { failing.NewParagraph(failing.FirstParagraph, 10); }),
            "Out of Memory in\tNewParagraph");
  EXPECT_EQ(CheckDocument(failing), "");
}

TEST(RtfText, ParagraphProtectionTellsTheHandler) {
  TWPRTFText doc;
  doc.SetParagraphText(0, "locked", nullptr, 6);
  TParagraph* par = doc.FirstParagraph;
  par->ParFlags = kParProtected;
  std::vector<std::pair<std::string, int>> told;
  doc.OnProtectedChange = [&](TWPRTFText&, const std::string& text, int tag) {
    told.emplace_back(text, tag);
  };
  EXPECT_TRUE(doc.InsertChar(par, par->FirstLine, 'x', 0));  // ppParProtected not set
  doc.ProtectedProp = {ppParProtected};
  EXPECT_FALSE(doc.InsertChar(par, par->FirstLine, 'y', 0));
  EXPECT_FALSE(doc.SplitParagraph(par, par->FirstLine, 2));
  ASSERT_EQ(told.size(), 2u);
  EXPECT_EQ(told[0], std::make_pair(std::string("xlocked"), 0));
  doc.SilentProtection = true;
  EXPECT_TRUE(doc.IsProtected(par, par->FirstLine, 0));
  EXPECT_EQ(told.size(), 2u);
  doc.ParProtectionSuspended = true;
  EXPECT_FALSE(doc.IsProtected(par, par->FirstLine, 0));
  doc.ParProtectionSuspended = false;
  doc.ProtectionOff = true;
  EXPECT_FALSE(doc.IsProtected(par, par->FirstLine, 0));
}

TEST(RtfText, InsertPointRunIsReported) {
  TWPRTFText doc;
  TParagraph* par = doc.FirstParagraph;
  TLine* line = par->FirstLine;
  const TAttr plain = MakeAttr(0);
  const TAttr ip = MakeAttr(0, 0, kSpecialInsertPoint, 7);
  const TAttr ipBold = MakeAttr(0, kStyleBold, kSpecialInsertPoint, 7);
  const TAttr automatic = MakeAttr(0, 0, kSpecialAutomatic);
  doc.ReplaceChars(par, line, &plain, 2, "ab", 0, 0);
  doc.ReplaceChars(par, line, &ip, 2, "PP", 0, 2);
  doc.ReplaceChars(par, line, &ipBold, 2, "QQ", 0, 4);  // style differences do not split a run
  doc.ReplaceChars(par, line, &automatic, 2, "xy", 0, 6);
  doc.ReplaceChars(par, line, &plain, 2, "cd", 0, 8);
  std::vector<std::pair<std::string, int>> told;
  doc.OnProtectedChange = [&](TWPRTFText&, const std::string& text, int tag) {
    told.emplace_back(text, tag);
  };
  doc.ProtectedProp = {ppIsInsertpoint, ppAutomatic};
  EXPECT_FALSE(doc.IsProtected(par, line, 3));  // typing may insert at an insert point
  EXPECT_FALSE(doc.IsProtected(par, line, 1));
  EXPECT_TRUE(doc.DeleteCharAt(par, line, 3));  // but not delete it
  EXPECT_EQ(line->String(), "abPPQQxycd");
  ASSERT_EQ(told.size(), 1u);
  EXPECT_EQ(told[0], std::make_pair(std::string("PPQQxy"), 7));
  EXPECT_TRUE(doc.IsProtected(par, line, 7));
  EXPECT_EQ(told.back(), std::make_pair(std::string("xy"), 0));
  doc.ProtectedProp = {ppIsInvisible};
  line->Attrs[8].Width = 0;
  EXPECT_TRUE(doc.IsProtected(par, line, 8));
}

TEST(RtfText, ClearKeepsCurrentFontAndResetsHeader) {
  TWPRTFText doc;
  doc.Header.FindOrAddFont("Arial");
  doc.CurrentAttr.FontIndex = static_cast<std::uint8_t>(doc.Header.FindOrAddFont("Courier New"));
  doc.CurrentAttr.Size = 0;
  doc.Header.Colors[2] = 0x111111;
  doc.Header.InsertTab(1440, tkLeft);
  doc.Header.Title = "title";
  doc.SetParagraphText(0, "text", nullptr, 4);
  doc.InsertParagraphText(1, "more", nullptr, 4);
  doc.AddObject(nullptr, -1);
  doc.AddFootnote('*', 1, "note");
  doc.Clear();
  EXPECT_EQ(CheckDocument(doc), "");
  EXPECT_EQ(doc.ParagraphCount(), 0);
  EXPECT_EQ(doc.FirstParagraph->FirstLine->Capacity, 100);
  EXPECT_EQ(doc.FirstParagraph->ParState, kParNeedsBoth);
  EXPECT_EQ(doc.Header.FontNames[0], "Courier New");
  EXPECT_TRUE(doc.Header.FontSlotEmpty(1));
  EXPECT_EQ(doc.CurrentAttr.FontIndex, 0);
  EXPECT_EQ(doc.CurrentAttr.Size, 10);
  EXPECT_EQ(doc.Header.Colors[2], 0x008000u);
  EXPECT_EQ(doc.Header.TabPositions[0], 1440);
  EXPECT_EQ(doc.Header.Title, "title");
  EXPECT_TRUE(doc.Objects().empty());
  EXPECT_TRUE(doc.Footnotes().empty());
  // An empty current font slot falls back to Arial.
  TWPRTFText fresh;
  fresh.Clear();
  EXPECT_EQ(fresh.Header.FontNames[0], "Arial");
  // A busy document is not cleared.
  doc.SetParagraphText(0, "x", nullptr, 1);
  doc.Busy = true;
  doc.Clear();
  EXPECT_EQ(doc.ParagraphCount(), 1);
}

TEST(RtfText, PlainModeAndBack) {
  TWPRTFText doc;
  const TAttr bold = MakeAttr(3, kStyleBold);
  doc.SetParagraphText(0, "one\ttwo", &bold, 7);
  doc.InsertParagraphText(1, "three", &bold, 5);
  doc.PlainWidths[static_cast<unsigned char>('t')] = 5;
  doc.SetPlainMode();
  EXPECT_TRUE(doc.IsPlainMode());
  EXPECT_FALSE(doc.Header.RtfMode);
  EXPECT_EQ(CheckDocument(doc), "");
  EXPECT_EQ(doc.FirstParagraph->FirstLine->Height, 16);
  EXPECT_EQ(doc.FirstParagraph->FirstLine->Ascent, 14);
  doc.InsertParagraphText(2, "plain", nullptr, 5);  // lines made in plain mode have no records
  EXPECT_EQ(CheckDocument(doc), "");
  doc.CurrentAttr.FontIndex = 1;
  doc.SetRtfMode();
  EXPECT_EQ(CheckDocument(doc), "");
  for (const TParagraph* p = doc.FirstParagraph; p != nullptr; p = p->Next) {
    EXPECT_EQ(p->ParState, kParNeedsBoth);
    for (const TLine* l = p->FirstLine; l != nullptr; l = l->Next)
      for (int i = 0; i < l->Length; ++i) {
        EXPECT_TRUE(SameFormatting(l->Attrs[i], doc.CurrentAttr));
        EXPECT_EQ(l->Attrs[i].Width, doc.PlainWidths[l->CharAt(i)]);
      }
  }
  EXPECT_EQ(doc.FirstParagraph->FirstLine->Attrs[4].Width, 5);
}

TEST(RtfText, ModeSwitchNotifiesAndRespectsBusy) {
  struct Counting : TWPRTFText {
    int changes = 0;
    void Changed() override { ++changes; }
  } doc;
  doc.SetRtfMode();  // already
  EXPECT_EQ(doc.changes, 0);
  doc.SetPlainMode();
  EXPECT_EQ(doc.changes, 1);
  doc.Busy = true;
  doc.SetRtfMode();  // only the flags change
  EXPECT_FALSE(doc.IsPlainMode());
  EXPECT_NE(CheckDocument(doc), "");
  EXPECT_EQ(doc.FirstParagraph->FirstLine->Attrs, nullptr);
  doc.Busy = false;
  doc.SwitchMode(1);
  doc.Header.RtfMode = true;
  doc.PlainMode = true;
  doc.SwitchMode(1);
  EXPECT_EQ(CheckDocument(doc), "");
}

TEST(RtfText, CheckDocumentReportsTheFirstViolation) {
  TWPRTFText doc;
  doc.SetParagraphText(0, "abc", nullptr, 3);
  doc.InsertParagraphText(1, "def", nullptr, 3);
  TParagraph* second = doc.FirstParagraph->Next;
  TLine* line = second->FirstLine;
  line->Text[3] = 'x';
  EXPECT_EQ(CheckDocument(doc), "paragraph 1, line 0: text not terminated by 0");
  line->Text[3] = 0;
  second->Prev = nullptr;
  EXPECT_EQ(CheckDocument(doc), "paragraph 0: next paragraph does not link back");
  second->Prev = doc.FirstParagraph;
  auto attrs = std::move(line->Attrs);
  EXPECT_EQ(CheckDocument(doc), "paragraph 1, line 0: no attribute array in RTF mode");
  line->Attrs = std::move(attrs);
  const auto length = line->Length;
  line->Length = line->Capacity;
  EXPECT_NE(CheckDocument(doc).find("not below capacity"), std::string::npos);
  line->Length = length;
  second->FirstLine = nullptr;
  EXPECT_EQ(CheckDocument(doc), "paragraph 1 has no line");
  second->FirstLine = line;
  EXPECT_EQ(CheckDocument(doc), "");
}

TEST(RtfText, RefreshMarkedTextMarksParagraphsOfTheKind) {
  TWPRTFText doc;
  const TAttr link = MakeAttr(0, kStyleHyperlink);
  const TAttr ip = MakeAttr(0, 0, kSpecialInsertPoint, 1);
  doc.SetParagraphText(0, "link", &link, 4);
  doc.InsertParagraphText(1, "plain", nullptr, 5);
  doc.InsertParagraphText(2, "ip", &ip, 2);
  for (TParagraph* p = doc.FirstParagraph; p != nullptr; p = p->Next) p->ParState = 0;
  doc.HyperlinkTextAttr.SetBold(tsTRUE);  // the set's change refreshes
  EXPECT_EQ(doc.ParagraphAt(0)->ParState, kParNeedsBoth);
  EXPECT_EQ(doc.ParagraphAt(1)->ParState, 0);
  EXPECT_EQ(doc.ParagraphAt(2)->ParState, 0);
  EXPECT_TRUE(doc.RefreshMarkedText(kInsertPointAttrTag));
  EXPECT_EQ(doc.ParagraphAt(2)->ParState, kParNeedsBoth);
  EXPECT_FALSE(doc.RefreshMarkedText(kAutomaticTextAttrTag));
  EXPECT_FALSE(doc.Busy);
  doc.SetPlainMode();
  EXPECT_FALSE(doc.RefreshMarkedText(kInsertPointAttrTag));
}

TEST(RtfText, TabCleanupFreesSlotsNoParagraphUses) {
  TWPRTFText doc;
  int cleaned = 0;
  doc.OnTabsCleaned = [&](TWPRTFText&) { ++cleaned; };
  for (int i = 0; i < 64; ++i) ASSERT_NE(doc.Header.InsertTab(144 * (i + 1), tkLeft), 0u);
  doc.SetParagraphText(0, "w", nullptr, 1);
  doc.FirstParagraph->TabSet = TTabSet{1} << 3;
  doc.InsertParagraphText(1, "x", nullptr, 1);
  doc.ParagraphAt(1)->TabSet = TTabSet{1};
  EXPECT_EQ(doc.Header.InsertTab(144 * 70, tkRight), TTabSet{1} << 1);
  EXPECT_EQ(cleaned, 1);
  EXPECT_EQ(doc.Header.TabPositions[0], 144);
  EXPECT_EQ(doc.Header.TabPositions[3], 144 * 4);
  EXPECT_TRUE(doc.Header.TabSlotFree(2));
  EXPECT_EQ(doc.Header.TabPositions[1], 144 * 70);
  // When every slot is used nothing is freed, but the owner still hears of it.
  doc.FirstParagraph->TabSet = ~TTabSet{0};
  for (int i = 0; i < 64; ++i) doc.Header.TabPositions[i] = 144 * (i + 1);
  EXPECT_EQ(doc.Header.InsertTab(144 * 80, tkRight), 0u);
  EXPECT_EQ(cleaned, 2);
}

TEST(RtfText, PositionChainMarksPageBreaks) {
  TWPRTFText doc;
  doc.Header.YPixelsPerInch = 96;
  for (int i = 0; i < 100; ++i) doc.InsertParagraphText(i, "line", nullptr, 4);
  // 96 pixels per inch: the page is (15840 - 2880) twips = 864 pixels; lines are 16 high.
  EXPECT_EQ(doc.ComputeVerticalPositions(), 1600);
  std::vector<int> breaks;
  int n = 0;
  for (TParagraph* p = doc.FirstParagraph; p != nullptr; p = p->Next, ++n) {
    EXPECT_EQ(p->FirstLine->Top, n * 16);
    if (p->FirstLine->LineFlags & kLinePageBreak) breaks.push_back(n);
  }
  EXPECT_EQ(breaks, std::vector<int>{55});
  // A page break before a paragraph restarts the page there.
  doc.ParagraphAt(10)->ParFlags = kParPageBreakBefore;
  doc.ComputeVerticalPositions();
  EXPECT_FALSE(doc.ParagraphAt(55)->FirstLine->LineFlags & kLinePageBreak);
  EXPECT_TRUE(doc.ParagraphAt(65)->FirstLine->LineFlags & kLinePageBreak);
  // A keep-together paragraph moves the mark to its first line.
  doc.ParagraphAt(10)->ParFlags = 0;
  TParagraph* keep = doc.ParagraphAt(54);
  keep->ParFlags = kParKeepTogether;
  AddLine(doc, keep, "x", doc.CurrentAttr)->Height = 16;
  doc.ComputeVerticalPositions();
  EXPECT_TRUE(keep->FirstLine->LineFlags & kLinePageBreak);
  EXPECT_FALSE(keep->FirstLine->Next->LineFlags & kLinePageBreak);
  EXPECT_EQ(CheckDocument(doc), "");
}

TEST(RtfText, PositionChainLaysTableRowsSideBySide) {
  TWPRTFText doc;
  doc.SetParagraphText(0, "c1", nullptr, 2);
  doc.InsertParagraphText(1, "c2", nullptr, 2);
  doc.InsertParagraphText(2, "c3", nullptr, 2);
  doc.InsertParagraphText(3, "after", nullptr, 5);
  TParagraph* c1 = doc.ParagraphAt(0);
  TParagraph* c2 = doc.ParagraphAt(1);
  TParagraph* c3 = doc.ParagraphAt(2);
  c1->ParFlags = kParTableCell | kParMoreCells;
  c2->ParFlags = kParTableCell | kParMoreCells | kParNotFirstCell;
  c3->ParFlags = kParTableCell | kParNotFirstCell;
  AddLine(doc, c1, "x", doc.CurrentAttr);  // 32 high
  AddLine(doc, c3, "y", doc.CurrentAttr);  // 48 high
  AddLine(doc, c3, "z", doc.CurrentAttr);
  c1->SpaceAfter = 99;
  EXPECT_EQ(doc.ComputeVerticalPositions(), 48 + 16);
  EXPECT_EQ(c1->FirstLine->Top, 0);
  EXPECT_EQ(c2->FirstLine->Top, 0);
  EXPECT_EQ(c3->FirstLine->Top, 0);
  EXPECT_EQ(doc.ParagraphAt(3)->FirstLine->Top, 48);
  EXPECT_EQ(c1->SpaceAfter, 16 * 15);
  EXPECT_EQ(c2->SpaceAfter, 32 * 15);
  EXPECT_EQ(c3->SpaceAfter, 0);
  // A cell that announces more cells before a paragraph that is no cell loses its table flags.
  c2->ParFlags = 0;
  c3->ParFlags = 0;
  c1->SpaceAfter = 50;
  doc.ComputeVerticalPositions();
  EXPECT_EQ(c1->ParFlags, 0);
  EXPECT_EQ(c1->SpaceAfter, 0);
  EXPECT_EQ(c2->FirstLine->Top, 32);
}

namespace {
struct FakeObject : TEmbeddedObject {
  FakeObject(TObjectKind k, int w, int h, int* deleted = nullptr)
      : kind(k), width(w), height(h), deletions(deleted) {}
  ~FakeObject() override {
    if (deletions != nullptr) ++*deletions;
  }
  TObjectKind Kind() const override { return kind; }
  int PixelWidth() const override { return width; }
  int PixelHeight() const override { return height; }
  std::unique_ptr<TEmbeddedObject> Clone() const override {
    return std::make_unique<FakeObject>(kind, width, height, deletions);
  }
  TObjectKind kind;
  int width, height;
  int* deletions;
};
}  // namespace

TEST(RtfText, ObjectRecords) {
  TWPRTFText doc;
  int requests = 0;
  int deleted = 0;
  doc.OnRequestObject = [&](TWPRTFText&, TTextObject& record) {
    ++requests;
    record.SetObject(std::make_unique<FakeObject>(TObjectKind::Bitmap, 10, 10, &deleted));
  };
  TTextObject* a = doc.AddObject(std::make_unique<FakeObject>(TObjectKind::Bitmap, 96, 48, &deleted), -1);
  TTextObject* b = doc.AddObject(nullptr, -1);  // no provider call for automatic ids
  TTextObject* c = doc.AddObject(nullptr, 5);
  TTextObject* d = doc.AddObject(std::make_unique<FakeObject>(TObjectKind::Control, 30, 20, &deleted), 0);
  TTextObject* e = doc.AddObject(nullptr, 0);
  EXPECT_EQ(a->Id, 2000);
  EXPECT_EQ(b->Id, 2001);
  EXPECT_EQ(c->Id, 5);
  EXPECT_EQ(requests, 2);  // for c and e
  EXPECT_NE(c->Object, nullptr);
  EXPECT_EQ(d->SecondaryId, 1);
  EXPECT_EQ(e->SecondaryId, 2);
  EXPECT_EQ(doc.AddObject(nullptr, -1)->Id, 2002);
  EXPECT_EQ(doc.FindObject(5), c);
  EXPECT_EQ(doc.FindObjectBySecondaryId(2), e);
  c->FileName = "C:\\Pics\\Logo.BMP";
  EXPECT_EQ(doc.FindObjectByFileName("c:\\pics\\logo.bmp"), c);
  EXPECT_EQ(doc.FindObjectByFileName(""), nullptr);

  doc.MeasureObject(a);
  EXPECT_EQ(a->Width, 1440);
  EXPECT_EQ(a->Height, 720);
  doc.MeasureObject(d);
  EXPECT_EQ(d->Width, 30);
  EXPECT_EQ(d->Height, 20);
  doc.MeasureObject(b);
  EXPECT_EQ(b->Width, 32);
  b->Width = 500;
  b->Height = 0;
  doc.MeasureObject(b);
  EXPECT_EQ(b->Width, 500);
  EXPECT_EQ(b->Height, 32);

  FakeObject shared(TObjectKind::Metafile, 1, 1);
  doc.AddObjectReference(&shared, 9);  // not owned: the sweep leaves it alone
  doc.ClearObjectsInUse();
  c->InUse = true;
  doc.SweepObjects();
  ASSERT_EQ(doc.Objects().size(), 1u);
  EXPECT_EQ(doc.Objects()[0].get(), c);
  EXPECT_EQ(deleted, 3);  // a, d and the object the provider gave e
}

TEST(RtfText, Footnotes) {
  TWPRTFText doc;
  TFootnote* first = doc.AddFootnote('*', 1, "one");
  TFootnote* second = doc.AddFootnote('+', 2, "two");
  EXPECT_EQ(first->Id, 1);
  EXPECT_EQ(second->Id, 2);
  EXPECT_EQ(doc.FindFootnote(2), second);
  EXPECT_EQ(doc.FindFootnote(3), nullptr);
  doc.ClearFootnotes();
  EXPECT_EQ(doc.AddFootnote('*', 1, "")->Id, 1);
}

TEST(RtfText, NumberingStyles) {
  TWPRTFText doc;
  std::uint8_t settings[TNumberingStyle::kSettingsSize] = {};
  settings[75] = 42;
  TNumberingStyle* a = doc.AddNumberingStyle(settings, "abc");
  EXPECT_EQ(a->Name, "ABC");
  EXPECT_EQ(a->Number, 1);
  EXPECT_EQ(a->Settings[75], 42);
  EXPECT_EQ(doc.AddNumberingStyle(nullptr, "Abc"), a);
  TNumberingStyle* b = doc.AddNumberingStyle(nullptr, "longername");
  EXPECT_EQ(b->Name, "LONGERNA");
  EXPECT_EQ(b->Number, 2);
  EXPECT_EQ(doc.FindNumberingStyle(2), b);
  EXPECT_EQ(doc.FindNumberingStyle("longernaXYZ"), b);
  doc.ClearNumberingStyles();
  EXPECT_EQ(doc.FindNumberingStyle(1), nullptr);
}

TEST(RtfText, RefreshNumberingRegeneratesText) {
  TWPRTFText doc;
  const TAttr a = MakeAttr(0, kStyleItalic);
  doc.SetParagraphText(0, "A", &a, 1);
  doc.InsertParagraphText(1, "B", &a, 1);
  doc.InsertParagraphText(2, "B1", &a, 2);
  doc.InsertParagraphText(3, "C", &a, 1);
  doc.InsertParagraphText(4, "plain", &a, 5);
  doc.InsertParagraphText(5, "again", &a, 5);
  doc.ParagraphAt(0)->Numbering = kNumberDecimal << 4;
  doc.ParagraphAt(1)->Numbering = kNumberDecimal << 4;
  doc.ParagraphAt(2)->Numbering = kNumberLowerLetter << 4 | 1;
  doc.ParagraphAt(3)->Numbering = kNumberDecimal << 4;
  doc.ParagraphAt(5)->Numbering = kNumberBullet << 4;
  doc.RefreshNumbering();
  doc.RefreshNumbering();  // old numbering text is replaced, not doubled
  EXPECT_EQ(Texts(doc), (std::vector<std::string>{"1.\tA", "2.\tB", "a)\tB1", "3.\tC", "plain", "l\tagain"}));
  const TAttr generated = AttrAt(doc.ParagraphAt(0), 0);
  EXPECT_EQ(generated.Style, kStyleItalic);
  EXPECT_EQ(generated.Special, kSpecialNumbering);
  EXPECT_EQ(doc.Header.FontNames[AttrAt(doc.ParagraphAt(5), 0).FontIndex], "WingDings");
  EXPECT_EQ(CheckDocument(doc), "");
}
