// Feeds arbitrary bytes to the label page file loader, through a temporary
// file into a page panel, and checks that the panel is left consistent: a
// label count of 0 (nothing ever loaded) or 1..200, a storage for every
// label. A sheet that loaded is written again and must read back the same.
#include <QApplication>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <string>

#include "labelpage/KLXPagePanel.h"
#include "labelpage/LabelPageFile.h"

namespace {

// Kept until the process ends: destroying Qt objects from static
// destructors, after Qt's own globals are gone, crashes.
QApplication* Application = nullptr;
QTemporaryDir* Folder = nullptr;
std::string FilePath;

void Check(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "inconsistent panel: %s\n", what);
  std::abort();
}

void CheckPanel(TKLXPagePanel& panel) {
  const int count = panel.LabelsPerPage();
  Check(count >= 0 && count <= MaxLabelsPerPage, "label count out of range");
  if (count > 0) Check(IsUsableLayout(panel.LayoutDescription()), "label count without a usable layout");
  if (count > 0)
    Check(count == LabelCountOf(panel.LayoutDescription()), "label count differs from the layout");
  for (int n = 1; n <= count; ++n) Check(panel.Storage(n) != nullptr, "label without a storage");
}

// A sheet that loaded writes a file that loads to the same layout and count.
void CheckRoundTrip(const std::string& bytes) {
  TLabelLayoutRecord layout;
  int count = 0;
  TLabelStorages storages;
  TLabelPageSheet sheet{layout, count, storages};
  TMemoryStream in(bytes);
  try {
    TLabelPageFile::Read(in, sheet);
  } catch (const std::exception&) {
    return;
  }
  TMemoryStream out;
  TLabelPageFile::Write(out, layout, count, storages);
  TLabelLayoutRecord again;
  int againCount = 0;
  TLabelStorages againStorages;
  TLabelPageSheet againSheet{again, againCount, againStorages};
  TMemoryStream reread(out.Data());
  TLabelPageFile::Read(reread, againSheet);  // any error here is a finding
  Check(again == layout, "layout changed by a save and load");
  Check(againCount == count, "label count changed by a save and load");
}

}  // namespace

// Allocations the font and window system libraries keep for the life of the
// process (the same list as the tests' suppressions).
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig\nleak:libQt6Gui\nleak:libQt6Core\nleak:libQt6Widgets\nleak:libdbus\nleak:"
         "libglib\n";
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  Application = new QApplication(*argc, *argv);
  Folder = new QTemporaryDir();
  FilePath = Folder->filePath(QStringLiteral("fuzz.KLX")).toStdString();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  std::FILE* file = std::fopen(FilePath.c_str(), "wb");
  if (!file) return 0;
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);

  TKLXPagePanel panel;
  try {
    panel.LoadFromFile(FilePath);
  } catch (const std::exception&) {
  }
  CheckPanel(panel);
  CheckRoundTrip(bytes);
  return 0;
}
