#pragma once
// The editing level of a document: the caret and the selection, text input
// (typing, Backspace, Delete, Enter, page break), caret movement, scrolling,
// attribute changes and pasting. Every edit lays out only the paragraphs it
// touched and asks for a repaint of only what changed.
#include <QRect>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "richtext/gui/RtfTextPaint.h"

// How much one input asks to be repainted.
enum TRepaint : int { rpNothing = 0, rpChangedLines = 1, rpParagraph = 2, rpAll = 3 };

// Caret movement commands.
enum TCaretCommand : int {
  ccLineStart = 0,
  ccLineEnd = 1,
  ccPageUp = 2,
  ccPageDown = 3,
  ccDocumentStart = 4,
  ccDocumentEnd = 5,
  ccLeft = 6,
  ccRight = 7,
  ccUp = 8,
  ccDown = 9,
  ccWordLeft = 10,
  ccWordRight = 11
};

// Scroll bar commands.
enum TScrollCode : int {
  scLineUp = 0,
  scLineDown = 1,
  scPageUp = 2,
  scPageDown = 3,
  scThumbPosition = 4,
  scThumbTrack = 5,
  scTop = 6,
  scBottom = 7,
  scEndScroll = 8
};

// Bits of the mask with which attributes are set.
namespace wpam {
constexpr int Font = 0x01;
constexpr int Size = 0x02;
constexpr int TextColor = 0x04;
constexpr int BackgroundColor = 0x08;
constexpr int AddStyle = 0x10;          // style word |= new bits
constexpr int ReplaceStyle = 0x20;      // the bits of kReplaceStyleBits come from the new record
constexpr int ReplaceFontStyle = 0x40;  // the bits of kReplaceFontStyleBits come from the new record
constexpr int RemoveStyle = 0x80;       // style word &= ~new bits
// What the writing attributes of the editor control replace.
constexpr int WritingAttributes = 0x32F;
constexpr std::uint32_t kReplaceStyleBits = 0x5DF;
constexpr std::uint32_t kReplaceFontStyleBits = 0xDF;
}  // namespace wpam

// Changes the record as the mask says; superscript and subscript exclude
// each other afterwards.
void ApplyAttributes(TAttr& record, int mask, const TAttr& values);

class TWPRTFTextInput : public TWPRTFTextPaint {
 public:
  // The desired column after End: right of every line.
  static constexpr int kEndColumn = 9999;
  // Scrolling steps of the scroll bars.
  static constexpr int kScrollLine = 16;
  // A caret lies out of sight at this window x.
  static constexpr int kCaretOutOfSight = -10;

  TWPRTFTextInput();
  ~TWPRTFTextInput() override;

  // --- editing state --------------------------------------------------------
  bool ReadOnly = false;
  // The document's own switch that allows editing.
  bool AllowEditing = true;
  // Insert points and objects are being placed: typed text keeps those bits.
  bool FieldInsertion = false;
  // Selections cannot be made with the mouse or with Shift.
  bool NoBlockMarking = false;
  bool EditingAllowed() const { return !ReadOnly && AllowEditing; }

  // The column (pixels from the text area's left edge) that Up and Down aim at.
  int DesiredColumn = 0;
  // Where the caret is, in document pixels: x from the text area's left
  // edge, the top and height of its line.
  int CaretX() const { return FCaretX; }
  int CaretTop() const { return FCaretTop; }
  int CaretHeight() const { return FCaretHeight; }
  // The caret in window coordinates; x is kCaretOutOfSight when the caret
  // is not inside the window.
  QRect CaretWindowRect() const;
  // Shift steps extend the selection from here.
  bool AnchorSet = false;

  // --- hooks of the owning control --------------------------------------------
  // Before Enter splits a paragraph and before a paste; the engine keeps no undo.
  std::function<void()> SaveForUNDO;
  std::function<void()> OnYPosChanged;
  std::function<void()> OnXPosChanged;
  // A rectangle of the window (window coordinates) to repaint.
  std::function<void(const QRect& rect)> OnInvalidateRect;
  // Moves the window's contents; the control repaints what it uncovers.
  std::function<void(int dx, int dy)> OnScrollWindow;
  // After caret movement and attribute changes (toolbar and ruler follow).
  std::function<void()> OnCaretFormatting;
  std::function<void(TParagraph* par)> OnNewParCreated;

  // --- text input ---------------------------------------------------------------
  // Processes the characters in order (0 ends the input): Backspace 8,
  // Delete 127, page break 12, Enter 13, anything else typed at the caret.
  // Repaints what changed and scrolls the caret into view; returns how much
  // was repainted.
  int InputString(const std::string& text);
  // Types every character of text at the caret as a character, none of
  // them a command (code 127 too, which a symbol font draws).
  int InputCharacters(const std::string& text);
  // Whether the last input changed the document (refused input does not).
  bool InputChangedText() const { return FTextChanged; }

  // --- selection ------------------------------------------------------------------
  // Deletes the selected text, lays out and repaints; false when nothing was
  // deleted (no selection, or protected text in it: the caret goes there).
  bool DeleteSelection();
  // Moves the selection's end; repaints the lines whose selection changed.
  void SetSelectionEnd(TParagraph* par, TLine* line, int index);
  // Forgets the selection and its anchor; repaints the lines that showed it.
  void ClearSelectionAndRepaint();
  void SelectAll();
  // Selects the text between two character positions; the caret goes to
  // the second, the selection grows from the first.
  void SelectPositions(int anchor, int caret);
  // The selection starts at the caret unless an anchor is set.
  void AnchorAtCaret();
  // Start and length of the selection in characters (paragraph ends count
  // one); 0 and 0 without a selection.
  int SelStart() const;
  int SelLength() const;

  // --- caret ------------------------------------------------------------------------
  void MoveCaret(int command, bool extend);
  // Places the caret at a window point; with extend the selection follows.
  void PlaceCaretAtPoint(int x, int y, bool scroll, bool extend);
  // The position under a window point.
  TTextPos PositionAtPoint(int x, int y);
  // The character whose cell holds a window point (no paragraph when none).
  TTextPos CharAtPoint(int x, int y);
  // The caret as a character position from the document's start.
  int CaretPosition() const;
  void SetCaretPosition(int position);
  // Offset in the line nearest to x (from the text area's left edge), and
  // the x of an offset; both with the advances painting uses.
  int OffsetAtX(TParagraph* par, TLine* line, int x);
  int XOfOffset(TParagraph* par, TLine* line, int offset);
  // Scrolls the caret into view and places it; raises the position events.
  void ShowCaretInView();
  // Recomputes the caret's place and tells the control.
  void UpdateCaret();
  // CurrentAttr becomes the formatting of the text at the caret.
  void TakeAttributesAtCaret();

  // --- attributes ---------------------------------------------------------------
  // Applies the masked values to the selection (and always to CurrentAttr).
  void SetAttributes(int mask, const TAttr& values);

  // --- scrolling ------------------------------------------------------------------
  void ScrollDown(int pixels);
  void ScrollUp(int pixels);
  // Sets the document row shown at the window's top / the horizontal offset
  // (0 or negative), moving the window's contents.
  void SetScrollTop(int position);
  void SetHorzOffset(int offset);
  void VertScrollCommand(int code, int position = 0);
  void HorzScrollCommand(int code, int position = 0);

  // --- pasting ----------------------------------------------------------------------
  // Inserts a chain of paragraphs (the document takes it over) at the caret
  // in insert mode, after deleting the selection; beforePaste sees each
  // paragraph first. False when nothing was inserted.
  bool PasteChain(TParagraph* chain, const std::function<void(TParagraph* par)>& beforePaste = {});
  // Reads RTF or plain text and pastes it; an unreadable text pastes nothing.
  bool PasteText(const std::string& bytes, bool rtf,
                 const std::function<void(TParagraph* par)>& beforePaste = {});
  // Inserts an embedded object character at the caret.
  bool InsertObjectAtCaret(std::unique_ptr<TEmbeddedObject> object);
  // The first selected object and its paragraph; null when none is selected.
  TTextObject* SelectedObject(TParagraph** par);
  // New pixel size of an object (at least 2 x 2), kept in twips.
  void ResizeObject(TTextObject* object, TParagraph* par, int width, int height);

  // Measures and wraps every marked paragraph, then places all lines.
  void ReformatMarked();

  // --- repainting -----------------------------------------------------------------
  // The window rectangle of a line.
  QRect LineRect(const TLine* line) const;
  void InvalidateLine(const TLine* line);

 private:
  struct TSpan {
    int From = 0;
    int To = 0;
  };
  // Lays out what is stale and makes sure the caret is in the document.
  void Prepare();
  // Fonts, colours and tab stops of a chain read with tables of its own
  // become entries of this document's tables.
  void AdoptTables(TParagraph* chain, const TTextHeader& tables);
  int Input(const std::string& text, bool literal);
  int InputChar(unsigned char c);
  int Backspace();
  int DeleteAtCaret();
  int PageBreak();
  int Enter();
  int TypeChar(unsigned char c);
  // Deletes the selection without repainting; false when nothing was deleted.
  bool DeleteSelectedText();
  // Lays out one edited paragraph; how much to repaint.
  int RelayoutParagraph(TParagraph* par);
  void RepaintInput(int level);
  // Visits every selected character until visit returns false.
  void ForEachSelectedChar(const std::function<bool(TParagraph*, TLine*, int)>& visit) const;
  TSpan SelectionSpan() const;
  void RepaintSelectionChange(const TSpan& before);
  void SetCaret(TParagraph* par, TLine* line, int index);
  void CaretMoved();
  bool PreviousLine(TParagraph*& par, TLine*& line) const;
  bool NextLine(TParagraph*& par, TLine*& line) const;
  TTextPos LineAtY(int documentY) const;
  void MoveLeft();
  void MoveRight();
  void MoveWordLeft();
  void MoveWordRight();
  void MoveVertically(bool down);
  void MovePage(bool down);
  bool IsWordChar(const TLine* line, int index) const;
  bool CharWidthless(const TLine* line, int index) const;
  int HorzRange() const;

  bool FTextChanged = false;
  int FCaretX = 0;
  int FCaretTop = 0;
  int FCaretHeight = 4;
  int FReportedTop = -1;
  int FReportedX = -1;
  std::vector<int> FAdvances;  // scratch of the caret geometry
};
