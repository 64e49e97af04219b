// Text input, the selection and attribute changes of the editing level.
#include "richtext/gui/RtfTextInput.h"

#include <algorithm>
#include <exception>

#include "richtext/RtfReader.h"
#include "richtext/TextReader.h"

namespace {

void SetAttrWord(TAttr& a, std::uint32_t word) {
  a.Style = static_cast<std::uint8_t>(word);
  a.Special = static_cast<std::uint8_t>(word >> 8);
  a.Marker = static_cast<std::uint8_t>(word >> 16);
  a.Reserved1 = static_cast<std::uint8_t>(word >> 24);
}

// Offset of a position from the start of its paragraph.
int ParagraphOffset(const TParagraph* par, const TLine* line, int index) {
  int offset = 0;
  for (const TLine* l = par->FirstLine; l && l != line; l = l->Next) offset += l->Length;
  return offset + index;
}

}  // namespace

void ApplyAttributes(TAttr& r, int mask, const TAttr& n) {
  if (mask & wpam::Font) r.FontIndex = n.FontIndex;
  if (mask & wpam::Size) r.Size = n.Size;
  if (mask & wpam::TextColor) r.Colors = static_cast<std::uint8_t>((r.Colors & 0xF0) | (n.Colors & 0x0F));
  if (mask & wpam::BackgroundColor)
    r.Colors = static_cast<std::uint8_t>((r.Colors & 0x0F) | (n.Colors & 0xF0));
  const std::uint32_t bits = n.AttrWord() & ~std::uint32_t{kStyleSelected};
  std::uint32_t word = r.AttrWord();
  if (mask & wpam::AddStyle) word |= bits;
  if (mask & wpam::RemoveStyle) word &= ~bits;
  if (mask & wpam::ReplaceStyle) word = (bits & wpam::kReplaceStyleBits) | (word & ~wpam::kReplaceStyleBits);
  if (mask & wpam::ReplaceFontStyle)
    word = (bits & wpam::kReplaceFontStyleBits) | (word & ~wpam::kReplaceFontStyleBits);
  if (mask & (wpam::AddStyle | wpam::ReplaceStyle | wpam::ReplaceFontStyle)) {
    if ((bits & kStyleSuperscript) && (word & kStyleSuperscript))
      word &= ~std::uint32_t{kStyleSubscript};
    else if ((bits & kStyleSubscript) && (word & kStyleSubscript))
      word &= ~std::uint32_t{kStyleSuperscript};
  }
  SetAttrWord(r, word);
}

TWPRTFTextInput::TWPRTFTextInput() = default;
TWPRTFTextInput::~TWPRTFTextInput() = default;

void TWPRTFTextInput::Prepare() {
  EnsureLayout();
  if (!IsValidPosition(CursorParagraph, CursorLine, CursorIndex)) SetCursorToStart();
}

// ---------------------------------------------------------------------------
// Text input

int TWPRTFTextInput::InputString(const std::string& text) { return Input(text, false); }

int TWPRTFTextInput::InputCharacters(const std::string& text) { return Input(text, true); }

int TWPRTFTextInput::Input(const std::string& text, bool literal) {
  if (!EditingAllowed() || text.empty()) return rpNothing;
  Prepare();
  if (!CursorLine) return rpNothing;
  // An anchor without a selection may point at lines the input frees.
  if (!HasSelection()) ClearSelection();
  AnchorSet = false;
  if (!FieldInsertion)
    CurrentAttr.Special &= static_cast<std::uint8_t>(~(kSpecialInsertPoint | kSpecialObject));
  FTextChanged = false;
  int repaint = rpNothing;
  for (char c : text) {
    if (c == 0) break;
    const auto code = static_cast<unsigned char>(c);
    repaint = std::max(repaint, literal ? TypeChar(code) : InputChar(code));
  }
  const int oldOffset = HorzOffset;
  UpdateCaret();
  DesiredColumn = FCaretX;
  RepaintInput(repaint);
  ShowCaretInView();
  if (HorzOffset != oldOffset) Repaint();
  return repaint;
}

int TWPRTFTextInput::InputChar(unsigned char c) {
  switch (c) {
    case 8:
      return Backspace();
    case 127:
      return HasSelection() ? (DeleteSelectedText(), rpAll) : DeleteAtCaret();
    case 12:
      return PageBreak();
    case 13:
      return Enter();
    default:
      return TypeChar(c);
  }
}

int TWPRTFTextInput::Backspace() {
  if (HasSelection()) return DeleteSelectedText(), rpAll;
  TParagraph* par = CursorParagraph;
  TLine* line = CursorLine;
  if (CursorIndex > 0) {
    --CursorIndex;
    return DeleteAtCaret();
  }
  if (line->Prev) {
    // The caret stands after the previous line's last character.
    TLine* previous = line->Prev;
    const int length = previous->Length;
    SetCaret(par, previous, length);
    if (length == 0) return rpNothing;
    DeleteCharAt(par, previous, length - 1);
    if (previous->Length == length) return rpNothing;  // protected
    CursorIndex = previous->Length;
    FTextChanged = true;
    return RelayoutParagraph(par);
  }
  if (par == FirstParagraph || par->IsTableCell()) return rpNothing;
  TLine* last = LastLine(par->Prev);
  SetCaret(par->Prev, last, last->Length);
  return DeleteAtCaret();
}

int TWPRTFTextInput::DeleteAtCaret() {
  TParagraph* par = CursorParagraph;
  TLine* line = CursorLine;
  const int index = std::clamp(CursorIndex, 0, static_cast<int>(line->Length));
  if (index < line->Length || line->Next) {
    const int length = line->Length;
    const TLine* next = line->Next;
    DeleteCharAt(par, line, index);
    if (line->Length == length && line->Next == next) return rpNothing;  // protected
    FTextChanged = true;
    return RelayoutParagraph(par);
  }
  FTextChanged = true;
  if (!par->Next) {
    // Delete at the very end takes away the last paragraph's frame, not text.
    par->BorderFlags = 0;
    par->BorderStyle = 0;
    par->ShadingColors = 0;
    par->Shading = 0;
    par->ParFlags = 0;
    par->ParState |= kParNeedsBoth;
    ReformatMarked();
    return rpAll;
  }
  DeleteCharAt(par, line, index);  // joins the next paragraph
  ReformatMarked();
  return rpAll;
}

int TWPRTFTextInput::PageBreak() {
  if (HasSelection()) DeleteSelectedText();
  TParagraph* par = CursorParagraph;
  const int offset = ParagraphOffset(par, CursorLine, CursorIndex);
  FTextChanged = true;
  if (offset == 0) {
    par->ParFlags ^= kParPageBreakBefore;
  } else {
    if (!SplitParagraph(par, CursorLine, CursorIndex)) {
      FTextChanged = false;
      return rpAll;
    }
    TParagraph* added = par->Next;
    added->ParFlags |= kParPageBreakBefore;
    SetCaret(added, added->FirstLine, 0);
    if (OnNewParCreated) OnNewParCreated(added);
  }
  par->ParState |= kParNeedsWrap;
  ReformatMarked();
  return rpAll;
}

int TWPRTFTextInput::Enter() {
  if (SaveForUNDO) SaveForUNDO();
  if (HasSelection()) DeleteSelectedText();
  TParagraph* par = CursorParagraph;
  TLine* line = CursorLine;
  if (par == FirstParagraph && line == par->FirstLine && CursorIndex == 0) {
    // At the very start a new empty paragraph goes in front; it takes the
    // attributes a paragraph following this one would take.
    TParagraph* added = NewParagraph(par, kFirstLineCapacity);
    par->Next = added->Next;
    if (added->Next) added->Next->Prev = par;
    added->Next = par;
    added->Prev = nullptr;
    par->Prev = added;
    FirstParagraph = added;
    added->ParState |= kParNeedsBoth;
    DesiredColumn = 0;
    if (OnNewParCreated) OnNewParCreated(added);
  } else if (par->IsTableCell()) {
    return TypeChar(10);
  } else {
    if (!SplitParagraph(par, line, std::clamp(CursorIndex, 0, static_cast<int>(line->Length)))) return rpAll;
    TParagraph* added = par->Next;
    SetCaret(added, added->FirstLine, 0);
    DesiredColumn = 0;
    if (OnNewParCreated) OnNewParCreated(added);
  }
  FTextChanged = true;
  ReformatMarked();
  return rpAll;
}

int TWPRTFTextInput::TypeChar(unsigned char c) {
  const bool deleted = HasSelection() && DeleteSelectedText();
  const int refused = deleted ? rpAll : rpNothing;
  TParagraph* par = CursorParagraph;
  TLine* line = CursorLine;
  const int index = std::clamp(CursorIndex, 0, static_cast<int>(line->Length));
  // Hidden text typed where it is not shown would vanish as it is typed.
  if ((CurrentAttr.Special & kSpecialHidden) && !Has(poShowHidden) && !FieldInsertion) return refused;
  const int oldLength = line->Length;
  if (!InsertChar(par, line, static_cast<char>(c), index)) return refused;
  if (index < oldLength) MeasureChar(line, index, CurrentAttr);
  CursorIndex = index + 1;
  FTextChanged = true;
  const int level = RelayoutParagraph(par);
  return c == 10 || deleted ? rpAll : level;
}

int TWPRTFTextInput::RelayoutParagraph(TParagraph* par) {
  const bool measured = (par->ParState & kParNeedsMeasure) != 0;
  if (measured) MeasureParagraph(par, true);
  const int result = ReformatParagraph(par, true);
  if (measured || result == kParHeightChanged) {
    UpdatePositions();
    return rpAll;
  }
  return result == kLineHeightChanged ? rpParagraph : rpChangedLines;
}

void TWPRTFTextInput::ReformatMarked() {
  for (TParagraph* par = FirstParagraph; par; par = par->Next) {
    if (par->ParState & kParNeedsMeasure) MeasureParagraph(par, false);
    if (par->ParState & kParNeedsWrap) ReformatParagraph(par, false);
  }
  UpdatePositions();
}

void TWPRTFTextInput::RepaintInput(int level) {
  if (level == rpAll || !CursorParagraph) {
    if (level != rpNothing) Repaint();
    return;
  }
  for (TLine* line = CursorParagraph->FirstLine; line; line = line->Next)
    if (level == rpParagraph || (level == rpChangedLines && (line->LineFlags & kLineChanged)))
      InvalidateLine(line);
}

// ---------------------------------------------------------------------------
// The selection

TWPRTFTextInput::TSpan TWPRTFTextInput::SelectionSpan() const {
  if (!HasSelection()) return {};
  const int a = PositionOf(SelStartParagraph, SelStartLine, SelStartIndex);
  const int b = PositionOf(SelEndParagraph, SelEndLine, SelEndIndex);
  return {std::min(a, b), std::max(a, b)};
}

int TWPRTFTextInput::SelStart() const { return SelectionSpan().From; }

int TWPRTFTextInput::SelLength() const {
  const TSpan span = SelectionSpan();
  return span.To - span.From;
}

void TWPRTFTextInput::ForEachSelectedChar(const std::function<bool(TParagraph*, TLine*, int)>& visit) const {
  if (!HasSelection()) return;
  const TTextPos from = SelectionFrom(), to = SelectionTo();
  TParagraph* par = from.Par;
  TLine* line = from.Line;
  int index = from.Index;
  while (par) {
    const bool lastLine = par == to.Par && line == to.Line;
    const int end = lastLine ? to.Index : line->Length;
    for (; index < end; ++index)
      if (!visit(par, line, index)) return;
    if (lastLine) return;
    index = 0;
    if (line->Next) {
      line = line->Next;
    } else {
      par = par->Next;
      line = par ? par->FirstLine : nullptr;
    }
  }
}

bool TWPRTFTextInput::DeleteSelectedText() {
  if (!HasSelection()) return false;
  const TTextPos from = SelectionFrom(), to = SelectionTo();
  if (!IsValidPosition(from.Par, from.Line, from.Index) || !IsValidPosition(to.Par, to.Line, to.Index)) {
    ClearSelection();
    return false;
  }
  // Protected text anywhere in the selection refuses the deletion (not only
  // at its ends: text in between would be lost); the caret goes to its first
  // protected character, which the protection handler is told about.
  TTextPos refused{};
  ForEachSelectedChar([&](TParagraph* p, TLine* l, int i) {
    if (!IsProtected(p, l, i)) return true;
    refused = {p, l, i};
    return false;
  });
  if (refused.Par) {
    ClearSelection();
    AnchorSet = false;
    SetCaret(refused.Par, refused.Line, refused.Index);
    return false;
  }

  const int startOffset = ParagraphOffset(from.Par, from.Line, from.Index);
  const int endOffset = ParagraphOffset(to.Par, to.Line, to.Index);
  if (from.Par == to.Par) {
    DeleteChars(from.Par, startOffset, endOffset - startOffset);
  } else {
    const int firstLength = from.Par->TextLength();
    if (firstLength > startOffset) DeleteChars(from.Par, startOffset, firstLength - startOffset);
    for (TParagraph* p = from.Par->Next; p != to.Par;) {
      TParagraph* between = p;
      p = p->Next;
      FreeParagraph(between);
    }
    if (endOffset > 0) DeleteChars(to.Par, 0, endOffset);
    // The last paragraph's rest joins the first, which keeps its properties.
    TParagraph* joined = to.Par;
    TLine* tail = LastLine(from.Par);
    tail->Next = joined->FirstLine;
    joined->FirstLine->Prev = tail;
    joined->FirstLine = nullptr;
    FreeParagraph(joined);
    from.Par->ParState |= kParNeedsBoth;
  }
  ClearSelection();
  AnchorSet = false;
  SetCaret(from.Par, from.Line, from.Index);
  ReformatMarked();
  FTextChanged = true;
  return true;
}

bool TWPRTFTextInput::DeleteSelection() {
  if (!EditingAllowed()) return false;
  Prepare();
  const bool deleted = DeleteSelectedText();
  Repaint();
  CaretMoved();
  return deleted;
}

void TWPRTFTextInput::RepaintSelectionChange(const TSpan& before) {
  const TSpan after = SelectionSpan();
  if (before.From == after.From && before.To == after.To) return;
  try {
    int start = 0;
    for (TParagraph* par = FirstParagraph; par; par = par->Next) {
      for (TLine* line = par->FirstLine; line; line = line->Next) {
        auto part = [&](const TSpan& s) {
          const int from = std::clamp(s.From - start, 0, static_cast<int>(line->Length));
          const int to = std::clamp(s.To - start, from, static_cast<int>(line->Length));
          return std::pair{from, to};
        };
        if (part(before) != part(after)) InvalidateLine(line);
        start += line->Length;
      }
      ++start;  // the paragraph end
    }
  } catch (const std::exception&) {
    ClearSelection();
  }
}

void TWPRTFTextInput::SetSelectionEnd(TParagraph* par, TLine* line, int index) {
  const TSpan before = SelectionSpan();
  if (!SelStartParagraph) {
    SelStartParagraph = par;
    SelStartLine = line;
    SelStartIndex = index;
  }
  SelEndParagraph = par;
  SelEndLine = line;
  SelEndIndex = index;
  SelectionBackwards =
      PositionOf(par, line, index) < PositionOf(SelStartParagraph, SelStartLine, SelStartIndex);
  RepaintSelectionChange(before);
}

void TWPRTFTextInput::ClearSelectionAndRepaint() {
  const TSpan before = SelectionSpan();
  ClearSelection();
  AnchorSet = false;
  RepaintSelectionChange(before);
}

void TWPRTFTextInput::AnchorAtCaret() {
  // An anchor that an edit took away from the text is set anew.
  if (AnchorSet && IsValidPosition(SelStartParagraph, SelStartLine, SelStartIndex)) return;
  ClearSelection();
  SelStartParagraph = SelEndParagraph = CursorParagraph;
  SelStartLine = SelEndLine = CursorLine;
  SelStartIndex = SelEndIndex = CursorIndex;
  AnchorSet = true;
}

void TWPRTFTextInput::SelectAll() {
  Prepare();
  if (!FirstParagraph) return;
  TParagraph* last = FirstParagraph;
  while (last->Next) last = last->Next;
  TLine* lastLine = LastLine(last);
  const TSpan before = SelectionSpan();
  SelStartParagraph = FirstParagraph;
  SelStartLine = FirstParagraph->FirstLine;
  SelStartIndex = 0;
  SelEndParagraph = last;
  SelEndLine = lastLine;
  SelEndIndex = lastLine->Length;
  SelectionBackwards = false;
  AnchorSet = true;
  SetCaret(last, lastLine, lastLine->Length);
  RepaintSelectionChange(before);
  CaretMoved();
}

void TWPRTFTextInput::SelectPositions(int anchor, int caret) {
  Prepare();
  TTextPos from, to;
  PositionToCursor(anchor, from.Par, from.Line, from.Index);
  PositionToCursor(caret, to.Par, to.Line, to.Index);
  if (!from.Line || !to.Line) return;
  const TSpan before = SelectionSpan();
  SelStartParagraph = from.Par;
  SelStartLine = from.Line;
  SelStartIndex = from.Index;
  SelEndParagraph = to.Par;
  SelEndLine = to.Line;
  SelEndIndex = to.Index;
  SelectionBackwards = caret < anchor;
  AnchorSet = true;
  SetCaret(to.Par, to.Line, to.Index);
  DesiredColumn = XOfOffset(to.Par, to.Line, to.Index);
  RepaintSelectionChange(before);
  CaretMoved();
}

// ---------------------------------------------------------------------------
// Attributes

void TWPRTFTextInput::SetAttributes(int mask, const TAttr& values) {
  Prepare();
  if (HasSelection() && !IsPlainMode()) {
    ForEachSelectedChar([&](TParagraph* par, TLine* line, int index) {
      ApplyAttributes(line->Attrs[index], mask, values);
      par->ParState |= kParNeedsBoth;  // measured again with the new font
      return true;
    });
    ReformatMarked();
    Repaint();
  }
  ApplyAttributes(CurrentAttr, mask, values);
  MeasureFont(&CurrentAttr);
  ShowCaretInView();
  if (OnCaretFormatting) OnCaretFormatting();
}

void TWPRTFTextInput::TakeAttributesAtCaret() {
  const TLine* line = CursorLine;
  // An empty line keeps what the insertion point was given.
  if (!line || !line->Attrs || line->Length == 0) return;
  const int index = std::clamp(CursorIndex - 1, 0, line->Length - 1);
  TAttr a = line->Attrs[index];
  if ((a.Special & kSpecialProtected) && ProtectedProp.Has(ppDontUseAttrOfProtected)) return;
  a.Special &= static_cast<std::uint8_t>(
      ~(kSpecialInsertPoint | kSpecialAutomatic | kSpecialObject | kSpecialFootnote | kSpecialNumbering));
  if (ProtectedProp.Has(ppDontCopyProtectedAttribute))
    a.Special &= static_cast<std::uint8_t>(~kSpecialProtected);
  a.Style &= static_cast<std::uint8_t>(~kStyleSelected);
  a.Tag = 0;
  CurrentAttr = a;
}

// ---------------------------------------------------------------------------
// Pasting

bool TWPRTFTextInput::PasteChain(TParagraph* chain, const std::function<void(TParagraph*)>& beforePaste) {
  if (!chain) return false;
  if (!EditingAllowed()) {
    FreeParagraphChain(chain);
    return false;
  }
  Prepare();
  if (SaveForUNDO) SaveForUNDO();
  if (HasSelection()) DeleteSelectedText();
  ClearSelection();
  AnchorSet = false;
  if (beforePaste)
    for (TParagraph* par = chain; par; par = par->Next) beforePaste(par);
  if (IsProtected(CursorParagraph, CursorLine, CursorIndex)) {
    FreeParagraphChain(chain);
    Repaint();
    return false;
  }
  const bool inserting = Inserting;
  Inserting = true;
  const int inserted = InsertChain(CursorParagraph, CursorLine, CursorIndex, chain);
  Inserting = inserting;
  ReformatMarked();
  Repaint();
  CaretMoved();
  return inserted != 0;
}

namespace {

// The colour of the table nearest to rgb (an equal one when there is one).
int NearestColor(const TTextHeader& header, TColor rgb) {
  int best = 0;
  long long bestDistance = -1;
  for (int i = 0; i < TTextHeader::kColorCount; ++i) {
    long long distance = 0;
    for (int shift : {0, 8, 16}) {
      const long long d =
          static_cast<long long>((header.Colors[i] >> shift) & 0xFF) - ((rgb >> shift) & 0xFF);
      distance += d * d;
    }
    if (bestDistance < 0 || distance < bestDistance) {
      best = i;
      bestDistance = distance;
    }
  }
  return best;
}

}  // namespace

void TWPRTFTextInput::AdoptTables(TParagraph* chain, const TTextHeader& tables) {
  std::uint8_t colors[TTextHeader::kColorCount];
  for (int i = 0; i < TTextHeader::kColorCount; ++i)
    colors[i] = static_cast<std::uint8_t>(NearestColor(Header, tables.Colors[i]));
  auto color = [&colors](std::uint8_t nibbles) {
    return static_cast<std::uint8_t>(colors[nibbles & 0x0F] | (colors[nibbles >> 4] << 4));
  };
  // Only the fonts the text uses join the table.
  int fonts[TTextHeader::kFontSlots];
  std::fill(std::begin(fonts), std::end(fonts), -1);
  auto font = [&](std::uint8_t index) {
    if (index >= TTextHeader::kFontSlots || tables.FontSlotEmpty(index)) return index;
    if (fonts[index] < 0) fonts[index] = Header.FindOrAddFont(tables.FontNames[index]);
    return static_cast<std::uint8_t>(fonts[index] < TTextHeader::kFontSlots ? fonts[index] : index);
  };
  for (TParagraph* par = chain; par; par = par->Next) {
    TTabSet tabs = 0;
    for (int slot = 0; slot < TTextHeader::kTabSlots; ++slot)
      if ((par->TabSet & (TTabSet{1} << slot)) && !tables.TabSlotFree(slot))
        tabs |= Header.InsertTab(tables.TabPositions[slot], tables.TabKinds[slot]);
    par->TabSet = tabs;
    par->BorderSpaceColor =
        static_cast<std::uint8_t>((par->BorderSpaceColor & 0xF0) | colors[par->BorderSpaceColor & 0x0F]);
    par->ShadingColors = color(par->ShadingColors);
    for (TLine* line = par->FirstLine; line; line = line->Next) {
      if (!line->Attrs) continue;
      for (int i = 0; i <= line->Length && i < line->Capacity; ++i) {
        TAttr& a = line->Attrs[i];
        a.FontIndex = font(a.FontIndex);
        a.Colors = color(a.Colors);
      }
    }
  }
}

bool TWPRTFTextInput::PasteText(const std::string& bytes, bool rtf,
                                const std::function<void(TParagraph*)>& beforePaste) {
  if (!EditingAllowed() || bytes.empty()) return false;
  std::unique_ptr<TWPTextReader> reader =
      rtf ? std::make_unique<TWPRtfReader>() : std::make_unique<TWPTextReader>();
  // The text is read with tables of its own, which then become this
  // document's: the pasted text keeps its fonts, colours and tab stops, and
  // the text already here, and the page, stay as they are.
  TTextHeader tables;
  tables.Assign(&Header);
  tables.XPixelsPerInch = Header.XPixelsPerInch;
  tables.YPixelsPerInch = Header.YPixelsPerInch;
  reader->SetTarget(&tables, this);
  reader->SetCharacterAttr(CurrentAttr);
  TMemoryStream stream(bytes);
  TParagraph* chain = nullptr;
  try {
    reader->Read(&stream, chain);
  } catch (const std::exception&) {
    FreeParagraphChain(chain);
    return false;
  }
  AdoptTables(chain, tables);
  return PasteChain(chain, beforePaste);
}

bool TWPRTFTextInput::InsertObjectAtCaret(std::unique_ptr<TEmbeddedObject> object) {
  if (!object || !EditingAllowed()) return false;
  Prepare();
  if (HasSelection()) DeleteSelectedText();
  TTextObject* record = AddObject(std::move(object), -1);
  MeasureObject(record);
  const TAttr saved = CurrentAttr;
  CurrentAttr.Special |= kSpecialObject;
  CurrentAttr.Tag = record->Id;
  TLine* line = CursorLine;
  const int index = std::clamp(CursorIndex, 0, static_cast<int>(line->Length));
  const int oldLength = line->Length;
  const bool inserted = InsertChar(CursorParagraph, line, 1, index);
  if (inserted) {
    if (index < oldLength) MeasureChar(line, index, CurrentAttr);
    CursorIndex = index + 1;
  }
  CurrentAttr = saved;
  if (inserted) {
    CursorParagraph->ParState |= kParNeedsWrap;
    ReformatMarked();
  }
  Repaint();
  CaretMoved();
  return inserted;
}

// ---------------------------------------------------------------------------
// Repainting

QRect TWPRTFTextInput::LineRect(const TLine* line) const {
  return QRect(OriginX, line->Top - ScrollTop + OriginY, WrapWidth(), line->Height);
}

void TWPRTFTextInput::InvalidateLine(const TLine* line) {
  if (!RepaintAllowed()) return;
  if (OnInvalidateRect)
    OnInvalidateRect(LineRect(line));
  else
    Repaint();
}

// ---------------------------------------------------------------------------
// Objects

TTextObject* TWPRTFTextInput::SelectedObject(TParagraph** par) {
  TTextObject* found = nullptr;
  ForEachSelectedChar([&](TParagraph* p, TLine* line, int index) {
    const unsigned char code = line->CharAt(index);
    if ((code != 1 && code != 2) || !line->Attrs || !(line->Attrs[index].Special & kSpecialObject))
      return true;
    const int tag = line->Attrs[index].Tag;
    found = code == 2 ? FindObjectBySecondaryId(tag) : FindObject(tag);
    if (found && par) *par = p;
    return found == nullptr;
  });
  return found;
}

void TWPRTFTextInput::ResizeObject(TTextObject* object, TParagraph* par, int width, int height) {
  if (!object || !par || !EditingAllowed()) return;
  object->Width = std::max(width, 2) * 1440 / std::max(Header.XPixelsPerInch, 1);
  object->Height = std::max(height, 2) * 1440 / std::max(Header.YPixelsPerInch, 1);
  par->ParState |= kParNeedsBoth;
  ReformatMarked();
  Repaint();
  UpdateCaret();
}
