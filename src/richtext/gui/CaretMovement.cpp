// The caret of the editing level: movement commands, placement at a point,
// its pixel place, and scrolling it into view.
#include <QChar>
#include <algorithm>
#include <cstdlib>

#include "richtext/gui/AnsiCodec.h"
#include "richtext/gui/RtfTextInput.h"

namespace {
// A caret at the right end of the text may lie this far beyond a text that
// is wider than the window.
constexpr int kCaretSlack = 4;
}  // namespace

void TWPRTFTextInput::SetCaret(TParagraph* par, TLine* line, int index) {
  CursorParagraph = par;
  CursorLine = line;
  CursorIndex = index;
}

bool TWPRTFTextInput::PreviousLine(TParagraph*& par, TLine*& line) const {
  if (line->Prev) {
    line = line->Prev;
    return true;
  }
  if (!par->Prev) return false;
  par = par->Prev;
  line = LastLine(par);
  return true;
}

bool TWPRTFTextInput::NextLine(TParagraph*& par, TLine*& line) const {
  if (line->Next) {
    line = line->Next;
    return true;
  }
  if (!par->Next) return false;
  par = par->Next;
  line = par->FirstLine;
  return true;
}

TWPRTFTextPaint::TTextPos TWPRTFTextInput::LineAtY(int documentY) const {
  TTextPos last{};
  for (TParagraph* par = FirstParagraph; par; par = par->Next)
    for (TLine* line = par->FirstLine; line; line = line->Next) {
      if (line->Top + line->Height > documentY) return {par, line, 0};
      last = {par, line, 0};
    }
  return last;  // below the text: its last line
}

bool TWPRTFTextInput::CharWidthless(const TLine* line, int index) const {
  return line->Attrs && index >= 0 && index < line->Length && line->Attrs[index].Width == 0;
}

bool TWPRTFTextInput::IsWordChar(const TLine* line, int index) const {
  return QChar(wpansi::ToUnicode(line->CharAt(index))).isLetterOrNumber();
}

// ---------------------------------------------------------------------------
// Offsets and pixels

int TWPRTFTextInput::OffsetAtX(TParagraph* par, TLine* line, int x) {
  int left = LineAdvances(par, line, FAdvances);
  for (int k = 0; k < line->Length; ++k) {
    const int advance = FAdvances[k];
    const unsigned char code = line->CharAt(k);
    const bool object = (code == 1 || code == 2) && line->Attrs && (line->Attrs[k].Special & kSpecialObject);
    if ((object ? left + advance : left + advance / 2) >= x) return k;
    left += advance;
  }
  return line->Length;
}

int TWPRTFTextInput::XOfOffset(TParagraph* par, TLine* line, int offset) {
  int x = LineAdvances(par, line, FAdvances);
  const int end = std::clamp(offset, 0, static_cast<int>(line->Length));
  for (int k = 0; k < end; ++k) x += FAdvances[k];
  return x;
}

TWPRTFTextPaint::TTextPos TWPRTFTextInput::PositionAtPoint(int x, int y) {
  TTextPos pos = LineAtY(y - OriginY + ScrollTop);
  if (!pos.Line) return pos;
  const int shift = Has(poIgnoreHorzOffset) ? 0 : HorzOffset;
  pos.Index = OffsetAtX(pos.Par, pos.Line, x - OriginX - shift);
  return pos;
}

QRect TWPRTFTextInput::CaretWindowRect() const {
  const int shift = Has(poIgnoreHorzOffset) ? 0 : HorzOffset;
  // A caret right at the end of a full line stays just inside the window.
  int x = std::min(FCaretX + shift, WrapWidth() - 1) + OriginX;
  const int y = FCaretTop - ScrollTop + OriginY;
  if (x < OriginX || y + FCaretHeight <= OriginY || y >= OriginY + ClipHeight) x = kCaretOutOfSight;
  return QRect(x, y, 1, FCaretHeight);
}

void TWPRTFTextInput::UpdateCaret() {
  if (!CursorLine || !IsValidPosition(CursorParagraph, CursorLine, CursorIndex)) return;
  FCaretX = XOfOffset(CursorParagraph, CursorLine, CursorIndex);
  FCaretTop = CursorLine->Top;
  FCaretHeight = std::max<int>(CursorLine->Height, 4);
  if (OnCaretMoved && !Has(poForeignCanvas)) OnCaretMoved();
}

void TWPRTFTextInput::CaretMoved() {
  TakeAttributesAtCaret();
  ShowCaretInView();
  if (OnCaretFormatting) OnCaretFormatting();
}

void TWPRTFTextInput::ShowCaretInView() {
  if (!CursorLine) return;
  UpdateCaret();
  if (!Has(poNoScroll) && !Has(poForeignCanvas)) {
    const int H = ClipHeight;
    const int W = WrapWidth();
    const int height = CursorLine->Height;
    const int top = FCaretTop - ScrollTop;
    // A line taller than the window shows its lower part, where the text is.
    if (top < 0)
      SetScrollTop(FCaretTop + (H < height ? height - H : 0));
    else if (top + height > H)
      SetScrollTop(FCaretTop);
    const int x = FCaretX + HorzOffset;
    if (x < 0)
      SetHorzOffset(W / 3 - FCaretX);
    else if (x > W - 4)
      SetHorzOffset(2 * W / 3 - FCaretX);
    UpdateCaret();
  }
  if (FCaretTop != FReportedTop) {
    FReportedTop = FCaretTop;
    if (OnYPosChanged) OnYPosChanged();
  }
  if (FCaretX != FReportedX) {
    FReportedX = FCaretX;
    if (OnXPosChanged) OnXPosChanged();
  }
}

// ---------------------------------------------------------------------------
// Movement

void TWPRTFTextInput::MoveRight() {
  TParagraph* par = CursorParagraph;
  TLine* line = CursorLine;
  int index = CursorIndex;
  if (index < line->Length || (!line->Next && !par->Next)) {
    index = std::min(index + 1, static_cast<int>(line->Length));
  } else {
    NextLine(par, line);
    index = 0;
  }
  while (CharWidthless(line, index)) ++index;  // hidden text is stepped over
  SetCaret(par, line, index);
}

void TWPRTFTextInput::MoveLeft() {
  TParagraph* par = CursorParagraph;
  TLine* line = CursorLine;
  int index = CursorIndex;
  if (index > 0 || (!line->Prev && !par->Prev)) {
    index = std::max(index - 1, 0);
    while (index > 0 && CharWidthless(line, index)) --index;
  } else {
    PreviousLine(par, line);
    index = line->Length;
  }
  SetCaret(par, line, index);
}

void TWPRTFTextInput::MoveWordRight() {
  TParagraph* par = CursorParagraph;
  TLine* line = CursorLine;
  int index = CursorIndex;
  if (index >= line->Length && NextLine(par, line)) {
    index = 0;
  } else {
    while (index < line->Length && !IsWordChar(line, index)) ++index;
    while (index < line->Length && IsWordChar(line, index)) ++index;
  }
  SetCaret(par, line, index);
}

void TWPRTFTextInput::MoveWordLeft() {
  TParagraph* par = CursorParagraph;
  TLine* line = CursorLine;
  int index = std::min<int>(CursorIndex, line->Length);
  if (index == 0 && PreviousLine(par, line)) {
    index = line->Length;
  } else {
    while (index > 0 && !IsWordChar(line, index - 1)) --index;
    while (index > 0 && IsWordChar(line, index - 1)) --index;
  }
  SetCaret(par, line, index);
}

void TWPRTFTextInput::MoveVertically(bool down) {
  TParagraph* par = CursorParagraph;
  TLine* line = CursorLine;
  const int oldTop = line->Top - ScrollTop;
  const bool wasVisible = oldTop + line->Height > 0 && oldTop < ClipHeight;
  if (!(down ? NextLine(par, line) : PreviousLine(par, line))) return;
  SetCaret(par, line, OffsetAtX(par, line, DesiredColumn));
  if (!wasVisible) return;
  // Stepping out of the window scrolls by the overflow only.
  const int top = line->Top - ScrollTop;
  if (down && top + line->Height > ClipHeight) ScrollDown(top + line->Height - ClipHeight);
  if (!down && top < 0) ScrollUp(-top);
}

void TWPRTFTextInput::MovePage(bool down) {
  const int windowY = std::max(CursorLine->Top - ScrollTop, 1);
  if (down)
    ScrollDown(ClipHeight);
  else
    ScrollUp(ClipHeight);
  const TTextPos pos = LineAtY(ScrollTop + windowY);
  SetCaret(pos.Par, pos.Line, OffsetAtX(pos.Par, pos.Line, DesiredColumn));
}

void TWPRTFTextInput::MoveCaret(int command, bool extend) {
  if (Has(poNoCaretMove)) return;
  Prepare();
  if (!CursorLine) return;
  const bool select = extend && !NoBlockMarking;
  if (select)
    AnchorAtCaret();
  else if (HasSelection() || AnchorSet)
    ClearSelectionAndRepaint();
  bool horizontal = false;
  switch (command) {
    case ccLineStart:
      CursorIndex = 0;
      DesiredColumn = 0;
      break;
    case ccLineEnd:
      CursorIndex = CursorLine->Length;
      DesiredColumn = kEndColumn;
      break;
    case ccPageUp:
    case ccPageDown:
      MovePage(command == ccPageDown);
      break;
    case ccDocumentStart:
      SetCaret(FirstParagraph, FirstParagraph->FirstLine, 0);
      DesiredColumn = 0;
      break;
    case ccDocumentEnd: {
      TParagraph* last = FirstParagraph;
      while (last->Next) last = last->Next;
      TLine* line = LastLine(last);
      SetCaret(last, line, line->Length);
      DesiredColumn = kEndColumn;
      break;
    }
    case ccLeft:
      MoveLeft();
      horizontal = true;
      break;
    case ccRight:
      MoveRight();
      horizontal = true;
      break;
    case ccUp:
    case ccDown:
      MoveVertically(command == ccDown);
      break;
    case ccWordLeft:
      MoveWordLeft();
      horizontal = true;
      break;
    case ccWordRight:
      MoveWordRight();
      horizontal = true;
      break;
    default:
      return;
  }
  if (horizontal) DesiredColumn = XOfOffset(CursorParagraph, CursorLine, CursorIndex);
  if (select) SetSelectionEnd(CursorParagraph, CursorLine, CursorIndex);
  CaretMoved();
}

void TWPRTFTextInput::PlaceCaretAtPoint(int x, int y, bool scroll, bool extend) {
  if (Has(poNoCaretMove)) return;
  Prepare();
  const TTextPos pos = PositionAtPoint(x, y);
  if (!pos.Line) return;
  if (extend && !NoBlockMarking) {
    AnchorAtCaret();
    SetCaret(pos.Par, pos.Line, pos.Index);
    SetSelectionEnd(pos.Par, pos.Line, pos.Index);
  } else {
    if (HasSelection() || AnchorSet) ClearSelectionAndRepaint();
    SetCaret(pos.Par, pos.Line, pos.Index);
  }
  DesiredColumn = XOfOffset(pos.Par, pos.Line, pos.Index);
  TakeAttributesAtCaret();
  if (scroll) {
    const int top = pos.Line->Top - ScrollTop;
    if (top + pos.Line->Height > ClipHeight)
      ScrollDown(top + pos.Line->Height - ClipHeight);
    else if (top < 0)
      ScrollUp(-top);
  }
  UpdateCaret();
  if (OnCaretFormatting) OnCaretFormatting();
}

int TWPRTFTextInput::CaretPosition() const {
  return CursorParagraph ? PositionOf(CursorParagraph, CursorLine, CursorIndex) : 0;
}

void TWPRTFTextInput::SetCaretPosition(int position) {
  Prepare();
  TParagraph* par = nullptr;
  TLine* line = nullptr;
  int index = 0;
  PositionToCursor(std::max(position, 0), par, line, index);
  if (!line) return;
  if (HasSelection() || AnchorSet) ClearSelectionAndRepaint();
  SetCaret(par, line, index);
  DesiredColumn = XOfOffset(par, line, index);
  CaretMoved();
}

// ---------------------------------------------------------------------------
// Scrolling

int TWPRTFTextInput::HorzRange() const {
  const int overflow = Header.TextWidthPixels - WrapWidth();
  return overflow > 0 ? overflow + kCaretSlack : 0;
}

void TWPRTFTextInput::SetScrollTop(int position) {
  if (Has(poForeignCanvas) || Has(poNoScroll)) return;
  position = std::max(position, 0);
  const int delta = position - ScrollTop;
  if (delta == 0) return;
  ScrollTop = position;
  if (std::abs(delta) >= ClipHeight || TileBackground || Has(poTransparent) || !OnScrollWindow)
    Repaint();
  else if (RepaintAllowed())
    OnScrollWindow(0, -delta);
  UpdateCaret();
  if (OnUpdateVertScrollBar) OnUpdateVertScrollBar();
}

void TWPRTFTextInput::SetHorzOffset(int offset) {
  if (Has(poForeignCanvas) || Has(poNoScroll)) return;
  offset = std::clamp(offset, -HorzRange(), 0);
  const int delta = offset - HorzOffset;
  if (delta == 0) return;
  HorzOffset = offset;
  if (std::abs(delta) >= WrapWidth() || TileBackground || Has(poTransparent) || !OnScrollWindow)
    Repaint();
  else if (RepaintAllowed())
    OnScrollWindow(delta, 0);
  UpdateCaret();
  if (OnUpdateHorzScrollBar) OnUpdateHorzScrollBar();
}

void TWPRTFTextInput::ScrollDown(int pixels) {
  if (pixels <= 0) return;
  int position = ScrollTop + pixels;
  if (pixels > ClipHeight) {
    // A long jump lands on a line's top; on the last line, with some of the
    // text above it still in view.
    const TTextPos at = LineAtY(position);
    if (at.Line) {
      const bool last = !at.Line->Next && !at.Par->Next;
      position = last ? std::max(at.Line->Top - 2 * ClipHeight / 3, 0) : at.Line->Top;
    }
  }
  SetScrollTop(position);
}

void TWPRTFTextInput::ScrollUp(int pixels) {
  if (pixels <= 0) return;
  int position = std::max(ScrollTop - pixels, 0);
  if (pixels > ClipHeight) {
    const TTextPos at = LineAtY(position);
    if (at.Line) position = at.Line->Top;
  }
  SetScrollTop(position);
}

void TWPRTFTextInput::VertScrollCommand(int code, int position) {
  const int H = ClipHeight;
  const bool moreBelow = ScrollTop + H < DocumentHeight();
  switch (code) {
    case scLineUp:
      SetScrollTop(ScrollTop - kScrollLine);
      break;
    case scLineDown:
      if (moreBelow) SetScrollTop(ScrollTop + kScrollLine);
      break;
    case scPageUp:
      SetScrollTop(ScrollTop - H);
      break;
    case scPageDown:
      if (moreBelow) SetScrollTop(ScrollTop + H);
      break;
    case scThumbPosition:
    case scThumbTrack:
      SetScrollTop(position);
      break;
    case scTop:
      SetScrollTop(0);
      break;
    case scBottom:
      SetScrollTop(DocumentHeight() - H);
      break;
    default:
      break;
  }
}

void TWPRTFTextInput::HorzScrollCommand(int code, int position) {
  const int page = 3 * WrapWidth() / 4;
  switch (code) {
    case scLineUp:
      SetHorzOffset(HorzOffset + kScrollLine);
      break;
    case scLineDown:
      SetHorzOffset(HorzOffset - kScrollLine);
      break;
    case scPageUp:
      SetHorzOffset(HorzOffset + page);
      break;
    case scPageDown:
      SetHorzOffset(HorzOffset - page);
      break;
    case scThumbPosition:
    case scThumbTrack:
      SetHorzOffset(-position);
      break;
    case scTop:
      SetHorzOffset(0);
      break;
    case scBottom:
      SetHorzOffset(-HorzRange());
      break;
    default:
      break;
  }
}

TWPRTFTextPaint::TTextPos TWPRTFTextInput::CharAtPoint(int x, int y) {
  const int documentY = y - OriginY + ScrollTop;
  TTextPos pos = LineAtY(documentY);
  if (!pos.Line || documentY < pos.Line->Top || documentY >= pos.Line->Top + pos.Line->Height) return {};
  const int textX = x - OriginX - (Has(poIgnoreHorzOffset) ? 0 : HorzOffset);
  int left = LineAdvances(pos.Par, pos.Line, FAdvances);
  for (int k = 0; k < pos.Line->Length; ++k) {
    if (textX >= left && textX < left + FAdvances[k]) {
      pos.Index = k;
      return pos;
    }
    left += FAdvances[k];
  }
  return {};
}
