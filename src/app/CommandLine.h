#pragma once
// The command line. Without options the program opens its window (with the
// sheet named, if any); options ask for work without a window, in two steps:
// a source gives one or more sheets (a label page file named on the line, or
// new sheets of a layout filled from a list, as many as the list needs),
// then each output writes them (--export-pdf OUT.pdf: one page per sheet;
// --save SHEET.KLX: SHEET.KLX, SHEET-2.KLX, ...).
//
//   tabwright [SHEET.KLX]
//   tabwright --export-pdf SHEET.KLX OUT.pdf     (also: SHEET.KLX --export-pdf OUT.pdf)
//   tabwright --new "LAYOUT NAME" --fill LIST [--column N] [--heading]
//             [--blank-line-separates] [--start K] (--save SHEET.KLX | --export-pdf OUT.pdf)
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
  // Batch, instead of a sheet file: new sheets of this layout, filled from
  // the list (a .csv file, or any file with --column or --heading, is CSV).
  QString NewLayout;
  QString ListFile;
  int Column = 0;  // 0: not given (the first)
  bool Heading = false;
  bool BlankLineSeparates = false;
  int Start = 1;  // the first sheet's first label
  // Batch outputs.
  QString PdfFile;
  QString SaveFile;
  // A mistake on the line: reported with the usage, nothing is done.
  QString Error;

  bool WithoutWindow() const { return Mode != TMode::Window; }
  bool ListIsCsv() const;
};

TCommandLine ParseCommandLine(const QStringList& arguments);
extern const char* const CommandLineUsage;

// Runs the work of the line and returns the exit status: 0 when every output
// was written; otherwise the reason goes to errors, one line each. Notes on
// work done (entries cut to fit their labels) go to output.
int RunBatch(const TCommandLine& command, QTextStream& output, QTextStream& errors);
// The program without a window: no display is needed, and the single-instance
// guard is not asked. Makes the application object and runs RunBatch.
int RunWithoutWindow(int& argc, char** argv, const TCommandLine& command);
// The file the sheet with the given index (from 0) of several is saved to:
// SHEET.KLX, SHEET-2.KLX, SHEET-3.KLX, ...
QString NumberedSheetFile(const QString& path, int index);
