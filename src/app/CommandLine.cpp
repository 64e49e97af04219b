#include "app/CommandLine.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTextStream>
#include <cstdio>
#include <exception>

#include "labelpage/LabelPageFile.h"
#include "platform/AppGlobals.h"
#include "platform/AppRoutines.h"
#include "platform/IniFile.h"
#include "printing/PdfExport.h"
#include "printing/PrinterNudges.h"

const char* const CommandLineUsage =
    "Usage: tabwright [SHEET.KLX]\n"
    "       tabwright --export-pdf SHEET.KLX OUT.pdf\n";

namespace {

bool IsOption(const QString& argument) { return argument.startsWith(QLatin1String("--")); }

// The operands that follow an option, up to the next option.
QStringList OperandsAfter(const QStringList& arguments, int& i) {
  QStringList operands;
  while (i + 1 < arguments.size() && !IsOption(arguments[i + 1])) operands << arguments[++i];
  return operands;
}

QString Local(const char* text) { return QString::fromLocal8Bit(text); }

// The toolkit's notes (a missing runtime folder, fonts it substitutes) are
// not the user's business on a command line; its critical messages are.
void KeepToolkitQuiet(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg) fprintf(stderr, "%s\n", qPrintable(message));
}

}  // namespace

TCommandLine ParseCommandLine(const QStringList& arguments) {
  TCommandLine command;
  QStringList sheets;
  QStringList unknownOptions;
  bool pdfGiven = false;
  for (int i = 0; i < arguments.size(); ++i) {
    const QString& argument = arguments[i];
    if (argument == QLatin1String("--help")) {
      command.Mode = TCommandLine::TMode::Help;
      return command;
    }
    if (argument == QLatin1String("--export-pdf")) {
      command.Mode = TCommandLine::TMode::Batch;
      const QStringList operands = OperandsAfter(arguments, i);
      if (pdfGiven) {
        command.Error = QStringLiteral("--export-pdf is given twice");
        return command;
      }
      if (operands.isEmpty() || operands.size() > 2) {
        command.Error = QStringLiteral("--export-pdf takes [SHEET.KLX] OUT.pdf");
        return command;
      }
      pdfGiven = true;
      if (operands.size() == 2) sheets << operands[0];
      command.PdfFile = operands.last();
    } else if (IsOption(argument)) {
      unknownOptions << argument;
    } else {
      sheets << argument;
    }
  }
  if (command.Mode == TCommandLine::TMode::Window) {
    // Other options belong to the toolkit, which takes them off the line.
    command.SheetFile = sheets.value(0);
  } else if (!unknownOptions.isEmpty()) {
    command.Error = QStringLiteral("unknown option ") + unknownOptions[0];
  } else if (sheets.size() != 1) {
    command.Error =
        sheets.isEmpty() ? QStringLiteral("no sheet given") : QStringLiteral("more than one sheet given");
  } else {
    command.SheetFile = sheets[0];
  }
  return command;
}

namespace {

// The source step: the sheet of a label page file. False once errors says why.
bool ReadSheet(const QString& path, TLabelSheet& sheet, QTextStream& errors) {
  if (!QFileInfo(path).isFile()) {
    errors << "tabwright: File " << path << " does not exist\n";
    return false;
  }
  try {
    TLabelPageFile::Load(QFile::encodeName(path).toStdString(), sheet);
  } catch (const std::exception& error) {
    errors << "tabwright: Unable to open " << path << " (" << Local(error.what())
           << "). Possibly corrupted, possibly not a File Folder Label file\n";
    return false;
  }
  return true;
}

// An output step: the sheet into a PDF, with the nudges the preferences keep.
bool ExportPdf(const TLabelSheet& sheet, const TCommandLine& command, QTextStream& errors) {
  // A slip of the hand must not put a PDF in the sheet's place.
  if (QFileInfo(command.PdfFile).canonicalFilePath() == QFileInfo(command.SheetFile).canonicalFilePath()) {
    errors << "tabwright: The PDF would replace the sheet " << command.SheetFile << "\n";
    return false;
  }
  try {
    const TPrinterNudges nudges = ReadPrinterNudges(TIniFile(PreferencesFileName()));
    ExportPageToPdf(sheet, command.PdfFile, nudges, QFileInfo(command.SheetFile).fileName());
  } catch (const std::exception& error) {
    errors << "tabwright: Unable to export the page to PDF. " << Local(error.what()) << "\n";
    return false;
  }
  return true;
}

}  // namespace

int RunBatch(const TCommandLine& command, QTextStream& output, QTextStream& errors) {
  if (command.Mode == TCommandLine::TMode::Help) {
    output << CommandLineUsage;
    return 0;
  }
  if (!command.Error.isEmpty()) {
    errors << "tabwright: " << command.Error << "\n" << CommandLineUsage;
    return 2;
  }
  TLabelSheet sheet;
  if (!ReadSheet(command.SheetFile, sheet, errors)) return 1;
  if (!command.PdfFile.isEmpty() && !ExportPdf(sheet, command, errors)) return 1;
  return 0;
}

int RunWithoutWindow(int& argc, char** argv, const TCommandLine& command) {
  // Fonts and PDF painting need a GUI application, not a display.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler(KeepToolkitQuiet);
  QGuiApplication app(argc, argv);
  AssignGlobalApplicationStrings();
  QTextStream output(stdout);
  QTextStream errors(stderr);
  return RunBatch(command, output, errors);
}
