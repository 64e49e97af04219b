// The editor control driven as a user drives it: keys, typed characters,
// the mouse, the focus and the clipboard.
#include <QClipboard>
#include <QMimeData>

#include "richtextgui/EditorTestSupport.h"

namespace {

using edittest::TFocusedEditor;

struct TKeyCase {
  const char* Name;
  const char* Text;  // paragraphs separated by '|'
  int Caret;
  const char* Keys;
  const char* Expected;
  int ExpectedCaret;
};

// Each case starts from Text with the caret at Caret, presses Keys and
// expects the document and the caret.
const TKeyCase kKeyCases[] = {
    {"TypingInserts", "ab", 1, "xy", "axyb", 3},
    {"OverwriteReplaces", "abcd", 1, "{Ins}xy{Ins}z", "axyzd", 4},
    {"BackspaceAtDocumentStartDoesNothing", "ab|cd", 0, "{BS}", "ab|cd", 0},
    {"BackspaceAtParagraphStartJoins", "ab|cd", 3, "{BS}", "abcd", 2},
    {"BackspaceRemovesTheCharacterBefore", "abc", 2, "{BS}", "ac", 1},
    {"DeleteRemovesTheCharacterAfter", "abc", 1, "{Del}", "ac", 1},
    {"DeleteAtParagraphEndJoins", "ab|cd", 2, "{Del}", "abcd", 2},
    {"DeleteAtDocumentEndKeepsText", "ab|cd", 5, "{Del}", "ab|cd", 5},
    {"EnterSplits", "abcd", 2, "{Enter}", "ab|cd", 3},
    {"EnterAtDocumentStartAddsAParagraphInFront", "ab", 0, "{Enter}", "|ab", 1},
    {"RightAtDocumentEndStays", "ab|cd", 5, "{Right}", "ab|cd", 5},
    {"LeftAtDocumentStartStays", "ab", 0, "{Left}", "ab", 0},
    {"RightCrossesParagraphEnd", "ab|cd", 2, "{Right}x", "ab|xcd", 4},
    {"HomeAndEnd", "abc|def", 4, "{End}x{Home}y", "abc|ydefx", 5},
    {"CtrlHomeAndCtrlEnd", "abc|def", 4, "{C-End}x{C-Home}y", "yabc|defx", 1},
    {"WordRightStopsAfterWords", "one, two...three", 0, "{C-Right}1{C-Right}2{C-Right}3",
     "one1, two2...three3", 19},
    {"WordLeftStopsAtWordStarts", "one, two...three", 16, "{C-Left}{C-Left}", "one, two...three", 5},
    {"WordLeftReachesTheLineStart", "one, two...three", 16, "{C-Left}{C-Left}{C-Left}{C-Left}",
     "one, two...three", 0},
    {"WordRightCrossesToTheNextLine", "ab|cd", 2, "{C-Right}x", "ab|xcd", 4},
    {"WordLeftCrossesToThePreviousLine", "ab|cd", 3, "{C-Left}x", "abx|cd", 3},
    {"TypingReplacesTheSelection", "abcdef", 1, "{S-Right}{S-Right}x", "axdef", 2},
    {"ShiftBackOverTheAnchor", "abcdef", 3, "{S-Right}{S-Left}{S-Left}{S-Left}x", "axdef", 2},
    {"SelectionAcrossParagraphsDeletes", "abc|def", 2, "{S-Down}{BS}", "abf", 2},
    {"ArrowWithoutShiftDropsTheSelection", "abcdef", 1, "{S-Right}{S-Right}{Right}x", "abcdxef", 5},
    {"EscapeDropsTheSelection", "abcdef", 1, "{S-Right}{Esc}x", "abxcdef", 3},
    {"TabInsertsATab", "ab", 1, "{Tab}", "a\tb", 2},
    {"CtrlLettersAreNotText", "ab", 1, "{C-A}{C-X}", "ab", 1},
};

class KeyTable : public TFocusedEditor, public ::testing::WithParamInterface<TKeyCase> {};

TEST_P(KeyTable, EditsAndPlacesTheCaret) {
  const TKeyCase& c = GetParam();
  Load(c.Text);
  Editor.SetCaretPosition(c.Caret);
  Press(c.Keys);
  EXPECT_EQ(Text(), c.Expected);
  EXPECT_EQ(Editor.GetCaretPosition(), c.ExpectedCaret);
}

INSTANTIATE_TEST_SUITE_P(Editor, KeyTable, ::testing::ValuesIn(kKeyCases),
                         [](const auto& info) { return std::string(info.param.Name); });

using EditorKeys = TFocusedEditor;

TEST_F(EditorKeys, ShiftArrowsSelectFromTheAnchorAndBackOverIt) {
  Load("abcdef");
  Editor.SetCaretPosition(2);
  Press("{S-Right}{S-Right}");
  EXPECT_EQ(Editor.SelStart(), 2);
  EXPECT_EQ(Editor.SelLength(), 2);
  EXPECT_FALSE(Doc().SelectionBackwards);
  Press("{S-Left}{S-Left}{S-Left}{S-Left}");
  EXPECT_EQ(Editor.SelStart(), 0);
  EXPECT_EQ(Editor.SelLength(), 2);
  EXPECT_TRUE(Doc().SelectionBackwards);
  EXPECT_EQ(Doc().SelStartIndex, 2);  // the anchor stays
}

TEST_F(EditorKeys, UpAndDownKeepTheDesiredColumnOverAShorterLine) {
  Load("0123456789abcdef|ab|0123456789abcdef");
  // One width for every character: the column is a character count.
  TAttr mono{};
  mono.FontIndex = static_cast<std::uint8_t>(Editor.FontNumber("Courier New"));
  mono.Size = 10;
  Editor.SelectAll();
  Doc().SetAttributes(wpam::Font, mono);
  Editor.SetCaretPosition(10);
  Press("{Down}");
  EXPECT_EQ(Editor.GetCaretPosition(), 17 + 2);  // the end of the short line
  Press("{Down}");
  EXPECT_EQ(Editor.GetCaretPosition(), 20 + 10);
  Press("{Up}{Up}");
  EXPECT_EQ(Editor.GetCaretPosition(), 10);
  Press("{End}{Down}{Down}");
  EXPECT_EQ(Editor.GetCaretPosition(), 20 + 16);  // after End: the end of every line
}

TEST_F(EditorKeys, CtrlEnterTogglesAPageBreak) {
  Load("ab|cd");
  Editor.SetCaretPosition(3);
  Press("{C-Enter}");
  const TParagraph* second = Doc().FirstParagraph->Next;
  EXPECT_TRUE(second->ParFlags & kParPageBreakBefore);
  Press("{C-Enter}");
  EXPECT_FALSE(second->ParFlags & kParPageBreakBefore);
  EXPECT_EQ(Text(), "ab|cd");
  // Inside a paragraph it splits, and the new paragraph starts a page.
  Editor.SetCaretPosition(1);
  Press("{C-Enter}");
  EXPECT_EQ(Text(), "a|b|cd");
  EXPECT_TRUE(Doc().FirstParagraph->Next->ParFlags & kParPageBreakBefore);
  EXPECT_EQ(Editor.GetCaretPosition(), 2);
}

TEST_F(EditorKeys, DeleteAtTheDocumentEndClearsTheFrameNotTheText) {
  Load("ab|cd");
  TParagraph* last = Doc().FirstParagraph->Next;
  last->BorderFlags = kBorderOn | kBorderBox;
  last->BorderStyle = kBorderDotted;
  last->ShadingColors = 0x30;
  last->Shading = 20;
  Press("{C-End}{Del}");
  EXPECT_EQ(Text(), "ab|cd");
  EXPECT_EQ(last->BorderFlags, 0);
  EXPECT_EQ(last->BorderStyle, 0);
  EXPECT_EQ(last->ShadingColors, 0);
  EXPECT_EQ(last->Shading, 0);
}

TEST_F(EditorKeys, OnChangeFollowsEverySuccessfulChangeOnly) {
  Load("ab");
  int changes = 0;
  Editor.OnChange = [&](TWPCustomRtfEdit*) { ++changes; };
  Press("x{BS}{Right}");
  EXPECT_EQ(changes, 2);
  Press("{C-Home}{BS}");  // nothing to delete
  EXPECT_EQ(changes, 2);
  Editor.SetReadOnly(true);
  Press("y{Del}{Enter}");
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(Text(), "ab");
}

TEST_F(EditorKeys, KeyPressHandlerSeesCtrlLettersAsControlCodesAndMaySwallowThem) {
  Load("ab");
  std::string seen;
  Editor.OnKeyPress = [&](TWPCustomRtfEdit* sender, char& key) {
    seen += key;
    if (key == 1) {  // Ctrl+A selects all, as the label editor does
      static_cast<TWPRichText*>(sender)->SelectAll();
      key = 0;
    }
  };
  Press("{C-A}x");
  EXPECT_EQ(seen, std::string("\x01x"));
  EXPECT_EQ(Text(), "x");
}

TEST_F(EditorKeys, TabsAndTheirEvents) {
  Load("ab");
  int shiftTabs = 0, ctrlTabs = 0;
  Editor.ShiftTabPressed = [&](TWPCustomRtfEdit*) { ++shiftTabs; };
  Editor.CtrlTabPressed = [&](TWPCustomRtfEdit*) { ++ctrlTabs; };
  Press("{S-Tab}{C-Tab}");
  EXPECT_EQ(shiftTabs, 1);
  EXPECT_EQ(ctrlTabs, 1);
  EXPECT_EQ(Text(), "ab");
  // Without WantTabs a Tab leaves the text alone (it moves the focus).
  Editor.WantTabs = false;
  Press("{Tab}");
  EXPECT_EQ(Text(), "ab");
}

TEST_F(EditorKeys, ClickWithoutMovementClearsTheSelectionAndDragSelects) {
  Load("abcdef");
  Editor.SelectAll();
  const TWPRTFTextInput& doc = Doc();
  TLine* line = doc.FirstParagraph->FirstLine;
  const int y = line->Top + line->Height / 2;
  auto xOf = [&](int offset) { return Doc().XOfOffset(doc.FirstParagraph, line, offset); };
  QTest::mouseClick(&Editor, Qt::LeftButton, {}, QPoint(xOf(2), y));
  EXPECT_EQ(Editor.SelLength(), 0);
  EXPECT_EQ(Editor.GetCaretPosition(), 2);

  QTest::mousePress(&Editor, Qt::LeftButton, {}, QPoint(xOf(1), y));
  QMouseEvent move(QEvent::MouseMove, QPointF(xOf(4), y), Editor.mapToGlobal(QPointF(xOf(4), y)),
                   Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&Editor, &move);
  QTest::mouseRelease(&Editor, Qt::LeftButton, {}, QPoint(xOf(4), y));
  EXPECT_EQ(Editor.SelStart(), 1);
  EXPECT_EQ(Editor.SelLength(), 3);
}

TEST_F(EditorKeys, CaretExistsOnlyWhileFocusedAndNotDisabled) {
  Load("ab");
  EXPECT_TRUE(Editor.Caret().Shown());
  Press("{End}");
  const QRect caret = Editor.Caret().Rect();
  EXPECT_EQ(caret.x(), Doc().XOfOffset(Doc().FirstParagraph, Doc().FirstParagraph->FirstLine, 2));
  EXPECT_EQ(caret.height(), Doc().FirstParagraph->FirstLine->Height);
  Editor.SetCaretDisabled(true);
  EXPECT_FALSE(Editor.Caret().Shown());
  Editor.SetCaretDisabled(false);
  EXPECT_TRUE(Editor.Caret().Shown());
  Editor.clearFocus();
  EXPECT_FALSE(Editor.Caret().Shown());
  // A caret scrolled out of the window lies out of sight.
  Doc().ScrollTop = 500;
  Doc().UpdateCaret();
  EXPECT_EQ(Editor.Caret().Rect().x(), TWPRTFTextInput::kCaretOutOfSight);
}

// Window point over the middle of a character of the first line.
QPoint PointAt(TWPRTFTextInput& doc, int offset) {
  TLine* line = doc.FirstParagraph->FirstLine;
  const int left = doc.XOfOffset(doc.FirstParagraph, line, offset);
  const int right = doc.XOfOffset(doc.FirstParagraph, line, offset + 1);
  return QPoint((left + right) / 2, line->Top + line->Height / 2);
}

TEST_F(EditorKeys, MouseReportsHyperlinksAndTheRunUnderTheRightButton) {
  Load("go here now");
  TLine* line = Doc().FirstParagraph->FirstLine;
  for (int i = 3; i < 7; ++i) {
    line->Attrs[i].Style |= kStyleHyperlink;
    line->Attrs[i].Tag = 42;
  }
  std::vector<std::pair<std::string, int>> links;
  Editor.HyperLinkEvent = [&](TWPCustomRtfEdit*, const std::string& text, int tag) {
    links.push_back({text, tag});
  };
  QTest::mouseClick(&Editor, Qt::LeftButton, {}, PointAt(Doc(), 4));
  EXPECT_TRUE(links.empty());  // one click places the caret
  EXPECT_EQ(Editor.GetCaretPosition(), 4);
  QTest::mouseDClick(&Editor, Qt::LeftButton, {}, PointAt(Doc(), 4));
  Editor.OneClickHyperlink = true;
  QTest::mouseClick(&Editor, Qt::LeftButton, {}, PointAt(Doc(), 6));
  QTest::mouseClick(&Editor, Qt::LeftButton, {}, PointAt(Doc(), 1));
  EXPECT_EQ(links, (std::vector<std::pair<std::string, int>>{{"here", 42}, {"here", 42}}));

  TTextUnderPoint under;
  Editor.OnMouseDownRight = [&](TWPCustomRtfEdit*, Qt::MouseButton, Qt::KeyboardModifiers, int, int,
                                const TTextUnderPoint& u) { under = u; };
  QTest::mousePress(&Editor, Qt::RightButton, {}, PointAt(Doc(), 9));
  EXPECT_EQ(under.Text, " now");
  EXPECT_EQ(under.Position, 7);
  EXPECT_EQ(under.Length, 4);
}

TEST_F(EditorKeys, NoBlockMarkingMovesWithoutSelecting) {
  Load("abcdef");
  Editor.SetNoBlockMarking(true);
  Press("{S-Right}{S-Right}");
  EXPECT_EQ(Editor.GetCaretPosition(), 2);
  EXPECT_EQ(Editor.SelLength(), 0);
  QTest::mousePress(&Editor, Qt::LeftButton, {}, PointAt(Doc(), 0));
  QMouseEvent move(QEvent::MouseMove, PointAt(Doc(), 4), Editor.mapToGlobal(QPointF(PointAt(Doc(), 4))),
                   Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&Editor, &move);
  EXPECT_EQ(Editor.SelLength(), 0);
  EXPECT_EQ(Editor.GetCaretPosition(), 4);
}

TEST_F(EditorKeys, TheViewFollowsTheCaretAndScrollsWithoutIt) {
  Editor.resize(200, 40);
  Load("1|2|3|4|5|6|7|8|9|10");
  TWPRTFTextInput& doc = Doc();
  Press("{C-End}");
  const TLine* last = doc.CursorLine;
  EXPECT_GT(doc.ScrollTop, 0);
  EXPECT_LE(last->Top - doc.ScrollTop + last->Height, Editor.ClientHeight());
  const int caret = Editor.GetCaretPosition();
  Press("{C-PgUp}");
  EXPECT_EQ(Editor.GetCaretPosition(), caret);
  EXPECT_GE(last->Top - doc.ScrollTop, Editor.ClientHeight());  // the caret line is out of view
  const int top = doc.ScrollTop;
  doc.VertScrollCommand(scLineDown);
  EXPECT_EQ(doc.ScrollTop, top + TWPRTFTextInput::kScrollLine);
  // A wrapping editor never scrolls sideways, not even for a caret at the
  // right end of a right-aligned line.
  Doc().FirstParagraph->Alignment = paRight;
  Doc().FirstParagraph->ParState |= kParNeedsBoth;
  Press("{C-Home}{End}");
  EXPECT_EQ(doc.HorzOffset, 0);
  EXPECT_GE(Editor.Caret().Rect().x(), 0);
  Press("{C-End}{C-PgUp}{Up}");  // the caret comes back into view
  EXPECT_GE(doc.CursorLine->Top, doc.ScrollTop);
  EXPECT_LE(doc.CursorLine->Top + doc.CursorLine->Height, doc.ScrollTop + Editor.ClientHeight());
}

TEST_F(EditorKeys, FocusReportsTheEditStateAndAFontGivenToTheControlFormatsTheSelection) {
  Load("abc");
  Editor.SelectAll();
  QGuiApplication::clipboard()->setText("x");
  std::vector<std::pair<bool, bool>> states;
  Editor.EditStateEvent = [&](TWPCustomRtfEdit*, bool selection, bool text) {
    states.push_back({selection, text});
  };
  Editor.clearFocus();
  Editor.setFocus();
  EXPECT_EQ(states, (std::vector<std::pair<bool, bool>>{{true, true}}));

  QFont font("Times New Roman", 14);
  font.setBold(true);
  Editor.setFont(font);
  const TAttr& a = Doc().FirstParagraph->FirstLine->Attrs[1];
  EXPECT_EQ(Doc().Header.FontNames[a.FontIndex], "Times New Roman");
  EXPECT_EQ(a.Size, 14);
  EXPECT_EQ(a.Style, kStyleBold);
}

TEST_F(EditorKeys, TheHandleOfASelectedObjectResizesIt) {
  Load("ab");
  Editor.SetCaretPosition(1);
  QImage image(20, 10, QImage::Format_RGB32);
  image.fill(Qt::blue);
  QGuiApplication::clipboard()->setImage(image);
  Press("{C-V}{Left}{S-Right}");
  QImage shown(Editor.size(), QImage::Format_RGB32);
  Editor.render(&shown);  // painting finds where the selected object is
  const QRect object = Doc().SelectedObjectRect;
  ASSERT_EQ(object.size(), QSize(20, 10));
  QTest::mousePress(&Editor, Qt::LeftButton, {}, object.bottomRight());
  const QPointF to = object.bottomRight() + QPointF(11, 6);
  QMouseEvent move(QEvent::MouseMove, to, Editor.mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                   Qt::NoModifier);
  QApplication::sendEvent(&Editor, &move);
  QTest::mouseRelease(&Editor, Qt::LeftButton, {}, to.toPoint());
  const TTextObject* record = Doc().SelectedObject(nullptr);
  ASSERT_TRUE(record);
  EXPECT_EQ(record->Width, 30 * 1440 / 96);
  EXPECT_EQ(record->Height, 15 * 1440 / 96);
  EXPECT_EQ(Doc().FirstParagraph->FirstLine->Attrs[1].Width, 30);
}

// ---------------------------------------------------------------------------
// Clipboard

using EditorClipboard = TFocusedEditor;

TEST_F(EditorClipboard, CopyOffersRtfUnderBothNamesAndUnicodeText) {
  Load(
      "a\x80"
      "b|cd");
  Press("{Right}{S-Right}{S-Right}{S-Right}{S-Right}{C-C}");
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  ASSERT_TRUE(data);
  EXPECT_TRUE(data->data("text/rtf").startsWith("{\\rtf1"));
  EXPECT_EQ(data->data("text/richtext"), data->data("text/rtf"));
  EXPECT_EQ(data->text(), QString::fromUtf8("\u20acb\nc"));
  // A handler may refuse the copy.
  QGuiApplication::clipboard()->clear();
  Editor.OnBeforeCopyEvent = [](TWPCustomRtfEdit*, bool& doIt) { doIt = false; };
  EXPECT_FALSE(Editor.CopyToClipboard());
  const QMimeData* after = QGuiApplication::clipboard()->mimeData();
  EXPECT_TRUE(!after || !after->hasText());
}

TEST_F(EditorClipboard, RichTextRoundTripsIntoAnotherEditor) {
  Load("plain bold|second");
  TAttr bold{};
  bold.Style = kStyleBold | kStyleUnderline;
  bold.Size = 14;
  bold.Colors = 0x31;
  Editor.SetCaretPosition(6);
  Press("{S-End}");
  Doc().SetAttributes(wpam::ReplaceFontStyle | wpam::Size | wpam::TextColor | wpam::BackgroundColor, bold);
  Doc().FirstParagraph->Next->Alignment = paCenter;
  Editor.SelectAll();
  Press("{C-C}");

  TWPRichText other;
  other.resize(320, 120);
  other.PasteFromClipboard();
  EXPECT_EQ(edittest::Text(*other.RtfText()), Text());
  const TParagraph* mine = Doc().FirstParagraph;
  const TParagraph* theirs = other.RtfText()->FirstParagraph;
  for (; mine && theirs; mine = mine->Next, theirs = theirs->Next) {
    EXPECT_EQ(theirs->Alignment, mine->Alignment);
    const std::string text = mine->Text();
    for (int i = 0; i < static_cast<int>(text.size()); ++i) {
      const TAttr& a = mine->FirstLine->Attrs[i];
      const TAttr& b = theirs->FirstLine->Attrs[i];
      EXPECT_EQ(b.Style, a.Style) << i;
      EXPECT_EQ(b.Size, a.Size) << i;
      EXPECT_EQ(b.Colors, a.Colors) << i;
      EXPECT_EQ(other.RtfText()->Header.FontNames[b.FontIndex], Doc().Header.FontNames[a.FontIndex]) << i;
    }
  }
  // A part of one paragraph pastes into the caret's paragraph, without a break.
  Editor.SetCaretPosition(1);
  Press("{S-Right}{S-Right}{C-C}{C-End}{C-V}");
  EXPECT_EQ(Text(), "plain bold|secondla");
  EXPECT_EQ(Editor.GetCaretPosition(), 19);
  EXPECT_FALSE(Doc().FirstParagraph->Next->FirstLine->Attrs[6].Style & kStyleBold);
}

TEST_F(EditorClipboard, RichTextFromOtherProgramsKeepsItsLookAndChangesNothingElse) {
  Load("ab");
  Doc().FirstParagraph->FirstLine->Attrs[0].Colors = 3;  // blue
  const auto colors = Doc().Header.Colors;
  const auto page = std::pair{Doc().Header.PageWidth, Doc().Header.PageHeight};
  // Another program's table starts with the automatic colour; \cf2 is its red.
  auto* data = new QMimeData;
  data->setData("text/rtf",
                "{\\rtf1\\ansi{\\fonttbl{\\f0\\froman Times New Roman;}{\\f1\\fmodern Courier New;}}"
                "{\\colortbl;\\red0\\green0\\blue0;\\red255\\green0\\blue0;}\\paperw3000\\paperh2000"
                "\\pard\\tx720\\f1\\cf2 R\\tab{\\f0\\cf0 T}}");
  QGuiApplication::clipboard()->setMimeData(data);
  Press("{C-V}");  // at the start: the paragraph takes the pasted one's tab stop
  EXPECT_EQ(Text(), "R\tTab");
  const TLine* line = Doc().FirstParagraph->FirstLine;
  EXPECT_EQ(line->Attrs[0].TextColor(), 1);  // red in this document's table
  EXPECT_EQ(Doc().Header.FontNames[line->Attrs[0].FontIndex], "Courier New");
  EXPECT_EQ(line->Attrs[2].TextColor(), 0);
  EXPECT_EQ(Doc().Header.FontNames[line->Attrs[2].FontIndex], "Times New Roman");
  EXPECT_EQ(line->Attrs[3].TextColor(), 3);  // the text that was here keeps its blue
  EXPECT_EQ(Doc().Header.Colors, colors);
  EXPECT_EQ(std::pair(Doc().Header.PageWidth, Doc().Header.PageHeight), page);
  int position = 720;
  const int tab = Doc().Header.FindTab(position, tkLeft);
  ASSERT_GE(tab, 0);
  EXPECT_TRUE(Doc().FirstParagraph->TabSet & (TTabSet{1} << tab));
}

TEST_F(EditorClipboard, PlainTextPastesWithUnmappableCharactersAsQuestionMarks) {
  Load("xy");
  Editor.SetCaretPosition(1);
  int pasted = 0;
  Editor.OnBeforePasteEvent = [&](TWPCustomRtfEdit*, TParagraph*) { ++pasted; };
  QGuiApplication::clipboard()->setText(QString::fromUtf8("a\u20acb\u2192c\U0001F600\nsecond\r\nthird"));
  Press("{C-V}");
  EXPECT_EQ(Text(),
            "xa\x80"
            "b?c?|second|thirdy");
  EXPECT_EQ(pasted, 3);
  EXPECT_EQ(Editor.GetCaretPosition(), 20);
}

TEST_F(EditorClipboard, CutDeletesWhatItCopiedAndBitmapsPasteAsPictures) {
  Load("abcd");
  Editor.SetCaretPosition(1);
  Press("{S-Right}{S-Right}{C-X}");
  EXPECT_EQ(Text(), "ad");
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "bc");

  QImage image(12, 8, QImage::Format_RGB32);
  image.fill(Qt::red);
  QGuiApplication::clipboard()->setImage(image);
  Press("{C-V}");
  const TLine* line = Doc().FirstParagraph->FirstLine;
  ASSERT_EQ(line->Length, 3);
  EXPECT_EQ(line->CharAt(1), 1);
  EXPECT_TRUE(line->Attrs[1].Special & kSpecialObject);
  EXPECT_EQ(line->Attrs[1].Width, 12);
  const TTextObject* object = Doc().FindObject(line->Attrs[1].Tag);
  ASSERT_TRUE(object);
  EXPECT_EQ(object->Width, 12 * 1440 / 96);
  // Pasted as RTF it reads back as a picture of the same size.
  Editor.SelectAll();
  Press("{C-C}");
  TWPRichText other;
  other.PasteFromClipboard();
  EXPECT_EQ(other.RtfText()->FirstParagraph->FirstLine->Attrs[1].Width, 12);
}

TEST_F(EditorClipboard, AnEmptyClipboardOrAReadOnlyEditorPastesNothing) {
  Load("ab");
  int changes = 0;
  Editor.OnChange = [&](TWPCustomRtfEdit*) { ++changes; };
  QGuiApplication::clipboard()->clear();
  Press("{C-V}");
  EXPECT_EQ(Text(), "ab");
  EXPECT_EQ(changes, 0);
  QGuiApplication::clipboard()->setText("zz");
  Editor.SetReadOnly(true);
  Press("{C-V}{S-Ins}");
  EXPECT_EQ(Text(), "ab");
}

}  // namespace
