#pragma once
// The editing level of a document: caret movement and editing commands
// build on the layout and painting below them.
#include "richtext/gui/RtfTextPaint.h"

class TWPRTFTextInput : public TWPRTFTextPaint {
 public:
  TWPRTFTextInput();
  ~TWPRTFTextInput() override;

  bool ReadOnly = false;
};
