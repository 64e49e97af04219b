// The insertion cursor, the selection and character positions of a
// document: where editing, saving a selection and the editor's caret calls
// stand in the text.
#include <algorithm>

#include "richtext/RtfTextIo.h"

void TWPRTFTextIo::SetCursorToStart() {
  CursorParagraph = FirstParagraph;
  CursorLine = FirstParagraph ? FirstParagraph->FirstLine : nullptr;
  CursorIndex = 0;
}

bool TWPRTFTextIo::IsValidPosition(const TParagraph* par, const TLine* line, int index) const {
  for (const TParagraph* p = FirstParagraph; p; p = p->Next) {
    if (p != par) continue;
    for (const TLine* l = p->FirstLine; l; l = l->Next)
      if (l == line) return index >= 0 && index <= l->Length;
    return false;
  }
  return false;
}

bool TWPRTFTextIo::HasSelection() const {
  if (!SelStartParagraph || !SelEndParagraph || !SelStartLine || !SelEndLine) return false;
  return !(SelStartParagraph == SelEndParagraph && SelStartLine == SelEndLine &&
           SelStartIndex == SelEndIndex);
}

void TWPRTFTextIo::ClearSelection() {
  SelStartParagraph = SelEndParagraph = nullptr;
  SelStartLine = SelEndLine = nullptr;
  SelStartIndex = SelEndIndex = 0;
  SelectionBackwards = false;
}

int TWPRTFTextIo::PositionOf(const TParagraph* par, const TLine* line, int index) const {
  int position = 0;
  const TParagraph* p = FirstParagraph;
  for (; p && p != par; p = p->Next) position += p->TextLength() + 1;
  if (!p) return std::max(0, position - 1);
  for (const TLine* l = p->FirstLine; l && l != line; l = l->Next) position += l->Length;
  return position + std::max(0, index);
}

void TWPRTFTextIo::PositionToCursor(int position, TParagraph*& par, TLine*& line, int& index) const {
  par = FirstParagraph;
  position = std::max(0, position);
  while (par) {
    const int length = par->TextLength();
    if (position <= length || !par->Next) break;
    position -= length + 1;
    par = par->Next;
  }
  line = par ? par->FirstLine : nullptr;
  if (!line) {
    index = 0;
    return;
  }
  while (line->Next && position > line->Length) {
    position -= line->Length;
    line = line->Next;
  }
  index = std::min<int>(position, line->Length);
}
