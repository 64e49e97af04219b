#pragma once
// The "Labels Print" dialog: a one-fifth miniature of the sheet on which the
// user clicks labels in or out of the print run, All and None, and the
// platform's print dialog for the printer and the number of copies.
//
// Usage (the Print Page command):
//   std::optional<TLabelPrintChoice> choice = TLabelPrintPrep::ChooseLabels(layout, this);
//   if (!choice) return;  // cancelled
//   choice->Flags[k] says whether label k + 1 prints; choice->Copies pages follow.
// A test answers it through the scripted dialog service:
//   dialogs->QueueExec([](QDialog& d) {
//     auto& dialog = static_cast<TLabelPrintPrep&>(d);
//     dialog.show();  // lays out the miniature, as showing it modally does
//     dialog.BitBtn1->click();
//     return dialog.result();
//   });
#include <QDialog>
#include <QPrinter>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>

#include "labelpage/LabelLayout.h"
#include "labelpage/PageGeometry.h"

class QFrame;
class QLabel;
class QPainter;
class QPushButton;
class QToolButton;
class TPaintBox;

// What the user chose in the dialog.
struct TLabelPrintChoice {
  static constexpr int FlagCount = 501;
  std::array<bool, FlagCount> Flags{};  // flag k belongs to label k + 1
  int Copies = 1;
  // The printer chosen and set up in the print dialog; null when the user
  // never confirmed it (print on the default printer).
  std::unique_ptr<QPrinter> Printer;
};

class TLabelPrintPrep : public QDialog {
  Q_OBJECT

 public:
  enum : int { ResultPrint = 99, ResultCancel = 2 };
  static constexpr int HelpTopic = 1002;
  static constexpr int FlagCount = TLabelPrintChoice::FlagCount;

  explicit TLabelPrintPrep(QWidget* parent = nullptr);
  ~TLabelPrintPrep() override;

  // Creates the dialog for the layout, centres it and shows it modally; the
  // choice after Print, nothing after Cancel.
  static std::optional<TLabelPrintChoice> ChooseLabels(const TLabelLayoutRecord& layout,
                                                       QWidget* parent = nullptr);

  // The sheet, given by the caller before showing (thousandths of an inch).
  std::int32_t LabelHeight = 0;
  std::int32_t LabelWidth = 0;
  std::int32_t NumberAcross = 0;
  std::int32_t NumberDown = 0;
  std::int32_t TopMargin = 0;
  std::int32_t LeftMargin = 0;
  std::int32_t HorizontalPitch = 0;
  std::int32_t VerticalPitch = 0;
  std::int32_t PageWidth = 0;
  std::int32_t PageHeight = 0;
  double HorizontalCenterGap = 0;
  double VerticalCenterGap = 0;
  void AssignLayout(const TLabelLayoutRecord& layout);

  // The screen's pixels per inch, taken when the dialog is created.
  int PPI() const { return FPPI; }
  // Miniature length of v thousandths: one fifth of real size.
  long double Scaled(long double v) const;
  int S(long double v) const;

  // Label k (0-based) in paint-box pixels, and whether it prints.
  const TCellRect& LabelRect(int k) const { return FLabelRects.at(static_cast<std::size_t>(k)); }
  bool Selected(int k) const { return FSelection.at(static_cast<std::size_t>(k)); }
  // Copies chosen in the print dialog (1 until the user chooses).
  int Copies() const { return FCopies; }
  // The print dialog's printer, created on first use with one copy and the
  // sheet's paper.
  QPrinter& PrintDialog1();
  // Hands the choice over to the caller (the printer goes with it).
  TLabelPrintChoice TakeChoice();

  QFrame* PagePanel;
  QLabel* PageLabel;
  TPaintBox* PaintBox1;
  QFrame* PageBottomPanel;
  QToolButton* SelectAll;
  QToolButton* Selectnone;
  QFrame* BottomBar;
  QPushButton* BitBtn1;
  QPushButton* BitBtn2;
  QPushButton* BitBtn3;
  QPushButton* Helpbutton;

  void FormCreate();
  void FormActivate();
  void DetermineRectangles();
  void PaintBox1Paint(QPainter& canvas);
  void FillLabelRect(QPainter& canvas, const TCellRect& rect, bool selected);
  void PaintBox1MouseDown(Qt::MouseButton button, QPoint position);
  // Toggles the first label of each row that holds position (paint-box
  // pixels). Only presses on the miniature come here: a press on the bare
  // dialog surface toggles nothing.
  void FormMouseDown(Qt::MouseButton button, QPoint position);
  void SelectAllClick();
  void SelectnoneClick();
  bool AnyChecked() const;
  void BitBtn1Click();
  void BitBtn2Click();
  void BitBtn3Click();
  void HelpbuttonClick();

  // Escape answers Cancel (2).
  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  // Labels on the sheet, as far as the dialog has room for them.
  int LabelCount() const;
  void SetAll(bool selected);
  void RedrawLabel(int k);
  // Keeps the dialog around the page panel when a large sheet widened it.
  void FitToPagePanel();

  int FPPI = 96;
  TLabelLayoutRecord FLayout;
  std::array<TCellRect, FlagCount> FLabelRects{};
  std::array<bool, FlagCount> FSelection{};
  int FCopies = 1;
  std::unique_ptr<QPrinter> FPrinter;
  bool FPrinterChosen = false;
};
