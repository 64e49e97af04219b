// Time of exporting a 2 x 15 file-folder sheet to PDF in the process: every
// label laid out at 1200 pixels per inch and painted into the PDF writer,
// the file written. Also writes the same sheet as a label page file and its
// texts as a list, so that bench/pdf-vs-glabels.sh can compare the program's
// command line with another label program on the same text:
//   PdfExportBench --write-sheet SHEET.KLX --write-list NAMES.csv
#include <benchmark/benchmark.h>

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstring>
#include <string>
#include <vector>

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

// Writes the sheet and the list of its texts, one per line; false on failure.
bool WriteSamples(const char* sheetPath, const char* listPath) {
  TLabelSheet sheet;
  FillSheet(sheet);
  TLabelPageFile::Save(sheetPath, sheet);
  QFile list(QString::fromLocal8Bit(listPath));
  if (!list.open(QIODevice::WriteOnly)) return false;
  for (int n = 1; n <= sheet.LabelsPerPage(); ++n) list.write((LabelText(n) + "\n").c_str());
  return list.flush();
}

}  // namespace

BENCHMARK(BM_ExportPdf30Labels)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  std::vector<char*> args(argv, argv + argc);
  char platform[] = "-platform";
  char offscreen[] = "offscreen";
  args.insert(args.begin() + 1, {platform, offscreen});
  int qtArgc = static_cast<int>(args.size());
  QGuiApplication app(qtArgc, args.data());
  if (argc == 5 && std::strcmp(argv[1], "--write-sheet") == 0 && std::strcmp(argv[3], "--write-list") == 0)
    return WriteSamples(argv[2], argv[4]) ? 0 : 1;
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
