#include "labelpage/DefaultEditorFont.h"

#include <algorithm>

namespace {

// The colour of index n as the label editor reports it: the colour table's
// first 15 entries, black above them.
TColor ColorOfNumber(const TTextHeader& header, int n) { return n <= 14 ? header.Colors[n] : 0; }

}  // namespace

void ApplyDefaultFont(TAttr& attr, TTextHeader& header, const TDefaultEditorFont& font) {
  attr.FontIndex = static_cast<std::uint8_t>(header.FindOrAddFont(font.Name.toLatin1().toStdString()));
  attr.Size = static_cast<std::uint8_t>(std::clamp(font.Size, 0, 255));
  if (font.Bold) attr.Style |= kStyleBold;
  if (font.Italic) attr.Style |= kStyleItalic;
  if (font.Underline) attr.Style |= kStyleUnderline;
  if (font.Strikeout) attr.Style |= kStyleStrikeOut;
  int color = 0;
  for (int n = 0; n < TTextHeader::kColorCount; ++n)
    if (ColorOfNumber(header, n) == font.Color) color = n;
  attr.Colors = static_cast<std::uint8_t>(color);
}
