// Time of one full repaint of the page panel, offscreen: the sheet, every
// label's text painted (laid out again only where needed), the copy to the
// panel. A 2 x 15 file-folder sheet and a 200-label sheet, each label holding
// two lines of mixed formatting, at 100 % and 60 %; the 30-label sheet also
// with every label's text changed before each repaint, so that every label
// is laid out anew; and one label's layout and paint through an editor
// control's PaintToCanvas on its own.
#include <QApplication>
#include <QImage>
#include <memory>
#include <string>
#include <vector>

#include "BenchmarkMain.h"
#include "labelpage/KLXPagePanel.h"
#include "labelpage/LabelPageTestSupport.h"
#include "richtext/Stream.h"
#include "richtext/gui/RichText.h"

namespace {

TLabelLayoutRecord FileFolderSheet() { return labelpagetest::FileFolderSheet("Folder 30"); }

// 4 x 50 small labels on a long sheet.
TLabelLayoutRecord TwoHundredSheet() {
  TLabelLayoutRecord r = FileFolderSheet();
  r.LayoutName = "Labels 200";
  r.LabelWidth = 1900;
  r.LabelHeight = 400;
  r.HorizontalPitch = 2000;
  r.VerticalPitch = 420;
  r.LeftMargin = 250;
  r.TopMargin = 250;
  r.PageWidth = 8500;
  r.PageHeight = 21500;
  r.TextTop = 30;
  r.TextLeft = 40;
  r.TextBottom = 380;
  r.TextRight = 1860;
  r.NumberAcross = 4;
  r.NumberDown = 50;
  r.StripeStyle = 0;
  return r;
}

std::string LabelRtf(int n, int size) {
  const std::string half = std::to_string(size * 2);
  return "{\\rtf1\\ansi{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\froman Times New Roman;}}"
         "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}"
         "\\f0\\fs" +
         half + " Accounts \\b Payable\\b0  " + std::to_string(n) +
         "\\par \\f1\\i\\cf1 2026\\i0\\cf0  \\ul Q" + std::to_string(n % 4 + 1) +
         "\\ul0  \\cf2 caf\\'e9 \\'80 12\\par}";
}

void Fill(TWPRTFTextIo& doc, const std::string& rtf) {
  TMemoryStream stream(rtf);
  doc.Clear();
  doc.LoadFromStream(stream);
}

std::unique_ptr<TKLXPagePanel> MakePanel(const TLabelLayoutRecord& layout, int size, int zoom) {
  auto panel = std::make_unique<TKLXPagePanel>();
  panel->SetPixelsPerInch(96);
  panel->AddLayout(layout);
  panel->SetLayout(layout.LayoutName, false);
  for (int n = 1; n <= panel->LabelsPerPage(); ++n) Fill(panel->Storage(n)->RtfText(), LabelRtf(n, size));
  panel->SetMagnification(zoom);
  return panel;
}

void RepaintPanel(benchmark::State& state, const TLabelLayoutRecord& layout, int size) {
  const int zoom = static_cast<int>(state.range(0));
  std::unique_ptr<TKLXPagePanel> panel = MakePanel(layout, size, zoom);
  QImage target(panel->size(), QImage::Format_RGB32);
  panel->render(&target);  // fonts and width tables are cached from here on
  for (auto _ : state) {
    panel->render(&target);
    benchmark::DoNotOptimize(target.constBits());
  }
  state.counters["labels"] = panel->LabelsPerPage();
}

void BM_Repaint30Labels(benchmark::State& state) { RepaintPanel(state, FileFolderSheet(), 12); }

void BM_Repaint30LabelsEachChanged(benchmark::State& state) {
  std::unique_ptr<TKLXPagePanel> panel = MakePanel(FileFolderSheet(), 12, static_cast<int>(state.range(0)));
  QImage target(panel->size(), QImage::Format_RGB32);
  panel->render(&target);
  bool lower = false;
  for (auto _ : state) {
    lower = !lower;  // "Accounts" and "accounts" in turn
    for (int n = 1; n <= panel->LabelsPerPage(); ++n)
      panel->Storage(n)->RtfText().FirstParagraph->FirstLine->Text[0] = lower ? 'a' : 'A';
    panel->render(&target);
    benchmark::DoNotOptimize(target.constBits());
  }
}
void BM_Repaint200Labels(benchmark::State& state) { RepaintPanel(state, TwoHundredSheet(), 8); }

// One label: assign its document, lay it out and paint it into its text area.
void BM_OneLabelLayoutAndPaint(benchmark::State& state) {
  TWPRichText editor;
  editor.hide();
  TWPRTFTextIo source;
  Fill(source, LabelRtf(7, 12));
  QImage scratch(318, 53, QImage::Format_RGB32);
  for (auto _ : state) {
    scratch.fill(Qt::white);
    editor.SetRtfText(source);
    TWPCanvas canvas(&scratch, true);
    benchmark::DoNotOptimize(editor.PaintToCanvas(&canvas, 0, 0, 318, 53 + 15, 0, kPaintLines));
  }
}

}  // namespace

BENCHMARK(BM_Repaint30Labels)->Arg(100)->Arg(60)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Repaint30LabelsEachChanged)->Arg(100)->Arg(60)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Repaint200Labels)->Arg(100)->Arg(60)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OneLabelLayoutAndPaint)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
  TOffscreenApplication<QApplication> app(argc, argv);
  return RunBenchmarks(argc, argv);
}
