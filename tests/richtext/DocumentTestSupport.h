#pragma once
// Documents written in a line of a test: paragraphs separated by '|'.
#include <string>

#include "richtext/RtfText.h"

namespace testdoc {

// Replaces the paragraphs of doc by those of text, every character with attr.
inline void SetParagraphs(TWPRTFText& doc, const std::string& text, const TAttr& attr) {
  std::size_t start = 0;
  for (int index = 0;; ++index) {
    const std::size_t bar = text.find('|', start);
    const std::string part = text.substr(start, bar == std::string::npos ? std::string::npos : bar - start);
    if (index == 0)
      doc.SetParagraphText(0, part.c_str(), &attr, static_cast<int>(part.size()));
    else
      doc.InsertParagraphText(index, part.c_str(), &attr, static_cast<int>(part.size()));
    if (bar == std::string::npos) break;
    start = bar + 1;
  }
}

}  // namespace testdoc
