#include "richtext/CharacterAttr.h"

namespace {
// Stores value and reports whether it changed.
template <typename T>
bool Store(T& field, T value) {
  if (field == value) return false;
  field = value;
  return true;
}
}  // namespace

void TCharacterAttr::Notify(int relayout) {
  if (OnChange) OnChange(FTag, relayout);
}

// Bold, italic, super- and subscript and hidden change character widths.
void TCharacterAttr::SetBold(TThreeState value) {
  if (Store(FBold, value)) Notify(1);
}
void TCharacterAttr::SetItalic(TThreeState value) {
  if (Store(FItalic, value)) Notify(1);
}
void TCharacterAttr::SetSuperScript(TThreeState value) {
  if (Store(FSuperScript, value)) Notify(1);
}
void TCharacterAttr::SetSubScript(TThreeState value) {
  if (Store(FSubScript, value)) Notify(1);
}
void TCharacterAttr::SetHidden(bool value) {
  if (Store(FHidden, value)) Notify(1);
}

void TCharacterAttr::SetUnderline(TThreeState value) {
  if (Store(FUnderline, value)) Notify(0);
}
void TCharacterAttr::SetStrikeOut(TThreeState value) {
  if (Store(FStrikeOut, value)) Notify(0);
}
// The underline colour only shows while underlining is forced on.
void TCharacterAttr::SetUseUnderlineColor(bool value) {
  if (Store(FUseUnderlineColor, value) && FUnderline == tsTRUE) Notify(0);
}
void TCharacterAttr::SetUseTextColor(bool value) {
  if (Store(FUseTextColor, value)) Notify(0);
}
void TCharacterAttr::SetUseBackgroundColor(bool value) {
  if (Store(FUseBackgroundColor, value)) Notify(0);
}

void TCharacterAttr::SetUnderlineColor(TColor value) {
  if (!Store(FUnderlineColor, value)) return;
  FUseUnderlineColor = true;
  Notify(0);
}
void TCharacterAttr::SetTextColor(TColor value) {
  if (!Store(FTextColor, value)) return;
  FUseTextColor = true;
  Notify(0);
}
void TCharacterAttr::SetBackgroundColor(TColor value) {
  if (!Store(FBackgroundColor, value)) return;
  FUseBackgroundColor = true;
  Notify(0);
}

bool TCharacterAttr::SameValues(const TCharacterAttr& o) const {
  return FBold == o.FBold && FItalic == o.FItalic && FUnderline == o.FUnderline &&
         FStrikeOut == o.FStrikeOut && FSuperScript == o.FSuperScript && FSubScript == o.FSubScript &&
         FHidden == o.FHidden && FUseUnderlineColor == o.FUseUnderlineColor &&
         FUseTextColor == o.FUseTextColor && FUseBackgroundColor == o.FUseBackgroundColor &&
         FUnderlineColor == o.FUnderlineColor && FTextColor == o.FTextColor &&
         FBackgroundColor == o.FBackgroundColor;
}

void TCharacterAttr::Assign(const TCharacterAttr& s) {
  if (SameValues(s)) return;
  FBold = s.FBold;
  FItalic = s.FItalic;
  FUnderline = s.FUnderline;
  FStrikeOut = s.FStrikeOut;
  FSuperScript = s.FSuperScript;
  FSubScript = s.FSubScript;
  FHidden = s.FHidden;
  FUseUnderlineColor = s.FUseUnderlineColor;
  FUseTextColor = s.FUseTextColor;
  FUseBackgroundColor = s.FUseBackgroundColor;
  FUnderlineColor = s.FUnderlineColor;
  FTextColor = s.FTextColor;
  FBackgroundColor = s.FBackgroundColor;
  Notify(1);
}

// The defaults are set before any handler is attached, so they notify nobody.
void InitInsertPointAttr(TCharacterAttr& attr) {
  attr.SetTag(kInsertPointAttrTag);
  attr.SetTextColor(0x0000FF);
}
void InitAutomaticTextAttr(TCharacterAttr& attr) { attr.SetTag(kAutomaticTextAttrTag); }
void InitHyperlinkTextAttr(TCharacterAttr& attr) {
  attr.SetTag(kHyperlinkTextAttrTag);
  attr.SetUnderline(tsTRUE);
  attr.SetUnderlineColor(0xFF0000);
}
void InitProtectedTextAttr(TCharacterAttr& attr) { attr.SetTag(kProtectedTextAttrTag); }
