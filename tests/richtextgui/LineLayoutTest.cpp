// Line layout: measuring, wrapping, tabs, line heights, resolution.
#include <gtest/gtest.h>

#include <QCursor>
#include <QGuiApplication>
#include <string>

#include "richtext/MulDiv.h"
#include "richtext/gui/RtfTextPaint.h"
#include "richtextgui/PaintTestSupport.h"

namespace {

using painttest::Attr;

int ArialWidth(const std::string& text, int points = 10, int ppi = 96, std::uint8_t style = 0) {
  const TWPFontEntry& font = TWPFontCache::Instance().Find("Arial", MulDiv(points, ppi, 72), style);
  int width = 0;
  for (unsigned char c : text) width += font.Widths[c];
  return width;
}

class LayoutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    doc.Clear();
    doc.SetCanvas(&canvas);
    doc.SetWrapWidth(200);
  }
  void SetText(const std::string& text, TAttr attr = Attr()) {
    doc.SetParagraphText(0, text.c_str(), &attr, static_cast<int>(text.size()));
    doc.ReformatAll();
  }
  std::vector<std::string> Lines(TParagraph* par = nullptr) {
    std::vector<std::string> lines;
    for (TLine* l = (par ? par : doc.FirstParagraph)->FirstLine; l; l = l->Next) lines.push_back(l->String());
    return lines;
  }
  int AddTab(int twips, TTabKind kind) {
    const TTabSet set = doc.Header.InsertTab(twips, kind);
    doc.FirstParagraph->TabSet |= set;
    doc.Header.RecomputePixelValues();
    return twips;
  }

  TWPCanvas canvas{96, 96};
  TWPRTFTextPaint doc;
};

}  // namespace

TEST_F(LayoutTest, BreaksAfterTheLastSpaceThatFits) {
  SetText("aaaa bbbb cccc dddd eeee ffff gggg hhhh iiii jjjj kkkk");
  const auto lines = Lines();
  ASSERT_GT(lines.size(), 1u);
  for (TLine* l = doc.FirstParagraph->FirstLine; l; l = l->Next) {
    EXPECT_LE(l->LineWidth, 200);
    if (l->Next) {
      EXPECT_EQ(l->String().back(), ' ');
    }
  }
  std::string joined;
  for (const auto& l : lines) joined += l;
  EXPECT_EQ(joined, "aaaa bbbb cccc dddd eeee ffff gggg hhhh iiii jjjj kkkk");
  // The width of a line broken at a space leaves the space out.
  EXPECT_EQ(doc.FirstParagraph->FirstLine->LineWidth, ArialWidth(lines[0].substr(0, lines[0].size() - 1)));
}

TEST_F(LayoutTest, WordLongerThanTheLineIsBrokenBetweenCharacters) {
  doc.SetWrapWidth(60);
  SetText("WWWWWWWWWWWWWWWW");
  const auto lines = Lines();
  ASSERT_GT(lines.size(), 2u);
  const int w = ArialWidth("W");
  for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
    // As many characters as stay below the available width.
    EXPECT_EQ(static_cast<int>(lines[i].size()), (60 - 1) / w) << i;
  }
}

TEST_F(LayoutTest, SpaceAtIndexZeroOrOneIsNoBreakOpportunity) {
  doc.SetWrapWidth(60);
  SetText("a WWWWWWWWWWWW");
  const auto lines = Lines();
  ASSERT_GT(lines.size(), 1u);
  EXPECT_NE(lines[0], "a ");  // the line runs on into the long word
  EXPECT_EQ(lines[0].substr(0, 3), "a W");
  SetText("ab WWWWWWWWWWWW");
  EXPECT_EQ(Lines()[0], "ab ");  // index 2 is a break opportunity
}

TEST_F(LayoutTest, LineFeedEndsTheLine) {
  SetText("one\ntwo");
  const auto lines = Lines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], "one\n");
  EXPECT_EQ(lines[1], "two");
}

TEST_F(LayoutTest, JustifiedLinesSpreadTheirSpacesButNotTheLastLine) {
  doc.FirstParagraph->Alignment = paJustify;
  SetText("aaa bb c ddd ee f ggg hh i jjj kk l mmm nn o ppp qq r sss tt u vvv ww x");
  TLine* first = doc.FirstParagraph->FirstLine;
  ASSERT_NE(first->Next, nullptr);
  EXPECT_EQ(first->LineWidth, 0);  // no tab in the line
  EXPECT_GE(first->SpaceWidth, ArialWidth(" "));
  // Every gap but the trailing break space shares the room up to the
  // available width: the last word ends there.
  int spaces = 0;
  for (int i = 0; i < first->Length; ++i) spaces += first->Text[i] == ' ';
  const std::string text = first->String();
  const int natural = ArialWidth(text.substr(0, text.size() - 1));
  const int total = (spaces - 1) * ArialWidth(" ") + 200 - natural;
  EXPECT_EQ(first->SpaceWidth, total / (spaces - 1));
  EXPECT_EQ(first->SpaceExtra, total % (spaces - 1));
  TLine* last = doc.LastLine(doc.FirstParagraph);
  EXPECT_EQ(last->SpaceWidth, 0);
  EXPECT_EQ(last->LineWidth, ArialWidth(last->String()));
  // With the justify-last-line flag the last (here the only) line is spread too.
  SetText("a b c d");
  EXPECT_EQ(doc.FirstParagraph->FirstLine->SpaceWidth, 0);
  doc.FirstParagraph->ParFlags |= kParJustifyLastLine;
  doc.ReformatAll();
  EXPECT_EQ(doc.FirstParagraph->FirstLine->SpaceWidth,
            (3 * ArialWidth(" ") + 200 - ArialWidth("a b c d")) / 3);
}

TEST_F(LayoutTest, JustifiedLineKeepsNaturalWidthsBeforeItsLastTab) {
  doc.FirstParagraph->Alignment = paJustify;
  SetText("a b c\td e f g h i j k l m n o p q r s t u v w x y z a b c d e f g h i j k l m n o");
  TLine* first = doc.FirstParagraph->FirstLine;
  ASSERT_NE(first->Next, nullptr);
  EXPECT_EQ(first->LineWidth, 5);  // index of the tab: spaces before it keep their width
  EXPECT_GT(first->SpaceWidth, 0);
  // Fewer than two spaces after the last tab: left-aligned.
  doc.SetWrapWidth(120);
  SetText("aaaa bbbb cccc\tdddddddddddddddddddd");
  first = doc.FirstParagraph->FirstLine;
  EXPECT_EQ(first->SpaceWidth, 0);
}

TEST_F(LayoutTest, TabInRightOrCentreAlignedParagraphIsAsWideAsASpace) {
  doc.FirstParagraph->Alignment = 1;
  SetText("ab\tcd");
  TLine* line = doc.FirstParagraph->FirstLine;
  EXPECT_EQ(line->LineWidth, ArialWidth("ab cd"));
  EXPECT_EQ(doc.LineContentWidth(doc.FirstParagraph, line), ArialWidth("ab cd"));
  doc.FirstParagraph->Alignment = 2;
  doc.ReformatAll();
  EXPECT_EQ(doc.FirstParagraph->FirstLine->LineWidth, ArialWidth("ab cd"));
}

TEST_F(LayoutTest, TabsGoToTheirStops) {
  SetText("\t123\t12.5\tabc");
  TParagraph* par = doc.FirstParagraph;
  TLine* line = par->FirstLine;
  // No tab stops: a third of an inch.
  EXPECT_EQ(doc.DefaultTabInterval(), 32);
  EXPECT_EQ(doc.NextTabPosition(par, line, 0, 0), 32);
  EXPECT_EQ(doc.NextTabPosition(par, line, 32, 0), 64);
  AddTab(1440, tkRight);
  EXPECT_EQ(doc.NextTabPosition(par, line, 0, 0), 96 - ArialWidth("123"));
  AddTab(2880, tkDecimal);
  EXPECT_EQ(doc.NextTabPosition(par, line, 100, 4), 192 - ArialWidth("12"));
  doc.FirstParagraph->TabSet = 0;
  const TTabSet centre = doc.Header.InsertTab(720, tkCenter);
  doc.FirstParagraph->TabSet = centre;
  EXPECT_EQ(doc.NextTabPosition(par, line, 0, 9), 48 - ArialWidth("abc") / 2);
  // A left tab: the stop itself, also after wrapping the line.
  doc.FirstParagraph->TabSet = doc.Header.InsertTab(1008, tkLeft);
  doc.Header.RecomputePixelValues();
  SetText("a\tb");
  EXPECT_EQ(doc.FirstParagraph->FirstLine->LineWidth, 67 + ArialWidth("b"));
}

TEST_F(LayoutTest, RightAndCentreTabsAlignOnlyTheTextBeforeALineFeed) {
  doc.SetWrapWidth(400);
  AddTab(2880, tkRight);
  const std::string after(40, 'c');  // wider than the stop: must not count
  SetText("\tab\n" + after);
  TLine* line = doc.FirstParagraph->FirstLine;
  ASSERT_EQ(line->String(), "\tab\n");
  EXPECT_EQ(line->LineWidth, 192 + ArialWidth("\n"));
  doc.FirstParagraph->TabSet = doc.Header.InsertTab(1440, tkCenter);
  doc.Header.RecomputePixelValues();
  SetText("\tab\n" + after);
  EXPECT_EQ(doc.FirstParagraph->FirstLine->LineWidth,
            96 + ArialWidth("ab") - ArialWidth("ab") / 2 + ArialWidth("\n"));
}

TEST_F(LayoutTest, RightTabBeyondTheRightEdgeTakesNoRoom) {
  doc.SetWrapWidth(80);
  SetText("\tx");
  AddTab(1440, tkRight);
  EXPECT_EQ(doc.NextTabPosition(doc.FirstParagraph, doc.FirstParagraph->FirstLine, 10, 0), 10);
}

TEST_F(LayoutTest, ZoomingScalesLengthsAndFontsResizingOnlyFonts) {
  doc.FirstParagraph->FirstIndent = 1440;
  SetText("Hello");
  TLine* line = doc.FirstParagraph->FirstLine;
  const int height100 = line->Attrs[0].Height;
  EXPECT_EQ(doc.LeftEdge(doc.FirstParagraph, line), 96);

  doc.SetZooming(200);
  line = doc.FirstParagraph->FirstLine;
  EXPECT_EQ(doc.Header.XPixelsPerInch, 192);
  EXPECT_EQ(doc.LeftEdge(doc.FirstParagraph, line), 192);
  const int heightZoomed = line->Attrs[0].Height;
  EXPECT_EQ(heightZoomed, TWPFontCache::Instance().Find("Arial", 27, 0).Height);
  EXPECT_EQ(line->Attrs[0].Width, ArialWidth("H", 10, 192));

  doc.SetZooming(100);
  doc.SetResizing(200);
  line = doc.FirstParagraph->FirstLine;
  EXPECT_EQ(doc.LeftEdge(doc.FirstParagraph, line), 96);
  EXPECT_EQ(line->Attrs[0].Height, TWPFontCache::Instance().Find("Arial", 27, 0).Height);
  EXPECT_GT(line->Attrs[0].Height, height100);
}

TEST_F(LayoutTest, ZoomingIsIgnoredWithTheDoNotZoomOption) {
  doc.SetZooming(150);
  EXPECT_EQ(doc.Header.XPixelsPerInch, 144);
  doc.SetPaintOptions(poNoZoom);
  EXPECT_EQ(doc.Header.XPixelsPerInch, 96);
  doc.SetPaintOptions(0);
  EXPECT_EQ(doc.Header.XPixelsPerInch, 144);
  doc.SetZooming(0);  // ignored
  EXPECT_EQ(doc.Zooming(), 150);
}

TEST_F(LayoutTest, PrinterResolutionOf600PixelsPerInch) {
  TWPCanvas printer(600, 600, kTechRasterPrinter);
  doc.SetCanvas(&printer);
  doc.SetWrapWidth(3000);
  doc.FirstParagraph->FirstIndent = 1440;
  SetText("Label");
  TLine* line = doc.FirstParagraph->FirstLine;
  EXPECT_EQ(doc.LeftEdge(doc.FirstParagraph, line), 600);
  EXPECT_EQ(printer.Font().PixelSize, 83);  // 10/72 inch at 600 ppi
  EXPECT_EQ(printer.Font().Font.pixelSize(), 83);
  EXPECT_EQ(line->Attrs[0].Height, TWPFontCache::Instance().Find("Arial", 83, 0).Height);
  EXPECT_EQ(doc.DefaultTabInterval(), 200);
}

TEST_F(LayoutTest, LineHeightRule) {
  SetText("x");
  TLine* line = doc.FirstParagraph->FirstLine;
  const int h = line->Attrs[0].Height, a = line->Attrs[0].Ascent;
  EXPECT_EQ(line->Height, h);
  EXPECT_EQ(line->Ascent, a);
  doc.FirstParagraph->LineSpacing = 600;  // 40 px: text centred in the taller line
  doc.ReformatAll();
  EXPECT_EQ(line->Height, 40);
  EXPECT_EQ(line->Ascent, a + (40 - h) / 2);
  doc.FirstParagraph->LineSpacing = -150;  // exactly 10 px
  doc.ReformatAll();
  EXPECT_EQ(line->Height, 10);
  EXPECT_EQ(line->Ascent, std::max(0, a - (h - 10) / 2));
  doc.FirstParagraph->LineSpacing = 0;
  doc.FirstParagraph->SpaceBefore = 150;
  doc.FirstParagraph->SpaceAfter = 300;
  doc.ReformatAll();
  EXPECT_EQ(line->Height, h + 10 + 20);
  EXPECT_EQ(line->Ascent, a + 10);
  // Spacing beyond what a 16-bit height holds stays at the limit.
  doc.FirstParagraph->SpaceBefore = 8000000;
  doc.ReformatAll();
  EXPECT_EQ(line->Height, 0xFFFF);
  EXPECT_EQ(line->Ascent, 0xFFFF);
}

TEST_F(LayoutTest, EmptyParagraphTakesTheHeightOfTheTextBefore) {
  SetText("Big");
  TAttr big = Attr(24);
  doc.SetParagraphText(0, "Big", &big, 3);
  doc.InsertParagraphText(1, "", &big, 0);
  doc.ReformatAll();
  ASSERT_NE(doc.FirstParagraph->Next, nullptr);
  EXPECT_EQ(doc.FirstParagraph->Next->FirstLine->Height, doc.FirstParagraph->FirstLine->Height);
  EXPECT_EQ(doc.FirstParagraph->Next->FirstLine->Height,
            TWPFontCache::Instance().Find("Arial", 32, 0).Height);
  // Empty paragraphs with spacing after them do not grow one after the other.
  doc.InsertParagraphText(2, "", &big, 0);
  doc.InsertParagraphText(3, "", &big, 0);
  for (TParagraph* p = doc.FirstParagraph; p; p = p->Next) p->SpaceAfter = 300;
  doc.ReformatAll();
  TParagraph* third = doc.FirstParagraph->Next->Next;
  EXPECT_EQ(third->FirstLine->Height, doc.FirstParagraph->FirstLine->Height);
  EXPECT_EQ(third->Next->FirstLine->Height, third->FirstLine->Height);
}

TEST_F(LayoutTest, InvisibleCharactersTakeNoRoom) {
  TAttr hidden = Attr();
  hidden.Special = kSpecialHidden;
  SetText("abc", hidden);
  EXPECT_EQ(doc.FirstParagraph->FirstLine->Attrs[0].Width, 0);
  doc.SetPaintOptions(poShowHidden);
  doc.ReformatAll();
  EXPECT_EQ(doc.FirstParagraph->FirstLine->Attrs[0].Width, ArialWidth("a"));
  TAttr insertPoint = Attr();
  insertPoint.Special = kSpecialInsertPoint;
  doc.HideInsertPoints = true;
  SetText("ip", insertPoint);
  EXPECT_EQ(doc.FirstParagraph->FirstLine->Attrs[1].Width, 0);
}

TEST_F(LayoutTest, SuperscriptIsMeasuredAtTwoThirds) {
  SetText("x", Attr(9, kStyleSuperscript));
  const TWPFontEntry& six = TWPFontCache::Instance().Find("Arial", 8, 0);  // 6 pt at 96 ppi
  EXPECT_EQ(doc.FirstParagraph->FirstLine->Attrs[0].Height, six.Height);
  EXPECT_EQ(canvas.FontSize(), 6);
}

TEST_F(LayoutTest, FontIndexAbove99IsASystemError) {
  TAttr bad = Attr();
  bad.FontIndex = 100;
  try {
    doc.SelectFont(&bad);
    FAIL() << "no exception";
  } catch (const std::exception& e) {
    EXPECT_STREQ(e.what(), "Tabwright RTF-\tSystem Error");
  }
  bad.FontIndex = 99;  // names no font: drawn in the font already selected
  canvas.SetFontName("Courier New");
  doc.SelectFont(&bad);
  EXPECT_EQ(canvas.FontName(), "Courier New");
  // A reformat that fails leaves the busy cursor of the command around it.
  SetText("x");
  doc.FirstParagraph->FirstLine->Attrs[0].FontIndex = 120;
  QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
  EXPECT_THROW(doc.ReformatAll(), std::exception);
  EXPECT_NE(QGuiApplication::overrideCursor(), nullptr);
  QGuiApplication::restoreOverrideCursor();
  EXPECT_FALSE(doc.Formatting());
}

TEST_F(LayoutTest, CompareReportsHowMuchChanged) {
  SetText("aaaa bbbb cccc dddd eeee ffff gggg hhhh");
  TParagraph* par = doc.FirstParagraph;
  ASSERT_EQ(Lines().size(), 2u);
  EXPECT_EQ(doc.ReformatParagraph(par, true), TWPRTFTextPaint::kNothingChanged);
  TAttr a = Attr();
  // Inserted text stands in a line of its own until wrapping joins it: three
  // old lines become two, so the paragraph's height changed.
  doc.InsertText(par, 0, &a, "x");
  doc.MeasureParagraph(par, true);
  EXPECT_EQ(doc.ReformatParagraph(par, true), TWPRTFTextPaint::kParHeightChanged);
  ASSERT_EQ(Lines().size(), 2u);
  // Three old lines become three new ones holding other characters.
  doc.InsertText(par, 0, &a, "iiii jjjj kkkk llll mmmm nnnn oooo pppp ");
  doc.MeasureParagraph(par, true);
  EXPECT_EQ(doc.ReformatParagraph(par, true), TWPRTFTextPaint::kCharsChanged);
  EXPECT_EQ(Lines().size(), 3u);
  EXPECT_TRUE(par->FirstLine->LineFlags & kLineChanged);
}

TEST_F(LayoutTest, PageBreakMarkOnTheFirstLineBelowThePage) {
  doc.Header.PageHeight = 2880;
  doc.Header.TopMargin = 720;
  doc.Header.BottomMargin = 720;  // 96 pixels of text per page
  SetText("x");
  for (int i = 1; i < 10; ++i) {
    TAttr a = Attr();
    doc.InsertParagraphText(i, "x", &a, 1);
  }
  doc.ReformatAll();
  const int lineHeight = doc.FirstParagraph->FirstLine->Height;
  int index = 0, marked = -1;
  for (TParagraph* p = doc.FirstParagraph; p; p = p->Next, ++index)
    if ((p->FirstLine->LineFlags & kLinePageBreak) && marked < 0) marked = index;
  ASSERT_GE(marked, 0);
  EXPECT_GT(marked * lineHeight, 96);
  EXPECT_LE((marked - 1) * lineHeight, 96);
  EXPECT_EQ(doc.DocumentHeight(), 10 * lineHeight);
}

TEST_F(LayoutTest, WrapWidthNarrowerThanThePageReducesTheRightIndent) {
  doc.Header.PageWidth = 1440 * 4;
  doc.Header.LeftMargin = doc.Header.RightMargin = 0;  // page text width 384
  doc.FirstParagraph->RightIndent = 1440;              // 96 px
  SetText("x");
  doc.SetWrapWidth(334);  // 50 px narrower
  EXPECT_EQ(doc.RightIndent(doc.FirstParagraph), 46);
  doc.SetWrapWidth(200);
  EXPECT_EQ(doc.RightIndent(doc.FirstParagraph), 0);
}

TEST_F(LayoutTest, AvailableWidthOfZeroBecomes16Pixels) {
  doc.FirstParagraph->FirstIndent = doc.FirstParagraph->LeftIndent = 1440 * 3;  // beyond the wrap width
  SetText("iiiiiiiiiiii");
  const int perLine = static_cast<int>(doc.FirstParagraph->FirstLine->Length);
  EXPECT_GE(perLine, 1);
  EXPECT_LE(perLine * ArialWidth("i"), 16 + ArialWidth("i"));
}

TEST_F(LayoutTest, SpellCheckHookMarksMisspelledWords) {
  std::vector<std::string> asked;
  doc.OnSpellCheckWord = [&asked](const std::string& word) {
    asked.push_back(word);
    return word == "Wrnog";
  };
  SetText("Good Wrnog 42 word");
  asked.clear();
  doc.ReformatAll();  // every wrap asks again
  EXPECT_EQ(asked, (std::vector<std::string>{"Good", "Wrnog", "word"}));
  TLine* line = doc.FirstParagraph->FirstLine;
  EXPECT_FALSE(line->Attrs[0].Marker & kMarkerMisspelled);
  EXPECT_TRUE(line->Attrs[5].Marker & kMarkerMisspelled);
  EXPECT_TRUE(line->Attrs[9].Marker & kMarkerMisspelled);
  EXPECT_FALSE(line->Attrs[10].Marker & kMarkerMisspelled);
}

TEST_F(LayoutTest, CharacterLimitPerLineEndsLines) {
  doc.SetWrapWidth(1000);
  doc.MaxLineChars = 4;
  SetText("abcdefghij");
  EXPECT_EQ(Lines(), (std::vector<std::string>{"abcd", "efgh", "ij"}));
  // A line that the limit ends breaks after its last space like a full one.
  doc.MaxLineChars = 8;
  SetText("ab cd efghij");
  EXPECT_EQ(Lines(), (std::vector<std::string>{"ab cd ", "efghij"}));
}

TEST_F(LayoutTest, SelectionAndCaretFollowTheirCharactersIntoNewLines) {
  SetText("aaaa bbbb cccc dddd eeee ffff gggg hhhh iiii");
  TParagraph* par = doc.FirstParagraph;
  ASSERT_NE(par->FirstLine->Next, nullptr);
  const int firstLength = par->FirstLine->Length;
  // Caret at the end of the first line moves to the start of the next one.
  doc.CursorParagraph = par;
  doc.CursorLine = par->FirstLine;
  doc.CursorIndex = firstLength;
  doc.SelStartParagraph = doc.SelEndParagraph = par;
  doc.SelStartLine = doc.SelEndLine = par->FirstLine;
  doc.SelStartIndex = 1;
  doc.SelEndIndex = firstLength;  // the selection keeps the end of the line
  doc.ReformatParagraph(par, false);
  EXPECT_EQ(doc.CursorLine, par->FirstLine->Next);
  EXPECT_EQ(doc.CursorIndex, 0);
  EXPECT_EQ(doc.SelEndLine, par->FirstLine);
  EXPECT_EQ(doc.SelEndIndex, firstLength);
  EXPECT_EQ(par->FirstLine->SelState, 3);
}

TEST_F(LayoutTest, TableCellEdgesAreFractionsOfTheTextWidth) {
  doc.SetWrapWidth(255);
  SetText("cell");
  TParagraph* par = doc.FirstParagraph;
  par->ParFlags = kParTableCell | kParMoreCells;
  par->LeftIndent = 0;
  par->RightIndent = 0;
  par->CellStart = 51;  // a fifth of the way in
  par->CellWidth = 102;
  const int w = doc.Header.TextWidthTwips;
  EXPECT_EQ(doc.LeftEdge(par, par->FirstLine), MulDiv(w * 51 / 255, 96, 1440));
  EXPECT_EQ(doc.RightIndent(par), MulDiv(w - w * 153 / 255, 96, 1440));
}

TEST_F(LayoutTest, BorderSpacingWidensTheEdges) {
  SetText("boxed");
  TParagraph* par = doc.FirstParagraph;
  par->BorderFlags = kBorderOn | kBorderBox;
  par->BorderSpaceColor = 0x20;  // 2 mm
  doc.ReformatAll();
  EXPECT_EQ(doc.LeftEdge(par, par->FirstLine), MulDiv(2 * 567 / 10, 96, 1440) + 1);
  par->ParFlags |= kParNotFirstCell;
  EXPECT_EQ(doc.LeftEdge(par, par->FirstLine), MulDiv(2 * 567 / 10, 96, 1440));
}

TEST_F(LayoutTest, ResolutionOfZeroOrLessBecomesOne) {
  TWPCanvas broken(0, -5);
  doc.SetCanvas(&broken);
  EXPECT_EQ(doc.Header.XPixelsPerInch, 1);
  EXPECT_EQ(doc.Header.YPixelsPerInch, 1);
  SetText("still laid out");
  EXPECT_NE(doc.FirstParagraph->FirstLine, nullptr);
  doc.SetCanvas(&canvas);
  EXPECT_EQ(doc.Header.XPixelsPerInch, 96);
}

TEST_F(LayoutTest, HiddenTextNeverGathersMoreThanALineHolds) {
  TAttr hidden = Attr();
  hidden.Special = kSpecialHidden;
  const std::string block(6000, 'h');
  SetText("visible");
  doc.InsertText(doc.FirstParagraph, 7, &hidden, block.c_str());
  doc.InsertText(doc.FirstParagraph, 6007, &hidden, block.c_str());
  ASSERT_NO_THROW(doc.ReformatAll());
  int total = 0;
  for (TLine* l = doc.FirstParagraph->FirstLine; l; l = l->Next) {
    EXPECT_LT(l->Length, l->Capacity);
    EXPECT_LE(l->Capacity, kMaxLineCapacity);
    total += l->Length;
  }
  EXPECT_EQ(total, 12007);
}

TEST_F(LayoutTest, EmbeddedObjectsTakeTheirSizeAndAHugeOneStaysPositive) {
  TTextObject* record = doc.AddObject(nullptr, -1);
  record->Width = 720;  // half an inch
  record->Height = 1440;
  TAttr object = Attr();
  object.Special = kSpecialObject;
  object.Tag = static_cast<std::uint16_t>(record->Id);
  SetText("\x01", object);
  TLine* line = doc.FirstParagraph->FirstLine;
  const TWPFontEntry& arial = TWPFontCache::Instance().Find("Arial", 13, 0);
  EXPECT_EQ(line->Attrs[0].Width, 48);
  EXPECT_EQ(line->Attrs[0].Ascent, 96);  // standing on the baseline
  EXPECT_EQ(line->Attrs[0].Height, arial.Height + 96 - arial.Ascent);
  // Far beyond what a 16-bit width holds: kept large, never negative.
  record->Width = record->Height = 8000000;
  doc.ReformatAll();
  line = doc.FirstParagraph->FirstLine;
  EXPECT_EQ(line->Attrs[0].Width, TWPRTFTextPaint::kMaxObjectPixels);
  EXPECT_GT(line->Attrs[0].Height, 0);
  EXPECT_GT(line->Height, 0);
}
