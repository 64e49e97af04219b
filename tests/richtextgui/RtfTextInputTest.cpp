// The editing level of a document: attribute masks, protection, positions
// and what an edit asks to be repainted.
#include <QRect>
#include <vector>

#include "richtextgui/EditorTestSupport.h"

namespace {

using edittest::TFocusedEditor;

// The record every character starts with, and the values that are set.
TAttr Original() {
  TAttr a{};
  a.Size = 10;
  a.Colors = 0x21;
  a.Style = kStyleBold | kStyleSubscript;
  a.Special = kSpecialProtected;
  return a;
}

TAttr NewValues() {
  TAttr a{};
  a.FontIndex = 1;
  a.Size = 14;
  a.Colors = 0x53;
  a.Style = kStyleBold | kStyleItalic | kStyleSuperscript;
  return a;
}

struct TMaskCase {
  int Mask;
  std::uint8_t FontIndex, Size, Colors, Style, Special;
};

// What each mask makes of Original() with NewValues().
const TMaskCase kMaskCases[] = {
    {wpam::Font, 1, 10, 0x21, 0x81, 0x02},
    {wpam::Size, 0, 14, 0x21, 0x81, 0x02},
    {wpam::TextColor, 0, 10, 0x23, 0x81, 0x02},
    {wpam::BackgroundColor, 0, 10, 0x51, 0x81, 0x02},
    // Adding superscript takes subscript away.
    {wpam::AddStyle, 0, 10, 0x21, 0x43, 0x02},
    {wpam::ReplaceStyle, 0, 10, 0x21, 0x43, 0x02},
    {wpam::ReplaceFontStyle, 0, 10, 0x21, 0x43, 0x02},
    {wpam::RemoveStyle, 0, 10, 0x21, 0x80, 0x02},
};

class AttributeMask : public TFocusedEditor, public ::testing::WithParamInterface<TMaskCase> {};

TEST_P(AttributeMask, ChangesOnlyTheSelectedRecords) {
  const TMaskCase& c = GetParam();
  Load("abc|def");
  Editor.FontNumber("Times New Roman");
  const TAttr original = Original();
  for (TParagraph* par = Doc().FirstParagraph; par; par = par->Next)
    for (int i = 0; i < 3; ++i) par->FirstLine->Attrs[i] = original;
  Doc().ReformatAll();
  Editor.SetCaretPosition(1);
  Press("{S-Right}{S-Right}{S-Right}{S-Right}{S-Right}");  // "bc", the paragraph end, "de"
  ASSERT_EQ(Editor.SelLength(), 5);
  const int height = Doc().FirstParagraph->FirstLine->Height;
  Doc().SetAttributes(c.Mask, NewValues());

  int index = 0;
  for (TParagraph* par = Doc().FirstParagraph; par; par = par->Next) {
    for (int i = 0; i < 3; ++i, ++index) {
      const TAttr& r = par->FirstLine->Attrs[i];
      const bool selected = index >= 1 && index <= 4;
      EXPECT_EQ(r.FontIndex, selected ? c.FontIndex : original.FontIndex) << index;
      EXPECT_EQ(r.Size, selected ? c.Size : original.Size) << index;
      EXPECT_EQ(r.Colors, selected ? c.Colors : original.Colors) << index;
      EXPECT_EQ(r.Style, selected ? c.Style : original.Style) << index;
      EXPECT_EQ(r.Special, selected ? c.Special : original.Special) << index;
    }
  }
  // The insertion point follows, and changed characters are measured anew.
  EXPECT_EQ(Doc().CurrentAttr.Style & kStyleSuperscript, c.Style & kStyleSuperscript);
  if (c.Mask == wpam::Size) {
    EXPECT_GT(Doc().FirstParagraph->FirstLine->Height, height);
  }
}

INSTANTIATE_TEST_SUITE_P(Editor, AttributeMask, ::testing::ValuesIn(kMaskCases),
                         [](const auto& info) { return "Mask" + std::to_string(info.param.Mask); });

using EditorDocument = TFocusedEditor;

TEST_F(EditorDocument, BoldWithoutSelectionChangesOnlyTheInsertionPoint) {
  Load("ab");
  Editor.SetCaretPosition(1);
  TAttr bold{};
  bold.Style = kStyleBold;
  Doc().SetAttributes(wpam::AddStyle, bold);
  const TLine* line = Doc().FirstParagraph->FirstLine;
  EXPECT_FALSE(line->Attrs[0].Style & kStyleBold);
  EXPECT_FALSE(line->Attrs[1].Style & kStyleBold);
  EXPECT_TRUE(Doc().CurrentAttr.Style & kStyleBold);
  Press("x");
  EXPECT_TRUE(line->Attrs[1].Style & kStyleBold);
  // Moving the caret takes the attributes of the text there.
  Press("{End}");
  EXPECT_FALSE(Doc().CurrentAttr.Style & kStyleBold);
}

TEST_F(EditorDocument, CaretPositionsCountParagraphEnds) {
  Load("ab|cd|");
  struct {
    int Set, Get, Paragraph, Index;
  } const cases[] = {{0, 0, 0, 0}, {2, 2, 0, 2},  {3, 3, 1, 0}, {5, 5, 1, 2},
                     {6, 6, 2, 0}, {-5, 0, 0, 0}, {99, 6, 2, 0}};
  for (const auto& c : cases) {
    Editor.SetCaretPosition(c.Set);
    EXPECT_EQ(Editor.GetCaretPosition(), c.Get) << c.Set;
    EXPECT_EQ(Doc().CursorParagraph, Doc().ParagraphAt(c.Paragraph)) << c.Set;
    EXPECT_EQ(Doc().CursorIndex, c.Index) << c.Set;
  }
}

TEST_F(EditorDocument, ProtectedTextRefusesTypingDeleteAndSelectionDeletion) {
  Load("abPQcd");
  TLine* line = Doc().FirstParagraph->FirstLine;
  line->Attrs[2].Special |= kSpecialProtected;
  line->Attrs[3].Special |= kSpecialProtected;
  Editor.SetProtectedProp({ppProtected});
  std::vector<std::string> reported;
  Editor.OnProtectedChange = [&](TWPCustomRtfEdit*, const std::string& text, int) {
    reported.push_back(text);
  };
  int changes = 0;
  Editor.OnChange = [&](TWPCustomRtfEdit*) { ++changes; };

  Editor.SetCaretPosition(3);
  Press("x");
  Editor.SetCaretPosition(2);
  Press("{Del}");
  Editor.SetCaretPosition(1);
  Press("{S-Right}{S-Right}{S-Right}{S-Right}{BS}");
  EXPECT_EQ(Text(), "abPQcd");
  EXPECT_EQ(reported, (std::vector<std::string>{"PQ", "PQ", "PQ"}));
  EXPECT_EQ(changes, 0);
  // The refused deletion leaves the caret on the first protected character.
  EXPECT_EQ(Editor.GetCaretPosition(), 2);
  EXPECT_EQ(Editor.SelLength(), 0);
}

TEST_F(EditorDocument, TypingRepaintsOnlyTheChangedLine) {
  Load("one|two|three");
  std::vector<QRect> rects;
  int whole = 0;
  TWPRTFTextInput& doc = Doc();
  doc.OnInvalidateRect = [&](const QRect& rect) { rects.push_back(rect); };
  doc.OnInvalidate = [&] { ++whole; };
  Editor.SetCaretPosition(6);
  for (TParagraph* par = doc.FirstParagraph; par; par = par->Next) par->FirstLine->LineFlags = 0;
  rects.clear();
  EXPECT_EQ(doc.InputString("x"), rpChangedLines);
  EXPECT_EQ(rects, std::vector<QRect>{doc.LineRect(doc.FirstParagraph->Next->FirstLine)});
  EXPECT_EQ(whole, 0);
  // A new paragraph moves every line below it.
  EXPECT_EQ(doc.InputString("\r"), rpAll);
  EXPECT_EQ(whole, 1);
}

TEST_F(EditorDocument, PaintingALineSettlesItsChange) {
  Editor.resize(120, 120);
  Load("one two three four five six seven eight nine");
  TWPRTFTextInput& doc = Doc();
  TLine* first = doc.FirstParagraph->FirstLine;
  ASSERT_TRUE(first->Next && first->Next->Next);
  TLine* third = first->Next->Next;
  std::vector<QRect> rects;
  doc.OnInvalidateRect = [&](const QRect& rect) { rects.push_back(rect); };
  Editor.SetCaretPosition(1);
  Press("x");
  QImage image(Editor.size(), QImage::Format_RGB32);
  Editor.render(&image);
  EXPECT_FALSE(first->LineFlags & kLineChanged);
  rects.clear();
  Editor.SetCaretPosition(doc.PositionOf(doc.FirstParagraph, third, third->Length));
  Press("y");
  EXPECT_EQ(rects, std::vector<QRect>{doc.LineRect(third)});
}

TEST_F(EditorDocument, ClearWritesInTheControlsFont) {
  TWPFont font;
  font.Name = "Arial";
  font.Size = 10;
  font.Style = kStyleBold;
  font.Color = 0x0000FF;  // red, colour 1
  Editor.SetFont(font);
  Editor.Clear();
  Press("x");
  const TAttr& typed = Doc().FirstParagraph->FirstLine->Attrs[0];
  EXPECT_EQ(Doc().Header.FontNames[typed.FontIndex], "Arial");
  EXPECT_EQ(typed.Size, 10);
  EXPECT_EQ(typed.TextColor(), 1);
  EXPECT_EQ(typed.Style, kStyleBold);
}

TEST_F(EditorDocument, SetIndentsChangesTheSelectedParagraphsAndKeepsMarkedValues) {
  Load("a|b|c");
  Editor.SetCaretPosition(2);
  Press("{S-Down}");
  int changes = 0;
  Editor.OnChange = [&](TWPCustomRtfEdit*) { ++changes; };
  Editor.SetIndents(100, 200, -1000);
  Editor.SetIndents(65000, -1000, 300);
  const TParagraph* first = Doc().FirstParagraph;
  const TParagraph* second = first->Next;
  const TParagraph* third = second->Next;
  EXPECT_EQ(first->LeftIndent, 0);
  for (const TParagraph* par : {second, third}) {
    EXPECT_EQ(par->FirstIndent, 100);
    EXPECT_EQ(par->LeftIndent, 200);
    EXPECT_EQ(par->RightIndent, 300);
  }
  EXPECT_EQ(second->FirstLine->Top + second->FirstLine->Height, third->FirstLine->Top);
  EXPECT_EQ(changes, 2);
}

TEST_F(EditorDocument, SetTextLoadsRtfOrPlainTextAndEmptyClears) {
  int changes = 0;
  Editor.OnChange = [&](TWPCustomRtfEdit*) { ++changes; };
  Editor.SetText("{\\rtf1 {\\b bold}\\par next}");
  EXPECT_EQ(Text(), "bold|next");
  EXPECT_TRUE(Doc().FirstParagraph->FirstLine->Attrs[0].Style & kStyleBold);
  Editor.SetText("plain\r\ntext");
  EXPECT_EQ(Text(), "plain|text");
  EXPECT_EQ(changes, 2);
  Editor.SetText("");
  EXPECT_EQ(Text(), "");
}

}  // namespace
