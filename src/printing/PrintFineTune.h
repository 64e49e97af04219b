#pragma once
// The "Printer Fine-Tuning" dialog: the four printer nudges, each with a spin
// button, in steps of a thousandth of an inch between -500 and +500. The
// down arrow increases a nudge, the up arrow decreases it. OK writes the
// nudges; Cancel leaves them.
//
// Usage (the Printer Fine Tuning command):
//   if (TPrintFineTune::EditNudges(this)) SavePreferences();
#include <QDialog>
#include <QString>
#include <cstdint>

#include "printing/PrinterNudges.h"

class QFrame;
class QLabel;
class QPushButton;
class TSpinButton;

// The display text of a nudge: "Decrease by 12/1000"", "None", "Increase by
// 3/1000"". A value beyond +-500 (only an edited preferences file holds one)
// reads as the limit it lies beyond.
QString FormatNudge(std::int32_t value);

class TPrintFineTune : public QDialog {
  Q_OBJECT

 public:
  enum : int { ResultOk = 1, ResultCancel = 2 };
  static constexpr int HelpTopic = 1003;
  static constexpr std::int32_t NudgeLimit = 500;

  explicit TPrintFineTune(QWidget* parent = nullptr);

  // Creates the dialog, centres it and shows it modally; true after OK,
  // which has written the nudges.
  static bool EditNudges(QWidget* parent = nullptr);

  // The values the dialog shows and OK would write.
  const TPrinterNudges& WorkingValues() const { return FValues; }

  QLabel* lTopMarginNudge;
  QLabel* LLeftMarginNudge;
  QLabel* LVerticalSpacing;
  QLabel* LHorizontalSpacing;
  TSpinButton* TopMarginSpinner;
  TSpinButton* LeftMarginSpinner;
  TSpinButton* VerticalSpacingSpinner;
  TSpinButton* HorizontalSpacingSpinner;
  QFrame* BottomBar;
  QPushButton* OKButton;
  QPushButton* Cancelbutton;
  QPushButton* DefaultButton;
  QPushButton* Helpbutton;

  void FormCreate();
  void FormActivate();
  void ShowValues();
  void TopMarginSpinnerDownClick();
  void TopMarginSpinnerUpClick();
  void LeftMarginSpinnerDownClick();
  void LeftMarginSpinnerUpClick();
  void VerticalSpacingSpinnerDownClick();
  void VerticalSpacingSpinnerUpClick();
  void HorizontalSpacingSpinnerDownClick();
  void HorizontalSpacingSpinnerUpClick();
  void OKButtonClick();
  void CancelbuttonClick();
  void DefaultButtonClick();
  void HelpbuttonClick();

  // Escape answers Cancel (2).
  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  // One framed panel: title, spin button, value label and explanation.
  TSpinButton* AddNudgePanel(QRect geometry, const QString& title, QLabel*& value, const QString& hint,
                             const QString& explanation);
  void Increase(std::int32_t& value);
  void Decrease(std::int32_t& value);

  TPrinterNudges FValues;
};
