// Feeds arbitrary bytes to the label page file reader, through a temporary
// file into a sheet, and checks that the sheet is left consistent: a label
// count of 0 (nothing ever loaded) or 1..200, a storage for every label. A
// sheet that loaded is written again and must read back the same.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <string>

#include "labelpage/LabelPageFile.h"
#include "labelpage/LabelSheet.h"

namespace {

std::string Folder;
std::string FilePath;

void RemoveFolder() {
  unlink(FilePath.c_str());
  rmdir(Folder.c_str());
}

void Check(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "inconsistent sheet: %s\n", what);
  std::abort();
}

void CheckSheet(const TLabelSheet& sheet) {
  const int count = sheet.LabelsPerPage();
  Check(count >= 0 && count <= MaxLabelsPerPage, "label count out of range");
  if (count > 0) Check(IsUsableLayout(sheet.LayoutDescription()), "label count without a usable layout");
  if (count > 0)
    Check(count == LabelCountOf(sheet.LayoutDescription()), "label count differs from the layout");
  for (int n = 1; n <= count; ++n) Check(sheet.Storage(n) != nullptr, "label without a storage");
}

// A sheet that loaded writes a file that loads to the same layout and count.
void CheckRoundTrip(const std::string& bytes) {
  TLabelSheet sheet;
  TMemoryStream in(bytes);
  try {
    TLabelPageFile::Read(in, sheet);
  } catch (const std::exception&) {
    return;
  }
  TMemoryStream out;
  TLabelPageFile::Write(out, sheet);
  TLabelSheet again;
  TMemoryStream reread(out.Data());
  TLabelPageFile::Read(reread, again);  // any error here is a finding
  Check(again.LayoutDescription() == sheet.LayoutDescription(), "layout changed by a save and load");
  Check(again.LabelsPerPage() == sheet.LabelsPerPage(), "label count changed by a save and load");
}

}  // namespace

// Allocations the font and window system libraries keep for the life of the
// process (the same list as the tests' suppressions).
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig\nleak:libQt6Gui\nleak:libQt6Core\nleak:libQt6Widgets\nleak:libdbus\nleak:"
         "libglib\n";
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  char folder[] = "/tmp/pagefilefuzzer-XXXXXX";
  if (!mkdtemp(folder)) std::abort();
  Folder = folder;
  FilePath = Folder + "/fuzz.KLX";
  std::atexit(RemoveFolder);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  std::FILE* file = std::fopen(FilePath.c_str(), "wb");
  if (!file) return 0;
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);

  TLabelSheet sheet;
  try {
    TLabelPageFile::Load(FilePath, sheet);
  } catch (const std::exception&) {
  }
  CheckSheet(sheet);
  CheckRoundTrip(bytes);
  return 0;
}
