#pragma once
// Whether a label's text fits its label: the text is laid out in the label's
// text area at a screen's resolution and 100 %, as the label editor lays it
// out over the label, and fits while the bottom of its last line lies within
// the area's height. Filling labels from a list cuts an entry here.
//
// Usage:
//   TLabelTextFit fit(sheet.LayoutDescription());
//   if (!fit.Fits(document)) keep = fit.FittingText(document);
#include <string>

#include "labelpage/LabelSheet.h"
#include "richtext/gui/Canvas.h"
#include "richtext/gui/RtfTextPaint.h"

class TLabelTextFit {
 public:
  // The text area of the layout's labels at pixelsPerInch (all labels of a
  // layout have the same one).
  explicit TLabelTextFit(const TLabelLayoutRecord& layout, int pixelsPerInch = 96);
  TLabelTextFit(const TLabelTextFit&) = delete;
  TLabelTextFit& operator=(const TLabelTextFit&) = delete;

  // The text area in pixels: right minus left plus one, bottom minus top
  // plus one, as the editor is sized.
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }

  // Pixels from the top of the text area to the bottom of the last line.
  int TextHeight(const TLabelDocument& document);
  bool Fits(const TLabelDocument& document) { return TextHeight(document) <= FHeight; }
  // The characters of the display lines that fit, paragraphs separated by
  // '\n'; the first line counts even when it alone is too tall, as the
  // renderer paints it all the same.
  std::string FittingText(const TLabelDocument& document);

 private:
  void LayOut(const TLabelDocument& document);

  int FWidth = 0;
  int FHeight = 0;
  TWPCanvas FMeasure;
  TWPRTFTextPaint FDocument;
};
