#pragma once
// Stand-in for the rich text engine's storage; the engine's TWPRtfStorage replaces this file.
#include <string>

// The smallest document the page panel needs: a whole-document copy, an
// emptiness test and clearing. Its text is a plain byte string.
class TStandInRtfText {
 public:
  void Assign(const TStandInRtfText& source) { FText = source.FText; }
  bool IsEmpty() const { return FText.empty(); }
  void Clear() { FText.clear(); }

  const std::string& Text() const { return FText; }
  void SetText(std::string text) { FText = std::move(text); }

 private:
  std::string FText;
};

// Holds one label's document at rest.
class TWPRtfStorage {
 public:
  TStandInRtfText& RtfText() { return FRtfText; }
  const TStandInRtfText& RtfText() const { return FRtfText; }

 private:
  TStandInRtfText FRtfText;
};
