#pragma once
// The holder of one label's rich text at rest. The page panel keeps one per
// label; the editor copies a storage's document in and back out.
#include <memory>

#include "richtext/RtfTextIo.h"

class TWPRtfStorage {
 public:
  TWPRtfStorage();
  ~TWPRtfStorage();
  TWPRtfStorage(const TWPRtfStorage&) = delete;
  TWPRtfStorage& operator=(const TWPRtfStorage&) = delete;

  // The document itself; callers may change it in place.
  TWPRTFTextIo& RtfText() { return *FRtfText; }
  const TWPRTFTextIo& RtfText() const { return *FRtfText; }
  // The storage's document becomes a copy of source; it keeps its own object.
  void SetRtfText(const TWPRTFTextIo& source) { FRtfText->Assign(source); }

 private:
  std::unique_ptr<TWPRTFTextIo> FRtfText;
};
