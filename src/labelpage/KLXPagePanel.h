#pragma once
// The page panel: shows one sheet of labels (TLabelSheet) to scale, owns
// that sheet, the labels' screen rectangles and the table of known layouts,
// and turns a click into a label number. The sheet's members are offered
// here too, as thin calls on the sheet.
#include <QImage>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "labelpage/LabelLayout.h"
#include "labelpage/LabelRenderer.h"
#include "labelpage/LabelSheet.h"
#include "labelpage/OneBasedArray.h"
#include "labelpage/PageGeometry.h"

// Fired when a label is clicked or opened: the panel (the canvas it paints
// on), the label's outline and text area in panel pixels, its number and its
// storage slot, which a handler may read or replace.
using TClickedInCellEvent = std::function<void(QWidget* canvas, TCellRect rTotal, TCellRect rFree,
                                               int iNumber, std::unique_ptr<TWPRtfStorage>& rtfstorage)>;
using TNotifyEvent = std::function<void(QObject* sender)>;

class TKLXPagePanel : public QWidget {
  Q_OBJECT

 public:
  explicit TKLXPagePanel(QWidget* parent = nullptr);
  ~TKLXPagePanel() override;

  TClickedInCellEvent ClickedInCellEvent;
  // A click outside every label.
  TNotifyEvent OnClick;

  // The table of known layouts.
  TLabelLayoutArray& Layouts() { return FLayouts; }
  const TLabelLayoutArray& Layouts() const { return FLayouts; }
  int LayoutCount() const { return FLayouts.Count(); }
  bool AddLayout(const TLabelLayoutRecord& layout) { return FLayouts.Add(layout); }
  // Appends the names of the known layouts in table order (8-bit text).
  void FillLayoutNames(std::vector<std::string>& items) const;
  void DescribeLayout(const std::string& name, QStringList& lines) const;

  // The sheet shown.
  TLabelSheet& Sheet() { return FSheet; }
  const TLabelSheet& Sheet() const { return FSheet; }

  // The layout of the current sheet.
  const TLabelLayoutRecord& LayoutDescription() const { return FSheet.LayoutDescription(); }
  // Makes the named layout current (the last match wins; no match keeps the
  // current one). KeepContents keeps the labels the new sheet still has.
  void SetLayout(const std::string& name, bool keepContents);
  int LabelsPerPage() const { return FSheet.LabelsPerPage(); }

  // The label page file (LabelPageFile.h). A failed save raises
  // EFileSaveError and leaves the previous file as it was; a failed load
  // leaves a consistent sheet (see TLabelPageFile::Read).
  void SaveToFile(const std::string& path) const;
  void LoadFromFile(const std::string& path);

  int Magnification() const { return FMagnification; }
  // Zoom in per cent; resizes the panel and lets pending events run.
  void SetMagnification(int percent);
  // The screen's logical pixels per inch, read once at start-up; tests may set it.
  int PixelsPerInch() const { return FPixelsPerInch; }
  void SetPixelsPerInch(int pixelsPerInch);

  int SelectedCell() const { return FSelectedCell; }
  // Moves the selection frame to label n (0 = none).
  void SetSelectedCell(int n);

  // Screen rectangles of label n (1..200), valid once the sheet was laid out.
  const TCellRecord& Cell(int n) const { return FCells[n]; }
  // Storage slot of label n (1..200); empty beyond LabelsPerPage.
  std::unique_ptr<TWPRtfStorage>& Storage(int n) { return FSheet.Storage(n); }
  const TWPRtfStorage& EmptyStorage() const { return FSheet.EmptyStorage(); }

  // Label n's document when 1 <= n <= LabelsPerPage, else defaultText.
  TLabelDocument& GetCellText(int n, TLabelDocument& defaultText) {
    return FSheet.GetCellText(n, defaultText);
  }
  // Empties labels 1..LabelsPerPage and forgets their rectangles.
  void ClearAllCells();
  // Empties every label from n to 200 that has a storage.
  void ClearCellsFrom(int n);
  void OpenCell(int n);
  void OpenPreviousCell(int n);
  void OpenNextCell(int n);

  // Which labels the next print run prints, 1..501.
  TPrintFlags& PrintFlags() { return FSheet.PrintFlags(); }
  const TPrintFlags& PrintFlags() const { return FSheet.PrintFlags(); }

  // Printer nudges in thousandths of an inch, set by printing.
  int TopMarginNudgeThousandthInches() const { return FSheet.TopMarginNudgeThousandthInches; }
  void SetTopMarginNudgeThousandthInches(int value) { FSheet.TopMarginNudgeThousandthInches = value; }
  int LeftMarginNudgeThousandthInches() const { return FSheet.LeftMarginNudgeThousandthInches; }
  void SetLeftMarginNudgeThousandthInches(int value) { FSheet.LeftMarginNudgeThousandthInches = value; }
  int VerticalSpacingThousandthInches() const { return FSheet.VerticalSpacingThousandthInches; }
  void SetVerticalSpacingThousandthInches(int value) { FSheet.VerticalSpacingThousandthInches = value; }
  int HorizontalSpacingThousandthInches() const { return FSheet.HorizontalSpacingThousandthInches; }
  void SetHorizontalSpacingThousandthInches(int value) { FSheet.HorizontalSpacingThousandthInches = value; }

  QSize sizeHint() const override { return size(); }

  // Paints every label's text; keeps each label's layout between repaints.
  const TLabelRenderer& Renderer() const { return FRenderer; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  TScreenScale Scale() const { return TScreenScale(FPixelsPerInch, FMagnification); }
  void ResizeToPage();
  // Recomputes the labels' rectangles for the current layout and zoom.
  void LayOutCells();
  void PaintSheet(QImage& page);
  // Every label's text through the renderer: a scratch image of the text
  // area at the current zoom, stretched onto rFree.
  void RenderLabelTexts(QImage& page);
  void DrawSelectionFrame(QPainter& painter, int n) const;
  QRect SelectionFrameBounds(int n) const;
  void Click(QPoint position);
  void FireClickedInCell(int n);
  void ClearCell(int n);

  TLabelSheet FSheet;
  TOneBasedArray<TCellRecord, MaxLabelsPerPage> FCells;
  TLabelLayoutArray FLayouts;
  int FMagnification = 100;
  int FSelectedCell = 0;

  int FPixelsPerInch = 96;
  QImage FPageImage;
  TLabelRenderer FRenderer;
  QImage FLabelScratch;  // reused for every label's text area
  bool FLeftButtonPressed = false;
};
