#include "labelpage/LabelTextFit.h"

#include "labelpage/PageGeometry.h"

TLabelTextFit::TLabelTextFit(const TLabelLayoutRecord& layout, int pixelsPerInch)
    : FMeasure(pixelsPerInch, pixelsPerInch) {
  const TCellRect area = TScreenScale(pixelsPerInch, 100).Cell(layout, 1).rFree;
  FWidth = area.Right - area.Left + 1;
  FHeight = area.Bottom - area.Top + 1;
}

void TLabelTextFit::LayOut(const TLabelDocument& document) {
  FDocument.SetPaintOptions(poLayoutLocked | poForeignCanvas);
  FDocument.Assign(document);
  FDocument.SetZooming(100);
  FDocument.LayOutForCanvas(&FMeasure, FWidth, ForeignPaintOptions(0));
}

int TLabelTextFit::TextHeight(const TLabelDocument& document) {
  LayOut(document);
  int bottom = 0;
  for (TParagraph* par = FDocument.FirstParagraph; par; par = par->Next)
    for (TLine* line = par->FirstLine; line; line = line->Next) bottom = line->Top + line->Height;
  return bottom;
}

std::string TLabelTextFit::FittingText(const TLabelDocument& document) {
  LayOut(document);
  std::string text;
  bool any = false;
  for (TParagraph* par = FDocument.FirstParagraph; par; par = par->Next) {
    for (TLine* line = par->FirstLine; line; line = line->Next) {
      if (any && line->Top + line->Height > FHeight) return text;
      if (any && line == par->FirstLine) text += '\n';
      text += line->String();
      any = true;
    }
  }
  return text;
}
