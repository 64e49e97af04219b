#include "platform/HelpWindow.h"

#include <QApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>
#include <QWindow>

#include "platform/AppGlobals.h"
#include "platform/AppRoutines.h"

namespace {

const char* const kHelpOnHelp = R"(<h2>Using Help</h2>
<p>The help window shows the help of this program. It stays open beside the
program while you work; close it when you no longer need it.</p>
<h3>Moving around</h3>
<ul>
<li><b>Contents</b> shows the list of all help topics. Click a topic to read it.</li>
<li>Underlined words are links to other topics. Click one to go there.</li>
<li><b>Back</b> returns to the topic you read before; <b>Forward</b> goes
the other way again.</li>
</ul>
<h3>Searching</h3>
<p>Type a word or a few words into the <b>Search</b> box and press Enter (or
click <b>Find</b>). The help shows and marks the next place where the text
occurs. Press Enter again to go to the following place; after the last one the
search starts again at the top. When the text occurs nowhere, the window says
so under the box. Capitals and small letters are treated alike.</p>
<h3>Help from the program</h3>
<p>The <b>Help</b> buttons of the program's dialogs open the topic that belongs
to that dialog. The Help menu of the main window opens the contents, the
search, this page, the frequently asked questions and the technical support
topic.</p>
<p><a href="%1">Go to the contents</a></p>)";

// Help on Help is a page of the viewer itself, with its own address so that
// Back and Forward pass through it like any topic.
const QUrl kHelpOnHelpUrl(QStringLiteral("help:using-help"));

// Serves the viewer's own page; everything else comes from the help file.
class THelpBrowser : public QTextBrowser {
 public:
  using QTextBrowser::QTextBrowser;
  QString HelpOnHelpHtml;

  QVariant loadResource(int type, const QUrl& name) override {
    if (name.adjusted(QUrl::RemoveFragment) == kHelpOnHelpUrl) return HelpOnHelpHtml;
    return QTextBrowser::loadResource(type, name);
  }
};

QPointer<THelpWindow>& HelpWindowInstance() {
  static QPointer<THelpWindow> window;
  return window;
}

QString& HelpFileName() {
  static QString name;
  return name;
}

THelpWindow& OpenHelpWindow() {
  auto& window = HelpWindowInstance();
  if (!window) window = new THelpWindow;
  window->SetHelpFile(HelpFileName());
  window->ShowOver(QApplication::activeModalWidget());
  return *window;
}

bool HelpFileSet() {
  if (!HelpFileName().isEmpty()) return true;
  ShowMessage(QStringLiteral("Application Helpfile not set"));
  return false;
}

}  // namespace

THelpWindow::THelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setWindowTitle(GlobalApplicationName + QStringLiteral(" Help"));
  setAttribute(Qt::WA_QuitOnClose, false);  // closing the main window ends the program
  resize(640, 520);
  FBrowser = new THelpBrowser(this);
  FBrowser->setOpenExternalLinks(true);
  FSearchBox = new QLineEdit(this);
  FSearchBox->setPlaceholderText(QStringLiteral("Search the help"));
  FSearchBox->setClearButtonEnabled(true);
  FSearchNote = new QLabel(this);

  auto* contents = new QPushButton(QStringLiteral("&Contents"), this);
  auto* back = new QPushButton(QStringLiteral("&Back"), this);
  auto* forward = new QPushButton(QStringLiteral("&Forward"), this);
  auto* helpOnHelp = new QPushButton(QStringLiteral("&Help on Help"), this);
  auto* find = new QPushButton(QStringLiteral("F&ind"), this);
  back->setEnabled(false);
  forward->setEnabled(false);
  connect(contents, &QPushButton::clicked, this, &THelpWindow::ShowContents);
  connect(helpOnHelp, &QPushButton::clicked, this, &THelpWindow::ShowHelpOnHelp);
  connect(back, &QPushButton::clicked, FBrowser, &QTextBrowser::backward);
  connect(forward, &QPushButton::clicked, FBrowser, &QTextBrowser::forward);
  connect(FBrowser, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
  connect(FBrowser, &QTextBrowser::forwardAvailable, forward, &QPushButton::setEnabled);
  connect(FSearchBox, &QLineEdit::returnPressed, this, [this] { FindText(FSearchBox->text()); });
  connect(find, &QPushButton::clicked, this, [this] { FindText(FSearchBox->text()); });
  connect(FBrowser, &QTextBrowser::sourceChanged, this, [this](const QUrl& url) {
    if (url == kHelpOnHelpUrl)
      FCurrentAnchor = QStringLiteral("helponhelp");
    else if (url.isLocalFile() || url.scheme().isEmpty())
      FCurrentAnchor = url.fragment();
    FSearchNote->hide();  // a note about a failed search goes with the next page
  });

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(contents);
  buttons->addWidget(back);
  buttons->addWidget(forward);
  buttons->addWidget(helpOnHelp);
  buttons->addSpacing(12);
  auto* searchLabel = new QLabel(QStringLiteral("&Search:"), this);
  searchLabel->setBuddy(FSearchBox);
  buttons->addWidget(searchLabel);
  buttons->addWidget(FSearchBox, 1);
  buttons->addWidget(find);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(buttons);
  layout->addWidget(FSearchNote);
  layout->addWidget(FBrowser, 1);
  FSearchNote->hide();
}

void THelpWindow::SetHelpFile(const QString& path) { FHelpFile = path; }

bool THelpWindow::CheckHelpFile() {
  if (!QFileInfo::exists(FHelpFile)) {
    FLoadedFile.clear();
    FBrowser->setHtml(QStringLiteral("<h2>Help is not available</h2><p>The help file %1 cannot be found. "
                                     "It belongs in the folder of the program.</p>")
                          .arg(FHelpFile.toHtmlEscaped()));
    return false;
  }
  return true;
}

void THelpWindow::GoToAnchor(const QString& anchor) {
  FSearchNote->hide();
  if (!CheckHelpFile()) return;
  const bool otherFile = !FLoadedFile.isEmpty() && FLoadedFile != FHelpFile;
  QUrl url = QUrl::fromLocalFile(FHelpFile);
  url.setFragment(anchor);
  // The help file is HTML whatever its extension says.
  FBrowser->setSource(url, QTextDocument::HtmlResource);
  FBrowser->scrollToAnchor(anchor);         // also when the url did not change
  if (otherFile) FBrowser->clearHistory();  // Back never leads into another help file
  FLoadedFile = FHelpFile;
  FCurrentAnchor = anchor;
}

void THelpWindow::ShowContents() { GoToAnchor(QStringLiteral("contents")); }

void THelpWindow::ShowTopic(int topic) { GoToAnchor(QString::number(topic)); }

void THelpWindow::ShowHelpOnHelp() {
  FSearchNote->hide();
  QUrl contents = QUrl::fromLocalFile(FHelpFile);
  contents.setFragment(QStringLiteral("contents"));
  static_cast<THelpBrowser*>(FBrowser)->HelpOnHelpHtml =
      QString::fromUtf8(kHelpOnHelp).arg(contents.toString().toHtmlEscaped());
  FBrowser->setSource(kHelpOnHelpUrl, QTextDocument::HtmlResource);
  FCurrentAnchor = QStringLiteral("helponhelp");
}

void THelpWindow::StartSearch() {
  if (FLoadedFile.isEmpty()) ShowContents();
  FSearchBox->setFocus();
  FSearchBox->selectAll();
}

bool THelpWindow::FindText(const QString& text) {
  FSearchNote->hide();
  if (text.trimmed().isEmpty()) return false;
  if (FBrowser->find(text)) return true;
  // Once more from the top; when that finds nothing either, the reader stays
  // where they were.
  const QTextCursor cursor = FBrowser->textCursor();
  const int across = FBrowser->horizontalScrollBar()->value();
  const int down = FBrowser->verticalScrollBar()->value();
  QTextCursor top = cursor;
  top.movePosition(QTextCursor::Start);
  FBrowser->setTextCursor(top);
  if (FBrowser->find(text)) return true;
  FBrowser->setTextCursor(cursor);
  FBrowser->horizontalScrollBar()->setValue(across);
  FBrowser->verticalScrollBar()->setValue(down);
  FSearchNote->setText(QStringLiteral("The help does not contain \"%1\".").arg(text));
  FSearchNote->show();
  return false;
}

void THelpWindow::ShowOver(QWidget* modal) {
  // While a modal dialog is up every other window is blocked. Standing over
  // the dialog (transient for it) keeps the help usable and in front of it;
  // with no dialog the help stands on its own again. The window system reads
  // the change when the window is shown, hence the hide.
  create();
  QWindow* over = modal ? modal->window()->windowHandle() : nullptr;
  if (windowHandle()->transientParent() != over) {
    if (isVisible()) hide();
    windowHandle()->setTransientParent(over);
  }
  show();
  raise();
  activateWindow();
}

// The help routines of AppRoutines.h.

void SetApplicationHelpFile(const QString& path) { HelpFileName() = path; }

QString ApplicationHelpFile() { return HelpFileName(); }

void ShowHelpContext(int topic) {
  if (HelpFileSet()) OpenHelpWindow().ShowTopic(topic);
}

void ShowHelpContents() {
  if (HelpFileSet()) OpenHelpWindow().ShowContents();
}

void ShowHelpOnHelp() {
  if (HelpFileSet()) OpenHelpWindow().ShowHelpOnHelp();
}

void ShowHelpSearch() {
  if (HelpFileSet()) OpenHelpWindow().StartSearch();
}

void ApplicationHelpContext(int topic) {
  // Without a help file there is nothing to show; the application's own help
  // call simply does nothing then.
  if (!HelpFileName().isEmpty()) OpenHelpWindow().ShowTopic(topic);
}

void CloseHelpWindow() { delete HelpWindowInstance().data(); }
