#include "richtext/Paragraph.h"

TParagraph::~TParagraph() {
  TLine* line = FirstLine;
  while (line != nullptr) {
    TLine* next = line->Next;
    delete line;
    line = next;
  }
}

int TParagraph::TextLength() const {
  int total = 0;
  for (const TLine* l = FirstLine; l != nullptr; l = l->Next) total += l->Length;
  return total;
}

int TParagraph::Height() const {
  int total = 0;
  for (const TLine* l = FirstLine; l != nullptr; l = l->Next) total += l->Height;
  return total;
}

std::string TParagraph::Text() const {
  std::string text;
  for (const TLine* l = FirstLine; l != nullptr; l = l->Next) text.append(l->Text.get(), l->Length);
  return text;
}

void TParagraph::CopyAttributes(const TParagraph& s) {
  FirstIndent = s.FirstIndent;
  LeftIndent = s.LeftIndent;
  RightIndent = s.RightIndent;
  SpaceBefore = s.SpaceBefore;
  SpaceAfter = s.SpaceAfter;
  LineSpacing = s.LineSpacing;
  Alignment = s.Alignment;
  ParFlags = s.ParFlags;
  SetBorder(s.Border());
  Numbering = s.Numbering;
  NumberingReserved = s.NumberingReserved;
  ShadingColors = s.ShadingColors;
  Shading = s.Shading;
  Reserved1 = s.Reserved1;
  TabSet = s.TabSet;
  CellStart = s.CellStart;
  CellWidth = s.CellWidth;
  CellFill = s.CellFill;
  Reserved2 = s.Reserved2;
}

void FreeParagraphChain(TParagraph* first) {
  while (first != nullptr) {
    TParagraph* next = first->Next;
    delete first;
    first = next;
  }
}
