// Arbitrary bytes through every way rich text is loaded: format detection
// with LoadFromStream (into an empty and into a non-empty document), the
// RTF reader forced on non-RTF bytes, reading paragraph by paragraph as a
// converter does, and the "Data" property reader. Every
// document must pass the consistency check, and what the RTF writer makes
// of it must read back into a consistent document again.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "richtext/DocumentCheck.h"
#include "richtext/RtfTextIo.h"
#include "richtext/Stream.h"

namespace {

void Check(const TWPRTFTextIo& doc, const char* where) {
  const std::string problem = CheckDocument(doc);
  if (!problem.empty()) {
    std::fprintf(stderr, "%s: %s\n", where, problem.c_str());
    std::abort();
  }
}

// Writes the document as the "Data" property and reads it back.
void RoundTrip(const TWPRTFTextIo& doc, const char* where) {
  if (!doc.HasData()) return;
  TMemoryStream data;
  doc.WriteData(data);
  data.SetPosition(0);
  TWPRTFTextIo again;
  try {
    again.ReadData(data);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s: written RTF does not read back: %s\n", where, e.what());
    std::abort();
  }
  Check(again, where);
}

void LoadInto(TWPRTFTextIo& doc, const std::string& bytes, const char* where) {
  TMemoryStream stream(bytes);
  doc.LoadFromStream(stream);
  Check(doc, where);
  RoundTrip(doc, where);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);

  {
    TWPRTFTextIo doc;
    LoadInto(doc, bytes, "load into empty document");
  }
  {
    TWPRTFTextIo doc;
    TMemoryStream first(std::string("{\\rtf1 one\\par two}"));
    doc.LoadFromStream(first);
    doc.PositionToCursor(5, doc.CursorParagraph, doc.CursorLine, doc.CursorIndex);
    LoadInto(doc, bytes, "load into non-empty document");
  }
  {
    TWPRTFTextIo doc;
    doc.LoadFormat = FormatRTF;
    LoadInto(doc, bytes, "forced RTF load");
  }
  {
    // Paragraphs come one by one, each the first of what is left, and none
    // stays behind in the document.
    TWPRTFTextIo doc;
    TMemoryStream stream(bytes);
    std::size_t length = 0;
    doc.ReadParagraphByParagraph(stream, [&length](TParagraph& par) {
      if (par.Prev != nullptr) std::abort();
      length += static_cast<std::size_t>(par.TextLength());
    });
    if (!doc.IsEmpty()) std::abort();
    Check(doc, "paragraph by paragraph");
  }
  {
    TWPRTFTextIo doc;
    TMemoryStream stream(bytes);
    try {
      doc.ReadData(stream);
    } catch (const std::exception&) {
      // reported to the caller; the document must still be sound
    }
    Check(doc, "Data property");
    RoundTrip(doc, "Data property");
  }
  return 0;
}
