#pragma once
// Building small documents and writing them, for the writer, storage and
// round-trip tests.
#include <string>

#include "richtext/RtfText.h"
#include "richtext/RtfWriter.h"
#include "richtext/Stream.h"

namespace writertest {

// A character attribute in font slot font at size points.
inline TAttr Attr(int font = 0, int size = 10, std::uint8_t style = 0, std::uint8_t colors = 0,
                  std::uint8_t special = 0) {
  TAttr a{};
  a.FontIndex = static_cast<std::uint8_t>(font);
  a.Size = static_cast<std::uint8_t>(size);
  a.Style = style;
  a.Colors = colors;
  a.Special = special;
  return a;
}

// Appends text to the paragraph's last line, every character with attr.
inline void Append(TWPRTFText& doc, TParagraph* par, const std::string& text, const TAttr& attr) {
  TLine* line = doc.LastLine(par);
  doc.ReplaceChars(par, line, &attr, static_cast<int>(text.size()), text.data(), 0, line->Length);
}

// A new paragraph after par (attributes copied as the model does).
inline TParagraph* AddParagraph(TWPRTFText& doc, TParagraph* par) { return doc.NewParagraph(par, 40); }

// A cleared document: font slot 0 is Arial, one empty paragraph.
inline void Reset(TWPRTFText& doc) {
  doc.Clear();
  doc.Header.FontNames[0] = "Arial";
}

inline std::string WriteRtf(TWPRTFText& doc) {
  TMemoryStream stream;
  TWPRTFWriter writer(doc);
  writer.WriteAll(stream);
  return stream.Data();
}

// The header the writer produces for a fresh document with only Arial.
inline std::string DefaultRtfHeader() {
  return "{\\rtf1\\ansi\\deff0\\deftab720{\\fonttbl{\\f0\\fnil\\charset0 Arial;}}"
         "{\\colortbl\\red0\\green0\\blue0;\\red255\\green0\\blue0;\\red0\\green128\\blue0;"
         "\\red0\\green0\\blue255;\\red255\\green255\\blue0;\\red255\\green0\\blue255;"
         "\\red128\\green0\\blue128;\\red128\\green0\\blue0;\\red0\\green255\\blue0;"
         "\\red0\\green255\\blue255;\\red0\\green128\\blue128;\\red0\\green0\\blue128;"
         "\\red255\\green255\\blue255;\\red192\\green192\\blue192;\\red128\\green128\\blue128;}"
         "\\paperw12240\\paperh15840\\margl1880\\margr1880\\margt1440\\margb1440";
}

// The body of a written document: everything after the header.
inline std::string Body(const std::string& rtf) {
  const std::string header = DefaultRtfHeader();
  return rtf.compare(0, header.size(), header) == 0 ? rtf.substr(header.size()) : rtf;
}

}  // namespace writertest
