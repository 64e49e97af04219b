#pragma once
// Reading RTF or plain text into a fresh document for the reader tests.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "richtext/DocumentCheck.h"
#include "richtext/RtfReader.h"
#include "richtext/RtfText.h"
#include "richtext/Stream.h"

namespace readertest {

struct TReadDocument {
  std::unique_ptr<TWPRTFText> Doc = std::make_unique<TWPRTFText>();
  std::uint8_t ResultCode = 0;
  std::int64_t StreamPosition = 0;

  std::vector<TParagraph*> Paragraphs() const {
    std::vector<TParagraph*> all;
    for (TParagraph* p = Doc->FirstParagraph; p != nullptr; p = p->Next) all.push_back(p);
    return all;
  }
  TParagraph* Par(int index) const { return Paragraphs().at(static_cast<std::size_t>(index)); }
  std::string Text(int index) const { return Par(index)->Text(); }
  // Attribute of the n-th character of a paragraph.
  const TAttr& AttrAt(int index, int n) const {
    for (TLine* l = Par(index)->FirstLine; l != nullptr; l = l->Next) {
      if (n < l->Length) return l->Attrs[n];
      n -= l->Length;
    }
    throw std::out_of_range("no such character");
  }
  // Every paragraph's text joined with '|'.
  std::string AllText() const {
    std::string all;
    for (TParagraph* p = Doc->FirstParagraph; p != nullptr; p = p->Next)
      all += (p == Doc->FirstParagraph ? "" : "|") + p->Text();
    return all;
  }
};

// Gives a document the resolution a 96 pixels per inch canvas gives it.
inline void AtScreenResolution(TWPRTFText& doc) {
  doc.Header.XPixelsPerInch = doc.Header.YPixelsPerInch = 96;
  doc.Header.RecomputePixelValues();
}

// Reads the bytes into a fresh document's first paragraph with the given
// reader, checking the document afterwards. Errors of the reader propagate.
inline TReadDocument ReadWith(TWPTextReader& reader, const std::string& bytes,
                              void (*prepare)(TWPRTFText&) = nullptr) {
  TReadDocument result;
  if (prepare != nullptr) prepare(*result.Doc);
  TMemoryStream stream(bytes);
  reader.SetTarget(&result.Doc->Header, result.Doc.get());
  reader.SetCharacterAttr(result.Doc->CurrentAttr);
  TParagraph* first = result.Doc->FirstParagraph;
  try {
    reader.Read(&stream, first);
  } catch (...) {
    EXPECT_EQ(CheckDocument(*result.Doc), "");
    throw;
  }
  EXPECT_EQ(first, result.Doc->FirstParagraph);
  EXPECT_EQ(CheckDocument(*result.Doc), "");
  result.ResultCode = reader.ResultCode();
  result.StreamPosition = stream.Position();
  return result;
}

inline TReadDocument ReadRtf(const std::string& rtf, void (*prepare)(TWPRTFText&) = nullptr) {
  TWPRtfReader reader;
  return ReadWith(reader, rtf, prepare);
}

}  // namespace readertest
