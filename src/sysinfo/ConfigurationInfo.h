#pragma once
// The "Configuration Information" dialog: the configuration report in a
// fixed-pitch box, and a button that copies it to the clipboard for a message
// to technical support. Made afresh for every showing.
//
// Usage (the Help menu):
//   TConfigurationInfo::ShowReport(preferences, this);
#include <QDialog>
#include <QStringList>

#include "sysinfo/ConfigurationReport.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QWidget;

class TConfigurationInfo : public QDialog {
  Q_OBJECT

 public:
  explicit TConfigurationInfo(const TReportPreferences& preferences, QWidget* parent = nullptr);

  // Creates the dialog with the report of this moment, centres it and shows it modally.
  static void ShowReport(const TReportPreferences& preferences, QWidget* parent = nullptr);

  // Replaces the report shown, one line of the box per line.
  void SetReport(const QStringList& lines);
  QStringList ReportLines() const;

  QLabel* Label1;
  QPlainTextEdit* Memo1;
  QPushButton* Button1;  // Copy to Clipboard
  QPushButton* Button2;  // OK
  QWidget* HiddenPanel;
  QPlainTextEdit* CopyPasteMemo;

  void FormActivate();
  void Button1Click();
  void Button2Click();

 protected:
  void showEvent(QShowEvent* event) override;
};
