#include "app/CommandLine.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTextStream>
#include <algorithm>
#include <cstdio>
#include <exception>
#include <memory>
#include <span>
#include <vector>

#include "app/DefaultFontPreferences.h"
#include "labelpage/LabelPageFile.h"
#include "listfill/LabelList.h"
#include "listfill/SheetFill.h"
#include "platform/AppGlobals.h"
#include "platform/AppRoutines.h"
#include "platform/IniFile.h"
#include "printing/PdfExport.h"
#include "printing/PrinterNudges.h"
#include "richtext/gui/AnsiCodec.h"

const char* const CommandLineUsage =
    "Usage: tabwright [SHEET.KLX]\n"
    "       tabwright --export-pdf SHEET.KLX OUT.pdf\n"
    "       tabwright --new \"LAYOUT NAME\" --fill LIST [--column N] [--heading]\n"
    "                 [--blank-line-separates] [--start K] (--save SHEET.KLX | --export-pdf OUT.pdf)\n";

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

// Options that take one operand, and what the operand is.
struct TOperandOption {
  const char* Name;
  const char* Operand;
};
constexpr TOperandOption kOperandOptions[] = {
    {"--new", "LAYOUT NAME"},       {"--fill", "LIST"},      {"--column", "a number from 1"},
    {"--start", "a number from 1"}, {"--save", "SHEET.KLX"},
};
// Options that only make sense when a list fills new sheets.
const char* const kFillOptions[] = {"--column", "--heading", "--blank-line-separates", "--start"};

// Stores the operand of an option that takes one; false with command.Error set.
bool TakeOperand(TCommandLine& command, const QString& option, const QString& operand) {
  bool number = true;
  const int value = operand.toInt(&number);
  if (option == QLatin1String("--new")) {
    command.NewLayout = operand;
  } else if (option == QLatin1String("--fill")) {
    command.ListFile = operand;
  } else if (option == QLatin1String("--save")) {
    command.SaveFile = operand;
  } else {
    if (!number || value < 1) {
      command.Error = option + QStringLiteral(" takes a number from 1");
      return false;
    }
    (option == QLatin1String("--column") ? command.Column : command.Start) = value;
  }
  return true;
}

// The rules between the options of a batch line; the first broken one is the error.
QString CheckBatchLine(const TCommandLine& command, const QStringList& given, const QStringList& sheets) {
  if (command.NewLayout.isEmpty()) {
    for (const char* option : kFillOptions)
      if (given.contains(QLatin1String(option)))
        return QLatin1String(option) + QStringLiteral(" needs --fill LIST");
    for (const char* option : {"--fill", "--save"})
      if (given.contains(QLatin1String(option)))
        return QLatin1String(option) + QStringLiteral(" needs --new \"LAYOUT NAME\"");
    if (sheets.size() != 1)
      return sheets.isEmpty() ? QStringLiteral("no sheet given")
                              : QStringLiteral("more than one sheet given");
    return {};
  }
  if (!sheets.isEmpty()) return QStringLiteral("--new makes the sheet; no sheet file is read");
  if (command.ListFile.isEmpty())
    for (const char* option : kFillOptions)
      if (given.contains(QLatin1String(option)))
        return QLatin1String(option) + QStringLiteral(" needs --fill LIST");
  if (command.PdfFile.isEmpty() && command.SaveFile.isEmpty())
    return QStringLiteral("--new needs --save SHEET.KLX or --export-pdf OUT.pdf");
  if (command.BlankLineSeparates && command.ListIsCsv())
    return QStringLiteral("--blank-line-separates does not apply to a CSV list");
  return {};
}

}  // namespace

bool TCommandLine::ListIsCsv() const { return IsCsvFileName(ListFile) || Column > 0 || Heading; }

TCommandLine ParseCommandLine(const QStringList& arguments) {
  TCommandLine command;
  QStringList sheets;
  QStringList unknownOptions;
  QStringList given;
  for (int i = 0; i < arguments.size(); ++i) {
    const QString& argument = arguments[i];
    if (argument == QLatin1String("--help")) {
      command.Mode = TCommandLine::TMode::Help;
      return command;
    }
    const auto operandOption =
        std::find_if(std::begin(kOperandOptions), std::end(kOperandOptions),
                     [&](const TOperandOption& option) { return argument == QLatin1String(option.Name); });
    const bool flag =
        argument == QLatin1String("--heading") || argument == QLatin1String("--blank-line-separates");
    const bool batchOption =
        argument == QLatin1String("--export-pdf") || flag || operandOption != std::end(kOperandOptions);
    if (batchOption) {
      command.Mode = TCommandLine::TMode::Batch;
      if (given.contains(argument)) {
        command.Error = argument + QStringLiteral(" is given twice");
        return command;
      }
      given << argument;
    }
    if (argument == QLatin1String("--export-pdf")) {
      const QStringList operands = OperandsAfter(arguments, i);
      if (operands.isEmpty() || operands.size() > 2) {
        command.Error = QStringLiteral("--export-pdf takes [SHEET.KLX] OUT.pdf");
        return command;
      }
      if (operands.size() == 2) sheets << operands[0];
      command.PdfFile = operands.last();
    } else if (operandOption != std::end(kOperandOptions)) {
      const QStringList operands = OperandsAfter(arguments, i);
      if (operands.size() != 1) {
        command.Error = argument + QStringLiteral(" takes ") + QLatin1String(operandOption->Operand);
        return command;
      }
      if (!TakeOperand(command, argument, operands[0])) return command;
    } else if (argument == QLatin1String("--heading")) {
      command.Heading = true;
    } else if (argument == QLatin1String("--blank-line-separates")) {
      command.BlankLineSeparates = true;
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
  } else {
    command.Error = CheckBatchLine(command, given, sheets);
    if (command.Error.isEmpty() && command.NewLayout.isEmpty()) command.SheetFile = sheets[0];
  }
  return command;
}

QString NumberedSheetFile(const QString& path, int index) {
  if (index == 0) return path;
  const QString number = QStringLiteral("-") + QString::number(index + 1);
  const QString suffix = QFileInfo(path).suffix();
  if (suffix.isEmpty()) return path + number;
  return path.left(path.size() - suffix.size() - 1) + number + QLatin1Char('.') + suffix;
}

namespace {

using TSheets = std::vector<std::unique_ptr<TLabelSheet>>;

// Two names of one file, also when neither exists yet.
bool SameFile(const QString& a, const QString& b) {
  const QFileInfo first(a);
  const QFileInfo second(b);
  if (first.exists() && second.exists()) return first.canonicalFilePath() == second.canonicalFilePath();
  return QDir::cleanPath(first.absoluteFilePath()) == QDir::cleanPath(second.absoluteFilePath());
}

// The source step: the sheet of a label page file. False once errors says why.
bool ReadSheet(const QString& path, TSheets& sheets, QTextStream& errors) {
  if (!QFileInfo(path).isFile()) {
    errors << "tabwright: File " << path << " does not exist\n";
    return false;
  }
  auto sheet = std::make_unique<TLabelSheet>();
  try {
    TLabelPageFile::Load(QFile::encodeName(path).toStdString(), *sheet);
  } catch (const std::exception& error) {
    errors << "tabwright: Unable to open " << path << " (" << Local(error.what())
           << "). Possibly corrupted, possibly not a File Folder Label file\n";
    return false;
  }
  sheets.push_back(std::move(sheet));
  return true;
}

// The layout named on the line, from the layout file beside the program.
const TLabelLayoutRecord* FindLayout(const QString& name, TLabelLayoutArray& layouts, QTextStream& errors) {
  try {
    LoadLLOFile(QFile::encodeName(ApplicationDirectory() + GlobalLayoutFileName).toStdString(), layouts);
  } catch (const std::exception& error) {
    errors << "tabwright: " << Local(error.what()) << "\n";
    return nullptr;
  }
  // The last of equal names, as the window picks it.
  const TLabelLayoutRecord* layout = layouts.FindLast(wpansi::FromQString(name));
  if (!layout) {
    QStringList names;
    for (int i = 1; i <= layouts.Count(); ++i)
      names << QLatin1Char('"') + wpansi::ToQString(layouts[i].LayoutName) + QLatin1Char('"');
    errors << "tabwright: There is no layout named \"" << name << "\". The layouts are: " << names.join(", ")
           << "\n";
  }
  return layout;
}

bool ReadList(const TCommandLine& command, TLabelList& list, QTextStream& errors) {
  TListOptions options;
  options.Csv = command.ListIsCsv();
  options.Column = std::max(command.Column, 1);
  options.Heading = command.Heading;
  options.BlankLineSeparates = command.BlankLineSeparates;
  QString text;
  try {
    text = ReadListFile(command.ListFile);
  } catch (const EListError& error) {
    errors << "tabwright: " << QString::fromUtf8(error.what()) << "\n";
    return false;
  }
  try {
    list = MakeLabelList(text, options);
  } catch (const EListError& error) {
    errors << "tabwright: " << command.ListFile << ": " << QString::fromUtf8(error.what()) << "\n";
    return false;
  }
  if (list.Entries.empty()) {
    errors << "tabwright: Nothing to fill: " << command.ListFile << " holds no entries\n";
    return false;
  }
  return true;
}

// The source step of a fill: new sheets of the layout, as many as the list
// needs, filled as the fill dialog fills a sheet.
bool MakeFilledSheets(const TCommandLine& command, TSheets& sheets, QTextStream& output,
                      QTextStream& errors) {
  TLabelLayoutArray layouts;
  const TLabelLayoutRecord* layout = FindLayout(command.NewLayout, layouts, errors);
  if (!layout) return false;
  TLabelList list;
  if (!command.ListFile.isEmpty() && !ReadList(command, list, errors)) return false;
  const auto labels = static_cast<int>(LabelCountOf(*layout));
  if (command.Start > labels) {
    errors << "tabwright: --start " << command.Start << " is out of range; the layout has " << labels
           << " labels\n";
    return false;
  }
  const TDefaultEditorFont font = ReadDefaultEditorFont(TIniFile(PreferencesFileName()));
  std::span<const std::string> rest(list.Entries);
  int start = command.Start;
  try {
    do {
      auto sheet = std::make_unique<TLabelSheet>();
      sheet->Reset(*layout);
      const TFillPlan plan = PlanFill(*sheet, static_cast<int>(rest.size()), start, false);
      const TFillResult result = FillSheet(*sheet, rest, plan, font);
      if (!result.CutLabels.empty())
        output << "Sheet " << sheets.size() + 1 << ": " << CutReport(result.CutLabels) << "\n";
      rest = rest.subspan(plan.Labels.size());
      sheets.push_back(std::move(sheet));
      start = 1;
    } while (!rest.empty());
  } catch (const std::exception& error) {
    errors << "tabwright: Unable to fill the labels. " << Local(error.what()) << "\n";
    return false;
  }
  if (list.Unconvertible > 0)
    output << list.Unconvertible
           << (list.Unconvertible == 1
                   ? " character is not in the Windows-1252 character set and became \"?\"\n"
                   : " characters are not in the Windows-1252 character set and became \"?\"\n");
  return true;
}

// No output may take the place of what the line reads, or of another output.
bool OutputsReplaceNothing(const TCommandLine& command, int sheetCount, QTextStream& errors) {
  const QString input = command.NewLayout.isEmpty() ? command.SheetFile : command.ListFile;
  const char* const kind = command.NewLayout.isEmpty() ? "sheet" : "list";
  if (!command.PdfFile.isEmpty() && !input.isEmpty() && SameFile(command.PdfFile, input)) {
    errors << "tabwright: The PDF would replace the " << kind << " " << input << "\n";
    return false;
  }
  if (command.SaveFile.isEmpty()) return true;
  for (int i = 0; i < sheetCount; ++i) {
    const QString path = NumberedSheetFile(command.SaveFile, i);
    if (!input.isEmpty() && SameFile(path, input)) {
      errors << "tabwright: The sheet " << path << " would replace the " << kind << " " << input << "\n";
      return false;
    }
    if (!command.PdfFile.isEmpty() && SameFile(path, command.PdfFile)) {
      errors << "tabwright: The sheet " << path << " and the PDF would be the same file\n";
      return false;
    }
  }
  return true;
}

// An output step: every sheet as a label page file of its own.
bool SaveSheets(const TSheets& sheets, const QString& path, QTextStream& errors) {
  for (std::size_t i = 0; i < sheets.size(); ++i) {
    const QString file = NumberedSheetFile(path, static_cast<int>(i));
    try {
      TLabelPageFile::Save(QFile::encodeName(file).toStdString(), *sheets[i]);
    } catch (const EFileSaveError& error) {
      errors << "tabwright: Unable to save " << file << ". " << Local(error.what());
      if (!error.Reason().empty()) errors << ": " << Local(error.Reason().c_str());
      errors << "\n";
      return false;
    }
  }
  return true;
}

// An output step: every sheet a page of one PDF, with the nudges the preferences keep.
bool ExportPdf(const TSheets& sheets, const QString& path, const QString& title, QTextStream& errors) {
  try {
    const TPrinterNudges nudges = ReadPrinterNudges(TIniFile(PreferencesFileName()));
    TPdfExport pdf(path, title);
    for (const auto& sheet : sheets) pdf.AddSheet(*sheet, nudges);
    pdf.Finish();
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
  TSheets sheets;
  const bool made = command.NewLayout.isEmpty() ? ReadSheet(command.SheetFile, sheets, errors)
                                                : MakeFilledSheets(command, sheets, output, errors);
  if (!made || !OutputsReplaceNothing(command, static_cast<int>(sheets.size()), errors)) return 1;
  if (!command.SaveFile.isEmpty() && !SaveSheets(sheets, command.SaveFile, errors)) return 1;
  const QString source = command.NewLayout.isEmpty() ? command.SheetFile : command.ListFile;
  const QString title = source.isEmpty() ? command.NewLayout : QFileInfo(source).fileName();
  if (!command.PdfFile.isEmpty() && !ExportPdf(sheets, command.PdfFile, title, errors)) return 1;
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
