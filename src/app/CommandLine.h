#pragma once
// The command line. Without options the program opens its window (with the
// sheet named, if any); options ask for work without a window, in two steps:
// a source gives one sheet (a label page file named on the line), then each
// output writes it (--export-pdf OUT.pdf). Later sources and outputs join
// the same two steps.
//
//   tabwright [SHEET.KLX]
//   tabwright --export-pdf SHEET.KLX OUT.pdf     (also: SHEET.KLX --export-pdf OUT.pdf)
//   tabwright --help
//
// Usage (main):
//   const TCommandLine command = ParseCommandLine(arguments);  // without the program name
//   if (command.WithoutWindow()) return RunWithoutWindow(argc, argv, command);
#include <QString>
#include <QStringList>

class QTextStream;

struct TCommandLine {
  enum class TMode { Window, Help, Batch };
  TMode Mode = TMode::Window;
  // Window: the sheet to open at start-up. Batch: the sheet read.
  QString SheetFile;
  // Batch outputs.
  QString PdfFile;
  // A mistake on the line: reported with the usage, nothing is done.
  QString Error;

  bool WithoutWindow() const { return Mode != TMode::Window; }
};

TCommandLine ParseCommandLine(const QStringList& arguments);
extern const char* const CommandLineUsage;

// Runs the work of the line and returns the exit status: 0 when every output
// was written; otherwise the reason goes to errors, one line each.
int RunBatch(const TCommandLine& command, QTextStream& output, QTextStream& errors);
// The program without a window: no display is needed, and the single-instance
// guard is not asked. Makes the application object and runs RunBatch.
int RunWithoutWindow(int& argc, char** argv, const TCommandLine& command);
