#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "richtext/Progress.h"
#include "richtext/RtfControlWords.h"
#include "richtext/RtfReader.h"
#include "richtext/RtfReaderTestSupport.h"

using readertest::ReadRtf;

namespace {
const char* kFontTable = "{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}{\\f1\\fnil\\fcharset0 Times New Roman;}}";
}  // namespace

TEST(RtfControlWords, TableHoldsTheCoreWordsThenTheTextWordsOfOtherWriters) {
  const TRtfControlWordTable table = RtfControlWords();
  ASSERT_GT(table.Count, kRtfCoreControlWordCount);
  EXPECT_STREQ(table.Entries[kRtfCoreControlWordCount - 1].Word, "tab");
  EXPECT_STREQ(table.Entries[kRtfCoreControlWordCount].Word, "lquote");
  // Every entry is found, and a repeated word finds its first entry.
  for (int i = 0; i < table.Count; ++i) {
    const TRtfControlWord* found = FindRtfControlWord(table.Entries[i].Word);
    ASSERT_NE(found, nullptr) << table.Entries[i].Word;
    EXPECT_LE(found, &table.Entries[i]);
    EXPECT_STREQ(found->Word, table.Entries[i].Word);
  }
  EXPECT_EQ(FindRtfControlWord("pict")->Kind, TRtfWordKind::Destination);
  EXPECT_EQ(FindRtfControlWord("tab")->Kind, TRtfWordKind::Character);
  // Exact and case-sensitive.
  EXPECT_EQ(FindRtfControlWord("Par"), nullptr);
  EXPECT_EQ(FindRtfControlWord("pa"), nullptr);
  EXPECT_EQ(FindRtfControlWord("pard")->Property(), TRtfProperty::ParagraphDefaults);
  EXPECT_EQ(FindRtfControlWord("fs")->Parameter(false, 7), 100);
  EXPECT_EQ(FindRtfControlWord("fs")->Parameter(true, 7), 7);
  EXPECT_EQ(FindRtfControlWord("qc")->Parameter(true, 0), 2);  // always the default
}

TEST(RtfReader, FontTableTimesAt12PointThenEmptyParagraphStopsAtOutermostBrace) {
  const std::string rtf = std::string("{\\rtf1\\ansi\\deff0") + kFontTable + "\\f1\\fs24 Hi\\par}After";
  auto r = ReadRtf(rtf);
  ASSERT_EQ(r.Paragraphs().size(), 2u);
  EXPECT_EQ(r.Text(0), "Hi");
  EXPECT_EQ(r.Text(1), "");
  const TTextHeader& h = r.Doc->Header;
  EXPECT_EQ(h.FontNames[0], "Arial");
  const int times = r.AttrAt(0, 0).FontIndex;
  EXPECT_EQ(h.FontNames[static_cast<std::size_t>(times)], "Times New Roman");
  EXPECT_EQ(r.AttrAt(0, 0).Size, 12);
  EXPECT_EQ(r.AttrAt(0, 1).Size, 12);
  EXPECT_EQ(r.Par(1)->Alignment, r.Par(0)->Alignment);
  EXPECT_EQ(r.Par(1)->LeftIndent, r.Par(0)->LeftIndent);
  EXPECT_EQ(r.ResultCode, 0);
  // Nothing after the closing brace was read.
  EXPECT_EQ(r.StreamPosition, static_cast<std::int64_t>(rtf.size() - 5));
  for (TParagraph* p : r.Paragraphs()) EXPECT_EQ(p->ParState & kParNeedsBoth, kParNeedsBoth);
}

TEST(RtfReader, FontNumbersAreRenumberedIntoHeaderSlotsByName) {
  // Font 5 is Arial, which slot 0 already holds after a clear.
  auto r = ReadRtf("{\\rtf1{\\fonttbl{\\f5 Arial;}{\\f7 Courier New;}}\\f7 a\\f5 b\\f99 c}",
                   [](TWPRTFText& d) { d.Clear(); });
  EXPECT_EQ(r.Doc->Header.FontNames[1], "Courier New");
  EXPECT_EQ(r.AttrAt(0, 0).FontIndex, 1);
  EXPECT_EQ(r.AttrAt(0, 1).FontIndex, 0);
  EXPECT_EQ(r.AttrAt(0, 2).FontIndex, 0);  // font 99 is ignored
}

TEST(RtfReader, FontSizeHalvesTowardsZeroAndZeroBecomesTen) {
  auto r = ReadRtf("{\\rtf1\\fs23 a\\fs1 b\\fs c\\fs-8 d}");
  EXPECT_EQ(r.AttrAt(0, 0).Size, 11);
  EXPECT_EQ(r.AttrAt(0, 1).Size, 10);
  EXPECT_EQ(r.AttrAt(0, 2).Size, 50);  // the default 100 half-points
  EXPECT_EQ(r.AttrAt(0, 3).Size, 10);
}

TEST(RtfReader, StyleWordsWithAndWithoutParameter) {
  auto r =
      ReadRtf("{\\rtf1\\b a\\b0 b\\i\\ul\\strike c\\plain d\\uldb\\v\\shad e\\super f\\nosupersub\\sub g}");
  EXPECT_EQ(r.AttrAt(0, 0).Style, kStyleBold);
  EXPECT_EQ(r.AttrAt(0, 1).Style, 0);
  EXPECT_EQ(r.AttrAt(0, 2).Style, kStyleItalic | kStyleUnderline | kStyleStrikeOut);
  EXPECT_EQ(r.AttrAt(0, 3).Style, 0);
  EXPECT_EQ(r.AttrAt(0, 3).Size, 0);
  EXPECT_EQ(r.AttrAt(0, 4).Style, kStyleHyperlink);
  EXPECT_EQ(r.AttrAt(0, 4).Special, kSpecialHidden | kSpecialProtected);
  EXPECT_EQ(r.AttrAt(0, 5).Style, kStyleHyperlink | kStyleSuperscript);
  EXPECT_EQ(r.AttrAt(0, 6).Style, kStyleHyperlink | kStyleSubscript);
}

TEST(RtfReader, GroupsRestoreCharacterAttributes) {
  auto r = ReadRtf("{\\rtf1 a{\\b\\cf3 b{\\i c}d}e}");
  EXPECT_EQ(r.Text(0), "abcde");
  EXPECT_EQ(r.AttrAt(0, 0).Style, 0);
  EXPECT_EQ(r.AttrAt(0, 1).Style, kStyleBold);
  EXPECT_EQ(r.AttrAt(0, 2).Style, kStyleBold | kStyleItalic);
  EXPECT_EQ(r.AttrAt(0, 3).Style, kStyleBold);
  EXPECT_EQ(r.AttrAt(0, 3).Colors, 3);
  EXPECT_EQ(r.AttrAt(0, 4).Style, 0);
  EXPECT_EQ(r.AttrAt(0, 4).Colors, 0);
}

TEST(RtfReader, ColourNumbersAndInsertPointsAutomaticText) {
  auto r = ReadRtf("{\\rtf1\\cf5\\cb2 a\\cf16\\cb99 b\\inspnt7 c\\inaut d\\inaut0 e\\inspnt3\\inspnt0 f}");
  EXPECT_EQ(r.AttrAt(0, 0).Colors, 0x25);
  EXPECT_EQ(r.AttrAt(0, 1).Colors, 0x25);  // above 15: ignored
  EXPECT_EQ(r.AttrAt(0, 2).Special, kSpecialInsertPoint);
  EXPECT_EQ(r.AttrAt(0, 2).Tag, 7);
  EXPECT_EQ(r.AttrAt(0, 3).Special, kSpecialAutomatic);
  EXPECT_EQ(r.AttrAt(0, 4).Special, 0);
  EXPECT_EQ(r.AttrAt(0, 5).Special, 0);
  EXPECT_EQ(r.AttrAt(0, 5).Tag, 0);
}

TEST(RtfReader, ColourTableStartingWithAnEmptyEntry) {
  auto r = ReadRtf("{\\rtf1{\\colortbl;\\red255\\green0\\blue0;}x}",
                   [](TWPRTFText& d) { d.Header.Colors[0] = 0x123456; });
  EXPECT_EQ(r.Doc->Header.Colors[0], 0x123456u);
  EXPECT_EQ(r.Doc->Header.Colors[1], 0x0000FFu);
  EXPECT_EQ(r.Doc->Header.Colors[2], 0u);
  EXPECT_EQ(r.Doc->Header.Colors[3], TTextHeader::kDefaultColors[3]);
}

TEST(RtfReader, ColourTableFillsEntriesUpTo14AndKeepHeaderLeavesItAlone) {
  std::string table = "{\\rtf1{\\colortbl";
  for (int i = 0; i < 17; ++i) table += "\\red" + std::to_string(i) + "\\green1\\blue2;";
  table += "}x}";
  auto r = ReadRtf(table);
  EXPECT_EQ(r.Doc->Header.Colors[0], 0x020100u);
  EXPECT_EQ(r.Doc->Header.Colors[14], 0x02010Eu);
  EXPECT_EQ(r.Doc->Header.Colors[15], TTextHeader::kDefaultColors[15]);

  TWPRtfReader keeping;
  keeping.KeepHeader = true;
  auto k = readertest::ReadWith(keeping, "{\\rtf1{\\colortbl\\red9;\\red9;}\\paperw100 x}");
  EXPECT_EQ(k.Doc->Header.Colors[0], TTextHeader::kDefaultColors[0]);
  EXPECT_EQ(k.Doc->Header.Colors[1], TTextHeader::kDefaultColors[1]);
  EXPECT_EQ(k.Doc->Header.PageWidth, 12240);
}

// Once a canvas has given the document its resolution; before, they are
// kept as read.
TEST(RtfReader, TabStopAndLeftIndentSnapToTheInchGrid) {
  auto kept = ReadRtf("{\\rtf1\\tx1000\\li1000 a}");
  EXPECT_EQ(kept.Doc->Header.TabPositions[0], 1000);
  EXPECT_EQ(kept.Par(0)->LeftIndent, 1000);
  auto r = ReadRtf("{\\rtf1\\tx1000\\li1000 a}", readertest::AtScreenResolution);
  const TTextHeader& h = r.Doc->Header;
  const TTabSet tabs = r.Par(0)->TabSet;
  ASSERT_NE(tabs, 0u);
  int slot = 0;
  while ((tabs >> slot & 1u) == 0) ++slot;
  EXPECT_EQ(h.TabPositions[static_cast<std::size_t>(slot)], 1008);
  EXPECT_EQ(h.TabKinds[static_cast<std::size_t>(slot)], tkLeft);
  EXPECT_EQ(r.Par(0)->LeftIndent, 1008);
  EXPECT_EQ(r.Par(0)->FirstIndent, 1008);

  // A first line hanging a grid step left of the margin keeps its place.
  auto hanging = ReadRtf("{\\rtf1\\li720\\fi-864 a}", readertest::AtScreenResolution);
  EXPECT_EQ(hanging.Par(0)->LeftIndent, 720);
  EXPECT_EQ(hanging.Par(0)->FirstIndent, -144);
}

TEST(RtfReader, TabKindsFirstTabOfParagraphRestartsTheList) {
  auto r = ReadRtf("{\\rtf1\\tqr\\tx2880\\tqc\\tx1440\\tqdec\\tx4320 a\\par\\tx720 b}");
  const TTextHeader& h = r.Doc->Header;
  auto kindAt = [&](TTabSet set, int position) {
    for (int i = 0; i < 64; ++i)
      if ((set >> i & 1u) && h.TabPositions[static_cast<std::size_t>(i)] == position)
        return static_cast<int>(h.TabKinds[static_cast<std::size_t>(i)]);
    return -1;
  };
  EXPECT_EQ(kindAt(r.Par(0)->TabSet, 2880), tkRight);
  EXPECT_EQ(kindAt(r.Par(0)->TabSet, 1440), tkCenter);
  EXPECT_EQ(kindAt(r.Par(0)->TabSet, 4320), tkDecimal);
  EXPECT_EQ(kindAt(r.Par(1)->TabSet, 720), tkLeft);
  EXPECT_EQ(kindAt(r.Par(1)->TabSet, 2880), -1);
  // The kind words take a parameter of their own; one naming no kind is ignored.
  auto p = ReadRtf("{\\rtf1\\tqc0\\tx1440\\tqr3\\tx2880\\tqr9\\tx4320 a}");
  const TTextHeader& ph = p.Doc->Header;
  auto kindIn = [&](int position) {
    for (int i = 0; i < 64; ++i)
      if ((p.Par(0)->TabSet >> i & 1u) && ph.TabPositions[static_cast<std::size_t>(i)] == position)
        return static_cast<int>(ph.TabKinds[static_cast<std::size_t>(i)]);
    return -1;
  };
  EXPECT_EQ(kindIn(1440), tkLeft);
  EXPECT_EQ(kindIn(2880), tkDecimal);
  EXPECT_EQ(kindIn(4320), tkLeft);
}

TEST(RtfReader, IndentsFirstLineRelativeAndPardResets) {
  auto r = ReadRtf("{\\rtf1\\li1440\\fi-720\\ri288\\sb100\\sa200\\sl300\\qc a\\par b\\pard c}");
  TParagraph* a = r.Par(0);
  EXPECT_EQ(a->LeftIndent, 1440);
  EXPECT_EQ(a->FirstIndent, 720);
  EXPECT_EQ(a->RightIndent, 288);
  EXPECT_EQ(a->SpaceBefore, 100);
  EXPECT_EQ(a->SpaceAfter, 200);
  EXPECT_EQ(a->LineSpacing, 300);
  EXPECT_EQ(a->Alignment, 2);
  // \pard resets indents and alignment, not spacing.
  TParagraph* b = r.Par(1);
  EXPECT_EQ(r.Text(1), "bc");
  EXPECT_EQ(b->LeftIndent, 0);
  EXPECT_EQ(b->Alignment, 0);
  EXPECT_EQ(b->SpaceAfter, 200);
  // \fi before \li gives the same result.
  auto f = ReadRtf("{\\rtf1\\fi-720\\li1440 a}");
  EXPECT_EQ(f.Par(0)->FirstIndent, 720);
  // A negative left indent counts as 0.
  EXPECT_EQ(ReadRtf("{\\rtf1\\li-500 a}").Par(0)->LeftIndent, 0);
}

TEST(RtfReader, LastParagraphKeepsAttributesFromInsideAGroup) {
  // The writer puts the last paragraph's words inside the document group and
  // writes no \par after it.
  auto r = ReadRtf("{\\rtf1{\\plain a\\par\r\n\\qc\\li720 b}\r\n}");
  EXPECT_EQ(r.Par(0)->Alignment, 0);
  EXPECT_EQ(r.Par(1)->Alignment, 2);
  EXPECT_EQ(r.Par(1)->LeftIndent, 720);
  // A paragraph's properties are the ones in force at its \par.
  auto g = ReadRtf("{\\rtf1{\\qc a}\\par b}");
  EXPECT_EQ(g.Par(0)->Alignment, 0);
}

TEST(RtfReader, StarMakesUnknownGroupSkippedKnownOrPlainUnknownIsRead) {
  auto r = ReadRtf("{\\rtf1 a{\\*\\unknownword hidden{\\b deeper}}b{\\unknownword shown}c{\\*\\b bold}}");
  EXPECT_EQ(r.Text(0), "abshowncbold");
  EXPECT_EQ(r.AttrAt(0, 7).Style, 0);
  EXPECT_EQ(r.AttrAt(0, 8).Style, kStyleBold);
}

TEST(RtfReader, SkippedDestinationsAndEscapedCharacters) {
  auto r = ReadRtf(
      "{\\rtf1{\\stylesheet{\\s1 Heading;}}{\\info{\\author Me}{\\title T}}{\\header h}"
      "a\\{b\\}c\\\\d\\tab e\\line f\\ldblquote g\\rdblquote{\\*\\x \\{skipped\\}}}");
  EXPECT_EQ(r.Text(0), "a{b}c\\d\te\nf\"g\"");
  EXPECT_EQ(r.Doc->Header.Title, "");  // inside \info, which is skipped
}

TEST(RtfReader, FieldResultIsReadAsText) {
  auto r = ReadRtf("{\\rtf1 see {\\field{\\*\\fldinst{HYPERLINK \"http://x\"}}{\\fldrslt{\\ul here}}}.}");
  EXPECT_EQ(r.Text(0), "see here.");
}

TEST(RtfReader, RawModeKeepsRtfSourceVerbatimUntilTheEndWord) {
  auto r = ReadRtf("{\\rtf1 a\\wprtf1{\\b x}\\wprtf0 b}");
  EXPECT_EQ(r.Text(0), "a{\\b x}b");
  for (int i = 1; i <= 6; ++i) EXPECT_EQ(r.AttrAt(0, i).Special, kSpecialRtfCode) << i;
  EXPECT_EQ(r.AttrAt(0, 0).Special, 0);
  EXPECT_EQ(r.AttrAt(0, 7).Special, 0);
}

TEST(RtfReader, RawModeHeldBytesThatBreakOffAreText) {
  // "\wpr" breaks off at 'x'; a backslash that breaks a match may start the end word.
  auto r = ReadRtf("{\\rtf1\\wprtf1 \\wprx\\\\wprtf0 b}");
  EXPECT_EQ(r.Text(0), "\\wprx\\b");
}

TEST(RtfReader, HexEscapesInBothCasesAndOutsidePictures) {
  auto r = ReadRtf("{\\rtf1 caf\\'e9 CAF\\'E9 \\'4a\\'zz41}");
  EXPECT_EQ(r.Text(0), "caf\xE9 CAF\xE9 JA");
}

TEST(RtfReader, HexBytesThatCannotBeTextAreDropped) {
  // 0 would end the line's text early; line ends come only from \line;
  // 1 to 3 are codes of object characters, which the writer never writes
  // as text, raw RTF included.
  EXPECT_EQ(ReadRtf("{\\rtf1 a\\'00b\\'0ac\\'0dd\\'09e\\'01f\\'02\\'03g\x02}").Text(0), "abcd\tefg");
  EXPECT_EQ(ReadRtf("{\\rtf1\\wprtf1 a\x01\x03"
                    "b\\wprtf0}")
                .Text(0),
            "ab");
}

TEST(RtfReader, EscapedCharactersFollowTheDestination) {
  auto r = ReadRtf("{\\rtf1{\\fonttbl{\\f0 A\\{B;}}{\\title x\\}y}\\f0 t}");
  EXPECT_EQ(r.Doc->Header.FontNames[0], "A{B");
  EXPECT_EQ(r.Doc->Header.Title, "x}y");
  EXPECT_EQ(r.Text(0), "t");
}

TEST(RtfReader, ControlWordDelimiters) {
  // A space after a word is consumed; other delimiters are read again; a
  // word of more than 30 letters is cut; "\" before a line end ends the paragraph.
  auto r = ReadRtf(std::string("{\\rtf1\\b1x\\b0  y\\") + std::string(40, 'q') + " z\\\nw\\-v\\\r\nu}");
  EXPECT_EQ(r.AllText(), "x yz|w\xADv|u");
  // Capitals inside a word, as other writers emit them, belong to the word.
  EXPECT_EQ(ReadRtf("{\\rtf1\\trftsWidth3\\mmathPr x}").AllText(), "x");
}

TEST(RtfReader, UnicodeWordIsIgnoredAndItsFallbackInserted) {
  auto r = ReadRtf("{\\rtf1\\uc1 a\\u8364\\'80b\\u-4064?c}");
  EXPECT_EQ(r.Text(0),
            "a\x80"
            "b?c");
}

TEST(RtfReader, ByteZeroEndsReading) {
  auto r = ReadRtf(std::string("{\\rtf1 ab", 9) + std::string(4, '\0') + "cd");
  EXPECT_EQ(r.Text(0), "ab");
  EXPECT_EQ(r.StreamPosition, 10);
}

TEST(RtfReader, ParagraphFlagsPageAndKeep) {
  auto r = ReadRtf("{\\rtf1 a\\par\\page\\keep b\\par c}");
  EXPECT_EQ(r.Par(0)->ParFlags, 0);
  EXPECT_EQ(r.Par(1)->ParFlags, kParPageBreakBefore | kParKeepTogether);
  EXPECT_EQ(r.Par(2)->ParFlags, 0);
}

TEST(RtfReader, BorderWords) {
  auto r = ReadRtf(
      "{\\rtf1{\\brdrt\\brdrb\\brdrdb\\brdrw40\\brsp112\\brdrcf3 a\\par}\\box\\brdrdot b\\par\\brdrl c}");
  TParagraph* a = r.Par(0);
  EXPECT_EQ(a->BorderFlags, kBorderOn | kBorderTop | kBorderBottom | kBorderDouble | kBorderNotInherited);
  EXPECT_EQ(a->BorderWidth, 2);
  EXPECT_EQ(a->BorderSpaceColor, 0x23);
  TParagraph* b = r.Par(1);
  EXPECT_EQ(b->BorderFlags, kBorderOn | kBorderBox);
  EXPECT_EQ(b->BorderStyle, kBorderDotted);
  EXPECT_EQ(b->BorderSpaceColor >> 4, 1);  // box: spacing 1 when none was given
  // The first border word after a paragraph break starts from zero.
  TParagraph* c = r.Par(2);
  EXPECT_EQ(c->BorderFlags & (kBorderLeft | kBorderBox | kBorderTop), kBorderLeft);
}

TEST(RtfReader, BorderGroupEndMarksTheBorderNotInherited) {
  auto r = ReadRtf("{\\rtf1{\\brdrt a}}");
  EXPECT_EQ(r.Par(0)->BorderFlags, kBorderOn | kBorderTop | kBorderNotInherited);
  // Text after the group: the paragraph ends without a border.
  EXPECT_EQ(ReadRtf("{\\rtf1{\\brdrt a}b\\par c}").Par(0)->BorderFlags, 0);
  auto p = ReadRtf("{\\rtf1\\brdrt a\\par\\pard b}");
  EXPECT_EQ(p.Par(0)->BorderFlags & kBorderNotInherited, kBorderNotInherited);
  EXPECT_EQ(p.Par(1)->BorderFlags, 0);
  // A group that ends after the paragraph mark ended the paragraph before
  // it, as the writer closes a border group.
  auto q = ReadRtf("{\\rtf1{\\brdrt a\\par}b}");
  EXPECT_EQ(q.Par(0)->BorderFlags, kBorderOn | kBorderTop | kBorderNotInherited);
  EXPECT_EQ(q.Par(1)->BorderFlags, 0);
}

TEST(RtfReader, Shading) {
  auto r = ReadRtf("{\\rtf1\\shading2500\\cfpat3\\cbpat12 a}");
  EXPECT_EQ(r.Par(0)->Shading, 25);
  EXPECT_EQ(r.Par(0)->ShadingColors, 0xC3);
}

TEST(RtfReader, TableRowWithTwoCells) {
  // Text width 12240 - 1800 - 1800 = 8640.
  auto r = ReadRtf(
      "{\\rtf1\\paperw12240\\margl1800\\margr1800"
      "{\\pard\\trowd\\trgaph108\\trleft0\\clbrdrt\\brdrs\\clbrdrl\\clbrdrb\\clbrdrr\\brdrw20\\clcfpat4\\cell"
      "x2000"
      "\\cellx6000\\intbl A\\par x\\cell\\intbl B\\cell\\row}\r\nafter}");
  ASSERT_EQ(r.Paragraphs().size(), 3u);
  TParagraph* a = r.Par(0);
  TParagraph* b = r.Par(1);
  EXPECT_EQ(r.Text(0), "A\nx");  // \par inside a row breaks the line
  EXPECT_EQ(a->ParFlags, kParTableCell | kParMoreCells);
  EXPECT_EQ(b->ParFlags, kParTableCell | kParNotFirstCell);
  EXPECT_EQ(a->CellStart, 0);
  EXPECT_EQ(a->CellWidth, 85);  // MulDiv(255, 2000, 6000)
  EXPECT_EQ(b->CellStart, 85);
  EXPECT_EQ(b->CellWidth, 170);
  EXPECT_EQ(a->RightIndent, 8640 - 6000);
  EXPECT_EQ(a->BorderFlags & (kBorderBox | kBorderNotInherited | kBorderOn),
            kBorderBox | kBorderNotInherited | kBorderOn);
  EXPECT_EQ(a->BorderWidth, 1);
  EXPECT_EQ(a->ShadingColors, 4);
  EXPECT_EQ(a->BorderSpaceColor >> 4, 1);  // gap 108 twips
  EXPECT_EQ(b->BorderFlags & kBorderOn, 0);
  EXPECT_EQ(r.Text(2), "after");
  EXPECT_EQ(r.Par(2)->ParFlags, 0);
}

TEST(RtfReader, TableCellsWithoutCellxAndMergedCells) {
  auto r = ReadRtf("{\\rtf1\\trowd\\cellx1000\\cellx3000\\clmrg\\intbl A\\cell\\cell B\\cell\\row}");
  EXPECT_EQ(r.Text(0), "A");
  EXPECT_EQ(r.Par(0)->CellWidth, 255);  // merged: spans both cells
  EXPECT_EQ(r.Text(1), "B");
  EXPECT_EQ(r.Par(1)->CellStart, 255);  // no \cellx for a second cell, and no room left
  EXPECT_EQ(r.Par(1)->CellWidth, 0);
  EXPECT_EQ(r.Par(1)->ParFlags, kParTableCell | kParNotFirstCell);
  // A row without any \cellx gives each cell 10/255.
  auto n = ReadRtf("{\\rtf1\\intbl A\\cell B\\cell\\row}");
  EXPECT_EQ(n.Par(1)->CellStart, 10);
  EXPECT_EQ(n.Par(1)->CellWidth, 10);
  // Edges are rounded up and never fall back: zero-width cells stay so.
  auto z = ReadRtf(
      "{\\rtf1\\trowd\\cellx1000\\cellx1000\\cellx999\\cellx3000\\intbl a\\cell b\\cell c\\cell "
      "d\\cell\\row}");
  EXPECT_EQ(z.Par(0)->CellWidth, 85);  // 255 * 1000 / 3000 = 85
  EXPECT_EQ(z.Par(1)->CellWidth, 0);
  EXPECT_EQ(z.Par(2)->CellWidth, 0);
  EXPECT_EQ(z.Par(3)->CellStart, 85);
  EXPECT_EQ(z.Par(3)->CellWidth, 170);
}

TEST(RtfReader, PageBlockAndFacingLandscape) {
  auto r = ReadRtf(
      "{\\rtf1\\paperw15840\\paperh12240\\margl100\\margr200\\margt300\\margb400\\facingp\\landscape x}");
  const TTextHeader& h = r.Doc->Header;
  EXPECT_EQ(h.PageWidth, 15840);
  EXPECT_EQ(h.PageHeight, 12240);
  EXPECT_EQ(h.LeftMargin, 100);
  EXPECT_EQ(h.RightMargin, 200);
  EXPECT_EQ(h.TopMargin, 300);
  EXPECT_EQ(h.BottomMargin, 400);
  EXPECT_TRUE(h.FacingPages);
  EXPECT_TRUE(h.Landscape);
  EXPECT_EQ(ReadRtf("{\\rtf1\\paperh x}").Doc->Header.PageHeight, 15480);
}

TEST(RtfReader, InformationStringsAsTheWriterWritesThem) {
  auto r = ReadRtf("{\\rtf1{\\title My title}{\\subject\tSub}{\\comment\tNote \\'e9}x}");
  EXPECT_EQ(r.Doc->Header.Title, "My title");
  EXPECT_EQ(r.Doc->Header.Subject, "Sub");
  EXPECT_EQ(r.Doc->Header.Comment, "Note \xE9");
  EXPECT_EQ(r.Text(0), "x");
  // A string the header already holds is not replaced.
  auto k = ReadRtf("{\\rtf1{\\title New}x}", [](TWPRTFText& d) { d.Header.Title = "Old"; });
  EXPECT_EQ(k.Doc->Header.Title, "Old");
}

TEST(RtfReader, FootnoteAsTheWriterWritesIt) {
  auto r = ReadRtf(
      "{\\rtf1 Text{\\cs16\\super *{\\*\\footnote \\wpfnnr3 \\pard\\plain \\s15\\widctlpar "
      "\\f4\\fs20\\lang1031 "
      "{\\cs16\\super\t*} The note.}} more}");
  EXPECT_EQ(r.Text(0), "Text* more");
  ASSERT_EQ(r.Doc->Footnotes().size(), 1u);
  const TFootnote& f = *r.Doc->Footnotes()[0];
  EXPECT_EQ(f.Mark, '*');
  EXPECT_EQ(f.Number, 3);
  EXPECT_EQ(f.Text, "The note.");
  const TAttr& mark = r.AttrAt(0, 4);
  EXPECT_EQ(mark.Special & kSpecialFootnote, kSpecialFootnote);
  EXPECT_EQ(mark.Tag, f.Id);
  EXPECT_EQ(mark.Style & kStyleSuperscript, 0);
}

// Which character refers to a note: per character of the first paragraph,
// '.' text, 'o' an object, 'i' an insert point, '1', '2' a reference to the
// first or second note read.
TEST(RtfReader, FootnoteReferencesNeverTakeAnotherCharactersPlace) {
  const struct {
    const char* Rtf;
    std::string Text;
    const char* Marks;
    const char* NoteMarks;
  } cases[] = {
      // A superscript character right before a note is its mark; \chftn
      // gives one, the note's number.
      {"{\\rtf1 a{\\super b}{\\footnote note}c}", "abc", ".1.", "b"},
      {"{\\rtf1 a{\\super\\chftn{\\footnote note}}c}", "a1c", ".1.", "1"},
      // Any other note gets a reference "*" of its own: no text before it
      // becomes a mark, nor does text in another paragraph, an object, an
      // insert point, RTF source or another note.
      {"{\\rtf1{\\*\\footnote note}A}", "*A", "1.", "*"},
      {"{\\rtf1 a{\\footnote note}}", "a*", ".1", "*"},
      {"{\\rtf1 x\\par{\\footnote note}b}", "x", ".", "*"},
      {"{\\rtf1 a{\\pict\\wmetafile8\\picw100\\pich100 0102}{\\footnote note}c}", "a\x01*c", ".o1.", "*"},
      {"{\\rtf1 a{\\footnote one}{\\footnote two}b}", "a**b", ".12.", "**"},
      {"{\\rtf1{\\inspnt5 I}{\\footnote n}}", "I*", "i1", "*"},
      {"{\\rtf1\\wprtf1 }\\wprtf0{\\footnote n}}", "}*", ".1", "*"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Rtf);
    auto r = ReadRtf(c.Rtf);
    ASSERT_EQ(r.Text(0), c.Text);
    const auto& notes = r.Doc->Footnotes();
    std::string marks, noteMarks;
    for (const auto& note : notes) noteMarks += note->Mark;
    for (int i = 0; i < static_cast<int>(c.Text.size()); ++i) {
      const TAttr& a = r.AttrAt(0, i);
      char m = '.';
      if (a.Special & kSpecialFootnote) {
        for (std::size_t n = 0; n < notes.size(); ++n)
          if (notes[n]->Id == a.Tag) m = static_cast<char>('1' + n);
      } else if (a.Special & kSpecialObject) {
        m = r.Doc->FindObject(a.Tag) ? 'o' : '!';
      } else if ((a.Special & kSpecialInsertPoint) && a.Tag == 5) {
        m = 'i';
      }
      marks += m;
    }
    EXPECT_EQ(marks, c.Marks);
    EXPECT_EQ(noteMarks, c.NoteMarks);
  }
}

TEST(RtfReader, PicturesBecomeObjectRecordsWithTheirBytesAndSizes) {
  auto r = ReadRtf(
      "{\\rtf1 "
      "a{\\pict\\wmetafile8\\picw100\\pich50\\picwgoal1440\\pichgoal720\\picscalex50\r\n0102ff\r\nAB}b"
      "{\\pict\\wbitmap0\\wbmbitspixel1\\wbmplanes1\\wbmwidthbytes2\\picw16\\pich1 ffff}}");
  EXPECT_EQ(r.Text(0), std::string("a\x01"
                                   "b\x01",
                                   4));
  ASSERT_EQ(r.Doc->Objects().size(), 2u);
  const TTextObject& meta = *r.Doc->Objects()[0];
  EXPECT_EQ(meta.Id, 2000);
  EXPECT_EQ(meta.Width, 720);
  EXPECT_EQ(meta.Height, 720);
  auto* picture = dynamic_cast<TWPRtfPicture*>(meta.Object);
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->Format, TWPRtfPicture::pfMetafile);
  EXPECT_EQ(picture->Data, std::string("\x01\x02\xff\xab", 4));
  const TAttr& object = r.AttrAt(0, 1);
  EXPECT_EQ(object.Special, kSpecialObject);
  EXPECT_EQ(object.Tag, 2000);
  const TTextObject& bitmap = *r.Doc->Objects()[1];
  EXPECT_EQ(bitmap.Id, 2001);
  EXPECT_EQ(bitmap.Width, 16 * 15);
  auto* bits = dynamic_cast<TWPRtfPicture*>(bitmap.Object);
  ASSERT_NE(bits, nullptr);
  EXPECT_EQ(bits->Format, TWPRtfPicture::pfDdb);
  EXPECT_EQ(bits->Data, "\xff\xff");
  EXPECT_EQ(bits->WidthBytes, 2);
  EXPECT_EQ(bits->PixelWidth(), 16);
}

TEST(RtfReader, DeviceIndependentBitmapGetsAFileHeader) {
  // A 1x1 24-bit bitmap: 40-byte info header and 4 bytes of bits.
  std::string info(40, '\0');
  info[0] = 40;
  info[4] = 1;
  info[8] = 1;
  info[12] = 1;
  info[14] = 24;
  std::string hex;
  for (unsigned char c : info + std::string("\x10\x20\x30\x00", 4)) {
    char two[3];
    std::snprintf(two, sizeof two, "%02x", c);
    hex += two;
  }
  auto r = ReadRtf("{\\rtf1{\\pict\\dibitmap0\\picw1\\pich1 " + hex + "}}");
  ASSERT_EQ(r.Doc->Objects().size(), 1u);
  auto* picture = dynamic_cast<TWPRtfPicture*>(r.Doc->Objects()[0]->Object);
  ASSERT_NE(picture, nullptr);
  ASSERT_EQ(picture->Data.size(), 14u + 44u);
  EXPECT_EQ(picture->Data.substr(0, 2), "BM");
  EXPECT_EQ(static_cast<unsigned char>(picture->Data[2]), 58);
  EXPECT_EQ(static_cast<unsigned char>(picture->Data[10]), 54);  // bits follow the info header
}

TEST(RtfReader, TaggedObjectAndPictureFileReferences) {
  auto r = ReadRtf(
      "{\\rtf1\\wpobjtag77\\wpobjw300\\wpobjh200 \\'01"
      "{\\*\\picfile\\picwgoal600\\pichgoal400 \"C:\\pics\\a.bmp\"}"
      "{\\*\\picfile \"C:\\pics\\a.bmp\"}}");
  ASSERT_EQ(r.Text(0).size(), 3u);
  EXPECT_EQ(r.AttrAt(0, 0).Special, kSpecialObject);
  EXPECT_EQ(r.AttrAt(0, 0).Tag, 77);
  ASSERT_EQ(r.Doc->Objects().size(), 2u);
  EXPECT_EQ(r.Doc->Objects()[0]->Width, 300);
  const TTextObject& file = *r.Doc->Objects()[1];
  EXPECT_EQ(file.FileName, "C:\\pics\\a.bmp");
  EXPECT_EQ(file.Id, 2000);
  EXPECT_EQ(file.Width, 600);
  // The second reference reuses the record.
  EXPECT_EQ(r.AttrAt(0, 1).Tag, 2000);
  EXPECT_EQ(r.AttrAt(0, 2).Tag, 2000);
}

TEST(RtfReader, MarkAsAutomaticAndStartingAttribute) {
  TWPRtfReader reader;
  reader.MarkAsAutomatic = true;
  auto r = readertest::ReadWith(reader, "{\\rtf1 a}", [](TWPRTFText& d) { d.CurrentAttr.Size = 14; });
  EXPECT_EQ(r.AttrAt(0, 0).Special, kSpecialAutomatic);
  EXPECT_EQ(r.AttrAt(0, 0).Size, 14);
}

TEST(RtfReader, ReadsIntoANewStandaloneChain) {
  TWPRTFText doc;
  TWPRtfReader reader;
  reader.SetTarget(&doc.Header, &doc);
  TMemoryStream stream(std::string("{\\rtf1 one\\par two}"));
  TParagraph* chain = nullptr;
  EXPECT_EQ(reader.Read(&stream, chain), 0);
  ASSERT_NE(chain, nullptr);
  EXPECT_EQ(chain->Text(), "one");
  ASSERT_NE(chain->Next, nullptr);
  EXPECT_EQ(chain->Next->Text(), "two");
  EXPECT_EQ(chain->FirstLine->Capacity, 6);  // shrunk to its length + 2
  FreeParagraphChain(chain);
}

TEST(RtfReader, WrongArgumentsWithoutHeaderOrDocument) {
  TWPRtfReader reader;
  TMemoryStream stream(std::string("{\\rtf1 x}"));
  TParagraph* chain = nullptr;
  try {
    reader.Read(&stream, chain);
    FAIL() << "no error";
  } catch (const EReaderError& e) {
    EXPECT_STREQ(e.what(), "Wrong Arguments in\tTWPRTFReader");
  }
  EXPECT_EQ(chain, nullptr);
}

TEST(RtfReader, ReportsProgressThroughTheEngineHook) {
  static std::vector<int> reported;
  reported.clear();
  TWPProgress::Reset();
  TWPProgress::SetHook([](std::intptr_t, int percent) { reported.push_back(percent); }, 0);
  std::string rtf = "{\\rtf1 ";
  for (int i = 0; i < 500; ++i) rtf += "some text\\par ";
  rtf += "}";
  auto r = ReadRtf(rtf);
  TWPProgress::SetHook(nullptr, 0);
  ASSERT_GE(reported.size(), 3u);
  EXPECT_GT(reported[0], 0);
  EXPECT_LT(reported[0], 100);
  EXPECT_EQ(reported[reported.size() - 2], 100);
  EXPECT_EQ(reported.back(), 0);
  EXPECT_EQ(TWPProgress::Depth(), 0);
}
