#pragma once
// Sample layouts and label contents shared by the label page tests.
#include <string>

#include "labelpage/LabelSheet.h"
#include "richtext/Stream.h"

namespace labelpagetest {

// A grid of 2 x 1 in labels on a Letter page, 1/2 in from the left and 1 in
// from the top, 2-1/2 in across and 1-1/4 in down.
inline TLabelLayoutRecord GridLayout(int across, int down, const std::string& name = "Grid") {
  TLabelLayoutRecord layout;
  layout.LayoutName = name;
  layout.LabelWidth = 2000;
  layout.LabelHeight = 1000;
  layout.HorizontalPitch = 2500;
  layout.VerticalPitch = 1250;
  layout.LeftMargin = 500;
  layout.TopMargin = 1000;
  layout.PageWidth = 8500;
  layout.PageHeight = 11000;
  layout.TextTop = 100;
  layout.TextLeft = 63;
  layout.TextBottom = 900;
  layout.TextRight = 1937;
  layout.NumberAcross = across;
  layout.NumberDown = down;
  return layout;
}

// The 2 x 15 striped sheet of 3-7/16 x 2/3 in file folder labels on Letter.
inline TLabelLayoutRecord FileFolderSheet(const std::string& name = "File folder 2 x 15") {
  TLabelLayoutRecord r;
  r.LayoutName = name;
  r.LabelWidth = 3438;
  r.LabelHeight = 667;
  r.HorizontalPitch = 4000;
  r.VerticalPitch = 667;
  r.LeftMargin = 531;
  r.TopMargin = 500;
  r.PageWidth = 8500;
  r.PageHeight = 11000;
  r.TextTop = 63;
  r.TextLeft = 63;
  r.TextBottom = 604;
  r.TextRight = 3375;
  r.NumberAcross = 2;
  r.NumberDown = 15;
  r.StripeStyle = 1;
  return r;
}

// Two lines of 12-point Arial in mixed styles, as a label holds them.
inline const std::string LabelRtf =
    "{\\rtf1\\ansi{\\fonttbl{\\f0\\fswiss Arial;}}\\f0\\fs24 Accounts \\b Payable\\b0\\par "
    "\\i 2026\\i0  \\ul Q3\\ul0\\par}";

// A label's document read from RTF, as a label page file fills it.
inline void PutRtf(TLabelDocument& document, const std::string& rtf) {
  TMemoryStream stream(rtf);
  document.ReadData(stream);
}

// A label's document holding one paragraph of plain text, and its text.
inline void PutText(TLabelDocument& document, const std::string& text) {
  TWPRtfStrings lines(document);
  lines.Clear();
  lines.Add(text);
}
inline std::string TextOf(const TLabelDocument& document) {
  std::string text;
  for (int i = 0; i < document.ParagraphCount(); ++i) text += document.ParagraphText(i);
  return text;
}

}  // namespace labelpagetest
