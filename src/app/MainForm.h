#pragma once
// The main window: button row, formatting toolbar row, the scrolling page
// view with the page panel and the label editor, both menus and the editor's
// popup menu; the command-enabling rule, the caption, the application-wide
// keys, the start-up work of the first activation, the Help menu and closing.
#include <QColor>
#include <QElapsedTimer>
#include <QFont>
#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <memory>

#include "labelpage/DefaultEditorFont.h"
#include "labelpage/KLXPagePanel.h"
#include "richtext/gui/RichText.h"
#include "richtext/gui/ToolBar.h"

class TGetSymbol;
class TMRUFileList;

class QAction;
class QDialog;
class QFontDialog;
class QMenu;
class QPushButton;
class QScrollArea;
class QToolButton;

class TMainForm : public QMainWindow {
  Q_OBJECT

 public:
  explicit TMainForm(QWidget* parent = nullptr);
  ~TMainForm() override;

  void UpdateCommands();
  void UpdateCaption();
  void SetModified(bool value);

  // The start-up work of the first activation; errors propagate.
  void FormActivate();
  // An activation as the window system delivers it: runs FormActivate and
  // shows an error it raises, so that the next activation tries again.
  void HandleActivation();
  // A second copy of the program asked this one to come forward.
  void ComeForward();
  // A second copy was started with a label page file: it is opened as File >
  // Open would, after the save prompt, once no other command is under way.
  void OpenFileFromOtherCopy(const QString& path);
  // The file named on the command line, opened at start-up instead of the
  // most recent one.
  void SetStartUpFile(const QString& path) { FStartUpFile = path; }

  // The preferences file: zoom, nudges, default font, hints. Fine tuning
  // sets the nudges and then saves; saving raises EIniFileError when the file
  // takes no writes.
  void LoadPreferences();
  void SavePreferences();

  // Zoom commands (Page Down / Page Up while this window is active).
  void ZoomPlusButtonClick();
  void ZoomMinusButtonClick();

  // The product's website, opened by "Visit Our Internet Website".
  static const char* const ProductWebsite;

  // Controls other parts of the program work with.
  TKLXPagePanel* PageOfLabelsPanel = nullptr;

 protected:
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  friend class TMainFormTestAccess;
  friend class TDocumentLifecycleTestAccess;
  friend class TSettingsTestAccess;
  friend class TLabelEditingTestAccess;

  void FormCreate();
  void CreateButtonRow();
  void CreateMenus();
  void CreatePageView();
  QToolButton* AddSpeedButton(const char* name, const QString& hint, int left, const QIcon& glyph,
                              void (TMainForm::*handler)());
  QAction* AddMenuItem(QMenu* menu, const char* name, const QString& caption, void (TMainForm::*handler)());
  // Keeps the scroll box's content large enough for the panel at (5, 5).
  void FitPageViewContent();
  // Page Up / Page Down, Tab / Shift+Tab in the editor, and Ctrl+Z (undo),
  // Ctrl+Y and Ctrl+Shift+Z (redo), which also work while the editor is closed.
  bool AppMessage(QObject* watched, QEvent* event);

  // Document lifecycle.
  void New1Click();
  void Open1Click();
  void mnuSaveClick();
  void mnuSaveAsClick();
  void SavebuttonClick();
  void CancelButtonClick();
  void mnuCancelChangesClick();
  // Offers to save a modified page; false when the user wanted it saved and
  // it was not (the asking command then stops).
  bool CheckSaveNeeded();
  // The command line's file, else the first recent file when it exists.
  void OpenStartUpFile();
  void ReopenMostRecentFile();
  void OpenHandedOverFiles();
  // A recent-files menu item was chosen.
  void MRUItemClick(const QString& fileName);
  void OpenPageOfLabelsFile(QString path);
  // A name chosen to be opened: checks the extension, then opens it.
  void OpenChosenFile(const QString& path);
  // True for a label page file name; otherwise the user is told.
  bool AcceptOpenName(const QString& path);
  // True when the file was written; a failure has been reported to the user.
  bool SavePageOfLabelsFile(QString path);
  // The first LFnnnnnn.KLX in the documents directory that does not exist yet.
  QString DefaultFileName() const;
  // The recent-files list puts path at its top and saves itself.
  void RecentFileUsed(const QString& path);
  // Layout selection.
  void mnuChangeLayoutClick();
  void mnuLayoutInfoClick();
  // Label editing.
  void PageOfLabelsPanelClickedInCellEvent(QWidget* canvas, TCellRect rTotal, TCellRect rFree, int iNumber,
                                           std::unique_ptr<TWPRtfStorage>& rtfstorage);
  void CloseEditor();
  void CommitEditor();
  void ReplicateOnebuttonClick();
  void ReplicateAllbuttonClick();
  void GetSymbolbuttonClick();
  void Clear1Click();
  void CopyContentstoNextLabel1Click();
  void CopyContentstoAllLabels1Click();
  void mnuClearAllCellContentsClick();
  // Fills labels from a list the user pastes or loads.
  void mnuFillFromListClick();
  void DefaultEditorFont1Click();
  // The default editor font fields as one value.
  TDefaultEditorFont DefaultEditorFont() const;
  void SetDefaultFontNow();
  void WPRichText1Change();
  void WPRichText1Click();
  void WPRichText1Enter();
  void WPRichText1KeyPress(char& key);
  // Delete counts as typing.
  void WPRichText1KeyDown(int& key, Qt::KeyboardModifiers shift);
  // Undo and redo of changes to the labels' texts.
  void Undo1Click();
  void Redo1Click();
  TEditHistory& History() { return PageOfLabelsPanel->Sheet().History(); }
  // Where the editor's caret stands now.
  TEditPlace EditorPlace() const;
  // Opens the editor on place's label with the caret at its position.
  void ReopenEditorAt(TEditPlace place);
  // The caret and writing attributes an input event starts from: what a
  // change that does not fit the label goes back to.
  void KeepEditorStateBeforeInput();
  // Label cell's document becomes a copy of the editor's.
  void CopyEditorInto(int cell);
  // Labels cells change as one undoable step: change() does the work.
  template <typename Change>
  void ChangeCells(const std::vector<int>& cells, Change change);
  // Preferences, window placement and the recent-files list.
  void CreateMRUList();
  void LoadWindowPlacement();
  void SaveWindowPlacement();
  // Printing.
  void mnuPrintPageClick();
  void PrintbuttonClick();
  void mnuPrintSetupClick();
  void mnuPrinterFindtuningClick();
  // Every non-empty label into a PDF file the user names, as printed.
  void mnuExportPdfClick();
  // The title of print jobs and PDF files: the sheet's file name.
  QString DocumentTitle() const;
  // Help menu.
  void Contents1Click();
  void SearchforHelpOn1Click();
  void HelponHelp1Click();
  void ConfigurationInformation1Click();
  void TechnicalSupport1Click();
  void About1Click();
  void VisitOurInternetWebsite1Click();
  void mnuShowHintClick();
  void FrequentlyAskedQuestions1Click();
  void Exit1Click();

  // Closing.
  bool FormCloseQuery();
  void FormClose();

  // Button row.
  QWidget* Panel3 = nullptr;
  QToolButton* ZoomPlusButton = nullptr;
  QToolButton* ZoomMinusButton = nullptr;
  QToolButton* Printbutton = nullptr;
  QToolButton* ReplicateOnebutton = nullptr;
  QToolButton* ReplicateAllbutton = nullptr;
  QToolButton* GetSymbolbutton = nullptr;
  QWidget* Panel1 = nullptr;
  QPushButton* Savebutton = nullptr;
  QPushButton* CancelButton = nullptr;
  // The formatting toolbar.
  TWPToolBar* WPToolBar1 = nullptr;
  // Page view.
  QScrollArea* ScrollBox2 = nullptr;
  QWidget* ScrollBox2Content = nullptr;
  // The label editor.
  TWPRichText* WPRichText1 = nullptr;
  QMenu* WPPopupMenu = nullptr;

  // Menus.
  QMenu* FileMenu = nullptr;
  QAction* New1 = nullptr;
  QAction* Open1 = nullptr;
  QAction* mnuChangeLayout = nullptr;
  QAction* mnuLayoutInfo = nullptr;
  QAction* mnuSave = nullptr;
  QAction* mnuSaveAs = nullptr;
  QAction* mnuCancelChanges = nullptr;
  QAction* mnuClearAllCellContents = nullptr;
  QAction* mnuFillFromList = nullptr;
  QAction* DefaultEditorFont1 = nullptr;
  QAction* mnuPrintPage = nullptr;
  QAction* mnuPrintSetup = nullptr;
  QAction* mnuPrinterFindtuning = nullptr;
  QAction* mnuExportPdf = nullptr;
  QAction* Exit1 = nullptr;
  QMenu* Help1 = nullptr;
  QAction* Contents1 = nullptr;
  QAction* SearchforHelpOn1 = nullptr;
  QAction* HelponHelp1 = nullptr;
  QAction* ConfigurationInformation1 = nullptr;
  QAction* TechnicalSupport1 = nullptr;
  QAction* About1 = nullptr;
  QAction* VisitOurInternetWebsite1 = nullptr;
  QAction* mnuShowHint = nullptr;
  QAction* FrequentlyAskedQuestions1 = nullptr;
  QAction* Undo1 = nullptr;
  QAction* Redo1 = nullptr;
  QAction* Clear1 = nullptr;
  QAction* CopyContentstoNextLabel1 = nullptr;
  QAction* CopyContentstoAllLabels1 = nullptr;

  // State.
  bool FStarting = false;
  bool FInChange = false;
  QString FDefaultFontName;
  int FDefaultFontSize = 0;
  bool FDefaultFontBold = false;
  bool FDefaultFontItalic = false;
  bool FDefaultFontUnderline = false;
  bool FDefaultFontStrikeout = false;
  quint32 FDefaultFontColor = 0;
  bool FShowHints = false;
  bool FModified = false;
  bool FEditorReady = false;
  bool FPrinterAvailable = false;
  QString FFileName;
  TWPRtfStorage* FEditedStorage = nullptr;
  int FSavedCaretPos = 0;
  TAttr FSavedAttributes{};
  // The key being handled types text: its change joins a run of typing.
  bool FTypedKeystroke = false;
  // The platform's default beep; tests count them instead.
  std::function<void()> FBeep;
  bool FEditing = false;
  int FCurrentCell = 0;
  int FZoom = 0;
  int FZoomProp = 0;
  std::unique_ptr<TMRUFileList> FMRUList;
  // What the Default Editor Font dialog shows and returns.
  struct TFontChoice {
    QFont Font;
    QColor Color;
  } DefaultFontdialog;
  QPointer<TGetSymbol> FSymbolForm;

  // The layout file is read once per run; a later activation (one that comes
  // while a file is being opened) does not read it again.
  bool FLayoutFileLoaded = false;
  bool FInFormActivate = false;
  // An activation while a label page file is being opened repeats no start-up work.
  bool FOpeningFile = false;
  // The activation that follows closing the start-up error box is that box's
  // echo, not the user coming back; it does not retry at once.
  QElapsedTimer FStartupErrorShown;
  QString FStartUpFile;
  // Files handed over by later copies, waiting for the current command to end.
  QStringList FHandedOverFiles;
};
