#include "richtext/RtfStorage.h"

TWPRtfStorage::TWPRtfStorage() : FRtfText(std::make_unique<TWPRTFTextIo>()) {}

TWPRtfStorage::~TWPRtfStorage() = default;
