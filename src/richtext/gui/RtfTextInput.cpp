#include "richtext/gui/RtfTextInput.h"

TWPRTFTextInput::TWPRTFTextInput() = default;
TWPRTFTextInput::~TWPRTFTextInput() = default;
