#include "richtext/gui/RichText.h"

TWPCustomRichText::TWPCustomRichText(QWidget* parent) : TWPCustomRtfEdit(parent) {
  FontNumber("Arial");
  SetInserting(true);
}

TWPCustomRichText::~TWPCustomRichText() = default;

TWPRichText::TWPRichText(QWidget* parent) : TWPCustomRichText(parent) {}

TWPRichText::~TWPRichText() = default;
