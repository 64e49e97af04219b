#include "richtext/gui/RichText.h"

TWPCustomRichText::TWPCustomRichText(QWidget* parent) : TWPCustomRtfEdit(parent), FSetMode(*RtfText()) {
  FontNumber("Arial");
  SetInserting(true);
}

TWPCustomRichText::~TWPCustomRichText() = default;

void TWPCustomRichText::ShowCaretFormatting() {
  if (FSetMode.OnPush) FSetMode.OnPush(FSetMode);
}

TWPRichText::TWPRichText(QWidget* parent) : TWPCustomRichText(parent) {}

TWPRichText::~TWPRichText() = default;
