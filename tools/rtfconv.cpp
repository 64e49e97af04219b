// rtfconv [--to rtf|text] IN OUT
// Loads IN with the engine's format detection and writes OUT as RTF (the
// default) or as plain text; shows what the engine makes of a file.
#include <cstdio>
#include <exception>
#include <string>

#include "richtext/RtfTextIo.h"
#include "richtext/RtfWriter.h"
#include "richtext/TextWriter.h"

namespace {

int Usage() {
  std::fprintf(stderr, "usage: rtfconv [--to rtf|text] IN OUT\n");
  return 2;
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "rtfconv: %s\n", message.c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  bool toText = false;
  int arg = 1;
  if (arg < argc && std::string(argv[arg]) == "--to") {
    if (arg + 1 >= argc) return Usage();
    const std::string target = argv[arg + 1];
    if (target == "text")
      toText = true;
    else if (target != "rtf")
      return Usage();
    arg += 2;
  }
  if (argc - arg != 2) return Usage();
  const std::string inName = argv[arg];
  const std::string outName = argv[arg + 1];

  try {
    TWPRTFTextIo doc;
    TFileStream in(inName, TFileStream::Mode::OpenRead);
    if (toText) {
      // Plain text needs no whole document: each paragraph is written as
      // soon as it is read and freed, so large inputs take little memory.
      TFileStream out(outName, TFileStream::Mode::Create);
      TWPTextWriter writer(doc);
      std::uint8_t result = writer.WriteHeader(out);
      doc.ReadParagraphByParagraph(in, [&](TParagraph& par) {
        if (result == kResultOk) result = writer.WriteParagraph(out, par);
      });
      if (doc.ResultCode != kResultOk)
        return Fail(doc.LastError.empty() ? "cannot read " + inName : doc.LastError);
      // Without the 0 byte the text writer closes with.
      out.Close();
      if (result != kResultOk) return Fail("Stream write error");
      return 0;
    }
    doc.LoadFromStream(in);
    if (doc.ResultCode != kResultOk)
      return Fail(doc.LastError.empty() ? "cannot read " + inName : doc.LastError);

    TFileStream out(outName, TFileStream::Mode::Create);
    TWPRTFWriter writer(doc);
    const std::uint8_t result = writer.WriteAll(out);
    out.Close();
    if (result != kResultOk) return Fail("Stream write error");
  } catch (const std::exception& error) {
    return Fail(error.what());
  }
  return 0;
}
