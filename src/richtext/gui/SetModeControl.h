#pragma once
// What the toolbar and the ruler show of the caret: the caret paragraph's
// indents, alignment, shading colour and tab set, and the attributes the
// insertion point writes with.
#include <cstdint>
#include <string>

#include "richtext/gui/RtfTextInput.h"

class TWPSetModeControl {
 public:
  explicit TWPSetModeControl(const TWPRTFTextInput& document) : FDocument(document) {}
  virtual ~TWPSetModeControl() = default;

  // Of the caret paragraph (twips); 0 without one.
  int FirstIndent() const { return Par() ? Par()->FirstIndent : 0; }
  int LeftIndent() const { return Par() ? Par()->LeftIndent : 0; }
  int RightIndent() const { return Par() ? Par()->RightIndent : 0; }
  int Alignment() const { return Par() ? Par()->Alignment : 0; }
  int ShadingColor() const { return Par() ? Par()->ShadingColors >> 4 : 0; }
  TTabSet TabSet() const { return Par() ? Par()->TabSet : 0; }

  // Of the insertion point.
  std::uint32_t StyleWord() const { return FDocument.CurrentAttr.AttrWord(); }
  int TextColor() const { return FDocument.CurrentAttr.TextColor(); }
  int BackgroundColor() const { return FDocument.CurrentAttr.BackgroundColor(); }
  // Empty when the font index names no font slot.
  std::string FontName() const {
    const int index = FDocument.CurrentAttr.FontIndex;
    return index < TTextHeader::kFontSlots ? FDocument.Header.FontNames[index] : std::string();
  }
  // Points; a size of 0 means 10.
  int FontSize() const { return FDocument.CurrentAttr.Size == 0 ? 10 : FDocument.CurrentAttr.Size; }

 protected:
  const TWPRTFTextInput& Document() const { return FDocument; }

 private:
  const TParagraph* Par() const { return FDocument.CursorParagraph; }
  const TWPRTFTextInput& FDocument;
};
