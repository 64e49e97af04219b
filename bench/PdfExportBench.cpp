// Time of exporting a 2 x 15 file-folder sheet to PDF in the process: every
// label laid out at 1200 pixels per inch and painted into the PDF writer,
// the file written. Also writes the same sheet as a label page file, so that
// bench/pdf-export.sh can time the program's command line on it:
//   PdfExportBench --write-sheet SHEET.KLX
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstring>
#include <string>
#include <vector>

#include "BenchmarkMain.h"
#include "labelpage/LabelPageFile.h"
#include "labelpage/LabelPageTestSupport.h"
#include "printing/PdfExport.h"
#include "richtext/Stream.h"

namespace {

std::string LabelText(int n) { return "Folder " + std::to_string(n) + ": Accounts receivable 2024"; }

// Label n's text in Arial 10 point.
void FillSheet(TLabelSheet& sheet) {
  sheet.Reset(labelpagetest::FileFolderSheet("Folder 30"));
  for (int n = 1; n <= sheet.LabelsPerPage(); ++n) {
    TMemoryStream stream("{\\rtf1\\ansi{\\fonttbl{\\f0\\fswiss Arial;}}\\f0\\fs20 " + LabelText(n) +
                         "\\par}");
    TLabelDocument& document = sheet.Storage(n)->RtfText();
    document.Clear();
    document.LoadFromStream(stream);
  }
}

void BM_ExportPdf30Labels(benchmark::State& state) {
  TLabelSheet sheet;
  FillSheet(sheet);
  QTemporaryDir folder;
  const QString path = folder.filePath("sheet.pdf");
  for (auto _ : state) ExportPageToPdf(sheet, path, {}, QStringLiteral("Folder 30"));
}

// Writes the sheet as a label page file.
void WriteSample(const char* sheetPath) {
  TLabelSheet sheet;
  FillSheet(sheet);
  TLabelPageFile::Save(sheetPath, sheet);
}

}  // namespace

BENCHMARK(BM_ExportPdf30Labels)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  TOffscreenApplication<QGuiApplication> app(argc, argv);
  if (argc == 3 && std::strcmp(argv[1], "--write-sheet") == 0) {
    WriteSample(argv[2]);
    return 0;
  }
  return RunBenchmarks(argc, argv);
}
