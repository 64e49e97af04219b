// Feeds arbitrary bytes to the layout file loader through a temporary file
// and checks the table it fills: at most 50 layouts, each one the panel can
// show, and nothing but the loader's own messages escaping.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "labelpage/LabelLayout.h"
#include "richtext/Stream.h"

namespace {

const std::string& FilePath() {
  static const std::string path = "/tmp/layoutfuzz-" + std::to_string(getpid()) + ".LLO";
  return path;
}

void Check(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "inconsistent layout table: %s\n", what);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  {
    TFileStream file(FilePath(), TFileStream::Mode::Create);
    file.WriteBuffer(data, size);
    file.Close();
  }
  TLabelLayoutArray layouts;
  try {
    LoadLLOFile(FilePath(), layouts);
  } catch (const EStreamError&) {
    // A bad header is reported to the user; the table stays as it was.
  }
  Check(layouts.Count() >= 0 && layouts.Count() <= MaxLayouts, "count out of range");
  for (int i = 1; i <= layouts.Count(); ++i) Check(IsUsableLayout(layouts[i]), "unusable layout kept");
  return 0;
}
