#include "app/MainForm.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <exception>

#include "app/Glyphs.h"
#include "app/MRUList.h"
#include "app/Splash.h"
#include "platform/AppGlobals.h"
#include "platform/AppRoutines.h"
#include "platform/DialogService.h"
#include "symbols/GetSymbol.h"
#include "sysinfo/ConfigurationInfo.h"

const char* const TMainForm::ProductWebsite = "https://www.tabwright.example/";

namespace {

constexpr int kButtonRowHeight = 27;
constexpr int kPanel1Width = 140;
constexpr int kPagePanelOffset = 5;
constexpr int kHintPauseMs = 1200;
// An activation this soon after the start-up error box closed is the box's echo.
constexpr int kErrorEchoMs = 1000;

bool SameClass(const QObject* a, const QObject* b) {
  return a && b && qstrcmp(a->metaObject()->className(), b->metaObject()->className()) == 0;
}

QPushButton* MakeTextButton(QWidget* parent, const char* name, const QString& caption, const QString& hint,
                            const QColor& color, int left) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(QLatin1String(name));
  QFont font(QStringLiteral("Arial"), 8);
  font.setBold(true);
  button->setFont(font);
  QPalette palette = button->palette();
  palette.setColor(QPalette::ButtonText, color);
  button->setPalette(palette);
  button->setToolTip(hint);
  button->setGeometry(left, 3, 49, 20);
  button->setFocusPolicy(Qt::NoFocus);
  button->hide();
  return button;
}

// The toolbar's hints, with the main window's texts for its buttons.
QStringList MainWindowToolBarHints() {
  static const std::pair<const char*, const char*> texts[] = {{"WPI_Bold", "Bold Font"},
                                                              {"WPI_Italic", "Italic Font"},
                                                              {"WPI_Under", "Underlined Font"},
                                                              {"WPI_Hyperlink", "Hyperlink "},
                                                              {"WPI_StrikeOut", "StrikeOut Font"},
                                                              {"WPI_Left", "Left Justify Text"},
                                                              {"WPI_Right", "Right Justify Text"},
                                                              {"WPI_Justified", "Block Justify Text"},
                                                              {"WPI_Center", "Center Text "},
                                                              {"WPI_Copy", "Copy Text"},
                                                              {"WPI_Cut", "Cut Text"},
                                                              {"WPI_Paste", "Paste Text"},
                                                              {"WPI_SelAll", "Select All"}};
  QStringList hints = DefaultToolBarHints();
  for (QString& line : hints)
    for (const auto& [name, text] : texts)
      if (line.section(QLatin1Char('='), 0, 0) == QLatin1String(name))
        line = QStringLiteral("%1=%2").arg(QLatin1String(name), QLatin1String(text));
  return hints;
}

QFrame* BottomLine(QWidget* parent) {
  auto* line = new QFrame(parent);
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  return line;
}

}  // namespace

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("MainForm"));
  setFont(QFont(QStringLiteral("Arial"), 8));
  resize(620, 450);
  setWindowTitle(GlobalApplicationName);
  SetApplicationMainForm(this);

  auto* central = new QWidget(this);
  auto* column = new QVBoxLayout(central);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  setCentralWidget(central);
  CreateButtonRow();
  CreatePageView();
  column->addWidget(Panel3);
  column->addWidget(WPToolBar1);
  column->addWidget(BottomLine(central));  // between the toolbar and the page view
  column->addWidget(ScrollBox2, 1);
  CreateMenus();
  FormCreate();
}

TMainForm::~TMainForm() {
  delete FSymbolForm.data();
  if (ApplicationMainForm() == this) SetApplicationMainForm(nullptr);
}

void TMainForm::CreateButtonRow() {
  auto* row = new QFrame(this);
  row->setObjectName(QStringLiteral("Panel3"));
  row->setFrameShape(QFrame::Panel);
  row->setFrameShadow(QFrame::Raised);
  row->setFixedHeight(kButtonRowHeight);
  row->installEventFilter(this);  // keeps Panel1 at the right edge
  Panel3 = row;

  ZoomPlusButton = AddSpeedButton("ZoomPlusButton", QStringLiteral("Zoom In"), 9, ZoomInGlyph(),
                                  &TMainForm::ZoomPlusButtonClick);
  ZoomMinusButton = AddSpeedButton("ZoomMinusButton", QStringLiteral("Zoom Out"), 33, ZoomOutGlyph(),
                                   &TMainForm::ZoomMinusButtonClick);
  Printbutton = AddSpeedButton("Printbutton", QStringLiteral("Print the page"), 61, PrintGlyph(),
                               &TMainForm::PrintbuttonClick);
  ReplicateOnebutton =
      AddSpeedButton("ReplicateOnebutton", QStringLiteral("Clone current label to next label"), 88,
                     CloneNextGlyph(), &TMainForm::ReplicateOnebuttonClick);
  ReplicateAllbutton =
      AddSpeedButton("ReplicateAllbutton", QStringLiteral("Clone current label to all labels"), 112,
                     CloneAllGlyph(), &TMainForm::ReplicateAllbuttonClick);
  GetSymbolbutton =
      AddSpeedButton("GetSymbolbutton", QStringLiteral("Insert a Symbol into the selected label"), 143,
                     SymbolGlyph(), &TMainForm::GetSymbolbuttonClick);

  Panel1 = new QWidget(Panel3);
  Panel1->setObjectName(QStringLiteral("Panel1"));
  Panel1->setGeometry(Panel3->width() - kPanel1Width, 0, kPanel1Width, kButtonRowHeight);
  Savebutton = MakeTextButton(Panel1, "Savebutton", QStringLiteral("&Save"),
                              QStringLiteral("Save changes to the page"), QColor(0, 128, 0), 18);
  CancelButton = MakeTextButton(Panel1, "CancelButton", QStringLiteral("&Cancel"),
                                QStringLiteral("Cancel all changes"), QColor(255, 0, 0), 76);
  connect(Savebutton, &QPushButton::clicked, this, &TMainForm::SavebuttonClick);
  connect(CancelButton, &QPushButton::clicked, this, &TMainForm::CancelButtonClick);

  // The formatting toolbar, disabled until a label is being edited.
  WPToolBar1 = new TWPToolBar(this);
  WPToolBar1->setObjectName(QStringLiteral("WPToolBar1"));
  WPToolBar1->BeginUpdate();
  WPToolBar1->Setsel_ListBoxes({SelFontName, SelFontSize, SelFontColor});
  WPToolBar1->Setsel_StatusIcons({SelBold, SelItalic, SelUnder, SelLeft, SelRight, SelCenter});
  WPToolBar1->Setsel_ActionIcons({});
  WPToolBar1->Setsel_DatabaseIcons({});
  WPToolBar1->Setsel_EditIcons({SelCopy, SelCut, SelPaste, SelSelAll});
  WPToolBar1->SetFontSizes(8, 72);
  WPToolBar1->SetFontChoice(fsScreenFonts);
  WPToolBar1->SetWidthBetweenGroups(8);
  WPToolBar1->SetHints(MainWindowToolBarHints());
  QFont toolBarFont(QStringLiteral("Arial"));
  toolBarFont.setPixelSize(11);
  WPToolBar1->SetFont(toolBarFont);
  WPToolBar1->SetBevelOuter(bvNone);
  WPToolBar1->SetAlign(alTop);
  WPToolBar1->UpdateObjectName = QStringLiteral("WPRichText1");
  WPToolBar1->EndUpdate();
  WPToolBar1->setEnabled(false);
}

QToolButton* TMainForm::AddSpeedButton(const char* name, const QString& hint, int left, const QIcon& glyph,
                                       void (TMainForm::*handler)()) {
  auto* button = new QToolButton(Panel3);
  button->setObjectName(QLatin1String(name));
  button->setToolTip(hint);
  button->setIcon(glyph);
  button->setIconSize(QSize(16, 16));
  button->setAutoRaise(true);
  button->setFocusPolicy(Qt::NoFocus);
  button->setGeometry(left, 3, 21, 20);
  connect(button, &QToolButton::clicked, this, handler);
  return button;
}

void TMainForm::CreatePageView() {
  ScrollBox2 = new QScrollArea(this);
  ScrollBox2->setObjectName(QStringLiteral("ScrollBox2"));
  ScrollBox2->setFrameShape(QFrame::NoFrame);
  ScrollBox2->setBackgroundRole(QPalette::Button);
  ScrollBox2->setWidgetResizable(false);
  ScrollBox2Content = new QWidget;
  ScrollBox2Content->setBackgroundRole(QPalette::Button);
  ScrollBox2->setWidget(ScrollBox2Content);
  ScrollBox2->viewport()->installEventFilter(this);

  PageOfLabelsPanel = new TKLXPagePanel(ScrollBox2Content);
  PageOfLabelsPanel->setObjectName(QStringLiteral("PageOfLabelsPanel"));
  PageOfLabelsPanel->installEventFilter(this);
  PageOfLabelsPanel->ClickedInCellEvent = [this](QWidget* canvas, TCellRect rTotal, TCellRect rFree,
                                                 int iNumber, std::unique_ptr<TWPRtfStorage>& storage) {
    PageOfLabelsPanelClickedInCellEvent(canvas, rTotal, rFree, iNumber, storage);
  };

  // The label editor: laid over the label being edited, sized and zoomed
  // like it; Tab moves to the next label rather than into the text.
  WPRichText1 = new TWPRichText(ScrollBox2Content);
  WPRichText1->setObjectName(QStringLiteral("WPRichText1"));
  WPRichText1->SetBorderStyle(bsNone);
  WPRichText1->SetScrollBars(ssNone);
  WPRichText1->SetWordWrap(true);
  WPRichText1->SetColor(0xFFFFFF);
  WPRichText1->SetFont(TWPFont{"Arial", 10, 0, 0});
  WPRichText1->SetZooming(100);
  WPRichText1->setCursor(Qt::IBeamCursor);
  WPRichText1->WantTabs = false;
  WPRichText1->SetWPToolBar(WPToolBar1);
  WPRichText1->setContextMenuPolicy(Qt::CustomContextMenu);
  WPRichText1->OnChange = [this](TWPCustomRtfEdit*) { WPRichText1Change(); };
  WPRichText1->OnClick = [this](TWPCustomRtfEdit*) { WPRichText1Click(); };
  WPRichText1->OnEnter = [this](TWPCustomRtfEdit*) { WPRichText1Enter(); };
  WPRichText1->OnKeyPress = [this](TWPCustomRtfEdit*, char& key) { WPRichText1KeyPress(key); };
  WPRichText1->OnKeyDown = [this](TWPCustomRtfEdit*, int& key, Qt::KeyboardModifiers shift) {
    WPRichText1KeyDown(key, shift);
  };
  // Enter and paste are steps of their own, not part of a run of typing.
  WPRichText1->SaveForUNDO = [this](TWPCustomRtfEdit*) {
    if (FEditing) History().EndTyping();
  };
  WPRichText1->hide();
  FitPageViewContent();
}

QAction* TMainForm::AddMenuItem(QMenu* menu, const char* name, const QString& caption,
                                void (TMainForm::*handler)()) {
  auto* action = new QAction(caption, this);
  action->setObjectName(QLatin1String(name));
  connect(action, &QAction::triggered, this, handler);
  menu->addAction(action);
  return action;
}

void TMainForm::CreateMenus() {
  auto separator = [](QMenu* menu, const char* name) {
    menu->addSeparator()->setObjectName(QLatin1String(name));
  };

  FileMenu = menuBar()->addMenu(QStringLiteral("&File"));
  FileMenu->setObjectName(QStringLiteral("FileMenu"));
  New1 = AddMenuItem(FileMenu, "New1", QStringLiteral("&New "), &TMainForm::New1Click);
  Open1 = AddMenuItem(FileMenu, "Open1", QStringLiteral("&Open"), &TMainForm::Open1Click);
  mnuChangeLayout = AddMenuItem(FileMenu, "mnuChangeLayout", QStringLiteral("Change Layout"),
                                &TMainForm::mnuChangeLayoutClick);
  mnuLayoutInfo =
      AddMenuItem(FileMenu, "mnuLayoutInfo", QStringLiteral("Layout Info"), &TMainForm::mnuLayoutInfoClick);
  separator(FileMenu, "N3");
  mnuSave = AddMenuItem(FileMenu, "mnuSave", QStringLiteral("&Save "), &TMainForm::mnuSaveClick);
  mnuSave->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
  mnuSaveAs = AddMenuItem(FileMenu, "mnuSaveAs", QStringLiteral("Save &As..."), &TMainForm::mnuSaveAsClick);
  separator(FileMenu, "N1");
  mnuCancelChanges = AddMenuItem(FileMenu, "mnuCancelChanges", QStringLiteral("&Cancel Changes"),
                                 &TMainForm::mnuCancelChangesClick);
  mnuClearAllCellContents =
      AddMenuItem(FileMenu, "mnuClearAllCellContents", QStringLiteral("Clear &All Cell Contents"),
                  &TMainForm::mnuClearAllCellContentsClick);
  mnuFillFromList = AddMenuItem(FileMenu, "mnuFillFromList", QStringLiteral("&Fill Labels from List..."),
                                &TMainForm::mnuFillFromListClick);
  DefaultEditorFont1 = AddMenuItem(FileMenu, "DefaultEditorFont1", QStringLiteral("&Default Editor Font"),
                                   &TMainForm::DefaultEditorFont1Click);
  separator(FileMenu, "N5");
  mnuPrintPage =
      AddMenuItem(FileMenu, "mnuPrintPage", QStringLiteral("P&rint Page"), &TMainForm::mnuPrintPageClick);
  mnuPrintSetup =
      AddMenuItem(FileMenu, "mnuPrintSetup", QStringLiteral("Print Set&up"), &TMainForm::mnuPrintSetupClick);
  mnuPrinterFindtuning = AddMenuItem(FileMenu, "mnuPrinterFindtuning", QStringLiteral("Printer Fine Tuning"),
                                     &TMainForm::mnuPrinterFindtuningClick);
  mnuExportPdf = AddMenuItem(FileMenu, "mnuExportPdf", QStringLiteral("&Export Page to PDF..."),
                             &TMainForm::mnuExportPdfClick);
  separator(FileMenu, "N2");
  Exit1 = AddMenuItem(FileMenu, "Exit1", QStringLiteral("E&xit"), &TMainForm::Exit1Click);

  Help1 = menuBar()->addMenu(QStringLiteral("&Help"));
  Help1->setObjectName(QStringLiteral("Help1"));
  Contents1 = AddMenuItem(Help1, "Contents1", QStringLiteral("&Contents"), &TMainForm::Contents1Click);
  SearchforHelpOn1 = AddMenuItem(Help1, "SearchforHelpOn1", QStringLiteral("Search for Help On..."),
                                 &TMainForm::SearchforHelpOn1Click);
  HelponHelp1 =
      AddMenuItem(Help1, "HelponHelp1", QStringLiteral("Help on Help"), &TMainForm::HelponHelp1Click);
  ConfigurationInformation1 =
      AddMenuItem(Help1, "ConfigurationInformation1", QStringLiteral("Configuration Information"),
                  &TMainForm::ConfigurationInformation1Click);
  TechnicalSupport1 = AddMenuItem(Help1, "TechnicalSupport1", QStringLiteral("Technical Support"),
                                  &TMainForm::TechnicalSupport1Click);
  About1 = AddMenuItem(Help1, "About1", QStringLiteral("&About"), &TMainForm::About1Click);
  separator(Help1, "N4");
  VisitOurInternetWebsite1 =
      AddMenuItem(Help1, "VisitOurInternetWebsite1", QStringLiteral("Visit Our Internet Website"),
                  &TMainForm::VisitOurInternetWebsite1Click);
  mnuShowHint =
      AddMenuItem(Help1, "mnuShowHint", QStringLiteral("&Show Hints"), &TMainForm::mnuShowHintClick);
  mnuShowHint->setCheckable(true);
  mnuShowHint->setChecked(true);
  FrequentlyAskedQuestions1 =
      AddMenuItem(Help1, "FrequentlyAskedQuestions1", QStringLiteral("Frequently Asked Questions"),
                  &TMainForm::FrequentlyAskedQuestions1Click);

  WPPopupMenu = new QMenu(this);
  WPPopupMenu->setObjectName(QStringLiteral("WPPopupMenu"));
  Undo1 = AddMenuItem(WPPopupMenu, "Undo1", QStringLiteral("Undo"), &TMainForm::Undo1Click);
  Redo1 = AddMenuItem(WPPopupMenu, "Redo1", QStringLiteral("Redo"), &TMainForm::Redo1Click);
  separator(WPPopupMenu, "N6");
  // Greyed when there is nothing to undo or redo.
  connect(WPPopupMenu, &QMenu::aboutToShow, this, [this] {
    Undo1->setEnabled(History().CanUndo());
    Redo1->setEnabled(History().CanRedo());
  });
  Clear1 = AddMenuItem(WPPopupMenu, "Clear1", QStringLiteral("Clear Contents"), &TMainForm::Clear1Click);
  CopyContentstoNextLabel1 =
      AddMenuItem(WPPopupMenu, "CopyContentstoNextLabel1", QStringLiteral("Copy Contents to Next Label"),
                  &TMainForm::CopyContentstoNextLabel1Click);
  CopyContentstoAllLabels1 =
      AddMenuItem(WPPopupMenu, "CopyContentstoAllLabels1", QStringLiteral("Copy Contents to All Labels"),
                  &TMainForm::CopyContentstoAllLabels1Click);
  connect(WPRichText1, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { WPPopupMenu->popup(WPRichText1->mapToGlobal(at)); });
}

void TMainForm::FormCreate() {
  FStarting = true;
  SetModified(false);
  FInChange = false;
  setWindowIcon(QApplication::windowIcon());
  FFileName.clear();
  FEditorReady = false;

  PageOfLabelsPanel->hide();
  PageOfLabelsPanel->move(kPagePanelOffset, kPagePanelOffset);
  FCurrentCell = 0;

  LoadPreferences();
  SetModified(false);
  PageOfLabelsPanel->SetMagnification(FZoom);
  CreateMRUList();

  mnuShowHint->setChecked(FShowHints);
  SetApplicationHintPause(kHintPauseMs);
  SetApplicationShowHint(FShowHints);

  qApp->installEventFilter(this);  // AppMessage
  SetApplicationHelpFile(ApplicationDirectory() + QStringLiteral("KLX.HLP"));
}

void TMainForm::FormActivate() {
  if (!FStarting || FInFormActivate || FOpeningFile) return;
  struct TReentryGuard {
    bool& Flag;
    explicit TReentryGuard(bool& flag) : Flag(flag) { Flag = true; }
    ~TReentryGuard() { Flag = false; }
  } guard(FInFormActivate);

  // 1. The layout file. A failure leaves FStarting set, so the next
  // activation starts over; once read, the file is not read again (the table
  // would only fill up with the same layouts).
  if (!FLayoutFileLoaded) {
    const QString path = ApplicationDirectory() + GlobalLayoutFileName;
    LoadLLOFile(QFile::encodeName(path).toStdString(), PageOfLabelsPanel->Layouts());
    FLayoutFileLoaded = true;
  }
  // 2. Placement and preferences.
  LoadWindowPlacement();
  LoadPreferences();
  mnuShowHint->setChecked(FShowHints);
  SetApplicationShowHint(FShowHints);
  // 3. Commands, printer.
  UpdateCommands();
  FPrinterAvailable = PrinterAvailable(false);
  // 4. The page named on the command line, or the one used last.
  OpenStartUpFile();
  // 5. The page is shown exactly when it has a file.
  QCoreApplication::processEvents();
  PageOfLabelsPanel->setVisible(!FFileName.isEmpty());
  QCoreApplication::processEvents();
  // 6.
  mnuSave->setEnabled(false);
  SetModified(false);
  UpdateCommands();
  UpdateCaption();
  FStarting = false;
}

void TMainForm::HandleActivation() {
  try {
    FormActivate();
  } catch (const std::exception& error) {
    ShowException(error);
    FStartupErrorShown.start();
  }
}

bool TMainForm::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate && FStarting) {
    const bool echoOfErrorBox = FStartupErrorShown.isValid() && FStartupErrorShown.elapsed() < kErrorEchoMs;
    if (!echoOfErrorBox) HandleActivation();
  }
  return QMainWindow::event(event);
}

void TMainForm::ComeForward() {
  if (isMinimized()) setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
  show();
  raise();
  activateWindow();
}

void TMainForm::UpdateCommands() {
  const bool pageShown = !PageOfLabelsPanel->isHidden();
  const bool editorOpen = !WPRichText1->isHidden();
  const bool named = !FFileName.isEmpty();
  mnuSave->setEnabled(named);
  WPToolBar1->setEnabled(pageShown && editorOpen);
  ReplicateOnebutton->setEnabled(WPToolBar1->isEnabled());
  ReplicateAllbutton->setEnabled(WPToolBar1->isEnabled());
  GetSymbolbutton->setEnabled(WPToolBar1->isEnabled());
  mnuSaveAs->setEnabled(pageShown);
  mnuLayoutInfo->setEnabled(pageShown);
  mnuPrintSetup->setEnabled(pageShown);
  mnuChangeLayout->setEnabled(pageShown);
  mnuClearAllCellContents->setEnabled(pageShown);
  mnuFillFromList->setEnabled(pageShown);
  mnuPrintPage->setEnabled(pageShown && FPrinterAvailable);
  mnuExportPdf->setEnabled(pageShown);
  Printbutton->setEnabled(mnuPrintPage->isEnabled());
  mnuCancelChanges->setEnabled(pageShown && named);
  ZoomMinusButton->setEnabled(pageShown);
  ZoomPlusButton->setEnabled(pageShown);
  Savebutton->setVisible(FModified);
  CancelButton->setVisible(FModified && named);
}

void TMainForm::UpdateCaption() {
  QString caption = GlobalApplicationName + QLatin1Char(' ');
  if (!FFileName.isEmpty())
    caption += QStringLiteral("  [") + QFileInfo(FFileName).fileName() + QLatin1Char(']');
  caption +=
      QStringLiteral("    [") + QString::number(PageOfLabelsPanel->Magnification()) + QStringLiteral("%]");
  setWindowTitle(caption);
  QCoreApplication::processEvents();
}

void TMainForm::SetModified(bool value) {
  if (value == FModified) return;
  FModified = value;
  UpdateCommands();
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Panel3 && Panel1 && event->type() == QEvent::Resize)
    Panel1->setGeometry(Panel3->width() - kPanel1Width, 0, kPanel1Width, kButtonRowHeight);
  if (ScrollBox2Content && (watched == PageOfLabelsPanel || watched == ScrollBox2->viewport()) &&
      (event->type() == QEvent::Resize || event->type() == QEvent::Move || event->type() == QEvent::Show ||
       event->type() == QEvent::Hide))
    FitPageViewContent();
  if (event->type() == QEvent::KeyPress || event->type() == QEvent::MouseButtonPress ||
      event->type() == QEvent::MouseButtonRelease)
    KeepEditorStateBeforeInput();
  if (event->type() == QEvent::KeyPress && AppMessage(watched, event)) return true;
  return QMainWindow::eventFilter(watched, event);
}

void TMainForm::FitPageViewContent() {
  QSize size = ScrollBox2->viewport()->size();
  if (!PageOfLabelsPanel->isHidden()) {
    const QRect page = PageOfLabelsPanel->geometry();
    size = size.expandedTo(QSize(page.right() + 1 + kPagePanelOffset, page.bottom() + 1 + kPagePanelOffset));
  }
  if (ScrollBox2Content->size() != size) ScrollBox2Content->resize(size);
}

bool TMainForm::AppMessage(QObject* watched, QEvent* event) {
  // Only while this window is the active one: in a dialog the keys keep
  // their usual meaning.
  if (!SameClass(QApplication::activeWindow(), this)) return false;
  auto* target = qobject_cast<QWidget*>(watched);
  if (!target || !SameClass(target->window(), this)) return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  const Qt::KeyboardModifiers modifiers =
      key->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier);
  // A line of text being typed in (a list box of the toolbar) keeps its own undo.
  const bool textField = qobject_cast<QLineEdit*>(watched) != nullptr;
  if (!textField && modifiers == Qt::ControlModifier && key->key() == Qt::Key_Z) {
    Undo1Click();
    return true;
  }
  if (!textField && ((modifiers == Qt::ControlModifier && key->key() == Qt::Key_Y) ||
                     (modifiers == (Qt::ControlModifier | Qt::ShiftModifier) && key->key() == Qt::Key_Z))) {
    Redo1Click();
    return true;
  }
  switch (key->key()) {
    case Qt::Key_PageDown:
      ZoomPlusButtonClick();
      return true;
    case Qt::Key_PageUp:
      ZoomMinusButtonClick();
      return true;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      if (WPRichText1->isHidden() || !WPRichText1->hasFocus()) return false;
      if (key->key() == Qt::Key_Backtab || (key->modifiers() & Qt::ShiftModifier))
        PageOfLabelsPanel->OpenPreviousCell(FCurrentCell);
      else
        PageOfLabelsPanel->OpenNextCell(FCurrentCell);
      return true;
    default:
      return false;
  }
}

// Document lifecycle and layout selection: MainFormDocument.cpp.
// Preferences, window placement and recent files: MainFormSettings.cpp.
// Label editing, zoom and undo: MainFormEditing.cpp.

// Help menu.
void TMainForm::Contents1Click() { ShowHelpContents(); }
void TMainForm::SearchforHelpOn1Click() { ShowHelpSearch(); }
void TMainForm::HelponHelp1Click() { ShowHelpOnHelp(); }
void TMainForm::ConfigurationInformation1Click() {
  TReportPreferences preferences;
  preferences.FileName = QFileInfo(PreferencesFileName()).fileName();
  preferences.LastZoom = FZoom;
  preferences.FontName = FDefaultFontName;
  preferences.FontSize = FDefaultFontSize;
  preferences.Bold = FDefaultFontBold;
  preferences.Italic = FDefaultFontItalic;
  preferences.Underline = FDefaultFontUnderline;
  preferences.Color = FDefaultFontColor;
  preferences.ShowHints = FShowHints;
  preferences.TopMarginNudge = TopMarginNudge;
  preferences.LeftMarginNudge = LeftMarginNudge;
  preferences.VerticalSpacing = VerticalSpacing;
  preferences.HorizontalSpacing = HorizontalSpacing;
  TConfigurationInfo::ShowReport(preferences, this);
}
void TMainForm::TechnicalSupport1Click() { ApplicationHelpContext(1015); }
void TMainForm::FrequentlyAskedQuestions1Click() { ApplicationHelpContext(911); }

void TMainForm::About1Click() {
  TSplashform splash(this);
  CenterForm(splash);
  Dialogs().Exec(splash);
}

void TMainForm::VisitOurInternetWebsite1Click() {
  QDesktopServices::openUrl(QUrl(QString::fromLatin1(ProductWebsite)));
}

void TMainForm::mnuShowHintClick() {
  // The item has already toggled its check mark: the new state is its opposite.
  FShowHints = mnuShowHint->isChecked();
  // Hints follow the item even when the preferences file takes no writes.
  SetApplicationShowHint(FShowHints);
  SavePreferences();
}

void TMainForm::Exit1Click() { close(); }

bool TMainForm::FormCloseQuery() { return CheckSaveNeeded(); }

void TMainForm::FormClose() {
  FZoom = PageOfLabelsPanel->Magnification();
  // A preferences file that takes no writes is reported; the window still closes.
  try {
    SavePreferences();
    SaveWindowPlacement();
  } catch (const std::exception& error) {
    ShowException(error);
  }
  hide();
}

void TMainForm::closeEvent(QCloseEvent* event) {
  if (!FormCloseQuery()) {
    event->ignore();
    return;
  }
  FormClose();
  event->accept();
}
