#pragma once
// The program's help viewer: a browser over the HTML help file, which holds
// one anchor per topic number (name="1001"), a contents anchor and the topics
// themselves. Contents, Back, Forward, a search box over the help text and a
// page about using help. One window serves the whole run (AppRoutines.h opens
// it through ShowHelpContext and friends).
#include <QWidget>

class QLabel;
class QLineEdit;
class QTextBrowser;

class THelpWindow : public QWidget {
  Q_OBJECT
 public:
  explicit THelpWindow(QWidget* parent = nullptr);

  void SetHelpFile(const QString& path);
  QString HelpFile() const { return FHelpFile; }

  void ShowContents();
  void ShowTopic(int topic);
  void ShowHelpOnHelp();
  // Brings the search box forward, ready for a word.
  void StartSearch();
  // Finds the next place of text after the cursor, wrapping once to the top;
  // false (and a note under the box) when the help holds no such text.
  bool FindText(const QString& text);
  // Shows the window in front, usable also while modal (a modal dialog or
  // nullptr) is up.
  void ShowOver(QWidget* modal);

  QTextBrowser* Browser() const { return FBrowser; }
  QLineEdit* SearchBox() const { return FSearchBox; }
  // The note under the search box that a search found nothing.
  QLabel* SearchNote() const { return FSearchNote; }
  // Anchor the viewer last went to ("contents", "1001", ...).
  QString CurrentAnchor() const { return FCurrentAnchor; }

 private:
  void GoToAnchor(const QString& anchor);
  // False (and a note in the window) when the help file is missing.
  bool CheckHelpFile();

  QString FHelpFile;
  QString FLoadedFile;
  QString FCurrentAnchor;
  QTextBrowser* FBrowser;
  QLineEdit* FSearchBox;
  QLabel* FSearchNote;
};
