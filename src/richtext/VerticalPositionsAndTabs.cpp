// What the model does for line layout: the vertical position chain that
// gives every line its Top and page-break mark, and the cleanup that frees
// tab slots no paragraph uses.
#include <algorithm>

#include "richtext/MulDiv.h"
#include "richtext/RtfText.h"

void TWPRTFText::TabCleanup() {
  TTabSet inUse = 0;
  for (const TParagraph* p = FirstParagraph; p != nullptr; p = p->Next) inUse |= p->TabSet;
  TTabSet used = 0;
  for (int i = 0; i < TTextHeader::kTabSlots; ++i)
    if (Header.TabPositions[i] != 0) used |= TTabSet{1} << i;
  if ((used & ~inUse) != 0) {
    for (int i = 0; i < TTextHeader::kTabSlots; ++i) {
      if ((used & ~inUse) >> i & 1u) {
        Header.TabPositions[i] = 0;
        Header.TabPixelPositions[i] = 0;
      }
    }
    Header.SortTabs();
  }
  if (OnTabsCleaned) OnTabsCleaned(*this);
}

bool TWPRTFText::RecomputeLineHeight(TParagraph* /*par*/, TLine* /*line*/) { return false; }

int TWPRTFText::ComputeVerticalPositions() {
  const int ypi = Header.YPixelsPerInch;
  // 64-bit: page values come from files and may be extreme.
  long long pageHeight = (0LL + Header.PageHeight - Header.TopMargin - Header.BottomMargin) * ypi / 1440;
  if (PrintZoomFactor > 0)
    pageHeight = static_cast<long long>(static_cast<double>(pageHeight) * PrintZoomFactor);
  const int twipsPerPixel = 1440 / (ypi > 0 ? ypi : 96);
  int y = 0;
  int pageStart = 0;
  TParagraph* rowStart = nullptr;
  int rowHeight = 0;
  for (TParagraph* p = FirstParagraph; p != nullptr; p = p->Next) {
    // Table flags must agree with the neighbours.
    const std::uint8_t before = p->ParFlags;
    std::uint8_t f = p->ParFlags;
    if ((f & kParMoreCells) && !(p->Next != nullptr && (p->Next->ParFlags & kParNotFirstCell)))
      f &= static_cast<std::uint8_t>(~(kParMoreCells | kParTableCell));
    if ((f & kParNotFirstCell) && !(p->Prev != nullptr && (p->Prev->ParFlags & kParMoreCells)))
      f &= static_cast<std::uint8_t>(~(kParNotFirstCell | kParTableCell));
    if ((f & (kParNotFirstCell | kParMoreCells)) && !(f & kParTableCell))
      f &= static_cast<std::uint8_t>(~(kParNotFirstCell | kParMoreCells));
    if ((f & kParTableCell) && !(f & (kParNotFirstCell | kParMoreCells)))
      f &= static_cast<std::uint8_t>(~kParTableCell);
    p->ParFlags = f;
    if (f != before) p->SpaceAfter = 0;
    const bool cell = p->IsTableCell();
    if ((f & kParMoreCells) && !(f & kParNotFirstCell)) {
      rowStart = p;
      rowHeight = 0;
    }
    if (cell) p->SpaceAfter = 0;
    if (f & kParPageBreakBefore) pageStart = y;

    int top = y;
    for (TLine* l = p->FirstLine; l != nullptr; l = l->Next) {
      l->Top = top;
      l->LineFlags &= static_cast<std::uint8_t>(~kLinePageBreak);
      if (!cell && top - pageStart > pageHeight) {
        TLine* first = p->FirstLine;
        if ((f & kParKeepTogether) && !(first->LineFlags & kLinePageBreak) && first->Top > pageStart) {
          first->LineFlags |= kLinePageBreak;
          pageStart = first->Top;
        } else {
          l->LineFlags |= kLinePageBreak;
          pageStart = top;
        }
      }
      if (cell && l->Next == nullptr) RecomputeLineHeight(p, l);
      top += l->Height;
    }
    const int height = top - y;

    if (!cell) {
      y += height;
      continue;
    }
    if (f & kParMoreCells) {
      rowHeight = std::max(rowHeight, height);
      p->SpaceAfter = height;  // the cell's own height until the row is complete
      continue;
    }
    if (rowStart == nullptr) rowStart = p;
    rowHeight = std::max(rowHeight + MulDiv(p->SpaceBefore, ypi, 1440), height);
    TLine* rowFirst = rowStart->FirstLine;
    if (rowFirst->Top - pageStart + rowHeight > pageHeight) {
      rowFirst->LineFlags |= kLinePageBreak;
      pageStart = rowFirst->Top;
    }
    for (TParagraph* c = rowStart;; c = c->Next) {
      const int own = c == p ? height : c->SpaceAfter;
      c->SpaceAfter = std::max(rowHeight - own, 0) * twipsPerPixel;
      RecomputeLineHeight(c, LastLine(c));
      if (c == p) break;
    }
    y += rowHeight;
    rowStart = nullptr;
    rowHeight = 0;
  }
  return y;
}
