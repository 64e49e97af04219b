// What outlives a run: the preferences (zoom, printer nudges, default editor
// font, hints), the main window's placement and the recent-files list; and
// the files that reach the window from outside, on the command line or
// handed over by a later copy of the program.
#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QTimer>
#include <exception>

#include "app/DefaultFontPreferences.h"
#include "app/MRUList.h"
#include "app/MainForm.h"
#include "platform/AppGlobals.h"
#include "platform/AppRoutines.h"
#include "platform/DialogService.h"
#include "platform/IniFile.h"
#include "platform/WindowPlacement.h"
#include "printing/PrinterNudges.h"
#include "richtext/gui/Canvas.h"

namespace {

constexpr int kMaximumRecentFiles = 5;
// How often a handed-over file looks again whether the command before it ended.
constexpr int kHandOverRetryMs = 250;
constexpr int kLowestZoom = 60;
constexpr int kHighestZoom = 100;
constexpr int kMaxFontNameLength = 255;

const QString Zooming = QStringLiteral("Zooming");
const QString Printer = QStringLiteral("Printer");
const QString DefaultFont = QStringLiteral("Default Font");
const QString Hints = QStringLiteral("Hints");

}  // namespace

void TMainForm::CreateMRUList() {
  FMRUList = std::make_unique<TMRUFileList>();
  FMRUList->SetFileMenu(FileMenu);
  FMRUList->RemoveOnClick = true;
  FMRUList->SetMaximum(kMaximumRecentFiles);
  FMRUList->OnMRUItemClick = [this](QObject*, const QString& fileName) { MRUItemClick(fileName); };
  FMRUList->AutoSaveName = PreferencesFileName();
  FMRUList->AutoSaveKey = QStringLiteral("MRU");
  FMRUList->AutoSave = true;
  FMRUList->LoadList();
}

void TMainForm::LoadPreferences() {
  // Without a file name every value is its default.
  const TIniFile ini(PreferencesFileName());
  FZoom = ini.ReadInteger(Zooming, QStringLiteral("Main"), 100);
  // A zoom the page cannot be shown at (a damaged file) starts at 100 %.
  if (FZoom < kLowestZoom || FZoom > kHighestZoom) FZoom = 100;
  FZoomProp = ini.ReadInteger(Zooming, QStringLiteral("Prop"), 30);
  SetCurrentNudges(ReadPrinterNudges(ini));

  const TDefaultEditorFont defaultFont = ReadDefaultEditorFont(ini);
  FDefaultFontName = defaultFont.Name;
  FDefaultFontSize = defaultFont.Size;
  FDefaultFontBold = defaultFont.Bold;
  FDefaultFontItalic = defaultFont.Italic;
  FDefaultFontUnderline = defaultFont.Underline;
  FDefaultFontStrikeout = defaultFont.Strikeout;
  FDefaultFontColor = defaultFont.Color;

  QFont& font = DefaultFontdialog.Font;
  font = QFont(FDefaultFontName.left(kMaxFontNameLength));
  font.setPointSize(FDefaultFontSize);
  font.setBold(FDefaultFontBold);
  font.setItalic(FDefaultFontItalic);
  font.setUnderline(FDefaultFontUnderline);
  font.setStrikeOut(FDefaultFontStrikeout);
  DefaultFontdialog.Color = ColorFromRgb(FDefaultFontColor);

  FShowHints = ini.ReadBool(Hints, QStringLiteral("On"), true);
  mnuShowHint->setChecked(FShowHints);
  SetApplicationShowHint(FShowHints);
  UpdateCommands();
  ReportMissingPrefix("LoadPreferences");
}

void TMainForm::SavePreferences() {
  TIniFile ini(PreferencesFileName());
  const bool named = !ini.FileName().isEmpty();
  auto writeInteger = [&](const QString& section, const char* key, int value) {
    if (named) ini.WriteInteger(section, QLatin1String(key), value);
  };
  writeInteger(Zooming, "Main", FZoom);
  writeInteger(Zooming, "Prop", FZoomProp);

  const QFont& font = DefaultFontdialog.Font;
  FDefaultFontName = font.family();
  FDefaultFontSize = font.pointSize();
  FDefaultFontBold = font.bold();
  FDefaultFontItalic = font.italic();
  FDefaultFontUnderline = font.underline();
  FDefaultFontStrikeout = font.strikeOut();
  FDefaultFontColor = RgbFromColor(DefaultFontdialog.Color);
  if (named) ini.WriteString(DefaultFont, QStringLiteral("Name"), FDefaultFontName);
  writeInteger(DefaultFont, "Size", FDefaultFontSize);
  writeInteger(DefaultFont, "Bold", FDefaultFontBold);
  writeInteger(DefaultFont, "Italic", FDefaultFontItalic);
  writeInteger(DefaultFont, "Underline", FDefaultFontUnderline);
  writeInteger(DefaultFont, "Strikeout", FDefaultFontStrikeout);
  writeInteger(DefaultFont, "Color", static_cast<int>(FDefaultFontColor));

  writeInteger(Printer, "TopMarginNudge", TopMarginNudge);
  writeInteger(Printer, "LeftMarginNudge", LeftMarginNudge);
  writeInteger(Printer, "VerticalSpacing", VerticalSpacing);
  writeInteger(Printer, "HorizontalSpacing", HorizontalSpacing);

  FShowHints = mnuShowHint->isChecked();
  writeInteger(Hints, "On", FShowHints);
  ReportMissingPrefix("SavePreferences");
}

void TMainForm::LoadWindowPlacement() {
  // The placement read is kept even when writing it back fails; start-up goes on.
  try {
    ::LoadWindowPlacement(*this);
  } catch (const EIniFileError& error) {
    ShowException(error);
  }
}

TDefaultEditorFont TMainForm::DefaultEditorFont() const {
  TDefaultEditorFont font;
  font.Name = FDefaultFontName;
  font.Size = FDefaultFontSize;
  font.Bold = FDefaultFontBold;
  font.Italic = FDefaultFontItalic;
  font.Underline = FDefaultFontUnderline;
  font.Strikeout = FDefaultFontStrikeout;
  font.Color = FDefaultFontColor;
  return font;
}

void TMainForm::SaveWindowPlacement() { ::SaveWindowPlacement(*this); }

void TMainForm::RecentFileUsed(const QString& path) {
  FMRUList->AddFile(path);
  // The file is open or saved all the same; only the list could not be kept.
  try {
    FMRUList->SaveList();
  } catch (const EIniFileError& error) {
    ShowException(error);
  }
}

void TMainForm::OpenStartUpFile() {
  if (FStartUpFile.isEmpty()) {
    ReopenMostRecentFile();
    return;
  }
  const QString path = FStartUpFile;
  FStartUpFile.clear();
  OpenChosenFile(path);
}

void TMainForm::ReopenMostRecentFile() {
  if (FMRUList->Count() == 0) return;
  const QString path = FMRUList->Item(0);
  if (QFileInfo(path).isFile()) OpenPageOfLabelsFile(path);
}

void TMainForm::OpenFileFromOtherCopy(const QString& path) {
  FHandedOverFiles << path;
  OpenHandedOverFiles();
}

void TMainForm::OpenHandedOverFiles() {
  if (FHandedOverFiles.isEmpty()) return;
  // The request may come while the window starts, opens a file, shows a
  // dialog or works: the file waits until that has ended.
  if (FStarting || FInFormActivate || FOpeningFile || QApplication::activeModalWidget() ||
      QApplication::overrideCursor()) {
    QTimer::singleShot(kHandOverRetryMs, this, &TMainForm::OpenHandedOverFiles);
    return;
  }
  const QString path = FHandedOverFiles.takeFirst();
  // A name that cannot be opened is refused before the page on screen is touched.
  if (AcceptOpenName(path)) {
    if (QFileInfo(path).isFile()) {
      CloseEditor();
      if (CheckSaveNeeded()) OpenPageOfLabelsFile(path);
    } else {
      ShowInformation(QStringLiteral("File ") + path + QStringLiteral(" no longer exists"));
    }
  }
  if (!FHandedOverFiles.isEmpty()) QTimer::singleShot(0, this, &TMainForm::OpenHandedOverFiles);
}
