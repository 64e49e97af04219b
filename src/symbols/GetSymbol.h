#pragma once
// The "Symbol Selector": every character (codes 32 to 255) of an installed
// symbol font in a multi-column grid, the keystroke that types the selected
// one, buttons that make the grid's font smaller, larger or its default size,
// and "Ok", which puts the selected character on the clipboard as rich text
// in its symbol font at the grid's size, for the label editor to paste.
//
// The main window creates the dialog on first use and keeps it, with its
// font, size and selection, for every later use:
//   if (!FSymbolForm) { BeginBusyCursor(); FSymbolForm = new TGetSymbol(...); CenterForm(*FSymbolForm);
//   EndBusyCursor(); } if (FSymbolForm->ShowModal() == TGetSymbol::ResultOk) editor->PasteFromClipboard();
// and then runs its change handler, which keeps the label or, when the
// symbol makes the text too tall, takes it back.
#include <QDialog>
#include <QListWidget>
#include <QString>

class QComboBox;
class QLabel;
class QPushButton;
class TPSpeedButton;
class TRptSpeedButton;
class TWPRichText;

// A list box of items in columns: items run down a column and on into the
// next; Columns of them fit across the box, the rest scroll sideways.
class TSymbolListBox : public QListWidget {
  Q_OBJECT

 public:
  explicit TSymbolListBox(QWidget* parent = nullptr);

  int Columns() const { return FColumns; }
  void SetColumns(int columns);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void UpdateGrid();
  int FColumns = 1;
};

class TGetSymbol : public QDialog {
  Q_OBJECT

 public:
  enum : int { ResultOk = 1, ResultCancel = 2 };
  static constexpr int HelpTopic = 1004;
  static constexpr int FirstCode = 32;
  static constexpr int CodeCount = 224;
  static constexpr int DefaultSize = 20;
  static constexpr int SmallestSize = 6;
  static constexpr int LargestSize = 72;

  explicit TGetSymbol(QWidget* parent = nullptr);
  ~TGetSymbol() override;

  // Shows the dialog modally; without symbol fonts tells the user so and
  // gives ResultCancel without showing it.
  int ShowModal();

  // The grid's font: the chosen symbol font and its size in points.
  QString SymbolFontName() const { return FSymbolFontName; }
  int SymbolFontSize() const { return FSymbolFontSize; }
  // The staging editor, which holds the rich text "Ok" puts on the clipboard.
  TWPRichText* StagingEditor() const { return WPRichText1; }

  QLabel* Label1;
  QComboBox* SymbolSets;
  TRptSpeedButton* RptSpeedButton1;  // smaller
  TRptSpeedButton* RptSpeedButton2;  // larger
  TPSpeedButton* PSpeedButton1;      // default size
  QLabel* Keystroke;
  TWPRichText* WPRichText1;
  TSymbolListBox* SymbolList;
  QPushButton* CopyCharButton;
  QPushButton* OKButton;
  QPushButton* Helpbutton;

  void LoadFontsList();
  void FormActivate();
  void SymbolSetsClick();
  void SymbolListClick();
  void CopyCharButtonClick();
  void RptSpeedButton1Click();
  void RptSpeedButton2Click();
  void PSpeedButton1Click();
  void HelpbuttonClick();

 protected:
  void showEvent(QShowEvent* event) override;
  // Escape and the title bar close as Cancel.
  void reject() override;

 private:
  void SetSymbolFont(const QString& name, int points);
  // After a size button: the columns follow the size, the staging text too.
  void SizeChanged(int points);

  QString FSymbolFontName;
  int FSymbolFontSize = 12;  // the grid starts at 12 points
};
