// Time of one keystroke in a label-sized editor, offscreen: 200 characters
// typed one by one as key events into the middle of three lines of formatted
// text, each followed by its layout and repaint. Also reported: the rows of
// the window repainted per keystroke (only the changed lines, unless a line
// or the text grew). The same keystrokes are measured again through the
// main window, where each one also passes the window's key handling and is
// copied back into its label, with its undo step, before the repaint.
#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QTemporaryDir>
#include <string>
#include <vector>

#include "BenchmarkMain.h"
#include "app/MainForm.h"
#include "labelpage/LabelLayout.h"
#include "labelpage/LabelPageFile.h"
#include "labelpage/LabelSheet.h"
#include "platform/AppRoutines.h"
#include "platform/ScriptedDialogService.h"
#include "richtext/Stream.h"
#include "richtext/gui/RichText.h"

namespace {

constexpr int kKeystrokes = 200;

const char* const kLabel =
    "{\\rtf1\\ansi{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\froman Times New Roman;}}"
    "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}"
    "\\f0\\fs20 Accounts \\b Payable\\b0  2026\\par "
    "\\f1\\i\\cf1 Quarterly\\i0\\cf0  \\ul reports\\ul0 \\par "
    "\\f0\\cf2 caf\\'e9 \\'80 12\\par}";

const std::string kTyped = "The quick brown fox jumps over the lazy dog, 0123456789. ";

// Counts the window rows painted.
class TPaintCounter : public QObject {
 public:
  long long Rows = 0;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) Rows += static_cast<QPaintEvent*>(event)->rect().height();
    return false;
  }
};

void Reload(TWPRichText& editor) {
  editor.Clear();
  TMemoryStream stream(kLabel);
  editor.RtfText()->LoadFromStream(stream);
  editor.RtfText()->ReformatAll();
  // At the end of the middle line.
  editor.SetCaretPosition(static_cast<int>(editor.RtfText()->FirstParagraph->TextLength() + 1 +
                                           editor.RtfText()->FirstParagraph->Next->TextLength()));
  QApplication::processEvents();
}

void BM_KeystrokeInLabelEditor(benchmark::State& state) {
  TWPRichText editor;
  editor.SetBorderStyle(bsNone);
  editor.resize(312, 60);  // a file-folder label's text area at 96 pixels per inch
  editor.show();
  QApplication::setActiveWindow(&editor);
  editor.setFocus();
  QApplication::processEvents();
  TPaintCounter counter;
  editor.installEventFilter(&counter);
  long long keystrokes = 0;
  for (auto _ : state) {
    state.PauseTiming();
    Reload(editor);
    counter.Rows = 0;
    state.ResumeTiming();
    for (int i = 0; i < kKeystrokes; ++i) {
      const char c = kTyped[static_cast<std::size_t>(i) % kTyped.size()];
      QKeyEvent press(QEvent::KeyPress, QChar(c).toUpper().unicode(), Qt::NoModifier, QString(QChar(c)));
      QApplication::sendEvent(&editor, &press);
      QApplication::processEvents();  // the repaint
    }
    keystrokes += kKeystrokes;
  }
  if (!editor.hasFocus() || editor.RtfText()->FirstParagraph->Next->TextLength() < kKeystrokes)
    state.SkipWithError(("the keystrokes did not arrive: focus " + std::to_string(editor.hasFocus()) +
                         ", length " + std::to_string(editor.RtfText()->FirstParagraph->Next->TextLength()))
                            .c_str());
  state.counters["per_keystroke"] = benchmark::Counter(
      static_cast<double>(keystrokes), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.counters["rows_painted_per_keystroke"] = static_cast<double>(counter.Rows) / kKeystrokes;
}

// One label of 7-1/2 x 3 in, room for the text and the 200 characters typed.
TLabelLayoutRecord LargeLabelLayout() {
  TLabelLayoutRecord layout;
  layout.LayoutName = "Large label";
  layout.LabelWidth = 7500;
  layout.LabelHeight = 3000;
  layout.HorizontalPitch = 7500;
  layout.VerticalPitch = 3000;
  layout.LeftMargin = 500;
  layout.TopMargin = 500;
  layout.PageWidth = 8500;
  layout.PageHeight = 11000;
  layout.TextLeft = 100;
  layout.TextTop = 100;
  layout.TextRight = 7400;
  layout.TextBottom = 2900;
  layout.NumberAcross = 1;
  layout.NumberDown = 2;
  return layout;
}

void PutLabelText(TWPRTFTextIo& document) {
  TMemoryStream stream(kLabel);
  document.ReadData(stream);
}

void BM_KeystrokeThroughMainWindow(benchmark::State& state) {
  QTemporaryDir folder;
  const QString program = folder.path() + QStringLiteral("/");
  SetApplicationDirectoryOverride(program);
  TScopedScriptedDialogs dialogs;
  SaveLLOFile(QFile::encodeName(program + "KLXFF.LLO").toStdString(), {LargeLabelLayout()});
  const QString sheetPath = program + QStringLiteral("bench.KLX");
  {
    TLabelSheet sheet;
    sheet.Reset(LargeLabelLayout());
    PutLabelText(sheet.Storage(1)->RtfText());
    TLabelPageFile::Save(QFile::encodeName(sheetPath).toStdString(), sheet);
  }
  TMainForm form;
  form.SetStartUpFile(sheetPath);
  form.FormActivate();
  form.show();
  QApplication::setActiveWindow(&form);
  auto* editor = form.findChild<TWPRichText*>(QStringLiteral("WPRichText1"));
  TKLXPagePanel& panel = *form.PageOfLabelsPanel;
  TPaintCounter counter;
  editor->installEventFilter(&counter);
  long long keystrokes = 0;
  for (auto _ : state) {
    state.PauseTiming();
    panel.OpenCell(2);  // the first label is committed and left
    PutLabelText(panel.Storage(1)->RtfText());
    panel.OpenCell(1);
    editor->SetCaretPosition(static_cast<int>(editor->RtfText()->FirstParagraph->TextLength() + 1 +
                                              editor->RtfText()->FirstParagraph->Next->TextLength()));
    QApplication::processEvents();
    counter.Rows = 0;
    state.ResumeTiming();
    for (int i = 0; i < kKeystrokes; ++i) {
      const char c = kTyped[static_cast<std::size_t>(i) % kTyped.size()];
      QKeyEvent press(QEvent::KeyPress, QChar(c).toUpper().unicode(), Qt::NoModifier, QString(QChar(c)));
      QApplication::sendEvent(editor, &press);
      QApplication::processEvents();  // the repaint
    }
    keystrokes += kKeystrokes;
  }
  const TWPRTFTextIo& label = panel.Storage(1)->RtfText();
  if (!editor->hasFocus() || !label.FirstParagraph->Next ||
      label.FirstParagraph->Next->TextLength() < kKeystrokes)
    state.SkipWithError("the keystrokes did not reach the label");
  state.counters["per_keystroke"] = benchmark::Counter(
      static_cast<double>(keystrokes), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.counters["rows_painted_per_keystroke"] = static_cast<double>(counter.Rows) / kKeystrokes;
  SetApplicationDirectoryOverride({});
}

}  // namespace

BENCHMARK(BM_KeystrokeInLabelEditor)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_KeystrokeThroughMainWindow)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) {
  TOffscreenApplication<QApplication> app(argc, argv);
  return RunBenchmarks(argc, argv);
}
