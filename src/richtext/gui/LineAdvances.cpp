// Where the characters of a laid-out line are placed: one walk shared by
// painting and by the caret, so that a click, the caret and the painted text
// agree to the pixel.
#include <algorithm>
#include <vector>

#include "richtext/gui/RtfTextPaint.h"

int TWPRTFTextPaint::LineStartX(TParagraph* par, TLine* line) const {
  const int left = LeftEdge(par, line);
  if (!par->RightOrCentred()) return left;
  const int free = Header.TextWidthPixels - LineContentWidth(par, line) - RightIndent(par) - left;
  if (par->Alignment == paRight && free > 0) return left + free;
  if (par->Alignment == paCenter && free > 1) return left + free / 2;
  return left;
}

int TWPRTFTextPaint::LineAdvances(TParagraph* par, TLine* line, std::vector<int>& advances) {
  advances.assign(line->Length, 0);
  if (!line->Attrs) MeasureFont(nullptr);  // plain text: the current font's widths
  const bool rightOrCentre = par->RightOrCentred();
  const bool justified = par->Alignment == paJustify && line->SpaceWidth > 0;
  const int start = LineStartX(par, line);
  int x = start;
  int widened = 0;
  for (int k = 0; k < line->Length; ++k) {
    const unsigned char code = line->CharAt(k);
    int advance = line->Attrs ? line->Attrs[k].Width : FWidths[code];
    if (advance != 0 && !rightOrCentre) {
      if (code == '\t') {
        advance = std::max(NextTabPosition(par, line, x, k) - x, 0);
      } else if (justified && code == ' ' && k >= line->LineWidth) {
        advance = line->SpaceWidth + (widened < line->SpaceExtra ? 1 : 0);
        ++widened;
      }
    }
    advances[k] = advance;
    x += advance;
  }
  return start;
}
